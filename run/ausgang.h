// Every way a run ends, with its exit status and its one line: the one
// table that the scan run, the batch run, both programs' start-up checks,
// README, the man page and the tests go by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zweigschau {

// How a run ended.
enum class Ausgang {
  InZwischenablage,  // the list is on the clipboard
  Teilliste,         // the list of all that could be read is on the clipboard;
                     // folders that failed for an error are missing from it
  LeererPfad,        // nothing to do: the path was empty or blank
  NichtGefunden,     // the start folder does not exist
  KeinOrdner,        // the start path names something that is not a folder
  KeinZugriff,       // the start folder exists but may not be listed
  KeineUnterordner,  // the walk recorded no folder
  KeineZeilen,       // folders recorded, but no file line to write
  KeinSpeicher,      // memory (address space) ran short
  KeineMittel,       // the walk ran short of handles or memory; it cannot tell which
  KeineHandles,      // the open-file limit leaves too few handles
  KeineThreads,      // no thread or process can be started (process limit)
  Uebernommen,       // the clipboard was reachable, but another program took it at once
  Fehler,            // the clipboard could not be reached
  KeinBildschirm,    // no display to open the window on (before any run)
  FensterFehlt,      // the window's program is not installed
  PlattformFehlt,    // Qt's platform plugin "P" is not installed
  PlattformPaketFehlt,  // the same, and the Debian package "D" ships it
  PlattformNichtGeladen,  // Qt's platform plugin "P" is there but does not load
  QtStartetNicht,    // Qt does not start for another reason; "Q" is Qt's own line
  OhneAuftrag,       // the clipboard server was started by hand, not by the program
  Abgebrochen,       // the user cancelled the walk: nothing shown, clipboard untouched
};

// One row of the table.
struct AusgangsZeile {
  Ausgang ausgang;
  int status;           // the program's exit status after a batch run
  const char* meldung;  // its one line (stderr, and the window's label); nullptr: none.
                        // A capital letter standing alone is a placeholder (see
                        // Platzhalter).
};

// What the placeholders of a line stand for.
struct Platzhalter {
  std::int32_t nichtLesbar = 0;  // "N": the number of folders not read
  std::string plattform;         // "P": the name of a Qt platform plugin
  std::string paket;             // "D": the Debian package that ships it
  std::string qtZeile;           // "Q": the first line Qt said
};

// The table, one row per value of Ausgang, in the order of the enum.
extern const AusgangsZeile kAusgänge[];
extern const std::size_t kAusgängeAnzahl;

// The row of `ausgang`.
const AusgangsZeile& AusgangsZeileVon(Ausgang ausgang);

// The line of `ausgang` as the program prints and shows it, its
// placeholders replaced by `werte`; empty when the row has none.
std::string AusgangsMeldung(Ausgang ausgang, const Platzhalter& werte);

// The same for the rows whose only placeholder is "N".
std::string AusgangsMeldung(Ausgang ausgang, std::int32_t nichtLesbar = 0);

}  // namespace zweigschau
