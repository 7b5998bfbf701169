// The paged print window ("Utskriftsvindu"): shows a document of numbered
// pages that it does not understand itself. Its client hands it a page
// document, which the window owns from then on; the window shows one page at
// a time on a white sheet at an adjustable scale, one tab per page, and sends
// the pages to the printer (or to one SVG file per page), to the clipboard
// as a monochrome bitmap, and to a PDF file. Every output draws the same
// pages with the target's size in pixels.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "filtype.h"
#include "sider.h"

class QLabel;
class QPrinter;
class QScrollArea;
class QTabBar;
class QToolBar;
class QToolButton;

// The sheet: a white surface that asks its window to paint.
class TArk : public QWidget {
  Q_OBJECT

 public:
  explicit TArk(QWidget* forelder) : QWidget(forelder) {}
  std::function<void(QPainter&)> Tegn;

 protected:
  void paintEvent(QPaintEvent*) override;
};

class TPapVin : public QMainWindow {
  Q_OBJECT

 public:
  explicit TPapVin(QWidget* eier = nullptr);
  ~TPapVin() override;

  // The divisor of the on-screen sheet: 1.3 when the window opens, changed
  // by the window's own zoom steps alone.
  double Skala() const { return skala_; }

  // The pages: one tab a page. The window owns the document from here on
  // and releases it when it closes.
  void SettDokument(std::unique_ptr<TSidedokument> dokument);
  const TSidedokument* Dokument() const { return dokument_.get(); }

  // Shows the window as the program does: runs FormShow (first page, not yet
  // printed, the window made room for the sheet), then shows, raises and
  // activates it. A restore by the desktop runs nothing, so the page shown
  // and the printed state stay.
  void Vis();
  bool Skrevet = false;  // printed (or declined): closing asks nothing
  int AktivSide = 0;     // the page shown, from 0
  int Sider() const;

  // Components.
  QWidget* Panel1;
  QLabel* Panel1Tekst;  // the scale, right-justified
  QToolBar* Redskap;
  QToolButton* Lukk;     // "Lukk"
  QToolButton* Skrive;   // "Skriv ut"
  QToolButton* Oke;      // "+"
  QToolButton* Krymp;    // "-"
  QToolButton* Kopier;   // "Kopier"
  QToolButton* Metafil;  // "PDF"
  QLabel* Status;
  QTabBar* Tab;
  QScrollArea* ScrollBox1;
  TArk* Ark;

  void TabClick(int indeks);
  void DimmChange(bool forstorr);
  // direkte: use the last print settings without the dialog.
  void SkrivClick(bool direkte = false);
  void KopierClick();
  void MetafilClick();

  // The print dialog's settings: a page range or all pages, and whether the
  // pages go to files instead of paper.
  struct TUtskriftsvalg {
    bool sidevalg = false;
    int fra = 1;
    int til = 1;
    bool tilFil = false;
  };
  TUtskriftsvalg Utskriftsvalg;  // what the dialog holds now; Shift+F6 uses it

  // The print run itself: the pages of the settings, on the printer, or with
  // a base name into the files "<base name><page>.svg". Returns the pages
  // drawn, in order.
  std::vector<int> SkrivUt(QPrinter& skriver, const TUtskriftsvalg& valg, const QString& grunnnavn = {});

  // The bitmap that KopierClick puts on the clipboard: the active page at the
  // sheet's size, one bit a pixel.
  QImage Kopi() const;

  // Hooks the tests answer instead of the dialogs. VelgSkriver shows the print
  // dialog over the settings and returns them, or nothing when cancelled.
  std::function<std::optional<TUtskriftsvalg>(QPrinter&, const TUtskriftsvalg&)> VelgSkriver;
  // The save dialog's answer (title, the types offered): the file and the
  // type chosen, none when cancelled. The first type gives its ending to a
  // name without one, also when "Alle filer" is chosen.
  std::function<std::optional<TLagringsfil>(const QString& tittel, const std::vector<TFiltype>& typer)> VelgFil;
  std::function<void(const QString&)> Melding;
  std::function<bool(const QString&)> Sporsmal;  // Yes/No

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Skaler();
  void TilToppen();
  void FormShow();
  void VisStatus(const QString& tekst, const QString& hint = {});
  void GiPlassTilArket();

  double skala_ = 1.3;
  std::unique_ptr<TSidedokument> dokument_;
  void Slipp();

  QString lagreTittel_ = QStringLiteral("Lagre");
};
