// The import killed at any moment. `hornstad-cli importer` is stopped with
// SIGKILL at delays spread over a whole conversion; afterwards Verene.Dat must
// be, byte for byte, either the old register or the new one. A file left
// beside it by a killed run must neither disturb the next import nor be read
// as the register.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "eksempeldata.h"
#include "filer.h"
#include "register.h"
#include "testmappe.h"

extern char** environ;

namespace fs = std::filesystem;
using Klokke = std::chrono::steady_clock;

namespace {

constexpr int AntallVaerer = 50000;
constexpr int AntallDrap = 120;

// The import as a child process: `hornstad-cli --data MAPPE importer FIL`,
// with stdout and stderr into files of the test folder.
class Innlesing {
 public:
  Innlesing(const fs::path& data, const fs::path& eksport, const fs::path& logg) {
    std::vector<std::string> argv = {HS_CLI, "--data", data.string(), "importer", eksport.string()};
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t handlinger;
    posix_spawn_file_actions_init(&handlinger);
    posix_spawn_file_actions_addopen(&handlinger, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&handlinger, STDOUT_FILENO, (logg.string() + ".ut").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&handlinger, STDERR_FILENO, (logg.string() + ".feil").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    start_ = Klokke::now();
    if (posix_spawn(&pid_, args[0], &handlinger, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&handlinger);
  }
  ~Innlesing() {
    if (pid_ > 0 && !ferdig_) {
      ::kill(pid_, SIGKILL);
      Vent();
    }
  }
  Innlesing(const Innlesing&) = delete;
  Innlesing& operator=(const Innlesing&) = delete;

  bool Startet() const { return pid_ > 0; }
  Klokke::time_point Start() const { return start_; }
  bool Lever() {
    if (ferdig_) return false;
    int s = 0;
    if (::waitpid(pid_, &s, WNOHANG) == pid_) {
      ferdig_ = true;
      status_ = s;
    }
    return !ferdig_;
  }
  // Kills the process when it still runs. True when the kill stopped it,
  // false when it had already ended by itself.
  bool Drep() {
    if (!Lever()) return false;
    ::kill(pid_, SIGKILL);
    Vent();
    return WIFSIGNALED(status_) && WTERMSIG(status_) == SIGKILL;
  }
  // Waits for the end; the exit code, or -1 for a signal.
  int Vent() {
    if (!ferdig_) {
      while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
      }
      ferdig_ = true;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

 private:
  pid_t pid_ = -1;
  Klokke::time_point start_;
  bool ferdig_ = false;
  int status_ = 0;
};

// Writes bytes in place, with no file beside: whatever a killed run left there stays.
void SkrivDirekte(const fs::path& fil, const std::string& innhold) {
  std::ofstream ut(fil, std::ios::binary | std::ios::trunc);
  ut << innhold;
}

std::string LesEllerTom(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return LesHeleFila(fil);
}

// Identity of a file, to tell a file a run made from one that was there before.
struct Kjennetegn {
  bool finnes = false;
  ino_t inode = 0;
  timespec endret{};
  off_t storrelse = 0;
  bool operator==(const Kjennetegn& k) const {
    return finnes == k.finnes && inode == k.inode && endret.tv_sec == k.endret.tv_sec &&
           endret.tv_nsec == k.endret.tv_nsec && storrelse == k.storrelse;
  }
};
Kjennetegn Kjenn(const fs::path& fil) {
  struct stat st {};
  if (::stat(fil.c_str(), &st) != 0) return {};
  return {true, st.st_ino, st.st_mtim, st.st_size};
}

std::string Bytes(const std::vector<TVerPost>& poster) {
  return std::string(reinterpret_cast<const char*>(poster.data()), poster.size() * sizeof(TVerPost));
}

class KraesjTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(mappe_ / "data");
    fs::create_directories(mappe_ / "kopi");
    const std::string eksport = LagEksport(AntallVaerer, 11);
    mappe_.Skriv("Vedder2.Tex", eksport);
    // The old register: other rams, another size.
    gammel_ = Bytes(KonverterEksport(LagEksport(3000, 5)));
    SkrivDirekte(Verfil(), gammel_);
    ASSERT_EQ(LesHeleFila(Verfil()), gammel_);
  }

  fs::path Data() const { return mappe_ / "data"; }
  fs::path Verfil() const { return Data() / "Verene.Dat"; }
  fs::path Delfil() const { return Data() / "Verene.Dat.ny"; }
  fs::path Eksport() const { return mappe_ / "Vedder2.Tex"; }
  fs::path Logg() const { return mappe_ / "logg"; }

  // One import run to its end in a copy of the data folder: the new
  // register, and how long the run took.
  double HelInnlesing(std::string& ny) {
    SkrivDirekte(mappe_ / "kopi/Verene.Dat", gammel_);
    Innlesing kjoring(mappe_ / "kopi", Eksport(), Logg());
    EXPECT_TRUE(kjoring.Startet());
    EXPECT_EQ(kjoring.Vent(), 0) << LesEllerTom(Logg().string() + ".feil");
    const double tid = std::chrono::duration<double>(Klokke::now() - kjoring.Start()).count();
    ny = LesHeleFila(mappe_ / "kopi/Verene.Dat");
    return tid;
  }

  TestMappe mappe_;
  std::string gammel_;
};

TEST_F(KraesjTest, DrattMidtIInnlesingenErRegisteretGammeltEllerNyttOgHelt) {
  // The new register, from a run to completion; the faster of two runs (the
  // first may find the files cold) measures the conversion.
  std::string ny;
  const double tid = std::min(HelInnlesing(ny), HelInnlesing(ny));
  ASSERT_EQ(ny, Bytes(KonverterEksport(LesHeleFila(Eksport())))) << "the tool converts as the library does";
  ASSERT_NE(ny.size(), gammel_.size());

  // Delays from a fixed seed, one in each of AntallDrap equal steps from 0 to
  // a quarter beyond the measured time, so that they cover the start of the
  // program, the reading, the conversion and writing, the rename and the end.
  std::mt19937 tilfeldig(20240611);
  const double spenn = 1.25 * tid;
  int gamle = 0, nye = 0, halvskrevne = 0, ferdige = 0;
  const auto start = Klokke::now();
  for (int i = 0; i < AntallDrap; ++i) {
    const double andel = (i + static_cast<double>(tilfeldig()) / 4294967296.0) / AntallDrap;
    const auto forsinkelse = std::chrono::duration<double>(andel * spenn);
    SCOPED_TRACE("drap " + std::to_string(i) + " etter " + std::to_string(forsinkelse.count()) + " s");
    // The file a killed run left beside the register stays for the next run.
    SkrivDirekte(Verfil(), gammel_);
    const Kjennetegn rester = Kjenn(Delfil());
    Innlesing kjoring(Data(), Eksport(), Logg());
    ASSERT_TRUE(kjoring.Startet());
    std::this_thread::sleep_until(kjoring.Start() + std::chrono::duration_cast<Klokke::duration>(forsinkelse));
    if (!kjoring.Drep()) {
      ++ferdige;
      EXPECT_EQ(kjoring.Vent(), 0) << LesEllerTom(Logg().string() + ".feil");
    }
    const std::string etter = LesEllerTom(Verfil());
    if (etter == gammel_) {
      ++gamle;
      const Kjennetegn delfil = Kjenn(Delfil());
      if (delfil.finnes && delfil.storrelse > 0 && !(delfil == rester)) ++halvskrevne;
    } else if (etter == ny) {
      ++nye;
    } else {
      ADD_FAILURE() << "Verene.Dat er verken det gamle eller det nye registeret (" << etter.size() << " byte)";
    }
  }
  const double brukt = std::chrono::duration<double>(Klokke::now() - start).count();
  std::printf(
      "[ kraesj  ] %d værer, innlesing %.3f s; %d drap fra 0 til %.3f s på %.1f s: "
      "%d gamle (%d med halvskrevet Verene.Dat.ny), %d nye (%d ferdige før drapet)\n",
      AntallVaerer, tid, AntallDrap, spenn, brukt, gamle, halvskrevne, nye, ferdige);
  RecordProperty("gamle", gamle);
  RecordProperty("nye", nye);
  EXPECT_EQ(gamle + nye, AntallDrap);
  EXPECT_GT(gamle, 0) << "a kill at once leaves the old register";
}

TEST_F(KraesjTest, DrattMensDenNyeFilaSkrivesErRegisteretGammelt) {
  // Killed once the file beside the register has reached a given size: the
  // kill lands inside the writing, whatever the speed of the machine.
  std::string ny;
  HelInnlesing(ny);
  const std::size_t mb = 1 << 20;
  ASSERT_GT(ny.size(), 3 * mb);
  // The file grows a block at a time; every limit leaves at least one more
  // block to write after it is reached.
  int midtI = 0, forsok = 0;
  for (std::size_t grense = 1; grense + 2 * mb <= ny.size(); grense += mb) {
    SCOPED_TRACE("drept ved " + std::to_string(grense) + " byte");
    ++forsok;
    SkrivDirekte(Verfil(), gammel_);
    std::error_code ec;
    fs::remove(Delfil(), ec);
    Innlesing kjoring(Data(), Eksport(), Logg());
    ASSERT_TRUE(kjoring.Startet());
    const auto frist = Klokke::now() + std::chrono::seconds(60);
    while (kjoring.Lever() && Klokke::now() < frist) {
      struct stat st {};
      if (::stat(Delfil().c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) >= grense) break;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    const bool drept = kjoring.Drep();
    if (!drept) {
      EXPECT_EQ(kjoring.Vent(), 0);
    }
    const std::string etter = LesHeleFila(Verfil());
    const Kjennetegn delfil = Kjenn(Delfil());
    if (drept && delfil.finnes && static_cast<std::size_t>(delfil.storrelse) < ny.size()) {
      ++midtI;
      EXPECT_EQ(etter, gammel_) << "killed while the new file was being written";
    } else {
      // The run was past its writing when the kill came (a slow poll).
      EXPECT_TRUE(etter == gammel_ || etter == ny);
    }
  }
  std::printf("[ kraesj  ] %d av %d drap midt i skrivingen av Verene.Dat.ny\n", midtI, forsok);
  EXPECT_GT(midtI, 0);
}

TEST_F(KraesjTest, EnHalvskrevetFilFraEtDrapForstyrrerIkke) {
  std::string ny;
  HelInnlesing(ny);
  struct Tilfelle {
    const char* navn;
    std::string rester;  // what a killed run left beside the register
  };
  const Tilfelle tilfeller[] = {
      {"første del av det nye registeret", ny.substr(0, ny.size() / 3)},
      {"ikke et helt antall poster", ny.substr(0, 196 * 7 + 50)},
      {"større enn det nye registeret", ny + ny.substr(0, 4096)},
      {"tom", ""},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    SkrivDirekte(Verfil(), gammel_);
    SkrivDirekte(Delfil(), t.rester);

    // The program reads Verene.Dat and nothing beside it.
    {
      TProdusent reg(Data());
      reg.LoadRegister();
      EXPECT_EQ(static_cast<std::size_t>(reg.RecordCount()), gammel_.size() / sizeof(TVerPost));
      ASSERT_GT(reg.RecordCount(), 0);
      const TVerPost forste = reg.ReadAt(0);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(&forste), sizeof forste), gammel_.substr(0, sizeof forste));
    }

    // The next import replaces the left-over file and completes.
    Innlesing kjoring(Data(), Eksport(), Logg());
    ASSERT_TRUE(kjoring.Startet());
    EXPECT_EQ(kjoring.Vent(), 0) << LesEllerTom(Logg().string() + ".feil");
    EXPECT_EQ(LesEllerTom(Logg().string() + ".ut"), std::to_string(ny.size() / sizeof(TVerPost)) + " værer\n");
    EXPECT_TRUE(LesHeleFila(Verfil()) == ny);
    EXPECT_FALSE(fs::exists(Delfil()));
  }
}

}  // namespace
