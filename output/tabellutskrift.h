// Printing a table on paper and into PDF. The grid is scaled as the screen
// shows it (column widths, row height, font height, header rows, footer) to
// the page width; every page gets the page head and the header rows, and the
// footer right under its last body row. The same page drawing serves a
// printer and the PDF writer; the window only picks the printer or the file
// and shows the progress.
//
// What the window does for paper:
//
//   if (SkriverOpptatt()) message SkriverOpptattTekst (skriverjobb.h);
//   print dialog, with the selection choice when TilbyUtvalg(grid);
//   TSkriverjobb for the run, and in it
//   if (auto feil = SkrivTabell(printer, choseSelection, u)) message *feil;
//
// and for PDF: the save dialog with the PDF filter, then
// SkrivTabellPdf(name, u).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rutenett.h"
#include "sidedokument.h"
#include "tabell.h"

class QPainter;
class QPagedPaintDevice;

// The scales and measures of one print run, in device units of the output
// (T in screen pixels).
struct TSideoppsett {
  double sx = 1;  // device units per screen pixel across
  double sy = 1;  // device units per screen pixel down
  int R = 1;      // sx rounded half away from zero
  int fh = 0;     // body font height
  int rh = 0;     // row height
  int T = 0;      // sum of the main grid's column widths
  int L = 0;      // left edge of the table (centred on the page)
  int B = 0;      // lowest bottom of a body row (the footer rows fit below it)
  bool operator==(const TSideoppsett&) const = default;
};

// A screen pixel becomes the page's short side / 600 across and its long
// side / 870 down, in both orientations.
TSideoppsett Sideoppsett(double sidebredde, double sidehoyde, int skrifthoyde, int radhoyde, int totalbredde,
                         int bunnrader, bool avrundBunn);
// The same from a table: the grid font's height, the grid's default row
// height, TotalBredde and the footer rows filled. The PDF rounds B.
TSideoppsett Sideoppsett(const TTabell& t, double sidebredde, double sidehoyde, bool pdf);

// Paper: the message (UTF-8) when the table is too wide for a standing page
// (above 600 pixels), which a lying page would take; none when it fits. A
// lying page takes any table: one wider than the page is printed across
// several pages (Kolonnebaand).
std::optional<std::string> ForBredForArket(int totalbredde, bool liggende);

// The PDF goes lying for a table wider than 600 pixels, however wide it is;
// wider than the lying page it goes across several pages.
bool PdfLiggende(int totalbredde);

// The columns of each page across, for a table wider than the `plass` screen
// pixels a page holds: bands of whole columns, each led by the fixed columns
// (the first column when none is fixed), so that every page says whose rows
// it shows. One band of every column when the table fits, or `plass` is 0.
std::vector<std::vector<int>> Kolonnebaand(const TRutenett& h, int plass);
// The width a page of `sidebredde` device units holds for the table, in
// screen pixels, when the table is wider and goes across several pages;
// otherwise 0.
int Delingsbredde(const TTabell& t, double sidebredde, const TSideoppsett& o);
// The pages across that a lying A4 page needs for the table (1 when it fits).
int DelerIBredden(const TTabell& t);
// What the page head adds on a page of a table split across pages:
// "   (del 2 av 3 i bredden)" (Windows-1252).
std::string Delertekst(int del, int deler);
// A4 in 1/96 inch, the PDF's page in device units (standing).
inline constexpr double PdfBredde = 793.6992;
inline constexpr double PdfHoyde = 1122.5184;
inline constexpr int PdfOpplosning = 96;

// The rows to print, inclusive; none when forste > siste.
struct TRadomraade {
  int forste = 0;
  int siste = -1;
  bool operator==(const TRadomraade&) const = default;
};
// The print dialog offers its selection choice when more than one row is marked.
bool TilbyUtvalg(const TRutenett& g);
// The marked rows (never a header row) when the selection was chosen,
// otherwise every row after the header rows.
TRadomraade Utskriftsrader(const TRutenett& g, bool utvalg);

// The line at the top of a page: "side:" + page + " den " + d/m-yyyy + " med "
// + the main window's caption (Windows-1252).
std::string Sidehodetekst(int side, double dato, std::string_view hovedtekst);

// What a run tells the window. Texts are UTF-8.
struct TUtskriftHendelser {
  std::function<void(const std::string&)> status;    // "Skriver", then "Ferdig skrevet"
  std::function<void(int forste, int siste)> start;  // the progress bar, shown with this range
  std::function<void(int rad)> fremdrift;            // the row being drawn
  std::function<void()> slutt;                       // the progress bar goes away
};

// One print run of a table.
struct TUtskrift {
  const TTabell* tabell = nullptr;
  std::string hovedtekst;  // the main window's caption, Windows-1252
  double dato = 0;         // today; the page heads carry it
  TUtskriftHendelser hendelser;
};

// The pages of one print run as a document, laid out for the page size of
// `o`: the page head and the header rows on every page, the body rows while
// the next would still end above B, and the footer right under the last body
// row of each page; a table too wide for the page goes across several pages
// of the same rows, the first column repeated on each. A page is drawn for that page size, whatever size it is
// handed. Drawing the first page tells the run's status and start, and
// every row its progress; drawing the last page tells the end.
class TTabelldokument final : public TSidedokument {
 public:
  // `plass`: the screen pixels a page holds across, for a table split
  // across pages (Delingsbredde); 0: every column on every page.
  TTabelldokument(const TUtskrift& u, const TSideoppsett& o, TRadomraade rader, int plass = 0);
  ~TTabelldokument() override;
  int Sider() const override;
  void TegnSide(QPainter& p, int bredde, int hoyde, int side) const override;

 private:
  TUtskrift u_;
  TSideoppsett o_;
  TRadomraade rader_;
  std::vector<struct TTabellside> sider_;
};

// Paper: checks the width against the printer's orientation (its page width
// at least its height is lying), then prints the rows (the marked ones when
// `utvalg`) as one job. Gives the message when the table is too wide; then
// nothing is printed.
std::optional<std::string> SkrivTabell(QPagedPaintDevice& skriver, bool utvalg, const TUtskrift& u);

// Writes the table as a PDF on A4 (lying when it is wider than 600 pixels)
// into the file `filnavn` (UTF-8) made safe by CleanFileName, in place of an
// old file: a failure leaves the old one. Gives the file name used; throws
// IoFeil.
std::string SkrivTabellPdf(const std::string& filnavn, const TUtskrift& u);
