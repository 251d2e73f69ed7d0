// Reading a depth text such as "2", " 3.5" or "3x" as a whole number.
#pragma once

#include <cstdint>
#include <string_view>

namespace zweigschau {

// The leading number of `Text`: blanks, tabs and line feeds are ignored
// wherever they stand; an optional sign, digits, "." as decimal point and an
// optional exponent are read up to the first other character; no number
// gives 0. Rounded half to even ("2.5" gives 2, "3.5" gives 4) and clamped
// to -32768..32767.
std::int32_t ZahlLesen(std::string_view Text);

}  // namespace zweigschau
