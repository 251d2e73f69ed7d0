#include "platform/clipboard_win.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace platform {
namespace {

constexpr wchar_t kWindowClass[] = L"ZweigschauZwischenablage";
constexpr DWORD kVersuchAbstandMs = 10;

HWND besitzerFenster() {
  const HINSTANCE instanz = GetModuleHandleW(nullptr);
  WNDCLASSW klasse{};
  klasse.lpfnWndProc = DefWindowProcW;
  klasse.hInstance = instanz;
  klasse.lpszClassName = kWindowClass;
  RegisterClassW(&klasse);  // fails harmlessly when already registered
  return CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instanz, nullptr);
}

// The text in movable global memory, as SetClipboardData takes it,
// converted right into it.
HGLOBAL globalerText(std::string_view utf8) {
  const std::size_t einheiten = wideLength(utf8);
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (einheiten + 1) * sizeof(wchar_t));
  if (block == nullptr) return nullptr;
  auto* target = static_cast<wchar_t*>(GlobalLock(block));
  if (target == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  *toWide(utf8, target) = L'\0';
  GlobalUnlock(block);
  return block;
}

// Opens the clipboard for `owner`, trying again while another program
// holds it, for at most `waitMs`.
bool openRetrying(HWND owner, unsigned waitMs) {
  const ULONGLONG ende = GetTickCount64() + waitMs;
  while (!OpenClipboard(owner)) {
    if (GetTickCount64() >= ende) return false;
    Sleep(kVersuchAbstandMs);
  }
  return true;
}

}  // namespace

WinClipboard::WinClipboard(unsigned waitMs) : owner_(besitzerFenster()), waitMs_(waitMs) {}

WinClipboard::~WinClipboard() {
  if (owner_ != nullptr) DestroyWindow(static_cast<HWND>(owner_));
}

bool WinClipboard::setText(std::string_view utf8) {
  const HWND owner = static_cast<HWND>(owner_);
  if (owner == nullptr) return false;
  // Everything that can fail is prepared before the clipboard is touched.
  const HGLOBAL block = globalerText(utf8);
  if (block == nullptr) return false;
  if (!openRetrying(owner, waitMs_)) {
    GlobalFree(block);
    return false;
  }
  const bool gesetzt = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (!gesetzt) GlobalFree(block);  // the clipboard took it over only on success
  CloseClipboard();
  return gesetzt;
}

}  // namespace platform
