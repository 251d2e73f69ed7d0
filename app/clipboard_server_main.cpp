// zweigschau-clipboard-server: keeps the list of a run on the X11 clipboard
// after zweigschau has ended. Started only by zweigschau, with the list
// coming through the socket it hands over as stdin.
#include "platform/clipboard_server_x11.h"

int main(int argc, char** argv) {
  const int served = platform::runClipboardServerIfAsked(argc, argv);
  return served >= 0 ? served : 2;
}
