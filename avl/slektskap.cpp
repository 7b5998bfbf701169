#include "slektskap.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "cp1252.h"
#include "tekst.h"

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

inline std::size_t Z(int32_t i) { return static_cast<std::size_t>(i); }

}  // namespace

// ---- TAvlsdata ----

void TAvlsdata::Bruk(const TProdusent& reg) {
  Glem();
  const std::shared_ptr<const TPostKart> kart = reg.Kart();
  poster_ = kart ? kart->Poster() : std::span<const TVerPost>();
  eier_ = kart;
}

void TAvlsdata::Bruk(std::vector<TVerPost> poster) {
  Glem();
  const auto eget = std::make_shared<const std::vector<TVerPost>>(std::move(poster));
  poster_ = *eget;
  eier_ = eget;
}

void TAvlsdata::Glem() {
  delInnavl_.reset();
  delStamtavle_.reset();
  innavl_.reset();
  stamtavle_.reset();
  sloyferMeldt_ = false;
}

const TStamtavle& TAvlsdata::Stamtavle() {
  if (!stamtavle_) stamtavle_ = std::make_unique<TStamtavle>(poster_);
  return *stamtavle_;
}

const TInnavl& TAvlsdata::Innavl() {
  if (!innavl_) {
    if (VedBeregning) VedBeregning(true);
    // The hook hears the end also when the work fails.
    struct TSlutt {
      const std::function<void(bool)>& f;
      ~TSlutt() {
        if (f) f(false);
      }
    } slutt{VedBeregning};
    innavl_ = std::make_unique<TInnavl>(Stamtavle());
  }
  return *innavl_;
}

const TInnavl& TAvlsdata::InnavlFor(std::span<const int32_t> nummer) {
  if (innavl_) return *innavl_;
  const TStamtavle& hel = Stamtavle();
  std::vector<int32_t> dyr;
  for (int32_t n : nummer)
    if (n != 0) dyr.push_back(hel.Finn(n));
  delInnavl_.reset();
  delStamtavle_ = std::make_unique<TStamtavle>(hel.Aner(dyr));
  delInnavl_ = std::make_unique<TInnavl>(*delStamtavle_);
  return *delInnavl_;
}

std::string TAvlsdata::NySloyfeMelding() {
  if ((!innavl_ && !delInnavl_) || sloyferMeldt_) return {};
  sloyferMeldt_ = true;
  return SloyfeMelding(stamtavle_->Sloyfer());
}

// ---- numbers ----

double LesGrense(const QSettings& ini) {
  const QVariant v = ini.value("Avl/Grense");
  // "6,25" unquoted reads as a list of two texts.
  QString t = v.typeId() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
  t = t.trimmed().replace(',', '.');
  bool ok = false;
  const double g = t.toDouble(&ok);
  return ok && std::isfinite(g) && g >= 0 ? g : StandardGrense;
}

std::string Prosent(double andel) {
  // FormatN(p, 2) rounds the value's 17 significant digits half away from
  // zero. Away from a tie (and for 0 to 999) plain rounding of p·100 gives
  // the same digits, without FormatN's text work; near a tie FormatN decides.
  const double p = andel * 100.0;
  const double q = p * 100.0;
  const double hel = std::floor(q);
  if (!(p >= 0.0 && p < 999.0) || std::fabs(q - hel - 0.5) < 1e-6) return FormatN(p, 2);
  const int64_t r = static_cast<int64_t>(hel) + (q - hel > 0.5 ? 1 : 0);
  std::string t = IntToText(r / 100);
  t += ',';
  t += static_cast<char>('0' + r % 100 / 10);
  t += static_cast<char>('0' + r % 10);
  return t;
}

bool VedGrensa(double andel, double grense) {
  const double vist = static_cast<double>(RoundHalfAway(andel * 100.0 * 100.0)) / 100.0;
  return vist >= grense - 1e-9;
}

// ---- a mating ----

std::string AneTekst(const TStamtavle& s, std::span<const TVerPost> poster, int32_t dyr) {
  switch (s.Slag(dyr)) {
    case TDyrSlag::Ver: {
      const std::string navn = TrimText(NameCase(poster[static_cast<std::size_t>(s.Post(dyr))].Navn.Verdi()));
      return navn.empty() ? IntToText(s.Nummer(dyr)) : IntToText(s.Nummer(dyr)) + " " + navn;
    }
    case TDyrSlag::UkjentVer: return IntToText(s.Nummer(dyr)) + " (ikke i registeret)";
    case TDyrSlag::Mor: break;
  }
  std::string t = "Mor til " + IntToText(s.ForsteAvkom(dyr));
  if (s.Nummer(dyr) > 0) t += " (mornr " + IntToText(s.Nummer(dyr)) + ")";
  return t;
}

namespace {

std::string Mangler(int32_t far, bool farMangler, int32_t morfar, bool morfarMangler, int32_t mormorfar,
                    bool mormorfarMangler) {
  std::string t;
  if (farMangler) t = "Far " + IntToText(far) + " finnes ikke i registeret.";
  if (morfarMangler) t += (t.empty() ? "" : " ") + ("Morfar " + IntToText(morfar) + " finnes ikke i registeret.");
  if (mormorfarMangler)
    t += (t.empty() ? "" : " ") + ("Mormors far " + IntToText(mormorfar) + " finnes ikke i registeret.");
  return t;
}

}  // namespace

std::string ManglerTekst(const TParing& p) {
  return Mangler(p.far, p.farMangler, p.morfar, p.morfarMangler, p.mormorfar, p.mormorfarMangler);
}

std::string ManglerTekst(const TStamtavle& s, const TSoye& soye) {
  return Mangler(soye.far, soye.far != 0 && s.Finn(soye.far) < 0, soye.morfar,
                 soye.morfar != 0 && s.Finn(soye.morfar) < 0, soye.mormorfar,
                 soye.mormorfar != 0 && s.Finn(soye.mormorfar) < 0);
}

std::string EldreTekst(const TParing& p) {
  const std::string t = Prosent(p.eldreAndel);
  return t == "0,00" ? std::string() : t;
}

std::vector<std::string> SlektskapLinjer(const TParing& p, const TStamtavle& s, std::span<const TVerPost> poster) {
  std::vector<std::string> l;
  if (!p.funnet) {
    l.push_back(C("Fant ingen vær med kåringsnummer ") + IntToText(p.ver) + ".");
    return l;
  }
  const std::string verEgen = C("Værens egen innavlsgrad: ") + Prosent(p.verF) +
                              " % (kjente aner i fem ledd: " + IntToText(p.verKjente) + " av " +
                              IntToText(KjenteAnerMaks) + ")";
  if (!p.Gyldig()) {
    l.push_back(C("Innavlsgrad for lammet: –"));
    l.push_back(verEgen);
    l.push_back(ManglerTekst(p));
    return l;
  }
  l.push_back("Innavlsgrad for lammet: " + Prosent(p.lam) + " %");
  l.push_back(verEgen);
  l.push_back("Kjente aner i fem ledd for lammet: " + IntToText(p.lamKjente) + " av " + IntToText(KjenteAnerMaks));
  const std::string eldre = EldreTekst(p);
  if (p.aner.empty() && eldre.empty()) {
    l.push_back("Ingen felles aner.");
    return l;
  }
  l.push_back("Felles aner (andel av lammets innavlsgrad):");
  for (const TFellesAne& a : p.aner) l.push_back("  " + AneTekst(s, poster, a.dyr) + ": " + Prosent(a.andel) + " %");
  if (p.restAntall > 0) l.push_back("  " + IntToText(p.restAntall) + " andre: " + Prosent(p.restAndel) + " %");
  if (!eldre.empty()) l.push_back("  Eldre aner: " + eldre + " %");
  return l;
}

// ---- every ram's own coefficient ----

std::string InnavlTittel() { return C("Innavlsgrad for alle værer"); }

void ListInnavl(const TInnavl& innavl, std::span<const TVerPost> poster, TTabellMottaker& tabell) {
  const TStamtavle& s = innavl.Stamtavle();
  tabell.Oppsett(InnavlKolonner, 12, 0, 1, 1, InnavlTittel(), Rod, Blaa);
  tabell.NyRad(C("Værnr.;Navn;Innavl %;Kjente aner av 62;"));
  // What the rows show, without a text a row: the rows are made when the
  // table shows or writes them, and may outlive the figures and records.
  struct TRader {
    std::vector<int32_t> nummer;
    std::vector<double> f;
    std::vector<uint8_t> kjente;
    std::vector<uint32_t> navnSlutt;
    std::string navn;  // every name after the other
  };
  auto r = std::make_shared<TRader>();
  for (std::size_t i = 0; i < poster.size(); ++i) {
    const int32_t indeks = static_cast<int32_t>(i);
    const int32_t dyr = indeks < s.Poster() ? s.DyrForPost(indeks) : -1;
    if (dyr < 0) continue;
    r->nummer.push_back(poster[i].Nummer);
    r->f.push_back(innavl.F(dyr));
    r->kjente.push_back(static_cast<uint8_t>(innavl.Kjente(dyr)));
    r->navn += NameCase(poster[i].Navn.Verdi());
    r->navnSlutt.push_back(static_cast<uint32_t>(r->navn.size()));
  }
  tabell.NyeRader(static_cast<int>(r->nummer.size()), [r](int i, std::string& rad) {
    const auto k = static_cast<std::size_t>(i);
    const uint32_t fra = k == 0 ? 0 : r->navnSlutt[k - 1];
    rad = IntToText(r->nummer[k]);
    rad += ';';
    rad.append(r->navn, fra, r->navnSlutt[k] - fra);
    rad += ';';
    rad += Prosent(r->f[k]);
    rad += ';';
    rad += IntToText(r->kjente[k]);
    rad += ';';
  });
  tabell.NyBunnRad(";;;;");
}

// ---- the mating plan ----

TParingsplan LagParingsplan(const TInnavl& innavl, const std::vector<TSoye>& soyer, const std::vector<int32_t>& verer) {
  const TStamtavle& s = innavl.Stamtavle();
  TParingsplan plan;
  plan.soyer = soyer;
  std::vector<int32_t> verDyr;
  for (int32_t nr : verer) {
    if (std::find(plan.verer.begin(), plan.verer.end(), nr) != plan.verer.end() ||
        std::find(plan.ukjente.begin(), plan.ukjente.end(), nr) != plan.ukjente.end())
      continue;
    const int32_t dyr = s.Finn(nr);
    if (dyr < 0) {
      plan.ukjente.push_back(nr);
      continue;
    }
    plan.verer.push_back(nr);
    verDyr.push_back(dyr);
  }
  const std::size_t ns = soyer.size(), nv = verDyr.size();
  plan.lam.assign(ns * nv, 0.0);
  if (ns == 0 || nv == 0) return plan;

  // The lamb's coefficient is ½a(ram, ewe) = ¼a(ram, sire) + ⅛a(ram, dam's sire)
  // + 1/16·a(ram, dam's dam's sire).
  const auto dyrAv = [&](int32_t nr) { return nr == 0 ? -1 : s.Finn(nr); };
  if (ns <= nv) {
    // A column per ewe.
    std::vector<TInnavl::TKolonne> kol(ns);
    for (std::size_t e = 0; e < ns; ++e) {
      if (const int32_t f = dyrAv(soyer[e].far); f >= 0) kol[e].push_back({f, 0.25});
      if (const int32_t m = dyrAv(soyer[e].morfar); m >= 0) kol[e].push_back({m, 0.125});
      if (const int32_t mm = dyrAv(soyer[e].mormorfar); mm >= 0) kol[e].push_back({mm, 0.0625});
    }
    const std::vector<double> b = innavl.Blokk(kol, verDyr);
    for (std::size_t v = 0; v < nv; ++v)
      for (std::size_t e = 0; e < ns; ++e) plan.lam[e * nv + v] = b[v * ns + e];
  } else {
    // A column per ram, a row per sire, dam's sire and dam's dam's sire of the ewes.
    std::vector<TInnavl::TKolonne> kol(nv);
    for (std::size_t v = 0; v < nv; ++v) kol[v].push_back({verDyr[v], 1.0});
    std::vector<int32_t> rader;
    std::vector<int32_t> radFar(ns, -1), radMorfar(ns, -1), radMormorfar(ns, -1);
    const auto rad = [&](int32_t dyr) -> int32_t {
      if (dyr < 0) return -1;
      const auto it = std::find(rader.begin(), rader.end(), dyr);
      if (it != rader.end()) return static_cast<int32_t>(it - rader.begin());
      rader.push_back(dyr);
      return static_cast<int32_t>(rader.size() - 1);
    };
    for (std::size_t e = 0; e < ns; ++e) {
      radFar[e] = rad(dyrAv(soyer[e].far));
      radMorfar[e] = rad(dyrAv(soyer[e].morfar));
      radMormorfar[e] = rad(dyrAv(soyer[e].mormorfar));
    }
    const std::vector<double> b = innavl.Blokk(kol, rader);
    for (std::size_t e = 0; e < ns; ++e) {
      for (std::size_t v = 0; v < nv; ++v) {
        double x = 0.0;
        if (radFar[e] >= 0) x += 0.25 * b[Z(radFar[e]) * nv + v];
        if (radMorfar[e] >= 0) x += 0.125 * b[Z(radMorfar[e]) * nv + v];
        if (radMormorfar[e] >= 0) x += 0.0625 * b[Z(radMormorfar[e]) * nv + v];
        plan.lam[e * nv + v] = x;
      }
    }
  }
  plan.snitt.assign(nv, 0.0);
  for (std::size_t v = 0; v < nv; ++v) {
    double sum = 0.0;
    for (std::size_t e = 0; e < ns; ++e) sum += plan.lam[e * nv + v];
    plan.snitt[v] = sum / static_cast<double>(ns);
  }
  return plan;
}

std::string ParingsplanTittel() { return C("Paringsplan: forventet innavlsgrad hos lammet i prosent"); }

std::string ParingsplanNavn(const TParingsplan& plan) {
  const std::size_t ns = plan.soyer.size(), nv = plan.verer.size();
  std::string t = "Paringsplan: " + IntToText(static_cast<int64_t>(ns)) + (ns == 1 ? C(" søye og ") : C(" søyer og "));
  if (nv > 6) return t + IntToText(static_cast<int64_t>(nv)) + C(" værer");
  t += nv == 1 ? C("væren ") : C("værene ");
  for (std::size_t i = 0; i < nv; ++i) {
    if (i > 0) t += i + 1 == nv ? " og " : ", ";
    t += IntToText(plan.verer[i]);
  }
  return t;
}

void ListParingsplan(const TParingsplan& plan, double grense, TTabellMottaker& tabell, TSnittrad snitt) {
  const std::size_t nv = plan.verer.size();
  // The dam's dam's sire gets a column only when some ewe has one.
  const bool mormorfar =
      std::any_of(plan.soyer.begin(), plan.soyer.end(), [](const TSoye& s) { return s.mormorfar != 0; });
  const std::size_t foran = mormorfar ? 4 : 3;
  tabell.Oppsett(static_cast<int>(foran + nv), 12, 0, 1, 1, ParingsplanTittel(), Rod, Blaa);
  tabell.SettVindusnavn(ParingsplanNavn(plan));
  tabell.SettMinsteskrift(LesbarSkrift);
  std::string rad = mormorfar ? C("Søye;Far;Morfar;Mormors far;") : C("Søye;Far;Morfar;");
  for (int32_t nr : plan.verer) rad += IntToText(nr) + ";";
  tabell.NyRad(rad);
  const auto nummer = [](int32_t nr) { return nr == 0 ? std::string() : IntToText(nr); };
  for (std::size_t e = 0; e < plan.soyer.size(); ++e) {
    const TSoye& s = plan.soyer[e];
    rad = s.nummer + ";" + nummer(s.far) + ";" + nummer(s.morfar) + ";";
    if (mormorfar) rad += nummer(s.mormorfar) + ";";
    for (std::size_t v = 0; v < nv; ++v) {
      const double x = plan.Lam(e, v);
      if (VedGrensa(x, grense)) rad += '\x01';
      rad += Prosent(x) + ";";
    }
    tabell.NyRad(rad);
  }
  rad = mormorfar ? "Snitt;;;;" : "Snitt;;;";
  for (std::size_t v = 0; v < nv; ++v) rad += (plan.snitt.empty() ? std::string() : Prosent(plan.snitt[v])) + ";";
  if (snitt == TSnittrad::SisteRad) {
    tabell.NyRad(rad);
    tabell.NyBunnRad(std::string(foran + nv, ';'));
  } else {
    tabell.NyBunnRad(rad);
  }
}

// ---- the catalogue's mean ----

TInnavlSnitt::TInnavlSnitt(const TInnavl& innavl, const std::vector<TSoye>& soyer) : s_(innavl.Stamtavle()) {
  if (soyer.empty()) return;
  TInnavl::TKolonne kol;
  const double n = static_cast<double>(soyer.size());
  for (const TSoye& soye : soyer) {
    if (soye.far != 0)
      if (const int32_t f = s_.Finn(soye.far); f >= 0) kol.push_back({f, 0.25 / n});
    if (soye.morfar != 0)
      if (const int32_t m = s_.Finn(soye.morfar); m >= 0) kol.push_back({m, 0.125 / n});
    if (soye.mormorfar != 0)
      if (const int32_t mm = s_.Finn(soye.mormorfar); mm >= 0) kol.push_back({mm, 0.0625 / n});
  }
  snitt_ = innavl.Blokk({kol}, {}, true);
}

std::optional<double> TInnavlSnitt::Andel(int32_t nummer) const {
  if (snitt_.empty()) return std::nullopt;
  const int32_t dyr = s_.Finn(nummer);
  if (dyr < 0) return std::nullopt;
  return snitt_[Z(dyr)];
}

std::string TInnavlSnitt::Celle(int32_t nummer) const {
  const auto a = Andel(nummer);
  return a ? Prosent(*a) : std::string();
}

std::unique_ptr<TInnavlSnitt> InnavlSnittFor(TAvlsdata& avl, const std::vector<TSoye>& soyer,
                                             std::span<const int32_t> verer) {
  if (soyer.empty()) return nullptr;
  std::vector<int32_t> nummer(verer.begin(), verer.end());
  for (const TSoye& soye : soyer) {
    nummer.push_back(soye.far);
    nummer.push_back(soye.morfar);
    nummer.push_back(soye.mormorfar);
  }
  return std::make_unique<TInnavlSnitt>(avl.InnavlFor(nummer), soyer);
}

// ---- the insemination grid ----

std::string InnavlStatus(const TInnavl& innavl, const TSoye& soye, int32_t ver) {
  const TStamtavle& s = innavl.Stamtavle();
  const int32_t dyr = s.Finn(ver);
  if (dyr < 0) return C("Søye ") + soye.nummer + C(" × ") + IntToText(ver) + C(": væren er ikke i registeret");
  return C("Søye ") + soye.nummer + C(" × ") + IntToText(ver) + ": forventet innavl " +
         Prosent(innavl.Lam(ver, soye.far, soye.morfar, soye.mormorfar)) + " % (kjente aner " +
         IntToText(innavl.LamKjente(dyr, soye.far, soye.morfar, soye.mormorfar)) + " av " + IntToText(KjenteAnerMaks) +
         ")";
}
