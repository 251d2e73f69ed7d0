// Paths that arrive as file URIs: a folder copied in a file manager and
// pasted as text reads "file:///home/me/Drag%20Ordner", as a drop does.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

// The local path that a file URI names, in the form of the platform whose
// separator is `separator`: "file:///home/me/a%20b" gives /home/me/a b with
// "/", "file:///C:/Eigene%20Dateien" gives C:\Eigene Dateien with "\", and
// "file://server/share" the UNC path \\server\share there. Only the first
// line of the text counts (a list of URIs, one a line); "localhost" is the
// local host; percent escapes are decoded to bytes, a malformed one is kept
// as it stands; a query or fragment is left out. nullopt when the text is
// no file URI, or names another host where no UNC path exists ("/").
std::optional<std::string> pathFromFileUri(std::string_view uri, char separator);

}  // namespace text
