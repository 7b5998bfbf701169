// The program's message box: a standard message dialog with a sound, Norwegian
// buttons, a chosen default button and an optional position.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

enum class TMeldingstype {
  Advarsel,     // warning icon, with a beep
  Feil,         // error icon, with a beep
  Informasjon,  // information icon, silent
  Bekreftelse,  // question icon, silent
};

// Shows `tekst` modally with the buttons `knapper` and returns the button the
// user pressed (NoButton when the box was closed without one). The button
// `standard` is the default button and has the focus. When both `left` and
// `top` are 0 or more the box is placed there (its outer top-left corner, in
// screen coordinates); otherwise the platform places it. `hjelpKontekst` is
// kept on the box for a help system; the program has none.
QMessageBox::StandardButton Melding(const QString& tekst, TMeldingstype type, QMessageBox::StandardButtons knapper,
                                    int hjelpKontekst, QMessageBox::StandardButton standard, int left = -1,
                                    int top = -1, QWidget* forelder = nullptr);

// A message box as QMessageBox's static functions show it, with the text as
// written: a ram, list or ewe name with "<" or "&" in it is not read as
// markup. Returns the button pressed, Cancel when the box was closed without
// one. `standard` (when given) is the default button.
QMessageBox::StandardButton Meldingsboks(QWidget* eier, QMessageBox::Icon ikon, const QString& tittel,
                                         const QString& tekst, QMessageBox::StandardButtons knapper = QMessageBox::Ok,
                                         QMessageBox::StandardButton standard = QMessageBox::NoButton);
