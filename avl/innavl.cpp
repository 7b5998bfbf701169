#include "innavl.h"

#include <algorithm>
#include <queue>

namespace {

inline std::size_t Z(int32_t i) { return static_cast<std::size_t>(i); }

// Kinship lookups in the window, for animals without grandoffspring: such an
// animal is replaced by its parents until both sides are animals with a row.
// (x without grandoffspring is never an ancestor of the other side here,
// so a(x, y) = ½(a(sire of x, y) + a(dam of x, y)) holds.)
struct TVinduOppslag {
  const TStamtavle& s;
  const std::vector<uint8_t>& hoyde;
  const std::vector<int32_t>& dyptAv;
  const std::vector<int32_t>& plass;
  const double* m;
  std::size_t bredde;

  double a(int32_t x, int32_t y) const {
    if (x < 0 || y < 0) return 0.0;
    if (hoyde[Z(x)] < 2) return 0.5 * (a(s.Far(x), y) + a(s.Mor(x), y));
    if (hoyde[Z(y)] < 2) return 0.5 * (a(x, s.Far(y)) + a(x, s.Mor(y)));
    return m[Z(plass[Z(dyptAv[Z(x)])]) * bredde + Z(plass[Z(dyptAv[Z(y)])])];
  }
};

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
  for (int32_t i = 0; i < n; ++i) {
    for (int g = 0; g < 4; ++g) {
      int k = 0;
      for (int32_t p : {s.Far(i), s.Mor(i)}) {
        if (p < 0) continue;
        k += s.Kjent(p) ? 1 : 0;
        if (g > 0) k += kjente_[Z(p) * 4 + Z(g - 1)];
      }
      kjente_[Z(i) * 4 + Z(g)] = static_cast<uint8_t>(k);
    }
  }

  dyptAv_.assign(Z(n), -1);
  for (int32_t i = 0; i < n; ++i) {
    if (hoyde_[Z(i)] < 2) continue;
    dyptAv_[Z(i)] = static_cast<int32_t>(dypt_.size());
    dypt_.push_back(i);
  }

  // Rows of the window in bytes: linear in the number of animals.
  const std::size_t maks = valg.maksVindu ? valg.maksVindu : std::size_t{32} * Z(n) + (std::size_t{16} << 20);
  Vindusmetoden(maks);
  if (!vindu_) MeuwissenLuo();

  dFar_.resize(dypt_.size());
  dMor_.resize(dypt_.size());
  dD_.resize(dypt_.size());
  for (std::size_t e = 0; e < dypt_.size(); ++e) {
    const int32_t x = dypt_[e];
    dFar_[e] = s.Far(x) >= 0 ? dyptAv_[Z(s.Far(x))] : -1;
    dMor_[e] = s.Mor(x) >= 0 ? dyptAv_[Z(s.Mor(x))] : -1;
    dD_[e] = D(x);
  }
  t_.assign(dypt_.size() * 2, 0.0);
}

void TInnavl::Vindusmetoden(std::size_t maksBytes) {
  const TStamtavle& s = s_;
  const int32_t n = s.Antall();
  const std::size_t antDypt = dypt_.size();

  // The last animal whose figure needs each row.
  std::vector<int32_t> siste(antDypt, -1);
  const auto trenger = [&](int32_t p, int32_t i) {
    if (p >= 0) siste[Z(dyptAv_[Z(p)])] = i;
  };
  for (int32_t i = 0; i < n; ++i) {
    if (hoyde_[Z(i)] >= 2) {
      siste[Z(dyptAv_[Z(i)])] = i;
      trenger(s.Far(i), i);
      trenger(s.Mor(i), i);
      continue;
    }
    for (int32_t p : {s.Far(i), s.Mor(i)}) {
      if (p < 0) continue;
      if (hoyde_[Z(p)] >= 2) {
        trenger(p, i);
      } else {
        trenger(s.Far(p), i);
        trenger(s.Mor(p), i);
      }
    }
  }
  // Rows to drop after each animal, and the widest window.
  std::vector<int32_t> forst(Z(n), -1), neste(antDypt, -1);
  for (std::size_t e = 0; e < antDypt; ++e) {
    neste[e] = forst[Z(siste[e])];
    forst[Z(siste[e])] = static_cast<int32_t>(e);
  }
  std::size_t levende = 0;
  bredde_ = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (hoyde_[Z(i)] >= 2) bredde_ = std::max(bredde_, ++levende);
    for (int32_t e = forst[Z(i)]; e >= 0; e = neste[Z(e)]) --levende;
  }
  if (bredde_ > 0 && bredde_ > maksBytes / sizeof(double) / bredde_) {
    vindu_ = false;
    return;
  }

  const std::size_t w = bredde_;
  std::vector<double> m(w * w);
  std::vector<int32_t> plass(antDypt, -1);
  std::vector<int32_t> ledige;
  std::size_t brukt = 0;  // slots 0 to brukt - 1 have been used
  const TVinduOppslag oppslag{s, hoyde_, dyptAv_, plass, m.data(), w};

  for (int32_t i = 0; i < n; ++i) {
    const int32_t sf = s.Far(i), sm = s.Mor(i);
    if (hoyde_[Z(i)] >= 2) {
      std::size_t p;
      if (!ledige.empty()) {
        p = Z(ledige.back());
        ledige.pop_back();
      } else {
        p = brukt++;
      }
      plass[Z(dyptAv_[Z(i)])] = static_cast<int32_t>(p);
      const double* a = sf >= 0 ? &m[Z(plass[Z(dyptAv_[Z(sf)])]) * w] : nullptr;
      const double* b = sm >= 0 ? &m[Z(plass[Z(dyptAv_[Z(sm)])]) * w] : nullptr;
      double* rad = &m[p * w];
      if (a && b) {
        for (std::size_t q = 0; q < brukt; ++q) rad[q] = 0.5 * (a[q] + b[q]);
      } else if (a || b) {
        const double* c = a ? a : b;
        for (std::size_t q = 0; q < brukt; ++q) rad[q] = 0.5 * c[q];
      } else {
        std::fill(rad, rad + brukt, 0.0);
      }
      const double f = (a && b) ? 0.5 * a[plass[Z(dyptAv_[Z(sm)])]] : 0.0;
      f_[Z(i)] = f;
      rad[p] = 1.0 + f;
      for (std::size_t q = 0; q < brukt; ++q) m[q * w + p] = rad[q];
    } else if (sf >= 0 && sm >= 0) {
      f_[Z(i)] = 0.5 * oppslag.a(sf, sm);
    }
    for (int32_t e = forst[Z(i)]; e >= 0; e = neste[Z(e)]) ledige.push_back(plass[Z(e)]);
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

int TInnavl::LamKjente(int32_t dyr, int32_t far, int32_t morfar) const {
  // The ram and the ewe, the ram's four generations, and the ewe's: her sire
  // and his three, her dam (known through her sire), the dam's sire and his two.
  int k = 2;
  if (dyr >= 0) k += kjente_[Z(dyr) * 4 + 3];
  if (far != 0) {
    const int32_t sf = s_.Finn(far);
    k += 1 + (sf >= 0 ? kjente_[Z(sf) * 4 + 2] : 0);
  }
  if (morfar != 0) {
    const int32_t mf = s_.Finn(morfar);
    k += 2 + (mf >= 0 ? kjente_[Z(mf) * 4 + 1] : 0);
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

double TInnavl::Paringspass(int32_t ver, int32_t far, int32_t morfar, std::vector<TFellesAne>* aner) const {
  egne_.clear();
  int32_t hoyeste = -1;
  Fro(0, ver, 1.0, hoyeste);
  // The ewe: half her sire, half her dam; the dam: half her sire.
  if (far != 0) Fro(1, s_.Finn(far), 0.5, hoyeste);
  if (morfar != 0) Fro(1, s_.Finn(morfar), 0.25, hoyeste);

  double sum = 0.0;
  for (const TEgen& g : egne_) {
    if (g.w[0] == 0.0 || g.w[1] == 0.0) continue;
    const double andel = 0.5 * g.w[0] * g.w[1] * D(g.dyr);
    sum += andel;
    if (aner) aner->push_back(TFellesAne{g.dyr, andel});
  }
  double* t = t_.data();
  for (int32_t e = hoyeste; e >= 0; --e) {
    const double a = t[Z(e) * 2], b = t[Z(e) * 2 + 1];
    if (a == 0.0 && b == 0.0) continue;
    t[Z(e) * 2] = t[Z(e) * 2 + 1] = 0.0;
    if (a != 0.0 && b != 0.0) {
      const double andel = 0.5 * a * b * dD_[Z(e)];
      sum += andel;
      if (aner) aner->push_back(TFellesAne{dypt_[Z(e)], andel});
    }
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

double TInnavl::Lam(int32_t ver, int32_t far, int32_t morfar) const {
  const int32_t r = s_.Finn(ver);
  return r < 0 ? 0.0 : Paringspass(r, far, morfar, nullptr);
}

TParing TInnavl::Paring(int32_t ver, int32_t far, int32_t morfar, std::size_t maksAner) const {
  TParing p;
  p.ver = ver;
  p.far = far;
  p.morfar = morfar;
  const int32_t r = s_.Finn(ver);
  if (r < 0) return p;
  p.funnet = true;
  p.verDyr = r;
  p.verF = F(r);
  p.verKjente = Kjente(r);
  p.lamKjente = LamKjente(r, far, morfar);
  std::vector<TFellesAne> alle;
  p.lam = Paringspass(r, far, morfar, &alle);
  const auto storre = [](const TFellesAne& a, const TFellesAne& b) {
    return a.andel != b.andel ? a.andel > b.andel : a.dyr < b.dyr;
  };
  if (alle.size() > maksAner) {
    std::nth_element(alle.begin(), alle.begin() + static_cast<std::ptrdiff_t>(maksAner), alle.end(), storre);
    for (std::size_t i = maksAner; i < alle.size(); ++i) p.restAndel += alle[i].andel;
    p.restAntall = static_cast<int64_t>(alle.size() - maksAner);
    alle.resize(maksAner);
  }
  std::sort(alle.begin(), alle.end(), storre);
  p.aner = std::move(alle);
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
