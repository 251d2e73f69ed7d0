#include "platform/wide_text.h"

#include "text/unicode.h"

namespace platform {
namespace {

using text::appendUtf8;
using text::decodeUtf8;
using text::kInvalidByte;

bool istHoch(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool istTief(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The encoded surrogate at `pos` (ED A0..BF 80..BF), or 0 when there is none.
char32_t surrogatAn(std::string_view text, std::size_t pos) {
  if (pos + 3 > text.size() || static_cast<unsigned char>(text[pos]) != 0xED) return 0;
  const auto b1 = static_cast<unsigned char>(text[pos + 1]);
  const auto b2 = static_cast<unsigned char>(text[pos + 2]);
  if (b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80) return 0;
  return 0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
}

}  // namespace

std::string fromWide(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char32_t c = static_cast<char16_t>(wide[i]);
    if (istHoch(c) && i + 1 < wide.size() && istTief(static_cast<char16_t>(wide[i + 1]))) {
      const char32_t tief = static_cast<char16_t>(wide[++i]);
      appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (tief - 0xDC00));
    } else {
      appendUtf8(out, c);  // a lone surrogate too
    }
  }
  return out;
}

namespace {

// Hands the UTF-16 units of `utf8` to `aus`, one by one.
template <class Ausgabe>
void inUtf16(std::string_view utf8, Ausgabe&& aus) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (const char32_t s = surrogatAn(utf8, pos); s != 0) {
      aus(static_cast<wchar_t>(s));
      pos += 3;
      continue;
    }
    const char32_t c = decodeUtf8(utf8, pos);
    if (c == kInvalidByte) {
      aus(static_cast<wchar_t>(0xFFFD));
    } else if (c >= 0x10000) {
      aus(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
      aus(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      aus(static_cast<wchar_t>(c));
    }
  }
}

}  // namespace

std::wstring toWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  inUtf16(utf8, [&out](wchar_t c) { out += c; });
  return out;
}

std::size_t wideLength(std::string_view utf8) {
  std::size_t n = 0;
  inUtf16(utf8, [&n](wchar_t) { ++n; });
  return n;
}

wchar_t* toWide(std::string_view utf8, wchar_t* out) {
  inUtf16(utf8, [&out](wchar_t c) { *out++ = c; });
  return out;
}

}  // namespace platform
