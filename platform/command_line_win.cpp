#include "platform/command_line_win.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace platform {

std::wstring_view argumentPart(std::wstring_view commandLine) {
  std::size_t pos = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const std::size_t zu = commandLine.find(L'"', 1);
    pos = zu == std::wstring_view::npos ? commandLine.size() : zu + 1;
  } else {
    pos = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
  }
  while (pos < commandLine.size() && (commandLine[pos] == L' ' || commandLine[pos] == L'\t')) ++pos;
  return commandLine.substr(pos);
}

std::string commandLineArguments() {
  const wchar_t* line = GetCommandLineW();
  if (line == nullptr) return {};
  return fromWide(std::wstring(argumentPart(line)));
}

}  // namespace platform
