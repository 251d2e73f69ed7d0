// zweigschau.exe: lists a folder tree onto the clipboard. Without
// arguments it opens its window; /? shows the usage box; /o:FOLDER makes
// one run without showing the window and ends with the batch run's exit
// status. The raw command line is read as Windows gives it.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/clipboard_win.h"
#include "platform/command_line_win.h"
#include "window/form1_win.h"

int main() {
  const INITCOMMONCONTROLSEX steuer{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&steuer);
  // The folder picker is a COM object of the shell.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  platform::WinClipboard zwischenablage;
  int status = 0;
  {
    Form1 form(zwischenablage);
    if (const std::optional<int> ende = form.Form_Load(platform::commandLineArguments())) {
      status = *ende;
    } else {
      form.Zeigen();
      status = form.Ausfuehren();
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
