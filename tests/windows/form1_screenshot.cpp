// Renders the Win32 dialog Form1 into a PNG (used by
// scripts/screenshot-windows): the window is shown, painted, copied from
// the screen and written as an uncompressed PNG.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/clipboard_win.h"
#include "window/form1_win.h"

namespace {

unsigned long Crc(const unsigned char* p, std::size_t n, unsigned long crc = 0xFFFFFFFFul) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1ul)));
  }
  return crc;
}

void Be32(std::vector<unsigned char>& b, unsigned long v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(v >> s));
}

void Block(std::vector<unsigned char>& png, const char* art, const std::vector<unsigned char>& daten) {
  Be32(png, daten.size());
  std::vector<unsigned char> teil(art, art + 4);
  teil.insert(teil.end(), daten.begin(), daten.end());
  png.insert(png.end(), teil.begin(), teil.end());
  Be32(png, Crc(teil.data(), teil.size()) ^ 0xFFFFFFFFul);
}

// RGB rows, each led by filter byte 0, in stored (uncompressed) deflate
// blocks inside a zlib stream.
std::vector<unsigned char> Png(int breite, int höhe, const std::vector<unsigned char>& zeilen) {
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> kopf;
  Be32(kopf, breite);
  Be32(kopf, höhe);
  kopf.insert(kopf.end(), {8, 2, 0, 0, 0});
  Block(png, "IHDR", kopf);
  std::vector<unsigned char> z = {0x78, 0x01};
  for (std::size_t pos = 0; pos < zeilen.size() || pos == 0;) {
    const std::size_t n = std::min<std::size_t>(65535, zeilen.size() - pos);
    z.push_back(pos + n == zeilen.size() ? 1 : 0);
    z.insert(z.end(), {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                       static_cast<unsigned char>(~n), static_cast<unsigned char>(~n >> 8)});
    z.insert(z.end(), zeilen.begin() + static_cast<long>(pos), zeilen.begin() + static_cast<long>(pos + n));
    pos += n;
    if (n == 0) break;
  }
  unsigned long a = 1, b = 0;
  for (unsigned char c : zeilen) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Be32(z, (b << 16) | a);
  Block(png, "IDAT", z);
  Block(png, "IEND", {});
  return png;
}

void Warten(int ms) {
  const DWORD ende = GetTickCount() + static_cast<DWORD>(ms);
  MSG m;
  while (GetTickCount() < ende) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 64;
  const INITCOMMONCONTROLSEX steuer{sizeof(steuer), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&steuer);
  platform::WinClipboard ablage;
  Form1 form(ablage);
  if (form.Form_Load("").has_value()) return 1;
  form.Zeigen();
  SetWindowPos(form.hwnd(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
  Warten(1500);
  RECT r;
  GetWindowRect(form.hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC schirm = GetDC(nullptr);
  HDC speicher = CreateCompatibleDC(schirm);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bild = CreateDIBSection(schirm, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(speicher, bild);
  BitBlt(speicher, 0, 0, w, h, schirm, r.left, r.top, SRCCOPY);
  std::vector<unsigned char> zeilen;
  const auto* p = static_cast<const unsigned char*>(bits);
  for (int y = 0; y < h; ++y) {
    zeilen.push_back(0);
    for (int x = 0; x < w; ++x) {
      const unsigned char* q = p + (static_cast<std::size_t>(y) * w + x) * 4;
      zeilen.insert(zeilen.end(), {q[2], q[1], q[0]});
    }
  }
  const std::vector<unsigned char> png = Png(w, h, zeilen);
  FILE* f = _wfopen(argv[1], L"wb");
  if (f == nullptr) return 2;
  const bool gut = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && gut ? 0 : 2;
}
