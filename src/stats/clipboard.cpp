#include "stats/clipboard.h"

#include <cstring>
#include <string>

#include "engine/stats_text.h"

ClipboardDataFunction PutClipboardData = SetClipboardData;

namespace {
// Moveable memory holding `size` bytes from `bytes`, or null.
HGLOBAL MemoryHolding(const void* bytes, SIZE_T size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* to = memory ? GlobalLock(memory) : nullptr;
  if (!to) {
    if (memory) GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(to, bytes, size);
  GlobalUnlock(memory);
  return memory;
}

// A copy of the text the open clipboard holds, or null.
HGLOBAL CopyOfClipboardText() {
  HANDLE held = GetClipboardData(CF_TEXT);
  const void* bytes = held ? GlobalLock(held) : nullptr;
  if (!bytes) return nullptr;
  HGLOBAL copy = MemoryHolding(bytes, GlobalSize(held));
  GlobalUnlock(held);
  return copy;
}
}  // namespace

void CopyStatsToClipboard(HWND owner) {
  const std::string text = BuildStatsText();
  // Made before the clipboard is touched: a failed allocation changes nothing.
  HGLOBAL memory = MemoryHolding(text.c_str(), text.size() + 1);
  if (!memory) return;
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return;
  }
  // The system takes data only after EmptyClipboard, so the text it held is
  // kept aside, to be put back if the new text is refused. On success the
  // clipboard owns the memory given to it.
  HGLOBAL previous = CopyOfClipboardText();
  EmptyClipboard();
  if (PutClipboardData(CF_TEXT, memory)) {
    memory = nullptr;
  } else if (previous && PutClipboardData(CF_TEXT, previous)) {
    previous = nullptr;
  }
  if (memory) GlobalFree(memory);
  if (previous) GlobalFree(previous);
  CloseClipboard();
}
