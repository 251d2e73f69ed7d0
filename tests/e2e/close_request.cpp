// Test helper: asks an X window to close as a window manager does when its
// close button is clicked: a WM_PROTOCOLS client message carrying
// WM_DELETE_WINDOW. The test displays run no window manager.
//   zs_close_request WINDOW    WINDOW as a decimal X window id
// Exit status 0 once the request is sent, 1 without a display, 2 on a bad
// argument.
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr);
  const xcb_atom_t result = reply != nullptr ? reply->atom : XCB_NONE;
  std::free(reply);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long window = argc == 2 ? std::strtoul(argv[1], &end, 10) : 0;
  if (window == 0 || *end != '\0') return 2;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) return 1;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = static_cast<xcb_window_t>(window);
  event.type = atom(connection, "WM_PROTOCOLS");
  event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
  xcb_disconnect(connection);
  return 0;
}
