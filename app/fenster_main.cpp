// zweigschau-fenster: the window of zweigschau, which becomes this program
// for everything a person sees: the window, and the usage box of /? on a
// display. Batch runs stay with zweigschau, which loads no toolkit.
#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

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

// Qt could not open its platform after all (its plugin is missing, or the
// display went away after the check): the usage still reaches the
// terminal, everything else ends with status 3 and one line.
int qtStartetNicht(zweigschau::StartArt art, const std::string& zeile) {
  if (art == zweigschau::StartArt::Anleitung) {
    zweigschau::AnleitungAusgeben();
    return 0;
  }
  std::fprintf(stderr, "zweigschau: %s\n", zeile.c_str());
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int server = platform::runClipboardServerIfAsked(argc, argv); server >= 0) return server;
  const std::vector<std::string> argumente(argv + 1, argv + argc);
  const zweigschau::StartArt art = zweigschau::StartEntscheiden(argumente).art;
  if (!platform::displayReachable()) return zweigschau::OhneBildschirm(art);

  platform::preferX11();
  platform::guardQtStart([art](const std::string& zeile) { return qtStartetNicht(art, zeile); });
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
    const zweigschau::AusgangsZeile& fehler = zweigschau::AusgangsZeileVon(zweigschau::Ausgang::Fehler);
    std::fprintf(stderr, "%s\n", fehler.meldung);
    if (status == 0) status = fehler.status;
  }
  return status;
}
