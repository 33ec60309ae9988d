// The board: a borderless, top-most, layered window over the whole primary
// screen that shows the ink (or a magnified copy of the screen) with
// per-pixel alpha, owns the two pages and takes every command.
#pragma once

#include "model/qarel_board.h"
#include "model/qarel_page.h"
#include "palette/toolbar_dlg.h"
#include "platform/framework/framework.h"

// The board window's caption, by which other programs may find it.
inline constexpr const char* kBoardCaption = "Plumet Life";

class CScrivaneDlg : public CDialog, public CQarelBoard {
 public:
  CScrivaneDlg();
  ~CScrivaneDlg() override;

  // The board's side of the pages' drawing.
  void PresentBoard(const RECT* dirty = nullptr) override;
  void PanView(int downX, int downY, int x, int y) override;
  int GetEraserAlpha() override;

  int m_nScreenWidth = 0;
  int m_nScreenHeight = 0;
  int m_nSavedTool = TOOL_NONE;
  int m_nCurPage = 0;
  int m_nZoom = 1;
  POINT m_ptViewOrigin;
  POINT m_ptPanAnchor;
  HICON m_hIcon = nullptr;
  CToolbarDlg m_wndToolbar;
  CDC m_dcBoard;
  CBitmap m_bmpBoard;
  HGDIOBJ m_hOldBoardBitmap = nullptr;
  CQarelPage m_pages[2];
  CDC m_dcCapture;
  CBitmap m_bmpCapture;
  CDC m_dcZoom;
  CBitmap m_bmpZoom;
  HCURSOR m_hCurPen = nullptr;
  HCURSOR m_hCurHand = nullptr;
  HCURSOR m_hCurArrow = nullptr;
  HCURSOR m_hCurBigEraser = nullptr;
  int m_nBackMode = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;

 private:
  LRESULT DispatchMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnDestroy();
  void OnTimer(UINT_PTR id);
  void OnDisplayChange();
  LRESULT OnBoardCommand(WPARAM code, LPARAM argument);
  void OnLButtonDown(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);

  // Surfaces and presentation.
  void CreateBoardSurface();
  void FreeBoardSurface();
  void CreateZoomSurface();
  void FillBackground();
  void RedrawBoard();
  bool CaptureScreen();

  // Magnifier.
  void MagnifyStep();
  void ReduceStep();
  void LeaveMagnifier();
  bool DropMagnifier();
  void ClampViewOrigin();
  void StartCapture();

  // Commands.
  void LeaveWindowMode();
  void SetToolOnBothPages(int tool);
  void SetBackgroundOnBothPages(std::uint32_t argb);
  LRESULT OnSave();
  void StepHistory(bool undo);

  // Cursors.
  void LoadToolCursors();
  void SetToolCursor();
  void DestroyToolCursors();

  CQarelPage& CurrentPage() { return m_pages[m_nCurPage]; }

  // A magnify step is waiting for its screen capture.
  bool m_bMagnifyPending = false;
  // The screen copy after a display change is awaited: until it is taken the
  // board shows its own surface, so that the copy holds no enlarged picture.
  bool m_bUnmagnifiedForCapture = false;
  // The palette was hidden for a capture and comes back after it; a folded
  // palette stays folded.
  bool m_bToolbarHiddenForCapture = false;
};

// Timer that takes the screen copy once the palette is out of the way.
constexpr UINT_PTR IDT_CAPTURE = 1;
constexpr UINT kCaptureDelayMs = 200;
// How often a copy of the screen that is on its way is asked for again.
constexpr UINT kCapturePollMs = 50;
