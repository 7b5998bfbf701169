// What the desktop does to a window that the program shows: minimise and
// restore it, and hide and show it again. None of it may run what the window
// does when the program shows it.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

inline void MinimerOgGjenopprett(QWidget* w) {
  w->setWindowState(w->windowState() | Qt::WindowMinimized);
  QTest::qWait(20);
  QApplication::processEvents();
  w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  w->show();
  QTest::qWait(20);
  QApplication::processEvents();
}

inline void SkjulOgVis(QWidget* w) {
  w->hide();
  QApplication::processEvents();
  w->show();
  QTest::qWait(20);
  QApplication::processEvents();
}
