// Desktop notifications through org.freedesktop.Notifications.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

#include "platform/desktop_notification.h"

namespace platform {
namespace {

// How long the notification service may take to answer.
constexpr int kAnswerMs = 2000;

// The session bus's address as the session names it, or its usual socket;
// empty when there is none. Connecting only to a named address keeps D-Bus
// from starting a bus of its own.
QString sessionBusAddress() {
  const QString named = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  if (!named.isEmpty()) return named;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QString socket = runtime + QStringLiteral("/bus");
  return !runtime.isEmpty() && QFileInfo(socket).exists() ? QStringLiteral("unix:path=") + socket : QString();
}

}  // namespace

void notifyDesktop(const std::string& text) {
  const QString address = sessionBusAddress();
  if (address.isEmpty()) return;
  const QString name = QStringLiteral("zweigschau-notification");
  {
    QDBusConnection bus = QDBusConnection::connectToBus(address, name);
    if (bus.isConnected()) {
      QDBusMessage notify = QDBusMessage::createMethodCall(
          QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
          QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
      notify << QStringLiteral("Zweigschau") << 0u << QStringLiteral("zweigschau") << QStringLiteral("Zweigschau")
             << QString::fromStdString(text) << QStringList() << QVariantMap() << -1;
      bus.call(notify, QDBus::Block, kAnswerMs);
    }
  }
  QDBusConnection::disconnectFromBus(name);
}

}  // namespace platform
