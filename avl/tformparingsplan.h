// The mating plan: the question for the candidate rams (the rams of the
// catalogue's last selection, or judging numbers typed), and the plan of the
// ewes of Soyer.Txt against them in a table window.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "soyer.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class TAvlsdata;
class TVindu;

class TVelgVerer : public QDialog {
  Q_OBJECT

 public:
  // `katalog`: the judging numbers of the catalogue's last selection (empty
  // when there is none); `numre`: the numbers typed the last time.
  TVelgVerer(const std::vector<int32_t>& katalog, const QString& numre, std::size_t soyer, QWidget* parent = nullptr);

  QRadioButton* FraKatalog;
  QRadioButton* Egne;
  QLineEdit* Numre;
  QLabel* Feil;

  // The rams chosen (after OK).
  const std::vector<int32_t>& Verer() const { return verer_; }
  // OK: numbers that do not read keep the dialog open and are named.
  void accept() override;

 private:
  // The rams chosen into `verer`, or why they cannot be (Windows-1252).
  std::string Sjekk(std::vector<int32_t>& verer) const;
  bool provd_ = false;  // OK was refused once
  std::vector<int32_t> katalog_;
  std::vector<int32_t> verer_;
};

// The plan of `soyer` against `verer` in a new table window, which is shown
// and returned; null when no ram is in the register (the user is told).
// Numbers not in the register are told. The coefficients are computed now
// when they are not yet. With `forslag`, the window has a button
// "Paringsforslag …" that calls it with the plan's rams.
TVindu* VisParingsplan(TAvlsdata* avl, const std::vector<TSoye>& soyer, const std::vector<int32_t>& verer,
                       double grense, QWidget* eier, const std::function<void(const QString&)>& melding,
                       const std::function<void(const std::vector<int32_t>&)>& forslag = {});
