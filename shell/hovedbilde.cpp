#include "hovedbilde.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "versjon.h"

// The decorative picture: a hill farm with a ram under an evening sky.
QPixmap Hovedbilde(QSize storrelse) {
  QPixmap bilde(storrelse);
  QPainter p(&bilde);
  p.setRenderHint(QPainter::Antialiasing);
  const int w = storrelse.width(), h = storrelse.height();
  QLinearGradient himmel(0, 0, 0, h);
  himmel.setColorAt(0, QColor(120, 170, 220));
  himmel.setColorAt(1, QColor(225, 235, 245));
  p.fillRect(bilde.rect(), himmel);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 215, 120));
  p.drawEllipse(QPointF(w * 0.8, h * 0.22), h * 0.1, h * 0.1);
  QPainterPath fjell;
  fjell.moveTo(0, h * 0.62);
  fjell.lineTo(w * 0.25, h * 0.3);
  fjell.lineTo(w * 0.45, h * 0.55);
  fjell.lineTo(w * 0.65, h * 0.35);
  fjell.lineTo(w, h * 0.6);
  fjell.lineTo(w, h);
  fjell.lineTo(0, h);
  p.setBrush(QColor(110, 125, 140));
  p.drawPath(fjell);
  QPainterPath eng;
  eng.moveTo(0, h * 0.72);
  eng.cubicTo(w * 0.3, h * 0.6, w * 0.7, h * 0.8, w, h * 0.68);
  eng.lineTo(w, h);
  eng.lineTo(0, h);
  p.setBrush(QColor(95, 150, 70));
  p.drawPath(eng);
  // The ram: woolly body, dark head and legs, curled horn.
  const QPointF s(w * 0.42, h * 0.78);
  const double e = h * 0.07;
  p.setBrush(QColor(60, 50, 45));
  for (double x : {-1.2, -0.5, 0.6, 1.2}) p.drawRect(QRectF(s.x() + x * e, s.y() + 0.4 * e, 0.28 * e, 1.1 * e));
  p.setBrush(QColor(245, 243, 235));
  for (double x : {-1.0, -0.3, 0.4, 1.0}) p.drawEllipse(QPointF(s.x() + x * e, s.y()), 0.75 * e, 0.7 * e);
  p.drawEllipse(QPointF(s.x(), s.y() - 0.35 * e), 1.5 * e, 0.6 * e);
  p.setBrush(QColor(60, 50, 45));
  p.drawEllipse(QPointF(s.x() + 1.9 * e, s.y() - 0.4 * e), 0.45 * e, 0.55 * e);
  p.setPen(QPen(QColor(200, 180, 140), 0.18 * e));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(s.x() + 1.45 * e, s.y() - 0.95 * e, 0.7 * e, 0.7 * e), 30 * 16, 300 * 16);
  return bilde;
}

QDialog* LagOmBoks(QWidget* parent) {
  auto* boks = new QDialog(parent);
  boks->setWindowTitle("Om Hornstad");
  boks->setModal(true);
  auto* navn = new QLabel("Hornstad", boks);
  QFont f = navn->font();
  f.setPointSizeF(f.pointSizeF() * 2.2);
  f.setBold(true);
  navn->setFont(f);
  navn->setAlignment(Qt::AlignCenter);
  auto* under = new QLabel("på internett", boks);
  under->setAlignment(Qt::AlignCenter);
  auto* versjon = new QLabel(Versjonstekst, boks);
  versjon->setObjectName("Versjon");
  versjon->setAlignment(Qt::AlignCenter);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok, boks);
  QObject::connect(knapper, &QDialogButtonBox::accepted, boks, &QDialog::accept);
  auto* lag = new QVBoxLayout(boks);
  lag->addWidget(navn);
  lag->addWidget(under);
  lag->addSpacing(12);
  lag->addWidget(versjon);
  lag->addSpacing(12);
  lag->addWidget(knapper);
  lag->setSizeConstraint(QLayout::SetFixedSize);
  return boks;
}
