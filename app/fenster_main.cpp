// zweigschau-fenster: the window of zweigschau, which becomes this program
// for everything a person sees: the window, and the usage box of /? on a
// display. Batch runs stay with zweigschau, which loads no toolkit.
#include <QApplication>

#include <string>
#include <vector>

#include "app/server_ende.h"
#include "platform/clipboard_display_x11_wayland.h"
#include "platform/clipboard_x11_wayland.h"
#include "platform/clipboard_server_x11.h"
#include "platform/dialogs.h"
#include "platform/qt_start.h"
#include "run/ausgang.h"
#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "window/form1.h"

namespace {

using zweigschau::Ausgang;

// The row of the table for Qt's failed start.
Ausgang ausgangVon(platform::QtStartProblem::Kind art, bool mitPaket) {
  using Kind = platform::QtStartProblem::Kind;
  switch (art) {
    case Kind::PluginMissing: return mitPaket ? Ausgang::PlattformPaketFehlt : Ausgang::PlattformFehlt;
    case Kind::NoDisplay: return Ausgang::KeinBildschirm;
    case Kind::PluginNotLoaded: return Ausgang::PlattformNichtGeladen;
    case Kind::Other: break;
  }
  return Ausgang::QtStartetNicht;
}

// Qt could not open its platform after all (its plugin is missing, or the
// display went away after the check): the usage still reaches the
// terminal, everything else ends with the table's status and line.
int qtStartetNicht(zweigschau::StartArt art, const platform::QtStartProblem& problem) {
  if (art == zweigschau::StartArt::Anleitung) {
    zweigschau::AnleitungAusgeben();
    return zweigschau::AusgangsZeileVon(Ausgang::InZwischenablage).status;
  }
  zweigschau::Platzhalter werte;
  werte.plattform = problem.plugin;
  werte.paket = problem.package;
  werte.qtZeile = problem.qtLine;
  return zweigschau::AusgangMelden(ausgangVon(problem.kind, !problem.package.empty()), werte);
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<platform::ServerEnd> ende = platform::runClipboardServerIfAsked(argc, argv))
    return zweigschau::ServerStatus(*ende);
  const std::vector<std::string> argumente(argv + 1, argv + argc);
  const zweigschau::StartArt art = zweigschau::StartEntscheiden(argumente).art;
  if (!platform::displayReachable()) return zweigschau::OhneBildschirm(art);

  platform::preferX11();
  platform::guardQtStart([art](const platform::QtStartProblem& problem) { return qtStartetNicht(art, problem); });
  QApplication app(argc, argv);
  platform::qtStarted();
  // The window keeps the clipboard itself while it is open.
  platform::QtClipboard zwischenablage;
  platform::QtDialogs dialoge;
  int status = 0;
  {
    Form1 form(zwischenablage, dialoge);
    if (const std::optional<int> ende = form.Form_Load(argumente)) {
      status = *ende;
    } else {
      form.show();
      app.exec();
    }
  }
  // The clipboard lives in this process; hand the list over before ending.
  if (!platform::keepClipboardAfterExit()) {
    const int fehler = zweigschau::AusgangMelden(Ausgang::Fehler);
    if (status == 0) status = fehler;
  }
  return status;
}
