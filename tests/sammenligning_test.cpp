// Rams side by side with their percentiles, and the figures behind the
// charts: checked against plain counts written here from the rules, on random
// registers with ties, zeros, yellow indexes, numbers stored twice and groups
// of one.
#include "sammenligning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "innavl.h"
#include "register.h"
#include "slektskap.h"
#include "stamtavle.h"
#include "statistikk.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"
#include "trase.h"

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

// ---- the reference ----

// The percentile in whole numbers: 100·(2·below + equal) / (2·n), half up.
int ReferansePersentil(int64_t under, int64_t like, int64_t n) {
  return static_cast<int>((200 * under + 100 * like + n) / (2 * n));
}

// The records that count: each number by its last record.
std::vector<TVerPost> Gjeldende(const std::vector<TVerPost>& poster) {
  std::set<int32_t> sett;
  std::vector<TVerPost> ut;
  for (auto it = poster.rbegin(); it != poster.rend(); ++it)
    if (it->Nummer != 0 && sett.insert(it->Nummer).second) ut.push_back(*it);
  return ut;
}

// A few figures read plainly from the record: nothing for unknown, -1 for yellow.
struct Ref {
  std::string navn;
  std::function<std::optional<int64_t>(const TVerPost&)> verdi;
};
const std::vector<Ref>& Referansefigurer() {
  static const std::vector<Ref> r = {
      {"O-indeks",
       [](const TVerPost& p) -> std::optional<int64_t> {
         if (p.OIndeks >= 900) return -1;
         if (p.OIndeks == 0) return std::nullopt;
         return p.OIndeks;
       }},
      {"Kropp",
       [](const TVerPost& p) -> std::optional<int64_t> {
         return p.Kropp ? std::optional<int64_t>(p.Kropp) : std::nullopt;
       }},
      {"Sum poeng",
       [](const TVerPost& p) -> std::optional<int64_t> {
         if (p.Bein == 0) return std::nullopt;
         const double s = p.Kropp + p.Bein + p.Ullkvalitet + p.Ullmengde + double(p.VektAvvik) + double(p.OAett);
         const int64_t k = static_cast<int64_t>(std::floor(std::fabs(s) * 10 + 0.5)) * (s < 0 ? -1 : 1);
         return k ? std::optional<int64_t>(k) : std::nullopt;
       }},
      {"Ullvekt (kg)",
       [](const TVerPost& p) -> std::optional<int64_t> {
         const int64_t k = static_cast<int64_t>(std::floor(double(p.Ullvekt) * 10 + 0.5));
         return k ? std::optional<int64_t>(k) : std::nullopt;
       }},
      {C("Ant døtre"),
       [](const TVerPost& p) -> std::optional<int64_t> {
         return p.AntDotre ? std::optional<int64_t>(p.AntDotre) : std::nullopt;
       }},
  };
  return r;
}

// Random records: few breeds and years, small value ranges so that ties are
// common, zeros and yellow indexes, numbers stored twice.
std::vector<TVerPost> Tilfeldige(std::mt19937& g, int antall) {
  std::vector<TVerPost> poster;
  const auto mellom = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  for (int i = 0; i < antall; ++i) {
    TVerPost p = TomVerPost();
    p.Nummer =
        mellom(0, 9) == 0 && !poster.empty() ? poster[static_cast<std::size_t>(mellom(0, i - 1))].Nummer : 1000 + i;
    p.Rase = static_cast<int8_t>(mellom(-1, 3));
    p.Aar = static_cast<int16_t>(mellom(2000, 2003));
    const int o = mellom(0, 12);
    p.OIndeks = static_cast<int16_t>(o == 0 ? 0 : o == 1 ? 950 : mellom(95, 105));
    p.Kropp = static_cast<uint8_t>(mellom(0, 4));
    p.Bein = static_cast<uint8_t>(mellom(0, 3));
    p.Ullkvalitet = static_cast<uint8_t>(mellom(3, 5));
    p.Ullmengde = static_cast<uint8_t>(mellom(3, 5));
    p.VektAvvik = static_cast<float>(mellom(-4, 4)) / 4.0f;
    p.OAett = static_cast<float>(mellom(0, 8)) / 4.0f;
    p.Ullvekt = static_cast<float>(mellom(0, 12)) / 4.0f;  // x,x5 values: halves to round away
    p.AntDotre = static_cast<int16_t>(mellom(0, 3));
    poster.push_back(p);
  }
  return poster;
}

std::size_t Rad(const TSammenligning& s, const std::string& navn) {
  for (std::size_t i = 0; i < s.figurer.size(); ++i)
    if (s.figurer[i].navn == navn) return i;
  ADD_FAILURE() << navn;
  return 0;
}

TEST(Persentil, HalvtRundesBortFraNull) {
  const struct {
    int64_t under, like, n;
    int ventet;
  } fall[] = {
      {0, 1, 1, 50},       // a group of one
      {0, 2, 8, 13},       // 12,5
      {1, 1, 8, 19},       // 18,75
      {1, 1, 4, 38},       // 37,5
      {0, 1, 200, 0},      // 0,25
      {0, 1, 40, 1},       // 1,25
      {199, 1, 200, 100},  // 99,75
      {3, 4, 10, 50},     {0, 10, 10, 50},
  };
  for (const auto& f : fall) {
    EXPECT_EQ(Persentil(f.under, f.like, f.n), f.ventet) << f.under << " " << f.like << " " << f.n;
    EXPECT_EQ(ReferansePersentil(f.under, f.like, f.n), f.ventet);
  }
}

TEST(Persentil, SomEnEnkelOpptellingPaaTilfeldigeRegistre) {
  std::mt19937 g(20260312);
  for (int runde = 0; runde < 40; ++runde) {
    std::vector<TVerPost> poster = Tilfeldige(g, 30 + runde * 10);
    if (runde % 4 == 0) {
      // A ram alone in its group.
      TVerPost alene = poster[0];
      alene.Nummer = 999999;
      alene.Aar = 1990;
      alene.OIndeks = 101;
      poster.push_back(alene);
    }
    const std::vector<TVerPost> gjeldende = Gjeldende(poster);
    std::vector<TVerPost> verer;
    const std::size_t antall = 2 + static_cast<std::size_t>(runde % 5);
    std::vector<std::size_t> valg(gjeldende.size());
    for (std::size_t i = 0; i < valg.size(); ++i) valg[i] = i;
    std::shuffle(valg.begin(), valg.end(), g);
    for (std::size_t i = 0; i < antall && i < valg.size(); ++i) verer.push_back(gjeldende[valg[i]]);
    if (runde % 4 == 0) verer[0] = poster.back();

    const TSammenligning s = Sammenlign(poster, verer);
    ASSERT_EQ(s.verer.size(), verer.size());
    for (const Ref& ref : Referansefigurer()) {
      const std::size_t f = Rad(s, ref.navn);
      for (std::size_t v = 0; v < verer.size(); ++v) {
        const auto egen = ref.verdi(verer[v]);
        int64_t n = 0, under = 0, like = 0;
        double sum = 0;
        for (const TVerPost& p : gjeldende) {
          if (p.Rase != verer[v].Rase || p.Aar != verer[v].Aar) continue;
          const auto x = ref.verdi(p);
          if (!x || *x == -1) continue;
          ++n;
          sum += static_cast<double>(*x);
          if (egen && *egen != -1) {
            if (*x < *egen) ++under;
            if (*x == *egen) ++like;
          }
        }
        const TSammenligningsCelle& c = s.celler[f][v];
        const std::string hva = ref.navn + " runde " + std::to_string(runde) + " ver " + std::to_string(v);
        EXPECT_EQ(c.gruppe, n) << hva;
        if (n > 0) {
          EXPECT_NEAR(c.snitt * std::pow(10.0, s.figurer[f].desimaler), sum / double(n), 1e-9) << hva;
        }
        if (!egen) {
          EXPECT_EQ(c.slag, TSammenligningsCelle::Slag::Ukjent) << hva;
          EXPECT_EQ(s.Tekst(f, v), "\x96");
        } else if (*egen == -1) {
          EXPECT_EQ(c.slag, TSammenligningsCelle::Slag::Gul) << hva;
          EXPECT_EQ(s.Tekst(f, v), "gul");
        } else {
          ASSERT_EQ(c.slag, TSammenligningsCelle::Slag::Verdi) << hva;
          EXPECT_EQ(c.noekkel, *egen) << hva;
          EXPECT_GE(like, 1) << hva;  // itself
          EXPECT_EQ(c.persentil, ReferansePersentil(under, like, n)) << hva;
        }
      }
    }
    if (runde % 4 == 0) {
      const TSammenligningsCelle& alene = s.celler[0][0];
      EXPECT_EQ(alene.gruppe, 1);
      EXPECT_EQ(alene.persentil, 50);
      EXPECT_EQ(s.Tekst(0, 0), "101") << "alone in its group: no percentile";
    }
  }
}

// The inbreeding row from the coefficients of the rams' groups and their
// ancestors only (as hornstad-cli sammenlign computes them) is the row from
// every ram's coefficient.
TEST(Sammenligning, InnavlForGruppeneSomForAlle) {
  TestMappe m;
  SkrivEksempeldata(3000, 4, m.Sti(), true);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  std::vector<int32_t> nummer;
  for (int32_t i : {3, 400, 900, 1700, 2400, 2990}) nummer.push_back(reg.ReadAt(i).Nummer);
  TAvlsdata alle, grupper;
  alle.Bruk(reg);
  grupper.Bruk(reg);
  std::vector<int32_t> u1, u2;
  const TSammenligning a = Sammenlign(reg, nummer, u1, &alle.Innavl());
  const std::vector<int32_t> medlemmer = Gruppemedlemmer(reg, nummer);
  const TInnavl& del = grupper.InnavlFor(medlemmer);
  EXPECT_FALSE(grupper.Beregnet());
  EXPECT_LT(del.Stamtavle().Antall(), alle.Stamtavle().Antall());
  const TSammenligning b = Sammenlign(reg, nummer, u2, &del);
  ASSERT_EQ(a.figurer.size(), b.figurer.size());
  ASSERT_EQ(a.verer.size(), 6u);
  for (std::size_t f = 0; f < a.figurer.size(); ++f)
    for (std::size_t v = 0; v < a.verer.size(); ++v) {
      SCOPED_TRACE(a.figurer[f].navn + " " + std::to_string(a.verer[v].Nummer));
      EXPECT_EQ(a.Tekst(f, v), b.Tekst(f, v));
      EXPECT_EQ(a.celler[f][v].gruppe, b.celler[f][v].gruppe);
      EXPECT_NEAR(a.celler[f][v].snitt, b.celler[f][v].snitt, 1e-9);
    }
}

TEST(Sammenligning, CellerTabellOgInnavl) {
  // Five rams of breed 1, 2001, and a sixth of another year: hand-counted.
  const auto ver = [](int32_t nr, const std::string& navn, int16_t o, float ullvekt, int32_t far = 0) {
    TVerPost p = TomVerPost();
    p.Nummer = nr;
    p.Navn.Sett(C(navn));
    p.Rase = 1;
    p.Aar = 2001;
    p.OIndeks = o;
    p.Ullvekt = ullvekt;
    p.Kropp = 5;
    p.Bein = 6;
    p.Ullkvalitet = 7;
    p.Ullmengde = 8;
    p.VektAvvik = 1.5f;
    p.OAett = 2.0f;
    p.Farnr = far;
    return p;
  };
  std::vector<TVerPost> poster = {ver(1, "ådne", 121, 4.25f), ver(2, "b", 110, 4.35f, 1), ver(3, "c", 121, 0),
                                  ver(4, "d", 0, 4.3f, 1), ver(5, "e", 950, 4.4f, 2)};
  TVerPost annen = ver(6, "f", 130, 4.0f, 2);
  annen.Aar = 2002;
  poster.push_back(annen);

  TestMappe m;
  SkrivVerFil(m / VerFilNavn, poster);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  const TStamtavle tavle(poster);
  const TInnavl innavl(tavle);
  std::vector<int32_t> ukjente;
  const TSammenligning s = Sammenlign(reg, {1, 77, 4, 5, 6}, ukjente, &innavl);
  EXPECT_EQ(ukjente, (std::vector<int32_t>{77}));
  ASSERT_EQ(s.verer.size(), 4u);
  ASSERT_EQ(s.figurer.size(), Sammenligningsfigurer().size() + 1);
  EXPECT_EQ(s.figurer.back().navn, "Innavl %");

  // O-indeks among 121, 110, 121 (0 and 950 count in no group): 121 has one
  // below and two equal: 100·(1 + 1)/3 = 66,7.
  const std::size_t o = Rad(s, "O-indeks");
  EXPECT_EQ(s.Tekst(o, 0), "121 (67 %)");
  EXPECT_EQ(s.Tekst(o, 1), "\x96");
  EXPECT_EQ(s.Tekst(o, 2), "gul");
  EXPECT_EQ(s.Tekst(o, 3), "130");  // alone in its year
  EXPECT_NEAR(s.celler[o][0].snitt, (121 + 110 + 121) / 3.0, 1e-12);
  // Ullvekt compared as shown (one decimal): 4,25 and 4,3 show 4,3, and so
  // does the stored 4,35 (a float just below it); 4,4 shows 4,4. 4,3 has none
  // below and three equal of four: 37,5.
  const std::size_t u = Rad(s, "Ullvekt (kg)");
  EXPECT_EQ(s.Tekst(u, 0), "4,3 (38 %)");
  EXPECT_EQ(s.Tekst(u, 1), "4,3 (38 %)");
  EXPECT_EQ(s.Tekst(u, 2), "4,4 (88 %)");
  EXPECT_EQ(s.Tekst(u, 3), "4,0");
  // The point sum as the lookup window gives it: 5 + 6 + 7 + 8 + 1,5 + 2,0.
  EXPECT_EQ(s.Tekst(Rad(s, "Sum poeng"), 0), "29,5 (50 %)");
  EXPECT_EQ(s.Tekst(Rad(s, "Kropp"), 3), "5");
  // Own inbreeding: rams without shared ancestry have 0, which is a value.
  const std::size_t f = s.figurer.size() - 1;
  EXPECT_EQ(s.Tekst(f, 0), "0,00 (50 %)");
  EXPECT_EQ(s.celler[f][0].gruppe, 5);

  // The bar chart: the indexes against the groups' means.
  const std::vector<TIndeksstolper> stolper = Indeksstolper(s);
  ASSERT_EQ(stolper.size(), 8u);
  EXPECT_EQ(stolper[0].figur, "O-indeks");
  EXPECT_EQ(stolper[0].verdi, (std::vector<std::optional<double>>{121.0, std::nullopt, std::nullopt, 130.0}));
  ASSERT_TRUE(stolper[0].snitt[1].has_value());
  EXPECT_NEAR(*stolper[0].snitt[1], 352.0 / 3, 1e-12);  // ram 4's group, though its own index is unknown
  EXPECT_EQ(stolper[0].snitt[3], 130.0);
  // K-indeks 0 for every ram: no value, no mean.
  EXPECT_EQ(stolper[1].snitt, std::vector<std::optional<double>>(4));

  TTabell t;
  ListSammenligning(s, Trase(), t);
  EXPECT_EQ(Cp1252TilUtf8(t.Tittel), "Sammenligning av 4 værer (persentil blant værer av samme rase og år)");
  ASSERT_EQ(t.Hoved().Kolonner(), 5);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{"Figur", C("1 Ådne"), "4 D", "5 E", "6 F"}));
  EXPECT_EQ(t.Hoved().Celle(0, 1), "Rase");
  EXPECT_EQ(t.Hoved().Celle(1, 1), Trase().BreedName(1));
  EXPECT_EQ(t.Hoved().Rad(2), (std::vector<std::string>{C("År"), "2001", "2001", "2001", "2002"}));
  ASSERT_EQ(t.Hoved().Rader(), 3 + static_cast<int>(s.figurer.size()));
  EXPECT_EQ(t.Hoved().Rad(3), (std::vector<std::string>{"O-indeks", "121 (67 %)", "\x96", "gul", "130"}));
  EXPECT_EQ(t.Bunn().Rad(0), std::vector<std::string>(5, ""));

  for (std::size_t n = 0; n <= 8; ++n) EXPECT_EQ(SammenligningFeil(n).empty(), n >= 2 && n <= 6) << n;
}

// ---- the statistics ----

TEST(Statistikk, SomEnEnkelOpptelling) {
  std::mt19937 g(7);
  for (int runde = 0; runde < 10; ++runde) {
    const std::vector<TVerPost> poster = Tilfeldige(g, 50 + runde * 97);
    struct Sum {
      int64_t antall = 0, uten = 0, gule = 0, sum = 0;
    };
    std::map<std::pair<int, int>, Sum> ref;
    for (const TVerPost& p : Gjeldende(poster)) {
      Sum& s = ref[{int{p.Aar}, int{p.Rase}}];
      ++s.antall;
      if (p.OIndeks == 0)
        ++s.uten;
      else if (p.OIndeks >= 900)
        ++s.gule;
      else
        s.sum += p.OIndeks;
    }
    const TStatistikk st = LagStatistikk(poster);
    ASSERT_EQ(st.grupper.size(), ref.size());
    std::size_t i = 0;
    for (const auto& [noekkel, s] : ref) {
      const TAarRase& a = st.grupper[i++];
      EXPECT_EQ(a, (TAarRase{noekkel.first, noekkel.second, s.antall, s.uten, s.gule, s.sum}));
      if (s.antall > s.uten + s.gule)
        EXPECT_DOUBLE_EQ(*a.Snitt(), double(s.sum) / double(s.antall - s.uten - s.gule));
      else
        EXPECT_FALSE(a.Snitt().has_value());
    }
    // A choice of breeds: lines, bars and what is left out.
    const TRasevalg valg = {3, -1};
    int64_t uten = 0, gule = 0;
    std::map<int, int64_t> perAar;
    std::map<int, std::vector<std::pair<int, double>>> linjer;
    for (const auto& [noekkel, s] : ref) {
      if (noekkel.second != 3 && noekkel.second != -1) continue;
      uten += s.uten;
      gule += s.gule;
      perAar[noekkel.first] += s.antall;
      auto& l = linjer[noekkel.second];
      if (s.antall > s.uten + s.gule) l.emplace_back(noekkel.first, double(s.sum) / double(s.antall - s.uten - s.gule));
    }
    EXPECT_EQ(AntallPerAar(st, valg), (std::vector<std::pair<int, int64_t>>(perAar.begin(), perAar.end())));
    const TUtenfor u = Utenfor(st, valg);
    EXPECT_EQ(u.utenIndeks, uten);
    EXPECT_EQ(u.gule, gule);
    const std::vector<TSnittLinje> sl = SnittLinjer(st, valg);
    ASSERT_EQ(sl.size(), linjer.size());
    std::size_t k = 0;
    for (const auto& [rase, punkter] : linjer) {
      EXPECT_EQ(sl[k].rase, rase);
      EXPECT_EQ(sl[k].punkter, punkter);
      ++k;
    }
    EXPECT_EQ(AntallPerAar(st, {}).size(), 4u);
  }
}

TEST(Statistikk, TabellerMedEnDesimalOgDetSomErHoldtUtenfor) {
  const auto ver = [](int32_t nr, int16_t aar, int8_t rase, int16_t o) {
    TVerPost p = TomVerPost();
    p.Nummer = nr;
    p.Aar = aar;
    p.Rase = rase;
    p.OIndeks = o;
    return p;
  };
  const std::vector<TVerPost> poster = {ver(1, 2001, 1, 100), ver(2, 2001, 1, 105), ver(3, 2001, 1, 0),
                                        ver(4, 2000, 2, 950), ver(5, 2001, 2, 90),  ver(6, 2001, 1, 102),
                                        ver(6, 2001, 1, 103)};  // 6 twice: the later record
  const TStatistikk st = LagStatistikk(poster);
  const Trase raser;
  TTabell t;
  ListStatistikk(st, {}, raser, t);
  EXPECT_EQ(Cp1252TilUtf8(t.Tittel),
            "Snitt O-indeks etter fødselsår (1 vær uten O-indeks og 1 gul vær er holdt utenfor)");
  ASSERT_EQ(t.Hoved().Kolonner(), StatistikkKolonner);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Fødselsår"), "Rase", C("Antall værer"), "Snitt O-indeks"}));
  ASSERT_EQ(t.Hoved().Rader(), 4);
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"2000", raser.BreedName(2), "1", "\x96"}));
  EXPECT_EQ(t.Hoved().Rad(2), (std::vector<std::string>{"2001", raser.BreedName(1), "4", "102,7"}));
  EXPECT_EQ(t.Hoved().Rad(3), (std::vector<std::string>{"2001", raser.BreedName(2), "1", "90,0"}));
  EXPECT_EQ(Cp1252TilUtf8(UtenforTekst({3, 0})), "3 værer uten O-indeks er holdt utenfor.");
  EXPECT_EQ(UtenforTekst({}), "");

  TTabell b;
  ListAntallPerAar(st, {1}, b);
  ASSERT_EQ(b.Hoved().Rader(), 2);
  EXPECT_EQ(b.Hoved().Rad(1), (std::vector<std::string>{"2001", "4"}));
}

TEST(Histogram, SoylerMedDeTommeImellom) {
  const struct {
    std::vector<int> o;
    int bredde;
    std::vector<THistogram::TSoyle> soyler;
    int64_t uten, gule;
  } fall[] = {
      {{80, 89, 90, 112, 0, 950}, 10, {{80, 89, 2}, {90, 99, 1}, {100, 109, 0}, {110, 119, 1}}, 1, 1},
      {{899, 900}, 10, {{890, 899, 1}}, 0, 1},
      {{-1, -10, -11, 0, 5}, 10, {{-20, -11, 1}, {-10, -1, 2}, {0, 9, 1}}, 1, 0},
      {{70, 74, 75}, 5, {{70, 74, 2}, {75, 79, 1}}, 0, 0},
      {{}, 10, {}, 0, 0},
  };
  for (const auto& f : fall) {
    THistogram h(f.bredde);
    for (int v : f.o) {
      TVerPost p = TomVerPost();
      p.OIndeks = static_cast<int16_t>(v);
      h.Ta(p);
    }
    EXPECT_EQ(h.Soyler(), f.soyler);
    EXPECT_EQ(h.Antall(), static_cast<int64_t>(f.o.size()) - f.uten - f.gule);
    EXPECT_EQ(h.Utenfor().utenIndeks, f.uten);
    EXPECT_EQ(h.Utenfor().gule, f.gule);
  }
  THistogram h;
  for (int v : {80, 95, 0}) {
    TVerPost p = TomVerPost();
    p.OIndeks = static_cast<int16_t>(v);
    h.Ta(p);
  }
  TTabell t;
  ListHistogram(h, t);
  EXPECT_EQ(Cp1252TilUtf8(t.Tittel),
            "Fordeling av O-indeks i utvalget: 2 værer (1 vær uten O-indeks er holdt utenfor)");
  ASSERT_EQ(t.Hoved().Rader(), 3);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{"O-indeks", C("Antall værer")}));
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"80\x96"
                                                        "89",
                                                        "1"}));
  EXPECT_EQ(t.Hoved().Rad(2), (std::vector<std::string>{"90\x96"
                                                        "99",
                                                        "1"}));
}

// The catalogue's selection by record: each record once, indexes outside the
// register left out, and the two rams stored under one number counted as the
// two rams they are (by number, the first of them was counted as the second).
TEST(Histogram, AvPosteneIUtvalget) {
  TestMappe m;
  auto ver = [](int32_t nr, int o) {
    TVerPost p = TomVerPost();
    p.Nummer = nr;
    p.OIndeks = static_cast<int16_t>(o);
    return p;
  };
  SkrivVerFil(m / VerFilNavn, {ver(1, 85), ver(2, 0), ver(3, 950), ver(4, 111), ver(4, 99), ver(5, 120)});
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  const std::vector<int32_t> poster = {0, 3, 0, 1, 2, 777, -1, 4};
  const THistogram h = Histogram(reg, poster);
  EXPECT_EQ(h.Antall(), 3);  // 1 (85) and both rams numbered 4 (111 and 99); 5 is not chosen
  EXPECT_EQ(h.Soyler(), (std::vector<THistogram::TSoyle>{{80, 89, 1}, {90, 99, 1}, {100, 109, 0}, {110, 119, 1}}));
  EXPECT_EQ(h.Utenfor().utenIndeks, 1);
  EXPECT_EQ(h.Utenfor().gule, 1);
}

}  // namespace
