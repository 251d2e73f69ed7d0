// The folder picker behind the button "&Ordner": shows the folder dialog
// and hands back the chosen folder's path.
#pragma once

#include <QString>
#include <string>

#include "platform/dialogs.h"

class QWidget;

class OrdnerWahl {
 public:
  explicit OrdnerWahl(platform::Dialogs& dialoge) : dialoge_(dialoge) {}

  // Shows the modal folder dialog "Wählen Sie einen Ordner", owned by
  // `hWndDesAufruffensters`, starting in the home folder (the path box's
  // text is not handed to it); only folders can be chosen. Returns the
  // chosen folder's path exactly as the dialog gives it, or "" on cancel.
  QString OrdnerWählen(QWidget* hWndDesAufruffensters);

  // The part of `StringWert` before its first NUL character; the whole text
  // when it holds none.
  static QString NullTrim(const QString& StringWert);

 private:
  platform::Dialogs& dialoge_;
};
