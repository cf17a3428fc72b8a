#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ExitProcess(static_cast<UINT>(RunFumora(GetModuleHandleA(nullptr))));
}
