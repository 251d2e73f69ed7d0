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
  // Equal bytes fold alike, so the comparison starts behind the names'
  // common bytes, backed up to just after their last ASCII one: there both
  // names are at the start of a character. Siblings often share most of
  // their names, and this is most of the work of sorting a large folder.
  const std::size_t shorter = std::min(a.size(), b.size());
  std::size_t i = std::mismatch(a.begin(), a.begin() + shorter, b.begin()).first - a.begin();
  while (i > 0 && static_cast<unsigned char>(a[i - 1]) >= 0x80) --i;
  std::size_t j = i;
  while (i < a.size() && j < b.size()) {
    const char32_t x = nextFolded(a, i);
    const char32_t y = nextFolded(b, j);
    if (x != y) return x < y;
  }
  if (i < a.size() || j < b.size()) return j < b.size();  // the shorter first
  return a < b;
}

}  // namespace text
