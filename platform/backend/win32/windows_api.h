// <windows.h> for the backend's files: its CreateWindow macro would rename
// the Backend operation of that name.
#pragma once

#include <windows.h>

#undef CreateWindow
