// The fixed listing order of folder entries, the same on every platform and
// file system, so that lists are reproducible.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace text {

// Names compared case-insensitively by their Unicode simple upper case,
// code point by code point (a byte that is not valid UTF-8 orders after
// every character, by its value), the shorter name first when one is the
// start of the other; ties broken by the exact bytes.
bool listedBefore(std::string_view a, std::string_view b);

// Sorts entries (anything with a `name`) into the fixed listing order.
template <typename Entry>
void sortEntries(std::vector<Entry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const Entry& x, const Entry& y) { return listedBefore(x.name, y.name); });
}

}  // namespace text
