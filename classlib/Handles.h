#pragma once

#include <utility>
#include <windows.h>

// Move-only owner of one Windows handle: the destructor releases it with Release::Close.
template <typename Handle, typename Release>
class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Handle get() const { return handle_; }
    bool valid() const { return Release::IsValid(handle_); }
    Handle release() { return std::exchange(handle_, Release::Invalid()); }
    void reset(Handle handle = Release::Invalid()) {
        if (Release::IsValid(handle_)) {
            Release::Close(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Release::Invalid();
};

struct KernelHandleRelease {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

struct RegistryKeyRelease {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY key) { return key != nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};

struct FindHandleRelease {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { FindClose(h); }
};

struct WindowRelease {
    static HWND Invalid() { return nullptr; }
    static bool IsValid(HWND window) { return window != nullptr; }
    static void Close(HWND window) { DestroyWindow(window); }
};

// FreeLibrary also releases a module loaded only to read its resources (LOAD_LIBRARY_AS_DATAFILE).
struct ModuleRelease {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE module) { return module != nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};

struct ActivationContextRelease {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE context) { return context != INVALID_HANDLE_VALUE && context != nullptr; }
    static void Close(HANDLE context) { ReleaseActCtx(context); }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleRelease>;
using UniqueKey = UniqueResource<HKEY, RegistryKeyRelease>;
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleRelease>;
using UniqueWindow = UniqueResource<HWND, WindowRelease>;
using UniqueModule = UniqueResource<HMODULE, ModuleRelease>;
using UniqueActivationContext = UniqueResource<HANDLE, ActivationContextRelease>;
