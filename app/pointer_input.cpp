// Pen, finger and mouse reach the board as left-button messages; the board
// routes them to the current page and shows the tool's cursor.
#include "app/scrivane_dlg.h"
#include "palette/artwork_scale.h"
#include "resources/resource_ids.h"

void CScrivaneDlg::LoadToolCursors() {
  m_hCurArrow = AfxGetApp()->LoadStandardCursor(IDC_ARROW);
  m_hCurHand = AfxGetApp()->LoadStandardCursor(IDC_HAND);
  m_hCurPen = AfxGetApp()->LoadCursor(ScaledResourceId(IDC_PEN, ArtworkScale(m_hWnd)));
  // Its circle is the eraser's size, which stays in device pixels.
  m_hCurBigEraser = AfxGetApp()->LoadCursor(IDC_BIGERASER);
}

void CScrivaneDlg::SetToolCursor() {
  switch (CurrentPage().m_nTool) {
    case TOOL_PEN: ::SetCursor(m_hCurPen); break;
    case TOOL_HAND: ::SetCursor(m_hCurHand); break;
    case TOOL_BIGERASER: ::SetCursor(m_hCurBigEraser); break;
    default: ::SetCursor(m_hCurArrow); break;
  }
}

void CScrivaneDlg::DestroyToolCursors() {
  // The system cursors are shared: releasing them does nothing.
  for (HCURSOR* cursor : {&m_hCurArrow, &m_hCurHand, &m_hCurPen, &m_hCurBigEraser}) {
    ::DestroyCursor(*cursor);
    *cursor = nullptr;
  }
}

void CScrivaneDlg::OnLButtonDown(UINT, POINT point) {
  // Movements and the release keep coming here, even over the palette.
  SetCapture();
  m_ptPanAnchor = m_ptViewOrigin;
  CurrentPage().BeginStroke(point.x, point.y);
  SetToolCursor();
  Default();
}

void CScrivaneDlg::OnMouseMove(UINT, POINT point) {
  SetToolCursor();
  CurrentPage().ContinueStroke(point.x, point.y, &m_dcBoard);
  Default();
}

void CScrivaneDlg::OnLButtonUp(UINT, POINT point) {
  ::ReleaseCapture();
  CurrentPage().EndStroke(point.x, point.y, &m_dcBoard);
  Default();
}
