#include "run/ausgang.h"

#include <iterator>
#include <string_view>

namespace zweigschau {

const AusgangsZeile kAusgänge[] = {
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
    {Ausgang::KeinBildschirm, 3, "zweigschau: kein Bildschirm erreichbar (DISPLAY oder WAYLAND_DISPLAY)"},
    {Ausgang::FensterFehlt, 3, "zweigschau: zweigschau-fenster fehlt"},
    {Ausgang::PlattformFehlt, 3, "zweigschau: Qt-Plattform \"P\" fehlt"},
    {Ausgang::PlattformPaketFehlt, 3, "zweigschau: Qt-Plattform \"P\" fehlt (Debian-Paket D)"},
    {Ausgang::PlattformNichtGeladen, 3, "zweigschau: Qt-Plattform \"P\" lässt sich nicht laden"},
    {Ausgang::QtStartetNicht, 3, "zweigschau: Qt startet nicht: Q"},
    {Ausgang::OhneAuftrag, 2, "zweigschau-clipboard-server: nur zweigschau startet dieses Programm"},
    {Ausgang::Abgebrochen, 3, "Abgebrochen"},
};
const std::size_t kAusgängeAnzahl = std::size(kAusgänge);

const AusgangsZeile& AusgangsZeileVon(Ausgang ausgang) {
  // The rows stand in the order of the enum (checked by the tests).
  return kAusgänge[static_cast<std::size_t>(ausgang)];
}

namespace {

bool buchstabeOderZiffer(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// What the placeholder `zeichen` stands for; nullptr when it is none.
const std::string* wertVon(char zeichen, const Platzhalter& werte, const std::string& anzahl) {
  switch (zeichen) {
    case 'N': return &anzahl;
    case 'P': return &werte.plattform;
    case 'D': return &werte.paket;
    case 'Q': return &werte.qtZeile;
    default: return nullptr;
  }
}

}  // namespace

std::string AusgangsMeldung(Ausgang ausgang, const Platzhalter& werte) {
  const char* meldung = AusgangsZeileVon(ausgang).meldung;
  if (meldung == nullptr) return {};
  const std::string_view vorlage = meldung;
  const std::string anzahl = std::to_string(werte.nichtLesbar);
  std::string zeile;
  // One pass over the row's text, so that a value is never read as a
  // placeholder itself.
  for (std::size_t i = 0; i < vorlage.size(); ++i) {
    const bool allein = (i == 0 || !buchstabeOderZiffer(vorlage[i - 1])) &&
                        (i + 1 == vorlage.size() || !buchstabeOderZiffer(vorlage[i + 1]));
    const std::string* wert = allein ? wertVon(vorlage[i], werte, anzahl) : nullptr;
    if (wert != nullptr)
      zeile += *wert;
    else
      zeile += vorlage[i];
  }
  return zeile;
}

std::string AusgangsMeldung(Ausgang ausgang, std::int32_t nichtLesbar) {
  Platzhalter werte;
  werte.nichtLesbar = nichtLesbar;
  return AusgangsMeldung(ausgang, werte);
}

}  // namespace zweigschau
