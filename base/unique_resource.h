// Owning wrappers for Win32 handles. One template per release function; copy
// is deleted, move transfers ownership. A wrapper holds exactly one resource
// and releases it exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace pelmora {

template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::valid(value_); }
    T release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (Traits::valid(old)) Traits::close(old);
    }

private:
    T value_ = Traits::invalid();
};

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct KernelHandleTraits {  // processes, threads, events: null means none
    static HANDLE invalid() noexcept { return nullptr; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
template <typename H>
struct GdiObjectTraits {
    static H invalid() noexcept { return nullptr; }
    static bool valid(H h) noexcept { return h != nullptr; }
    static void close(H h) noexcept { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC invalid() noexcept { return nullptr; }
    static bool valid(HDC h) noexcept { return h != nullptr; }
    static void close(HDC h) noexcept { ::DeleteDC(h); }
};
struct IconTraits {
    static HICON invalid() noexcept { return nullptr; }
    static bool valid(HICON h) noexcept { return h != nullptr; }
    static void close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct HookTraits {
    static HHOOK invalid() noexcept { return nullptr; }
    static bool valid(HHOOK h) noexcept { return h != nullptr; }
    static void close(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
};
struct WindowTraits {
    static HWND invalid() noexcept { return nullptr; }
    static bool valid(HWND h) noexcept { return h != nullptr; }
    static void close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct FindFileTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};

struct VirtualMemoryTraits {  // VirtualAlloc with MEM_RESERVE | MEM_COMMIT
    static void* invalid() noexcept { return nullptr; }
    static bool valid(void* p) noexcept { return p != nullptr; }
    static void close(void* p) noexcept { ::VirtualFree(p, 0, MEM_RELEASE); }
};

using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<HANDLE, FindFileTraits>;
using GdiBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;
using GdiBrush = UniqueResource<HBRUSH, GdiObjectTraits<HBRUSH>>;
using GdiFont = UniqueResource<HFONT, GdiObjectTraits<HFONT>>;
using GdiRegion = UniqueResource<HRGN, GdiObjectTraits<HRGN>>;
using MemoryDc = UniqueResource<HDC, MemoryDcTraits>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;
using UniqueHook = UniqueResource<HHOOK, HookTraits>;
using UniqueWindow = UniqueResource<HWND, WindowTraits>;
using UniqueVirtualMemory = UniqueResource<void*, VirtualMemoryTraits>;

// Restores the previously selected object when it goes out of scope.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GetDC / ReleaseDC pair.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// GetWindowDC / ReleaseDC pair: the whole window, border and scroll bars included.
class NonClientDc {
public:
    explicit NonClientDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetWindowDC(hwnd)) {}
    ~NonClientDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    NonClientDc(const NonClientDc&) = delete;
    NonClientDc& operator=(const NonClientDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint pair.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const noexcept { return dc_; }
    const RECT& dirty() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// COM interface pointer: Release on destruction.
template <typename I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    I** out() noexcept {
        reset();
        return &p_;
    }
    void reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    explicit operator bool() const noexcept { return p_ != nullptr; }

private:
    I* p_ = nullptr;
};

}  // namespace pelmora
