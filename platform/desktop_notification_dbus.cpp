// Desktop notifications through org.freedesktop.Notifications, with
// libdbus alone: a batch run loads no toolkit.
#include <dbus/dbus.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/desktop_notification.h"

namespace platform {
namespace {

// How long the notification service may take to answer.
constexpr int kAnswerMs = 2000;

// The session bus's address as the session names it, or its usual socket;
// empty when there is none. Connecting only to a named address keeps
// libdbus from starting a bus of its own.
std::string sessionBusAddress() {
  if (const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS"); named != nullptr && *named != '\0')
    return named;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') return {};
  const std::string socket = std::string(runtime) + "/bus";
  struct stat status {};
  return stat(socket.c_str(), &status) == 0 ? "unix:path=" + socket : std::string();
}

// Notify(app_name, replaces_id, app_icon, summary, body, actions, hints,
// expire_timeout) with `text` as the body.
DBusMessage* notifyCall(const std::string& text) {
  DBusMessage* call = dbus_message_new_method_call("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                                   "org.freedesktop.Notifications", "Notify");
  if (call == nullptr) return nullptr;
  const char* name = "Zweigschau";
  const char* icon = "zweigschau";
  const char* body = text.c_str();
  const std::uint32_t replaces = 0;
  const std::int32_t timeout = -1;
  DBusMessageIter args, actions, hints;
  dbus_message_iter_init_append(call, &args);
  const bool built = dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &name) &&
                     dbus_message_iter_append_basic(&args, DBUS_TYPE_UINT32, &replaces) &&
                     dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &icon) &&
                     dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &name) &&
                     dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &body) &&
                     dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "s", &actions) &&
                     dbus_message_iter_close_container(&args, &actions) &&
                     dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &hints) &&
                     dbus_message_iter_close_container(&args, &hints) &&
                     dbus_message_iter_append_basic(&args, DBUS_TYPE_INT32, &timeout);
  if (built) return call;
  dbus_message_unref(call);
  return nullptr;
}

}  // namespace

void notifyDesktop(const std::string& text) {
  const std::string address = sessionBusAddress();
  if (address.empty() || !dbus_validate_utf8(text.c_str(), nullptr)) return;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
  if (bus != nullptr) {
    // libdbus would end the process when the bus goes away.
    dbus_connection_set_exit_on_disconnect(bus, false);
    if (dbus_bus_register(bus, &error)) {
      if (DBusMessage* call = notifyCall(text)) {
        if (DBusMessage* answer = dbus_connection_send_with_reply_and_block(bus, call, kAnswerMs, &error))
          dbus_message_unref(answer);
        dbus_message_unref(call);
      }
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
  }
  dbus_error_free(&error);
}

}  // namespace platform
