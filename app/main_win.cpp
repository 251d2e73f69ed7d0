// zweigschau.exe: lists a folder tree onto the clipboard. /? shows the
// usage box; /o:FOLDER makes one run without a window and ends with the
// batch run's exit status. The raw command line is read as Windows gives it.
#include <string>

#include "platform/clipboard_win.h"
#include "platform/command_line_win.h"
#include "platform/message_box_win.h"
#include "startup/batch_run.h"
#include "startup/command_line.h"

namespace {

constexpr char kTitel[] = "MORVAs Zweigschau (Freeware)";

int stapellauf(const zweigschau::StapelWerte& werte) {
  zweigschau::OhneFenster fenster;
  platform::WinClipboard zwischenablage;
  zweigschau::OrdnerTabelle tabelle;
  zweigschau::ScanErgebnis ergebnis;
  return zweigschau::Stapellauf(fenster, zwischenablage, tabelle, werte, ergebnis);
}

}  // namespace

int main() {
  const zweigschau::StartEntscheidung start =
      zweigschau::StartEntscheidenText(platform::commandLineArguments());
  switch (start.art) {
    case zweigschau::StartArt::Anleitung:
      platform::showInformation(kTitel, zweigschau::AnleitungsText());
      return 0;
    case zweigschau::StartArt::Stapellauf:
      return stapellauf(start.werte);
    case zweigschau::StartArt::Fenster:
      break;
  }
  platform::showInformation(kTitel,
                            "Das Fenster ist in dieser Windows-Ausgabe noch nicht verf\xC3\xBC" "gbar.\r"
                            "Stapellauf: zweigschau /o:Ordner (Parameter: zweigschau /?)");
  return 0;
}
