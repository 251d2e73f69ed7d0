#include "startup/batch_run.h"

#include <cstdio>

namespace zweigschau {

StapelAusgang StapelAusgangVon(Ausgang ausgang) {
  const AusgangsZeile& zeile = AusgangsZeileVon(ausgang);
  return {zeile.status, zeile.meldung};
}

std::string KontextmenueMeldung(const ScanErgebnis& ergebnis, std::string_view Ordner) {
  const StapelAusgang ausgang = StapelAusgangVon(ergebnis.ausgang);
  if (ausgang.meldung != nullptr)
    return Ordner.empty() ? ausgang.meldung : std::string(ausgang.meldung) + ":\n" + std::string(Ordner);
  return std::to_string(ergebnis.Zeilen) + (ergebnis.Zeilen == 1 ? " Zeile" : " Zeilen") + " in der Zwischenablage";
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
