// An entry field for a whole number within limits.
//
// The field tolerates stray characters while the user types: its value is the
// integer reading of the text (LesHeltall), and the field shows a red
// background for as long as the text does not read as an integer. The limits
// are checked only when the user leaves the field: a value outside them empties
// the field and sets `feil`; a value inside them is written back as a plain
// number, so "12a3" becomes "123" and a name becomes "0".
#pragma once

#include <QColor>
#include <QLineEdit>
#include <cstdint>
#include <functional>

class QFocusEvent;
class QKeyEvent;

// The digits of a text, wherever they stand, make a number too long for 32
// bits (above 2147483647).
bool ForLangtTall(const QString& tekst);

class TIntEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TIntEdit(QWidget* parent = nullptr);

  // The last value read from the text or set.
  int32_t Verdi() const { return verdi_; }
  // Sets the value and writes it as the text; clears `feil`. The limits are
  // not checked here.
  void SettVerdi(int32_t verdi);

  int32_t Minimum = -2440000;  // lowest value accepted when the field is left
  int32_t Maksimum = 2440000;  // highest value accepted when the field is left
  uint16_t Kol = 9;            // a column count kept for the owner; unused here
  bool feil = false;           // the field was left with a value outside the limits

  // For a field that holds a judging number that may be unknown (a ewe's
  // sire), not as above:
  // - BeholdTomt: an empty field stays empty when it is left (not "0").
  // - AvvisUtenfor: a number outside the limits, or whose digits make a
  //   number too long for 32 bits, is refused rather than emptied or cut to
  //   the digits that fit; so is a text without a digit, rather than read as
  //   0. While it stands the value is 0, Avvist() is true
  //   and the field is red; when the field is left the text stays as typed,
  //   red, and `feil` is set, so that OnExit can tell the user.
  bool BeholdTomt = false;
  bool AvvisUtenfor = false;
  bool Avvist() const { return avvist_; }

  // The background the field has while its text reads as an integer: the base
  // colour the field had when it was made (black counts as white).
  QColor Normalfarge() const { return normal_; }

  // Hooks for the owner. Key hooks return true to swallow the key.
  //
  // OnKeyDown: every key press, before anything else.
  // OnKeypress: character keys only (letters, digits, Backspace, Enter,
  //   Escape; not arrows, Delete or function keys), before the field handles
  //   the key, so the text is still as it was.
  // EtterTast: a character key that was not swallowed, after the field handled
  //   it, so the text reads with the key applied.
  // OnKeyUp: every key release.
  // OnChange: after each change of the text, once value and colour are updated.
  // OnEnter / OnExit: the user moves the focus into / out of the field; OnExit
  //   runs after the limits were checked. Switching to another window or
  //   opening a menu is not leaving the field.
  std::function<bool(QKeyEvent*)> OnKeyDown;
  std::function<bool(QKeyEvent*)> OnKeypress;
  std::function<void(QKeyEvent*)> EtterTast;
  std::function<void(QKeyEvent*)> OnKeyUp;
  std::function<void()> OnChange;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void TekstEndret(const QString& tekst);
  void Forlat();
  void SettFarge(const QColor& farge);

  int32_t verdi_ = 0;
  bool avvist_ = false;
  QColor normal_;
};
