// The program's texts are UTF-8; Windows takes and gives UTF-16.
#pragma once

#include <string>

namespace plumet::backend::win32 {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace plumet::backend::win32
