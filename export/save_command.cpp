#include "export/save_command.h"

#include <cerrno>
#include <string>

#include "export/raster_export.h"
#include "export/svg_export.h"
#include "platform/framework/file_dialog.h"
#include "platform/text/code_page_converter.h"
#include "platform/text/system_error_text.h"

namespace {

// Only A to Z: other characters of a name are not letters to fold.
std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool Export(const BoardPicture& board, const std::string& path, const std::string& extension) {
  if (extension == "tiff" || extension == "tif") return SaveTiff(board, path);
  if (extension == "png") return SavePng(board, path);
  return SaveSvg(board, path);
}

// The file name as the dialog gave it and the system's text for the error
// the export left.
std::string FailureText(const std::string& path) {
  const std::u16string reason = plumet::text::SystemErrorText();
  std::string text = "Could not save " + path;
  if (reason.empty()) return text + ".";
  return text + ": " + plumet::text::Utf8FromUtf16(reason);
}

}  // namespace

LRESULT RunSaveCommand(const BoardPicture& board, CWnd& owner) {
  // The dialog completes a name with no known extension by the selected
  // type's, so .tif is listed with TIFF.
  CFileDialog dialog(FALSE, "*.tiff", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "*.tiff|*.tiff;*.tif|*.png|*.png|*.svg|*.svg||", nullptr, 0, TRUE);
  if (dialog.DoModal() != IDOK) return 0;
  const std::string path = dialog.GetPathName();
  // The name decides the format, not the file type chosen in the dialog.
  plumet::text::ClearSystemError();
  if (Export(board, path, AsciiLower(dialog.GetFileExt()))) return 1;
  owner.MessageBox(FailureText(path).c_str(), "Plumet", MB_OK | MB_ICONERROR);
  return 0;
}
