#include "frmMain_u.h"

#include <commctrl.h>

#include "dlgAbout_u.h"
#include "dlgServices_u.h"
#include "quorcon_ids.h"
#include "service_list.h"
#include "service_wait.h"
#include "settings_u.h"
#include "state_table.h"

namespace {

const char kClassName[] = "TfrmMain";
const int kClientWidth = 265;
const int kClientHeight = 252;
const int kInitialLeft = 604;
const int kInitialTop = 238;
// Single fixed border: not resizable, system menu and minimize only.
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const int kPictureWidth = 55;
const int kPictureHeight = 64;
const int kGlyphSize = 20;
// The colour the artwork paints where the window's face should show through.
const COLORREF kTransparentColour = RGB(255, 0, 255);

const DWORD kPollIntervalMs = 10;
// A wait shorter than this passes with the busy cursor alone.
const DWORD kShowWaitWindowAfterMs = 300;

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                     0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length,
                        nullptr, nullptr);
    return text;
}

ScreenSize CurrentScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch;
}

// Copies one cell of a picture strip onto `target`, leaving the transparent
// colour out.
void DrawCell(HDC target, int x, int y, HBITMAP strip, int index, int width, int height) {
    win::unique_hdc source(CreateCompatibleDC(target));
    HGDIOBJ previous = SelectObject(source.get(), strip);
    TransparentBlt(target, x, y, width, height, source.get(), index * width, 0, width, height,
                   kTransparentColour);
    SelectObject(source.get(), previous);
}

// The box is designed 179 pixels wide for the classic 8-point font; where the
// system substitutes a wider face, it grows to show its whole text, within
// the window.
void FitCheckBoxToText(HWND checkBox, HGDIOBJ font) {
    RECT box = {};
    GetWindowRect(checkBox, &box);
    MapWindowPoints(nullptr, GetParent(checkBox), reinterpret_cast<POINT*>(&box), 2);
    char text[64] = {};
    GetWindowTextA(checkBox, text, sizeof text);
    HDC dc = GetDC(checkBox);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, previous);
    ReleaseDC(checkBox, dc);
    const int needed = GetSystemMetrics(SM_CXMENUCHECK) + 6 + extent.cx;
    const int widest = kClientWidth - 2 * box.left;
    const int width = needed < widest ? needed : widest;
    if (width > box.right - box.left) {
        SetWindowPos(checkBox, nullptr, 0, 0, width, box.bottom - box.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HBITMAP LoadPicture(HINSTANCE instance, int id) {
    return static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

} // namespace

bool TfrmMain::Create(HINSTANCE instance) {
    instance_ = instance;
    if (!RegisterObjectWindowClass<TfrmMain>(instance, kClassName)) {
        return false;
    }
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    handle_ = CreateWindowExA(0, kClassName, kApplicationTitle, kStyle, kInitialLeft, kInitialTop,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, this);
    return handle_ != nullptr;
}

bool TfrmMain::TranslateDialogMessage(MSG* message) {
    if (waitWindow_ != nullptr && waitWindow_->IsShown() &&
        IsDialogMessageA(waitWindow_->Handle(), message)) {
        return true;
    }
    return IsDialogMessageA(handle_, message) != FALSE;
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        FormCreate();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        DrawCommandButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SYSCOMMAND:
        if (wParam == IDM_ABOUT) {
            ShowAboutBox(instance_, handle_);
            return 0;
        }
        break;
    case WM_NEXTDLGCTL: {
        // The dialog manager moves the focus through this message (Tab, and
        // a label's accelerator); a plain window has to carry it out itself.
        HWND target = LOWORD(lParam) != 0
                          ? reinterpret_cast<HWND>(wParam)
                          : GetNextDlgTabItem(handle_, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (target != nullptr) {
            SetFocus(target);
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (busyDepth_ > 0) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // A command handler is still running below us: let its wait end
        // first, then close (RunCommand does it).
        if (commandDepth_ > 0) {
            closeRequested_ = true;
            WaitCancelled = true;
            return 0;
        }
        DestroyWindow(handle_);
        return 0;
    case WM_DESTROY:
        FormDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

void TfrmMain::CreateControls() {
    struct ControlLayout {
        HWND TfrmMain::*field; // nullptr for a label
        int id;
        const char* className;
        const char* text;
        DWORD style;
        int left, top, width, height;
    };
    // In z-order, which is the tab order; each label comes just before the
    // control its accelerator focuses.
    static const ControlLayout kControls[] = {
        {nullptr, IDC_LABEL_SERVER, "STATIC", "Server:", 0, 14, 19, 60, 13},
        {&TfrmMain::elServer, IDC_SERVER, "EDIT", "",
         WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 80, 16, 169, 21},
        {nullptr, IDC_LABEL_SERVICES, "STATIC", "Services:", 0, 14, 49, 60, 13},
        // The height includes the drop-down part.
        {&TfrmMain::cbServices, IDC_SERVICES, "COMBOBOX", "",
         WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 80, 46, 169, 180},
        {&TfrmMain::btnRefresh, IDC_REFRESH, "BUTTON", "Refresh services...",
         WS_TABSTOP | BS_PUSHBUTTON, 80, 74, 169, 21},
        {nullptr, IDC_LABEL_START, "STATIC", "&Start/Continue", 0, 143, 118, 100, 13},
        {&TfrmMain::bbStart, IDC_START, "BUTTON", "Start/Continue", WS_TABSTOP | BS_OWNERDRAW, 102,
         112, 27, 24},
        {nullptr, IDC_LABEL_PAUSE, "STATIC", "&Pause", 0, 143, 150, 100, 13},
        {&TfrmMain::bbPause, IDC_PAUSE, "BUTTON", "Pause", WS_TABSTOP | BS_OWNERDRAW, 102, 144, 27,
         24},
        {nullptr, IDC_LABEL_STOP, "STATIC", "St&op", 0, 143, 183, 100, 13},
        {&TfrmMain::bbStop, IDC_STOP, "BUTTON", "Stop", WS_TABSTOP | BS_OWNERDRAW, 102, 176, 27,
         24},
        {&TfrmMain::cbAutoStart, IDC_AUTOSTART, "BUTTON", "Auto-start service when OS starts",
         WS_TABSTOP | WS_DISABLED | BS_AUTOCHECKBOX, 8, 212, 179, 17},
        {&TfrmMain::imState, IDC_STATE_PICTURE, "STATIC", "", SS_BITMAP, 16, 112, kPictureWidth,
         kPictureHeight},
        {&TfrmMain::esbMain, IDC_STATUSBAR, STATUSCLASSNAMEA, "",
         CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 234, 265, 18},
    };
    font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    for (const ControlLayout& layout : kControls) {
        const DWORD style = WS_CHILD | WS_VISIBLE | layout.style;
        HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id));
        // The server field holds wide text; the console converts it itself.
        HWND control =
            layout.field == &TfrmMain::elServer
                ? CreateWindowExW(0, L"EDIT", L"", style, layout.left, layout.top, layout.width,
                                  layout.height, handle_, id, instance_, nullptr)
                : CreateWindowExA(0, layout.className, layout.text, style, layout.left, layout.top,
                                  layout.width, layout.height, handle_, id, instance_, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (layout.field != nullptr) {
            this->*layout.field = control;
        }
    }
    FitCheckBoxToText(cbAutoStart, font_.get());
    SendMessageA(elServer, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, 1));
    // Item height 13; the closed box keeps its 21 pixels.
    SendMessageA(cbServices, CB_SETITEMHEIGHT, 0, 13);
    SendMessageA(cbServices, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 15);
    int parts[] = {-1};
    SendMessageA(esbMain, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    statePictures_.reset(LoadPicture(instance_, IDB_STATE_PICTURES));
    glyphs_.reset(LoadPicture(instance_, IDB_GLYPHS));
}

void TfrmMain::OnCommand(int id, int notification) {
    switch (id) {
    case IDC_SERVER:
        if (notification == EN_KILLFOCUS) {
            elServerExit();
        }
        break;
    case IDC_SERVICES:
        if (notification == CBN_SELCHANGE) {
            cbServicesChange();
        }
        break;
    case IDC_REFRESH:
        btnRefreshClick();
        break;
    case IDC_START:
        bbStartClick();
        break;
    case IDC_PAUSE:
        bbPauseClick();
        break;
    case IDC_STOP:
        bbStopClick();
        break;
    case IDC_AUTOSTART:
        if (notification == BN_CLICKED) {
            cbAutoStart1Click();
        }
        break;
    default:
        break;
    }
}

void TfrmMain::DrawCommandButton(const DRAWITEMSTRUCT& item) {
    const int button = item.CtlID == IDC_START ? 0 : item.CtlID == IDC_PAUSE ? 1 : 2;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const int shift = pushed ? 1 : 0;
    const int x = (item.rcItem.right - item.rcItem.left - kGlyphSize) / 2 + shift;
    const int y = (item.rcItem.bottom - item.rcItem.top - kGlyphSize) / 2 + shift;
    DrawCell(item.hDC, x, y, static_cast<HBITMAP>(glyphs_.get()), 2 * button + (disabled ? 1 : 0),
             kGlyphSize, kGlyphSize);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

void TfrmMain::FormCreate() {
    SetErrorBoxOwner(handle_);
    HMENU systemMenu = GetSystemMenu(handle_, FALSE);
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, "&About");

    ConfiguredServices = ReadConfiguredServices(handle_);
    RestoreSettings();
    if (ServerFieldText().empty()) {
        SetServerFieldText(GetLocalComputerName());
    }
    ServerName = ServerFieldText();
    EnumServices();
    cbServicesChange();
}

bool TfrmMain::EnumServices() {
    int previousIndex = static_cast<int>(SendMessageA(cbServices, CB_GETCURSEL, 0, 0));
    if (storedItemIndex_) {
        previousIndex = *storedItemIndex_;
        storedItemIndex_.reset();
    }
    std::vector<EnumeratedService> entries;
    const bool listed = ListConfiguredServices(ConfiguredServices, &entries);
    SendMessageA(cbServices, CB_RESETCONTENT, 0, 0);
    ServiceNames.clear();
    for (const EnumeratedService& entry : entries) {
        const std::string text =
            entry.displayName + ": " + AnsiUpperCase(StateRowFor(entry.state).listWord);
        SendMessageA(cbServices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ServiceNames.push_back(entry.serviceName);
    }
    SendMessageA(cbServices, CB_SETCURSEL,
                 static_cast<WPARAM>(SelectionAfterRefill(previousIndex, EntryCount())), 0);
    return listed;
}

void TfrmMain::FormDestroy() {
    SaveSettings();
}

void TfrmMain::cbServicesChange() {
    BusyScope busy(*this);
    const std::optional<std::string> serviceName = SelectedServiceName();
    if (!serviceName) {
        UpdateStateControls(kStateNoService);
        EnableWindow(cbAutoStart, FALSE);
        SetStatusText(FormatStateLine("Unknown server", "", kStateNoService));
        return;
    }
    const TServiceInfo info = GetServiceInfo(*serviceName);
    EnableWindow(cbAutoStart, TRUE);
    SetAutoStartTick(info.StartType == SERVICE_AUTO_START);
    UpdateStateControls(info.State);
    SetStatusText(FormatStateLine(ServerName, *serviceName, info.State));
}

void TfrmMain::BitBtn1Click() {
    WaitCancelled = true;
}

template <typename Command> void TfrmMain::RunCommand(Command command) {
    {
        BusyScope busy(*this);
        ++commandDepth_;
        command();
        btnRefreshClick();
        --commandDepth_;
    }
    // Only the outermost command ends the waiting: the wait window goes once
    // the new state shows, and a close asked for meanwhile happens now.
    if (commandDepth_ == 0) {
        waitWindow_->HideWait();
        if (closeRequested_) {
            DestroyWindow(handle_);
        }
    }
}

void TfrmMain::bbStartClick() {
    RunCommand([this] {
        if (std::optional<std::string> serviceName = SelectedServiceName()) {
            const TServiceInfo info = GetServiceInfo(*serviceName);
            PerformServiceAction(*serviceName, info.State == kStatePaused ? saContinue : saStart);
        }
    });
}

void TfrmMain::btnRefreshClick() {
    BusyScope busy(*this);
    if (EnumServices()) {
        cbServicesChange();
        return;
    }
    UpdateStateControls(kStateNoService);
    // Nothing is selected any more, so there is nothing to switch.
    EnableWindow(cbAutoStart, FALSE);
    SetStatusText(FormatStateLine("Unknown", "", kStateNoService));
}

void TfrmMain::elServerExit() {
    ServerName = ServerFieldText();
}

void TfrmMain::bbPauseClick() {
    RunCommand([this] {
        if (std::optional<std::string> serviceName = SelectedServiceName()) {
            PerformServiceAction(*serviceName, saPause);
        }
    });
}

void TfrmMain::bbStopClick() {
    RunCommand([this] {
        if (std::optional<std::string> serviceName = SelectedServiceName()) {
            PerformServiceAction(*serviceName, saStop);
        }
    });
}

void TfrmMain::cbAutoStart1Click() {
    if (SuppressAutoStartClick) {
        SuppressAutoStartClick = false;
        return;
    }
    const bool ticked = SendMessageA(cbAutoStart, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::optional<std::string> serviceName = SelectedServiceName();
    if (!serviceName || !SetServiceAutoStart(*serviceName, ticked)) {
        // Refused: show the start type the service really has.
        SetAutoStartTick(!ticked);
    }
}

void TfrmMain::PerformServiceAction(const std::string& serviceName, TServiceAction action) {
    BusyScope busy(*this);
    SetLastError(kNoErrorCode);
    win::unique_schandle manager = OpenServiceManager();
    if (!manager) {
        return;
    }
    win::unique_schandle service = OpenServiceForCommands(manager.get(), serviceName);
    if (service && IssueServiceAction(service.get(), action)) {
        WaitForTargetState(service.get(), serviceName, action);
    }
}

void TfrmMain::WaitForTargetState(SC_HANDLE service, const std::string& serviceName,
                                  TServiceAction action) {
    WaitCancelled = false;
    const int target = TargetStateOf(action);
    const std::string waitText =
        "Waiting for " + serviceName + " to reach \"" + StateRowFor(target).statusWord + "\"...";
    ServiceWaitTracker tracker(target);
    const DWORD start = GetTickCount();
    for (;;) {
        Sleep(kPollIntervalMs);
        if (!DispatchPendingMessages()) {
            WaitCancelled = true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kShowWaitWindowAfterMs && !WaitCancelled) {
            waitWindow_->ShowWait(waitText);
        }
        int state = kStateUnread;
        const bool queried = QueryCurrentState(service, &state);
        if (tracker.Poll(WaitCancelled, queried, state, elapsed) != WaitStep::Continue) {
            break;
        }
    }
}

bool TfrmMain::DispatchPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (!TranslateDialogMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

void TfrmMain::UpdateStateControls(int state) {
    const StateRow& row = StateRowFor(state);
    const bool hasEntries = EntryCount() > 0;
    HWND focus = GetFocus();
    EnableWindow(bbStart, row.startEnabled && hasEntries);
    EnableWindow(bbPause, row.pauseEnabled && hasEntries);
    EnableWindow(bbStop, row.stopEnabled && hasEntries);
    ShowStatePicture(row.picture);
    EnableWindow(cbServices, hasEntries);
    // A control disabled under the keyboard focus drops the focus; the
    // keyboard would be left with nothing to act on.
    if (focus != nullptr && IsChild(handle_, focus) && !IsWindowEnabled(focus)) {
        SetFocus(GetNextDlgTabItem(handle_, focus, FALSE));
    }
}

void TfrmMain::ShowStatePicture(int index) {
    HDC screen = GetDC(handle_);
    win::unique_hdc target(CreateCompatibleDC(screen));
    win::unique_hgdiobj picture(CreateCompatibleBitmap(screen, kPictureWidth, kPictureHeight));
    ReleaseDC(handle_, screen);
    HGDIOBJ previous = SelectObject(target.get(), picture.get());
    RECT area = {0, 0, kPictureWidth, kPictureHeight};
    FillRect(target.get(), &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawCell(target.get(), 0, 0, static_cast<HBITMAP>(statePictures_.get()), index, kPictureWidth,
             kPictureHeight);
    SelectObject(target.get(), previous);
    SendMessageA(imState, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    // The previous picture is deleted only now that the control let go of it.
    shownPicture_ = std::move(picture);
}

void TfrmMain::SetStatusText(const std::string& text) {
    const std::wstring wide = Widen(text);
    SendMessageW(esbMain, SB_SETTEXTW, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(wide.c_str()));
}

void TfrmMain::SetAutoStartTick(bool ticked) {
    SuppressAutoStartClick = true;
    SendMessageA(cbAutoStart, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    SuppressAutoStartClick = false;
}

std::optional<std::string> TfrmMain::SelectedServiceName() const {
    const LRESULT index = SendMessageA(cbServices, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= ServiceNames.size()) {
        return std::nullopt;
    }
    return ServiceNames[static_cast<std::size_t>(index)];
}

int TfrmMain::EntryCount() const {
    return static_cast<int>(SendMessageA(cbServices, CB_GETCOUNT, 0, 0));
}

std::string TfrmMain::ServerFieldText() const {
    const int length = GetWindowTextLengthW(elServer);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(elServer, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Narrow(text);
}

void TfrmMain::SetServerFieldText(const std::string& text) {
    SetWindowTextW(elServer, Widen(text).c_str());
}

void TfrmMain::RestoreSettings() {
    RegistrySettingsValues values;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(handle_, &placement);
    const RECT& current = placement.rcNormalPosition;
    const RestoredSettings restored =
        RestoreFormSettings(values, CurrentScreenSize(), ScreenPixelsPerInch(),
                            {current.left, current.top, current.right, current.bottom});
    if (restored.placeWindow) {
        // The border is fixed: only the stored left and top count.
        const LONG width = current.right - current.left;
        const LONG height = current.bottom - current.top;
        placement.flags = static_cast<UINT>(restored.flags);
        placement.ptMinPosition = {restored.minMaxPos[0], restored.minMaxPos[1]};
        placement.ptMaxPosition = {restored.minMaxPos[2], restored.minMaxPos[3]};
        placement.rcNormalPosition = {restored.normPos[0], restored.normPos[1],
                                      restored.normPos[0] + width, restored.normPos[1] + height};
        // Still hidden: the main block shows the window.
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(handle_, &placement);
    }
    if (restored.serverText) {
        SetServerFieldText(*restored.serverText);
    }
    storedItemIndex_ = restored.itemIndex;
}

void TfrmMain::SaveSettings() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(handle_, &placement);
    FormSettings settings;
    settings.flags = static_cast<int>(placement.flags);
    settings.showCmd = IsIconic(handle_) ? SW_SHOWMINIMIZED : static_cast<int>(placement.showCmd);
    settings.pixelsPerInch = ScreenPixelsPerInch();
    settings.minMaxPos = {placement.ptMinPosition.x, placement.ptMinPosition.y,
                          placement.ptMaxPosition.x, placement.ptMaxPosition.y};
    const RECT& normal = placement.rcNormalPosition;
    settings.normPos = {normal.left, normal.top, normal.right, normal.bottom};
    settings.serverText = ServerFieldText();
    settings.itemIndex = static_cast<int>(SendMessageA(cbServices, CB_GETCURSEL, 0, 0));
    RegistrySettingsValues values;
    SaveFormSettings(values, settings, CurrentScreenSize());
}

void TfrmMain::BeginBusy() {
    if (busyDepth_++ == 0) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    }
}

void TfrmMain::EndBusy() {
    if (--busyDepth_ == 0) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    }
}
