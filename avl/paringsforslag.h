// The mating suggestion: which candidate ram each of the breeder's ewes
// should have, so that no lamb is too inbred, no ram serves more ewes than it
// may, as many ewes as possible get a ram, and among all such allocations the
// flock gets the most O-indeks for the least inbreeding.
//
// A pair (ewe, ram) is allowed when the lamb's coefficient, as the program
// shows it with two decimals, is under the limit (VedGrensa is false) and the
// breeder has not forbidden it. Each pair scores its ram's counted O-indeks
// (TeltIndeks) less `vekt` × the lamb's inbreeding in percent, in hundredths
// (Poeng). The suggestion serves the most ewes there can be and, among those
// allocations, has the largest total score; it is a minimum-cost flow
// (source → ewe → ram → sink) solved exactly with LEMON's NetworkSimplex in
// integers, so the same input gives the same suggestion on every run.
//
// A locked pair is the breeder's word: the ewe gets that ram whatever the
// limit and the capacity say, and it counts against the ram's capacity (a
// ram locked to more ewes than it may serve gets no others).
//
//   TParingsforslag f = LagParingsforslag(avl, soyer, valg, poster);
//   f.Los();                            // the suggestion
//   f.Ver(e), f.Grunn(e), f.Sammendrag()
//   f.Valgmuligheter(e), f.Endre(e, v)  // the breeder's hand changes
//
// Texts are Windows-1252.
#pragma once

#include <QSettings>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "register.h"
#include "slektskap.h"
#include "soyer.h"
#include "tabell.h"

// How many ewes a ram may serve when nothing else is said: `[Avl] Kapasitet`
// of Hornstad.Ini, 40 when missing or not a whole number from 0 up.
inline constexpr int StandardKapasitet = 40;
int LesKapasitet(const QSettings& ini);
// Index points given up per percent of the lamb's inbreeding: `[Avl] Vekt`,
// 1,0 when missing or not a number from 0 to MaksVekt (decimal comma or point).
inline constexpr double StandardVekt = 1.0;
inline constexpr double MaksVekt = 1000.0;
double LesVekt(const QSettings& ini);
// A decimal number as the user types it: "6,25" or "6.25", blanks around it
// allowed. False for anything else (and for what is not finite).
bool LesDesimal(std::string_view tekst, double& verdi);
// A decimal as the files and the tool write it: the shortest text that
// reads back as the same number, with a decimal comma ("6,25", "1").
std::string DesimalTekst(double verdi);

// A capacity that is no limit (a semin ram).
inline constexpr int UtenGrense = -1;
// A capacity as the user types it: a whole number from 0, or empty or
// "ingen" for no limit (blanks around it allowed). False for anything else.
bool LesKapasitetstekst(std::string_view tekst, int& kapasitet);
// As a field shows it: the number, or empty for no limit.
std::string Kapasitetsfelt(int kapasitet);

// What a ram's O-indeks counts as in the score: 0 (unknown) counts 0, and so
// does a yellow index (900 and above: a mark, not a real index).
int TeltIndeks(int oIndeks);
// The score of a pair in hundredths: 100 × (counted index − vekt × inbreeding
// in percent), rounded half away from zero.
int64_t Poeng(int teltIndeks, double andel, double vekt);

// ---- the solve alone ----

// An allocation problem on indexes: ewe e and ram v are pair e·verer + v.
struct TTildelingsoppgave {
  int soyer = 0;
  int verer = 0;
  std::vector<int64_t> poeng;  // per pair
  std::vector<char> tillatt;   // per pair: the pair may be suggested
  std::vector<int> kapasitet;  // per ram; UtenGrense for none
  std::vector<int> laast;      // per ewe: the locked ram, or -1 (empty: none locked)
};
// The best allocation: per ewe her ram, or -1.
std::vector<int> Tildel(const TTildelingsoppgave& oppgave);

// ---- the breeder's choices ----

struct TKandidat {
  int32_t nummer = 0;
  int kapasitet = StandardKapasitet;  // or UtenGrense
  bool operator==(const TKandidat&) const = default;
};
struct TParingspar {
  std::string soye;  // the ewe's number
  int32_t ver = 0;   // 0: no ram
  bool operator==(const TParingspar&) const = default;
};
struct TParingsvalg {
  std::vector<TKandidat> verer;
  double grense = StandardGrense;  // percent
  double vekt = StandardVekt;
  std::vector<TParingspar> laaste;
  std::vector<TParingspar> forbudte;
  bool operator==(const TParingsvalg&) const = default;
};

// The reasons a ewe is without a ram.
inline constexpr const char* IngenUnderGrensen = "ingen v\xE6r under grensen";
inline constexpr const char* IngenLedigPlass = "ingen ledig plass";
inline constexpr const char* IngenValgt = "ingen v\xE6r valgt";
inline constexpr const char* IngenUtenForbudte = "v\xE6rene under grensen er forbudt";

class TParingsforslag {
 public:
  TParingsforslag() = default;
  // The ewes and the rams found in the pedigree (plan.verer, in the order
  // given); per ram its name and its O-indeks as in the register; the
  // choices. Locks and bans of ewes or rams not in the plan are left out,
  // with a line in Meldinger(). Nothing is allocated before Los or Bruk.
  TParingsforslag(TParingsplan plan, std::vector<std::string> navn, std::vector<int> oIndeks, TParingsvalg valg);

  const TParingsplan& Plan() const { return plan_; }
  const TParingsvalg& Valg() const { return valg_; }
  int AntallSoyer() const { return static_cast<int>(plan_.soyer.size()); }
  int AntallVerer() const { return static_cast<int>(plan_.verer.size()); }
  const std::string& Navn(int ver) const { return navn_[static_cast<std::size_t>(ver)]; }
  int OIndeks(int ver) const { return indeks_[static_cast<std::size_t>(ver)]; }
  int Kapasitet(int ver) const { return kapasitet_[static_cast<std::size_t>(ver)]; }
  double Lam(int soye, int ver) const {
    return plan_.Lam(static_cast<std::size_t>(soye), static_cast<std::size_t>(ver));
  }
  bool Forbudt(int soye, int ver) const;
  // Under the limit and not forbidden.
  bool Tillatt(int soye, int ver) const;
  int64_t Poeng(int soye, int ver) const;
  // The locked ram of a ewe, or -1.
  int Laast(int soye) const { return laast_[static_cast<std::size_t>(soye)]; }
  // Lines about locks and bans that were left out.
  const std::vector<std::string>& Meldinger() const { return meldinger_; }

  // The problem on indexes, and the best allocation of it.
  TTildelingsoppgave Oppgave() const;
  void Los();
  // An allocation as saved: each ewe the ram of her pair (rams not among the
  // candidates, and ewes not in the list, are left out; ewes without a pair
  // get none).
  void Bruk(const std::vector<TParingspar>& par);
  // The allocation as pairs, every ewe in order (ram 0 for none).
  std::vector<TParingspar> Par() const;

  // The ram of a ewe, or -1.
  int Ver(int soye) const { return tildelt_[static_cast<std::size_t>(soye)]; }
  // How many ewes the ram has now.
  int Antall(int ver) const { return antall_[static_cast<std::size_t>(ver)]; }
  bool Full(int ver) const { return Kapasitet(ver) != UtenGrense && Antall(ver) >= Kapasitet(ver); }
  // Why a ewe has no ram (IngenUnderGrensen: every ram at or over the limit
  // with her; IngenUtenForbudte: those under it are forbidden; IngenLedigPlass:
  // her allowed rams are full; IngenValgt: left without one by hand); empty
  // when she has one.
  std::string Grunn(int soye) const;

  struct TSammendrag {
    int soyer = 0;
    int betjent = 0;           // ewes with a ram
    double snittInnavl = 0;    // fraction, over the ewes with a ram
    double hoyesteInnavl = 0;  // fraction
    double snittIndeks = 0;    // counted O-indeks, over the ewes with a ram
    int64_t poeng = 0;         // total score in hundredths
  };
  TSammendrag Sammendrag() const;

  // The rams a ewe may have by hand: the allowed ones, in the candidates'
  // order, each with the lamb's figure, the score and whether it has room
  // for her (her own ram has).
  struct TValgmulighet {
    int ver = -1;
    double andel = 0;
    int64_t poeng = 0;
    bool ledig = true;
  };
  std::vector<TValgmulighet> Valgmuligheter(int soye) const;
  // Gives a ewe another ram (-1: none) and counts again; a locked ewe is
  // locked to the new ram (none: not locked). An empty text, or why not
  // (the pair is not allowed, or the ram is full); then nothing changes.
  std::string Endre(int soye, int ver);

  // The breeder's word on a pair, kept in Valg() (and so saved), and kept
  // by the next Los. Laas locks a ewe to the ram she has now (nothing when
  // she has none); LaasOpp lets her go again (she keeps her ram until the
  // next Los). Forby forbids a pair; a ewe that has that ram loses it and
  // its lock. Tillat lifts a ban.
  void Laas(int soye);
  void LaasOpp(int soye);
  void Forby(int soye, int ver);
  void Tillat(int soye, int ver);

 private:
  void Tell();
  // Valg() again from the locks and bans held per ewe.
  void OppdaterValg();
  TParingsplan plan_;
  std::vector<std::string> navn_;
  std::vector<int> indeks_;
  std::vector<int> kapasitet_;
  TParingsvalg valg_;
  std::vector<char> forbudt_;  // per pair
  std::vector<int> laast_;     // per ewe
  std::vector<int> tildelt_;   // per ewe
  std::vector<int> antall_;    // per ram
  std::vector<std::string> meldinger_;
};

// The suggestion's problem for the ewes and the choices: the lamb's
// coefficients of the candidates found in the register (only those of them,
// the ewes' sires and dams' sires and their ancestors are computed), the
// rams' names and indexes from the records. Candidates not in the register
// are in Plan().ukjente.
TParingsforslag LagParingsforslag(TAvlsdata& avl, const std::vector<TSoye>& soyer, const TParingsvalg& valg);

// The table: "Søye;Vær;Navn;Innavl %;O-indeks;Merknad", one row a ewe in the
// list's order (a ewe without a ram in the first colour, red, with her
// reason; a lamb at or above the limit in red; "låst" for a locked pair).
// The rows read the suggestion when they are shown, so a hand change shows
// as soon as the grid is drawn again; `f` is kept as long as the table.
// The summary: ewes served, the mean and highest inbreeding and the mean
// O-indeks (SammendragRader's first three lines), then each ram's count
// against its capacity. SisteRad: all of it as the last rows (a file, a
// printout: it comes once), with one empty footer row. Bunnrad: the first
// three lines in the footer and the rams' counts left out (the window shows
// them beside the table).
inline constexpr int ForslagKolonner = 6;
inline constexpr int ForslagBunnrader = 3;
std::string ForslagTittel();
// The window's caption: "Paringsforslag: 300 søyer og 12 værer".
std::string ForslagNavn(const TParingsforslag& f);
void ListParingsforslag(std::shared_ptr<const TParingsforslag> f, TTabellMottaker& tabell,
                        TSnittrad sammendrag = TSnittrad::SisteRad);
// The summary's lines, as the table's last rows have them.
std::vector<std::string> SammendragRader(const TParingsforslag& f);
// The cells of a ewe's row (Windows-1252, with the format codes).
std::string ForslagRad(const TParingsforslag& f, int soye);

// ---- Paringer.Txt ----
//
// The suggestion as the breeder left it, in the data folder, Windows-1252
// with CR LF:
//
//   # Hornstad: paringsforslag. Søye;vær på hver linje (tom vær: ingen vær).
//   # Grense;6,25
//   # Vekt;1
//   # Kapasitet;1900123;40            one line a candidate, in order;
//   # Kapasitet;1900456;ingen         "ingen": no limit
//   # Laast;17;1900123                a locked pair
//   # Forbudt;18;1900456              a forbidden pair
//   17;1900123
//   18;
//
// Other comment lines and blank lines are skipped. A line that does not read
// gets a message naming its line number; it is kept as "# Ikke lest: <the
// line>" by the next write (and such comments by every later one), so it is
// not lost.
inline constexpr const char* ParingsFilNavn = "Paringer.Txt";
std::filesystem::path ParingsFil(const std::filesystem::path& dataMappe);

struct TLagretForslag {
  TParingsvalg valg;
  std::vector<TParingspar> par;
  std::vector<std::string> ikkeLest;  // lines that did not read, as they were
  bool operator==(const TLagretForslag&) const = default;
};
struct TParingsLesing {
  TLagretForslag forslag;
  std::vector<std::string> meldinger;  // one a line that did not read
};
TParingsLesing TolkParinger(std::string_view tekst, std::string_view navn = ParingsFilNavn);
// A missing file gives nothing and no message. Throws IoFeil when it exists
// but cannot be read.
TParingsLesing LesParinger(const std::filesystem::path& fil);
std::string ParingsTekst(const TLagretForslag& forslag);
// Through the safe-replace file. Throws IoFeil.
void SkrivParinger(const std::filesystem::path& fil, const TLagretForslag& forslag);
// What to save of a suggestion: its choices and its pairs.
TLagretForslag Lagret(const TParingsforslag& f);
// The ram a saved suggestion gives a ewe (her number as Soyer.Txt has it),
// or 0.
int32_t ForeslaattVer(const TLagretForslag& forslag, std::string_view soye);
