// Windows-1252 <-> Unicode. Stored and exchanged texts are Windows-1252 bytes;
// they are converted only where they meet a widget, a terminal or a file name.
// Every byte maps to one code point (the five bytes that Windows-1252 leaves
// undefined map to the same code points), so every byte survives a round trip.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// The code point of one Windows-1252 byte.
char32_t Cp1252TilUnicode(unsigned char c);
// The Windows-1252 byte of a code point, or '?' when it has none.
char Cp1252FraUnicode(char32_t kode);

std::string Cp1252TilUtf8(std::string_view bytes);
// The same, appended to `ut`.
void Cp1252TilUtf8(std::string_view bytes, std::string& ut);
// Invalid UTF-8 sequences become '?'.
std::string Utf8TilCp1252(std::string_view utf8);

QString TilQString(std::string_view bytes);
std::string FraQString(const QString& tekst);
