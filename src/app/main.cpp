#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/startup.h"

// Nothing in this program throws. The library's own terminate handler would
// print the type of a stray exception to a console a GUI program does not
// have, and would link in a C++ name demangler (some 45 KB) to do so.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ExitProcess(static_cast<UINT>(RunFumora(GetModuleHandleA(nullptr))));
}
