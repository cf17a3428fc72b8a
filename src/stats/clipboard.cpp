#include "stats/clipboard.h"

#include <cstring>
#include <string>

#include "engine/stats_text.h"

void CopyStatsToClipboard(HWND owner) {
  const std::string text = BuildStatsText();
  const SIZE_T size = text.size() + 1;
  if (!OpenClipboard(owner)) return;
  // The memory is filled before the clipboard is emptied, so that a failed
  // allocation leaves the old content in place.
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* bytes = memory ? GlobalLock(memory) : nullptr;
  if (bytes) {
    std::memcpy(bytes, text.c_str(), size);
    GlobalUnlock(memory);
    EmptyClipboard();
    // On success the clipboard owns the memory; otherwise it is still ours.
    if (SetClipboardData(CF_TEXT, memory)) memory = nullptr;
  }
  if (memory) GlobalFree(memory);
  CloseClipboard();
}
