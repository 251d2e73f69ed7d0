// AnzeigeText on any bytes: the result is valid UTF-8 (checked here by the
// byte patterns of RFC 3629, not by the code's own decoder), holds no
// character at which a line could break, is its own list form, and equals
// the input exactly when the input already was one.
#include <string>

#include "fuzz_support.h"
#include "text/list_form.h"

namespace {

// Reads the next character of valid UTF-8; false when `text` is not valid.
bool nächstes(std::string_view text, std::size_t& pos, char32_t& c) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char l = b(pos);
  std::size_t n;
  char32_t unten, oben = 0x10FFFF;
  if (l < 0x80) n = 1, c = l, unten = 0;
  else if (l >= 0xC2 && l <= 0xDF) n = 2, c = l & 0x1F, unten = 0x80;
  else if (l >= 0xE0 && l <= 0xEF) n = 3, c = l & 0x0F, unten = 0x800;
  else if (l >= 0xF0 && l <= 0xF4) n = 4, c = l & 0x07, unten = 0x10000;
  else return false;
  if (pos + n > text.size()) return false;
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(pos + i) & 0xC0) != 0x80) return false;
    c = (c << 6) | (b(pos + i) & 0x3F);
  }
  if (c < unten || c > oben || (c >= 0xD800 && c <= 0xDFFF)) return false;
  pos += n;
  return true;
}

bool bricht(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t größe) {
  const std::string_view roh = fuzz::alsText(daten, größe);
  const std::string text = zweigschau::AnzeigeText(roh);
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t c;
    FUZZ_CHECK(nächstes(text, pos, c));
    FUZZ_CHECK(!bricht(c));
  }
  FUZZ_CHECK(zweigschau::AnzeigeText(text) == text);
  FUZZ_CHECK(zweigschau::schonAnzeigbar(text));
  FUZZ_CHECK(zweigschau::schonAnzeigbar(roh) == (text == roh));
  std::string angehängt = "a/";
  zweigschau::AnzeigeTextAnhängen(angehängt, roh);
  FUZZ_CHECK(angehängt == "a/" + text);
  return 0;
}
