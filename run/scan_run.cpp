#include "run/scan_run.h"

#include <new>

#include "platform/folder_handle.h"
#include "platform/session.h"
#include "text/list_form.h"
#include "walk/list_text.h"
#include "walk/walks.h"

namespace zweigschau {
namespace {

// "~" alone or followed by the separator stands for the home folder, as in
// every file dialog's location field.
std::string heimordnerEinsetzen(const std::string& pfad) {
  if (pfad == "~" || pfad.starts_with(std::string("~") + platform::kSeparator))
    return platform::homeFolder() + pfad.substr(1);
  return pfad;
}

// Steps 6 to 13 of a run, on a trimmed path with its separator.
ScanErgebnis Durchlauf(Anzeige& anzeige, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
                       const std::string& Pfad, bool MitStartordner, std::int32_t Ebenen,
                       bool NurEndpunkte, const std::string& Maske, bool NurOrdnerMitDateien) {
  ScanErgebnis ergebnis;
  anzeige.fensterFreigeben(false);
  Tabelle.clear();
  const std::int32_t Schnittposition =
      MitStartordner ? 1 : static_cast<std::int32_t>(AnzeigeText(Pfad).size()) + 1;

  // Progress: the count of records made so far, refreshed when it changed.
  std::int32_t gezeigt = 0;
  LaufOptionen lauf;
  lauf.Abbruch = anzeige.abbruch();
  lauf.yield = [&](std::int32_t zaehler) {
    if (zaehler != gezeigt) {
      gezeigt = zaehler;
      anzeige.setzeText(StatusLabel::Arbeite, "arbeite ... " + std::to_string(zaehler));
    }
    anzeige.nachgeben();
  };
  std::int32_t Zähler = 0;
  ergebnis.Anzahl = NurEndpunkte
                        ? EndpunkteSammeln(Tabelle, Pfad, Ebenen, Schnittposition, Zähler, lauf)
                        : OrdnerSammeln(Tabelle, Pfad, Ebenen, Schnittposition, Zähler, Maske,
                                        NurOrdnerMitDateien, lauf);
  anzeige.fensterFreigeben(true);
  anzeige.AusgabeZeilenAusschalten();

  if (ergebnis.Anzahl == kAbgebrochen || ergebnis.Anzahl == kKeineMittel) {
    // The clipboard keeps what it held; no label, no beep.
    Tabelle.clear();
    ergebnis.ausgang = ergebnis.Anzahl == kAbgebrochen ? Ausgang::Abgebrochen : Ausgang::KeineMittel;
    return ergebnis;
  }
  if (ergebnis.Anzahl < 0) {
    ergebnis.ausgang = Ausgang::NichtGefunden;
    anzeige.zeigen(StatusLabel::NichtGefunden);
  } else if (ergebnis.Anzahl == 0) {
    ergebnis.ausgang = Ausgang::KeineUnterordner;
    anzeige.zeigen(StatusLabel::KeineUnterordner);
  } else {
    Tabelle.resize(static_cast<std::size_t>(ergebnis.Anzahl));
    // After the end-point walk the list is always made of folder lines.
    const Liste liste = ListenText(Tabelle, !NurEndpunkte && NurOrdnerMitDateien, anzeige.mitTab());
    if (!zwischenablage.setText(liste.Text)) {
      ergebnis.ausgang = Ausgang::Fehler;
      return ergebnis;
    }
    ergebnis.Zeilen = liste.Zeilen;
    ergebnis.ausgang = liste.Zeilen > 0 ? Ausgang::InZwischenablage : Ausgang::KeineZeilen;
    if (liste.Zeilen > 0) {
      anzeige.setzeText(StatusLabel::Fertig, std::to_string(liste.Zeilen) + " in der Zwischenablage");
      anzeige.zeigen(StatusLabel::Fertig);
    }
  }
  if (anzeige.sichtbar()) anzeige.piep();
  return ergebnis;
}

}  // namespace

ScanErgebnis ListeErstellen(Anzeige& anzeige, platform::Clipboard& zwischenablage,
                            OrdnerTabelle& Tabelle, std::string& Pfad, bool MitStartordner,
                            std::int32_t Ebenen, bool NurEndpunkte, const std::string& Maske,
                            bool NurOrdnerMitDateien) {
  ScanErgebnis ergebnis;
  anzeige.setzeText(StatusLabel::Arbeite, "arbeite ...");
  anzeige.zeigen(StatusLabel::Arbeite);

  Pfad = OhneLeerzeichen(Pfad);
  if (Pfad.empty()) {
    // Nothing to do; "arbeite ..." must not stay on screen.
    anzeige.AusgabeZeilenAusschalten();
    return ergebnis;
  }
  Pfad = heimordnerEinsetzen(Pfad);
  if (Pfad.back() != platform::kSeparator) Pfad += platform::kSeparator;
  try {
    return Durchlauf(anzeige, zwischenablage, Tabelle, Pfad, MitStartordner, Ebenen, NurEndpunkte, Maske,
                     NurOrdnerMitDateien);
  } catch (const std::bad_alloc&) {
    // Out of memory on the walk's thread: the run fails as a whole, the
    // clipboard untouched.
    Tabelle.clear();
    anzeige.fensterFreigeben(true);
    anzeige.AusgabeZeilenAusschalten();
    ergebnis.ausgang = Ausgang::KeineMittel;
    return ergebnis;
  }
}

}  // namespace zweigschau
