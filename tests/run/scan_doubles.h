// A recording window and clipboard for the scan-run tests.
#pragma once

#include <atomic>
#include <string>

#include "run/scan_run.h"
#include "temp_tree.h"

namespace scan_doubles {

using namespace zweigschau;

inline const char* name(Steuerelement l) {
  switch (l) {
    case Steuerelement::lblArbeite: return "arbeite";
    case Steuerelement::lblfertig: return "fertig";
    case Steuerelement::lblNichtGefunden: return "nicht";
    default: return "keine";
  }
}

// Records what the run did to the window, as one line of events ("aus":
// the status labels were hidden).
class Fenster : public Steuerelemente {
 public:
  int wert(Steuerelement s) const override { return s == Steuerelement::cbTab && tab ? 1 : 0; }
  void freigeben(Steuerelement, bool) override {}
  void einblenden(Steuerelement l, bool an) override {
    if (an) ereignisse += std::string("zeige:") + name(l) + " ";
    else if (l == Steuerelement::lblArbeite) ereignisse += "aus ";
  }
  std::string text(Steuerelement) const override { return {}; }
  void textSetzen(Steuerelement l, const std::string& t) override {
    if (l == Steuerelement::lblfertig) fertigText = t;
    if (l == Steuerelement::lblArbeite) arbeiteText = t;
  }
  void fokusSetzen(Steuerelement) override {}
  bool fensterGezeigt() const override { return istSichtbar; }
  void fensterAktiv(bool frei) override {
    gesperrt = !frei;
    ereignisse += frei ? "frei " : "gesperrt ";
  }
  void ereignisseVerarbeiten() override {
    if (!gesperrt) ereignisse += "NACHGEBEN-OHNE-SPERRE ";
    if (++nachgegeben == abbrechenBei) abbruch = true;  // the user cancels
  }
  void signalton() override { ereignisse += "piep "; }
  void meldung(const std::string&, const std::string&) override {}
  std::string ordnerDialog(const std::string&) override { return {}; }
  void beenden() override {}

  std::string ereignisse, fertigText, arbeiteText;
  bool gesperrt = false, istSichtbar = true, tab = true;
  int nachgegeben = 0;
  int abbrechenBei = 0;  // cancel at this call of ereignisseVerarbeiten (0: never)
  std::atomic<bool> abbruch = false;
};

class Ablage : public platform::Clipboard {
 public:
  bool setText(std::string_view text) override {
    ++gesetzt;
    inhalt = testing_tree::schraeg(std::string(text));  // separators shown as "/"
    return erreichbar;
  }
  bool takenByOther() const override { return genommen; }
  std::string inhalt = "vorher";
  int gesetzt = 0;
  bool erreichbar = true;
  bool genommen = false;  // after a failed set: another program owns the clipboard
};

struct Umgebung {
  Fenster fenster;
  Ablage ablage;
  OrdnerTabelle tabelle;
  ScanErgebnis lauf(std::string& pfad, bool mitStart, std::int32_t ebenen, bool nurEnden,
                    const std::string& maske = "", bool nurMitDateien = false) {
    ScanOptionen optionen{pfad, mitStart, ebenen, nurEnden, maske, nurMitDateien};
    const ScanErgebnis ergebnis = ListeErstellen(fenster, ablage, tabelle, optionen, &fenster.abbruch);
    pfad = optionen.Pfad;
    return ergebnis;
  }
};

}  // namespace scan_doubles
