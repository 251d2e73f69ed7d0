// zweigschau.exe: lists a folder tree onto the clipboard. Without
// arguments it opens its window; /? shows the usage box; /o:FOLDER makes
// one run without showing the window and ends with the batch run's exit
// status. The raw command line is read as Windows gives it.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/clipboard_win.h"
#include "platform/command_line_win.h"
#include "platform/message_box_win.h"
#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "window/form1_win.h"

int main() {
  const INITCOMMONCONTROLSEX steuer{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&steuer);
  // The folder picker is a COM object of the shell.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  platform::WinClipboard zwischenablage;
  const std::string befehlszeile = platform::commandLineArguments();
  int status = 0;
  {
    Form1 form(zwischenablage);
    if (const std::optional<int> ende = form.Form_Load(befehlszeile)) {
      status = *ende;
      // Started from Explorer's menu: no console shows a failure, so a box
      // names it and the folder it concerns.
      const zweigschau::StartEntscheidung start = zweigschau::StartEntscheidenText(befehlszeile);
      if (status != 0 && start.ausKontextmenü)
        platform::showError("MORVAs Zweigschau",
                            zweigschau::KontextmenüMeldung(form.letztesErgebnis(),
                                                            zweigschau::PfadGetrimmt(start.werte.Pfad)));
    } else {
      form.Zeigen();
      status = form.Ausführen();
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
