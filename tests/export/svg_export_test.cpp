// The SVG export: the whole text for known pages, the document as another
// parser sees it, and no file for an empty page.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "export/svg_export.h"
#include "xml/xml_document.h"
#include "xml/xml_file.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files_posix.h"

namespace {

using namespace export_test;

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kBlue = 0x00FF0000;
const std::string kFirstLine = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><svg width=\"640\" height=\"480\">\r\n";
const std::string kDesc = "<desc>Exported by Tessavon International LTD.https://plumet.app/</desc>\r\n";
const std::string kRedStroke =
    "<polyline style=\"fill:none;stroke:rgb(255,0,0);stroke-width:3.000000;stroke-opacity:1.0\" "
    "points=\"10.000000,20.000000 11.000000,22.000000 \"/>\r\n";

std::vector<std::string> ChildNames(const pugi::xml_node& node) {
  std::vector<std::string> names;
  for (const pugi::xml_node& child : node.children()) names.push_back(child.name());
  return names;
}

std::vector<std::string> AttributeNames(const pugi::xml_node& node) {
  std::vector<std::string> names;
  for (const pugi::xml_attribute& attribute : node.attributes()) names.push_back(attribute.name());
  return names;
}

class SvgExport : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(SvgExport, WhiteBoardToTheByte) {
  TestBoard board(640, 480, BM_WHITEBOARD);
  board.AddPenStroke(0, kRed, 3, {{10, 20}, {11, 22}});
  board.AddPenStroke(0, kBlue, 10, {{100, 200}, {150, 250}, {200, 210}});
  ASSERT_TRUE(SaveSvg(board.Picture(), folder_ / "white.svg"));
  EXPECT_EQ(ReadBytes(folder_ / "white.svg"),
            kFirstLine + kDesc +
                "<rect x=\"0\" y=\"0\" width=\"640\" height=\"480\" style=\"stroke:none;fill:#ffffff\"/>\r\n" +
                kRedStroke +
                "<polyline style=\"fill:none;stroke:rgb(0,0,255);stroke-width:10.000000;stroke-opacity:1.0\" "
                "points=\"100.000000,200.000000 150.000000,250.000000 200.000000,210.000000 \"/>\r\n"
                "</svg>\r\n");
}

TEST_F(SvgExport, AnotherParserSeesTheDocumentAsMeant) {
  TestBoard board(1920, 1080, BM_WHITEBOARD);
  board.AddPenStroke(0, kRed, 5, {{1, 2}, {3, 4}});
  board.AddPenStroke(0, kBlue, 15, {{5, 6}, {7, 8}});
  ASSERT_TRUE(SaveSvg(board.Picture(), folder_ / "parsed.svg"));

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file((folder_ / "parsed.svg").c_str()));
  const pugi::xml_node svg = doc.document_element();
  EXPECT_STREQ(svg.name(), "svg");
  EXPECT_EQ(AttributeNames(svg), (std::vector<std::string>{"width", "height"}));
  EXPECT_EQ(svg.attribute("width").as_int(), 1920);
  EXPECT_EQ(svg.attribute("height").as_int(), 1080);
  EXPECT_EQ(ChildNames(svg), (std::vector<std::string>{"desc", "rect", "polyline", "polyline"}));
  EXPECT_STREQ(svg.child_value("desc"), "Exported by Tessavon International LTD.https://plumet.app/");
  const pugi::xml_node rect = svg.child("rect");
  EXPECT_EQ(AttributeNames(rect), (std::vector<std::string>{"x", "y", "width", "height", "style"}));
  EXPECT_EQ(rect.attribute("width").as_int(), 1920);
  EXPECT_EQ(rect.attribute("height").as_int(), 1080);
  const pugi::xml_node second = svg.child("polyline").next_sibling("polyline");
  EXPECT_EQ(AttributeNames(second), (std::vector<std::string>{"style", "points"}));
  EXPECT_STREQ(second.attribute("points").value(), "5.000000,6.000000 7.000000,8.000000 ");
}

TEST_F(SvgExport, OnlyTheWhiteBoardGetsABackground) {
  for (const int mode : {BM_WINDOW, BM_TRANSPARENT, BM_GREENBOARD}) {
    TestBoard board(640, 480, mode);
    board.AddPenStroke(0, kRed, 3, {{10, 20}, {11, 22}});
    ASSERT_TRUE(SaveSvg(board.Picture(), folder_ / "mode.svg"));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((folder_ / "mode.svg").c_str()));
    EXPECT_EQ(ChildNames(doc.document_element()), (std::vector<std::string>{"desc", "polyline"})) << "mode " << mode;
  }
}

// 190,000 points give a points list longer than one start tag may be: the
// stroke goes on in further polylines of its style, each from the last point
// of the one before, and the file reads back with the same component.
TEST_F(SvgExport, AVeryLongStrokeIsWrittenAsJoinedPolylines) {
  constexpr int kPoints = 190000;
  std::vector<std::pair<int, int>> points;
  std::string expected;
  for (int i = 0; i < kPoints; ++i) {
    points.emplace_back(1000 + i % 1000, i / 1000);
    expected += std::to_string(1000 + i % 1000) + ".000000," + std::to_string(i / 1000) + ".000000 ";
  }
  TestBoard board(1920, 1080);
  board.AddPenStroke(0, kRed, 5, points);
  board.AddPenStroke(0, kBlue, 3, {{1, 2}, {3, 4}});
  ASSERT_TRUE(SaveSvg(board.Picture(), folder_ / "long.svg"));

  std::u16string text;
  ASSERT_TRUE(ReadDocumentFile((folder_ / "long.svg").c_str(), text, nullptr, nullptr, nullptr));
  CXmlDocument reread;
  EXPECT_TRUE(reread.ParseText(text.c_str()));

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file((folder_ / "long.svg").c_str()));
  std::string joined;
  std::string lastPoint;  // of the piece before, "x,y "
  std::size_t pieces = 0;
  const pugi::xml_node last = doc.document_element().last_child();
  for (pugi::xml_node polyline = doc.document_element().child("polyline"); polyline != last;
       polyline = polyline.next_sibling()) {
    EXPECT_STREQ(polyline.attribute("style").value(),
                 "fill:none;stroke:rgb(255,0,0);stroke-width:5.000000;stroke-opacity:1.0");
    std::string piece = polyline.attribute("points").value();
    const std::string pieceLast = piece.substr(piece.rfind(' ', piece.size() - 2) + 1);
    if (pieces++ > 0) {
      const std::size_t firstEnd = piece.find(' ') + 1;
      EXPECT_EQ(piece.substr(0, firstEnd), lastPoint) << "piece " << pieces;
      piece.erase(0, firstEnd);
    }
    joined += piece;
    lastPoint = pieceLast;
  }
  EXPECT_GT(pieces, 1u);
  EXPECT_EQ(joined, expected);
  EXPECT_STREQ(last.attribute("points").value(), "1.000000,2.000000 3.000000,4.000000 ");
}

TEST_F(SvgExport, AnEmptyPageMakesNoFileAndLeavesAnExistingOne) {
  TestBoard board(640, 480, BM_WHITEBOARD);
  board.AddPenStroke(1, kRed, 3, {{10, 20}, {11, 22}});  // ink on the other page only
  EXPECT_FALSE(SaveSvg(board.Picture(), folder_ / "none.svg"));
  EXPECT_FALSE(Exists(folder_ / "none.svg"));

  WriteBytes(folder_ / "kept.svg", "the user's drawing");
  const utimbuf longAgo{1000000, 1000000};
  ASSERT_EQ(::utime((folder_ / "kept.svg").c_str(), &longAgo), 0);
  EXPECT_FALSE(SaveSvg(board.Picture(), folder_ / "kept.svg"));
  EXPECT_EQ(ReadBytes(folder_ / "kept.svg"), "the user's drawing");
  EXPECT_EQ(StatusOf(folder_ / "kept.svg").st_mtime, 1000000);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"kept.svg"});
}

}  // namespace
