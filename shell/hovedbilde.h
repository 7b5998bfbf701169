// What the main window shows besides its menus: the decorative picture, and
// the about box.
#pragma once

#include <QPixmap>
#include <QSize>

class QDialog;
class QWidget;

// A hill farm with a ram under an evening sky.
QPixmap Hovedbilde(QSize storrelse);

// The about box: product name, version text and OK.
QDialog* LagOmBoks(QWidget* parent);
