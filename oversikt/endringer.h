// What an import changed for the rams on the breeder's lists: the old
// register against the new one, kept in Endringer.Txt in the data folder
// until the next import.
//
// Around an import (the window's and the command's):
//
//   std::shared_ptr<const TPostKart> gammel = reg.Kart();   // before; may be null
//   ... import, load the new register ...
//   const TEndringsrapport r = LagEndringsrapport(gammel, reg, dataMappe);
//   gammel.reset();                                         // lets the old file go
//   if (!r.endringer.empty()) tell the user EndringsMelding(r)
//
// Compared for every ram on any list, in the lists' order: the eight indexes
// (plain numbers as the lookup window shows them), the insemination status
// ("Seminstatus": "Ikke semin", "Semin", "Utg. semin", "Pr.sem") and the
// progeny test ("Gransking": "Avkomsgransket" when O-indeks is above 30,
// otherwise "Kåra", as the lookup window names a ram that is not an
// insemination ram). A ram that has left the register gives the one row
// "Registeret": "I registeret" -> "Ikke lenger i registeret"; a listed ram
// that was missing and has come gives "Ikke i registeret" -> "I registeret".
// A number stored twice is the record FindByNumber gives (the last). A ram on
// two lists gives its rows under each.
//
// Endringer.Txt, Windows-1252 with CR LF:
//
//   # Hornstad: endringer for værer på listene ved siste innlesing
//   Innlest;12/03/2026
//   Liste;Kåringsnr.;Navn;Felt;Før;Etter
//   Mine værer;1900123;Bamsen;O-indeks;121;125
//
// A cell holding ';' or '"' is put in double quotes, a '"' in it doubled.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lister.h"
#include "register.h"
#include "tabell.h"
#include "verpost.h"

inline constexpr const char* EndringsFilNavn = "Endringer.Txt";

struct TEndring {
  std::string liste;  // Windows-1252
  int32_t nummer = 0;
  std::string navn;   // in name case
  std::string felt;   // "O-indeks", …, "Seminstatus", "Gransking", "Registeret"
  std::string for_;   // before
  std::string etter;  // after
  bool operator==(const TEndring&) const = default;
};

struct TEndringsrapport {
  double dato = 0;  // the day of the import (a day count)
  std::vector<TEndring> endringer;
  // Rams with at least one row.
  int64_t Verer() const;
  bool operator==(const TEndringsrapport&) const = default;
};

// The field names, in the order the rows of a ram come.
const std::vector<std::string>& EndringsFelt();

// The rows for the listed rams: `gammel` and `ny` are the records of the two
// registers in file order.
TEndringsrapport SammenlignRegistre(std::span<const TVerPost> gammel, std::span<const TVerPost> ny,
                                    const TLister& lister, double dato);

// The call an import makes: the lists of the data folder `dataMappe`, the old
// register's mapping (null: there was none) against the register `ny` now
// loaded; the report is written to Endringer.Txt (replacing the last one, also
// when it is empty) and returned. `dato` is the day of the import (today when
// not given). Throws IoFeil when the lists cannot be read or the report
// cannot be written; the import is done by then, so the caller tells the user
// that the report was not kept, not that the import failed.
TEndringsrapport LagEndringsrapport(const std::shared_ptr<const TPostKart>& gammel, const TProdusent& ny,
                                    const std::filesystem::path& dataMappe, std::optional<double> dato = {});

// The report's part in an import, the same for the window and the tool: made
// before the import, it reads the breeder's lists and, when there are any,
// keeps the old register's records (those of `lastet`, the register loaded
// now, or of Verene.Dat loaded for the purpose). Fullfor, after the new
// register is loaded, makes and writes the report; with no lists it makes
// none and removes a report left from an earlier import, so that
// Endringer.Txt is always the last import's. Throws IoFeil as
// LagEndringsrapport does.
class TEndringsvakt {
 public:
  TEndringsvakt(const std::filesystem::path& dataMappe, const TProdusent* lastet = nullptr);
  bool HarLister() const { return harLister_; }
  std::optional<TEndringsrapport> Fullfor(const TProdusent& ny, std::optional<double> dato = {});

 private:
  std::filesystem::path dataMappe_;
  bool harLister_ = false;
  std::shared_ptr<const TPostKart> gammel_;
};

// Endringer.Txt in the data folder.
std::filesystem::path EndringsFil(const std::filesystem::path& dataMappe);
std::string EndringsTekst(const TEndringsrapport& r);
void SkrivEndringer(const std::filesystem::path& fil, const TEndringsrapport& r);

struct TEndringsLesing {
  std::optional<TEndringsrapport> rapport;  // none when the file is missing
  std::vector<std::string> meldinger;       // Windows-1252, one a line that was skipped
};
TEndringsLesing TolkEndringer(std::string_view tekst, std::string_view navn = EndringsFilNavn);
// A missing file gives no report and no message. Throws IoFeil when the
// file exists but cannot be read.
TEndringsLesing LesEndringer(const std::filesystem::path& fil);

// For the main window after an import (Windows-1252): "Ingen av værene på
// listene er endret ved innlesingen." or "3 værer på listene er endret ved
// innlesingen (5 endringer)."
std::string EndringsMelding(const TEndringsrapport& r);
// "Endringer for værer på listene, innlest 12/03/2026" ("Ingen endringer …"
// for an empty report).
std::string EndringsTittel(const TEndringsrapport& r);
// The table: "Liste;Værnr.;Navn;Felt;Før;Etter;", one row a change, a footer
// row of empty cells.
inline constexpr int EndringsKolonner = 6;
void ListEndringer(const TEndringsrapport& r, TTabellMottaker& tabell);
