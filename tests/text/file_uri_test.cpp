#include <gtest/gtest.h>

#include "text/file_uri.h"

TEST(FileUri, LocalPathsOnBothPlatforms) {
  struct Case {
    const char* uri;
    char separator;
    const char* path;  // nullptr: no local path
  };
  const Case cases[] = {
      {"file:///home/me/Drag%20Ordner", '/', "/home/me/Drag Ordner"},
      {"FILE://localhost/home/B%C3%A4ume%20%C3%96/\nfile:///tmp/\n", '/', "/home/B\xC3\xA4ume \xC3\x96/"},
      {"file:///home/100%/a%2", '/', "/home/100%/a%2"},
      {"file:///home/a%23b?x#y", '/', "/home/a#b"},
      {"file://server/share", '/', nullptr},
      {"/home/file:///x", '/', nullptr},
      {"file:///C:/Eigene%20Dateien/", '\\', "C:\\Eigene Dateien\\"},
      {"file:///c|/x", '\\', "c:\\x"},
      {"file://server/share/Musik", '\\', "\\\\server\\share\\Musik"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> path = text::pathFromFileUri(c.uri, c.separator);
    if (c.path == nullptr)
      EXPECT_FALSE(path) << c.uri;
    else
      EXPECT_EQ(path.value_or("(none)"), c.path) << c.uri;
  }
}
