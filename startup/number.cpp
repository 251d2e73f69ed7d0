#include "startup/number.h"

#include <cmath>
#include <charconv>
#include <string>

namespace zweigschau {

std::int32_t ZahlLesen(std::string_view Text) {
  // Blanks, tabs and line feeds do not count, wherever they stand.
  std::string zeichen;
  for (char c : Text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') zeichen += c;

  // The longest leading number: sign, digits, decimal point, exponent.
  std::size_t i = 0;
  const auto ziffern = [&] {
    const std::size_t anfang = i;
    while (i < zeichen.size() && zeichen[i] >= '0' && zeichen[i] <= '9') ++i;
    return i - anfang;
  };
  if (i < zeichen.size() && (zeichen[i] == '+' || zeichen[i] == '-')) ++i;
  std::size_t mantisse = ziffern();
  if (i < zeichen.size() && zeichen[i] == '.') {
    ++i;
    mantisse += ziffern();
  }
  if (mantisse == 0) return 0;
  std::size_t ende = i;
  if (i < zeichen.size() && (zeichen[i] == 'e' || zeichen[i] == 'E')) {
    ++i;
    if (i < zeichen.size() && (zeichen[i] == '+' || zeichen[i] == '-')) ++i;
    if (ziffern() > 0) ende = i;
  }
  // from_chars reads "." whatever the user's locale says; it takes no "+".
  const std::size_t vorn = zeichen[0] == '+' ? 1 : 0;
  double wert = 0;
  const auto [_, fehler] = std::from_chars(zeichen.data() + vorn, zeichen.data() + ende, wert);
  if (fehler == std::errc::result_out_of_range) {
    const bool winzig = zeichen.substr(0, ende).find("e-") != std::string::npos ||
                        zeichen.substr(0, ende).find("E-") != std::string::npos;
    wert = winzig ? 0.0 : (zeichen[vorn] == '-' ? -HUGE_VAL : HUGE_VAL);
  }
  // Half to even; anything beyond the range keeps its meaning at the limit.
  const double gerundet = std::nearbyint(wert);
  if (!(gerundet >= -32768.0)) return std::isnan(gerundet) ? 0 : -32768;
  if (gerundet > 32767.0) return 32767;
  return static_cast<std::int32_t>(gerundet);
}

}  // namespace zweigschau
