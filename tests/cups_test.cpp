// Printing through a real print system. The test runs its own CUPS scheduler
// (cupsd in the foreground, its folders in a temporary folder, listening on a
// socket there, no web interface) with one queue on the cups-pdf backend,
// which turns every job into a PDF file in a folder of the test. Qt's print
// support reaches it through libcups, pointed at the socket by CUPS_SERVER
// before the application is made. The table window, the print preview of a
// pedigree and the paged catalogue window each print one job, as the user's
// print dialog would send it to that queue; the PDF that comes out has the
// pages and the text the window drew (pdfinfo, pdftotext).
//
// What cups-pdf needs:
// - its settings come from /etc/cups/cups-pdf-<name>.conf, <name> being what
//   follows "cups-pdf:/" in the queue's device address (/etc/cups/cups-pdf.conf
//   without one); the folder is compiled in. So the test writes such a file
//   for its own queue there (output folder "Out", spool, log and the
//   temporary folder of Ghostscript all in the test's folder) and removes it
//   at the end;
// - it runs only as root ("CUPS-PDF cannot be called without root
//   privileges!"); cupsd starts it as root because only root may run it, and
//   it writes the PDF as the job's user. So the test runs only as root;
// - the queue uses pdftocairo to make PostScript of the job: with the
//   default renderer (Ghostscript) the PDF comes out with Type 3 fonts whose
//   text pdftotext cannot read.
// The scheduler and the backend run from copies in the test's folder: an
// AppArmor profile (Debian ships one for both) attaches by path and would
// keep them to the system's own folders and settings files.
//
// Skipped, saying why, only where cupsd cannot run: not root, or the print
// system not installed.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "listing.h"
#include "register.h"
#include "sider.h"
#include "stamtre.h"
#include "stamtredokument.h"
#include "tabellutskrift.h"
#include "tekst.h"
#include "tinnlesing.h"
#include "tpapvin.h"
#include "trase.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

// A shell command's exit code and output (stdout and stderr).
struct Svar {
  int kode = -1;
  std::string ut;
};

Svar Kjor(const std::string& kommando) {
  Svar s;
  FILE* f = ::popen((kommando + " 2>&1").c_str(), "r");
  if (f == nullptr) return s;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.ut.append(buf, n);
  const int status = ::pclose(f);
  s.kode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return s;
}

std::string Les(const fs::path& fil) {
  std::ifstream inn(fil, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(inn), std::istreambuf_iterator<char>());
}

void Skriv(const fs::path& fil, const std::string& innhold) { std::ofstream(fil, std::ios::binary) << innhold; }

// The test's own scheduler with one cups-pdf queue.
class TCups {
 public:
  // Starts it. Gives why it cannot run here (the test is skipped), or sets
  // Feil when it should have run and did not.
  std::string Start() {
    if (::geteuid() != 0)
      return "cupsd med cups-pdf krever root: cups-pdf skriver bare som root, og innstillingene dens ligger i "
             "/etc/cups";
    const std::pair<const char*, const char*> filer[] = {
        {"/usr/sbin/cupsd", "cups"},
        {"/usr/sbin/lpadmin", "cups-client"},
        {"/usr/bin/lpstat", "cups-client"},
        {"/usr/lib/cups/filter/pdftops", "cups-filters"},
        {"/usr/bin/pdftocairo", "poppler-utils"},
        {"/usr/lib/cups/backend/cups-pdf", "printer-driver-cups-pdf"},
        {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "printer-driver-cups-pdf"},
    };
    for (const auto& [fil, pakke] : filer)
      if (!fs::exists(fil)) return std::string(fil) + " mangler: pakken " + pakke + " er ikke installert";

    RyddEtterDrepte();
    // Short, for the socket's path; named after the test's process.
    std::string mal = "/tmp/hornstad-cups-" + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(mal.data()) == nullptr) return "kan ikke lage en midlertidig mappe";
    mappe_ = mal;
    // The filters run as the user lp and go into the spool folders.
    fs::permissions(mappe_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    for (const char* d :
         {"etc/ppd", "state", "cache", "spool/tmp", "log", "ut", "pdfspool", "gstmp", "bin/backend", "sbin"})
      fs::create_directories(mappe_ / d);
    for (const char* d : {"filter", "daemon", "driver", "monitor", "notifier", "cgi-bin"})
      if (fs::exists(fs::path("/usr/lib/cups") / d))
        fs::create_directory_symlink(fs::path("/usr/lib/cups") / d, mappe_ / "bin" / d);
    fs::copy_file("/usr/lib/cups/backend/cups-pdf", mappe_ / "bin/backend/cups-pdf");
    fs::permissions(mappe_ / "bin/backend/cups-pdf", fs::perms::owner_all);  // so that cupsd runs it as root
    fs::copy_file("/usr/sbin/cupsd", mappe_ / "sbin/cupsd");

    ko_ = "hornstad" + std::to_string(::getpid());
    Skriv(mappe_ / "etc/cupsd.conf",
          "LogLevel info\n"
          "Listen " +
              Sokkel() +
              "\n"
              "WebInterface No\n"
              "Browsing No\n"
              "DefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    const std::string m = mappe_.string();
    Skriv(mappe_ / "etc/cups-files.conf", "ServerRoot " + m +
                                              "/etc\n"
                                              "ServerBin " +
                                              m +
                                              "/bin\n"
                                              "StateDir " +
                                              m +
                                              "/state\n"
                                              "CacheDir " +
                                              m +
                                              "/cache\n"
                                              "RequestRoot " +
                                              m +
                                              "/spool\n"
                                              "TempDir " +
                                              m +
                                              "/spool/tmp\n"
                                              "AccessLog " +
                                              m +
                                              "/log/access_log\n"
                                              "ErrorLog " +
                                              m +
                                              "/log/error_log\n"
                                              "PageLog " +
                                              m +
                                              "/log/page_log\n"
                                              "Printcap " +
                                              m +
                                              "/printcap\n"
                                              "SystemGroup root\n");
    pdfInnstillinger_ = "/etc/cups/cups-pdf-" + ko_ + ".conf";
    Skriv(pdfInnstillinger_, "Out " + m +
                                 "/ut\n"
                                 "Spool " +
                                 m +
                                 "/pdfspool\n"
                                 "AnonDirName " +
                                 m +
                                 "/ut\n"
                                 "Log " +
                                 m +
                                 "/log\n"
                                 "GSTmp " +
                                 m +
                                 "/gstmp\n"
                                 "Grp lp\n"
                                 "Label 1\n");
    if (!fs::exists(pdfInnstillinger_)) return "kan ikke skrive " + pdfInnstillinger_.string();

    pid_ = ::fork();
    if (pid_ == 0) {
      // The scheduler ends with the test, however the test ends.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int ut = ::open((mappe_ / "log/cupsd.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (ut >= 0) {
        ::dup2(ut, 1);
        ::dup2(ut, 2);
      }
      const std::string cupsd = (mappe_ / "sbin/cupsd").string();
      const std::string conf = (mappe_ / "etc/cupsd.conf").string();
      const std::string filer = (mappe_ / "etc/cups-files.conf").string();
      ::execl(cupsd.c_str(), "cupsd", "-f", "-c", conf.c_str(), "-s", filer.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (pid_ < 0) {
      Feil = "fork feilet";
      return {};
    }
    const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    // (lpstat -r ends with 0 whether the scheduler runs or not.)
    while (Kjor(Lp("/usr/bin/lpstat") + " -r").ut != "scheduler is running\n") {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        Feil = "cupsd stoppet ved start:\n" + Logg();
        return {};
      }
      if (std::chrono::steady_clock::now() > frist) {
        Feil = "cupsd svarte ikke:\n" + Logg();
        return {};
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const Svar ko = Kjor(Lp("/usr/sbin/lpadmin") + " -p " + ko_ + " -E -v cups-pdf:/" + ko_ +
                         " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -o pdftops-renderer-default=pdftocairo");
    if (ko.kode != 0) Feil = "lpadmin feilet: " + ko.ut;
    return {};
  }

  // Stops the scheduler and removes what the test made.
  ~TCups() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > frist) {
          ::kill(pid_, SIGKILL);
          ::waitpid(pid_, &status, 0);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
    std::error_code ec;
    if (!pdfInnstillinger_.empty()) fs::remove(pdfInnstillinger_, ec);
    if (!mappe_.empty()) fs::remove_all(mappe_, ec);
  }

  std::string Sokkel() const { return (mappe_ / "cups.sock").string(); }
  const std::string& Ko() const { return ko_; }

  // The PDF of the job just sent: a new file in the output folder once no
  // job of the queue is waiting or printing any more. Empty after a minute.
  fs::path VentPaaPdf(const std::set<fs::path>& for_) const {
    const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < frist) {
      if (Kjor(Lp("/usr/bin/lpstat") + " -o " + ko_).ut.empty())
        for (const auto& f : fs::directory_iterator(mappe_ / "ut"))
          if (f.path().extension() == ".pdf" && !for_.count(f.path())) return f.path();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
  }
  std::set<fs::path> Utskrifter() const {
    std::set<fs::path> r;
    for (const auto& f : fs::directory_iterator(mappe_ / "ut")) r.insert(f.path());
    return r;
  }

  // The scheduler's and the backend's logs, for a failure's message.
  std::string Logg() const {
    std::string r;
    for (const char* f : {"log/cupsd.txt", "log/error_log"}) r += Les(mappe_ / f);
    for (const auto& f : fs::directory_iterator(mappe_ / "log"))
      if (f.path().filename().string().rfind("cups-pdf", 0) == 0) r += Les(f.path());
    return r.size() > 4000 ? r.substr(r.size() - 4000) : r;
  }

  std::string Feil;

 private:
  // What a run that was killed before its end left behind (its scheduler
  // ended with it): the settings file of its queue and its folder.
  static void RyddEtterDrepte() {
    const std::string forran = "cups-pdf-hornstad", bak = ".conf";
    std::error_code ec;
    for (const auto& f : fs::directory_iterator("/etc/cups", ec)) {
      const std::string navn = f.path().filename().string();
      if (navn.rfind(forran, 0) != 0 || navn.size() <= forran.size() + bak.size()) continue;
      const std::string tall = navn.substr(forran.size(), navn.size() - forran.size() - bak.size());
      if (tall.find_first_not_of("0123456789") != std::string::npos) continue;
      const pid_t pid = std::atoi(tall.c_str());
      if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
      fs::remove(f.path(), ec);
      for (const auto& m : fs::directory_iterator("/tmp", ec))
        if (m.path().filename().string().rfind("hornstad-cups-" + tall + "-", 0) == 0) fs::remove_all(m.path(), ec);
    }
  }

  // A program of cups-client, talking to this scheduler.
  std::string Lp(const char* program) const { return "LC_ALL=C " + std::string(program) + " -h '" + Sokkel() + "'"; }

  fs::path mappe_;
  fs::path pdfInnstillinger_;
  std::string ko_;
  pid_t pid_ = -1;
};

TCups* cups = nullptr;
std::string hopp;  // why the print system cannot run here

// The number of pages and the text of each page of a PDF.
int Sider(const fs::path& pdf) {
  const std::string info = Kjor("pdfinfo '" + pdf.string() + "'").ut;
  const auto i = info.find("Pages:");
  return i == std::string::npos ? -1 : std::atoi(info.c_str() + i + 6);
}
std::string Tekst(const fs::path& pdf, int side) {
  const std::string s = std::to_string(side);
  return Kjor("pdftotext -enc UTF-8 -f " + s + " -l " + s + " '" + pdf.string() + "' -").ut;
}

int Antall(const std::string& tekst, const std::string& ord) {
  int n = 0;
  for (auto i = tekst.find(ord); i != std::string::npos; i = tekst.find(ord, i + 1)) ++n;
  return n;
}

// The queue as the print dialog leaves it: the printer chosen, printing on
// paper through CUPS.
void VelgKoen(QPrinter& skriver) {
  skriver.setPrinterName(QString::fromStdString(cups->Ko()));
  EXPECT_EQ(skriver.outputFormat(), QPrinter::NativeFormat) << "Qt sees the queue as a printer";
  EXPECT_TRUE(skriver.isValid());
}

class Cups : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hopp.empty()) GTEST_SKIP() << hopp;
    ASSERT_TRUE(cups->Feil.empty()) << cups->Feil;
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(cups->Ko())))
        << "Qt's CUPS support does not list the queue";
    for_ = cups->Utskrifter();
  }
  // The PDF the job gave; a copy named `navn` goes to HORNSTAD_SKJERMBILDER
  // when it is set.
  fs::path Utskrift(const std::string& navn) {
    const fs::path pdf = cups->VentPaaPdf(for_);
    EXPECT_FALSE(pdf.empty()) << "no PDF from the queue:\n" << cups->Logg();
    if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"); mappe && !pdf.empty())
      fs::copy_file(pdf, fs::path(mappe) / navn, fs::copy_options::overwrite_existing);
    return pdf;
  }

  std::set<fs::path> for_;
};

// Closes a window, which then destroys itself.
void Lukk(QWidget* vindu) {
  vindu->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The rams of a small synthetic register, by number.
const std::map<int32_t, TVerPost>& Vaerer() {
  static const std::map<int32_t, TVerPost> vaerer = [] {
    std::map<int32_t, TVerPost> m;
    for (const TVerPost& v : KonverterEksport(LagEksport(400, 7))) m.emplace(int32_t{v.Nummer}, v);
    return m;
  }();
  return vaerer;
}

}  // namespace

// A table of 150 rows with a header and a footer row, on paper: several
// pages, each with its page head, the header row and the footer.
TEST_F(Cups, Tabellvinduet) {
  auto* v = new TVindu;
  v->Hovedtekst = [] { return QString("Hornstad"); };
  v->Oppsett(3, 12, 0, 1, 1, "Utskrift gjennom CUPS", 0, 0);
  v->NyRad("Nummer;Navn;Indeks;");
  for (int i = 1; i <= 150; ++i)
    v->NyRad(IntToText(i) + ";V\xE6r " + IntToText(i) + ";" + IntToText(100 + i % 30) + ";");
  v->NyBunnRad("Antall;150;;");
  v->Vis();
  int sider = 0;
  v->VelgSkriver = [&](QPrinter& skriver, bool, bool& utvalg) {
    VelgKoen(skriver);
    utvalg = false;
    // The pages the program lays the table out on for this printer.
    TUtskrift u;
    u.tabell = &v->Tabell();
    sider = TTabelldokument(u, Sideoppsett(v->Tabell(), skriver.width(), skriver.height(), false),
                            Utskriftsrader(v->Tabell().Hoved(), false))
                .Sider();
    return true;
  };
  QStringList meldinger;
  v->Melding = [&](const QString& t) { meldinger << t; };
  v->Utskrift->click();
  EXPECT_TRUE(meldinger.isEmpty()) << meldinger.join('\n').toStdString();
  EXPECT_EQ(v->Panel[2]->text(), "Ferdig skrevet");
  const fs::path pdf = Utskrift("cups-tabell.pdf");
  ASSERT_FALSE(pdf.empty());
  ASSERT_GE(sider, 3);
  EXPECT_EQ(Sider(pdf), sider);
  std::string alt;
  for (int s = 1; s <= sider; ++s) {
    SCOPED_TRACE(s);
    const std::string tekst = Tekst(pdf, s);
    alt += tekst;
    EXPECT_NE(tekst.find("side:" + std::to_string(s) + " den "), std::string::npos) << tekst;
    EXPECT_NE(tekst.find("Utskrift gjennom CUPS"), std::string::npos);
    EXPECT_NE(tekst.find("Navn"), std::string::npos) << "the header row on every page";
    EXPECT_NE(tekst.find("Antall"), std::string::npos) << "the footer on every page";
  }
  // Every row once.
  std::multiset<int> rader;
  for (auto i = alt.find("Vær "); i != std::string::npos; i = alt.find("Vær ", i + 1))
    rader.insert(std::atoi(alt.c_str() + i + std::string("Vær ").size()));
  std::multiset<int> alle;
  for (int i = 1; i <= 150; ++i) alle.insert(i);
  EXPECT_EQ(rader, alle);
  Lukk(v);
}

// A pedigree in its print preview: one page with the tree.
TEST_F(Cups, ForhandsvisningenAvStamtreet) {
  const auto& vaerer = Vaerer();
  const TFinnVer finn = [&](int32_t nr) {
    const auto i = vaerer.find(nr);
    return i == vaerer.end() ? TomVerPost() : i->second;
  };
  // A ram whose sire is in the register and whose dam's sire is known.
  const TVerPost* ver = nullptr;
  for (const auto& [nr, p] : vaerer) {
    const int32_t far = p.Farnr, morfar = p.MorFar;  // (the record's fields are packed)
    if (far > 0 && vaerer.count(far) && morfar > 0) ver = &p;
  }
  ASSERT_NE(ver, nullptr);
  const Trase raser;
  auto tre = ByggStamtre(*ver, finn, raser);
  const std::string rot = tre->NrTekst, far = tre->Far->NrTekst;
  const std::string navn = Cp1252TilUtf8(TrimText(tre->Navn));
  auto* v = new TInnlesing;
  v->setWindowTitle(QString::fromStdString(Cp1252TilUtf8(StamtreTittel(*tre))));
  v->SettDokument(std::make_unique<TStamtredokument>(std::move(tre)));
  v->VelgSkriver = [&](QPrinter& skriver, int) {
    VelgKoen(skriver);
    return std::optional<TInnlesing::TUtskriftsvalg>(TInnlesing::TUtskriftsvalg{});
  };
  v->Vis();
  v->Skrivut->click();
  EXPECT_EQ(v->huguTekst->text(), "Utskrift ferdig..");
  const fs::path pdf = Utskrift("cups-stamtre.pdf");
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(Sider(pdf), 1);
  const std::string tekst = Tekst(pdf, 1);
  for (const std::string& t : {std::string("Stamtre"), rot, far, navn, std::string("O-indeks:")})
    EXPECT_NE(tekst.find(t), std::string::npos) << t << "\n" << tekst;
  Lukk(v);
}

// Thirteen rams' framed catalogue pages in the paged window: three pages,
// six boxes to a page.
TEST_F(Cups, SidevinduetMedKatalogsidene) {
  std::string mal = "/tmp/hornstad-katalog-XXXXXX";
  ASSERT_NE(::mkdtemp(mal.data()), nullptr);
  const fs::path data = mal;
  std::vector<TVerPost> poster;
  for (const auto& [nr, p] : Vaerer()) poster.push_back(p);
  SkrivVerFil(data / "Verene.Dat", poster);
  std::vector<std::string> linjer;
  std::vector<std::string> nummer;
  {
    TProdusent reg(data);
    reg.LoadRegister();
    const Trase raser;
    for (int i = 0; i < 13; ++i) {
      const TVerPost ver = reg.ReadAt(i * 10);
      nummer.push_back(IntToText(ver.Nummer));
      for (std::string& l : KatalogLinjer(ver, reg, raser)) linjer.push_back(std::move(l));
    }
  }
  fs::remove_all(data);
  auto* v = new TPapVin;
  v->SettDokument(std::make_unique<TRammedokument>(LagSider(linjer)));
  v->VelgSkriver = [&](QPrinter& skriver, const TPapVin::TUtskriftsvalg& valg) {
    VelgKoen(skriver);
    return std::optional<TPapVin::TUtskriftsvalg>(valg);
  };
  QStringList meldinger;
  v->Melding = [&](const QString& t) { meldinger << t; };
  v->Vis();
  v->Skrive->click();
  EXPECT_TRUE(meldinger.isEmpty()) << meldinger.join('\n').toStdString();
  EXPECT_TRUE(v->Skrevet);
  const fs::path pdf = Utskrift("cups-katalog.pdf");
  ASSERT_FALSE(pdf.empty());
  ASSERT_EQ(Sider(pdf), 3);
  for (int s = 1; s <= 3; ++s) {
    SCOPED_TRACE(s);
    const std::string tekst = Tekst(pdf, s);
    // Six boxes to a page, one on the last, each with its ram.
    EXPECT_EQ(Antall(tekst, "Ullanalyse"), s < 3 ? 6 : 1) << tekst;
    for (int i = (s - 1) * 6; i < std::min(s * 6, 13); ++i)
      EXPECT_NE(tekst.find(nummer[static_cast<std::size_t>(i)]), std::string::npos) << nummer[i] << "\n" << tekst;
  }
  Lukk(v);
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The scheduler first: libcups reads CUPS_SERVER once, before Qt's print
  // support asks it for printers.
  TCups c;
  cups = &c;
  if (!::testing::GTEST_FLAG(list_tests)) {
    hopp = c.Start();
    if (hopp.empty()) qputenv("CUPS_SERVER", QByteArray::fromStdString(c.Sokkel()));
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
