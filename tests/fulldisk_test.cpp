// Writing on a disk that is full. The register conversion, the insemination
// data file and the table export (each through the library and, where the
// tool has the job, through hornstad-cli) must fail with a Norwegian message
// that names the cause, leave the old file as it was and leave nothing
// half-written behind.
//
// The full disk is a small tmpfs of the test's own, filled up. Where mounting
// is not permitted (no CAP_SYS_ADMIN) the write fails on purpose instead: the
// operation runs in a child process whose largest file size (RLIMIT_FSIZE) is
// 1 KiB, with SIGXFSZ ignored, so its writes fail with EFBIG. The second
// parameter runs that way always, so both ways are tested where both work.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "eksempeldata.h"
#include "eksport.h"
#include "filer.h"
#include "ramimport.h"
#include "register.h"
#include "seminfil.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

enum class Maate { Tmpfs, Filgrense };

constexpr rlim_t Filgrense = 1024;

// What an operation gave: exit code (0 for success) and its message.
struct Utfall {
  int kode = -1;
  std::string melding;
};

// Reads everything from `fd` until it is closed.
std::string LesAlt(int fd) {
  std::string tekst;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    tekst.append(buf, static_cast<std::size_t>(n));
  }
  return tekst;
}

int VentPaa(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// A folder whose disk is full, or whose writes fail because of the file size limit.
class FullDisk {
 public:
  explicit FullDisk(Maate maate) : sti_(rot_ / "disk") {
    fs::create_directories(sti_);
    if (maate == Maate::Tmpfs) {
      if (::mount("hornstad-test", sti_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0700") == 0) {
        montert_ = true;
      } else {
        grunn_ = std::string("mount: ") + std::strerror(errno);
      }
    }
  }
  ~FullDisk() {
    // Unmounted even when the test failed, before the folder is removed.
    if (montert_) ::umount2(sti_.c_str(), MNT_DETACH);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  const fs::path& Sti() const { return sti_; }
  bool Montert() const { return montert_; }
  // The error the writes meet.
  int Feilkode() const { return montert_ ? ENOSPC : EFBIG; }
  std::string Beskrivelse() const {
    return montert_ ? "tmpfs på 1 MiB, fylt opp (ENOSPC)"
                    : "RLIMIT_FSIZE " + std::to_string(Filgrense) + " byte, SIGXFSZ ignorert (EFBIG)" +
                          (grunn_.empty() ? "" : "; " + grunn_);
  }

  // Empties the disk.
  void Tom() const {
    for (const auto& f : fs::directory_iterator(sti_)) fs::remove_all(f.path());
  }
  // Fills the tmpfs to its last byte (nothing to do with the file size limit).
  void Fyll() const {
    if (!montert_) return;
    const int fd = ::open((sti_ / "fyll").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::string blokk(1 << 16, 'x');
    for (std::size_t n = blokk.size(); n > 0;) {
      if (::write(fd, blokk.data(), n) < 0) {
        ASSERT_EQ(errno, ENOSPC);
        n /= 2;  // the last pieces, down to a single byte
      }
    }
    ::close(fd);
  }
  void Frigjor() const {
    std::error_code ec;
    fs::remove(sti_ / "fyll", ec);
  }

  // Runs `jobb` in a child process under the full disk: 0 when it returned,
  // 1 with the message of the IoFeil it threw. With `begrens` false it runs
  // without the file size limit.
  Utfall Kjor(const std::function<void()>& jobb, bool begrens = true) const {
    int ror[2];
    if (::pipe2(ror, O_CLOEXEC) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(ror[0]);
      if (begrens) Begrens();
      int kode = 0;
      std::string melding;
      try {
        jobb();
      } catch (const IoFeil& e) {
        kode = 1;
        melding = e.what();
      } catch (const std::exception& e) {
        kode = 2;
        melding = std::string("annet unntak: ") + e.what();
      }
      if (!melding.empty() && ::write(ror[1], melding.data(), melding.size()) < 0) kode = 3;
      ::_exit(kode);
    }
    ::close(ror[1]);
    Utfall u;
    u.melding = LesAlt(ror[0]);
    ::close(ror[0]);
    u.kode = VentPaa(pid);
    return u;
  }

  // Runs a program under the full disk: its exit code and what it wrote on stderr.
  Utfall KjorProgram(std::vector<std::string> argv, bool begrens = true) const {
    int ror[2];
    if (::pipe2(ror, O_CLOEXEC) != 0) return {};
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (begrens) Begrens();
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(ror[1], STDERR_FILENO);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(ror[1]);
    Utfall u;
    u.melding = LesAlt(ror[0]);
    ::close(ror[0]);
    u.kode = VentPaa(pid);
    return u;
  }

 private:
  void Begrens() const {
    if (montert_) return;
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit grense{};
    ::getrlimit(RLIMIT_FSIZE, &grense);
    grense.rlim_cur = Filgrense;
    ::setrlimit(RLIMIT_FSIZE, &grense);
  }

  TestMappe rot_;
  fs::path sti_;
  bool montert_ = false;
  std::string grunn_;
};

// Every regular file under `mappe` with its content.
std::map<std::string, std::string> Filer(const fs::path& mappe) {
  std::map<std::string, std::string> filer;
  for (const auto& f : fs::recursive_directory_iterator(mappe))
    if (f.is_regular_file() && f.path().filename() != "fyll")
      filer[fs::relative(f.path(), mappe).string()] = LesHeleFila(f.path());
  return filer;
}

bool SlutterPaa(const std::string& tekst, const std::string& slutt) {
  return tekst.size() >= slutt.size() && tekst.compare(tekst.size() - slutt.size(), slutt.size(), slutt) == 0;
}

// An insemination grid with `antall` complete rows and an empty last row.
TRutenett Seminrader(int antall) {
  TRutenett g(SeminKolonner, 1);
  g.SettFaste(0, 1);
  g.SettRader(antall + 2);
  for (int r = 1; r <= antall; ++r) {
    const std::vector<std::string> rad = {
        "2003", std::to_string(r), "10/10/2005", "20", "2", "11/10/2005", "08", "12345", "41", "2005", "1", "1", "1",
        ""};
    for (int c = 0; c < SeminKolonner; ++c) g.SettCelle(c, r, rad[static_cast<std::size_t>(c)]);
  }
  return g;
}
bool FoersteCelleFylt(const TRutenett& g, int rad) { return !g.Celle(0, rad).empty(); }

// One write that meets the full disk.
struct Jobb {
  const char* navn;
  fs::path fil;  // the file it replaces, relative to the disk
  std::string gammelt;
  bool program;  // through hornstad-cli: the message is its stderr
  std::function<Utfall(const FullDisk&, bool begrens)> kjor;
};

class FullDiskTest : public ::testing::TestWithParam<Maate> {
 protected:
  static void SetUpTestSuite() {
    ute_ = new TestMappe;
    const std::string eksport = LagEksport(2000, 3);
    ute_->Skriv("Vedder2.Tex", eksport);
    SkrivEksempeldata(2000, 3, ute_->Sti() / "arkiv", false);
    // A register outside the disk for the offspring table, and the ram with most sons.
    const std::vector<TVerPost> poster = KonverterEksport(eksport);
    fs::create_directories(*ute_ / "data");
    SkrivVerFil(*ute_ / "data/Verene.Dat", poster);
    std::map<int32_t, int> soenner;
    for (const TVerPost& p : poster) {
      const int32_t far = p.Farnr;  // the record is packed: no reference into it
      if (far != 0) ++soenner[far];
    }
    for (const auto& [far, antall] : soenner)
      if (antall > soenner[far_]) far_ = far;
    gammeltRegister_ = Bytes(KonverterEksport(LagEksport(100, 9)));
  }
  static void TearDownTestSuite() { delete ute_; }

  static std::string Bytes(const std::vector<TVerPost>& p) {
    return std::string(reinterpret_cast<const char*>(p.data()), p.size() * sizeof(TVerPost));
  }

  std::vector<Jobb> Jobber() const {
    const std::string cli = HS_CLI;
    const fs::path eksport = *ute_ / "Vedder2.Tex";
    const fs::path arkiv = *ute_ / "arkiv/Nyverer.Zip";
    const fs::path data = *ute_ / "data";
    const std::string far = std::to_string(far_);
    return {
        {"KonverterEksportfil", "Verene.Dat", gammeltRegister_, false,
         [=](const FullDisk& d, bool b) {
           return d.Kjor([&] { KonverterEksportfil(eksport, d.Sti() / "Verene.Dat"); }, b);
         }},
        {"hornstad-cli importer Vedder2.Tex", "Verene.Dat", gammeltRegister_, true,
         [=](const FullDisk& d, bool b) {
           return d.KjorProgram({cli, "--data", d.Sti().string(), "importer", eksport.string()}, b);
         }},
        {"hornstad-cli importer Nyverer.Zip", "Verene.Dat", gammeltRegister_, true,
         [=](const FullDisk& d, bool b) {
           return d.KjorProgram({cli, "--data", d.Sti().string(), "importer", arkiv.string()}, b);
         }},
        {"seminfil Lagre", "2005Semin1234567890.Data", "ProdNr=1234567890\r\nAntall=0\r\n", false,
         [=](const FullDisk& d, bool b) {
           const TRutenett g = Seminrader(60);
           return d.Kjor(
               [&] {
                 Lagre(d.Sti() / "2005Semin1234567890.Data", "1234567890", "12345", g,
                       [&](int rad) { return FoersteCelleFylt(g, rad); });
               },
               b);
         }},
        {"SkrivEksport", "tabell.txt", "den forrige tabellen\r\n", false,
         [=](const FullDisk& d, bool b) {
           TEksport e;
           for (int i = 0; i < 200; ++i) e.linjer.push_back("rad;" + std::to_string(i) + ";med;noen;celler");
           return d.Kjor([&] { SkrivEksport(d.Sti() / "tabell.txt", e); }, b);
         }},
        {"hornstad-cli avkom --format semikolon --ut", "avkom.txt", "den forrige avkomslista\r\n", true,
         [=](const FullDisk& d, bool b) {
           return d.KjorProgram({cli, "--data", data.string(), "avkom", far, "--format", "semikolon", "--ut",
                                 (d.Sti() / "avkom.txt").string()},
                                b);
         }},
        {"hornstad-cli avkom --format html --ut", "avkom.htm", "<html>den forrige</html>\r\n", true,
         [=](const FullDisk& d, bool b) {
           return d.KjorProgram({cli, "--data", data.string(), "avkom", far, "--format", "html", "--ut",
                                 (d.Sti() / "avkom.htm").string()},
                                b);
         }},
    };
  }

  static inline TestMappe* ute_ = nullptr;
  static inline int32_t far_ = 0;
  static inline std::string gammeltRegister_;
};

TEST_P(FullDiskTest, MeldingGammelFilUrortOgIngentingHalvskrevet) {
  FullDisk disk(GetParam());
  std::printf("[ full disk ] %s\n", disk.Beskrivelse().c_str());
  RecordProperty("maate", disk.Beskrivelse());
  // The Norwegian text of the cause, as the user reads it.
  const std::string aarsak =
      disk.Feilkode() == ENOSPC ? "Det er ikke mer plass på disken. Frigjør plass og prøv igjen" : SystemFeil(EFBIG);
  ASSERT_NE(SystemFeil(EFBIG), std::strerror(EFBIG)) << "the cause is told in Norwegian";

  for (const Jobb& j : Jobber()) {
    SCOPED_TRACE(j.navn);
    disk.Tom();
    ASSERT_TRUE(Filer(disk.Sti()).empty());
    SkrivTrygt(disk.Sti() / j.fil, j.gammelt);
    disk.Fyll();
    const auto foer = Filer(disk.Sti());

    const Utfall u = j.kjor(disk, true);
    EXPECT_EQ(u.kode, 1) << u.melding;
    EXPECT_NE(u.melding.find(aarsak), std::string::npos) << u.melding;
    if (j.program) {
      // One line on stderr, nothing else.
      EXPECT_TRUE(SlutterPaa(u.melding, "\n")) << u.melding;
      EXPECT_EQ(std::count(u.melding.begin(), u.melding.end(), '\n'), 1) << u.melding;
    }
    EXPECT_EQ(LesHeleFila(disk.Sti() / j.fil), j.gammelt) << "the old file is as it was";
    // Nothing half-written under any name: the same files with the same content.
    EXPECT_EQ(Filer(disk.Sti()), foer);
    for (const auto& f : fs::recursive_directory_iterator(disk.Sti()))
      EXPECT_FALSE(SlutterPaa(f.path().string(), ".ny")) << f.path();

    // With room, the same job succeeds: it failed for the lack of room and
    // nothing else, and what it writes is more than the file size limit.
    disk.Frigjor();
    const Utfall med = j.kjor(disk, false);
    EXPECT_EQ(med.kode, 0) << med.melding;
    const std::string ny = LesHeleFila(disk.Sti() / j.fil);
    EXPECT_NE(ny, j.gammelt);
    EXPECT_GT(ny.size(), Filgrense);
  }
}

INSTANTIATE_TEST_SUITE_P(Maater, FullDiskTest, ::testing::Values(Maate::Tmpfs, Maate::Filgrense),
                         [](const ::testing::TestParamInfo<Maate>& info) {
                           return info.param == Maate::Tmpfs ? std::string("FullTmpfs") : std::string("Filgrense");
                         });

// The file beside the target goes whatever step fails: the first write, a
// later write, or the end.
TEST(TryggFil, FilenVedSidenFjernesNaarSkrivingenFeiler) {
  FullDisk disk(Maate::Filgrense);  // the file size limit works without privileges
  const fs::path maal = disk.Sti() / "maal.txt";
  const std::string gammelt = "det gamle innholdet";
  struct Tilfelle {
    const char* navn;
    std::function<void(TTryggFil&)> skriv;
  };
  const Tilfelle tilfeller[] = {
      {"første skriving over grensen", [](TTryggFil& f) { f.Skriv(std::string(Filgrense + 10, 'a')); }},
      {"skriving etter grensen er nådd",
       [](TTryggFil& f) {
         f.Skriv(std::string(Filgrense, 'a'));
         f.Skriv("b");
       }},
      {"fullføring etter en skriving som feilet",
       [](TTryggFil& f) {
         try {
           f.Skriv(std::string(Filgrense + 1, 'a'));
         } catch (const IoFeil&) {
         }
         f.Fullfor();
       }},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    SkrivTrygt(maal, gammelt);
    const Utfall u = disk.Kjor([&] {
      TTryggFil fil(maal);
      t.skriv(fil);
      fil.Fullfor();
    });
    EXPECT_EQ(u.kode, 1) << u.melding;
    EXPECT_NE(u.melding.find(SystemFeil(EFBIG)), std::string::npos) << u.melding;
    EXPECT_EQ(LesHeleFila(maal), gammelt);
    EXPECT_FALSE(fs::exists(disk.Sti() / "maal.txt.ny"));
  }
}

// Two writers of the same file at once (two imports into one data folder):
// the second one's file beside the target replaces the first one's. The
// first must then fail rather than rename the second one's half-written file
// over the target, and must not remove it; the second completes whole.
TEST(TryggFil, ToSkrivereAvSammeFil) {
  TestMappe m;
  const fs::path maal = m / "Verene.Dat";
  SkrivTrygt(maal, "det gamle registeret");
  TTryggFil forste(maal);
  forste.Skriv("det første ");
  TTryggFil andre(maal);
  andre.Skriv("det andre ");
  forste.Skriv("registeret, helt");
  try {
    forste.Fullfor();
    ADD_FAILURE() << "the first writer renamed a file it did not write";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("Prøv igjen"), std::string::npos) << e.what();
  }
  EXPECT_EQ(LesHeleFila(maal), "det gamle registeret");
  EXPECT_THROW(forste.Skriv("mer"), IoFeil) << "a writer that failed stays failed";
  andre.Skriv("registeret, helt");
  andre.Fullfor();
  EXPECT_EQ(LesHeleFila(maal), "det andre registeret, helt");
  EXPECT_FALSE(fs::exists(m / "Verene.Dat.ny"));
}

// Klargjor makes the file beside whole and leaves only the rename to
// Fullfor, so that two files can replace their old ones together: until
// then the target is as it was, and a file made whole but never renamed goes
// with the object.
TEST(TryggFil, KlargjorLarBareUtbyttingenIgjen) {
  TestMappe m;
  const fs::path maal = m / "maal.txt";
  SkrivTrygt(maal, "gammelt");
  {
    TTryggFil fil(maal);
    fil.Skriv("nytt");
    fil.Klargjor();
    fil.Klargjor();
    EXPECT_EQ(LesHeleFila(maal), "gammelt");
    EXPECT_EQ(LesHeleFila(m / "maal.txt.ny"), "nytt");
    EXPECT_THROW(fil.Skriv("mer"), IoFeil);
  }
  EXPECT_EQ(LesHeleFila(maal), "gammelt");
  EXPECT_FALSE(fs::exists(m / "maal.txt.ny"));

  TTryggFil fil(maal);
  fil.Skriv("nytt");
  fil.Klargjor();
  fil.Fullfor();
  EXPECT_EQ(LesHeleFila(maal), "nytt");
  EXPECT_FALSE(fs::exists(m / "maal.txt.ny"));

  // Another writer's file beside the target after Klargjor is not renamed.
  TTryggFil forste(maal);
  forste.Skriv("det første");
  forste.Klargjor();
  TTryggFil andre(maal);
  andre.Skriv("det andre, halvt");
  EXPECT_THROW(forste.Fullfor(), IoFeil);
  EXPECT_EQ(LesHeleFila(maal), "nytt");
  andre.Fullfor();
  EXPECT_EQ(LesHeleFila(maal), "det andre, halvt");
}

}  // namespace
