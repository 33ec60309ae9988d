#include "app/scrivane_app.h"

#include "app/scrivane_dlg.h"
#include "platform/graphics/gdiplus.h"

CScrivaneApp theApp;

CScrivaneApp::CScrivaneApp() : CWinApp(nullptr) {}

BOOL CScrivaneApp::InitInstance() {
  Gdiplus::GdiplusStartupInput input;
  std::uintptr_t token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  {
    CScrivaneDlg board;
    m_pMainWnd = &board;
    board.DoModal();
    // After the window is gone, before the board object and its pages go.
    Gdiplus::GdiplusShutdown(token);
    m_pMainWnd = nullptr;
  }
  return FALSE;
}
