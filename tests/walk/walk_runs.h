// Walk runs for the walk tests: one walk over a real tree, its list text
// and levels.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "temp_tree.h"
#include "walk/list_text.h"
#include "walk/walks.h"

namespace walk_runs {

using namespace zweigschau;

struct Lauf {
  std::int32_t ergebnis;
  std::string text;  // folder lines, line ends shown as "|"
  std::string ebenen;
};

// Line ends shown as "|", the platform's separator as "/".
inline std::string sichtbar(std::string_view sicht) {
  std::string text(sicht);
  for (char& c : text)
    if (c == platform::kLineEnd) c = '|';
  return testing_tree::schräg(text);
}

inline Lauf auswerten(std::int32_t ergebnis, const OrdnerTabelle& t) {
  Lauf lauf{ergebnis, sichtbar(ListenText(t, false, false).Text), ""};
  for (const Ordner& o : t) lauf.ebenen += std::to_string(o.Ebene);
  return lauf;
}

inline std::int32_t relativ(const std::string& start) { return static_cast<std::int32_t>(start.size()) + 1; }

// One walk over `start`: the end points or all folders, relative paths
// unless `voll`.
inline Lauf walk(bool nurEnden, const std::string& start, std::int32_t ebenen, bool voll) {
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::int32_t startPos = voll ? 1 : relativ(start);
  const auto r = nurEnden ? EndpunkteSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos}, z)
                          : OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos}, z);
  EXPECT_EQ(static_cast<std::size_t>(std::max(r.Anzahl, 0)), t.size());
  return auswerten(r.Anzahl, t);
}

inline Lauf endpunkte(const std::string& start, std::int32_t ebenen = 0, bool voll = false) {
  return walk(true, start, ebenen, voll);
}

inline Lauf alle(const std::string& start, std::int32_t ebenen = 0, bool voll = false) {
  return walk(false, start, ebenen, voll);
}

}  // namespace walk_runs
