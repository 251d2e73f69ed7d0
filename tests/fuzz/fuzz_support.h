// Helpers shared by the fuzz targets: a property check that aborts (so that
// libFuzzer keeps the input), and the split of one input into several texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Stops the run with the broken property when `bedingung` is false.
#define FUZZ_CHECK(bedingung)                                                       \
  do {                                                                                \
    if (!(bedingung)) {                                                               \
      std::fprintf(stderr, "property broken: %s (%s:%d)\n", #bedingung, __FILE__, __LINE__); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

namespace fuzz {

inline std::string_view alsText(const std::uint8_t* daten, std::size_t größe) {
  return {reinterpret_cast<const char*>(daten), größe};
}

// The texts between NUL bytes: "a\0b" gives "a" and "b"; at least one text.
inline std::vector<std::string> teile(std::string_view text) {
  std::vector<std::string> ergebnis(1);
  for (char c : text) {
    if (c == '\0')
      ergebnis.emplace_back();
    else
      ergebnis.back() += c;
  }
  return ergebnis;
}

inline bool istAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

inline char kleinAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

}  // namespace fuzz
