#include "test_fenster.h"

namespace form1_test {

namespace {

bool IstCheckBox(Steuerelement s) {
  return zweigschau::Zeile(s).art == zweigschau::SteuerArt::Kontrollkaestchen;
}

}  // namespace

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

}  // namespace form1_test
