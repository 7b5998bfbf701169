#include "statistikk.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_set>

#include "cp1252.h"
#include "register.h"
#include "tekst.h"

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

// Judging numbers met, open addressing (0 is never stored).
class TNummerSett {
 public:
  explicit TNummerSett(std::size_t antall) {
    std::size_t n = 1024;
    while (n < antall * 2) n *= 2;
    plass_.assign(n, 0);
    maske_ = n - 1;
  }
  // False when the number was there already.
  bool Legg(int32_t nummer) {
    std::size_t i = (static_cast<uint32_t>(nummer) * 0x9E3779B1u) & maske_;
    while (plass_[i] != 0) {
      if (plass_[i] == nummer) return false;
      i = (i + 1) & maske_;
    }
    plass_[i] = nummer;
    return true;
  }

 private:
  std::vector<int32_t> plass_;
  std::size_t maske_;
};

bool Valgt(const TRasevalg& raser, int rase) {
  return raser.empty() || std::find(raser.begin(), raser.end(), rase) != raser.end();
}

void Celle(std::string& rad, std::string t) {
  for (char& c : t)
    if (c == ';') c = ',';
  rad += t;
  rad += ';';
}

}  // namespace

std::optional<double> TAarRase::Snitt() const {
  const int64_t n = MedIndeks();
  if (n <= 0) return std::nullopt;
  return static_cast<double>(sum) / static_cast<double>(n);
}

TStatistikk LagStatistikk(std::span<const TVerPost> poster) {
  struct TSum {
    int64_t antall, uten, gule, sum;
  };
  using TAar = std::array<TSum, 256>;
  std::vector<std::unique_ptr<TAar>> aar(65536);
  TNummerSett sett(poster.size());
  // From the end, so that the last record of a number is the one counted.
  for (std::size_t i = poster.size(); i-- > 0;) {
    const TVerPost& p = poster[i];
    if (p.Nummer == 0 || !sett.Legg(p.Nummer)) continue;
    std::unique_ptr<TAar>& a = aar[static_cast<std::size_t>(p.Aar + 32768)];
    if (!a) a = std::make_unique<TAar>(TAar{});
    TSum& s = (*a)[static_cast<std::size_t>(p.Rase + 128)];
    ++s.antall;
    if (p.OIndeks == 0)
      ++s.uten;
    else if (p.OIndeks >= 900)
      ++s.gule;
    else
      s.sum += p.OIndeks;
  }
  TStatistikk st;
  for (std::size_t y = 0; y < aar.size(); ++y) {
    if (!aar[y]) continue;
    for (std::size_t r = 0; r < 256; ++r) {
      const TSum& s = (*aar[y])[r];
      if (s.antall == 0) continue;
      st.grupper.push_back({static_cast<int>(y) - 32768, static_cast<int>(r) - 128, s.antall, s.uten, s.gule, s.sum});
    }
  }
  return st;
}

std::vector<TSnittLinje> SnittLinjer(const TStatistikk& s, const TRasevalg& raser) {
  std::map<int, TSnittLinje> linjer;
  for (const TAarRase& g : s.grupper) {
    if (!Valgt(raser, g.rase)) continue;
    TSnittLinje& l = linjer[g.rase];
    l.rase = g.rase;
    if (const auto snitt = g.Snitt()) l.punkter.emplace_back(g.aar, *snitt);
  }
  std::vector<TSnittLinje> ut;
  for (auto& [rase, l] : linjer) ut.push_back(std::move(l));
  return ut;
}

std::vector<std::pair<int, int64_t>> AntallPerAar(const TStatistikk& s, const TRasevalg& raser) {
  std::vector<std::pair<int, int64_t>> ut;
  for (const TAarRase& g : s.grupper) {
    if (!Valgt(raser, g.rase)) continue;
    if (ut.empty() || ut.back().first != g.aar) ut.emplace_back(g.aar, 0);
    ut.back().second += g.antall;
  }
  return ut;
}

TUtenfor Utenfor(const TStatistikk& s, const TRasevalg& raser) {
  TUtenfor u;
  for (const TAarRase& g : s.grupper) {
    if (!Valgt(raser, g.rase)) continue;
    u.utenIndeks += g.utenIndeks;
    u.gule += g.gule;
  }
  return u;
}

std::string UtenforTekst(const TUtenfor& u) {
  if (u.utenIndeks == 0 && u.gule == 0) return {};
  std::string t;
  if (u.utenIndeks > 0) t = IntToText(u.utenIndeks) + (u.utenIndeks == 1 ? C(" vær") : C(" værer")) + " uten O-indeks";
  if (u.gule > 0) {
    if (!t.empty()) t += " og ";
    t += IntToText(u.gule) + (u.gule == 1 ? C(" gul vær") : C(" gule værer"));
  }
  return t + " er holdt utenfor.";
}

void ListStatistikk(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn, TTabellMottaker& tabell) {
  std::string tittel = C("Snitt O-indeks etter fødselsår");
  const std::string navn = tittel;
  if (const std::string u = UtenforTekst(Utenfor(s, raser)); !u.empty())
    tittel += " (" + u.substr(0, u.size() - 1) + ")";
  tabell.Oppsett(StatistikkKolonner, 12, 0, 1, 1, tittel, Rod, Blaa);
  tabell.SettVindusnavn(navn);
  tabell.NyRad(C("Fødselsår;Rase;Antall værer;Snitt O-indeks;"));
  for (const TAarRase& g : s.grupper) {
    if (!Valgt(raser, g.rase)) continue;
    std::string rad;
    Celle(rad, IntToText(g.aar));
    Celle(rad, rasenavn.BreedName(g.rase));
    Celle(rad, IntToText(g.antall));
    const auto snitt = g.Snitt();
    Celle(rad, snitt ? FormatN(*snitt, 1) : std::string("\x96"));
    tabell.NyRad(rad);
  }
  tabell.NyBunnRad(FillText(';', StatistikkKolonner));
}

void ListAntallPerAar(const TStatistikk& s, const TRasevalg& raser, TTabellMottaker& tabell) {
  tabell.Oppsett(2, 12, 0, 1, 1, C("Antall kårede værer etter fødselsår"), Rod, Blaa);
  tabell.SettVindusnavn(C("Antall kårede værer etter fødselsår"));
  tabell.NyRad(C("Fødselsår;Antall værer;"));
  for (const auto& [aar, antall] : AntallPerAar(s, raser)) tabell.NyRad(IntToText(aar) + ";" + IntToText(antall) + ";");
  tabell.NyBunnRad(";;");
}

// ---- the histogram ----

THistogram::THistogram(int bredde) : bredde_(bredde > 0 ? bredde : 10) {}

void THistogram::Ta(const TVerPost& ver) {
  const int v = ver.OIndeks;
  if (v == 0) {
    ++utenfor_.utenIndeks;
    return;
  }
  if (v >= 900) {
    ++utenfor_.gule;
    return;
  }
  const int soyle = v >= 0 ? v / bredde_ : -((-v + bredde_ - 1) / bredde_);
  ++soyler_[soyle];
  ++antall_;
}

std::vector<THistogram::TSoyle> THistogram::Soyler() const {
  std::vector<TSoyle> ut;
  if (soyler_.empty()) return ut;
  const int forste = soyler_.begin()->first, siste = soyler_.rbegin()->first;
  for (int b = forste; b <= siste; ++b) {
    const auto it = soyler_.find(b);
    ut.push_back({b * bredde_, b * bredde_ + bredde_ - 1, it == soyler_.end() ? 0 : it->second});
  }
  return ut;
}

void ListHistogram(const THistogram& h, TTabellMottaker& tabell) {
  std::string tittel =
      "Fordeling av O-indeks i utvalget: " + IntToText(h.Antall()) + (h.Antall() == 1 ? C(" vær") : C(" værer"));
  const std::string navn = tittel;
  if (const std::string u = UtenforTekst(h.Utenfor()); !u.empty()) tittel += " (" + u.substr(0, u.size() - 1) + ")";
  tabell.Oppsett(2, 12, 0, 1, 1, tittel, Rod, Blaa);
  tabell.SettVindusnavn(navn);
  tabell.NyRad(C("O-indeks;Antall værer;"));
  for (const THistogram::TSoyle& s : h.Soyler())
    tabell.NyRad(IntToText(s.fra) + "\x96" + IntToText(s.til) + ";" + IntToText(s.antall) + ";");
  tabell.NyBunnRad(";;");
}

THistogram Histogram(const TProdusent& reg, std::span<const int32_t> poster, int bredde) {
  THistogram h(bredde);
  const std::span<const TVerPost> alle = reg.Poster();
  std::unordered_set<int32_t> sett;
  for (int32_t i : poster) {
    if (i < 0 || static_cast<std::size_t>(i) >= alle.size() || !sett.insert(i).second) continue;
    h.Ta(alle[static_cast<std::size_t>(i)]);
  }
  return h;
}
