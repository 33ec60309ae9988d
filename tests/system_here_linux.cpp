#include "system_here.h"

bool RunningOnWindows() { return false; }

bool RunningUnderWine() { return false; }
