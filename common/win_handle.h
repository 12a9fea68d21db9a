#pragma once
// One owning type per close function (registry key, SCM handle, kernel
// handle, find handle, GDI object, library, DC), so that every operation
// closes what it opened on every path. Movable, not copyable.

#include <windows.h>

#include <utility>

namespace win {

template <typename T, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }

    T release() { return std::exchange(value_, Traits::invalid()); }

    // Closes the current value; the caller's last error survives the close,
    // so an error reported afterwards is the one of the failing call.
    void reset(T value = Traits::invalid()) {
        if (value_ != Traits::invalid()) {
            DWORD error = GetLastError();
            Traits::close(value_);
            SetLastError(error);
        }
        value_ = value;
    }

    // For out-parameters of the API: closes the current value first.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::invalid();
};

namespace detail {
template <typename T, auto Close, T Invalid = T{}> struct Traits {
    static T invalid() { return Invalid; }
    static void close(T value) { Close(value); }
};
struct FileTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) { CloseHandle(value); }
};
struct FindTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) { FindClose(value); }
};
struct GdiTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ value) { DeleteObject(value); }
};
struct DcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC value) { DeleteDC(value); }
};
} // namespace detail

using unique_hkey = UniqueHandle<HKEY, detail::Traits<HKEY, RegCloseKey>>;
using unique_schandle = UniqueHandle<SC_HANDLE, detail::Traits<SC_HANDLE, CloseServiceHandle>>;
using unique_handle = UniqueHandle<HANDLE, detail::Traits<HANDLE, CloseHandle>>;
using unique_hfile = UniqueHandle<HANDLE, detail::FileTraits>;
using unique_hfind = UniqueHandle<HANDLE, detail::FindTraits>;
using unique_hmodule = UniqueHandle<HMODULE, detail::Traits<HMODULE, FreeLibrary>>;
using unique_hgdiobj = UniqueHandle<HGDIOBJ, detail::GdiTraits>;
using unique_hdc = UniqueHandle<HDC, detail::DcTraits>;

} // namespace win
