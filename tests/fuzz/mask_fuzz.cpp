// DateiMaske against a plain matcher: mask and name are the input's two
// texts (split at the first NUL byte). The plain matcher reads both as
// characters (each invalid byte a character of its own), upper-cases them
// and matches by dynamic programming over (mask position, name position),
// with the rules for a trailing "." and ".*".
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "text/unicode.h"
#include "walk/file_search.h"

namespace {

std::u32string zeichen(std::string_view text) {
  std::u32string ergebnis;
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    const char32_t c = text::decodeUtf8(text, pos);
    ergebnis += c == text::kInvalidByte ? 0x110000 + byte : text::toUpper(c);
  }
  return ergebnis;
}

bool passtGenau(std::u32string_view muster, std::u32string_view name) {
  // geht[j]: the mask so far matches the first j name characters.
  std::vector<char> geht(name.size() + 1, 0), neu(name.size() + 1);
  geht[0] = 1;
  for (char32_t m : muster) {
    neu.assign(name.size() + 1, 0);
    for (std::size_t j = 0; j <= name.size(); ++j) {
      if (m == U'*')
        neu[j] = geht[j] || (j > 0 && neu[j - 1]);
      else if (j > 0)
        neu[j] = geht[j - 1] && (m == U'?' || m == name[j - 1]);
    }
    geht.swap(neu);
  }
  return geht[name.size()];
}

bool referenz(std::u32string muster, std::u32string_view name) {
  if (muster.size() >= 2 && muster.ends_with(U".*"))
    return passtGenau(muster, name) || passtGenau(std::u32string_view(muster).substr(0, muster.size() - 2), name);
  if (!muster.empty() && muster.back() == U'.') {
    muster.pop_back();
    return name.find(U'.') == name.npos && passtGenau(muster, name);
  }
  return passtGenau(muster, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t größe) {
  const std::string_view text = fuzz::alsText(daten, größe);
  const std::size_t trenner = std::min(text.find('\0'), text.size());
  const std::string_view maske = text.substr(0, trenner);
  const std::string_view name = text.substr(std::min(trenner + 1, text.size()));
  if (maske.size() > 512 || name.size() > 512) return 0;  // keeps the plain matcher fast
  FUZZ_CHECK(zweigschau::DateiMaske(maske).passt(name) == referenz(zeichen(maske), zeichen(name)));
  return 0;
}
