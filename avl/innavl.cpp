#include "innavl.h"

#include <algorithm>
#include <climits>
#include <queue>
#include <stdexcept>

#include "stier.h"

namespace {

inline std::size_t Z(int32_t i) { return static_cast<std::size_t>(i); }

}  // namespace

TInnavl::TInnavl(const TStamtavle& s, const TInnavlValg& valg) : s_(s) {
  const int32_t n = s.Antall();
  f_.assign(Z(n), 0.0);

  // How far down each animal's offspring reach (0, 1, 2 or more generations).
  hoyde_.assign(Z(n), 0);
  for (int32_t i = n - 1; i >= 0; --i) {
    const uint8_t h = static_cast<uint8_t>(std::min(2, hoyde_[Z(i)] + 1));
    for (int32_t p : {s.Far(i), s.Mor(i)})
      if (p >= 0 && hoyde_[Z(p)] < h) hoyde_[Z(p)] = h;
  }

  // Known ancestors in one to four generations.
  kjente_.assign(Z(n) * 4, 0);
  {
    std::vector<uint8_t> kjent(Z(n));
    for (int32_t i = 0; i < n; ++i) kjent[Z(i)] = s.Kjent(i) ? 1 : 0;
    for (int32_t i = 0; i < n; ++i) {
      uint8_t* k = &kjente_[Z(i) * 4];
      for (int32_t p : {s.Far(i), s.Mor(i)}) {
        if (p < 0) continue;
        const uint8_t* kp = &kjente_[Z(p) * 4];
        k[0] = static_cast<uint8_t>(k[0] + kjent[Z(p)]);
        for (int g = 1; g < 4; ++g) k[g] = static_cast<uint8_t>(k[g] + kjent[Z(p)] + kp[g - 1]);
      }
    }
  }

  dyptAv_.assign(Z(n), -1);
  for (int32_t i = 0; i < n; ++i) {
    if (hoyde_[Z(i)] < 2) continue;
    dyptAv_[Z(i)] = static_cast<int32_t>(dypt_.size());
    dypt_.push_back(i);
  }

  dFar_.resize(dypt_.size());
  dMor_.resize(dypt_.size());
  dD_.assign(dypt_.size(), 0.0);
  sFar_.resize(dypt_.size());
  sMor_.resize(dypt_.size());
  for (std::size_t e = 0; e < dypt_.size(); ++e) {
    const int32_t x = dypt_[e];
    dFar_[e] = s.Far(x) >= 0 ? dyptAv_[Z(s.Far(x))] : -1;
    dMor_[e] = s.Mor(x) >= 0 ? dyptAv_[Z(s.Mor(x))] : -1;
    sFar_[e] = dFar_[e] >= 0 ? dFar_[e] : static_cast<int32_t>(dypt_.size());
    sMor_[e] = dMor_[e] >= 0 ? dMor_[e] : static_cast<int32_t>(dypt_.size());
  }
  if (valg.meuwissenLuo) {
    MeuwissenLuo();
    for (std::size_t e = 0; e < dypt_.size(); ++e) dD_[e] = D(dypt_[e]);
  } else {
    Vindusmetoden(std::max<std::size_t>(valg.vindu, 16));
  }
  t_.assign(dypt_.size() * 2, 0.0);
}

namespace {

// A term w·a(p, q) of a coefficient, p and q entries of the animals with grandoffspring.
struct TLedd {
  double w;
  int32_t p, q;
};

// A term left for the end: animal `dyr` gets w·a(p, q).
struct TUtsatt {
  int32_t dyr;
  double w;
  int32_t p, q;
};

constexpr int32_t Aldri = INT32_MAX;

}  // namespace

void TInnavl::Kolonner(const int32_t* e, int antall, int32_t til) const {
  constexpr std::size_t B = 4;
  const std::size_t sluk = dypt_.size();  // the row that takes what goes to unknown parents
  if (u_.size() != (sluk + 1) * B) u_.assign((sluk + 1) * B, 0.0);
  int32_t topp = -1;
  for (int b = 0; b < antall; ++b) topp = std::max(topp, e[b]);
  double* u = u_.data();
  std::fill(u, u + Z(topp + 1) * B, 0.0);
  std::fill(u + sluk * B, u + (sluk + 1) * B, 0.0);
  for (int b = 0; b < antall; ++b) u[Z(e[b]) * B + Z(b)] = 1.0;
  const int32_t* pf = sFar_.data();
  const int32_t* pm = sMor_.data();
  // Up: T'c, from the youngest to the oldest, half to each parent.
  for (int32_t k = topp; k >= 0; --k) {
    const double* r = u + Z(k) * B;
    double* f = u + Z(pf[k]) * B;
    double* m = u + Z(pm[k]) * B;
    for (std::size_t b = 0; b < B; ++b) {
      const double h = 0.5 * r[b];
      f[b] += h;
      m[b] += h;
    }
  }
  std::fill(u + sluk * B, u + (sluk + 1) * B, 0.0);
  // Down: T D u, each its own part and half of each parent's (nothing of its
  // own beyond the youngest reached upwards).
  const int32_t midt = std::min(topp + 1, til);
  for (int32_t k = 0; k < midt; ++k) {
    double* r = u + Z(k) * B;
    const double* f = u + Z(pf[k]) * B;
    const double* m = u + Z(pm[k]) * B;
    const double d = dD_[Z(k)];
    for (std::size_t b = 0; b < B; ++b) r[b] = r[b] * d + 0.5 * (f[b] + m[b]);
  }
  for (int32_t k = midt; k < til; ++k) {
    double* r = u + Z(k) * B;
    const double* f = u + Z(pf[k]) * B;
    const double* m = u + Z(pm[k]) * B;
    for (std::size_t b = 0; b < B; ++b) r[b] = 0.5 * (f[b] + m[b]);
  }
}

void TInnavl::Vindusmetoden(std::size_t maksRader) {
  const TStamtavle& s = s_;
  const int32_t n = s.Antall();
  const int32_t antDypt = static_cast<int32_t>(dypt_.size());

  // The terms of the coefficient of an animal without grandoffspring: ½a(s, d)
  // with every animal without grandoffspring replaced by its parents.
  std::vector<TLedd> ledd;
  const auto utvid = [&](const auto& selv, int32_t x, int32_t y, double w) -> void {
    if (x < 0 || y < 0) return;
    if (hoyde_[Z(x)] < 2) {
      selv(selv, s.Far(x), y, 0.5 * w);
      selv(selv, s.Mor(x), y, 0.5 * w);
    } else if (hoyde_[Z(y)] < 2) {
      selv(selv, x, s.Far(y), 0.5 * w);
      selv(selv, x, s.Mor(y), 0.5 * w);
    } else {
      ledd.push_back(TLedd{w, dyptAv_[Z(x)], dyptAv_[Z(y)]});
    }
  };
  const auto leddFor = [&](int32_t i) {
    ledd.clear();
    utvid(utvid, s.Far(i), s.Mor(i), 0.5);
  };
  // Calls f(entry, animal) for every use of a row, in order.
  const auto hverBruk = [&](const auto& f) {
    for (int32_t i = 0; i < n; ++i) {
      if (hoyde_[Z(i)] >= 2) {
        f(dyptAv_[Z(i)], i);
        for (int32_t p : {s.Far(i), s.Mor(i)})
          if (p >= 0) f(dyptAv_[Z(p)], i);
      } else {
        leddFor(i);
        for (const TLedd& t : ledd) {
          f(t.p, i);
          f(t.q, i);
        }
      }
    }
  };
  std::vector<int32_t> start(Z(antDypt) + 1, 0), bruk;
  hverBruk([&](int32_t e, int32_t) { ++start[Z(e) + 1]; });
  for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
  bruk.resize(Z(start.back()));
  {
    std::vector<int32_t> fyll(start.begin(), start.end() - 1);
    hverBruk([&](int32_t e, int32_t i) { bruk[Z(fyll[Z(e)]++)] = i; });
  }
  std::vector<int32_t> peker(start.begin(), start.end() - 1);  // the next use not yet passed
  const auto neste = [&](int32_t e) { return peker[Z(e)] < start[Z(e) + 1] ? bruk[Z(peker[Z(e)])] : Aldri; };
  const auto forbi = [&](int32_t e, int32_t i) {
    while (peker[Z(e)] < start[Z(e) + 1] && bruk[Z(peker[Z(e)])] <= i) ++peker[Z(e)];
  };

  // Rows the pedigree would need with nothing dropped.
  {
    std::vector<int32_t> dor(Z(n) + 1, 0);
    for (int32_t e = 0; e < antDypt; ++e) {
      ++dor[Z(dypt_[Z(e)])];
      --dor[Z(bruk[Z(start[Z(e) + 1] - 1)]) + 1];
    }
    int64_t levende = 0;
    for (int32_t i = 0; i < n; ++i) {
      levende += dor[Z(i)];
      vindustall_.bredde = std::max(vindustall_.bredde, static_cast<std::size_t>(levende));
    }
  }
  const std::size_t w = std::min(vindustall_.bredde, maksRader);
  vindustall_.rader = w;
  std::vector<double> m(w * w);

  // 0 not born, 1 in the window, 2 dropped, 3 needed no more.
  std::vector<uint8_t> status(Z(antDypt), 0);
  std::vector<int32_t> plass(Z(antDypt), -1), iPlass(w, -1), ledige;
  std::size_t brukt = 0;
  // A row holds the kinship with the rows that were there when it was made;
  // a(x, y) is read from the row of the one made later (no column is written).
  std::vector<int64_t> laget(w, 0);  // when each slot's row was made
  int64_t klokke = 0;
  std::vector<std::pair<int64_t, int32_t>> liste;  // (made, slot) of the rows, oldest first; some gone
  std::size_t borte = 0;                           // entries of `liste` whose row is gone
  const auto verdi = [&](std::size_t x, std::size_t y) { return laget[y] <= laget[x] ? m[x * w + y] : m[y * w + x]; };
  const auto ny = [&](std::size_t p) {
    laget[p] = ++klokke;
    liste.push_back({klokke, static_cast<int32_t>(p)});
  };
  using TPar = std::pair<int32_t, int32_t>;                                  // (next use, entry)
  std::priority_queue<TPar> lengst;                                          // in the window
  std::priority_queue<TPar, std::vector<TPar>, std::greater<TPar>> snarest;  // dropped
  int32_t fodt = 0;                                                          // entries born so far
  bool fylt = false;  // the window has been full: the order of next uses is kept from then on

  const auto slipp = [&](int32_t e) {
    const std::size_t p = Z(plass[Z(e)]);
    plass[Z(e)] = -1;
    iPlass[p] = -1;
    laget[p] = 0;
    ledige.push_back(static_cast<int32_t>(p));
    if (++borte > liste.size() / 2) {
      std::erase_if(liste, [&](const std::pair<int64_t, int32_t>& l) { return laget[Z(l.second)] != l.first; });
      borte = 0;
    }
  };
  // A slot for e, dropping the row needed again last (never one needed at `i`).
  const auto ta = [&](int32_t e, int32_t i) {
    if (ledige.empty() && brukt == w) {
      if (!fylt) {
        fylt = true;
        for (std::size_t q = 0; q < w; ++q)
          if (iPlass[q] >= 0) lengst.push({neste(iPlass[q]), iPlass[q]});
      }
      std::vector<TPar> naa;
      while (true) {
        if (lengst.empty()) throw std::logic_error("innavl: vinduet er for lite");
        const TPar t = lengst.top();
        lengst.pop();
        if (status[Z(t.second)] != 1 || t.first != neste(t.second)) continue;
        if (t.first <= i) {
          naa.push_back(t);
          continue;
        }
        status[Z(t.second)] = 2;
        slipp(t.second);
        snarest.push(t);
        break;
      }
      for (const TPar& t : naa) lengst.push(t);
    }
    std::size_t p;
    if (!ledige.empty()) {
      p = Z(ledige.back());
      ledige.pop_back();
    } else {
      p = brukt++;
    }
    plass[Z(e)] = static_cast<int32_t>(p);
    iPlass[p] = e;
    status[Z(e)] = 1;
  };
  // Brings dropped rows back (those needed at `i`, and those needed next if
  // they are needed before a row of the window), four at a time.
  const auto hent = [&](std::vector<int32_t>& trengs, int32_t i) {
    while (!snarest.empty() && trengs.size() % 4 != 0) {
      const TPar t = snarest.top();
      if (status[Z(t.second)] != 2 || t.first != neste(t.second) || t.first <= i) {
        snarest.pop();
        continue;
      }
      if (lengst.empty() || t.first >= lengst.top().first || w < 32) break;
      snarest.pop();
      trengs.push_back(t.second);
    }
    for (std::size_t k0 = 0; k0 < trengs.size(); k0 += 4) {
      const int antall = static_cast<int>(std::min<std::size_t>(4, trengs.size() - k0));
      Kolonner(&trengs[k0], antall, fodt);
      // All get their slots before any of them may be dropped again.
      for (int b = 0; b < antall; ++b) ta(trengs[k0 + Z(b)], i);
      if (fylt)
        for (int b = 0; b < antall; ++b) lengst.push({neste(trengs[k0 + Z(b)]), trengs[k0 + Z(b)]});
      for (int b = 0; b < antall; ++b) {
        const int32_t e = trengs[k0 + Z(b)];
        const std::size_t p = Z(plass[Z(e)]);
        ny(p);
        double* rad = &m[p * w];
        for (const auto& [t, q] : liste)
          if (laget[Z(q)] == t) rad[q] = u_[Z(iPlass[Z(q)]) * 4 + Z(b)];
        rad[p] = 1.0 + f_[Z(dypt_[Z(e)])];
        ++vindustall_.gjenskapt;
      }
    }
    trengs.clear();
  };
  // After animal i: the rows it used move on to their next use, or go.
  const auto videre = [&](int32_t e, int32_t i) {
    if (status[Z(e)] == 3) return;
    forbi(e, i);
    const int32_t nx = neste(e);
    if (nx == Aldri) {
      if (status[Z(e)] == 1) slipp(e);
      status[Z(e)] = 3;
    } else if (status[Z(e)] == 1) {
      if (fylt) lengst.push({nx, e});
    } else if (status[Z(e)] == 2) {
      snarest.push({nx, e});
    }
  };

  std::vector<TUtsatt> utsatt;
  std::vector<int32_t> trengs;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t sf = s.Far(i), sm = s.Mor(i);
    if (hoyde_[Z(i)] >= 2) {
      const int32_t e = dyptAv_[Z(i)];
      const int32_t a = sf >= 0 ? dyptAv_[Z(sf)] : -1, b = sm >= 0 ? dyptAv_[Z(sm)] : -1;
      for (int32_t x : {a, b})
        if (x >= 0 && status[Z(x)] == 2 && std::find(trengs.begin(), trengs.end(), x) == trengs.end())
          trengs.push_back(x);
      if (!trengs.empty()) hent(trengs, i);
      ta(e, i);
      const std::size_t p = Z(plass[Z(e)]);
      double* rad = &m[p * w];
      const int32_t pa = a >= 0 ? plass[Z(a)] : -1, pb = b >= 0 ? plass[Z(b)] : -1;
      // The rows that were there, oldest first: each parent's own row holds
      // those made before it, the later ones hold the parent.
      for (const auto& [t, q] : liste) {
        if (laget[Z(q)] != t) continue;
        double v = 0.0;
        if (pa >= 0) v += verdi(Z(pa), Z(q));
        if (pb >= 0) v += verdi(Z(pb), Z(q));
        rad[q] = 0.5 * v;
      }
      const double f = (pa >= 0 && pb >= 0) ? 0.5 * verdi(Z(pa), Z(pb)) : 0.0;
      f_[Z(i)] = f;
      rad[p] = 1.0 + f;
      ny(p);
      dD_[Z(e)] = D(i);
      ++fodt;
      for (int32_t x : {a, b, e})
        if (x >= 0) videre(x, i);
    } else if (sf >= 0 && sm >= 0) {
      leddFor(i);
      double f = 0.0;
      for (const TLedd& t : ledd) {
        if (status[Z(t.p)] == 1 && status[Z(t.q)] == 1)
          f += t.w * verdi(Z(plass[Z(t.p)]), Z(plass[Z(t.q)]));
        else
          utsatt.push_back(TUtsatt{i, t.w, t.p, t.q});
      }
      f_[Z(i)] = f;
      for (const TLedd& t : ledd) {
        videre(t.p, i);
        videre(t.q, i);
      }
    }
  }
  m = std::vector<double>();

  // The pairs left: each by the entry it shares with the most others, four
  // entries a pass.
  vindustall_.utsatt = static_cast<int64_t>(utsatt.size());
  if (utsatt.empty()) return;
  std::vector<int32_t> antall(Z(antDypt), 0);
  for (const TUtsatt& t : utsatt) {
    ++antall[Z(t.p)];
    ++antall[Z(t.q)];
  }
  for (TUtsatt& t : utsatt)
    if (antall[Z(t.q)] > antall[Z(t.p)] || (antall[Z(t.q)] == antall[Z(t.p)] && t.q > t.p)) std::swap(t.p, t.q);
  std::sort(utsatt.begin(), utsatt.end(),
            [](const TUtsatt& x, const TUtsatt& y) { return x.p != y.p ? x.p < y.p : x.dyr < y.dyr; });
  std::size_t k = 0;
  while (k < utsatt.size()) {
    int32_t e[4];
    int antallE = 0;
    std::size_t slutt = k;
    int32_t til = 0;
    while (slutt < utsatt.size() && (antallE < 4 || utsatt[slutt].p == e[antallE - 1])) {
      if (antallE == 0 || utsatt[slutt].p != e[antallE - 1]) e[antallE++] = utsatt[slutt].p;
      til = std::max(til, utsatt[slutt].q + 1);
      ++slutt;
    }
    Kolonner(e, antallE, std::max(til, e[antallE - 1] + 1));
    ++vindustall_.kolonner;
    for (; k < slutt; ++k) {
      const TUtsatt& t = utsatt[k];
      const int b = static_cast<int>(std::find(e, e + antallE, t.p) - e);
      f_[Z(t.dyr)] += t.w * u_[Z(t.q) * 4 + Z(b)];
    }
  }
}

void TInnavl::MeuwissenLuo() {
  const TStamtavle& s = s_;
  const int32_t n = s.Antall();
  std::vector<double> d(Z(n)), l(Z(n), 0.0);
  std::vector<uint8_t> iListe(Z(n), 0);
  std::priority_queue<int32_t> liste;  // the ancestors still to be taken, youngest first
  for (int32_t i = 0; i < n; ++i) {
    const int32_t sf = s.Far(i), sm = s.Mor(i);
    d[Z(i)] = D(i);  // the parents' F are known by now
    if (sf < 0 || sm < 0) {
      f_[Z(i)] = 0.0;
      continue;
    }
    double sum = 0.0;
    l[Z(i)] = 1.0;
    iListe[Z(i)] = 1;
    liste.push(i);
    while (!liste.empty()) {
      const int32_t j = liste.top();
      liste.pop();
      const double lj = l[Z(j)];
      sum += lj * lj * d[Z(j)];
      for (int32_t p : {s.Far(j), s.Mor(j)}) {
        if (p < 0) continue;
        if (!iListe[Z(p)]) {
          iListe[Z(p)] = 1;
          liste.push(p);
        }
        l[Z(p)] += 0.5 * lj;
      }
      l[Z(j)] = 0.0;
      iListe[Z(j)] = 0;
    }
    f_[Z(i)] = sum - 1.0;
  }
}

double TInnavl::D(int32_t dyr) const {
  const int32_t sf = s_.Far(dyr), sm = s_.Mor(dyr);
  if (sf >= 0 && sm >= 0) return 0.5 - 0.25 * (f_[Z(sf)] + f_[Z(sm)]);
  if (sf >= 0) return 0.75 - 0.25 * f_[Z(sf)];
  if (sm >= 0) return 0.75 - 0.25 * f_[Z(sm)];
  return 1.0;
}

int TInnavl::Kjente(int32_t dyr) const {
  int k = 0;
  for (int32_t p : {s_.Far(dyr), s_.Mor(dyr)})
    if (p >= 0) k += (s_.Kjent(p) ? 1 : 0) + kjente_[Z(p) * 4 + 3];
  return k;
}

int TInnavl::LamKjente(int32_t dyr, int32_t far, int32_t morfar, int32_t mormorfar) const {
  // The ram and the ewe, the ram's four generations, and the ewe's: her sire
  // and his three, her dam (known through her sire or her dam's sire), the
  // dam's sire and his two, the dam's dam (known through her sire), her sire
  // and his parents.
  int k = 2;
  if (dyr >= 0) k += kjente_[Z(dyr) * 4 + 3];
  if (far != 0) {
    const int32_t sf = s_.Finn(far);
    k += 1 + (sf >= 0 ? kjente_[Z(sf) * 4 + 2] : 0);
  }
  if (morfar != 0 || mormorfar != 0) ++k;
  if (morfar != 0) {
    const int32_t mf = s_.Finn(morfar);
    k += 1 + (mf >= 0 ? kjente_[Z(mf) * 4 + 1] : 0);
  }
  if (mormorfar != 0) {
    const int32_t mmf = s_.Finn(mormorfar);
    k += 2 + (mmf >= 0 ? kjente_[Z(mmf) * 4] : 0);
  }
  return k;
}

void TInnavl::Fro(int side, int32_t dyr, double w, int32_t& hoyeste) const {
  if (dyr < 0 || w == 0.0) return;
  const int32_t e = dyptAv_[Z(dyr)];
  if (e >= 0) {
    t_[Z(e) * 2 + Z(side)] += w;
    hoyeste = std::max(hoyeste, e);
    return;
  }
  auto it = std::find_if(egne_.begin(), egne_.end(), [&](const TEgen& g) { return g.dyr == dyr; });
  if (it == egne_.end()) {
    egne_.push_back(TEgen{dyr, {0.0, 0.0}});
    it = egne_.end() - 1;
  }
  it->w[side] += w;
  Fro(side, s_.Far(dyr), 0.5 * w, hoyeste);
  Fro(side, s_.Mor(dyr), 0.5 * w, hoyeste);
}

double TInnavl::Paringspass(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar) const {
  egne_.clear();
  int32_t hoyeste = -1;
  Fro(0, ver, 1.0, hoyeste);
  // The ewe: half her sire, half her dam; the dam: half her sire, half her
  // dam; the dam's dam: half her sire.
  if (far != 0) Fro(1, s_.Finn(far), 0.5, hoyeste);
  if (morfar != 0) Fro(1, s_.Finn(morfar), 0.25, hoyeste);
  if (mormorfar != 0) Fro(1, s_.Finn(mormorfar), 0.125, hoyeste);

  double sum = 0.0;
  for (const TEgen& g : egne_) {
    if (g.w[0] == 0.0 || g.w[1] == 0.0) continue;
    sum += 0.5 * g.w[0] * g.w[1] * D(g.dyr);
  }
  double* t = t_.data();
  for (int32_t e = hoyeste; e >= 0; --e) {
    const double a = t[Z(e) * 2], b = t[Z(e) * 2 + 1];
    if (a == 0.0 && b == 0.0) continue;
    t[Z(e) * 2] = t[Z(e) * 2 + 1] = 0.0;
    if (a != 0.0 && b != 0.0) sum += 0.5 * a * b * dD_[Z(e)];
    const double ha = 0.5 * a, hb = 0.5 * b;
    if (const int32_t f = dFar_[Z(e)]; f >= 0) {
      t[Z(f) * 2] += ha;
      t[Z(f) * 2 + 1] += hb;
    }
    if (const int32_t m = dMor_[Z(e)]; m >= 0) {
      t[Z(m) * 2] += ha;
      t[Z(m) * 2 + 1] += hb;
    }
  }
  return sum;
}

double TInnavl::Lam(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar) const {
  const int32_t r = s_.Finn(ver);
  return r < 0 ? 0.0 : Paringspass(r, far, morfar, mormorfar);
}

TParing TInnavl::Paring(int32_t ver, int32_t far, int32_t morfar, int32_t mormorfar, std::size_t maksAner,
                        const TStiValg& stier) const {
  TParing p;
  p.ver = ver;
  p.far = far;
  p.morfar = morfar;
  p.mormorfar = mormorfar;
  const int32_t sf = far != 0 ? s_.Finn(far) : -1;
  const int32_t mf = morfar != 0 ? s_.Finn(morfar) : -1;
  const int32_t mmf = mormorfar != 0 ? s_.Finn(mormorfar) : -1;
  p.farMangler = far != 0 && sf < 0;
  p.morfarMangler = morfar != 0 && mf < 0;
  p.mormorfarMangler = mormorfar != 0 && mmf < 0;
  const int32_t r = s_.Finn(ver);
  if (r < 0) return p;
  p.funnet = true;
  p.verDyr = r;
  p.verF = F(r);
  p.verKjente = Kjente(r);
  p.lamKjente = LamKjente(r, far, morfar, mormorfar);
  p.lam = Paringspass(r, far, morfar, mormorfar);

  // The ram's paths start at him; the ewe's at her sire, one generation up,
  // at her dam's sire, two up, and at her dam's dam's sire, three up (neither
  // she nor her dam nor the dam's dam is in the pedigree).
  const TStiStart fra[] = {{r, 0}};
  const TStiStart til[] = {{sf, 1}, {mf, 2}, {mmf, 3}};
  TStiAner funnet = StiAner(*this, fra, til, stier);
  std::vector<TFellesAne>& alle = funnet.aner;
  p.ledd = funnet.ledd;
  double sum = 0.0;
  for (const TFellesAne& a : alle) sum += a.andel;
  p.eldreAndel = std::max(0.0, p.lam - sum);
  const auto storre = [](const TFellesAne& a, const TFellesAne& b) {
    return a.andel != b.andel ? a.andel > b.andel : a.dyr < b.dyr;
  };
  std::size_t vis = alle.size();
  if (alle.size() > maksAner) {
    std::nth_element(alle.begin(), alle.begin() + static_cast<std::ptrdiff_t>(maksAner), alle.end(), storre);
    for (std::size_t i = maksAner; i < alle.size(); ++i) p.restAndel += alle[i].andel;
    p.restAntall = static_cast<int64_t>(alle.size() - maksAner);
    vis = maksAner;
  }
  p.aner.assign(alle.begin(), alle.begin() + static_cast<std::ptrdiff_t>(vis));
  std::sort(p.aner.begin(), p.aner.end(), storre);
  return p;
}

std::vector<double> TInnavl::Blokk(const std::vector<TKolonne>& kolonner, const std::vector<int32_t>& rader,
                                   bool alleRader) const {
  const TStamtavle& s = s_;
  const int32_t n = s.Antall();
  const std::size_t antKol = kolonner.size();
  const std::size_t antRad = alleRader ? Z(n) : rader.size();
  std::vector<double> ut(antRad * antKol, 0.0);
  if (antKol == 0 || antRad == 0) return ut;

  // The animals involved and their ancestors, in order.
  std::vector<int32_t> plass;  // place of each animal among them, or -1
  std::vector<int32_t> med;    // the animals
  if (alleRader) {
    med.resize(Z(n));
    for (int32_t i = 0; i < n; ++i) med[Z(i)] = i;
  } else {
    std::vector<uint8_t> merke(Z(n), 0);
    int32_t hoy = -1;
    const auto merk = [&](int32_t x) {
      if (x < 0) return;
      merke[Z(x)] = 1;
      hoy = std::max(hoy, x);
    };
    for (int32_t x : rader) merk(x);
    for (const TKolonne& k : kolonner)
      for (const auto& [x, w] : k) merk(x);
    for (int32_t i = hoy; i >= 0; --i) {
      if (!merke[Z(i)]) continue;
      if (s.Far(i) >= 0) merke[Z(s.Far(i))] = 1;
      if (s.Mor(i) >= 0) merke[Z(s.Mor(i))] = 1;
    }
    plass.assign(Z(n), -1);
    for (int32_t i = 0; i <= hoy; ++i) {
      if (!merke[Z(i)]) continue;
      plass[Z(i)] = static_cast<int32_t>(med.size());
      med.push_back(i);
    }
  }
  const auto plassAv = [&](int32_t x) { return alleRader ? x : plass[Z(x)]; };
  const std::size_t k = med.size();
  const std::size_t sluk = k;  // a row that takes what goes to unknown parents
  std::vector<int32_t> rf(k), rm(k);
  std::vector<double> rd(k);
  for (std::size_t j = 0; j < k; ++j) {
    const int32_t x = med[j];
    rf[j] = s.Far(x) >= 0 ? plassAv(s.Far(x)) : static_cast<int32_t>(sluk);
    rm[j] = s.Mor(x) >= 0 ? plassAv(s.Mor(x)) : static_cast<int32_t>(sluk);
    rd[j] = D(x);
  }
  int32_t sisteRad = -1;
  std::vector<int32_t> radPlass(antRad);
  for (std::size_t r = 0; r < antRad; ++r) {
    radPlass[r] = alleRader ? static_cast<int32_t>(r) : (rader[r] >= 0 ? plassAv(rader[r]) : -1);
    sisteRad = std::max(sisteRad, radPlass[r]);
  }

  const std::size_t bred = std::min<std::size_t>(8, antKol);
  std::vector<double> u((k + 1) * bred);
  for (std::size_t k0 = 0; k0 < antKol; k0 += bred) {
    const std::size_t nb = std::min(bred, antKol - k0);
    std::fill(u.begin(), u.end(), 0.0);
    int32_t topp = -1;
    for (std::size_t b = 0; b < nb; ++b) {
      for (const auto& [x, w] : kolonner[k0 + b]) {
        if (x < 0) continue;
        const int32_t j = plassAv(x);
        u[Z(j) * bred + b] += w;
        topp = std::max(topp, j);
      }
    }
    // u = T'c: from the youngest to the oldest, half to each parent.
    for (int32_t j = topp; j >= 0; --j) {
      const double* rad = &u[Z(j) * bred];
      double* f = &u[Z(rf[Z(j)]) * bred];
      double* m = &u[Z(rm[Z(j)]) * bred];
      for (std::size_t b = 0; b < bred; ++b) {
        const double h = 0.5 * rad[b];
        f[b] += h;
        m[b] += h;
      }
    }
    std::fill(u.begin() + static_cast<std::ptrdiff_t>(sluk * bred), u.end(), 0.0);
    // y = T D u: from the oldest on, each animal its own part and half of each parent's.
    for (int32_t j = 0; j <= sisteRad; ++j) {
      double* rad = &u[Z(j) * bred];
      const double* f = &u[Z(rf[Z(j)]) * bred];
      const double* m = &u[Z(rm[Z(j)]) * bred];
      const double dj = rd[Z(j)];
      for (std::size_t b = 0; b < bred; ++b) rad[b] = rad[b] * dj + 0.5 * (f[b] + m[b]);
    }
    for (std::size_t r = 0; r < antRad; ++r) {
      if (radPlass[r] < 0) continue;
      const double* rad = &u[Z(radPlass[r]) * bred];
      for (std::size_t b = 0; b < nb; ++b) ut[r * antKol + k0 + b] = rad[b];
    }
  }
  return ut;
}
