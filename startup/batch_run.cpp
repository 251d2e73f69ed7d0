#include "startup/batch_run.h"

#include <cstdio>

namespace zweigschau {

std::string KontextmenüMeldung(const ScanErgebnis& ergebnis, std::string_view Ordner) {
  if (const std::string meldung = Meldung(ergebnis); !meldung.empty())
    return Ordner.empty() ? meldung : meldung + ":\n" + std::string(Ordner);
  return std::to_string(ergebnis.Zeilen) + (ergebnis.Zeilen == 1 ? " Zeile" : " Zeilen") + " in der Zwischenablage";
}

void AnleitungAusgeben() {
  std::string text = AnleitungsText();
  for (char& c : text)
    if (c == '\r') c = '\n';
  std::printf("%s\n", text.c_str());
}

int AusgangMelden(Ausgang ausgang, const Platzhalter& werte) {
  if (const std::string zeile = AusgangsMeldung(ausgang, werte); !zeile.empty()) {
    std::fprintf(stderr, "%s\n", zeile.c_str());
    std::fflush(stderr);
  }
  return AusgangsZeileVon(ausgang).status;
}

int OhneBildschirm(StartArt art) {
  if (art == StartArt::Anleitung) {
    AnleitungAusgeben();
    return AusgangsZeileVon(Ausgang::InZwischenablage).status;
  }
  return AusgangMelden(Ausgang::KeinBildschirm);
}

int Stapellauf(Steuerelemente& fenster, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
               const ScanOptionen& werte, ScanErgebnis& ergebnis) {
  ScanOptionen Optionen = werte;
  ergebnis = ListeErstellen(fenster, zwischenablage, Tabelle, Optionen);
  Platzhalter platzhalter;
  platzhalter.nichtLesbar = ergebnis.NichtLesbar;
  return AusgangMelden(ergebnis.ausgang, platzhalter);
}

}  // namespace zweigschau
