#include "window/ordner_wahl.h"

#include <filesystem>
#include <system_error>

#include "platform/folder_handle.h"
#include "platform/session.h"
#include "run/scan_run.h"

namespace zweigschau {

std::string OrdnerWahl::OrdnerWählen(Steuerelemente& hWndDesAufruffensters) {
  return NullTrim(hWndDesAufruffensters.ordnerDialog("W\xC3\xA4hlen Sie einen Ordner"));
}

std::string OrdnerWahl::StartOrdner(std::string_view Pfadtext) {
  std::string text = PfadGetrimmt(Pfadtext);
  if (text.empty()) return {};
  if (text == "~" || text.starts_with(std::string("~") + platform::kSeparator))
    text = platform::homeFolder() + text.substr(1);
  const std::string ganz = platform::fullPath(text);
  std::filesystem::path pfad(std::u8string(ganz.begin(), ganz.end()));
  if (pfad.has_relative_path() && !pfad.has_filename()) pfad = pfad.parent_path();
  for (std::error_code fehler;; pfad = pfad.parent_path()) {
    if (std::filesystem::is_directory(pfad, fehler)) {
      const std::u8string ordner = pfad.u8string();
      return std::string(ordner.begin(), ordner.end());
    }
    if (!pfad.has_relative_path()) return {};
  }
}

std::string OrdnerWahl::NullTrim(std::string_view StringWert) {
  return std::string(StringWert.substr(0, StringWert.find('\0')));
}

}  // namespace zweigschau
