// The table that every list of the program ends in: the main grid with its
// header rows, the footer grid for sums, averages and counts, the widest text
// of each column, and the format codes of the cells. The table window shows
// it; the command-line tool fills and exports it without a window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rutenett.h"

// Colours as 0xRRGGBB.
using TFarge = uint32_t;
inline constexpr TFarge Rod = 0xFF0000;
inline constexpr TFarge Blaa = 0x0000FF;

// The style a cell's first character selects (codes 0 to 8), and the text
// that is shown, printed and exported.
struct TCelleFormat {
  enum class Farge { Svart, Farge1, Farge2, Graa, Rodbrun };
  int kode = -1;  // -1: the cell has no format code
  bool fet = false;
  bool kursiv = false;
  bool understrek = false;
  bool gjennomstrek = false;
  Farge farge = Farge::Svart;
  std::string tekst;
};
TCelleFormat TolkFormat(std::string_view celle);
// The colour of a format as 0xRRGGBB, with the table's two own colours.
TFarge FormatFarge(const TCelleFormat& f, TFarge farge1, TFarge farge2);
// A text whose first shown character is '-' or a digit is right-aligned.
bool HoyreJustert(std::string_view vistTekst);

// Cuts a row text at each ';' into cells; what follows the last ';' is dropped.
std::vector<std::string> DelRad(std::string_view tekst);

// Width of a text in pixels in the grid's font.
using TMaal = std::function<int(std::string_view)>;

// Row i's text (from 0) as NyRad takes it, written into `tekst` (which comes
// empty).
using TRadtekst = std::function<void(int rad, std::string& tekst)>;

// Anything that takes a table through the calling contract: the table window,
// or a table without a window.
class TTabellMottaker {
 public:
  virtual ~TTabellMottaker() = default;
  virtual void Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader,
                       const std::string& tittel, TFarge farge1, TFarge farge2) = 0;
  virtual void NyRad(std::string_view tekst) = 0;
  virtual void NyBunnRad(std::string_view tekst) = 0;
  // The window's caption, for a table that names what it holds in full (a
  // list, a comparison, a plan); given after Oppsett. Without it the caption
  // is the title up to its first blank.
  virtual void SettVindusnavn(const std::string& /*navn*/) {}
  // The smallest font the first layout may shrink the table to (points), for
  // a table that is read across many columns (a comparison, a plan); it
  // scrolls, and prints over several pages across, rather than shrink below
  // it. Given after Oppsett.
  virtual void SettMinsteskrift(int /*punkt*/) {}
  // Makes room in column `kol` for a text the table does not hold yet but
  // may come to show (a row made again after a change). Given after Oppsett.
  virtual void Utvid(int /*kol*/, const std::string& /*tekst*/) {}
  // `antall` rows as if each came through NyRad, whose texts `tekst` makes
  // when asked. A table holds them as rows made when they are shown, written,
  // sorted or searched, so `tekst` must stay valid as long as the table (it
  // should own what it reads). This default makes every text at once.
  virtual void NyeRader(int antall, TRadtekst tekst);
};
// The smallest font of such a table.
inline constexpr int LesbarSkrift = 8;

// The grid's font at a point size: the metric twin of Arial.
class QFont;
QFont Tabellskrift(int punkt);
// Widths measured in that font (needs a running QGuiApplication).
TMaal Tabellmaal(int punkt);

class TTabell : public TTabellMottaker {
 public:
  TTabell();

  TRutenett& Hoved() { return *hoved_; }
  const TRutenett& Hoved() const { return *hoved_; }
  TRutenett& Bunn() { return *bunn_; }
  const TRutenett& Bunn() const { return *bunn_; }
  // Lets a view's own models hold the grids (the table window's grids).
  void BrukModeller(TRutenett* hoved, TRutenett* bunn);

  void Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader, const std::string& tittel,
               TFarge farge1, TFarge farge2) override;
  void NyRad(std::string_view tekst) override;
  void NyBunnRad(std::string_view tekst) override;
  void SettVindusnavn(const std::string& navn) override { Vindusnavn = navn; }
  void SettMinsteskrift(int punkt) override { Minsteskrift = punkt; }
  // The rows hold no text: the main grid makes a row's cells when they are
  // read. The widest texts are measured as NyRad measures them, all rows once.
  void NyeRader(int antall, TRadtekst tekst) override;

  // The window caption: Vindusnavn when the table gave one, otherwise the
  // title up to and including its first blank.
  std::string Vindustittel() const;

  // Measuring in the main grid's and the footer's fonts; without them a text
  // counts 7 pixels a character.
  TMaal MaalHoved;
  TMaal MaalBunn;

  std::string Tittel;
  std::string Vindusnavn;  // the caption the table gave (Oppsett clears it)
  int Minsteskrift = 5;    // the first layout's smallest font (Oppsett sets 5)
  int TittelStorrelse = 12;
  TFarge Farge1 = Rod;
  TFarge Farge2 = Blaa;
  std::string Rammefarge = "#111111";
  bool BunnVist = false;
  int Skriftstorrelse = 10;  // the grid's font size
  std::vector<std::string> Bredeste;
  int NesteRad = 0;
  int AntBunnRader = 0;

  // The Bredeste entries on one line, as the first layout measures them.
  std::string SammenslattBredeste() const;
  // The layout when the table is first shown, in the grid's real font: the
  // font shrinks (not below Minsteskrift) while the widest texts side by side
  // reach 601 pixels, then the widths and heights follow it. Sets
  // MaalHoved/MaalBunn.
  void ForsteLayout();
  // Sets the grid's font size and measures in it.
  void SettSkrift(int punkt);
  // Re-layout in the grid's real font.
  void Skaler();
  // Column widths from the widest texts (+6), row heights from the font
  // height (+4), and the footer's widths equal to the main grid's.
  void Skaler(int fonthoyde);
  // Sum of the main grid's column widths.
  int TotalBredde() const;
  // The print-fit note for the row height h: text (UTF-8, two lines parted by
  // a carriage return) and whether it is red.
  struct TMerknad {
    std::string tekst;
    bool rod = false;
  };
  TMerknad Arkmerknad(int radhoyde) const;
  // Widens a column's Bredeste entry when `tekst` is wider (in the footer font).
  void Utvid(int kol, const std::string& tekst) override;

  // Removes the marked rows (the current row when one row is marked; never row 0).
  void SlettMerkede();
  // Marks every data row in every column.
  void MerkAlt();
  // The whole numbers in the first column of the marked rows (the current
  // row when one row is marked), in the rows' order, each once: the judging
  // numbers of the rams marked in a table of rams. Rows whose first cell is
  // not a whole number above 0 (headers, sums) are passed over.
  std::vector<int32_t> MerkedeNumre() const;
  // The same over every data row.
  std::vector<int32_t> AlleNumre() const;

 private:
  int Maal(const TMaal& m, std::string_view t) const;
  std::vector<int32_t> Numre(int fra, int til) const;
  // Widens column k's Bredeste entry for a cell of the main grid.
  void MaalCelle(std::size_t k, std::string_view celle);

  std::vector<int> bredesteBredde_;  // measured widths of Bredeste, while the font stays
  TRutenett egenHoved_, egenBunn_;
  TRutenett* hoved_;
  TRutenett* bunn_;
};
