#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "startup/number.h"

using zweigschau::ZahlLesen;

TEST(ZahlLesen, LeadingNumberRoundedHalfToEven) {
  const std::pair<const char*, int> fälle[] = {
      {"", 0},       {"0", 0},        {"x", 0},         {"abc3", 0},     {"3x", 3},
      {" 2", 2},     {"2 5", 25},     {"\t1\n2", 12},   {"2.5", 2},      {"3.5", 4},
      {"-2.5", -2},  {"-3.5", -4},    {"2.4999", 2},    {"+7", 7},       {"-1", -1},
      {".5", 0},     {"1.5", 2},      {"1e1", 10},      {"1.5E+1", 15},  {"2e", 2},
      {"2e-", 2},    {"25e-1", 2},    {"-", 0},         {".", 0},        {"7.", 7},
      {"1e-400", 0}, {"0x10", 0},     {"2,5", 2},
  };
  for (const auto& [text, zahl] : fälle) EXPECT_EQ(ZahlLesen(text), zahl) << '"' << text << '"';
}

TEST(ZahlLesen, ValuesBeyondTheRangeKeepTheirMeaning) {
  EXPECT_EQ(ZahlLesen("32767"), 32767);
  EXPECT_EQ(ZahlLesen("32767.5"), 32767);
  EXPECT_EQ(ZahlLesen("40000"), 32767);
  EXPECT_EQ(ZahlLesen("1e400"), 32767);
  EXPECT_EQ(ZahlLesen("-32768"), -32768);
  EXPECT_EQ(ZahlLesen("-99999999999999999999"), -32768);
}

// Beyond what a double holds, the number's own size decides, however its
// digits and exponent spell it.
TEST(ZahlLesen, TooLargeOrTooSmallByTheNumbersSize) {
  const std::string nullen(400, '0');
  const std::pair<std::string, int> fälle[] = {
      {"1" + nullen + "e-1", 32767},         {"-1" + nullen + "e-1", -32768},
      {"0." + nullen + "1", 0},              {"-0." + nullen + "1", 0},
      {"0." + nullen + "1e399", 0},          {"0." + nullen + "1e500", 32767},
      {"-0." + nullen + "1e500", -32768},    {nullen + "1e-400", 0},
      {nullen + "1" + nullen, 32767},        {"1" + nullen + "e-400", 1},
      {"1" + nullen + "e-401", 0},           {"25" + nullen + "e-401", 2},
      {"35" + nullen + "e-401", 4},          {"-1e400", -32768},
      {"-1e-400", 0},                        {"+1E+400", 32767},
      {"1e99999999999999999999", 32767},     {"1e-99999999999999999999", 0},
      {"0e99999999999999999999", 0},         {"0." + nullen + "e999", 0},
      {"1" + nullen + "e-99999999999999999999", 0},
      {"." + nullen + "1e99999999999999999999", 32767},
  };
  for (const auto& [text, zahl] : fälle)
    EXPECT_EQ(ZahlLesen(text), zahl) << '"' << text.substr(0, 12) << "...\" (" << text.size() << " characters)";
}

TEST(ZahlLesen, DecimalPointWhateverTheLocale) {
  const char* vorher = std::setlocale(LC_NUMERIC, nullptr);
  const std::string alt = vorher ? vorher : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale installed";
  EXPECT_EQ(ZahlLesen("3.5"), 4);
  std::setlocale(LC_NUMERIC, alt.c_str());
}
