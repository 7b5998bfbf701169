#include "menylinje.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

TMenylinje::TMenylinje(QMainWindow* vindu, const QList<QMenu*>& menyer) : QObject(vindu), vindu_(vindu) {
  auto* linje = vindu->addToolBar("Meny");
  linje->setObjectName("Meny");
  linje->setMovable(false);
  for (QMenu* m : menyer) {
    auto* knapp = new QToolButton(linje);
    knapp->setText(m->title().remove('&'));
    knapp->setMenu(m);
    knapp->setPopupMode(QToolButton::InstantPopup);
    knapp->setToolButtonStyle(Qt::ToolButtonTextOnly);
    knapp->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    const int i = static_cast<int>(menyer_.size());
    menyer_.push_back({knapp, linje->addWidget(knapp), m});
    // Alt and the menu's letter, as the menu's title marks it; a hidden menu has no key.
    const QKeySequence bokstav = QKeySequence::mnemonic(m->title());
    if (!bokstav.isEmpty())
      connect(new QShortcut(bokstav, vindu), &QShortcut::activated, this, [this, i, knapp] {
        if (knapp->isVisible()) Apne(i);
      });
    m->installEventFilter(this);
  }
  connect(new QShortcut(QKeySequence(Qt::Key_F10), vindu), &QShortcut::activated, this, [this] { Apne(0); });
}

QAction* TMenylinje::Knapp(QMenu* meny) const {
  for (const TMeny& m : menyer_)
    if (m.meny == meny) return m.handling;
  return nullptr;
}

void TMenylinje::Apne(int i) {
  const int n = static_cast<int>(menyer_.size());
  for (int steg = 0; steg < n; ++steg) {
    const TMeny& m = menyer_[static_cast<std::size_t>(((i + steg) % n + n) % n)];
    if (!m.knapp->isVisible() || !m.knapp->isEnabled()) continue;
    vindu_->activateWindow();
    m.meny->popup(m.knapp->mapToGlobal(QPoint(0, m.knapp->height())));
    if (!m.meny->actions().isEmpty()) m.meny->setActiveAction(m.meny->actions().front());
    return;
  }
}

bool TMenylinje::eventFilter(QObject* o, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const int tast = static_cast<QKeyEvent*>(e)->key();
  if (tast != Qt::Key_Left && tast != Qt::Key_Right) return false;
  const int n = static_cast<int>(menyer_.size());
  for (int i = 0; i < n; ++i) {
    QMenu* m = menyer_[static_cast<std::size_t>(i)].meny;
    if (o != m) continue;
    // Right opens a submenu first, where the entry has one.
    if (tast == Qt::Key_Right && m->activeAction() && m->activeAction()->menu()) return false;
    m->hide();
    const int retning = tast == Qt::Key_Right ? 1 : -1;
    for (int steg = 1; steg <= n; ++steg) {
      const int j = ((i + retning * steg) % n + n) % n;
      if (menyer_[static_cast<std::size_t>(j)].knapp->isVisible()) {
        Apne(j);
        break;
      }
    }
    return true;
  }
  return false;
}
