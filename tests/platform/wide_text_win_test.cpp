// Windows names to UTF-8 and back, the argument part of the raw command
// line, and what a find-data record makes of an entry.
#include <gtest/gtest.h>

#include <string>

#include "platform/command_line_win.h"
#include "platform/entry_kind_win.h"
#include "platform/wide_text.h"
#include "text/list_form.h"

using platform::fromWide;
using platform::toWide;

TEST(WideText, LosslessBothWays) {
  const std::wstring namen[] = {
      L"Musik", L"\u00C4rzte", L"\U0001F3B5 Lied", std::wstring(1, wchar_t(0xD800)) + L"x",
      L"a" + std::wstring(1, wchar_t(0xDFFF)), std::wstring{wchar_t(0xDC00), wchar_t(0xD800)}, L""};
  for (const std::wstring& name : namen) EXPECT_EQ(toWide(fromWide(name)), name);
  EXPECT_EQ(fromWide(L"\u00C4"), "\xC3\x84");
  EXPECT_EQ(fromWide(L"\U0001F3B5"), "\xF0\x9F\x8E\xB5");
  EXPECT_EQ(fromWide(std::wstring(1, wchar_t(0xD83C))), "\xED\xA0\xBC");
  // Bytes that are no text at all become U+FFFD.
  EXPECT_EQ(toWide("a\xFF"), std::wstring(L"a\uFFFD"));
}

TEST(WideText, LoneSurrogateShowsAsOneReplacement) {
  const std::string name = fromWide(std::wstring{L'a', wchar_t(0xDC01), L'b', wchar_t(0xD801)});
  EXPECT_EQ(zweigschau::AnzeigeText(name), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(CommandLine, ArgumentPartAfterTheProgramName) {
  EXPECT_EQ(platform::argumentPart(L"zweigschau.exe /o:c:\\x /i"), L"/o:c:\\x /i");
  EXPECT_EQ(platform::argumentPart(L"\"C:\\Program Files\\z.exe\"  \t/O:\"c:\\a b\""), L"/O:\"c:\\a b\"");
  EXPECT_EQ(platform::argumentPart(L"\"C:\\z.exe\"/o:c:\\"), L"/o:c:\\");
  EXPECT_EQ(platform::argumentPart(L"z.exe"), L"");
  EXPECT_EQ(platform::argumentPart(L"\"ohne ende"), L"");
  EXPECT_EQ(platform::argumentPart(L""), L"");
}

TEST(EntryKindWin, OnlyNameSurrogatesAreLinks) {
  using platform::EntryKind;
  constexpr DWORD ordner = FILE_ATTRIBUTE_DIRECTORY;
  constexpr DWORD punkt = FILE_ATTRIBUTE_REPARSE_POINT;
  struct Fall {
    DWORD attribute;
    DWORD tag;
    EntryKind art;
  };
  const Fall fälle[] = {
      {ordner, 0, EntryKind::Folder},
      {ordner | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, 0, EntryKind::Folder},
      {ordner | FILE_ATTRIBUTE_HIDDEN, 0, EntryKind::HiddenFolder},
      {ordner | FILE_ATTRIBUTE_SYSTEM, 0, EntryKind::HiddenFolder},
      {ordner | punkt, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::FolderLink},  // junction, mount point
      {ordner | punkt, IO_REPARSE_TAG_SYMLINK, EntryKind::FolderLink},
      {ordner | punkt, 0, EntryKind::FolderLink},          // no tag reported (Wine)
      {ordner | punkt, 0x9000601AUL, EntryKind::Folder},   // cloud-file placeholder (OneDrive)
      {ordner | punkt, 0x9000001CUL, EntryKind::Folder},   // projected file system
      {ordner | punkt | FILE_ATTRIBUTE_HIDDEN, 0x9000601AUL, EntryKind::HiddenFolder},
      {0, 0, EntryKind::File},
      {punkt, IO_REPARSE_TAG_SYMLINK, EntryKind::OtherLink},
      {punkt, 0x80000013UL, EntryKind::File},              // deduplicated file
      {punkt, 0x9000001AUL, EntryKind::File},              // cloud file
  };
  for (const Fall& f : fälle)
    EXPECT_EQ(platform::entryKindOf(f.attribute, f.tag), f.art) << std::hex << f.attribute << " " << f.tag;
}
