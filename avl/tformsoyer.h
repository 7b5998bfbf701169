// The breeder's ewes: lists Soyer.Txt in a grid, lets the user add, change
// and remove ewes and read them from a spreadsheet, and writes the file
// through the safe-replace file. Nothing is written before "Lagre".
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "soyer.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TGrid;
class TIntEdit;
class TOkt;

class TFormSoyer : public QWidget {
  Q_OBJECT

 public:
  // The ewes are the program's, in `okt`.
  explicit TFormSoyer(TOkt& okt, QWidget* parent = nullptr);

  // Shows the window as the program does. A window that is not open reads
  // Soyer.Txt again, unless it holds changes that are not saved (they stay);
  // lines of the file that did not read are told. A restore by the desktop
  // runs nothing; the fields keep what was typed in them. The list follows
  // Soyer.Txt saved elsewhere (a second copy, hornstad-cli): at once while
  // nothing is changed here, otherwise merged when this list is saved.
  void Vis();

  // Messages, questions (1 yes, 0 no, -1 cancel) and the spreadsheet chosen
  // (empty when cancelled) go through these, so that tests can answer them.
  std::function<void(const QString& tekst)> Melding;
  std::function<int(const QString& tekst)> Spor;
  std::function<QString()> VelgRegneark;

  TGrid* Liste;
  QLineEdit* Nummer;
  TIntEdit* Far;
  TIntEdit* Morfar;
  TIntEdit* Mormorfar;
  QPushButton* LeggTil;
  QPushButton* Endre;
  QPushButton* Fjern;
  QPushButton* LesRegneark;
  QPushButton* Lagre;
  QPushButton* Lukk;
  QLabel* Status;

  const std::vector<TSoye>& Soyer() const { return soyer_; }
  bool Endret() const { return endret_; }
  // The file the list is read from and written to.
  std::filesystem::path Fil() const;

  // Adds the ewe of the fields; one with that number already in the list
  // is changed instead.
  void LeggTilClick();
  // Puts the fields in place of the ewe of the current row.
  void EndreClick();
  // Removes the ewes of the selected rows.
  void FjernClick();
  void LesRegnearkClick();
  // Writes the list, with what was saved elsewhere since it was read merged
  // in; false when it could not or the user cancelled (told why).
  bool LagreClick();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void LesFil();
  void VisListe(int gjeldende);
  void RadValgt(int rad);
  TSoye FraFeltene() const;
  // Places a ewe at `plass` (-1: a new one); false with a message when it
  // cannot be, or when the user does not want her by a sire that the
  // register does not know.
  bool Sett(const TSoye& soye, int plass);
  void Marker(bool endret);
  // Soyer.Txt changed (saved here or elsewhere).
  void FilEndret();

  TOkt& okt_;
  std::vector<TSoye> soyer_;
  std::vector<TSoye> grunnlag_;  // the ewes as the file held them when the list was read
  bool lagrer_ = false;
  bool endretAndreSteder_ = false;  // the file changed elsewhere while this list has changes
  bool endret_ = false;
};
