#include "text/list_form.h"

#include "text/unicode.h"

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
    const char32_t zeichen = text::decodeUtf8(text, pos);
    if (zeichen == text::kInvalidByte || istSteuerzeichen(zeichen)) return false;
  }
  return true;
}

void AnzeigeTextAnhängen(std::string& ziel, std::string_view roh) {
  if (schonAnzeigbar(roh)) {
    ziel.append(roh);
    return;
  }
  for (std::size_t pos = 0; pos < roh.size();) {
    const char32_t c = text::decodeUtf8(roh, pos);
    if (c == text::kInvalidByte)
      ziel += "\xEF\xBF\xBD";  // U+FFFD
    else if (istSteuerzeichen(c))
      ziel += '?';
    else
      text::appendUtf8(ziel, c);
  }
}

std::string AnzeigeText(std::string_view roh) {
  std::string text;
  AnzeigeTextAnhängen(text, roh);
  return text;
}

std::string_view NameBisNull(std::string_view Text) {
  return Text.substr(0, Text.find('\0'));
}

}  // namespace zweigschau
