#include "felles.h"

#include <unistd.h>

#include <charconv>

#include "cp1252.h"
#include "dato.h"
#include "eksport.h"
#include "endringer.h"
#include "felt.h"
#include "filer.h"
#include "lister.h"
#include "ramimport.h"
#include "register.h"
#include "skall.h"
#include "slektskap.h"
#include "soyer.h"
#include "tabellutskrift.h"

void Skriv(const TKontekst& k, std::string_view cp1252) { std::fputs(Cp1252TilUtf8(cp1252).c_str(), k.ut); }

TFremdriftslinje::TFremdriftslinje(const TKontekst& k, const char* tekst)
    : feil_(k.feil), tekst_(tekst), aktiv_(::isatty(::fileno(k.feil)) != 0) {}

TFremdriftslinje::~TFremdriftslinje() {
  if (aktiv_ && vist_) std::fputs("\n", feil_);
}

bool TFremdriftslinje::operator()(int64_t gjort, int64_t totalt) {
  if (!aktiv_ || totalt <= 0) return true;
  const int prosent = static_cast<int>(gjort * 100 / totalt);
  if (prosent == sist_) return true;
  sist_ = prosent;
  vist_ = true;
  const int fylt = prosent * 40 / 100;
  std::fprintf(feil_, "\r%s [%s%s] %3d %%", tekst_, std::string(fylt, '#').c_str(), std::string(40 - fylt, '.').c_str(),
               prosent);
  std::fflush(feil_);
  return true;
}

void MeldKorteLinjer(const TKontekst& k, const TKonvertering& r) {
  if (r.korteLinjer > 0) std::fprintf(k.feil, "%s\n", KorteLinjerMelding(r.korteLinjer).c_str());
}

void MeldEndringer(const TKontekst& k, TEndringsvakt& vakt, const TProdusent& ny) {
  try {
    if (const auto r = vakt.Fullfor(ny)) std::fprintf(k.ut, "%s\n", Cp1252TilUtf8(EndringsMelding(*r)).c_str());
  } catch (const IoFeil& e) {
    std::fprintf(k.feil, "Værene er lest inn, men endringene for værene på listene ble ikke lagret: %s\n", e.what());
  }
}

void MeldSloyfer(const TKontekst& k, TAvlsdata& avl) {
  if (const std::string m = avl.NySloyfeMelding(); !m.empty()) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
}

bool LesSoyerTil(const TKontekst& k, const std::filesystem::path& fil, std::vector<TSoye>& soyer) {
  TSoyeLesing les = LesSoyer(fil);
  for (const std::string& m : les.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
  soyer = std::move(les.soyer);
  if (!soyer.empty()) return true;
  std::fprintf(k.feil,
               "Fant ingen søyer i %s. Legg dem inn i vinduet «Søyer», eller skriv dem der "
               "som søyenummer;far;morfar.\n",
               fil.c_str());
  return false;
}

bool LesListeTil(const TKontekst& k, const std::string& navn, std::vector<int32_t>& nummer) {
  const TListeLesing les = LesLister(ListeFil(k.data));
  for (const std::string& m : les.meldinger) std::fprintf(k.feil, "%s\n", Cp1252TilUtf8(m).c_str());
  const TListe* liste = les.lister.Finn(Utf8TilCp1252(navn));
  if (liste == nullptr) {
    std::fprintf(k.feil, "Det finnes ingen liste som heter «%s» i %s.\n", navn.c_str(), ListeFil(k.data).c_str());
    return false;
  }
  nummer = liste->nummer;
  return true;
}

bool LesTall(const TKontekst& k, const std::string& flagg, const std::string& tekst, int& verdi) {
  const char* slutt = tekst.data() + tekst.size();
  const auto r = std::from_chars(tekst.data(), slutt, verdi);
  if (tekst.empty() || r.ec != std::errc() || r.ptr != slutt) {
    std::fprintf(k.feil, "Ugyldig tall for %s: %s\n", flagg.c_str(), tekst.c_str());
    return false;
  }
  return true;
}

bool LesNummerliste(const TKontekst& k, const std::string& flagg, const std::string& tekst,
                    std::vector<int32_t>& nummer) {
  const std::string feil = TolkNummerliste(Utf8TilCp1252(tekst), nummer);
  if (feil.empty()) return true;
  std::fprintf(k.feil, "Ugyldig verdi for %s: %s\n", flagg.c_str(), Cp1252TilUtf8(feil).c_str());
  return false;
}

std::string TabellFormat(const TArgumenter& a) { return a.Har("format") ? a.Verdi("format") : "semikolon"; }

bool FormatLeggesUt(const std::string& format) { return format == "html" || format == "pdf"; }

void MaalISkrift(TTabell& tabell, const std::string& format) {
  if (FormatLeggesUt(format)) tabell.SettSkrift(10);
}

bool LesFormat(const TKontekst& k, const std::string& format, const std::filesystem::path& ut, TEksportType& type) {
  if (format == "semikolon") {
    type = TEksportType::Semikolon;
  } else if (format == "tab") {
    type = TEksportType::Tab;
  } else if (format == "excel") {
    type = TEksportType::Regneark;
  } else if (format == "html") {
    type = TEksportType::Html;
  } else if (format == "pdf") {
    if (ut.empty()) {
      std::fputs("Formatet pdf trenger --ut FIL.\n", k.feil);
      return false;
    }
  } else {
    std::fprintf(k.feil, "Ukjent format: %s (semikolon, tab, excel, html eller pdf)\n", format.c_str());
    return false;
  }
  return true;
}

int SkrivTabellUt(const TKontekst& k, const TTabell& tabell, bool pdf, TEksportType type,
                  const std::filesystem::path& ut) {
  if (pdf) {
    TUtskrift u;
    u.tabell = &tabell;
    u.hovedtekst = FraQString(Hovedtittel());
    u.dato = IDag();
    SkrivTabellPdf(ut.string(), u);
    return 0;
  }
  // A line at a time: a table of a million rows is never held as text.
  if (ut.empty()) {
    std::string linje;
    EksportLinjer(tabell, type, [&](std::string_view l) {
      linje.assign(l);
      linje += '\n';
      Skriv(k, linje);
    });
    return 0;
  }
  SkrivEksportLinjer(ut, tabell, type);
  return 0;
}
