#include "win/dpi.h"

#include <cstring>
#include <span>

#include "win/system_library.h"

namespace {
// Declared here: the SDK declares them only for Windows 10 targets.
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

HMODULE User32() {
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32;
}

int IconMetric(int metric, int dpi) {
  static auto* const forDpi = SystemFunction<GetSystemMetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
  const int size = forDpi ? forDpi(metric, static_cast<UINT>(dpi)) : 0;
  // Before Windows 10 the metrics are those of the system DPI.
  return size > 0 ? size : ScaleBetween(GetSystemMetrics(metric), dpi, SystemDpi());
}

std::span<const BYTE> ResourceBytes(HINSTANCE instance, int id, LPCSTR type) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const BYTE*>(data), SizeofResource(instance, found)};
}

// An icon resource (RT_GROUP_ICON) is this header and `count` entries, each
// naming one image (RT_ICON) by number.
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD image;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);
}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : BaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : BaseDpi;
}

int WindowDpi(HWND window) {
  static auto* const forWindow = SystemFunction<GetDpiForWindowFunction>(User32(), "GetDpiForWindow");
  if (window && forWindow) {
    const UINT dpi = forWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SmallIconSize(int dpi) { return IconMetric(SM_CXSMICON, dpi); }
int LargeIconSize(int dpi) { return IconMetric(SM_CXICON, dpi); }

HICON LoadDibIconAtSize(HINSTANCE instance, int id, int size) {
  const std::span<const BYTE> group = ResourceBytes(instance, id, RT_GROUP_ICON);
  GroupIconHeader header{};
  if (group.size() < sizeof header) return nullptr;
  std::memcpy(&header, group.data(), sizeof header);
  std::span<const BYTE> best;
  int bestSize = 0;
  for (size_t i = 0; i < header.count && sizeof header + (i + 1) * sizeof(GroupIconEntry) <= group.size(); ++i) {
    GroupIconEntry entry{};
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    const int width = entry.width ? entry.width : 256;
    if (width > size || width <= bestSize) continue;
    // A DIB image starts with its 40-byte header, a PNG one with its signature.
    const std::span<const BYTE> image = ResourceBytes(instance, entry.image, RT_ICON);
    if (image.size() < sizeof(BITMAPINFOHEADER) || image[0] != sizeof(BITMAPINFOHEADER) || image[1] != 0) continue;
    best = image;
    bestSize = width;
  }
  if (best.empty()) return nullptr;
  return CreateIconFromResourceEx(const_cast<BYTE*>(best.data()), static_cast<DWORD>(best.size()), TRUE, 0x00030000,
                                  bestSize, bestSize, LR_DEFAULTCOLOR);
}

HICON LoadIconAtSize(HINSTANCE instance, int id, int size) {
  const int drawn = DrawnIconSize(size);
  if (HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, drawn, drawn, 0))
    return static_cast<HICON>(icon);
  return LoadDibIconAtSize(instance, id, drawn);
}
