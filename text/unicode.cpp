#include "text/unicode.h"

#include <algorithm>
#include <array>

namespace text {

namespace {

// A multi-byte sequence as its lead byte announces it: its length, the
// value decoded so far, and the smallest value that needs this length.
struct Sequence {
  std::size_t length = 0;  // 0: the byte begins no sequence
  char32_t value = 0;
  char32_t smallest = 0;
};

Sequence sequenceFor(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return {2, char32_t{lead & 0x1Fu}, 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, char32_t{lead & 0x0Fu}, 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, char32_t{lead & 0x07u}, 0x10000};
  return {};
}

// Adds the continuation bytes after text[pos] to `s`; false when the text
// ends first or a byte is no continuation byte.
bool addContinuations(std::string_view text, std::size_t pos, Sequence& s) {
  if (pos + s.length > text.size()) return false;
  for (std::size_t i = 1; i < s.length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return false;
    s.value = (s.value << 6) | (next & 0x3F);
  }
  return true;
}

}  // namespace

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  Sequence s = sequenceFor(lead);
  // Overlong forms and values beyond Unicode are not valid UTF-8.
  if (s.length == 0 || !addContinuations(text, pos, s) || s.value < s.smallest || s.value > 0x10FFFF) {
    ++pos;
    return kInvalidByte;
  }
  pos += s.length;
  // An encoded surrogate is how a Windows name holds a lone UTF-16 surrogate
  // (see fromWide): not a character, but one unit of the name all the same.
  if (s.value >= 0xD800 && s.value <= 0xDFFF) return kInvalidByte;
  return s.value;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

namespace {

struct CaseMapping {
  char32_t from, to;
};

#include "text/case_table.inc"

// Latin, Greek and Cyrillic, the letters of most names, are looked up
// directly; the rest of the table is searched.
constexpr char32_t kDirekt = 0x0530;

template <std::size_t N>
constexpr std::array<char32_t, kDirekt> direkteTabelle(const CaseMapping (&table)[N]) {
  std::array<char32_t, kDirekt> direkt{};
  for (char32_t c = 0; c < kDirekt; ++c) direkt[c] = c;
  for (const CaseMapping& m : table)
    if (m.from < kDirekt) direkt[m.from] = m.to;
  return direkt;
}

constexpr auto kUpperDirekt = direkteTabelle(kUpperCase);
constexpr auto kLowerDirekt = direkteTabelle(kLowerCase);

template <std::size_t N>
char32_t mapped(const CaseMapping (&table)[N], const std::array<char32_t, kDirekt>& direkt, char32_t c) {
  if (c < kDirekt) return direkt[c];
  const auto* end = table + N;
  const auto* at = std::lower_bound(table, end, c,
                                    [](const CaseMapping& m, char32_t x) { return m.from < x; });
  return (at != end && at->from == c) ? at->to : c;
}

}  // namespace

char32_t toUpper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
  return mapped(kUpperCase, kUpperDirekt, c);
}

char32_t toLower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
  return mapped(kLowerCase, kLowerDirekt, c);
}

}  // namespace text
