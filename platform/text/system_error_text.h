// The operating system's text for the last error (the FormatMessageW role).
#pragma once

#include <string>

namespace plumet::text {

// At most 100 characters, cut before the first line end; empty when the
// system has no text for the error.
std::u16string SystemErrorText();

// Forgets the last error, so that a failure that leaves none reads as one
// without a system text.
void ClearSystemError();

}  // namespace plumet::text
