// hornstad-cli: the program's jobs without windows.
#include <QGuiApplication>
#include <charconv>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <cstring>
#include <string>
#include <vector>

#include <signal.h>
#include <unistd.h>

#include <QSettings>
#include <atomic>

#include "avkom.h"
#include "listing.h"
#include "sider.h"
#include "utvalg.h"
#include "cp1252.h"
#include "eksport.h"
#include "filimport.h"
#include "nedlasting.h"
#include "oppslag.h"
#include "ramimport.h"
#include "skall.h"
#include "tabellutskrift.h"
#include "stamtre.h"
#include "dato.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"

namespace {

// The data folder, set once from --data or the program's own rule.
std::filesystem::path dataMappe;

const char* Hjelp =
    "Bruk: hornstad-cli [--data MAPPE] KOMMANDO ...\n"
    "\n"
    "Kjører Hornstads jobber uten vinduer, på værregisteret i datamappa.\n"
    "\n"
    "Valg:\n"
    "  --data MAPPE   datamappa (der Verene.Dat ligger); uten dette valget\n"
    "                 programmets egen mappe når den er skrivbar, ellers\n"
    "                 ~/.local/share/Hornstad\n"
    "  --help         viser denne teksten\n"
    "\n"
    "Kommandoer:\n"
    "  importer FIL   leser inn en væreksport (Vedder2.Tex) eller et zip-arkiv\n"
    "                 som holder en, som nytt værregister\n"
    "  hent [--adresse URL] [--ca FIL]\n"
    "                 henter væreksporten fra nettet og leser den inn; uten\n"
    "                 --adresse fra tjeneren i [Nett] Adresse i Hornstad.Ini\n"
    "                 (stien /Ullvik/hsTokk2.zip legges til en adresse uten sti).\n"
    "                 En https://-adresse hentes kryptert, og tjenerens sertifikat\n"
    "                 må godkjennes; --ca FIL (ellers [Nett] Sertifikat) er en\n"
    "                 PEM-fil med sertifikater som godkjennes i tillegg til\n"
    "                 systemets\n"
    "  oppslag NUMMER|NAVN\n"
    "                 viser væren slik væroppslaget viser den; NAVN (minst tre\n"
    "                 tegn, uten sifre) søkes som del av navnene, og flere treff\n"
    "                 gir en liste med ett treff på hver linje\n"
    "  avkom NUMMER [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n"
    "                 sønnene etter væren med kåringsnummeret, alle rader, slik\n"
    "                 tabellvinduet eksporterer dem (standard: semikolon; excel\n"
    "                 er tabulatorskilt med anførselstegn og overskriftslinje);\n"
    "                 uten --ut skrives teksten ut, med --ut lagres fila slik\n"
    "                 vinduet lagrer den (Windows-1252, CR LF); pdf skriver\n"
    "                 tabellen på A4-sider som tabellvinduet og trenger --ut\n"
    "  stamtre NUMMER --ut FIL\n"
    "                 tegner stamtreet til væren med kåringsnummeret inn i FIL:\n"
    "                 .pdf (én A4-side), .png (1280 x 1920) eller .svg\n"
    "  katalog [UTVALG] [--tabell FELT,... [--format F] [--ut FIL]]\n"
    "                 værkatalogen slik katalogvinduet lager den: tekstlista\n"
    "                 (13 linjer per vær) skrives til VerKat.txt i datamappa og\n"
    "                 ut på skjermen; med --tabell en tabell med feltene 0 til 30\n"
    "                 (0 Navn, 1 Rase, ..., 30 Ullanalyse) gjennom tabellvinduets\n"
    "                 eksport, med --format og --ut som for avkom.\n"
    "                 UTVALG: --fylke N og --rase N (kan gjentas; 0 er alle,\n"
    "                 standard alle), --fra ÅR, --til ÅR, --minste-indeks N,\n"
    "                 --semin, --utgatt-semin, --alle-karede, --avkomsgransket,\n"
    "                 --arets-egne, --unnga-gule, --egen FIL (egen liste med ett\n"
    "                 kåringsnummer per linje). Verdiene tas som de er gitt;\n"
    "                 uten noen av værslagene gjelder vinduets start: avkoms-\n"
    "                 granska værer fra 1979 til i fjor med minste indeks 70.\n"
    "                 --arets-egne alene tar ingen værer, som i vinduet når\n"
    "                 «Alle kårede» er slått av igjen\n"
    "  status         antall værer i registeret og de første værene\n";

void Skriv(const std::string& cp1252) { std::fputs(Cp1252TilUtf8(cp1252).c_str(), stdout); }

int Status() {
  TProdusent reg(dataMappe);
  reg.LoadRegister();
  std::printf("Datamappe: %s\n", dataMappe.c_str());
  std::printf("%zu værer\n", reg.RamNumbers().size());
  if (const std::string advarsel = reg.Advarsel(); !advarsel.empty())
    std::fprintf(stderr, "Advarsel: %s\n", advarsel.c_str());
  const Trase raser;
  const int32_t vis = std::min<int32_t>(reg.RecordCount(), 10);
  for (int32_t i = 0; i < vis; ++i) {
    const TVerPost p = reg.ReadAt(i);
    Skriv(PadLeft(IntToText(p.Nummer), 9) + "  " + PadRight(NameCase(p.Navn.Verdi()), 21) + PadRight(raser.BreedName(p.Rase), 16) +
          DateToText(p.IndeksDato) + "\n");
  }
  if (reg.RecordCount() > vis) Skriv("...\n");
  return 0;
}

// What the lookup window shows for the argument, read as the window reads its
// number-or-name field when the argument is typed into it.
int Oppslag(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fputs("Bruk: hornstad-cli oppslag NUMMER|NAVN\n", stderr);
    return 2;
  }
  const std::string felt = Utf8TilCp1252(args[1]);
  TProdusent reg(dataMappe);
  reg.LoadRegister();
  // Typed into the empty field, the text is both the field's text and the
  // name-search text.
  const TSoekResultat r = Soek(felt, felt, &reg);
  if (r.utfall == TSoekResultat::Utfall::Kandidater) {
    for (const TTekstElement& e : r.kandidater) Skriv(e.tekst + "\n");
    return 0;
  }
  if (r.utfall == TSoekResultat::Utfall::Ingenting) {
    std::fprintf(stderr, "Fant ingen vær med «%s» i navnet.\n", args[1].c_str());
    return 1;
  }
  if (r.ver.Nummer == 0) {
    const int32_t nummer = FeltVerdi(felt);
    if (nummer == 0)
      std::fputs("Skriv et kåringsnummer, eller minst tre tegn av et navn.\n", stderr);
    else
      std::fprintf(stderr, "Fant ingen vær med kåringsnummer %d.\n", static_cast<int>(nummer));
    return 1;
  }
  const Trase raser;
  const TVerVisning v = LagVisning(r.ver, raser, &reg);
  for (const std::string& linje : v.rasnav) Skriv(linje + "\n");
  const auto rader = [](const auto& titler, const auto& celler) {
    for (std::size_t i = 0; i < titler.size(); ++i) Skriv(titler[i] + "\t" + celler[i] + "\n");
  };
  rader(VerindTitler(), v.verind);
  rader(SlektTitler(), v.slekt);
  rader(ScanTitler(), v.scan);
  rader(UllaTitler(), v.ulla);
  return 0;
}

// The table formats of --format: the export type, or pdf (which needs --ut).
// False, with a line on stderr, for anything else.
bool LesFormat(const std::string& format, const std::filesystem::path& ut, TEksportType& type) {
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
      std::fputs("Formatet pdf trenger --ut FIL.\n", stderr);
      return false;
    }
  } else {
    std::fprintf(stderr, "Ukjent format: %s (semikolon, tab, excel, html eller pdf)\n", format.c_str());
    return false;
  }
  return true;
}

// A laid-out, marked table as the window writes it: a PDF, an export file,
// or the export's lines on stdout.
int SkrivTabellUt(const TTabell& tabell, bool pdf, TEksportType type, const std::filesystem::path& ut) {
  if (pdf) {
    TUtskrift u;
    u.tabell = &tabell;
    u.hovedtekst = FraQString(Hovedtittel());
    u.dato = IDag();
    SkrivTabellPdf(ut.string(), u);
    return 0;
  }
  const TEksport e = Eksporter(tabell, type);
  if (ut.empty()) {
    for (const std::string& linje : e.linjer) Skriv(linje + "\n");
    return 0;
  }
  SkrivEksport(ut, e);
  return 0;
}

// The sons of a ram through the table window's exports, with every data row
// and column marked.
int Avkom(const std::vector<std::string>& args) {
  const char* bruk = "Bruk: hornstad-cli avkom NUMMER [--format semikolon|tab|excel|html|pdf] [--ut FIL]\n";
  std::string nummerTekst, format = "semikolon";
  std::filesystem::path ut;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--format" && i + 1 < args.size()) {
      format = args[++i];
    } else if (args[i] == "--ut" && i + 1 < args.size()) {
      ut = args[++i];
    } else if (nummerTekst.empty() && !args[i].starts_with("--")) {
      nummerTekst = args[i];
    } else {
      std::fputs(bruk, stderr);
      return 2;
    }
  }
  if (nummerTekst.empty()) {
    std::fputs(bruk, stderr);
    return 2;
  }
  TEksportType type = TEksportType::Semikolon;
  if (!LesFormat(format, ut, type)) return 2;

  TProdusent reg(dataMappe);
  reg.LoadRegister();
  const int32_t nummer = LesHeltall(Utf8TilCp1252(nummerTekst));
  const TVerPost far = reg.FindByNumber(nummer);
  if (far.Nummer == 0) {
    std::fprintf(stderr, "Fant ingen vær med kåringsnummer %s.\n", nummerTekst.c_str());
    return 1;
  }
  TTabell tabell;
  ListAvkom(reg, far, tabell);
  // The layout the window gives a table when it is shown, in the same font:
  // the HTML header cells carry its column widths.
  tabell.ForsteLayout();
  tabell.MerkAlt();
  return SkrivTabellUt(tabell, format == "pdf", type, ut);
}

// The pedigree tree drawn as the preview draws it, into a PDF, PNG or SVG file.
int Stamtre(const std::vector<std::string>& args) {
  const char* bruk = "Bruk: hornstad-cli stamtre NUMMER --ut FIL.pdf|FIL.png|FIL.svg\n";
  std::string nummerTekst;
  std::filesystem::path ut;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--ut" && i + 1 < args.size()) {
      ut = args[++i];
    } else if (nummerTekst.empty() && !args[i].starts_with("--")) {
      nummerTekst = args[i];
    } else {
      std::fputs(bruk, stderr);
      return 2;
    }
  }
  if (nummerTekst.empty() || ut.empty()) {
    std::fputs(bruk, stderr);
    return 2;
  }
  if (!StamtreFiltype(ut)) {
    std::fprintf(stderr, "Kan ikke skrive stamtreet som «%s»; fila må slutte på .pdf, .png eller .svg.\n",
                 ut.filename().c_str());
    return 2;
  }

  TProdusent reg(dataMappe);
  reg.LoadRegister();
  const TVerPost ver = reg.FindByNumber(LesHeltall(Utf8TilCp1252(nummerTekst)));
  if (ver.Nummer == 0) {
    std::fprintf(stderr, "Fant ingen vær med kåringsnummer %s.\n", nummerTekst.c_str());
    return 1;
  }
  const Trase raser;
  SkrivStamtre(*ByggStamtre(ver, reg, raser), ut);
  return 0;
}

// A progress bar on stderr when it is a terminal.
class Fremdriftslinje {
 public:
  explicit Fremdriftslinje(const char* tekst) : tekst_(tekst), aktiv_(::isatty(2) != 0) {}
  ~Fremdriftslinje() {
    if (aktiv_ && vist_) std::fputs("\n", stderr);
  }
  bool operator()(int64_t gjort, int64_t totalt) {
    if (!aktiv_ || totalt <= 0) return true;
    const int prosent = static_cast<int>(gjort * 100 / totalt);
    if (prosent == sist_) return true;
    sist_ = prosent;
    vist_ = true;
    const int fylt = prosent * 40 / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d %%", tekst_, std::string(fylt, '#').c_str(),
                 std::string(40 - fylt, '.').c_str(), prosent);
    std::fflush(stderr);
    return true;
  }

 private:
  const char* tekst_;
  bool aktiv_;
  bool vist_ = false;
  int sist_ = -1;
};

// After an import: the lines of the export that were short of fields.
void MeldKorteLinjer(const TKonvertering& r) {
  if (r.korteLinjer > 0) std::fprintf(stderr, "%s\n", KorteLinjerMelding(r.korteLinjer).c_str());
}

int Importer(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fputs("Bruk: hornstad-cli importer FIL\n", stderr);
    return 2;
  }
  TKonvertering r;
  {
    Fremdriftslinje linje("Leser inn værer");
    r = ImporterFil(args[1], dataMappe, [&](int64_t gjort, int64_t totalt) { return linje(gjort, totalt); });
  }
  TProdusent reg(dataMappe);
  reg.LoadRegister();
  std::printf("%zu værer\n", reg.RamNumbers().size());
  MeldKorteLinjer(r);
  return 0;
}

std::atomic<bool> avbrutt{false};

void Avbryt(int) { avbrutt = true; }

int Hent(const std::vector<std::string>& args) {
  std::string adresse;
  std::optional<std::string> sertifikat;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--adresse" && i + 1 < args.size()) {
      adresse = args[++i];
    } else if (args[i] == "--ca" && i + 1 < args.size()) {
      sertifikat = args[++i];
    } else {
      std::fputs("Bruk: hornstad-cli hent [--adresse URL] [--ca FIL]\n", stderr);
      return 2;
    }
  }
  const QSettings ini(QString::fromStdString(Innstillingsfil(dataMappe).string()), QSettings::IniFormat);
  if (adresse.empty()) adresse = Nettadresse(ini).toStdString();
  TNedlastValg valg;
  valg.sertifikat = sertifikat ? *sertifikat : Sertifikatfil(ini, dataMappe);
  if (SplittUrl(adresse).sti.empty()) {
    while (!adresse.empty() && adresse.back() == '/') adresse.pop_back();
    adresse += VerArkivSti;
  }
  // Ctrl+C ends the transfer cleanly: nothing half-written is left.
  struct sigaction sa {};
  sa.sa_handler = Avbryt;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);

  const std::filesystem::path arkiv = dataMappe / ArkivNavn;
  HentSistEndret(adresse, valg, [] { return !avbrutt.load(); });
  std::string feil;
  TOverforing r;
  {
    Fremdriftslinje linje("Henter værer    ");
    TOverforingsHendelser h;
    h.fremdrift = [&](int64_t lest, int64_t totalt) {
      linje(lest, totalt);
      return !avbrutt.load();
    };
    h.fortsett = [] { return !avbrutt.load(); };
    h.feil = [&](const std::string& melding) { feil = melding; };
    r = HentFil(adresse, arkiv, valg, h);
  }
  if (r != TOverforing::Ferdig || avbrutt) {
    if (avbrutt || r == TOverforing::Avbrutt)
      std::fputs("Nedlastingen ble avbrutt. Værregisteret er uendret.\n", stderr);
    else
      std::fprintf(stderr, "Kunne ikke hente %s: %s%s Værregisteret er uendret.\n", adresse.c_str(), feil.c_str(),
                   !feil.empty() && feil.back() == '.' ? "" : ".");
    return 1;
  }
  TKonvertering konvertert;
  try {
    Fremdriftslinje linje("Leser inn værer ");
    konvertert = ImporterArkiv(arkiv, dataMappe, [&](int64_t gjort, int64_t totalt) { return linje(gjort, totalt); });
  } catch (const IoFeil&) {
    std::error_code ec;
    std::filesystem::remove(arkiv, ec);
    throw;
  }
  std::error_code ec;
  std::filesystem::remove(arkiv, ec);
  TProdusent reg(dataMappe);
  reg.LoadRegister();
  std::printf("%zu værer\n", reg.RamNumbers().size());
  MeldKorteLinjer(konvertert);
  return 0;
}

// The catalogue's selection pass, as the catalogue window runs it for the same
// criteria: the text listing into VerKat.txt in the data folder (and on
// stdout), or with --tabell the table of the listed fields through the table
// window's exports.
int Katalog(const std::vector<std::string>& args) {
  const char* bruk = "Bruk: hornstad-cli katalog [UTVALG] [--tabell FELT,... [--format F] [--ut FIL]] (se --help)\n";
  const auto tall = [](const std::string& flagg, const std::string& tekst, int& verdi) {
    const char* slutt = tekst.data() + tekst.size();
    const auto r = std::from_chars(tekst.data(), slutt, verdi);
    if (tekst.empty() || r.ec != std::errc() || r.ptr != slutt) {
      std::fprintf(stderr, "Ugyldig tall for %s: %s\n", flagg.c_str(), tekst.c_str());
      return false;
    }
    return true;
  };
  const Trase raser;
  const std::vector<std::string> raseValg = RaseValg(raser);
  const int detteAar = DecodeDate(IDag())->aar;
  TUtvalg u = StartUtvalg(detteAar, static_cast<int>(raseValg.size()));
  bool fylke = false, rase = false, art = false, tabell = false;
  TUtvalg arter;
  arter.avkomgr = false;
  std::string format, feltliste, rammer;
  std::filesystem::path ut, egen;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool harVerdi = i + 1 < args.size();
    int v = 0;
    if (a == "--semin") {
      arter.semin = art = true;
    } else if (a == "--utgatt-semin") {
      arter.utgSem = art = true;
    } else if (a == "--alle-karede") {
      arter.gkar = art = true;
    } else if (a == "--avkomsgransket") {
      arter.avkomgr = art = true;
    } else if (a == "--arets-egne") {
      arter.nykar = art = true;
    } else if (a == "--unnga-gule") {
      u.ugul = true;
    } else if (!harVerdi) {
      std::fputs(bruk, stderr);
      return 2;
    } else if (a == "--fylke" || a == "--rase") {
      const bool erFylke = a == "--fylke";
      if (!tall(a, args[++i], v)) return 2;
      std::vector<bool>& valg = erFylke ? u.fylker : u.raser;
      if (v < 0 || v >= static_cast<int>(valg.size())) {
        std::fprintf(stderr, "%s %d finnes ikke (0 til %d).\n", erFylke ? "Fylke" : "Rase", v,
                     static_cast<int>(valg.size()) - 1);
        return 2;
      }
      valg[static_cast<std::size_t>(v)] = true;
      (erFylke ? fylke : rase) = true;
    } else if (a == "--fra" || a == "--til" || a == "--minste-indeks") {
      if (!tall(a, args[++i], v)) return 2;
      (a == "--fra" ? u.fra : a == "--til" ? u.til : u.antall) = v;
    } else if (a == "--egen") {
      egen = args[++i];
    } else if (a == "--tabell") {
      feltliste = args[++i];
      tabell = true;
    } else if (a == "--format") {
      format = args[++i];
    } else if (a == "--ut") {
      ut = args[++i];
    } else if (a == "--rammer") {
      rammer = args[++i];
    } else {
      std::fputs(bruk, stderr);
      return 2;
    }
  }
  if (!tabell && (!format.empty() || !ut.empty())) {
    std::fputs("Valgene --format og --ut gjelder bare sammen med --tabell.\n", stderr);
    return 2;
  }
  // Without a kind the window's initial kinds apply; the lists default to
  // "all", which the window leaves to the user.
  if (art) {
    u.semin = arter.semin;
    u.utgSem = arter.utgSem;
    u.gkar = arter.gkar;
    u.avkomgr = arter.avkomgr;
    u.nykar = arter.nykar;
  }
  if (!fylke) u.fylker[0] = true;
  if (!rase) u.raser[0] = true;

  TSkalMed skalMed{};
  if (tabell) {
    std::size_t pos = 0;
    while (pos < feltliste.size()) {
      std::size_t slutt = feltliste.find(',', pos);
      if (slutt == std::string::npos) slutt = feltliste.size();
      int felt = 0;
      if (!tall("--tabell", feltliste.substr(pos, slutt - pos), felt)) return 2;
      if (felt < 0 || felt >= AntallTabellfelt) {
        std::fprintf(stderr, "Tabellfelt %d finnes ikke (0 til %d).\n", felt, AntallTabellfelt - 1);
        return 2;
      }
      skalMed[static_cast<std::size_t>(felt)] = true;
      pos = slutt + 1;
    }
  }
  TEksportType type = TEksportType::Semikolon;
  if (!LesFormat(format.empty() ? "semikolon" : format, ut, type)) return 2;

  std::vector<std::string> egenListe;
  if (!egen.empty()) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(FinnFil(egen.parent_path(), egen.filename().string()), ec)) {
      std::fprintf(stderr, "Finner ikke fila %s.\n", egen.c_str());
      return 1;
    }
    egenListe = LesEgenListe(egen);
    u.egenListe = true;
  }

  TProdusent reg(dataMappe);
  reg.LoadRegister();
  Fremdriftslinje linje("Leser værer     ");
  const TUtvalgFremdrift fremdrift = [&](int64_t lest, int64_t totalt) { return linje(lest, totalt); };
  if (!tabell) {
    if (rammer.empty()) {
      // The listing goes to the terminal as it is written, line ends as LF.
      std::string tekst;
      const auto skjerm = [&tekst](std::string_view blokk) {
        tekst.clear();
        for (std::size_t pos = 0; pos < blokk.size();) {
          const std::size_t cr = std::min(blokk.find('\r', pos), blokk.size());
          Cp1252TilUtf8(blokk.substr(pos, cr - pos), tekst);
          pos = cr + 1;
        }
        std::fwrite(tekst.data(), 1, tekst.size(), stdout);
      };
      TTekstKatalog katalog(reg, raser, {}, skjerm);
      Utplukk(reg, u, egenListe, [&](const TVerPost& p) { katalog.Ta(p); }, fremdrift);
      katalog.Fullfor();
      return 0;
    }
    TTekstKatalog katalog(reg, raser);
    Utplukk(reg, u, egenListe, [&](const TVerPost& p) { katalog.Ta(p); }, fremdrift);
    katalog.Fullfor();
    std::string tekst = LesHeleFila(katalog.Fil());
    std::erase(tekst, '\r');
    // The framed pages of the listing, as "Vis med rammer" makes them.
    std::vector<std::string> linjer;
    std::size_t pos = 0;
    while (pos < tekst.size()) {
      const std::size_t slutt = tekst.find('\n', pos);
      linjer.push_back(tekst.substr(pos, slutt == std::string::npos ? std::string::npos : slutt - pos));
      if (slutt == std::string::npos) break;
      pos = slutt + 1;
    }
    SkrivRammerPdf(*LagSider(linjer), rammer);
    return 0;
  }
  TTabell t;
  TTabellKatalog katalog(reg, t, skalMed, KatalogTittel(u, raseValg));
  Utplukk(reg, u, egenListe, [&](const TVerPost& p) { katalog.Ta(p); }, fremdrift);
  katalog.Fullfor();
  // The layout the table window gives the table when it is shown.
  t.ForsteLayout();
  t.MerkAlt();
  return SkrivTabellUt(t, format == "pdf", type, ut);
}

}  // namespace

int main(int argc, char** argv) {
  // Qt's own notices (a missing runtime folder and the like) are not for
  // the user of the tool: stderr carries only our messages.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& tekst) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", tekst.toLocal8Bit().constData());
  });
  // Fonts are measured as the windows measure them, without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::vector<std::string> args;
  std::string data;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(Hjelp, stdout);
      return 0;
    }
    if (a == "--data") {
      if (i + 1 >= argc) {
        std::fputs("Valget --data trenger en mappe.\n", stderr);
        return 2;
      }
      data = argv[++i];
      continue;
    }
    args.push_back(a);
  }
  if (args.empty()) {
    std::fputs(Hjelp, stderr);
    return 2;
  }
  dataMappe = data.empty() ? ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString())
                            : std::filesystem::path(data);
  try {
    if (args[0] == "status") return Status();
    if (args[0] == "importer") return Importer(args);
    if (args[0] == "hent") return Hent(args);
    if (args[0] == "oppslag") return Oppslag(args);
    if (args[0] == "avkom") return Avkom(args);
    if (args[0] == "stamtre") return Stamtre(args);
    if (args[0] == "katalog") return Katalog(args);
  } catch (const IoFeil& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "Det er ikke nok minne til dette. Lukk andre programmer og prøv igjen.\n");
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Uventet feil (%s). Ingen filer er endret; prøv igjen.\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "Ukjent kommando: %s (se hornstad-cli --help)\n", args[0].c_str());
  return 2;
}
