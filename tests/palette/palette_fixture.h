// The real program on the in-memory desktop, seen from its palette: where
// the palette, its buttons and the icon are, what they show and post.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/board_fixture.h"

// Readable rectangles in failure messages.
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace plumet::test {

// A button as the user finds it: its control id, its place in the palette
// and the corners of its three looks in the skin sheet.
struct PaletteButton {
  int id;
  POINT place;
  POINT normal;
  POINT hover;
  POINT pressed;
  SIZE size;
  // A screen point in the middle of the button, for the palette at origin.
  POINT Centre(POINT origin) const {
    return {origin.x + place.x + size.cx / 2, origin.y + place.y + size.cy / 2};
  }
};

PaletteButton TileButton(int id, LONG x, LONG y, LONG sheetRow);
const PaletteButton& ButtonById(int id);
// All thirteen, top to bottom.
const std::vector<PaletteButton>& AllButtons();

class PaletteFixture : public BoardFixture {
 protected:
  void TearDown() override;

  // Where the board puts the palette on a 1366 x 768 screen.
  static constexpr POINT kOrigin{1266, 100};
  static constexpr SIZE kSize{50, 475};

  CToolbarDlg& Palette() { return Board().m_wndToolbar; }
  RECT PaletteRect();
  // The icon window once the palette has folded for the first time, else nullptr.
  HWND IconWindow();
  RECT IconRect();
  // The window of ours that takes pointer input at a screen point (a
  // button, the palette, the icon or the board), nullptr for the desktop.
  HWND TakesInputAt(int x, int y);
  HWND ButtonWindow(int id) { return Palette().GetDlgItem(id)->m_hWnd; }

  // Screen pixels of the rectangle at screenAt that differ from the skin
  // sheet's rectangle of the same size at sheetAt.
  int DiffersFromSheet(POINT screenAt, POINT sheetAt, SIZE size);
  // The look a button shows now, for the palette at origin.
  bool ShowsLook(const PaletteButton& button, POINT look, POINT origin = kOrigin) {
    return DiffersFromSheet({origin.x + button.place.x, origin.y + button.place.y}, look, button.size) == 0;
  }

  // Starts the message log in a step of its own.
  void StartLog();
  // The board commands posted since the log started, in order.
  std::vector<std::pair<WPARAM, LPARAM>> PostedBoardCommands();
  // The click reports the palette got since the log started.
  std::vector<std::pair<WPARAM, LPARAM>> ClickReports();

  static std::string At(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }
  static std::string At(POINT p) { return At(p.x, p.y); }
};

}  // namespace plumet::test
