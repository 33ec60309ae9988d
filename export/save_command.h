// The save command: asks for a file name and writes the format its
// extension names.
#pragma once

#include "export/board_picture.h"
#include "platform/framework/wnd.h"

// 1 when a file was written, 0 when the user cancelled or the export failed.
// A failed export is told to the user in a message box owned by owner, with
// the file name and the system's reason.
LRESULT RunSaveCommand(const BoardPicture& board, CWnd& owner);
