#include "startup/batch_run.h"

#include <cstdio>

namespace zweigschau {

StapelAusgang StapelAusgangVon(Ausgang ausgang) {
  switch (ausgang) {
    case Ausgang::InZwischenablage:
      return {0, nullptr};
    case Ausgang::LeererPfad:
    case Ausgang::NichtGefunden:
      return {1, "Ordner nicht gefunden"};
    case Ausgang::KeineUnterordner:
    case Ausgang::KeineZeilen:
      return {2, "Keine Unter-Ordner"};
    case Ausgang::KeineMittel:
      return {3, "Zu wenig Speicher oder Datei-Handles frei"};
    case Ausgang::Uebernommen:
      return {3, "Zwischenablage von einem anderen Programm übernommen"};
    case Ausgang::Abgebrochen:  // a batch run cannot be cancelled but by a signal
    case Ausgang::Fehler:
      break;
  }
  return {3, "Zwischenablage nicht erreichbar"};
}

int Stapellauf(Steuerelemente& fenster, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
               const ScanOptionen& werte, ScanErgebnis& ergebnis) {
  ScanOptionen Optionen = werte;
  ergebnis = ListeErstellen(fenster, zwischenablage, Tabelle, Optionen);
  const StapelAusgang ausgang = StapelAusgangVon(ergebnis.ausgang);
  if (ausgang.meldung != nullptr) {
    std::fprintf(stderr, "%s\n", ausgang.meldung);
    std::fflush(stderr);
  }
  return ausgang.status;
}

}  // namespace zweigschau
