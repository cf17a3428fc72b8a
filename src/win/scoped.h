// Scoped owners: each releases (or restores) what it holds when it goes out
// of scope, so that no path leaks a GDI object, a DC, a key, an icon, a menu,
// a hook, a module, an atom or a handle.
#pragma once
#include <windows.h>

#include <utility>

// A handle that `Release` gives back; H{} (null, or atom 0) is none.
template <typename H, typename Release>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(H handle) : handle_(handle) {}
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, H{}));
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { Reset(); }

  void Reset(H handle = H{}) {
    if (handle_) Release{}(handle_);
    handle_ = handle;
  }
  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != H{}; }

 private:
  H handle_{};
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

// A GDI object made by CreateFont, CreatePen, CreateSolidBrush, ...
template <typename H>
using GdiObject = ScopedHandle<H, DeleteGdiObject>;
using ScopedFont = GdiObject<HFONT>;
using ScopedPen = GdiObject<HPEN>;
using ScopedBrush = GdiObject<HBRUSH>;
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct UnhookHook {
  void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct FreeModule {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct DeleteGlobalAtom {
  void operator()(ATOM atom) const { GlobalDeleteAtom(atom); }
};

// An icon made by LoadImage or CreateIconFromResourceEx.
using ScopedIcon = ScopedHandle<HICON, DestroyIconHandle>;
using ScopedMenu = ScopedHandle<HMENU, DestroyMenuHandle>;
using ScopedHook = ScopedHandle<HHOOK, UnhookHook>;
using ScopedLibrary = ScopedHandle<HMODULE, FreeModule>;
// A kernel handle that is null when empty (CreateMutexA).
using ScopedKernelHandle = ScopedHandle<HANDLE, CloseKernelHandle>;
using ScopedAtom = ScopedHandle<ATOM, DeleteGlobalAtom>;

// Selects an object into a DC and selects the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GetDC / ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An open registry key.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }  // for RegOpenKeyExA / RegCreateKeyExA
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// A kernel handle that is INVALID_HANDLE_VALUE when empty (CreateFileA).
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  bool Close() {
    bool ok = true;
    if (handle_ != INVALID_HANDLE_VALUE) ok = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};
