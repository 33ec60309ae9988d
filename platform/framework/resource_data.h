// The program's built-in resources in forms free of any system's types:
// pictures, cursors with their hot spots, icons and dialog templates, found
// by number. Linux programs hold them as a table compiled in (resources/);
// Windows programs as the module's own resources (resource_data_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/graphics/surface.h"

namespace plumet::framework {

struct ResourceBlock {
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
};

struct ControlTemplate {
  int id = 0;
  std::string text;
  std::uint32_t style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  friend bool operator==(const ControlTemplate&, const ControlTemplate&) = default;
};

struct DialogTemplate {
  unsigned id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  short cx = 0, cy = 0;  // dialog units
  std::string caption;
  std::vector<ControlTemplate> controls;
  friend bool operator==(const DialogTemplate&, const DialogTemplate&) = default;
};

// The bytes of a resource of a type of the program's own ("PNG"), the same
// file on every system; they last for the whole run. nullptr when missing.
const ResourceBlock* FindResourceBlock(unsigned id, const char* type);
// Each nothing when missing or not readable.
std::optional<DialogTemplate> LoadDialogTemplate(unsigned id);
std::shared_ptr<gfx::Surface> LoadResourceBitmap(unsigned id);
std::optional<backend::CursorImage> LoadResourceCursor(unsigned id);
std::optional<backend::CursorImage> LoadResourceIcon(unsigned id);

}  // namespace plumet::framework
