#include "platform/qt_start.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

QtStartFailure failure;
QtMessageHandler previous = nullptr;
std::vector<HeldMessage> held;
bool guarding = false;

// The Debian package that ships a platform plugin, where it is not Qt's
// base package.
const char* packageOf(const std::string& plugin) {
  if (plugin.rfind("wayland", 0) == 0) return "qt6-wayland";
  if (plugin == "xcb") return "libqt6gui6";
  return nullptr;
}

// The text between the first pair of double quotes after `marker`.
std::string quotedAfter(const std::string& text, const std::string& marker) {
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) return {};
  const std::size_t open = text.find('"', at + marker.size());
  const std::size_t close = open == std::string::npos ? open : text.find('"', open + 1);
  if (close == std::string::npos) return {};
  return text.substr(open + 1, close - open - 1);
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held.push_back({type, context.category ? context.category : "", text});
    return;
  }
  std::string notes;
  for (const HeldMessage& m : held) notes += m.text.toStdString() + "\n";
  const QtStartProblem problem = qtStartProblem(notes, text.toStdString());
  std::fflush(stdout);
  // guardQtStart, the only one to install this handler, set `failure`.
  const int status = failure(problem);
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace

QtStartProblem qtStartProblem(const std::string& notes, const std::string& fatal) {
  using Kind = QtStartProblem::Kind;
  std::string plugin = quotedAfter(notes, "Could not find the Qt platform plugin");
  if (!plugin.empty()) {
    const char* package = packageOf(plugin);
    return {Kind::PluginMissing, plugin, package ? package : "", {}};
  }
  // A plugin that is there but finds no display says so before Qt gives up.
  if (notes.find("could not connect to display") != std::string::npos ||
      notes.find("Failed to create wl_display") != std::string::npos)
    return {Kind::NoDisplay, {}, {}, {}};
  plugin = quotedAfter(notes, "Could not load the Qt platform plugin");
  if (!plugin.empty()) return {Kind::PluginNotLoaded, plugin, {}, {}};
  return {Kind::Other, {}, {}, fatal.substr(0, fatal.find('\n'))};
}

void guardQtStart(QtStartFailure onFailure) {
  failure = std::move(onFailure);
  held.clear();
  guarding = true;
  previous = qInstallMessageHandler(handler);
}

void qtStarted() {
  if (!guarding) return;
  guarding = false;
  qInstallMessageHandler(previous);
  const std::vector<HeldMessage> messages = std::move(held);
  held.clear();
  for (const HeldMessage& m : messages) {
    const QByteArray category = QByteArray::fromStdString(m.category);
    const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
    qt_message_output(m.type, context, m.text);
  }
}

}  // namespace platform
