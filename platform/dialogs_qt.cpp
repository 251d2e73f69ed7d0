// Qt implementation of the dialogs interface.
#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace platform {
namespace {

// Installs Qt's German translation once; it lives as long as the application.
void installGermanQtTexts() {
  static bool installed = false;
  if (installed || QCoreApplication::instance() == nullptr) return;
  installed = true;
  auto* texts = new QTranslator(QCoreApplication::instance());
  if (texts->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(texts);
  else
    delete texts;
}

}  // namespace

QtDialogs::QtDialogs(bool nativeDialogs) : nativeDialogs_(nativeDialogs) { installGermanQtTexts(); }

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
