// Draws the Windows icon (zweigschau.ico) from the project's SVG: 16, 32
// and 48 pixels, each as a 32-bit image with alpha and its mask, the form
// every Windows version reads. Run by scripts/make-icon.
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <cstdio>
#include <vector>

namespace {

void le16(QByteArray& b, quint16 v) { b.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 2); }
void le32(QByteArray& b, quint32 v) { b.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 4); }

// One icon image: header, colour rows bottom-up (BGRA), then the AND mask
// (1 where the pixel is fully transparent), rows padded to 32 bits.
QByteArray IconBild(const QImage& bild) {
  const int n = bild.width();
  QByteArray b;
  le32(b, 40); le32(b, n); le32(b, 2 * n); le16(b, 1); le16(b, 32);
  le32(b, 0); le32(b, 0); le32(b, 0); le32(b, 0); le32(b, 0); le32(b, 0);
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const QRgb p = bild.pixel(x, y);
      b.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p))).append(char(qAlpha(p)));
    }
  const int zeile = ((n + 31) / 32) * 4;
  for (int y = n - 1; y >= 0; --y) {
    QByteArray maske(zeile, '\0');
    for (int x = 0; x < n; ++x)
      if (qAlpha(bild.pixel(x, y)) == 0) maske[x / 8] = char(maske[x / 8] | (0x80 >> (x % 8)));
    b.append(maske);
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: zs_make_icon zweigschau.svg zweigschau.ico\n", stderr);
    return 2;
  }
  std::vector<QByteArray> bilder;
  for (int n : {16, 32, 48}) {
    QImageReader leser(QString::fromLocal8Bit(argv[1]));
    leser.setScaledSize(QSize(n, n));
    const QImage bild = leser.read().convertToFormat(QImage::Format_ARGB32);
    if (bild.isNull()) {
      std::fprintf(stderr, "cannot read %s: %s\n", argv[1], qPrintable(leser.errorString()));
      return 1;
    }
    bilder.push_back(IconBild(bild));
  }
  QByteArray ico;
  le16(ico, 0); le16(ico, 1); le16(ico, quint16(bilder.size()));
  quint32 versatz = 6 + 16 * quint32(bilder.size());
  const int größen[] = {16, 32, 48};
  for (std::size_t i = 0; i < bilder.size(); ++i) {
    ico.append(char(größen[i])).append(char(größen[i])).append('\0').append('\0');
    le16(ico, 1); le16(ico, 32); le32(ico, quint32(bilder[i].size())); le32(ico, versatz);
    versatz += quint32(bilder[i].size());
  }
  for (const QByteArray& b : bilder) ico.append(b);
  QFile datei(QString::fromLocal8Bit(argv[2]));
  if (!datei.open(QIODevice::WriteOnly) || datei.write(ico) != ico.size()) return 1;
  return 0;
}
