// The breeder's ewes: Soyer.Txt in the data folder, one ewe a line,
//
//   ewe number;sire's judging number;dam's sire's judging number[;dam's dam's sire's judging number]
//
// in Windows-1252 with CR LF. Blank lines and lines whose first non-blank
// character is '#' are skipped. A judging number left blank or 0 is unknown;
// the fourth field (the ewe's "mormors far") may be left out. A line that
// does not read (fewer than three fields, no ewe number, a judging number that
// is not a whole number from 0 to 2147483647, a ewe number met before) gets a
// message naming its line number and is skipped; fields after the fourth are
// ignored. The file is written with the fourth field only when some ewe has a
// dam's dam's sire, so a list without any is written as three fields a line.
//
// A spreadsheet's semicolon CSV with the same columns reads the same way, and
// besides: a cell may be put in double quotes (a double quote in it doubled);
// the first non-blank line is a header and is skipped when its second, third
// or (when it has one) fourth cell is not a number; blanks inside a number (as a
// spreadsheet groups thousands) are dropped; a file that begins with the UTF-8
// byte order mark, or is UTF-8 with letters beyond ASCII, is read as UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* SoyeFilNavn = "Soyer.Txt";

struct TSoye {
  std::string nummer;  // Windows-1252, without leading or trailing blanks
  int32_t far = 0;
  int32_t morfar = 0;
  int32_t mormorfar = 0;  // the sire of the ewe's dam's dam
  bool operator==(const TSoye&) const = default;
};

struct TSoyeLesing {
  std::vector<TSoye> soyer;
  std::vector<std::string> meldinger;  // Windows-1252, one a line that was skipped
};

// Soyer.Txt in the data folder `dataMappe`.
std::filesystem::path SoyeFil(const std::filesystem::path& dataMappe);

// The lines of Soyer.Txt; `navn` names the file in the messages.
TSoyeLesing TolkSoyer(std::string_view tekst, std::string_view navn = SoyeFilNavn);
// Reads a Soyer.Txt; a missing file gives no ewes and no message. Throws
// IoFeil when the file exists but cannot be read.
TSoyeLesing LesSoyer(const std::filesystem::path& fil);
// A spreadsheet's semicolon CSV.
TSoyeLesing TolkSoyeCsv(std::string_view tekst, std::string_view navn);
TSoyeLesing LesSoyeCsv(const std::filesystem::path& fil);

// The file's text: a comment line naming the fields, then one line a ewe.
std::string SoyeTekst(const std::vector<TSoye>& soyer);
// Writes Soyer.Txt through the safe-replace file. Throws IoFeil.
void SkrivSoyer(const std::filesystem::path& fil, const std::vector<TSoye>& soyer);

// The same ewe number: equal after trimming, or the same whole number.
bool SammeSoyenummer(std::string_view a, std::string_view b);
// Why a ewe cannot be added to (or, with `unntak` its place, changed in) the
// list: an empty text when it can (Windows-1252).
std::string SoyeFeil(const TSoye& soye, const std::vector<TSoye>& soyer, int unntak = -1);
// The ewe with that number, or none.
const TSoye* FinnSoye(const std::vector<TSoye>& soyer, std::string_view nummer);

// Adds the ewes read from a spreadsheet to a list: a ewe whose number is in
// the list already takes the sire, dam's sire and dam's dam's sire read; the others come last,
// in the order read. How many were added and how many changed.
struct TFletting {
  int nye = 0;
  int endret = 0;
};
TFletting FlettSoyer(std::vector<TSoye>& liste, const std::vector<TSoye>& lest);

// Two sets of changes to one list of ewes, made apart (a window of this
// program, and a second copy or the command-line tool that saved the file
// meanwhile): `grunnlag` is the list both started from, `mine` and `deres`
// the lists each made. A ewe changed, added or removed on one side only
// takes that side's change; changed alike on both sides, it is taken once.
// A ewe that both sides changed differently (or one changed and the other
// removed) is a conflict: `mineVinner` decides it. The order is theirs, with
// my new ewes after in my order.
struct TSoyeKonflikt {
  std::string nummer;
  std::optional<TSoye> mine, deres;  // none: removed on that side
};
struct TTreveis {
  std::vector<TSoye> soyer;
  std::vector<TSoyeKonflikt> konflikter;
  int fraDeres = 0;  // ewes added, changed or removed on their side only
};
TTreveis FlettTreveis(const std::vector<TSoye>& grunnlag, const std::vector<TSoye>& mine,
                      const std::vector<TSoye>& deres, bool mineVinner);
