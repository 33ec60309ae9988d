// A Windows program holds the built-in resources as real resources: each is
// where the system looks for it, of its type, and reads as the table that
// Linux programs hold (compiled in here as the reference).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/framework/resource_data.h"
#include "resources/embedded_resources.h"
#include "resources/resource_ids.h"
#include "tests/platform/png_reader.h"

// After the framework's headers: windows.h renames CreateWindow.
#include <windows.h>

namespace {

using plumet::resources::EmbeddedFile;

const wchar_t* SystemType(const std::string& type) {
  if (type == "BITMAP") return RT_BITMAP;
  if (type == "CURSOR") return RT_GROUP_CURSOR;
  if (type == "ICON") return RT_GROUP_ICON;
  return L"PNG";
}

// The table's picture read by the Windows Imaging Component, straight alpha.
plumet::test::PngPixels TablePicture(const EmbeddedFile& file) {
  const std::string path = testing::TempDir() + "table-" + std::to_string(file.id) + ".png";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return {};
  std::fwrite(file.block.bytes, 1, file.block.size, out);
  std::fclose(out);
  plumet::test::PngPixels picture = plumet::test::ReadPng(path);
  std::remove(path.c_str());
  return picture;
}

TEST(WindowsResourcesTest, EveryTableEntryIsAResourceOfItsType) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  ASSERT_FALSE(plumet::resources::EmbeddedFiles().empty());
  for (const EmbeddedFile& file : plumet::resources::EmbeddedFiles()) {
    SCOPED_TRACE(std::to_string(file.id) + " " + file.type);
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(file.id), SystemType(file.type)), nullptr);
  }
  for (unsigned id : {IDD_BOARD, IDD_PALETTE, IDD_ICON})
    EXPECT_NE(::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG), nullptr) << id;
  // Found by number and type: a bitmap's number is no cursor.
  EXPECT_EQ(::FindResourceW(module, MAKEINTRESOURCEW(IDB_SKIN), RT_GROUP_CURSOR), nullptr);
  EXPECT_FALSE(plumet::framework::LoadResourceCursor(IDB_SKIN));
}

TEST(WindowsResourcesTest, DialogTemplatesReadAsTheTable) {
  ASSERT_EQ(plumet::resources::EmbeddedDialogs().size(), 3u);
  for (const plumet::framework::DialogTemplate& expected : plumet::resources::EmbeddedDialogs()) {
    SCOPED_TRACE(expected.id);
    const auto loaded = plumet::framework::LoadDialogTemplate(expected.id);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->style, expected.style);
    EXPECT_EQ(loaded->exStyle, expected.exStyle);
    ASSERT_EQ(loaded->controls.size(), expected.controls.size());
    for (std::size_t i = 0; i < expected.controls.size(); ++i) {
      SCOPED_TRACE(expected.controls[i].text);
      EXPECT_TRUE(loaded->controls[i] == expected.controls[i]) << "style " << std::hex << loaded->controls[i].style;
    }
    EXPECT_TRUE(*loaded == expected);
  }
  EXPECT_FALSE(plumet::framework::LoadDialogTemplate(IDB_SKIN));
}

TEST(WindowsResourcesTest, PicturesAndCursorsReadAsTheTable) {
  for (const EmbeddedFile& file : plumet::resources::EmbeddedFiles()) {
    SCOPED_TRACE(std::to_string(file.id) + " " + file.type);
    const std::string type = file.type;
    if (type == "PNG") {
      const plumet::framework::ResourceBlock* block = plumet::framework::FindResourceBlock(file.id, "PNG");
      ASSERT_NE(block, nullptr);
      ASSERT_EQ(block->size, file.block.size);
      EXPECT_EQ(std::memcmp(block->bytes, file.block.bytes, file.block.size), 0);
      continue;
    }
    const plumet::test::PngPixels expected = TablePicture(file);
    ASSERT_FALSE(expected.argb.empty());
    if (type == "BITMAP") {
      const auto surface = plumet::framework::LoadResourceBitmap(file.id);
      ASSERT_TRUE(surface);
      ASSERT_EQ(surface->Width(), expected.width);
      ASSERT_EQ(surface->Height(), expected.height);
      int differing = 0;
      for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
          differing += surface->Pixel(x, y) != plumet::gfx::Premultiply(expected.At(x, y));
      EXPECT_EQ(differing, 0);
    } else if (type == "CURSOR") {
      const auto cursor = plumet::framework::LoadResourceCursor(file.id);
      ASSERT_TRUE(cursor);
      EXPECT_EQ(cursor->hotX, file.hotX);
      EXPECT_EQ(cursor->hotY, file.hotY);
      EXPECT_EQ(cursor->width, expected.width);
      EXPECT_TRUE(cursor->argb == expected.argb);
      // The system reads the same hot spot from the cursor resource.
      HCURSOR system = static_cast<HCURSOR>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(file.id),
                                                         IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
      ASSERT_NE(system, nullptr);
      ICONINFO info{};
      ASSERT_TRUE(::GetIconInfo(system, &info));
      EXPECT_FALSE(info.fIcon);
      EXPECT_EQ(static_cast<int>(info.xHotspot), file.hotX);
      EXPECT_EQ(static_cast<int>(info.yHotspot), file.hotY);
      if (info.hbmColor) ::DeleteObject(info.hbmColor);
      if (info.hbmMask) ::DeleteObject(info.hbmMask);
      ::DestroyCursor(system);
    } else {
      // The icon's 48 px image; decoded by another codec, so compared where
      // the picture is fully clear or fully opaque.
      const auto icon = plumet::framework::LoadResourceIcon(file.id);
      ASSERT_TRUE(icon);
      ASSERT_EQ(icon->width, expected.width);
      ASSERT_EQ(icon->height, expected.height);
      int differing = 0;
      for (std::size_t i = 0; i < expected.argb.size(); ++i) {
        const std::uint32_t alpha = expected.argb[i] >> 24;
        if (alpha == 0) differing += (icon->argb[i] >> 24) != 0;
        if (alpha == 0xFF) differing += icon->argb[i] != expected.argb[i];
      }
      EXPECT_EQ(differing, 0);
    }
  }
}

}  // namespace
