// The real program on the in-memory desktop, seen from its palette: where
// the palette, its buttons and the icon are, what they show and post.
#pragma once

#include <algorithm>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "palette/toolbar_dlg.h"
#include "platform/framework/message_log.h"
#include "resources/resource_ids.h"
#include "tests/app/board_fixture.h"

inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace plumet::test {

// A button as the user finds it: its place in the palette, the corners of
// its normal, hover and pressed looks in the skin sheet, and its size.
struct PaletteButton {
  int id;
  POINT place, normal, hover, pressed;
  SIZE size;
};

// The palette's own table, top to bottom.
inline const std::vector<PaletteButton> kButtons = [] {
  std::vector<PaletteButton> buttons;
  for (const CToolbarDlg::ButtonEntry& e : CToolbarDlg::Buttons())
    buttons.push_back({e.id, e.place, e.slices.normal, e.slices.hover, e.slices.pressed, e.slices.size});
  std::sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) { return a.place.y < b.place.y; });
  return buttons;
}();

inline const PaletteButton& Button(int id) {
  for (const PaletteButton& b : kButtons)
    if (b.id == id) return b;
  throw std::out_of_range("no such button");
}

using Posts = std::vector<std::pair<WPARAM, LPARAM>>;

class PaletteFixture : public BoardFixture {
 protected:
  explicit PaletteFixture(backend::Size screen = {1366, 768}) : BoardFixture(screen) {}

  // Where the board puts the palette on a 1366 x 768 screen.
  static constexpr POINT kOrigin{1266, 100};

  void TearDown() override {
    AfxEnableMessageLog(false);
    BoardFixture::TearDown();
  }

  CToolbarDlg& Palette() { return Board().m_wndToolbar; }
  static RECT Rect(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
  }
  // Once the palette has folded for the first time.
  HWND Icon() {
    for (backend::WindowId native : desktop_.StackingOrder())
      if (AfxGetDialogTemplateId(AfxWindowFromNative(native)) == static_cast<int>(IDD_ICON))
        return AfxWindowFromNative(native);
    return nullptr;
  }
  bool Folded() { return !Palette().IsWindowVisible() && ::IsWindowVisible(Icon()); }
  // Our window (button, palette, icon, board) taking pointer input at a screen point; nullptr: the desktop.
  HWND TakesInputAt(int x, int y) {
    HWND top = AfxWindowFromNative(desktop_.InputWindowAt(x, y));
    POINT client{x, y};
    ::ScreenToClient(top, &client);
    return top ? ::ChildWindowFromPoint(top, client) : nullptr;
  }

  void Press(POINT p) { desktop_.AddPress(p.x, p.y); }
  void Move(POINT p) { desktop_.AddMove(p.x, p.y); }
  void Release(POINT p) { desktop_.AddRelease(p.x, p.y); }
  void Click(POINT p) { desktop_.AddClick(p.x, p.y); }
  static POINT Centre(const PaletteButton& b, POINT origin = kOrigin) {
    return {origin.x + b.place.x + b.size.cx / 2, origin.y + b.place.y + b.size.cy / 2};
  }

  // Whether the screen shows, at screenAt, the rectangle at sheetAt of the
  // sheet drawn at that scale.
  bool ShowsSheet(POINT screenAt, POINT sheetAt, SIZE size, int scale = 1) {
    CBitmap sheet;
    BITMAP bm;
    if (!sheet.LoadBitmap(ScaledResourceId(IDB_SKIN, scale)) || !sheet.GetBitmap(&bm)) return false;
    for (LONG y = 0; y < size.cy; ++y)
      for (LONG x = 0; x < size.cx; ++x) {
        std::uint32_t expected;
        std::memcpy(&expected, static_cast<const char*>(bm.bmBits) + (sheetAt.y + y) * bm.bmWidthBytes +
                                   (sheetAt.x + x) * 4, 4);
        if (Screen(screenAt.x + x, screenAt.y + y) != expected) return false;
      }
    return true;
  }
  bool ShowsLook(const PaletteButton& b, POINT look, POINT origin = kOrigin) {
    return ShowsSheet({origin.x + b.place.x, origin.y + b.place.y}, look, b.size);
  }

  void StartLog() { Then([] { AfxEnableMessageLog(true); }); }
  // Since the log started: board commands posted, or click reports sent to the palette.
  Posts Logged(bool posted, UINT message, HWND to) {
    Posts found;
    for (const LoggedMessage& m : AfxMessageLog())
      if (m.posted == posted && m.message == message && m.hwnd == to) found.emplace_back(m.wParam, m.lParam);
    return found;
  }
  Posts BoardCommands() { return Logged(true, WM_BOARDCOMMAND, Board().m_hWnd); }
  Posts ClickReports() { return Logged(false, WM_COMMAND, Palette().m_hWnd); }
};

}  // namespace plumet::test
