// The main window under the offscreen platform.
#include "skall.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <fstream>

#include "eksempeldata.h"
#include "filer.h"
#include "hovedbilde.h"
#include "inifil.h"
#include "register.h"
#include "testmappe.h"
#include "tformkatalog.h"
#include "tformles.h"
#include "tformnedlast.h"
#include "tformvaer.h"
#include "tformver.h"
#include "tintedit.h"

namespace fs = std::filesystem;

namespace {

std::vector<TVerPost> Verer(int antall) {
  std::vector<TVerPost> v;
  for (int i = 0; i < antall; ++i) {
    TVerPost p = TomVerPost();
    p.Nummer = 2000 + i;
    p.Navn.Sett("VER" + std::to_string(i));
    v.push_back(p);
  }
  return v;
}

// The program's windows as the program entry makes them.
struct Program {
  explicit Program(const fs::path& mappe) : okt(mappe), ver(okt), katalog(okt), hoved(okt) {
    hoved.OmBoks = LagOmBoks(&hoved);
    hoved.FormVer = &ver;
    hoved.FormKatalog = &katalog;
    hoved.FormNedlast = new TFormNedlast(&hoved);
    hoved.FormLes = new TFormLes1(&hoved);
    hoved.FormSemReg = &semreg;
    hoved.Melding = [this](const QString& t) { meldinger << t; };
    hoved.Feilmelding = [this](const QString& t) { meldinger << t; };
    hoved.SporJaNei = [this](const QString& t) {
      sporsmal << t;
      return false;
    };
  }
  void Vis() {
    hoved.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&hoved));
  }
  TOkt okt;
  TFormVer ver;
  TFormKatalog katalog;
  QWidget semreg;
  TFormVaer hoved;
  QStringList meldinger;
  QStringList sporsmal;
};

// With HORNSTAD_SKJERMBILDER set to a folder, windows are saved there as PNG.
void Skjermbilde(QWidget* w, const char* navn) {
  const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER");
  if (mappe == nullptr) return;
  w->grab().save(QString(mappe) + "/" + navn + ".png");
}

}  // namespace

TEST(SkallTest, TeksterOgRegler) {
  EXPECT_EQ(Hovedtittel(), "Hornstad. Versjon 3.3 03. sep 2008");
  EXPECT_EQ(StatusTekst(2345, "Alt."), "2345 værer Alt.");
  EXPECT_EQ(StatusTekst(0, ""), "0 værer ");
  EXPECT_FALSE(OppslagTillatt(100));
  EXPECT_TRUE(OppslagTillatt(101));
  EXPECT_EQ(KortArkivnavn("Alt.Zip"), "Alt.");
  EXPECT_EQ(KortArkivnavn("a.b.c"), "a.");
  EXPECT_EQ(KortArkivnavn("Uten"), "Uten");
}

TEST(SkallTest, StatuslinjeOgOppslagFolgerRegisteret) {
  for (int antall : {0, 100, 101}) {
    SCOPED_TRACE(antall);
    TestMappe m;
    if (antall > 0) SkrivVerFil(m / "Verene.Dat", Verer(antall));
    Program p(m.Sti());
    EXPECT_EQ(p.hoved.StatusLinje->text(), "Ingen værer inne");
    p.Vis();
    EXPECT_EQ(p.hoved.windowTitle(), "Hornstad. Versjon 3.3 03. sep 2008");
    EXPECT_EQ(p.hoved.StatusLinje->text(), QString::number(antall) + " værer ");
    EXPECT_EQ(p.hoved.Kartotekoppslag->isEnabled(), antall > 100);
    EXPECT_EQ(p.hoved.Katalog->isEnabled(), antall > 100);
    EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
    if (antall == 101) Skjermbilde(&p.hoved, "hovedvindu");
  }
}

TEST(SkallTest, SkjulteHandlingerFinnesMenVisesIkke) {
  TestMappe m;
  Program p(m.Sti());
  p.Vis();
  EXPECT_FALSE(p.hoved.HentHornstad->isVisible());
  EXPECT_FALSE(p.hoved.HenteInn->isVisible());
  EXPECT_FALSE(p.hoved.Registrering->menuAction()->isVisible());
  EXPECT_FALSE(p.hoved.Registrering->menuAction()->isEnabled());
  EXPECT_TRUE(p.hoved.LeggInn->isVisible());
  EXPECT_EQ(p.hoved.Avslutt->statusTip(), "Lukk programmet");
  const QList<QAction*> handlinger = p.hoved.findChildren<QAction*>();
  EXPECT_TRUE(handlinger.contains(p.hoved.HentHornstad));
  EXPECT_GE(p.hoved.minimumWidth(), 521);
  EXPECT_LE(p.hoved.maximumWidth(), 590);
  EXPECT_EQ(p.hoved.minimumHeight(), 323);
  EXPECT_EQ(p.hoved.maximumHeight(), 400);
}

// The address that the archive paths are added to: no blanks or '/' at its
// end, and the default when nothing is left.
TEST(SkallTest, Nettadressen) {
  TestMappe m;
  const struct {
    const char* verdi;
    QString ventet;
  } tilfeller[] = {
      {nullptr, StandardAdresse},
      {"http://tjener.example", "http://tjener.example"},
      {"  http://tjener.example/  ", "http://tjener.example"},
      {"http://tjener.example//", "http://tjener.example"},
      {"http://tjener.example/ /", "http://tjener.example"},
      {" : /", ":"},
      {" / ", StandardAdresse},
      {"", StandardAdresse},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.verdi ? t.verdi : "(ingen)");
    const QString fil = QString::fromStdString((m / "Hornstad.Ini").string());
    {
      QSettings ini(fil, InnstillingsFormat());
      ini.clear();
      if (t.verdi) ini.setValue("Nett/Adresse", QString::fromUtf8(t.verdi));
    }
    const QSettings ini(fil, InnstillingsFormat());
    EXPECT_EQ(Nettadresse(ini), t.ventet);
  }
}

TEST(SkallTest, VinduerFlyttesInnPaaSkjermen) {
  const QRect en(0, 0, 1920, 1080);
  const QRect to(1920, 0, 1280, 1024);
  const QRect medPanel(0, 32, 1366, 736);  // a panel along the top
  const struct {
    const char* navn;
    QRect lagret;
    QList<QRect> skjermer;
    QRect ventet;
  } tilfeller[] = {
      {"på skjermen", {100, 120, 700, 500}, {en}, {100, 120, 700, 500}},
      {"helt inntil kantene", {0, 0, 1920, 1080}, {en}, {0, 0, 1920, 1080}},
      {"til høyre for skjermen", {3000, 200, 700, 500}, {en}, {1220, 200, 700, 500}},
      {"langt opp til venstre", {-5000, -4000, 700, 500}, {en}, {0, 0, 700, 500}},
      {"delvis under skjermen", {100, 900, 700, 500}, {en}, {100, 580, 700, 500}},
      {"høyere enn skjermen", {100, 100, 700, 2000}, {en}, {100, 0, 700, 1080}},
      {"større enn skjermen", {-10, -10, 4000, 3000}, {en}, {0, 0, 1920, 1080}},
      {"under panelet", {100, 0, 700, 500}, {medPanel}, {100, 32, 700, 500}},
      {"høyere enn plassen under panelet", {100, 10, 700, 900}, {medPanel}, {100, 32, 700, 736}},
      {"på den andre skjermen", {2000, 100, 700, 500}, {en, to}, {2000, 100, 700, 500}},
      {"over begge skjermene", {1600, 100, 700, 500}, {en, to}, {1600, 100, 700, 500}},
      {"fra en tredje skjerm som er borte", {3400, 100, 700, 500}, {en, to}, {2500, 100, 700, 500}},
      {"delvis under den lave andre skjermen", {2000, 900, 700, 500}, {en, to}, {2000, 524, 700, 500}},
      {"mest på den første", {1500, 900, 700, 500}, {en, to}, {1220, 580, 700, 500}},
      {"den andre skjermen er borte", {2000, 100, 700, 500}, {en}, {1220, 100, 700, 500}},
      {"ingen skjermer", {5000, 5000, 700, 500}, {}, {5000, 5000, 700, 500}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    const QRect r = PaaSkjermen(t.lagret, t.skjermer);
    EXPECT_EQ(r, t.ventet) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
  }
}

TEST(SkallTest, RammenRegnesMedNaarVinduetFlyttesInn) {
  // The inside of a window and the frame round it: a title bar of 20 and
  // borders of 1 (5 below), as Openbox draws them.
  const QRect skjerm(0, 0, 1920, 1080);
  const QMargins openbox(1, 20, 1, 5);
  const struct {
    const char* navn;
    QRect inni;
    QMargins ramme;
    QRect ventet;
  } tilfeller[] = {
      {"på skjermen med rammen", {100, 120, 700, 500}, openbox, {100, 120, 700, 500}},
      {"innsiden er på skjermen, nederste kant ikke", {100, 576, 700, 500}, openbox, {100, 575, 700, 500}},
      {"under skjermen", {100, 900, 700, 500}, openbox, {100, 575, 700, 500}},
      {"høyere enn skjermen", {100, 0, 700, 1080}, openbox, {100, 20, 700, 1055}},
      {"tittellinja over skjermen", {100, 10, 700, 500}, openbox, {100, 20, 700, 500}},
      {"høyre kant utenfor", {1300, 100, 620, 400}, openbox, {1299, 100, 620, 400}},
      {"uten ramme", {100, 900, 700, 500}, {}, {100, 580, 700, 500}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    const QRect r = PaaSkjermen(t.inni, t.ramme, {skjerm});
    EXPECT_EQ(r, t.ventet) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_TRUE(skjerm.contains(r.marginsAdded(t.ramme)));
  }
}

// Settings from a larger monitor: every window opens on the screen, and the
// place it got is what is saved.
TEST(SkallTest, VinduerUtenforSkjermenKommerInnPaaDen) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  const QString ini = QString::fromStdString((m / "Hornstad.Ini").string());
  {
    QSettings s(ini, InnstillingsFormat());
    SkrivPlass(s, "Hoved", QRect(5000, -4000, 0, 0), false);
    SkrivPlass(s, "Ver", QRect(-3000, 6000, 700, 5000), true);
    SkrivPlass(s, "Katalog", QRect(2500, 100, 640, 470), true);
  }
  const QRect skjerm = QGuiApplication::primaryScreen()->availableGeometry();
  {
    Program p(m.Sti());
    p.Vis();
    p.hoved.Kartotekoppslag->trigger();
    p.hoved.Katalog->trigger();
    for (QWidget* w :
         {static_cast<QWidget*>(&p.hoved), static_cast<QWidget*>(&p.ver), static_cast<QWidget*>(&p.katalog)}) {
      SCOPED_TRACE(w->windowTitle().toStdString());
      ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
      // Under a window manager the frame comes a moment after the window
      // shows, and the window moves in once it has come.
      EXPECT_TRUE(QTest::qWaitFor([&] { return skjerm.contains(w->frameGeometry()); }, 3000))
          << w->frameGeometry().x() << "," << w->frameGeometry().y() << " " << w->frameGeometry().width() << "x"
          << w->frameGeometry().height();
    }
    EXPECT_EQ(p.ver.frameGeometry().height(), skjerm.height()) << "as tall as the screen";
    EXPECT_EQ(p.katalog.height(), 470) << "a window that fits keeps its size";
    p.hoved.close();
  }
  QSettings s(ini, InnstillingsFormat());
  for (const char* seksjon : {"Hoved", "Ver", "Katalog"}) {
    SCOPED_TRACE(seksjon);
    const TPlass plass = LesPlass(s, seksjon);
    ASSERT_TRUE(plass.left && plass.top);
    EXPECT_TRUE(skjerm.contains(QPoint(*plass.left, *plass.top)));
  }
  EXPECT_LE(*LesPlass(s, "Ver").hog, skjerm.height());
  EXPECT_GT(*LesPlass(s, "Ver").hog, skjerm.height() - 100);
}

TEST(SkallTest, PlasseringLagresOgHentesVedNesteStart) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  {
    Program p(m.Sti());
    p.Vis();
    p.hoved.move(40, 50);
    p.hoved.Kartotekoppslag->trigger();
    EXPECT_TRUE(p.ver.isVisible());
    EXPECT_FALSE(p.ver.Endre->isVisible());
    EXPECT_FALSE(p.ver.Endrealt->isVisible());
    p.ver.setGeometry(80, 120, 700, 500);
    p.katalog.setGeometry(150, 220, 640, 470);
    p.hoved.close();
  }
  {
    QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat());
    EXPECT_EQ(ini.value("Ver/Bred").toInt(), 700);
    EXPECT_EQ(ini.value("Katalog/Hog").toInt(), 470);
    EXPECT_EQ(ini.value("Nett/Adresse").toString(), StandardAdresse);
    ini.setValue("Hoved/Siste", "Alt.");
  }
  Program p(m.Sti());
  p.Vis();
  p.hoved.Kartotekoppslag->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.ver));
  EXPECT_EQ(p.ver.size(), QSize(700, 500));
  EXPECT_EQ(p.ver.geometry().topLeft(), QPoint(80, 120));
  EXPECT_EQ(p.katalog.size(), QSize(640, 470));
  EXPECT_EQ(p.katalog.geometry().topLeft(), QPoint(150, 220)) << "placed even before it is shown";
  EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer Alt.");
}

// The start-up runs at the first showing only: a minimise and restore, or a
// hide and show by the desktop, neither loads the register again nor places
// the windows from Hornstad.Ini again.
TEST(SkallTest, OppstartenKjoresBareVedForsteVisning) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  {
    QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat());
    SkrivPlass(ini, "Hoved", QRect(30, 40, 0, 0), false);
    SkrivPlass(ini, "Ver", QRect(100, 120, 500, 400), true);
  }
  Program p(m.Sti());
  p.Vis();
  TProdusent* registeret = p.okt.Register();
  ASSERT_NE(registeret, nullptr);
  EXPECT_EQ(p.ver.pos(), QPoint(100, 120));
  // The user moves the windows, and the file on disk changes under the program.
  p.hoved.move(60, 70);
  p.ver.move(210, 220);
  SkrivVerFil(m / "Verene.Dat", Verer(300));
  for (const bool minimer : {true, false}) {
    SCOPED_TRACE(minimer ? "minimert" : "skjult");
    if (minimer) {
      p.hoved.setWindowState(p.hoved.windowState() | Qt::WindowMinimized);
      QCoreApplication::processEvents();
      p.hoved.setWindowState(p.hoved.windowState() & ~Qt::WindowMinimized);
    } else {
      p.hoved.hide();
      QCoreApplication::processEvents();
      p.hoved.show();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(p.okt.Register(), registeret) << "the register was loaded again";
    EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
    EXPECT_EQ(p.hoved.pos(), QPoint(60, 70));
    EXPECT_EQ(p.ver.pos(), QPoint(210, 220));
  }
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
}

TEST(SkallTest, HovedvinduetKommerFramNaarProgrammetStartesIgjen) {
  TestMappe m;
  Program p(m.Sti());
  p.hoved.KomFram();
  EXPECT_FALSE(p.hoved.isVisible()) << "before the start-up the window is not shown";
  EXPECT_EQ(p.okt.Register(), nullptr);
  p.Vis();
  const struct {
    const char* hva;
    Qt::WindowStates foer, etter;
  } tilfeller[] = {
      {"minimised", Qt::WindowMinimized, Qt::WindowNoState},
      {"maximised and minimised", Qt::WindowMaximized | Qt::WindowMinimized, Qt::WindowMaximized},
      {"behind other windows", Qt::WindowNoState, Qt::WindowNoState},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.hva);
    p.hoved.setWindowState(c.foer);
    QCoreApplication::processEvents();
    p.hoved.KomFram();
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.hoved.isVisible());
    EXPECT_EQ(p.hoved.windowState() & ~Qt::WindowActive, c.etter);
  }
}

TEST(SkallTest, KatalogFaarRaselistaOgOmBoksenVersjonen) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  IMappe i(m.Sti());  // no Rasene.Nav here
  Program p(m.Sti());
  p.Vis();
  p.hoved.Katalog->trigger();
  EXPECT_TRUE(p.katalog.isVisible());
  ASSERT_EQ(p.katalog.TaRase->count(), 27);
  EXPECT_EQ(p.katalog.TaRase->item(4)->text(), "Spælsau");
  p.hoved.Katalog->trigger();
  EXPECT_EQ(p.katalog.TaRase->count(), 27) << "filled only once";
  auto* versjon = p.hoved.OmBoks->findChild<QLabel*>("Versjon");
  ASSERT_NE(versjon, nullptr);
  EXPECT_EQ(versjon->text(), "Versjon 3.3 03. sep 2008");
  Skjermbilde(p.hoved.OmBoks, "omboks");
}

TEST(SkallTest, UlesbartRegisterGirMeldingOgProgrammetGaarVidere) {
  TestMappe m;
  fs::create_directory(m / "Verene.Dat");
  Program p(m.Sti());
  p.Vis();
  ASSERT_EQ(p.meldinger.size(), 1);
  EXPECT_TRUE(p.meldinger[0].contains("værregisteret")) << p.meldinger[0].toStdString();
  EXPECT_EQ(p.hoved.StatusLinje->text(), "0 værer ");
  EXPECT_FALSE(p.hoved.Kartotekoppslag->isEnabled());
}

TEST(SkallTest, OppslagOgKatalogFraHovedvinduet) {
  TestMappe m;
  SkrivEksempeldata(400, 5, m.Sti(), true);
  IMappe i(m.Sti());
  Program p(m.Sti());
  p.Vis();
  ASSERT_TRUE(p.hoved.Kartotekoppslag->isEnabled());
  // The lookup window gets the register from the main window.
  p.hoved.Kartotekoppslag->trigger();
  p.ver.Evernum->SettVerdi(p.okt.Register()->RamNumbers().back());
  p.ver.LetClick();
  EXPECT_GT(p.ver.GjeldendeVer().Nummer, 0);
  EXPECT_TRUE(p.ver.Avkom->isEnabled());
  // So does the catalogue window, with the settings file for its table fields.
  p.hoved.Katalog->trigger();
  p.katalog.Fylker->item(0)->setCheckState(Qt::Checked);
  p.katalog.TaRase->item(0)->setCheckState(Qt::Checked);
  p.katalog.Semin->setChecked(true);
  ASSERT_TRUE(p.katalog.vis->isEnabled());
  p.katalog.vis->click();
  EXPECT_GT(p.katalog.LinjeAntall(), 13);
  EXPECT_TRUE(std::filesystem::exists(m / "VerKat.txt"));
}

namespace {

QToolButton* Menyknapp(TFormVaer& hoved, const QString& tekst) {
  for (auto* b : hoved.findChild<QToolBar*>("Meny")->findChildren<QToolButton*>())
    if (b->text() == tekst) return b;
  return nullptr;
}

}  // namespace

TEST(SkallTest, FulltOppsettViserDetSkjulte) {
  for (const bool fullt : {false, true}) {
    SCOPED_TRACE(fullt);
    TestMappe m;
    SkrivVerFil(m / "Verene.Dat", Verer(150));
    if (fullt)
      QSettings(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat()).setValue("Hoved/Fullt", 1);
    Program p(m.Sti());
    p.Vis();
    EXPECT_EQ(p.hoved.Fullt(), fullt);
    EXPECT_EQ(p.hoved.HentHornstad->isVisible(), fullt);
    EXPECT_EQ(p.hoved.HenteInn->isVisible(), fullt);
    EXPECT_EQ(p.hoved.Registrering->menuAction()->isVisible(), fullt);
    EXPECT_EQ(p.hoved.Registrering->menuAction()->isEnabled(), fullt);
    QToolButton* registrering = Menyknapp(p.hoved, "Registrering");
    ASSERT_NE(registrering, nullptr);
    EXPECT_EQ(registrering->isVisible(), fullt);
    // The Arkiv menu as the user sees it.
    QMenu* arkiv = Menyknapp(p.hoved, "Arkiv")->menu();
    QStringList synlige;
    for (QAction* a : arkiv->actions())
      if (a->isVisible()) synlige << (a->isSeparator() ? "-" : a->text());
    const QStringList grunnmeny = {"Legg in værer fra internett", "Les inn værer fra fil…", "Søyer…", "-", "Avslutt"};
    const QStringList fullMeny = {
        "Hent Hornstad på internett", grunnmeny[0], grunnmeny[1], "Hente inn værer", "Søyer…", "-", "Avslutt"};
    EXPECT_EQ(synlige, fullt ? fullMeny : grunnmeny);
    if (!fullt) {
      arkiv->popup(p.hoved.mapToGlobal(QPoint(10, 30)));
      ASSERT_TRUE(QTest::qWaitForWindowExposed(arkiv));
      Skjermbilde(arkiv, "arkivmeny");
      arkiv->hide();
    }
    EXPECT_EQ(p.hoved.FormLes->windowTitle(), fullt ? "Lese nye data" : "Lese inn værer");
    p.hoved.Kartotekoppslag->trigger();
    EXPECT_EQ(p.ver.Endre->isVisible(), fullt);
    EXPECT_EQ(p.ver.Endrealt->isVisible(), fullt);
    if (fullt) {
      p.hoved.Semin->trigger();
      EXPECT_TRUE(p.semreg.isVisible()) << "Semin opens the insemination window";
      Skjermbilde(&p.hoved, "hovedvindu-fullt");
    }
  }
}

TEST(SkallTest, HenteInnVererLeserLammedataOgLasterRegisteret) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  QSettings(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat()).setValue("Hoved/Fullt", 1);
  // The lamb archive as the download leaves it.
  fs::create_directories(m / "kilde");
  m.Skriv("kilde/Lam12.Dos", "1201;2;3\r\n");
  m.Skriv("kilde/medlem.Dos", "1201;Per\r\n");
  ASSERT_EQ(Kjor(m, "cd kilde && zip -q ../Alt.Zip Lam12.Dos medlem.Dos").kode, 0);
  Program p(m.Sti());
  p.Vis();
  TFormLes1* les = p.hoved.FormLes;
  QTimer::singleShot(0, les, [&] {
    EXPECT_FALSE(p.okt.Register()) << "the register is closed while the window is open";
    les->Apne->click();
    ASSERT_EQ(les->ListFant->count(), 1);
    les->ListFant->item(0)->setCheckState(Qt::Checked);
    les->LesDet->click();
    les->Lukk->click();
  });
  p.hoved.HenteInn->trigger();
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
  ASSERT_TRUE(p.okt.Register());
  EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer Alt.");
  EXPECT_TRUE(fs::exists(m / ("Lamma" + std::to_string(QDate::currentDate().year()) + ".Dat")));
  EXPECT_EQ(fs::file_size(m / "Produsenter.Dat"), ProdusentPostStorrelse);
  EXPECT_FALSE(fs::exists(m / "OpPakket/Lam12.Dos"));
  EXPECT_TRUE(p.hoved.Kartotekoppslag->isEnabled());

  // Closed without reading: the last archive name stays.
  QTimer::singleShot(0, les, [&] { les->Lukk->click(); });
  p.hoved.HenteInn->trigger();
  EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer Alt.");
}

TEST(SkallTest, QtsEgneKnapperErNorske) {
  ASSERT_TRUE(LastNorskeQtTekster()) << "qt6-translations-l10n is installed by scripts/setup";
  const QString avbryt = QCoreApplication::translate("QPlatformTheme", "Cancel");
  EXPECT_EQ(avbryt, "Avbryt");
  EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Save"), "Save");
}

// A register whose size is not a whole number of records: its whole records
// are read, and the user is told once at start and once after an import,
// while the file stays as it is.
TEST(SkallTest, RestbytesIRegisteretGirMeldingVedStartOgEtterInnlesing) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  std::ofstream(m / "Verene.Dat", std::ios::binary | std::ios::app) << std::string(100, '\x7F');
  const std::string fil = LesHeleFila(m / "Verene.Dat");
  Program p(m.Sti());
  p.Vis();
  ASSERT_EQ(p.meldinger.size(), 1) << p.meldinger.join("|").toStdString();
  const QString melding = p.meldinger[0];
  EXPECT_TRUE(melding.contains("100 byte")) << melding.toStdString();
  EXPECT_TRUE(melding.contains("150 hele")) << melding.toStdString();
  EXPECT_EQ(p.hoved.StatusLinje->text(), "150 værer ");
  EXPECT_TRUE(p.hoved.Kartotekoppslag->isEnabled());
  if (std::getenv("HORNSTAD_SKJERMBILDER")) {
    QMessageBox boks(QMessageBox::Information, "Hornstad", melding, QMessageBox::Ok, &p.hoved);
    boks.show();
    Skjermbilde(&boks, "restbytes");
  }

  // The download is declined: the register is opened again and tells again.
  p.hoved.Bekreft = [](const QString&) { return false; };
  p.hoved.LeggInn->trigger();
  ASSERT_EQ(p.meldinger.size(), 3) << p.meldinger.join("|").toStdString();
  EXPECT_TRUE(p.meldinger[1].startsWith("Fikk ikke lagret fila:"));
  EXPECT_EQ(p.meldinger[2], melding);
  p.hoved.close();
  EXPECT_EQ(LesHeleFila(m / "Verene.Dat"), fil);

  // A whole register says nothing.
  std::filesystem::resize_file(m / "Verene.Dat", 150 * sizeof(TVerPost));
  Program hel(m.Sti());
  hel.Vis();
  EXPECT_TRUE(hel.meldinger.isEmpty()) << hel.meldinger.join("|").toStdString();
}

// Qt's own dialogs speak Bokmål like the program; the system's Nynorsk only
// fills what the program's texts leave out.
TEST(SkallTest, QtsEgneDialogerErPaaBokmaal) {
  ASSERT_TRUE(LastNorskeQtTekster());
  const struct {
    const char* kontekst;
    const char* kilde;
    const char* ventet;
  } tekster[] = {
      {"QPlatformTheme", "Save", "Lagre"},
      {"QPlatformTheme", "Open", "Åpne"},
      {"QPlatformTheme", "Cancel", "Avbryt"},
      {"QFileDialog", "Look in:", "Se i:"},
      {"QFileDialog", "File &name:", "Fil&navn:"},
      {"QFileDialog", "&Save", "&Lagre"},
      {"QFileSystemModel", "Name", "Navn"},
      {"QMessageBox", "Show Details...", "Vis detaljer …"},
      {"QPrintDialog", "&Print", "&Skriv ut"},
      {"QPageSetupWidget", "Height:", "Høyde:"},
      {"QLineEdit", "&Undo", "&Angre"},
      {"QWidgetTextControl", "&Redo", "&Gjør om"},
      {"QShortcut", "Right", "Pil høyre"},
      // Not among the program's own texts: the Nynorsk one, not English.
      {"QShortcut", "Media Play", "Media spel"},
  };
  for (const auto& t : tekster)
    EXPECT_EQ(QCoreApplication::translate(t.kontekst, t.kilde).toStdString(), t.ventet) << t.kilde;
  // The Type column of the file dialog, which neither Nynorsk nor English had.
  EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms").toStdString(),
            "Mappe");

  // The save dialog as the table window's "Lagre" opens it.
  QFileDialog dialog(nullptr, "Lagre tabellen");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter("Tekstfiler (*.txt)");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QStringList sett;
  for (const QLabel* l : dialog.findChildren<QLabel*>())
    if (l->isVisible()) sett << l->text();
  for (const QAbstractButton* b : dialog.findChildren<QPushButton*>())
    if (b->isVisible()) sett << b->text();
  for (const char* bokmaal : {"Se i:", "Fil&navn:", "Filtype:", "&Lagre", "Avbryt"})
    EXPECT_TRUE(sett.contains(QString::fromUtf8(bokmaal))) << bokmaal << ": " << sett.join(" | ").toStdString();
  for (const char* nynorsk : {"Leit i:", "Fil&namn:", "&Lagra", "Lagra"})
    EXPECT_FALSE(sett.contains(QString::fromUtf8(nynorsk))) << nynorsk;
  Skjermbilde(&dialog, "lagredialog");
}

// Every menu is reached from the keyboard, as in a menu bar: Alt and the
// menu's letter, F10 for the first, Left and Right between them (the hidden
// "Registrering" passed over), Enter on an entry.
TEST(SkallTest, MenyeneNaasMedTastaturet) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", Verer(150));
  Program p(m.Sti());
  p.Vis();
  p.hoved.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.hoved));
  const auto aapen = [] {
    auto* meny = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return meny ? meny->title() : QString();
  };
  QTest::keyClick(&p.hoved, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(aapen(), "&Arkiv");
  const struct {
    Qt::Key tast;
    const char* meny;
  } steg[] = {{Qt::Key_Right, "&Oppslag"}, {Qt::Key_Right, "&Utlistinger"}, {Qt::Key_Right, "&Hjelp"},
              {Qt::Key_Right, "&Arkiv"},   {Qt::Key_Left, "&Hjelp"},        {Qt::Key_Left, "&Utlistinger"}};
  for (const auto& s : steg) {
    QWidget* meny = QApplication::activePopupWidget();
    ASSERT_NE(meny, nullptr);
    QTest::keyClick(meny, s.tast);
    EXPECT_EQ(aapen(), s.meny);
  }
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(&p.hoved, Qt::Key_F10);
  EXPECT_EQ(aapen(), "&Arkiv");
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  QTest::keyClick(&p.hoved, Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(aapen(), "") << "the hidden menu does not open";
  // Alt+O and Enter: the first entry, "Kartotekoppslag".
  QTest::keyClick(&p.hoved, Qt::Key_O, Qt::AltModifier);
  ASSERT_EQ(aapen(), "&Oppslag");
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&p.ver));
}
