// The modal dialogs and the beep that the window uses: the message box, the
// folder picker and the system beep. The window reaches them only through
// this interface, so that tests can answer the dialogs without a person.
#pragma once

#include <QString>

class QWidget;

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a modal message box with the information icon and one OK button,
  // owned by `parent`; returns when the user has closed it.
  virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;

  // Shows the modal folder picker owned by `parent`, starting in
  // `startFolder`; only folders can be chosen. Returns the chosen folder's
  // path with the platform's separators, or an empty string on cancel.
  virtual QString chooseFolder(QWidget* parent, const QString& title,
                               const QString& startFolder) = 0;

  // Sounds the system beep once.
  virtual void beep() = 0;
};

// The dialogs of the running Qt application (QMessageBox, QFileDialog,
// QApplication::beep).
class QtDialogs : public Dialogs {
 public:
  // With nativeDialogs false the folder picker is Qt's own widget dialog
  // even where the platform offers a native one. The first one made (the
  // application object must exist) gives the application Qt's own German
  // texts (qtbase_de from Qt's translations, Debian package
  // qt6-translations-l10n), so that Qt's dialogs speak German as the window
  // does ("Suchen in", "Auswählen", "Abbrechen"); without that file they
  // stay English.
  explicit QtDialogs(bool nativeDialogs = true);

  void information(QWidget* parent, const QString& title, const QString& text) override;
  QString chooseFolder(QWidget* parent, const QString& title,
                       const QString& startFolder) override;
  void beep() override;

 private:
  bool nativeDialogs_;
};

}  // namespace platform
