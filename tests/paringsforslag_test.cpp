// The mating suggestion against independent optima on random pedigrees:
// every allocation enumerated on small cases, a linear program (GLPK) on
// larger ones; its reasons, hand changes, table and its file Paringer.Txt.
#include "paringsforslag.h"

#include <glpk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "cp1252.h"
#include "filer.h"
#include "register.h"
#include "slektskap.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, int32_t far, int32_t morfar, int32_t mornr, int oIndeks, const char* navn = "") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Farnr = far;
  p.MorFar = morfar;
  p.Mornr = mornr;
  p.OIndeks = static_cast<int16_t>(oIndeks);
  p.Navn.Sett(navn);
  return p;
}

// A random register of `antall` rams, each with a sire, a dam's sire and a
// dam among the earlier ones (or unknown), so that ewes and rams are often
// related; indexes from 60 to 140, now and then 0 (unknown) or yellow.
std::vector<TVerPost> TilfeldigRegister(std::mt19937& g, int antall) {
  std::vector<TVerPost> r;
  const auto tidligere = [&](int i) -> int32_t {
    if (i == 0 || g() % 5 == 0) return 0;
    return 1000 + static_cast<int32_t>(g() % static_cast<unsigned>(i));
  };
  for (int i = 0; i < antall; ++i) {
    int indeks = 60 + static_cast<int>(g() % 81);
    if (g() % 9 == 0) indeks = 0;
    if (g() % 13 == 0) indeks = 950;
    r.push_back(Ver(1000 + i, tidligere(i), tidligere(i), static_cast<int32_t>(1 + g() % 4), indeks));
  }
  return r;
}

// The choices of a random case: `nv` candidate rams (the last ones of the
// register, the most related), `ns` ewes whose sires and dams' sires are
// rams of it, capacities from 0 to 3 or none, some bans and locks.
struct TTilfelle {
  std::vector<TSoye> soyer;
  TParingsvalg valg;
};
TTilfelle TilfeldigTilfelle(std::mt19937& g, int antallRegister, int ns, int nv, int maksKapasitet) {
  TTilfelle t;
  const auto ver = [&] { return 1000 + static_cast<int32_t>(g() % static_cast<unsigned>(antallRegister)); };
  for (int e = 0; e < ns; ++e)
    t.soyer.push_back({"S" + std::to_string(e + 1), g() % 6 ? ver() : 0, g() % 3 ? ver() : 0});
  std::vector<int32_t> verer;
  while (static_cast<int>(verer.size()) < nv) {
    const int32_t v = 1000 + antallRegister - 1 - static_cast<int32_t>(g() % static_cast<unsigned>(antallRegister / 2));
    if (std::find(verer.begin(), verer.end(), v) == verer.end()) verer.push_back(v);
  }
  for (int32_t v : verer) {
    const int k = static_cast<int>(g() % static_cast<unsigned>(maksKapasitet + 2));
    t.valg.verer.push_back({v, k > maksKapasitet ? UtenGrense : k});
  }
  const double grenser[] = {3.0, 6.25, 12.5, 25.0};
  t.valg.grense = grenser[g() % 4];
  const double vekter[] = {0.0, 1.0, 2.5, 10.0};
  t.valg.vekt = vekter[g() % 4];
  for (int e = 0; e < ns; ++e) {
    if (g() % 6 == 0)
      t.valg.forbudte.push_back({t.soyer[static_cast<std::size_t>(e)].nummer, verer[g() % verer.size()]});
    if (g() % 8 == 0) t.valg.laaste.push_back({t.soyer[static_cast<std::size_t>(e)].nummer, verer[g() % verer.size()]});
  }
  return t;
}

// The rules written plainly, apart from the solver: which pairs a ewe may
// have, what a pair scores, what room a ram has after its locks.
struct TRegler {
  int ns = 0, nv = 0;
  std::vector<char> tillatt;
  std::vector<char> underGrensen;  // whether forbidden or not
  std::vector<int64_t> poeng;
  std::vector<int> laast;  // per ewe
  std::vector<int> rom;    // per ram after its locks; -1: no limit
  std::vector<int64_t> laastPoeng;
};
TRegler Regler(const TParingsforslag& f, const TTilfelle& t) {
  TRegler r;
  r.ns = f.AntallSoyer();
  r.nv = f.AntallVerer();
  const auto indeks = [&](int v) { return f.OIndeks(v) >= 900 ? 0 : f.OIndeks(v); };
  r.laast.assign(static_cast<std::size_t>(r.ns), -1);
  r.rom.assign(static_cast<std::size_t>(r.nv), 0);
  for (int v = 0; v < r.nv; ++v)
    for (const TKandidat& k : t.valg.verer)
      if (k.nummer == f.Plan().verer[static_cast<std::size_t>(v)]) r.rom[static_cast<std::size_t>(v)] = k.kapasitet;
  const auto ewe = [&](const std::string& nr) {
    for (int e = 0; e < r.ns; ++e)
      if (t.soyer[static_cast<std::size_t>(e)].nummer == nr) return e;
    return -1;
  };
  const auto ram = [&](int32_t nr) {
    for (int v = 0; v < r.nv; ++v)
      if (f.Plan().verer[static_cast<std::size_t>(v)] == nr) return v;
    return -1;
  };
  for (const TParingspar& p : t.valg.laaste)
    if (ewe(p.soye) >= 0 && ram(p.ver) >= 0) r.laast[static_cast<std::size_t>(ewe(p.soye))] = ram(p.ver);
  for (int e = 0; e < r.ns; ++e)
    if (const int l = r.laast[static_cast<std::size_t>(e)]; l >= 0 && r.rom[static_cast<std::size_t>(l)] > 0)
      --r.rom[static_cast<std::size_t>(l)];
  for (int e = 0; e < r.ns; ++e)
    for (int v = 0; v < r.nv; ++v) {
      const double prosent = f.Lam(e, v) * 100.0;
      // Under the limit as shown with two decimals.
      bool ok = std::llround(prosent * 100.0) < std::llround(t.valg.grense * 100.0);
      r.underGrensen.push_back(ok);
      for (const TParingspar& p : t.valg.forbudte)
        if (ewe(p.soye) == e && ram(p.ver) == v) ok = false;
      r.tillatt.push_back(ok);
      r.poeng.push_back(std::llround(100.0 * indeks(v) - 100.0 * t.valg.vekt * prosent));
    }
  return r;
}

struct TUtfall {
  int betjent = 0;
  int64_t poeng = 0;
};

// Every allocation of the ewes that are not locked.
TUtfall Oppramset(const TRegler& r) {
  std::vector<int> frie;
  for (int e = 0; e < r.ns; ++e)
    if (r.laast[static_cast<std::size_t>(e)] < 0) frie.push_back(e);
  TUtfall best{-1, 0};
  std::vector<int> valg(frie.size(), -1);
  std::vector<int> bruk(static_cast<std::size_t>(r.nv), 0);
  const std::function<void(std::size_t, int, int64_t)> prov = [&](std::size_t i, int antall, int64_t sum) {
    if (i == frie.size()) {
      if (antall > best.betjent || (antall == best.betjent && sum > best.poeng)) best = {antall, sum};
      return;
    }
    prov(i + 1, antall, sum);
    const int e = frie[i];
    for (int v = 0; v < r.nv; ++v) {
      const std::size_t p = static_cast<std::size_t>(e * r.nv + v);
      const int rom = r.rom[static_cast<std::size_t>(v)];
      if (!r.tillatt[p] || (rom >= 0 && bruk[static_cast<std::size_t>(v)] >= rom)) continue;
      ++bruk[static_cast<std::size_t>(v)];
      prov(i + 1, antall + 1, sum + r.poeng[p]);
      --bruk[static_cast<std::size_t>(v)];
    }
  };
  prov(0, 0, 0);
  for (int e = 0; e < r.ns; ++e)
    if (const int l = r.laast[static_cast<std::size_t>(e)]; l >= 0) {
      ++best.betjent;
      best.poeng += r.poeng[static_cast<std::size_t>(e * r.nv + l)];
    }
  return best;
}

// The same optimum as two linear programs (the constraint matrix of a
// bipartite allocation is totally unimodular, so their optima are whole):
// the most ewes served, then the largest score with that many.
TUtfall Lineaert(const TRegler& r) {
  glp_term_out(GLP_OFF);
  glp_prob* lp = glp_create_prob();
  glp_set_obj_dir(lp, GLP_MAX);
  std::vector<int> kol;  // pair of each column
  for (int e = 0; e < r.ns; ++e)
    for (int v = 0; v < r.nv; ++v) {
      const int p = e * r.nv + v;
      if (r.laast[static_cast<std::size_t>(e)] >= 0 || !r.tillatt[static_cast<std::size_t>(p)]) continue;
      kol.push_back(p);
    }
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0};
  // A row per ewe (at most one ram), a row per ram (its room), and the
  // count row that the second program fixes.
  const int radSoye = 1, radVer = 1 + r.ns, radAntall = 1 + r.ns + r.nv;
  glp_add_rows(lp, radAntall);
  for (int e = 0; e < r.ns; ++e) glp_set_row_bnds(lp, radSoye + e, GLP_UP, 0, 1);
  for (int v = 0; v < r.nv; ++v) {
    const int rom = r.rom[static_cast<std::size_t>(v)];
    glp_set_row_bnds(lp, radVer + v, rom < 0 ? GLP_FR : GLP_UP, 0, rom < 0 ? 0 : rom);
  }
  glp_set_row_bnds(lp, radAntall, GLP_FR, 0, 0);
  if (!kol.empty()) glp_add_cols(lp, static_cast<int>(kol.size()));
  for (std::size_t j = 0; j < kol.size(); ++j) {
    const int c = static_cast<int>(j) + 1, e = kol[j] / r.nv, v = kol[j] % r.nv;
    glp_set_col_bnds(lp, c, GLP_DB, 0, 1);
    glp_set_obj_coef(lp, c, 1);
    for (const int rad : {radSoye + e, radVer + v, radAntall}) {
      ia.push_back(rad);
      ja.push_back(c);
      ar.push_back(1);
    }
  }
  glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
  TUtfall u;
  if (!kol.empty()) {
    EXPECT_EQ(glp_simplex(lp, nullptr), 0);
    u.betjent = static_cast<int>(std::llround(glp_get_obj_val(lp)));
    glp_set_row_bnds(lp, radAntall, GLP_FX, u.betjent, u.betjent);
    for (std::size_t j = 0; j < kol.size(); ++j)
      glp_set_obj_coef(lp, static_cast<int>(j) + 1, static_cast<double>(r.poeng[static_cast<std::size_t>(kol[j])]));
    EXPECT_EQ(glp_simplex(lp, nullptr), 0);
    u.poeng = std::llround(glp_get_obj_val(lp));
  }
  glp_delete_prob(lp);
  for (int e = 0; e < r.ns; ++e)
    if (const int l = r.laast[static_cast<std::size_t>(e)]; l >= 0) {
      ++u.betjent;
      u.poeng += r.poeng[static_cast<std::size_t>(e * r.nv + l)];
    }
  return u;
}

// The suggestion keeps the rules, and reaches the optimum.
void SjekkForslag(const TParingsforslag& f, const TRegler& r, const TUtfall& optimum) {
  TUtfall u;
  std::vector<int> bruk(static_cast<std::size_t>(r.nv), 0);
  for (int e = 0; e < r.ns; ++e) {
    const int v = f.Ver(e);
    const int l = r.laast[static_cast<std::size_t>(e)];
    if (l >= 0) {
      EXPECT_EQ(v, l) << "the lock of ewe " << e << " is kept";
    } else if (v >= 0) {
      EXPECT_TRUE(r.tillatt[static_cast<std::size_t>(e * r.nv + v)]) << "ewe " << e << " ram " << v;
      ++bruk[static_cast<std::size_t>(v)];
    }
    if (v >= 0) {
      ++u.betjent;
      u.poeng += r.poeng[static_cast<std::size_t>(e * r.nv + v)];
      EXPECT_EQ(f.Grunn(e), "");
    } else {
      bool noen = false, under = false;
      for (int w = 0; w < r.nv; ++w) {
        noen = noen || r.tillatt[static_cast<std::size_t>(e * r.nv + w)];
        under = under || r.underGrensen[static_cast<std::size_t>(e * r.nv + w)];
      }
      EXPECT_EQ(f.Grunn(e), noen ? IngenLedigPlass : under ? IngenUtenForbudte : IngenUnderGrensen) << "ewe " << e;
    }
  }
  for (int v = 0; v < r.nv; ++v)
    if (r.rom[static_cast<std::size_t>(v)] >= 0) {
      EXPECT_LE(bruk[static_cast<std::size_t>(v)], r.rom[static_cast<std::size_t>(v)]);
    }
  EXPECT_EQ(u.betjent, optimum.betjent);
  EXPECT_EQ(u.poeng, optimum.poeng);
  EXPECT_EQ(f.Sammendrag().betjent, u.betjent);
  EXPECT_EQ(f.Sammendrag().poeng, u.poeng);
}

}  // namespace

TEST(Paringsforslag, GirSammeOptimumSomAlleTildelingerOppramset) {
  const struct {
    int ns, nv, maksKapasitet, antall;
  } storrelser[] = {{1, 1, 1, 30},
                    {3, 2, 1, 60},
                    {5, 3, 2, 80},
                    {7, 3, 2, 80},
                    {7, 2, 3, 40},
                    {6, 3, 1, 60},
                    // Rams with room for most ewes: each ewe needs only her best few.
                    {7, 3, 7, 60}};
  int laaste = 0, forbudte = 0, uten = 0;
  for (const auto& s : storrelser)
    for (int fro = 0; fro < s.antall; ++fro) {
      SCOPED_TRACE(testing::Message() << s.ns << " x " << s.nv << " seed " << fro);
      std::mt19937 g(static_cast<unsigned>(fro * 7919 + s.ns * 31 + s.nv));
      TAvlsdata avl;
      avl.Bruk(TilfeldigRegister(g, 40));
      const TTilfelle t = TilfeldigTilfelle(g, 40, s.ns, s.nv, s.maksKapasitet);
      TParingsforslag f = LagParingsforslag(avl, t.soyer, t.valg);
      ASSERT_EQ(f.AntallVerer(), s.nv);
      f.Los();
      const TRegler r = Regler(f, t);
      SjekkForslag(f, r, Oppramset(r));
      laaste += static_cast<int>(t.valg.laaste.size());
      forbudte += static_cast<int>(t.valg.forbudte.size());
      for (int e = 0; e < f.AntallSoyer(); ++e) uten += f.Ver(e) < 0;
      // The same input, the same suggestion.
      TParingsforslag igjen = LagParingsforslag(avl, t.soyer, t.valg);
      igjen.Los();
      EXPECT_EQ(igjen.Par(), f.Par());
    }
  // The cases reach what they are meant to test.
  EXPECT_GT(laaste, 20);
  EXPECT_GT(forbudte, 20);
  EXPECT_GT(uten, 50);
}

TEST(Paringsforslag, GirSammeOptimumSomLineaertProgram) {
  const struct {
    int ns, nv, maksKapasitet, antall;
  } storrelser[] = {{40, 6, 8, 15},
                    {120, 12, 12, 8},
                    {300, 40, 10, 3},
                    // Rams with room for most ewes: each ewe needs only her best few.
                    {120, 12, 100, 6}};
  for (const auto& s : storrelser)
    for (int fro = 0; fro < s.antall; ++fro) {
      SCOPED_TRACE(testing::Message() << s.ns << " x " << s.nv << " seed " << fro);
      std::mt19937 g(static_cast<unsigned>(fro * 104729 + s.ns));
      TAvlsdata avl;
      avl.Bruk(TilfeldigRegister(g, 400));
      const TTilfelle t = TilfeldigTilfelle(g, 400, s.ns, s.nv, s.maksKapasitet);
      TParingsforslag f = LagParingsforslag(avl, t.soyer, t.valg);
      f.Los();
      const TRegler r = Regler(f, t);
      SjekkForslag(f, r, Lineaert(r));
    }
}

// A small flock worked by hand: BLAKKEN's son SVARTEN and an unrelated
// ram; one ewe is SVARTEN's half-sister (6,25 % with him, at the limit),
// one his daughter.
class ForslagForHaand : public ::testing::Test {
 protected:
  void SetUp() override {
    avl.Bruk(std::vector<TVerPost>{Ver(1001, 0, 0, 0, 100, "BLAKKEN"), Ver(1002, 1001, 0, 0, 120, "SVARTEN"),
                                   Ver(1003, 0, 0, 0, 90, "KVITEN"), Ver(1004, 0, 0, 0, 950, "GULEN")});
    soyer = {{"1", 1001, 0}, {"2", 1002, 0}, {"3", 0, 0}};
  }
  TAvlsdata avl;
  std::vector<TSoye> soyer;
};

TEST_F(ForslagForHaand, GrunnerValgmuligheterOgEndringer) {
  TParingsvalg valg;
  valg.verer = {{1002, 1}, {1003, 1}};
  TParingsforslag f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  // Ewe 1 (his half-sister) and 2 (his daughter) cannot have SVARTEN; KVITEN
  // serves one of them, SVARTEN ewe 3.
  EXPECT_EQ(f.Ver(2), 0);
  EXPECT_EQ(f.Sammendrag().betjent, 2);
  const int uten = f.Ver(0) < 0 ? 0 : 1;
  EXPECT_EQ(f.Grunn(uten), IngenLedigPlass);

  // The hand choice of the ewe without a ram: KVITEN alone, and full.
  const auto m = f.Valgmuligheter(uten);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].ver, 1);
  EXPECT_FALSE(m[0].ledig);
  EXPECT_EQ(f.Endre(uten, 1), C("Væren har ingen ledig plass."));
  EXPECT_EQ(f.Endre(uten, 0), C("Lammets innavlsgrad er ved eller over grensen."));
  // Taking KVITEN from the other ewe frees him.
  const int annen = 1 - uten;
  EXPECT_EQ(f.Endre(annen, -1), "");
  EXPECT_EQ(f.Grunn(annen), IngenValgt);
  EXPECT_EQ(f.Endre(uten, 1), "");
  EXPECT_EQ(f.Grunn(annen), IngenLedigPlass);
  EXPECT_EQ(f.Sammendrag().betjent, 2);
  EXPECT_EQ(f.Antall(1), 1);

  // A capacity with no limit and both ewes have KVITEN; with every pair of
  // ewe 3 forbidden, her rams under the limit are all forbidden.
  valg.verer = {{1002, 1}, {1003, UtenGrense}};
  valg.forbudte = {{"3", 1002}, {"3", 1003}};
  f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  EXPECT_EQ(f.Ver(0), 1);
  EXPECT_EQ(f.Ver(1), 1);
  EXPECT_EQ(f.Grunn(2), IngenUtenForbudte);
  EXPECT_EQ(f.Endre(2, 1), C("Paringen er forbudt."));
}

// The score: a yellow index counts as unknown (0), inbreeding costs `vekt`
// points a percent; a lock is kept even at the limit.
TEST_F(ForslagForHaand, GulIndeksTellerSomNullOgLaasHoldes) {
  TParingsvalg valg;
  valg.verer = {{1003, 5}, {1004, 5}};
  TParingsforslag f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  for (int e = 0; e < 3; ++e) EXPECT_EQ(f.Ver(e), 0) << "KVITEN's 90 beats a yellow 950";
  EXPECT_EQ(f.Sammendrag().snittIndeks, 90.0);

  valg.verer = {{1002, 5}, {1003, 0}};
  valg.laaste = {{"2", 1002}};
  valg.vekt = 0;
  f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  EXPECT_EQ(f.Ver(1), 0) << "locked to her sire";
  EXPECT_DOUBLE_EQ(f.Sammendrag().hoyesteInnavl, 0.25);
  EXPECT_EQ(f.Ver(0), -1);
  EXPECT_EQ(f.Ver(2), 0);
}

TEST_F(ForslagForHaand, TabellMedSammendragSist) {
  TParingsvalg valg;
  valg.verer = {{1002, 1}, {1003, UtenGrense}};
  valg.forbudte = {{"3", 1003}};
  auto f = std::make_shared<TParingsforslag>(LagParingsforslag(avl, soyer, valg));
  f->Los();
  TTabell t;
  ListParingsforslag(f, t, TSnittrad::SisteRad);
  std::vector<std::string> rader;
  for (int i = 0; i < t.NesteRad; ++i) {
    std::string rad;
    for (const std::string& celle : t.Hoved().Rad(i)) rad += celle + ";";
    rader.push_back(Cp1252TilUtf8(rad));
  }
  const std::vector<std::string> venter = {
      "Søye;Vær;Navn;Innavl %;O-indeks;Merknad;",
      "1;1003;Kviten;0,00;90;;",
      "2;1003;Kviten;0,00;90;;",
      "3;1002;Svarten;0,00;120;;",
      "Søyer med vær;3 av 3;;;;;",
      "Snitt;;;0,00;100,0;;",
      "Høyest;;;0,00;;;",
      "Vær;1002;Svarten;;;1 av 1;",
      "Vær;1003;Kviten;;;2 av ubegrenset;",
  };
  EXPECT_EQ(rader, venter);
}

// The breeder's locks and bans: kept in the choices (so saved), kept by a
// new solve, and a hand change moves a lock along.
TEST_F(ForslagForHaand, LaasOgForbudHoldesOgLagres) {
  TParingsvalg valg;
  valg.verer = {{1002, 5}, {1003, 5}};
  TParingsforslag f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  ASSERT_EQ((std::vector<int>{f.Ver(0), f.Ver(1), f.Ver(2)}), (std::vector<int>{1, 1, 0}));

  f.Forby(2, 0);
  EXPECT_EQ(f.Ver(2), -1) << "a ban takes the ram away";
  EXPECT_EQ(f.Grunn(2), IngenValgt);
  EXPECT_EQ(f.Valg().forbudte, (std::vector<TParingspar>{{"3", 1002}}));
  f.Laas(0);
  EXPECT_EQ(f.Valg().laaste, (std::vector<TParingspar>{{"1", 1003}}));
  f.Los();
  EXPECT_EQ(f.Ver(2), 1) << "the ban holds in a new solve";
  EXPECT_EQ(f.Ver(0), 1);

  // The saved choices give the same suggestion in a new session.
  const TLagretForslag lagret = TolkParinger(ParingsTekst(Lagret(f))).forslag;
  TParingsforslag igjen = LagParingsforslag(avl, soyer, lagret.valg);
  igjen.Bruk(lagret.par);
  EXPECT_EQ(igjen.Par(), f.Par());
  EXPECT_EQ(igjen.Laast(0), 1);
  EXPECT_TRUE(igjen.Forbudt(2, 0));

  // A hand change of a locked ewe moves the lock; none unlocks her.
  EXPECT_EQ(f.Endre(0, -1), "");
  EXPECT_EQ(f.Laast(0), -1);
  EXPECT_TRUE(f.Valg().laaste.empty());
  EXPECT_EQ(f.Endre(1, -1), "");
  f.Laas(1);
  EXPECT_TRUE(f.Valg().laaste.empty()) << "nothing to lock without a ram";
  f.Tillat(2, 0);
  f.Forby(2, 1);
  EXPECT_EQ(f.Ver(2), -1);
  f.Los();
  EXPECT_EQ(f.Ver(2), 0) << "the lifted ban lets 1002 back";
  EXPECT_EQ(f.Valg().forbudte, (std::vector<TParingspar>{{"3", 1003}}));
}

// The window's table reads the suggestion when it draws: a hand change shows
// once the grid has forgotten the rows it made; the footer holds the three
// summary lines, the printout and files get the summary once, last.
TEST_F(ForslagForHaand, TabellenFolgerEndringer) {
  TParingsvalg valg;
  valg.verer = {{1002, 5}, {1003, 5}};
  auto f = std::make_shared<TParingsforslag>(LagParingsforslag(avl, soyer, valg));
  f->Los();
  f->Laas(0);
  TTabell t;
  ListParingsforslag(f, t, TSnittrad::Bunnrad);
  const auto rad = [&t](int i) {
    std::string r;
    for (const std::string& celle : t.Hoved().Rad(i)) r += celle + ";";
    return Cp1252TilUtf8(r);
  };
  EXPECT_EQ(rad(1), "1;1003;Kviten;0,00;90;låst;");
  EXPECT_EQ(t.Hoved().Rader(), 4);
  ASSERT_EQ(t.AntBunnRader, ForslagBunnrader);
  EXPECT_EQ(Cp1252TilUtf8(t.Bunn().Celle(0, 0)), "Søyer med vær");
  EXPECT_EQ(t.Hoved().Kilderad(3), 2);

  ASSERT_EQ(f->Endre(2, 1), "");
  t.Hoved().KildeEndret();
  EXPECT_EQ(rad(3), "3;1003;Kviten;0,00;90;;");
  ASSERT_EQ(f->Endre(2, -1), "");
  t.Hoved().KildeEndret();
  EXPECT_EQ(rad(3),
            "\x01"
            "3;;;;;\x01" +
                Cp1252TilUtf8(IngenValgt) + ";");

  TTabell fil;
  ListParingsforslag(f, fil, TSnittrad::SisteRad);
  EXPECT_EQ(fil.AntBunnRader, 1);
  EXPECT_EQ(fil.NesteRad, 4 + 3 + 2) << "rows, then the summary and a line a ram";
}

TEST(Paringsvalg, KapasitetSomBrukerenSkriverDen) {
  const struct {
    const char* tekst;
    bool ok;
    int kapasitet;
  } tilfeller[] = {{"40", true, 40}, {" 0 ", true, 0},  {"", true, UtenGrense}, {"ingen", true, UtenGrense},
                   {"-1", false, 0}, {"4,5", false, 0}, {"40 søyer", false, 0}, {"99999999999", false, 0}};
  for (const auto& t : tilfeller) {
    int k = 12345;
    EXPECT_EQ(LesKapasitetstekst(t.tekst, k), t.ok) << t.tekst;
    if (t.ok) {
      EXPECT_EQ(k, t.kapasitet) << t.tekst;
      int igjen = 0;
      EXPECT_TRUE(LesKapasitetstekst(Kapasitetsfelt(k), igjen));
      EXPECT_EQ(igjen, k);
    }
  }
}

// ---- Paringer.Txt ----

TEST(Paringsfil, LesesTilbakeNoyaktig) {
  TLagretForslag l;
  l.valg.verer = {{1900123, 40}, {1900456, UtenGrense}, {1900789, 0}};
  l.valg.grense = 6.3;
  l.valg.vekt = 0.1;
  l.valg.laaste = {{"17", 1900123}};
  l.valg.forbudte = {{"S 18", 1900456}, {"19", 1900123}};
  l.par = {{"17", 1900123}, {"S 18", 0}, {C("Ås \"2\""), 1900456}};
  TestMappe m;
  SkrivParinger(ParingsFil(m.Sti()), l);
  const std::string tekst = LesHeleFila(ParingsFil(m.Sti()));
  EXPECT_NE(tekst.find("# Kapasitet;1900456;ingen\r\n"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("# Grense;6,3\r\n"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("\r\nS 18;\r\n"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("\r\n\"\xC5s \"\"2\"\"\";1900456\r\n"), std::string::npos) << tekst;
  const TParingsLesing les = LesParinger(ParingsFil(m.Sti()));
  EXPECT_EQ(les.meldinger, std::vector<std::string>{});
  EXPECT_EQ(les.forslag, l);
  EXPECT_TRUE(LesParinger(m / "mangler.Txt").forslag.par.empty());
}

// A line that does not read is told by its number, and kept by the next
// write so that nothing the user typed is lost.
TEST(Paringsfil, LinjerSomIkkeLesesMeldesOgBeholdes) {
  const struct {
    std::string linje;
    const char* hva;
  } tilfeller[] = {
      {"17;12x", "er ikke et tall"},
      // longer than a register field: kept whole all the same
      {"17;" + std::string(300, '7') + "x", "er ikke et tall"},
      {"17;1;2", "venter"},
      {";1900123", "ugyldig"},
      {"# Grense;mye", "Grense"},
      {"# Vekt;-1", "Vekt"},
      {"# Kapasitet;1900123", "Kapasitet"},
      {"# Kapasitet;1900123;-3", "Kapasitet"},
      {"# Laast;17", "Laast"},
      {"# Forbudt;17;0", "Forbudt"},
      {"9;1900123", "nevnt"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.linje);
    const std::string tekst = std::string("# kommentar\r\n9;1900123\r\n") + t.linje + "\r\n10;\r\n";
    const TParingsLesing les = TolkParinger(tekst);
    ASSERT_EQ(les.meldinger.size(), 1u);
    EXPECT_EQ(les.meldinger[0].rfind("Linje 3 i Paringer.Txt: ", 0), 0u) << les.meldinger[0];
    EXPECT_NE(les.meldinger[0].find(t.hva), std::string::npos) << les.meldinger[0];
    ASSERT_EQ(les.forslag.par.size(), 2u);
    EXPECT_EQ(les.forslag.par[1], (TParingspar{"10", 0}));
    // Written and read again: the line comes back as a comment, and stays.
    const std::string skrevet = ParingsTekst(les.forslag);
    EXPECT_NE(skrevet.find(std::string("# Ikke lest: ") + t.linje + "\r\n"), std::string::npos) << skrevet;
    const TParingsLesing igjen = TolkParinger(skrevet);
    EXPECT_TRUE(igjen.meldinger.empty());
    EXPECT_EQ(igjen.forslag, les.forslag);
  }
}

// A suggestion saved and brought back gives the same pairs; a saved ram no
// longer a candidate leaves its ewe without one.
TEST_F(ForslagForHaand, LagretForslagKommerTilbake) {
  TParingsvalg valg;
  valg.verer = {{1002, 2}, {1003, 2}};
  TParingsforslag f = LagParingsforslag(avl, soyer, valg);
  f.Los();
  ASSERT_EQ(f.Ver(2), 0);
  ASSERT_EQ(f.Endre(2, -1), "");
  const TLagretForslag lagret = Lagret(f);
  const TParingsLesing les = TolkParinger(ParingsTekst(lagret));
  ASSERT_EQ(les.forslag, lagret);
  TParingsforslag igjen = LagParingsforslag(avl, soyer, les.forslag.valg);
  igjen.Bruk(les.forslag.par);
  EXPECT_EQ(igjen.Par(), f.Par());
  std::vector<TParingspar> par = les.forslag.par;
  par[2].ver = 4242;
  igjen.Bruk(par);
  EXPECT_EQ(igjen.Ver(2), -1);
}

TEST(Paringsinnstillinger, DesimalerMedKommaEllerPunktog) {
  const struct {
    const char* tekst;
    bool ok;
    double verdi;
  } tilfeller[] = {{"6,25", true, 6.25}, {" 6.25 ", true, 6.25}, {"7", true, 7.0},  {"", false, 0},
                   {"6,2,5", false, 0},  {"1e400", false, 0},    {"abc", false, 0}, {"6,25%", false, 0}};
  for (const auto& t : tilfeller) {
    double v = 0;
    EXPECT_EQ(LesDesimal(t.tekst, v), t.ok) << t.tekst;
    if (t.ok) {
      EXPECT_EQ(v, t.verdi) << t.tekst;
    }
  }
  for (double x : {6.25, 0.1, 1.0, 1.0 / 3.0, 12.5}) {
    double y = 0;
    ASSERT_TRUE(LesDesimal(DesimalTekst(x), y));
    EXPECT_EQ(y, x) << DesimalTekst(x);
  }
  EXPECT_EQ(DesimalTekst(6.25), "6,25");
}
