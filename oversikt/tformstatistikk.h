// "Statistikk": three charts of the register, each with its file, print and
// figures buttons: the mean O-indeks by birth year for the breeds ticked
// (lines), the rams judged per year of those breeds (bars) and the spread of
// O-indeks in the catalogue's last selection (a histogram).
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "statistikk.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class TDiagramflate;
class TOkt;

class TFormStatistikk : public QWidget {
  Q_OBJECT

 public:
  // The register, the breed names and the catalogue's last selection are
  // the program's, in `okt`; an open window follows a new register and a
  // new selection.
  explicit TFormStatistikk(TOkt& okt, QWidget* parent = nullptr);

  // Shows the window as the program does. A window that is not open makes
  // its figures afresh from the register and the catalogue's selection,
  // keeping the breeds ticked before (a breed new to the register is
  // ticked; the first time, the five breeds with the most rams are). A restore by the desktop runs nothing.
  void Vis();
  // The figures made afresh from the register (after an import), keeping
  // what is ticked.
  void LesRegister();
  // The histogram made afresh from the catalogue's selection (after a new
  // pass of the catalogue) and drawn again; the other charts stay.
  void NyttKatalogutvalg();

  QListWidget* RaseListe;
  QPushButton* Alle;
  QPushButton* Ingen;
  QTabWidget* Faner;
  TDiagramflate* Snitt;
  TDiagramflate* Antall;
  TDiagramflate* Fordeling;
  QPushButton* Lukk;

  // The breed codes ticked.
  TRasevalg Valgte() const;
  const TStatistikk& Statistikk() const { return statistikk_; }
  const THistogram& Histogram() const { return histogram_; }

 private:
  void RaserEndret();
  void LagHistogram();

  TOkt& okt_;
  TStatistikk statistikk_;
  THistogram histogram_;
  bool harUtvalg_ = false;
  bool harVist_ = false;
};
