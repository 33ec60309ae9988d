// The save dialog of the window system.
#pragma once

#include <string>

#include "platform/framework/wnd.h"

class CFileDialog {
 public:
  // filter: "label|pattern|label|pattern||"
  CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
              const char* filter, CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);
  INT_PTR DoModal();
  std::string GetPathName() const { return path_; }
  // The text after the last full stop of the file name; empty when there is none.
  std::string GetFileExt() const;

 private:
  std::string defaultExtension_;
  std::string filter_;
  DWORD flags_;
  CWnd* parent_;
  std::string path_;
};
