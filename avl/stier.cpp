#include "stier.h"

#include <algorithm>
#include <cmath>

namespace {

// A path from a parent of the lamb up to `ende`; its other animals lie sorted
// in the pool from `forst` on.
struct TSti {
  int32_t ende;
  int ledd;
  uint32_t forst;
  uint32_t antall;
};

// Every path of one parent, at most `maks` generations long, sorted by the
// animal it ends in and then by length.
void Folg(const TStamtavle& s, std::span<const TStiStart> starter, int maks, std::vector<TSti>& stier,
          std::vector<int32_t>& lager) {
  std::vector<int32_t> vei;  // the animals of the path below the one reached
  const auto gaa = [&](const auto& selv, int32_t dyr, int ledd) -> void {
    const auto forst = static_cast<uint32_t>(lager.size());
    lager.insert(lager.end(), vei.begin(), vei.end());
    std::sort(lager.begin() + forst, lager.end());
    stier.push_back(TSti{dyr, ledd, forst, static_cast<uint32_t>(vei.size())});
    if (ledd >= maks) return;
    vei.push_back(dyr);
    for (const int32_t p : {s.Far(dyr), s.Mor(dyr)})
      if (p >= 0) selv(selv, p, ledd + 1);
    vei.pop_back();
  };
  for (const TStiStart& st : starter)
    if (st.dyr >= 0 && st.dyr < s.Antall() && st.ledd >= 0 && st.ledd <= maks) gaa(gaa, st.dyr, st.ledd);
  std::sort(stier.begin(), stier.end(),
            [](const TSti& a, const TSti& b) { return a.ende != b.ende ? a.ende < b.ende : a.ledd < b.ledd; });
}

// The two paths have no animal in common but the one they end in.
bool Atskilt(const int32_t* a, uint32_t na, const int32_t* b, uint32_t nb) {
  uint32_t i = 0, j = 0;
  while (i < na && j < nb) {
    if (a[i] == b[j]) return false;
    if (a[i] < b[j])
      ++i;
    else
      ++j;
  }
  return true;
}

// Calls f(x0, x1, y0, y1) for every animal both parents' paths end in: the
// ranges of their paths there of at most `maks` generations.
template <class F>
void HverFelles(const std::vector<TSti>& x, const std::vector<TSti>& y, int maks, F&& f) {
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    if (x[i].ende < y[j].ende) {
      ++i;
    } else if (y[j].ende < x[i].ende) {
      ++j;
    } else {
      const int32_t ende = x[i].ende;
      const std::size_t x0 = i, y0 = j;
      std::size_t x1 = i, y1 = j;
      while (i < x.size() && x[i].ende == ende) {
        if (x[i].ledd <= maks) x1 = i + 1;
        ++i;
      }
      while (j < y.size() && y[j].ende == ende) {
        if (y[j].ledd <= maks) y1 = j + 1;
        ++j;
      }
      f(x0, x1, y0, y1);
    }
  }
}

}  // namespace

TStiAner StiAner(const TInnavl& innavl, std::span<const TStiStart> far, std::span<const TStiStart> mor,
                 const TStiValg& valg) {
  const TStamtavle& s = innavl.Stamtavle();
  TStiAner ut;
  int maks = std::max(0, valg.maksLedd);
  std::vector<TSti> x, y;
  std::vector<int32_t> lager;
  Folg(s, far, maks, x, lager);
  Folg(s, mor, maks, y, lager);

  // As many generations as the pairs allow.
  while (true) {
    int64_t par = 0;
    HverFelles(x, y, maks, [&](std::size_t x0, std::size_t x1, std::size_t y0, std::size_t y1) {
      par += static_cast<int64_t>(x1 - x0) * static_cast<int64_t>(y1 - y0);
    });
    if (par <= valg.maksPar || maks == 0) {
      ut.par = par;
      break;
    }
    --maks;
  }
  ut.ledd = maks;

  const int32_t* l = lager.data();
  HverFelles(x, y, maks, [&](std::size_t x0, std::size_t x1, std::size_t y0, std::size_t y1) {
    double sum = 0.0;
    for (std::size_t a = x0; a < x1; ++a)
      for (std::size_t b = y0; b < y1; ++b)
        if (Atskilt(l + x[a].forst, x[a].antall, l + y[b].forst, y[b].antall))
          sum += std::ldexp(1.0, -(x[a].ledd + y[b].ledd + 1));
    if (sum > 0.0) {
      const int32_t ende = x[x0].ende;
      ut.aner.push_back(TFellesAne{ende, sum * (1.0 + innavl.F(ende))});
    }
  });
  return ut;
}
