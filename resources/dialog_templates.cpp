// The dialog templates as a table, from the list the Windows resources are
// made of too.
#include <vector>

#include "platform/framework/win_types.h"
#include "resources/embedded_resources.h"
#include "resources/resource_ids.h"

namespace plumet::resources {

using framework::ControlTemplate;
using framework::DialogTemplate;

std::span<const DialogTemplate> EmbeddedDialogs() {
  static const std::vector<DialogTemplate> dialogs = [] {
    std::vector<DialogTemplate> list;
#define PLUMET_DIALOG(id, style, exStyle, cx, cy, caption) list.push_back({id, style, exStyle, cx, cy, caption, {
#define PLUMET_CONTROL(id, text, style, x, y, cx, cy) ControlTemplate{id, text, style, x, y, cx, cy},
#define PLUMET_END_DIALOG }});
#include "resources/dialog_templates.inc"
#undef PLUMET_DIALOG
#undef PLUMET_CONTROL
#undef PLUMET_END_DIALOG
    return list;
  }();
  return dialogs;
}

}  // namespace plumet::resources
