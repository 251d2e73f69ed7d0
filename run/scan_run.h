// One scan run: from the six options to the list on the clipboard and the
// status labels. The window (shown or not) supplies what the run needs
// through Anzeige, so the run itself needs no Qt and is tested without a
// display.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/clipboard.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// The four status labels sharing the window's top-right corner.
enum class StatusLabel { Arbeite, Fertig, NichtGefunden, KeineUnterordner };

// What the run needs from its window.
class Anzeige {
 public:
  virtual ~Anzeige() = default;
  virtual void zeigen(StatusLabel label) = 0;              // make one label visible
  virtual void setzeText(StatusLabel label, const std::string& text) = 0;  // caption
  virtual void AusgabeZeilenAusschalten() = 0;             // hide all four labels
  virtual void fensterFreigeben(bool frei) = 0;            // enable/disable user input
  virtual void nachgeben() = 0;                            // let the event loop run
  virtual bool sichtbar() const = 0;                       // window shown?
  virtual void piep() = 0;                                 // system beep
  virtual bool mitTab() const = 0;                         // state of "mit Tab"
  // Set while a run walks when the user cancels it; nullptr: never.
  virtual const std::atomic<bool>* abbruch() const { return nullptr; }
};

// How a run ended.
enum class Ausgang {
  LeererPfad,        // nothing to do: the path was empty or blank
  NichtGefunden,     // start folder cannot be listed: "Ordner nicht gefunden"
  KeineUnterordner,  // the walk recorded no folder: "Keine Unter-Ordner"
  KeineZeilen,       // folders recorded, but no file line to write
  InZwischenablage,  // the list is on the clipboard
  Fehler,            // the clipboard could not be reached
  Abgebrochen,       // the user cancelled the walk: nothing shown, clipboard untouched
  KeineMittel,       // the system was short of handles or memory: nothing shown
};

struct ScanErgebnis {
  Ausgang ausgang = Ausgang::LeererPfad;
  std::int32_t Anzahl = 0;  // walk result (-1, 0, records)
  std::int32_t Zeilen = 0;  // lines put on the clipboard
};

// Runs one scan. `Pfad` is trimmed of blanks, a leading "~" is expanded to
// the home folder, the separator is appended, and the result is written
// back. The table is emptied and refilled.
ScanErgebnis ListeErstellen(Anzeige& anzeige, platform::Clipboard& zwischenablage,
                            OrdnerTabelle& Tabelle, std::string& Pfad,
                            bool MitStartordner, std::int32_t Ebenen,
                            bool NurEndpunkte, const std::string& Maske,
                            bool NurOrdnerMitDateien);

}  // namespace zweigschau
