#include "window/form1_logik.h"

#include <filesystem>
#include <string_view>

#include "startup/batch_run.h"
#include "startup/number.h"
#include "text/list_form.h"

namespace zweigschau {

namespace {

using S = Steuerelement;

std::filesystem::path AlsPfad(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The folder meant by a drop: the first dropped folder, else the folder of
// the first dropped file; "" when nothing was dropped.
std::string AbgelegterOrdner(const std::vector<std::string>& Pfade) {
  for (const std::string& pfad : Pfade) {
    std::error_code fehler;
    if (!pfad.empty() && std::filesystem::is_directory(AlsPfad(pfad), fehler)) return pfad;
  }
  for (const std::string& pfad : Pfade) {
    if (pfad.empty()) continue;
    const std::u8string ordner = AlsPfad(pfad).parent_path().u8string();
    return std::string(ordner.begin(), ordner.end());
  }
  return {};
}

}  // namespace

Form1Logik::Form1Logik(Steuerelemente& fenster, platform::Clipboard& zwischenablage)
    : fenster_(fenster), zwischenablage_(zwischenablage) {}

Form1Logik::~Form1Logik() = default;

// ---- Start-up, usage box, end ------------------------------------------

std::optional<int> Form1Logik::Form_Load(const StartEntscheidung& start) {
  switch (start.art) {
    case StartArt::Anleitung:
      Anleitung(true);
      return 0;
    case StartArt::Stapellauf:
      return Stapellauf(fenster_, zwischenablage_, tabelle_, start.werte, letztesErgebnis_);
    case StartArt::Fenster:
      break;
  }
  if (!start.ordner.empty()) fenster_.textSetzen(S::txtPfadEingabe, start.ordner);
  DateiFelderAnAus(fenster_.wert(S::optAlleOderLetzte1) == 1);
  return std::nullopt;
}

void Form1Logik::Anleitung(bool UndBeenden) {
  fenster_.meldung("MORVAs Zweigschau (Freeware)", AnleitungsText());
  if (UndBeenden) cmdEnde_Click();
}

void Form1Logik::Form_DblClick() { Anleitung(false); }

// Ending the program while a scan runs cancels the scan first: its walk
// returns at once and the clipboard is left alone.
void Form1Logik::cmdEnde_Click() {
  abbruch_ = true;
  beendet_ = true;
  fenster_.beenden();
}

void Form1Logik::Abbrechen() {
  if (scanLäuft_)
    abbruch_ = true;
  else
    cmdEnde_Click();
}

// ---- Control rules -----------------------------------------------------

void Form1Logik::DateiFelderAnAus(bool AnAus) {
  fenster_.freigeben(S::cbTab, AnAus);
  fenster_.freigeben(S::cbNurOrdnerMitPassendenDateien, AnAus && fenster_.wert(S::cbDateien) == 1);
  fenster_.freigeben(S::comMaskeName, AnAus && fenster_.wert(S::cbDateien) == 1);
  fenster_.freigeben(S::comMaskeTyp, AnAus && fenster_.wert(S::cbDateien) == 1);
}

void Form1Logik::AusgabeZeilenAusschalten() { zweigschau::AusgabeZeilenAusschalten(fenster_); }

void Form1Logik::cbDateien_Click() { DateiFelderAnAus(fenster_.wert(S::cbDateien) != 0); }

void Form1Logik::cbinkl_Click() { AusgabeZeilenAusschalten(); }

void Form1Logik::optAlleOderLetzte_Click(int /*Index*/) {
  const bool komplettePfade = fenster_.wert(S::optAlleOderLetzte1) == 1;
  fenster_.freigeben(S::cbDateien, komplettePfade);
  DateiFelderAnAus(komplettePfade);
}

void Form1Logik::txtPfadEingabe_Change() {
  AusgabeZeilenAusschalten();
  if (fenster_.wert(S::optAlleOderLetzte1) == 1) optAlleOderLetzte_Click(1);
}

// ---- Scan run ----------------------------------------------------------

void Form1Logik::cmdScannen_Click() {
  AusgabeZeilenAusschalten();
  ScanOptionen Optionen;
  Optionen.Pfad = fenster_.text(S::txtPfadEingabe);
  Optionen.MitStartordner = fenster_.wert(S::cbinkl) == 1;
  Optionen.Ebenen = ZahlLesen(fenster_.text(S::txtEbenen));
  Optionen.NurEndpunkte = fenster_.wert(S::optAlleOderLetzte0) == 1;
  const bool dateien = fenster_.wert(S::cbDateien) == 1;
  if (dateien)
    Optionen.Maske = OhneLeerzeichen(fenster_.text(S::comMaskeName)) + '.' +
                     OhneLeerzeichen(fenster_.text(S::comMaskeTyp));
  Optionen.NurOrdnerMitDateien = dateien && fenster_.wert(S::cbNurOrdnerMitPassendenDateien) == 1;
  abbruch_ = false;
  scanLäuft_ = true;
  letztesErgebnis_ = ListeErstellen(fenster_, zwischenablage_, tabelle_, Optionen, &abbruch_);
  scanLäuft_ = false;
}

// ---- Folder picker -----------------------------------------------------

void Form1Logik::OrdnerAbgelegt(const std::vector<std::string>& Pfade) {
  const std::string ordner = AbgelegterOrdner(Pfade);
  if (ordner.empty()) return;
  fenster_.textSetzen(S::txtPfadEingabe, ordner);
  AusgabeZeilenAusschalten();
}

void Form1Logik::cmdOrdnerWählen_Click() {
  if (!ordnerWahl_) ordnerWahl_ = std::make_unique<OrdnerWahl>();
  const std::string gewählt = ordnerWahl_->OrdnerWählen(fenster_);
  if (!gewählt.empty()) fenster_.textSetzen(S::txtPfadEingabe, gewählt);
  AusgabeZeilenAusschalten();
}

}  // namespace zweigschau
