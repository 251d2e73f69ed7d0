// zweigschau-clipboard-server: keeps the list of a run on the X11 clipboard
// after zweigschau has ended. Started only by zweigschau, with the list
// coming through the socket it hands over as stdin.
#include <cstdio>

#include "app/server_ende.h"

int main(int argc, char** argv) {
  if (const std::optional<platform::ServerEnd> ende = platform::runClipboardServerIfAsked(argc, argv))
    return zweigschau::ServerStatus(*ende);
  const zweigschau::AusgangsZeile& zeile = zweigschau::AusgangsZeileVon(zweigschau::Ausgang::OhneAuftrag);
  std::fprintf(stderr, "%s\n", zeile.meldung);
  return zeile.status;
}
