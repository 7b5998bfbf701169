// Sorting, finding and the column figures of the table: the sort key of a
// cell and the weights of its characters, the sort of a block of rows by one
// column, the search through every cell, and the count, sum and average that
// go into the footer. All of it works on the grid models; the table window
// turns its buttons and menu entries into these calls and shows the texts.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rutenett.h"
#include "tabell.h"

// ---------------------------------------------------------------------------
// Sort keys

// The weight of a Windows-1252 character in a text key: letters A to Z weigh
// 21 to 46 regardless of case, Æ 47, Ø 48, Å 49; digits 8 to 18; codes not in
// the table (among them ',', '-', '.', '/' and the control codes but 31)
// weigh 0.
int Tegnvekt(unsigned char c);

// One reading of a number: optional leading blanks, an optional sign, digits
// with at most one '.', then optionally 'E' or 'e', an optional sign and at
// least one digit, and nothing after that. At least one digit must stand
// before the exponent. On failure `feil` is the 0-based index of the first
// character that breaks the syntax (the length when the text ends too early)
// and `verdi` is the digits read before the exponent up to the failure, taken
// as one whole number without sign or point ('12.5x' gives 125).
struct TTallLesing {
  bool ok = false;
  std::size_t feil = 0;
  long double verdi = 0;
};
TTallLesing LesTallet(std::string_view tekst);

// The sort key of a cell: numbers by their value (blanks removed, decimal
// comma), "dd/mm" as month + day/100, "dd/mm/yyyy" as year*12 + month +
// day/100, and every other text by its number part plus the weights of its
// first 20 characters, 100 000/40^i for the i-th. An empty cell is 0.
long double Sorteringsverdi(std::string_view celle);

// ---------------------------------------------------------------------------
// Sorting

// Up to this many rows a range is ordered by the exchange pass; beyond it by
// a stable O(n log n) sort by the same keys.
inline constexpr std::size_t Byttegrense = 10000;

// Positions 0 .. n-1 of the keys in sorted order, by the exchange pass: for
// each position i, each later position j swaps with it when its key is
// smaller (ascending) or larger (descending). Quadratic. Equal keys end up in
// whatever order the swaps leave them: two equal keys before a smaller one
// come out reversed.
std::vector<std::size_t> Byttepass(const std::vector<long double>& nokler, bool minkende);
// The same order wherever the keys differ, in O(n log n); equal keys keep the
// order they had.
std::vector<std::size_t> StabilOrden(const std::vector<long double>& nokler, bool minkende);

// The status texts (UTF-8) shown before and after a sort:
// "Sorterer økende", "Har sortert minkende" and so on.
std::string SorteringsTekst(bool minkende, bool ferdig);

using TStatus = std::function<void(const std::string&)>;

// Sorts rows by the current cell's column: the marked rows when the
// selection spans more than one row, otherwise every data row. Whole rows move
// (every column, flags and heights). Does nothing, and shows nothing, unless
// the grid has more than 2 rows; otherwise `status` gets the text before and
// the text after. Ranges longer than `grense` rows take the stable sort.
// Returns whether it sorted.
bool Sorter(TRutenett& g, bool minkende, const TStatus& status = {}, std::size_t grense = Byttegrense);

// ---------------------------------------------------------------------------
// Finding

// Where the last search hit, and whether the next one goes on after it.
// Opening the find dialog clears FinnVidere.
struct TFinnTilstand {
  int FinnKol = 0;
  int FinnRad = 0;
  bool FinnVidere = false;
};

struct TCellePos {
  int kol = 0;
  int rad = 0;
  bool operator==(const TCellePos&) const = default;
};

// One press of the find button: from the cell after the last hit (FinnVidere)
// or from the top left cell, row by row and column by column through every
// cell, header rows and fixed columns included, for the first cell whose text
// contains `tekst`, both cut to 255 characters and upper-cased. A hit becomes
// the selection up to the last column of its row and the new state; no hit
// clears FinnVidere. An empty search text finds nothing. The caller scrolls
// the hit's row to the top, or shows FantIkke().
std::optional<TCellePos> Finn(TRutenett& g, TFinnTilstand& tilstand, std::string_view tekst);
// "Fant ikke " and the upper-cased search text, in UTF-8.
std::string FantIkke(std::string_view tekst);

// ---------------------------------------------------------------------------
// Column figures

// The lenient value of a cell for sums: trimmed, decimal comma, and
// characters that stop the number deleted until it reads ('kr 100' is 100,
// a lone letter 0).
long double Tallverdi(std::string_view celle);

// The date of a cell for averages: 0 unless the text has a '/' after its
// first character. Day, month and year are read forgivingly; without a year
// the current year counts, with one `harAar` is set. A day, month or year
// that makes no calendar date gives no value.
std::optional<double> Datoverdi(std::string_view celle, bool& harAar);

// Decimals of a figure: 1 when its fraction is above 0.1, 0 when it has none,
// 2 otherwise (so a negative figure with a fraction gets 2).
int Desimaler(long double x);

// The rows and column of a sum or average: the marked rows in brackets when
// the selection spans more than one row, otherwise every data row; the column
// is the selection's leftmost.
struct TFigurOmraade {
  int FraRad = 0;
  int TilRad = -1;
  int Kol = 0;
  std::string Foran;
  std::string Etter;
};
TFigurOmraade Omraade(const TRutenett& g);

// The three footer commands. They write into row 0 of the footer in the
// selection's leftmost column. Counting does nothing while the footer is
// hidden; sum and average write into the footer model regardless and widen
// the column's Bredeste entry to their text.
void TellLinjer(TTabell& t);
void SummerKolonne(TTabell& t);
// Returns the error (UTF-8) when a date of the range makes no calendar date;
// the footer is then left as it was.
std::optional<std::string> SnittKolonne(TTabell& t);
