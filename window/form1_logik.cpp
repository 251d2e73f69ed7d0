#include "window/form1_logik.h"

#include <filesystem>
#include <string_view>

#include "startup/batch_run.h"
#include "startup/number.h"
#include "text/list_form.h"

namespace zweigschau {

namespace {

using S = Steuerelement;

// A walk calls nachgeben very often; the events are processed at most this
// often.
constexpr std::chrono::milliseconds kNachgebenAbstand{30};

Steuerelement LabelVon(StatusLabel label) {
  switch (label) {
    case StatusLabel::Arbeite:
      return S::lblArbeite;
    case StatusLabel::Fertig:
      return S::lblfertig;
    case StatusLabel::NichtGefunden:
      return S::lblNichtGefunden;
    case StatusLabel::KeineUnterordner:
      return S::lblKeineUnterordner;
  }
  return S::lblArbeite;
}

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
      return Stapellauf(*this, zwischenablage_, tabelle_, start.werte, letztesErgebnis_);
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
  if (scanLaeuft_)
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

void Form1Logik::AusgabeZeilenAusschalten() {
  fenster_.einblenden(S::lblArbeite, false);
  fenster_.einblenden(S::lblfertig, false);
  fenster_.einblenden(S::lblNichtGefunden, false);
  fenster_.einblenden(S::lblKeineUnterordner, false);
  if (fenster_.fensterGezeigt()) fenster_.fokusSetzen(S::txtPfadEingabe);
}

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
  std::string Pfad = fenster_.text(S::txtPfadEingabe);
  const bool MitStartordner = fenster_.wert(S::cbinkl) == 1;
  const std::int32_t Ebenen = ZahlLesen(fenster_.text(S::txtEbenen));
  const bool NurEndpunkte = fenster_.wert(S::optAlleOderLetzte0) == 1;
  const bool dateien = fenster_.wert(S::cbDateien) == 1;
  std::string Maske;
  if (dateien)
    Maske = OhneLeerzeichen(fenster_.text(S::comMaskeName)) + '.' +
            OhneLeerzeichen(fenster_.text(S::comMaskeTyp));
  const bool NurOrdnerMitDateien = dateien && fenster_.wert(S::cbNurOrdnerMitPassendenDateien) == 1;
  abbruch_ = false;
  scanLaeuft_ = true;
  letztesErgebnis_ = ListeErstellen(*this, zwischenablage_, tabelle_, Pfad, MitStartordner, Ebenen,
                                    NurEndpunkte, Maske, NurOrdnerMitDateien);
  scanLaeuft_ = false;
}

void Form1Logik::zeigen(StatusLabel label) { fenster_.einblenden(LabelVon(label), true); }

void Form1Logik::setzeText(StatusLabel label, const std::string& text) {
  fenster_.textSetzen(LabelVon(label), text);
}

void Form1Logik::fensterFreigeben(bool frei) { fenster_.fensterAktiv(frei); }

void Form1Logik::nachgeben() {
  const auto jetzt = std::chrono::steady_clock::now();
  if (letztesNachgeben_ && jetzt - *letztesNachgeben_ < kNachgebenAbstand) return;
  fenster_.ereignisseVerarbeiten();
  letztesNachgeben_ = std::chrono::steady_clock::now();
}

bool Form1Logik::sichtbar() const { return fenster_.fensterGezeigt(); }

void Form1Logik::piep() { fenster_.signalton(); }

bool Form1Logik::mitTab() const { return fenster_.wert(S::cbTab) != 0; }

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
