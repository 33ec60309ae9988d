#include "platform/framework/app.h"

namespace {
CWinApp* theOneApp = nullptr;
}

CWinApp::CWinApp(const char*) { theOneApp = this; }

CWinApp::~CWinApp() {
  if (theOneApp == this) theOneApp = nullptr;
}

HCURSOR CWinApp::LoadCursor(UINT id) const { return ::LoadCursor(AfxGetResourceHandle(), id); }

CWinApp* AfxGetApp() { return theOneApp; }
CWnd* AfxGetMainWnd() { return theOneApp ? theOneApp->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle() {
  // Any value but null names the program's own resources.
  return reinterpret_cast<HINSTANCE>(std::uintptr_t{1});
}
