#include "tgrid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "cp1252.h"

namespace {

constexpr int KantAvstand = 3;  // how near a column's edge the mouse must be to drag it

}  // namespace

TGrid::TGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::StyledPanel);
  modell_.VedEndring = [this] {
    if (forsteKol_ < modell_.FasteKol()) forsteKol_ = modell_.FasteKol();
    if (forsteRad_ < modell_.FasteRader()) forsteRad_ = modell_.FasteRader();
    OppdaterRullefelt();
    PlasserRedigerer();
    viewport()->update();
  };
  modell_.SettStandardHoyde(fontMetrics().height() + 6);
}

TGrid::~TGrid() { modell_.VedEndring = nullptr; }

QString TGrid::Tekst(int kol, int rad) const { return TilQString(modell_.Celle(kol, rad)); }

void TGrid::SettTekst(int kol, int rad, const QString& tekst) { modell_.SettCelle(kol, rad, FraQString(tekst)); }

void TGrid::SettRullefelt(bool vis) {
  const auto p = vis ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(p);
  setVerticalScrollBarPolicy(p);
}

QSize TGrid::Innholdsstorrelse() const {
  const int linje = Linjer ? 1 : 0;
  int b = 0, h = 0;
  for (int k = 0; k < modell_.Kolonner(); ++k) b += modell_.Kolbredde(k) + linje;
  for (int r = 0; r < modell_.Rader(); ++r) h += modell_.Radhoyde(r) + linje;
  return QSize(b, h);
}

QSize TGrid::sizeHint() const {
  const QSize innhold = Innholdsstorrelse();
  const int ramme = 2 * frameWidth();
  return QSize(std::min(innhold.width() + ramme, 800), std::min(innhold.height() + ramme, 600));
}

void TGrid::OppdaterRullefelt() {
  const int linje = Linjer ? 1 : 0;
  // How many scrolling columns/rows can be hidden at the start while the
  // rest still fills the view.
  const auto sisteStart = [&](int antall, int faste, int plass, auto storrelse) {
    int brukt = 0;
    for (int i = 0; i < faste; ++i) brukt += storrelse(i) + linje;
    int ledig = plass - brukt;
    int i = antall - 1;
    while (i >= faste && ledig - (storrelse(i) + linje) >= 0) {
      ledig -= storrelse(i) + linje;
      --i;
    }
    return std::max(i + 1, faste);
  };
  const int maksKol = sisteStart(modell_.Kolonner(), modell_.FasteKol(), viewport()->width(),
                                 [this](int k) { return modell_.Kolbredde(k); });
  const int maksRad = sisteStart(modell_.Rader(), modell_.FasteRader(), viewport()->height(),
                                 [this](int r) { return modell_.Radhoyde(r); });
  horizontalScrollBar()->setRange(0, std::max(maksKol - modell_.FasteKol(), 0));
  verticalScrollBar()->setRange(0, std::max(maksRad - modell_.FasteRader(), 0));
  horizontalScrollBar()->setPageStep(1);
  verticalScrollBar()->setPageStep(std::max(SisteHeltSynligeRad() - forsteRad_, 1));
  forsteKol_ = std::clamp(forsteKol_, modell_.FasteKol(), std::max(maksKol, modell_.FasteKol()));
  forsteRad_ = std::clamp(forsteRad_, modell_.FasteRader(), std::max(maksRad, modell_.FasteRader()));
  horizontalScrollBar()->setValue(forsteKol_ - modell_.FasteKol());
  verticalScrollBar()->setValue(forsteRad_ - modell_.FasteRader());
}

void TGrid::scrollContentsBy(int, int) {
  const int kol = modell_.FasteKol() + horizontalScrollBar()->value();
  const int rad = modell_.FasteRader() + verticalScrollBar()->value();
  if (kol == forsteKol_ && rad == forsteRad_) return;
  forsteKol_ = kol;
  forsteRad_ = rad;
  PlasserRedigerer();
  viewport()->update();
  emit rullet();
}

void TGrid::SettVenstreKol(int kol) {
  horizontalScrollBar()->setValue(kol - modell_.FasteKol());
  scrollContentsBy(0, 0);
}

void TGrid::SettToppRad(int rad) {
  verticalScrollBar()->setValue(rad - modell_.FasteRader());
  scrollContentsBy(0, 0);
}

void TGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  OppdaterRullefelt();
}

QRect TGrid::Celleramme(int kol, int rad) const {
  if (kol < 0 || rad < 0 || kol >= modell_.Kolonner() || rad >= modell_.Rader()) return {};
  const int linje = Linjer ? 1 : 0;
  if (kol >= modell_.FasteKol() && kol < forsteKol_) return {};
  if (rad >= modell_.FasteRader() && rad < forsteRad_) return {};
  int x = 0;
  for (int k = 0; k < modell_.FasteKol() && k < kol; ++k) x += modell_.Kolbredde(k) + linje;
  if (kol >= modell_.FasteKol())
    for (int k = forsteKol_; k < kol; ++k) x += modell_.Kolbredde(k) + linje;
  int y = 0;
  for (int r = 0; r < modell_.FasteRader() && r < rad; ++r) y += modell_.Radhoyde(r) + linje;
  if (rad >= modell_.FasteRader())
    for (int r = forsteRad_; r < rad; ++r) y += modell_.Radhoyde(r) + linje;
  return QRect(x, y, modell_.Kolbredde(kol), modell_.Radhoyde(rad));
}

QPoint TGrid::CelleVed(const QPoint& p) const {
  const int linje = Linjer ? 1 : 0;
  int kol = -1, rad = -1;
  int x = 0;
  for (int k = 0; k < modell_.Kolonner(); ++k) {
    if (k >= modell_.FasteKol() && k < forsteKol_) continue;
    const int b = modell_.Kolbredde(k) + linje;
    if (p.x() >= x && p.x() < x + b) {
      kol = k;
      break;
    }
    x += b;
  }
  int y = 0;
  for (int r = 0; r < modell_.Rader(); ++r) {
    if (r >= modell_.FasteRader() && r < forsteRad_) continue;
    const int h = modell_.Radhoyde(r) + linje;
    if (p.y() >= y && p.y() < y + h) {
      rad = r;
      break;
    }
    y += h;
  }
  if (kol < 0 || rad < 0) return QPoint(-1, -1);
  return QPoint(kol, rad);
}

int TGrid::SisteHeltSynligeRad() const {
  const int linje = Linjer ? 1 : 0;
  int y = 0;
  for (int r = 0; r < modell_.FasteRader(); ++r) y += modell_.Radhoyde(r) + linje;
  int siste = forsteRad_;
  for (int r = forsteRad_; r < modell_.Rader(); ++r) {
    y += modell_.Radhoyde(r) + linje;
    if (y > viewport()->height()) break;
    siste = r;
  }
  return siste;
}

void TGrid::VisCelle(int kol, int rad) {
  if (rad >= modell_.FasteRader()) {
    if (rad < forsteRad_) {
      SettToppRad(rad);
    } else {
      while (rad > SisteHeltSynligeRad() && forsteRad_ < rad) {
        const int for_ = forsteRad_;
        SettToppRad(forsteRad_ + 1);
        if (forsteRad_ == for_) break;
      }
    }
  }
  if (kol >= modell_.FasteKol()) {
    if (kol < forsteKol_) {
      SettVenstreKol(kol);
    } else {
      for (;;) {
        const QRect r = Celleramme(kol, std::max(rad, 0));
        if (!r.isEmpty() && r.right() < viewport()->width()) break;
        const int for_ = forsteKol_;
        SettVenstreKol(forsteKol_ + 1);
        if (forsteKol_ == for_) break;
      }
    }
  }
}

void TGrid::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), palette().color(QPalette::Window));
  const int linje = Linjer ? 1 : 0;
  const QColor knappeflate = palette().color(QPalette::Button);
  const QColor base = palette().color(QPalette::Base);
  const QColor merket = palette().color(QPalette::Highlight);
  const QColor merketTekst = palette().color(QPalette::HighlightedText);
  const QColor tekstfarge = palette().color(QPalette::Text);
  const TOmraade& valg = modell_.Valg();

  std::vector<int> kolonner, rader;
  for (int k = 0; k < modell_.FasteKol() && k < modell_.Kolonner(); ++k) kolonner.push_back(k);
  int x = 0;
  for (int k : kolonner) x += modell_.Kolbredde(k) + linje;
  for (int k = forsteKol_; k < modell_.Kolonner() && x < viewport()->width(); ++k) {
    kolonner.push_back(k);
    x += modell_.Kolbredde(k) + linje;
  }
  for (int r = 0; r < modell_.FasteRader() && r < modell_.Rader(); ++r) rader.push_back(r);
  int y = 0;
  for (int r : rader) y += modell_.Radhoyde(r) + linje;
  for (int r = forsteRad_; r < modell_.Rader() && y < viewport()->height(); ++r) {
    rader.push_back(r);
    y += modell_.Radhoyde(r) + linje;
  }

  int cy = 0;
  for (int r : rader) {
    int cx = 0;
    const int h = modell_.Radhoyde(r);
    for (int k : kolonner) {
      const int w = modell_.Kolbredde(k);
      TCelleTegning c;
      c.kol = k;
      c.rad = r;
      c.rute = QRect(cx, cy, w, h);
      c.fast = k < modell_.FasteKol() || r < modell_.FasteRader();
      c.valgt = !c.fast && Velgbar && valg.Inneholder(k, r);
      c.gjeldende = k == modell_.GjeldendeKol() && r == modell_.GjeldendeRad();
      c.tekst = Tekst(k, r);
      c.font = font();
      c.bakgrunn = c.fast ? knappeflate : (c.valgt && hasFocus() ? merket : (c.valgt ? merket.lighter(170) : base));
      c.tekstfarge = c.valgt && hasFocus() ? merketTekst : tekstfarge;
      if (TegnCelle) {
        p.save();
        TegnCelle(p, c);
        p.restore();
      }
      if (!c.ferdig) {
        p.fillRect(c.rute, c.bakgrunn);
        if (!c.tekst.isEmpty()) {
          p.setFont(c.font);
          p.setPen(c.tekstfarge);
          const QRect innside = c.rute.adjusted(2, 0, -2, 0);
          const QFontMetrics fm(c.font);
          int flagg = static_cast<int>(c.justering);
          // Text wraps in a cell tall enough for two lines.
          if (c.rute.height() >= 2 * fm.height()) flagg |= Qt::TextWordWrap;
          p.drawText(innside, flagg, c.tekst);
        }
        if (c.fast) {
          p.setPen(palette().color(QPalette::Light));
          p.drawLine(c.rute.topLeft(), c.rute.topRight());
          p.drawLine(c.rute.topLeft(), c.rute.bottomLeft());
        }
      }
      if (Linjer) {
        p.setPen(c.fast ? palette().color(QPalette::Dark) : Linjefarge);
        p.drawLine(c.rute.right() + 1, c.rute.top(), c.rute.right() + 1, c.rute.bottom() + 1);
        p.drawLine(c.rute.left(), c.rute.bottom() + 1, c.rute.right() + 1, c.rute.bottom() + 1);
      }
      if (c.gjeldende && hasFocus() && !c.fast && Velgbar) {
        p.setPen(QPen(tekstfarge, 1, Qt::DotLine));
        p.drawRect(c.rute.adjusted(0, 0, -1, -1));
      }
      cx += w + linje;
    }
    cy += h + linje;
  }
}

int TGrid::KolonneKant(const QPoint& p) const {
  if (!KolonneDrag) return -1;
  const QPoint celle = CelleVed(p);
  if (celle.y() < 0 || celle.y() >= modell_.FasteRader()) return -1;
  for (int k = 0; k < modell_.Kolonner(); ++k) {
    const QRect r = Celleramme(k, celle.y());
    if (r.isEmpty()) continue;
    if (std::abs(p.x() - (r.right() + 1)) <= KantAvstand) return k;
  }
  return -1;
}

void TGrid::mousePressEvent(QMouseEvent* e) {
  if (Redigerer() && !AvsluttRedigering()) return;
  const QPoint pos = e->position().toPoint();
  const int kant = e->button() == Qt::LeftButton ? KolonneKant(pos) : -1;
  if (kant >= 0) {
    dragKol_ = kant;
    dragStartX_ = pos.x();
    dragStartBredde_ = modell_.Kolbredde(kant);
    return;
  }
  const QPoint celle = CelleVed(pos);
  if (celle.x() < 0) return;
  if (e->button() == Qt::LeftButton && Velgbar && celle.x() >= modell_.FasteKol() &&
      celle.y() >= modell_.FasteRader()) {
    Flytt(celle.x(), celle.y(), e->modifiers() & Qt::ShiftModifier);
    velger_ = true;
  }
  emit celleKlikket(celle.x(), celle.y());
}

void TGrid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (dragKol_ >= 0) {
    const int ny = std::max(dragStartBredde_ + pos.x() - dragStartX_, 2);
    if (ny != modell_.Kolbredde(dragKol_)) {
      modell_.SettKolbredde(dragKol_, ny);
      emit kolonnebreddeEndret(dragKol_);
    }
    return;
  }
  if (velger_ && (e->buttons() & Qt::LeftButton)) {
    const QPoint celle = CelleVed(pos);
    if (celle.x() >= modell_.FasteKol() && celle.y() >= modell_.FasteRader()) {
      TOmraade v{std::min(anker_.x(), celle.x()), std::min(anker_.y(), celle.y()), std::max(anker_.x(), celle.x()),
                 std::max(anker_.y(), celle.y())};
      if (!(v == modell_.Valg())) {
        modell_.SettValg(v);
        emit valgEndret();
      }
    }
    return;
  }
  viewport()->setCursor(KolonneKant(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TGrid::mouseReleaseEvent(QMouseEvent*) {
  dragKol_ = -1;
  velger_ = false;
  emit musSluppet();
}

void TGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint celle = CelleVed(e->position().toPoint());
  if (celle.x() < 0) return;
  emit celleDobbeltklikket(celle.x(), celle.y());
  if (Redigerbar && celle.x() >= modell_.FasteKol() && celle.y() >= modell_.FasteRader()) StartRedigering();
}

void TGrid::Flytt(int kol, int rad, bool utvid) {
  kol = std::clamp(kol, modell_.FasteKol(), std::max(modell_.Kolonner() - 1, modell_.FasteKol()));
  rad = std::clamp(rad, modell_.FasteRader(), std::max(modell_.Rader() - 1, modell_.FasteRader()));
  if (kol >= modell_.Kolonner() || rad >= modell_.Rader()) return;
  if (utvid) {
    const TOmraade v{std::min(anker_.x(), kol), std::min(anker_.y(), rad), std::max(anker_.x(), kol),
                     std::max(anker_.y(), rad)};
    modell_.SettValg(v);
  } else {
    anker_ = QPoint(kol, rad);
    modell_.SettGjeldende(kol, rad);
  }
  VisCelle(kol, rad);
  emit celleValgt(kol, rad);
  emit valgEndret();
}

void TGrid::keyPressEvent(QKeyEvent* e) {
  if (!Velgbar) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  const bool utvid = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int side = std::max(SisteHeltSynligeRad() - forsteRad_, 1);
  switch (e->key()) {
    case Qt::Key_Left: Flytt(kol - 1, rad, utvid); return;
    case Qt::Key_Right: Flytt(kol + 1, rad, utvid); return;
    case Qt::Key_Up: Flytt(kol, rad - 1, utvid); return;
    case Qt::Key_Down: Flytt(kol, rad + 1, utvid); return;
    case Qt::Key_PageUp: Flytt(kol, rad - side, utvid); return;
    case Qt::Key_PageDown: Flytt(kol, rad + side, utvid); return;
    case Qt::Key_Home: Flytt(ctrl ? kol : modell_.FasteKol(), ctrl ? modell_.FasteRader() : rad, utvid); return;
    case Qt::Key_End:
      Flytt(ctrl ? kol : modell_.Kolonner() - 1, ctrl ? modell_.Rader() - 1 : rad, utvid);
      return;
    case Qt::Key_Tab:
      if (TabMellomCeller) {
        Flytt(kol + 1 < modell_.Kolonner() ? kol + 1 : modell_.FasteKol(),
              kol + 1 < modell_.Kolonner() ? rad : rad + 1, false);
        return;
      }
      break;
    case Qt::Key_F2:
      if (Redigerbar) {
        StartRedigering();
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (Redigerbar) {
        if (EnterFlytterHoyre)
          Flytt(kol + 1 < modell_.Kolonner() ? kol + 1 : modell_.FasteKol(),
                kol + 1 < modell_.Kolonner() ? rad : rad + 1, false);
        else
          StartRedigering();
        return;
      }
      break;
    default:
      if (Redigerbar && !ctrl && !e->text().isEmpty() && e->text()[0].isPrint()) {
        const QString start = e->text();
        StartRedigering(&start);
        return;
      }
      break;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

void TGrid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update();
  if (!Redigerer() || (redigerer_ && !redigerer_->hasFocus())) emit forlatt();
}

bool TGrid::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::ToolTip && Hint) {
    auto* h = static_cast<QHelpEvent*>(e);
    const QPoint celle = CelleVed(h->pos());
    const QString tekst = celle.x() >= 0 ? Hint(celle.x(), celle.y()) : QString();
    if (tekst.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(h->globalPos(), tekst, viewport(), Celleramme(celle.x(), celle.y()));
    return true;
  }
  return QAbstractScrollArea::viewportEvent(e);
}

// ---- editing ----

bool TGrid::Redigerer() const { return redigerer_ && redigerer_->isVisible(); }

void TGrid::PlasserRedigerer() {
  if (!Redigerer()) return;
  const QRect r = Celleramme(redKol_, redRad_);
  if (r.isEmpty())
    redigerer_->hide();
  else
    redigerer_->setGeometry(r);
}

void TGrid::StartRedigering(const QString* start) {
  if (!Redigerbar) return;
  const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  if (kol < modell_.FasteKol() || rad < modell_.FasteRader() || kol >= modell_.Kolonner() ||
      rad >= modell_.Rader())
    return;
  if (!redigerer_) {
    redigerer_ = new QLineEdit(viewport());
    redigerer_->setFrame(false);
    redigerer_->installEventFilter(this);
  }
  redKol_ = kol;
  redRad_ = rad;
  redStart_ = Tekst(kol, rad);
  VisCelle(kol, rad);
  redigerer_->setFont(font());
  redigerer_->setText(start ? *start : redStart_);
  redigerer_->setGeometry(Celleramme(kol, rad));
  redigerer_->show();
  redigerer_->setFocus();
  if (!start) redigerer_->selectAll();
}

bool TGrid::AvsluttRedigering() {
  if (!Redigerer()) return true;
  const QString ny = redigerer_->text();
  if (ny != redStart_ || Valider) {
    std::string tekst = FraQString(ny);
    bool gyldig = true;
    if (Valider && ny != redStart_) gyldig = Valider(redKol_, redRad_, tekst);
    modell_.SettCelle(redKol_, redRad_, tekst);
    if (!gyldig) {
      // The editor stays on the cell, showing the rewritten text.
      redigerer_->setText(TilQString(tekst));
      redStart_ = redigerer_->text();
      redigerer_->setFocus();
      return false;
    }
  }
  redigerer_->hide();
  setFocus();
  return true;
}

void TGrid::AvbrytRedigering() {
  if (!Redigerer()) return;
  redigerer_->hide();
  setFocus();
}

bool TGrid::eventFilter(QObject* o, QEvent* e) {
  if (o == redigerer_) {
    if (e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      switch (k->key()) {
        case Qt::Key_Escape:
          AvbrytRedigering();
          return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
          if (AvsluttRedigering() && EnterFlytterHoyre) {
            const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
            Flytt(kol + 1 < modell_.Kolonner() ? kol + 1 : modell_.FasteKol(),
                  kol + 1 < modell_.Kolonner() ? rad : rad + 1, false);
          }
          return true;
        case Qt::Key_Tab:
          if (TabMellomCeller && AvsluttRedigering()) {
            const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
            Flytt(kol + 1 < modell_.Kolonner() ? kol + 1 : modell_.FasteKol(),
                  kol + 1 < modell_.Kolonner() ? rad : rad + 1, false);
          }
          return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
          if (AvsluttRedigering()) keyPressEvent(k);
          return true;
        default:
          break;
      }
    } else if (e->type() == QEvent::FocusOut) {
      auto* f = static_cast<QFocusEvent*>(e);
      // Leaving the editor for another control ends the editing.
      if (f->reason() != Qt::PopupFocusReason && Redigerer()) {
        if (AvsluttRedigering()) emit forlatt();
      }
    }
  }
  return QAbstractScrollArea::eventFilter(o, e);
}
