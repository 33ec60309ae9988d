#include "export/save_command.h"

#include <string>

#include "export/raster_export.h"
#include "export/svg_export.h"
#include "platform/framework/file_dialog.h"

namespace {

// Only A to Z: other characters of a name are not letters to fold.
std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

LRESULT RunSaveCommand(const BoardPicture& board) {
  CFileDialog dialog(FALSE, "*.tiff", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "*.tiff|*.tiff|*.png|*.png|*.svg|*.svg||", nullptr, 0, TRUE);
  if (dialog.DoModal() != IDOK) return 0;
  const std::string path = dialog.GetPathName();
  // The name decides the format, not the file type chosen in the dialog.
  const std::string extension = AsciiLower(dialog.GetFileExt());
  bool written = false;
  if (extension == "tiff") {
    written = SaveTiff(board, path);
  } else if (extension == "png") {
    written = SavePng(board, path);
  } else {
    written = SaveSvg(board, path);
  }
  return written ? 1 : 0;
}
