#include "window/ordner_wahl.h"

#include <QDir>

QString OrdnerWahl::OrdnerWählen(QWidget* hWndDesAufruffensters) {
  const QString gewählt =
      dialoge_.chooseFolder(hWndDesAufruffensters, QStringLiteral("Wählen Sie einen Ordner"),
                            QDir::homePath());
  return NullTrim(gewählt);
}

QString OrdnerWahl::NullTrim(const QString& StringWert) {
  const qsizetype ende = StringWert.indexOf(QChar(u'\0'));
  return ende < 0 ? StringWert : StringWert.left(ende);
}
