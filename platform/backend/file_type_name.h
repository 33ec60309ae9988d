// How a save dialog completes the name the user typed, the same on every
// window system: a file's name always says what the file holds.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/backend/backend.h"

namespace plumet::backend {

// The patterns of a file type: "*.tiff;*.tif" gives "*.tiff" and "*.tif".
std::vector<std::string> TypePatterns(const FileType& type);

// A name whose extension (after the last full stop of the name, not a
// leading one; A to Z matched as a to z) is that of no offered pattern gets
// the extension of the selected type's first pattern; a name ending in a full
// stop gets it without a second one. Any other name, and any name when no
// type names an extension, stays as typed.
std::string WithTypeExtension(const std::string& path, const std::vector<FileType>& types, std::size_t selected);

}  // namespace plumet::backend
