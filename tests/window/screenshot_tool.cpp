// Renders the window as it first appears into a PNG file, for a look at
// its layout. Usage: zs_screenshot OUT.png [--fertig]
// With --fertig the result label shows a count, as after a scan run.
// Under X11 (Xvfb) the window is taken from the screen; elsewhere Qt
// renders the widgets itself.
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "test_doubles.h"
#include "window/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: zs_screenshot OUT.png [--fertig]\n");
    return 2;
  }
  // The screenshot never scans; the clipboard is never used.
  testing_doubles::TestAblage zwischenablage;
  zwischenablage.erreichbar = false;
  platform::QtDialogs dialoge;
  Form1 form(zwischenablage, dialoge);
  if (form.Form_Load({})) return 2;
  if (args.contains("--fertig")) {
    form.steuerelemente().textSetzen(zweigschau::Steuerelement::lblfertig, "1234 in der Zwischenablage");
    form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  }
  form.move(20, 20);
  form.show();
  int status = 1;
  QTimer::singleShot(500, [&] {
    QPixmap bild;
    if (QGuiApplication::platformName() == "xcb") {
      bild = form.screen()->grabWindow(form.winId());
    }
    if (bild.isNull()) bild = form.grab();
    status = bild.save(args[1]) ? 0 : 1;
    std::printf("%s: %dx%d (%s)\n", qPrintable(args[1]), bild.width(), bild.height(),
                qPrintable(QGuiApplication::platformName()));
    QApplication::exit(status);
  });
  QApplication::exec();
  return status;
}
