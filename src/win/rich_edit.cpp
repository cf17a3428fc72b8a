#include "win/rich_edit.h"

#include <windows.h>

#include "win/scoped.h"
#include "win/system_library.h"

namespace {
ScopedLibrary RichEditModule;
}

bool LoadRichEdit() {
  if (!RichEditModule) RichEditModule.Reset(LoadSystemLibrary("RichEd20.dll"));
  return static_cast<bool>(RichEditModule);
}

void FreeRichEdit() { RichEditModule.Reset(); }
