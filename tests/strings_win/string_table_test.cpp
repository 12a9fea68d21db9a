// The shipped string table, byte for byte, read back the way the program
// reads it (windres stores UTF-16; LoadStringA converts with the code page).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct BuiltInText {
    UINT number;
    const char* text;
};

const BuiltInText kBuiltInTexts[] = {
    {1, "Installation Logs"},
    {2, "Vell Uninstall"},
    {3, "Could not open INSTALL.LOG file."},
    {4, "Invalid INSTALL.LOG file."},
    {5, "Select Private Files to Remove"},
    {6, "The following files should be deleted to remove the software from your system.  Press the "
        "Select All button to remove all of the listed files or select the files individually."},
    {7, "Welcome to the %s uninstall program.\n\nYou can choose to automatically uninstall this "
        "software or to choose exactly which changes are made to your system."},
    {8, "Select System Files to Remove"},
    {9,
     "The following files were copied to your Windows/System directories during the installation.  "
     "Use caution when removing these files, they may be in use by other programs."},
    {10, "Select the Custom button to choose which modifications to make during the uninstall. "
         "Select the Automatic button for the default uninstall options. Select Repair to "
         "reinstall changed files/registry keys (requires installation media)."},
    {11, "Select Directories to Remove"},
    {12, "The following directories were created during the installation.  Selecting a directory "
         "will remove it and all files and directories that are contained within it."},
    {13, "You are now ready to uninstall the %s from your system."},
    {14, "Select INI Files to Remove"},
    {15, "The following INI files were created during the installation.  Select those INI files "
         "that you want to remove."},
    {16, "Select Uninstall Method"},
    {17, "Select INI Items to Edit"},
    {18, "The following INI entries were changed during the installation.  Select those INI "
         "entries that you want to change back."},
    {19, "Perform Uninstall"},
    {20, "Select Registry Keys to Remove"},
    {21, "The following Registration Database Keys were created during the installation.  Select "
         "those keys that you want to remove."},
    {22, "Press the Finish button to perform the uninstall. Press the Back button to change any of "
         "the uninstall options. Press the Cancel button to exit the uninstall."},
    {23, "Select Registry Keys to Edit"},
    {24, "The following Registration Database Keys were changed during the installation.  Select "
         "those keys that you want to change back."},
    {25, "Uninstall"},
    {26, "Select Icons to Remove"},
    {27, "The following icons were added to the Program Manager during the installation.  Select "
         "those icons that you want to remove."},
    {28, "The local interbase server must be stopped before BDE can be uninstalled. Please "
         "shutdown the interbase server and press the Retry button."},
    {29, "Removing File:\r\n"},
    {30, "Removing System File:\r\n"},
    {31, "Removing Directory:\r\n"},
    {32, "Removing Empty Directories:\r\n"},
    {33, "Removing INI File:\r\n"},
    {34, "Editing INI File:\r\n"},
    {35, "Removing Registration Database Key:\r\n"},
    {36, "Editing Registration Database Key:\r\n"},
    {37, "Removing Icon:\r\n"},
    {38, "The system indicates that the following shared file is no longer used by any programs "
         "and may be deleted.\n\n%s\n\nIf any programs are still using this file and it is removed "
         "those programs may not function. "},
    {39, "Leaving this file will not harm your system. If you are not sure what to do, you should "
         "select the No to All button. Do you want to remove the shared file?"},
    {40, "Self-Unregistering file:\r\n"},
    {41, "The following sub-systems were configured during the installation.  Select those "
         "sub-systems that you want to removed."},
    {42, "Select Sub-Systems to Remove"},
    {44, "Removing Sub-System:\r\n"},
    {45, "Performing uninstall of %s...\n\nPress the Cancel button to cancel the uninstall process "
         "and exit this program."},
    {46, "&Next >"},
    {47, "< &Back"},
    {48, "Cancel"},
    {49, "Select &All"},
    {50, "&Select None"},
    {51, "&Yes"},
    {52, "N&o"},
    {53, "No to &All"},
    {54, "Select Registry Trees to Remove"},
    {55, "The following registry trees were added during the installation. Select those registry "
         "keys that you want removed, including all of their sub-keys."},
    {56, "Removing Registration Database Key Sub-Tree:\r\n"},
    {57, "Executing External Program:\r\n"},
    {58, "Deleting Service:\r\n"},
    {59, "Are you sure you want to cancel the uninstall?"},
    {60, "&Automatic"},
    {61, "&Custom"},
    {62, "Remove Shared Component"},
    {63, "&Finish"},
    {64, "Perform Rollback"},
    {65, "You selected to backup files that were replaced during the installation. Selecting a "
         "rollback will return your computer to the state it was before the last installation or "
         "upgrade of this software by restoring any backed up files."},
    {66, "You should only perform a rollback if no other applications have been installed after "
         "the installation for this software. Only the last installation or upgrade will be "
         "removed. Do you want to perform a rollback?"},
    {67, "This software was installed under an account with administrator rights. You should log "
         "onto an account with administrator rights to uninstall this software."},
    {68, "This uninstall must reboot your computer to replace/delete files that were in-use. Press "
         "the OK button to reboot your computer."},
    {69, "Yes &to All"},
    {70, "Initializing "},
    {71, " Wizard..."},
    {72, "&Repair"},
    {73, "You are now ready to repair the %s."},
    {74, "Perform Repair"},
    {75, "Press the Finish button to perform the repair. Press the Back button to change any of "
         "the uninstall/repair options. Press the Cancel button to exit the repair."},
    {76, "Repair Newer File?"},
    {77, "The file '%s' is newer than the original file installed. The date/time modified of the "
         "original file is:\n\n          %s\n\nThe date/time modified of the current file is:\n\n  "
         "        %s\n\nDo you want to replace the current file with the older version?"},
    {78, "Select Installation Pathname"},
    {79, "Enter the full pathname to the installation file with the following "
         "attributes:\r\n\r\n%s\r\n\r\nSource Pathname:"},
    {80, "OK"},
    {81, "This application is damaged and should be repaired. Click Yes to repair this "
         "application, No to run the application without repairing it, and Cancel to no longer "
         "check this application for damage. Do you want to repair this application?"},
    {82, "Performing repair of %s...\n\nPress the Cancel button to cancel the repair process and "
         "exit this program."},
};

TEST(StringTableTest, HoldsEveryTextExactly) {
    ASSERT_EQ(81u, sizeof kBuiltInTexts / sizeof kBuiltInTexts[0]);
    for (const BuiltInText& expected : kBuiltInTexts) {
        char loaded[1024];
        int length = LoadStringA(GetModuleHandleA(nullptr), expected.number, loaded, sizeof loaded);
        EXPECT_EQ(static_cast<int>(std::strlen(expected.text)), length)
            << "text " << expected.number;
        EXPECT_STREQ(expected.text, loaded) << "text " << expected.number;
    }
}

TEST(StringTableTest, HasNoTextsOutsideItsNumbers) {
    for (UINT number : {0u, 43u, 83u}) {
        char loaded[64] = "untouched";
        EXPECT_EQ(0, LoadStringA(GetModuleHandleA(nullptr), number, loaded, sizeof loaded))
            << "text " << number;
    }
}

} // namespace
