// Scoped owners: each releases (or restores) what it holds when it goes out
// of scope, so that no path leaks a GDI object, a DC, a key, an icon, a menu,
// a hook, a module, an atom or a handle.
#pragma once
#include <windows.h>

#include <utility>

// A GDI object made by CreateFont, CreatePen, CreateSolidBrush, ...
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  H handle_ = nullptr;
};
using ScopedFont = GdiObject<HFONT>;
using ScopedPen = GdiObject<HPEN>;
using ScopedBrush = GdiObject<HBRUSH>;

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

// The release call of each kind of handle an Owned holds.
namespace scoped_detail {
inline void Release(HICON icon) { DestroyIcon(icon); }
inline void Release(HMENU menu) { DestroyMenu(menu); }
inline void Release(HHOOK hook) { UnhookWindowsHookEx(hook); }
inline void Release(HMODULE module) { FreeLibrary(module); }
inline void Release(HANDLE handle) { CloseHandle(handle); }  // null when empty: CreateMutexA
inline void Release(ATOM atom) { GlobalDeleteAtom(atom); }
}  // namespace scoped_detail

// An icon, a menu, a hook, a loaded DLL, a kernel handle or a global atom,
// released by its own call when the owner goes or is given another.
template <typename H>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, H{}));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  void Reset(H handle = H{}) {
    if (handle_ && handle_ != handle) scoped_detail::Release(handle_);
    handle_ = handle;
  }
  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != H{}; }

 private:
  H handle_{};
};
using ScopedIcon = Owned<HICON>;
using ScopedMenu = Owned<HMENU>;
using ScopedHook = Owned<HHOOK>;
using ScopedLibrary = Owned<HMODULE>;
using ScopedHandle = Owned<HANDLE>;
using ScopedAtom = Owned<ATOM>;

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
