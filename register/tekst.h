// Forgiving text, number and date helpers used by every importer and window.
//
// Texts are Windows-1252 byte strings. A helper sees at most the first 255
// bytes of a text it is given (the stored texts of the program never hold
// more); a longer text is cut before the helper works on it (CleanFileName,
// which works on paths, is the exception). No helper reports
// an error: bad characters are dropped, missing dates give the no-date value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Longest text a helper works on.
inline constexpr std::size_t MaksTekst = 255;

// The date that stands for "no date": 1 January 1900.
inline constexpr double IngenDato = 2.0;

// Splitting and parsing.
std::string NextField(std::string& linje);
int64_t TextToInt(std::string_view tekst);
float TextToReal(std::string_view tekst);
double IsoTextToDate(std::string_view tekst);
double CompactTextToDate(std::string_view tekst);
bool CheckDigitOk(std::string_view tekst);
// The integer reading of the entry fields: the first 30 characters, read as
// TextToInt does but into 32 bits; while the reading fails and at least 2
// characters are left, the character where it failed is deleted and the text
// read again. `helt` tells whether the whole text read as an integer at once.
// "12a3" gives 123, "ab" gives 0.
int32_t LesHeltall(std::string_view tekst, bool* helt = nullptr);

// Numbers and dates to text.
std::string IntToText(int64_t verdi);
int64_t RoundHalfAway(double verdi);
float SafeDiv(float a, float b);
long double SafeDiv(long double a, long double b);
std::string FitNumber(int bredde, int desimaler, double x);
std::string DateToText(double dato);

// Letters and columns.
unsigned char UpChar(unsigned char c);
unsigned char LowChar(unsigned char c);
std::string UpperText(std::string_view tekst);
std::string NameCase(std::string_view tekst);
std::string DosToWindows(std::string_view tekst);
std::string FillText(char c, int antall);
std::string PadRight(std::string_view tekst, int bredde, char fyll = ' ');
std::string PadLeft(std::string_view tekst, int bredde, char fyll = ' ');
std::string TrimText(std::string_view tekst);
// A path made safe for writing: doubled folder separators collapse (a leading
// pair of a network path stays), and in the file's own name, from the path's
// third character on, every '+', ':', ';' and '@' becomes '_'. The folders
// stay as they are, and the path is never cut.
std::string CleanFileName(std::string_view sti);

// The program's own number formats, independent of the system locale.
//
// FormatFixed: fixed notation with a point, rounded half away from zero on the
// decimal digits of the value ("12.35" for 12.345 with 2 decimals).
std::string FormatFixed(double x, int desimaler);
// The "n" format: a blank between thousands and a decimal comma ("1 234,5").
// With a width the text is right-aligned to it (never cut).
std::string FormatN(double x, int desimaler);
std::string FormatN(int bredde, int desimaler, double x);
// FormatN(bredde, desimaler, x) appended to `ut`.
void LeggTilFormatN(std::string& ut, int bredde, int desimaler, double x);

// The lines of `tekst`, as ForHverLinje finds them.
std::vector<std::string> TekstLinjer(std::string_view tekst);

// Calls f(line) for every line of `tekst`; lines end in CR LF, LF or CR, and
// a text that does not end in a line break still has a last line. When f
// returns a bool, false stops the walk.
template <typename F>
void ForHverLinje(std::string_view tekst, F&& f) {
  std::size_t pos = 0;
  while (pos < tekst.size()) {
    std::size_t slutt = pos;
    while (slutt < tekst.size() && tekst[slutt] != '\r' && tekst[slutt] != '\n') ++slutt;
    const std::string_view linje = tekst.substr(pos, slutt - pos);
    pos = slutt + 1;
    if (slutt < tekst.size() && tekst[slutt] == '\r' && pos < tekst.size() && tekst[pos] == '\n') ++pos;
    if constexpr (std::is_same_v<std::invoke_result_t<F&, std::string_view>, bool>) {
      if (!f(linje)) return;
    } else {
      f(linje);
    }
  }
}
