#include "win/rich_edit.h"

#include <windows.h>

namespace {
HMODULE RichEditModule;
}

bool LoadRichEdit() {
  if (!RichEditModule) RichEditModule = LoadLibraryA("RichEd20.dll");
  return RichEditModule != nullptr;
}

void FreeRichEdit() {
  if (RichEditModule) FreeLibrary(RichEditModule);
  RichEditModule = nullptr;
}
