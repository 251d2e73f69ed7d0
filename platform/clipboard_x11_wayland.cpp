// Plain UTF-8 text on the clipboard. Qt's xcb plugin hands out a format's
// bytes unchanged when the mime data holds them as bytes, so the text is
// stored as bytes (not as a QString): no conversion to UTF-16 and back, no
// line-end translation, no second copy of a large list.
#include "platform/clipboard_x11_wayland.h"

#include <xcb/xcb.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/clipboard_handover_x11_wayland.h"
#include "platform/clipboard_server_x11.h"
#include "platform/memory_block.h"

namespace platform {
namespace {

bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

xcb_connection_t* x11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

enum class Owner { nobody, thisClient, otherClient };

// Asks the X server for the owner of CLIPBOARD; an owner window created by
// this client carries this client's resource-id base.
Owner x11ClipboardOwner(xcb_connection_t* connection) {
  if (connection == nullptr || xcb_connection_has_error(connection)) return Owner::nobody;
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, 9, "CLIPBOARD"), nullptr);
  if (atom == nullptr) return Owner::nobody;
  const xcb_atom_t clipboard = atom->atom;
  std::free(atom);
  if (clipboard == XCB_NONE) return Owner::nobody;
  xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, clipboard), nullptr);
  if (reply == nullptr) return Owner::nobody;
  const xcb_window_t owner = reply->owner;
  std::free(reply);
  if (owner == XCB_NONE) return Owner::nobody;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  return (owner & ~setup->resource_id_mask) == setup->resource_id_base ? Owner::thisClient
                                                                         : Owner::otherClient;
}

bool x11OwnsClipboard(xcb_connection_t* connection) {
  return x11ClipboardOwner(connection) == Owner::thisClient;
}

}  // namespace

bool QtClipboard::setText(std::string_view utf8) {
  return set(QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// Qt keeps the bytes it serves in a QByteArray of its own (a transfer in
// progress holds on to them), so they are copied; the caller's block gives
// its memory back behind the copy.
bool QtClipboard::setTextReleasing(std::string_view utf8) {
  constexpr std::size_t kStep = std::size_t{1} << 20;
  QByteArray copy(static_cast<qsizetype>(utf8.size()), Qt::Uninitialized);
  const char* released = utf8.data();
  for (std::size_t done = 0; done < utf8.size();) {
    const std::size_t n = std::min(kStep, utf8.size() - done);
    std::memcpy(copy.data() + done, utf8.data() + done, n);
    done += n;
    released = releasePages(released, utf8.data() + done);
  }
  return set(copy);
}

bool QtClipboard::set(const QByteArray& utf8) {
  const bool gesetzt = setClipboardUtf8(utf8);
  takenByOther_ = !gesetzt && anotherProgramOwnsClipboard();
  return gesetzt;
}

bool setClipboardUtf8(const QByteArray& utf8) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  auto* data = new QMimeData;  // owned by the clipboard from here on
  data->setData(QStringLiteral("text/plain"), utf8);  // shares the bytes
  data->setData(QStringLiteral("text/plain;charset=utf-8"), utf8);
  clipboard->setMimeData(data, QClipboard::Clipboard);
  if (onX11()) return x11OwnsClipboard(x11Connection());
  return clipboard->mimeData(QClipboard::Clipboard) == data;
}

bool thisProcessOwnsClipboard() {
  if (onX11()) return x11OwnsClipboard(x11Connection());
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard != nullptr && clipboard->ownsClipboard();
}

bool anotherProgramOwnsClipboard() {
  return onX11() && x11ClipboardOwner(x11Connection()) == Owner::otherClient;
}

namespace {

// Qt's own ownership flag follows the server's take-over only once Qt has
// read the event; until then Qt would still try to pass the clipboard to a
// clipboard manager when the application object goes.
void letQtNoticeTakeOver() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QDeadlineTimer deadline(1000);
  while (clipboard->ownsClipboard() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

bool keepClipboardAfterExit() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !thisProcessOwnsClipboard()) return true;
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (data == nullptr || !data->hasFormat(QStringLiteral("text/plain"))) return true;
  const QByteArray text = data->data(QStringLiteral("text/plain"));
  const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
  // The window's clipboard lives where Qt's platform is: elsewhere
  // (offscreen, minimal) it is not shared and there is nothing to keep.
  const QString platformName = QGuiApplication::platformName();
  if (platformName == QLatin1String("xcb")) {
    if (handToServer(bytes) != ServerStart::ready) return false;
    letQtNoticeTakeOver();
    return true;
  }
  if (platformName.startsWith(QLatin1String("wayland"))) return handToWlCopy(bytes);
  return true;
}

}  // namespace platform
