#include "listing.h"

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <variant>

#include "cp1252.h"
#include "dato.h"
#include "tekst.h"

namespace {

// The text listing is made in parts of this many rams, side by side on the
// machine's cores, and written in their order.
constexpr std::size_t PartiStorrelse = 4096;

std::string C(const char* utf8) { return Utf8TilCp1252(utf8); }

// An integer with at least `siffer` digits, zeros put in front ("%.3d").
std::string MedNuller(int64_t v, int siffer) {
  const bool neg = v < 0;
  std::string t = IntToText(neg ? -v : v);
  if (static_cast<int>(t.size()) < siffer) t.insert(0, static_cast<std::size_t>(siffer) - t.size(), '0');
  return neg ? "-" + t : t;
}

// The listing's line formats: literal text with "%W.Pn" (a number in the "n"
// format, right-aligned to W), "%.Pd" (an integer of at least P digits) and
// "%s" (a text), filled from `verdier` in order.
using TVerdi = std::variant<int64_t, double, std::string>;

std::string Formater(std::string_view fmt, std::initializer_list<TVerdi> verdier) {
  std::string ut;
  auto v = verdier.begin();
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%') {
      ut += fmt[i];
      continue;
    }
    int bredde = 0, presisjon = -1;
    ++i;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') bredde = bredde * 10 + (fmt[i++] - '0');
    if (i < fmt.size() && fmt[i] == '.') {
      presisjon = 0;
      ++i;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') presisjon = presisjon * 10 + (fmt[i++] - '0');
    }
    if (i >= fmt.size() || v == verdier.end()) break;
    const TVerdi& verdi = *v++;
    std::string felt;
    switch (fmt[i]) {
      case 'n': {
        const double x = std::holds_alternative<double>(verdi) ? std::get<double>(verdi)
                                                               : static_cast<double>(std::get<int64_t>(verdi));
        felt = FormatN(x, presisjon < 0 ? 2 : presisjon);
        break;
      }
      case 'd': felt = MedNuller(std::get<int64_t>(verdi), presisjon); break;
      default: felt = std::get<std::string>(verdi); break;
    }
    ut += PadLeft(felt, bredde);
  }
  return ut;
}

std::string Indeks(int v) { return ErGul(v) ? " gul" : IntToText(v); }

struct TFaste {
  std::string burdFodt = C(" Burd født:");
  std::string granska = "Granska i ring ";
  std::string kaara = C("Kåra i ring ");
  std::string fodtHos = C("Født hos: ");
  std::string kolonner = "Dyr    Nr      Navn                 Dato      O   -  MoV Slv  Kj   F MoS Frb   hv  slv  dtr";
  std::string kaaring = C("Kåring:      Høstvekt   O-ætt   Vektavvik Kropp Bein  Ullkval. Ullmengde  Sum");
  std::string ullanalyse = C("Ullanalyse:  Maks-my Middel-my  Stapel   Marg  Dyrehår  Ullv:   MidLamdato");
  std::string vaernr = C("Værnr.;");
};

const TFaste& Faste() {
  static const TFaste f;
  return f;
}

void Linje(std::string& ut, std::string_view l) {
  ut += l;
  ut += "\r\n";
}

// The listing is written straight into its buffer: a catalogue of every ram
// is hundreds of megabytes, and a text made and thrown away per field would
// cost more than the rest of the pass.

// `t` left-aligned (PadRight) to `bredde`; never cut.
void Venstre(std::string& ut, std::string_view t, std::size_t bredde) {
  t = t.substr(0, std::min(t.size(), MaksTekst));
  ut += t;
  if (t.size() < bredde) ut.append(bredde - t.size(), ' ');
}

// An integer's decimal text in a buffer of the caller's.
struct TTall {
  char tegn[24];
  std::size_t lengde;
  explicit TTall(int64_t v) : lengde(static_cast<std::size_t>(std::to_chars(tegn, tegn + sizeof tegn, v).ptr - tegn)) {}
  std::string_view Tekst() const { return {tegn, lengde}; }
};

// `v` right-aligned (PadLeft of its text) to `bredde`; never cut.
void HoyreTall(std::string& ut, int64_t v, std::size_t bredde) {
  char tegn[48];
  char* const slutt = tegn + sizeof tegn;
  char* p = slutt;
  uint64_t u = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (v < 0) *--p = '-';
  // The blanks in front go in the same buffer: one append.
  while (static_cast<std::size_t>(slutt - p) < bredde && p > tegn) *--p = ' ';
  const auto n = static_cast<std::size_t>(slutt - p);
  if (n < bredde) ut.append(bredde - n, ' ');
  ut.append(p, n);
}

// Two digits of `v` (0 to 99).
void ToSiffer(std::string& ut, int v) {
  ut += static_cast<char>('0' + v / 10 % 10);
  ut += static_cast<char>('0' + v % 10);
}

// "dd/mm/yy" for an index date above 50, otherwise "uten ind".
void LeggIndeksDato(std::string& ut, double dato) {
  if (dato > 50) {
    if (const auto k = DecodeDate(dato)) {
      ToSiffer(ut, k->dag);
      ut += '/';
      ToSiffer(ut, k->maaned);
      ut += '/';
      ToSiffer(ut, k->aar % 100);
      return;
    }
  }
  ut += "uten ind";
}

void LeggIndeksLinje(std::string& ut, const TVerPost& ver) {
  HoyreTall(ut, ver.Nummer, 9);
  ut += ' ';
  Venstre(ut, NameCase(ver.Navn.Verdi()), 21);
  LeggIndeksDato(ut, ver.IndeksDato);
  for (int v :
       {ver.OIndeks, ver.KIndeks, ver.MorevVaar, ver.Slakt, ver.Kjott, ver.Fett, ver.MorevSl, ver.Fruktbarhet}) {
    if (ErGul(v))
      ut += " gul";
    else
      HoyreTall(ut, v, 4);
  }
  for (int v : {ver.AntHostvekt, ver.AntSlakt, ver.AntDotre}) HoyreTall(ut, v, 5);
}

}  // namespace

std::string FodselsTekst(int burdFodt) {
  static const char* const tekst[] = {"ukjent", "einstaka ", "tvilling", "trilling", "firling", "femling"};
  return burdFodt >= 0 && burdFodt <= 5 ? tekst[burdFodt] : "";
}

std::string SeminMerke(int type) {
  static const char* const tekst[] = {" ", " Semin", " U.sem", "Pr.sem"};
  return type >= 0 && type <= 3 ? tekst[type] : "";
}

std::string IndeksDatoTekst(double dato) {
  std::string t;
  LeggIndeksDato(t, dato);
  return t;
}

bool ErGul(int indeks) { return indeks >= 900; }

std::string IndeksLinje(const TVerPost& ver) {
  std::string l;
  LeggIndeksLinje(l, ver);
  return l;
}

namespace {

void Linjer13(const TVerPost& ver, const TProdusent& reg, const Trase& raser, std::string& ut) {
  const TFaste& f = Faste();
  const TVerPost far = reg.LesNummer(ver.Farnr);
  const TVerPost farfar = reg.LesNummer(far.Farnr);
  const TVerPost morfar = reg.LesNummer(ver.MorFar);

  // 1: number, name, breed, birth type, ring, insemination label.
  HoyreTall(ut, ver.Nummer, 9);
  ut += ' ';
  Venstre(ut, NameCase(ver.Navn.Verdi()), 21);
  Venstre(ut, raser.BreedName(ver.Rase), 15);
  {
    std::string fodsel = f.burdFodt;
    fodsel += FodselsTekst(ver.BurdFodt);
    Venstre(ut, std::string_view(fodsel).substr(0, 20), 20);
  }
  {
    std::string ring = ver.OIndeks != 0 ? f.granska : f.kaara;
    ring += TTall(ver.Ring).Tekst();
    Venstre(ut, ring, 18);
  }
  ut += SeminMerke(ver.Type);
  ut += "\r\n";
  // 2: where it was born.
  ut += f.fodtHos;
  ut += TrimText(NameCase(ver.Fodebuskap.Verdi()));
  ut += ", ";
  ut += NameCase(ver.Fodested.Verdi());
  ut += ", ";
  ut += CountyName(ver.Fylke);
  ut += "\r\n";
  // 3-8: the ram, its sire, dam, sire's sire and dam's sire.
  Linje(ut, f.kolonner);
  ut += "Selv:";
  LeggIndeksLinje(ut, ver);
  ut += "\r\nFar :";
  LeggIndeksLinje(ut, far);
  ut += "\r\n";
  Linje(ut, Formater("Mor :   %.6d                               %.3d", {int64_t{ver.Mornr}, int64_t{ver.MorIndeks}}));
  ut += "Farf:";
  LeggIndeksLinje(ut, farfar);
  ut += "\r\nMorf:";
  LeggIndeksLinje(ut, morfar);
  ut += "\r\n";
  // 9-10: judging.
  Linje(ut, f.kaaring);
  const double sum = ver.Bein > 0 ? static_cast<double>(ver.OAett) + ver.VektAvvik + ver.Kropp + ver.Bein +
                                        ver.Ullkvalitet + ver.Ullmengde
                                  : 0.0;
  // "             %4.1n       %4.1n      %4.1n      %.2d   %.2d   %.2d       %.2d        %5.1n"
  ut.append(13, ' ');
  LeggTilFormatN(ut, 4, 1, ver.Hostvekt);
  ut.append(7, ' ');
  LeggTilFormatN(ut, 4, 1, ver.OAett);
  ut.append(6, ' ');
  LeggTilFormatN(ut, 4, 1, ver.VektAvvik);
  ut.append(6, ' ');
  ut += MedNuller(ver.Kropp, 2);
  ut.append(3, ' ');
  ut += MedNuller(ver.Bein, 2);
  ut.append(3, ' ');
  ut += MedNuller(ver.Ullkvalitet, 2);
  ut.append(7, ' ');
  ut += MedNuller(ver.Ullmengde, 2);
  ut.append(8, ' ');
  LeggTilFormatN(ut, 5, 1, sum);
  ut += "\r\n";
  // 11-12: wool analysis.
  Linje(ut, f.ullanalyse);
  // "               %4.0n     %4.0n     %4.1n     %.2d     %.2d     %3.1n  %s"
  ut.append(15, ' ');
  LeggTilFormatN(ut, 4, 0, ver.MaksMy);
  ut.append(5, ' ');
  LeggTilFormatN(ut, 4, 0, ver.Fiberdiameter);
  ut.append(5, ' ');
  LeggTilFormatN(ut, 4, 1, ver.Stapel);
  ut.append(5, ' ');
  ut += MedNuller(ver.Marg, 2);
  ut.append(5, ' ');
  ut += MedNuller(ver.Dyrehaar, 2);
  ut.append(5, ' ');
  LeggTilFormatN(ut, 3, 1, ver.Ullvekt);
  ut.append(2, ' ');
  std::optional<Kalenderdato> klippet;
  if (ver.KlippeDato > 10) klippet = DecodeDate(ver.KlippeDato);
  if (klippet) {
    ToSiffer(ut, klippet->dag);
    ut += '/';
    ToSiffer(ut, klippet->maaned);
    ut += '/';
    ToSiffer(ut, klippet->aar / 100);
    ToSiffer(ut, klippet->aar % 100);
  } else {
    ut.append(10, ' ');
  }
  ut += "\r\n";
  Linje(ut, "----");
}

}  // namespace

void SkrivKatalogLinjer(const TVerPost& ver, const TProdusent& reg, const Trase& raser, std::string& ut) {
  Linjer13(ver, reg, raser, ut);
}

std::vector<std::string> KatalogLinjer(const TVerPost& ver, const TProdusent& reg, const Trase& raser) {
  std::string t;
  Linjer13(ver, reg, raser, t);
  return TekstLinjer(t);
}

TTekstKatalog::TTekstKatalog(TProdusent& reg, const Trase& raser, std::filesystem::path fil, TKopi kopi)
    : reg_(reg),
      raser_(raser),
      fil_(fil.empty() ? FinnFil(reg.DataMappe(), VerKatFilNavn) : std::move(fil)),
      ut_(fil_),
      kopi_(std::move(kopi)) {
  // Remade by every pass; a listing is not worth the wait for the disk.
  ut_.UtenDiskventing();
  parti_.reserve(PartiStorrelse);
}

TTekstKatalog::~TTekstKatalog() = default;  // the parts under way are waited for

void TTekstKatalog::Ta(const TVerPost& ver) {
  parti_.push_back(ver);
  ++antall_;
  if (parti_.size() >= PartiStorrelse) Send();
}

void TTekstKatalog::Send() {
  if (parti_.empty()) return;
  std::shared_future<void> forrige = lages_.empty() ? std::shared_future<void>() : lages_.back();
  lages_.push_back(std::async(std::launch::async, [this, verer = std::move(parti_), forrige] {
                     std::string blokk;
                     blokk.reserve(verer.size() * 1024);
                     for (const TVerPost& v : verer) Linjer13(v, reg_, raser_, blokk);
                     // In order: the part before is written first; its failure
                     // is this part's too, so nothing after it is written.
                     if (forrige.valid()) forrige.get();
                     ut_.Skriv(blokk);
                     if (kopi_) kopi_(blokk);
                   }).share());
  parti_.clear();
  parti_.reserve(PartiStorrelse);
  // Four parts under way at a time; the oldest is waited for.
  while (lages_.size() > 4) {
    lages_.front().get();
    lages_.pop_front();
  }
}

void TTekstKatalog::Fullfor() {
  Send();
  if (!lages_.empty()) lages_.back().get();
  lages_.clear();
  ut_.Fullfor();
}

const std::array<std::string, AntallTabellfelt>& TabellfeltNavn() {
  static const std::array<std::string, AntallTabellfelt> navn = [] {
    const char* utf8[AntallTabellfelt] = {
        "Navn",
        "Rase",
        "IndeksDato",
        "OKM",
        "DelIndekser",
        "Oppdretter",
        "Fylke",
        "Kropp",
        "Bein",
        "Ullkvalitet",
        "Ullmengde",
        "Burd",
        "Spener",
        "Ant Hv",
        "Ant slakt",
        "Ant døtre",
        "Mor Nr",
        "Farnummer",
        "FarNavn",
        "FarOKM",
        "FarDelIndekser",
        "FarFarnummer",
        "FarFarNavn",
        "FarFarOKM",
        "FarFarDelIndekser",
        "MorFarnummer",
        "MorFarNavn",
        "MorFarOKM",
        "MorFarDelIndekser",
        "Ringnummer",
        "Ullanalyse",
        "Innavl %",
    };
    std::array<std::string, AntallTabellfelt> a;
    for (int i = 0; i < AntallTabellfelt; ++i) a[i] = C(utf8[i]);
    return a;
  }();
  return navn;
}

const std::array<std::string, AntallTabellfelt>& TabellfeltOverskrift() {
  static const std::array<std::string, AntallTabellfelt> tekst = [] {
    const char* utf8[AntallTabellfelt] = {
        "Navn;",
        "Rase;",
        "IndDato;",
        "O;-;MorV;",
        "TilV;Kjøt;Fet;MorS;Fruk;",
        "Opdretter;",
        "Fylke;",
        "Kropp;",
        "Bein;",
        "UllKv;",
        "UllM;",
        "Burd;",
        "Spener;",
        "AntHv;",
        "AntSl;",
        "AntDøt;",
        "Mornr;-Oind;",
        "FarNr;",
        "FarNavn;",
        "faO;faK;faM;",
        "fTilV;fKjøt;fFet;fMorE;fFruk;",
        "FarFarNr;",
        "fFarNavn;",
        "ffaO;ffaK;ffaM;",
        "ffTilV;ffKjøt;ffFet;ffMorE;ffFruk;",
        "MorFarNr;",
        "mFarNavn;",
        "mfaO;mfaK;mfaM;",
        "mfTilV;mfKjøt;mfFet;mfMorE;mfFruk;",
        "Ring;",
        "Maks-my;Stapel;Marg;Dyreh;ullv;",
        "Innavl %;",
    };
    std::array<std::string, AntallTabellfelt> a;
    for (int i = 0; i < AntallTabellfelt; ++i) a[i] = C(utf8[i]);
    return a;
  }();
  return tekst;
}

int TabellfeltKolonner(int felt) {
  static const int kolonner[AntallTabellfelt] = {1, 1, 1, 3, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                 2, 1, 1, 3, 5, 1, 1, 3, 5, 1, 1, 3, 5, 1, 5, 1};
  return felt >= 0 && felt < AntallTabellfelt ? kolonner[felt] : 0;
}

int KatalogKolonner(const TSkalMed& skalMed) {
  int n = 1;
  for (int i = 0; i < AntallTabellfelt; ++i)
    if (skalMed[i]) n += TabellfeltKolonner(i);
  return n;
}

std::string KatalogOverskrift(const TSkalMed& skalMed) {
  std::string t = Faste().vaernr;
  for (int i = 0; i < AntallTabellfelt; ++i)
    if (skalMed[i]) t += TabellfeltOverskrift()[i];
  return t;
}

std::string KatalogTittel(const TUtvalg& u, const std::vector<std::string>& raseValg) {
  std::string t = u.egenListe ? std::string("Egendefinert utplukk") : IntToText(u.fra) + "-" + IntToText(u.til);
  if (u.semin) t += " semin";
  if (u.utgSem) t += " utg.semin";
  if (u.gkar) t += C(" Gamle kårede");
  if (u.avkomgr) t += " kun granska";
  if (u.ugul) t += " uten gule";
  const auto& fylker = FylkeListe();
  for (std::size_t i = 0; i < u.fylker.size() && i < fylker.size(); ++i)
    if (u.fylker[i]) t += fylker[i].size() > 2 ? fylker[i].substr(2, 13) : std::string();
  for (std::size_t i = 0; i < u.raser.size() && i < raseValg.size(); ++i)
    if (u.raser[i]) t += " " + raseValg[i];
  return t;
}

namespace {

void Celle(std::string& rad, std::string_view tekst) {
  rad += tekst;
  rad += ';';
}

void Tall(std::string& rad, int64_t v) { Celle(rad, IntToText(v)); }

void Forste3(std::string& rad, const TVerPost& p) {
  for (int v : {p.OIndeks, p.KIndeks, p.MorevVaar}) Celle(rad, Indeks(v));
}

void Siste5(std::string& rad, const TVerPost& p) {
  for (int v : {p.Slakt, p.Kjott, p.Fett, p.MorevSl, p.Fruktbarhet}) Celle(rad, Indeks(v));
}

}  // namespace

std::string TabellRad(const TVerPost& ver, TProdusent& reg, const TSkalMed& skalMed, const TInnavlCelle& innavl) {
  const TVerPost far = reg.FindByNumber(ver.Farnr);
  const TVerPost farfar = reg.FindByNumber(far.Farnr);
  const TVerPost morfar = reg.FindByNumber(ver.MorFar);
  std::string r;
  r.reserve(256);
  Tall(r, ver.Nummer);
  for (int i = 0; i < AntallTabellfelt; ++i) {
    if (!skalMed[i]) continue;
    switch (i) {
      case 0: Celle(r, NameCase(ver.Navn.Verdi())); break;
      case 1: Celle(r, InnebygdRase(ver.Rase)); break;
      case 2: Celle(r, IndeksDatoTekst(ver.IndeksDato)); break;
      case 3: Forste3(r, ver); break;
      case 4: Siste5(r, ver); break;
      case 5: Celle(r, NameCase(ver.Fodebuskap.Verdi())); break;
      case 6: Celle(r, CountyName(ver.Fylke)); break;
      case 7: Tall(r, ver.Kropp); break;
      case 8: Tall(r, ver.Bein); break;
      case 9: Tall(r, ver.Ullkvalitet); break;
      case 10: Tall(r, ver.Ullmengde); break;
      case 11: Celle(r, FodselsTekst(ver.BurdFodt)); break;
      case 12: Tall(r, ver.Reservert[sizeof ver.Reservert - 1]); break;
      case 13: Tall(r, ver.AntHostvekt); break;
      case 14: Tall(r, ver.AntSlakt); break;
      case 15: Tall(r, ver.AntDotre); break;
      case 16:
        Tall(r, ver.Mornr);
        Tall(r, ver.MorIndeks);
        break;
      case 17: Tall(r, far.Nummer); break;
      case 18: Celle(r, NameCase(far.Navn.Verdi())); break;
      case 19: Forste3(r, far); break;
      case 20: Siste5(r, far); break;
      case 21: Tall(r, farfar.Nummer); break;
      case 22: Celle(r, NameCase(farfar.Navn.Verdi())); break;
      case 23: Forste3(r, farfar); break;
      case 24: Siste5(r, farfar); break;
      case 25: Tall(r, morfar.Nummer); break;
      case 26: Celle(r, NameCase(morfar.Navn.Verdi())); break;
      case 27: Forste3(r, morfar); break;
      case 28: Siste5(r, morfar); break;
      case 29: Tall(r, ver.Ring); break;
      case 30:
        r += Formater("%3.0n;%4.1n;%.2d;%.2d;%3.1n;", {double{ver.MaksMy}, double{ver.Stapel}, int64_t{ver.Marg},
                                                       int64_t{ver.Dyrehaar}, double{ver.Ullvekt}});
        break;
      case InnavlFelt: Celle(r, innavl ? innavl(ver.Nummer) : std::string()); break;
    }
  }
  return r;
}

TTabellKatalog::TTabellKatalog(TProdusent& reg, TTabellMottaker& tabell, const TSkalMed& skalMed,
                               const std::string& tittel, TInnavlCelle innavl)
    : reg_(reg), tabell_(tabell), skalMed_(skalMed), innavl_(std::move(innavl)), kolonner_(KatalogKolonner(skalMed)) {
  tabell_.Oppsett(kolonner_, 12, 0, 1, 1, tittel, Rod, Blaa);
  tabell_.NyRad(KatalogOverskrift(skalMed_));
}

void TTabellKatalog::Ta(const TVerPost& ver) {
  tabell_.NyRad(TabellRad(ver, reg_, skalMed_, innavl_));
  ++antall_;
}

void TTabellKatalog::TaSenere(const TVerPost& ver, int32_t indeks) {
  if (indeks < 0 && !nullpost_) nullpost_ = std::make_shared<const TVerPost>(ver);
  senere_.push_back(indeks);
  ++antall_;
}

void TTabellKatalog::Fullfor() {
  if (!senere_.empty()) {
    const auto indekser = std::make_shared<const std::vector<int32_t>>(std::move(senere_));
    senere_.clear();
    TProdusent* reg = &reg_;
    tabell_.NyeRader(static_cast<int>(indekser->size()), [reg, indekser, skalMed = skalMed_, innavl = innavl_,
                                                          nullpost = nullpost_](int i, std::string& rad) {
      const int32_t indeks = (*indekser)[static_cast<std::size_t>(i)];
      rad = TabellRad(indeks >= 0 ? reg->ReadAt(indeks) : *nullpost, *reg, skalMed, innavl);
    });
  }
  tabell_.NyBunnRad(FillText(';', kolonner_));
}

std::string SkalMedNokkel(int felt) { return "SkalMed" + IntToText(felt); }
