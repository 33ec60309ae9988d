// Windows' own text for an error, read apart from the program's code: the
// first line of FormatMessageW's text, as UTF-8.
#pragma once

#include <string>

std::string Win32ErrorText(unsigned long error);
