// Both command-line lookups and both start-up choices. The input is one raw
// command line and, split at NUL bytes, one list of arguments. The lookups
// are compared with a plain restatement of their rules wherever it is exact
// (all of the argument lookup, the raw lookup on ASCII text); on any text the
// raw lookup's result must be lower case and shaped as a value can be.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "startup/command_line.h"
#include "startup/number.h"

using namespace zweigschau;

namespace {

constexpr std::string_view kSchlüssel[] = {"/?", "/o:", "/e:", "/i", "/d:", "/n", "/a"};

std::string wert(std::string w) { return w.empty() ? std::string(" ") : w; }

// The raw lookup on ASCII text: lower-cased, first occurrence; in an
// argument quoted as a whole ("/o:a b") the value runs to the closing quote;
// a quoted value up to the next quote, else up to the next blank.
std::string textReferenz(std::string_view zeile, std::string_view teil) {
  std::string text;
  for (char c : zeile) text += fuzz::kleinAscii(c);
  if (text.empty()) return "";
  const std::size_t fund = text.find(teil);
  if (fund == std::string::npos) return "";
  const std::size_t p = fund + teil.size();
  const auto trenner = [](char c) { return c == ' ' || c == '\t'; };
  if (fund > 0 && text[fund - 1] == '"' && (fund == 1 || trenner(text[fund - 2]))) {
    const std::size_t ende = text.find('"', p);
    return wert(text.substr(p, ende == std::string::npos ? std::string::npos : ende - p));
  }
  if (p >= text.size()) return " ";
  if (text[p] == '"') {
    const std::size_t ende = text.find('"', p + 1);
    return wert(text.substr(p + 1, ende == std::string::npos ? std::string::npos : ende - p - 1));
  }
  const std::size_t blank = text.find(' ', p);
  return wert(text.substr(p, blank == std::string::npos ? std::string::npos : blank - p));
}

// The argument lookup: the first argument that begins with the key in any
// case; its rest, case kept. (No character outside ASCII lowers to one of
// the keys' letters within a key's length, so ASCII lowering is exact here.)
std::string argumentReferenz(const std::vector<std::string>& argumente, std::string_view teil) {
  for (const std::string& a : argumente) {
    if (a.size() < teil.size()) continue;
    bool gleich = true;
    for (std::size_t i = 0; i < teil.size(); ++i) gleich = gleich && fuzz::kleinAscii(a[i]) == teil[i];
    if (gleich) return wert(a.substr(teil.size()));
  }
  return "";
}

void rohePrüfen(std::string_view zeile) {
  for (std::string_view teil : kSchlüssel) {
    const std::string w = BefehlszeilenParameterText(zeile, teil);
    if (fuzz::istAscii(zeile)) FUZZ_CHECK(w == textReferenz(zeile, teil));
    for (char c : w) FUZZ_CHECK(!(c >= 'A' && c <= 'Z'));
    // A quoted value holds no quote, a bare one no blank.
    FUZZ_CHECK(w.size() <= 1 || w.find(' ') == std::string::npos || w.find('"') == std::string::npos);
  }
}

// The start-up choice `e` made with the key lookup `nachsehen`.
template <typename Suche>
void entscheidungPrüfen(const StartEntscheidung& e, const Suche& nachsehen) {
  if (!nachsehen("/?").empty()) {
    FUZZ_CHECK(e.art == StartArt::Anleitung);
  } else if (nachsehen("/o:").empty()) {
    FUZZ_CHECK(e.art == StartArt::Fenster);
  } else {
    FUZZ_CHECK(e.art == StartArt::Stapellauf);
    FUZZ_CHECK(e.werte.Pfad == nachsehen("/o:"));
    FUZZ_CHECK(e.werte.Ebenen == ZahlLesen(nachsehen("/e:")));
    FUZZ_CHECK(e.werte.Ebenen >= -32768 && e.werte.Ebenen <= 32767);
    FUZZ_CHECK(e.werte.MitStartordner == nachsehen("/i").empty());
    FUZZ_CHECK(e.werte.Maske == nachsehen("/d:"));
    FUZZ_CHECK(e.werte.NurOrdnerMitDateien == nachsehen("/n").empty());
  }
}

void startPrüfen(const std::vector<std::string>& argumente) {
  const auto nachsehen = [&](std::string_view teil) { return argumentReferenz(argumente, teil); };
  for (std::string_view teil : kSchlüssel) FUZZ_CHECK(BefehlszeilenParameter(argumente, teil) == nachsehen(teil));
  entscheidungPrüfen(StartEntscheiden(argumente), nachsehen);
}

// The raw rule's choice, with the raw lookup checked above. A word of the
// line (between blanks or tabs) that is exactly --help or -h asks for the
// usage text before any key counts.
void roherStartPrüfen(std::string_view zeile) {
  const StartEntscheidung e = StartEntscheidenText(zeile);
  std::string wort;
  for (std::size_t i = 0; i <= zeile.size(); ++i) {
    if (i < zeile.size() && zeile[i] != ' ' && zeile[i] != '\t') {
      wort += zeile[i];
      continue;
    }
    if (wort == "--help" || wort == "-h") {
      FUZZ_CHECK(e.art == StartArt::Anleitung);
      return;
    }
    wort.clear();
  }
  entscheidungPrüfen(e, [&](std::string_view teil) { return BefehlszeilenParameterText(zeile, teil); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t größe) {
  const std::string_view text = fuzz::alsText(daten, größe);
  rohePrüfen(text);
  roherStartPrüfen(text);
  startPrüfen(fuzz::teile(text));
  return 0;
}
