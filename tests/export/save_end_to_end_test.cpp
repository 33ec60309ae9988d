// Saving through the real program on the in-memory desktop: draw with the
// pen, answer the save dialog, run BC_SAVE; the files are read back with
// libpng, libtiff and pugixml.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "model/board_modes.h"
#include "tests/app/board_fixture.h"
#include "tests/export/picture_readers.h"
#include "tests/export/test_files_posix.h"

namespace {

using namespace export_test;
using plumet::test::BoardFixture;

constexpr std::uint32_t kEmpty = 0x00FFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

// Ink pixels farther than reach from a row (row true) or column.
int InkOutside(const Picture& picture, bool row, int centre, int reach) {
  int count = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (std::abs((row ? y : x) - centre) > reach && picture.At(x, y) != kEmpty) ++count;
    }
  }
  return count;
}

// Page 0: a red row at y = 300 from x = 100 to 600.
void ExpectPageZero(const Picture& picture) {
  ASSERT_EQ(picture.width, 1366);
  ASSERT_EQ(picture.height, 768);
  EXPECT_EQ(picture.At(350, 300), kRed);
  EXPECT_EQ(InkOutside(picture, true, 300, 4), 0);
}

// Page 1: a blue column at x = 800 from y = 200 to 600.
void ExpectPageOne(const Picture& picture) {
  ASSERT_EQ(picture.width, 1366);
  ASSERT_EQ(picture.height, 768);
  EXPECT_EQ(picture.At(800, 400), kBlue);
  EXPECT_EQ(InkOutside(picture, false, 800, 4), 0);
}

class SaveEndToEnd : public BoardFixture {
 protected:
  void DrawOnPageZero() {
    Post(BC_PEN);
    Post(BC_COLOR, 2);
    desktop_.AddDrag(100, 300, 600, 300, 25);
  }
  // Page 1 stays current.
  void DrawOnBothPages() {
    DrawOnPageZero();
    Post(BC_SECONDPAGE);
    Post(BC_COLOR, 1);
    desktop_.AddDrag(800, 200, 800, 600, 20);
  }
  // Answers the next dialog (nothing: cancel) and runs the save command, keeping its result.
  void SaveAs(std::optional<std::string> answer, LRESULT* result) {
    Then([this, answer] { desktop_.AddSaveAnswer(answer); });
    Then([this, result] { *result = ::SendMessage(Board().m_hWnd, WM_BOARDCOMMAND, BC_SAVE, 0); });
  }
  TempFolder folder_;
};

// A name the dialog does not know the extension of gets the one of the
// preselected type, TIFF, so every file's name says what it holds.
TEST_F(SaveEndToEnd, EveryNameGetsTheFormatOfItsExtension) {
  const std::vector<std::string> tiffs{"a.tiff", "b.TIFF", "c.Tiff", "g.tif", "h.jpg.tiff", "no-extension.tiff"};
  const std::vector<std::string> pngs{"d.png", "e.PNG"};
  const std::vector<std::string> svgs{"f.svg"};
  const std::vector<std::string> typed{"a.tiff", "b.TIFF", "c.Tiff", "g.tif", "h.jpg", "no-extension",
                                       "d.png",  "e.PNG",  "f.svg"};
  std::vector<LRESULT> results(typed.size(), -1);
  LRESULT cancelled = -1;

  DrawOnBothPages();
  for (std::size_t i = 0; i < typed.size(); ++i) SaveAs(folder_ / typed[i], &results[i]);
  SaveAs(std::nullopt, &cancelled);
  Run();

  EXPECT_EQ(results, std::vector<LRESULT>(typed.size(), 1));
  EXPECT_EQ(cancelled, 0);
  EXPECT_TRUE(desktop_.Messages().empty());
  std::vector<std::string> names;
  for (const auto* group : {&tiffs, &pngs, &svgs}) names.insert(names.end(), group->begin(), group->end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(folder_.Names(), names);  // nothing for the cancel, no temporaries
  for (const std::string& name : tiffs) {
    SCOPED_TRACE(name);
    const auto frames = ReadTiff(folder_ / name);
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->size(), 2u);
    ExpectPageZero((*frames)[0].picture);
    ExpectPageOne((*frames)[1].picture);
  }
  for (const std::string& name : pngs) {
    SCOPED_TRACE(name);
    const std::optional<PngFile> png = ReadPng(folder_ / name);
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->hasAlpha);
    ExpectPageOne(png->picture);  // the current page only
  }
  for (const std::string& name : svgs) {
    SCOPED_TRACE(name);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((folder_ / name).c_str()));
    const pugi::xml_node svg = doc.document_element();
    EXPECT_EQ(svg.attribute("width").as_int(), 1366);
    EXPECT_EQ(svg.attribute("height").as_int(), 768);
    const pugi::xml_node polyline = svg.child("polyline");
    EXPECT_STREQ(polyline.attribute("style").value(),
                 "fill:none;stroke:rgb(0,0,255);stroke-width:3.000000;stroke-opacity:1.0");
    EXPECT_EQ(std::string(polyline.attribute("points").value()).rfind("800.000000,200.000000 ", 0), 0u);
    EXPECT_FALSE(polyline.next_sibling());
  }
}

TEST_F(SaveEndToEnd, AfterTwoUndosAndARedoScreenAndPngShowExactlyTheFirstTwoStrokes) {
  RememberBareDesktop();
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddDrag(100, 200, 600, 200, 25);
  desktop_.AddDrag(100, 300, 600, 300, 25);
  desktop_.AddDrag(100, 400, 600, 400, 25);
  Post(BC_UNDO);
  Post(BC_UNDO);
  Post(BC_REDO);
  Then([this] {
    EXPECT_EQ(Screen(350, 200), kRed);
    EXPECT_EQ(Screen(350, 300), kRed);
    EXPECT_EQ(Screen(350, 400), DesktopAt(350, 400));
  });
  LRESULT saved = 0;
  SaveAs(folder_ / "undone.png", &saved);
  Run();

  ASSERT_EQ(saved, 1);
  const std::optional<PngFile> png = ReadPng(folder_ / "undone.png");
  ASSERT_TRUE(png);
  const Picture& picture = png->picture;
  EXPECT_EQ(picture.At(350, 200), kRed);
  EXPECT_EQ(picture.At(350, 300), kRed);
  int strayInk = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (std::abs(y - 200) > 4 && std::abs(y - 300) > 4 && picture.At(x, y) != kEmpty) ++strayInk;
  EXPECT_EQ(strayInk, 0);
}

TEST_F(SaveEndToEnd, SvgOfAKnownPageToTheByteOnTheSeeThroughAndTheWhiteBoard) {
  Post(BC_PEN);
  Post(BC_COLOR, 2);
  desktop_.AddDrag(100, 300, 200, 300, 2);
  LRESULT seeThrough = 0;
  LRESULT white = 0;
  SaveAs(folder_ / "see-through.svg", &seeThrough);
  Post(BC_BACKGROUND);
  Then([this] { ASSERT_EQ(Board().m_nBackMode, BM_WHITEBOARD); });
  SaveAs(folder_ / "white.svg", &white);
  Run();

  const std::string head =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg width=\"1366\" height=\"768\">\r\n"
      "<desc>Exported by Tessavon International LTD.https://plumet.app/</desc>\r\n";
  const std::string stroke =
      "<polyline style=\"fill:none;stroke:rgb(255,0,0);stroke-width:3.000000;stroke-opacity:1.0\" "
      "points=\"100.000000,300.000000 150.000000,300.000000 200.000000,300.000000 \"/>\r\n"
      "</svg>\r\n";
  EXPECT_EQ(seeThrough, 1);
  EXPECT_EQ(white, 1);
  EXPECT_EQ(ReadBytes(folder_ / "see-through.svg"), head + stroke);
  EXPECT_EQ(ReadBytes(folder_ / "white.svg"),
            head + "<rect x=\"0\" y=\"0\" width=\"1366\" height=\"768\" style=\"stroke:none;fill:#ffffff\"/>\r\n" +
                stroke);
}

// Names are bytes: an old Latin-1 name is no UTF-8, and 70 CJK characters
// make a name whose temporary must be shortened. Each replaces its old file.
TEST_F(SaveEndToEnd, SvgOverAnOldFileWhoseNameIsNotUtf8OrIsLong) {
  std::string cjk;
  for (int i = 0; i < 70; ++i) cjk += "\xE7\x94\xBB";
  const std::vector<std::string> names{"caf\xE9.svg", cjk + ".svg"};
  std::vector<LRESULT> results(names.size(), -1);
  for (const std::string& name : names) WriteBytes(folder_ / name, "old");
  DrawOnPageZero();
  for (std::size_t i = 0; i < names.size(); ++i) SaveAs(folder_ / names[i], &results[i]);
  Run();

  EXPECT_EQ(results, std::vector<LRESULT>(names.size(), 1));
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(folder_.Names(), sorted);  // no temporary left beside them
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file((folder_ / names[0]).c_str()));
  const std::string points = doc.document_element().child("polyline").attribute("points").value();
  EXPECT_EQ(points.rfind("100.000000,300.000000 ", 0), 0u);
  EXPECT_EQ(ReadBytes(folder_ / names[1]), ReadBytes(folder_ / names[0]));
}

TEST_F(SaveEndToEnd, WhileMagnifiedTheWholePageIsSavedAtFullSize) {
  DrawOnPageZero();
  Post(BC_ZOOMIN);
  desktop_.AddWait(400);
  Then([this] { ASSERT_GT(Board().m_nZoom, 1); });
  LRESULT png = 0;
  LRESULT svg = 0;
  SaveAs(folder_ / "zoomed.png", &png);
  SaveAs(folder_ / "zoomed.svg", &svg);
  Run();

  EXPECT_EQ(png, 1);
  EXPECT_EQ(svg, 1);
  const std::optional<PngFile> file = ReadPng(folder_ / "zoomed.png");
  ASSERT_TRUE(file);
  ExpectPageZero(file->picture);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file((folder_ / "zoomed.svg").c_str()));
  EXPECT_EQ(doc.document_element().attribute("width").as_int(), 1366);
  EXPECT_EQ(doc.document_element().attribute("height").as_int(), 768);
}

TEST_F(SaveEndToEnd, ATiffWithNothingOnPageOneHasATransparentSecondFrame) {
  DrawOnPageZero();
  LRESULT result = 0;
  SaveAs(folder_ / "half.tiff", &result);
  Run();
  EXPECT_EQ(result, 1);
  const auto frames = ReadTiff(folder_ / "half.tiff");
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 2u);
  ExpectPageZero((*frames)[0].picture);
  EXPECT_EQ((*frames)[1].picture.CountOther(kEmpty), 0);
}

TEST_F(SaveEndToEnd, SavingRedrawsNothingAndChangesNoTool) {
  DrawOnBothPages();
  Then([this] {
    const RECT mark{50, 50, 51, 51};  // a mark no redraw would keep
    Board().m_dcBoard.FillSolidRect(&mark, RGB(1, 2, 3));
  });
  LRESULT result = 0;
  SaveAs(folder_ / "kept.tiff", &result);
  Then([this] {
    EXPECT_EQ(BoardPixel(50, 50), 0xFF010203u);
    EXPECT_EQ(Board().m_nCurPage, 1);
    for (int page = 0; page < 2; ++page) {
      EXPECT_EQ(Page(page).m_nTool, TOOL_PEN);
      EXPECT_EQ(Page(page).m_crColor, RGB(0, 0, 255));
      EXPECT_EQ(Page(page).m_nWidth, 3);
    }
  });
  Run();
  EXPECT_EQ(result, 1);
}

// Each failure is told in a message box owned by the board, with the name
// and the system's reason; a pipe nobody reads fails at once.
TEST_F(SaveEndToEnd, FailuresGiveZeroAndAMessageAndLeaveTheUsersFiles) {
  std::filesystem::create_directory(folder_ / "folder.png");
  WriteBytes(folder_ / "real.svg", "old");
  std::filesystem::create_symlink("real.svg", folder_ / "link.svg");
  std::filesystem::create_symlink("missing/x.png", folder_ / "dangling.png");
  ASSERT_EQ(::mkfifo((folder_ / "pipe.png").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((folder_ / "pipe.svg").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::string>> failing{
      {folder_ / "folder.png", "Is a directory"},
      {folder_ / "missing/x.tiff", "No such file or directory"},
      {folder_ / "dangling.png", "No such file or directory"},
      {folder_ / "pipe.png", "No such device or address"},
      {folder_ / "pipe.svg", "No such device or address"}};
  std::vector<LRESULT> results(failing.size(), -1);
  LRESULT linked = 0;

  DrawOnBothPages();
  for (std::size_t i = 0; i < failing.size(); ++i) SaveAs(failing[i].first, &results[i]);
  SaveAs(folder_ / "link.svg", &linked);
  plumet::backend::WindowId board = 0;
  Then([this, &board] { board = AfxNativeWindow(Board().m_hWnd); });
  Run();

  EXPECT_EQ(results, std::vector<LRESULT>(failing.size(), 0));
  ASSERT_EQ(desktop_.Messages().size(), failing.size());  // none for the good save
  for (std::size_t i = 0; i < failing.size(); ++i) {
    EXPECT_EQ(desktop_.Messages()[i].text, "Could not save " + failing[i].first + ": " + failing[i].second);
    EXPECT_EQ(desktop_.Messages()[i].owner, board);
  }
  EXPECT_NE(board, 0u);
  EXPECT_TRUE(std::filesystem::is_empty(folder_ / "folder.png"));
  EXPECT_EQ(linked, 1);
  EXPECT_EQ(std::filesystem::read_symlink(folder_ / "link.svg"), "real.svg");
  EXPECT_EQ(ReadBytes(folder_ / "real.svg").rfind("<?xml", 0), 0u);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"dangling.png", "folder.png", "link.svg", "pipe.png",
                                                       "pipe.svg", "real.svg"}));
}

TEST_F(SaveEndToEnd, AFullDiskGivesZeroAndKeepsTheOldFiles) {
  const std::vector<std::string> names{"old.tiff", "old.png", "old.svg"};
  const std::string diskFolder = folder_ / "disk";
  std::filesystem::create_directory(diskFolder);
  // A tmpfs just large enough for the old files where the machine lets us
  // mount one, else no file may grow at all while the saves run.
  const SmallDisk disk(diskFolder, 12);
  std::optional<FileSizeLimit> limit;
  for (const std::string& name : names) WriteBytes(diskFolder + "/" + name, "old " + name);
  std::vector<LRESULT> results(names.size(), -1);

  DrawOnBothPages();
  if (!disk.Mounted()) Then([&limit] { limit.emplace(0); });
  for (std::size_t i = 0; i < names.size(); ++i) SaveAs(diskFolder + "/" + names[i], &results[i]);
  Then([&limit] { limit.reset(); });
  Run();

  EXPECT_EQ(results, std::vector<LRESULT>(names.size(), 0));
  ASSERT_EQ(desktop_.Messages().size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string reason = disk.Mounted() ? "No space left on device" : "File too large";
    EXPECT_EQ(desktop_.Messages()[i].text, "Could not save " + diskFolder + "/" + names[i] + ": " + reason);
  }
  for (const std::string& name : names) EXPECT_EQ(ReadBytes(diskFolder + "/" + name), "old " + name);
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(diskFolder)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, sorted);
}

}  // namespace
