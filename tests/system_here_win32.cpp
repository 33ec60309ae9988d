#include <windows.h>

#include "system_here.h"

bool RunningOnWindows() { return true; }

// Wine's ntdll exports its version; Windows' does not.
bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
