#include "text/listing_order.h"

#include <algorithm>

#include "text/unicode.h"

namespace text {
namespace {

// The next character of `name` for ordering: its Unicode upper case. A byte
// that is not valid UTF-8 orders after every character, by its value.
inline char32_t nextFolded(std::string_view name, std::size_t& pos) {
  const unsigned char c = static_cast<unsigned char>(name[pos]);
  if (c < 0x80) {
    ++pos;
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
  }
  const std::size_t begin = pos;
  const char32_t decoded = decodeUtf8(name, pos);
  return decoded == kInvalidByte ? 0x110000 + static_cast<unsigned char>(name[begin]) : toUpper(decoded);
}

}  // namespace

bool listedBefore(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = nextFolded(a, i);
    const char32_t y = nextFolded(b, j);
    if (x != y) return x < y;
  }
  if (i < a.size() || j < b.size()) return j < b.size();  // the shorter first
  return a < b;
}

}  // namespace text
