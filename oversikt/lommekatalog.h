// The pocket catalogue: one self-contained HTML page (UTF-8, its style,
// script and data inside) that a phone's browser opens offline. It lists
// the chosen rams with a search and four sorts, and shows a ram's card: its
// indexes with their percentiles among the rams of the same breed and year
// (as the comparison gives them), its sire and dam's sire, its pedigree three
// generations back, its own inbreeding, the lamb's inbreeding with each of
// the breeder's ewes (red at or above the limit) with their mean and the
// count at or above the limit, and the ewes a saved mating suggestion gives
// the ram.
//
// The page makes no request: a Content-Security-Policy meta allows nothing
// but its own inline script and style, by their SHA-256 hashes. The data is
// JSON inside <script type="application/json">, with '<', '>', '&' and the
// line and paragraph separators escaped, so no text of the register can end
// that element; the script writes text with textContent only.
//
// The data, compact so that thousands of rams stay a few megabytes:
//
//   {"laget":"11.12.2026", "grense":6.25, "figurer":[8 index names],
//    "raser":[breed names], "soyer":[ewe numbers], "forslag":true|false,
//    "aner":{"nummer":"name", ...},            every ram named on a card
//    "v":[[nummer, name, breed (index into raser), year, semin (Type 0..3),
//          O-indeks (raw), [8 index texts as the comparison writes them],
//          own inbreeding, mean with the ewes, [10 pedigree numbers],
//          "lamb figures, one a ewe, comma-separated", [suggested ewes]], ...]}
//
// Percentages are whole hundredths of a per cent (625 is 6,25 %), exactly
// the figure the other windows show; null (or an empty item in the lamb
// figures) is unknown. The pedigree numbers are, in this order: sire, dam,
// sire's sire, sire's dam, dam's sire, and the third generation sire's
// sire's sire, sire's sire's dam, sire's dam's sire, dam's sire's sire,
// dam's sire's dam (0: unknown; dams are ewes, known by number only).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "paringsforslag.h"
#include "register.h"
#include "slektskap.h"
#include "soyer.h"
#include "trase.h"

struct TLommevalg {
  std::vector<int32_t> verer;       // judging numbers, in the list's order
  std::vector<TSoye> soyer;         // the breeder's ewes
  std::vector<TParingspar> par;     // the saved mating suggestion's pairs (none: no suggestion)
  bool forslag = false;             // a suggestion is saved
  std::vector<int32_t> kandidater;  // its candidate rams (empty: not known)
  double grense = StandardGrense;   // [Avl] Grense, percent
  std::string dato;                 // the day it is made, "11.12.2026"
};

struct TLommekatalog {
  std::string html;              // the page, UTF-8
  std::vector<int32_t> verer;    // the rams on it, in the list's order
  std::vector<int32_t> ukjente;  // numbers given that are not in the register
};

// The page of the rams of `valg` found in `reg`. `avl` reads the same
// register (TAvlsdata::Bruk); its figures for other numbers are dropped.
TLommekatalog LagLommekatalog(TProdusent& reg, TAvlsdata& avl, const Trase& raser, const TLommevalg& valg);
// The saved mating suggestion on the page: its pairs and candidates.
void BrukForslag(TLommevalg& valg, const TLagretForslag& lagret);

// ---- the pieces, for the tests ----

// `utf8` as a JSON string with its quotes, safe inside a script element:
// '"', '\', control characters, '<', '>', '&', U+2028 and U+2029 escaped.
std::string JsonStreng(std::string_view utf8);
// The Content-Security-Policy source of an inline text: 'sha256-<base64>'.
std::string CspKilde(std::string_view tekst);
// A percentage text of Prosent ("12,50") as hundredths (1250).
int64_t Hundredeler(double andel);
// The page's default file name.
inline constexpr const char* LommekatalogFilNavn = "Lommekatalog.html";
