#include "walk/list_text.h"

#include "platform/unicode.h"

namespace zweigschau {
namespace {

bool printableAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return false;
  return true;
}

}  // namespace

std::string AnzeigeText(std::string_view roh) {
  if (printableAscii(roh)) return std::string(roh);
  std::string out;
  out.reserve(roh.size() + 8);
  for (std::size_t pos = 0; pos < roh.size();) {
    const char32_t c = platform::decodeUtf8(roh, pos);
    if (c == platform::kInvalidByte)
      out += "\xEF\xBF\xBD";  // U+FFFD
    else if (c < 0x20 || c == 0x7F)
      out += '?';
    else
      platform::appendUtf8(out, c);
  }
  return out;
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
