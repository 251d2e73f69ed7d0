// The clipboard server: a detached process that owns the X11 clipboard with
// the text its parent handed over and ends when another program takes the
// clipboard or the display goes away. It speaks the selection protocol
// (ICCCM) itself over xcb: no toolkit, no D-Bus, no threads; it holds only
// the list.
#include "platform/clipboard_server_x11.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard_handover_x11_wayland.h"

namespace platform {
namespace {

// The largest piece sent in one property; bigger texts go in INCR steps of
// this size (also bounded by the server's request limit).
constexpr std::size_t kPieceBytes = 256 * 1024;

bool readExactly(int fd, char* out, std::size_t size) {
  while (size > 0) {
    const ssize_t n = read(fd, out, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The text as the parent sent it: an 8-byte length, then the bytes. A
// parent that died half-way leaves a short read: nothing is served then.
bool receiveText(int fd, std::string& text) {
  std::uint64_t size = 0;
  if (!readExactly(fd, reinterpret_cast<char*>(&size), sizeof size)) return false;
  if (size > (std::uint64_t{1} << 40)) return false;
  try {
    text.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return readExactly(fd, text.data(), text.size());
}

// Leaves nothing of the caller's world open: no inherited descriptor (a
// pipe held here would keep `out=$(zweigschau ...)` waiting), no folder.
void detachFromCaller() {
  close_range(3, ~0U, 0);
  if (chdir("/") != 0) { /* "/" always exists; nothing sensible to do */ }
}

void replaceWithDevNull(int fd) {
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull < 0) return;
  dup2(devNull, fd);
  close(devNull);
}

// True for the socket the program hands its server: a Unix stream socket.
bool isHandOverSocket(int fd) {
  int value = 0;
  socklen_t size = sizeof value;
  if (getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &value, &size) != 0 || value != AF_UNIX) return false;
  size = sizeof value;
  return getsockopt(fd, SOL_SOCKET, SO_TYPE, &value, &size) == 0 && value == SOCK_STREAM;
}

// Where the bytes of one target come from: the text as it is (UTF-8), or
// converted to Latin-1 as X11 defines STRING and TEXT ("?" for what Latin-1
// cannot hold).
enum class Form { utf8, latin1 };

// Converts UTF-8 from `in` into Latin-1 at `out` (at most `room` bytes);
// returns the input bytes used, always whole sequences.
std::size_t toLatin1(std::string_view in, std::string& out, std::size_t room) {
  std::size_t used = 0;
  while (used < in.size() && out.size() < room) {
    const auto lead = static_cast<unsigned char>(in[used]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    bool whole = length > 1 && used + length <= in.size();
    for (std::size_t i = 1; whole && i < length; ++i)
      whole = (static_cast<unsigned char>(in[used + i]) & 0xC0) == 0x80;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
    } else if (whole && length == 2 && lead <= 0xC3) {
      out += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(in[used + 1]) & 0x3F));
    } else {
      out += '?';
    }
    used += whole ? length : 1;
  }
  return used;
}

// One INCR transfer in progress: the next piece goes when the requestor has
// deleted the property holding the last one.
struct Transfer {
  xcb_window_t requestor;
  xcb_atom_t property;
  xcb_atom_t type;
  Form form;
  std::size_t offset;  // in the text
  bool finished;       // the closing empty piece has been written
};

class SelectionOwner {
 public:
  SelectionOwner(xcb_connection_t* connection, std::string text) : c_(connection), text_(std::move(text)) {}

  // Creates the owner window and takes CLIPBOARD; true once the X server
  // names this window as its owner. After false, taken() tells whether
  // another client owned it right after.
  bool takeClipboard();
  bool taken() const { return otherOwner_; }
  // Answers requests until the clipboard is taken or the display goes.
  void serve();

 private:
  xcb_atom_t atom(const char* name);
  xcb_timestamp_t serverTime();
  void answer(const xcb_selection_request_event_t& request);
  bool convert(const xcb_selection_request_event_t& request, xcb_atom_t property);
  void putPiece(Transfer& transfer);
  void progress(const xcb_property_notify_event_t& event);
  std::size_t pieceLimit() const;

  xcb_connection_t* c_;
  std::string text_;
  xcb_window_t window_ = 0;
  xcb_timestamp_t since_ = XCB_CURRENT_TIME;
  xcb_atom_t clipboard_ = 0, targets_ = 0, timestamp_ = 0, utf8_ = 0, textAtom_ = 0,
             plain_ = 0, plainUtf8_ = 0, incr_ = 0;
  std::vector<Transfer> transfers_;
  bool otherOwner_ = false;
};

xcb_atom_t SelectionOwner::atom(const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  if (reply == nullptr) return XCB_NONE;
  const xcb_atom_t result = reply->atom;
  std::free(reply);
  return result;
}

// A real timestamp for taking the selection (ICCCM forbids CurrentTime):
// the time of a property change on the own window.
xcb_timestamp_t SelectionOwner::serverTime() {
  xcb_change_property(c_, XCB_PROP_MODE_APPEND, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                      nullptr);
  xcb_flush(c_);
  while (xcb_generic_event_t* event = xcb_wait_for_event(c_)) {
    const bool notify = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
    const xcb_timestamp_t time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
    std::free(event);
    if (notify) return time;
  }
  return XCB_CURRENT_TIME;
}

bool SelectionOwner::takeClipboard() {
  clipboard_ = atom("CLIPBOARD");
  targets_ = atom("TARGETS");
  timestamp_ = atom("TIMESTAMP");
  utf8_ = atom("UTF8_STRING");
  textAtom_ = atom("TEXT");
  plain_ = atom("text/plain");
  plainUtf8_ = atom("text/plain;charset=utf-8");
  incr_ = atom("INCR");
  if (clipboard_ == XCB_NONE || incr_ == XCB_NONE) return false;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
  if (screen == nullptr) return false;
  window_ = xcb_generate_id(c_);
  const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
  since_ = serverTime();
  if (since_ == XCB_CURRENT_TIME) return false;
  xcb_set_selection_owner(c_, window_, clipboard_, since_);
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard_), nullptr);
  const bool owned = owner != nullptr && owner->owner == window_;
  otherOwner_ = owner != nullptr && !owned && owner->owner != XCB_NONE;
  std::free(owner);
  return owned;
}

std::size_t SelectionOwner::pieceLimit() const {
  // The request limit counts 4-byte units; leave room for the request head.
  const std::size_t limit = std::size_t{xcb_get_maximum_request_length(c_)} * 4 - 64;
  return std::min(kPieceBytes, limit);
}

// Writes the next piece of `transfer` into the requestor's property; after
// the last one an empty piece closes it.
void SelectionOwner::putPiece(Transfer& transfer) {
  std::string converted;
  const char* bytes = text_.data() + transfer.offset;
  std::size_t length = std::min(pieceLimit(), text_.size() - transfer.offset);
  std::size_t used = length;
  if (transfer.form == Form::latin1) {
    used = toLatin1(std::string_view(bytes, text_.size() - transfer.offset), converted, pieceLimit());
    bytes = converted.data();
    length = converted.size();
  }
  xcb_change_property(c_, XCB_PROP_MODE_REPLACE, transfer.requestor, transfer.property, transfer.type, 8,
                      static_cast<std::uint32_t>(length), bytes);
  transfer.offset += used;
  transfer.finished = length == 0;
}

// The bytes of the requested target into `property`; false for a target
// this server does not offer.
bool SelectionOwner::convert(const xcb_selection_request_event_t& request, xcb_atom_t property) {
  const xcb_atom_t target = request.target;
  if (target == targets_) {
    const xcb_atom_t offered[] = {targets_, timestamp_, utf8_, XCB_ATOM_STRING, textAtom_, plain_, plainUtf8_};
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                        std::size(offered), offered);
    return true;
  }
  if (target == timestamp_) {
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_INTEGER, 32, 1,
                        &since_);
    return true;
  }
  Transfer transfer{request.requestor, property, target, Form::utf8, 0, false};
  if (target == XCB_ATOM_STRING || target == textAtom_) {
    transfer.form = Form::latin1;
    transfer.type = XCB_ATOM_STRING;
  } else if (target != utf8_ && target != plain_ && target != plainUtf8_) {
    return false;
  }
  // Latin-1 is never longer than the UTF-8 it comes from.
  if (text_.size() <= pieceLimit()) {
    putPiece(transfer);
    return true;
  }
  // INCR: the requestor deletes each piece's property to ask for the next.
  const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(c_, request.requestor, XCB_CW_EVENT_MASK, &events);
  const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(text_.size(), UINT32_MAX));
  xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, property, incr_, 32, 1, &size);
  std::erase_if(transfers_, [&](const Transfer& t) {
    return t.requestor == transfer.requestor && t.property == transfer.property;
  });
  transfers_.push_back(transfer);
  return true;
}

void SelectionOwner::answer(const xcb_selection_request_event_t& request) {
  // An obsolete client names no property: the target stands for it.
  const xcb_atom_t property = request.property != XCB_NONE ? request.property : request.target;
  const bool converted = request.selection == clipboard_ && convert(request, property);
  xcb_selection_notify_event_t notify{};
  notify.response_type = XCB_SELECTION_NOTIFY;
  notify.time = request.time;
  notify.requestor = request.requestor;
  notify.selection = request.selection;
  notify.target = request.target;
  notify.property = converted ? property : XCB_NONE;
  xcb_send_event(c_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
}

void SelectionOwner::progress(const xcb_property_notify_event_t& event) {
  if (event.state != XCB_PROPERTY_DELETE) return;
  for (Transfer& transfer : transfers_) {
    if (transfer.requestor != event.window || transfer.property != event.atom) continue;
    if (transfer.finished) {
      transfer.requestor = XCB_NONE;
    } else {
      putPiece(transfer);
    }
  }
  std::erase_if(transfers_, [](const Transfer& t) { return t.requestor == XCB_NONE; });
}

// xcb_wait_for_event returns nothing once the connection is broken: the
// display has gone, and so does the server.
void SelectionOwner::serve() {
  while (xcb_generic_event_t* event = xcb_wait_for_event(c_)) {
    const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> held(event, &std::free);
    switch (event->response_type & 0x7F) {
      case XCB_SELECTION_REQUEST:
        answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
        break;
      case XCB_SELECTION_CLEAR:
        if (reinterpret_cast<xcb_selection_clear_event_t*>(event)->selection == clipboard_) return;
        break;
      case XCB_PROPERTY_NOTIFY:
        progress(*reinterpret_cast<xcb_property_notify_event_t*>(event));
        break;
      default:
        break;  // errors of a requestor that went away, among others
    }
    xcb_flush(c_);
  }
}

ServerEnd runServer() {
  detachFromCaller();
  const int channel = 0;  // the socket to the parent arrives as stdin
  std::string text;
  if (!receiveText(channel, text)) return ServerEnd::NoText;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    return ServerEnd::NoDisplay;
  }
  SelectionOwner server(connection, std::move(text));
  // A parent that gave up waiting kills this process; one that died after
  // sending the whole text cannot be told, and the text is served anyway.
  const bool owned = server.takeClipboard();
  const char answer = owned ? kClipboardServerReady : server.taken() ? kClipboardServerTaken : '0';
  send(channel, &answer, 1, MSG_NOSIGNAL);
  if (!owned) return ServerEnd::NotOwned;
  replaceWithDevNull(channel);
  server.serve();
  xcb_disconnect(connection);
  return ServerEnd::Served;
}

}  // namespace

std::optional<ServerEnd> runClipboardServerIfAsked(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], kClipboardServerArgument) != 0) return std::nullopt;
  // Only the program itself starts its server, with the socket as stdin;
  // a folder of that name given on a terminal opens the window.
  if (!isHandOverSocket(0)) return std::nullopt;
  return runServer();
}

}  // namespace platform
