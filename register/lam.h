// The yearly lamb file and the producer file: fixed records written by the
// lamb and member import, with the short lamb summaries it keeps in memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "verpost.h"

// The producer file's name in the data folder.
inline constexpr const char* ProdusentFilNavn = "Produsenter.Dat";

// The lamb file of `aar`: "Lamma" + the year in four digits + ".Dat".
std::string LamFilNavn(int aar);

#pragma pack(push, 1)
// One lamb, 92 bytes. The fields are named after the column of the county's
// lamb export they come from.
struct TLamPost {
  int32_t Kol1;
  int32_t Kol2;
  uint8_t Kol3;
  double Kol6;  // date
  uint8_t Kol7;
  uint8_t Kol12;
  uint8_t Kol5;
  uint8_t Kol8;
  float Kol11;
  double Kol10;  // date
  int32_t Kol22;
  int32_t Kol24;
  uint8_t Kol25;
  double Kol14;  // date
  int16_t Kol15;
  int16_t Null52;  // always 0
  int16_t Kol19;
  int16_t Kol16;
  int16_t Kol17;
  int16_t Kol18;
  int16_t Kol20;
  int16_t Kol21;
  int32_t Kol27;
  uint8_t Reservert70[8];
  int16_t Kol13;  // rounded half away from zero
  uint8_t Reservert80[4];
  int16_t Kol26;
  int16_t Kol4;
  int32_t Kol9;
};

// One member producer, 266 bytes.
struct TProdusentPost {
  int32_t Nummer;  // its first two digits are the county
  TTekst<20> Kol3;
  TTekst<18> Kol5;
  uint8_t Reservert44[2];
  TTekst<30> Kol2;
  TTekst<30> Kol4;
  TTekst<30> Kol6;
  int32_t Kol7;
  uint8_t Reservert143[8];
  double Kol8;  // dates
  double Kol11;
  double Kol14;
  uint8_t Reservert175[8];
  double Kol9;  // dates
  double Kol12;
  double Kol15;
  uint8_t Reservert207[8];
  float Kol10;
  float Kol13;
  float Kol16;
  uint8_t Reservert227[39];
};
#pragma pack(pop)

inline constexpr std::size_t LamPostStorrelse = 92;
inline constexpr std::size_t ProdusentPostStorrelse = 266;
static_assert(sizeof(TLamPost) == LamPostStorrelse);
static_assert(sizeof(TProdusentPost) == ProdusentPostStorrelse);

// The summary of one lamb, which a lamb reading hands its caller.
struct TTupp {
  int32_t Kol1 = 0;
  int32_t Kol2 = 0;
  int16_t Verdier[8] = {};  // the eight 16-bit values of the record's offsets 50 to 65, in record order
  double Dato = 0;          // the date of the record's offset 42
};

// Converts one line of a county's lamb export into a record that starts all
// zero, and its summary. False when column 1 reads as 0: no record then.
bool KonverterLamLinje(std::string_view linje, TLamPost& post, TTupp& tupp);

// Converts one line of the member export into a producer record. Every byte
// past a text's length, and every reserved byte, is 0.
void KonverterMedlemLinje(std::string_view linje, TProdusentPost& post);

// An item of a caller's producer list.
struct TProdusentElement {
  int32_t nummer = 0;
  int32_t indeks = 0;  // record index in the producer file
};

// The position of the first item whose number is `nummer`, or -1.
int32_t FindProducer(int32_t nummer, const std::vector<TProdusentElement>& liste);
