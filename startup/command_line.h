// Command-line keys ("/?", "/o:", "/e:", "/i", "/d:", "/n"), the start-up
// choice and the usage text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zweigschau {

// Looks up key `Teil` (lower case, e.g. "/o:") in one raw command-line text
// the way a Windows build does: the text is lower-cased, the first
// occurrence of the key anywhere counts, a value in double quotes may hold
// blanks, a bare value ends at the first blank. Returns "" when the key is
// absent, " " when it has no value, else the value (lower-cased).
std::string BefehlszeilenParameterText(std::string_view Befehlszeile, std::string_view Teil);

// Looks up key `Teil` among the arguments as the shell split them: the key
// is found only at the start of an argument, compared case-insensitively;
// the first such argument counts; the value is the rest of that argument,
// case kept. Returns "" when absent, " " when the argument is the key alone.
std::string BefehlszeilenParameter(const std::vector<std::string>& Argumente, std::string_view Teil);

// What the program does at start.
enum class StartArt { Anleitung, Stapellauf, Fenster };

struct StapelWerte {            // the options of a batch run
  std::string Pfad;             // value of "/o:"
  bool MitStartordner = true;   // "/i" absent
  std::int32_t Ebenen = 0;      // "/e:" read as a number
  std::string Maske;            // value of "/d:" ("" absent, " " empty)
  bool NurOrdnerMitDateien = true;  // "/n" absent
};

struct StartEntscheidung {
  StartArt art = StartArt::Fenster;
  StapelWerte werte;  // filled for Stapellauf
};

// "/?" wins over everything; "/o:" with any result makes a batch run;
// otherwise the window opens.
StartEntscheidung StartEntscheiden(const std::vector<std::string>& Argumente);

// True when an argument is exactly "--help" or "-h", the keys users of
// other command-line tools type first: the usage text then goes to the
// terminal, before any other choice is made.
bool HilfeVerlangt(const std::vector<std::string>& Argumente);

// The eight-line usage text, lines separated by a carriage return, a tab
// between key and description.
std::string AnleitungsText();

}  // namespace zweigschau
