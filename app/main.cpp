// zweigschau: lists a folder tree onto the clipboard. With /o:FOLDER it
// makes one run without a window and ends; without it, it opens its window
// (the program zweigschau-fenster, which it becomes); /? shows the usage
// text. A batch run loads no toolkit: Form1's rules run over controls that
// are never shown, and the list goes straight to the clipboard server
// (X11) or to wl-copy (Wayland).
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/server_ende.h"
#include "platform/clipboard_display_x11_wayland.h"
#include "platform/clipboard_server_x11.h"
#include "platform/desktop_notification.h"
#include "platform/folder_handle.h"
#include "run/ausgang.h"
#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "window/form1_logik.h"

namespace {

using zweigschau::Ausgang;

// The window's program: beside this one (build tree) or in libexec
// (installed).
constexpr const char* kFensterProgramm = "zweigschau-fenster";

// The handles a walk needs at the least (see handleBudget).
constexpr std::size_t kWenigsteHandles = 2;

// Memory that runs out where nothing catches it ends the process through
// std::terminate: it then still ends with the status and line of too
// little memory, not with an abort.
void ohneSpeicherBeenden() {
  if (const std::exception_ptr fehler = std::current_exception()) {
    try {
      std::rethrow_exception(fehler);
    } catch (const std::bad_alloc&) {
      std::_Exit(zweigschau::AusgangMelden(Ausgang::KeinSpeicher));
    } catch (...) {
    }
  }
  std::abort();
}

// Becomes the window's program, with the same arguments and process;
// returns only when it cannot be started.
int fensterÖffnen(char** argv) {
  char eigen[4096];
  const ssize_t länge = readlink("/proc/self/exe", eigen, sizeof eigen - 1);
  const std::string selbst = länge > 0 ? std::string(eigen, static_cast<std::size_t>(länge)) : std::string();
  const std::string ordner = selbst.substr(0, selbst.rfind('/') + 1);
  for (const std::string& programm : {ordner + kFensterProgramm, ordner + "../libexec/zweigschau/" + kFensterProgramm})
    if (access(programm.c_str(), X_OK) == 0) execv(programm.c_str(), argv);
  return zweigschau::AusgangMelden(Ausgang::FensterFehlt);
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<platform::ServerEnd> ende = platform::runClipboardServerIfAsked(argc, argv))
    return zweigschau::ServerStatus(*ende);
  // Under an address-space limit, one malloc arena: a further one reserves
  // 64 MiB of address space for a thread that needs little (the walk reads
  // on its own thread there, see readAheadFor).
  if (platform::addressSpaceLimited()) mallopt(M_ARENA_MAX, 1);
  std::set_terminate(ohneSpeicherBeenden);

  const std::vector<std::string> argumente(argv + 1, argv + argc);
  if (zweigschau::HilfeVerlangt(argumente)) {
    zweigschau::AnleitungAusgeben();
    return zweigschau::AusgangsZeileVon(Ausgang::InZwischenablage).status;
  }
  const zweigschau::StartEntscheidung start = zweigschau::StartEntscheiden(argumente);
  if (start.art != zweigschau::StartArt::Stapellauf) {
    if (!platform::displayReachable()) return zweigschau::OhneBildschirm(start.art);
    return fensterÖffnen(argv);
  }
  if (!platform::displayReachable()) return zweigschau::AusgangMelden(Ausgang::Fehler);
  // A walk needs two handles at least: a folder and the one it opens below
  // it. Fewer, and every folder below the start would fail.
  if (platform::handleBudget() < kWenigsteHandles) return zweigschau::AusgangMelden(Ausgang::KeineHandles);

  // Form1 loaded and never shown: its rules over plain controls.
  zweigschau::OhneFenster fenster;
  platform::HandOverClipboard zwischenablage;
  zweigschau::Form1Logik form(fenster, zwischenablage);
  const int status = form.Form_Load(start).value_or(0);
  // Started from a file manager's menu: no terminal shows the outcome.
  if (start.ausKontextmenü) platform::notifyDesktop(zweigschau::KontextmenüMeldung(form.letztesErgebnis()));
  return status;
}
