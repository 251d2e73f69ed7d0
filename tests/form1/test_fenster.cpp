#include "test_fenster.h"

namespace form1_test {

namespace {

// The design of Form1: captions or texts, check values, start states.
struct Entwurf {
  Steuerelement s;
  const char* text;
  int wert;
  bool frei;
  bool sichtbar;
};

constexpr Entwurf kEntwurf[] = {
    {Steuerelement::comMaskeName, "*", 0, true, true},
    {Steuerelement::comMaskeTyp, "*", 0, true, true},
    {Steuerelement::cbTab, "mit Tab", 1, false, true},
    {Steuerelement::cbNurOrdnerMitPassendenDateien, "nur Ordner mit Dateien", 1, false, true},
    {Steuerelement::cbDateien, "&Dateien", 1, true, true},
    {Steuerelement::optAlleOderLetzte1, "&komplette Pfade", 1, true, true},
    {Steuerelement::optAlleOderLetzte0, "&nur Endpunkte", 0, true, true},
    {Steuerelement::txtEbenen, "0", 0, true, true},
    {Steuerelement::cbinkl, "&inkl. Startordnername", 1, true, true},
    {Steuerelement::cmdEnde, "Ende", 0, true, true},
    {Steuerelement::cmdOrdnerWaehlen, "&Ordner", 0, true, true},
    {Steuerelement::cmdScannen, "Scannen", 0, true, true},
    {Steuerelement::txtPfadEingabe, "d:\\temp", 0, true, true},
    {Steuerelement::fraMaske, "Datei-Maske", 0, true, true},
    {Steuerelement::lblArbeite, "arbeite ...", 0, true, false},
    {Steuerelement::Label2, "Ebenen", 0, true, true},
    {Steuerelement::lblKeineUnterordner, "Keine Unter-Ordner", 0, true, false},
    {Steuerelement::lblNichtGefunden, "Ordner nicht gefunden", 0, true, false},
    {Steuerelement::lblfertig, "Liste ist in der Zwischenablage", 0, true, false},
    {Steuerelement::Label1, "&Startverzeichnis:", 0, true, true},
};

bool IstCheckBox(Steuerelement s) {
  return s == Steuerelement::cbTab || s == Steuerelement::cbNurOrdnerMitPassendenDateien ||
         s == Steuerelement::cbDateien || s == Steuerelement::cbinkl;
}

}  // namespace

TestFenster::TestFenster() : logik(*this, zwischenablage) {
  for (const Entwurf& e : kEntwurf) (*this)[e.s] = {e.wert, e.text, e.frei, e.sichtbar};
}

void TestFenster::klicke(Steuerelement s) {
  if (!aktiv || !(*this)[s].frei) return;
  Steuer& st = (*this)[s];
  if (IstCheckBox(s)) {
    st.wert = st.wert == 1 ? 0 : 1;
    if (s == Steuerelement::cbDateien) logik.cbDateien_Click();
    if (s == Steuerelement::cbinkl) logik.cbinkl_Click();
    return;
  }
  switch (s) {
    case Steuerelement::optAlleOderLetzte0:
    case Steuerelement::optAlleOderLetzte1: {
      if (st.wert == 1) return;  // already selected: no click event
      const bool eins = s == Steuerelement::optAlleOderLetzte1;
      (*this)[Steuerelement::optAlleOderLetzte0].wert = eins ? 0 : 1;
      (*this)[Steuerelement::optAlleOderLetzte1].wert = eins ? 1 : 0;
      logik.optAlleOderLetzte_Click(eins ? 1 : 0);
      return;
    }
    case Steuerelement::cmdScannen: logik.cmdScannen_Click(); return;
    case Steuerelement::cmdOrdnerWaehlen: logik.cmdOrdnerWählen_Click(); return;
    case Steuerelement::cmdEnde: logik.cmdEnde_Click(); return;
    default: return;
  }
}

void TestFenster::tippe(const std::string& zeichen) {
  for (char c : zeichen) {
    if (!aktiv) return;
    (*this)[Steuerelement::txtPfadEingabe].text += c;
    logik.txtPfadEingabe_Change();
  }
}

void TestFenster::textSetzen(Steuerelement s, const std::string& text) {
  (*this)[s].text = text;
  if (s == Steuerelement::txtPfadEingabe) logik.txtPfadEingabe_Change();
}

void TestFenster::ereignisseVerarbeiten() {
  aufnahmen.push_back({aktiv, (*this)[Steuerelement::lblArbeite].sichtbar,
                       (*this)[Steuerelement::lblArbeite].text});
}

}  // namespace form1_test
