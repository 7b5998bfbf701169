// One ram as stored in Verene.Dat: 196 bytes, packed, little-endian.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

static_assert(std::endian::native == std::endian::little, "Verene.Dat is little-endian; this build assumes the same");

// A stored text of capacity N: one length byte, then N bytes of which the
// first `lengde` are the value (Windows-1252).
template <std::size_t N>
struct TTekst {
  uint8_t lengde;
  char tegn[N];

  std::string Verdi() const { return std::string(tegn, lengde <= N ? lengde : N); }
  // Stores the first N bytes of the text; the bytes past it become 0.
  void Sett(std::string_view t) {
    const std::size_t n = t.size() < N ? t.size() : N;
    std::memset(tegn, 0, N);
    if (n > 0) std::memcpy(tegn, t.data(), n);
    lengde = static_cast<uint8_t>(n);
  }
};

#pragma pack(push, 1)
struct TVerPost {
  int32_t Nummer;
  TTekst<20> Navn;
  int8_t Rase;
  int32_t Farnr;
  double IndeksDato;
  int16_t OIndeks;
  int16_t KIndeks;
  int16_t MorevVaar;
  int16_t Slakt;
  int16_t Kjott;
  int16_t Fett;
  int16_t MorevSl;
  int16_t Fruktbarhet;
  int16_t Ring;
  float Ullvekt;
  double KlippeDato;
  uint8_t Kropp;
  uint8_t Bein;
  uint8_t Ullkvalitet;
  uint8_t Ullmengde;
  float Fiberdiameter;
  float MaksMy;
  float Stapel;
  uint8_t Marg;
  uint8_t Dyrehaar;
  float OAett;
  float VektAvvik;
  uint8_t Reservert[5];  // the last byte is shown by the catalogue's table as "Spener"
  uint8_t Type;
  int32_t MorFar;
  int16_t AntHostvekt;
  int16_t AntSlakt;
  int16_t AntDotre;
  int32_t Mornr;
  int16_t MorIndeks;
  uint8_t BurdFodt;
  int16_t Aar;
  uint8_t Fylke;
  float Hostvekt;
  TTekst<50> Fodebuskap;
  TTekst<20> Fodested;
};
#pragma pack(pop)

inline constexpr std::size_t VerPostStorrelse = 196;
static_assert(sizeof(TVerPost) == VerPostStorrelse);

// An all-zero record.
inline TVerPost TomVerPost() {
  TVerPost p;
  std::memset(&p, 0, sizeof p);
  return p;
}
