#include "tests/palette/palette_fixture.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/message_log.h"
#include "resources/resource_ids.h"

namespace plumet::test {

PaletteButton TileButton(int id, LONG x, LONG y, LONG sheetRow) {
  return {id, {x, y}, {7, sheetRow}, {63, sheetRow}, {120, sheetRow}, {37, 34}};
}

const std::vector<PaletteButton>& AllButtons() {
  static const std::vector<PaletteButton> buttons{
      {IDCANCEL, {32, 1}, {32, 1}, {88, 1}, {32, 1}, {15, 15}},
      TileButton(1000, 7, 22, 22),
      TileButton(1001, 7, 59, 59),
      TileButton(1010, 7, 95, 132),
      TileButton(1011, 7, 132, 389),
      TileButton(1012, 7, 169, 426),
      TileButton(1002, 7, 205, 95),
      TileButton(1004, 7, 243, 169),
      TileButton(1005, 7, 279, 205),
      TileButton(1006, 7, 316, 243),
      TileButton(1007, 7, 353, 279),
      TileButton(1008, 7, 389, 316),
      TileButton(1009, 7, 426, 353),
  };
  return buttons;
}

const PaletteButton& ButtonById(int id) {
  const auto& buttons = AllButtons();
  return *std::find_if(buttons.begin(), buttons.end(), [id](const PaletteButton& b) { return b.id == id; });
}

RECT PaletteFixture::PaletteRect() {
  RECT rc;
  Palette().GetWindowRect(&rc);
  return rc;
}

HWND PaletteFixture::IconWindow() {
  for (backend::WindowId native : desktop_.StackingOrder()) {
    HWND hwnd = AfxWindowFromNative(native);
    if (AfxGetDialogTemplateId(hwnd) == static_cast<int>(IDD_ICON)) return hwnd;
  }
  return nullptr;
}

RECT PaletteFixture::IconRect() {
  RECT rc{};
  ::GetWindowRect(IconWindow(), &rc);
  return rc;
}

HWND PaletteFixture::TakesInputAt(int x, int y) {
  HWND top = AfxWindowFromNative(desktop_.InputWindowAt(x, y));
  if (!top) return nullptr;
  POINT client{x, y};
  ::ScreenToClient(top, &client);
  return ::ChildWindowFromPoint(top, client);
}

int PaletteFixture::DiffersFromSheet(POINT screenAt, POINT sheetAt, SIZE size) {
  // Decoded once: the sheet never changes.
  static const BITMAP bm = [] {
    static CBitmap sheet;
    sheet.LoadBitmap(IDB_SKIN);
    BITMAP info;
    sheet.GetBitmap(&info);
    return info;
  }();
  const auto* bytes = static_cast<const unsigned char*>(bm.bmBits);
  int differing = 0;
  for (LONG y = 0; y < size.cy; ++y) {
    for (LONG x = 0; x < size.cx; ++x) {
      std::uint32_t expected;
      std::memcpy(&expected, bytes + (sheetAt.y + y) * bm.bmWidthBytes + (sheetAt.x + x) * 4, sizeof expected);
      if (Screen(screenAt.x + x, screenAt.y + y) != expected) ++differing;
    }
  }
  return differing;
}

void PaletteFixture::TearDown() {
  AfxEnableMessageLog(false);
  BoardFixture::TearDown();
}

void PaletteFixture::StartLog() {
  Then([] { AfxEnableMessageLog(true); });
}

std::vector<std::pair<WPARAM, LPARAM>> PaletteFixture::PostedBoardCommands() {
  std::vector<std::pair<WPARAM, LPARAM>> posts;
  for (const LoggedMessage& m : AfxMessageLog())
    if (m.posted && m.message == WM_BOARDCOMMAND && m.hwnd == Board().m_hWnd) posts.emplace_back(m.wParam, m.lParam);
  return posts;
}

std::vector<std::pair<WPARAM, LPARAM>> PaletteFixture::ClickReports() {
  std::vector<std::pair<WPARAM, LPARAM>> reports;
  for (const LoggedMessage& m : AfxMessageLog())
    if (!m.posted && m.message == WM_COMMAND && m.hwnd == Palette().m_hWnd) reports.emplace_back(m.wParam, m.lParam);
  return reports;
}

}  // namespace plumet::test
