#include "tgrid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

#include "cp1252.h"

namespace {

constexpr int KantAvstand = 3;  // how near a column's edge the mouse must be to drag it

// The smallest first index from which the items up to `slutt` fit in `plass`
// pixels, going no lower than `minst`; `slutt` itself when even it does not fit.
template <typename Storrelse>
int ForsteSomRommer(int slutt, int minst, int plass, Storrelse storrelse) {
  int forste = slutt;
  int brukt = storrelse(slutt);
  while (forste > minst && brukt + storrelse(forste - 1) <= plass) {
    --forste;
    brukt += storrelse(forste);
  }
  return forste;
}

}  // namespace

TGrid::TGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::StyledPanel);
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(1);
  modell_.VedEndring = [this] { ModellEndret(); };
  modell_.SettStandardHoyde(fontMetrics().height() + 6);
}

TGrid::~TGrid() {
  modell_.VedEndring = nullptr;
  if (redigerer_) redigerer_->removeEventFilter(this);
}

QString TGrid::Tekst(int kol, int rad) const { return TilQString(modell_.Celle(kol, rad)); }

void TGrid::SettTekst(int kol, int rad, const QString& tekst) { modell_.SettCelle(kol, rad, FraQString(tekst)); }

void TGrid::SettRullefelt(bool vis) {
  const auto p = vis ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(p);
  setVerticalScrollBarPolicy(p);
}

// The scroll bars' values are the scroll position: how many scrolling columns
// and rows are hidden at the start. Kept that way, the position survives a
// change of the fixed counts.
int TGrid::VenstreKol() const { return modell_.FasteKol() + horizontalScrollBar()->value(); }

int TGrid::ToppRad() const { return modell_.FasteRader() + verticalScrollBar()->value(); }

void TGrid::SettVenstreKol(int kol) { horizontalScrollBar()->setValue(kol - modell_.FasteKol()); }

void TGrid::SettToppRad(int rad) { verticalScrollBar()->setValue(rad - modell_.FasteRader()); }

bool TGrid::HarDataceller() const {
  return modell_.FasteKol() < modell_.Kolonner() && modell_.FasteRader() < modell_.Rader();
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

void TGrid::ModellEndret() {
  OppdaterRullefelt();
  PlasserRedigerer();
  viewport()->update();
}

void TGrid::OppdaterRullefelt() {
  const int linje = Linjer ? 1 : 0;
  const auto bredde = [&](int k) { return modell_.Kolbredde(k) + linje; };
  const auto hoyde = [&](int r) { return modell_.Radhoyde(r) + linje; };
  const int fasteKol = modell_.FasteKol(), fasteRader = modell_.FasteRader();
  int fastBredde = 0, fastHoyde = 0;
  for (int k = 0; k < fasteKol && k < modell_.Kolonner(); ++k) fastBredde += bredde(k);
  for (int r = 0; r < fasteRader && r < modell_.Rader(); ++r) fastHoyde += hoyde(r);
  // Scrolling stops where the last column and row are wholly in view.
  const int maksKol = modell_.Kolonner() > fasteKol
                          ? ForsteSomRommer(modell_.Kolonner() - 1, fasteKol, viewport()->width() - fastBredde, bredde)
                          : fasteKol;
  const int maksRad = modell_.Rader() > fasteRader
                          ? ForsteSomRommer(modell_.Rader() - 1, fasteRader, viewport()->height() - fastHoyde, hoyde)
                          : fasteRader;
  // A range that cuts the value scrolls through scrollContentsBy.
  horizontalScrollBar()->setRange(0, maksKol - fasteKol);
  verticalScrollBar()->setRange(0, maksRad - fasteRader);
  horizontalScrollBar()->setPageStep(std::max(SisteHeltSynligeKol() - VenstreKol() + 1, 1));
  verticalScrollBar()->setPageStep(std::max(SisteHeltSynligeRad() - ToppRad() + 1, 1));
}

void TGrid::scrollContentsBy(int, int) {
  PlasserRedigerer();
  viewport()->update();
  emit rullet();
}

void TGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  OppdaterRullefelt();
  PlasserRedigerer();
}

QRect TGrid::Celleramme(int kol, int rad) const {
  if (kol < 0 || rad < 0 || kol >= modell_.Kolonner() || rad >= modell_.Rader()) return {};
  const int linje = Linjer ? 1 : 0;
  const int venstre = VenstreKol(), topp = ToppRad();
  if (kol >= modell_.FasteKol() && kol < venstre) return {};
  if (rad >= modell_.FasteRader() && rad < topp) return {};
  const int bredde = viewport()->width(), hoyde = viewport()->height();
  int x = 0;
  for (int k = 0; k < modell_.FasteKol() && k < kol; ++k) x += modell_.Kolbredde(k) + linje;
  for (int k = venstre; k < kol && x < bredde; ++k) x += modell_.Kolbredde(k) + linje;
  int y = 0;
  for (int r = 0; r < modell_.FasteRader() && r < rad; ++r) y += modell_.Radhoyde(r) + linje;
  for (int r = topp; r < rad && y < hoyde; ++r) y += modell_.Radhoyde(r) + linje;
  if (x >= bredde || y >= hoyde) return {};
  return QRect(x, y, modell_.Kolbredde(kol), modell_.Radhoyde(rad));
}

// The column under x: the fixed columns, then the scrolling ones from the
// first shown; each includes the grid line on its right. -1 when none.
int TGrid::KolVed(int x) const {
  if (x < 0) return -1;
  const int linje = Linjer ? 1 : 0;
  int kant = 0;
  for (int k = 0; k < modell_.FasteKol() && k < modell_.Kolonner(); ++k) {
    kant += modell_.Kolbredde(k) + linje;
    if (x < kant) return k;
  }
  for (int k = VenstreKol(); k < modell_.Kolonner(); ++k) {
    kant += modell_.Kolbredde(k) + linje;
    if (x < kant) return k;
  }
  return -1;
}

int TGrid::RadVed(int y) const {
  if (y < 0) return -1;
  const int linje = Linjer ? 1 : 0;
  int kant = 0;
  for (int r = 0; r < modell_.FasteRader() && r < modell_.Rader(); ++r) {
    kant += modell_.Radhoyde(r) + linje;
    if (y < kant) return r;
  }
  for (int r = ToppRad(); r < modell_.Rader(); ++r) {
    kant += modell_.Radhoyde(r) + linje;
    if (y < kant) return r;
  }
  return -1;
}

QPoint TGrid::CelleVed(const QPoint& p) const {
  const int kol = KolVed(p.x()), rad = RadVed(p.y());
  if (kol < 0 || rad < 0) return QPoint(-1, -1);
  return QPoint(kol, rad);
}

int TGrid::SisteHeltSynligeRad() const {
  const int linje = Linjer ? 1 : 0;
  int y = 0;
  for (int r = 0; r < modell_.FasteRader() && r < modell_.Rader(); ++r) y += modell_.Radhoyde(r) + linje;
  int siste = ToppRad();
  for (int r = ToppRad(); r < modell_.Rader(); ++r) {
    y += modell_.Radhoyde(r) + linje;
    if (y > viewport()->height()) break;
    siste = r;
  }
  return siste;
}

int TGrid::SisteHeltSynligeKol() const {
  const int linje = Linjer ? 1 : 0;
  int x = 0;
  for (int k = 0; k < modell_.FasteKol() && k < modell_.Kolonner(); ++k) x += modell_.Kolbredde(k) + linje;
  int siste = VenstreKol();
  for (int k = VenstreKol(); k < modell_.Kolonner(); ++k) {
    x += modell_.Kolbredde(k) + linje;
    if (x > viewport()->width()) break;
    siste = k;
  }
  return siste;
}

void TGrid::VisCelle(int kol, int rad) {
  const int linje = Linjer ? 1 : 0;
  if (rad >= modell_.FasteRader() && rad < modell_.Rader()) {
    int topp = ToppRad();
    if (rad < topp) {
      topp = rad;
    } else {
      int fast = 0;
      for (int r = 0; r < modell_.FasteRader(); ++r) fast += modell_.Radhoyde(r) + linje;
      const int forste = ForsteSomRommer(rad, modell_.FasteRader(), viewport()->height() - fast,
                                         [&](int r) { return modell_.Radhoyde(r) + linje; });
      topp = std::max(topp, forste);
    }
    SettToppRad(topp);
  }
  if (kol >= modell_.FasteKol() && kol < modell_.Kolonner()) {
    int venstre = VenstreKol();
    if (kol < venstre) {
      venstre = kol;
    } else {
      int fast = 0;
      for (int k = 0; k < modell_.FasteKol(); ++k) fast += modell_.Kolbredde(k) + linje;
      const int forste = ForsteSomRommer(kol, modell_.FasteKol(), viewport()->width() - fast,
                                         [&](int k) { return modell_.Kolbredde(k) + linje; });
      venstre = std::max(venstre, forste);
    }
    SettVenstreKol(venstre);
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
  const bool fokus = hasFocus();

  std::vector<int> kolonner, rader;
  int x = 0;
  for (int k = 0; k < modell_.FasteKol() && k < modell_.Kolonner(); ++k) {
    kolonner.push_back(k);
    x += modell_.Kolbredde(k) + linje;
  }
  for (int k = VenstreKol(); k < modell_.Kolonner() && x < viewport()->width(); ++k) {
    kolonner.push_back(k);
    x += modell_.Kolbredde(k) + linje;
  }
  int y = 0;
  for (int r = 0; r < modell_.FasteRader() && r < modell_.Rader(); ++r) {
    rader.push_back(r);
    y += modell_.Radhoyde(r) + linje;
  }
  for (int r = ToppRad(); r < modell_.Rader() && y < viewport()->height(); ++r) {
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
      c.bakgrunn = c.fast ? knappeflate : (c.valgt && fokus ? merket : (c.valgt ? merket.lighter(170) : base));
      c.tekstfarge = c.valgt && fokus ? merketTekst : tekstfarge;
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
      if (c.gjeldende && fokus && !c.fast && Velgbar) {
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
  const int rad = RadVed(p.y());
  if (rad < 0 || rad >= modell_.FasteRader()) return -1;
  const int linje = Linjer ? 1 : 0;
  int beste = -1, avstand = KantAvstand + 1;
  int venstre = 0;
  const auto sjekk = [&](int k) {
    const int kant = venstre + modell_.Kolbredde(k);
    const int d = std::abs(p.x() - kant);
    if (d < avstand) {
      beste = k;
      avstand = d;
    }
    venstre = kant + linje;
  };
  for (int k = 0; k < modell_.FasteKol() && k < modell_.Kolonner(); ++k) sjekk(k);
  for (int k = VenstreKol(); k < modell_.Kolonner() && venstre <= viewport()->width(); ++k) sjekk(k);
  return beste;
}

void TGrid::mousePressEvent(QMouseEvent* e) {
  if (Redigerer()) {
    // A click that takes the focus from the editor has already ended the
    // editing through the focus change; an editor that still holds the focus
    // here kept a rejected text, and the click is dropped.
    if (redigerer_->hasFocus() || !AvsluttRedigering()) return;
  }
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
  // Dragging a header cell moves its column; a fixed-column cell, its row.
  if (e->button() == Qt::LeftButton && KolonneFlytt && celle.y() < modell_.FasteRader() &&
      celle.x() >= modell_.FasteKol())
    flyttKol_ = celle.x();
  if (e->button() == Qt::LeftButton && RadFlytt && celle.x() < modell_.FasteKol() && celle.y() >= modell_.FasteRader())
    flyttRad_ = celle.y();
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
    // Past an edge, or over the fixed cells, the selection reaches one cell
    // beyond what is wholly shown, so the grid scrolls as the mouse moves.
    const QRect vp = viewport()->rect();
    int kol = KolVed(std::clamp(pos.x(), 0, vp.width() - 1));
    if (pos.x() >= vp.width())
      kol = SisteHeltSynligeKol() + 1;
    else if (kol < 0)
      kol = modell_.Kolonner() - 1;
    else if (pos.x() < 0 || kol < modell_.FasteKol())
      kol = VenstreKol() - 1;
    int rad = RadVed(std::clamp(pos.y(), 0, vp.height() - 1));
    if (pos.y() >= vp.height())
      rad = SisteHeltSynligeRad() + 1;
    else if (rad < 0)
      rad = modell_.Rader() - 1;
    else if (pos.y() < 0 || rad < modell_.FasteRader())
      rad = ToppRad() - 1;
    Flytt(kol, rad, true);
    return;
  }
  if (flyttKol_ >= 0 || flyttRad_ >= 0) {
    viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  viewport()->setCursor(KolonneKant(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TGrid::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint celle = CelleVed(e->position().toPoint());
  if (flyttKol_ >= 0 && celle.x() >= modell_.FasteKol() && celle.x() != flyttKol_) {
    const int fra = flyttKol_;
    modell_.FlyttKolonne(fra, celle.x());
    emit kolonneFlyttet(fra, celle.x());
  }
  if (flyttRad_ >= 0 && celle.y() >= modell_.FasteRader() && celle.y() != flyttRad_) {
    const int fra = flyttRad_;
    modell_.FlyttRad(fra, celle.y());
    emit radFlyttet(fra, celle.y());
  }
  flyttKol_ = flyttRad_ = -1;
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

// The corner of the selection opposite the current cell; the current cell
// itself when it lies outside the selection.
QPoint TGrid::Anker() const {
  const TOmraade& v = modell_.Valg();
  const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  if (!v.Inneholder(kol, rad)) return QPoint(kol, rad);
  return QPoint(kol == v.venstre ? v.hoyre : v.venstre, rad == v.topp ? v.bunn : v.topp);
}

// The cell after (or before) the current one, row by row; the current cell at
// the grid's end.
QPoint TGrid::NesteCelle(bool fram) const {
  int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  const int forsteKol = modell_.FasteKol(), sisteKol = modell_.Kolonner() - 1;
  if (fram) {
    if (kol < sisteKol) {
      ++kol;
    } else if (rad < modell_.Rader() - 1) {
      kol = forsteKol;
      ++rad;
    }
  } else {
    if (kol > forsteKol) {
      --kol;
    } else if (rad > modell_.FasteRader()) {
      kol = sisteKol;
      --rad;
    }
  }
  return QPoint(kol, rad);
}

void TGrid::Flytt(int kol, int rad, bool utvid) {
  if (!HarDataceller()) return;
  kol = std::clamp(kol, modell_.FasteKol(), modell_.Kolonner() - 1);
  rad = std::clamp(rad, modell_.FasteRader(), modell_.Rader() - 1);
  const int forKol = modell_.GjeldendeKol(), forRad = modell_.GjeldendeRad();
  const TOmraade forValg = modell_.Valg();
  if (utvid) {
    const QPoint a = Anker();
    modell_.SettGjeldende(kol, rad);
    modell_.SettValg(TOmraade{std::min(a.x(), kol), std::min(a.y(), rad), std::max(a.x(), kol), std::max(a.y(), rad)});
  } else {
    modell_.SettGjeldende(kol, rad);
  }
  VisCelle(kol, rad);
  if (kol != forKol || rad != forRad) emit celleValgt(kol, rad);
  if (!(modell_.Valg() == forValg)) emit valgEndret();
}

bool TGrid::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::KeyPress: {
      // Tab normally moves the focus before keyPressEvent sees it.
      auto* k = static_cast<QKeyEvent*>(e);
      if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && TabMellomCeller && Velgbar && HarDataceller() &&
          !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        keyPressEvent(k);
        return true;
      }
      break;
    }
    case QEvent::FocusIn: viewport()->update(); break;
    default: break;
  }
  return QAbstractScrollArea::event(e);
}

void TGrid::keyPressEvent(QKeyEvent* e) {
  if (!Velgbar || !HarDataceller()) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  const bool utvid = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int side = std::max(SisteHeltSynligeRad() - ToppRad(), 1);
  switch (e->key()) {
    case Qt::Key_Left: Flytt(kol - 1, rad, utvid); return;
    case Qt::Key_Right: Flytt(kol + 1, rad, utvid); return;
    case Qt::Key_Up: Flytt(kol, rad - 1, utvid); return;
    case Qt::Key_Down: Flytt(kol, rad + 1, utvid); return;
    case Qt::Key_PageUp: Flytt(kol, rad - side, utvid); return;
    case Qt::Key_PageDown: Flytt(kol, rad + side, utvid); return;
    // Home and End go to the ends of the row; with Ctrl, of the column.
    case Qt::Key_Home: Flytt(ctrl ? kol : modell_.FasteKol(), ctrl ? modell_.FasteRader() : rad, utvid); return;
    case Qt::Key_End: Flytt(ctrl ? kol : modell_.Kolonner() - 1, ctrl ? modell_.Rader() - 1 : rad, utvid); return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (TabMellomCeller) {
        const QPoint c = NesteCelle(e->key() == Qt::Key_Tab && !utvid);
        Flytt(c.x(), c.y(), false);
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
        if (EnterFlytterHoyre) {
          const QPoint c = NesteCelle(true);
          Flytt(c.x(), c.y(), false);
        } else {
          StartRedigering();
        }
        return;
      }
      break;
    default:
      if (Redigerbar && !ctrl && !(e->modifiers() & Qt::AltModifier) && !e->text().isEmpty() &&
          e->text()[0].isPrint()) {
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
  // A popup menu or another window taking the focus does not leave the grid,
  // and neither does the grid's own editor.
  if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
  QWidget* ny = QApplication::focusWidget();
  if (ny && isAncestorOf(ny)) return;
  emit forlatt();
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

// Keeps the editor on its cell as the grid scrolls or changes.
void TGrid::PlasserRedigerer() {
  if (!Redigerer()) return;
  if (redKol_ < modell_.FasteKol() || redRad_ < modell_.FasteRader() || redKol_ >= modell_.Kolonner() ||
      redRad_ >= modell_.Rader()) {
    // The cell is gone: its text has nowhere to go.
    if (!avslutter_) LukkRedigerer();
    return;
  }
  const QRect r = Celleramme(redKol_, redRad_);
  if (!r.isEmpty()) {
    redigerer_->setGeometry(r);
    return;
  }
  // The cell scrolled out of view: the editing ends as if the user had left
  // the cell, and a rejected text brings the cell back.
  if (!avslutter_) AvsluttRedigering();
}

void TGrid::StartRedigering(const QString* start) {
  if (!Redigerbar) return;
  if (Redigerer() && !AvsluttRedigering()) return;
  const int kol = modell_.GjeldendeKol(), rad = modell_.GjeldendeRad();
  if (kol < modell_.FasteKol() || rad < modell_.FasteRader() || kol >= modell_.Kolonner() || rad >= modell_.Rader())
    return;
  if (!redigerer_) {
    redigerer_ = new QLineEdit(viewport());
    redigerer_->setFrame(false);
    redigerer_->hide();
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
  redigerer_->setFocus(Qt::OtherFocusReason);
  if (!start) redigerer_->selectAll();
}

bool TGrid::AvsluttRedigering() {
  if (!Redigerer()) return true;
  if (avslutter_) return false;  // asked again from inside the validation
  avslutter_ = true;
  bool gyldig = true;
  const QString ny = redigerer_->text();
  if (ny != redStart_) {
    std::string tekst = FraQString(ny);
    if (Valider) gyldig = Valider(redKol_, redRad_, tekst);
    modell_.SettCelle(redKol_, redRad_, tekst);
    const bool finnes = redKol_ >= modell_.FasteKol() && redRad_ >= modell_.FasteRader() &&
                        redKol_ < modell_.Kolonner() && redRad_ < modell_.Rader();
    if (!gyldig && finnes) {
      // The editor stays on the cell, showing the rewritten text.
      redigerer_->setText(TilQString(tekst));
      redStart_ = redigerer_->text();
      VisCelle(redKol_, redRad_);
      redigerer_->setGeometry(Celleramme(redKol_, redRad_));
      redigerer_->setFocus(Qt::OtherFocusReason);
    } else {
      gyldig = true;
    }
  }
  if (gyldig) LukkRedigerer();
  avslutter_ = false;
  return gyldig;
}

void TGrid::AvbrytRedigering() {
  if (!Redigerer()) return;
  LukkRedigerer();
}

// Hides the editor; the focus goes back to the grid when the editor had it,
// and stays where it went when it had left.
void TGrid::LukkRedigerer() {
  const bool var = avslutter_;
  avslutter_ = true;
  if (window()->focusWidget() == redigerer_) setFocus(Qt::OtherFocusReason);
  redigerer_->hide();
  redKol_ = -1;
  redRad_ = -1;
  avslutter_ = var;
}

bool TGrid::eventFilter(QObject* o, QEvent* e) {
  if (o != redigerer_) return QAbstractScrollArea::eventFilter(o, e);
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    switch (k->key()) {
      case Qt::Key_Escape: AvbrytRedigering(); return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (AvsluttRedigering() && EnterFlytterHoyre) {
          const QPoint c = NesteCelle(true);
          Flytt(c.x(), c.y(), false);
        }
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab: {
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) break;
        const bool fram = k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier);
        if (!AvsluttRedigering()) return true;
        if (TabMellomCeller && Velgbar) {
          const QPoint c = NesteCelle(fram);
          Flytt(c.x(), c.y(), false);
        } else {
          // On to the next control, as Tab in the grid itself would.
          focusNextPrevChild(fram);
        }
        return true;
      }
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        if (AvsluttRedigering()) keyPressEvent(k);
        return true;
      default: break;
    }
  } else if (e->type() == QEvent::FocusOut && !avslutter_ && Redigerer()) {
    const auto grunn = static_cast<QFocusEvent*>(e)->reason();
    // Leaving the editor for another control ends the editing; a popup menu
    // or another window (a message box of the validation) does not.
    if (grunn != Qt::PopupFocusReason && grunn != Qt::ActiveWindowFocusReason) {
      QWidget* ny = QApplication::focusWidget();
      const bool iGriden = ny == this || (ny && isAncestorOf(ny));
      if (AvsluttRedigering() && !iGriden) emit forlatt();
    }
  }
  return QAbstractScrollArea::eventFilter(o, e);
}
