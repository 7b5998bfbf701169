// The grid widget: shows a TRutenett with its fixed rows and columns kept in
// place while the rest scrolls by whole cells, draws every cell through a
// hook, lets the user select, edit (through a validation hook) and drag
// column widths, and reports clicks and moves.
//
// The current cell is the moving corner of the selection: a click or a plain
// arrow key makes one cell both, and Shift with a click or a key, or a drag,
// moves the current cell while the opposite corner stays.
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
  QRect rute;          // the cell's rectangle on the grid
  bool fast = false;   // in a fixed row or column
  bool valgt = false;  // inside the selection (not fixed)
  bool gjeldende = false;
  QString tekst;  // what will be drawn
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

  // The widget keeps the model's VedEndring for itself.
  TRutenett& Modell() { return modell_; }
  const TRutenett& Modell() const { return modell_; }

  // Text of a cell as Unicode, and setting it from Unicode.
  QString Tekst(int kol, int rad) const;
  void SettTekst(int kol, int rad, const QString& tekst);

  // Options; set them before the grid is filled (a change is not redrawn by
  // itself).
  bool Redigerbar = false;         // cells may be edited (not fixed ones)
  bool KolonneDrag = true;         // column widths may be dragged in the fixed rows
  bool KolonneFlytt = false;       // a column may be dragged by its fixed-row cell to another place
  bool RadFlytt = false;           // a row may be dragged by its fixed-column cell to another place
  bool Velgbar = true;             // cells may be selected with mouse and keys
  bool TabMellomCeller = false;    // Tab and Shift+Tab move to the next and previous cell
  bool EnterFlytterHoyre = false;  // Enter moves to the next cell to the right
                                   // (from the last column to the next row)
  bool Linjer = true;              // grid lines
  QColor Linjefarge = QColor(192, 192, 192);
  void SettRullefelt(bool vis);

  // The first scrolling column and row shown. Setting them is limited to what
  // still fills the view.
  int VenstreKol() const;
  int ToppRad() const;
  void SettVenstreKol(int kol);
  void SettToppRad(int rad);
  // Scrolls so that the cell is shown.
  void VisCelle(int kol, int rad);

  // The cell under a point of the viewport, or (-1, -1).
  QPoint CelleVed(const QPoint& p) const;
  // The rectangle of a cell in the viewport (empty when no part of it is shown).
  QRect Celleramme(int kol, int rad) const;
  // Width and height the whole grid needs, without scroll bars.
  QSize Innholdsstorrelse() const;

  // Editing. The editor opens on the current cell, with `start` as its text
  // or else with the cell's text selected.
  bool Redigerer() const;
  void StartRedigering(const QString* start = nullptr);
  // Ends editing; false when the validation kept the editor open. Leaving the
  // editor for another control, or scrolling its cell out of view, ends it
  // the same way.
  bool AvsluttRedigering();
  // Closes the editor; the cell keeps the text it has.
  void AvbrytRedigering();
  QLineEdit* Redigerer_() const { return redigerer_; }

  // Hooks.
  std::function<void(QPainter&, TCelleTegning&)> TegnCelle;
  // Called when an edited cell's text has changed and the editor closes; may
  // rewrite the text (Windows-1252), which the cell then holds either way;
  // false keeps the editor open on the cell showing that text. Closing it
  // again without a change keeps the text without asking again.
  std::function<bool(int kol, int rad, std::string& tekst)> Valider;
  // Tooltip text for a cell.
  std::function<QString(int kol, int rad)> Hint;

 signals:
  // The user's click, key or drag moved the current cell; sent after the
  // move, so a handler that needs the cell left behind keeps the last one
  // it was told.
  void celleValgt(int kol, int rad);
  void celleKlikket(int kol, int rad);
  void celleDobbeltklikket(int kol, int rad);
  void valgEndret();
  void musSluppet();
  void kolonnebreddeEndret(int kol);
  void kolonneFlyttet(int fra, int til);
  void radFlyttet(int fra, int til);  // while the user drags the column's edge
  void rullet();                      // the first scrolling column or row changed
  void forlatt();                     // the focus left the grid and its editor

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* o, QEvent* e) override;
  QSize sizeHint() const override;

 private:
  void ModellEndret();
  void OppdaterRullefelt();
  bool HarDataceller() const;
  void Flytt(int kol, int rad, bool utvid);
  QPoint Anker() const;
  QPoint NesteCelle(bool fram) const;
  int KolVed(int x) const;
  int RadVed(int y) const;
  int KolonneKant(const QPoint& p) const;  // column whose right edge is under p, or -1
  void PlasserRedigerer();
  void LukkRedigerer();
  int SisteHeltSynligeRad() const;
  int SisteHeltSynligeKol() const;

  TRutenett modell_;
  QLineEdit* redigerer_ = nullptr;
  int redKol_ = -1;
  int redRad_ = -1;
  QString redStart_;
  bool avslutter_ = false;  // the editor is being closed; its focus changes are ours
  int dragKol_ = -1;
  int flyttKol_ = -1;  // column being moved
  int flyttRad_ = -1;  // row being moved
  int dragStartX_ = 0;
  int dragStartBredde_ = 0;
  bool velger_ = false;
};
