#include "endringer.h"

#include <array>
#include <set>
#include <system_error>
#include <unordered_map>

#include "cp1252.h"
#include "dato.h"
#include "felt.h"
#include "filer.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

constexpr int AntallIndekser = 8;

const std::vector<std::string>& Felt() {
  static const std::vector<std::string> f = {"O-indeks",    "K-indeks",  C("Morev.Vår"), "Slakt",
                                             C("Kjøtt"),    "Fett",      "Morev.Sl",     "Fruktbarhet",
                                             "Seminstatus", "Gransking", "Registeret"};
  return f;
}

std::array<int, AntallIndekser> Indekser(const TVerPost& p) {
  return {p.OIndeks, p.KIndeks, p.MorevVaar, p.Slakt, p.Kjott, p.Fett, p.MorevSl, p.Fruktbarhet};
}

std::string Seminstatus(int type) {
  switch (type) {
    case 0: return "Ikke semin";
    case 1: return "Semin";
    case 2: return "Utg. semin";
    case 3: return "Pr.sem";
    default: return "Type " + IntToText(type);
  }
}

std::string Gransking(const TVerPost& p) { return p.OIndeks > 30 ? std::string("Avkomsgransket") : C("Kåra"); }

// A name for the report: name case, trimmed, with no control characters.
std::string Navn(const TVerPost& p) {
  std::string t = TrimText(NameCase(p.Navn.Verdi()));
  for (char& c : t)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return t;
}

// The record FindByNumber would give for each of `nummer`: the last one.
std::unordered_map<int32_t, const TVerPost*> Finn(std::span<const TVerPost> poster, const std::set<int32_t>& nummer) {
  std::unordered_map<int32_t, const TVerPost*> funnet;
  funnet.reserve(nummer.size() * 2);
  for (int32_t n : nummer) funnet.emplace(n, nullptr);
  for (const TVerPost& p : poster) {
    const auto it = funnet.find(p.Nummer);
    if (it != funnet.end()) it->second = &p;
  }
  return funnet;
}

// A cell of the report file, followed by ';'.
void Celle(std::string& linje, std::string_view t) {
  LeggTilFelt(linje, t);
  linje += ';';
}

std::string Dato(double d) { return DateToText(d); }

// "dd/mm/yyyy" to a day count.
std::optional<double> LesDato(std::string_view t) {
  t = std::string_view(t).substr(0, 10);
  if (t.size() != 10 || t[2] != '/' || t[5] != '/') return std::nullopt;
  int del[3] = {0, 0, 0};
  const std::size_t start[3] = {0, 3, 6}, lengde[3] = {2, 2, 4};
  for (int k = 0; k < 3; ++k)
    for (std::size_t i = start[k]; i < start[k] + lengde[k]; ++i) {
      if (t[i] < '0' || t[i] > '9') return std::nullopt;
      del[k] = del[k] * 10 + (t[i] - '0');
    }
  return EncodeDate(del[2], del[1], del[0]);
}

constexpr std::string_view InnlestMerke = "Innlest;";

std::string Overskrift() { return C("Liste;Kåringsnr.;Navn;Felt;Før;Etter"); }

}  // namespace

const std::vector<std::string>& EndringsFelt() { return Felt(); }

int64_t TEndringsrapport::Verer() const {
  std::set<int32_t> n;
  for (const TEndring& e : endringer) n.insert(e.nummer);
  return static_cast<int64_t>(n.size());
}

TEndringsrapport SammenlignRegistre(std::span<const TVerPost> gammel, std::span<const TVerPost> ny,
                                    const TLister& lister, double dato) {
  TEndringsrapport r;
  r.dato = dato;
  std::set<int32_t> nummer;
  for (const TListe& l : lister.Alle()) nummer.insert(l.nummer.begin(), l.nummer.end());
  const auto gamle = Finn(gammel, nummer);
  const auto nye = Finn(ny, nummer);
  const auto& felt = Felt();
  for (const TListe& l : lister.Alle()) {
    for (int32_t n : l.nummer) {
      const TVerPost* g = gamle.at(n);
      const TVerPost* y = nye.at(n);
      if (g == nullptr && y == nullptr) continue;
      TEndring e{l.navn, n, Navn(y ? *y : *g), {}, {}, {}};
      const auto rad = [&](const std::string& f, std::string for_, std::string etter) {
        e.felt = f;
        e.for_ = std::move(for_);
        e.etter = std::move(etter);
        r.endringer.push_back(e);
      };
      if (y == nullptr) {
        rad(felt[10], "I registeret", "Ikke lenger i registeret");
        continue;
      }
      if (g == nullptr) {
        rad(felt[10], "Ikke i registeret", "I registeret");
        continue;
      }
      const auto a = Indekser(*g), b = Indekser(*y);
      for (int i = 0; i < AntallIndekser; ++i)
        if (a[i] != b[i]) rad(felt[i], IntToText(a[i]), IntToText(b[i]));
      if (g->Type != y->Type) rad(felt[8], Seminstatus(g->Type), Seminstatus(y->Type));
      if (Gransking(*g) != Gransking(*y)) rad(felt[9], Gransking(*g), Gransking(*y));
    }
  }
  return r;
}

TEndringsrapport LagEndringsrapport(const std::shared_ptr<const TPostKart>& gammel, const TProdusent& ny,
                                    const fs::path& dataMappe, std::optional<double> dato) {
  const TListeLesing lister = LesLister(ListeFil(dataMappe));
  const std::span<const TVerPost> gamle = gammel ? gammel->Poster() : std::span<const TVerPost>();
  TEndringsrapport r = SammenlignRegistre(gamle, ny.Poster(), lister.lister, dato ? *dato : IDag());
  SkrivEndringer(EndringsFil(dataMappe), r);
  return r;
}

TEndringsvakt::TEndringsvakt(const fs::path& dataMappe, const TProdusent* lastet) : dataMappe_(dataMappe) {
  const TListeLesing lister = LesLister(ListeFil(dataMappe));
  for (const TListe& l : lister.lister.Alle()) harLister_ |= !l.nummer.empty();
  if (!harLister_) return;
  if (lastet != nullptr) {
    gammel_ = lastet->Kart();
    return;
  }
  TProdusent gammel(dataMappe);
  try {
    gammel.LoadRegister();
    gammel_ = gammel.Kart();
  } catch (const IoFeil&) {
    // No old register to compare with: every listed ram counts as new.
  }
}

std::optional<TEndringsrapport> TEndringsvakt::Fullfor(const TProdusent& ny, std::optional<double> dato) {
  if (!harLister_) {
    std::error_code ec;
    fs::remove(EndringsFil(dataMappe_), ec);
    return std::nullopt;
  }
  TEndringsrapport r = LagEndringsrapport(gammel_, ny, dataMappe_, dato);
  gammel_.reset();
  return r;
}

fs::path EndringsFil(const fs::path& dataMappe) { return FinnFil(dataMappe, EndringsFilNavn); }

std::string EndringsTekst(const TEndringsrapport& r) {
  std::string t = C("# Hornstad: endringer for værer på listene ved siste innlesing\r\n");
  t += std::string(InnlestMerke) + Dato(r.dato) + "\r\n";
  t += Overskrift() + "\r\n";
  for (const TEndring& e : r.endringer) {
    std::string linje;
    const std::string nummer = IntToText(e.nummer);
    for (const std::string* c : {&e.liste, &nummer, &e.navn, &e.felt, &e.for_, &e.etter}) Celle(linje, *c);
    linje.pop_back();
    t += linje + "\r\n";
  }
  return t;
}

void SkrivEndringer(const fs::path& fil, const TEndringsrapport& r) { SkrivTrygt(fil, EndringsTekst(r)); }

TEndringsLesing TolkEndringer(std::string_view tekst, std::string_view navn) {
  TEndringsLesing les;
  TEndringsrapport r;
  int nr = 0;
  std::vector<std::string> celler;
  const auto hopp = [&](const std::string& hva) {
    les.meldinger.push_back(C("Linje ") + IntToText(nr) + C(" i ") + std::string(navn) + ": " + hva +
                            C("; linja er hoppet over."));
  };
  ForHverLinje(tekst, [&](std::string_view linje) {
    ++nr;
    bool blank = true;
    for (unsigned char c : linje) blank = blank && c <= ' ';
    if (blank || linje.front() == '#') return;
    if (linje.substr(0, InnlestMerke.size()) == InnlestMerke) {
      const auto d = LesDato(linje.substr(InnlestMerke.size()));
      if (!d) return hopp(C("datoen for innlesingen leses ikke"));
      r.dato = *d;
      return;
    }
    if (linje == Overskrift()) return;
    if (!DelFelt(linje, celler)) return hopp(C("et felt i anførselstegn slutter ikke"));
    if (celler.size() != 6) return hopp(C("venter seks felt: liste;kåringsnr.;navn;felt;før;etter"));
    const auto n = LesKaaringsnummer(celler[1]);
    if (!n || *n < 1) return hopp(C("«") + celler[1] + C("» er ikke et kåringsnummer"));
    r.endringer.push_back({celler[0], *n, celler[2], celler[3], celler[4], celler[5]});
  });
  les.rapport = std::move(r);
  return les;
}

TEndringsLesing LesEndringer(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return TolkEndringer(LesHeleFila(fil), fil.filename().string());
}

std::string EndringsMelding(const TEndringsrapport& r) {
  if (r.endringer.empty()) return C("Ingen av værene på listene er endret ved innlesingen.");
  const int64_t v = r.Verer();
  const std::size_t e = r.endringer.size();
  return IntToText(v) + (v == 1 ? C(" vær på listene er endret") : C(" værer på listene er endret")) +
         " ved innlesingen (" + IntToText(static_cast<int64_t>(e)) + (e == 1 ? " endring)." : " endringer).");
}

std::string EndringsTittel(const TEndringsrapport& r) {
  return (r.endringer.empty() ? C("Ingen endringer for værer på listene, innlest ")
                              : C("Endringer for værer på listene, innlest ")) +
         Dato(r.dato);
}

void ListEndringer(const TEndringsrapport& r, TTabellMottaker& tabell) {
  tabell.Oppsett(EndringsKolonner, 12, 0, 1, 1, EndringsTittel(r), Rod, Blaa);
  tabell.SettVindusnavn(EndringsTittel(r));
  tabell.SettMinsteskrift(LesbarSkrift);
  tabell.NyRad(C("Liste;Værnr.;Navn;Felt;Før;Etter;"));
  // The table parts its cells at ';'.
  const auto celle = [](std::string& rad, std::string t) {
    for (char& c : t)
      if (c == ';') c = ',';
    rad += t;
    rad += ';';
  };
  for (const TEndring& e : r.endringer) {
    std::string rad;
    celle(rad, e.liste);
    celle(rad, IntToText(e.nummer));
    celle(rad, e.navn);
    celle(rad, e.felt);
    celle(rad, e.for_);
    celle(rad, e.etter);
    tabell.NyRad(rad);
  }
  tabell.NyBunnRad(FillText(';', EndringsKolonner));
}
