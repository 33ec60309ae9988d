// <windows.h> for the backend's files: its CreateWindow and OpenDesktop
// macros would rename the backend's operations of those names.
#pragma once

#include <windows.h>

#undef CreateWindow
#undef OpenDesktop
