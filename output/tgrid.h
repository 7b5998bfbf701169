// The grid widget: shows a TRutenett with its fixed rows and columns kept in
// place while the rest scrolls by whole cells, draws every cell through a
// hook, lets the user select, edit (through a validation hook) and drag
// column widths, and reports clicks and moves.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <functional>
#include <string>

#include "rutenett.h"

class QLineEdit;

// How one cell is about to be drawn; a drawing hook may change any of it, or
// draw the cell itself and set `ferdig`.
struct TCelleTegning {
  int kol = 0;
  int rad = 0;
  QRect rute;           // the cell's rectangle on the grid
  bool fast = false;    // in a fixed row or column
  bool valgt = false;   // inside the selection (not fixed)
  bool gjeldende = false;
  QString tekst;        // what will be drawn
  QFont font;
  QColor bakgrunn;
  QColor tekstfarge;
  Qt::Alignment justering = Qt::AlignLeft | Qt::AlignVCenter;
  bool ferdig = false;  // the hook drew the cell itself
};

class TGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TGrid(QWidget* parent = nullptr);
  ~TGrid() override;

  TRutenett& Modell() { return modell_; }
  const TRutenett& Modell() const { return modell_; }

  // Text of a cell as Unicode, and setting it from Unicode.
  QString Tekst(int kol, int rad) const;
  void SettTekst(int kol, int rad, const QString& tekst);

  // Options.
  bool Redigerbar = false;        // cells may be edited (not fixed ones)
  bool KolonneDrag = true;        // column widths may be dragged in the fixed rows
  bool Velgbar = true;            // cells may be selected with mouse and keys
  bool TabMellomCeller = false;   // Tab moves to the next cell
  bool EnterFlytterHoyre = false; // Enter moves to the next cell to the right
  bool Linjer = true;             // grid lines
  QColor Linjefarge = QColor(192, 192, 192);
  void SettRullefelt(bool vis);

  // The first scrolling column and row shown.
  int VenstreKol() const { return forsteKol_; }
  int ToppRad() const { return forsteRad_; }
  void SettVenstreKol(int kol);
  void SettToppRad(int rad);
  // Scrolls so that the cell is shown.
  void VisCelle(int kol, int rad);

  // The cell under a point of the viewport, or (-1, -1).
  QPoint CelleVed(const QPoint& p) const;
  // The rectangle of a cell in the viewport (empty when it is not shown).
  QRect Celleramme(int kol, int rad) const;
  // Width and height the whole grid needs, without scroll bars.
  QSize Innholdsstorrelse() const;

  // Editing.
  bool Redigerer() const;
  void StartRedigering(const QString* start = nullptr);
  // Ends editing; false when the validation kept the editor open.
  bool AvsluttRedigering();
  void AvbrytRedigering();
  QLineEdit* Redigerer_() const { return redigerer_; }

  // Hooks.
  std::function<void(QPainter&, TCelleTegning&)> TegnCelle;
  // Called when an edited cell's text has changed and the editor closes; may
  // rewrite the text (Windows-1252); false keeps the editor open on the cell.
  std::function<bool(int kol, int rad, std::string& tekst)> Valider;
  // Tooltip text for a cell.
  std::function<QString(int kol, int rad)> Hint;

 signals:
  void celleValgt(int kol, int rad);
  void celleKlikket(int kol, int rad);
  void celleDobbeltklikket(int kol, int rad);
  void valgEndret();
  void musSluppet();
  void kolonnebreddeEndret(int kol);
  void rullet();
  void forlatt();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* o, QEvent* e) override;
  QSize sizeHint() const override;

 private:
  void OppdaterRullefelt();
  void Flytt(int kol, int rad, bool utvid);
  int KolonneKant(const QPoint& p) const;  // column whose right edge is under p, or -1
  void PlasserRedigerer();
  int SisteHeltSynligeRad() const;

  TRutenett modell_;
  int forsteKol_ = 0;
  int forsteRad_ = 0;
  QLineEdit* redigerer_ = nullptr;
  int redKol_ = -1;
  int redRad_ = -1;
  QString redStart_;
  int dragKol_ = -1;
  int dragStartX_ = 0;
  int dragStartBredde_ = 0;
  bool velger_ = false;
  QPoint anker_;
};
