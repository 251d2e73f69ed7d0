// Qt implementation of the dialogs interface.
#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace platform {

void QtDialogs::information(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  box.exec();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& title,
                                const QString& startFolder) {
  QFileDialog::Options options = QFileDialog::ShowDirsOnly;
  if (!nativeDialogs_) options |= QFileDialog::DontUseNativeDialog;
  const QString chosen = QFileDialog::getExistingDirectory(parent, title, startFolder, options);
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

void QtDialogs::beep() { QApplication::beep(); }

}  // namespace platform
