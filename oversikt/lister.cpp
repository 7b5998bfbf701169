#include "lister.h"

#include <QSettings>
#include <algorithm>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "cp1252.h"
#include "felt.h"
#include "filer.h"
#include "soyer.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

// The prefix of a comment that keeps a line that did not read.
constexpr std::string_view IkkeLestMerke = "# Ikke lest: ";

bool Blank(std::string_view linje) {
  for (unsigned char c : linje)
    if (c > ' ') return false;
  return true;
}

std::string_view UtenBlanke(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

// A judging number of a list: 1 to 2147483647, blanks inside allowed.
std::optional<int32_t> ListeNummer(std::string_view t) {
  const auto n = LesKaaringsnummer(t);
  if (!n || *n < 1) return std::nullopt;
  return n;
}

}  // namespace

// ---- names ----

std::string ListenavnFeil(std::string_view navn) {
  const std::string t = TrimText(navn);
  if (t.empty()) return C("Lista må ha et navn.");
  if (t.size() > MaksListenavn) return C("Listenavnet kan ikke være lengre enn ") + IntToText(MaksListenavn) + " tegn.";
  if (t.find(';') != std::string::npos) return C("Listenavnet kan ikke inneholde semikolon.");
  for (unsigned char c : t)
    if (c < 0x20 || c == 0x7F) return C("Listenavnet kan ikke inneholde kontrolltegn.");
  return {};
}

bool SammeListenavn(std::string_view a, std::string_view b) { return UpperText(TrimText(a)) == UpperText(TrimText(b)); }

std::vector<std::string> StandardListenavn() { return {C("Mine værer"), "Reserve"}; }

// ---- the lists ----

const TListe* TLister::Finn(std::string_view navn) const {
  for (const TListe& l : lister_)
    if (SammeListenavn(l.navn, navn)) return &l;
  return nullptr;
}

TListe* TLister::FinnListe(std::string_view navn) { return const_cast<TListe*>(std::as_const(*this).Finn(navn)); }

std::string TLister::NavnFeil(std::string_view navn, std::string_view gammelt) const {
  if (std::string feil = ListenavnFeil(navn); !feil.empty()) return feil;
  const TListe* denne = gammelt.empty() ? nullptr : Finn(gammelt);
  if (const TListe* annen = Finn(navn); annen != nullptr && annen != denne)
    return C("Det finnes alt ei liste som heter ") + annen->navn + ".";
  return {};
}

std::string TLister::Ny(std::string_view navn) {
  if (std::string feil = NavnFeil(navn); !feil.empty()) return feil;
  lister_.push_back({TrimText(navn), {}});
  return {};
}

std::string TLister::GiNyttNavn(std::string_view gammelt, std::string_view nytt) {
  TListe* l = FinnListe(gammelt);
  if (l == nullptr) return C("Fant ingen liste som heter ") + TrimText(gammelt) + ".";
  if (std::string feil = NavnFeil(nytt, gammelt); !feil.empty()) return feil;
  l->navn = TrimText(nytt);
  return {};
}

bool TLister::Slett(std::string_view navn) {
  const auto it =
      std::find_if(lister_.begin(), lister_.end(), [&](const TListe& l) { return SammeListenavn(l.navn, navn); });
  if (it == lister_.end()) return false;
  lister_.erase(it);
  return true;
}

std::optional<int> TLister::LeggTil(std::string_view navn, std::span<const int32_t> nummer, std::string* feil) {
  TListe* l = FinnListe(navn);
  if (l == nullptr) {
    if (std::string f = Ny(navn); !f.empty()) {
      if (feil) *feil = std::move(f);
      return std::nullopt;
    }
    l = &lister_.back();
  }
  std::unordered_set<int32_t> har(l->nummer.begin(), l->nummer.end());
  int lagt = 0;
  for (int32_t n : nummer) {
    if (n < 1 || !har.insert(n).second) continue;
    l->nummer.push_back(n);
    ++lagt;
  }
  return lagt;
}

int TLister::Fjern(std::string_view navn, std::span<const int32_t> nummer) {
  TListe* l = FinnListe(navn);
  if (l == nullptr) return 0;
  const std::unordered_set<int32_t> bort(nummer.begin(), nummer.end());
  const std::size_t for_ = l->nummer.size();
  std::erase_if(l->nummer, [&](int32_t n) { return bort.count(n) > 0; });
  return static_cast<int>(for_ - l->nummer.size());
}

// ---- the file ----

fs::path ListeFil(const fs::path& dataMappe) { return FinnFil(dataMappe, ListeFilNavn); }

TListeLesing TolkLister(std::string_view tekst, std::string_view navn) {
  TListeLesing les;
  std::vector<TListe> lister;
  std::vector<std::string> ikkeLest;
  std::vector<std::unordered_set<int32_t>> iLista;  // the numbers of each list
  // The list the numbers go to: -1 before the first name, and under a name
  // that did not read (its numbers are kept with it, without a message each).
  int gjeldende = -1;
  bool underFeil = false;
  int nr = 0;
  const auto hopp = [&](std::string_view linje, const std::string& hva) {
    les.meldinger.push_back(C("Linje ") + IntToText(nr) + C(" i ") + std::string(navn) + ": " + hva);
    ikkeLest.emplace_back(linje);
  };
  ForHverLinje(tekst, [&](std::string_view linje) {
    ++nr;
    if (Blank(linje)) return;
    const std::string_view t = UtenBlanke(linje);
    if (t.front() == '#') {
      if (linje.substr(0, IkkeLestMerke.size()) == IkkeLestMerke)
        ikkeLest.emplace_back(linje.substr(IkkeLestMerke.size()));
      return;
    }
    if (t.front() == '[') {
      gjeldende = -1;
      underFeil = true;
      if (t.size() < 2 || t.back() != ']')
        return hopp(linje, C("listenavnet mangler ]; linja og kåringsnumrene under den er hoppet over."));
      const std::string_view listenavn = t.substr(1, t.size() - 2);
      if (std::string feil = ListenavnFeil(listenavn); !feil.empty()) {
        feil[0] = static_cast<char>(LowChar(static_cast<unsigned char>(feil[0])));
        feil.pop_back();  // the full stop
        return hopp(linje, feil + C("; linja og kåringsnumrene under den er hoppet over."));
      }
      underFeil = false;
      for (std::size_t i = 0; i < lister.size() && gjeldende < 0; ++i)
        if (SammeListenavn(lister[i].navn, listenavn)) gjeldende = static_cast<int>(i);
      if (gjeldende < 0) {
        gjeldende = static_cast<int>(lister.size());
        lister.push_back({TrimText(listenavn), {}});
        iLista.emplace_back();
      }
      return;
    }
    const auto n = ListeNummer(t);
    if (!n) return hopp(linje, C("«") + std::string(t) + C("» er ikke et kåringsnummer; linja er hoppet over."));
    if (gjeldende < 0) {
      if (underFeil) {
        ikkeLest.emplace_back(linje);
        return;
      }
      return hopp(linje, C("kåringsnummeret står ikke under noe listenavn i klammer ([Navn]); linja er hoppet over."));
    }
    const auto g = static_cast<std::size_t>(gjeldende);
    if (iLista[g].insert(*n).second) lister[g].nummer.push_back(*n);
  });
  les.lister = TLister(std::move(lister), std::move(ikkeLest));
  return les;
}

TListeLesing LesLister(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return TolkLister(LesHeleFila(fil), fil.filename().string());
}

std::string ListeTekst(const TLister& lister) {
  std::string t =
      C("# Hornstad: lister over værer. Ei liste begynner med navnet i klammer, [Navn],\r\n"
        "# så ett kåringsnummer på hver linje. Programmet skriver fila på nytt når listene\r\n"
        "# endres; andre kommentarer enn «# Ikke lest:» blir da ikke tatt vare på.\r\n");
  for (const TListe& l : lister.Alle()) {
    t += "\r\n[" + l.navn + "]\r\n";
    for (int32_t n : l.nummer) t += IntToText(n) + "\r\n";
  }
  if (!lister.IkkeLest().empty()) {
    t += "\r\n";
    for (const std::string& linje : lister.IkkeLest()) t += std::string(IkkeLestMerke) + linje + "\r\n";
  }
  return t;
}

void SkrivLister(const fs::path& fil, const TLister& lister) { SkrivTrygt(fil, ListeTekst(lister)); }

TListeLesing EndreLister(const fs::path& dataMappe, const std::function<bool(TLister&)>& endre) {
  const fs::path fil = ListeFil(dataMappe);
  TListeLesing les = LesLister(fil);
  if (endre(les.lister)) SkrivLister(fil, les.lister);
  return les;
}

// ---- a list in the table window ----

std::string ListeTittel(const TListe& liste) {
  const std::size_t n = liste.nummer.size();
  return "Liste " + liste.navn + ": " + IntToText(static_cast<int64_t>(n)) + (n == 1 ? C(" vær") : C(" værer"));
}

std::unique_ptr<TInnavlSnitt> ListeInnavl(TAvlsdata& avl, const std::vector<TSoye>& soyer) {
  if (soyer.empty()) return nullptr;
  return std::make_unique<TInnavlSnitt>(avl.Innavl(), soyer);
}

TSkalMed ListeFelt(const QSettings& ini) {
  TSkalMed skalMed{};
  bool lagret = false;
  for (int i = 0; i < AntallTabellfelt; ++i) {
    const QString nokkel = QString::fromStdString("Katalog/" + SkalMedNokkel(i));
    lagret |= ini.contains(nokkel);
    skalMed[static_cast<std::size_t>(i)] = ini.value(nokkel, false).toBool();
  }
  if (!lagret) skalMed[0] = skalMed[1] = skalMed[3] = true;
  return skalMed;
}

void ListListe(const TListe& liste, TProdusent& reg, const TSkalMed& felt, const TInnavlSnitt* innavl,
               TTabellMottaker& tabell) {
  // "Innavl %" is the catalogue's own field, there when its figures are.
  TSkalMed skalMed = felt;
  skalMed[InnavlFelt] = innavl != nullptr;
  TInnavlCelle innavlCelle;
  if (innavl) innavlCelle = [innavl](int32_t nr) { return innavl->Celle(nr); };
  const int kolonner = KatalogKolonner(skalMed);
  tabell.Oppsett(kolonner, 12, 0, 1, 1, ListeTittel(liste), Rod, Blaa);
  tabell.SettVindusnavn(ListeTittel(liste));
  tabell.SettMinsteskrift(LesbarSkrift);
  tabell.NyRad(KatalogOverskrift(skalMed));
  for (int32_t n : liste.nummer) {
    const TVerPost ver = reg.FindByNumber(n);
    std::string rad;
    if (ver.Nummer != 0) {
      rad = TabellRad(ver, reg, skalMed, innavlCelle);
    } else {
      rad = "\x04" + IntToText(n) + ";";
      if (kolonner > 1) rad += "(ikke i registeret);" + FillText(';', kolonner - 2);
    }
    tabell.NyRad(rad);
  }
  tabell.NyBunnRad(FillText(';', kolonner));
}
