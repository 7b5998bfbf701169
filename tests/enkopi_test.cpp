// One copy of the program per data folder: the lock and the call between
// copies in one process, and the program itself started several times on one
// folder, the first of them killed.
#include "enkopi.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <cstring>
#include <functional>
#include <memory>

#include "testmappe.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

QString Sokkelsti(const fs::path& mappe) {
  const QString navn = Kopinavn(mappe);
  return navn.startsWith('/') ? navn : QDir::tempPath() + "/" + navn;
}

// The socket file a crashed copy leaves: bound, and nobody listening.
void EtterlattSokkel(const fs::path& mappe) {
  const QByteArray sti = QFile::encodeName(Sokkelsti(mappe));
  sockaddr_un adresse{};
  adresse.sun_family = AF_UNIX;
  ASSERT_LT(static_cast<std::size_t>(sti.size()), sizeof adresse.sun_path);
  std::memcpy(adresse.sun_path, sti.constData(), sti.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse), 0) << std::strerror(errno);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(Sokkelsti(mappe)));
}

// The process id in the folder's lock file; 0 when there is none.
qint64 Laaseier(const fs::path& mappe) {
  QFile f(QString::fromStdString((mappe / LaasfilNavn).string()));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  return f.readLine().trimmed().toLongLong();
}

// The id of a process that has ended.
qint64 BortePid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

bool VentPaa(const std::function<bool()>& ferdig, std::chrono::milliseconds tid = 30s) {
  const QDeadlineTimer frist(tid);
  while (!ferdig()) {
    if (frist.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

}  // namespace

TEST(EnKopi, KopinavnetGjelderMappenUansettVeienDitOgHarPlassISokkelstien) {
  TestMappe t;
  fs::create_directory(t / "data");
  fs::create_directory(t / "annen");
  fs::create_directory_symlink(t / "data", t / "lenke");
  const QString navn = Kopinavn(t / "data");
  const IMappe her(t.Sti());
  const struct {
    const char* hva;
    fs::path mappe;
  } sammeMappe[] = {
      {"a symbolic link to it", t / "lenke"},
      {"a way round through another folder", t / "annen" / ".." / "data"},
      {"a trailing separator", t.Sti() / "data" / ""},
      {"relative to the working folder", "data"},
  };
  for (const auto& c : sammeMappe) EXPECT_EQ(Kopinavn(c.mappe), navn) << c.hva;
  EXPECT_NE(Kopinavn(t / "annen"), navn) << "another folder";
  EXPECT_LT(QFile::encodeName(Sokkelsti(t / "data")).size(), 100) << "a socket's path has room for 107 bytes";
}

TEST(EnKopi, AndreKopiKallerDenForsteFramOgEnderDenForsteEierMappenTilDenEnder) {
  TestMappe t;
  auto forste = std::make_unique<TEnKopi>(t.Sti());
  int kall = 0;
  QObject::connect(forste.get(), &TEnKopi::kalt, [&] { ++kall; });
  ASSERT_EQ(forste->Start(), TEnKopi::TStart::Eier);
  EXPECT_TRUE(forste->Lytter());
  EXPECT_EQ(Laaseier(t.Sti()), QCoreApplication::applicationPid());

  for (int gang = 1; gang <= 2; ++gang) {
    TEnKopi andre(t.Sti());
    EXPECT_EQ(andre.Start(), TEnKopi::TStart::Vekket) << "call " << gang;
    EXPECT_EQ(kall, gang);
    EXPECT_FALSE(andre.Lytter());
  }
  QLockFile holdt(QString::fromStdString((t / LaasfilNavn).string()));
  EXPECT_FALSE(holdt.tryLock(0)) << "the callers leave the first copy's lock alone";

  // A copy that is closing takes no calls; once it has ended, the next copy owns the folder.
  forste->Steng();
  EXPECT_FALSE(forste->Lytter());
  EXPECT_EQ(TEnKopi(t.Sti()).Start(300ms), TEnKopi::TStart::SvarerIkke);
  EXPECT_EQ(kall, 2);
  forste.reset();
  EXPECT_FALSE(fs::exists(t / LaasfilNavn));
  TEnKopi neste(t.Sti());
  EXPECT_EQ(neste.Start(), TEnKopi::TStart::Eier);
  EXPECT_TRUE(neste.Lytter());
}

TEST(EnKopi, EnLevendeKopiSomIkkeSvarerBeholderLaasen) {
  for (const bool lytter : {true, false}) {
    SCOPED_TRACE(lytter ? "listens but does not answer" : "holds the lock but does not listen yet");
    TestMappe t;
    QLockFile laas(QString::fromStdString((t / LaasfilNavn).string()));
    ASSERT_TRUE(laas.tryLock(0));
    QLocalServer stum;
    if (lytter) {
      ASSERT_TRUE(stum.listen(Kopinavn(t.Sti())));
    }

    TEnKopi andre(t.Sti());
    EXPECT_EQ(andre.Start(300ms), TEnKopi::TStart::SvarerIkke);
    EXPECT_EQ(andre.Eierprosess(), QCoreApplication::applicationPid());
    EXPECT_FALSE(andre.Lytter());
    EXPECT_TRUE(laas.isLocked());
    EXPECT_EQ(Laaseier(t.Sti()), QCoreApplication::applicationPid()) << "the lock file is the live copy's still";
    EXPECT_FALSE(SvarerIkkeTekst(t.Sti(), andre.Eierprosess()).isEmpty());
  }
}

TEST(EnKopi, EnKrasjetKopisLaasOgSokkelOvertas) {
  const struct {
    const char* hva;
    std::function<void(const TestMappe&)> lag;
  } tilfeller[] = {
      {"the lock of a process that has gone, and its socket file",
       [](const TestMappe& t) {
         t.Skriv(LaasfilNavn,
                 QString("%1\nhornstad\n%2\n").arg(BortePid()).arg(QSysInfo::machineHostName()).toStdString());
         EtterlattSokkel(t.Sti());
       }},
      {"an empty lock file (a crash while it was written)",
       [](const TestMappe& t) {
         t.Skriv(LaasfilNavn, "");
         const fs::path fil = t / LaasfilNavn;
         fs::last_write_time(fil, fs::last_write_time(fil) - 1min);
       }},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.hva);
    TestMappe t;
    c.lag(t);
    TEnKopi ny(t.Sti());
    int kall = 0;
    QObject::connect(&ny, &TEnKopi::kalt, [&] { ++kall; });
    EXPECT_EQ(ny.Start(), TEnKopi::TStart::Eier);
    EXPECT_EQ(Laaseier(t.Sti()), QCoreApplication::applicationPid());
    EXPECT_TRUE(ny.Lytter());
    EXPECT_EQ(TEnKopi(t.Sti()).Start(), TEnKopi::TStart::Vekket) << "the new owner is reached";
    EXPECT_EQ(kall, 1);
  }
}

// The program itself, copied into a folder of its own, which is then its data folder.
class Programkopi {
 public:
  Programkopi() : program_(t_ / "hornstad") { fs::copy_file(HS_PROGRAM, program_); }

  const fs::path& Mappe() const { return t_.Sti(); }

  std::unique_ptr<QProcess> Start() const {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment miljo = QProcessEnvironment::systemEnvironment();
    miljo.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(miljo);
    p->setProgram(QString::fromStdString(program_.string()));
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    EXPECT_TRUE(p->waitForStarted());
    return p;
  }

  // Waits until `p` holds the folder's lock and listens.
  bool VentPaaEier(const QProcess& p) const {
    return VentPaa([&] {
      return p.state() == QProcess::Running && Laaseier(Mappe()) == p.processId() && QFile::exists(Sokkelsti(Mappe()));
    });
  }

  // Starts a copy that should find `eier` and end at once: its exit code.
  int KjorAndre(const QProcess& eier) const {
    auto andre = Start();
    if (!andre->waitForFinished(30000)) {
      andre->kill();
      andre->waitForFinished();
      ADD_FAILURE() << "the second copy did not end";
      return -1;
    }
    EXPECT_EQ(andre->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(eier.state(), QProcess::Running) << "the first copy is still running";
    return andre->exitCode();
  }

 private:
  TestMappe t_;
  fs::path program_;
};

TEST(EnKopiProgram, AndreKopiEnderEtterSvarOgEnDreptKopisLaasOvertas) {
  Programkopi kopi;
  auto forste = kopi.Start();
  ASSERT_TRUE(kopi.VentPaaEier(*forste));
  // Exit code 0: the first copy answered, which it does once it has come forward.
  EXPECT_EQ(kopi.KjorAndre(*forste), 0);

  // Killed, the first copy leaves its lock and its socket file behind.
  const qint64 forstePid = forste->processId();
  forste->kill();
  forste->waitForFinished();
  ASSERT_EQ(Laaseier(kopi.Mappe()), forstePid);
  ASSERT_TRUE(QFile::exists(Sokkelsti(kopi.Mappe())));

  auto tredje = kopi.Start();
  ASSERT_TRUE(kopi.VentPaaEier(*tredje)) << "the next copy takes the lock over and runs";
  EXPECT_EQ(kopi.KjorAndre(*tredje), 0) << "and is reached on the socket file the killed copy left";
  tredje->kill();
  tredje->waitForFinished();
  QLocalServer::removeServer(Kopinavn(kopi.Mappe()));
}
