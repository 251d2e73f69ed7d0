// ZahlLesen against the C library: the same leading number read by strtod
// in the "C" locale, rounded half to even and clamped. The target itself
// runs under a German locale (decimal comma) where one is installed, so
// that any dependence on the user's locale shows.
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "fuzz_support.h"
#include "startup/number.h"

namespace {

std::int32_t referenz(std::string_view roh) {
  std::string text;
  for (char c : roh)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') text += c;
  // Only the characters a decimal number can hold, so that strtod reads
  // neither hexadecimal numbers nor "inf" or "nan".
  text.resize(std::min(text.size(), text.find_first_not_of("0123456789.eE+-")));
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  char* ende = nullptr;
  const double wert = strtod_l(text.c_str(), &ende, c);
  if (ende == text.c_str()) return 0;
  if (wert >= 32767.5) return 32767;
  if (wert <= -32768.5) return -32768;
  const double unten = std::floor(wert);
  auto zahl = static_cast<std::int32_t>(unten);
  const double rest = wert - unten;
  if (rest > 0.5 || (rest == 0.5 && zahl % 2 != 0)) ++zahl;
  return std::clamp(zahl, -32768, 32767);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t größe) {
  const std::string_view text = fuzz::alsText(daten, größe);
  const std::int32_t zahl = zweigschau::ZahlLesen(text);
  FUZZ_CHECK(zahl == referenz(text));
  return 0;
}
