// The input dialog Tlesing and its typed edit fields.
//
// A typed field is bound to one variable of a fixed type. It shows the
// variable's value, keeps its own copy while the user edits, and writes the
// copy into the variable only in `sett`. The dialog holds one labelled field
// per row; OK runs `sett` of every field, "&Angre" leaves every variable as it
// was. Variables are given by address, so that fields of packed records can be
// bound; each field writes exactly the bytes of its type.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <cstdint>
#include <string>
#include <vector>

class QFocusEvent;
class QLabel;
class QPushButton;
class QScrollArea;

// What every typed field does when the dialog is confirmed.
class TTypefelt {
 public:
  virtual ~TTypefelt() = default;
  // Writes the field's copy into its bound variable.
  virtual void sett() = 0;
};

// The edit-box kinds. The box is as wide as `antall` characters `tegn` in the
// owner's font. The copy follows the text on every change; when the user
// leaves the field, the text is rewritten from the copy.
class TTypeEdit : public QLineEdit, public TTypefelt {
 protected:
  TTypeEdit(QWidget* eier, int antall, QChar tegn, void* variabel);
  // From here on every change of the text is read into the copy.
  void FolgTeksten();
  // Reads a changed text into the copy.
  virtual void Les(const QString& tekst) = 0;
  // The text once the user has left the field.
  virtual QString Forlatt() const = 0;
  void focusOutEvent(QFocusEvent* e) override;

  void* variabel_;
};

// An 8-bit unsigned variable. An empty text gives 0.
class TyEdit : public TTypeEdit {
 public:
  TyEdit(QWidget* eier, int bredde, void* variabel);
  void sett() override;

 private:
  void Les(const QString& tekst) override;
  QString Forlatt() const override;
  uint8_t kopi_;
};

// A 16-bit variable, shown signed. An empty text leaves the copy as it is.
class TmEdit : public TTypeEdit {
 public:
  TmEdit(QWidget* eier, int bredde, void* variabel);
  void sett() override;

 private:
  void Les(const QString& tekst) override;
  QString Forlatt() const override;
  int16_t kopi_;
};

// A 32-bit signed variable. An empty text leaves the copy as it is.
class TiEdit : public TTypeEdit {
 public:
  TiEdit(QWidget* eier, int bredde, void* variabel);
  void sett() override;

 private:
  void Les(const QString& tekst) override;
  QString Forlatt() const override;
  int32_t kopi_;
};

// A 32-bit float, shown first as FitNumber gives it (a point, hyphens for 0)
// and, once the user has left the field, with `desimaler` decimals and a
// decimal comma. An empty text leaves the copy as it is.
//
// The first text is not read back into the copy: FitNumber drops decimals to
// fit the width, and a value must not change just because the dialog showed it.
class TsEdit : public TTypeEdit {
 public:
  TsEdit(QWidget* eier, int bredde, int desimaler, void* variabel);
  void sett() override;

 private:
  void Les(const QString& tekst) override;
  QString Forlatt() const override;
  int bredde_;
  int desimaler_;
  float kopi_;
};

// A stored text of capacity `kapasitet`: a length byte and that many
// characters. The user can type at most `kapasitet` characters. With
// `navnecase` the copy is the text name-cased (FeltNavnecase); with
// `storeBokstaver` every typed letter becomes a capital.
class TtEdit : public TTypeEdit {
 public:
  TtEdit(QWidget* eier, bool navnecase, bool storeBokstaver, int kapasitet, int bredde, void* variabel);
  void sett() override;
  // The text `sett` writes (Windows-1252).
  const std::string& Kopi() const { return kopi_; }

 private:
  void Les(const QString& tekst) override;
  QString Forlatt() const override;
  bool navnecase_;
  bool store_;
  int kapasitet_;
  std::string kopi_;
};

// A three-state check box over an 8-bit state: 0 unchecked, 1 checked, 2
// grey. A state above 2, which the box cannot show, is shown grey and kept
// unless the user changes the box.
class TBEdit : public QCheckBox, public TTypefelt {
 public:
  TBEdit(QWidget* eier, void* variabel);
  void sett() override;
  // The highlight colour while the box has the focus, the button face otherwise.
  void farve();

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void* variabel_;
  uint8_t kopi_;
};

// The input dialog ("Skriv inn"). Rows are added with LeggTil; the dialog
// lines them up and sizes itself to them when it is shown, never beyond the
// screen: rows that do not fit scroll. Enter moves to the next field, and the
// arrow keys up and down move to the previous and next field when released.
class Tlesing : public QDialog {
  Q_OBJECT

 public:
  enum Svar { Ok = 1, Angre = 2 };

  explicit Tlesing(QWidget* eier = nullptr);

  // Adds a row: the label (an '&' marks its access key, which moves to the
  // field) and the field, which the dialog takes over.
  void LeggTil(const QString& ledetekst, QWidget* felt);
  // Lines up the fields and sizes and places the dialog; done when the dialog
  // is first shown.
  void Ordne();
  // Shows the dialog modally; Ok or Angre.
  int Kjor();
  // How the dialog was last closed: Ok or Angre.
  int Resultat() const { return result() == QDialog::Accepted ? Ok : Angre; }
  // The fields in row order.
  const std::vector<QWidget*>& Felter() const { return felter_; }

  QScrollArea* boksen;
  QPushButton* ok_knapp;    // "&OK"
  QPushButton* Byrt_knapp;  // "&Angre"
  QLabel* Hjtekst;          // "Flytt med piler, ENTER og Tab/ShTab. I kombobokser virker piler bare i boksen"

 protected:
  bool eventFilter(QObject* mottaker, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void OkClick();

  QWidget* rader_;  // the rows, inside boksen
  QWidget* panel_;  // the buttons and the help text
  int radtopp_ = 0;
  int bredestLedetekst_ = 0;
  int bredestFelt_ = 0;
  int bunn_ = 0;
  std::vector<QWidget*> felter_;
  bool ordnet_ = false;
};
