#include "window/ordner_wahl.h"

namespace zweigschau {

std::string OrdnerWahl::OrdnerWählen(Steuerelemente& hWndDesAufruffensters) {
  return NullTrim(hWndDesAufruffensters.ordnerDialog("W\xC3\xA4hlen Sie einen Ordner"));
}

std::string OrdnerWahl::NullTrim(std::string_view StringWert) {
  return std::string(StringWert.substr(0, StringWert.find('\0')));
}

}  // namespace zweigschau
