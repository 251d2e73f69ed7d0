// Test doubles for the window's platform interfaces (the clipboard's is
// the one of every test).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "test_doubles.h"
#include "platform/dialogs.h"

// The clipboard double of every test.
using AufzeichnendeZwischenablage = testing_doubles::TestAblage;

// The Qt dialogs with the message box and the beep recorded instead of
// shown; the folder picker answers with `ordnerAntwort` when it is set,
// otherwise Qt's own (non-native) file dialog opens.
class TestDialoge : public platform::QtDialogs {
 public:
  TestDialoge() : platform::QtDialogs(/*nativeDialogs=*/false) {}

  struct Meldung {
    QString titel;
    QString text;
  };

  void information(QWidget*, const QString& title, const QString& text) override {
    meldungen.push_back({title, text});
  }
  QString chooseFolder(QWidget* parent, const QString& title,
                       const QString& startFolder) override {
    ordnerTitel.push_back(title);
    ordnerStart.push_back(startFolder);
    if (ordnerAntwort) return *ordnerAntwort;
    return platform::QtDialogs::chooseFolder(parent, title, startFolder);
  }
  void beep() override { ++pieptöne; }

  std::vector<Meldung> meldungen;
  QStringList ordnerTitel;
  QStringList ordnerStart;
  std::optional<QString> ordnerAntwort;
  int pieptöne = 0;
};
