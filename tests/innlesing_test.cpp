// The import road end to end: the main window's "Legg in værer fra internett"
// and the command-line tool against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "eksempeldata.h"
#include "endringer.h"
#include "filer.h"
#include "hovedbilde.h"
#include "inifil.h"
#include "lister.h"
#include "okt.h"
#include "ramimport.h"
#include "register.h"
#include "testmappe.h"
#include "tformkatalog.h"
#include "tformnedlast.h"
#include "tformvaer.h"
#include "tformver.h"
#include "tjener.h"

namespace fs = std::filesystem;

namespace {

int Kjor(const std::string& kommando) { return std::system(kommando.c_str()); }
std::string Sitat(const fs::path& p) { return "'" + p.string() + "'"; }

// Runs a command and gives its exit code and what it wrote on stdout and stderr.
std::pair<int, std::string> KjorUt(const std::string& kommando) {
  std::string ut;
  FILE* f = ::popen((kommando + " 2>&1").c_str(), "r");
  if (f == nullptr) return {-1, ut};
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) ut.append(buf, n);
  const int status = ::pclose(f);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ut};
}

// One server for all tests: Python's http.server over a folder whose
// archives the tests put in place, and the misbehaving server.
class InnlesingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    rot_ = new TestMappe;
    fs::create_directories(*rot_ / "Ullvik");
    // A good archive made by Info-ZIP, a damaged one and one without the export.
    rot_->Skriv("Vedder2.Tex", LagEksport(400, 3));
    ASSERT_EQ(Kjor("cd " + Sitat(rot_->Sti()) + " && zip -q Ullvik/hsTokk2.zip Vedder2.Tex"), 0);
    fs::create_directories(*rot_ / "skadet/Ullvik");
    rot_->Skriv("skadet/Ullvik/hsTokk2.zip", LesHeleFila(*rot_ / "Ullvik/hsTokk2.zip").substr(0, 3000));
    // An export with two data lines cut short after their 20th field.
    {
      std::string eksport = LagEksport(400, 3);
      std::size_t pos = 0;
      for (int linje = 1; linje <= 11; ++linje) {
        if (linje == 4 || linje == 11) {
          std::size_t kutt = pos;
          for (int i = 0; i < 20; ++i) kutt = eksport.find(';', kutt) + 1;
          eksport.erase(kutt - 1, eksport.find('\r', kutt) - (kutt - 1));
        }
        pos = eksport.find('\n', pos) + 1;
      }
      fs::create_directories(*rot_ / "kort/Ullvik");
      rot_->Skriv("kort/Vedder2.Tex", eksport);
      ASSERT_EQ(Kjor("cd " + Sitat(*rot_ / "kort") + " && zip -q Ullvik/hsTokk2.zip Vedder2.Tex"), 0);
    }
    fs::create_directories(*rot_ / "uten/Ullvik");
    rot_->Skriv("Les.txt", "ingen eksport her");
    ASSERT_EQ(Kjor("cd " + Sitat(rot_->Sti()) + " && zip -q uten/Ullvik/hsTokk2.zip Les.txt"), 0);
    filer_ = new Tjenerprosess(
        {"python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", rot_->Sti().string(), "0"});
    feil_ = new Tjenerprosess({"python3", "-u", HS_FEILTJENER});
  }
  static void TearDownTestSuite() {
    delete filer_;
    delete feil_;
    delete rot_;
  }
  void SetUp() override {
    ASSERT_GT(filer_->Port(), 0);
    ASSERT_GT(feil_->Port(), 0);
    SkrivVerFil(data / "Verene.Dat", gamle);
  }

  static std::string Adresse(const std::string& under = "") {
    return "http://127.0.0.1:" + std::to_string(filer_->Port()) + under;
  }
  static std::string FeilAdresse(const std::string& sti) {
    return "http://127.0.0.1:" + std::to_string(feil_->Port()) + sti;
  }
  std::string Register() const { return LesHeleFila(data / "Verene.Dat"); }
  std::string GamleBytes() const {
    return std::string(reinterpret_cast<const char*>(gamle.data()), gamle.size() * sizeof(TVerPost));
  }

  static TestMappe* rot_;
  static Tjenerprosess* filer_;
  static Tjenerprosess* feil_;
  TestMappe data;
  const std::vector<TVerPost> gamle = KonverterEksport(LagEksport(150, 8));
};

TestMappe* InnlesingTest::rot_ = nullptr;
Tjenerprosess* InnlesingTest::filer_ = nullptr;
Tjenerprosess* InnlesingTest::feil_ = nullptr;

// The program's windows, with questions answered and messages collected.
struct Program {
  Program(const fs::path& mappe, const std::string& adresse, const std::string& sertifikat = "")
      : okt(mappe), ver(okt), katalog(okt), hoved(okt) {
    QSettings ini(QString::fromStdString((mappe / "Hornstad.Ini").string()), InnstillingsFormat());
    ini.setValue("Nett/Adresse", QString::fromStdString(adresse));
    if (!sertifikat.empty()) ini.setValue("Nett/Sertifikat", QString::fromStdString(sertifikat));
    ini.sync();
    hoved.OmBoks = LagOmBoks(&hoved);
    hoved.FormVer = &ver;
    hoved.FormKatalog = &katalog;
    nedlast = new TFormNedlast(&hoved);
    nedlast->valg.stilleSekunder = 2;
    hoved.FormNedlast = nedlast;
    hoved.Bekreft = [this](const QString&) { return svar; };
    hoved.SporJaNei = [this](const QString& t) {
      sporsmal << t;
      return false;
    };
    hoved.Melding = [this](const QString& t) { meldinger << t; };
    hoved.Feilmelding = [this](const QString& t) { meldinger << t; };
    nedlast->Melding = [this](const QString& t) { meldinger << t; };
    hoved.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&hoved));
  }
  // Presses "Avbryt" in the download window once `naar` holds.
  void AvbrytNaar(std::function<bool()> naar) {
    auto* t = new QTimer(&hoved);
    QObject::connect(t, &QTimer::timeout, t, [this, t, naar] {
      if (nedlast->isVisible() && naar()) {
        t->stop();
        // With HORNSTAD_SKJERMBILDER set to a folder, the window is saved there as PNG.
        if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
          nedlast->grab().save(QString(mappe) + "/nedlasting-" + nedlast->Status->text().left(12) + ".png");
        QTest::mouseClick(nedlast->BtBryt, Qt::LeftButton);
      }
    });
    t->start(20);
  }
  TOkt okt;
  TFormVer ver;
  TFormKatalog katalog;
  TFormVaer hoved;
  TFormNedlast* nedlast;
  bool svar = true;
  QStringList meldinger;
  QStringList sporsmal;
};

}  // namespace

TEST_F(InnlesingTest, VindusinnlesingErstatterRegisteret) {
  Program p(data.Sti(), Adresse());
  EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
  p.hoved.LeggInn->trigger();
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
  const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();
  EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(ventet) + " værer ");
  EXPECT_EQ(p.okt.Register()->RamNumbers().size(), ventet);
  EXPECT_TRUE(p.hoved.Kartotekoppslag->isEnabled());
  EXPECT_EQ(p.nedlast->Status->text(), "Nedlasting ferdig");
  EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));
  EXPECT_FALSE(fs::exists(data / "OpPakket/Vedder2.Tex"));
  EXPECT_FALSE(fs::exists(data / "Verene.Dat.ny"));
}

// A download keeps the change report for the rams on the lists as a file
// import does: a listed ram that the new export lacks is reported, and the
// main window says that there are changes.
TEST_F(InnlesingTest, NedlastingLagerEndringsrapportForListene) {
  const std::vector<TVerPost> nye = KonverterEksport(LagEksport(400, 3));
  int32_t borte = 0;
  for (const TVerPost& g : gamle)
    if (std::none_of(nye.begin(), nye.end(), [&](const TVerPost& n) { return n.Nummer == g.Nummer; })) {
      borte = g.Nummer;
      break;
    }
  ASSERT_NE(borte, 0);
  TLister lister;
  const int32_t nummer[] = {borte};
  ASSERT_EQ(lister.LeggTil("Reserve", nummer), 1);
  SkrivLister(ListeFil(data.Sti()), lister);

  Program p(data.Sti(), Adresse());
  EXPECT_FALSE(p.hoved.Endringer->isEnabled());
  p.hoved.LeggInn->trigger();
  const TEndringsLesing lest = LesEndringer(EndringsFil(data.Sti()));
  ASSERT_TRUE(lest.rapport);
  ASSERT_EQ(lest.rapport->endringer.size(), 1u);
  const TEndring& e = lest.rapport->endringer[0];
  EXPECT_EQ(e.liste, "Reserve");
  EXPECT_EQ(e.nummer, borte);
  EXPECT_EQ(e.felt, "Registeret");
  EXPECT_TRUE(p.hoved.Endringer->isEnabled());
  EXPECT_TRUE(p.hoved.EndringsVarsel->isVisibleTo(&p.hoved));
  EXPECT_TRUE(std::any_of(p.meldinger.begin(), p.meldinger.end(), [](const QString& m) {
    return m.contains("endret ved innlesingen");
  })) << p.meldinger.join("|").toStdString();
}

TEST_F(InnlesingTest, FeilGirMeldingOgUendretRegister) {
  struct Tilfelle {
    const char* navn;
    std::string adresse;
    bool svar;
    std::function<bool(Program&)> avbrytNaar;  // empty: the window closes by itself
    QStringList meldinger;                     // beginnings of the messages, in order
  };
  const QString lagret = "Fikk ikke lagret fila:" + QString::fromStdString((data / "Nyverer.Zip").string());
  const Tilfelle tilfeller[] = {
      {"brukeren sier nei", Adresse(), false, {}, {lagret}},
      {"404",
       Adresse("/finnes-ikke"),
       true,
       [](Program& p) { return p.nedlast->Status->text() == "Kunne ikke fullføre"; },
       {lagret}},
      {"avbrutt mens datoen hentes",
       FeilAdresse("/stille"),
       true,
       [](Program&) { return true; },
       {"Din versjon er allerede oppdatert.", lagret}},
      {"avkortet svar",
       FeilAdresse("/kuttet"),
       true,
       [](Program& p) { return p.nedlast->Status->text() == "Kunne ikke fullføre"; },
       {lagret}},
      {"skadet arkiv", Adresse("/skadet"), true, {}, {"Arkivet Nyverer.Zip er skadet"}},
      {"arkiv uten eksport", Adresse("/uten"), true, {}, {"Arkivet Nyverer.Zip inneholder ingen værfil"}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Program p(data.Sti(), t.adresse);
    p.svar = t.svar;
    if (t.avbrytNaar) p.AvbrytNaar([&] { return t.avbrytNaar(p); });
    p.hoved.LeggInn->trigger();
    ASSERT_EQ(p.meldinger.size(), t.meldinger.size()) << p.meldinger.join("|").toStdString();
    for (int i = 0; i < t.meldinger.size(); ++i)
      EXPECT_TRUE(p.meldinger[i].startsWith(t.meldinger[i])) << p.meldinger[i].toStdString();
    EXPECT_EQ(Register(), GamleBytes());
    EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ") << "the old register is open again";
    EXPECT_TRUE(p.hoved.Kartotekoppslag->isEnabled());
    EXPECT_NE(p.okt.Register(), nullptr);
    EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));
    EXPECT_FALSE(fs::exists(data / "Nyverer.Zip.ned"));
  }
}

TEST_F(InnlesingTest, KommandolinjaHenterOgLeserInn) {
  const std::string cli = std::string(HS_CLI) + " --data " + Sitat(data.Sti());
  const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();

  auto [kode, ut] = KjorUt(cli + " hent --adresse " + Adresse("/finnes-ikke/a.zip"));
  EXPECT_EQ(kode, 1) << ut;
  EXPECT_NE(ut.find("Kunne ikke hente"), std::string::npos) << ut;
  EXPECT_EQ(Register(), GamleBytes());

  std::tie(kode, ut) = KjorUt(cli + " hent --adresse " + Adresse("/skadet"));
  EXPECT_EQ(kode, 1) << ut;
  EXPECT_NE(ut.find("er skadet"), std::string::npos) << ut;
  EXPECT_EQ(Register(), GamleBytes());

  // The server from Hornstad.Ini when no address is given.
  {
    QSettings ini(QString::fromStdString((data / "Hornstad.Ini").string()), InnstillingsFormat());
    ini.setValue("Nett/Adresse", QString::fromStdString(Adresse()));
  }
  std::tie(kode, ut) = KjorUt(cli + " hent");
  EXPECT_EQ(kode, 0) << ut;
  EXPECT_EQ(ut, std::to_string(ventet) + " værer\n");
  EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));

  // The same archive read from a file gives the same register byte for byte.
  const std::string fraNett = Register();
  SkrivVerFil(data / "Verene.Dat", gamle);
  std::tie(kode, ut) = KjorUt(cli + " importer " + Sitat(*rot_ / "Ullvik/hsTokk2.zip"));
  EXPECT_EQ(kode, 0) << ut;
  EXPECT_EQ(Register(), fraNett);
  std::tie(kode, ut) = KjorUt(cli + " importer " + Sitat(*rot_ / "Vedder2.Tex"));
  EXPECT_EQ(kode, 0) << ut;
  EXPECT_EQ(Register(), fraNett);
  EXPECT_TRUE(fs::exists(*rot_ / "Vedder2.Tex")) << "the user's own export is not deleted";

  std::tie(kode, ut) = KjorUt(cli + " importer " + Sitat(*rot_ / "skadet/Ullvik/hsTokk2.zip"));
  EXPECT_EQ(kode, 1) << ut;
  EXPECT_EQ(Register(), fraNett);

  // A Nyverer.Zip in the data folder is the user's when the user reads in a
  // file: neither another archive's import nor its own deletes it.
  fs::copy_file(*rot_ / "Ullvik/hsTokk2.zip", data / "Nyverer.Zip");
  const std::string arkiv = LesHeleFila(data / "Nyverer.Zip");
  for (const fs::path& fil : {*rot_ / "Ullvik/hsTokk2.zip", data / "Nyverer.Zip"}) {
    SkrivVerFil(data / "Verene.Dat", gamle);
    std::tie(kode, ut) = KjorUt(cli + " importer " + Sitat(fil));
    EXPECT_EQ(kode, 0) << ut;
    EXPECT_EQ(Register(), fraNett);
    ASSERT_TRUE(fs::exists(data / "Nyverer.Zip")) << fil;
    EXPECT_EQ(LesHeleFila(data / "Nyverer.Zip"), arkiv);
  }
}

// Lines short of fields keep their rams; the window, "hent" and "importer"
// tell the user the same after the import.
TEST_F(InnlesingTest, KorteLinjerGirMeldingEtterInnlesingen) {
  const std::size_t ventet = KonverterEksport(LesHeleFila(*rot_ / "kort/Vedder2.Tex")).size();
  ASSERT_EQ(ventet, KonverterEksport(LagEksport(400, 3)).size()) << "no ram is lost";
  const std::string melding = KorteLinjerMelding(2);

  Program p(data.Sti(), Adresse("/kort"));
  p.hoved.LeggInn->trigger();
  EXPECT_EQ(p.meldinger, QStringList{QString::fromStdString(melding)});
  EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(ventet) + " værer ");
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) {
    QMessageBox boks(QMessageBox::Information, "Hornstad", QString::fromStdString(melding), QMessageBox::Ok, &p.hoved);
    boks.show();
    boks.grab().save(QString(mappe) + "/korte-linjer.png");
  }
  const std::string fraVindu = Register();

  const std::string cli = std::string(HS_CLI) + " --data " + Sitat(data.Sti());
  for (const std::string& kommando : {cli + " hent --adresse " + Adresse("/kort/Ullvik/hsTokk2.zip"),
                                      cli + " importer " + Sitat(*rot_ / "kort/Vedder2.Tex"),
                                      cli + " importer " + Sitat(*rot_ / "kort/Ullvik/hsTokk2.zip")}) {
    SCOPED_TRACE(kommando);
    SkrivVerFil(data / "Verene.Dat", gamle);
    const Svar s = ::Kjor(data, kommando);
    EXPECT_EQ(s.kode, 0) << s.feil;
    EXPECT_EQ(s.ut, std::to_string(ventet) + " værer\n");
    EXPECT_EQ(s.feil, melding + "\n");
    EXPECT_TRUE(Register() == fraVindu) << "the same register as the window's";
  }

  // A whole export says nothing of the kind.
  const Svar s = ::Kjor(data, cli + " importer " + Sitat(*rot_ / "Vedder2.Tex"));
  EXPECT_EQ(s.kode, 0) << s.feil;
  EXPECT_EQ(s.feil, "");
}

// A Nyverer.Zip that was in the data folder before a download that came to
// nothing is not the download's to delete; one the download put in its place
// goes after the import.
TEST_F(InnlesingTest, MislyktNedlastingLarArkivetDenIkkeSkrevVaere) {
  struct Tilfelle {
    const char* navn;
    std::string adresse;
    bool svar;
    std::function<bool(Program&)> avbrytNaar;  // empty: the window closes by itself
    bool arkivetBlir;
  };
  const Tilfelle tilfeller[] = {
      {"brukeren sier nei", Adresse(), false, {}, true},
      {"404", Adresse("/finnes-ikke"), true,
       [](Program& p) { return p.nedlast->Status->text() == "Kunne ikke fullføre"; }, true},
      {"avkortet svar", FeilAdresse("/kuttet"), true,
       [](Program& p) { return p.nedlast->Status->text() == "Kunne ikke fullføre"; }, true},
      {"avbrutt under overføringen", FeilAdresse("/sildrer"), true,
       [](Program& p) { return p.nedlast->Status->text().startsWith("Laster 2 "); }, true},
      {"nedlastet, men skadet", Adresse("/skadet"), true, {}, false},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    data.Skriv("Nyverer.Zip", "brukerens eget arkiv");
    Program p(data.Sti(), t.adresse);
    p.svar = t.svar;
    if (t.avbrytNaar) p.AvbrytNaar([&] { return t.avbrytNaar(p); });
    p.hoved.LeggInn->trigger();
    ASSERT_EQ(p.meldinger.size(), 1) << p.meldinger.join("|").toStdString();
    if (t.arkivetBlir)
      EXPECT_EQ(LesHeleFila(data / "Nyverer.Zip"), "brukerens eget arkiv");
    else
      EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));
    // A cancelled transfer removes its part file as soon as it notices the cancel.
    for (int i = 0; i < 250 && fs::exists(data / "Nyverer.Zip.ned"); ++i) QTest::qWait(20);
    EXPECT_FALSE(fs::exists(data / "Nyverer.Zip.ned"));
    EXPECT_EQ(Register(), GamleBytes());
    EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
  }
}

// A register with bytes after its last whole record: "status" warns on
// stderr, names the bytes, and the file stays as it was.
TEST_F(InnlesingTest, StatusVarslerOmRestbytes) {
  const std::string cli = std::string(HS_CLI) + " --data " + Sitat(data.Sti()) + " status";
  Svar s = ::Kjor(data, cli);
  EXPECT_EQ(s.kode, 0) << s.feil;
  EXPECT_EQ(s.feil, "");

  const std::string fil = GamleBytes() + std::string(100, '\x7F');
  data.Skriv("Verene.Dat", fil);
  s = ::Kjor(data, cli);
  EXPECT_EQ(s.kode, 0) << s.feil;
  EXPECT_NE(s.ut.find("\n150 værer\n"), std::string::npos) << s.ut;
  EXPECT_EQ(s.feil.rfind("Advarsel: ", 0), 0u) << s.feil;
  EXPECT_NE(s.feil.find("100 byte"), std::string::npos) << s.feil;
  EXPECT_EQ(std::count(s.feil.begin(), s.feil.end(), '\n'), 1) << s.feil;
  EXPECT_EQ(Register(), fil);
}

// "Les inn værer fra fil…" reads the same files as `hornstad-cli importer`,
// with the same result and the same messages.
TEST_F(InnlesingTest, LesInnFraFilSomKommandolinja) {
  TestMappe cliData;
  const struct {
    const char* navn;
    fs::path fil;
    bool lykkes;
  } tilfeller[] = {
      {"arkiv", *rot_ / "Ullvik/hsTokk2.zip", true},
      {"eksport", *rot_ / "Vedder2.Tex", true},
      {"skadet arkiv", *rot_ / "skadet/Ullvik/hsTokk2.zip", false},
      {"arkiv uten eksport", *rot_ / "uten/Ullvik/hsTokk2.zip", false},
      {"fila finnes ikke", *rot_ / "finnes-ikke.zip", false},
  };
  const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    SkrivVerFil(data / "Verene.Dat", gamle);
    Program p(data.Sti(), Adresse());
    p.hoved.VelgVerfil = [&] { return QString::fromStdString(t.fil.string()); };
    p.hoved.LesFraFil->trigger();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

    SkrivVerFil(cliData / "Verene.Dat", gamle);
    const auto [kode, ut] =
        KjorUt(std::string(HS_CLI) + " --data " + Sitat(cliData.Sti()) + " importer " + Sitat(t.fil));
    EXPECT_EQ(kode, t.lykkes ? 0 : 1) << ut;
    EXPECT_EQ(Register(), LesHeleFila(cliData / "Verene.Dat")) << "the same register as the command-line tool";
    if (t.lykkes) {
      EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
      EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(ventet) + " værer ");
      EXPECT_TRUE(p.hoved.Kartotekoppslag->isEnabled());
      EXPECT_TRUE(fs::exists(t.fil)) << "the user's own file stays";
    } else {
      ASSERT_EQ(p.meldinger.size(), 1);
      EXPECT_EQ(p.meldinger[0].toStdString() + "\n", ut) << "the same message as the command-line tool";
      EXPECT_EQ(Register(), GamleBytes());
      EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
    }
    EXPECT_NE(p.okt.Register(), nullptr);
    EXPECT_FALSE(fs::exists(data / "Verene.Dat.ny"));
  }

  // Nothing chosen: nothing happens.
  SkrivVerFil(data / "Verene.Dat", gamle);
  Program p(data.Sti(), Adresse());
  TProdusent* registeret = p.okt.Register();
  p.hoved.VelgVerfil = [] { return QString(); };
  p.hoved.LesFraFil->trigger();
  EXPECT_TRUE(p.meldinger.isEmpty());
  EXPECT_EQ(p.okt.Register(), registeret);
  EXPECT_EQ(Register(), GamleBytes());
}

TEST_F(InnlesingTest, FilSlippPaaHovedvinduetLesesInnEtterSpoersmaal) {
  Program p(data.Sti(), Adresse());
  QStringList sporsmaal;
  p.hoved.Bekreft = [&](const QString& t) {
    sporsmaal << t;
    return p.svar;
  };
  const auto slipp = [&](const QList<QUrl>& urler) {
    QMimeData mime;
    mime.setUrls(urler);
    QDragEnterEvent inn(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.hoved, &inn);
    if (!inn.isAccepted()) return false;
    QDropEvent slippet(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.hoved, &slippet);
    return true;
  };
  const QUrl arkiv = QUrl::fromLocalFile(QString::fromStdString((*rot_ / "Ullvik/hsTokk2.zip").string()));
  EXPECT_FALSE(slipp({QUrl("http://127.0.0.1/hsTokk2.zip")})) << "only a local file";
  EXPECT_FALSE(slipp({arkiv, arkiv})) << "only one file";
  EXPECT_TRUE(sporsmaal.isEmpty());

  p.svar = false;
  ASSERT_TRUE(slipp({arkiv}));
  ASSERT_EQ(sporsmaal.size(), 1);
  EXPECT_TRUE(sporsmaal[0].contains("«hsTokk2.zip»")) << sporsmaal[0].toStdString();
  EXPECT_EQ(Register(), GamleBytes());

  p.svar = true;
  ASSERT_TRUE(slipp({arkiv}));
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
  const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();
  EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(ventet) + " værer ");
}

// The import over https, from servers with the certificates of
// tests/lag-sertifikater.sh: the register is replaced only from a server
// whose certificate is trusted, and stays as it was on every failure.
class HttpsInnlesingTest : public InnlesingTest {
 protected:
  enum Tjener { Gyldig, Annen, Feilvert, Utlopt, Selvsignert, Antall };

  static void SetUpTestSuite() {
    InnlesingTest::SetUpTestSuite();
    sertifikater_ = new TestMappe;
    ASSERT_EQ(Kjor("bash " HS_LAGSERT " " + Sitat(sertifikater_->Sti())), 0);
    const char* navn[] = {"gyldig", "annen", "feilvert", "utlopt", "selvsignert"};
    for (int i = 0; i < Antall; ++i)
      tjenere_[i] = new Tjenerprosess({"python3", "-u", HS_TLSTJENER, rot_->Sti().string(),
                                       Sert(std::string(navn[i]) + ".pem"), Sert(std::string(navn[i]) + ".key")});
  }
  static void TearDownTestSuite() {
    for (Tjenerprosess*& t : tjenere_) {
      delete t;
      t = nullptr;
    }
    delete sertifikater_;
    InnlesingTest::TearDownTestSuite();
  }
  void SetUp() override {
    InnlesingTest::SetUp();
    for (Tjenerprosess* t : tjenere_) ASSERT_GT(t->Port(), 0) << "tlstjener.py startet ikke";
  }
  static std::string Sert(const std::string& navn) { return (*sertifikater_ / navn).string(); }
  static std::string Https(Tjener t) { return "https://127.0.0.1:" + std::to_string(tjenere_[t]->Port()); }

  static inline TestMappe* sertifikater_ = nullptr;
  static inline Tjenerprosess* tjenere_[Antall] = {};
};

TEST_F(HttpsInnlesingTest, KommandolinjaGodtarBareGodkjenteSertifikater) {
  const std::string cli = std::string(HS_CLI) + " --data " + Sitat(data.Sti());
  const struct {
    const char* navn;
    Tjener tjener;
    std::string valg;   // after the address
    const char* grunn;  // part of the message
  } feil[] = {
      {"uten den ekstra fila", Gyldig, "", "utsteder som maskinen ikke stoler på"},
      {"ukjent utsteder", Annen, " --ca " + Sitat(Sert("ca.pem")), "utsteder som maskinen ikke stoler på"},
      {"selvsignert", Selvsignert, " --ca " + Sitat(Sert("ca.pem")), "selvsignert"},
      {"feil vertsnavn", Feilvert, " --ca " + Sitat(Sert("ca.pem")), "gjelder ikke for navnet 127.0.0.1"},
      {"utløpt", Utlopt, " --ca " + Sitat(Sert("ca.pem")), "er utløpt"},
  };
  for (const auto& t : feil) {
    SCOPED_TRACE(t.navn);
    const auto [kode, ut] = KjorUt(cli + " hent --adresse " + Https(t.tjener) + t.valg);
    EXPECT_EQ(kode, 1) << ut;
    EXPECT_EQ(ut.rfind("Kunne ikke hente " + Https(t.tjener) + "/Ullvik/hsTokk2.zip: Den sikre forbindelsen", 0), 0u)
        << ut;
    EXPECT_NE(ut.find(t.grunn), std::string::npos) << ut;
    EXPECT_NE(ut.find("Værregisteret er uendret."), std::string::npos) << ut;
    EXPECT_EQ(Register(), GamleBytes());
    EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));
  }

  // The organisation's certificate authority, given with --ca or in Hornstad.Ini.
  const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();
  auto [kode, ut] = KjorUt(cli + " hent --adresse " + Https(Gyldig) + " --ca " + Sitat(Sert("ca.pem")));
  EXPECT_EQ(kode, 0) << ut;
  EXPECT_EQ(ut, std::to_string(ventet) + " værer\n");
  const std::string fraNett = Register();
  SkrivVerFil(data / "Verene.Dat", gamle);
  {
    QSettings ini(QString::fromStdString((data / "Hornstad.Ini").string()), InnstillingsFormat());
    ini.setValue("Nett/Adresse", QString::fromStdString(Https(Gyldig)));
    ini.setValue("Nett/Sertifikat", QString::fromStdString(Sert("ca.pem")));
  }
  std::tie(kode, ut) = KjorUt(cli + " hent");
  EXPECT_EQ(kode, 0) << ut;
  EXPECT_EQ(Register(), fraNett);
}

TEST_F(HttpsInnlesingTest, VinduetHenterOverHttpsOgSierHvorforDetIkkeGaar) {
  {
    Program p(data.Sti(), Https(Gyldig), Sert("ca.pem"));
    p.hoved.LeggInn->trigger();
    EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
    const std::size_t ventet = KonverterEksport(LagEksport(400, 3)).size();
    EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(ventet) + " værer ");
  }
  SkrivVerFil(data / "Verene.Dat", gamle);
  for (const Tjener t : {Utlopt, Feilvert}) {
    SCOPED_TRACE(t);
    Program p(data.Sti(), Https(t), Sert("ca.pem"));
    QString grunn;
    p.AvbrytNaar([&] {
      grunn = p.nedlast->Grunn->text();
      return p.nedlast->Status->text() == "Kunne ikke fullføre";
    });
    p.hoved.LeggInn->trigger();
    EXPECT_TRUE(grunn.startsWith("Den sikre forbindelsen til 127.0.0.1:")) << grunn.toStdString();
    EXPECT_TRUE(grunn.contains(t == Utlopt ? "er utløpt" : "gjelder ikke for navnet")) << grunn.toStdString();
    ASSERT_EQ(p.meldinger.size(), 1) << p.meldinger.join("|").toStdString();
    EXPECT_TRUE(p.meldinger[0].startsWith("Fikk ikke lagret fila:"));
    EXPECT_EQ(Register(), GamleBytes());
    EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
    EXPECT_FALSE(fs::exists(data / "Nyverer.Zip"));
  }
}
