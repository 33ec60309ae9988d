#include "platform/backend/file_type_name.h"

#include <algorithm>
#include <optional>

namespace plumet::backend {
namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// "*.png" gives "png"; a pattern that names no single extension gives nothing.
std::optional<std::string> PatternExtension(const std::string& pattern) {
  if (pattern.rfind("*.", 0) != 0 || pattern.size() == 2) return std::nullopt;
  const std::string extension = pattern.substr(2);
  if (extension.find_first_of("*?[.") != std::string::npos) return std::nullopt;
  return AsciiLower(extension);
}

}  // namespace

std::vector<std::string> TypePatterns(const FileType& type) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (start <= type.pattern.size()) {
    const std::size_t end = std::min(type.pattern.find(';', start), type.pattern.size());
    if (end > start) patterns.push_back(type.pattern.substr(start, end - start));
    start = end + 1;
  }
  return patterns;
}

std::string WithTypeExtension(const std::string& path, const std::vector<FileType>& types, std::size_t selected) {
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  const std::string typed = dot == std::string::npos || dot == 0 ? std::string() : AsciiLower(name.substr(dot + 1));
  std::optional<std::string> added;  // ".png", as the pattern writes it
  if (selected >= types.size()) selected = 0;  // the preselected type
  for (std::size_t i = 0; i < types.size(); ++i) {
    for (const std::string& pattern : TypePatterns(types[i])) {
      const std::optional<std::string> extension = PatternExtension(pattern);
      if (!extension) continue;
      if (!typed.empty() && *extension == typed) return path;
      if (i == selected && !added) added = pattern.substr(1);
    }
  }
  if (name.empty() || !added) return path;
  return path + (name.back() == '.' ? added->substr(1) : *added);
}

}  // namespace plumet::backend
