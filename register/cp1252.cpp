#include "cp1252.h"

#include <QList>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest equal their byte value.
constexpr std::array<char32_t, 32> Hoy = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void LeggTilUtf8(std::string& ut, char32_t k) {
  if (k < 0x80) {
    ut += static_cast<char>(k);
  } else if (k < 0x800) {
    ut += static_cast<char>(0xC0 | (k >> 6));
    ut += static_cast<char>(0x80 | (k & 0x3F));
  } else {
    ut += static_cast<char>(0xE0 | (k >> 12));
    ut += static_cast<char>(0x80 | ((k >> 6) & 0x3F));
    ut += static_cast<char>(0x80 | (k & 0x3F));
  }
}

}  // namespace

char32_t Cp1252TilUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return Hoy[c - 0x80];
  return c;
}

char Cp1252FraUnicode(char32_t kode) {
  if (kode < 0x80 || (kode >= 0xA0 && kode <= 0xFF)) return static_cast<char>(kode);
  for (std::size_t i = 0; i < Hoy.size(); ++i)
    if (Hoy[i] == kode) return static_cast<char>(0x80 + i);
  return '?';
}

std::string Cp1252TilUtf8(std::string_view bytes) {
  std::string ut;
  ut.reserve(bytes.size() + bytes.size() / 8);
  Cp1252TilUtf8(bytes, ut);
  return ut;
}

void Cp1252TilUtf8(std::string_view bytes, std::string& ut) {
  const char* p = bytes.data();
  const char* const slutt = p + bytes.size();
  while (p < slutt) {
    // Plain ASCII is copied as it stands, a run at a time.
    const char* run = p;
    while (slutt - p >= 8) {
      uint64_t ord;
      std::memcpy(&ord, p, sizeof ord);
      if (ord & 0x8080808080808080ull) break;
      p += 8;
    }
    while (p < slutt && static_cast<unsigned char>(*p) < 0x80) ++p;
    ut.append(run, static_cast<std::size_t>(p - run));
    if (p < slutt) LeggTilUtf8(ut, Cp1252TilUnicode(static_cast<unsigned char>(*p++)));
  }
}

std::string Utf8TilCp1252(std::string_view utf8) {
  std::string ut;
  ut.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    int lengde = 0;
    char32_t kode = 0;
    if (c < 0x80) {
      lengde = 1;
      kode = c;
    } else if ((c & 0xE0) == 0xC0) {
      lengde = 2;
      kode = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      lengde = 3;
      kode = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      lengde = 4;
      kode = c & 0x07;
    }
    bool gyldig = lengde > 0 && i + lengde <= utf8.size();
    for (int j = 1; gyldig && j < lengde; ++j) {
      const auto f = static_cast<unsigned char>(utf8[i + j]);
      if ((f & 0xC0) != 0x80) gyldig = false;
      kode = (kode << 6) | (f & 0x3F);
    }
    // An overlong form (a character in more bytes than it needs) is invalid too;
    // read as its character it would smuggle '/' or '.' into a file name.
    static constexpr char32_t Minste[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (gyldig && kode < Minste[lengde]) gyldig = false;
    if (!gyldig) {
      ut += '?';
      ++i;
      continue;
    }
    ut += Cp1252FraUnicode(kode);
    i += lengde;
  }
  return ut;
}

QString TilQString(std::string_view bytes) {
  QString ut;
  ut.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) ut += QChar(static_cast<char16_t>(Cp1252TilUnicode(static_cast<unsigned char>(c))));
  return ut;
}

std::string FraQString(const QString& tekst) {
  std::string ut;
  ut.reserve(static_cast<std::size_t>(tekst.size()));
  for (const char32_t k : tekst.toUcs4()) ut += Cp1252FraUnicode(k);
  return ut;
}
