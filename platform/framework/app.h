// The application object: one per program, found by AfxGetApp.
#pragma once

#include "platform/framework/wnd.h"

class CWinApp {
 public:
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  void OnHelp() {}

  HCURSOR LoadStandardCursor(UINT id) const { return ::LoadCursor(nullptr, id); }
  HCURSOR LoadCursor(UINT id) const;
  HICON LoadIcon(UINT id) const { return ::LoadIcon(nullptr, id); }

  CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The program's own resources.
HINSTANCE AfxGetResourceHandle();
