// The framed catalogue pages: every ram of the text listing becomes a ruled
// box with fixed labels, six boxes to a page. The pages are built by reading
// the listing's lines back at their column positions (so the user's edits in
// the listing reach the pages), placed in millimetres and scaled to whatever
// surface they are painted on: the screen, a printer, an SVG, a bitmap or a
// PDF page. Also the printing of the listing itself as plain text pages.
#pragma once

#include <QFont>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sidedokument.h"

class QPainter;
class QPagedPaintDevice;

// ---- Scaling ----

// The scale of one surface of w x h pixels, taken as 200 mm wide and about
// 280.6 mm high: MmX(mm) = round(mm * 3 * w / 600) and
// MmY(mm) = round(mm * 3.1 * h / 870), rounded half away from zero. Every
// drawing call is handed the scale of its own surface.
class TSkala {
 public:
  TSkala(int bredde, int hoyde) : x_(bredde / 600.0), y_(hoyde / 870.0) {}
  int MmX(double mm) const;
  int MmY(double mm) const;

 private:
  double x_;
  double y_;
};

// The font of the pages (the metric twin of Times New Roman) with a cell
// height (ascent + descent) of `celle` pixels.
QFont Sideskrift(int celle, bool fet = false);

// ---- The page model ----

// A text placed at X, Y millimetres from the left and top edges of its box.
class Tpunkt {
 public:
  Tpunkt() = default;
  Tpunkt(double x, double y, std::string tekst) : X(x), Y(y), Tekst(std::move(tekst)) {}
  virtual ~Tpunkt() = default;
  // Draws the text for a box whose left edge is x0 and top edge y0 (mm), at
  // the surface's scale.
  virtual void Tegn(QPainter& p, const TSkala& skala, double x0, double y0) const;
  // True for the right-aligned kind.
  virtual bool Hoyre() const { return false; }

  double X = 0;
  double Y = 0;
  std::string Tekst;  // Windows-1252
  // The width of the text's box (mm): from X on for the kind that starts
  // there, up to X for the kind that ends there; 0: no limit. A text too wide
  // for its box is drawn narrower, then smaller, and what still does not fit
  // is cut, so that no text runs into another or over a rule.
  double Maks = 0;
};

// A text that ends at its point.
class ThPunkt : public Tpunkt {
 public:
  using Tpunkt::Tpunkt;
  void Tegn(QPainter& p, const TSkala& skala, double x0, double y0) const override;
  bool Hoyre() const override { return true; }
};

// A text that starts at its point.
class TvPunkt : public Tpunkt {
 public:
  using Tpunkt::Tpunkt;
  void Tegn(QPainter& p, const TSkala& skala, double x0, double y0) const override;
};

// One ram's box: its 86 texts in a fixed order (the drawing fonts depend on
// it) and its title, the county text of the birth line.
class Tfelt {
 public:
  std::vector<std::unique_ptr<Tpunkt>> Punkter;
  std::string Tittel;  // Windows-1252
};

inline constexpr int FelterPerSide = 6;
inline constexpr int PunkterPerFelt = 86;
inline constexpr int LinjerPerVer = 13;

// One page: at most six boxes.
class Tside {
 public:
  std::vector<std::unique_ptr<Tfelt>> Felter;
};

using TSider = std::vector<std::unique_ptr<Tside>>;

// Builds the pages from the listing's lines (Windows-1252), 13 lines a ram.
// Lines beyond the end count as empty, so an edited listing whose length is
// not a multiple of 13 leaves its last box incomplete. An empty listing gives
// one empty page.
std::unique_ptr<TSider> LagSider(const std::vector<std::string>& linjer);

// ---- Drawing ----

// Draws page `side` (from 1) of `sider` to fill bredde x hoyde pixels of the
// painter's device, under its running head. A page number outside the list
// draws the blank page with its number. What it draws depends on its
// arguments alone.
void TegnSide(QPainter& p, int bredde, int hoyde, const TSider& sider, int side);
// Draws one box with its left edge at x0 and top edge at y0 (mm).
void TegnFelt(const Tfelt& felt, QPainter& p, const TSkala& skala, double y0, double x0);
// The running head of page `side`: the title of its last box; empty for a
// page without boxes and outside the list.
std::string Sidetittel(const TSider& sider, int side);

// The framed pages as a document for the paged print window: it holds its
// page list, or shows one that its caller keeps.
class TRammedokument final : public TSidedokument {
 public:
  explicit TRammedokument(std::unique_ptr<TSider> sider) : eier_(std::move(sider)), sider_(eier_.get()) {}
  explicit TRammedokument(const TSider& sider) : sider_(&sider) {}
  int Sider() const override;
  void TegnSide(QPainter& p, int bredde, int hoyde, int side) const override;
  const TSider& Sideliste() const { return *sider_; }

 private:
  std::unique_ptr<TSider> eier_;
  const TSider* sider_;
};

// ---- PDF ----

// Width and height in pixels of the PDF pages: A4 at 96 dots per inch,
// rounded (794 x 1123).
inline constexpr int KatalogPdfBredde = 794;
inline constexpr int KatalogPdfHoyde = 1123;

// Told after each page of a long output: the pages done and all pages.
using TSidefremdrift = std::function<void(int gjort, int alle)>;

// Writes every page of `dokument` into a PDF file on A4 at 96 dots per inch,
// with `tittel` as its title and "Tuv-Sau" as its creator. The document is
// made in memory and replaces `fil` whole; a failure leaves an older file as
// it was. Throws IoFeil.
void SkrivPdf(const std::filesystem::path& fil, const QString& tittel, const TSidedokument& dokument,
              const TSidefremdrift& fremdrift = {});
// The framed pages as PDF, titled as the print window is.
void SkrivRammerPdf(const TSider& sider, const std::filesystem::path& fil,
                    const QString& tittel = QStringLiteral("Utskriftsvindu"), const TSidefremdrift& fremdrift = {});

// ---- Printing the listing as text ----

// The print dialog offers pages 1 to this: 78 lines a page.
int ListeSider(int antLinjer);

// The lines (1-based, first and last) that a print of the listing covers:
// with a chosen page range From..To, lines (From - 1) * 78 + 1 to To * 78,
// the last cut to the listing; a last line before the first becomes
// first + 78, cut again. Without a range all lines.
std::pair<int, int> ListeLinjer(int antLinjer, bool sidevalg, int fra, int til);

// Listing lines per sheet for a printable height and a line height: a whole
// number of 13-line rams (at least one ram).
int LinjerPerArk(int hoyde, int linjehoyde);

struct TListevalg {
  bool sidevalg = false;  // the user chose a page range
  int fra = 1;
  int til = 0;
  double idag = 0;              // the date in the header
  std::optional<QFont> skrift;  // the listing's font; Liberation Mono 10 pt without one
  std::function<bool()> stopp;  // asked before every line; true ends the print
};

// Prints the listing's lines on the pages of `enhet` (a QPrinter or a
// QPdfWriter), a whole number of rams per sheet under the header
// "Værkatalog fra Kveldro den <dato> Side:<n>". Returns the number of sheets,
// 0 when the device could not be opened.
int SkrivListe(QPagedPaintDevice& enhet, const std::vector<std::string>& linjer, const TListevalg& valg);
