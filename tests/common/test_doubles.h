// The doubles of every test that runs the window's rules, a scan run or a
// batch run without a toolkit: one of the clipboard, one of Form1's
// controls. Both record what was done to them.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "run/steuerelemente.h"
#include "temp_tree.h"
#include "window/form1_tabelle.h"

namespace testing_doubles {

using zweigschau::Steuerelement;

// A clipboard that records every text set on it; it can be told that it
// cannot be reached, or that another program took it at once.
class TestAblage : public platform::Clipboard {
 public:
  bool setText(std::string_view text) override {
    gesetzt.emplace_back(text);
    if (erreichbar) inhalt = testing_tree::schräg(text);
    return erreichbar;
  }
  bool takenByOther() const override { return genommen; }

  std::vector<std::string> gesetzt;  // every text set, reached or not, as given
  std::string inhalt = "vorher";     // what it holds, as schräg shows it
  bool erreichbar = true;
  bool genommen = false;
};

struct Steuer {
  int wert = 0;
  std::string text;
  bool frei = true;
  bool sichtbar = true;
};

// What the window looked like while a scan run let events through.
struct Momentaufnahme {
  bool aktiv;
  bool arbeiteSichtbar;
  std::string arbeiteText;
};

// Form1's controls as records, with the control table's captions and the
// design's start state: the file switches checked ("mit Tab" and "nur
// Ordner mit Dateien" disabled), "komplette Pfade" selected, the status
// labels hidden.
class TestSteuerelemente : public zweigschau::Steuerelemente {
 public:
  TestSteuerelemente() {
    for (const zweigschau::SteuerZeile& z : zweigschau::kForm1Steuer) {
      (*this)[z.steuer].text = z.text;
      (*this)[z.steuer].sichtbar = !zweigschau::IstStatusAnzeige(z);
    }
    for (Steuerelement s : {Steuerelement::cbTab, Steuerelement::cbNurOrdnerMitPassendenDateien,
                            Steuerelement::cbDateien, Steuerelement::optAlleOderLetzte1, Steuerelement::cbinkl})
      (*this)[s].wert = 1;
    (*this)[Steuerelement::cbTab].frei = false;
    (*this)[Steuerelement::cbNurOrdnerMitPassendenDateien].frei = false;
  }

  Steuer& operator[](Steuerelement s) { return steuer_[static_cast<std::size_t>(s)]; }
  const Steuer& operator[](Steuerelement s) const { return steuer_[static_cast<std::size_t>(s)]; }

  int wert(Steuerelement s) const override { return (*this)[s].wert; }
  void freigeben(Steuerelement s, bool an) override { (*this)[s].frei = an; }
  void einblenden(Steuerelement s, bool an) override {
    (*this)[s].sichtbar = an;
    if (an) ereignisse += std::string("zeige:") + zweigschau::Zeile(s).name + " ";
    else if (s == Steuerelement::lblArbeite) ereignisse += "aus ";
  }
  std::string text(Steuerelement s) const override { return (*this)[s].text; }
  void textSetzen(Steuerelement s, const std::string& text) override {
    (*this)[s].text = text;
    if (s == Steuerelement::txtPfadEingabe && pfadGeändert) pfadGeändert();
  }
  void fokusSetzen(Steuerelement s) override { fokus = s; }
  bool fensterGezeigt() const override { return gezeigt; }
  void fensterAktiv(bool an) override {
    aktiv = an;
    ereignisse += an ? "frei " : "gesperrt ";
  }
  void ereignisseVerarbeiten() override {
    if (aktiv) ereignisse += "NACHGEBEN-OHNE-SPERRE ";
    aufnahmen.push_back({aktiv, (*this)[Steuerelement::lblArbeite].sichtbar, (*this)[Steuerelement::lblArbeite].text});
    if (++nachgegeben == abbrechenBei) abbruch = true;  // the user cancels
  }
  void signalton() override {
    ++pieptöne;
    ereignisse += "piep ";
  }
  void meldung(const std::string& titel, const std::string& text) override { meldungen.push_back({titel, text}); }
  std::string ordnerDialog(const std::string& titel) override {
    ordnerTitel.push_back(titel);
    return ordnerAntwort;
  }
  void beenden() override { ++beendet; }

  // What was done to the window, a word each: "zeige:NAME" when a control
  // was shown, "aus" when "arbeite ..." went, "gesperrt" and "frei", "piep".
  std::string ereignisse;
  std::vector<Momentaufnahme> aufnahmen;  // one each time events were let through
  int nachgegeben = 0;
  int abbrechenBei = 0;  // the user cancels at this letting through (0: never)
  std::atomic<bool> abbruch = false;
  std::function<void()> pfadGeändert;  // the path box's change handler, if any

  std::optional<Steuerelement> fokus;
  bool gezeigt = true;
  bool aktiv = true;
  int pieptöne = 0;
  int beendet = 0;
  std::vector<std::pair<std::string, std::string>> meldungen;
  std::vector<std::string> ordnerTitel;
  std::string ordnerAntwort;

 private:
  std::array<Steuer, zweigschau::kForm1Anzahl> steuer_;
};

}  // namespace testing_doubles
