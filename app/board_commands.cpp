// WM_BOARDCOMMAND: the one way every user command reaches the board.
#include "app/scrivane_dlg.h"
#include "export/save_command.h"
#include "model/board_modes.h"
#include "palette/board_commands.h"

namespace {

// Pen colours as colour references (red in the low byte), by BC_COLOR argument.
constexpr COLORREF kPenColours[] = {0x000000, 0xFF0000, 0x0000FF, 0x00FF00};

int NextLineWidth(int width) {
  switch (width) {
    case 3: return 5;
    case 5: return 10;
    case 10: return 15;
    case 15: return 3;
    default: return width;
  }
}

}  // namespace

void CScrivaneDlg::LeaveWindowMode() {
  if (m_nBackMode == BM_WINDOW) m_nBackMode = BM_TRANSPARENT;
}

void CScrivaneDlg::SetToolOnBothPages(int tool) {
  m_pages[0].m_nTool = tool;
  m_pages[1].m_nTool = tool;
}

// Both pages: a big eraser on either page paints the board's own background.
void CScrivaneDlg::SetBackgroundOnBothPages(std::uint32_t argb) {
  m_pages[0].m_argbBackground = argb;
  m_pages[1].m_argbBackground = argb;
}

// The magnified view shows a frozen copy of the screen with the ink as it
// was, which no redraw can change: a change to the strokes leaves the
// magnifier, as zooming out to 1 would, so that the change shows.
void CScrivaneDlg::StepHistory(bool undo) {
  CQarelPage& page = CurrentPage();
  if (!(undo ? page.Undo() : page.Redo())) return;
  DropMagnifier();
  RedrawBoard();
}

LRESULT CScrivaneDlg::OnBoardCommand(WPARAM code, LPARAM argument) {
  // Undo and redo change only the strokes: in window mode, input keeps
  // passing through to the programs that may have sent them.
  if (code == BC_UNDO || code == BC_REDO) {
    StepHistory(code == BC_UNDO);
    return 0;
  }
  // Every other command but BC_WINDOW makes the board take pointer input again.
  ModifyStyleEx(WS_EX_TRANSPARENT, WS_EX_LAYERED);
  switch (code) {
    case BC_WINDOW: {
      // A frozen, opaque magnification must not stay on screen while clicks
      // go to windows the user cannot see.
      LeaveMagnifier();
      const bool wasOtherMode = m_nBackMode != BM_WINDOW;
      m_nBackMode = BM_WINDOW;
      ModifyStyleEx(0, WS_EX_LAYERED | WS_EX_TRANSPARENT);
      SetBackgroundOnBothPages(ARGB_SEE_THROUGH);
      if (wasOtherMode) RedrawBoard();
      break;
    }
    case BC_PEN:
      LeaveWindowMode();
      LeaveMagnifier();
      SetToolOnBothPages(TOOL_PEN);
      break;
    case BC_LINEWIDTH: {
      LeaveWindowMode();
      LeaveMagnifier();
      SetToolOnBothPages(TOOL_PEN);
      const int width = NextLineWidth(CurrentPage().m_nWidth);
      m_pages[0].m_nWidth = width;
      m_pages[1].m_nWidth = width;
      m_wndToolbar.SetLineWidth(CurrentPage().m_nWidth);
      break;
    }
    case BC_COLOR:
      LeaveWindowMode();
      LeaveMagnifier();
      SetToolOnBothPages(TOOL_PEN);
      if (argument >= 0 && argument < static_cast<LPARAM>(std::size(kPenColours))) {
        m_pages[0].m_crColor = kPenColours[argument];
        m_pages[1].m_crColor = kPenColours[argument];
      }
      break;
    case BC_BIGERASE:
      LeaveWindowMode();
      LeaveMagnifier();
      SetToolOnBothPages(TOOL_BIGERASER);
      break;
    case BC_ERASE:
      DropMagnifier();
      CurrentPage().Erase();
      RedrawBoard();
      break;
    case BC_ZOOMIN:
      LeaveWindowMode();
      MagnifyStep();
      break;
    case BC_ZOOMOUT:
      // Zooming out of the wait for a capture gives it up.
      if (m_nZoom == 1) {
        DropMagnifier();
        break;
      }
      LeaveWindowMode();
      ReduceStep();
      break;
    case BC_SAVE:
      return OnSave();
    case BC_BACKGROUND:
      switch (m_nBackMode) {
        case BM_WHITEBOARD:
          m_nBackMode = BM_GREENBOARD;
          SetBackgroundOnBothPages(ARGB_GREENBOARD);
          break;
        case BM_GREENBOARD:
          m_nBackMode = BM_TRANSPARENT;
          SetBackgroundOnBothPages(ARGB_SEE_THROUGH);
          break;
        default:
          m_nBackMode = BM_WHITEBOARD;
          SetBackgroundOnBothPages(ARGB_WHITEBOARD);
          break;
      }
      RedrawBoard();
      break;
    case BC_FIRSTPAGE:
    case BC_SECONDPAGE: {
      const int page = code == BC_FIRSTPAGE ? 0 : 1;
      if (m_nCurPage == page) break;
      // Both belong to the page being left: its tool, and the drag in progress
      // (another program may change the page while the button is held).
      DropMagnifier();
      CurrentPage().EndGesture();
      m_nCurPage = page;
      LeaveWindowMode();
      RedrawBoard();
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT CScrivaneDlg::OnSave() {
  BoardPicture picture;
  picture.width = m_nScreenWidth;
  picture.height = m_nScreenHeight;
  picture.pages = m_pages;
  picture.currentPage = m_nCurPage;
  picture.backMode = m_nBackMode;
  return RunSaveCommand(picture, *this);
}
