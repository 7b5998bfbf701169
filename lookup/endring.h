// Editing the shown ram without widgets: the rows of the two editing dialogs,
// the readings of the typed fields, the index date's working text, saving the
// record and the name-change log Verers.Nav.
//
// All texts are Windows-1252 byte strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "register.h"
#include "verpost.h"

// The kinds of typed field a dialog row holds.
enum class TFeltslag {
  Byte,        // 8-bit unsigned
  Heltall16,   // 16-bit
  Heltall32,   // 32-bit signed
  Desimal,     // 32-bit float
  Tekst,       // length byte and characters
  Avkrysning,  // three-state check box over an 8-bit state
};

// One row of an editing dialog: its label, its field and the field of the
// record it edits.
struct TEndreRad {
  std::string ledetekst;
  TFeltslag slag;
  // Offset of the bound field in TVerPost (for a text, of its length byte), or
  // Arbeidstekst for the index date's working text.
  std::size_t plass;
  int bredde = 0;          // width in characters
  int kapasitet = 0;       // texts: how many characters the field holds
  bool navnecase = false;  // texts: the text is name-cased
  int desimaler = 0;       // decimal fields
};

inline constexpr std::size_t Arbeidstekst = std::numeric_limits<std::size_t>::max();
// Capacity of the index date's working text.
inline constexpr int IndeksdatoKapasitet = 10;

// The name dialog ("Endre navn"): name, birth flock and birth place.
const std::vector<TEndreRad>& NavneRader();
// The full dialog ("Endre alt"), top to bottom.
const std::vector<TEndreRad>& AlleRader();

// Name-casing of the text fields: a text of more than 2 characters gets its
// first character, and every character after a blank, a '-' or a '.', in
// upper case and every other character in lower case; a comma or a '/' does
// not start a word here. A text of 2 characters or fewer is returned as it is.
std::string FeltNavnecase(std::string_view tekst);

// The decimal field's reading of its text: the first 30 characters with the
// first comma taken as the decimal mark, read as TextToReal reads; a character
// the reading fails on is dropped. "12,5" gives 12.5.
float LesDesimaltall(std::string_view tekst);
// The decimal field's text once the user has left it: `desimaler` decimals, a
// decimal comma and a blank between thousands, right-aligned to `bredde`.
std::string DesimalTekst(float verdi, int bredde, int desimaler);

// The index date as the full dialog shows it: always "dd/mm/yyyy", also for
// the no-date value (01/01/1900), so that an untouched date reads back as it
// was. A value that is no date gives the empty text.
std::string IndeksdatoTekst(double dato);

// What the full dialog makes of the index date's working text.
struct TDatolesing {
  enum class Utfall {
    Uendret,  // 9 characters or fewer once trimmed: the date stays, silently
    Ny,       // `dato` becomes the index date
    Feil,     // no date: the date stays, and the user is told
  };
  Utfall utfall = Utfall::Uendret;
  double dato = 0.0;
};
// Blanks, commas and full stops count as '/'; the text must then read as
// day/month/year (day and month of 1 or 2 digits, a 4-digit year) of a date
// that exists.
TDatolesing LesIndeksdato(std::string_view arbeidstekst);

// Writes `ver` over its record in the register (SkrivVed). False, with nothing written,
// when LocateNumber fails (the ram is gone, or the register holds fewer than
// 100 rams). `indeks` is the record the ram was read from: when that record
// still holds the ram's number it is the one written, so that of two records
// with one number the one shown is changed. Throws IoFeil when the write fails.
bool LagreVer(TProdusent& reg, const TVerPost& ver, int32_t indeks = -1);

// The name-change log, named without a folder: it lies in the working directory.
inline constexpr const char* NavneloggNavn = "Verers.Nav";
// One line of the log: number, name, birth flock and birth place, separated
// by tabs, ending in CR LF.
std::string NavneloggLinje(const TVerPost& ver);
// Appends the line of `ver` to the log `fil`, which is created when missing.
// Throws IoFeil (with a Norwegian message) when it cannot.
void SkrivNavnelogg(const std::filesystem::path& fil, const TVerPost& ver);
