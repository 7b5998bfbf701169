// Downloads from servers that misbehave (tests/feiltjener.py): a connection
// reset in the middle of the body, garbage in the status line or the head, a
// body that never ends, a server that never answers and one that sends a byte
// a second. Each through HentFil, the download window and `hornstad-cli hent`:
// a failure ends with a Norwegian message that says what to do; a transfer
// the user cancels ends promptly; nothing is left half-written and the old
// files stay as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "eksempeldata.h"
#include "filer.h"
#include "nedlasting.h"
#include "testmappe.h"
#include "tformnedlast.h"
#include "tjener.h"

extern char** environ;

namespace fs = std::filesystem;
using Klokke = std::chrono::steady_clock;

namespace {

constexpr std::int64_t Hel = 10240;  // the whole body of feiltjener.py
constexpr std::int64_t MiB = 1 << 20;
// Generous: how long a cancelled transfer may take to end. Far above what it
// needs; only a transfer that does not end at all exceeds it.
constexpr double Frist = 10.0;

double Sekunder(Klokke::time_point fra) { return std::chrono::duration<double>(Klokke::now() - fra).count(); }

std::int64_t Storrelse(const fs::path& fil) {
  struct stat st {};
  return ::stat(fil.c_str(), &st) == 0 ? st.st_size : -1;
}

// A failure message tells the user what to do next.
bool SierHvaSomKanGjores(const std::string& melding) {
  return melding.find("Prøv igjen") != std::string::npos || melding.find("Sjekk") != std::string::npos;
}

class NedlastingsfeilTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tjener_ = new Tjenerprosess({"python3", "-u", HS_FEILTJENER}); }
  static void TearDownTestSuite() { delete tjener_; }
  void SetUp() override {
    ASSERT_GT(tjener_->Port(), 0) << "feiltjener.py startet ikke";
    mappe_.Skriv("Nyverer.Zip", Gammelt);
  }

  static std::string Adresse(const std::string& sti) {
    return "http://127.0.0.1:" + std::to_string(tjener_->Port()) + sti;
  }
  fs::path Maal() const { return mappe_ / "Nyverer.Zip"; }
  void SjekkUrort() const {
    EXPECT_EQ(LesHeleFila(Maal()), Gammelt);
    EXPECT_FALSE(fs::exists(Nedlastingsfil(Maal())));
  }

  static inline const std::string Gammelt = "det forrige arkivet";
  static inline Tjenerprosess* tjener_ = nullptr;
  TestMappe mappe_;
};

// ---- HentFil ----

struct Feiltilfelle {
  const char* navn;
  const char* sti;
  std::int64_t maksBytes;  // 0: the default limit
  TOverforing resultat;
  const char* tekst;  // part of the message
  bool fremdrift;     // the server's answer was taken, so progress was reported
};

void PrintTo(const Feiltilfelle& t, std::ostream* os) { *os << t.navn; }

class HentFilFeil : public NedlastingsfeilTest, public ::testing::WithParamInterface<Feiltilfelle> {};

TEST_P(HentFilFeil, EnderMedNorskMeldingOgEtterlaterIngenting) {
  const Feiltilfelle& t = GetParam();
  TNedlastValg valg;
  valg.stilleSekunder = 2;
  if (t.maksBytes > 0) valg.maksBytes = t.maksBytes;
  std::vector<std::string> feil;
  std::int64_t sistLest = -1;
  int fremdrift = 0;
  TOverforingsHendelser h;
  h.feil = [&](const std::string& m) { feil.push_back(m); };
  h.fremdrift = [&](std::int64_t lest, std::int64_t) {
    ++fremdrift;
    sistLest = lest;
    return true;
  };
  const auto start = Klokke::now();
  EXPECT_EQ(HentFil(Adresse(t.sti), Maal(), valg, h), t.resultat);
  EXPECT_LT(Sekunder(start), Frist);
  if (t.resultat == TOverforing::Ferdig) {
    EXPECT_TRUE(feil.empty());
    EXPECT_EQ(Storrelse(Maal()), Hel);
    EXPECT_FALSE(fs::exists(Nedlastingsfil(Maal())));
    return;
  }
  ASSERT_EQ(feil.size(), 1u);
  std::printf("[ melding  ] %s\n", feil[0].c_str());
  EXPECT_NE(feil[0].find(t.tekst), std::string::npos) << feil[0];
  EXPECT_NE(feil[0].find("127.0.0.1:" + std::to_string(tjener_->Port())), std::string::npos) << feil[0];
  EXPECT_TRUE(SierHvaSomKanGjores(feil[0])) << feil[0];
  EXPECT_EQ(fremdrift > 0, t.fremdrift);
  if (t.maksBytes > 0 && t.fremdrift) {
    EXPECT_LE(sistLest, t.maksBytes) << "no more than the limit was taken";
  }
  SjekkUrort();
}

INSTANTIATE_TEST_SUITE_P(
    Tjenere, HentFilFeil,
    ::testing::Values(Feiltilfelle{"NullstiltMidtIKroppen", "/nullstilt", 0, TOverforing::Feil,
                                   "forbindelsen ble brutt", true},
                      // Without a length, a reset must not pass for the end of the file.
                      Feiltilfelle{"NullstiltUtenLengde", "/nullstilt-uten-lengde", 0, TOverforing::Feil,
                                   "forbindelsen ble brutt", true},
                      Feiltilfelle{"TullIStatuslinja", "/tull-status", 0, TOverforing::Feil, "ikke forstår", false},
                      Feiltilfelle{"TullIStatuskoden", "/tull-statuskode", 0, TOverforing::Feil, "ikke forstår", false},
                      Feiltilfelle{"TullIHodet", "/tull-hode", 0, TOverforing::Feil, "ikke forstår", false},
                      Feiltilfelle{"Status500", "/feil-500", 0, TOverforing::Feil, "feilkode 500", false},
                      Feiltilfelle{"Status404", "/finnes-ikke", 0, TOverforing::Feil, "feilkode 404", false},
                      // The size limit: an announced length above it fails before the body,
                      // a body without a length fails when it passes the limit.
                      Feiltilfelle{"MeldtLengdeOverGrensen", "/uten-dato", 4096, TOverforing::Feil,
                                   "er større enn 4 KiB og hentes ikke", false},
                      Feiltilfelle{"KroppOverGrensen", "/uten-lengde", Hel - 1, TOverforing::Feil,
                                   "er større enn 10239 byte og hentes ikke", true},
                      Feiltilfelle{"AkkuratGrensen", "/uten-lengde", Hel, TOverforing::Ferdig, "", true},
                      Feiltilfelle{"UendeligKroppOverGrensen", "/uendelig", MiB, TOverforing::Feil,
                                   "er større enn 1 MiB og hentes ikke", true}),
    [](const ::testing::TestParamInfo<Feiltilfelle>& info) { return std::string(info.param.navn); });

TEST_F(NedlastingsfeilTest, StandardgrensenEr2GiB) { EXPECT_EQ(TNedlastValg{}.maksBytes, std::int64_t{2} << 30); }

// A transfer the user cancels through the cancel hook once `nok` holds.
struct Avbrytelse {
  std::atomic<std::int64_t> lest{0};
  std::optional<Klokke::time_point> avbrutt;
  std::function<bool(std::int64_t)> nok;
  TOverforingsHendelser Hendelser() {
    TOverforingsHendelser h;
    h.fremdrift = [this](std::int64_t n, std::int64_t) {
      lest = n;
      return true;
    };
    h.fortsett = [this] {
      if (!avbrutt && nok(lest)) avbrutt = Klokke::now();
      return !avbrutt;
    };
    return h;
  }
};

TEST_F(NedlastingsfeilTest, AvbruttUendeligKroppStopperMedEnGang) {
  Avbrytelse a;
  a.nok = [](std::int64_t lest) { return lest >= 2 * MiB; };
  TNedlastValg valg;
  valg.stilleSekunder = 2;
  std::vector<std::string> feil;
  TOverforingsHendelser h = a.Hendelser();
  h.feil = [&](const std::string& m) { feil.push_back(m); };
  EXPECT_EQ(HentFil(Adresse("/uendelig"), Maal(), valg, h), TOverforing::Avbrutt);
  ASSERT_TRUE(a.avbrutt.has_value()) << "the body never reached 2 MiB";
  EXPECT_LT(Sekunder(*a.avbrutt), Frist);
  EXPECT_TRUE(feil.empty());
  SjekkUrort();
}

TEST_F(NedlastingsfeilTest, SildrendeTjenerErIkkeStilleOgKanAvbrytes) {
  // A byte a second, with 2 seconds of silence as the limit: after 4 bytes
  // the transfer has run twice the limit and is still going.
  Avbrytelse a;
  a.nok = [](std::int64_t lest) { return lest >= 4; };
  TNedlastValg valg;
  valg.stilleSekunder = 2;
  std::vector<std::string> feil;
  TOverforingsHendelser h = a.Hendelser();
  h.feil = [&](const std::string& m) { feil.push_back(m); };
  EXPECT_EQ(HentFil(Adresse("/sildrer"), Maal(), valg, h), TOverforing::Avbrutt);
  ASSERT_TRUE(a.avbrutt.has_value());
  EXPECT_LT(Sekunder(*a.avbrutt), Frist);
  EXPECT_TRUE(feil.empty()) << feil[0];
  SjekkUrort();
}

// ---- The download window ----

// Runs the window's DownloadFile and presses "Avbryt" once `naar` holds for
// the status text. Records the status texts seen while it ran.
struct Vindu {
  explicit Vindu(long stille = 2, std::int64_t maks = 0) {
    w.valg.stilleSekunder = stille;
    if (maks > 0) w.valg.maksBytes = maks;
    w.Melding = [this](const QString& t) { meldinger << t; };
  }
  bool Hent(const std::string& url, const fs::path& maal, std::function<bool(const QString&)> naar) {
    const auto start = Klokke::now();
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, &t, [&] {
      if (!w.isVisible()) return;
      const QString status = w.Status->text();
      if (statuser.isEmpty() || statuser.back() != status) statuser << status;
      if (!trykket && naar(status)) {
        trykket = Klokke::now();
        QTest::mouseClick(w.BtBryt, Qt::LeftButton);
      } else if (!trykket && Sekunder(start) > Frist) {
        // A window that never gets there is closed all the same, so that
        // the test fails instead of waiting for ever.
        QTest::mouseClick(w.BtBryt, Qt::LeftButton);
      }
    });
    t.start(20);
    return w.DownloadFile(url, maal, 0, &avbrutt);
  }
  TFormNedlast w;
  QStringList meldinger;
  QStringList statuser;
  std::optional<Klokke::time_point> trykket;
  bool avbrutt = false;
};

// The number of bytes in "Laster N av M", or -1.
std::int64_t LasterAntall(const QString& status) {
  if (!status.startsWith("Laster ")) return -1;
  return status.section(' ', 1, 1).toLongLong();
}

// Waits, serving the window thread, until the file beside the target is gone:
// the worker has ended. False when it is still there after the time limit.
bool VentTilArbeiderenErFerdig(const fs::path& maal) {
  QElapsedTimer klokke;
  klokke.start();
  while (fs::exists(Nedlastingsfil(maal))) {
    if (klokke.elapsed() > Frist * 1000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

TEST_F(NedlastingsfeilTest, VindusfeilVisesOgVinduetVenterPaaAvbryt) {
  struct Tilfelle {
    const char* navn;
    const char* sti;
    std::int64_t maks;
  };
  const Tilfelle tilfeller[] = {
      {"nullstilt", "/nullstilt", 0},
      {"nullstilt uten lengde", "/nullstilt-uten-lengde", 0},
      {"tull i statuslinja", "/tull-status", 0},
      {"tull i hodet", "/tull-hode", 0},
      {"uendelig over grensen", "/uendelig", MiB},
      {"stille", "/stille", 0},
      // A 200 answer without a body is no file.
      {"tomt svar", "/tom", 0},
      {"tomt svar uten lengde", "/tom-uten-lengde", 0},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Vindu v(2, t.maks);
    const bool ok = v.Hent(Adresse(t.sti), Maal(), [](const QString& s) { return s == "Kunne ikke fullføre"; });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(v.trykket.has_value()) << v.statuser.join(" | ").toStdString();
    EXPECT_TRUE(v.avbrutt);
    EXPECT_TRUE(v.meldinger.isEmpty()) << v.meldinger.join("|").toStdString();
    // Under "Kunne ikke fullføre" the window says why, and what to do.
    EXPECT_TRUE(v.w.Grunn->isVisibleTo(&v.w));
    EXPECT_TRUE(SierHvaSomKanGjores(v.w.Grunn->text().toStdString())) << v.w.Grunn->text().toStdString();
    EXPECT_TRUE(VentTilArbeiderenErFerdig(Maal()));
    SjekkUrort();
  }
}

TEST_F(NedlastingsfeilTest, VinduetAvbryterUendeligOgSildrendeKropp) {
  struct Tilfelle {
    const char* navn;
    const char* sti;
    std::int64_t nok;  // bytes shown before "Avbryt" is pressed
  };
  const Tilfelle tilfeller[] = {
      {"uendelig kropp", "/uendelig", 2 * MiB},
      // With 2 seconds of silence as the limit, 4 bytes at a byte a second
      // show that the trickle is not taken for silence.
      {"sildrende kropp", "/sildrer", 4},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Vindu v(2);
    // Pressed after the window has shown the count at least three times
    // (the timer that presses runs on the window thread, so it must keep
    // running while the body streams) and the count has reached `nok`.
    int vist = 0;
    const bool ok = v.Hent(Adresse(t.sti), Maal(), [&](const QString& s) {
      vist += LasterAntall(s) > 0;
      return vist >= 3 && LasterAntall(s) >= t.nok;
    });
    EXPECT_FALSE(ok);
    ASSERT_TRUE(v.trykket.has_value()) << v.statuser.join(" | ").toStdString();
    EXPECT_LT(Sekunder(*v.trykket), Frist) << "the window closed at once";
    EXPECT_TRUE(v.avbrutt);
    EXPECT_FALSE(v.statuser.contains("Kunne ikke fullføre")) << v.statuser.join(" | ").toStdString();
    // The window showed the count growing while the body came.
    int oppdateringer = 0;
    for (const QString& s : v.statuser) oppdateringer += LasterAntall(s) > 0;
    EXPECT_GE(oppdateringer, 2) << v.statuser.join(" | ").toStdString();
    // The worker stops too: the file beside the target goes.
    const auto start = Klokke::now();
    EXPECT_TRUE(VentTilArbeiderenErFerdig(Maal()));
    EXPECT_LT(Sekunder(start), Frist);
    SjekkUrort();
  }
}

// ---- hornstad-cli hent ----

// `hornstad-cli --data MAPPE hent --adresse URL` as a child process, with
// stdout and stderr into files.
class Henting {
 public:
  Henting(const fs::path& data, const std::string& url, const fs::path& logg) : logg_(logg) {
    std::vector<std::string> argv = {HS_CLI, "--data", data.string(), "hent", "--adresse", url};
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t f;
    posix_spawn_file_actions_init(&f);
    posix_spawn_file_actions_addopen(&f, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&f, STDOUT_FILENO, (logg.string() + ".ut").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&f, STDERR_FILENO, (logg.string() + ".feil").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (posix_spawn(&pid_, args[0], &f, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&f);
  }
  ~Henting() {
    if (pid_ > 0 && kode_ == -2) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool Startet() const { return pid_ > 0; }
  bool Lever() {
    if (kode_ != -2) return false;
    int s = 0;
    if (::waitpid(pid_, &s, WNOHANG) != pid_) return true;
    kode_ = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return false;
  }
  void Avbryt() const { ::kill(pid_, SIGINT); }
  // Waits at most `sekunder`; the exit code, or -2 when it still runs.
  int Vent(double sekunder) {
    const auto start = Klokke::now();
    while (Lever() && Sekunder(start) < sekunder) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return kode_;
  }
  std::string Feil() const { return LesHeleFila(logg_.string() + ".feil"); }
  std::string Ut() const { return LesHeleFila(logg_.string() + ".ut"); }

 private:
  fs::path logg_;
  pid_t pid_ = -1;
  int kode_ = -2;
};

class KommandolinjeTest : public NedlastingsfeilTest {
 protected:
  void SetUp() override {
    NedlastingsfeilTest::SetUp();
    fs::create_directories(mappe_ / "data");
    SkrivVerFil(mappe_ / "data/Verene.Dat", KonverterEksport(LagEksport(50, 4)));
    register_ = LesHeleFila(mappe_ / "data/Verene.Dat");
  }
  // The register and the data folder are as before: no archive, whole or half.
  void SjekkDatamappe() const {
    EXPECT_EQ(LesHeleFila(mappe_ / "data/Verene.Dat"), register_);
    EXPECT_FALSE(fs::exists(mappe_ / "data/Nyverer.Zip"));
    EXPECT_FALSE(fs::exists(Nedlastingsfil(mappe_ / "data/Nyverer.Zip")));
    EXPECT_FALSE(fs::exists(mappe_ / "data/Verene.Dat.ny"));
  }
  std::string register_;
};

TEST_F(KommandolinjeTest, FeilGirEnNorskLinjeOgUendretRegister) {
  struct Tilfelle {
    const char* sti;
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {
      {"/nullstilt", "forbindelsen ble brutt"},
      {"/nullstilt-uten-lengde", "forbindelsen ble brutt"},
      {"/tull-status", "ikke forstår"},
      {"/tull-statuskode", "ikke forstår"},
      {"/tull-hode", "ikke forstår"},
      {"/feil-500", "feilkode 500"},
      {"/tom", "tom fil"},
      {"/tom-uten-lengde", "tom fil"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.sti);
    Henting h(mappe_ / "data", Adresse(t.sti), mappe_ / "logg");
    ASSERT_TRUE(h.Startet());
    EXPECT_EQ(h.Vent(30), 1);
    const std::string feil = h.Feil();
    EXPECT_EQ(feil.rfind("Kunne ikke hente " + Adresse(t.sti) + ": ", 0), 0u) << feil;
    EXPECT_NE(feil.find(t.tekst), std::string::npos) << feil;
    EXPECT_TRUE(SierHvaSomKanGjores(feil)) << feil;
    EXPECT_NE(feil.find("Værregisteret er uendret.\n"), std::string::npos) << feil;
    EXPECT_EQ(std::count(feil.begin(), feil.end(), '\n'), 1) << feil;
    EXPECT_EQ(h.Ut(), "");
    SjekkDatamappe();
  }
}

TEST_F(KommandolinjeTest, CtrlCStopperStilleSildrendeOgUendeligTjener) {
  struct Tilfelle {
    const char* sti;
    std::int64_t nok;  // bytes in the file beside the archive before Ctrl+C; 0: after a second
  };
  const Tilfelle tilfeller[] = {{"/stille", 0}, {"/sildrer", 2}, {"/uendelig", 2 * MiB}};
  const fs::path delfil = Nedlastingsfil(mappe_ / "data/Nyverer.Zip");
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.sti);
    Henting h(mappe_ / "data", Adresse(t.sti), mappe_ / "logg");
    ASSERT_TRUE(h.Startet());
    const auto start = Klokke::now();
    while (h.Lever() && Sekunder(start) < 30) {
      if (t.nok == 0 ? Sekunder(start) >= 1 : Storrelse(delfil) >= t.nok) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(h.Lever()) << "ended before Ctrl+C: " << h.Feil();
    h.Avbryt();
    EXPECT_EQ(h.Vent(Frist), 1) << "Ctrl+C ends the tool at once";
    EXPECT_EQ(h.Feil(), "Nedlastingen ble avbrutt. Værregisteret er uendret.\n");
    SjekkDatamappe();
  }
}

}  // namespace
