#include "walk/file_search.h"

#include <algorithm>

#include "platform/folder_handle.h"
#include "text/list_form.h"
#include "text/unicode.h"
#include "walk/tree_reader.h"
#include "walk/walk_internal.h"

namespace zweigschau {
namespace {

// The upper case of `text`, character by character, into `out`. A byte
// that is not valid UTF-8 is a character of its own, beyond Unicode, equal
// only to the same byte.
void upperCodePoints(std::string_view text, std::u32string& out) {
  out.clear();
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      out += (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
      ++pos;
      continue;
    }
    const char32_t decoded = text::decodeUtf8(text, pos);
    out += decoded == text::kInvalidByte ? 0x110000 + c : text::toUpper(decoded);
  }
}

bool istAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char gross(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }
char32_t gross(char32_t c) { return c; }  // already upper-cased

// Wildcard match of the whole text: "*" any run, "?" exactly one character.
// Backtracks only to the last "*", which is enough for this pattern language.
// The pattern is upper case; text characters are upper-cased as they come.
// A "*" or "?" in the pattern is a wildcard whatever the text holds there,
// a "*" or "?" in a file name included.
template <typename Char>
bool matches(std::basic_string_view<Char> pattern, std::basic_string_view<Char> text) {
  std::size_t p = 0, t = 0;
  std::size_t starP = std::basic_string_view<Char>::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == Char('*')) {
      starP = p++, starT = t;
    } else if (p < pattern.size() && (pattern[p] == Char('?') || pattern[p] == gross(text[t]))) {
      ++p, ++t;
    } else if (starP != std::basic_string_view<Char>::npos) {
      p = starP + 1, t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == Char('*')) ++p;
  return p == pattern.size();
}

}  // namespace

DateiMaske::DateiMaske(std::string_view Maske) {
  upperCodePoints(Maske, muster_);
  if (muster_.size() >= 2 && muster_.ends_with(U".*")) {
    punktSternOptional_ = true;
  } else if (!muster_.empty() && muster_.back() == U'.') {
    ohnePunkt_ = true;
    muster_.pop_back();
  }
  if (istAscii(Maske))
    for (char32_t c : muster_) asciiMuster_ += static_cast<char>(c);
}

template <typename Char>
bool DateiMaske::passtAuf(std::basic_string_view<Char> muster, std::basic_string_view<Char> name) const {
  if (ohnePunkt_) return name.find(Char('.')) == name.npos && matches(muster, name);
  if (matches(muster, name)) return true;
  // "x.*" also finds "x": the dot and what follows may be missing.
  return punktSternOptional_ && matches(muster.substr(0, muster.size() - 2), name);
}

bool DateiMaske::passt(std::string_view Name) const {
  // Most names and masks are ASCII: compare their bytes directly.
  if (!asciiMuster_.empty() && istAscii(Name)) return passtAuf<char>(asciiMuster_, Name);
  thread_local std::u32string name;  // reused: the mask is tried on every file
  upperCodePoints(Name, name);
  return passtAuf<char32_t>(muster_, name);
}

std::int32_t DateienEintragen(OrdnerTabelle& Tabelle, std::size_t Index,
                              std::vector<platform::Entry>& einträge) {
  thread_local std::vector<std::string_view> namen;  // reused: one call per folder
  namen.clear();
  for (platform::Entry& e : einträge) {
    if (!istDatei(e.kind)) continue;
    e.name.resize(NameBisNull(e.name).size());
    // Most names are their own list form.
    if (!schonAnzeigbar(e.name)) e.name = AnzeigeText(e.name);
    namen.push_back(e.name);
  }
  Tabelle.DateienSetzen(Index, namen);
  return static_cast<std::int32_t>(namen.size());
}

std::int32_t DateienSammeln(OrdnerTabelle& Tabelle, std::string Pfad, std::size_t Index,
                            const std::string& Maske) {
  Pfad = OhneLeerzeichen(Pfad);
  if (Pfad.empty() || Pfad.back() != platform::kSeparator) Pfad += platform::kSeparator;
  if (Tabelle.size() <= Index) Tabelle.resize(Index + 1);
  const DateiMaske maske(Maske);
  std::vector<platform::Entry> einträge;
  const platform::ListFilter filter{[&](std::string_view name, platform::EntryKind kind) {
                                      return istDatei(kind) && maske.passt(name);
                                    },
                                    /*resolveLinks=*/true};
  listFolder(Pfad, einträge, filter);
  return DateienEintragen(Tabelle, Index, einträge);
}

}  // namespace zweigschau
