#include "platform/clipboard_win.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace platform {
namespace {

constexpr wchar_t kFensterKlasse[] = L"ZweigschauZwischenablage";
constexpr DWORD kVersuchAbstandMs = 10;

HWND besitzerFenster() {
  const HINSTANCE instanz = GetModuleHandleW(nullptr);
  WNDCLASSW klasse{};
  klasse.lpfnWndProc = DefWindowProcW;
  klasse.hInstance = instanz;
  klasse.lpszClassName = kFensterKlasse;
  RegisterClassW(&klasse);  // fails harmlessly when already registered
  return CreateWindowExW(0, kFensterKlasse, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instanz, nullptr);
}

// The text in movable global memory, as SetClipboardData takes it,
// converted right into it.
HGLOBAL globalerText(std::string_view utf8) {
  const std::size_t einheiten = wideLength(utf8);
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (einheiten + 1) * sizeof(wchar_t));
  if (block == nullptr) return nullptr;
  auto* ziel = static_cast<wchar_t*>(GlobalLock(block));
  if (ziel == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  *toWide(utf8, ziel) = L'\0';
  GlobalUnlock(block);
  return block;
}

// Opens the clipboard for `owner`, trying again while another program
// holds it, for at most `wartezeitMs`.
bool oeffnen(HWND owner, unsigned wartezeitMs) {
  const ULONGLONG ende = GetTickCount64() + wartezeitMs;
  while (!OpenClipboard(owner)) {
    if (GetTickCount64() >= ende) return false;
    Sleep(kVersuchAbstandMs);
  }
  return true;
}

}  // namespace

WinClipboard::WinClipboard(unsigned wartezeitMs) : owner_(besitzerFenster()), wartezeitMs_(wartezeitMs) {}

WinClipboard::~WinClipboard() {
  if (owner_ != nullptr) DestroyWindow(static_cast<HWND>(owner_));
}

bool WinClipboard::setText(std::string_view utf8) {
  const HWND owner = static_cast<HWND>(owner_);
  if (owner == nullptr) return false;
  // Everything that can fail is prepared before the clipboard is touched.
  const HGLOBAL block = globalerText(utf8);
  if (block == nullptr) return false;
  if (!oeffnen(owner, wartezeitMs_)) {
    GlobalFree(block);
    return false;
  }
  const bool gesetzt = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!gesetzt) GlobalFree(block);  // the clipboard took it over only on success
  CloseClipboard();
  return gesetzt;
}

}  // namespace platform
