// A recording window and clipboard for the scan-run tests.
#pragma once

#include <atomic>
#include <string>

#include "run/scan_run.h"
#include "temp_tree.h"

namespace scan_doubles {

using namespace zweigschau;

inline const char* name(StatusLabel l) {
  switch (l) {
    case StatusLabel::Arbeite: return "arbeite";
    case StatusLabel::Fertig: return "fertig";
    case StatusLabel::NichtGefunden: return "nicht";
    default: return "keine";
  }
}

// Records what the run did to the window, as one line of events.
class Fenster : public Anzeige {
 public:
  void zeigen(StatusLabel l) override { ereignisse += std::string("zeige:") + name(l) + " "; }
  void setzeText(StatusLabel l, const std::string& t) override {
    if (l == StatusLabel::Fertig) fertigText = t;
    if (l == StatusLabel::Arbeite) arbeiteText = t;
  }
  void AusgabeZeilenAusschalten() override { ereignisse += "aus "; }
  void fensterFreigeben(bool frei) override {
    gesperrt = !frei;
    ereignisse += frei ? "frei " : "gesperrt ";
  }
  void nachgeben() override {
    if (!gesperrt) ereignisse += "NACHGEBEN-OHNE-SPERRE ";
    if (++nachgegeben == abbrechenBei) abbruch_ = true;  // the user cancels
  }
  const std::atomic<bool>* abbruch() const override { return &abbruch_; }
  bool sichtbar() const override { return istSichtbar; }
  void piep() override { ereignisse += "piep "; }
  bool mitTab() const override { return tab; }

  std::string ereignisse, fertigText, arbeiteText;
  bool gesperrt = false, istSichtbar = true, tab = true;
  int nachgegeben = 0;
  int abbrechenBei = 0;  // cancel at this call of nachgeben (0: never)
  std::atomic<bool> abbruch_ = false;
};

class Ablage : public platform::Clipboard {
 public:
  bool setText(std::string_view text) override {
    ++gesetzt;
    inhalt = testing_tree::schraeg(std::string(text));  // separators shown as "/"
    return erreichbar;
  }
  std::string inhalt = "vorher";
  int gesetzt = 0;
  bool erreichbar = true;
};

struct Umgebung {
  Fenster fenster;
  Ablage ablage;
  OrdnerTabelle tabelle;
  ScanErgebnis lauf(std::string& pfad, bool mitStart, std::int32_t ebenen, bool nurEnden,
                    const std::string& maske = "", bool nurMitDateien = false) {
    return ListeErstellen(fenster, ablage, tabelle, pfad, mitStart, ebenen, nurEnden, maske, nurMitDateien);
  }
};

}  // namespace scan_doubles
