// The listing order and the case table of our own, the same on every
// platform and in every locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/listing_order.h"
#include "text/unicode.h"

using text::listedBefore;

TEST(CaseTable, SimpleMappingsOneToOne) {
  EXPECT_EQ(text::toUpper(U'\u00E4'), U'\u00C4');  // ä Ä
  EXPECT_EQ(text::toLower(U'\u00C4'), U'\u00E4');
  EXPECT_EQ(text::toUpper(U'\u00DF'), U'\u00DF');  // ß has no one-letter upper case
  EXPECT_EQ(text::toLower(U'\u1E9E'), U'\u00DF');  // ẞ to ß
  EXPECT_EQ(text::toUpper(U'\u03C3'), U'\u03A3');  // σ Σ
  EXPECT_EQ(text::toUpper(U'\u03C2'), U'\u03A3');  // final ς Σ
  EXPECT_EQ(text::toUpper(U'\u1F80'), U'\u1F88');  // ᾀ ᾈ (full mapping has two letters)
  EXPECT_EQ(text::toLower(U'\u0130'), U'i');        // İ i
  EXPECT_EQ(text::toLower(U'\u212A'), U'k');        // Kelvin sign
  EXPECT_EQ(text::toUpper(U'\U00010428'), U'\U00010400');  // Deseret, beyond 16 bits
  EXPECT_EQ(text::toUpper(U'\u4E2D'), U'\u4E2D');  // no case
  EXPECT_EQ(text::toUpper(text::kInvalidByte), text::kInvalidByte);
}

TEST(ListingOrder, UpperCaseThenCodePointThenExactName) {
  std::vector<std::string> namen{"b", "A", "a", "Z", "\xC3\xA4", "\xC3\x84", "10", "9", "_x",
                                 "\xCF\x83", "\xCE\xA3", "ab", "a", "kaputt\xFF"};
  std::sort(namen.begin(), namen.end(), listedBefore);
  const std::vector<std::string> erwartet{"10", "9", "A", "a", "a", "ab", "b", "kaputt\xFF", "Z",
                                          "_x", "\xC3\x84", "\xC3\xA4", "\xCE\xA3", "\xCF\x83"};
  EXPECT_EQ(namen, erwartet);
  // An invalid byte orders after every character.
  EXPECT_TRUE(listedBefore("x\xF4\x8F\xBF\xBF", "x\xFF"));
  EXPECT_FALSE(listedBefore("a", "a"));
}

TEST(Utf8, AnEncodedSurrogateIsOneUnit) {
  // ED A0 80 is how a lone surrogate of a Windows name is held.
  const std::string text = "a\xED\xA0\x80z\xED\xBF\xBF";
  std::size_t pos = 1;
  EXPECT_EQ(text::decodeUtf8(text, pos), text::kInvalidByte);
  EXPECT_EQ(pos, 4u);
  EXPECT_EQ(text::decodeUtf8(text, pos), U'z');
  EXPECT_EQ(text::decodeUtf8(text, pos), text::kInvalidByte);
  EXPECT_EQ(pos, text.size());
  // A broken sequence still costs one byte at a time.
  const std::string kaputt = "\xED\xA0";
  pos = 0;
  EXPECT_EQ(text::decodeUtf8(kaputt, pos), text::kInvalidByte);
  EXPECT_EQ(pos, 1u);
}
