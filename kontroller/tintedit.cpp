#include "tintedit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>
#include <algorithm>

#include "cp1252.h"
#include "tekst.h"

namespace {

const QColor Rod(255, 0, 0);

// A key that types a character: it carries text. Delete carries the DEL
// control character on some platforms but types nothing, so it is no
// character key.
bool ErTegntast(const QKeyEvent* e) {
  const QString t = e->text();
  return !t.isEmpty() && t != QString(QChar(0x7F));
}

// Focus that moves to another window, to a popup or to the menu bar comes back
// to the field where it left; only other moves enter or leave the field.
bool FlytterFokus(Qt::FocusReason grunn) {
  return grunn != Qt::ActiveWindowFocusReason && grunn != Qt::PopupFocusReason && grunn != Qt::MenuBarFocusReason;
}

}  // namespace

bool ForLangtTall(const QString& tekst) {
  int siffer = 0;
  QString tall;
  for (const QChar c : tekst) {
    if (c < '0' || c > '9') continue;
    if (siffer == 0 && c == '0') continue;
    ++siffer;
    tall += c;
    if (siffer > 10) return true;
  }
  return siffer == 10 && tall > QString("2147483647");
}

TIntEdit::TIntEdit(QWidget* parent) : QLineEdit(parent), normal_(palette().color(QPalette::Base)) {
  connect(this, &QLineEdit::textChanged, this, &TIntEdit::TekstEndret);
}

void TIntEdit::SettVerdi(int32_t verdi) {
  feil = false;
  setText(QString::number(verdi));
  // The reading cannot give back every value (the lowest int32 loses a
  // digit), so the value set is kept as given.
  verdi_ = verdi;
}

void TIntEdit::TekstEndret(const QString& tekst) {
  if (normal_ == QColor(Qt::black)) normal_ = QColor(Qt::white);
  avvist_ = false;
  if (tekst.isEmpty()) {
    // An emptied field keeps the colour it had.
    verdi_ = 0;
  } else {
    bool helt = false;
    verdi_ = LesHeltall(FraQString(tekst), &helt);
    const bool siffer = std::any_of(tekst.begin(), tekst.end(), [](QChar c) { return c >= '0' && c <= '9'; });
    if (AvvisUtenfor && (!siffer || ForLangtTall(tekst) || verdi_ < Minimum || verdi_ > Maksimum)) {
      avvist_ = true;
      verdi_ = 0;
    }
    SettFarge(helt && !avvist_ ? normal_ : Rod);
  }
  if (OnChange) OnChange();
}

void TIntEdit::Forlat() {
  feil = false;
  const int32_t verdi = verdi_;
  if (avvist_) {
    // Refused: the text stays for the user to mend.
    feil = true;
    if (OnExit) OnExit();
    return;
  }
  if (BeholdTomt && text().isEmpty()) {
    SettFarge(normal_);
    if (OnExit) OnExit();
    return;
  }
  if (verdi < Minimum || verdi > Maksimum) {
    setText(QString());
    verdi_ = 0;
    feil = true;
  } else {
    setText(QString::number(verdi));
    verdi_ = verdi;
  }
  SettFarge(normal_);
  if (OnExit) OnExit();
}

void TIntEdit::SettFarge(const QColor& farge) {
  if (palette().color(QPalette::Base) == farge) return;
  QPalette p = palette();
  p.setColor(QPalette::Base, farge);
  setPalette(p);
}

void TIntEdit::keyPressEvent(QKeyEvent* e) {
  if (OnKeyDown && OnKeyDown(e)) {
    e->accept();
    return;
  }
  const bool tegn = ErTegntast(e);
  if (tegn && OnKeypress && OnKeypress(e)) {
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
  if (tegn && EtterTast) EtterTast(e);
}

void TIntEdit::keyReleaseEvent(QKeyEvent* e) {
  QLineEdit::keyReleaseEvent(e);
  if (OnKeyUp) OnKeyUp(e);
}

void TIntEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (FlytterFokus(e->reason()) && OnEnter) OnEnter();
}

void TIntEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (FlytterFokus(e->reason())) Forlat();
}
