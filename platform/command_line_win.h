// The raw command line of a Windows process, as the start-up reads it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The argument part of a raw command line: everything after the program's
// own name (a name in double quotes runs to the closing quote, a bare one to
// the first blank or tab), without the blanks and tabs in between.
std::wstring_view argumentPart(std::wstring_view commandLine);

// The argument part of GetCommandLineW as UTF-8, case kept: the key lookup
// lower-cases it, a folder given without a key keeps its case.
std::string commandLineArguments();

}  // namespace platform
