// The download against real servers on 127.0.0.1: Python's http.server for
// ordinary files, and tests/feiltjener.py for servers that misbehave.
#include "nedlasting.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dato.h"
#include "testmappe.h"
#include "tjener.h"

namespace fs = std::filesystem;
using Klokke = std::chrono::steady_clock;

namespace {

std::string Les(const fs::path& fil) {
  std::ifstream inn(fil, std::ios::binary);
  std::ostringstream ut;
  ut << inn.rdbuf();
  return ut.str();
}

// What feiltjener.py sends as a whole body.
std::string Feiltjenerinnhold() {
  std::string s;
  for (int gang = 0; gang < 40; ++gang)
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

// The Last-Modified that feiltjener.py sends, and the time the served file gets.
const double Endret = *EncodeDate(2021, 3, 15) + 10.5 / 24;
constexpr std::time_t EndretUnix = 1615804200;  // 2021-03-15 10:30:00 UTC

// Records what a transfer reports.
struct Logg {
  int koblet = 0;
  std::size_t rapporterVedKobling = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> fremdrift;
  std::vector<std::string> feil;

  // `svar` decides what each progress report answers; empty: go on.
  TOverforingsHendelser Hendelser(std::function<bool(std::int64_t, std::int64_t)> svar = {}) {
    TOverforingsHendelser h;
    h.kobler = [this] {
      ++koblet;
      rapporterVedKobling = fremdrift.size();
    };
    h.fremdrift = [this, svar](std::int64_t lest, std::int64_t totalt) {
      fremdrift.emplace_back(lest, totalt);
      return svar ? svar(lest, totalt) : true;
    };
    h.feil = [this](const std::string& melding) { feil.push_back(melding); };
    return h;
  }
};

// The progress reports of a transfer that got the whole body: first 0 bytes,
// then growing counts up to `lengde`, all with the same total.
void SjekkFremdrift(const Logg& logg, std::int64_t totalt, std::int64_t lengde) {
  ASSERT_GE(logg.fremdrift.size(), 2u);
  EXPECT_EQ(logg.fremdrift.front(), std::make_pair(std::int64_t{0}, totalt));
  EXPECT_EQ(logg.fremdrift.back(), std::make_pair(lengde, totalt));
  for (std::size_t i = 1; i < logg.fremdrift.size(); ++i) {
    EXPECT_GT(logg.fremdrift[i].first, logg.fremdrift[i - 1].first);
    EXPECT_EQ(logg.fremdrift[i].second, totalt);
  }
}

double Sekunder(Klokke::time_point start) { return std::chrono::duration<double>(Klokke::now() - start).count(); }

// Gives false from `etter` after the first call onwards.
std::function<bool()> AvbrytEtter(std::chrono::milliseconds etter) {
  auto start = std::make_shared<std::optional<Klokke::time_point>>();
  return [start, etter] {
    if (!*start) *start = Klokke::now();
    return Klokke::now() - **start < etter;
  };
}

class NedlastingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    filer_ = new TestMappe;
    // Large enough to come in many pieces.
    std::string innhold;
    std::uint32_t x = 12345;
    for (int i = 0; i < 300000; ++i) {
      x = x * 1103515245u + 12345u;
      innhold += static_cast<char>(x >> 24);
    }
    filer_->Skriv("Nyverer.Zip", innhold);
    const timespec tider[2] = {{EndretUnix, 0}, {EndretUnix, 0}};
    ::utimensat(AT_FDCWD, (*filer_ / "Nyverer.Zip").c_str(), tider, 0);
    filtjener_ = new Tjenerprosess(
        {"python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", filer_->Sti().string(), "0"});
    feiltjener_ = new Tjenerprosess({"python3", "-u", HS_FEILTJENER});
  }

  static void TearDownTestSuite() {
    delete feiltjener_;
    delete filtjener_;
    delete filer_;
  }

  void SetUp() override {
    ASSERT_GT(filtjener_->Port(), 0) << "python3 -m http.server startet ikke";
    ASSERT_GT(feiltjener_->Port(), 0) << "feiltjener.py startet ikke";
  }

  static std::string Filadresse(const std::string& sti = "/Nyverer.Zip") {
    return "http://127.0.0.1:" + std::to_string(filtjener_->Port()) + sti;
  }
  static std::string Feiladresse(const std::string& sti) {
    return "http://127.0.0.1:" + std::to_string(feiltjener_->Port()) + sti;
  }
  static std::string Fil() { return Les(*filer_ / "Nyverer.Zip"); }

  // Target and left-over checks for a transfer that did not complete.
  void SjekkUrort(const fs::path& maal, const std::string& gammelt) {
    EXPECT_EQ(Les(maal), gammelt);
    EXPECT_FALSE(fs::exists(Nedlastingsfil(maal)));
  }

  static inline TestMappe* filer_ = nullptr;
  static inline Tjenerprosess* filtjener_ = nullptr;
  static inline Tjenerprosess* feiltjener_ = nullptr;
  TestMappe mappe_;
};

TEST_F(NedlastingTest, HenterFilOgDatoUansettSkrivemaateOgGjentatt) {
  const std::string port = std::to_string(filtjener_->Port());
  const fs::path maal = mappe_ / "ny/undermappe/Nyverer.Zip";  // the folders do not exist yet
  // Each call replaces the file the one before wrote, so this is also a
  // second and a third call in the same process.
  for (const std::string& url :
       {"http://127.0.0.1:" + port + "/Nyverer.Zip", "HTTP://127.0.0.1:" + port + "/Nyverer.Zip",
        "hTtP://localhost:" + port + "/Nyverer.Zip", "127.0.0.1:" + port + "/Nyverer.Zip"}) {
    SCOPED_TRACE(url);
    EXPECT_DOUBLE_EQ(HentSistEndret(url, {}, {}), Endret);
    if (fs::exists(maal)) std::ofstream(maal, std::ios::binary) << "gammelt innhold";
    Logg logg;
    EXPECT_EQ(HentFil(url, maal, {}, logg.Hendelser()), TOverforing::Ferdig);
    EXPECT_TRUE(Les(maal) == Fil());
    EXPECT_FALSE(fs::exists(Nedlastingsfil(maal)));
    EXPECT_EQ(logg.koblet, 1);
    EXPECT_EQ(logg.rapporterVedKobling, 0u);
    EXPECT_TRUE(logg.feil.empty());
    const auto n = static_cast<std::int64_t>(Fil().size());
    SjekkFremdrift(logg, n, n);
  }
}

TEST_F(NedlastingTest, SenderGetOverHttp10MedAgenten) {
  const fs::path maal = mappe_ / "ekko";
  Logg logg;
  ASSERT_EQ(HentFil(Feiladresse("/ekko/Ny fil.zip"), maal, {}, logg.Hendelser()), TOverforing::Ferdig);
  const std::string forespoersel = Les(maal);
  EXPECT_EQ(forespoersel.rfind("GET /ekko/Ny%20fil.zip HTTP/1.0\r\n", 0), 0u) << forespoersel;
  EXPECT_NE(forespoersel.find("\r\nUser-Agent: TJvMultiHttpGrabber Component\r\n"), std::string::npos);
  EXPECT_NE(forespoersel.find("\r\nPragma: no-cache\r\n"), std::string::npos);  // past any cache on the way
  EXPECT_NE(forespoersel.find("\r\nHost: 127.0.0.1:" + std::to_string(feiltjener_->Port()) + "\r\n"),
            std::string::npos);

  TNedlastValg valg;
  valg.agent = "Hornstad 3.3";
  ASSERT_EQ(HentFil(Feiladresse("/ekko"), maal, valg, logg.Hendelser()), TOverforing::Ferdig);
  EXPECT_NE(Les(maal).find("\r\nUser-Agent: Hornstad 3.3\r\n"), std::string::npos);
}

// One answer of a server, what the date request gives and how the transfer ends.
struct Tilfelle {
  const char* navn;
  enum Tjener { Fil, Feil, Stengt, Https } tjener;
  const char* sti;
  double dato;  // what the date request gives
  TOverforing resultat;
  std::int64_t totalt;  // in the progress reports; ignored when there are none
  bool fremdrift;       // the server answered 200 OK, so progress was reported
  bool kontakt;         // a connection was made
};

void PrintTo(const Tilfelle& t, std::ostream* os) { *os << t.navn; }

class SvarTest : public NedlastingTest, public ::testing::WithParamInterface<Tilfelle> {};

TEST_P(SvarTest, EnderSomVentet) {
  const Tilfelle& t = GetParam();
  const StengtPort stengt;
  std::string url;
  switch (t.tjener) {
    case Tilfelle::Fil: url = Filadresse(t.sti); break;
    case Tilfelle::Feil: url = Feiladresse(t.sti); break;
    case Tilfelle::Stengt: url = "http://127.0.0.1:" + std::to_string(stengt.Port()) + t.sti; break;
    case Tilfelle::Https: url = "https://127.0.0.1:" + std::to_string(filtjener_->Port()) + t.sti; break;
  }
  TNedlastValg valg;
  valg.stilleSekunder = 1;

  const auto start = Klokke::now();
  EXPECT_DOUBLE_EQ(HentSistEndret(url, valg, {}), t.dato);

  const fs::path maal = mappe_ / "Nyverer.Zip";
  const std::string gammelt = "det forrige arkivet";
  mappe_.Skriv("Nyverer.Zip", gammelt);
  Logg logg;
  EXPECT_EQ(HentFil(url, maal, valg, logg.Hendelser()), t.resultat);
  EXPECT_LT(Sekunder(start), 5.0);

  EXPECT_EQ(logg.koblet, t.kontakt ? 1 : 0);
  if (t.resultat == TOverforing::Feil) {
    ASSERT_EQ(logg.feil.size(), 1u);
    EXPECT_FALSE(logg.feil[0].empty());
  } else {
    EXPECT_TRUE(logg.feil.empty()) << logg.feil[0];
  }
  if (!t.fremdrift) {
    EXPECT_TRUE(logg.fremdrift.empty());
  } else if (!logg.fremdrift.empty()) {
    EXPECT_EQ(logg.fremdrift.front(), std::make_pair(std::int64_t{0}, t.totalt));
  } else {
    ADD_FAILURE() << "ingen fremdrift";
  }

  if (t.resultat == TOverforing::Ferdig) {
    EXPECT_TRUE(Les(maal) == Feiltjenerinnhold());
    EXPECT_FALSE(fs::exists(Nedlastingsfil(maal)));
    SjekkFremdrift(logg, t.totalt, static_cast<std::int64_t>(Feiltjenerinnhold().size()));
  } else {
    SjekkUrort(maal, gammelt);
  }
}

constexpr std::int64_t Hel = 10240;  // the whole body of feiltjener.py

INSTANTIATE_TEST_SUITE_P(
    Tjenere, SvarTest,
    ::testing::Values(
        Tilfelle{"UtenDato", Tilfelle::Feil, "/uten-dato", -1, TOverforing::Ferdig, Hel, true, true},
        Tilfelle{"UtenLengde", Tilfelle::Feil, "/uten-lengde", Endret, TOverforing::Ferdig, -1, true, true},
        Tilfelle{"Omdirigert", Tilfelle::Feil, "/flytt", Endret, TOverforing::Ferdig, -1, true, true},
        Tilfelle{"KuttetFoerLengden", Tilfelle::Feil, "/kuttet", Endret, TOverforing::Feil, 3 * Hel, true, true},
        Tilfelle{"TomtSvar", Tilfelle::Feil, "/tom", Endret, TOverforing::Feil, 0, true, true},
        Tilfelle{"TomtSvarUtenLengde", Tilfelle::Feil, "/tom-uten-lengde", Endret, TOverforing::Feil, -1, true, true},
        Tilfelle{"Status500", Tilfelle::Feil, "/feil-500", -1, TOverforing::Feil, 0, false, true},
        Tilfelle{"FinnesIkke", Tilfelle::Fil, "/Finnes.ikke", -1, TOverforing::Feil, 0, false, true},
        Tilfelle{"SierIngenting", Tilfelle::Feil, "/stille", -1, TOverforing::Feil, 0, false, true},
        Tilfelle{"StopperMidtI", Tilfelle::Feil, "/stille-midt", Endret, TOverforing::Feil, 2 * Hel, true, true},
        Tilfelle{"Nektet", Tilfelle::Stengt, "/Nyverer.Zip", -1, TOverforing::Feil, 0, false, false},
        Tilfelle{"Https", Tilfelle::Https, "/Nyverer.Zip", -1, TOverforing::Feil, 0, false, false}),
    [](const ::testing::TestParamInfo<Tilfelle>& info) { return std::string(info.param.navn); });

TEST_F(NedlastingTest, AvbruttDatoforespoerselEnderMedEnGang) {
  // A server that answers at once: the cancel still wins.
  EXPECT_EQ(HentSistEndret(Filadresse(), {}, [] { return false; }), -1);

  // A server that says nothing: without the cancel this would wait 60 seconds.
  const auto start = Klokke::now();
  EXPECT_EQ(HentSistEndret(Feiladresse("/stille"), {}, AvbrytEtter(std::chrono::milliseconds(300))), -1);
  EXPECT_LT(Sekunder(start), 2.0);
}

TEST_F(NedlastingTest, AvbruttOverfoeringEtterlaterIngenting) {
  const fs::path maal = mappe_ / "Nyverer.Zip";
  const std::string gammelt = "det forrige arkivet";
  const auto utenDelfil = [&](std::int64_t lest) { return lest > 0 && !fs::exists(Nedlastingsfil(maal)); };

  struct Maate {
    const char* navn;
    std::string url;
    // Answer to each progress report.
    std::function<bool(std::int64_t, std::int64_t)> fremdrift;
    std::function<bool()> fortsett;
  };
  bool delfilManglet = false;
  const std::vector<Maate> maater = {
      {"foer første del", Filadresse(), [](std::int64_t, std::int64_t) { return false; }, {}},
      {"etter første del",
       Filadresse(),
       [&](std::int64_t lest, std::int64_t) {
         delfilManglet = delfilManglet || utenDelfil(lest);
         return lest == 0;
       },
       {}},
      {"mens tjeneren tier", Feiladresse("/stille"), {}, AvbrytEtter(std::chrono::milliseconds(300))},
      {"mens tjeneren tier midt i", Feiladresse("/stille-midt"),
       [&](std::int64_t lest, std::int64_t) {
         delfilManglet = delfilManglet || utenDelfil(lest);
         return true;
       },
       AvbrytEtter(std::chrono::milliseconds(300))},
  };
  for (const Maate& m : maater) {
    SCOPED_TRACE(m.navn);
    mappe_.Skriv("Nyverer.Zip", gammelt);
    Logg logg;
    TOverforingsHendelser h = logg.Hendelser(m.fremdrift);
    h.fortsett = m.fortsett;
    const auto start = Klokke::now();
    EXPECT_EQ(HentFil(m.url, maal, {}, h), TOverforing::Avbrutt);  // a silence of 60 s would be Feil
    EXPECT_LT(Sekunder(start), 2.0);
    EXPECT_TRUE(logg.feil.empty());
    SjekkUrort(maal, gammelt);
  }
  // The body was on its way into the file beside the target when it was cancelled.
  EXPECT_FALSE(delfilManglet);
}

// ---- HTTPS ----

// Servers over TLS (tests/tlstjener.py) with the certificates that
// tests/lag-sertifikater.sh makes, serving the same file as the plain server.
class HttpsTest : public NedlastingTest {
 protected:
  enum Tjener { Gyldig, Annen, Feilvert, Utlopt, Selvsignert, Antall };

  static void SetUpTestSuite() {
    NedlastingTest::SetUpTestSuite();
    sertifikater_ = new TestMappe;
    ASSERT_EQ(std::system(("bash " HS_LAGSERT " '" + sertifikater_->Sti().string() + "'").c_str()), 0);
    const char* navn[] = {"gyldig", "annen", "feilvert", "utlopt", "selvsignert"};
    for (int i = 0; i < Antall; ++i) {
      std::vector<std::string> argv = {"python3",
                                       "-u",
                                       HS_TLSTJENER,
                                       filer_->Sti().string(),
                                       Sert(std::string(navn[i]) + ".pem"),
                                       Sert(std::string(navn[i]) + ".key")};
      // The trusted server sends /videre/... on to the plain server.
      if (i == Gyldig) argv.push_back(Filadresse(""));
      tjenere_[i] = new Tjenerprosess(argv);
    }
  }
  static void TearDownTestSuite() {
    for (Tjenerprosess*& t : tjenere_) {
      delete t;
      t = nullptr;
    }
    delete sertifikater_;
    NedlastingTest::TearDownTestSuite();
  }
  void SetUp() override {
    NedlastingTest::SetUp();
    for (Tjenerprosess* t : tjenere_) ASSERT_GT(t->Port(), 0) << "tlstjener.py startet ikke";
  }

  static std::string Sert(const std::string& navn) { return (*sertifikater_ / navn).string(); }
  static std::string Adresse(Tjener t, const std::string& sti = "/Nyverer.Zip", const std::string& vert = "127.0.0.1") {
    return "https://" + vert + ":" + std::to_string(tjenere_[t]->Port()) + sti;
  }

  static inline TestMappe* sertifikater_ = nullptr;
  static inline Tjenerprosess* tjenere_[Antall] = {};
};

TEST_F(HttpsTest, BareEtGodkjentSertifikatGirFila) {
  struct Tilfelle {
    const char* navn;
    Tjener tjener;
    const char* vert;
    const char* sti;
    std::string sertifikat;  // the extra file of trusted certificates
    const char* melding;     // part of the message; empty when the file comes
  };
  TestMappe m;
  m.Skriv("ikke-pem.txt", "ingen sertifikater her");
  const Tilfelle tilfeller[] = {
      {"godkjent utsteder", Gyldig, "127.0.0.1", "/Nyverer.Zip", Sert("ca.pem"), ""},
      {"godkjent utsteder, navnet localhost", Gyldig, "localhost", "/Nyverer.Zip", Sert("ca.pem"), ""},
      {"uten den ekstra fila", Gyldig, "127.0.0.1", "/Nyverer.Zip", "", "utsteder som maskinen ikke stoler på"},
      {"ukjent utsteder", Annen, "127.0.0.1", "/Nyverer.Zip", Sert("ca.pem"), "utsteder som maskinen ikke stoler på"},
      {"selvsignert", Selvsignert, "127.0.0.1", "/Nyverer.Zip", Sert("ca.pem"), "er selvsignert"},
      {"feil vertsnavn", Feilvert, "127.0.0.1", "/Nyverer.Zip", Sert("ca.pem"), "gjelder ikke for navnet 127.0.0.1"},
      {"utløpt", Utlopt, "127.0.0.1", "/Nyverer.Zip", Sert("ca.pem"), "er utløpt"},
      {"videre til http", Gyldig, "127.0.0.1", "/videre/Nyverer.Zip", Sert("ca.pem"), "uten https, og det godtas ikke"},
      {"sertifikatfila finnes ikke", Gyldig, "127.0.0.1", "/Nyverer.Zip", (m / "finnes-ikke.pem").string(),
       "Kan ikke lese sertifikatfila"},
      {"sertifikatfila er ikke PEM", Gyldig, "127.0.0.1", "/Nyverer.Zip", (m / "ikke-pem.txt").string(),
       "har ingen sertifikater i PEM-form"},
  };
  const fs::path maal = mappe_ / "Nyverer.Zip";
  const std::string gammelt = "det forrige arkivet";
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    const std::string url = Adresse(t.tjener, t.sti, t.vert);
    TNedlastValg valg;
    valg.sertifikat = t.sertifikat;
    mappe_.Skriv("Nyverer.Zip", gammelt);
    Logg logg;
    const auto start = Klokke::now();
    const double dato = HentSistEndret(url, valg, {});
    const TOverforing r = HentFil(url, maal, valg, logg.Hendelser());
    EXPECT_LT(Sekunder(start), 5.0);
    if (*t.melding == '\0') {
      EXPECT_DOUBLE_EQ(dato, Endret);
      EXPECT_EQ(r, TOverforing::Ferdig) << (logg.feil.empty() ? "" : logg.feil[0]);
      EXPECT_TRUE(Les(maal) == Fil());
      continue;
    }
    EXPECT_EQ(dato, -1);
    EXPECT_EQ(r, TOverforing::Feil);
    ASSERT_EQ(logg.feil.size(), 1u);
    std::printf("[ melding  ] %s\n", logg.feil[0].c_str());
    EXPECT_NE(logg.feil[0].find(t.melding), std::string::npos) << logg.feil[0];
    EXPECT_TRUE(logg.feil[0].find("Sjekk") != std::string::npos || logg.feil[0].find("Si fra") != std::string::npos)
        << logg.feil[0];
    EXPECT_TRUE(logg.fremdrift.empty()) << "nothing of the body was taken";
    SjekkUrort(maal, gammelt);
  }
}

TEST_F(HttpsTest, DenEkstraFilaKommerITilleggTilSystemets) {
  // ca2.pem stands for the system's certificates here.
  const fs::path maal = mappe_ / "Nyverer.Zip";
  const struct {
    const char* navn;
    std::string ekstra;
    bool gyldig, annen;  // which of the two servers are trusted
  } tilfeller[] = {
      {"bare systemets", "", false, true},
      {"systemets og den ekstra", Sert("ca.pem"), true, true},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    TNedlastValg valg;
    valg.systemSertifikater = Sert("ca2.pem");
    valg.sertifikat = t.ekstra;
    for (const auto& [tjener, godtatt] : {std::pair{Gyldig, t.gyldig}, std::pair{Annen, t.annen}}) {
      Logg logg;
      EXPECT_EQ(HentFil(Adresse(tjener), maal, valg, logg.Hendelser()),
                godtatt ? TOverforing::Ferdig : TOverforing::Feil)
          << tjener << (logg.feil.empty() ? "" : ": " + logg.feil[0]);
    }
  }
}

struct UrlTilfelle {
  const char* url;
  const char* vert;
  int port;
  const char* sti;
  bool https;
  bool gyldig;
};

TEST(SplittUrlTest, Tabell) {
  const UrlTilfelle tilfeller[] = {
      {"http://www.hornstad.example/Ullvik/Nyverer.Zip", "www.hornstad.example", 80, "Ullvik/Nyverer.Zip", false, true},
      {"HTTP://Vert/a", "Vert", 80, "a", false, true},
      {"hTTp://vert/a/b/", "vert", 80, "a/b/", false, true},
      {"vert/a", "vert", 80, "a", false, true},
      {"127.0.0.1:8080/x.zip", "127.0.0.1", 8080, "x.zip", false, true},
      {"http://127.0.0.1:8080/x.zip", "127.0.0.1", 8080, "x.zip", false, true},
      {"http://vert:65535", "vert", 65535, "", false, true},
      {"http://vert", "vert", 80, "", false, true},
      {"http://vert/", "vert", 80, "", false, true},
      {"http://vert/sti med blank.zip", "vert", 80, "sti med blank.zip", false, true},
      {"https://vert/x", "vert", 443, "x", true, true},
      {"HTTPS://Vert:8443/a/b.zip", "Vert", 8443, "a/b.zip", true, true},
      {"hTtPs://vert", "vert", 443, "", true, true},
      {"https://vert:0/x", "vert:0", 443, "x", true, false},
      {"https:///x", "", 443, "x", true, false},
      {"ftp://vert/x", "ftp:", 80, "/vert/x", false, false},
      {"http://vert:/x", "vert:", 80, "x", false, false},
      {"http://vert:8o/x", "vert:8o", 80, "x", false, false},
      {"http://vert:0/x", "vert:0", 80, "x", false, false},
      {"http://vert:65536/x", "vert:65536", 80, "x", false, false},
      {"http://bruker@vert/x", "bruker@vert", 80, "x", false, false},
      {"http:///x", "", 80, "x", false, false},
      {"", "", 80, "", false, false},
  };
  for (const UrlTilfelle& t : tilfeller) {
    SCOPED_TRACE(t.url);
    const TUrlDeler d = SplittUrl(t.url);
    EXPECT_EQ(d.vert, t.vert);
    EXPECT_EQ(d.port, t.port);
    EXPECT_EQ(d.sti, t.sti);
    EXPECT_EQ(d.https, t.https);
    EXPECT_EQ(d.gyldig, t.gyldig);
  }
}

}  // namespace
