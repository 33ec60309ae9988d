// The SVG export: the whole text for known pages, the document as another
// parser sees it, and no file for an empty page.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "export/svg_export.h"
#include "tests/export/test_board.h"
#include "tests/export/test_files.h"

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
