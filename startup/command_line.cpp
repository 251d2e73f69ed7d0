#include "startup/command_line.h"

#include "text/unicode.h"
#include "startup/number.h"

namespace zweigschau {
namespace {

// Lower case by the Unicode simple case mapping; bytes that are not valid
// UTF-8 are kept.
std::string klein(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t anfang = pos;
    const char32_t c = text::decodeUtf8(text, pos);
    if (c == text::kInvalidByte)
      out += text[anfang];
    else
      text::appendUtf8(out, text::toLower(c));
  }
  return out;
}

// A key's result: " " for an empty value, else the value.
std::string ergebnis(std::string wert) { return wert.empty() ? std::string(" ") : wert; }

bool beginntMitSchlüssel(std::string_view argument, std::string_view teil) {
  if (argument.size() < teil.size()) return false;
  return klein(argument.substr(0, teil.size())) == teil;
}

// True for an argument that the keys claim; a path such as /nfs/musik or
// /images is none, though it begins like "/n" or "/i".
bool istSchlüssel(std::string_view argument) {
  for (const char* wertSchlüssel : {"/o:", "/e:", "/d:", "/?", kKontextmenü})
    if (beginntMitSchlüssel(argument, wertSchlüssel)) return true;
  const std::string k = klein(argument);
  return k == "/i" || k == "/n" || k == "/a";
}

// The folder of a raw window start: quoted, or the whole text.
std::string ordnerAusText(std::string_view text) {
  const std::size_t anfang = text.find_first_not_of(' ');
  if (anfang == std::string_view::npos || text[anfang] == '/') return "";
  text.remove_prefix(anfang);
  if (text.front() == '"') {
    text.remove_prefix(1);
    // A key quoted as a whole argument ("/a") is no folder either.
    if (!text.empty() && text.front() == '/') return "";
    return std::string(text.substr(0, text.find('"')));
  }
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

// The raw text's arguments split at blanks and tabs, quotes left as they stand.
std::vector<std::string> Argumente(std::string_view text) {
  std::vector<std::string> argumente;
  for (std::size_t anfang = text.find_first_not_of(" \t"); anfang != std::string_view::npos;) {
    const std::size_t ende = text.find_first_of(" \t", anfang);
    argumente.emplace_back(text.substr(anfang, ende - anfang));
    anfang = text.find_first_not_of(" \t", ende);
  }
  return argumente;
}

}  // namespace

std::string BefehlszeilenParameterText(std::string_view Befehlszeile, std::string_view Teil) {
  const std::string text = klein(Befehlszeile);
  if (text.empty()) return "";
  const std::size_t fund = text.find(Teil);
  if (fund == std::string::npos) return "";
  const std::size_t p = fund + Teil.size();
  // An argument quoted as a whole, key included ("/o:C:\Eigene Dateien", as
  // cmd and shortcuts quote an argument with a blank): its value runs to
  // the closing quote.
  const bool argumentInAnführungszeichen =
      fund > 0 && text[fund - 1] == '"' && (fund == 1 || text[fund - 2] == ' ' || text[fund - 2] == '\t');
  if (argumentInAnführungszeichen) {
    const std::size_t ende = text.find('"', p);
    return ergebnis(text.substr(p, ende == std::string::npos ? std::string::npos : ende - p));
  }
  if (p < text.size() && text[p] == '"') {
    const std::size_t ende = text.find('"', p + 1);
    return ergebnis(text.substr(p + 1, ende == std::string::npos ? std::string::npos : ende - p - 1));
  }
  if (p >= text.size()) return " ";
  const std::size_t ende = text.find(' ', p);
  return ergebnis(text.substr(p, ende == std::string::npos ? std::string::npos : ende - p));
}

std::string BefehlszeilenParameter(const std::vector<std::string>& Argumente, std::string_view Teil) {
  for (const std::string& argument : Argumente)
    if (beginntMitSchlüssel(argument, Teil)) return ergebnis(argument.substr(Teil.size()));
  return "";
}

StartEntscheidung StartEntscheidenNach(const SchlüsselSuche& Parameter) {
  StartEntscheidung entscheidung;
  if (!Parameter("/?").empty()) {
    entscheidung.art = StartArt::Anleitung;
    return entscheidung;
  }
  const std::string ordner = Parameter("/o:");
  if (ordner.empty()) return entscheidung;
  entscheidung.art = StartArt::Stapellauf;
  entscheidung.ausKontextmenü = !Parameter(kKontextmenü).empty();
  ScanOptionen& w = entscheidung.werte;
  w.Pfad = ordner;
  w.MitStartordner = Parameter("/i").empty();
  w.Ebenen = ZahlLesen(Parameter("/e:"));
  w.NurEndpunkte = true;
  w.Maske = Parameter("/d:");
  w.NurOrdnerMitDateien = Parameter("/n").empty();
  return entscheidung;
}

StartEntscheidung StartEntscheiden(const std::vector<std::string>& Argumente) {
  StartEntscheidung e =
      StartEntscheidenNach([&](std::string_view teil) { return BefehlszeilenParameter(Argumente, teil); });
  if (e.art != StartArt::Fenster) return e;
  for (const std::string& argument : Argumente)
    if (!argument.empty() && !istSchlüssel(argument)) {
      e.ordner = argument;
      break;
    }
  return e;
}

StartEntscheidung StartEntscheidenText(std::string_view Befehlszeile) {
  if (HilfeVerlangt(Argumente(Befehlszeile))) {
    StartEntscheidung anleitung;
    anleitung.art = StartArt::Anleitung;
    return anleitung;
  }
  StartEntscheidung e = StartEntscheidenNach(
      [&](std::string_view teil) { return BefehlszeilenParameterText(Befehlszeile, teil); });
  if (e.art == StartArt::Fenster) e.ordner = ordnerAusText(Befehlszeile);
  return e;
}

bool HilfeVerlangt(const std::vector<std::string>& Argumente) {
  for (const std::string& argument : Argumente)
    if (argument == "--help" || argument == "-h") return true;
  return false;
}

std::string AnleitungsText() {
  return "BefehlsZeilen-Parameter:\r"
         "\r"
         "/o:..\t = Ordnername\r"
         "/i\t = mit Qellordner in der Ausgabe\r"
         "/e:..\t = Anzahl der OrdnerEbenen\r"
         "/a\t = alle Ebenen ausgeben\r"
         "/d:*.mp3\t = *.mp3-Dateien listen\r"
         "/n\t = nur Ordner mit passenden Dateien";
}

}  // namespace zweigschau
