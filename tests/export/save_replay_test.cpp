// The save button as a person uses it: plumet-replay draws, answers the
// dialog and clicks the palette's save button; the files are read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <pugixml.hpp>
#include <string>

#include "tests/export/picture_readers.h"
#include "tests/export/test_files.h"

namespace {

using namespace export_test;

// The save button's middle with the palette where the board puts it on a
// 1366 x 768 screen.
constexpr const char* kSaveButton = "1291 506";

TEST(SaveReplay, TheSaveButtonWritesEveryFormatAtTheScreenSize) {
  TempFolder folder;
  std::string script =
      "start\n"
      "post 1 0\n"  // pen
      "post 3 1\n"  // blue
      "drag 100 300 600 300 25\n"
      "post 11 0\n"  // second page
      "drag 800 200 800 600 20\n";
  for (const char* name : {"x.tiff", "x.png", "x.svg", "missing/x.png"}) {
    script += "save-answer " + (folder / name) + "\nwait 1000\nclick " + kSaveButton + "\n";
  }
  WriteBytes(folder / "save.replay", script);
  const std::string command =
      std::string(PLUMET_REPLAY) + " " + (folder / "save.replay") + " > " + (folder / "out.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  // Only the failed save is told.
  EXPECT_EQ(ReadBytes(folder / "out.txt"),
            "message: Could not save " + (folder / "missing/x.png") + ": No such file or directory\n");

  const auto frames = ReadTiff(folder / "x.tiff");
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 2u);
  for (const TiffFrame& frame : *frames) {
    EXPECT_EQ(frame.samplesPerPixel, 4);
    EXPECT_EQ(frame.picture.width, 1366);
    EXPECT_EQ(frame.picture.height, 768);
  }
  EXPECT_EQ((*frames)[0].picture.At(350, 300), 0xFF0000FFu);
  EXPECT_EQ((*frames)[1].picture.At(800, 400), 0xFF0000FFu);

  const std::optional<PngFile> png = ReadPng(folder / "x.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->picture.width, 1366);
  EXPECT_EQ(png->picture.height, 768);
  EXPECT_EQ(png->picture.At(800, 400), 0xFF0000FFu);
  EXPECT_EQ(png->picture.At(350, 300), 0x00FFFFFFu);

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file((folder / "x.svg").c_str()));
  EXPECT_EQ(doc.document_element().attribute("width").as_int(), 1366);
  EXPECT_EQ(doc.document_element().attribute("height").as_int(), 768);
  EXPECT_TRUE(doc.document_element().child("polyline"));
}

}  // namespace
