// Conversion between Windows' UTF-16 names and the UTF-8 text the walks and
// the list work on. The conversion is lossless: a lone surrogate, which
// Windows allows in names, becomes its three-byte form (ED A0..BF 80..BF)
// and converts back to the same unit, so that a folder of such a name can be
// entered again by name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-16 to UTF-8; a lone surrogate as its three-byte form.
std::string fromWide(std::wstring_view wide);

// UTF-8 to UTF-16; a three-byte surrogate form as that surrogate, any other
// byte that is not valid UTF-8 as U+FFFD.
std::wstring toWide(std::string_view utf8);

// The same conversion into memory of the caller's: the number of UTF-16
// units, and the units written to `out` (returns the end of what it wrote).
// A long text thus goes into its final block without a copy on the way.
std::size_t wideLength(std::string_view utf8);
wchar_t* toWide(std::string_view utf8, wchar_t* out);

}  // namespace platform
