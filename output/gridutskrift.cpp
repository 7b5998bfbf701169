#include "gridutskrift.h"

#include <QPainter>
#include <algorithm>

#include "cp1252.h"
#include "tekst.h"

namespace {

// The rows of each page: data rows that fit below the header rows.
std::vector<std::pair<int, int>> Sider(const TRutenett& g, int plass) {
  int hode = 0;
  for (int r = 0; r < g.FasteRader(); ++r) hode += g.Radhoyde(r);
  std::vector<std::pair<int, int>> sider;
  int fra = g.FasteRader();
  while (fra < g.Rader() || sider.empty()) {
    int h = hode, til = fra;
    while (til < g.Rader() && (til == fra || h + g.Radhoyde(til) <= plass)) h += g.Radhoyde(til++);
    sider.emplace_back(fra, til);
    if (til >= g.Rader()) break;
    fra = til;
  }
  return sider;
}

}  // namespace

int SkrivRutenett(QPagedPaintDevice& enhet, const TRutenett& g, const QString& tittel, double dato,
                  const QFont& skrift) {
  enhet.setPageOrientation(QPageLayout::Portrait);
  QPainter p;
  if (!p.begin(&enhet)) return 0;
  const QRect side = p.viewport();
  // Grid units are screen pixels (96 per inch); the page has its own resolution.
  const double enhetPerPunkt = enhet.logicalDpiX() / 96.0;
  int bredde = 0;
  for (int k = 0; k < g.Kolonner(); ++k) bredde += g.Kolbredde(k);
  const double skala = std::min(enhetPerPunkt, side.width() * 0.95 / std::max(bredde, 1));
  QFont f = skrift;
  f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() > 0 ? f.pixelSize() * skala : 11 * skala)));
  p.setFont(f);
  const int linje = p.fontMetrics().height();
  const int topp = linje * 2;
  const int bunn = linje * 2;
  const int plass = static_cast<int>((side.height() - topp - bunn) / skala);
  const auto sider = Sider(g, plass);
  const int x0 = static_cast<int>((side.width() - bredde * skala) / 2);
  for (std::size_t s = 0; s < sider.size(); ++s) {
    if (s > 0) enhet.newPage();
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, side.width(), linje), Qt::AlignLeft | Qt::AlignVCenter, tittel);
    p.drawText(QRect(0, 0, side.width(), linje), Qt::AlignRight | Qt::AlignVCenter,
               QString("Side %1/%2").arg(s + 1).arg(sider.size()));
    p.drawText(QRect(0, side.height() - linje, side.width(), linje), Qt::AlignCenter,
               QString::fromStdString(DateToText(dato)));
    double y = topp;
    const auto rad = [&](int r) {
      double x = x0;
      const double h = g.Radhoyde(r) * skala;
      for (int k = 0; k < g.Kolonner(); ++k) {
        const double b = g.Kolbredde(k) * skala;
        const QRectF celle(x, y, b, h);
        p.drawRect(celle);
        p.drawText(celle.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   TilQString(g.Celle(k, r)));
        x += b;
      }
      y += h;
    };
    for (int r = 0; r < g.FasteRader(); ++r) rad(r);
    for (int r = sider[s].first; r < sider[s].second; ++r) rad(r);
  }
  p.end();
  return static_cast<int>(sider.size());
}
