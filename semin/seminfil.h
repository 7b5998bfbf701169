// The insemination files: the approved-inseminator list, the data file per
// producer and season, the report of complete rows and its hand-off to the
// user's mail program through xdg-email.
//
// The files are named without a folder and resolve against the current
// working directory. Their texts are Windows-1252 bytes; the lines written end
// in CR LF. Messages returned or thrown (IoFeil) are Norwegian UTF-8 texts for
// a message box. The grid is the insemination grid: one header row (row 0),
// data rows from row 1, the 14 columns of the registration window.
#pragma once

#include <QSettings>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "epost.h"
#include "filer.h"
#include "rutenett.h"

// The breeding organisation's mailbox for insemination reports when
// `[Semin] Epost` in Hornstad.Ini gives none.
inline constexpr const char* StandardSeminEpost = "semin@hornstad.example";

inline constexpr const char* GodkjentFilNavn = "SemGodkj.Txt";
inline constexpr int SeminKolonner = 14;
inline constexpr int ForsteSeminRad = 1;

// Sending opens 18 days after the latest insemination, with 2 rows fetched or
// 3 rows saved.
inline constexpr double SendeFristDager = 18.0;
inline constexpr int MinsteRaderHentet = 2;
inline constexpr int MinsteRaderLagret = 3;

// Is grid row `rad` complete? The registration window's row check (it may
// mark the first failing cell of the row red).
using TRadKomplett = std::function<bool(int rad)>;

// ---- Approved inseminators ----

// The approved-inseminator list of the program: SemGodkj.Txt in the data
// folder (the letter case of the name need not match), else in the working
// folder; an empty path when neither holds one.
std::filesystem::path FinnGodkjentFil(const std::filesystem::path& dataMappe);
// The lines of the approved-inseminator list ("nummer=navn"); none when the
// file does not exist. Throws IoFeil when it exists but cannot be read.
std::vector<std::string> LesGodkjente(const std::filesystem::path& fil = GodkjentFilNavn);
// The name of the inseminator whose number text is exactly `nummer` (the part
// of a line before its first "="); the first such line wins.
std::optional<std::string> GodkjentNavn(const std::vector<std::string>& godkjente, std::string_view nummer);

// ---- File names ----

// A producer text that cannot name a file in the current folder (it holds
// "/", ".." or a NUL byte) is refused: these throw IoFeil with the message.
// The year, "Semin", the producer text and ".Data" (2005, P: "2005SeminP.Data").
std::filesystem::path DatafilNavn(int aar, std::string_view prodNr);
// The producer text and ".Txt".
std::filesystem::path RapportfilNavn(std::string_view prodNr);

// ---- Data file ----

// The content of a data file: "ProdNr", "SemNr", the rows ("Sem" k "C" c)
// and "Antall".
struct TSemindata {
  std::string prodNr;
  std::string semNr;
  std::vector<std::vector<std::string>> rader;  // each of SeminKolonner cells
};

// The lines of a data file, each ending in CR LF. Empty values are left out,
// but for "ProdNr".
std::string DatafilTekst(const TSemindata& data);
// The value of `nokkel` in name=value lines (the name compared without regard
// to ASCII letter case; the first match wins); empty when missing.
std::string Verdi(const std::vector<std::string>& linjer, std::string_view nokkel);

// What a fetch found.
struct THentet {
  std::filesystem::path fil;  // the data file that becomes current
  bool lest = false;          // it existed and was read
  std::string prodNr;         // "ProdNr" and "SemNr" of the file when read
  std::string semNr;
  int antall = 0;         // rows put into the grid (0 when not read)
  double sisteSemin = 0;  // the latest insemination date: the one given, or a later row's
  std::string feil;       // an insemination date that could not be read; the fetch stopped at its row
  TLestTekst innhold;     // the file as it was read, to tell a change made elsewhere before a save
};

// Fetches the data file of season `aar` and producer text `prodNr` into the
// grid: the grid is emptied to one empty data row (cursor on column 0 of row
// 1, no cell flags); when the file exists its "Antall" rows are filled in
// with one empty row below them, and the latest insemination date of column 5
// (the date alone) raises `sisteSemin`. Throws IoFeil, with the grid
// untouched, for a refused producer text or a file that cannot be read.
THentet Hente(int aar, std::string_view prodNr, TRutenett& grid, double sisteSemin);

// What a save did.
struct TLagret {
  bool skrevet = false;  // the file was written (false: it was left as it was)
  std::string tekst;     // what was written
  int antall = 0;        // rows saved
  int feilRader = 0;     // incomplete data rows other than the last row
  std::string melding;   // "n Linjer har feil eller mangler og blir ikke lagret", or empty
};

// The number of rows a data file holds ("Antall", or the rows its keys name
// when that is missing); 0 for a file that does not exist. Throws IoFeil when
// it exists but cannot be read.
int RaderIDatafil(const std::filesystem::path& fil);

// May a save with no complete rows replace a data file that holds `lagrede`
// rows? The window asks the user.
using TTomLagring = std::function<bool(const std::filesystem::path& fil, int lagrede)>;
// May a save replace a data file that another program (a second copy of the
// program, an editor) changed after it was fetched? The window asks the user.
using TEndretLagring = std::function<bool(const std::filesystem::path& fil)>;

// Saves the complete data rows of the grid, renumbered from 1, under the
// producer text of the fetch and the inseminator text of now, replacing `fil`
// whole (written beside it and renamed over it). A save without complete rows
// replaces a file holding rows only when `tomOverRader` says yes; otherwise
// the file is left byte for byte. Throws IoFeil when no data file is current
// (`fil` empty) or the file cannot be read or written.
// With `hentet` (the file as it was fetched or last saved) a file that has
// changed since is replaced only when `overEndret` says yes.
TLagret Lagre(const std::filesystem::path& fil, std::string_view prodNr, std::string_view semNr, const TRutenett& grid,
              const TRadKomplett& komplett, const TTomLagring& tomOverRader = {}, const TLestTekst* hentet = nullptr,
              const TEndretLagring& overEndret = {});
// The question before such a save (UTF-8).
std::string EndretLagringSporsmal(const std::filesystem::path& fil);

// The question before such a save (UTF-8).
std::string TomLagringSporsmal(const std::filesystem::path& fil, int lagrede);

// ---- Sending ----

// The present moment as a day count with the time of day.
double SeminNaa();
// May the report be sent after a fetch of `antall` rows (0 when no file was
// read), with the save button in state `lagreAktiv`? After a save of
// `antall` rows?
bool KanSendeEtterHenting(int antall, bool lagreAktiv, double sisteSemin, double naa);
bool KanSendeEtterLagring(int antall, double sisteSemin, double naa);

// One report line from the 14 cells of a complete row: 54 characters when
// every value fits its width.
std::string Rapportlinje(const std::vector<std::string>& rad, std::string_view semNr, std::string_view prodNr);
// Writes the report file for the producer text `prodNr` in the current folder
// (one line per complete data row, in grid order) and returns its full path.
// Throws IoFeil for a refused producer text or a file that cannot be written.
std::filesystem::path SkrivRapport(const TRutenett& grid, const TRadKomplett& komplett, std::string_view semNr,
                                   std::string_view prodNr);

// The report's e-mail for the season `aar`. Texts are UTF-8.
TEpost LagEpost(std::string_view prodNr, int aar, std::string_view mottaker, const std::filesystem::path& rapport);
// The recipient: `[Semin] Epost` of the settings, or StandardSeminEpost.
std::string SeminMottaker(const QSettings& ini);

// Hands the mail to the user's mail program (GiTilEpostprogram), with the
// report's messages: success, or the error naming the attachment; a program
// that cannot be found is the user abort (nothing to show).
TSendeSvar SendEpost(const TEpost& epost, const std::string& program = "xdg-email");

// The send button: writes the report of the grid and hands it to the mail
// program. Throws IoFeil as SkrivRapport does; the report stays on disk.
TSendeSvar SendRapport(const TRutenett& grid, const TRadKomplett& komplett, std::string_view semNr,
                       std::string_view prodNr, int aar, std::string_view mottaker);
