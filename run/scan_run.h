// One scan run: from the six options to the list on the clipboard and the
// status labels. The run reaches its window (shown or not) through the
// controls interface Steuerelemente, so it needs no Qt and is tested without
// a display.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "run/ausgang.h"
#include "run/steuerelemente.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// The six values of one run.
struct ScanOptionen {
  std::string Pfad;                  // start folder; the run writes it back trimmed
  bool MitStartordner = true;        // entries carry the start folder's path
  std::int32_t Ebenen = 0;           // depth limit; 0 = all levels
  bool NurEndpunkte = false;         // end-point walk, else full-path walk
  std::string Maske;                 // file mask; "" = no file search
  bool NurOrdnerMitDateien = false;  // full-path walk: file lines
};

struct ScanErgebnis {
  Ausgang ausgang = Ausgang::LeererPfad;
  std::int32_t Anzahl = 0;       // walk result (-1, 0, records)
  std::int32_t Zeilen = 0;       // lines put on the clipboard
  std::int32_t NichtLesbar = 0;  // folders missing from the list: not read for an error
};

// The line of the run's outcome (AusgangsMeldung); empty when it has none.
std::string Meldung(const ScanErgebnis& ergebnis);

// Hides the four status labels and, while the window is shown, moves the
// keyboard focus to the path box.
// The start path as a run takes it from the path box or "/o:": without
// the blanks around it and a line break after it, and without the quotes
// it was copied in, unless a folder has that name, quotes and all; a file
// URI (the first line of a text of several) as the local path it names.
std::string PfadGetrimmt(std::string_view eingabe);

void AusgabeZeilenAusschalten(Steuerelemente& fenster);

// Runs one scan with `Optionen` over `fenster`'s status labels. The path is
// trimmed of blanks, a leading "~" is expanded to the home folder, the
// separator is appended, and the result is written back to Optionen.Pfad.
// The table is emptied and refilled. While the walk runs the window is
// disabled and its events are processed now and then; when `Abbruch`
// becomes true the walk ends at once and the run ends as Abgebrochen.
ScanErgebnis ListeErstellen(Steuerelemente& fenster, platform::Clipboard& zwischenablage,
                            OrdnerTabelle& Tabelle, ScanOptionen& Optionen,
                            const std::atomic<bool>* Abbruch = nullptr);

}  // namespace zweigschau
