// Fields of the program's semicolon files (Soyer.Txt, Endringer.Txt, a
// spreadsheet's CSV) and the judging numbers in them and in what the user
// types. One reader and one writer for every such file, so that they quote
// and read alike:
//
//   1900123;Bamsen;"Storm; Rex";"sa ""hei"""
//
// A cell that holds ';' or '"', or begins or ends with a blank, is put in
// double quotes when written, a '"' in it doubled. When read, blanks before
// an opening quote are passed over; text after a closing quote, up to the
// next ';', is kept with the cell. Texts are bytes (Windows-1252 or UTF-8
// alike).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The cells of a line, parted at each ';' outside quotes; a line without
// ';' is one cell. False when a quoted cell does not end (the cells read so
// far are in `felt`).
bool DelFelt(std::string_view linje, std::vector<std::string>& felt);
// Appends a cell to a line as DelFelt reads it back, quoted where needed,
// without the ';' that parts it from the next.
void LeggTilFelt(std::string& linje, std::string_view celle);

// A judging number as the files and the user give it: digits, with blanks
// (also a no-break space) anywhere between them, as a spreadsheet groups
// thousands; blank is 0. Nothing when it does not read or is above
// 2147483647.
std::optional<int32_t> LesKaaringsnummer(std::string_view tekst);

// Judging numbers as the user types them, parted by commas, semicolons,
// blanks or line breaks ("1900123, 1900456"). Each number (1 or more) is
// taken once, in the order given, after those `nummer` holds already. An
// empty text, or what did not read (Windows-1252).
std::string TolkNummerliste(std::string_view tekst, std::vector<int32_t>& nummer);
