#include "run/ausgang.h"

#include <iterator>

namespace zweigschau {

const AusgangsZeile kAusgaenge[] = {
    {Ausgang::InZwischenablage, 0, nullptr},
    {Ausgang::Teilliste, 6, "Liste unvollständig: N Ordner nicht lesbar"},
    {Ausgang::LeererPfad, 1, "Ordner nicht gefunden"},
    {Ausgang::NichtGefunden, 1, "Ordner nicht gefunden"},
    {Ausgang::KeinOrdner, 4, "Kein Ordner"},
    {Ausgang::KeinZugriff, 5, "Kein Zugriff auf den Ordner"},
    {Ausgang::KeineUnterordner, 2, "Keine Unter-Ordner"},
    {Ausgang::KeineZeilen, 2, "Keine Unter-Ordner"},
    {Ausgang::KeinSpeicher, 3, "Zu wenig Speicher frei"},
    {Ausgang::KeineMittel, 3, "Zu wenig Speicher oder Datei-Handles frei"},
    {Ausgang::KeineHandles, 3, "Zu wenige Datei-Handles frei (Grenze offener Dateien)"},
    {Ausgang::KeineThreads, 3, "Zu wenig Speicher oder Threads frei"},
    {Ausgang::Uebernommen, 3, "Zwischenablage von einem anderen Programm übernommen"},
    {Ausgang::Fehler, 3, "Zwischenablage nicht erreichbar"},
    {Ausgang::Abgebrochen, 3, "Abgebrochen"},
};
const std::size_t kAusgaengeAnzahl = std::size(kAusgaenge);

const AusgangsZeile& AusgangsZeileVon(Ausgang ausgang) {
  // The rows stand in the order of the enum (checked by the tests).
  return kAusgaenge[static_cast<std::size_t>(ausgang)];
}

std::string AusgangsMeldung(Ausgang ausgang, std::int32_t nichtLesbar) {
  const char* meldung = AusgangsZeileVon(ausgang).meldung;
  if (meldung == nullptr) return {};
  std::string zeile = meldung;
  if (const std::size_t n = zeile.find(" N "); n != std::string::npos)
    zeile.replace(n + 1, 1, std::to_string(nichtLesbar));
  return zeile;
}

}  // namespace zweigschau
