// The insemination grid's rules: the 14 columns, the reading of typed dates,
// the check of every cell as it is entered, the rule for a complete row, the
// red error marks, the reset and the checks of the producer and inseminator
// numbers. No widgets here: the window turns its events into these calls and
// shows the messages they hand back.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rutenett.h"

class TProdusent;

// ---- Columns ----------------------------------------------------------------

inline constexpr int SemAntKol = 14;

enum SemKol : int {
  KolFodtAar = 0,       // ewe's birth year
  KolSoye = 1,          // ewe's number
  KolBrunstDato = 2,    // date in heat
  KolBrunstKl = 3,      // hour in heat
  KolKontroller = 4,    // heat checks per day
  KolSemDato = 5,       // insemination date
  KolSemKl = 6,         // insemination hour
  KolVer = 7,           // ram's judging number
  KolUke = 8,           // semen production week
  KolProdAar = 9,       // semen production year
  KolFersk = 10,        // 0 frozen, 1 fresh
  KolDeponi = 11,       // 1 cervix, 2 vagina
  KolKontrollert = 12,  // return to heat checked: 1 yes, 2 no
  KolOmlop = 13,        // date of return to heat, empty if none
};

struct TSemKolonne {
  int bredde;          // pixels
  const char* tittel;  // header row, word-wrapped
  const char* hint;    // tooltip on the column
  const char* status;  // status bar when a cell is selected
};

// Texts are Windows-1252 bytes.
extern const std::array<TSemKolonne, SemAntKol> SemKolonner;

// Grid geometry.
inline constexpr int SemTittelHoyde = 48;
inline constexpr int SemRadHoyde = 21;

// Bit of a cell's flags that marks an error (the cell is painted red).
inline constexpr uint32_t SemFeilFlagg = 1;

// ---- Messages (Windows-1252) ------------------------------------------------

extern const char* const MeldUnormalTid;     // heat to insemination out of range
extern const char* const MeldIkkeSeminver;   // ram of type 0
extern const char* const MeldUtgattSemin;    // ram of type 2
extern const char* const MeldFinnesIkke;     // appended to the entered ram number
extern const char* const MeldProdUke;        // production week not allowed
extern const char* const MeldUnormalSyklus;  // return to heat out of range
extern const char* const FeilDatoTekst;      // "Feildato"
extern const char* const LnavFeilInseminor;  // "Feil inseminørnummer"
// The message for a date text that a check cannot read.
std::string IkkeGyldigDato(const std::string& tekst);

// ---- State ------------------------------------------------------------------

// What the register says about a ram number: nothing when the register does
// not know it.
struct TSemVer {
  uint8_t type = 0;  // 0 not an insemination ram, 1 insemination ram, 2 withdrawn
  std::string navn;
};
using TVerOppslag = std::function<std::optional<TSemVer>(int32_t nummer)>;

// A lookup through the register: LocateNumber, then the ram's Type and Navn.
TVerOppslag VerOppslagFra(TProdusent& reg);

enum class TLnavFarge { Vanlig, Rod, Blaa };

// The numbers of the registration's checks. They come from the breeding
// organisation's rules for the insemination report that the registration
// sends it, not from the calendar, so they do not move with the years.
//
// Years the season field accepts: 1999, the earliest season the
// organisation takes a report for, to the current calendar year. A semen
// production year (column 9) before 1999 is refused too.
inline constexpr int SemaarFra = 1999;
int SemaarTil();  // the current calendar year
// A two-digit year below this is in the 2000s ("05" is 2005), the other
// two-digit years (30 to 99) in the 1900s. Dates typed in the grid take the
// season year for any year still before 2000.
inline constexpr int ToSifretAarSkille = 30;
// The oldest ewe a row may name: born in 1985 or later (column 0).
inline constexpr int EldsteSoyeFodt = 1985;
// The last semen production year for which the production week may be left
// as 0 (unknown); from the year after, the report needs the week.
inline constexpr int SisteAarUtenProdUke = 2003;
// Inseminator numbers below this are no inseminator's.
inline constexpr int64_t MinsteInseminor = 100;

// The frame's state beside the grid (the grid itself is the widget's model).
struct TSemin {
  int Semaar = SemaarTil();            // the season year field: dates and birth years are read against it
  double SisteSemin = 0.0;             // latest insemination time seen, 0 = none
  std::string InsemNavn;               // name of the inseminator last found
  std::vector<std::string> Godkjente;  // approved inseminators, "nummer=navn"
  bool Endret = false;
  std::string ProdNr;                    // text of the producer number field
  std::string SemNr;                     // text of the inseminator number field
  std::string Lnav = LnavFeilInseminor;  // the name label
  TLnavFarge LnavFarge = TLnavFarge::Vanlig;
  TVerOppslag Ver;  // ram lookup; without one every ram is unknown
};

// ---- Dates ------------------------------------------------------------------

// Reads a typed date ("1.5", "0105", "12.05.05", "12/5/2005") and rewrites the
// text as "dd/mm/yyyy", or as "Feildato" when it is no calendar date. A
// missing year is the season year; two-digit years below 30 are 20xx.
bool LesDato(std::string& tekst, int semaar);

// Reads a "dd/mm/yyyy" text as the checks do; nothing when it is not one.
std::optional<double> DatoFraTekst(const std::string& tekst);

// ---- Cell check -------------------------------------------------------------

struct TSemSjekk {
  // Messages to show, in order, as plain message boxes.
  std::vector<std::string> meldinger;
  // False when the error flag of the cell was left as it was (an empty birth
  // year, or a date a check could not read).
  bool merket = true;
  // A row was added below the last one.
  bool radLagtTil = false;
};

// Checks an edited cell. `tekst` is the entered text and is rewritten;
// `gyldig` is the verdict. The final text is stored in the cell, the error
// flag follows the verdict, and other cells of the row may be filled. The
// window disables its send button after every call (Endret becomes true).
TSemSjekk GriSemCellValidate(TSemin& s, TRutenett& g, int kol, int rad, std::string& tekst, bool& gyldig);

// A row is keyed when its birth year and ewe number are both above 0.
bool RadNoklet(const TRutenett& g, int rad);

// Is the row complete? Marks the first missing or faulty cell red (an empty
// cell other than the return date gets a blank). `iAar` is the current
// calendar year.
bool RadKomplett(TRutenett& g, int rad, int iAar);
bool RadKomplett(TRutenett& g, int rad);

// Red for a data cell with its error flag, white otherwise; the header row
// keeps the grid's colours (no value).
std::optional<QColor> CelleFarge(const TRutenett& g, int kol, int rad);

// A cell was selected: the status text of its column. When column 8 is
// selected and column 7 of the row where the cursor stood is empty, that cell
// is marked red.
std::string VelgCelle(TRutenett& g, int kol, int rad, int forrigeRad);

// The grid lost the focus.
void ForlatGrid(TSemin& s);

// Sets up an empty grid: 14 columns, the header row, widths and heights.
void OppsettGrid(TRutenett& g);

// Empties the grid to one data row with the cursor on its first cell, clears
// the two number fields and the change mark, forgets the inseminator found
// (the name label reads as at the start) and the latest insemination. The
// window disables its send button.
void Nullstill(TSemin& s, TRutenett& g);

// ---- Header numbers ---------------------------------------------------------

// Is the inseminator number in the approved list? Numbers below 100 are
// refused and change nothing; otherwise the name label shows the name in
// blue (and InsemNavn becomes it) or "Feil inseminørnummer" in red.
bool SjekkInseminor(TSemin& s, int64_t nummer);

inline const QColor FeltHvit{255, 255, 255};
inline const QColor FeltLysRod{255, 135, 135};

struct THodeFarger {
  std::optional<QColor> prodNr;  // no value: leave the field's colour
  std::optional<QColor> semNr;
  bool beggeGode = false;
};

// One of the two number fields changed (ProdNr or SemNr hold the new texts).
// The window disables its save button after every call.
THodeFarger EprodNrChange(TSemin& s, bool prodNrEndret);

// Why a number field of the header is light red, for the status line; empty
// when the field is good. `godkjentFil` is the approved-inseminator list that
// was read (empty when none was found), `dataMappe` where it belongs.
std::string ProdNrGrunn(std::string_view prodNr);
std::string SemNrGrunn(const TSemin& s, std::string_view semNr, const std::string& godkjentFil,
                       const std::string& dataMappe);
