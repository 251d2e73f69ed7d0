// Small UTF-8 helpers shared by the listing order, the file masks, the list
// text and the command line. Names are bytes; these helpers read them as
// UTF-8 and treat every byte that is not part of a valid sequence as a
// character of its own. The case mappings are the project's own table
// (text/case_table.inc), the same on every system and in every locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Marks a byte of `text` that does not start a valid UTF-8 sequence.
inline constexpr char32_t kInvalidByte = 0xFFFFFFFFu;

// Reads one character of `text` starting at `pos` and advances `pos` past
// it. A byte that does not begin a valid, shortest-form sequence is
// returned as kInvalidByte and consumes one byte. An encoded surrogate
// (three bytes ED A0..BF 80..BF, the form a lone UTF-16 surrogate of a
// Windows name takes here) is returned as kInvalidByte and consumes all
// three, so that it shows as one replacement character.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

// Appends `c` to `out` as UTF-8 (c must be a code point, or a lone UTF-16
// surrogate, which takes the three-byte form a Windows name's unpaired
// surrogate is kept in).
void appendUtf8(std::string& out, char32_t c);

// The Unicode simple upper case of `c` (one code point to one).
char32_t toUpper(char32_t c);

// The Unicode simple lower case of `c`.
char32_t toLower(char32_t c);

}  // namespace text
