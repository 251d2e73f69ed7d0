// Test helper, a file manager in small: a window titled "Ziehquelle" that
// starts a drag of the paths on its command line (as text/uri-list, as
// file managers drag files and folders) when the mouse is pressed in it.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class Ziehquelle : public QWidget {
 public:
  explicit Ziehquelle(QList<QUrl> urls) : urls_(std::move(urls)) {}

 protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* daten = new QMimeData;
    daten->setUrls(urls_);
    auto* ziehen = new QDrag(this);
    ziehen->setMimeData(daten);
    ziehen->exec(Qt::CopyAction | Qt::LinkAction);
  }

 private:
  QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QList<QUrl> urls;
  for (int i = 1; i < argc; ++i) urls.append(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i])));
  Ziehquelle fenster(urls);
  fenster.setWindowTitle("Ziehquelle");
  fenster.setGeometry(700, 600, 160, 100);
  fenster.show();
  return app.exec();
}
