// zweigschau: lists a folder tree onto the clipboard. Without arguments it
// opens its window; with /o:FOLDER it makes one run without a window and
// ends; /? shows the usage text.
#include <QApplication>
#include <QFile>

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <future>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/clipboard_display_x11_wayland.h"
#include "platform/clipboard_x11_wayland.h"
#include "platform/clipboard_server_x11.h"
#include "platform/desktop_notification.h"
#include "platform/dialogs.h"
#include "platform/folder_handle.h"
#include "platform/qt_start.h"
#include "run/ausgang.h"
#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "window/form1.h"

namespace {

// The usage text for a terminal: one line per line.
void anleitungAusgeben() {
  std::string text = zweigschau::AnleitungsText();
  for (char& c : text)
    if (c == '\r') c = '\n';
  std::printf("%s\n", text.c_str());
}

using zweigschau::Ausgang;

// A batch run's end before or after the run itself: its line on stderr,
// its status returned.
int melden(Ausgang ausgang) {
  const zweigschau::AusgangsZeile& zeile = zweigschau::AusgangsZeileVon(ausgang);
  if (zeile.meldung != nullptr) std::fprintf(stderr, "%s\n", zeile.meldung);
  return zeile.status;
}

// Under an address-space limit (ulimit -v) Qt fails to load its plugin
// with words about the plugin; the cause is memory when not even a modest
// block can be reserved any more.
bool adressraumKnapp() {
  constexpr std::size_t kProbe = std::size_t{16} << 20;
  rlimit grenze{};
  if (getrlimit(RLIMIT_AS, &grenze) != 0 || grenze.rlim_cur == RLIM_INFINITY) return false;
  void* block = mmap(nullptr, kProbe, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (block == MAP_FAILED) return true;
  munmap(block, kProbe);
  return false;
}

// Without any display nothing of Qt may start: it would end the process.
int ohneBildschirm(zweigschau::StartArt art) {
  switch (art) {
    case zweigschau::StartArt::Anleitung:
      anleitungAusgeben();
      return 0;
    case zweigschau::StartArt::Stapellauf:
      return melden(zweigschau::Ausgang::Fehler);
    case zweigschau::StartArt::Fenster:
      break;
  }
  std::fputs("zweigschau: kein Bildschirm erreichbar (DISPLAY oder WAYLAND_DISPLAY)\n", stderr);
  return 3;
}

// Qt could not open its platform after all (its plugin is missing, or the
// display went away after the check): the usage still reaches the
// terminal, everything else ends with status 3 and one line.
int qtStartetNicht(zweigschau::StartArt art, const std::string& zeile) {
  if (art == zweigschau::StartArt::Anleitung) {
    anleitungAusgeben();
    return 0;
  }
  if (art == zweigschau::StartArt::Stapellauf && adressraumKnapp()) return melden(Ausgang::KeinSpeicher);
  std::fprintf(stderr, "zweigschau: %s\n", zeile.c_str());
  return 3;
}

// A batch run's stderr while Qt starts and the unseen window is built:
// libraries (Fontconfig, for one) write there directly, past Qt's message
// handler. Their lines are dropped until the run itself may speak.
class LibraryNoise {
 public:
  void silence() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }

 private:
  int saved_ = -1;
};
LibraryNoise bibliotheken;

// Memory that runs out inside Qt (building the unseen window's fonts, for
// one) ends the process through std::terminate: it then still ends with the
// status and line of too little memory, not with an abort.
void ohneSpeicherBeenden() {
  if (const std::exception_ptr fehler = std::current_exception()) {
    try {
      std::rethrow_exception(fehler);
    } catch (const std::bad_alloc&) {
      bibliotheken.restore();
      std::_Exit(melden(Ausgang::KeinSpeicher));
    } catch (...) {
    }
  }
  std::abort();
}

// A batch run speaks only through its exit status and one line on failure;
// Qt's own notes (such as a missing XDG_RUNTIME_DIR) would break that.
void nurFehlerMelden(QtMsgType typ, const QMessageLogContext&, const QString& text) {
  if (typ != QtCriticalMsg && typ != QtFatalMsg) return;
  bibliotheken.restore();
  std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Whether the process's address space or data is limited (ulimit -v, -d).
bool adressraumBegrenzt() {
  for (const int grenze : {RLIMIT_AS, RLIMIT_DATA}) {
    struct rlimit wert;
    if (getrlimit(grenze, &wert) == 0 && wert.rlim_cur != RLIM_INFINITY) return true;
  }
  return false;
}

// Qt needs threads of its own (the X event queue, D-Bus for accessibility)
// and waits for ever for one that never started. A batch run checks first
// that two more threads can run at once.
bool threadsStartable() {
  // The threads wait until both were tried: one that ended at once would
  // leave its place under the process limit to the next.
  std::promise<void> beide;
  const std::shared_future<void> versucht = beide.get_future().share();
  std::thread threads[2];
  bool started = true;
  for (std::thread& t : threads) {
    try {
      t = std::thread([versucht] { versucht.wait(); });
    } catch (const std::system_error&) {
      started = false;
    }
  }
  beide.set_value();
  for (std::thread& t : threads)
    if (t.joinable()) t.join();
  return started;
}

// A window that is never shown needs no display of Qt's: the list goes to
// the clipboard's keeper without Qt (see HandOverClipboard). On Qt's
// offscreen platform nothing starts an accessibility bridge, a D-Bus
// connection (which, without a session bus, launches a D-Bus daemon that
// outlives the run) or a platform theme's helpers. A platform the user
// chose is kept.
void ohneFensterStarten() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  unsetenv("QT_QPA_PLATFORMTHEME");
  setenv("QT_ACCESSIBILITY", "0", 1);
  unsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
  setenv("QT_NO_GLIB", "1", 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (const int server = platform::runClipboardServerIfAsked(argc, argv); server >= 0) return server;
  // Under an address-space limit, one malloc arena for all threads: each
  // further arena reserves 64 MiB of address space for a reader thread, so
  // that a run could fail where a smaller limit let it succeed (the arenas
  // fit, the list's growth then did not). Without a limit the walk's thread
  // and its reader each keep their own: sharing one, they wait for each
  // other's allocations.
  if (adressraumBegrenzt()) mallopt(M_ARENA_MAX, 1);
  std::set_terminate(ohneSpeicherBeenden);

  const std::vector<std::string> argumente(argv + 1, argv + argc);
  if (zweigschau::HilfeVerlangt(argumente)) {
    anleitungAusgeben();
    return 0;
  }
  const zweigschau::StartEntscheidung start = zweigschau::StartEntscheiden(argumente);
  const zweigschau::StartArt art = start.art;
  if (!platform::displayReachable()) return ohneBildschirm(art);
  if (art == zweigschau::StartArt::Stapellauf) {
    ohneFensterStarten();
    if (!threadsStartable()) return melden(Ausgang::KeineThreads);
    // Qt and its libraries need a dozen handles or so, and end the process
    // when they find none.
    if (platform::handleBudget() < 4) return melden(Ausgang::KeineHandles);
    qInstallMessageHandler(nurFehlerMelden);
    bibliotheken.silence();
  }

  if (art != zweigschau::StartArt::Stapellauf) platform::preferX11();
  platform::guardQtStart([art](const std::string& zeile) {
    bibliotheken.restore();
    return qtStartetNicht(art, zeile);
  });
  QApplication app(argc, argv);
  platform::qtStarted();
  // A batch run hands its list straight to the process that keeps it after
  // the run; a window keeps the clipboard itself while it is open.
  platform::QtClipboard fensterAblage;
  platform::HandOverClipboard stapelAblage;
  platform::Clipboard& zwischenablage =
      art == zweigschau::StartArt::Stapellauf ? static_cast<platform::Clipboard&>(stapelAblage) : fensterAblage;
  platform::QtDialogs dialoge;
  int status = 0;
  zweigschau::ScanErgebnis ergebnis;
  {
    Form1 form(zwischenablage, dialoge);
    bibliotheken.restore();
    if (const std::optional<int> ende = form.Form_Load(argumente)) {
      status = *ende;
      ergebnis = form.letztesErgebnis();
    } else {
      form.show();
      app.exec();
    }
  }
  // The clipboard lives in this process; hand the list over before ending.
  if (!platform::keepClipboardAfterExit()) {
    const int fehler = melden(Ausgang::Fehler);
    if (status == 0) status = fehler;
    ergebnis.ausgang = Ausgang::Fehler;
  }
  // Started from a file manager's menu: no terminal shows the outcome.
  if (start.ausKontextmenue) platform::notifyDesktop(zweigschau::KontextmenueMeldung(ergebnis));
  return status;
}
