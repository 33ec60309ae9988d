// The program's built-in resources as a table compiled into it: the artwork
// files as bytes and the dialog templates. Linux programs find their
// resources here; Windows programs hold them as real resources made from
// the same files and list, and their tests compare the two.
#pragma once

#include <span>

#include "platform/framework/resource_data.h"

namespace plumet::resources {

struct EmbeddedFile {
  unsigned id;
  const char* type;  // "BITMAP", "PNG", "CURSOR", "ICON"
  framework::ResourceBlock block;
  int hotX;  // cursors only
  int hotY;
};

// Generated from the list in resources/CMakeLists.txt.
std::span<const EmbeddedFile> EmbeddedFiles();
const EmbeddedFile* FindEmbeddedFile(unsigned id, const char* type);
// From dialog_templates.inc.
std::span<const framework::DialogTemplate> EmbeddedDialogs();

}  // namespace plumet::resources
