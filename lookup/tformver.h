// The ram lookup window: one ram at a time, found by judging number or by
// part of its name, shown in four read-only grids under a three-line heading.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "verpost.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollArea;
class TGrid;
class TIntEdit;
class TProdusent;
class Trase;

class TFormVer : public QWidget {
  Q_OBJECT

 public:
  explicit TFormVer(QWidget* parent = nullptr);

  // Where the register and the breed table come from; the main window owns
  // both and may replace them (after an import).
  std::function<TProdusent*()> Register;
  std::function<const Trase*()> Raser;

  TIntEdit* Evernum;
  QPushButton* Let;
  QPushButton* Endre;
  QPushButton* Stamme;
  QPushButton* Avkom;
  QPushButton* Skriv;
  QPushButton* Endrealt;
  QPushButton* Lukk;
  QListWidget* LiVer;
  TGrid* Verind;
  QLabel* Rasnav;
  TGrid* Slekt;
  TGrid* Scan;
  TGrid* Ulla;

  // The ram shown (all zero when none is).
  const TVerPost& GjeldendeVer() const { return ver_; }
  // The name-search text, kept apart from the field's text.
  const std::string& Navnesoek() const { return navnesoek_; }

  void Vis();
  void LetClick();
  void LiVerClick(QListWidgetItem* item);
  void SlektDblClickCell(int kol, int rad);
  void SkrivClick();
  // Opens the pedigree of the shown ram in a new print preview, which is returned.
  class TInnlesing* StammeClick();
  // Lists the sons of the shown ram in a new table window, which is returned.
  class TVindu* AvkomClick();
  // Prints a picture of the window on one page, as large as the page allows.
  void SkrivBilde(class QPrinter& skriver);

 private:
  bool EvernumKeypress(class QKeyEvent* e);
  void EvernumEtterTast();

  TVerPost ver_;
  std::string navnesoek_;
  std::vector<int32_t> kandidater_;  // the judging number of each item of LiVer
  bool soekVedTast_ = false;
};
