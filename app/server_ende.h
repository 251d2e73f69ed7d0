// How a run as the clipboard server ends, through the table of outcomes.
// The clipboard server prints nothing: the program that started it reports.
#pragma once

#include "platform/clipboard_server_x11.h"
#include "run/ausgang.h"

namespace zweigschau {

// The exit status of a clipboard server that ended as `ende`.
inline int ServerStatus(platform::ServerEnd ende) {
  const Ausgang ausgang = ende == platform::ServerEnd::Served ? Ausgang::InZwischenablage : Ausgang::Fehler;
  return AusgangsZeileVon(ausgang).status;
}

}  // namespace zweigschau
