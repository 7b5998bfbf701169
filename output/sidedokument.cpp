#include "sidedokument.h"

#include <QPagedPaintDevice>
#include <QPainter>

void SkrivSider(QPainter& p, QPagedPaintDevice& enhet, const TSidedokument& dokument, int fra, int til,
                const QRect& flate, const std::function<void(int side)>& fremdrift) {
  for (int s = fra; s <= til; ++s) {
    if (s > fra) enhet.newPage();
    if (fremdrift) fremdrift(s);
    p.save();
    p.translate(flate.topLeft());
    dokument.TegnSide(p, flate.width(), flate.height(), s);
    p.restore();
  }
}
