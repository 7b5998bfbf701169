// The program's windows while other programs (hornstad-cli, an editor, a
// copy of the program that was open before) change the files they show:
// nothing saved elsewhere is lost, and open windows follow. Also the
// windows chosen again from the menu and their places across a restart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <cstdio>
#include <string>

#include "avlregister.h"
#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "inifil.h"
#include "lister.h"
#include "programvinduer.h"
#include "skall.h"
#include "soyer.h"
#include "testmappe.h"
#include "tgrid.h"
#include "tintedit.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

std::string Sitat(const fs::path& p) { return "'" + p.string() + "'"; }

// The program's windows over a data folder holding the hand-worked register;
// messages and questions are recorded and answered as the test says.
struct Program {
  explicit Program(const TestMappe& mappe) {
    p = std::make_unique<TProgramvinduer>(mappe.Sti());
    TFormVaer& h = p->hoved;
    h.Melding = h.Feilmelding = [this](const QString& t) { meldinger << t; };
    h.SporJaNei = [this](const QString& t) {
      sporsmal << t;
      return ja;
    };
    p->soyer.Melding = p->lister.Melding = [this](const QString& t) { meldinger << t; };
    p->soyer.Spor = [this](const QString& t) {
      sporsmal << t;
      return svar;
    };
    h.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&h));
  }
  ~Program() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<TVindu*>(w)) delete t;
  }
  std::unique_ptr<TProgramvinduer> p;
  QStringList meldinger, sporsmal;
  bool ja = false;
  int svar = -1;
};

struct Mappe {
  Mappe() { SkrivVerFil(m / "Verene.Dat", AvlRegister()); }
  TestMappe m;
  IMappe i{m.Sti()};  // the catalogue's own list lies in the working folder
};

// Waits (with the event loop running, so that the file watcher is heard)
// until `ferdig` holds, at most a few seconds.
bool VentPaa(const std::function<bool()>& ferdig) { return QTest::qWaitFor(ferdig, 5000); }

int KjorCli(const TestMappe& m, const std::string& argumenter) {
  return std::system(
      (std::string(HS_CLI) + " --data " + Sitat(m.Sti()) + " " + argumenter + " >/dev/null 2>&1").c_str());
}

std::vector<std::string> Soyenumre(const fs::path& mappe) {
  std::vector<std::string> n;
  for (const TSoye& s : LesSoyer(SoyeFil(mappe)).soyer) n.push_back(s.nummer);
  return n;
}

void Skriv(QLineEdit* felt, const QString& tekst) {
  felt->setFocus();
  felt->selectAll();
  QTest::keyClicks(felt, tekst);
}

}  // namespace

// A ewe the user adds in the "Søyer" window is saved with the ewe that
// another program saved to Soyer.Txt meanwhile, and a change saved elsewhere
// while the window holds nothing unsaved shows at once.
TEST(AndreProgram, SoyeLagretEtAnnetStedGaarIkkeTapt) {
  Mappe d;
  d.m.Skriv("Soyer.Txt", "1;2000;0\r\n");
  Program p(d.m);
  TFormSoyer& s = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
  Skriv(s.Nummer, "5");
  Skriv(s.Far, "3000");
  QTest::mouseClick(s.LeggTil, Qt::LeftButton);
  ASSERT_TRUE(s.Endret());

  // An editor (or hornstad-cli, or another copy) saves the file with a ewe of its own.
  d.m.Skriv("Soyer.Txt", "1;2000;0\r\n7;5000;0\r\n");
  ASSERT_TRUE(VentPaa([&] { return s.Status->text().contains("endret et annet sted"); }))
      << s.Status->text().toStdString();
  EXPECT_EQ(s.Soyer().size(), 2u) << "what is typed here stays until it is saved";
  QTest::mouseClick(s.Lagre, Qt::LeftButton);
  EXPECT_EQ(Soyenumre(d.m.Sti()), (std::vector<std::string>{"1", "7", "5"}));
  EXPECT_TRUE(p.sporsmal.isEmpty()) << "nothing to decide: each side added its own ewe";
  EXPECT_FALSE(s.Endret());
  EXPECT_EQ(s.Soyer().size(), 3u);

  // With nothing unsaved, the window shows the file as it is saved elsewhere.
  d.m.Skriv("Soyer.Txt", "1;2000;0\r\n7;5000;0\r\n5;3000;0\r\n8;1000;0\r\n");
  ASSERT_TRUE(VentPaa([&] { return s.Soyer().size() == 4u; }));
  EXPECT_EQ(s.Liste->Tekst(0, 4), "8");
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join("|").toStdString();
}

// An open "Lister" window shows a list that hornstad-cli changed.
TEST(AndreProgram, ListevinduetFolgerListerEndretAvVerktoyet) {
  Mappe d;
  Program p(d.m);
  TFormLister& l = p.p->lister;
  p.p->hoved.Lister->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
  ASSERT_EQ(l.Listene->count(), 0);
  ASSERT_EQ(KjorCli(d.m, "liste Reserve --legg-til 2000,3000"), 0);
  ASSERT_TRUE(VentPaa([&] { return l.Listene->count() == 1; }));
  EXPECT_EQ(l.Verer->count(), 2);
  EXPECT_TRUE(l.Verer->item(0)->text().contains("Rambo", Qt::CaseInsensitive))
      << l.Verer->item(0)->text().toStdString();
  ASSERT_EQ(KjorCli(d.m, "liste Reserve --fjern 2000"), 0);
  ASSERT_TRUE(VentPaa([&] { return l.Verer->count() == 1; }));
}

// A register that hornstad-cli importer puts in place while the program runs
// is offered for loading; loaded, it shows with the change report it made.
TEST(AndreProgram, RegisterFraVerktoyetTilbysOgLastesMedEndringene) {
  Mappe d;
  // A listed ram that the new export does not have.
  TLister lister;
  const int32_t nummer[] = {2000};
  lister.LeggTil("Reserve", nummer);
  SkrivLister(ListeFil(d.m.Sti()), lister);
  const std::string eksport = LagEksport(300, 5);
  d.m.Skriv("Vedder2.Tex", eksport);
  Program p(d.m);
  TFormVaer& h = p.p->hoved;
  ASSERT_EQ(h.StatusLinje->text(), "124 værer ");
  p.ja = true;
  ASSERT_EQ(KjorCli(d.m, "importer " + Sitat(d.m / "Vedder2.Tex")), 0);
  ASSERT_TRUE(VentPaa([&] { return !p.sporsmal.isEmpty(); }));
  EXPECT_TRUE(p.sporsmal.front().contains("byttet ut")) << p.sporsmal.front().toStdString();
  ASSERT_TRUE(VentPaa([&] { return h.StatusLinje->text() != "124 værer "; }));
  EXPECT_EQ(h.StatusLinje->text(), QString::number(p.p->okt.AntallVerer()) + " værer ");
  EXPECT_TRUE(p.p->okt.Register()->FilaErLastet());
  EXPECT_FALSE(h.EndringsVarsel->isHidden()) << "the change report of the lists is told";
  EXPECT_TRUE(h.Endringer->isEnabled());
  EXPECT_EQ(p.sporsmal.size(), 1) << "asked once";

  // Said no to: the register shown stays, and an edit of a record is refused, not lost.
  p.ja = false;
  ASSERT_EQ(KjorCli(d.m, "importer " + Sitat(d.m / "Vedder2.Tex")), 0);
  ASSERT_TRUE(VentPaa([&] { return p.sporsmal.size() == 2; }));
  QTest::qWait(300);
  EXPECT_FALSE(p.p->okt.Register()->FilaErLastet());
  EXPECT_THROW(p.p->okt.Register()->SkrivVed(0, p.p->okt.Register()->ReadAt(0)), IoFeil);
}

// The catalogue's own list, saved when its panel closes, keeps the entries
// that another program wrote to EgenVerer.Txt while the panel was open.
TEST(AndreProgram, EgenListeLagretEtAnnetStedGaarIkkeTapt) {
  Mappe d;
  d.m.Skriv("EgenVerer.Txt", "1000\r\n");
  Program p(d.m);
  TFormKatalog& k = p.p->katalog;
  p.p->hoved.Katalog->trigger();
  QTest::mouseClick(k.EgDef, Qt::LeftButton);
  ASSERT_EQ(k.MeVeLi->toPlainText(), "1000\n");
  k.MeVeLi->setPlainText("1000\n2000\n");
  d.m.Skriv("EgenVerer.Txt", "1000\r\n3000\r\n");
  QTest::mouseClick(k.BeLukk, Qt::LeftButton);
  EXPECT_EQ(LesHeleFila(d.m / "EgenVerer.Txt"), "1000\r\n3000\r\n2000\r\n");

  // An open panel with nothing typed follows the file.
  QTest::mouseClick(k.EgDef, Qt::LeftButton);
  d.m.Skriv("EgenVerer.Txt", "5000\r\n");
  ASSERT_TRUE(VentPaa([&] { return k.MeVeLi->toPlainText() == "5000\n"; })) << k.MeVeLi->toPlainText().toStdString();
}

// Lister, Statistikk and Væroppslag, minimised and chosen again from the
// menu, come back as the other windows do.
TEST(AndreProgram, MinimerteVinduerKommerTilbakeFraMenyen) {
  Mappe d;
  Program p(d.m);
  TFormVaer& h = p.p->hoved;
  const std::vector<std::pair<QAction*, QWidget*>> vinduer = {{h.Lister, &p.p->lister},
                                                              {h.Statistikk, &p.p->statistikk},
                                                              {h.Kartotekoppslag, &p.p->ver},
                                                              {h.Soyer, &p.p->soyer},
                                                              {h.Katalog, &p.p->katalog}};
  for (const auto& [handling, vindu] : vinduer) {
    SCOPED_TRACE(vindu->windowTitle().toStdString());
    handling->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(vindu));
    vindu->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    ASSERT_TRUE(vindu->isMinimized());
    handling->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(vindu->isMinimized());
    EXPECT_TRUE(vindu->isVisible());
  }
}

// The places of the ewe, relationship, list and statistics windows are kept
// across a restart, as those of the lookup and the catalogue are.
TEST(AndreProgram, VinduenesPlassHuskesTilNesteStart) {
  Mappe d;
  const std::vector<std::pair<const char*, QRect>> plasser = {
      // All on the 800 x 600 screen of the offscreen platform, and no narrower
      // than each window may be (the ewe list has four columns).
      {"Soyer", QRect(40, 50, 700, 420)},
      {"Slektskap", QRect(70, 80, 640, 480)},
      {"Lister", QRect(100, 110, 640, 400)},
      {"Statistikk", QRect(50, 100, 720, 450)},
  };
  const auto vindu = [](TProgramvinduer& v, const std::string& navn) -> QWidget* {
    if (navn == "Soyer") return &v.soyer;
    if (navn == "Slektskap") return &v.slektskap;
    if (navn == "Lister") return &v.lister;
    return &v.statistikk;
  };
  {
    Program p(d.m);
    for (const auto& [navn, plass] : plasser) {
      QWidget* w = vindu(*p.p, navn);
      w->show();
      w->move(plass.topLeft());
      w->resize(plass.size());
    }
    p.p->hoved.close();
  }
  const QSettings ini(QString::fromStdString(Innstillingsfil(d.m.Sti()).string()), InnstillingsFormat());
  for (const auto& [navn, plass] : plasser) EXPECT_EQ(ini.value(QString(navn) + "/Left").toInt(), plass.left()) << navn;
  Program p(d.m);
  for (const auto& [navn, plass] : plasser) {
    QWidget* w = vindu(*p.p, navn);
    EXPECT_EQ(w->pos(), plass.topLeft()) << navn;
    EXPECT_EQ(w->size(), plass.size()) << navn;
  }
}
