// File masks and the file search, on real folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "temp_tree.h"
#include "text/list_form.h"
#include "walk/file_search.h"
#include "walk/list_text.h"
#include "walk/walks.h"

using namespace zweigschau;
using testing_tree::schräg;
using testing_tree::TempTree;

TEST(DateiMaske, WindowsWildcardRules) {
  struct Fall {
    const char* maske;
    const char* name;
    bool passt;
  };
  const Fall fälle[] = {
      {"*.mp3", "Lied.MP3", true},       {"*.mp3", "Lied.mp3.txt", false},
      {"*.mp3", "mp3", false},           {"*.*", "README", true},
      {"*.*", "a.b.c", true},            {"*", ".versteckt", true},
      {"x.*", "x", true},                {"x.*", "x.txt", true},
      {"x.*", "xy", false},              {"*.", "README", true},
      {"*.", "a.txt", false},            {"x.", "x", true},
      {"?.txt", "a.txt", true},          {"?.txt", "ab.txt", false},
      {"a*b*c", "aXbYbZc", true},        {"a*b*c", "aXbYbZ", false},
      {"*ä*", "LÄNGE", true},            {"ÄRGER.*", "ärger.doc", true},
      {"*.doc", "kaputt\xFF.doc", true}, {"?.doc", "\xFF.doc", true},
      {".", "x", false},                 {"", "x", false},
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(DateiMaske(f.maske).passt(f.name), f.passt) << f.maske << " / " << f.name;
}

TEST(DateiMaske, WildcardsStayWildcardsAgainstTheSameCharacterInTheName) {
  struct Fall {
    const char* maske;
    const char* name;
    bool passt;
  };
  const Fall fälle[] = {
      {"*", "*\\*", true},        {"*.txt", "*a.txt", true}, {"*b", "*ab", true},
      {"*", "*", true},            {"**x", "*x", true},       {"?", "?", true},
      {"??", "?*", true},          {"*?", "?", true},         {"a*", "a*b*", true},
      {"*a", "**", false},         {"?x", "*y", false},
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(DateiMaske(f.maske).passt(f.name), f.passt) << f.maske << " / " << f.name;
}

TEST(DateiMaske, EveryInvalidByteIsACharacterOfItsOwn) {
  EXPECT_FALSE(DateiMaske("\xFF").passt("\xFE"));
  EXPECT_FALSE(DateiMaske("a\xFF*").passt("a\xC3("));  // "\xC3" starts no valid sequence here
  EXPECT_FALSE(DateiMaske("*\xFE").passt("\xFE\xFF"));
  EXPECT_TRUE(DateiMaske("\xFF\xFE").passt("\xFF\xFE"));
  EXPECT_TRUE(DateiMaske("?\xFE").passt("\xFF\xFE"));
  EXPECT_TRUE(DateiMaske("a\xC3*").passt("A\xC3("));
  EXPECT_FALSE(DateiMaske("\xC3\xA4").passt("\xC3"));  // a whole character, not its first byte
}

namespace {

// A second matcher, written the plain way for comparison: names and masks
// as lists of characters drawn from a small alphabet (each invalid byte a
// character of its own), case folded by a table, matched by dynamic
// programming over (mask position, name position).
using Zeichen = std::vector<std::string>;

const std::vector<std::string> kAlphabet = {"a", "A", "b", ".", "*", "?", "\xC3\xA4", "\xC3\x84", "\xFF", "\xFE"};

std::string gefaltet(const std::string& z) {
  if (z == "a") return "A";
  if (z == "b") return "B";
  if (z == "\xC3\xA4") return "\xC3\x84";
  return z;
}

bool passtGenau(const Zeichen& muster, const Zeichen& name) {
  // geht[i][j]: the first i mask characters match the first j name characters.
  std::vector<std::vector<bool>> geht(muster.size() + 1, std::vector<bool>(name.size() + 1, false));
  geht[0][0] = true;
  for (std::size_t i = 1; i <= muster.size(); ++i) {
    const std::string& m = muster[i - 1];
    for (std::size_t j = 0; j <= name.size(); ++j) {
      if (m == "*")
        geht[i][j] = geht[i - 1][j] || (j > 0 && geht[i][j - 1]);
      else if (j > 0)
        geht[i][j] = geht[i - 1][j - 1] && (m == "?" || gefaltet(m) == gefaltet(name[j - 1]));
    }
  }
  return geht[muster.size()][name.size()];
}

bool referenz(Zeichen muster, const Zeichen& name) {
  const std::size_t n = muster.size();
  if (n >= 2 && muster[n - 2] == "." && muster[n - 1] == "*")
    return passtGenau(muster, name) || passtGenau(Zeichen(muster.begin(), muster.end() - 2), name);
  if (n >= 1 && muster[n - 1] == ".") {
    muster.pop_back();
    return std::find(name.begin(), name.end(), ".") == name.end() && passtGenau(muster, name);
  }
  return passtGenau(muster, name);
}

std::string verbunden(const Zeichen& z) {
  std::string text;
  for (const std::string& s : z) text += s;
  return text;
}

// Every list of up to `länge` characters of `alphabet`.
std::vector<Zeichen> alleBis(std::size_t länge, const std::vector<std::string>& alphabet) {
  std::vector<Zeichen> alle{{}};
  for (std::size_t von = 0; von < alle.size(); ++von)
    if (alle[von].size() < länge)
      for (const std::string& z : alphabet) {
        Zeichen mehr = alle[von];
        mehr.push_back(z);
        alle.push_back(std::move(mehr));
      }
  return alle;
}

}  // namespace

TEST(DateiMaske, AgreesWithAPlainMatcherOnEveryShortNameAndMask) {
  const std::vector<Zeichen> namen = alleBis(3, kAlphabet);
  const std::vector<Zeichen> masken = alleBis(3, {"a", ".", "*", "?", "\xC3\x84", "\xFF"});
  int falsch = 0;
  for (const Zeichen& m : masken) {
    const DateiMaske maske(verbunden(m));
    for (const Zeichen& n : namen)
      if (maske.passt(verbunden(n)) != referenz(m, n) && ++falsch <= 10)
        ADD_FAILURE() << "mask \"" << verbunden(m) << "\" name \"" << verbunden(n) << "\"";
  }
  EXPECT_EQ(falsch, 0);
}

TEST(DateiMaske, AgreesWithAPlainMatcherOnLongerRandomOnes) {
  std::mt19937 zufall(11);
  const auto ziehen = [&](std::size_t höchstens, const std::vector<std::string>& alphabet) {
    Zeichen z(zufall() % (höchstens + 1));
    for (std::string& c : z) c = alphabet[zufall() % alphabet.size()];
    return z;
  };
  int falsch = 0;
  for (int runde = 0; runde < 100000; ++runde) {
    const Zeichen m = ziehen(8, {"a", "b", ".", "*", "*", "?", "\xC3\xA4", "\xFE"});
    const Zeichen n = ziehen(12, kAlphabet);
    if (DateiMaske(verbunden(m)).passt(verbunden(n)) != referenz(m, n) && ++falsch <= 10)
      ADD_FAILURE() << "mask \"" << verbunden(m) << "\" name \"" << verbunden(n) << "\"";
  }
  EXPECT_EQ(falsch, 0);
}

TEST(DateiMaske, NameBisNull) {
  EXPECT_EQ(NameBisNull(std::string_view("abc\0def", 7)), "abc");
  EXPECT_EQ(NameBisNull(std::string_view("\0abc", 4)), "");
  EXPECT_EQ(NameBisNull("ohne"), "ohne");
}

TEST(DateienSammeln, FileLinesOfAFullWalk) {
  TempTree tree;
  tree.folders({"a/x", "b", "leer"});
  tree.file("a/y.mp3");
  tree.file("a/x.MP3");
  tree.file("a/x/tief.mp3");
  tree.file("b/text.txt");
  tree.file("ganz oben.mp3");
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::string start = tree.root();
  ASSERT_EQ(OrdnerSammeln(t, {.Pfad = start, .StartPos = static_cast<std::int32_t>(start.size()) + 1, .Maske = "*.mp3", .NurMitDateien = true}, z).Anzahl, 4);
  Liste l = ListenText(t, true, true);
  EXPECT_EQ(schräg(l.Text), "a/\tx.MP3\na/\ty.mp3\na/x/\ttief.mp3\n");
  EXPECT_EQ(l.Zeilen, 3);
  l = ListenText(t, true, false);
  EXPECT_EQ(schräg(l.Text), "a/x.MP3\na/y.mp3\na/x/tief.mp3\n");

  // With full paths the start folder is recorded first and searched too.
  t.clear();
  z = 0;
  ASSERT_EQ(OrdnerSammeln(t, {.Pfad = start, .Ebenen = 1, .Maske = "*.mp3", .NurMitDateien = true}, z).Anzahl, 4);
  const std::string s = schräg(start);
  EXPECT_EQ(schräg(ListenText(t, true, false).Text), s + "ganz oben.mp3\n" + s + "a/x.MP3\n" + s + "a/y.mp3\n");
}

TEST(DateienSammeln, OnlyFoldersWithFilesDropsTheStartFolderOnly) {
  TempTree tree;
  tree.folders({"a", "b"});
  tree.file("a/lied.mp3");
  OrdnerTabelle t;
  std::int32_t z = 0;
  // The start folder holds no match and is dropped; its sub-folders stay.
  EXPECT_EQ(OrdnerSammeln(t, {.Pfad = tree.root(), .Maske = "*.mp3", .NurMitDateien = true}, z).Anzahl, 2);
  EXPECT_EQ(t.size(), 2u);
  EXPECT_EQ(schräg(t[0].Pfad), schräg(tree.root()) + "a/");
  EXPECT_EQ(schräg(t[1].Pfad), schräg(tree.root()) + "b/");
  EXPECT_TRUE(t[1].Dateien.empty());

  // Without a mask nothing is searched and nothing dropped.
  t.clear();
  z = 0;
  EXPECT_EQ(OrdnerSammeln(t, {.Pfad = tree.root(), .NurMitDateien = true}, z).Anzahl, 3);
  for (const Ordner& o : t) EXPECT_TRUE(o.Dateien.empty());
}
