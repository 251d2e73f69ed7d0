// Command-line keys ("/?", "/o:", "/e:", "/i", "/d:", "/n"), the start-up
// choice and the usage text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "run/scan_run.h"

namespace zweigschau {

// Looks up key `Teil` (lower case, e.g. "/o:") in one raw command-line text
// the way a Windows build does: the text is lower-cased, the first
// occurrence of the key anywhere counts, a value in double quotes may hold
// blanks, and so may the value of a key that opens an argument quoted as a
// whole ("/o:D:\Eigene Dateien"); any other value ends at the first blank. Returns "" when the key is
// absent, " " when it has no value, else the value (lower-cased).
std::string BefehlszeilenParameterText(std::string_view Befehlszeile, std::string_view Teil);

// Looks up key `Teil` among the arguments as the shell split them: the key
// is found only at the start of an argument, compared case-insensitively;
// the first such argument counts; the value is the rest of that argument,
// case kept. Returns "" when absent, " " when the argument is the key alone.
std::string BefehlszeilenParameter(const std::vector<std::string>& Argumente, std::string_view Teil);

// What the program does at start.
enum class StartArt { Anleitung, Stapellauf, Fenster };

struct StartEntscheidung {
  StartArt art = StartArt::Fenster;
  // Stapellauf: Pfad = value of "/o:", MitStartordner = "/i" absent, Ebenen
  // = "/e:" read as a number, NurEndpunkte always, Maske = value of "/d:"
  // ("" absent, " " empty), NurOrdnerMitDateien = "/n" absent.
  ScanOptionen werte;
  std::string ordner;  // Fenster: a folder given without a key, for the path box ("" none)
  // Started from a file manager's context-menu entry (kKontextmenü given):
  // a batch run tells its outcome on the desktop too, there being no terminal.
  bool ausKontextmenü = false;
};

// The key only the context-menu entries pass. No path holds it: on POSIX a
// key begins an argument of its own, and a Windows path holds a colon only
// after its drive letter.
inline constexpr const char* kKontextmenü = "/kontextmenue:";

// Looks up one key (lower case, e.g. "/o:") and returns "" when it is
// absent, " " when it has no value, else the value.
using SchlüsselSuche = std::function<std::string(std::string_view Teil)>;

// "/?" wins over everything; "/o:" with any result makes a batch run, whose
// values are then looked up; otherwise the window opens. Every key is asked
// of `Parameter`.
StartEntscheidung StartEntscheidenNach(const SchlüsselSuche& Parameter);

// The start-up choice from the arguments as the shell split them (the
// POSIX rule, BefehlszeilenParameter). For a window start, the first
// argument that is no key ("/o:", "/e:", "/d:", "/?" at its start, or
// exactly "/i", "/n" or "/a") is the folder, as "open with" passes it.
StartEntscheidung StartEntscheiden(const std::vector<std::string>& Argumente);

// The start-up choice from one raw, unsplit argument text (the Windows
// rule, BefehlszeilenParameterText); "--help" or "-h" as an argument of its
// own asks for the usage box, as "/?" does. For a window start, an argument text
// that does not begin with "/" is the folder, case kept: the text within
// its leading double quotes, else the whole text without outer blanks.
StartEntscheidung StartEntscheidenText(std::string_view Befehlszeile);

// True when an argument is exactly "--help" or "-h", the keys users of
// other command-line tools type first: the usage text then goes to the
// terminal, before any other choice is made.
bool HilfeVerlangt(const std::vector<std::string>& Argumente);

// The eight-line usage text, lines separated by a carriage return, a tab
// between key and description.
std::string AnleitungsText();

}  // namespace zweigschau
