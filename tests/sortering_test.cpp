// Sort keys, sorting, finding and the column figures of the table.
#include "sortering.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "dato.h"
#include "tabell.h"

namespace {

// A grid with one header row; each data row is {sort cell, label}.
TRutenett Rutenett(const std::vector<std::vector<std::string>>& data) {
  const int kolonner = data.empty() ? 2 : static_cast<int>(data[0].size());
  TRutenett g(kolonner, static_cast<int>(data.size()) + 1);
  g.SettFaste(0, 1);
  for (int k = 0; k < kolonner; ++k) g.SettCelle(k, 0, "Kol" + std::to_string(k));
  for (std::size_t r = 0; r < data.size(); ++r)
    for (std::size_t k = 0; k < data[r].size(); ++k)
      g.SettCelle(static_cast<int>(k), static_cast<int>(r) + 1, data[r][k]);
  return g;
}

std::vector<std::string> Kolonne(const TRutenett& g, int kol, int fra = 1) {
  std::vector<std::string> v;
  for (int r = fra; r < g.Rader(); ++r) v.push_back(g.Celle(kol, r));
  return v;
}

// A one-value-column table as the callers make it: header row, the cells in
// column 0 (column 1 holds "x"), and one empty footer row.
TTabell Tabell(const std::vector<std::string>& celler, int bunnRader = 1) {
  TTabell t;
  t.Oppsett(2, 12, 0, 1, bunnRader, "Test tabell", Rod, Blaa);
  t.NyRad("Verdi;Navn;");
  for (const std::string& c : celler) t.NyRad(c + ";x;");
  if (bunnRader > 0) t.NyBunnRad(";;");
  return t;
}

void Merk(TRutenett& g, int kol, int fra, int til) {
  g.SettGjeldende(kol, fra);
  g.SettValg(TOmraade{kol, fra, kol, til});
}

}  // namespace

// ---------------------------------------------------------------------------
// Sort keys

TEST(Tegnvekt, WeightsOfTheTable) {
  const std::map<int, int> vekter = {
      {'"', 1},   {0xC0, 1},  {'#', 2},   {0xBE, 2},  {'$', 3},   {0xAC, 3},  {'%', 4},   {'&', 5},   {0xAB, 5},
      {'\'', 6},  {31, 7},    {' ', 7},   {0xF4, 7},  {')', 8},   {'0', 8},   {'+', 9},   {'1', 10},  {'9', 18},
      {':', 19},  {'!', 20},  {'@', 20},  {0xB5, 21}, {0xC7, 21}, {0xD3, 25}, {0xD6, 29}, {0xDF, 29}, {0xE4, 35},
      {0xEB, 41}, {0xEE, 45}, {0xC6, 47}, {0xE6, 47}, {0xD8, 48}, {0xF8, 48}, {0xC5, 49}, {0xE5, 49}, {0xDA, 49},
      {',', 0},   {'-', 0},   {'.', 0},   {'/', 0},   {0, 0},     {30, 0},    {0xC4, 0},  {0xFF, 0},
  };
  for (const auto& [kode, vekt] : vekter)
    EXPECT_EQ(Tegnvekt(static_cast<unsigned char>(kode)), vekt) << "code " << kode;
  for (int b = 0; b < 26; ++b) {
    EXPECT_EQ(Tegnvekt(static_cast<unsigned char>('A' + b)), 21 + b);
    EXPECT_EQ(Tegnvekt(static_cast<unsigned char>('a' + b)), 21 + b);
  }
}

TEST(LesTallet, ValueAndFailingPosition) {
  struct Tilfelle {
    const char* tekst;
    bool ok;
    std::size_t feil;
    long double verdi;
  };
  const Tilfelle tilfeller[] = {
      {"12", true, 2, 12},
      {"  4", true, 3, 4},
      {"+7", true, 2, 7},
      {"-1.5e2", true, 6, -150},
      {".5", true, 2, 0.5L},
      {"5.", true, 2, 5},
      {"1E-1", true, 4, 0.1L},
      // A failed reading: the mantissa's digits read so far, without sign or point.
      {"12.5x", false, 4, 125},
      {"-3x", false, 2, 3},
      {"x", false, 0, 0},
      {"1.2.3", false, 3, 12},
      {"4 ", false, 1, 4},
      {"1e", false, 2, 1},
      {"15e+", false, 4, 15},
      {"2e5x", false, 3, 2},
      {"", false, 0, 0},
      {" -", false, 2, 0},
      {".", false, 1, 0},
      {"E5", false, 0, 0},
  };
  for (const Tilfelle& t : tilfeller) {
    const TTallLesing r = LesTallet(t.tekst);
    EXPECT_EQ(r.ok, t.ok) << t.tekst;
    EXPECT_EQ(r.feil, t.feil) << t.tekst;
    EXPECT_NEAR(static_cast<double>(r.verdi), static_cast<double>(t.verdi), 1e-12) << t.tekst;
  }
}

TEST(Sorteringsverdi, NumbersDatesAndTexts) {
  struct Tilfelle {
    std::string tekst;
    long double nokkel;
  };
  const Tilfelle tilfeller[] = {
      {"", 0},
      {"12", 12},
      {"   12  ", 12},
      {"1 234,5", 1234.5L},
      {"12 345 678", 12345678},
      {"5,5", 5.5L},
      {"1e3", 1000},
      {"-5", -5},
      {" -5", -5},    // trimmed before it is read
      {"1 -5", 105},  // once the blank is gone, a '-' in the second place reads as '0'
      {"- 5", -5},
      {"05/03", 3.05L},
      {"31/12", 12.31L},
      {"00/03", 3},  // a day of 0 adds nothing
      {"01/02/2005", 2005 * 12 + 2.01L},
      {"31/12/2004", 2004 * 12 + 12.31L},
      // A date-shaped text whose day does not read: number part 0, keyed as a text.
      {"ab/03", 52500 + 1375 + 0.3125L + 0.01171875L},
      {"a", 52500},
      {"A", 52500},
      {"ab", 53875},
      {" abc", 17500 + 1312.5L + 34.375L + 0.8984375L},  // the blank in front weighs too
      {"-", 0},
      // '12.5x' fails to read with 125 read; that is its number part.
      {"12.5x", 125 + 25000 + 687.5L + 0.546875L + 0.04296875L},
      // Only the first 20 characters count.
      {"123456789012345678901", 12345678901234567890.0L},
  };
  for (const Tilfelle& t : tilfeller) {
    const long double k = Sorteringsverdi(t.tekst);
    EXPECT_NEAR(static_cast<double>(k), static_cast<double>(t.nokkel),
                1e-9 * std::max(1.0, std::fabs(static_cast<double>(t.nokkel))))
        << "'" << t.tekst << "'";
  }
}

// ---------------------------------------------------------------------------
// Sorting

TEST(Sorter, OrdersNumbersDatesAndTexts) {
  struct Tilfelle {
    std::vector<std::string> inn;
    std::vector<std::string> okende;
  };
  const Tilfelle tilfeller[] = {
      {{"12", "3", "abc", ""}, {"", "3", "12", "abc"}},
      {{"01/02/2005", "31/12/2004"}, {"31/12/2004", "01/02/2005"}},
      {{"05/03", "06/02"}, {"06/02", "05/03"}},
      {{"\xC5sen", "\xD8vre", "Zeta", "\xC6rfugl"}, {"Zeta", "\xC6rfugl", "\xD8vre", "\xC5sen"}},
      {{"\xE5sen", "beta", "ZETA", "Alfa", "\xF8vre"}, {"Alfa", "beta", "ZETA", "\xF8vre", "\xE5sen"}},
      {{"1 000", "999", "-1", "1 000,5"}, {"-1", "999", "1 000", "1 000,5"}},
  };
  for (const Tilfelle& t : tilfeller) {
    std::vector<std::vector<std::string>> data;
    for (const std::string& c : t.inn) data.push_back({c, "x"});
    TRutenett g = Rutenett(data);
    g.SettGjeldende(0, 1);
    ASSERT_TRUE(Sorter(g, false));
    EXPECT_EQ(Kolonne(g, 0), t.okende);
    ASSERT_TRUE(Sorter(g, true));
    EXPECT_EQ(Kolonne(g, 0), std::vector<std::string>(t.okende.rbegin(), t.okende.rend()));
  }
}

TEST(Sorter, EqualKeysEndAsTheExchangePassLeavesThem) {
  // Ascending: two equal keys before a smaller one come out reversed.
  TRutenett g = Rutenett({{"5", "A"}, {"5", "B"}, {"3", "C"}});
  g.SettGjeldende(0, 1);
  Sorter(g, false);
  EXPECT_EQ(Kolonne(g, 1), (std::vector<std::string>{"C", "B", "A"}));

  // Descending, before a larger one: the same.
  TRutenett m = Rutenett({{"5", "A"}, {"5", "B"}, {"7", "C"}});
  m.SettGjeldende(0, 1);
  Sorter(m, true);
  EXPECT_EQ(Kolonne(m, 1), (std::vector<std::string>{"C", "B", "A"}));

  // Above the limit the stable sort keeps equal keys in their order.
  TRutenett s = Rutenett({{"5", "A"}, {"5", "B"}, {"3", "C"}});
  s.SettGjeldende(0, 1);
  Sorter(s, false, {}, 2);
  EXPECT_EQ(Kolonne(s, 1), (std::vector<std::string>{"C", "A", "B"}));
}

TEST(Sorter, MarkedRowsByTheCurrentColumnMoveWhole) {
  // Sort by column 1; only rows 2 to 4 are marked.
  TRutenett g = Rutenett({{"a", "9"}, {"b", "3"}, {"c", "2"}, {"d", "1"}, {"e", "0"}});
  for (int r = 1; r < g.Rader(); ++r) {
    g.SettFlagg(0, r, static_cast<uint32_t>(r));
    g.SettRadhoyde(r, 10 + r);
  }
  g.SettGjeldende(1, 2);
  g.SettValg(TOmraade{1, 2, 1, 4});
  ASSERT_TRUE(Sorter(g, false));
  EXPECT_EQ(Kolonne(g, 0, 0), (std::vector<std::string>{"Kol0", "a", "d", "c", "b", "e"}));
  EXPECT_EQ(Kolonne(g, 1, 0), (std::vector<std::string>{"Kol1", "9", "1", "2", "3", "0"}));
  EXPECT_EQ(g.Flagg(0, 2), 4u);
  EXPECT_EQ(g.Radhoyde(2), 14);
  EXPECT_EQ(g.Flagg(0, 4), 2u);
}

TEST(Sorter, StatusTextsAndTooSmallGrid) {
  std::vector<std::string> tekster;
  const TStatus status = [&](const std::string& t) { tekster.push_back(t); };

  TRutenett liten = Rutenett({{"2", "x"}});  // header and one row: 2 rows
  EXPECT_FALSE(Sorter(liten, false, status));
  EXPECT_TRUE(tekster.empty());

  TRutenett g = Rutenett({{"2", "x"}, {"1", "y"}});
  EXPECT_TRUE(Sorter(g, false, status));
  EXPECT_TRUE(Sorter(g, true, status));
  EXPECT_EQ(tekster, (std::vector<std::string>{"Sorterer økende", "Har sortert økende", "Sorterer minkende",
                                               "Har sortert minkende"}));
}

// The stable sort must put every distinct key where the exchange pass puts
// it, and keep equal keys in the order they had.
TEST(Sorter, FastSortAgreesWithTheExchangePass) {
  std::mt19937 rng(20260);
  auto tall = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  const char* ord[] = {"Zeta", "\xC6rfugl", "\xF8vre", "\xC5sen", "ola", "Ola", "kari nordmann", "Br\xE5ten"};
  auto celle = [&]() -> std::string {
    switch (tall(0, 6)) {
      case 0: return std::to_string(tall(-5000, 5000));
      case 1:
        return std::to_string(tall(0, 999)) + " " + std::to_string(tall(100, 999)) + "," + std::to_string(tall(0, 9));
      case 2: {
        char b[16];
        std::snprintf(b, sizeof b, "%02d/%02d/%04d", tall(1, 28), tall(1, 12), tall(1990, 2025));
        return b;
      }
      case 3: {
        char b[8];
        std::snprintf(b, sizeof b, "%02d/%02d", tall(1, 28), tall(1, 12));
        return b;
      }
      case 4: return "";
      default: return std::string(ord[tall(0, 7)]) + std::to_string(tall(0, 50));
    }
  };
  const int n = 3000;
  std::vector<std::vector<std::string>> data;
  for (int i = 0; i < n; ++i) data.push_back({celle(), std::to_string(i)});

  for (bool minkende : {false, true}) {
    TRutenett eksakt = Rutenett(data);
    TRutenett rask = Rutenett(data);
    eksakt.SettGjeldende(0, 1);
    rask.SettGjeldende(0, 1);
    Sorter(eksakt, minkende);
    Sorter(rask, minkende, {}, 100);

    std::map<long double, int> antall;
    for (const auto& rad : data) ++antall[Sorteringsverdi(rad[0])];
    int unike = 0;
    for (int r = 1; r <= n; ++r) {
      const long double k = Sorteringsverdi(eksakt.Celle(0, r));
      ASSERT_EQ(k, Sorteringsverdi(rask.Celle(0, r))) << "row " << r;
      if (antall[k] == 1) {
        ++unike;
        EXPECT_EQ(eksakt.Celle(1, r), rask.Celle(1, r)) << "row " << r;
      } else if (r > 1 && Sorteringsverdi(rask.Celle(0, r - 1)) == k) {
        EXPECT_LT(std::stoi(rask.Celle(1, r - 1)), std::stoi(rask.Celle(1, r))) << "row " << r;
      }
    }
    EXPECT_GT(unike, n / 3);  // the check above has enough to bite on
  }
}

// ---------------------------------------------------------------------------
// Finding

TEST(Finn, GoesOnAfterTheHitAcrossRowEnds) {
  TRutenett g = Rutenett({{"1", "Ola", "Bergen"}, {"2", "Kari Engen", "Oslo"}});
  g.SettFaste(1, 1);
  TFinnTilstand s;

  auto hit = Finn(g, s, "en");  // the hit is in the last column
  ASSERT_TRUE(hit);
  EXPECT_EQ(*hit, (TCellePos{2, 1}));
  EXPECT_EQ(g.Valg(), (TOmraade{2, 1, 2, 1}));
  EXPECT_TRUE(s.FinnVidere);

  hit = Finn(g, s, "en");  // goes on at column 0 of the next row
  ASSERT_TRUE(hit);
  EXPECT_EQ(*hit, (TCellePos{1, 2}));
  EXPECT_EQ(g.Valg(), (TOmraade{1, 2, 2, 2}));
  EXPECT_EQ(s.FinnKol, 1);
  EXPECT_EQ(s.FinnRad, 2);

  EXPECT_FALSE(Finn(g, s, "en"));
  EXPECT_FALSE(s.FinnVidere);
  hit = Finn(g, s, "en");  // and starts over from the top
  ASSERT_TRUE(hit);
  EXPECT_EQ(*hit, (TCellePos{2, 1}));
}

TEST(Finn, EveryCellUpperCased) {
  struct Tilfelle {
    const char* soke;
    std::optional<TCellePos> treff;
  };
  TRutenett g = Rutenett({{"1", "\xC6RFUGL"}, {"2", std::string(260, 'x') + "Tind"}});
  g.SettFaste(1, 1);
  const Tilfelle tilfeller[] = {
      {"kol1", TCellePos{1, 0}},       // header rows count
      {"2", TCellePos{0, 2}},          // and fixed columns
      {"\xE6rfugl", TCellePos{1, 1}},  // æ matches Æ
      {"tind", std::nullopt},          // past the 255 characters that are compared
      {"", std::nullopt},
  };
  for (const Tilfelle& t : tilfeller) {
    TFinnTilstand s;
    EXPECT_EQ(Finn(g, s, t.soke), t.treff) << t.soke;
  }
  EXPECT_EQ(FantIkke("\xE6rfugl"), "Fant ikke ÆRFUGL");
}

// ---------------------------------------------------------------------------
// Column figures

TEST(Tallverdi, ReadsLeniently) {
  const std::map<std::string, long double> tilfeller = {
      {"kr 100", 100}, {"1 234,5", 1234.5L}, {"a", 0},  {"", 0},   {"  7 ", 7}, {"12.5x", 12.5L},
      {"-3", -3},      {"1,5,5", 1.55L},     {"1e", 1}, {"ab", 0}, {"x-3", -3}, {"2e2", 200},
  };
  for (const auto& [tekst, verdi] : tilfeller)
    EXPECT_NEAR(static_cast<double>(Tallverdi(tekst)), static_cast<double>(verdi), 1e-12) << "'" << tekst << "'";
}

TEST(Datoverdi, DayMonthAndYear) {
  const auto idag = DecodeDate(IDag());
  ASSERT_TRUE(idag);
  struct Tilfelle {
    const char* tekst;
    std::optional<double> dato;
    bool harAar;
  };
  const Tilfelle tilfeller[] = {
      {"01/02/2005", EncodeDate(2005, 2, 1), true},
      {"1/2/2005 ", EncodeDate(2005, 2, 1), true},
      {"01/02/05", EncodeDate(5, 2, 1), true},  // the year as written
      {"01/06", EncodeDate(idag->aar, 6, 1), false},
      {"abc", 0.0, false},
      {"/5", 0.0, false},  // no '/' after the first character
      {"", 0.0, false},
      {"31/02/2005", std::nullopt, true},
      {"01/13/2005", std::nullopt, true},
      {"00/02/2005", std::nullopt, true},
      {"01//2005", std::nullopt, false},  // the month reads as 2005
  };
  for (const Tilfelle& t : tilfeller) {
    bool harAar = false;
    EXPECT_EQ(Datoverdi(t.tekst, harAar), t.dato) << t.tekst;
    EXPECT_EQ(harAar, t.harAar) << t.tekst;
  }
}

TEST(Desimaler, ByTheFraction) {
  const std::map<long double, int> tilfeller = {{3.05L, 2}, {1244.5L, 1}, {15, 0},   {0, 0},
                                                {-5.5L, 2}, {0.95L, 1},   {0.05L, 2}};
  for (const auto& [x, d] : tilfeller) EXPECT_EQ(Desimaler(x), d) << static_cast<double>(x);
}

TEST(Kolonnetall, SumIntoTheFooter) {
  struct Tilfelle {
    std::vector<std::string> celler;
    int fra, til;  // marked rows; 0 for none
    std::string bunn;
  };
  const Tilfelle tilfeller[] = {
      {{"1 234,5", "10", ""}, 0, 0, "1 244,5"},
      {{"1,05", "2"}, 0, 0, "3,05"},
      {{"1,05", "2", "7"}, 1, 2, "(3,05)"},
      {{"kr 100", "a"}, 0, 0, "100"},
      {{"-5,5"}, 0, 0, "-5,50"},
      {{"999999", "999999"}, 0, 0, "1 999 998"},
      {{}, 0, 0, "0"},
  };
  for (const Tilfelle& t : tilfeller) {
    TTabell tab = Tabell(t.celler);
    if (t.til > 0) Merk(tab.Hoved(), 0, t.fra, t.til);
    SummerKolonne(tab);
    EXPECT_EQ(tab.Bunn().Celle(0, 0), t.bunn) << t.celler.size() << " cells";
    EXPECT_EQ(tab.Bunn().Celle(1, 0), "");
  }
}

TEST(Kolonnetall, FiguresGoToTheLeftmostMarkedColumnAndWidenIt) {
  TTabell tab = Tabell({"2", "999999", "999999"});
  tab.Hoved().SettCelle(1, 1, "4");
  tab.Hoved().SettCelle(1, 2, "6");
  tab.Hoved().SettGjeldende(1, 1);
  tab.Hoved().SettValg(TOmraade{1, 1, 1, 2});
  SnittKolonne(tab);
  EXPECT_EQ(tab.Bunn().Celle(1, 0), "(5)");
  EXPECT_EQ(tab.Bunn().Celle(0, 0), "");

  tab.Hoved().SettGjeldende(0, 1);
  SummerKolonne(tab);
  EXPECT_EQ(tab.Bunn().Celle(0, 0), "2 000 000");
  EXPECT_EQ(tab.Bredeste[0], "2 000 000");  // wider than '999999'
}

TEST(Kolonnetall, Count) {
  TTabell tab = Tabell({"a", "b", "c"});
  TellLinjer(tab);
  EXPECT_EQ(tab.Bunn().Celle(0, 0), "3");
  Merk(tab.Hoved(), 1, 1, 2);
  TellLinjer(tab);
  EXPECT_EQ(tab.Bunn().Celle(1, 0), "(2)");

  // A table set up again without a footer: counting leaves the old footer
  // alone, a sum still writes into it.
  tab.Oppsett(2, 12, 0, 1, 0, "Uten bunn", Rod, Blaa);
  tab.NyRad("Verdi;Navn;");
  tab.NyRad("5;x;");
  tab.Hoved().SettGjeldende(0, 1);
  tab.Bunn().SettCelle(0, 0, "");
  TellLinjer(tab);
  EXPECT_EQ(tab.Bunn().Celle(0, 0), "");
  SummerKolonne(tab);
  EXPECT_EQ(tab.Bunn().Celle(0, 0), "5");
}

TEST(Kolonnetall, AverageOfNumbersAndDates) {
  struct Tilfelle {
    std::vector<std::string> celler;
    int fra, til;
    std::string bunn;
  };
  const Tilfelle tilfeller[] = {
      {{"10", "0", "20"}, 0, 0, "15"},  // the 0 is not counted
      {{"1", "2"}, 0, 0, "1,5"},
      {{"01/02/2005", "03/02/2005"}, 0, 0, "02/02/2005"},
      {{"01/02/2005", "", "03/02/2005"}, 0, 0, "02/02/2005"},
      {{"01/02", "03/02"}, 0, 0, "02/02"},
      {{"x", "01/02/2005", "03/02/2005"}, 2, 3, "(02/02/2005)"},
      {{""}, 0, 0, "0"},
  };
  for (const Tilfelle& t : tilfeller) {
    TTabell tab = Tabell(t.celler);
    if (t.til > 0) Merk(tab.Hoved(), 0, t.fra, t.til);
    EXPECT_EQ(SnittKolonne(tab), std::nullopt);
    EXPECT_EQ(tab.Bunn().Celle(0, 0), t.bunn) << t.bunn;
  }
}

TEST(Kolonnetall, AverageOfAnImpossibleDateChangesNothing) {
  for (const char* feil : {"01/13/2005", "00/02/2005", "5/"}) {
    TTabell tab = Tabell({"01/02/2005", feil, "03/02/2005"});
    tab.Bunn().SettCelle(0, 0, "gammel");
    const std::vector<std::string> bredeste = tab.Bredeste;
    const std::optional<std::string> melding = SnittKolonne(tab);
    ASSERT_TRUE(melding) << feil;
    EXPECT_NE(melding->find(feil), std::string::npos) << *melding;
    EXPECT_EQ(tab.Bunn().Celle(0, 0), "gammel");
    EXPECT_EQ(tab.Bredeste, bredeste);
  }
}
