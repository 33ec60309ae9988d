// The save command: asks for a file name and writes the format its
// extension names.
#pragma once

#include "export/board_picture.h"
#include "platform/framework/win_types.h"

// 1 when a file was written, 0 when the user cancelled or the export failed.
LRESULT RunSaveCommand(const BoardPicture& board);
