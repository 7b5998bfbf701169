// lag-ikon SVG PNG STØRRELSE: draws the program's icon from its SVG file into a
// square PNG of the given size (for icon themes that want bitmaps).
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("Bruk: lag-ikon SVG PNG STØRRELSE\n", stderr);
    return 2;
  }
  const int storrelse = std::atoi(argv[3]);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid() || storrelse < 16 || storrelse > 1024) {
    std::fprintf(stderr, "Kunne ikke lese ikonet %s.\n", argv[1]);
    return 1;
  }
  QImage bilde(storrelse, storrelse, QImage::Format_ARGB32_Premultiplied);
  bilde.fill(Qt::transparent);
  {
    QPainter maler(&bilde);
    maler.setRenderHint(QPainter::Antialiasing);
    svg.render(&maler);
  }
  if (!bilde.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "Kunne ikke skrive %s.\n", argv[2]);
    return 1;
  }
  return 0;
}
