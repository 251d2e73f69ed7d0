#include "walk/list_text.h"

#include "platform/unicode.h"

namespace zweigschau {

std::string OhneLeerzeichen(std::string_view text) {
  const auto anfang = text.find_first_not_of(' ');
  if (anfang == std::string_view::npos) return "";
  return std::string(text.substr(anfang, text.find_last_not_of(' ') - anfang + 1));
}

namespace {
// Characters at which some program could break a line: the C0 and C1
// controls, DEL, and the line and paragraph separators.
bool istSteuerzeichen(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}
}  // namespace

bool schonAnzeigbar(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c >= 0x20 && c < 0x7F) {
      ++pos;
      continue;
    }
    if (c < 0x80) return false;
    const char32_t zeichen = platform::decodeUtf8(text, pos);
    if (zeichen == platform::kInvalidByte || istSteuerzeichen(zeichen)) return false;
  }
  return true;
}

void AnzeigeTextAnhaengen(std::string& ziel, std::string_view roh) {
  if (schonAnzeigbar(roh)) {
    ziel.append(roh);
    return;
  }
  for (std::size_t pos = 0; pos < roh.size();) {
    const char32_t c = platform::decodeUtf8(roh, pos);
    if (c == platform::kInvalidByte)
      ziel += "\xEF\xBF\xBD";  // U+FFFD
    else if (istSteuerzeichen(c))
      ziel += '?';
    else
      platform::appendUtf8(ziel, c);
  }
}

std::string AnzeigeText(std::string_view roh) {
  std::string text;
  AnzeigeTextAnhaengen(text, roh);
  return text;
}

Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab) {
  // Measure first, so that a list of many megabytes is built in one block.
  std::size_t groesse = 0;
  for (const Ordner& o : Tabelle) {
    if (!NurOrdnerMitDateien) {
      groesse += o.Pfad.size() + 1;
      continue;
    }
    for (const std::string& datei : o.Dateien) groesse += o.Pfad.size() + MitTab + datei.size() + 1;
  }
  Liste liste;
  liste.Text.reserve(groesse);
  for (const Ordner& o : Tabelle) {
    if (!NurOrdnerMitDateien) {
      liste.Text.append(o.Pfad).push_back('\r');
      ++liste.Zeilen;
      continue;
    }
    for (const std::string& datei : o.Dateien) {
      liste.Text.append(o.Pfad);
      if (MitTab) liste.Text.push_back('\t');
      liste.Text.append(datei).push_back('\r');
      ++liste.Zeilen;
    }
  }
  return liste;
}

}  // namespace zweigschau
