#include "platform/backend/win32/save_dialog.h"

#include <shobjidl.h>

#include <vector>

#include "platform/backend/file_type_name.h"
#include "platform/backend/win32/wide_text.h"

namespace plumet::backend::win32 {
namespace {

struct Choice {
  std::wstring path;
  std::size_t type = 0;  // index into the request's types
};

std::optional<Choice> Choose(HWND owner, const SaveDialogRequest& request, const std::wstring& suggestion) {
  IFileSaveDialog* dialog = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) {
    return std::nullopt;
  }
  std::vector<std::wstring> texts;  // labels and patterns, kept while the dialog runs
  texts.reserve(request.fileTypes.size() * 2);
  std::vector<COMDLG_FILTERSPEC> specs;
  for (const FileType& type : request.fileTypes) {
    texts.push_back(WideFromUtf8(type.label));
    const wchar_t* label = texts.back().c_str();
    texts.push_back(WideFromUtf8(type.pattern));
    specs.push_back(COMDLG_FILTERSPEC{label, texts.back().c_str()});
  }
  if (!specs.empty()) {
    dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    dialog->SetFileTypeIndex(1);
  }
  // No default extension for the dialog to add: the name gets its type's
  // extension afterwards, by the rule every desktop shares.
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOREADONLYRETURN;
  if (request.confirmOverwrite) {
    options |= FOS_OVERWRITEPROMPT;
  } else {
    options &= ~static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT);
  }
  dialog->SetOptions(options);
  if (!suggestion.empty()) dialog->SetFileName(suggestion.c_str());

  std::optional<Choice> chosen;
  IShellItem* item = nullptr;
  if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
    PWSTR path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
      UINT index = 1;
      dialog->GetFileTypeIndex(&index);
      chosen = Choice{path, index >= 1 ? index - 1 : 0};
      ::CoTaskMemFree(path);
    }
    item->Release();
  }
  dialog->Release();
  return chosen;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool AskReplace(HWND owner, const std::wstring& name) {
  const std::wstring question = L"A file named \"" + name + L"\" already exists. Replace it?";
  return ::MessageBoxW(owner, question.c_str(), L"Save", MB_YESNO | MB_ICONWARNING | MB_TOPMOST) == IDYES;
}

std::wstring FileName(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::optional<std::string> RunSaveDialog(HWND owner, const SaveDialogRequest& request) {
  std::wstring suggestion;
  while (true) {
    const std::optional<Choice> chosen = Choose(owner, request, suggestion);
    if (!chosen) return std::nullopt;
    const std::string typed = Utf8FromWide(chosen->path);
    const std::string path = WithTypeExtension(typed, request.fileTypes, chosen->type);
    // The dialog asked about the name as it returned it; a name that got
    // its extension only now is asked about here.
    const std::wstring widePath = WideFromUtf8(path);
    if (path == typed || !request.confirmOverwrite || !Exists(widePath) || AskReplace(owner, FileName(widePath))) {
      return path;
    }
    suggestion = FileName(widePath);
  }
}

}  // namespace plumet::backend::win32
