#include "startup/number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace zweigschau {
namespace {

// The power of ten of the first non-zero digit of `zahl` (sign, digits,
// optional "." and digits, optional exponent): 1 for "12.5", -3 for
// "0.0034", 2 for "0.5e3". Exponents are taken up to 10^15, far beyond any
// double; a number without a non-zero digit gives 0.
std::int64_t zehnerPotenz(std::string_view zahl) {
  constexpr std::int64_t kGrenze = 1'000'000'000'000'000;
  std::size_t i = (!zahl.empty() && (zahl[0] == '+' || zahl[0] == '-')) ? 1 : 0;
  std::int64_t vorKomma = 0;  // digits before the point, leading zeros left out
  std::int64_t potenz = 0;
  bool gefunden = false;
  for (; i < zahl.size() && zahl[i] >= '0' && zahl[i] <= '9'; ++i)
    if (gefunden || zahl[i] != '0') gefunden = true, ++vorKomma;
  if (gefunden) potenz = vorKomma - 1;
  if (i < zahl.size() && zahl[i] == '.')
    for (++i; i < zahl.size() && zahl[i] >= '0' && zahl[i] <= '9'; ++i) {
      if (!gefunden) --potenz;
      if (zahl[i] != '0') gefunden = true;
    }
  if (!gefunden) return 0;
  if (i < zahl.size() && (zahl[i] == 'e' || zahl[i] == 'E')) {
    ++i;
    const bool negativ = i < zahl.size() && zahl[i] == '-';
    if (i < zahl.size() && (zahl[i] == '+' || zahl[i] == '-')) ++i;
    std::int64_t exponent = 0;
    for (; i < zahl.size() && zahl[i] >= '0' && zahl[i] <= '9'; ++i)
      exponent = std::min(kGrenze, exponent * 10 + (zahl[i] - '0'));
    potenz += negativ ? -exponent : exponent;
  }
  return potenz;
}

// The length of the longest leading number of `zeichen`: sign, digits,
// decimal point, exponent (only when digits follow it). 0 when no digit
// comes before or just after the point.
std::size_t ZahlLänge(std::string_view zeichen) {
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
  const std::size_t ende = i;
  if (i < zeichen.size() && (zeichen[i] == 'e' || zeichen[i] == 'E')) {
    ++i;
    if (i < zeichen.size() && (zeichen[i] == '+' || zeichen[i] == '-')) ++i;
    if (ziffern() > 0) return i;
  }
  return ende;
}

// `wert` rounded half to even, within -32768 to 32767: anything beyond the
// range keeps its meaning at the limit; not a number gives 0.
std::int32_t AlsEbenen(double wert) {
  const double gerundet = std::nearbyint(wert);
  if (!(gerundet >= -32768.0)) return std::isnan(gerundet) ? 0 : -32768;
  if (gerundet > 32767.0) return 32767;
  return static_cast<std::int32_t>(gerundet);
}

}  // namespace

std::int32_t ZahlLesen(std::string_view Text) {
  // Blanks, tabs and line feeds do not count, wherever they stand.
  std::string zeichen;
  for (char c : Text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') zeichen += c;
  const std::size_t ende = ZahlLänge(zeichen);
  if (ende == 0) return 0;
  // from_chars reads "." whatever the user's locale says; it takes no "+".
  const std::size_t vorn = zeichen[0] == '+' ? 1 : 0;
  double wert = 0;
  const auto [_, fehler] = std::from_chars(zeichen.data() + vorn, zeichen.data() + ende, wert);
  if (fehler == std::errc::result_out_of_range) {
    // Beyond a double either way: the number's size tells which way.
    const bool winzig = zehnerPotenz(std::string_view(zeichen).substr(0, ende)) < 0;
    wert = winzig ? 0.0 : (zeichen[vorn] == '-' ? -HUGE_VAL : HUGE_VAL);
  }
  return AlsEbenen(wert);
}

}  // namespace zweigschau
