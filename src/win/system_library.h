// System DLLs that are loaded when first needed, by full path from the system
// folder: a DLL of that name lying beside the executable (often a Downloads
// folder) is never the one loaded.
#pragma once
#include <windows.h>

// Null when it cannot be loaded. Each call takes a reference of its own,
// which FreeLibrary gives back.
HMODULE LoadSystemLibrary(const char* name);

// The export `name` of `module` with its own type (decltype of the declared
// function), or null when the module lacks it (an older Windows) or is null.
template <typename Function>
Function* SystemFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // GetProcAddress answers every export with one generic type; this is the one
  // place that gives it back its own.
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
