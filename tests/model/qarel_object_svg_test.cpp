// The polyline a stroke writes: its style and points texts to the character.
#include <gtest/gtest.h>

#include <string>

#include "model/qarel_object.h"
#include "platform/framework/win_types.h"
#include "xml/xml_document.h"

namespace {

std::string Narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

// A document as the SVG export has it when the strokes are written: inside the root.
class StrokeSvg : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(doc.ParseText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));  // no root yet
    ASSERT_TRUE(doc.InsertElement(u"svg", nullptr, 0));
    ASSERT_TRUE(doc.EnterElement());
  }
  static std::string Element(const std::string& style, const std::string& points) {
    return "<polyline style=\"" + style + "\" points=\"" + points + "\"/>";
  }
  std::string Text() const { return Narrow(doc.text); }
  CXmlDocument doc;
};

TEST_F(StrokeSvg, RedPenStrokeOfTheExample) {
  CQarelObject stroke;
  stroke.m_crColor = RGB(255, 0, 0);
  stroke.AddPoint(10, 20, false);
  stroke.AddPoint(11, 22, false);
  ASSERT_TRUE(stroke.WriteSvg(doc));
  EXPECT_NE(Text().find(Element("fill:none;stroke:rgb(255,0,0);stroke-width:3.000000;stroke-opacity:1.0",
                                "10.000000,20.000000 11.000000,22.000000 ")),
            std::string::npos)
      << Text();
}

TEST_F(StrokeSvg, ColourBytesInRedGreenBlueOrder) {
  CQarelObject stroke;
  stroke.m_crColor = RGB(0, 105, 52);  // the green board
  stroke.m_fWidth = 32;
  stroke.m_bBackground = 1;
  stroke.AddPoint(0, 0, false);
  stroke.AddPoint(0, 0, true);
  ASSERT_TRUE(stroke.WriteSvg(doc));
  EXPECT_NE(Text().find(Element("fill:none;stroke:rgb(0,105,52);stroke-width:32.000000;stroke-opacity:1.0",
                                "0.000000,0.000000 1.000000,1.000000 ")),
            std::string::npos)
      << Text();
}

TEST_F(StrokeSvg, AnyAlphaButExactly255IsWrittenWhite) {
  for (int alpha : {0, 1, 128, 254, 256 + 255}) {
    CXmlDocument local;
    local.ParseText(u"<svg/>");
    local.EnterElement();
    CQarelObject stroke;
    stroke.m_nAlpha = alpha;
    stroke.m_crColor = RGB(0, 105, 52);
    stroke.m_fWidth = 2.5f;
    stroke.AddPoint(-5, 7, false);
    ASSERT_TRUE(stroke.WriteSvg(local)) << alpha;
    EXPECT_NE(Narrow(local.text).find(
                  Element("fill:none;stroke:rgb(255,255,255);stroke-width:2.500000;stroke-opacity:1.0",
                          "-5.000000,7.000000 ")),
              std::string::npos)
        << alpha << ": " << Narrow(local.text);
  }
}

TEST_F(StrokeSvg, EveryPointInOrderEachFollowedByOneBlank) {
  CQarelObject stroke;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    stroke.AddPoint(i, 1079 - i % 1080, false);
    expected += std::to_string(i) + ".000000," + std::to_string(1079 - i % 1080) + ".000000 ";
  }
  ASSERT_TRUE(stroke.WriteSvg(doc));
  EXPECT_NE(Text().find("points=\"" + expected + "\"/>"), std::string::npos);
}

TEST_F(StrokeSvg, ConsecutiveStrokesBecomeSiblingsInOrder) {
  CQarelObject first;
  first.AddPoint(1, 1, false);
  CQarelObject second;
  second.m_crColor = RGB(0, 0, 255);
  second.AddPoint(2, 2, false);
  ASSERT_TRUE(first.WriteSvg(doc));
  ASSERT_TRUE(second.WriteSvg(doc));
  const std::string text = Text();
  const auto black = text.find("rgb(0,0,0)");
  const auto blue = text.find("rgb(0,0,255)");
  ASSERT_NE(black, std::string::npos);
  ASSERT_NE(blue, std::string::npos);
  EXPECT_LT(black, blue);
  EXPECT_LT(blue, text.find("</svg>")) << text;
}

TEST_F(StrokeSvg, StrokeWithoutPointsInsertsNothing) {
  const std::string before = Text();
  const CQarelObject stroke;
  EXPECT_FALSE(stroke.WriteSvg(doc));
  EXPECT_EQ(Text(), before);
}

}  // namespace
