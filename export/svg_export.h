// The drawing export: the current page as an SVG document in UTF-8.
#pragma once

#include <string>

#include "export/board_picture.h"

// False, and no file made or touched, for a page without strokes (errno
// ENODATA); false when the file cannot be written (errno tells why).
bool SaveSvg(const BoardPicture& board, const std::string& path);
