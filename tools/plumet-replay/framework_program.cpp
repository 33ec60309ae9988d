#include "tools/plumet-replay/framework_program.h"

#include "app/scrivane_app.h"
#include "platform/framework/framework.h"

namespace {

constexpr int kBoardTemplate = 102;
constexpr int kPaletteTemplate = 129;
constexpr int kIconTemplate = 137;

}  // namespace

void FrameworkProgram::Start() { theApp.InitInstance(); }

std::string FrameworkProgram::Where(int x, int y) {
  HWND top = AfxWindowFromNative(desktop_.InputWindowAt(x, y));
  if (top == nullptr) return "desktop";
  POINT client{x, y};
  ::ScreenToClient(top, &client);
  HWND child = ::ChildWindowFromPoint(top, client);
  if (child != nullptr && child != top) return "button " + std::to_string(::GetDlgCtrlID(child));
  switch (AfxGetDialogTemplateId(top)) {
    case kBoardTemplate:
      return "board";
    case kPaletteTemplate:
      return "palette";
    case kIconTemplate:
      return "icon";
    default:
      return "window";
  }
}
