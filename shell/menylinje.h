// The main window's menu as a tool bar of buttons, one a menu, reached from
// the keyboard as a menu bar is: Alt and the menu's letter opens it, F10 the
// first, and Left and Right in an open menu move to the menu beside it (a
// hidden menu is passed over).
#pragma once

#include <QList>
#include <QObject>
#include <utility>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolButton;

class TMenylinje : public QObject {
  Q_OBJECT

 public:
  // Adds the tool bar to `vindu`, a button for each menu, in their order.
  TMenylinje(QMainWindow* vindu, const QList<QMenu*>& menyer);
  // The tool bar's action of the menu's button: hidden, the menu is not offered.
  QAction* Knapp(QMenu* meny) const;
  // Opens the menu of button `i`, or of the next one shown.
  void Apne(int i);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QMainWindow* vindu_;
  struct TMeny {
    QToolButton* knapp;
    QAction* handling;
    QMenu* meny;
  };
  std::vector<TMeny> menyer_;
};
