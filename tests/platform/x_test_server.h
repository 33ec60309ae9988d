// A private X server for tests: Xvfb at 1280 x 800 x 24 on a display number
// it picks itself, with the xcompmgr compositing manager, started once per
// test program and ended when it exits. DISPLAY names it, and GTK is started
// on it.
#pragma once

#include <string>

namespace plumet::backend::contract {

// Starts the server on first use; false, with the reason, when it cannot.
bool StartTestXServer(std::string& error);

}  // namespace plumet::backend::contract
