// The breeder's named lists of rams ("Mine værer", "Reserve", any name the
// user gives), kept by judging number in Lister.Txt in the data folder, so
// they survive every import of new rams. Windows-1252 with CR LF:
//
//   # Hornstad: lister over værer. ...        (comment lines, skipped)
//   [Mine værer]                              a list begins with its name in brackets
//   1900123                                   then one judging number a line
//   1900456
//
//   [Reserve]                                 a list may be empty
//
// Blank lines and lines whose first non-blank character is '#' are skipped.
// A line that does not read (a judging number that is not a whole number
// from 1 to 2147483647, a number before any list name, a list name that is
// empty, too long, holds a ';' or a control character, or lacks its ']') gets
// a message naming its line number and is skipped; the numbers under a list
// name that does not read are skipped with it. Such lines are not lost: the
// next write keeps each as a comment "# Ikke lest: <the line>", and a comment
// of that form is kept by every later write, until the user mends or removes it.
// Other comments are not kept.
//
// List names are compared as the user would expect: without regard to
// letter case (Norwegian letters included) and to blanks before and after.
// A name met twice joins the numbers to the first list of that name. A
// number is kept once in a list, where it first came.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "felt.h"
#include "listing.h"
#include "register.h"
#include "slektskap.h"
#include "tabell.h"

class QSettings;

inline constexpr const char* ListeFilNavn = "Lister.Txt";
// The longest list name, in characters.
inline constexpr std::size_t MaksListenavn = 60;

struct TListe {
  std::string navn;             // Windows-1252, trimmed
  std::vector<int32_t> nummer;  // judging numbers in the order they were added, each once
  bool operator==(const TListe&) const = default;
};

class TLister {
 public:
  TLister() = default;
  // Lists as read: names valid and distinct, each number once in a list.
  TLister(std::vector<TListe> lister, std::vector<std::string> ikkeLest)
      : lister_(std::move(lister)), ikkeLest_(std::move(ikkeLest)) {}

  const std::vector<TListe>& Alle() const { return lister_; }
  bool Tom() const { return lister_.empty(); }
  // The list of that name (letter case and outer blanks aside), or none.
  const TListe* Finn(std::string_view navn) const;

  // Why `navn` cannot be the name of a new list, or the new name of the list
  // `gammelt` (when given): it is not a valid name, or another list has it
  // already. Empty when it can (Windows-1252).
  std::string NavnFeil(std::string_view navn, std::string_view gammelt = {}) const;
  // Adds an empty list at the end. An empty text, or why the name cannot be
  // used (NavnFeil).
  std::string Ny(std::string_view navn);
  // Gives a list a new name (also the same name in other letter case).
  std::string GiNyttNavn(std::string_view gammelt, std::string_view nytt);
  // Deletes a list; false when there is none of that name.
  bool Slett(std::string_view navn);

  // Adds the numbers that are not on the list yet (numbers below 1 are not
  // taken), in the order given, creating the list when it is missing. The
  // number of judging numbers added; nothing, with `feil` set, when the list
  // is missing and its name cannot be used.
  std::optional<int> LeggTil(std::string_view navn, std::span<const int32_t> nummer, std::string* feil = nullptr);
  // Removes the numbers from the list; the number removed (0 without the list).
  int Fjern(std::string_view navn, std::span<const int32_t> nummer);

  // Lines of the file that did not read, kept as they were (see above).
  const std::vector<std::string>& IkkeLest() const { return ikkeLest_; }

  bool operator==(const TLister&) const = default;

 private:
  TListe* FinnListe(std::string_view navn);
  std::vector<TListe> lister_;
  std::vector<std::string> ikkeLest_;
};

// Why a text cannot be a list name (Windows-1252), or an empty text.
std::string ListenavnFeil(std::string_view navn);
// The same name, as the lists compare names.
bool SammeListenavn(std::string_view a, std::string_view b);
// The names offered for a first list: "Mine værer" and "Reserve".
std::vector<std::string> StandardListenavn();

struct TListeLesing {
  TLister lister;
  std::vector<std::string> meldinger;  // Windows-1252, one a line that was skipped
};

// Lister.Txt in the data folder `dataMappe`.
std::filesystem::path ListeFil(const std::filesystem::path& dataMappe);
// The lines of a Lister.Txt; `navn` names the file in the messages.
TListeLesing TolkLister(std::string_view tekst, std::string_view navn = ListeFilNavn);
// Reads a Lister.Txt; a missing file gives no lists and no message. Throws
// IoFeil when the file exists but cannot be read.
TListeLesing LesLister(const std::filesystem::path& fil);
// The file's text.
std::string ListeTekst(const TLister& lister);
// Writes Lister.Txt through the safe-replace file. Throws IoFeil.
void SkrivLister(const std::filesystem::path& fil, const TLister& lister);

// A change of the lists as the windows and the command-line tool make it:
// reads Lister.Txt of the data folder afresh, lets `endre` change the lists
// and, when it returns true, writes them back. Returns the reading (with the
// lists as changed). Throws IoFeil.
TListeLesing EndreLister(const std::filesystem::path& dataMappe, const std::function<bool(TLister&)>& endre);

// ---- a list in the table window ----

// The title: "Liste Mine værer: 12 værer".
std::string ListeTittel(const TListe& liste);
// The "Innavl %" figures of the breeder's ewes: none without ewes (the list
// then has no such column). Computes the coefficients when they are not yet.
std::unique_ptr<TInnavlSnitt> ListeInnavl(TAvlsdata& avl, const std::vector<TSoye>& soyer);
// The catalogue's table fields as chosen in the settings file (section
// "Katalog", SkalMedNokkel); with none ever chosen, the name, the breed and
// the first three indexes.
TSkalMed ListeFelt(const QSettings& ini);
// The table of a list: the catalogue's table fields checked in `skalMed`
// ("Værnr.;" and the fields' cells, as the catalogue's table rows), its
// field "Innavl %" with the figures of `innavl` when they are given and
// without that field when they are not; one row a ram in the list's order. A
// ram no longer in the register keeps its number, struck out in grey, and the
// next cell reads "(ikke i registeret)"; its other cells are empty. A footer
// row of empty cells.
void ListListe(const TListe& liste, TProdusent& reg, const TSkalMed& skalMed, const TInnavlSnitt* innavl,
               TTabellMottaker& tabell);
