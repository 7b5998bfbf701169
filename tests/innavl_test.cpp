// The pedigree, the coefficients, the mating figures and their tables,
// checked against a plain tabular method written here from the rules, on
// random registers, hand-worked cases and shuffled registers.
#include "innavl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "register.h"
#include "slektskap.h"
#include "stamtavle.h"
#include "stier.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, int32_t far, int32_t morfar, int32_t mornr = 0, const std::string& buskap = "",
             const std::string& navn = "") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Farnr = far;
  p.MorFar = morfar;
  p.Mornr = mornr;
  p.Fodebuskap.Sett(buskap);
  p.Navn.Sett(navn);
  return p;
}

// ---- the reference: the rules and the tabular method, written plainly ----

using TForeldre = std::map<std::string, std::pair<std::string, std::string>>;

// The strongly connected parts (Kosaraju) that hold a loop, of the animals in
// `i` (all when null), through their links to parents.
std::vector<std::set<std::string>> Deler(const TForeldre& foreldre, const std::set<std::string>* i) {
  const auto med = [&](const std::string& x) { return !x.empty() && (!i || i->count(x)); };
  std::map<std::string, std::vector<std::string>> barn;
  for (const auto& [x, fm] : foreldre)
    if (med(x))
      for (const std::string& p : {fm.first, fm.second})
        if (med(p)) barn[p].push_back(x);
  std::set<std::string> sett;
  std::vector<std::string> ferdig;
  std::function<void(const std::string&)> forst = [&](const std::string& x) {
    sett.insert(x);
    for (const std::string& p : {foreldre.at(x).first, foreldre.at(x).second})
      if (med(p) && !sett.count(p)) forst(p);
    ferdig.push_back(x);
  };
  for (const auto& [x, fm] : foreldre)
    if (med(x) && !sett.count(x)) forst(x);
  std::set<std::string> tatt;
  std::vector<std::set<std::string>> ut;
  std::function<void(const std::string&, std::set<std::string>&)> andre = [&](const std::string& x,
                                                                              std::set<std::string>& del) {
    tatt.insert(x);
    del.insert(x);
    for (const std::string& c : barn[x])
      if (!tatt.count(c)) andre(c, del);
  };
  for (auto it = ferdig.rbegin(); it != ferdig.rend(); ++it) {
    if (tatt.count(*it)) continue;
    std::set<std::string> del;
    andre(*it, del);
    const auto& fm = foreldre.at(*it);
    if (del.size() > 1 || fm.first == *it || fm.second == *it) ut.push_back(del);
  }
  return ut;
}

struct TReferanse {
  std::vector<std::string> navn;       // "R<number>", "D<mornr>|<morfar>|<flock>", "d<number of offspring>"
  std::vector<int> far, mor;           // in the order below, -1 unknown
  std::map<std::string, int> plass;    // name -> place
  std::vector<std::vector<double>> a;  // the relationship matrix
  int sloyfer = 0;

  explicit TReferanse(const std::vector<TVerPost>& poster) {
    std::map<int32_t, TVerPost> siste;
    for (const TVerPost& p : poster) siste[p.Nummer] = p;  // the last record of a number
    std::map<std::string, std::pair<std::string, std::string>> foreldre;
    const auto ver = [](int32_t n) { return n == 0 ? std::string() : "R" + std::to_string(n); };
    for (const auto& [nr, p] : siste) {
      std::string mor;
      if (p.Mornr > 0)
        mor = "D" + std::to_string(p.Mornr) + "|" + std::to_string(p.MorFar) + "|" + p.Fodebuskap.Verdi();
      else if (p.MorFar != 0)
        mor = "d" + std::to_string(nr);
      foreldre["R" + std::to_string(nr)] = {ver(p.Farnr), mor};
      if (!mor.empty()) foreldre[mor] = {ver(p.MorFar), ""};
      if (p.Farnr != 0) foreldre.insert({ver(p.Farnr), {"", ""}});
      if (p.MorFar != 0) foreldre.insert({ver(p.MorFar), {"", ""}});
    }
    // Places: a ram's number, a dam's the lowest number among her offspring
    // (before him), a number without a record the lowest place among its
    // offspring.
    std::map<std::string, std::pair<int64_t, int>> sted;  // (place, 0 no record / 1 dam / 2 ram)
    for (const auto& [x, fm] : foreldre)
      if (x[0] == 'R' && siste.count(std::stoi(x.substr(1)))) sted[x] = {std::stoll(x.substr(1)), 2};
    for (const auto& [x, fm] : foreldre)
      if (x[0] == 'R' && sted.count(x))
        if (!fm.second.empty()) {
          auto [it, ny] = sted.insert({fm.second, {sted[x].first, 1}});
          if (!ny) it->second.first = std::min(it->second.first, sted[x].first);
        }
    for (const auto& [x, fm] : foreldre)
      for (const std::string& p : {fm.first, fm.second})
        if (!p.empty() && p[0] == 'R' && !siste.count(std::stoi(p.substr(1)))) {
          auto [it, ny] = sted.insert({p, {sted.at(x).first, 0}});
          if (!ny) it->second.first = std::min(it->second.first, sted.at(x).first);
        }
    // Loops: a link within a strongly connected part (Kosaraju) to a parent
    // that comes after the animal by place is cut.
    for (const std::set<std::string>& del : Deler(foreldre, nullptr)) {
      for (const std::string& x : del) {
        for (std::string* p : {&foreldre[x].first, &foreldre[x].second}) {
          if (!p->empty() && del.count(*p) && (*p == x || sted.at(x) < sted.at(*p))) {
            p->clear();
            ++sloyfer;
          }
        }
      }
    }
    // Any order with parents first.
    std::map<std::string, int> tilstand;
    std::vector<std::string> rekke;
    std::function<void(const std::string&)> besok = [&](const std::string& x) {
      tilstand[x] = 1;
      for (const std::string& p : {foreldre[x].first, foreldre[x].second})
        if (!p.empty() && tilstand[p] == 0) besok(p);
      rekke.push_back(x);
    };
    for (const auto& [x, fm] : foreldre)
      if (tilstand[x] == 0) besok(x);
    for (const std::string& x : rekke) {
      plass[x] = static_cast<int>(navn.size());
      navn.push_back(x);
    }
    for (const std::string& x : navn) {
      const auto& [f, m] = foreldre[x];
      far.push_back(f.empty() ? -1 : plass.at(f));
      mor.push_back(m.empty() ? -1 : plass.at(m));
    }
    // The tabular method.
    const std::size_t n = navn.size();
    a.assign(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i) {
      const int s = far[i], d = mor[i];
      for (std::size_t j = 0; j < i; ++j) {
        const double v = 0.5 * ((s >= 0 ? a[static_cast<std::size_t>(s)][j] : 0.0) +
                                (d >= 0 ? a[static_cast<std::size_t>(d)][j] : 0.0));
        a[i][j] = a[j][i] = v;
      }
      a[i][i] = 1.0 + (s >= 0 && d >= 0 ? 0.5 * a[static_cast<std::size_t>(s)][static_cast<std::size_t>(d)] : 0.0);
    }
  }

  int Finn(int32_t nr) const {
    const auto it = plass.find("R" + std::to_string(nr));
    return nr == 0 || it == plass.end() ? -1 : it->second;
  }
  double F(int32_t nr) const {
    const int i = Finn(nr);
    return a[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] - 1.0;
  }
  // The lamb of ram `ver` and a ewe by `far` out of a dam by `morfar`, the dam
  // out of a dam by `mormorfar`: ½a(ram, ewe), the ewe and her dams as
  // animals of their own.
  double Lam(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar = 0) const {
    const int r = Finn(ver);
    const auto ar = [&](int32_t x) {
      const int i = Finn(x);
      return i < 0 ? 0.0 : a[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)];
    };
    const double mormor = 0.5 * ar(mormorfar);       // a(ram, dam's dam)
    const double mor = 0.5 * (ar(morfar) + mormor);  // a(ram, dam)
    return 0.5 * (0.5 * (ar(far) + mor));            // ½a(ram, ewe)
  }
};

// ---- random registers ----

// Rams in generations: sires and dams' sires from the few generations before,
// some of them numbers without a record, some nothing; dams' numbers drawn
// from a small set, so that rams of one dam's sire and flock share a dam by
// the rule. Judging numbers are shuffled against the generations.
std::vector<TVerPost> Generasjoner(uint32_t froe, int generasjoner, int perGenerasjon) {
  std::mt19937 r(froe);
  const auto under = [&](int n) { return static_cast<int>(r() % static_cast<uint32_t>(n)); };
  const int antall = generasjoner * perGenerasjon;
  std::vector<int32_t> nummer(static_cast<std::size_t>(antall));
  for (int i = 0; i < antall; ++i) nummer[static_cast<std::size_t>(i)] = 100000 + i * 7;
  std::shuffle(nummer.begin(), nummer.end(), r);
  const char* buskaper[] = {"Lia", "Dal", "Haugen"};
  std::vector<TVerPost> poster;
  for (int g = 0; g < generasjoner; ++g) {
    for (int k = 0; k < perGenerasjon; ++k) {
      const int i = g * perGenerasjon + k;
      const auto forelder = [&](int tilbake) -> int32_t {
        const int v = under(100);
        if (v < 6) return 0;
        if (v < 12) return 900000 + under(25);  // no record
        if (g == 0) return 0;
        const int gen = std::max(0, g - 1 - under(tilbake));
        return nummer[static_cast<std::size_t>(gen * perGenerasjon + under(perGenerasjon / 25))];
      };
      const int32_t far = forelder(3);
      const int32_t morfar = forelder(4);
      const int32_t mornr = under(100) < 40 ? 0 : 5000 + under(8);
      poster.push_back(Ver(nummer[static_cast<std::size_t>(i)], far, morfar, mornr, buskaper[under(3)]));
    }
  }
  return poster;
}

// A long line of generations as the generator makes them: each ram's sire
// from the last few breeding rams, its dam's sire from a wider window.
std::vector<TVerPost> Dyp(uint32_t froe, int antall) {
  std::mt19937 r(froe);
  const auto under = [&](int n) { return static_cast<int>(r() % static_cast<uint32_t>(n)); };
  std::vector<int32_t> avl;
  std::vector<TVerPost> poster;
  for (int i = 0; i < antall; ++i) {
    const int32_t nr = 1900000 + i * 3;
    const auto velg = [&](int spenn) -> int32_t {
      if (avl.empty() || under(100) < 4) return 0;
      const int n = std::min<int>(static_cast<int>(avl.size()), spenn);
      return avl[avl.size() - 1 - static_cast<std::size_t>(under(n))];
    };
    const int32_t far = velg(12), morfar = velg(40);
    const int32_t mornr = under(100) < 30 ? 300000 + under(40) : 0;
    poster.push_back(Ver(nr, far, morfar, mornr, under(2) ? "Nord" : "Sør"));
    if (under(100) < 15) avl.push_back(nr);
  }
  std::shuffle(poster.begin(), poster.end(), r);
  return poster;
}

std::vector<int32_t> Nummer(const std::vector<TVerPost>& poster) {
  std::set<int32_t> n;
  for (const TVerPost& p : poster) n.insert(p.Nummer);
  return {n.begin(), n.end()};
}

struct TParingsvalg {
  int32_t ver, far, morfar, mormorfar;
};

// Matings: rams of the register against sires and dams' sires from the
// register, numbers without a record, unknown numbers and 0.
std::vector<TParingsvalg> Paringer(const std::vector<TVerPost>& poster, uint32_t froe, int antall) {
  std::mt19937 r(froe);
  // The dams' dams' sires from a stream of their own: the other numbers stay as they were drawn before.
  std::mt19937 r3(froe + 1000);
  const std::vector<int32_t> nr = Nummer(poster);
  const auto en = [&](std::mt19937& r) -> int32_t {
    const uint32_t v = r() % 20;
    if (v == 0) return 0;
    if (v == 1) return 777777;  // in no register
    if (v == 2) return 900000 + static_cast<int32_t>(r() % 25);
    return nr[r() % nr.size()];
  };
  std::vector<TParingsvalg> ut;
  for (int i = 0; i < antall; ++i) {
    const int32_t ver = nr[r() % nr.size()], far = en(r), morfar = en(r);
    // A third of the ewes without one, as most lists have.
    const int32_t mormorfar = r3() % 3 == 0 ? 0 : en(r3);
    ut.push_back({ver, far, morfar, mormorfar});
  }
  return ut;
}

// Every figure of the pedigree against the reference: each ram's own
// coefficient, matings with their shares, a mating plan and the means.
void SammenlignMedTabell(const std::vector<TVerPost>& poster, bool eksakt, const TInnavlValg& valg = {}) {
  const TReferanse ref(poster);
  const TStamtavle s{poster};
  const TInnavl innavl(s, valg);
  ASSERT_EQ(s.Antall(), static_cast<int32_t>(ref.navn.size()));
  EXPECT_EQ(s.Sloyfer(), ref.sloyfer);
  const auto lik = [&](double a, double b) {
    if (eksakt)
      EXPECT_EQ(a, b);
    else
      EXPECT_NEAR(a, b, 1e-12);
  };
  for (int32_t nr : Nummer(poster)) {
    SCOPED_TRACE(nr);
    lik(innavl.F(s.Finn(nr)), ref.F(nr));
  }
  const std::vector<TParingsvalg> paringer = Paringer(poster, 17, 300);
  for (const TParingsvalg& p : paringer) {
    SCOPED_TRACE(std::to_string(p.ver) + " x " + std::to_string(p.far) + "/" + std::to_string(p.morfar) + "/" +
                 std::to_string(p.mormorfar));
    const double venter = ref.Lam(p.ver, p.far, p.morfar, p.mormorfar);
    const TParing par = innavl.Paring(p.ver, p.far, p.morfar, p.mormorfar, 1000000);
    lik(par.lam, venter);
    lik(innavl.Lam(p.ver, p.far, p.morfar, p.mormorfar), venter);
    // The shares by Wright's paths and what lies further back make the figure.
    double sum = par.eldreAndel;
    EXPECT_GE(par.eldreAndel, 0.0);
    for (const TFellesAne& a : par.aner) {
      EXPECT_GT(a.andel, 0.0);
      sum += a.andel;
    }
    EXPECT_NEAR(sum, par.lam, 1e-14);
    // Listing fewer keeps the rest in the rest.
    const TParing kort = innavl.Paring(p.ver, p.far, p.morfar, p.mormorfar, 3);
    ASSERT_LE(kort.aner.size(), 3u);
    EXPECT_EQ(kort.aner.size() + static_cast<std::size_t>(kort.restAntall), par.aner.size());
    for (std::size_t i = 0; i < kort.aner.size(); ++i) EXPECT_EQ(kort.aner[i].dyr, par.aner[i].dyr);
  }

  // A plan of 40 ewes against 25 rams, and 25 ewes against 40 rams (the two ways
  // of the block), with the catalogue's mean for every ram.
  std::vector<TSoye> soyer;
  std::vector<int32_t> verer;
  for (std::size_t i = 0; i < paringer.size(); ++i) {
    if (i < 40) soyer.push_back({std::to_string(i + 1), paringer[i].far, paringer[i].morfar, paringer[i].mormorfar});
    if (i >= 100 && i < 140) verer.push_back(paringer[i].ver);
  }
  for (const auto& [ss, vv] : {std::pair{soyer, std::vector<int32_t>(verer.begin(), verer.begin() + 25)},
                               std::pair{std::vector<TSoye>(soyer.begin(), soyer.begin() + 25), verer}}) {
    const TParingsplan plan = LagParingsplan(innavl, ss, vv);
    ASSERT_EQ(plan.lam.size(), plan.soyer.size() * plan.verer.size());
    const TInnavlSnitt snitt(innavl, ss);
    for (std::size_t v = 0; v < plan.verer.size(); ++v) {
      double sum = 0;
      for (std::size_t e = 0; e < plan.soyer.size(); ++e) {
        lik(plan.Lam(e, v), ref.Lam(plan.verer[v], ss[e].far, ss[e].morfar, ss[e].mormorfar));
        sum += plan.Lam(e, v);
      }
      EXPECT_NEAR(plan.snitt[v], sum / static_cast<double>(ss.size()), 1e-15);
      EXPECT_NEAR(*snitt.Andel(plan.verer[v]), plan.snitt[v], 1e-15);
    }
  }
}

TEST(Innavl, GenerasjonerSomTabellmetodenTilSisteDesimal) {
  // About 3 000 animals in 7 generations of rams: every value, share and sum
  // a short binary fraction, so every exact method gives the same doubles.
  const std::vector<TVerPost> poster = Generasjoner(2026, 7, 220);
  SammenlignMedTabell(poster, true);
  // The same with Meuwissen and Luo instead of the window, and with a window
  // of 16 rows, whose dropped rows are made again and whose pairs left are
  // computed at the end.
  TInnavlValg ml;
  ml.meuwissenLuo = true;
  SammenlignMedTabell(poster, true, ml);
  TInnavlValg smalt;
  smalt.vindu = 16;
  SammenlignMedTabell(poster, true, smalt);
  const TStamtavle s{poster};
  const TInnavl i16(s, smalt);
  EXPECT_GT(i16.Vindustall().gjenskapt, 0);
  EXPECT_GT(i16.Vindustall().utsatt, 0);
  EXPECT_EQ(i16.Vindustall().rader, 16u);
  EXPECT_EQ(TInnavl(s).Vindustall().utsatt, 0);
}

TEST(Innavl, DypeStamtavlerSomTabellmetoden) {
  // 2 500 rams over hundreds of generations from few breeding rams: the
  // coefficients grow large and the fractions long.
  for (uint32_t froe : {1u, 2u}) {
    SCOPED_TRACE(froe);
    const std::vector<TVerPost> poster = Dyp(froe, 2500);
    SammenlignMedTabell(poster, false);
    TInnavlValg ml;
    ml.meuwissenLuo = true;
    SammenlignMedTabell(poster, false, ml);
    TInnavlValg smalt;
    smalt.vindu = 16;
    SammenlignMedTabell(poster, false, smalt);
  }
}

TEST(Innavl, DobleNummerOgSloyferSomTabellmetoden) {
  // Numbers stored twice (the later record counts) and rams made their own
  // ancestors, through sires and through a dam's sire.
  std::vector<TVerPost> poster = Generasjoner(7, 8, 120);
  std::mt19937 r(5);
  for (int i = 0; i < 30; ++i) {
    TVerPost p = poster[r() % poster.size()];
    p.Farnr = poster[r() % poster.size()].Nummer;
    p.Mornr = 0;
    poster.push_back(p);
  }
  // Old rams given sires and dams' sires from the last generation.
  for (int i = 0; i < 6; ++i) {
    TVerPost p = poster[static_cast<std::size_t>(i)];
    (i % 2 ? p.Farnr : p.MorFar) = poster[poster.size() - 40 - static_cast<std::size_t>(i)].Nummer;
    poster.push_back(p);
  }
  const TReferanse ref(poster);
  ASSERT_GT(ref.sloyfer, 0);
  SammenlignMedTabell(poster, false);
}

// ---- hand-worked cases ----

// 1000 A and 1001 B: founders. 2000 R: by A out of dam 5555 (by B, flock Lia).
// 2002: R's full brother (the same dam by the rule). 2003: by A out of dam
// 5555 by B of another flock, so another dam. 2001 H: by A, dam unknown.
// 3000: R's son. 4000: by A out of a daughter of A.
std::vector<TVerPost> Haandregister() {
  return {
      Ver(3000, 2000, 0),  // listed before his sire
      Ver(1000, 0, 0, 0, "", "Anton"),
      Ver(1001, 0, 0),
      Ver(2000, 1000, 1001, 5555, "Lia", "Rambo"),
      Ver(2001, 1000, 0),
      Ver(2002, 1000, 1001, 5555, "Lia"),
      Ver(2003, 1000, 1001, 5555, "Dal"),
      Ver(4000, 1000, 1000),
      Ver(4001, 2000, 2002),  // sire and dam's sire full brothers
      Ver(4002, 2000, 2003),  // sire and dam's sire sons of A out of two dams by B
      Ver(4003, 2000, 1000),  // a half-sib mating
  };
}

TEST(Innavl, HaandregnedeParinger) {
  const TStamtavle s{Haandregister()};
  const TInnavl innavl(s);
  struct Tilfelle {
    const char* hva;
    int32_t ver, far, morfar;
    double prosent;
    int32_t mormorfar = 0;
  };
  const Tilfelle tilfeller[] = {
      {"datter", 2000, 2000, 0, 25.0},
      {"halvsøster på farssiden", 2000, 1000, 0, 12.5},
      {"morfar er farens far", 2000, 0, 1000, 6.25},
      {"sønnedatter", 2000, 3000, 0, 12.5},
      {"dotterdatter", 2000, 0, 2000, 12.5},
      {"far og morfar er væren", 2000, 2000, 2000, 37.5},
      {"far er helbror", 2000, 2002, 0, 12.5},
      {"far er halvbror med mødre etter samme far", 2000, 2003, 0, 7.8125},
      {"datter av en innavla vær", 4000, 4000, 0, 31.25},
      {"ukjent søye", 2000, 0, 0, 0.0},
      {"nummer uten vær", 2000, 999999, 888888, 0.0},
      // The ewe's dam's dam a daughter of the ram: 1/16·a(R, R).
      {"mormor er datter av væren", 2000, 0, 0, 6.25, 2000},
      {"mormor er halvsøster av væren", 2000, 0, 0, 3.125, 1000},
      {"mormor er datter av en innavla vær", 4000, 0, 0, 7.8125, 4000},
      {"far er helbror og mormor datter av væren", 2000, 2002, 0, 18.75, 2000},
      {"far, morfar og mormors far er væren", 2000, 2000, 2000, 43.75, 2000},
      {"morfar er halvbror og mormors far er far til væren", 2000, 0, 2001, 6.25, 1000},
      {"mormors far uten vær", 2000, 2000, 0, 25.0, 888888},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    EXPECT_EQ(innavl.Lam(t.ver, t.far, t.morfar, t.mormorfar) * 100, t.prosent);
    EXPECT_EQ(innavl.Paring(t.ver, t.far, t.morfar, t.mormorfar).lam * 100, t.prosent);
  }
  // A dam's dam's sire not in the pedigree: the figure does not hold, and says why.
  const TParing uten = innavl.Paring(2000, 2000, 0, 888888);
  EXPECT_FALSE(uten.Gyldig());
  EXPECT_EQ(ManglerTekst(uten), "Mormors far 888888 finnes ikke i registeret.");
  EXPECT_TRUE(innavl.Paring(2000, 2000, 0, 2000).Gyldig());
  const std::pair<int32_t, double> egne[] = {
      {2000, 0.0},    {4000, 25.0},  // by a sire out of his daughter
      {4001, 12.5},                  // sire and dam's sire full brothers: the shared dam counts
      {4002, 7.8125},                // half brothers whose dams are half sisters
      {4003, 12.5},                  // half sibs
  };
  for (const auto& [nr, prosent] : egne) {
    SCOPED_TRACE(nr);
    EXPECT_EQ(innavl.F(s.Finn(nr)) * 100, prosent);
  }
}

TEST(Innavl, FellesAnerMedAndelOgFullstendighet) {
  const TStamtavle s{Haandregister()};
  const TInnavl innavl(s);
  // R on his own daughter: every path of the ewe to R's ancestors passes
  // through R, so R alone, ¼·(1 + 0).
  const TParing p = innavl.Paring(2000, 2000, 0);
  ASSERT_TRUE(p.funnet);
  ASSERT_EQ(p.aner.size(), 1u);
  EXPECT_EQ(p.aner[0].dyr, s.Finn(2000));
  EXPECT_EQ(p.aner[0].andel, 0.25);
  EXPECT_EQ(p.restAntall, 0);
  EXPECT_EQ(p.eldreAndel, 0.0);
  // The ram's five generations: sire A, dam, her sire B. The lamb: ram and
  // ewe, those three, the ewe's sire (R) and his three.
  EXPECT_EQ(p.verKjente, 3);
  EXPECT_EQ(p.lamKjente, 2 + 3 + 1 + 3);
  // A ewe known by her dam's sire only: her dam and the dam's sire count.
  EXPECT_EQ(innavl.LamKjente(s.Finn(2000), 0, 1001), 2 + 3 + 2);
  EXPECT_EQ(innavl.LamKjente(s.Finn(2000), 0, 0), 2 + 3);
  // A ewe known by her dam's dam's sire: her dam, the dam's dam, her sire and
  // his parents (the founder B has none; R has A and his dam).
  EXPECT_EQ(innavl.LamKjente(s.Finn(2000), 0, 0, 1001), 2 + 3 + 1 + 2);
  EXPECT_EQ(innavl.LamKjente(s.Finn(2000), 0, 0, 2000), 2 + 3 + 1 + 2 + 2);
  EXPECT_EQ(innavl.LamKjente(s.Finn(2000), 0, 1001, 2000), 2 + 3 + 2 + 2 + 2);
  EXPECT_EQ(innavl.Paring(2000, 2000, 0, 2000).lamKjente, 2 + 3 + 1 + 3 + 1 + 2 + 2);
  // R on a daughter of his full brother: A and R's dam, 6,25 % each. Only
  // one listed (of equal shares the one first in the pedigree): the other
  // is the rest, with its count and share.
  const TParing kort = innavl.Paring(2000, 2002, 0, 0, 1);
  ASSERT_EQ(kort.aner.size(), 1u);
  EXPECT_EQ(kort.aner[0].dyr, s.Finn(1000));
  EXPECT_EQ(kort.aner[0].andel, 0.0625);
  EXPECT_EQ(kort.restAntall, 1);
  EXPECT_EQ(kort.restAndel, 0.0625);
}

// The shared ancestors as a breeder reads them: each common ancestor with
// (1/2)^(n1+n2+1)·(1 + F) summed over the pairs of paths from the ram and
// from the ewe that meet only in him. Worked by hand on the register above
// and 5000, a son of the inbred 4000 (25 %).
TEST(Innavl, FellesAnerEtterWrightsStier) {
  std::vector<TVerPost> poster = Haandregister();
  poster.push_back(Ver(5000, 4000, 0));
  const TStamtavle s{poster};
  const TInnavl innavl(s);
  struct Tilfelle {
    const char* hva;
    int32_t ver, far, morfar;
    double lam;                                        // percent
    std::vector<std::pair<std::string, double>> aner;  // as the window names them, percent
    int32_t mormorfar = 0;
  };
  const Tilfelle tilfeller[] = {
      {"far på egen datter: væren, ikke foreldrene hans", 2000, 2000, 0, 25.0, {{"2000 Rambo", 25.0}}},
      {"halvsøsken: den felles faren, ikke foreldrene hans", 3000, 2000, 0, 12.5, {{"2000 Rambo", 12.5}}},
      {"datter av helbroren: begge foreldrene, ikke morens far",
       2000,
       2002,
       0,
       12.5,
       {{"1000 Anton", 6.25}, {"Mor til 2000 (mornr 5555)", 6.25}}},
      {"innavlet felles far: (1 + F)", 5000, 4000, 0, 15.625, {{"4000", 15.625}}},
      // A by the ewe's sire (1/16) and by her dam's sire (1/32); B through
      // the dams of 2000 and 2003, his daughters: (1/2)^(2+4+1).
      {"to stier til A, og B gjennom to mødre", 2000, 2001, 2003, 10.15625, {{"1000 Anton", 9.375}, {"1001", 0.78125}}},
      {"far og morfar er væren: to stier til ham", 2000, 2000, 2000, 37.5, {{"2000 Rambo", 37.5}}},
      {"morfar er sønn av A på en datter av A: to stier", 2000, 0, 4000, 4.6875, {{"1000 Anton", 4.6875}}},
      {"ukjent søye", 2000, 0, 0, 0.0, {}},
      // The ewe's paths from her dam's dam's sire are three generations long.
      {"mormor er datter av væren: væren alene", 2000, 0, 0, 6.25, {{"2000 Rambo", 6.25}}, 2000},
      {"mormor er datter av farens far: (1/2)^(1+3+1)", 3000, 0, 0, 3.125, {{"2000 Rambo", 3.125}}, 2000},
      {"datter av helbroren, mormor datter av væren",
       2000,
       2002,
       0,
       18.75,
       {{"1000 Anton", 6.25}, {"Mor til 2000 (mornr 5555)", 6.25}, {"2000 Rambo", 6.25}},
       2000},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    const TParing p = innavl.Paring(t.ver, t.far, t.morfar, t.mormorfar);
    EXPECT_DOUBLE_EQ(p.lam * 100, t.lam);
    std::vector<std::pair<std::string, double>> aner;
    for (const TFellesAne& a : p.aner) aner.push_back({AneTekst(s, poster, a.dyr), a.andel * 100});
    EXPECT_EQ(aner, t.aner);
    EXPECT_EQ(p.eldreAndel, 0.0);
    EXPECT_EQ(p.ledd, TStiValg{}.maksLedd);
  }

  // Full sibs (two rams of the pedigree as the lamb's parents): both their
  // parents, 12,5 % each, and not their dam's sire.
  const TStiStart r[] = {{s.Finn(2000), 0}}, bror[] = {{s.Finn(2002), 0}};
  const TStiAner sosken = StiAner(innavl, r, bror);
  ASSERT_EQ(sosken.aner.size(), 2u);
  EXPECT_EQ(sosken.aner[0].dyr, s.Finn(1000));
  EXPECT_EQ(sosken.aner[0].andel, 0.125);
  EXPECT_EQ(sosken.aner[1].dyr, s.Mor(s.Finn(2000)));
  EXPECT_EQ(sosken.aner[1].andel, 0.125);

  // Paths cut at fewer generations, or at fewer pairs (a generation fewer
  // until they are few enough): what is cut is "eldre", and the figure stays.
  struct Kutt {
    int maksLedd;
    int64_t maksPar;
    int ledd;
    std::vector<std::pair<std::string, double>> aner;
    double eldre;
  };
  const Kutt kutt[] = {
      {4, 1000000, 4, {{"1000 Anton", 9.375}, {"1001", 0.78125}}, 0.0},
      {3, 1000000, 3, {{"1000 Anton", 9.375}}, 0.78125},
      {2, 1000000, 2, {{"1000 Anton", 6.25}}, 3.90625},
      {1, 1000000, 1, {}, 10.15625},
      {10, 3, 10, {{"1000 Anton", 9.375}, {"1001", 0.78125}}, 0.0},
      {10, 2, 3, {{"1000 Anton", 9.375}}, 0.78125},
      {10, 1, 2, {{"1000 Anton", 6.25}}, 3.90625},
  };
  for (const Kutt& k : kutt) {
    SCOPED_TRACE(std::to_string(k.maksLedd) + " ledd, " + std::to_string(k.maksPar) + " par");
    const TParing p = innavl.Paring(2000, 2001, 2003, 0, 20, TStiValg{k.maksLedd, k.maksPar});
    EXPECT_EQ(p.lam, 0.1015625);
    EXPECT_EQ(p.ledd, k.ledd);
    std::vector<std::pair<std::string, double>> aner;
    for (const TFellesAne& a : p.aner) aner.push_back({AneTekst(s, poster, a.dyr), a.andel * 100});
    EXPECT_EQ(aner, k.aner);
    EXPECT_DOUBLE_EQ(p.eldreAndel * 100, k.eldre);
  }
}

// Followed all the way back, the paths give the lamb's exact figure, on
// random registers with shared dams, numbers without a record, numbers stored
// twice and loops.
TEST(Innavl, WrightsStierHeltTilbakeGirLammetsTall) {
  const TStiValg alle{64, INT64_MAX};
  std::vector<TVerPost> ringer = Generasjoner(7, 8, 120);
  std::mt19937 r(5);
  for (int i = 0; i < 30; ++i) {
    TVerPost p = ringer[r() % ringer.size()];
    (i % 2 ? p.Farnr : p.MorFar) = ringer[r() % ringer.size()].Nummer;
    ringer.push_back(p);
  }
  for (const std::vector<TVerPost>& poster : {Generasjoner(2026, 7, 220), ringer}) {
    const TStamtavle s{poster};
    const TInnavl innavl(s);
    int medAner = 0;
    for (const TParingsvalg& v : Paringer(poster, 23, 300)) {
      SCOPED_TRACE(std::to_string(v.ver) + " x " + std::to_string(v.far) + "/" + std::to_string(v.morfar) + "/" +
                   std::to_string(v.mormorfar));
      const TParing p = innavl.Paring(v.ver, v.far, v.morfar, v.mormorfar, 1000000, alle);
      double sum = 0;
      for (const TFellesAne& a : p.aner) sum += a.andel;
      EXPECT_NEAR(sum, p.lam, 1e-13);
      EXPECT_LT(p.eldreAndel, 1e-13);
      EXPECT_EQ(p.ledd, 64);
      if (p.aner.size() > 1) ++medAner;
    }
    EXPECT_GT(medAner, 30) << "matings with several common ancestors";
  }
}

TEST(Innavl, FullstendighetTellerFemLedd) {
  // A line of 7 generations of rams, each out of a dam by the ram before the
  // sire: every ancestor in five generations is known but the dams' dams.
  std::vector<TVerPost> poster;
  for (int32_t i = 0; i < 8; ++i) poster.push_back(Ver(100 + i, i ? 99 + i : 0, i > 1 ? 98 + i : 0));
  const TStamtavle s{poster};
  const TInnavl innavl(s);
  // Known in generation g of ram 107: sires' lines and dams known through
  // their sires. Count by hand from the ram upwards: 2, 3, 5, 8, 13 (the dams'
  // dams, half of each generation's dams, are never known).
  EXPECT_EQ(innavl.Kjente(s.Finn(107)), 2 + 3 + 5 + 8 + 13);
  EXPECT_EQ(innavl.Kjente(s.Finn(100)), 0);
  EXPECT_EQ(innavl.Kjente(s.Finn(101)), 1);
  EXPECT_EQ(innavl.Kjente(s.Finn(102)), 2 + 2);
}

// ---- the pedigree's rules ----

TEST(Stamtavle, DelteModreOgUkjenteVerer) {
  const std::vector<TVerPost> poster = {
      Ver(10, 0, 500, 77, "Lia"), Ver(11, 0, 500, 77, "Lia"),  // one dam
      Ver(12, 0, 500, 77, "Dal"),                              // another flock: another dam
      Ver(13, 0, 501, 77, "Lia"),                              // another dam's sire: another dam
      Ver(14, 0, 500, 0, "Lia"),  Ver(15, 0, 500, 0, "Lia"),   // no Mornr: a dam each
      Ver(16, 600, 0, 0, ""),     Ver(17, 600, 0, -4, "Lia"),  // nothing known of their dams
      Ver(18, 0, 0, 77, "Lia"),   Ver(19, 0, 0, 77, "Lia"),    // Mornr alone shares too
  };
  const TStamtavle s{poster};
  const auto mor = [&](int32_t nr) { return s.Mor(s.Finn(nr)); };
  EXPECT_EQ(mor(10), mor(11));
  EXPECT_NE(mor(10), mor(12));
  EXPECT_NE(mor(10), mor(13));
  EXPECT_NE(mor(14), mor(15));
  EXPECT_EQ(mor(16), -1);
  EXPECT_EQ(mor(17), -1);
  EXPECT_EQ(mor(18), mor(19));
  EXPECT_EQ(s.Slag(mor(10)), TDyrSlag::Mor);
  EXPECT_EQ(s.Nummer(mor(10)), 77);
  EXPECT_EQ(s.ForsteAvkom(mor(11)), 10);
  EXPECT_EQ(s.Nummer(mor(14)), 0);
  EXPECT_EQ(s.Far(mor(14)), s.Far(mor(15)));
  // 500, 501 and 600 have no record: one animal each, of unknown parents.
  const int32_t u = s.Finn(500);
  ASSERT_GE(u, 0);
  EXPECT_EQ(s.Slag(u), TDyrSlag::UkjentVer);
  EXPECT_EQ(s.Far(mor(10)), u);
  EXPECT_EQ(s.Far(mor(14)), u);
  EXPECT_EQ(s.Far(u), -1);
  EXPECT_EQ(s.Post(u), -1);
  EXPECT_EQ(s.Far(s.Finn(16)), s.Finn(600));
  // 10 rams, 3 numbers without a record, dams: {10,11} 12 13 14 15 {18,19}.
  EXPECT_EQ(s.Antall(), 10 + 3 + 6);
  for (int32_t i = 0; i < s.Antall(); ++i) {
    EXPECT_LT(s.Far(i), i);
    EXPECT_LT(s.Mor(i), i);
  }
  EXPECT_EQ(s.Sloyfer(), 0);
  EXPECT_EQ(SloyfeMelding(0), "");
}

TEST(Stamtavle, LenkenSomLukkerRingenErUkjent) {
  // 100 -> 200 -> 300 -> 100 through sires; 400 its own sire; 500 its own
  // dam's sire. Cut are the links in loops to a parent that comes later:
  // 100's and 200's sires, 400's, and the sire of 500's dam (she comes just
  // before her offspring).
  const std::vector<TVerPost> ring = {
      Ver(300, 100, 0),   Ver(200, 300, 0),   Ver(100, 200, 900), Ver(400, 400, 200),
      Ver(500, 100, 500), Ver(600, 300, 400), Ver(700, 500, 300),
  };
  std::vector<TVerPost> kuttet = ring;
  kuttet[1].Farnr = 0;
  kuttet[2].Farnr = 0;
  kuttet[3].Farnr = 0;
  kuttet[4].MorFar = 0;
  const TStamtavle s{ring};
  const TStamtavle k{kuttet};
  EXPECT_EQ(s.Sloyfer(), 4);
  EXPECT_EQ(k.Sloyfer(), 0);
  EXPECT_EQ(s.Far(s.Finn(100)), -1);
  EXPECT_EQ(s.Far(s.Finn(200)), -1);
  EXPECT_EQ(s.Far(s.Finn(300)), s.Finn(100));
  EXPECT_EQ(s.Far(s.Finn(400)), -1);
  EXPECT_EQ(s.Far(s.Mor(s.Finn(500))), -1);
  EXPECT_EQ(s.Far(s.Finn(500)), s.Finn(100));
  const TInnavl a(s), b(k);
  for (int32_t nr : {100, 200, 300, 400, 500, 600, 700}) {
    EXPECT_EQ(a.F(s.Finn(nr)), b.F(k.Finn(nr))) << nr;
    for (int32_t far : {0, 100, 300, 500}) EXPECT_EQ(a.Lam(nr, far, 200), b.Lam(nr, far, 200)) << nr << " " << far;
  }
  // An old number stored again with parents that descend from it: the old
  // ram loses the new sire that closes the loop, and keeps his place.
  const std::vector<TVerPost> igjen = {Ver(10, 0, 0), Ver(20, 10, 0), Ver(30, 20, 0), Ver(10, 30, 0)};
  const TStamtavle g{igjen};
  EXPECT_EQ(g.Sloyfer(), 1);
  EXPECT_EQ(g.Far(g.Finn(10)), -1);
  EXPECT_EQ(g.Far(g.Finn(30)), g.Finn(20));
  EXPECT_EQ(SloyfeMelding(3),
            C("Stamtavla har 3 lenker som gjør en vær til sin egen stamfar; de er regnet som ukjente."));
  EXPECT_EQ(SloyfeMelding(1),
            C("Stamtavla har 1 lenke som gjør en vær til sin egen stamfar; den er regnet som ukjent."));
}

TEST(Stamtavle, StokkedePosterGirSammeTall) {
  // The same register in another order of records: the same pedigree, bit for bit.
  std::vector<TVerPost> poster = Dyp(9, 3000);
  // A loop, too (a ram's sire made the ram's son): the order of records must
  // not choose the link that is cut.
  const auto ved = [&](int32_t nr) {
    return std::find_if(poster.begin(), poster.end(), [&](const TVerPost& p) { return p.Nummer == nr; });
  };
  const auto sonn = std::find_if(poster.begin(), poster.end(), [](const TVerPost& p) { return p.Farnr > 1905000; });
  ASSERT_NE(sonn, poster.end());
  ved(sonn->Farnr)->Farnr = sonn->Nummer;
  const std::vector<TVerPost> a = poster;
  std::mt19937 r(3);
  std::shuffle(poster.begin(), poster.end(), r);
  const TStamtavle s1{a};
  const TStamtavle s2{poster};
  ASSERT_EQ(s1.Antall(), s2.Antall());
  EXPECT_EQ(s1.Sloyfer(), 1);
  EXPECT_EQ(s2.Sloyfer(), 1);
  for (int32_t i = 0; i < s1.Antall(); ++i) {
    ASSERT_EQ(s1.Far(i), s2.Far(i));
    ASSERT_EQ(s1.Mor(i), s2.Mor(i));
    ASSERT_EQ(s1.Nummer(i), s2.Nummer(i));
    ASSERT_EQ(s1.Slag(i), s2.Slag(i));
    ASSERT_EQ(s1.ForsteAvkom(i), s2.ForsteAvkom(i));
  }
  const TInnavl i1(s1), i2(s2);
  for (int32_t i = 0; i < s1.Antall(); ++i) ASSERT_EQ(i1.F(i), i2.F(i)) << i;
  for (const TParingsvalg& p : Paringer(a, 4, 50)) {
    const TParing p1 = i1.Paring(p.ver, p.far, p.morfar, p.mormorfar),
                  p2 = i2.Paring(p.ver, p.far, p.morfar, p.mormorfar);
    EXPECT_EQ(p1.lam, p2.lam);
    ASSERT_EQ(p1.aner.size(), p2.aner.size());
    for (std::size_t k = 0; k < p1.aner.size(); ++k) {
      EXPECT_EQ(p1.aner[k].dyr, p2.aner[k].dyr);
      EXPECT_EQ(p1.aner[k].andel, p2.aner[k].andel);
    }
  }
}

// A pedigree of some animals and their ancestors gives those animals the
// coefficients, matings and shared ancestors of the whole pedigree; the avl
// data uses it for a mating when not every coefficient is computed.
TEST(Stamtavle, AnerGirSammeTallSomHeleStamtavla) {
  std::vector<TVerPost> poster = Dyp(11, 3000);
  const std::vector<TVerPost> flere = Generasjoner(12, 6, 80);  // numbers stored twice, dams shared
  poster.insert(poster.end(), flere.begin(), flere.end());
  const TStamtavle hel{poster};
  const TInnavl helI(hel);
  for (const TParingsvalg& p : Paringer(poster, 5, 40)) {
    SCOPED_TRACE(std::to_string(p.ver) + " x " + std::to_string(p.far) + "/" + std::to_string(p.morfar));
    const int32_t parter[] = {hel.Finn(p.ver), p.far == 0 ? -1 : hel.Finn(p.far),
                              p.morfar == 0 ? -1 : hel.Finn(p.morfar), p.mormorfar == 0 ? -1 : hel.Finn(p.mormorfar)};
    const TStamtavle del = hel.Aner(parter);
    ASSERT_LE(del.Antall(), hel.Antall());
    EXPECT_EQ(del.Sloyfer(), hel.Sloyfer());
    const TInnavl delI(del);
    // Every animal of the part is the same animal with the same coefficient.
    for (int32_t d = 0; d < del.Antall(); ++d) {
      const int32_t h = del.Slag(d) == TDyrSlag::Mor ? -2 : hel.Finn(del.Nummer(d));
      if (h != -2) {
        ASSERT_GE(h, 0);
        EXPECT_EQ(hel.Far(h) < 0, del.Far(d) < 0);
        EXPECT_NEAR(helI.F(h), delI.F(d), 1e-12) << del.Nummer(d);
      }
      if (del.Slag(d) == TDyrSlag::Ver) {
        EXPECT_EQ(del.DyrForPost(del.Post(d)), d);
      }
    }
    const TParing a = helI.Paring(p.ver, p.far, p.morfar, p.mormorfar),
                  b = delI.Paring(p.ver, p.far, p.morfar, p.mormorfar);
    EXPECT_EQ(a.funnet, b.funnet);
    EXPECT_NEAR(a.lam, b.lam, 1e-12);
    EXPECT_NEAR(a.verF, b.verF, 1e-12);
    EXPECT_EQ(a.lamKjente, b.lamKjente);
    EXPECT_EQ(a.verKjente, b.verKjente);
    ASSERT_EQ(a.aner.size(), b.aner.size());
    for (std::size_t k = 0; k < a.aner.size(); ++k) {
      EXPECT_EQ(hel.Nummer(a.aner[k].dyr), del.Nummer(b.aner[k].dyr));
      EXPECT_NEAR(a.aner[k].andel, b.aner[k].andel, 1e-12);
    }
  }
  // The avl data: the part while the coefficients are not all computed,
  // then the whole pedigree's; the same figure either way.
  TAvlsdata avl;
  avl.Bruk(poster);
  const TParingsvalg p = Paringer(poster, 6, 1)[0];
  const int32_t nummer[] = {p.ver, p.far, p.morfar, p.mormorfar};
  const TInnavl& del = avl.InnavlFor(nummer);
  EXPECT_FALSE(avl.Beregnet());
  EXPECT_LT(del.Stamtavle().Antall(), avl.Stamtavle().Antall());
  const double lam = del.Lam(p.ver, p.far, p.morfar, p.mormorfar);
  avl.Innavl();
  EXPECT_EQ(&avl.InnavlFor(nummer), &avl.Innavl());
  EXPECT_NEAR(avl.Innavl().Lam(p.ver, p.far, p.morfar, p.mormorfar), lam, 1e-12);
}

TEST(Innavl, GamleNummerMedNyeForeldreSomTabellmetoden) {
  // An old number stored again late in the file with recent parents (the
  // later record counts): the old ram's offspring must wait for the new
  // parents, far from their own generation, and the rows they need are
  // dropped and made again, or their pairs computed at the end.
  std::vector<TVerPost> poster = Dyp(4, 3000);
  std::vector<TVerPost> sortert = poster;
  std::sort(sortert.begin(), sortert.end(), [](const TVerPost& a, const TVerPost& b) { return a.Nummer < b.Nummer; });
  for (int i = 0; i < 60; ++i) {
    TVerPost p = sortert[static_cast<std::size_t>(i * 10)];
    p.Farnr = sortert[sortert.size() - 1 - static_cast<std::size_t>(i)].Farnr;
    p.MorFar = sortert[sortert.size() - 1 - static_cast<std::size_t>(i)].MorFar;
    poster.push_back(p);
  }
  TInnavlValg smalt;
  smalt.vindu = 40;
  const TStamtavle s{poster};
  const TInnavl innavl(s, smalt);
  EXPECT_GT(innavl.Vindustall().bredde, 40u);
  EXPECT_GT(innavl.Vindustall().gjenskapt, 0);
  EXPECT_GT(innavl.Vindustall().utsatt, 0);
  SammenlignMedTabell(poster, false);
  SammenlignMedTabell(poster, false, smalt);
}

// ---- what is shown ----

TEST(Slektskap, LinjerForEnParing) {
  const std::vector<TVerPost> kilde = Haandregister();
  const TStamtavle s(kilde);
  const TInnavl innavl(s);
  const std::vector<std::string> halvsoster = SlektskapLinjer(innavl.Paring(2000, 1000, 0), s, kilde);
  const std::vector<std::string> venter = {
      "Innavlsgrad for lammet: 12,50 %",
      C("Værens egen innavlsgrad: 0,00 % (kjente aner i fem ledd: 3 av 62)"),
      "Kjente aner i fem ledd for lammet: 6 av 62",
      "Felles aner (andel av lammets innavlsgrad):",
      "  1000 Anton: 12,50 %",
  };
  EXPECT_EQ(halvsoster, venter);
  // Shares in a dam, a number without a record, and the rest.
  const std::vector<TVerPost> poster = {Ver(10, 0, 500, 77, "Lia"), Ver(11, 0, 500, 77, "Lia")};
  const std::vector<TVerPost>& k2 = poster;
  const TStamtavle s2(k2);
  const TInnavl i2(s2);
  // 10 and 11 of unknown sires out of one dam by 500: the lamb of 10 and a
  // daughter of 11 out of a daughter of 500 gets 9,375 %, 1/16 through the
  // dam and 1/32 through 500 (by the dam of 10 and by the ewe's dam).
  const std::vector<std::string> brodre = SlektskapLinjer(i2.Paring(10, 11, 500, 0, 1), s2, k2);
  ASSERT_EQ(brodre.size(), 6u);
  EXPECT_EQ(brodre[0], "Innavlsgrad for lammet: 9,38 %");
  EXPECT_EQ(brodre[4], "  Mor til 10 (mornr 77): 6,25 %");
  EXPECT_EQ(brodre[5], "  1 andre: 3,13 %");
  EXPECT_EQ(AneTekst(s2, k2, s2.Finn(500)), "500 (ikke i registeret)");
  EXPECT_EQ(SlektskapLinjer(i2.Paring(12, 0, 0), s2, k2),
            std::vector<std::string>{C("Fant ingen vær med kåringsnummer 12.")});
  EXPECT_EQ(SlektskapLinjer(i2.Paring(10, 0, 0), s2, k2).back(), "Ingen felles aner.");

  // What the paths not followed give, as its own line; a line of its own
  // under the heading when no ancestor is near enough.
  const TParing kort = innavl.Paring(2000, 2001, 2003, 0, 20, TStiValg{2, 1000000});
  const std::vector<std::string> eldre = SlektskapLinjer(kort, s, kilde);
  ASSERT_EQ(eldre.size(), 6u);
  EXPECT_EQ(eldre[0], "Innavlsgrad for lammet: 10,16 %");
  EXPECT_EQ(eldre[4], "  1000 Anton: 6,25 %");
  EXPECT_EQ(eldre[5], "  Eldre aner: 3,91 %");
  const std::vector<std::string> bareEldre =
      SlektskapLinjer(innavl.Paring(2000, 2001, 2003, 0, 20, TStiValg{1, 1}), s, kilde);
  ASSERT_EQ(bareEldre.size(), 5u);
  EXPECT_EQ(bareEldre[3], "Felles aner (andel av lammets innavlsgrad):");
  EXPECT_EQ(bareEldre[4], "  Eldre aner: 10,16 %");

  // A sire or dam's sire that is not in the register: no figure, and why.
  struct Mangler {
    int32_t far, morfar;
    const char* linje;
  };
  for (const Mangler& m :
       {Mangler{999999, 0, "Far 999999 finnes ikke i registeret."},
        Mangler{0, 888888, "Morfar 888888 finnes ikke i registeret."},
        Mangler{999999, 888888, "Far 999999 finnes ikke i registeret. Morfar 888888 finnes ikke i registeret."},
        Mangler{2000, 888888, "Morfar 888888 finnes ikke i registeret."}}) {
    SCOPED_TRACE(m.linje);
    const TParing p = innavl.Paring(2000, m.far, m.morfar);
    EXPECT_FALSE(p.Gyldig());
    EXPECT_EQ(
        SlektskapLinjer(p, s, kilde),
        (std::vector<std::string>{C("Innavlsgrad for lammet: –"),
                                  C("Værens egen innavlsgrad: 0,00 % (kjente aner i fem ledd: 3 av 62)"), m.linje}));
  }
  // A number without a record of its own is in the pedigree through its offspring.
  EXPECT_TRUE(i2.Paring(10, 500, 0).Gyldig());
}

TEST(Slektskap, ProsentOgGrense) {
  struct Tilfelle {
    double andel;
    const char* tekst;
    bool ved625;
  };
  const Tilfelle tilfeller[] = {
      {0.0625, "6,25", true},     {0.03125, "3,13", false}, {0.062451, "6,25", true},
      {0.0624449, "6,24", false}, {1.0, "100,00", true},    {0.0, "0,00", false},
  };
  for (const Tilfelle& t : tilfeller) {
    EXPECT_EQ(Prosent(t.andel), t.tekst) << t.andel;
    EXPECT_EQ(VedGrensa(t.andel, 6.25), t.ved625) << t.andel;
  }
  // The program's number format, to the last digit: binary fractions j/2^m
  // as kinships are (1/32 gives the tie 3,125 %), their neighbours, and
  // random values.
  std::mt19937 r(8);
  std::vector<double> verdier;
  for (int m = 1; m <= 14; ++m) {
    for (int j = 0; j <= (1 << m); ++j) {
      const double x = std::ldexp(static_cast<double>(j), -m);
      verdier.insert(verdier.end(), {x, std::nextafter(x, 0.0), std::nextafter(x, 2.0)});
    }
  }
  for (int k = 0; k < 200000; ++k) verdier.push_back(std::ldexp(static_cast<double>(r()), -32));
  verdier.insert(verdier.end(), {-1e-17, 9.99, 12.3456});
  for (double x : verdier) ASSERT_EQ(Prosent(x), FormatN(x * 100.0, 2)) << x;
}

TEST(Slektskap, InnavlstabellEnRadPerVer) {
  std::vector<TVerPost> poster = Haandregister();
  poster.push_back(Ver(4000, 0, 0, 0, "", "eldre post"));
  std::swap(poster.back(), poster[7]);  // the later record of 4000 is the one by A out of A's daughter
  const TStamtavle s(poster);
  const TInnavl innavl(s);
  TTabell t;
  ListInnavl(innavl, poster, t);
  EXPECT_EQ(t.Tittel, InnavlTittel());
  ASSERT_EQ(t.Hoved().Kolonner(), InnavlKolonner);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Værnr."), "Navn", "Innavl %", "Kjente aner av 62"}));
  // One row a ram in file order: the record FindByNumber gives.
  ASSERT_EQ(t.Hoved().Rader(), 1 + 11);
  EXPECT_EQ(t.Hoved().Rad(1)[0], "3000");
  EXPECT_EQ(t.Hoved().Rad(4), (std::vector<std::string>{"2000", "Rambo", "0,00", "3"}));
  int rad4000 = -1;
  for (int r = 1; r < t.Hoved().Rader(); ++r)
    if (t.Hoved().Celle(0, r) == "4000") {
      EXPECT_EQ(rad4000, -1);
      rad4000 = r;
    }
  ASSERT_GT(rad4000, 0);
  EXPECT_EQ(t.Hoved().Celle(2, rad4000), "25,00");
  EXPECT_EQ(t.Hoved().Celle(3, rad4000), "3");
}

TEST(Slektskap, ParingsplanMedRodeCellerOgSnitt) {
  const TStamtavle s{Haandregister()};
  const TInnavl innavl(s);
  const std::vector<TSoye> soyer = {{"11", 2000, 0}, {"12", 1000, 0}, {"13", 0, 1000}, {"14", 0, 0}};
  const TParingsplan plan = LagParingsplan(innavl, soyer, {2000, 555, 2001, 2000});
  EXPECT_EQ(plan.verer, (std::vector<int32_t>{2000, 2001}));
  EXPECT_EQ(plan.ukjente, (std::vector<int32_t>{555}));
  for (std::size_t e = 0; e < soyer.size(); ++e)
    for (std::size_t v = 0; v < plan.verer.size(); ++v)
      EXPECT_EQ(plan.Lam(e, v), innavl.Lam(plan.verer[v], soyer[e].far, soyer[e].morfar));
  EXPECT_EQ(plan.snitt[0], (0.25 + 0.125 + 0.0625) / 4);
  TTabell t;
  ListParingsplan(plan, 6.25, t);  // at the limit is red
  EXPECT_EQ(t.Tittel, ParingsplanTittel());
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Søye"), "Far", "Morfar", "2000", "2001"}));
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"11", "2000", "",
                                                        "\x01"
                                                        "25,00",
                                                        "\x01"
                                                        "6,25"}));
  EXPECT_EQ(t.Hoved().Rad(3), (std::vector<std::string>{"13", "", "1000",
                                                        "\x01"
                                                        "6,25",
                                                        "\x01"
                                                        "6,25"}));
  EXPECT_EQ(t.Hoved().Rad(4), (std::vector<std::string>{"14", "", "", "0,00", "0,00"}));
  EXPECT_EQ(t.Bunn().Rad(0), (std::vector<std::string>{"Snitt", "", "", "10,94", "6,25"}));
  // Just below the limit is not.
  TTabell t2;
  ListParingsplan(plan, 6.26, t2);
  EXPECT_EQ(t2.Hoved().Rad(3), (std::vector<std::string>{"13", "", "1000", "6,25", "6,25"}));
  // The catalogue's mean is the plan's.
  const TInnavlSnitt snitt(innavl, soyer);
  EXPECT_EQ(snitt.Celle(2000), "10,94");
  EXPECT_EQ(snitt.Celle(555), "");
  EXPECT_EQ(TInnavlSnitt(innavl, {}).Celle(2000), "");
  EXPECT_EQ(InnavlStatus(innavl, soyer[1], 2000), C("Søye 12 × 2000: forventet innavl 12,50 % (kjente aner 6 av 62)"));
  EXPECT_EQ(InnavlStatus(innavl, soyer[1], 9), C("Søye 12 × 9: væren er ikke i registeret"));
}

// Ewes with a dam's dam's sire: 1/16·a(ram, him) in every figure, and a
// column of its own in the plan.
TEST(Slektskap, ParingsplanMedMormorsFar) {
  const TStamtavle s{Haandregister()};
  const TInnavl innavl(s);
  // R 2000 and his son 3000; the dams' dams daughters of R.
  const std::vector<TSoye> soyer = {{"21", 0, 0, 2000}, {"22", 2002, 0, 2000}, {"23", 0, 0, 0}};
  const double venter[3][2] = {{0.0625, 0.03125}, {0.1875, 0.09375}, {0.0, 0.0}};
  // More ewes than rams and fewer: the two ways of the block.
  for (const auto& [ss, vv] :
       {std::pair{soyer, std::vector<int32_t>{2000, 3000}},
        std::pair{std::vector<TSoye>(soyer.begin(), soyer.begin() + 1), std::vector<int32_t>{2000, 3000}}}) {
    const TParingsplan plan = LagParingsplan(innavl, ss, vv);
    for (std::size_t e = 0; e < ss.size(); ++e)
      for (std::size_t v = 0; v < 2; ++v) EXPECT_EQ(plan.Lam(e, v), venter[e][v]) << e << " " << v;
  }
  const TParingsplan plan = LagParingsplan(innavl, soyer, {2000, 3000});
  TTabell t;
  ListParingsplan(plan, 6.25, t);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Søye"), "Far", "Morfar", "Mormors far", "2000", "3000"}));
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"21", "", "", "2000",
                                                        "\x01"
                                                        "6,25",
                                                        "3,13"}));
  EXPECT_EQ(t.Hoved().Rad(3), (std::vector<std::string>{"23", "", "", "", "0,00", "0,00"}));
  EXPECT_EQ(t.Bunn().Rad(0), (std::vector<std::string>{"Snitt", "", "", "", "8,33", "4,17"}));
  TTabell tekst;
  ListParingsplan(plan, 6.25, tekst, TSnittrad::SisteRad);
  EXPECT_EQ(tekst.Hoved().Rad(4), (std::vector<std::string>{"Snitt", "", "", "", "8,33", "4,17"}));
  EXPECT_EQ(TInnavlSnitt(innavl, soyer).Celle(2000), "8,33");
  // The catalogue's mean from the pedigree of the rams and the ewes' sires
  // alone: R's son, no ancestor of R, is taken in as a dam's dam's sire.
  TAvlsdata avl;
  avl.Bruk(Haandregister());
  const std::vector<int32_t> r = {2000};
  const auto del = InnavlSnittFor(avl, {{"31", 0, 0, 3000}}, r);
  ASSERT_NE(del, nullptr);
  EXPECT_FALSE(avl.Beregnet());
  EXPECT_EQ(del->Celle(2000), "3,13");
  EXPECT_EQ(InnavlStatus(innavl, soyer[0], 2000), C("Søye 21 × 2000: forventet innavl 6,25 % (kjente aner 10 av 62)"));
  // Not in the pedigree: said with the others.
  EXPECT_EQ(ManglerTekst(s, TSoye{"24", 999, 0, 888}),
            "Far 999 finnes ikke i registeret. Mormors far 888 finnes ikke i registeret.");
}

TEST(Slektskap, RegnesForstNaarDetTrengsOgGlemmesVedNyLasting) {
  // Each computation of the coefficients is heard by the hook, start and end.
  std::vector<bool> hort;
  TAvlsdata avl;
  avl.VedBeregning = [&](bool start) { hort.push_back(start); };
  avl.Bruk(Haandregister());
  EXPECT_FALSE(avl.Beregnet());
  EXPECT_EQ(avl.NySloyfeMelding(), "");
  EXPECT_TRUE(hort.empty());
  EXPECT_EQ(avl.Innavl().Lam(2000, 2000, 0), 0.25);
  EXPECT_EQ(avl.Innavl().Lam(2000, 1000, 0), 0.125);
  EXPECT_EQ(hort, (std::vector<bool>{true, false}));
  EXPECT_TRUE(avl.Beregnet());
  // A new register: the old figures go, the new ones come from the new records.
  std::vector<TVerPost> ny = Haandregister();
  ny[3].Farnr = 0;  // 2000 no longer by 1000
  avl.Bruk(ny);
  EXPECT_FALSE(avl.Beregnet());
  EXPECT_EQ(avl.Innavl().Lam(2000, 1000, 0), 0.0);
  EXPECT_EQ(hort.size(), 4u);
  avl.Glem();
  EXPECT_EQ(avl.Stamtavle().Antall(), avl.Innavl().Stamtavle().Antall());
  EXPECT_EQ(hort.size(), 6u);
  // No register at all: an empty pedigree.
  TAvlsdata tom;
  EXPECT_EQ(tom.Stamtavle().Antall(), 0);
  EXPECT_FALSE(tom.Innavl().Paring(1, 0, 0).funnet);
}

TEST(Slektskap, SloyfemeldingEnGangPerLasting) {
  // 100 and 200 each other's sires: one link cut.
  const std::vector<TVerPost> ring = {Ver(100, 200, 0), Ver(200, 100, 0), Ver(300, 100, 0)};
  const std::string melding = SloyfeMelding(1);
  ASSERT_FALSE(melding.empty());
  TAvlsdata avl;
  avl.Bruk(ring);
  avl.Stamtavle();
  EXPECT_EQ(avl.NySloyfeMelding(), "");  // told once the coefficients are there
  avl.Innavl();
  EXPECT_EQ(avl.NySloyfeMelding(), melding);
  EXPECT_EQ(avl.NySloyfeMelding(), "");
  avl.Innavl();
  EXPECT_EQ(avl.NySloyfeMelding(), "");
  // A new load tells again.
  avl.Bruk(ring);
  avl.Innavl();
  EXPECT_EQ(avl.NySloyfeMelding(), melding);
}

TEST(Slektskap, RegisterLastetPaaNyttHolderDeGamlePostene) {
  // The figures of a load stay those of its records while the register
  // loads a replaced Verene.Dat, until Bruk is called again.
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Haandregister());
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  TAvlsdata avl;
  avl.Bruk(reg);
  std::vector<TVerPost> ny = Haandregister();
  ny[3].Farnr = 0;
  const std::filesystem::path tmp = m / "ny.Dat";
  SkrivVerFil(tmp, ny);
  std::filesystem::rename(tmp, m / "Verene.Dat");
  reg.LoadRegister();
  EXPECT_EQ(avl.Innavl().Lam(2000, 1000, 0), 0.125);
  avl.Bruk(reg);
  EXPECT_EQ(avl.Innavl().Lam(2000, 1000, 0), 0.0);
  EXPECT_EQ(avl.Poster().size(), ny.size());
}

}  // namespace
