#include "win/system_library.h"

#include <string>

HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, sizeof(folder));
  if (length == 0 || length >= sizeof(folder)) return nullptr;
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  path += name;
  return LoadLibraryA(path.c_str());
}
