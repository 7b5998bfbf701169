#include "sidedokument.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

TProsedyredokument::~TProsedyredokument() {
  if (Frigi) {
    Frigi(Data);
  } else if (Data && Storrelse > 0) {
    std::free(Data);
  }
}

int TProsedyredokument::Sider() const { return std::max(Antall, 1); }

void TProsedyredokument::TegnSide(QPainter& p, int bredde, int hoyde, int side) const {
  if (Prosedyre) Prosedyre(p, bredde, hoyde, side, Data, false);
}

void TProsedyredokument::TegnSkjerm(QPainter& p, int bredde, int hoyde, int side) const {
  if (Prosedyre) Prosedyre(p, bredde, hoyde, side, Data, true);
}

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
