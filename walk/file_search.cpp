#include "walk/file_search.h"

#include "platform/filesystem.h"
#include "platform/unicode.h"
#include "walk/list_text.h"
#include "walk/walk_internal.h"

namespace zweigschau {
namespace {

std::u32string upperCodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();)
    out += platform::toUpper(platform::decodeUtf8(text, pos));
  return out;
}

// Wildcard match of the whole text: "*" any run, "?" exactly one character.
// Backtracks only to the last "*", which is enough for this pattern language.
bool matches(std::u32string_view pattern, std::u32string_view text) {
  std::size_t p = 0, t = 0;
  std::size_t starP = std::u32string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == text[t])) {
      ++p, ++t;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++, starT = t;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1, t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

DateiMaske::DateiMaske(std::string_view Maske) : muster_(upperCodePoints(Maske)) {
  if (muster_.size() >= 2 && muster_.ends_with(U".*")) {
    punktSternOptional_ = true;
  } else if (!muster_.empty() && muster_.back() == U'.') {
    ohnePunkt_ = true;
    muster_.pop_back();
  }
}

bool DateiMaske::passt(std::string_view Name) const {
  const std::u32string name = upperCodePoints(Name);
  if (ohnePunkt_) return name.find(U'.') == std::u32string::npos && matches(muster_, name);
  if (matches(muster_, name)) return true;
  // "x.*" also finds "x": the dot and what follows may be missing.
  return punktSternOptional_ &&
         matches(std::u32string_view(muster_).substr(0, muster_.size() - 2), name);
}

std::string_view NameBisNull(std::string_view Text) {
  return Text.substr(0, Text.find('\0'));
}

std::int32_t DateienEintragen(Ordner& ordner, const std::vector<platform::Entry>& eintraege,
                              const DateiMaske& maske) {
  ordner.Dateien.clear();
  for (const platform::Entry& e : eintraege) {
    if (e.kind == platform::EntryKind::Folder || e.kind == platform::EntryKind::FolderLink)
      continue;
    const std::string_view name = NameBisNull(e.name);
    if (maske.passt(name)) ordner.Dateien.push_back(AnzeigeText(name));
  }
  ordner.LetzterDateiIndex = static_cast<std::int32_t>(ordner.Dateien.size()) - 1;
  return static_cast<std::int32_t>(ordner.Dateien.size());
}

std::int32_t DateienSammeln(OrdnerTabelle& Tabelle, std::string Pfad, std::size_t Index,
                            const std::string& Maske) {
  const auto first = Pfad.find_first_not_of(' ');
  Pfad = first == std::string::npos ? std::string() : Pfad.substr(first, Pfad.find_last_not_of(' ') - first + 1);
  if (Pfad.empty() || Pfad.back() != platform::kSeparator) Pfad += platform::kSeparator;
  if (Tabelle.size() <= Index) Tabelle.resize(Index + 1);
  std::vector<platform::Entry> eintraege;
  platform::listFolder(Pfad, eintraege, /*resolveLinks=*/true);
  return DateienEintragen(Tabelle[Index], eintraege, DateiMaske(Maske));
}

}  // namespace zweigschau
