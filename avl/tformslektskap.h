// The relationship window for one ram: the expected inbreeding of its lamb
// with a ewe given by her sire, her dam's sire and her dam's dam's sire (typed,
// or a ewe of Soyer.Txt picked from a list), the ram's own coefficient, the completeness
// of both pedigrees and the shared ancestors with their shares. A lamb's
// figure at or above the limit `[Avl] Grense` is red.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "innavl.h"
#include "soyer.h"
#include "verpost.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSettings;
class TAvlsdata;
class TGrid;
class TIntEdit;
class TOkt;

class TFormSlektskap : public QWidget {
  Q_OBJECT

 public:
  // The relationship figures, the settings and the ewes are the program's,
  // in `okt`; an open window follows a new register, the ewes saved and a
  // changed limit.
  explicit TFormSlektskap(TOkt& okt, QWidget* parent = nullptr);

  // Messages go through this, so that tests can read them.
  std::function<void(const QString& tekst)> Melding;

  // Shows the window for the ram: computes the coefficients when they are
  // not yet computed, reads the ewes for the list and shows the figures with
  // the ewe fields as they stand. A restore by the desktop runs nothing.
  void VisFor(const TVerPost& ver);
  // The figures again for the ram and the fields as they stand.
  void Oppdater();
  // The ewes of Soyer.Txt into the pick list again.
  void LesSoyer();

  QLabel* Ver;
  TIntEdit* Far;
  TIntEdit* Morfar;
  TIntEdit* Mormorfar;
  QComboBox* Soye;
  QPushButton* Soyer;
  QLabel* Lam;
  QLabel* LamKjente;
  QLabel* VerEgen;
  QLabel* GrenseTekst;
  TGrid* Aner;
  QPushButton* Lukk;

  int32_t Vernummer() const { return ver_; }
  const TParing& Paring() const { return paring_; }
  // The lamb's figure is shown in the warning colour.
  bool Advarsel() const { return advarsel_; }

 signals:
  // "Søyer…": the ewe window.
  void soyerOnsket();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void SoyeValgt(int indeks);
  void FeltEndret();

  TOkt& okt_;
  int32_t ver_ = 0;
  std::vector<TSoye> soyer_;
  TParing paring_;
  bool advarsel_ = false;
};
