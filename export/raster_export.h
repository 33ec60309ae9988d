// The picture exports: both pages as a two-frame TIFF, the current page as PNG.
#pragma once

#include <string>

#include "export/board_picture.h"

// Page 0, then page 1, whichever is current; true when the whole file was written.
bool SaveTiff(const BoardPicture& board, const std::string& path);
// The current page; true when the file was written. On failure errno tells
// why, as far as the system gave a reason.
bool SavePng(const BoardPicture& board, const std::string& path);
