// Test helper for the Windows end-to-end runs, a program of its own so that
// it looks at the clipboard and the usage box from outside zweigschau.exe:
//   read FILE         writes the clipboard's CF_UNICODETEXT (UTF-16LE, up to
//                     its NUL) to FILE; exit 2 when it holds no text
//   set TEXT          puts TEXT on the clipboard
//   hold MS FILE      opens the clipboard, creates FILE, holds it MS ms
//   box TITLE FILE    waits for a message box titled TITLE, writes its text
//                     (UTF-16LE) to FILE and closes it with OK
//   cancel TITLE      waits for a window titled TITLE and sends it IDCANCEL
//                     (what Escape sends); exit 2 when none appears
//   attr PATH         prints the attributes of PATH as a decimal number
//   run VERB FOLDER   runs the folder context-menu command VERB of the
//                     current user (HKCU\Software\Classes\Directory\shell)
//                     for FOLDER as Explorer does, waits, exits with its status
//   state TITLE FILE  writes the state of the dialog titled TITLE to FILE
//                     (UTF-8), in the form of the Linux window's report:
//                     focused control, texts, enabled, checked, visible
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/clipboard_win.h"
#include "platform/wide_text.h"
#include "window/form1_tabelle.h"

namespace {

bool schreiben(const wchar_t* datei, const wchar_t* text, std::size_t length) {
  FILE* f = _wfopen(datei, L"wb");
  if (f == nullptr) return false;
  const bool gut = std::fwrite(text, sizeof(wchar_t), length, f) == length;
  return std::fclose(f) == 0 && gut;
}

// Wine's clipboard thread opens the clipboard for a moment when its owner
// changes (it hands the text to the X selection); a reader that gives up at
// once then sees nothing. Try for two seconds, as a pasting program would.
bool openRetrying(HWND fenster) {
  for (int i = 0; i < 200; ++i) {
    if (OpenClipboard(fenster)) return true;
    Sleep(10);
  }
  return false;
}

int lesen(const wchar_t* datei) {
  if (!openRetrying(nullptr)) return 3;
  int status = 2;
  if (const HANDLE h = GetClipboardData(CF_UNICODETEXT); h != nullptr) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(h)); text != nullptr) {
      const std::size_t length = wcsnlen(text, GlobalSize(h) / sizeof(wchar_t));
      status = schreiben(datei, text, length) ? 0 : 4;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return status;
}

int halten(const wchar_t* ms, const wchar_t* datei) {
  const HWND fenster = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClipboard(fenster)) return 3;
  schreiben(datei, L"offen", 5);
  Sleep(static_cast<DWORD>(_wtoi(ms)));
  CloseClipboard();
  return 0;
}

// The shown top-level window titled `titel`: a batch run's dialog has the
// title too, unseen.
HWND GezeigtesFenster(const wchar_t* titel) {
  struct Suche {
    const wchar_t* titel;
    HWND gefunden = nullptr;
  } suche{titel};
  EnumWindows([](HWND kandidat, LPARAM p) -> BOOL {
    auto* s = reinterpret_cast<Suche*>(p);
    wchar_t name[256] = {};
    GetWindowTextW(kandidat, name, 256);
    if (IsWindowVisible(kandidat) && wcscmp(name, s->titel) == 0) s->gefunden = kandidat;
    return s->gefunden == nullptr;
  }, reinterpret_cast<LPARAM>(&suche));
  return suche.gefunden;
}

int abbrechen(const wchar_t* titel) {
  for (int i = 0; i < 200; ++i) {
    if (const HWND w = GezeigtesFenster(titel); w != nullptr) {
      PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      return 0;
    }
    Sleep(50);
  }
  return 2;
}

int box(const wchar_t* titel, const wchar_t* datei) {
  for (int i = 0; i < 200; ++i) {
    if (const HWND w = GezeigtesFenster(titel); w != nullptr) {
      wchar_t text[4096] = {};
      // The message text is the box's static control (id 0xFFFF).
      GetDlgItemTextW(w, 0xFFFF, text, 4096);
      const bool gut = schreiben(datei, text, wcslen(text));
      PostMessageW(w, WM_COMMAND, IDOK, 0);
      return gut ? 0 : 4;
    }
    Sleep(50);
  }
  return 2;
}

int ausführen(const std::wstring& verb, const std::wstring& ordner) {
  const std::wstring schlüssel = L"Software\\Classes\\Directory\\shell\\" + verb + L"\\command";
  wchar_t befehl[4096] = {};
  DWORD größe = sizeof(befehl);
  if (RegGetValueW(HKEY_CURRENT_USER, schlüssel.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, befehl, &größe) !=
      ERROR_SUCCESS)
    return 2;
  std::wstring zeile = befehl;
  if (const std::size_t p = zeile.find(L"%1"); p != std::wstring::npos) zeile.replace(p, 2, ordner);
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  PROCESS_INFORMATION prozess{};
  if (!CreateProcessW(nullptr, zeile.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &prozess))
    return 3;
  WaitForSingleObject(prozess.hProcess, INFINITE);
  DWORD status = 4;
  GetExitCodeProcess(prozess.hProcess, &status);
  CloseHandle(prozess.hThread);
  CloseHandle(prozess.hProcess);
  return static_cast<int>(status);
}

// The text of a control of another process: WM_GETTEXT, which the system
// carries across (GetWindowText would give only a caption).
std::string fremderText(HWND w) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return platform::fromWide(text);
}

int zustand(const wchar_t* titel, const wchar_t* datei) {
  const HWND dialog = FindWindowW(nullptr, titel);
  if (dialog == nullptr) return 2;
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  // A combo box's edit field has the focus on its behalf.
  HWND fokus = info.hwndFocus;
  while (fokus != nullptr && GetParent(fokus) != dialog) fokus = GetParent(fokus);
  // In tab order, as the control table gives it.
  std::vector<const zweigschau::SteuerZeile*> zeilen;
  for (int i = 0; i < static_cast<int>(zweigschau::kForm1Anzahl); ++i)
    zeilen.push_back(&zweigschau::ZeileMitTabIndex(i));
  std::string name, an, haken, sichtbar, texte, klicks;
  const auto anhängen = [](std::string& liste, const char* n) { liste += (liste.empty() ? "" : " ") + std::string(n); };
  for (const zweigschau::SteuerZeile* z : zeilen) {
    const HWND w = GetDlgItem(dialog, z->id);
    const bool fokussierbar = zweigschau::NimmtFokus(*z);
    if (w == fokus) name = z->name;
    if (fokussierbar && IsWindowEnabled(w)) anhängen(an, z->name);
    if (fokussierbar && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED) anhängen(haken, z->name);
    if (zweigschau::IstStatusAnzeige(*z) && IsWindowVisible(w)) anhängen(sichtbar, z->name);
    if (z->art == zweigschau::SteuerArt::Textfeld || z->art == zweigschau::SteuerArt::Kombinationsfeld ||
        z->steuer == zweigschau::Steuerelement::lblfertig)
      texte += std::string("text.") + z->name + '=' + fremderText(w) + '\n';
    if (fokussierbar) {
      RECT r{};
      GetWindowRect(w, &r);
      klicks += std::string("klick.") + z->name + '=' + std::to_string(r.left + 8) + ',' +
                std::to_string((r.top + r.bottom) / 2) + '\n';
    }
  }
  const std::string bericht = "fokus=" + name + '\n' + texte + klicks + "an=" + an + "\nhaken=" + haken +
                              "\nsichtbar=" + sichtbar + "\naktiv=" + (IsWindowEnabled(dialog) ? "1" : "0") + '\n';
  FILE* f = _wfopen(datei, L"wb");
  if (f == nullptr) return 4;
  const bool gut = std::fwrite(bericht.data(), 1, bericht.size(), f) == bericht.size();
  return std::fclose(f) == 0 && gut ? 0 : 4;
}

}  // namespace

int main() {
  int anzahl = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &anzahl);
  if (argv == nullptr || anzahl < 3) return 64;
  const std::wstring art = argv[1];
  if (art == L"read") return lesen(argv[2]);
  if (art == L"attr") {
    const DWORD attribute = GetFileAttributesW(argv[2]);
    std::printf("%lu\n", static_cast<unsigned long>(attribute));
    return attribute == INVALID_FILE_ATTRIBUTES ? 2 : 0;
  }
  if (art == L"set") {
    platform::WinClipboard ablage;
    return ablage.setText(platform::fromWide(argv[2])) ? 0 : 3;
  }
  if (art == L"hold" && anzahl >= 4) return halten(argv[2], argv[3]);
  if (art == L"box" && anzahl >= 4) return box(argv[2], argv[3]);
  if (art == L"cancel" && anzahl >= 3) return abbrechen(argv[2]);
  if (art == L"state" && anzahl >= 4) return zustand(argv[2], argv[3]);
  if (art == L"run" && anzahl >= 4) return ausführen(argv[2], argv[3]);
  return 64;
}
