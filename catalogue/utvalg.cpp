#include "utvalg.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "filer.h"
#include "tekst.h"

TUtvalg StartUtvalg(int detteAar, int antallRaser) {
  TUtvalg u;
  u.raser.assign(static_cast<std::size_t>(std::max(antallRaser, 0)), false);
  u.tilMaks = detteAar;
  u.til = detteAar - 1;
  u.fraMaks = u.til;
  return u;
}

std::vector<std::string> RaseValg(const Trase& raser) {
  std::vector<std::string> v;
  for (int32_t k = 0; k < raser.BreedCount(); ++k) v.push_back(raser.BreedName(k));
  if (v.empty()) v.resize(InnebygdeRaseValg);
  v[0] = "Alle raser";
  return v;
}

void SettFra(TUtvalg& u, int verdi) {
  verdi = std::min(verdi, u.fraMaks);
  if (verdi == u.fra) return;
  u.fra = verdi;
  FraChange(u);
}

void SettTil(TUtvalg& u, int verdi) {
  verdi = std::max(std::min(verdi, u.tilMaks), u.tilMin);
  if (verdi == u.til) return;
  u.til = verdi;
  tilChange(u);
}

void SettAntall(TUtvalg& u, int verdi, int detteAar) {
  verdi = std::clamp(verdi, 0, MaksMinsteIndeks);
  if (verdi == u.antall) return;
  u.antall = verdi;
  AntallClick(u, detteAar);
}

void FraChange(TUtvalg& u) { u.tilMin = u.fra; }

void tilChange(TUtvalg& u) { u.fraMaks = u.til; }

void FylkerClick(TUtvalg& u, bool fraNykar, int detteAar) {
  if (!fraNykar || !u.nykar) return;
  SettTil(u, detteAar);
  SettFra(u, detteAar);
  SettAntall(u, 0, detteAar);
}

void AntallClick(TUtvalg& u, int detteAar) {
  const int v = u.antall;
  if (v > 0 && u.gkar) {
    u.gkar = false;
    GkarClick(u, detteAar);
  }
  if (v >= 70 && !u.semin && !u.avkomgr) {
    u.avkomgr = true;
    AvkomgrClick(u, detteAar);
  }
  if (v < 70 && u.avkomgr) {
    u.avkomgr = false;
    AvkomgrClick(u, detteAar);
  }
  if (v == 0 && !u.semin) {
    if (!u.gkar) {
      u.gkar = true;
      GkarClick(u, detteAar);
    }
    if (u.avkomgr) {
      u.avkomgr = false;
      AvkomgrClick(u, detteAar);
    }
  }
  FylkerClick(u, false, detteAar);
}

void SeminClick(TUtvalg& u, int detteAar) {
  if (u.semin) SettAntall(u, 70, detteAar);
  FylkerClick(u, false, detteAar);
}

void GkarClick(TUtvalg& u, int detteAar) {
  if (u.gkar) SettAntall(u, 0, detteAar);
  FylkerClick(u, false, detteAar);
}

void AvkomgrClick(TUtvalg& u, int detteAar) {
  if (u.avkomgr) SettAntall(u, 80, detteAar);
  FylkerClick(u, false, detteAar);
}

bool KanVise(const TUtvalg& u) {
  const bool art = u.utgSem || u.semin || u.nykar || u.gkar || u.avkomgr;
  const auto noen = [](const std::vector<bool>& v) { return std::find(v.begin(), v.end(), true) != v.end(); };
  return art && noen(u.fylker) && noen(u.raser);
}

bool PassetKjorer(const TUtvalg& u) { return u.egenListe || u.semin || u.utgSem || u.gkar || u.avkomgr; }

bool FylkeOgRaseValgt(const TUtvalg& u, int fylke, int rase) {
  if (fylke < 0 || fylke >= static_cast<int>(u.fylker.size())) return false;
  if (u.raser.empty() || rase >= static_cast<int>(u.raser.size())) return false;
  const bool fylkeOk = u.fylker[0] || u.fylker[static_cast<std::size_t>(fylke)];
  // A negative code has no entry of its own: only "Alle raser" takes it.
  const bool raseOk = u.raser[0] || (rase >= 0 && u.raser[static_cast<std::size_t>(rase)]);
  return fylkeOk && raseOk;
}

bool VerValgt(const TUtvalg& u, const TVerPost& ver) {
  if (!FylkeOgRaseValgt(u, ver.Fylke, ver.Rase)) return false;
  const int aar = ver.Aar;
  const bool iAarene = u.fra <= aar && aar <= u.til;
  const bool art = (u.utgSem && ver.Type == 2) || (u.semin && ver.Type == 1) ||
                   (u.avkomgr && ver.OIndeks >= u.antall && iAarene) || (u.gkar && iAarene);
  if (!art) return false;
  return !(ver.OIndeks >= 900 && u.ugul);
}

std::vector<std::string> LesEgenListe(const std::filesystem::path& fil) {
  const std::filesystem::path sti = FinnFil(fil.parent_path(), fil.filename().string());
  std::error_code ec;
  if (!std::filesystem::exists(sti, ec)) return {};
  return TekstLinjer(LesHeleFila(sti));
}

void SkrivEgenListe(const std::vector<std::string>& linjer, const std::filesystem::path& fil) {
  if (linjer.empty()) return;
  std::string innhold;
  for (const std::string& l : linjer) innhold += l + "\r\n";
  SkrivTrygt(FinnFil(fil.parent_path(), fil.filename().string()), innhold);
}

std::vector<std::string> FlettEgenListe(const std::vector<std::string>& grunnlag, const std::vector<std::string>& mine,
                                        const std::vector<std::string>& deres) {
  const auto oppforinger = [](const std::vector<std::string>& linjer) {
    std::vector<std::string> v;
    for (const std::string& l : linjer)
      if (std::string t = TrimText(l); !t.empty()) v.push_back(std::move(t));
    return v;
  };
  const std::vector<std::string> g = oppforinger(grunnlag), m = oppforinger(mine), d = oppforinger(deres);
  const auto har = [](const std::vector<std::string>& v, const std::string& t) {
    return std::find(v.begin(), v.end(), t) != v.end();
  };
  std::vector<std::string> r;
  for (const std::string& t : d)
    if (!har(r, t) && (har(m, t) || !har(g, t))) r.push_back(t);  // kept unless the window took it out
  for (const std::string& t : m)
    if (!har(r, t) && !har(g, t)) r.push_back(t);  // added in the window
  return r;
}

int Fremdriftsprosent(int64_t lest, int64_t totalt) {
  if (totalt < 100 || lest <= 0) return 0;
  return static_cast<int>(std::min<int64_t>(lest / (totalt / 100), 100));
}

namespace {

int32_t ListeNummer(const std::vector<std::string>& liste, int64_t i) {
  if (i >= static_cast<int64_t>(liste.size())) return 0;
  const int64_t n = TextToInt(liste[static_cast<std::size_t>(i)]);
  if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(n);
}

}  // namespace

int64_t Utplukk(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& egenListe, const TUtvalgMottaker& ta,
                const TUtvalgFremdrift& fremdrift) {
  return UtplukkPoster(
      reg, u, egenListe, [&ta](const TVerPost& ver, int32_t) { ta(ver); }, fremdrift);
}

int64_t UtplukkPoster(TProdusent& reg, const TUtvalg& u, const std::vector<std::string>& egenListe,
                      const TPostMottaker& ta, const TUtvalgFremdrift& fremdrift) {
  if (!PassetKjorer(u)) return 0;
  const bool egen = u.egenListe;
  const int64_t poster = reg.RecordCount();
  if (!egen && poster == 0) return 0;
  // A blank line of the own list is no entry.
  std::vector<std::string> liste;
  if (egen)
    for (const std::string& l : egenListe)
      if (!TrimText(l).empty()) liste.push_back(l);
  const int64_t linjer = static_cast<int64_t>(liste.size());
  const int64_t totalt = egen ? linjer : poster;
  int64_t i = 0, tatt = 0;
  bool stopp = false;
  do {
    const int32_t indeks = egen ? reg.FinnIndeks(ListeNummer(liste, i)) : static_cast<int32_t>(i);
    const TVerPost ver = egen ? reg.FindByNumber(ListeNummer(liste, i)) : reg.ReadAt(indeks);
    ++i;
    if (fremdrift && !fremdrift(i, totalt)) stopp = true;
    if (egen || VerValgt(u, ver)) {
      ta(ver, indeks);
      ++tatt;
    }
    if (egen && i >= linjer) stopp = true;
  } while (!stopp && i != poster);
  return tatt;
}

TKnapper KnapperEtterPass(int64_t linjer) { return {linjer > 10, linjer > 12, linjer > 3}; }
