#include "run/scan_run.h"

#include <chrono>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "platform/folder_handle.h"
#include "platform/session.h"
#include "text/file_uri.h"
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

using S = Steuerelement;

// A walk calls back after every folder. The window's events are processed
// at most this often: the window answers assistive technology only then,
// and each of its calls should take no more than 10 ms.
constexpr std::chrono::milliseconds kNachgebenAbstand{4};
// The count in "arbeite ..." is refreshed at most this often: a person
// reads no more, and each change is news for a screen reader.
constexpr std::chrono::milliseconds kAnzeigeAbstand{100};

// The walk's callback: the window's events now and then, and the count of
// records made so far in "arbeite ...", when it changed.
YieldFn Fortschritt(Steuerelemente& fenster) {
  struct Stand {
    std::int32_t gezeigt = 0;
    std::optional<std::chrono::steady_clock::time_point> nachgegeben;
    std::optional<std::chrono::steady_clock::time_point> angezeigt;
  };
  return [&fenster, stand = std::make_shared<Stand>()](std::int32_t zähler) {
    const auto jetzt = std::chrono::steady_clock::now();
    if (stand->nachgegeben && jetzt - *stand->nachgegeben < kNachgebenAbstand) return;
    if (zähler != stand->gezeigt && !(stand->angezeigt && jetzt - *stand->angezeigt < kAnzeigeAbstand)) {
      stand->gezeigt = zähler;
      stand->angezeigt = jetzt;
      fenster.textSetzen(S::lblArbeite, "arbeite ... " + std::to_string(zähler));
    }
    fenster.ereignisseVerarbeiten();
    stand->nachgegeben = std::chrono::steady_clock::now();
  };
}

Ausgang WarumNichtGelistet(const std::string& pfad) {
  switch (platform::whyStartFailed(pfad)) {
    case platform::StartFailure::notFolder: return Ausgang::KeinOrdner;
    case platform::StartFailure::noAccess: return Ausgang::KeinZugriff;
    case platform::StartFailure::missing: break;
  }
  return Ausgang::NichtGefunden;
}

// Steps 6 to 12 up to the list output: the walk the options ask for.
SammelErgebnis Sammeln(Steuerelemente& fenster, OrdnerTabelle& Tabelle, const ScanOptionen& Optionen,
                     const std::atomic<bool>* Abbruch) {
  SammelOptionen sammeln;
  sammeln.Pfad = Optionen.Pfad;
  sammeln.Ebenen = Optionen.Ebenen;
  sammeln.StartPos =
      Optionen.MitStartordner ? 1 : static_cast<std::int32_t>(AnzeigeText(Optionen.Pfad).size()) + 1;
  sammeln.yield = Fortschritt(fenster);
  sammeln.cancel = Abbruch;
  std::int32_t Zähler = 0;
  if (Optionen.NurEndpunkte) return EndpunkteSammeln(Tabelle, sammeln, Zähler);
  sammeln.Maske = Optionen.Maske;
  sammeln.NurMitDateien = Optionen.NurOrdnerMitDateien;
  return OrdnerSammeln(Tabelle, sammeln, Zähler);
}

// The list output and its label; false when the clipboard is out of reach.
bool Ausgeben(Steuerelemente& fenster, platform::Clipboard& zwischenablage, OrdnerTabelle& Tabelle,
              const ScanOptionen& Optionen, ScanErgebnis& ergebnis) {
  Tabelle.resize(static_cast<std::size_t>(ergebnis.Anzahl));
  // After the end-point walk the list is always made of folder lines.
  const bool mitTab = fenster.wert(S::cbTab) != 0;
  // The table is used up here: its memory becomes the list's, and the list
  // goes to the clipboard while its own memory is given back.
  const Liste liste =
      ListenText(std::move(Tabelle), !Optionen.NurEndpunkte && Optionen.NurOrdnerMitDateien, mitTab);
  if (!zwischenablage.setTextReleasing(liste.Text)) {
    ergebnis.ausgang = zwischenablage.takenByOther()       ? Ausgang::Uebernommen
                       : zwischenablage.shortOfProcesses() ? Ausgang::KeineThreads
                                                           : Ausgang::Fehler;
    return false;
  }
  ergebnis.Zeilen = liste.Zeilen;
  ergebnis.ausgang = liste.Zeilen > 0 ? Ausgang::InZwischenablage : Ausgang::KeineZeilen;
  // Also for no line: the clipboard was emptied, and the person sees why.
  fenster.textSetzen(S::lblfertig, std::to_string(liste.Zeilen) + " in der Zwischenablage");
  fenster.einblenden(S::lblfertig, true);
  return true;
}

// The red label with the outcome's line, in place of any other.
void RotMelden(Steuerelemente& fenster, const ScanErgebnis& ergebnis) {
  fenster.einblenden(S::lblfertig, false);
  fenster.textSetzen(S::lblNichtGefunden, Meldung(ergebnis));
  fenster.einblenden(S::lblNichtGefunden, true);
}

// Why a walk ended without its list, as the run's outcome.
Ausgang WarumOhneListe(const SammelErgebnis& gesammelt, const std::string& pfad) {
  switch (gesammelt.Fehler) {
    case platform::Failure::Cancelled: return Ausgang::Abgebrochen;
    case platform::Failure::NoMemory: return Ausgang::KeinSpeicher;
    case platform::Failure::Short: return Ausgang::KeineMittel;
    case platform::Failure::None: break;
    case platform::Failure::Denied:
    case platform::Failure::Broken: return WarumNichtGelistet(pfad);
  }
  return Ausgang::NichtGefunden;
}

// Steps 6 to 13 of a run, on a trimmed path with its separator.
ScanErgebnis Durchlauf(Steuerelemente& fenster, platform::Clipboard& zwischenablage,
                       OrdnerTabelle& Tabelle, const ScanOptionen& Optionen,
                       const std::atomic<bool>* Abbruch) {
  ScanErgebnis ergebnis;
  fenster.fensterAktiv(false);
  Tabelle.clear();
  const SammelErgebnis gesammelt = Sammeln(fenster, Tabelle, Optionen, Abbruch);
  ergebnis.Anzahl = gesammelt.Anzahl;
  ergebnis.NichtLesbar = gesammelt.NichtLesbar;
  fenster.fensterAktiv(true);
  AusgabeZeilenAusschalten(fenster);

  if (gesammelt.Fehler != platform::Failure::None && ergebnis.Anzahl >= 0) {
    // Cancelled, or short of memory or handles: the clipboard keeps what it
    // held; no beep. A cancelled scan says so in the neutral count label,
    // until the next input: in the working label's colours it would look as
    // if it still ran.
    Tabelle.clear();
    ergebnis.ausgang = WarumOhneListe(gesammelt, Optionen.Pfad);
    if (ergebnis.ausgang == Ausgang::Abgebrochen) {
      fenster.textSetzen(S::lblfertig, "abgebrochen");
      fenster.einblenden(S::lblfertig, true);
    }
    return ergebnis;
  }
  if (ergebnis.Anzahl < 0) {
    // The label names why the start folder could not be listed.
    ergebnis.ausgang = WarumOhneListe(gesammelt, Optionen.Pfad);
    RotMelden(fenster, ergebnis);
  } else if (ergebnis.Anzahl == 0) {
    ergebnis.ausgang = Ausgang::KeineUnterordner;
    fenster.einblenden(S::lblKeineUnterordner, true);
  } else if (!Ausgeben(fenster, zwischenablage, Tabelle, Optionen, ergebnis)) {
    return ergebnis;
  } else if (ergebnis.NichtLesbar > 0) {
    // The list of all that could be read is on the clipboard; the red label
    // says that it is short, in place of the count.
    ergebnis.ausgang = Ausgang::Teilliste;
    RotMelden(fenster, ergebnis);
  }
  if (fenster.fensterGezeigt()) fenster.signalton();
  return ergebnis;
}

}  // namespace

std::string PfadGetrimmt(std::string_view eingabe) {
  // Blanks around it, and a line break after it (copied from a terminal).
  std::string pfad = OhneLeerzeichen(eingabe);
  while (!pfad.empty() && (pfad.back() == '\n' || pfad.back() == '\r')) {
    pfad.pop_back();
    pfad = OhneLeerzeichen(pfad);
  }
  // A path copied in quotes, unless a folder has that name, quotes and all.
  const bool inAnführungszeichen = pfad.size() >= 2 && pfad.front() == pfad.back() &&
                                    std::string_view(platform::kPathQuotes).find(pfad.front()) != std::string_view::npos;
  if (inAnführungszeichen && platform::whyStartFailed(pfad) == platform::StartFailure::missing)
    pfad = OhneLeerzeichen(pfad.substr(1, pfad.size() - 2));
  // A folder copied in a file manager and pasted as text is a file URI.
  if (std::optional<std::string> lokal = text::pathFromFileUri(pfad, platform::kSeparator)) pfad = *lokal;
  return pfad;
}

std::string Meldung(const ScanErgebnis& ergebnis) {
  return AusgangsMeldung(ergebnis.ausgang, ergebnis.NichtLesbar);
}

void AusgabeZeilenAusschalten(Steuerelemente& fenster) {
  fenster.einblenden(S::lblArbeite, false);
  fenster.einblenden(S::lblfertig, false);
  fenster.einblenden(S::lblNichtGefunden, false);
  fenster.einblenden(S::lblKeineUnterordner, false);
  if (fenster.fensterGezeigt()) fenster.fokusSetzen(S::txtPfadEingabe);
}

ScanErgebnis ListeErstellen(Steuerelemente& fenster, platform::Clipboard& zwischenablage,
                            OrdnerTabelle& Tabelle, ScanOptionen& Optionen,
                            const std::atomic<bool>* Abbruch) {
  ScanErgebnis ergebnis;
  fenster.textSetzen(S::lblArbeite, "arbeite ...");
  fenster.einblenden(S::lblArbeite, true);

  std::string& Pfad = Optionen.Pfad;
  Pfad = PfadGetrimmt(Pfad);
  if (Pfad.empty()) {
    // Nothing to walk: the window says so, as the batch run does.
    AusgabeZeilenAusschalten(fenster);
    fenster.textSetzen(S::lblNichtGefunden, AusgangsZeileVon(ergebnis.ausgang).meldung);
    fenster.einblenden(S::lblNichtGefunden, true);
    if (fenster.fensterGezeigt()) fenster.signalton();
    return ergebnis;
  }
  // A relative path or one with "." and ".." steps becomes the whole path
  // it names, as the window shows a folder given on its command line.
  Pfad = platform::fullPath(heimordnerEinsetzen(Pfad));
  if (Pfad.back() != platform::kSeparator) Pfad += platform::kSeparator;
  try {
    return Durchlauf(fenster, zwischenablage, Tabelle, Optionen, Abbruch);
  } catch (const std::bad_alloc&) {
    // Out of memory on the walk's thread: the run fails as a whole, the
    // clipboard untouched.
    Tabelle.clear();
    fenster.fensterAktiv(true);
    AusgabeZeilenAusschalten(fenster);
    ergebnis.ausgang = Ausgang::KeinSpeicher;
    return ergebnis;
  }
}

}  // namespace zweigschau
