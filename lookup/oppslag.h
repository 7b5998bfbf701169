// The ram lookup without widgets: what the lookup window shows for a ram, the
// colours of its index grid, and its search rules. The window (TFormVer) puts
// these texts into its grids and acts on the search results; the command-line
// tool prints the same texts.
//
// All texts are Windows-1252 byte strings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "register.h"
#include "trase.h"
#include "verpost.h"

// Row counts of the four grids.
inline constexpr std::size_t VerindRader = 12;
inline constexpr std::size_t SlektRader = 10;
inline constexpr std::size_t ScanRader = 7;
inline constexpr std::size_t UllaRader = 7;

// Row titles (column 0) of the four grids, top to bottom.
const std::array<std::string, VerindRader>& VerindTitler();  // indexes and counts
const std::array<std::string, SlektRader>& SlektTitler();    // pedigree
const std::array<std::string, ScanRader>& ScanTitler();      // judging
const std::array<std::string, UllaRader>& UllaTitler();      // wool

// What the window shows for its current ram: the three heading lines and
// column 1 of each grid.
struct TVerVisning {
  bool vist = false;  // a ram is shown (Nummer > 0): the ram buttons are enabled
  std::array<std::string, 3> rasnav;
  std::array<std::string, VerindRader> verind;
  std::array<std::string, SlektRader> slekt;
  std::array<std::string, ScanRader> scan;
  std::array<std::string, UllaRader> ulla;
};

// Computes the display of `ver`. The names of the sire and of the dam's sire
// are looked up with FindByNumber of `reg` (which moves its CurrentRamIndex, as
// every lookup does); without a register they are empty. The all-zero record
// gives the empty state.
TVerVisning LagVisning(const TVerPost& ver, const Trase& raser, TProdusent* reg);

// How a cell of the index grid is drawn: the font is plain unless `fet`; the
// colour stays the grid's own unless the row sets one.
enum class TVerindFarge { Standard, Svart, Blaa };
struct TVerindStil {
  bool fet = false;
  TVerindFarge farge = TVerindFarge::Standard;
};
// Row 0 (the index date) bold, rows 1 to 8 (the indexes) black, rows 9 to 11
// (the counts) blue; the same for both columns.
TVerindStil VerindStil(int rad);

// Enter in the number-or-name field starts a search only when the field's text
// is longer than 2 characters.
bool EnterStarterSoek(std::string_view feltTekst);

// The outcome of a search (the Let button, Enter, and the look-up hand-offs).
struct TSoekResultat {
  enum class Utfall {
    Ingenting,   // no register, or a name without matches: nothing changes
    Ver,         // `ver` becomes the current ram (all zero for an unknown number)
    Kandidater,  // several names match: offer `kandidater`; the current ram stays
  };
  Utfall utfall = Utfall::Ingenting;
  bool navnesoek = false;  // searched by name rather than by number
  TVerPost ver = TomVerPost();
  int32_t indeks = -1;  // the record `ver` was read from; -1 when none was
  // The value the field takes: the number of the single match of a name
  // search. A number search leaves the field as it is.
  std::optional<int32_t> feltverdi;
  // The candidate items, "NUMMER NAVN" with the name upper-cased, each carrying
  // its judging number and record index, in register order.
  std::vector<TTekstElement> kandidater;
};

// The value of the number-or-name field for a search: a text without a digit
// is a name and reads 0 (so "Xaver" is no hexadecimal number); any other text
// is read as the integer field reads it (LesHeltall), so "12ab3" gives 123.
int32_t FeltVerdi(std::string_view feltTekst);

// The search of the lookup window. `feltTekst` is the field's text, read with
// FeltVerdi; `navnesoek` is the name-search text kept apart from the field. A
// value of 0 with a name-search text of more than 2 characters searches by
// name; anything else searches by number. A single name match is the record
// whose name matched, also when another record holds the same number.
TSoekResultat Soek(std::string_view feltTekst, std::string_view navnesoek, TProdusent* reg);

// The ram a candidate item stands for: the record it was made from while that
// record still holds its number, otherwise the one FindByNumber gives. Sets
// `indeks` to the record read (-1 when none was).
TVerPost KandidatVer(TProdusent& reg, const TTekstElement& kandidat, int32_t& indeks);

// The widest name a ram record can hold, as the window shows names (NameCase
// of at most `lengde` bytes), when each Windows-1252 character is as wide as
// `bredde` says: what a column of names must fit. Every byte but the control
// characters and the five Windows-1252 leaves undefined may be stored.
std::string BredesteNavn(std::size_t lengde, const std::function<int(unsigned char tegn)>& bredde);

// A double-click in the pedigree grid: only column 1 of row 0 ("Farnr.") and
// row 1 ("Far navn") react. Gives the value to put into the field before the
// search runs (TextToInt of the cell: a name without digits gives 0), or
// nothing for any other cell.
std::optional<int32_t> SlektDobbeltklikk(int kolonne, int rad, std::string_view celle);
