// The batch run of "/o:": one scan run from the command-line values with a
// window that is never shown, and the exit status it ends the program with.
// Shared by the Qt program and the Windows program.
#pragma once

#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "run/scan_run.h"
#include "startup/command_line.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// What a batch run started from a context-menu entry tells on the
// desktop: how many lines are on the clipboard ("1 Zeile", "2 Zeilen"), or
// the run's one line, followed by the folder on a line of its own when
// `Ordner` names it.
std::string KontextmenüMeldung(const ScanErgebnis& ergebnis, std::string_view Ordner = {});

// A window that is never shown: the run's labels change unseen, it never
// yields, beeps or asks anything, and "mit Tab" keeps its design state
// (checked).
class OhneFenster : public Steuerelemente {
 public:
  int wert(Steuerelement s) const override { return s == Steuerelement::cbTab ? 1 : 0; }
  void freigeben(Steuerelement, bool) override {}
  void einblenden(Steuerelement, bool) override {}
  std::string text(Steuerelement) const override { return {}; }
  void textSetzen(Steuerelement, const std::string&) override {}
  void fokusSetzen(Steuerelement) override {}
  bool fensterGezeigt() const override { return false; }
  void fensterAktiv(bool) override {}
  void ereignisseVerarbeiten() override {}
  void signalton() override {}
  void meldung(const std::string&, const std::string&) override {}
  std::string ordnerDialog(const std::string&) override { return {}; }
  void beenden() override {}
};

// Prints the usage text on the terminal, one line per line.
void AnleitungAusgeben();

// Prints the line of `ausgang`, its placeholders replaced by `werte`, on
// stderr when the row has one, and returns the row's exit status.
int AusgangMelden(Ausgang ausgang, const Platzhalter& werte = {});

// A start without any display: the usage text still reaches the terminal
// (status 0); a window cannot open (Ausgang::KeinBildschirm).
int OhneBildschirm(StartArt art);

// Makes the batch run with `werte` (the start choice asks for the end-point
// walk), prints the outcome's line on stderr when there is one and returns
// the exit status. `ergebnis` receives the scan run's outcome.
int Stapellauf(Steuerelemente& fenster, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
               const ScanOptionen& werte, ScanErgebnis& ergebnis);

}  // namespace zweigschau
