// The list form of names and paths, and the small text helpers of the
// shared vocabulary that every part of the program uses.
#pragma once

#include <string>
#include <string_view>

namespace zweigschau {

// A name or path as it appears in list lines: valid UTF-8 stays as it is,
// a byte that is not valid UTF-8 becomes U+FFFD, and control characters
// (below U+0020, U+007F to U+009F) and the line and paragraph separators
// (U+2028, U+2029) become "?", so that one entry stays one line.
std::string AnzeigeText(std::string_view roh);

// `text` without the blanks (spaces only) at either end.
std::string OhneLeerzeichen(std::string_view text);

// True when `roh` is its own list form (valid UTF-8, none of the
// characters AnzeigeText replaces).
bool schonAnzeigbar(std::string_view roh);

// Appends AnzeigeText(roh) to `ziel`.
void AnzeigeTextAnhängen(std::string& ziel, std::string_view roh);

// The text before the first NUL character of a fixed-width name field.
std::string_view NameBisNull(std::string_view Text);

}  // namespace zweigschau
