#include "ramimport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "dato.h"
#include "tekst.h"

namespace {

// A data line with every column set to a plain value; `felt` overrides columns.
std::string Linje(std::initializer_list<std::pair<int, std::string>> felt) {
  std::string k[51];
  for (int i = 1; i <= 50; ++i) k[i] = std::to_string(i);
  k[3] = "1234567";
  for (const auto& [kol, verdi] : felt) k[kol] = verdi;
  std::string l;
  for (int i = 1; i <= 50; ++i) l += k[i] + (i < 50 ? ";" : "");
  return l;
}

double Dato(int a, int m, int d) { return *EncodeDate(a, m, d); }

}  // namespace

TEST(RamImportTest, KolonneneFyllerFeltene) {
  TVerPost p;
  ASSERT_TRUE(ConvertRamLine(Linje({{1, "1234567890"},
                                    {9, "2004-05-17"},
                                    {16, "2004-05-17"},
                                    {31, "1999-12-31"},
                                    {32, "\"Bamse\""},
                                    {8, "45"},
                                    {10, "285"},
                                    {12, "4,5"},
                                    {24, "45,5"},
                                    {11, "48"},
                                    {15, "-3"},
                                    {45, "-12"},
                                    {46, "105,3"},
                                    {44, "R\x9Bros"}}),
                             p));
  EXPECT_EQ(+p.Nummer, 1234567);
  EXPECT_EQ(+p.Fylke, 12);
  EXPECT_EQ(+p.Ring, 4);
  EXPECT_EQ(+p.Kropp, 5);
  EXPECT_EQ(+p.Ullkvalitet, 6);
  EXPECT_EQ(+p.Ullmengde, 7);
  EXPECT_FLOAT_EQ(p.Ullvekt, 4.5f);
  EXPECT_EQ(+p.KlippeDato, Dato(2004, 5, 17));
  EXPECT_FLOAT_EQ(p.Fiberdiameter, 28.5f);
  EXPECT_FLOAT_EQ(p.MaksMy, 48.0f);
  EXPECT_FLOAT_EQ(p.Stapel, 0.45f);
  EXPECT_EQ(+p.Marg, 13);
  EXPECT_EQ(+p.Dyrehaar, 14);
  EXPECT_EQ(+p.Rase, -3);
  EXPECT_EQ(+p.Aar, 2004);
  EXPECT_EQ(+p.Mornr, 17);
  EXPECT_EQ(+p.MorIndeks, 19);
  EXPECT_EQ(+p.Farnr, 20);
  EXPECT_EQ(+p.MorFar, 23);
  EXPECT_FLOAT_EQ(p.Hostvekt, 45.5f);
  EXPECT_EQ(+p.BurdFodt, 26);
  EXPECT_EQ(+p.OIndeks, 28);
  EXPECT_EQ(+p.KIndeks, 29);
  EXPECT_EQ(+p.IndeksDato, Dato(1999, 12, 31));
  EXPECT_EQ(p.Navn.Verdi(), "Bamse");
  EXPECT_EQ(+p.Slakt, 36);
  EXPECT_EQ(+p.Kjott, 37);
  EXPECT_EQ(+p.Fett, 38);
  EXPECT_EQ(+p.MorevVaar, 39);
  EXPECT_EQ(+p.MorevSl, 40);
  EXPECT_EQ(+p.Fruktbarhet, 41);
  EXPECT_EQ(+p.Bein, 42);
  EXPECT_EQ(p.Fodebuskap.Verdi(), "43");
  EXPECT_EQ(p.Fodested.Verdi(), "R\xF8ros");
  EXPECT_FLOAT_EQ(p.VektAvvik, -1.2f);
  EXPECT_FLOAT_EQ(p.OAett, 105.3f);
  EXPECT_EQ(+p.Type, 47);
  EXPECT_EQ(+p.AntHostvekt, 48);
  EXPECT_EQ(+p.AntSlakt, 49);
  EXPECT_EQ(+p.AntDotre, 50);
  for (uint8_t b : p.Reservert) EXPECT_EQ(b, 0);
}

TEST(RamImportTest, EnkeltkolonnerOgGrensetilfeller) {
  struct Tilfelle {
    const char* navn;
    std::string linje;
    std::function<void(const TVerPost&)> sjekk;
  };
  const Tilfelle tilfeller[] = {
      {"fylke 1666666654", Linje({{1, "1666666654"}}), [](const TVerPost& p) { EXPECT_EQ(+p.Fylke, 0); }},
      {"fylke 9", Linje({{1, "9"}}), [](const TVerPost& p) { EXPECT_EQ(+p.Fylke, 9); }},
      {"tom fødested", Linje({{44, ""}}), [](const TVerPost& p) { EXPECT_EQ(p.Fodested.Verdi(), "Ukjent"); }},
      {"langt navn", Linje({{32, "Abcdefghijklmnopqrstuvwxyz"}}),
       [](const TVerPost& p) { EXPECT_EQ(p.Navn.Verdi(), "Abcdefghijklmnopqrst"); }},
      {"lang fødebuskap", Linje({{43, std::string(60, 'x')}}),
       [](const TVerPost& p) { EXPECT_EQ(p.Fodebuskap.Verdi(), std::string(50, 'x')); }},
      {"ullvekt med komma", Linje({{8, "4,5"}}), [](const TVerPost& p) { EXPECT_FLOAT_EQ(p.Ullvekt, 0.45f); }},
      {"300 i en byte", Linje({{5, "300"}}), [](const TVerPost& p) { EXPECT_EQ(+p.Kropp, 44); }},
      {"manglende dato", Linje({{9, ""}}), [](const TVerPost& p) { EXPECT_EQ(+p.KlippeDato, IngenDato); }},
      {"31. april", Linje({{31, "2005-04-31"}}),
       [](const TVerPost& p) { EXPECT_EQ(+p.IndeksDato, Dato(2005, 4, 30)); }},
      {"29. februar i vanlig år", Linje({{9, "2003-02-29"}}),
       [](const TVerPost& p) { EXPECT_EQ(+p.KlippeDato, Dato(2003, 2, 28)); }},
      {"lang stedstekst med DOS-bokstav", Linje({{44, std::string(19, 'a') + "\x86" + "bc"}}),
       [](const TVerPost& p) { EXPECT_EQ(p.Fodested.Verdi(), std::string(19, 'a') + "\xE5"); }},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    TVerPost p;
    ASSERT_TRUE(ConvertRamLine(t.linje, p));
    t.sjekk(p);
  }
}

TEST(RamImportTest, LinjerUtenKaaringsnummerGirIngenPost) {
  for (const char* nr : {"", "0", "ukjent", "\"\""}) {
    SCOPED_TRACE(nr);
    TVerPost p;
    EXPECT_FALSE(ConvertRamLine(Linje({{3, nr}}), p));
  }
  TVerPost p;
  EXPECT_FALSE(ConvertRamLine("", p));
}

// A line cut short reads as the same line with the missing fields there and
// empty: the ram is kept, and nothing of its last field spills into the rest.
TEST(RamImportTest, KortLinjeLeserManglendeFeltSomTomme) {
  TVerPost p;
  bool kort = false;
  ASSERT_TRUE(ConvertRamLine("0112345678;x;1234567;7", p, &kort));
  EXPECT_TRUE(kort);
  EXPECT_EQ(+p.Nummer, 1234567);
  EXPECT_EQ(+p.Ring, 7);
  EXPECT_EQ(+p.Kropp, 0);
  EXPECT_EQ(+p.AntDotre, 0);
  EXPECT_EQ(p.Navn.Verdi(), "");
  EXPECT_EQ(p.Fodested.Verdi(), "Ukjent");
  EXPECT_EQ(+p.KlippeDato, IngenDato);
  EXPECT_EQ(+p.IndeksDato, IngenDato);

  // Cut after every field from the third on: the record of the line filled
  // up with empty fields.
  std::string hel = Linje({{32, "\"Bamse\""}, {44, ""}});
  for (std::size_t felt = 3; felt <= 50; ++felt) {
    SCOPED_TRACE(felt);
    std::size_t slutt = 0;
    for (std::size_t i = 0; i < felt; ++i) slutt = hel.find(';', slutt) + 1;
    const std::string linje = felt == 50 ? hel : hel.substr(0, slutt - 1);
    std::string fylt = linje;
    for (std::size_t i = felt; i < 50; ++i) fylt += ';';
    TVerPost a, b;
    bool aKort = false, bKort = true;
    ASSERT_TRUE(ConvertRamLine(linje, a, &aKort));
    ASSERT_TRUE(ConvertRamLine(fylt, b, &bKort));
    EXPECT_EQ(aKort, felt < 50);
    EXPECT_FALSE(bKort);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
  }

  // Too few fields to reach the judging number: no ram, whatever the last field holds.
  for (const char* linje : {"0112345678;1234567", "1234567", "0112345678;x;"}) {
    SCOPED_TRACE(linje);
    EXPECT_FALSE(ConvertRamLine(linje, p, &kort));
  }
  // More than 50 fields is no short line.
  ASSERT_TRUE(ConvertRamLine(Linje({}) + ";51;52", p, &kort));
  EXPECT_FALSE(kort);
  EXPECT_EQ(+p.AntDotre, 50);
}
