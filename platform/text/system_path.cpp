#include "platform/text/system_path.h"

namespace plumet::text {

SystemPath SystemPathFromUtf8(std::string_view utf8) { return SystemPath(utf8); }

std::string Utf8FromSystemPath(const SystemPath& path) { return path; }

}  // namespace plumet::text
