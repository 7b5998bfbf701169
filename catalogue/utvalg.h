// The catalogue's selection: the criteria the catalogue window shows, how a
// change of one of them changes the others, the own list of judging numbers,
// and the selection pass over the register.
//
// The window keeps a TUtvalg behind its controls. For a click or a changed
// value it sets the one field and calls the handler of the same name here,
// then shows the struct again with its controls' signals blocked; the chain
// of handlers that a change sets off runs here, once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "register.h"
#include "trase.h"

// Entries of the county list: entry 0 ("Alle fylker") and the counties 1 to 20.
inline constexpr int AntallFylkeValg = 21;
// Breed entries when the window fills the list itself (codes 0 to 26).
inline constexpr int InnebygdeRaseValg = 27;
// Highest value of the minimum index.
inline constexpr int MaksMinsteIndeks = 240;
// The own list's file, named without a folder: it resolves against the
// current working directory, not the data folder.
inline constexpr const char* EgenListeFilNavn = "EgenVerer.Txt";
// The listing pane's line while the pass runs (Windows-1252).
inline constexpr const char* VenteLinje = "Vent, leser inn data. Dette kan ta lang tid.";

struct TUtvalg {
  // Check marks of the county entries (index = county number, 0 = all) and of
  // the breed entries (index = breed code, 0 = all).
  std::vector<bool> fylker = std::vector<bool>(AntallFylkeValg, false);
  std::vector<bool> raser = std::vector<bool>(InnebygdeRaseValg, false);

  // The year range and its spin limits: the first year's highest value
  // follows the last year, the last year's lowest value the first year.
  int fra = 1979;
  int til = 1979;
  int fraMaks = 9999;
  int tilMin = 0;
  int tilMaks = 9999;

  int antall = 70;  // lowest total index of progeny-tested rams, 0 to 240

  bool semin = false;   // "Ta med seminværer"
  bool utgSem = false;  // "Utgått semin"
  bool gkar = false;    // "Alle kårede "
  bool nykar = false;   // "Årets egne kårede"
  bool avkomgr = true;  // "Avkomsgranska"
  bool ugul = false;    // "Unngå gule værer"

  // The pass reads the own list instead of the register.
  bool egenListe = false;
};

// The criteria when the window is shown: nothing checked in the lists, years
// 1979 to last year (the last year at most this year), lowest index 70,
// progeny-tested rams only. `antallRaser` is the number of breed entries.
TUtvalg StartUtvalg(int detteAar, int antallRaser = InnebygdeRaseValg);

// The breed entries of the window's list: the breed table's names of the codes
// 0 to BreedCount - 1, entry 0 reading "Alle raser" (Windows-1252).
std::vector<std::string> RaseValg(const Trase& raser);

// The handlers that couple the criteria. Each runs after the window has set
// the field it is named after; a value changed by a handler runs that value's
// handler as the window's own change would (a check box or a spin value
// that does not change sets nothing off). `detteAar` is the current year.
void FylkerClick(TUtvalg& u, bool fraNykar, int detteAar);
void FraChange(TUtvalg& u);
void tilChange(TUtvalg& u);
void AntallClick(TUtvalg& u, int detteAar);
void SeminClick(TUtvalg& u, int detteAar);
void GkarClick(TUtvalg& u, int detteAar);
void AvkomgrClick(TUtvalg& u, int detteAar);
// Setting a value from code, as the handlers do: clamped to its limits, and
// the change handler runs when the value changed.
void SettFra(TUtvalg& u, int verdi);
void SettTil(TUtvalg& u, int verdi);
void SettAntall(TUtvalg& u, int verdi, int detteAar);

// "Vis katalog" and "Vis i tabell" are enabled: a kind is checked (Nykar
// counts) and at least one county entry and one breed entry are checked.
bool KanVise(const TUtvalg& u);
// The pass reads its source: the own list, or one of the four kinds that take
// rams is checked ("Årets egne" and "Unngå gule" alone take nothing).
bool PassetKjorer(const TUtvalg& u);

// The county and the breed are among those checked. False for a county number
// from 21 on or a breed code not below the number of breed entries; a
// negative breed code is taken only through entry 0 ("Alle raser").
bool FylkeOgRaseValgt(const TUtvalg& u, int fylke, int rase);
// The test of one ram of the register: county and breed, then one of the
// kinds, then the yellow index.
bool VerValgt(const TUtvalg& u, const TVerPost& ver);

// The own list: the lines of EgenVerer.Txt (CR LF or LF; a line break at the
// end makes no further line), Windows-1252. A missing file gives no lines;
// a file that exists but cannot be read throws IoFeil.
std::vector<std::string> LesEgenListe(const std::filesystem::path& fil = EgenListeFilNavn);
// Saves the own list when it has at least one line (each line ended by CR
// LF); an empty list leaves the file as it is. Throws IoFeil.
void SkrivEgenListe(const std::vector<std::string>& linjer, const std::filesystem::path& fil = EgenListeFilNavn);
// The own list as the window leaves it when the file was changed elsewhere
// since the window read it (`grunnlag`): their lines (`deres`), without the
// entries the window took out and with the entries it added after them.
// Lines are entries as the pass reads them: compared without outer blanks,
// blank lines are none, each entry kept once.
std::vector<std::string> FlettEgenListe(const std::vector<std::string>& grunnlag, const std::vector<std::string>& mine,
                                        const std::vector<std::string>& deres);

// The progress bar's percentage after `lest` of `totalt` records: one percent
// for every totalt div 100 records, none when totalt is below 100; at most 100.
int Fremdriftsprosent(int64_t lest, int64_t totalt);

// Called after every record read with the number read so far and the total
// (own-list lines or rams); false ends the pass as the stop flag does.
using TUtvalgFremdrift = std::function<bool(int64_t lest, int64_t totalt)>;
// Called for every chosen ram, in pass order.
using TUtvalgMottaker = std::function<void(const TVerPost& ver)>;

// The selection pass. From the register, every ram that passes VerValgt, in
// file order. From the own list (`egenListe` given and u.egenListe set), the
// ram of every line in line order, untested: a blank line (nothing but blanks
// and control characters) is no entry; any other line that is not the number
// of a ram in the register gives an all-zero record, and so does a list
// without entries (one entry). Progress counts the entries. The pass never yields more entries than the register has
// records, but an own list always yields at least one. Returns the number of
// rams handed on. Throws IoFeil when the register cannot be read.
int64_t Utplukk(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& egenListe, const TUtvalgMottaker& ta,
                const TUtvalgFremdrift& fremdrift = {});
// The same, handing on each ram with the index of its record (-1 for the
// all-zero record of an own-list entry not in the register): a selection
// kept as records tells apart two rams stored under one number.
using TPostMottaker = std::function<void(const TVerPost& ver, int32_t indeks)>;
int64_t UtplukkPoster(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& egenListe,
                      const TPostMottaker& ta, const TUtvalgFremdrift& fremdrift = {});

// Which buttons a finished pass enables, from the listing pane's line count.
struct TKnapper {
  bool skriv = false;   // more than 10 lines
  bool lagre = false;   // more than 12
  bool ramvis = false;  // more than 3
};
TKnapper KnapperEtterPass(int64_t linjer);
