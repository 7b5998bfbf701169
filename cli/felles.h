// What the commands of hornstad-cli share: text to the terminal, the
// progress bar, the message after an import, and the table formats.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kommando.h"

enum class TEksportType;
class TTabell;
struct TKonvertering;

// A Windows-1252 text on the command's output, as UTF-8.
void Skriv(const TKontekst& k, std::string_view cp1252);

// A progress bar on the command's message stream when that is a terminal;
// nothing otherwise. Called with the work done and the whole, it redraws on
// each new per cent; it ends its line when it goes.
class TFremdriftslinje {
 public:
  TFremdriftslinje(const TKontekst& k, const char* tekst);
  ~TFremdriftslinje();
  TFremdriftslinje(const TFremdriftslinje&) = delete;
  TFremdriftslinje& operator=(const TFremdriftslinje&) = delete;
  bool operator()(int64_t gjort, int64_t totalt);

 private:
  std::FILE* feil_;
  const char* tekst_;
  bool aktiv_;
  bool vist_ = false;
  int sist_ = -1;
};

// After an import: the line about the export's lines that were short of
// fields, when there were any.
void MeldKorteLinjer(const TKontekst& k, const TKonvertering& r);

// The whole text as a number, or false with "Ugyldig tall for FLAGG: TEKST"
// on the message stream.
bool LesTall(const TKontekst& k, const std::string& flagg, const std::string& tekst, int& verdi);
// Judging numbers as the user types them ("1900123,1900456"; see
// TolkNummerliste), each once; false, with a line on the message stream,
// when one does not read.
bool LesNummerliste(const TKontekst& k, const std::string& flagg, const std::string& tekst,
                    std::vector<int32_t>& nummer);

// After an import: the change report of the rams on the breeder's lists
// (made when there are lists; see TEndringsvakt), one line on the output; a
// report that could not be written is told on the message stream, and the
// import stands.
class TEndringsvakt;
class TProdusent;
void MeldEndringer(const TKontekst& k, TEndringsvakt& vakt, const TProdusent& ny);

// After the pedigree is built: the line about links that made a ram its own
// ancestor, when there were any.
class TAvlsdata;
void MeldSloyfer(const TKontekst& k, TAvlsdata& avl);

// The ewes of `fil` (Soyer.Txt or another file), the lines that did not read
// told; false, with the line telling how to add them, when there are none.
struct TSoye;
bool LesSoyerTil(const TKontekst& k, const std::filesystem::path& fil, std::vector<TSoye>& soyer);
// The judging numbers of the list named `navn` (UTF-8) in Lister.Txt, with
// the file's messages on stderr; false, with a line there, when there is no
// such list.
bool LesListeTil(const TKontekst& k, const std::string& navn, std::vector<int32_t>& nummer);

// The options of a command that writes a table: its format and its file.
inline constexpr TValg FormatValg{
    "format", "F",
    "tabellens format: semikolon (standard), tab, excel (tabulatorskilt med anførselstegn og overskriftslinje), "
    "html eller pdf (A4-sider som tabellvinduet skriver dem; trenger --ut)"};
inline constexpr TValg UtValg{
    "ut", "FIL",
    "fila tabellen lagres i, slik vinduet lagrer den (Windows-1252, CR LF); uten valget skrives teksten ut"};

// The --format of a table command, "semikolon" when it is not given.
std::string TabellFormat(const TArgumenter& a);
// Whether a table in that format is laid out in the grid's font first: html
// takes the columns' widths and the font size from the layout and pdf draws
// the table; the delimited texts need neither, so those runs start without
// fonts (an unknown format is refused before anything is laid out).
bool FormatLeggesUt(const std::string& format);

// Before a table is filled: a table that is laid out (FormatLeggesUt) is
// measured in the grid's font as its rows come, as the table window measures
// it, so that each column's widest text is the widest drawn, not the one of
// most letters.
void MaalISkrift(TTabell& tabell, const std::string& format);

// The table formats of --format: the export type, or pdf (which needs --ut).
// False, with a line on the message stream, for anything else.
bool LesFormat(const TKontekst& k, const std::string& format, const std::filesystem::path& ut, TEksportType& type);

// A laid-out, marked table as the table window writes it: a PDF, an export
// file, or the export's lines on the output.
int SkrivTabellUt(const TKontekst& k, const TTabell& tabell, bool pdf, TEksportType type,
                  const std::filesystem::path& ut);
