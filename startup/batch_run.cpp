#include "startup/batch_run.h"

#include <cstdio>

namespace zweigschau {

StapelAusgang StapelAusgangVon(Ausgang ausgang) {
  const AusgangsZeile& zeile = AusgangsZeileVon(ausgang);
  return {zeile.status, zeile.meldung};
}

std::string KontextmenueMeldung(const ScanErgebnis& ergebnis) {
  const StapelAusgang ausgang = StapelAusgangVon(ergebnis.ausgang);
  if (ausgang.meldung != nullptr) return ausgang.meldung;
  return std::to_string(ergebnis.Zeilen) + " Zeilen in der Zwischenablage";
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
