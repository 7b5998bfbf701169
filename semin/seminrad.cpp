#include "seminrad.h"

#include <cctype>
#include <cstdio>

#include "cp1252.h"
#include "dato.h"
#include "register.h"
#include "tekst.h"

// Texts are Windows-1252; an escape is closed before a following hex letter.
const std::array<TSemKolonne, SemAntKol> SemKolonner = {{
    {35,
     "F\xF8"
     "dt  \xE5rs- tall",
     "S\xF8yas f\xF8"
     "dsels\xE5r 2 eller 4 siffer",
     "S\xF8yas f\xF8"
     "dsels\xE5r 2 eller 4 siffer"},
    {44, "S\xF8ye nummer", "S\xF8yas individnummer, 1 til 4 siffer", "S\xF8yas individnummer, 1 til 4 siffer"},
    {63, "Brunst Dato st\xE5r for v\xE6ren", "Dato s\xF8ya st\xE5r", "Dato s\xF8ya st\xE5r"},
    {24, "Brunst  kl", "Klokkeslett s\xF8ya st\xE5r 2 siffer 0 til 23",
     "Klokkeslett s\xF8ya st\xE5r 2 siffer 0 til 23"},
    {38, "Ant Brunst kontrol", "Skriv antall brunstkontroller i d\xF8gnet (1 ..4).",
     "Skriv antall brunstkontroller i d\xF8gnet.(1..4)"},
    {65, "Semin Dato", "Dato inseminert", "Dato inseminert"},
    {25, "Semin kl", "Klokkeslett inseminering 0 til 23", "Klokkeslett inseminering 0 til 23"},
    {75, "V\xE6rens  K\xE5rings- nummer",
     "V\xE6rens k\xE5ringsnummer, r\xF8"
     "dt felt er feil v\xE6rnummer",
     "V\xE6rens k\xE5ringsnummer, r\xF8"
     "dt felt er feil v\xE6rnummer"},
    {30,
     "Prod uke s\xE6"
     "d",
     "S\xE6"
     "dens produksjonsuke(0,1..5,39..52)",
     "S\xE6"
     "dens produksjonsuke (o fersk/gammel (1..5,39..52)frossen"},
    {37,
     "Prod \xE5r s\xE6"
     "d",
     "S\xE6"
     "dens produksjons\xE5r",
     "S\xE6"
     "dens produksjons\xE5r"},
    {30, "Fross/ Fersk",
     "0=Frossen  1=fersk s\xE6"
     "d",
     "0=Frossen  1=fersk s\xE6"
     "d"},
    {28, "Dep- oni ",
     "Deponering av s\xE6"
     "d, 1=b\xF8rhals 2=skjeden",
     "Deponering av s\xE6"
     "d, 1=b\xF8rhals 2=skjeden"},
    {32, "Kon- trol- lert", "Skriv 1 hvis kontroll for oml\xF8p er registrert, 2 hvis ikke.",
     "Skriv 1 hvis oml\xF8p er kontrollert, 2 hvis ikke."},
    {72, "Oml\xF8p dato Tom hvis ikke oml\xF8p", "Dato for eventuelt oml\xF8p",
     "Dato for eventuelt oml\xF8p. Tomt er ikke oml\xF8p."},
}};

const char* const MeldUnormalTid = "Unormal tid mellom brunst og inseminering";
const char* const MeldIkkeSeminver = "Valgte v\xE6r er ikke seminv\xE6r";
const char* const MeldUtgattSemin = "Denne v\xE6ren er utg\xE5tt semin";
const char* const MeldFinnesIkke = " finnes ikke i Hornstad";
const char* const MeldProdUke = "Gyldig produlsjonsuke m\xE5 oppgis";
const char* const MeldUnormalSyklus = "Unormal syklus, sjekk dato";
const char* const FeilDatoTekst = "Feildato";
const char* const LnavFeilInseminor = "Feil insemin\xF8rnummer";

std::string IkkeGyldigDato(const std::string& tekst) { return "'" + tekst + "' er ikke en gyldig dato"; }

TVerOppslag VerOppslagFra(TProdusent& reg) {
  return [&reg](int32_t nummer) -> std::optional<TSemVer> {
    if (!reg.LocateNumber(nummer)) return std::nullopt;
    const TVerPost p = reg.FindByNumber(nummer);
    return TSemVer{p.Type, p.Navn.Verdi()};
  };
}

// ---- Dates ------------------------------------------------------------------

namespace {

// Characters `fra` (0-based) onwards, at most `antall`; empty past the end.
std::string_view Stykke(std::string_view t, std::size_t fra, std::size_t antall) {
  if (fra >= t.size()) return {};
  return t.substr(fra, antall);
}

bool ErSiffer(std::string_view t, std::size_t i) {
  return i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]));
}

int Tall(std::string_view t) { return static_cast<int>(TextToInt(t)); }

}  // namespace

bool LesDato(std::string& tekst, int semaar) {
  const std::string_view t = tekst;
  const int dag = Tall(Stykke(t, 0, 2));
  const std::size_t mndFra = ErSiffer(t, 2) ? 2 : 3;
  const int mnd = Tall(Stykke(t, mndFra, 2));
  const std::size_t aarFra = ErSiffer(t, mndFra + 3) ? mndFra + 3 : mndFra + 4;
  int aar = Tall(Stykke(t, aarFra, 4));
  if (aar == 0) aar = semaar;
  if (aar < ToSifretAarSkille) aar += 2000;
  if (aar < 2000) aar = semaar;
  if (!GyldigDato(aar, mnd, dag)) {
    tekst = FeilDatoTekst;
    return false;
  }
  // Written out whatever the year: DateToText would show a year after 2899
  // as "Ingen dato".
  char dato[16];
  std::snprintf(dato, sizeof dato, "%02d/%02d/%04d", dag, mnd, aar);
  tekst = dato;
  return true;
}

std::optional<double> DatoFraTekst(const std::string& tekst) {
  // Day, month and year as digits separated by '/', blanks around allowed.
  const std::string t = TrimText(tekst);
  int del[3] = {0, 0, 0};
  int antall = 0;
  std::size_t i = 0;
  while (antall < 3) {
    const std::size_t start = i;
    long v = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && i - start < 4) v = v * 10 + (t[i++] - '0');
    if (i == start) return std::nullopt;
    del[antall++] = static_cast<int>(v);
    if (antall < 3) {
      if (i >= t.size() || t[i] != '/') return std::nullopt;
      ++i;
    }
  }
  if (i != t.size()) return std::nullopt;
  int aar = del[2];
  if (t.size() - t.rfind('/') - 1 <= 2) aar += 2000;
  return EncodeDate(aar, del[1], del[0]);
}

// ---- Cell check -------------------------------------------------------------

bool RadNoklet(const TRutenett& g, int rad) {
  return TextToInt(g.Celle(KolFodtAar, rad)) > 0 && TextToInt(g.Celle(KolSoye, rad)) > 0;
}

namespace {

std::string ToSiffer(int64_t v) { return v >= 0 && v < 10 ? "0" + IntToText(v) : IntToText(v); }

bool SisteRad(const TRutenett& g, int rad) { return rad == g.Rader() - 1; }

void LeggTilRad(TRutenett& g, int rad, TSemSjekk& r) {
  if (!SisteRad(g, rad)) return;
  g.SettInnRad(g.Rader());
  g.SettRadhoyde(g.Rader() - 1, SemRadHoyde);
  r.radLagtTil = true;
}

// Hours from heat to insemination. A date that cannot be read counts as 0
// hours and is reported after the hours message; the cell's mark stays.
void SjekkBrunstTid(TSemin& s, const TRutenett& g, int rad, int64_t semKl, TSemSjekk& r) {
  const std::string& brunstTekst = g.Celle(KolBrunstDato, rad);
  const std::string& semTekst = g.Celle(KolSemDato, rad);
  const auto brunst = DatoFraTekst(brunstTekst);
  const auto sem = DatoFraTekst(semTekst);
  if (!brunst || !sem) {
    // The hours count as 0, which is out of range; then the date is reported.
    r.meldinger.push_back(MeldUnormalTid);
    r.meldinger.push_back(IkkeGyldigDato(brunst ? semTekst : brunstTekst));
    r.merket = false;
    return;
  }
  const double brunstTid = *brunst + static_cast<double>(TextToInt(g.Celle(KolBrunstKl, rad))) / 24.0;
  const double semTid = *sem + static_cast<double>(semKl) / 24.0;
  const int64_t timer = RoundHalfAway((semTid - brunstTid) * 24.0);
  if (semTid > s.SisteSemin) s.SisteSemin = semTid;
  if (timer < 8 || timer > 26) r.meldinger.push_back(MeldUnormalTid);
}

void SjekkVer(TSemin& s, TRutenett& g, int rad, const std::string& tekst, bool& gyldig, TSemSjekk& r) {
  const auto nummer = TextToInt(tekst);
  std::optional<TSemVer> ver;
  if (s.Ver && nummer > 0 && nummer <= INT32_MAX) ver = s.Ver(static_cast<int32_t>(nummer));
  gyldig = ver.has_value();
  if (ver && ver->type == 0) {
    r.meldinger.push_back(MeldIkkeSeminver);
  } else if (ver && ver->type == 2) {
    r.meldinger.push_back(MeldUtgattSemin);
    s.Lnav = "Utg\xE5tt :" + ver->navn;
  } else if (!ver) {
    r.meldinger.push_back(tekst + MeldFinnesIkke);
  }
  if (ver && ver->type == 1) s.Lnav = "V\xE6r :" + ver->navn;
  LeggTilRad(g, rad, r);
}

bool GyldigUke(int64_t uke, int64_t prodAar) {
  if (uke >= 39 && uke <= 52) return true;
  if (prodAar > SisteAarUtenProdUke) return uke >= 1 && uke <= 5;
  return uke >= 0 && uke <= 5;
}

void SjekkSyklus(const TRutenett& g, int rad, const std::string& omlop, TSemSjekk& r) {
  const std::string& semTekst = g.Celle(KolSemDato, rad);
  const auto tilbake = DatoFraTekst(omlop);
  const auto sem = DatoFraTekst(semTekst);
  if (!tilbake || !sem) {
    r.meldinger.push_back(IkkeGyldigDato(tilbake ? semTekst : omlop));
    r.merket = false;
    return;
  }
  const int64_t dager = RoundHalfAway(*tilbake - *sem);
  if (dager < 16 || dager > 19) r.meldinger.push_back(MeldUnormalSyklus);
}

}  // namespace

TSemSjekk GriSemCellValidate(TSemin& s, TRutenett& g, int kol, int rad, std::string& tekst, bool& gyldig) {
  TSemSjekk r;
  s.Endret = true;
  gyldig = true;
  const int64_t v = TextToInt(tekst);
  const bool noklet = RadNoklet(g, rad);
  switch (kol) {
    case KolFodtAar: {
      if (tekst.empty()) {
        r.merket = false;
        break;
      }
      int64_t aar = v;
      if (aar < 1900) aar += aar <= 50 ? 2000 : 1900;
      gyldig = aar > s.Semaar - 10 && aar <= s.Semaar;
      tekst = IntToText(aar);
      s.Lnav = s.InsemNavn;
      break;
    }
    case KolSoye: gyldig = v > 0; break;
    case KolKontroller: gyldig = v >= 1 && v <= 4; break;
    default:
      if (!noklet) break;
      switch (kol) {
        case KolBrunstDato:
        case KolSemDato: gyldig = LesDato(tekst, s.Semaar); break;
        case KolBrunstKl:
          gyldig = v >= 0 && v <= 23;
          tekst = ToSiffer(v);
          break;
        case KolSemKl:
          gyldig = v >= 0 && v <= 23;
          tekst = ToSiffer(v);
          SjekkBrunstTid(s, g, rad, v, r);
          break;
        case KolVer: SjekkVer(s, g, rad, tekst, gyldig, r); break;
        case KolUke:
          gyldig = GyldigUke(v, TextToInt(g.Celle(KolProdAar, rad)));
          if (!gyldig) r.meldinger.push_back(MeldProdUke);
          break;
        case KolProdAar: {
          int64_t aar = v;
          if (aar < ToSifretAarSkille)
            aar += 2000;
          else if (aar < 100)
            aar += 1900;
          gyldig = aar >= SemaarFra && aar <= s.Semaar;
          tekst = IntToText(aar);
          break;
        }
        case KolFersk:
          gyldig = v == 0 || v == 1;
          if (v == 1) {
            g.SettCelle(KolProdAar, rad, IntToText(s.Semaar));
            const auto dato = DatoFraTekst(g.Celle(KolSemDato, rad));
            g.SettCelle(KolUke, rad, dato ? IntToText(IsoUke(*dato)) : "00");
          }
          tekst = IntToText(v);
          break;
        case KolDeponi:
          gyldig = tekst.size() == 1 && (v == 1 || v == 2);
          tekst = IntToText(v);
          LeggTilRad(g, rad, r);
          break;
        case KolKontrollert: tekst = (v == 1 || v == 2) ? IntToText(v) : "2"; break;
        case KolOmlop:
          if (tekst.size() <= 3) {
            tekst.clear();
          } else {
            LesDato(tekst, s.Semaar);
            SjekkSyklus(g, rad, tekst, r);
          }
          break;
        default: break;
      }
  }
  g.SettCelle(kol, rad, tekst);
  if (r.merket) g.SettFlagg(kol, rad, gyldig ? 0 : SemFeilFlagg);
  return r;
}

bool RadKomplett(TRutenett& g, int rad, int iAar) {
  const int64_t fodt = TextToInt(g.Celle(KolFodtAar, rad));
  if (fodt > iAar || fodt < EldsteSoyeFodt) return false;
  if (TextToInt(g.Celle(KolSoye, rad)) < 1) return false;
  for (int kol = 0; kol < SemAntKol; ++kol) {
    const bool tom = g.Celle(kol, rad).empty();
    const bool feil = (g.Flagg(kol, rad) & SemFeilFlagg) != 0;
    if (!feil && !(tom && kol != KolUke && kol != KolOmlop)) continue;
    if (tom && kol != KolOmlop) g.SettCelle(kol, rad, " ");
    g.SettFlagg(kol, rad, g.Flagg(kol, rad) | SemFeilFlagg);
    return false;
  }
  if (TextToInt(g.Celle(KolProdAar, rad)) > SisteAarUtenProdUke && TextToInt(g.Celle(KolUke, rad)) == 0) return false;
  return true;
}

bool RadKomplett(TRutenett& g, int rad) {
  const auto idag = DecodeDate(IDag());
  return RadKomplett(g, rad, idag ? idag->aar : 0);
}

std::optional<QColor> CelleFarge(const TRutenett& g, int kol, int rad) {
  if (rad < g.FasteRader()) return std::nullopt;
  if (g.Flagg(kol, rad) & SemFeilFlagg) return QColor(255, 0, 0);
  return QColor(255, 255, 255);
}

std::string VelgCelle(TRutenett& g, int kol, int /*rad*/, int forrigeRad) {
  if (kol == KolUke && g.Celle(KolVer, forrigeRad).empty())
    g.SettFlagg(KolVer, forrigeRad, g.Flagg(KolVer, forrigeRad) | SemFeilFlagg);
  if (kol < 0 || kol >= SemAntKol) return {};
  return SemKolonner[kol].status;
}

void ForlatGrid(TSemin& s) { s.Lnav = s.InsemNavn; }

void OppsettGrid(TRutenett& g) {
  g.SettStorrelse(SemAntKol, 2);
  g.SettFaste(0, 1);
  g.SettStandardHoyde(SemRadHoyde);
  g.SettRadhoyde(0, SemTittelHoyde);
  for (int kol = 0; kol < SemAntKol; ++kol) {
    g.SettKolbredde(kol, SemKolonner[kol].bredde);
    g.SettCelle(kol, 0, SemKolonner[kol].tittel);
  }
}

void Nullstill(TSemin& s, TRutenett& g) {
  if (g.Kolonner() != SemAntKol || g.FasteRader() != 1) OppsettGrid(g);
  g.SlettRader(1, g.Rader() - 1);
  g.SettInnRad(1);
  g.SettRadhoyde(1, SemRadHoyde);
  g.SettGjeldende(0, 1);
  s.ProdNr.clear();
  s.SemNr.clear();
  s.InsemNavn.clear();
  s.Lnav = LnavFeilInseminor;
  s.LnavFarge = TLnavFarge::Vanlig;
  s.Endret = false;
  s.SisteSemin = 0.0;
}

int SemaarTil() {
  const auto idag = DecodeDate(IDag());
  return idag ? idag->aar : SemaarFra;
}

// ---- Header numbers ---------------------------------------------------------

bool SjekkInseminor(TSemin& s, int64_t nummer) {
  if (nummer < MinsteInseminor) return false;
  const std::string navn = IntToText(nummer);
  for (const std::string& linje : s.Godkjente) {
    const auto lik = linje.find('=');
    if (lik == std::string::npos || linje.compare(0, lik, navn) != 0 || lik != navn.size()) continue;
    s.InsemNavn = linje.substr(lik + 1);
    s.Lnav = s.InsemNavn;
    s.LnavFarge = TLnavFarge::Blaa;
    return true;
  }
  s.Lnav = LnavFeilInseminor;
  s.LnavFarge = TLnavFarge::Rod;
  return false;
}

THodeFarger EprodNrChange(TSemin& s, bool prodNrEndret) {
  THodeFarger f;
  const bool prodGod = s.ProdNr.size() == 10 && CheckDigitOk(s.ProdNr);
  f.beggeGode = prodGod && s.SemNr.size() == 5 && SjekkInseminor(s, TextToInt(s.SemNr));
  if (f.beggeGode) {
    f.prodNr = FeltHvit;
    f.semNr = FeltHvit;
  } else if (prodNrEndret) {
    f.prodNr = prodGod ? FeltHvit : FeltLysRod;
  } else {
    const bool semGod = s.SemNr.size() == 5 && SjekkInseminor(s, TextToInt(s.SemNr));
    f.semNr = semGod ? FeltHvit : FeltLysRod;
  }
  s.Endret = true;
  return f;
}

std::string ProdNrGrunn(std::string_view prodNr) {
  if (prodNr.size() != 10)
    return Utf8TilCp1252("Produsentnummeret skal ha 10 siffer (nå " + std::to_string(prodNr.size()) + ").");
  if (!CheckDigitOk(prodNr))
    return Utf8TilCp1252("Kontrollsifferet (det siste sifferet) i produsentnummeret stemmer ikke.");
  return {};
}

std::string SemNrGrunn(const TSemin& s, std::string_view semNr, const std::string& godkjentFil,
                       const std::string& dataMappe) {
  if (semNr.size() != 5)
    return Utf8TilCp1252("Inseminørnummeret skal ha 5 siffer (nå " + std::to_string(semNr.size()) + ").");
  if (godkjentFil.empty())
    return Utf8TilCp1252("Ingen inseminør kan godkjennes: lista SemGodkj.Txt finnes ikke i datamappa " + dataMappe +
                         ".");
  TSemin kopi = s;
  if (SjekkInseminor(kopi, TextToInt(semNr))) return {};
  return std::string(semNr) + Utf8TilCp1252(" står ikke i lista over godkjente inseminører (" + godkjentFil + ").");
}
