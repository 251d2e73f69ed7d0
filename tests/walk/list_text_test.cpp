// The list text, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "temp_tree.h"
#include "text/list_form.h"
#include "walk/list_text.h"

using namespace zweigschau;

namespace {
struct O {
  std::string pfad;
  std::vector<std::string_view> dateien;
};
OrdnerTabelle tabelle(const std::vector<O>& ordner) {
  OrdnerTabelle t;
  for (const O& o : ordner) {
    t.Anhängen(o.pfad, 1);
    t.DateienSetzen(t.size() - 1, o.dateien);
  }
  return t;
}
}  // namespace

TEST(ListenText, FolderLinesIgnoreTheTabSwitch) {
  const OrdnerTabelle t = tabelle({{"a/", {"x.mp3"}}, {"b/c/", {}}});
  for (bool tab : {false, true}) {
    const Liste l = ListenText(t, false, tab);
    EXPECT_EQ(testing_tree::schräg(l.Text), "a/\nb/c/\n");
    EXPECT_EQ(l.Zeilen, 2);
  }
}

TEST(ListenText, FileLines) {
  const OrdnerTabelle t = tabelle({{"a/", {"x.mp3", "y.mp3"}}, {"leer/", {}}, {"b/", {"z.mp3"}}});
  Liste l = ListenText(t, true, true);
  EXPECT_EQ(testing_tree::schräg(l.Text), "a/\tx.mp3\na/\ty.mp3\nb/\tz.mp3\n");
  EXPECT_EQ(l.Zeilen, 3);
  l = ListenText(t, true, false);
  EXPECT_EQ(testing_tree::schräg(l.Text), "a/x.mp3\na/y.mp3\nb/z.mp3\n");
}

TEST(ListenText, NothingToWrite) {
  const OrdnerTabelle ohneDateien = tabelle({{"a/", {}}, {"b/", {}}});
  EXPECT_EQ(ListenText(ohneDateien, true, true).Text, "");
  EXPECT_EQ(ListenText(ohneDateien, true, true).Zeilen, 0);
  EXPECT_EQ(ListenText(OrdnerTabelle{}, false, false).Zeilen, 0);
  EXPECT_EQ(ListenText(OrdnerTabelle{}, false, false).Text, "");
}

// A table used up by its list gives the same bytes. Large enough that the
// table's memory is given back on the way (in megabyte steps); also when a
// record got its names after the records behind it, whose names then lie
// in front of its own.
TEST(ListenText, UsedUpTableGivesTheSameList) {
  constexpr std::size_t kOrdner = 100000;
  std::vector<std::string> namen;
  for (std::size_t i = 0; i < kOrdner; ++i) namen.push_back("lied " + std::to_string(i) + ".mp3");
  auto baue = [&namen](bool ersterZuletzt) {
    OrdnerTabelle t;
    for (std::size_t i = 0; i < kOrdner; ++i) t.Anhängen("ordner/" + std::to_string(i) + "/", 1);
    for (std::size_t i = ersterZuletzt ? 1 : 0; i < kOrdner; ++i)
      t.DateienSetzen(i, {namen[i], namen[(i + 1) % kOrdner]});
    if (ersterZuletzt) t.DateienSetzen(0, {namen[0], namen[1]});
    return t;
  };
  for (const bool ersterZuletzt : {false, true}) {
    for (const bool dateien : {false, true}) {
      const OrdnerTabelle t = baue(ersterZuletzt);
      OrdnerTabelle verbraucht = baue(ersterZuletzt);
      const Liste erwartet = ListenText(t, dateien, true);
      const Liste l = ListenText(std::move(verbraucht), dateien, true);
      EXPECT_TRUE(verbraucht.empty());
      EXPECT_EQ(l.Zeilen, erwartet.Zeilen);
      ASSERT_EQ(l.Text.size(), erwartet.Text.size());
      EXPECT_TRUE(l.Text == erwartet.Text) << "first difference at byte "
          << std::mismatch(l.Text.begin(), l.Text.end(), erwartet.Text.begin()).first - l.Text.begin();
    }
  }
}

TEST(AnzeigeText, OneEntryStaysOneLine) {
  EXPECT_EQ(AnzeigeText("Musik/Ärzte"), "Musik/Ärzte");
  EXPECT_EQ(AnzeigeText("a\rb\nc\td\x7F"), "a?b?c?d?");
  EXPECT_EQ(AnzeigeText("kaputt\xFF\xC3"), "kaputt\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(AnzeigeText("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong "/"
  EXPECT_EQ(AnzeigeText("\xF0\x9F\x8E\xB5"), "\xF0\x9F\x8E\xB5");  // U+1F3B5 stays
}

// Some editors and terminals also break lines at NEL (U+0085), at the line
// and paragraph separators (U+2028, U+2029) and at other C1 controls.
TEST(AnzeigeText, NoOtherLineBreakEither) {
  EXPECT_EQ(AnzeigeText("a\xC2\x85" "b"), "a?b");
  EXPECT_EQ(AnzeigeText("\xC2\x80\xC2\x9F"), "??");
  EXPECT_EQ(AnzeigeText("x\xE2\x80\xA8y\xE2\x80\xA9z"), "x?y?z");
  // The neighbours are ordinary characters and stay.
  EXPECT_EQ(AnzeigeText("\xC2\xA0\xE2\x80\xA7\xE2\x80\xAA~"), "\xC2\xA0\xE2\x80\xA7\xE2\x80\xAA~");
  for (const char* steuer : {"\xC2\x85", "\xC2\x80", "\xC2\x9F", "\xE2\x80\xA8", "\xE2\x80\xA9", "\x7F", "\x1F"})
    EXPECT_FALSE(schonAnzeigbar(std::string("a") + steuer)) << steuer;
  EXPECT_TRUE(schonAnzeigbar("\xC2\xA0\xE2\x80\xA7 ~"));
}
