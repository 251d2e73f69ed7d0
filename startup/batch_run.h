// The batch run of "/o:": one scan run from the command-line values with a
// window that is never shown, and the exit status it ends the program with.
// Shared by the Qt program and the Windows program.
#pragma once

#include <string>

#include "platform/clipboard.h"
#include "run/scan_run.h"
#include "startup/command_line.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// How a batch run ends: the exit status and the one line it prints on
// stderr (nullptr: nothing, the list is on the clipboard).
struct StapelAusgang {
  int status = 0;
  const char* meldung = nullptr;
};

// 0 = list on the clipboard; 1 "Ordner nicht gefunden" (start folder not
// found, path empty); 2 "Keine Unter-Ordner" (no folder recorded, or no
// line written); 3 "Zwischenablage nicht erreichbar", or "Zu wenig Speicher
// oder Datei-Handles frei" when the system ran short of either.
StapelAusgang StapelAusgangVon(Ausgang ausgang);

// A window that is never shown: the run's labels change unseen, it never
// yields or beeps, and "mit Tab" keeps its design state (checked).
class OhneFenster : public Anzeige {
 public:
  void zeigen(StatusLabel) override {}
  void setzeText(StatusLabel, const std::string&) override {}
  void AusgabeZeilenAusschalten() override {}
  void fensterFreigeben(bool) override {}
  void nachgeben() override {}
  bool sichtbar() const override { return false; }
  void piep() override {}
  bool mitTab() const override { return true; }
};

// Makes the batch run with `werte` (always the end-point walk), prints the
// outcome's line on stderr when there is one and returns the exit status. `ergebnis` receives the scan run's outcome.
int Stapellauf(Anzeige& anzeige, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
               const StapelWerte& werte, ScanErgebnis& ergebnis);

}  // namespace zweigschau
