// The grid model: size changes, row operations, selection and current cell.
#include "rutenett.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tabell.h"

namespace {

// A grid whose every cell names itself ("k,r"), with flag 100*r+k and row
// height 10+r, so that moved rows show where they came from.
TRutenett Merket(int kolonner, int rader) {
  TRutenett g(kolonner, rader);
  for (int r = 0; r < rader; ++r) {
    g.SettRadhoyde(r, 10 + r);
    for (int k = 0; k < kolonner; ++k) {
      g.SettCelle(k, r, std::to_string(k) + "," + std::to_string(r));
      g.SettFlagg(k, r, static_cast<uint32_t>(100 * r + k));
    }
  }
  return g;
}

// The original row each row now holds, read from column 0's text.
std::vector<int> Opphav(const TRutenett& g) {
  std::vector<int> v;
  for (int r = 0; r < g.Rader(); ++r) {
    const std::string& t = g.Celle(0, r);
    v.push_back(t.empty() ? -1 : std::stoi(t.substr(t.find(',') + 1)));
  }
  return v;
}

// Every row's cells, flags and height agree with the original row it holds.
void SjekkRaderHeleMedFlaggOgHoyde(const TRutenett& g) {
  for (int r = 0; r < g.Rader(); ++r) {
    const int opphav = Opphav(g)[static_cast<std::size_t>(r)];
    if (opphav < 0) {
      EXPECT_EQ(g.Radhoyde(r), g.StandardHoyde()) << "new row " << r;
      for (int k = 0; k < g.Kolonner(); ++k) {
        EXPECT_EQ(g.Celle(k, r), "") << k << "," << r;
        EXPECT_EQ(g.Flagg(k, r), 0u) << k << "," << r;
      }
      continue;
    }
    EXPECT_EQ(g.Radhoyde(r), 10 + opphav) << "row " << r;
    for (int k = 0; k < g.Kolonner(); ++k) {
      EXPECT_EQ(g.Celle(k, r), std::to_string(k) + "," + std::to_string(opphav)) << k << "," << r;
      EXPECT_EQ(g.Flagg(k, r), static_cast<uint32_t>(100 * opphav + k)) << k << "," << r;
    }
  }
}

TEST(Rutenett, StorrelseBeholderCellerSomBlir) {
  TRutenett g = Merket(4, 5);
  g.SettKolbredde(1, 77);

  g.SettStorrelse(6, 8);
  EXPECT_EQ(g.Celle(3, 4), "3,4");
  EXPECT_EQ(g.Flagg(3, 4), 403u);
  EXPECT_EQ(g.Celle(5, 7), "");
  EXPECT_EQ(g.Flagg(5, 7), 0u);
  EXPECT_EQ(g.Kolbredde(1), 77);
  EXPECT_EQ(g.Kolbredde(5), g.StandardBredde());
  EXPECT_EQ(g.Radhoyde(4), 14);
  EXPECT_EQ(g.Radhoyde(7), g.StandardHoyde());

  g.SettStorrelse(2, 3);
  EXPECT_EQ(g.Kolonner(), 2);
  EXPECT_EQ(g.Rader(), 3);
  EXPECT_EQ(g.Celle(1, 2), "1,2");
  EXPECT_EQ(g.Rad(2).size(), 2u);

  // Cells cut away do not come back when the grid grows again.
  g.SettStorrelse(4, 5);
  EXPECT_EQ(g.Celle(1, 2), "1,2");
  EXPECT_EQ(g.Celle(3, 4), "");
  EXPECT_EQ(g.Flagg(3, 4), 0u);

  g.SettStorrelse(-3, -1);
  EXPECT_EQ(g.Kolonner(), 0);
  EXPECT_EQ(g.Rader(), 0);
}

TEST(Rutenett, UtenforRutenettetLesesTomtOgSkrivingOverses) {
  struct Tilfelle {
    int kol, rad;
  };
  const Tilfelle tilfeller[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {3, 2}, {-5, 99}, {INT32_MIN, INT32_MAX}};
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(std::to_string(t.kol) + "," + std::to_string(t.rad));
    TRutenett g = Merket(3, 2);
    int endringer = 0;
    g.VedEndring = [&] { ++endringer; };
    const bool kolUtenfor = t.kol < 0 || t.kol >= 3;
    const bool radUtenfor = t.rad < 0 || t.rad >= 2;
    g.SettCelle(t.kol, t.rad, "x");
    g.SettFlagg(t.kol, t.rad, 7);
    if (kolUtenfor) g.SettKolbredde(t.kol, 99);
    if (radUtenfor) g.SettRadhoyde(t.rad, 99);
    EXPECT_EQ(g.Celle(t.kol, t.rad), "");
    EXPECT_EQ(g.Flagg(t.kol, t.rad), 0u);
    EXPECT_EQ(endringer, 0);
    if (kolUtenfor) {
      EXPECT_EQ(g.Kolbredde(t.kol), g.StandardBredde());
    }
    if (radUtenfor) {
      EXPECT_EQ(g.Radhoyde(t.rad), g.StandardHoyde());
      EXPECT_TRUE(g.Rad(t.rad).empty());
    }
    SjekkRaderHeleMedFlaggOgHoyde(g);
  }
  // An empty grid behaves the same.
  TRutenett tom;
  tom.SettCelle(0, 0, "x");
  EXPECT_EQ(tom.Celle(0, 0), "");
  EXPECT_TRUE(tom.Rad(0).empty());
}

TEST(Rutenett, SlettRaderFlytterCellerFlaggOgHoyderOpp) {
  struct Tilfelle {
    int fra, til;
    std::vector<int> igjen;
  };
  const Tilfelle tilfeller[] = {
      {1, 2, {0, 3, 4}},
      {0, 0, {1, 2, 3, 4}},
      {4, 4, {0, 1, 2, 3}},
      {-3, 1, {2, 3, 4}},       // start before the grid
      {3, 99, {0, 1, 2}},       // end after the grid
      {3, 1, {0, 1, 2, 3, 4}},  // reversed: nothing
      {5, 9, {0, 1, 2, 3, 4}},  // wholly below the grid
      {0, 4, {}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(std::to_string(t.fra) + ".." + std::to_string(t.til));
    TRutenett g = Merket(3, 5);
    g.SlettRader(t.fra, t.til);
    EXPECT_EQ(Opphav(g), t.igjen);
    SjekkRaderHeleMedFlaggOgHoyde(g);
  }
}

TEST(Rutenett, SettInnRadGirTomRadMedStandardHoyde) {
  struct Tilfelle {
    int rad;
    std::vector<int> etter;
  };
  const Tilfelle tilfeller[] = {
      {0, {-1, 0, 1, 2}}, {2, {0, 1, -1, 2}}, {3, {0, 1, 2, -1}}, {99, {0, 1, 2, -1}}, {-4, {-1, 0, 1, 2}}};
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.rad);
    TRutenett g = Merket(2, 3);
    g.SettInnRad(t.rad);
    EXPECT_EQ(Opphav(g), t.etter);
    SjekkRaderHeleMedFlaggOgHoyde(g);
  }
}

TEST(Rutenett, ByttRaderTarMedFlaggOgHoyde) {
  TRutenett g = Merket(3, 4);
  g.ByttRader(0, 3);
  EXPECT_EQ(Opphav(g), (std::vector<int>{3, 1, 2, 0}));
  SjekkRaderHeleMedFlaggOgHoyde(g);
  // Outside the grid: nothing happens.
  g.ByttRader(1, 4);
  g.ByttRader(-1, 2);
  EXPECT_EQ(Opphav(g), (std::vector<int>{3, 1, 2, 0}));
}

TEST(Rutenett, OrdneRaderTarMedFlaggOgHoyde) {
  TRutenett g = Merket(3, 6);
  g.OrdneRader(2, {5, 2, 4, 3});
  EXPECT_EQ(Opphav(g), (std::vector<int>{0, 1, 5, 2, 4, 3}));
  SjekkRaderHeleMedFlaggOgHoyde(g);
}

TEST(Rutenett, OrdneRaderMedUgyldigRekkefolgeEndrerIngenting) {
  struct Tilfelle {
    const char* navn;
    int fra;
    std::vector<int> rekkefolge;
  };
  const Tilfelle tilfeller[] = {
      {"the same row twice", 1, {2, 2, 3}},       {"a row from outside the block", 1, {0, 2, 3}},
      {"a row outside the grid", 4, {4, 5, 6}},   {"a negative row", 0, {1, -1}},
      {"the block runs past the end", 5, {5, 6}}, {"negative start", -1, {0, -1}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    TRutenett g = Merket(2, 6);
    g.OrdneRader(t.fra, t.rekkefolge);
    EXPECT_EQ(Opphav(g), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    SjekkRaderHeleMedFlaggOgHoyde(g);
  }
}

TEST(Rutenett, ValgOgGjeldendeCelleHoldesInnenforVedKrymping) {
  TRutenett g(6, 10);
  g.SettGjeldende(5, 9);
  g.SettValg({2, 4, 5, 9});
  g.SettStorrelse(4, 6);
  EXPECT_EQ(g.GjeldendeKol(), 3);
  EXPECT_EQ(g.GjeldendeRad(), 5);
  EXPECT_EQ(g.Valg(), (TOmraade{2, 4, 3, 5}));

  // A selection that lies wholly in the part cut away shrinks to the edge.
  g.SettValg({3, 5, 3, 5});
  g.SlettRader(2, 5);
  EXPECT_EQ(g.Rader(), 2);
  EXPECT_EQ(g.GjeldendeRad(), 1);
  EXPECT_EQ(g.Valg(), (TOmraade{3, 1, 3, 1}));

  // Corners given in any order are put right.
  g.SettValg({3, 1, 0, 0});
  EXPECT_EQ(g.Valg(), (TOmraade{0, 0, 3, 1}));
  g.SettValg({-4, -4, 40, 40});
  EXPECT_EQ(g.Valg(), (TOmraade{0, 0, 3, 1}));
}

TEST(Rutenett, GjeldendeCelleHoldesUtenforFasteRaderOgKolonner) {
  TRutenett g(4, 5);
  // A new grid's current cell is the top-left one; fixing the header moves it
  // to the first data cell, and the one-cell selection follows.
  g.SettFaste(1, 1);
  EXPECT_EQ(g.GjeldendeKol(), 1);
  EXPECT_EQ(g.GjeldendeRad(), 1);
  EXPECT_EQ(g.Valg(), (TOmraade{1, 1, 1, 1}));

  g.SettGjeldende(0, 0);
  EXPECT_EQ(g.GjeldendeKol(), 1);
  EXPECT_EQ(g.GjeldendeRad(), 1);
  EXPECT_EQ(g.Valg(), (TOmraade{1, 1, 1, 1}));

  // The program may still mark whole rows including a fixed column.
  g.SettValg({0, 2, 3, 4});
  EXPECT_EQ(g.Valg(), (TOmraade{0, 2, 3, 4}));

  // With nothing but header rows left, the current cell stays in the grid.
  g.SettRader(1);
  EXPECT_EQ(g.GjeldendeRad(), 0);
  g.SettRader(3);
  EXPECT_EQ(g.GjeldendeRad(), 1);
}

TEST(Rutenett, StandardStorrelserGjelderAlleRaderOgKolonner) {
  TRutenett g = Merket(3, 3);
  g.SettKolbredde(0, 5);
  g.SettStandardHoyde(31);
  g.SettStandardBredde(44);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(g.Radhoyde(i), 31);
    EXPECT_EQ(g.Kolbredde(i), 44);
  }
  g.SettInnRad(1);
  EXPECT_EQ(g.Radhoyde(1), 31);
  g.SettRadhoyde(0, -4);
  EXPECT_EQ(g.Radhoyde(0), 0);
}

TEST(Rutenett, HverEndringMeldes) {
  TRutenett g(2, 2);
  int endringer = 0;
  g.VedEndring = [&] { ++endringer; };
  g.SettCelle(1, 1, "a");
  g.SettFlagg(1, 1, 1);
  g.SettRader(3);
  g.SettInnRad(0);
  g.SlettRader(0, 0);
  g.ByttRader(0, 1);
  g.OrdneRader(0, {1, 0});
  g.SettGjeldende(1, 1);
  g.SettValg({0, 0, 1, 1});
  g.SettKolbredde(0, 3);
  g.SettRadhoyde(0, 3);
  EXPECT_EQ(endringer, 11);
}

}  // namespace

// The rams marked in a table of rams: the numbers of the first column, with
// their format codes, headers and cells that are not numbers passed over.
TEST(Rutenett, MerkedeNumreFraForsteKolonne) {
  TTabell t;
  t.Oppsett(2, 12, 0, 1, 1, "Tittel", Rod, Blaa);
  for (const char* rad : {"Nr.;Navn;", "100;A;",
                          "\x04"
                          "200;B;",
                          "tekst;C;", "100;D;", "0;E;", " 300;F;"})
    t.NyRad(rad);
  t.NyBunnRad(";;");
  const struct {
    TOmraade valg;
    std::vector<int32_t> nummer;
  } tilfeller[] = {
      {{0, 0, 1, 6}, {100, 200, 300}},  // the header row and the marks: "tekst", 0 and a number twice
      {{1, 2, 1, 3}, {200}},            // marked in another column: the row counts
      {{0, 5, 0, 5}, {100}},            // one row: the current one (row 1, below the header)
  };
  for (const auto& f : tilfeller) {
    t.Hoved().SettValg(f.valg);
    EXPECT_EQ(t.MerkedeNumre(), f.nummer) << f.valg.topp << "-" << f.valg.bunn;
  }
  t.Hoved().SettGjeldende(1, 2);
  EXPECT_EQ(t.MerkedeNumre(), (std::vector<int32_t>{200}));
}
