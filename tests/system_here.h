// Which system the suites run on, for the few checks whose right answer is
// the system's own. Wine stands in for Windows in CI; what its libraries
// do differently is allowed only where a check names it as Wine-only.
#pragma once

bool RunningOnWindows();  // Windows itself or Wine
bool RunningUnderWine();
