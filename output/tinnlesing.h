// The print preview: shows the pages a caller draws, pages through them,
// zooms and prints them. It knows nothing of what it shows: the caller hands
// it a page document, which the window owns and releases when it closes.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "sidedokument.h"

class QComboBox;
class QLabel;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

// The small activity window shown while printing.
class TVisern : public QDialog {
  Q_OBJECT

 public:
  explicit TVisern(QWidget* eier = nullptr);
  void VisStart(const QString& etikett, bool medKnapp, double maks, bool visSoyle);
  void SettTekst(const QString& etikett);
  void SettPosisjon(double posisjon);
  void Avslutt();
  bool Avbrutt = false;

  QLabel* Label1;          // "Vising av flyt i skriving og kopiering"
  QPushButton* CancelBtn;  // "Avbryt"
  QProgressBar* Soyle1;
};

// The page surface; it asks its preview to paint.
class TFlate : public QWidget {
  Q_OBJECT

 public:
  explicit TFlate(QWidget* forelder) : QWidget(forelder) {}
  std::function<void(QPainter&)> Tegn;

 signals:
  void sluppet(QPoint pos, Qt::MouseButton knapp);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(class QMouseEvent* e) override;
};

class TInnlesing : public QMainWindow {
  Q_OBJECT

 public:
  explicit TInnlesing(QWidget* eier = nullptr);
  ~TInnlesing() override;

  // The pages to show, owned by the window from here on and released when it
  // closes. A window that is shown is closed first. A document of more than
  // one page sets maksid.
  void SettDokument(std::unique_ptr<TSidedokument> dokument);
  const TSidedokument* Dokument() const { return dokument_.get(); }

  // Shows the window as the program does: the page to the top of the scroll
  // box and the window as wide as the page; then shows, raises and activates
  // it. A restore by the desktop runs nothing, so the scroll position stays.
  void Vis();
  int maksid() const { return maksid_; }
  void Setmaksid(int n);
  bool landskap = false;
  int Side = 0;

  // Components.
  QWidget* hugu;
  QLabel* huguTekst;  // the right-aligned caption of the top panel
  QToolBar* ToolBar1;
  QToolButton* Sidebak;   // "Tilbake"
  QToolButton* Sidefram;  // "Fram"
  QToolButton* Skrivut;   // "Skriv ut"
  QToolButton* Hjelpe;    // "Hjelp"
  QToolButton* Lukke;     // "Lukk"
  QComboBox* Skal;
  QScrollArea* RullB;
  TFlate* Flate;

  void SidebakClick();
  void SideframClick();
  void SkalChange(int valg);
  void SkrivutClick();

  // The print run after the dialog: pages `fra` to `til` (with the page
  // choice) or page 1 once (without). Used by SkrivutClick and by tests.
  void SkrivUt(QPagedPaintDevice& skriver, int fra, int til, bool sidevalg);

  // Asks for the printer and the page range; no value when cancelled. Tests
  // answer it instead of the print dialog.
  struct TUtskriftsvalg {
    int fra = 1;
    int til = 1;
    bool sidevalg = false;  // the user chose pages
  };
  std::function<std::optional<TUtskriftsvalg>(QPrinter&, int maksid)> VelgSkriver;
  std::function<void(const QString&)> Melding;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Frigi();
  void TilToppen();

  std::unique_ptr<TSidedokument> dokument_;
  int maksid_ = 0;
};
