// The system clipboard through Qt (QGuiApplication::clipboard()).
#pragma once

#include <QByteArray>
#include <string>

#include "platform/clipboard.h"

namespace platform {

class QtClipboard : public Clipboard {
 public:
  // Puts `utf8` on the system clipboard as plain text, byte for byte (see
  // setClipboardUtf8). Needs a QGuiApplication. False when the clipboard
  // cannot be reached.
  bool setText(std::string_view utf8) override;
  bool setTextReleasing(std::string_view utf8) override;
  bool takenByOther() const override { return takenByOther_; }

 private:
  bool set(const QByteArray& utf8);
  bool takenByOther_ = false;
};

// Replaces the clipboard's content with `utf8`, offered as "text/plain" and
// "text/plain;charset=utf-8" and, on X11, as UTF8_STRING (plus STRING and
// TEXT, which X11 defines as Latin-1): the UTF-8 offers hand out exactly
// these bytes, carriage returns included; nothing converts line ends. False
// when the text could not be set: on X11, when this process does not own the
// clipboard afterwards.
bool setClipboardUtf8(const QByteArray& utf8);

// True while this process owns the system clipboard. On X11 the X server is
// asked who owns CLIPBOARD right now (Qt's own flag lags behind until it has
// processed the events); elsewhere Qt is asked.
bool thisProcessOwnsClipboard();

// True while another X11 client owns the system clipboard; false elsewhere.
bool anotherProgramOwnsClipboard();

}  // namespace platform
