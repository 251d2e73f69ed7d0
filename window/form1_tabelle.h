// Form1's controls, one row each, in the order the window creates them:
// the Win32 control id, the design name, the kind, the caption (or the start
// text of a text or combo box) and the tab index. Both windows take their
// captions and tab order from here, and the tests name and find the
// controls by it. Texts are UTF-8; "&" marks an access key, one letter per
// control that takes the focus (a label's or the frame's goes to the box
// after it), none used twice.
#pragma once

#include <cstddef>
#include <iterator>

#include "run/steuerelemente.h"
#include "window/form1_ids.h"

namespace zweigschau {

enum class SteuerArt { Textfeld, Kombinationsfeld, Kontrollkaestchen, Optionsfeld, Schaltflaeche, Rahmen, Beschriftung };

struct SteuerZeile {
  Steuerelement steuer;
  int id;
  const char* name;
  SteuerArt art;
  const char* text;
  int tabIndex;
};

inline constexpr SteuerZeile kForm1Steuer[] = {
    {Steuerelement::comMaskeName, IDC_comMaskeName, "comMaskeName", SteuerArt::Kombinationsfeld, "*", 9},
    {Steuerelement::comMaskeTyp, IDC_comMaskeTyp, "comMaskeTyp", SteuerArt::Kombinationsfeld, "*", 10},
    {Steuerelement::cbTab, IDC_cbTab, "cbTab", SteuerArt::Kontrollkaestchen, "mit &Tab", 7},
    {Steuerelement::cbNurOrdnerMitPassendenDateien, IDC_cbNurOrdnerMitPassendenDateien,
     "cbNurOrdnerMitPassendenDateien", SteuerArt::Kontrollkaestchen, "nur Ordner &mit Dateien", 8},
    {Steuerelement::cbDateien, IDC_cbDateien, "cbDateien", SteuerArt::Kontrollkaestchen, "&Dateien", 6},
    {Steuerelement::optAlleOderLetzte1, IDC_optAlleOderLetzte1, "optAlleOderLetzte1", SteuerArt::Optionsfeld,
     "&komplette Pfade", 5},
    {Steuerelement::optAlleOderLetzte0, IDC_optAlleOderLetzte0, "optAlleOderLetzte0", SteuerArt::Optionsfeld,
     "&nur Endpunkte", 4},
    {Steuerelement::txtEbenen, IDC_txtEbenen, "txtEbenen", SteuerArt::Textfeld, "0", 2},
    {Steuerelement::cbinkl, IDC_cbinkl, "cbinkl", SteuerArt::Kontrollkaestchen, "&inkl. Startordnername", 3},
    {Steuerelement::cmdEnde, IDC_cmdEnde, "cmdEnde", SteuerArt::Schaltflaeche, "Ende", 12},
    {Steuerelement::cmdOrdnerWaehlen, IDC_cmdOrdnerWaehlen, "cmdOrdnerWählen", SteuerArt::Schaltflaeche, "&Ordner", 1},
    {Steuerelement::cmdScannen, IDC_cmdScannen, "cmdScannen", SteuerArt::Schaltflaeche, "Scannen", 11},
    {Steuerelement::txtPfadEingabe, IDC_txtPfadEingabe, "txtPfadEingabe", SteuerArt::Textfeld, "d:\\temp", 0},
    {Steuerelement::fraMaske, IDC_fraMaske, "fraMaske", SteuerArt::Rahmen, "Datei-M&aske", 19},
    {Steuerelement::lblArbeite, IDC_lblArbeite, "lblArbeite", SteuerArt::Beschriftung, "arbeite ...", 18},
    {Steuerelement::Label2, IDC_Label2, "Label2", SteuerArt::Beschriftung, "&Ebenen", 17},
    {Steuerelement::lblKeineUnterordner, IDC_lblKeineUnterordner, "lblKeineUnterordner", SteuerArt::Beschriftung,
     "Keine Unter-Ordner", 16},
    {Steuerelement::lblNichtGefunden, IDC_lblNichtGefunden, "lblNichtGefunden", SteuerArt::Beschriftung,
     "Ordner nicht gefunden", 15},
    {Steuerelement::lblfertig, IDC_lblfertig, "lblfertig", SteuerArt::Beschriftung,
     "Liste ist in der Zwischenablage", 14},
    {Steuerelement::Label1, IDC_Label1, "Label1", SteuerArt::Beschriftung, "&Startverzeichnis:", 13},
    {Steuerelement::Label3, IDC_Label3, "Label3", SteuerArt::Beschriftung, "T&yp", 20},
};

inline constexpr std::size_t kForm1Anzahl = std::size(kForm1Steuer);

// The row of control `s`: the rows follow the order of Steuerelement.
constexpr const SteuerZeile& Zeile(Steuerelement s) { return kForm1Steuer[static_cast<std::size_t>(s)]; }

// The row with tab index `i` (0 .. kForm1Anzahl - 1).
constexpr const SteuerZeile& ZeileMitTabIndex(int i) {
  for (const SteuerZeile& z : kForm1Steuer)
    if (z.tabIndex == i) return z;
  return kForm1Steuer[0];
}

// True for the controls that take the focus: not the labels and the frame.
constexpr bool NimmtFokus(const SteuerZeile& z) {
  return z.art != SteuerArt::Beschriftung && z.art != SteuerArt::Rahmen;
}

// True for the four labels a scan run shows, one at a time, in the corner.
constexpr bool IstStatusAnzeige(const SteuerZeile& z) {
  return z.steuer == Steuerelement::lblArbeite || z.steuer == Steuerelement::lblKeineUnterordner ||
         z.steuer == Steuerelement::lblNichtGefunden || z.steuer == Steuerelement::lblfertig;
}

namespace form1_tabelle_pruefung {
constexpr bool reihenfolgeStimmt() {
  for (std::size_t i = 0; i < kForm1Anzahl; ++i) {
    if (static_cast<std::size_t>(kForm1Steuer[i].steuer) != i) return false;
    if (ZeileMitTabIndex(static_cast<int>(i)).tabIndex != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(reihenfolgeStimmt(), "one row per control, in Steuerelement's order, tab indexes 0 .. n-1");
}  // namespace form1_tabelle_pruefung

}  // namespace zweigschau
