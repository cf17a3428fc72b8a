#include "win/rich_edit.h"

#include <windows.h>

#include "win/system_library.h"

namespace {
HMODULE RichEditModule;
}

bool LoadRichEdit() {
  if (!RichEditModule) RichEditModule = LoadSystemLibrary("RichEd20.dll");
  return RichEditModule != nullptr;
}

void FreeRichEdit() {
  if (RichEditModule) FreeLibrary(RichEditModule);
  RichEditModule = nullptr;
}
