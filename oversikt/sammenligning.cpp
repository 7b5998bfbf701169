#include "sammenligning.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

#include "cp1252.h"
#include "slektskap.h"
#include "tekst.h"

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

using TSlag = TSammenligningsCelle::Slag;

struct TFigurverdi {
  TSlag slag = TSlag::Ukjent;
  int64_t noekkel = 0;
};

// Indexes of the figures, in the order of Sammenligningsfigurer.
enum : int {
  FOIndeks,
  FKIndeks,
  FMorevVaar,
  FSlakt,
  FKjott,
  FFett,
  FMorevSl,
  FFruktbarhet,
  FKropp,
  FBein,
  FUllkvalitet,
  FUllmengde,
  FSumPoeng,
  FOAett,
  FVektAvvik,
  FHostvekt,
  FUllvekt,
  FFiberdiameter,
  FMaksMy,
  FStapel,
  FMarg,
  FDyrehaar,
  FAntHostvekt,
  FAntSlakt,
  FAntDotre,
  AntallFigurer
};

const std::vector<TFigur>& Figurer() {
  static const std::vector<TFigur> f = {{"O-indeks", 0},      {"K-indeks", 0},
                                        {C("Morev.Vår"), 0},  {"Slakt", 0},
                                        {C("Kjøtt"), 0},      {"Fett", 0},
                                        {"Morev.Sl", 0},      {"Fruktbarhet", 0},
                                        {"Kropp", 0},         {"Bein", 0},
                                        {"Ullkvalitet", 0},   {"Ullmengde", 0},
                                        {"Sum poeng", 1},     {C("O-ætt /O kåring"), 1},
                                        {"Vekt avv/p", 1},    {C("Høstvekt"), 1},
                                        {"Ullvekt (kg)", 1},  {"Fiberdiam.", 1},
                                        {"Maks my", 0},       {"Stapel", 1},
                                        {"Marg %", 0},        {C("Dyrehår"), 0},
                                        {C("Ant høstv."), 0}, {"Ant slakt", 0},
                                        {C("Ant døtre"), 0}};
  return f;
}

TFigurverdi Heltall(int64_t v) { return {v == 0 ? TSlag::Ukjent : TSlag::Verdi, v}; }

TFigurverdi Indeks(int v) {
  if (v >= 900) return {TSlag::Gul, v};
  return Heltall(v);
}

// A decimal figure as shown with one decimal.
TFigurverdi Tidel(double v) {
  if (!std::isfinite(v)) return {};
  return Heltall(RoundHalfAway(v * 10.0));
}

TFigurverdi Hel(double v) {
  if (!std::isfinite(v)) return {};
  return Heltall(RoundHalfAway(v));
}

TFigurverdi Figur(int f, const TVerPost& p) {
  switch (f) {
    case FOIndeks: return Indeks(p.OIndeks);
    case FKIndeks: return Indeks(p.KIndeks);
    case FMorevVaar: return Indeks(p.MorevVaar);
    case FSlakt: return Indeks(p.Slakt);
    case FKjott: return Indeks(p.Kjott);
    case FFett: return Indeks(p.Fett);
    case FMorevSl: return Indeks(p.MorevSl);
    case FFruktbarhet: return Indeks(p.Fruktbarhet);
    case FKropp: return Heltall(p.Kropp);
    case FBein: return Heltall(p.Bein);
    case FUllkvalitet: return Heltall(p.Ullkvalitet);
    case FUllmengde: return Heltall(p.Ullmengde);
    case FSumPoeng:
      if (p.Bein == 0) return {};
      return Tidel(static_cast<double>(p.Kropp) + p.Bein + p.Ullkvalitet + p.Ullmengde +
                   static_cast<double>(p.VektAvvik) + static_cast<double>(p.OAett));
    case FOAett: return Tidel(p.OAett);
    case FVektAvvik: return Tidel(p.VektAvvik);
    case FHostvekt: return Tidel(p.Hostvekt);
    case FUllvekt: return Tidel(p.Ullvekt);
    case FFiberdiameter: return Tidel(p.Fiberdiameter);
    case FMaksMy: return Hel(p.MaksMy);
    case FStapel: return Tidel(p.Stapel);
    case FMarg: return Heltall(p.Marg);
    case FDyrehaar: return Heltall(p.Dyrehaar);
    case FAntHostvekt: return Heltall(p.AntHostvekt);
    case FAntSlakt: return Heltall(p.AntSlakt);
    case FAntDotre: return Heltall(p.AntDotre);
    default: return {};
  }
}

// Inbreeding in hundredths of a percent; 0 is a value.
TFigurverdi Innavl(double f) {
  if (!std::isfinite(f)) return {};
  return {TSlag::Verdi, RoundHalfAway(f * 10000.0)};
}

double Skala(int desimaler) {
  double s = 1;
  for (int i = 0; i < desimaler; ++i) s *= 10;
  return s;
}

// Judging number -> member, open addressing (number 0 is never a member).
class TMedlemskart {
 public:
  TMedlemskart() { plass_.assign(1024, {0, 0}); }
  // The member of that number, or -1.
  int32_t Finn(int32_t nummer) const {
    if (antall_ == 0) return -1;
    for (std::size_t i = Spre(nummer) & (plass_.size() - 1);; i = (i + 1) & (plass_.size() - 1)) {
      if (plass_[i].first == nummer) return plass_[i].second;
      if (plass_[i].first == 0) return -1;
    }
  }
  void Sett(int32_t nummer, int32_t medlem) {
    if ((antall_ + 1) * 2 > plass_.size()) Vokse();
    std::size_t i = Spre(nummer) & (plass_.size() - 1);
    while (plass_[i].first != 0 && plass_[i].first != nummer) i = (i + 1) & (plass_.size() - 1);
    if (plass_[i].first == 0) ++antall_;
    plass_[i] = {nummer, medlem};
  }

 private:
  static std::size_t Spre(int32_t n) {
    return static_cast<std::size_t>((static_cast<uint32_t>(n) * 0x9E3779B1u) ^ (static_cast<uint32_t>(n) >> 16));
  }
  void Vokse() {
    std::vector<std::pair<int32_t, int32_t>> gammel(plass_.size() * 2, {0, 0});
    gammel.swap(plass_);
    antall_ = 0;
    for (const auto& [n, m] : gammel)
      if (n != 0) Sett(n, m);
  }
  std::vector<std::pair<int32_t, int32_t>> plass_;
  std::size_t antall_ = 0;
};

}  // namespace

const std::vector<TFigur>& Sammenligningsfigurer() { return Figurer(); }

const TFigur& Innavlsfigur() {
  static const TFigur f{"Innavl %", 2};
  return f;
}

double TSammenligningsCelle::Verdi(const TFigur& f) const { return static_cast<double>(noekkel) / Skala(f.desimaler); }

int Persentil(int64_t under, int64_t like, int64_t antall) {
  if (antall <= 0) return 0;
  return static_cast<int>(
      RoundHalfAway(100.0 * static_cast<double>(2 * under + like) / static_cast<double>(2 * antall)));
}

std::string TSammenligning::Tekst(std::size_t figur, std::size_t ver) const {
  const TSammenligningsCelle& c = celler[figur][ver];
  switch (c.slag) {
    case TSlag::Ukjent: return "\x96";  // en dash
    case TSlag::Gul: return "gul";
    case TSlag::Verdi: break;
  }
  const TFigur& f = figurer[figur];
  const std::string verdi = f.desimaler == 0 ? IntToText(c.noekkel) : FormatN(c.Verdi(f), f.desimaler);
  // A ram alone with a figure in its breed and year has nothing to be
  // placed among: no percentile rather than a made-up middle.
  if (c.gruppe <= 1) return verdi;
  return verdi + " (" + IntToText(c.persentil) + " %)";
}

TSammenligning Sammenlign(std::span<const TVerPost> poster, const std::vector<TVerPost>& verer, const TInnavl* innavl) {
  TSammenligning s;
  s.verer = verer;
  s.figurer = Figurer();
  if (innavl) s.figurer.push_back(Innavlsfigur());
  const std::size_t nf = s.figurer.size();
  const std::size_t nv = verer.size();
  const TStamtavle* tavle = innavl ? &innavl->Stamtavle() : nullptr;
  const auto figur = [&](std::size_t f, const TVerPost& p, int32_t post) -> TFigurverdi {
    if (f < AntallFigurer) return Figur(static_cast<int>(f), p);
    int32_t dyr = post >= 0 && post < tavle->Poster() ? tavle->DyrForPost(post) : -1;
    if (dyr < 0) dyr = tavle->Finn(p.Nummer);
    if (dyr < 0) return {};
    return Innavl(innavl->F(dyr));
  };

  // The groups of the rams.
  struct TGruppe {
    int8_t rase;
    int16_t aar;
    std::vector<std::size_t> verer;
  };
  std::vector<TGruppe> grupper;
  std::vector<std::size_t> gruppeAv(nv);
  for (std::size_t v = 0; v < nv; ++v) {
    std::size_t g = 0;
    while (g < grupper.size() && (grupper[g].rase != verer[v].Rase || grupper[g].aar != verer[v].Aar)) ++g;
    if (g == grupper.size()) grupper.push_back({verer[v].Rase, verer[v].Aar, {}});
    grupper[g].verer.push_back(v);
    gruppeAv[v] = g;
  }

  // The pass: the records of the groups, each number by its last record.
  // Most records are of another year; a record's number is looked for among
  // the members only when a bit of its hash is set in a small filter.
  std::vector<int32_t> medlem;  // record index
  std::vector<int32_t> gruppe;  // group of each member
  std::vector<uint8_t> levende;
  TMedlemskart kart;
  constexpr uint32_t FilterBiter = 1u << 18;  // 32 KiB
  std::vector<uint64_t> filter(FilterBiter / 64, 0);
  const auto bit = [](int32_t nummer) { return (static_cast<uint32_t>(nummer) * 0x9E3779B1u) >> 14; };
  const std::size_t ng = grupper.size();
  int16_t aarFra = INT16_MAX, aarTil = INT16_MIN;
  for (const TGruppe& gr : grupper) {
    aarFra = std::min(aarFra, gr.aar);
    aarTil = std::max(aarTil, gr.aar);
  }
  const int32_t n = static_cast<int32_t>(poster.size());
  constexpr int32_t Foran = 16;  // records read ahead
  for (int32_t i = 0; i < n && ng > 0; ++i) {
    const TVerPost& p = poster[static_cast<std::size_t>(i)];
    if (i + Foran < n) {
      const char* senere = reinterpret_cast<const char*>(&p + Foran);
      __builtin_prefetch(senere);
      __builtin_prefetch(senere + offsetof(TVerPost, Aar));
    }
    const int32_t nummer = p.Nummer;
    const uint32_t b = bit(nummer);
    if ((filter[b >> 6] >> (b & 63)) & 1) {
      const int32_t tidligere = kart.Finn(nummer);
      if (tidligere >= 0) levende[static_cast<std::size_t>(tidligere)] = 0;
    }
    const int16_t aar = p.Aar;
    if (aar < aarFra || aar > aarTil || nummer == 0) continue;
    std::size_t g = 0;
    while (g < ng && (grupper[g].aar != aar || grupper[g].rase != p.Rase)) ++g;
    if (g == ng) continue;
    kart.Sett(nummer, static_cast<int32_t>(medlem.size()));
    filter[b >> 6] |= uint64_t{1} << (b & 63);
    medlem.push_back(i);
    gruppe.push_back(static_cast<int32_t>(g));
    levende.push_back(1);
  }

  // The rams' own figures.
  std::vector<TFigurverdi> egen(nv * nf);
  for (std::size_t v = 0; v < nv; ++v)
    for (std::size_t f = 0; f < nf; ++f) egen[v * nf + f] = figur(f, verer[v], -1);

  // Counts: per group and figure the known figures and their sum; per ram
  // and figure those below and those equal.
  std::vector<int64_t> antall(ng * nf, 0), under(nv * nf, 0), like(nv * nf, 0);
  std::vector<double> sum(ng * nf, 0);
  for (std::size_t m = 0; m < medlem.size(); ++m) {
    if (!levende[m]) continue;
    const TVerPost& p = poster[static_cast<std::size_t>(medlem[m])];
    const std::size_t g = static_cast<std::size_t>(gruppe[m]);
    const TGruppe& gr = grupper[g];
    for (std::size_t f = 0; f < nf; ++f) {
      const TFigurverdi x = figur(f, p, medlem[m]);
      if (x.slag != TSlag::Verdi) continue;
      ++antall[g * nf + f];
      sum[g * nf + f] += static_cast<double>(x.noekkel);
      for (std::size_t v : gr.verer) {
        const TFigurverdi& e = egen[v * nf + f];
        if (e.slag != TSlag::Verdi) continue;
        if (x.noekkel < e.noekkel)
          ++under[v * nf + f];
        else if (x.noekkel == e.noekkel)
          ++like[v * nf + f];
      }
    }
  }

  s.celler.assign(nf, std::vector<TSammenligningsCelle>(nv));
  for (std::size_t f = 0; f < nf; ++f) {
    const double skala = Skala(s.figurer[f].desimaler);
    for (std::size_t v = 0; v < nv; ++v) {
      TSammenligningsCelle& c = s.celler[f][v];
      const std::size_t g = gruppeAv[v];
      const TFigurverdi& e = egen[v * nf + f];
      c.slag = e.slag;
      c.noekkel = e.noekkel;
      c.gruppe = antall[g * nf + f];
      c.snitt = c.gruppe > 0 ? sum[g * nf + f] / static_cast<double>(c.gruppe) / skala : 0.0;
      if (e.slag == TSlag::Verdi) c.persentil = Persentil(under[v * nf + f], like[v * nf + f], c.gruppe);
    }
  }
  return s;
}

TSammenligning Sammenlign(TProdusent& reg, const std::vector<int32_t>& nummer, std::vector<int32_t>& ukjente,
                          const TInnavl* innavl) {
  std::vector<TVerPost> verer;
  for (int32_t n : nummer) {
    const TVerPost v = reg.FindByNumber(n);
    if (v.Nummer == 0)
      ukjente.push_back(n);
    else
      verer.push_back(v);
  }
  return Sammenlign(reg.Poster(), verer, innavl);
}

std::vector<int32_t> Gruppemedlemmer(const TProdusent& reg, const std::vector<int32_t>& nummer) {
  struct TGruppe {
    int8_t rase;
    int16_t aar;
  };
  std::vector<TGruppe> grupper;
  for (int32_t n : nummer) {
    const TVerPost v = reg.LesNummer(n);
    if (v.Nummer != 0) grupper.push_back({v.Rase, v.Aar});
  }
  std::vector<int32_t> ut;
  for (const TVerPost& p : reg.Poster())
    for (const TGruppe& g : grupper)
      if (p.Rase == g.rase && p.Aar == g.aar) {
        ut.push_back(p.Nummer);
        break;
      }
  return ut;
}

std::vector<TIndeksstolper> Indeksstolper(const TSammenligning& s) {
  std::vector<TIndeksstolper> ut;
  for (std::size_t f = 0; f < s.figurer.size() && f < AntallIndeksfigurer; ++f) {
    TIndeksstolper st{s.figurer[f].navn, {}, {}};
    for (const TSammenligningsCelle& c : s.celler[f]) {
      st.verdi.push_back(c.slag == TSlag::Verdi ? std::optional<double>(c.Verdi(s.figurer[f])) : std::nullopt);
      st.snitt.push_back(c.gruppe > 0 ? std::optional<double>(c.snitt) : std::nullopt);
    }
    ut.push_back(std::move(st));
  }
  return ut;
}

std::string SammenligningFeil(std::size_t antall) {
  if (antall < MinsteSammenligning) return C("Velg minst to værer å sammenligne.");
  if (antall > StorsteSammenligning) return C("Du kan sammenligne høyst seks værer om gangen.");
  return {};
}

std::string SammenligningTittel(const TSammenligning& s) {
  return "Sammenligning av " + IntToText(static_cast<int64_t>(s.verer.size())) +
         C(" værer (persentil blant værer av samme rase og år)");
}

std::string SammenligningNavn(const TSammenligning& s) {
  std::string t = "Sammenligning av ";
  for (std::size_t i = 0; i < s.verer.size(); ++i) {
    if (i > 0) t += i + 1 == s.verer.size() ? " og " : ", ";
    t += IntToText(s.verer[i].Nummer);
  }
  return t;
}

void ListSammenligning(const TSammenligning& s, const Trase& raser, TTabellMottaker& tabell) {
  const int kolonner = 1 + static_cast<int>(s.verer.size());
  tabell.Oppsett(kolonner, 12, 0, 1, 1, SammenligningTittel(s), Rod, Blaa);
  tabell.SettVindusnavn(SammenligningNavn(s));
  tabell.SettMinsteskrift(LesbarSkrift);
  // The table parts its cells at ';'.
  const auto celle = [](std::string& rad, std::string t) {
    for (char& c : t)
      if (c == ';') c = ',';
    rad += t;
    rad += ';';
  };
  std::string rad;
  celle(rad, "Figur");
  for (const TVerPost& v : s.verer) {
    const std::string navn = TrimText(NameCase(v.Navn.Verdi()));
    celle(rad, navn.empty() ? IntToText(v.Nummer) : IntToText(v.Nummer) + " " + navn);
  }
  tabell.NyRad(rad);
  rad.clear();
  celle(rad, "Rase");
  for (const TVerPost& v : s.verer) celle(rad, raser.BreedName(v.Rase));
  tabell.NyRad(rad);
  rad.clear();
  celle(rad, C("År"));
  for (const TVerPost& v : s.verer) celle(rad, IntToText(v.Aar));
  tabell.NyRad(rad);
  for (std::size_t f = 0; f < s.figurer.size(); ++f) {
    rad.clear();
    celle(rad, s.figurer[f].navn);
    for (std::size_t v = 0; v < s.verer.size(); ++v) celle(rad, s.Tekst(f, v));
    tabell.NyRad(rad);
  }
  tabell.NyBunnRad(FillText(';', kolonner));
}
