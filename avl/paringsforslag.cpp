#include "paringsforslag.h"

#include <lemon/network_simplex.h>
#include <lemon/smart_graph.h>

#include <QVariant>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "cp1252.h"
#include "felt.h"
#include "filer.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

std::size_t Z(int i) { return static_cast<std::size_t>(i); }

// A setting that may have been written as "6,25" (which QSettings reads as a
// list of two texts) or "6.25".
QString Tekst(const QVariant& v) {
  return v.typeId() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
}

}  // namespace

int LesKapasitet(const QSettings& ini) {
  bool ok = false;
  const int k = Tekst(ini.value("Avl/Kapasitet")).trimmed().toInt(&ok);
  return ok && k >= 0 ? k : StandardKapasitet;
}

double LesVekt(const QSettings& ini) {
  double v = 0;
  const bool ok = LesDesimal(Tekst(ini.value("Avl/Vekt")).toStdString(), v);
  return ok && v >= 0 && v <= MaksVekt ? v : StandardVekt;
}

bool LesDesimal(std::string_view tekst, double& verdi) {
  std::string t = TrimText(tekst);
  std::replace(t.begin(), t.end(), ',', '.');
  if (t.empty()) return false;
  double v = 0;
  const char* slutt = t.data() + t.size();
  const auto [p, ec] = std::from_chars(t.data(), slutt, v);
  if (ec != std::errc() || p != slutt || !std::isfinite(v)) return false;
  verdi = v;
  return true;
}

std::string DesimalTekst(double verdi) {
  char buf[64];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, verdi);
  std::string t(buf, ec == std::errc() ? p : buf);
  std::replace(t.begin(), t.end(), '.', ',');
  return t;
}

bool LesKapasitetstekst(std::string_view tekst, int& kapasitet) {
  const std::string t = TrimText(tekst);
  if (t.empty() || t == "ingen") {
    kapasitet = UtenGrense;
    return true;
  }
  int k = 0;
  const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), k);
  if (ec != std::errc() || p != t.data() + t.size() || k < 0) return false;
  kapasitet = k;
  return true;
}

std::string Kapasitetsfelt(int kapasitet) { return kapasitet == UtenGrense ? std::string() : IntToText(kapasitet); }

int TeltIndeks(int oIndeks) { return oIndeks >= 900 ? 0 : oIndeks; }

int64_t Poeng(int teltIndeks, double andel, double vekt) {
  return RoundHalfAway(100.0 * (static_cast<double>(teltIndeks) - vekt * andel * 100.0));
}

// ---- the solve ----

std::vector<int> Tildel(const TTildelingsoppgave& o) {
  using lemon::SmartDigraph;
  const int ns = o.soyer, nv = o.verer;
  std::vector<int> ver(Z(ns), -1);
  std::vector<int> rom(Z(nv));
  for (int v = 0; v < nv; ++v) rom[Z(v)] = o.kapasitet[Z(v)];
  // Locked ewes are settled first; their rams have that much less room.
  std::vector<int> frie;
  for (int e = 0; e < ns; ++e) {
    const int l = o.laast.empty() ? -1 : o.laast[Z(e)];
    if (l >= 0) {
      ver[Z(e)] = l;
      if (rom[Z(l)] != UtenGrense) rom[Z(l)] = std::max(0, rom[Z(l)] - 1);
    } else {
      frie.push_back(e);
    }
  }
  const int nf = static_cast<int>(frie.size());
  if (nf == 0 || nv == 0) return ver;

  // Each ewe's arcs: her allowed rams with room, best first, only as far as
  // their room together reaches the number of ewes. A ewe given a ram further
  // down could always move to one of those with a place left and score no
  // less, so the optimum is among these arcs.
  std::vector<std::vector<int>> buer(Z(nf));
  std::size_t antPar = 0;
  for (int f = 0; f < nf; ++f) {
    const std::size_t rad = Z(frie[Z(f)]) * Z(nv);
    std::vector<int>& b = buer[Z(f)];
    for (int v = 0; v < nv; ++v)
      if (o.tillatt[rad + Z(v)] && rom[Z(v)] != 0) b.push_back(v);
    std::stable_sort(b.begin(), b.end(), [&](int x, int y) { return o.poeng[rad + Z(x)] > o.poeng[rad + Z(y)]; });
    int64_t plass = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
      plass += rom[Z(b[i])] == UtenGrense ? nf : rom[Z(b[i])];
      if (plass >= nf) {
        b.resize(i + 1);
        break;
      }
    }
    antPar += b.size();
  }
  if (antPar == 0) return ver;

  // The score made non-negative (the same shift on every pair leaves the
  // order of allocations that serve equally many ewes as it was), and a
  // bonus per ewe served that is larger than any sum of shifted scores, so
  // that serving one more ewe always comes first.
  int64_t minst = std::numeric_limits<int64_t>::max(), storst = std::numeric_limits<int64_t>::min();
  for (int f = 0; f < nf; ++f)
    for (int v : buer[Z(f)]) {
      const int64_t p = o.poeng[Z(frie[Z(f)]) * Z(nv) + Z(v)];
      minst = std::min(minst, p);
      storst = std::max(storst, p);
    }
  const int64_t spenn = storst - minst;
  if (spenn > std::numeric_limits<int64_t>::max() / 4 / (static_cast<int64_t>(nf) + 1) / (static_cast<int64_t>(nf) + 1))
    throw std::overflow_error("paringsforslag: poengene er for store");
  const int64_t bonus = static_cast<int64_t>(nf) * spenn + 1;

  SmartDigraph g;
  g.reserveNode(nf + nv + 2);
  g.reserveArc(static_cast<int>(antPar) + nf + nv + 1);
  const SmartDigraph::Node kilde = g.addNode(), sluk = g.addNode();
  std::vector<SmartDigraph::Node> soyeNode(Z(nf)), verNode(Z(nv));
  for (auto& n : soyeNode) n = g.addNode();
  for (auto& n : verNode) n = g.addNode();
  SmartDigraph::ArcMap<int> tak(g);
  SmartDigraph::ArcMap<int64_t> kost(g);
  struct TParbue {
    SmartDigraph::Arc bue;
    int soye, ver;
  };
  std::vector<TParbue> parbuer;
  parbuer.reserve(antPar);
  // Ewes not served go straight from the source to the sink at no cost.
  const SmartDigraph::Arc forbi = g.addArc(kilde, sluk);
  tak[forbi] = nf;
  kost[forbi] = 0;
  for (int f = 0; f < nf; ++f) {
    const SmartDigraph::Arc a = g.addArc(kilde, soyeNode[Z(f)]);
    tak[a] = 1;
    kost[a] = 0;
  }
  for (int f = 0; f < nf; ++f) {
    const int e = frie[Z(f)];
    for (int v : buer[Z(f)]) {
      const std::size_t i = Z(e) * Z(nv) + Z(v);
      const SmartDigraph::Arc a = g.addArc(soyeNode[Z(f)], verNode[Z(v)]);
      tak[a] = 1;
      kost[a] = -(bonus + (o.poeng[i] - minst));
      parbuer.push_back({a, e, v});
    }
  }
  for (int v = 0; v < nv; ++v) {
    const SmartDigraph::Arc a = g.addArc(verNode[Z(v)], sluk);
    tak[a] = rom[Z(v)] == UtenGrense ? nf : std::min(rom[Z(v)], nf);
    kost[a] = 0;
  }

  lemon::NetworkSimplex<SmartDigraph, int, int64_t> ns_(g);
  ns_.upperMap(tak).costMap(kost).stSupply(kilde, sluk, nf);
  if (ns_.run() != lemon::NetworkSimplex<SmartDigraph, int, int64_t>::OPTIMAL)
    throw std::logic_error("paringsforslag: flytproblemet fikk ingen optimal løsning");
  for (const TParbue& p : parbuer)
    if (ns_.flow(p.bue) > 0) ver[Z(p.soye)] = p.ver;
  return ver;
}

// ---- the suggestion ----

TParingsforslag::TParingsforslag(TParingsplan plan, std::vector<std::string> navn, std::vector<int> oIndeks,
                                 TParingsvalg valg)
    : plan_(std::move(plan)), navn_(std::move(navn)), indeks_(std::move(oIndeks)), valg_(std::move(valg)) {
  const int ns = AntallSoyer(), nv = AntallVerer();
  kapasitet_.assign(Z(nv), StandardKapasitet);
  for (int v = 0; v < nv; ++v)
    for (const TKandidat& k : valg_.verer)
      if (k.nummer == plan_.verer[Z(v)]) {
        kapasitet_[Z(v)] = k.kapasitet;
        break;
      }
  const auto finnSoye = [&](const std::string& nr) {
    for (int e = 0; e < ns; ++e)
      if (SammeSoyenummer(plan_.soyer[Z(e)].nummer, nr)) return e;
    return -1;
  };
  const auto finnVer = [&](int32_t nr) {
    for (int v = 0; v < nv; ++v)
      if (plan_.verer[Z(v)] == nr) return v;
    return -1;
  };
  forbudt_.assign(Z(ns) * Z(nv), 0);
  laast_.assign(Z(ns), -1);
  for (const TParingspar& p : valg_.forbudte) {
    const int e = finnSoye(p.soye), v = finnVer(p.ver);
    if (e < 0 || v < 0)
      meldinger_.push_back(C("Forbudt paring ") + p.soye + " og " + IntToText(p.ver) + C(" er ikke med: ") +
                           (e < 0 ? C("søya finnes ikke i lista.") : C("væren er ikke blant kandidatene.")));
    else
      forbudt_[Z(e) * Z(nv) + Z(v)] = 1;
  }
  for (const TParingspar& p : valg_.laaste) {
    const int e = finnSoye(p.soye), v = finnVer(p.ver);
    if (e < 0 || v < 0)
      meldinger_.push_back(C("Låst paring ") + p.soye + " og " + IntToText(p.ver) + C(" er ikke med: ") +
                           (e < 0 ? C("søya finnes ikke i lista.") : C("væren er ikke blant kandidatene.")));
    else
      laast_[Z(e)] = v;
  }
  tildelt_.assign(Z(ns), -1);
  Tell();
}

bool TParingsforslag::Forbudt(int soye, int ver) const { return forbudt_[Z(soye) * Z(AntallVerer()) + Z(ver)] != 0; }

bool TParingsforslag::Tillatt(int soye, int ver) const {
  return !Forbudt(soye, ver) && !VedGrensa(Lam(soye, ver), valg_.grense);
}

int64_t TParingsforslag::Poeng(int soye, int ver) const {
  return ::Poeng(TeltIndeks(OIndeks(ver)), Lam(soye, ver), valg_.vekt);
}

TTildelingsoppgave TParingsforslag::Oppgave() const {
  TTildelingsoppgave o;
  o.soyer = AntallSoyer();
  o.verer = AntallVerer();
  o.poeng.resize(Z(o.soyer) * Z(o.verer));
  o.tillatt.resize(o.poeng.size());
  for (int e = 0; e < o.soyer; ++e)
    for (int v = 0; v < o.verer; ++v) {
      o.poeng[Z(e) * Z(o.verer) + Z(v)] = Poeng(e, v);
      o.tillatt[Z(e) * Z(o.verer) + Z(v)] = Tillatt(e, v);
    }
  o.kapasitet = kapasitet_;
  o.laast = laast_;
  return o;
}

void TParingsforslag::Los() {
  tildelt_ = Tildel(Oppgave());
  Tell();
}

void TParingsforslag::Bruk(const std::vector<TParingspar>& par) {
  std::fill(tildelt_.begin(), tildelt_.end(), -1);
  for (const TParingspar& p : par)
    for (int e = 0; e < AntallSoyer(); ++e)
      if (SammeSoyenummer(plan_.soyer[Z(e)].nummer, p.soye)) {
        for (int v = 0; v < AntallVerer(); ++v)
          if (plan_.verer[Z(v)] == p.ver) tildelt_[Z(e)] = v;
        break;
      }
  Tell();
}

std::vector<TParingspar> TParingsforslag::Par() const {
  std::vector<TParingspar> par;
  for (int e = 0; e < AntallSoyer(); ++e)
    par.push_back({plan_.soyer[Z(e)].nummer, Ver(e) < 0 ? 0 : plan_.verer[Z(Ver(e))]});
  return par;
}

void TParingsforslag::Tell() {
  antall_.assign(Z(AntallVerer()), 0);
  for (int v : tildelt_)
    if (v >= 0) ++antall_[Z(v)];
}

std::string TParingsforslag::Grunn(int soye) const {
  if (Ver(soye) >= 0) return {};
  bool tillatt = false;
  for (int v = 0; v < AntallVerer(); ++v) {
    if (!Tillatt(soye, v)) continue;
    tillatt = true;
    if (!Full(v)) return IngenValgt;
  }
  if (tillatt) return IngenLedigPlass;
  for (int v = 0; v < AntallVerer(); ++v)
    if (!VedGrensa(Lam(soye, v), valg_.grense)) return IngenUtenForbudte;
  return IngenUnderGrensen;
}

TParingsforslag::TSammendrag TParingsforslag::Sammendrag() const {
  TSammendrag s;
  s.soyer = AntallSoyer();
  double innavl = 0, indeks = 0;
  for (int e = 0; e < s.soyer; ++e) {
    const int v = Ver(e);
    if (v < 0) continue;
    ++s.betjent;
    const double a = Lam(e, v);
    innavl += a;
    s.hoyesteInnavl = std::max(s.hoyesteInnavl, a);
    indeks += TeltIndeks(OIndeks(v));
    s.poeng += Poeng(e, v);
  }
  if (s.betjent > 0) {
    s.snittInnavl = innavl / s.betjent;
    s.snittIndeks = indeks / s.betjent;
  }
  return s;
}

std::vector<TParingsforslag::TValgmulighet> TParingsforslag::Valgmuligheter(int soye) const {
  std::vector<TValgmulighet> m;
  for (int v = 0; v < AntallVerer(); ++v)
    if (Tillatt(soye, v)) m.push_back({v, Lam(soye, v), Poeng(soye, v), Ver(soye) == v || !Full(v)});
  return m;
}

std::string TParingsforslag::Endre(int soye, int ver) {
  if (ver >= 0 && ver != Ver(soye)) {
    if (Forbudt(soye, ver)) return C("Paringen er forbudt.");
    if (!Tillatt(soye, ver)) return C("Lammets innavlsgrad er ved eller over grensen.");
    if (Full(ver)) return C("Væren har ingen ledig plass.");
  }
  tildelt_[Z(soye)] = ver;
  // A locked ewe stays locked, to the ram she has now.
  if (laast_[Z(soye)] >= 0) {
    laast_[Z(soye)] = ver;
    OppdaterValg();
  }
  Tell();
  return {};
}

void TParingsforslag::Laas(int soye) {
  if (Ver(soye) < 0) return;
  laast_[Z(soye)] = Ver(soye);
  OppdaterValg();
}

void TParingsforslag::LaasOpp(int soye) {
  laast_[Z(soye)] = -1;
  OppdaterValg();
}

void TParingsforslag::Forby(int soye, int ver) {
  forbudt_[Z(soye) * Z(AntallVerer()) + Z(ver)] = 1;
  if (laast_[Z(soye)] == ver) laast_[Z(soye)] = -1;
  if (Ver(soye) == ver) {
    tildelt_[Z(soye)] = -1;
    Tell();
  }
  OppdaterValg();
}

void TParingsforslag::Tillat(int soye, int ver) {
  forbudt_[Z(soye) * Z(AntallVerer()) + Z(ver)] = 0;
  OppdaterValg();
}

void TParingsforslag::OppdaterValg() {
  valg_.laaste.clear();
  valg_.forbudte.clear();
  const int nv = AntallVerer();
  for (int e = 0; e < AntallSoyer(); ++e) {
    const std::string& nr = plan_.soyer[Z(e)].nummer;
    if (laast_[Z(e)] >= 0) valg_.laaste.push_back({nr, plan_.verer[Z(laast_[Z(e)])]});
    for (int v = 0; v < nv; ++v)
      if (forbudt_[Z(e) * Z(nv) + Z(v)] != 0) valg_.forbudte.push_back({nr, plan_.verer[Z(v)]});
  }
}

TParingsforslag LagParingsforslag(TAvlsdata& avl, const std::vector<TSoye>& soyer, const TParingsvalg& valg) {
  std::vector<int32_t> verer;
  for (const TKandidat& k : valg.verer) verer.push_back(k.nummer);
  std::vector<int32_t> parter = verer;
  for (const TSoye& s : soyer) parter.insert(parter.end(), {s.far, s.morfar, s.mormorfar});
  const TInnavl& innavl = avl.InnavlFor(parter);
  const TStamtavle& s = innavl.Stamtavle();
  // A number the pedigree knows only as someone's sire has no record: it is
  // no candidate.
  std::vector<int32_t> iRegisteret, utenPost;
  for (int32_t nr : verer) {
    const int32_t dyr = s.Finn(nr);
    (dyr >= 0 && s.Slag(dyr) == TDyrSlag::Ver ? iRegisteret : utenPost).push_back(nr);
  }
  TParingsplan plan = LagParingsplan(innavl, soyer, iRegisteret);
  for (int32_t nr : utenPost)
    if (std::find(plan.ukjente.begin(), plan.ukjente.end(), nr) == plan.ukjente.end()) plan.ukjente.push_back(nr);
  std::vector<std::string> navn;
  std::vector<int> indeks;
  const std::span<const TVerPost> poster = avl.Poster();
  for (int32_t nr : plan.verer) {
    const TVerPost& p = poster[Z(s.Post(s.Finn(nr)))];
    navn.push_back(TrimText(NameCase(p.Navn.Verdi())));
    indeks.push_back(p.OIndeks);
  }
  return TParingsforslag(std::move(plan), std::move(navn), std::move(indeks), valg);
}

// ---- the table ----

std::string ForslagTittel() { return C("Paringsforslag"); }

std::string ForslagNavn(const TParingsforslag& f) {
  const int ns = f.AntallSoyer(), nv = f.AntallVerer();
  return C("Paringsforslag: ") + IntToText(ns) + (ns == 1 ? C(" søye og ") : C(" søyer og ")) + IntToText(nv) +
         (nv == 1 ? C(" vær") : C(" værer"));
}

namespace {

std::string Kapasitetstekst(const TParingsforslag& f, int v) {
  return IntToText(f.Antall(v)) + " av " + (f.Kapasitet(v) == UtenGrense ? C("ubegrenset") : IntToText(f.Kapasitet(v)));
}

std::string IndeksTekst(int oIndeks) { return oIndeks >= 900 ? C("gul") : IntToText(oIndeks); }

}  // namespace

std::vector<std::string> SammendragRader(const TParingsforslag& f) {
  const TParingsforslag::TSammendrag s = f.Sammendrag();
  std::vector<std::string> r;
  r.push_back(C("Søyer med vær;") + IntToText(s.betjent) + " av " + IntToText(s.soyer) + ";;;;;");
  const bool noen = s.betjent > 0;
  r.push_back(C("Snitt;;;") + (noen ? Prosent(s.snittInnavl) : "") + ";" + (noen ? FormatN(s.snittIndeks, 1) : "") +
              ";;");
  r.push_back(C("Høyest;;;") + (noen ? Prosent(s.hoyesteInnavl) : "") + ";;;");
  for (int v = 0; v < f.AntallVerer(); ++v) {
    std::string rad = C("Vær;");
    rad += IntToText(f.Plan().verer[Z(v)]) + ";";
    LeggTilFelt(rad, f.Navn(v));
    rad += ";;;" + Kapasitetstekst(f, v) + ";";
    r.push_back(std::move(rad));
  }
  return r;
}

std::string ForslagRad(const TParingsforslag& f, int e) {
  std::string rad;
  const int v = f.Ver(e);
  // A ewe without a ram in the first colour.
  if (v < 0) rad += '\x01';
  LeggTilFelt(rad, f.Plan().soyer[Z(e)].nummer);
  rad += ';';
  if (v < 0) {
    rad += ";;;;\x01";
    rad += f.Grunn(e);
    rad += ';';
    return rad;
  }
  rad += IntToText(f.Plan().verer[Z(v)]);
  rad += ';';
  LeggTilFelt(rad, f.Navn(v));
  rad += ';';
  const double andel = f.Lam(e, v);
  if (VedGrensa(andel, f.Valg().grense)) rad += '\x01';
  rad += Prosent(andel);
  rad += ';';
  rad += IndeksTekst(f.OIndeks(v));
  rad += ';';
  if (f.Laast(e) == v) rad += C("låst");
  rad += ';';
  return rad;
}

void ListParingsforslag(std::shared_ptr<const TParingsforslag> f, TTabellMottaker& tabell, TSnittrad sammendrag) {
  const std::vector<std::string> sum = SammendragRader(*f);
  const bool sist = sammendrag == TSnittrad::SisteRad;
  tabell.Oppsett(ForslagKolonner, 12, 0, 1, sist ? 1 : ForslagBunnrader, ForslagTittel(), Rod, Blaa);
  tabell.SettVindusnavn(ForslagNavn(*f));
  tabell.SettMinsteskrift(LesbarSkrift);
  tabell.NyRad(C("Søye;Vær;Navn;Innavl %;O-indeks;Merknad;"));
  // Room for what a hand change may show.
  for (int v = 0; v < f->AntallVerer(); ++v) {
    tabell.Utvid(1, IntToText(f->Plan().verer[Z(v)]));
    tabell.Utvid(2, f->Navn(v));
  }
  // A reason is shown in the first colour, bold: measured as the table
  // measures such cells, one letter wider.
  for (const char* t : {IngenUnderGrensen, IngenLedigPlass, IngenValgt, IngenUtenForbudte})
    tabell.Utvid(5, std::string("M") + t);
  const int ns = f->AntallSoyer();
  // The footer's "12 av 30" grows as ewes get a ram by hand or suggested
  // again: room for all of them served.
  tabell.Utvid(1, IntToText(ns) + " av " + IntToText(ns));
  tabell.NyeRader(ns, [f](int i, std::string& rad) { rad = ForslagRad(*f, i); });
  if (sist) {
    for (const std::string& rad : sum) tabell.NyRad(rad);
    tabell.NyBunnRad(std::string(ForslagKolonner, ';'));
  } else {
    for (int i = 0; i < ForslagBunnrader; ++i) tabell.NyBunnRad(sum[Z(i)]);
  }
}

// ---- Paringer.Txt ----

fs::path ParingsFil(const fs::path& dataMappe) { return dataMappe / ParingsFilNavn; }

namespace {

constexpr std::string_view IkkeLestMerke = "# Ikke lest: ";

bool ErSoyenummer(const std::string& nr) {
  if (nr.empty() || nr[0] == '#') return false;
  for (unsigned char c : nr)
    if (c < 0x20 || c == ';') return false;
  return true;
}

}  // namespace

namespace {

// A line without blanks or control characters at its ends, whole however
// long (TrimText cuts a text to the register's field length).
std::string_view UtenKanter(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.back()) <= 0x20) t.remove_suffix(1);
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= 0x20) t.remove_prefix(1);
  return t;
}

}  // namespace

TParingsLesing TolkParinger(std::string_view tekst, std::string_view navn) {
  TParingsLesing les;
  TLagretForslag& f = les.forslag;
  const auto hopp = [&](int nr, std::string_view linje, const std::string& hva) {
    les.meldinger.push_back(C("Linje ") + IntToText(nr) + C(" i ") + std::string(navn) + ": " + hva +
                            C("; linja er hoppet over."));
    // Kept as it reads back from its comment: without blanks at its ends.
    f.ikkeLest.emplace_back(UtenKanter(linje));
  };
  const auto parAv = [&](const std::vector<std::string>& felt, std::size_t fra, TParingspar& p) {
    if (felt.size() != fra + 2) return false;
    p.soye = TrimText(felt[fra]);
    const auto ver = LesKaaringsnummer(felt[fra + 1]);
    if (!ErSoyenummer(p.soye) || !ver || *ver == 0) return false;
    p.ver = *ver;
    return true;
  };
  int nr = 0;
  ForHverLinje(tekst, [&](std::string_view linje) {
    ++nr;
    const std::string t(UtenKanter(linje));
    if (t.empty()) return;
    if (t.rfind(IkkeLestMerke.substr(0, IkkeLestMerke.size() - 1), 0) == 0) {
      // A line an earlier read could not read, kept for the user to mend.
      std::string_view rest = std::string_view(t).substr(IkkeLestMerke.size() - 1);
      if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
      f.ikkeLest.emplace_back(rest);
      return;
    }
    std::vector<std::string> felt;
    if (t[0] == '#') {
      if (!DelFelt(std::string_view(t).substr(1), felt) || felt.empty()) return;
      const std::string noekkel = TrimText(felt[0]);
      if (noekkel == "Grense" || noekkel == "Vekt") {
        double x = 0;
        if (felt.size() != 2 || !LesDesimal(felt[1], x) || x < 0 || (noekkel == "Vekt" && x > MaksVekt))
          return hopp(nr, linje, C("venter «# ") + noekkel + C(";tall»"));
        (noekkel == "Grense" ? f.valg.grense : f.valg.vekt) = x;
      } else if (noekkel == "Kapasitet") {
        TKandidat k;
        const auto ver = felt.size() == 3 ? LesKaaringsnummer(felt[1]) : std::nullopt;
        const std::string kap = felt.size() == 3 ? TrimText(felt[2]) : std::string();
        int64_t tall = -1;
        if (kap == "ingen") {
          k.kapasitet = UtenGrense;
        } else if (!kap.empty() && kap.find_first_not_of("0123456789") == std::string::npos && kap.size() < 10) {
          tall = TextToInt(kap);
          k.kapasitet = static_cast<int>(tall);
        }
        if (!ver || *ver == 0 || (kap != "ingen" && tall < 0))
          return hopp(nr, linje, C("venter «# Kapasitet;kåringsnummer;antall» (eller «ingen»)"));
        k.nummer = *ver;
        for (const TKandidat& a : f.valg.verer)
          if (a.nummer == k.nummer) return hopp(nr, linje, C("væren ") + IntToText(k.nummer) + C(" er nevnt før"));
        f.valg.verer.push_back(k);
      } else if (noekkel == "Laast" || noekkel == "Forbudt") {
        TParingspar p;
        if (!parAv(felt, 1, p)) return hopp(nr, linje, C("venter «# ") + noekkel + C(";søye;kåringsnummer»"));
        (noekkel == "Laast" ? f.valg.laaste : f.valg.forbudte).push_back(p);
      }
      // Any other comment is the file's own.
      return;
    }
    TParingspar p;
    if (!DelFelt(t, felt) || felt.size() != 2) return hopp(nr, linje, C("venter søye;vær"));
    p.soye = TrimText(felt[0]);
    if (!ErSoyenummer(p.soye)) return hopp(nr, linje, C("søyenummeret mangler eller er ugyldig"));
    const auto ver = LesKaaringsnummer(felt[1]);
    if (!ver) return hopp(nr, linje, C("værens kåringsnummer «") + TrimText(felt[1]) + C("» er ikke et tall"));
    p.ver = *ver;
    for (const TParingspar& a : f.par)
      if (SammeSoyenummer(a.soye, p.soye)) return hopp(nr, linje, C("søye ") + p.soye + C(" er nevnt før"));
    f.par.push_back(p);
  });
  return les;
}

TParingsLesing LesParinger(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return TolkParinger(LesHeleFila(fil), fil.filename().string());
}

std::string ParingsTekst(const TLagretForslag& f) {
  std::string t = C("# Hornstad: paringsforslag. Søye;vær på hver linje (tom vær: ingen vær).\r\n");
  t += "# Grense;" + DesimalTekst(f.valg.grense) + "\r\n";
  t += "# Vekt;" + DesimalTekst(f.valg.vekt) + "\r\n";
  for (const TKandidat& k : f.valg.verer)
    t += "# Kapasitet;" + IntToText(k.nummer) + ";" +
         (k.kapasitet == UtenGrense ? std::string("ingen") : IntToText(k.kapasitet)) + "\r\n";
  const auto par = [&t](const char* hva, const TParingspar& p) {
    t += hva;
    LeggTilFelt(t, p.soye);
    t += ";" + IntToText(p.ver) + "\r\n";
  };
  for (const TParingspar& p : f.valg.laaste) par("# Laast;", p);
  for (const TParingspar& p : f.valg.forbudte) par("# Forbudt;", p);
  for (const std::string& l : f.ikkeLest) t += std::string(IkkeLestMerke) + l + "\r\n";
  for (const TParingspar& p : f.par) {
    LeggTilFelt(t, p.soye);
    t += ";" + (p.ver == 0 ? std::string() : IntToText(p.ver)) + "\r\n";
  }
  return t;
}

void SkrivParinger(const fs::path& fil, const TLagretForslag& f) { SkrivTrygt(fil, ParingsTekst(f)); }

TLagretForslag Lagret(const TParingsforslag& f) {
  TLagretForslag l;
  l.valg = f.Valg();
  l.par = f.Par();
  return l;
}

int32_t ForeslaattVer(const TLagretForslag& forslag, std::string_view soye) {
  for (const TParingspar& p : forslag.par)
    if (SammeSoyenummer(p.soye, std::string(soye))) return p.ver;
  return 0;
}
