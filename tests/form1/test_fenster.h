// A plain Form1 window for the rules' tests: every control is a record of
// its value, text, enabled and visible state, built with the values of the
// window's design. User actions go through `klicke` and `tippe`, which, as
// a real window does, refuse disabled controls and raise the handlers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "window/form1_logik.h"
#include "run/steuerelemente.h"

namespace form1_test {

using zweigschau::Steuerelement;

struct Steuer {
  int wert = 0;
  std::string text;
  bool frei = true;
  bool sichtbar = true;
};

// A clipboard that records every text set on it.
class Zwischenablage : public platform::Clipboard {
 public:
  bool setText(std::string_view utf8) override {
    gesetzt.emplace_back(utf8);
    return true;
  }
  std::vector<std::string> gesetzt;
};

// What the window looked like while a scan run let events through.
struct Momentaufnahme {
  bool aktiv;
  bool arbeiteSichtbar;
  std::string arbeiteText;
};

class TestFenster : public zweigschau::Steuerelemente {
 public:
  TestFenster();

  Steuer& operator[](Steuerelement s) { return steuer_[static_cast<std::size_t>(s)]; }
  const Steuer& operator[](Steuerelement s) const { return steuer_[static_cast<std::size_t>(s)]; }

  // A user's click: toggles a check box or selects an option button and
  // raises its handler; pushes a button. Nothing happens on a disabled
  // control or while the window is disabled.
  void klicke(Steuerelement s);
  // The user types `zeichen` at the end of the path box, one change each.
  void tippe(const std::string& zeichen);

  int wert(Steuerelement s) const override { return (*this)[s].wert; }
  void freigeben(Steuerelement s, bool an) override { (*this)[s].frei = an; }
  void einblenden(Steuerelement s, bool an) override { (*this)[s].sichtbar = an; }
  std::string text(Steuerelement s) const override { return (*this)[s].text; }
  void textSetzen(Steuerelement s, const std::string& text) override;
  void fokusSetzen(Steuerelement s) override { fokus = s; }
  bool fensterGezeigt() const override { return gezeigt; }
  void fensterAktiv(bool an) override { aktiv = an; }
  void ereignisseVerarbeiten() override;
  void signalton() override { ++pieptöne; }
  void meldung(const std::string& titel, const std::string& text) override {
    meldungen.push_back({titel, text});
  }
  std::string ordnerDialog(const std::string& titel) override {
    ordnerTitel.push_back(titel);
    return ordnerAntwort;
  }
  void beenden() override { ++beendet; }

  zweigschau::Form1Logik logik;
  Zwischenablage zwischenablage;

  std::optional<Steuerelement> fokus;
  bool gezeigt = true;
  bool aktiv = true;
  int pieptöne = 0;
  int beendet = 0;
  std::vector<std::pair<std::string, std::string>> meldungen;
  std::vector<std::string> ordnerTitel;
  std::string ordnerAntwort;
  std::vector<Momentaufnahme> aufnahmen;

 private:
  std::array<Steuer, 20> steuer_;
};

}  // namespace form1_test
