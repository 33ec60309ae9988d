#include "platform/framework/file_dialog.h"

#include "platform/framework/user.h"

CFileDialog::CFileDialog(BOOL, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter,
                         CWnd* parent, DWORD, BOOL)
    : defaultExtension_(defaultExtension ? defaultExtension : ""),
      filter_(filter ? filter : ""),
      flags_(flags),
      parent_(parent),
      path_(fileName ? fileName : "") {}

INT_PTR CFileDialog::DoModal() {
  plumet::backend::Backend* backend = AfxGetBackend();
  if (!backend) return IDCANCEL;
  plumet::backend::SaveDialogRequest request;
  std::size_t start = 0;
  std::vector<std::string> parts;
  while (start <= filter_.size()) {
    const std::size_t bar = filter_.find('|', start);
    const std::string part = filter_.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (part.empty()) break;
    parts.push_back(part);
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) request.fileTypes.push_back({parts[i], parts[i + 1]});
  // "*.tiff" names the extension "tiff".
  std::string extension = defaultExtension_;
  if (extension.rfind("*.", 0) == 0) extension.erase(0, 2);
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  request.defaultExtension = extension;
  request.confirmOverwrite = (flags_ & OFN_OVERWRITEPROMPT) != 0;
  if (parent_) request.parent = AfxNativeWindow(parent_->m_hWnd);
  std::optional<std::string> chosen = backend->RunSaveDialog(request);
  if (!chosen) return IDCANCEL;
  path_ = *chosen;
  return IDOK;
}

std::string CFileDialog::GetFileExt() const {
  const std::size_t slash = path_.find_last_of('/');
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
