// The relationship windows in the program: the ewe list, the relationship
// window from the lookup window, the mating plan from the menu, the
// catalogue's "Innavl %", under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "avlregister.h"
#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "listing.h"
#include "paringsforslag.h"
#include "programvinduer.h"
#include "register.h"
#include "slektskap.h"
#include "soyer.h"
#include "tekst.h"
#include "testmappe.h"
#include "tformparingsforslag.h"
#include "tformparingsplan.h"
#include "tformslektskap.h"
#include "tformsoyer.h"
#include "tgrid.h"
#include "tintedit.h"
#include "tvindu.h"

namespace fs = std::filesystem;

// A ewe as the file writes her, in failure messages.
void PrintTo(const TSoye& s, std::ostream* os) { *os << SoyeTekst({s}).substr(SoyeTekst({}).size()); }

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w->grab().save(QString(mappe) + "/" + navn + ".png");
}

// The program's windows over a data folder holding the hand-worked register
// (and Soyer.Txt when given); every message and question is recorded and
// answered as the test says.
struct Program {
  explicit Program(const std::string& soyer = {}, const std::vector<TVerPost>& verer = AvlRegister()) {
    SkrivVerFil(m / "Verene.Dat", verer);
    if (!soyer.empty()) m.Skriv("Soyer.Txt", soyer);
    p = std::make_unique<TProgramvinduer>(m.Sti());
    TFormVaer& h = p->hoved;
    h.Melding = [this](const QString& t) { meldinger << t; };
    h.Feilmelding = [this](const QString& t) { meldinger << t; };
    h.SporJaNei = [this](const QString& t) {
      sporsmal << t;
      return ja;
    };
    p->soyer.Melding = [this](const QString& t) { meldinger << t; };
    p->soyer.Spor = [this](const QString& t) {
      sporsmal << t;
      return svar;
    };
    p->slektskap.Melding = [this](const QString& t) { meldinger << t; };
    h.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&h));
  }
  ~Program() {
    // The table windows first, then each: a window's own menus are top-level
    // widgets too and go with it.
    std::vector<TVindu*> vinduer;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<TVindu*>(w)) vinduer.push_back(t);
    for (TVindu* t : vinduer) delete t;
  }
  TAvlsdata& Avl() { return p->okt.Avlsdata(); }
  // The ram looked up by number in the lookup window, with keys.
  void SlaOpp(int32_t nummer) {
    TFormVer& v = p->ver;
    p->hoved.Kartotekoppslag->trigger();
    v.Evernum->setFocus();
    v.Evernum->selectAll();
    QTest::keyClicks(v.Evernum, QString::number(nummer));
    QTest::mouseClick(v.Let, Qt::LeftButton);
    ASSERT_EQ(v.GjeldendeVer().Nummer, nummer);
  }
  TestMappe m;
  IMappe i{m.Sti()};  // the catalogue's own list is saved in the working folder
  std::unique_ptr<TProgramvinduer> p;
  QStringList meldinger, sporsmal;
  bool ja = false;
  int svar = -1;
};

// Types into a field as a user does: focus, select all, type.
void Skriv(QLineEdit* felt, const QString& tekst) {
  felt->setFocus();
  felt->selectAll();
  if (tekst.isEmpty()) {
    QTest::keyClick(felt, Qt::Key_Delete);
  } else {
    QTest::keyClicks(felt, tekst);
  }
}

void KlikkRad(TGrid* g, int rad) {
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->Celleramme(0, rad).center());
}

}  // namespace

TEST(AvlVindu, IngentingRegnesVedStartEllerOppslag) {
  Program p;
  EXPECT_FALSE(p.Avl().Beregnet());
  EXPECT_EQ(p.Avl().Poster().size(), AvlRegister().size());
  p.SlaOpp(2000);
  TFormVer& v = p.p->ver;
  EXPECT_TRUE(v.Slektskap->isVisible());
  EXPECT_TRUE(v.Slektskap->isEnabled());
  EXPECT_FALSE(p.Avl().Beregnet()) << "looking a ram up computes nothing";
  Skjermbilde(&v, "avl-oppslag");
  // "Slektskap" opens the window for the ram shown, and computes then,
  // under the busy cursor and with a line in the main window's status bar.
  const std::function<void(bool)> skallet = p.Avl().VedBeregning;
  QStringList underveis;
  p.Avl().VedBeregning = [&](bool start) {
    skallet(start);
    const QCursor* c = QApplication::overrideCursor();
    underveis << (c && c->shape() == Qt::WaitCursor ? "venter: " : "") + p.p->hoved.StatusLinje->text();
  };
  QTest::mouseClick(v.Slektskap, Qt::LeftButton);
  EXPECT_EQ(underveis, (QStringList{"venter: Regner ut slektskap og innavl for alle værene ...",
                                    "venter: " + QString::number(AvlRegister().size()) + " værer "}));
  TFormSlektskap& s = p.p->slektskap;
  EXPECT_TRUE(s.isVisible());
  EXPECT_EQ(s.Vernummer(), 2000);
  EXPECT_TRUE(p.Avl().Beregnet());
  // The status line says what it said before the computation.
  EXPECT_EQ(p.p->hoved.StatusLinje->text(), QString::number(AvlRegister().size()) + " værer ");
  EXPECT_EQ(s.VerEgen->text(), "Værens egen innavlsgrad: 0,00 % (kjente aner i fem ledd: 1 av 62)");
  // Typing a new number empties the display, and the button goes with it.
  v.Evernum->setFocus();
  QTest::keyClick(v.Evernum, Qt::Key_1);
  EXPECT_FALSE(v.Slektskap->isEnabled());
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join('|').toStdString();
}

TEST(AvlVindu, SlektskapForHaandregnedeParinger) {
  Program p(C("# mine søyer\r\n17;2000;0\r\n18;5000;0\r\n19;0;1000\r\n"));
  p.SlaOpp(2000);
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  TFormSlektskap& s = p.p->slektskap;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
  EXPECT_EQ(s.Ver->text(), "Vær: 2000 Rambo");
  // The ewe's sire and dam's sire typed, as a user does.
  struct Tilfelle {
    const char* far;
    const char* morfar;
    const char* lam;
    bool rod;
    std::vector<std::string> aner;  // "name|share"
  };
  const Tilfelle tilfeller[] = {
      // His own daughter: the ram alone, not his sire, whose paths all pass through him.
      {"2000", "", "Innavlsgrad for lammet: 25,00 %", true, {"2000 Rambo|25,00"}},
      {"1000", "", "Innavlsgrad for lammet: 12,50 %", true, {"1000 Anton|12,50"}},
      {"3000", "", "Innavlsgrad for lammet: 6,25 %", true, {"1000 Anton|6,25"}},  // at the limit
      {"5000", "", "Innavlsgrad for lammet: 0,00 %", false, {C("Ingen felles aner.") + "|"}},
      {"", "1000", "Innavlsgrad for lammet: 6,25 %", true, {"1000 Anton|6,25"}},
      {"5000", "3000", "Innavlsgrad for lammet: 3,13 %", false, {"1000 Anton|3,13"}},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(std::string(t.far) + "/" + t.morfar);
    Skriv(s.Far, t.far);
    Skriv(s.Morfar, t.morfar);
    EXPECT_EQ(s.Lam->text().toStdString(), t.lam);
    EXPECT_EQ(s.Advarsel(), t.rod);
    EXPECT_EQ(s.Lam->palette().color(QPalette::WindowText) == QColor(Qt::red), t.rod);
    std::vector<std::string> aner;
    const TRutenett& g = s.Aner->Modell();
    for (int r = 1; r < g.Rader(); ++r) aner.push_back(g.Celle(0, r) + "|" + g.Celle(1, r));
    EXPECT_EQ(aner, t.aner);
  }
  // Ram, ewe; 1000, 5000, the ewe's dam (her sire is known); 3000; 1000 again.
  EXPECT_EQ(s.LamKjente->text().toStdString(), "Kjente aner i fem ledd for lammet: 7 av 62");
  // A ewe picked from the list, with the keyboard: her sire fills the field.
  ASSERT_EQ(s.Soye->count(), 4);
  EXPECT_EQ(s.Soye->itemText(1), "17 – far 2000, morfar ukjent");
  s.Soye->setFocus();
  QTest::keyClick(s.Soye, Qt::Key_Down);  // "17"
  QTest::keyClick(s.Soye, Qt::Key_Down);  // "18"
  EXPECT_EQ(s.Soye->currentIndex(), 2);
  EXPECT_EQ(s.Far->text(), "5000");
  EXPECT_EQ(s.Morfar->text(), "");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 0,00 %");
  QTest::keyClick(s.Soye, Qt::Key_Up);
  EXPECT_EQ(s.Far->text(), "2000");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 25,00 %");
  EXPECT_TRUE(s.Advarsel());
  Skjermbilde(&s, "avl-slektskap");
  // A field changed by hand leaves the list without a choice.
  Skriv(s.Far, "5000");
  EXPECT_EQ(s.Soye->currentIndex(), 0);
  // The limit of Hornstad.Ini: at 12,5 % the 6,25 % are no longer red.
  p.p->okt.Innstillinger().setValue("Avl/Grense", "12,5");
  Skriv(s.Far, "3000");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 6,25 %");
  EXPECT_FALSE(s.Advarsel());
  EXPECT_EQ(s.GrenseTekst->text(), "Grense for advarsel: 12,50 %");
  // Minimised and restored, closed and opened again for the same ram: the fields stay.
  s.setWindowState(s.windowState() | Qt::WindowMinimized);
  QApplication::processEvents();
  s.setWindowState(s.windowState() & ~Qt::WindowMinimized);
  s.show();
  QApplication::processEvents();
  EXPECT_EQ(s.Far->text(), "3000");
  QTest::mouseClick(s.Lukk, Qt::LeftButton);
  EXPECT_FALSE(s.isVisible());
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  EXPECT_EQ(s.Far->text(), "3000");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 6,25 %");
  // Another ram in the lookup window: the same ewe against it.
  p.SlaOpp(5000);
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  EXPECT_EQ(s.Vernummer(), 5000);
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 0,00 %");
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join('|').toStdString();
}

// A ewe whose dam's dam is known by her sire: the field of its own in both
// windows, the pick list, the figure and the file.
TEST(AvlVindu, MormorsFarISlektskapOgSoyelista) {
  Program p(C("17;2000;0\r\n20;0;0;2000\r\n"));
  p.SlaOpp(2000);
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  TFormSlektskap& s = p.p->slektskap;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
  ASSERT_EQ(s.Soye->count(), 3);
  EXPECT_EQ(s.Soye->itemText(1), "17 – far 2000, morfar ukjent") << "no dam's dam's sire, nothing said";
  EXPECT_EQ(s.Soye->itemText(2), "20 – far ukjent, morfar ukjent, mormors far 2000");
  s.Soye->setFocus();
  QTest::keyClick(s.Soye, Qt::Key_Down);
  QTest::keyClick(s.Soye, Qt::Key_Down);
  EXPECT_EQ(s.Mormorfar->text(), "2000");
  EXPECT_EQ(s.Far->text(), "");
  // The dam's dam a daughter of the ram: 1/16, at the limit.
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 6,25 %");
  EXPECT_TRUE(s.Advarsel());
  EXPECT_EQ(s.Aner->Modell().Celle(0, 1) + "|" + s.Aner->Modell().Celle(1, 1), "2000 Rambo|6,25");
  EXPECT_EQ(s.LamKjente->text(), "Kjente aner i fem ledd for lammet: 7 av 62");
  Skjermbilde(&s, "avl-slektskap-mormorsfar");
  // Picking ewe 17 empties the field again.
  QTest::keyClick(s.Soye, Qt::Key_Up);
  EXPECT_EQ(s.Mormorfar->text(), "");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 25,00 %");
  // Typed: the ram's sire, 1/16 of a half-sib's kinship; a number not in the register gives no figure.
  Skriv(s.Far, "");
  Skriv(s.Mormorfar, "1000");
  EXPECT_EQ(s.Soye->currentIndex(), 0);
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 3,13 %");
  Skriv(s.Mormorfar, "888");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: –");
  EXPECT_EQ(s.LamKjente->text(), "Mormors far 888 finnes ikke i registeret.");
  EXPECT_TRUE(p.meldinger.isEmpty()) << p.meldinger.join('|').toStdString();

  // The ewe list: a column and a field; saved, the file gets the fourth field.
  TFormSoyer& f = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  EXPECT_EQ(f.Liste->Modell().Celle(3, 0), "Mormors far");
  EXPECT_EQ(f.Liste->Modell().Celle(3, 1), "");
  EXPECT_EQ(f.Liste->Modell().Celle(3, 2), "2000");
  KlikkRad(f.Liste, 2);
  EXPECT_EQ(f.Mormorfar->text(), "2000");
  Skriv(f.Mormorfar, "1000");
  QTest::mouseClick(f.Endre, Qt::LeftButton);
  Skriv(f.Nummer, "21");
  Skriv(f.Far, "");
  Skriv(f.Morfar, "");
  Skriv(f.Mormorfar, "3000");
  QTest::keyClick(f.Mormorfar, Qt::Key_Return);
  const std::vector<TSoye> ventet = {{"17", 2000, 0}, {"20", 0, 0, 1000}, {"21", 0, 0, 3000}};
  EXPECT_EQ(f.Soyer(), ventet);
  EXPECT_EQ(f.Mormorfar->text(), "") << "ready for the next ewe";
  Skjermbilde(&f, "avl-soyer-mormorsfar");
  ASSERT_TRUE(f.LagreClick());
  EXPECT_EQ(LesHeleFila(p.m / "Soyer.Txt"),
            C("# Søyenummer;farens kåringsnummer;morfarens kåringsnummer;mormorsfarens kåringsnummer\r\n"
              "17;2000;0;0\r\n20;0;0;1000\r\n21;0;0;3000\r\n"));
  // The relationship window follows the list saved.
  EXPECT_EQ(s.Soye->itemText(2), "20 – far ukjent, morfar ukjent, mormors far 1000");
}

// A sire or dam's sire not in the register gives no figure, and says so; a
// number too long for the field is refused as typed, not cut; an empty
// dam's sire stays empty.
TEST(AvlVindu, SlektskapSierFraOmNummerSomIkkeFinnesEllerIkkePasser) {
  Program p;
  p.SlaOpp(2000);
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  TFormSlektskap& s = p.p->slektskap;
  s.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
  struct Tilfelle {
    const char* far;
    const char* morfar;
    const char* lam;
    const char* linje;  // under the figure
    int aner;           // rows of shared ancestors
  };
  const Tilfelle tilfeller[] = {
      {"999999999", "", "Innavlsgrad for lammet: –", "Far 999999999 finnes ikke i registeret.", 0},
      {"2000", "888", "Innavlsgrad for lammet: –", "Morfar 888 finnes ikke i registeret.", 0},
      {"777", "888", "Innavlsgrad for lammet: –",
       "Far 777 finnes ikke i registeret. Morfar 888 finnes ikke i registeret.", 0},
      {"99999999999", "", "Innavlsgrad for lammet: –",
       "Far «99999999999» har for mange sifre til å være et kåringsnummer.", 0},
      {"2000", "2147483648", "Innavlsgrad for lammet: –",
       "Morfar «2147483648» har for mange sifre til å være et kåringsnummer.", 0},
      {"x", "", "Innavlsgrad for lammet: –", "Far «x» er ikke et kåringsnummer.", 0},
      {"2000", "", "Innavlsgrad for lammet: 25,00 %", "Kjente aner i fem ledd for lammet: 5 av 62", 1},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(std::string(t.far) + "/" + t.morfar);
    Skriv(s.Far, t.far);
    Skriv(s.Morfar, t.morfar);
    EXPECT_EQ(s.Far->text().toStdString(), t.far);
    EXPECT_EQ(s.Lam->text().toStdString(), t.lam);
    EXPECT_EQ(s.LamKjente->text().toStdString(), t.linje);
    EXPECT_EQ(s.Advarsel(), t.aner > 0);
    EXPECT_EQ(s.Aner->Modell().Rader(), 1 + t.aner);
  }
  // Each number refused was told when its field was left.
  EXPECT_EQ(p.meldinger, (QStringList{"Far «99999999999» har for mange sifre til å være et kåringsnummer.",
                                      "Morfar «2147483648» har for mange sifre til å være et kåringsnummer.",
                                      "Far «x» er ikke et kåringsnummer."}));
  // Left with Tab: the number too long is told, and stays as typed.
  p.meldinger.clear();
  Skriv(s.Far, "99999999999");
  QTest::keyClick(s.Far, Qt::Key_Tab);
  ASSERT_TRUE(s.Morfar->hasFocus());
  EXPECT_EQ(p.meldinger, QStringList{"Far «99999999999» har for mange sifre til å være et kåringsnummer."});
  EXPECT_EQ(s.Far->text(), "99999999999");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: –");
  Skjermbilde(&s, "avl-slektskap-for-langt");
  // The empty dam's sire left with Tab stays empty, and the figure stands.
  Skriv(s.Far, "2000");
  Skriv(s.Morfar, "");
  QTest::keyClick(s.Morfar, Qt::Key_Tab);
  EXPECT_FALSE(s.Morfar->hasFocus());
  EXPECT_EQ(s.Morfar->text(), "");
  EXPECT_EQ(s.Lam->text(), "Innavlsgrad for lammet: 25,00 %");
  EXPECT_EQ(p.meldinger.size(), 1);
}

// The ewe list: a number too long for a field is refused, not cut, and the
// ewe is not added; a sire the register does not know is asked about.
TEST(AvlVindu, SoyelistaSierFraOmFarSomIkkeFinnesEllerIkkePasser) {
  Program p;
  TFormSoyer& f = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  Skriv(f.Nummer, "101");
  QTest::keyClick(f.Nummer, Qt::Key_Return);
  QTest::keyClicks(f.Far, "99999999999");
  QTest::keyClick(f.Far, Qt::Key_Return);
  ASSERT_TRUE(f.Morfar->hasFocus());
  const QString forLangt = "Far «99999999999» har for mange sifre til å være et kåringsnummer.";
  EXPECT_EQ(p.meldinger, QStringList{forLangt});
  EXPECT_EQ(f.Far->text(), "99999999999");
  // Enter in the dam's sire field would add her: refused, and told again.
  QTest::keyClick(f.Morfar, Qt::Key_Return);
  EXPECT_TRUE(f.Soyer().empty());
  EXPECT_EQ(p.meldinger, (QStringList{forLangt, forLangt}));
  EXPECT_EQ(f.Nummer->text(), "101") << "the fields stay to be mended";
  EXPECT_TRUE(p.sporsmal.isEmpty());

  // A sire not in the register: No keeps the fields, Yes adds her.
  Skriv(f.Far, "999");
  p.svar = 0;
  QTest::mouseClick(f.LeggTil, Qt::LeftButton);
  EXPECT_EQ(p.sporsmal, QStringList{"Far 999 finnes ikke i registeret. Vil du likevel ta søya med i lista?"});
  EXPECT_TRUE(f.Soyer().empty());
  EXPECT_EQ(f.Far->text(), "999");
  EXPECT_EQ(f.Morfar->text(), "") << "left empty, it stays empty";
  p.svar = 1;
  QTest::mouseClick(f.LeggTil, Qt::LeftButton);
  EXPECT_EQ(f.Soyer(), (std::vector<TSoye>{{"101", 999, 0}}));
  // Sires the register knows: no question.
  p.sporsmal.clear();
  Skriv(f.Nummer, "102");
  Skriv(f.Far, "2000");
  Skriv(f.Morfar, "1000");
  QTest::mouseClick(f.LeggTil, Qt::LeftButton);
  EXPECT_TRUE(p.sporsmal.isEmpty()) << p.sporsmal.join('|').toStdString();
  EXPECT_EQ(f.Soyer().size(), 2u);
  EXPECT_EQ(p.meldinger.size(), 2);
}

TEST(AvlVindu, SloyfemeldingEnGangPerLastingOgPaaStderr) {
  // 7001 and 7002 each other's sires.
  std::vector<TVerPost> verer = AvlRegister();
  verer.push_back(AvlVer(7001, 7002, "RING"));
  verer.push_back(AvlVer(7002, 7001, "RUNDT"));
  Program p({}, verer);
  p.SlaOpp(2000);
  testing::internal::CaptureStderr();
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  const std::string feil = testing::internal::GetCapturedStderr();
  const QString melding = TilQString(SloyfeMelding(1));
  EXPECT_EQ(p.meldinger, QStringList{melding});
  EXPECT_NE(feil.find(melding.toStdString() + "\n"), std::string::npos) << feil;
  // Not again for the same load.
  QTest::mouseClick(p.p->slektskap.Lukk, Qt::LeftButton);
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  Skriv(p.p->slektskap.Far, "1000");
  EXPECT_EQ(p.meldinger.size(), 1);
  // Both links are taken as unknown: 7001's sire is cut, 7002 keeps 7001.
  EXPECT_EQ(p.Avl().Stamtavle().Sloyfer(), 1);
}

TEST(AvlVindu, ImportGirNyeTallOgRegnerIkke) {
  Program p;
  p.SlaOpp(2000);
  const TVerPost gammel = p.p->ver.GjeldendeVer();
  QTest::mouseClick(p.p->ver.Slektskap, Qt::LeftButton);
  ASSERT_TRUE(p.Avl().Beregnet());
  p.p->slektskap.close();
  // A ram export read in from a file: the figures go, the new records come, nothing is computed.
  const std::string eksport = LagEksport(150, 7);
  p.m.Skriv("Vedder2.Tex", eksport);
  p.p->hoved.LesInnFil(p.m / "Vedder2.Tex");
  EXPECT_FALSE(p.Avl().Beregnet());
  const std::vector<TVerPost> nye = KonverterEksport(eksport);
  ASSERT_EQ(p.Avl().Poster().size(), nye.size());
  EXPECT_EQ(p.Avl().Poster()[0].Nummer, nye[0].Nummer);
  EXPECT_EQ(p.Avl().Stamtavle().Finn(2000), -1) << "the old register's rams are gone";
  EXPECT_EQ(p.p->hoved.StatusLinje->text(), QString::number(nye.size()) + " værer ");
  // The lookup window no longer offers the old register's ram.
  EXPECT_EQ(+p.p->ver.GjeldendeVer().Nummer, 0);
  EXPECT_FALSE(p.p->ver.Slektskap->isEnabled());
  // A relationship window for it asks of the new register, and an open one
  // asks again at once when the next register comes.
  p.p->slektskap.VisFor(gammel);
  EXPECT_EQ(p.p->slektskap.Lam->text(), "Fant ingen vær med kåringsnummer 2000.");
  p.p->hoved.LesInnFil(p.m / "Vedder2.Tex");
  EXPECT_TRUE(p.Avl().Beregnet());
  EXPECT_EQ(p.p->slektskap.Lam->text(), "Fant ingen vær med kåringsnummer 2000.");
}

TEST(AvlVindu, SoyelistaViserHeleSoyenummeret) {
  // An ewe number may have 20 characters; the column shows it whole.
  const std::string lang = "Dokka-Bakken 2301 A";
  Program p(lang + ";2000;0\r\n17;2000;0\r\n");
  TFormSoyer& f = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  ASSERT_EQ(f.Liste->Modell().Celle(0, 1), lang);
  EXPECT_GE(f.Liste->Modell().Kolbredde(0), f.Liste->fontMetrics().horizontalAdvance(QString::fromStdString(lang)));
}

TEST(AvlVindu, SoyelistaLeggTilEndreFjernOgLagre) {
  Program p;
  TFormSoyer& f = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  EXPECT_TRUE(f.Soyer().empty());
  EXPECT_EQ(f.Status->text(), "0 søyer");
  // Typed with Enter from field to field; Enter in the last field adds the ewe.
  const auto skrivSoye = [&](const char* nr, const char* far, const char* morfar) {
    Skriv(f.Nummer, nr);
    QTest::keyClick(f.Nummer, Qt::Key_Return);
    f.Far->selectAll();  // what a refused ewe left there
    QTest::keyClicks(f.Far, far);
    QTest::keyClick(f.Far, Qt::Key_Return);
    f.Morfar->selectAll();
    QTest::keyClicks(f.Morfar, morfar);
    QTest::keyClick(f.Morfar, Qt::Key_Return);
  };
  skrivSoye("101", "2000", "");
  skrivSoye("102", "1000", "3000");
  skrivSoye("0103", "5000", "");
  EXPECT_EQ(f.Soyer(), (std::vector<TSoye>{{"101", 2000, 0}, {"102", 1000, 3000}, {"0103", 5000, 0}}));
  EXPECT_EQ(f.Nummer->text(), "") << "ready for the next ewe";
  EXPECT_TRUE(f.Endret());
  EXPECT_EQ(f.Status->text(), "3 søyer – endringene er ikke lagret");
  EXPECT_FALSE(fs::exists(p.m / "Soyer.Txt")) << "nothing is written before Lagre";
  // The same number again (also written otherwise) changes that ewe.
  skrivSoye("103", "3000", "1000");
  EXPECT_EQ(f.Soyer()[2], (TSoye{"0103", 3000, 1000}));
  // What cannot be added is told, and the list stays.
  struct Feil {
    const char* nr;
    const char* melding;
  };
  for (const Feil& feil : {Feil{"", "Søyenummeret mangler."}, Feil{"#4", "Søyenummeret kan ikke begynne med #."},
                           Feil{"4;5", "Søyenummeret kan ikke inneholde semikolon."}}) {
    p.meldinger.clear();
    skrivSoye(feil.nr, "2000", "");
    EXPECT_EQ(p.meldinger, QStringList{feil.melding});
    EXPECT_EQ(f.Soyer().size(), 3u);
  }
  // A row clicked fills the fields; "Endre" puts them in its place.
  KlikkRad(f.Liste, 2);
  EXPECT_EQ(f.Nummer->text(), "102");
  EXPECT_EQ(f.Far->text(), "1000");
  EXPECT_EQ(f.Morfar->text(), "3000");
  Skriv(f.Nummer, "102b");
  Skriv(f.Far, "5000");
  QTest::mouseClick(f.Endre, Qt::LeftButton);
  EXPECT_EQ(f.Soyer()[1], (TSoye{"102b", 5000, 3000}));
  // Renumbered to a number of another ewe: refused.
  p.meldinger.clear();
  Skriv(f.Nummer, "101");
  QTest::mouseClick(f.Endre, Qt::LeftButton);
  EXPECT_EQ(p.meldinger, QStringList{"Søye 101 står allerede i lista."});
  EXPECT_EQ(f.Soyer()[1].nummer, "102b");
  // The first row removed.
  KlikkRad(f.Liste, 1);
  QTest::mouseClick(f.Fjern, Qt::LeftButton);
  const std::vector<TSoye> ventet = {{"102b", 5000, 3000}, {"0103", 3000, 1000}};
  EXPECT_EQ(f.Soyer(), ventet);
  Skjermbilde(&f, "avl-soyer");
  // Closing asks; Cancel keeps the window and everything in it, the field text too.
  Skriv(f.Nummer, "777");
  p.svar = -1;
  f.close();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(p.sporsmal.size(), 1);
  EXPECT_EQ(f.Soyer(), ventet);
  EXPECT_EQ(f.Nummer->text(), "777");
  // Minimised and restored, and shown again from the menu: the same.
  f.setWindowState(f.windowState() | Qt::WindowMinimized);
  QApplication::processEvents();
  p.p->hoved.Soyer->trigger();
  QApplication::processEvents();
  EXPECT_EQ(f.Soyer(), ventet);
  EXPECT_TRUE(f.Endret());
  EXPECT_EQ(f.Nummer->text(), "777");
  // Yes saves through the safe-replace file and closes.
  p.svar = 1;
  f.close();
  EXPECT_FALSE(f.isVisible());
  EXPECT_FALSE(f.Endret());
  EXPECT_EQ(LesHeleFila(p.m / "Soyer.Txt"), SoyeTekst(ventet));
  EXPECT_EQ(LesSoyer(p.m / "Soyer.Txt").soyer, ventet);
  // Opened again: the file, and the typed text still in the field.
  p.p->hoved.Soyer->trigger();
  EXPECT_EQ(f.Soyer(), ventet);
  EXPECT_EQ(f.Nummer->text(), "777");
  // No throws the changes away; the next showing reads the file.
  KlikkRad(f.Liste, 1);
  QTest::mouseClick(f.Fjern, Qt::LeftButton);
  EXPECT_EQ(f.Soyer().size(), 1u);
  p.svar = 0;
  f.close();
  EXPECT_FALSE(f.isVisible());
  p.p->hoved.Soyer->trigger();
  EXPECT_EQ(f.Soyer(), ventet);
  EXPECT_FALSE(f.Endret());
  // "Lagre" writes, and the relationship window's list follows.
  QTest::mouseClick(f.Fjern, Qt::LeftButton);
  QTest::mouseClick(f.Lagre, Qt::LeftButton);
  EXPECT_EQ(LesSoyer(p.m / "Soyer.Txt").soyer.size(), 1u);
  EXPECT_EQ(p.p->slektskap.Soye->count(), 2);
}

TEST(AvlVindu, SoyelistaFraRegnearkOgFilMedFeil) {
  // Soyer.Txt with a line that does not read: told when the list is opened, by its line number.
  Program p("# mine\r\n101;2000;0\r\n102;20x0;0\r\n");
  TFormSoyer& f = p.p->soyer;
  p.p->hoved.Soyer->trigger();
  ASSERT_EQ(p.meldinger.size(), 1);
  EXPECT_TRUE(p.meldinger[0].startsWith("Linje 3 i Soyer.Txt: farens kåringsnummer «20x0» er ikke et tall"))
      << p.meldinger[0].toStdString();
  EXPECT_TRUE(p.meldinger[0].endsWith("Disse linjene blir ikke med når lista lagres."));
  EXPECT_EQ(f.Soyer(), (std::vector<TSoye>{{"101", 2000, 0}}));
  // A spreadsheet's CSV: a header, a new ewe, one already there with new
  // sires, a line that does not read.
  p.m.Skriv("fra regneark.csv", C("Søye;Far;Morfar\r\n\"201\";1 000;3000\r\n101;1000;0\r\n202;x;0\r\n"));
  f.VelgRegneark = [&] { return QString::fromStdString((p.m / "fra regneark.csv").string()); };
  p.meldinger.clear();
  QTest::mouseClick(f.LesRegneark, Qt::LeftButton);
  EXPECT_EQ(f.Soyer(), (std::vector<TSoye>{{"101", 1000, 0}, {"201", 1000, 3000}}));
  ASSERT_EQ(p.meldinger.size(), 1);
  const QStringList linjer = p.meldinger[0].split('\n');
  EXPECT_EQ(linjer[0], "Lest 2 søyer fra fra regneark.csv: 1 nye, 1 endret.");
  EXPECT_TRUE(linjer[1].startsWith("Linje 4 i fra regneark.csv: farens kåringsnummer «x»")) << linjer[1].toStdString();
  EXPECT_TRUE(f.Endret());
  EXPECT_EQ(LesSoyer(p.m / "Soyer.Txt").soyer, (std::vector<TSoye>{{"101", 2000, 0}})) << "not written yet";
  // A cancelled file dialog changes nothing.
  f.VelgRegneark = [] { return QString(); };
  p.meldinger.clear();
  QTest::mouseClick(f.LesRegneark, Qt::LeftButton);
  EXPECT_TRUE(p.meldinger.isEmpty());
  EXPECT_EQ(f.Soyer().size(), 2u);
  QTest::mouseClick(f.Lagre, Qt::LeftButton);
  EXPECT_EQ(LesSoyer(p.m / "Soyer.Txt").soyer, f.Soyer());
  EXPECT_TRUE(LesSoyer(p.m / "Soyer.Txt").meldinger.empty());
}

TEST(AvlVindu, ParingsplanFraMenyen) {
  Program p;
  TFormVaer& h = p.p->hoved;
  ASSERT_TRUE(h.Paringsplan->isEnabled());
  const auto planer = [&] { return h.findChildren<TVindu*>(); };
  // No ewes yet: the user is sent to the ewe list.
  p.ja = true;
  h.Paringsplan->trigger();
  EXPECT_TRUE(planer().isEmpty());
  ASSERT_EQ(p.sporsmal.size(), 1);
  EXPECT_TRUE(p.sporsmal[0].contains("ingen søyer")) << p.sporsmal[0].toStdString();
  EXPECT_TRUE(p.sporsmal[0].contains("Arkiv, Søyer…"));
  EXPECT_TRUE(p.p->soyer.isVisible());
  p.p->soyer.close();

  p.m.Skriv("Soyer.Txt", "17;2000;0\r\n18;5000;0\r\n19;0;1000\r\n");
  // The rams typed; a number that does not read keeps the question open.
  QString feil;
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgVerer&>(d);
    d.show();
    EXPECT_FALSE(v.FraKatalog->isEnabled()) << "the catalogue has made no selection";
    EXPECT_TRUE(v.FraKatalog->text().contains("ikke gjort noe utvalg"));
    QPushButton* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    Skriv(v.Numre, "2000, 3000 20x0");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    feil = v.Feil->text();
    Skriv(v.Numre, "2000, 3000 555");
    Skjermbilde(&d, "avl-paringsplan-valg");
    QTest::mouseClick(ok, Qt::LeftButton);
    return d.result();
  };
  p.meldinger.clear();
  h.Paringsplan->trigger();
  EXPECT_EQ(feil, "«20x0» er ikke et kåringsnummer.");
  ASSERT_EQ(planer().size(), 1);
  TVindu* plan = planer()[0];
  EXPECT_TRUE(plan->isVisible());
  const TTabell& t = plan->Tabell();
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Søye"), "Far", "Morfar", "2000", "3000"}));
  // 17 by 2000: 25 % with 2000, 6,25 % with his half-brother; 18 by an
  // unrelated ram; 19 out of a daughter of 1000. At the limit is red.
  EXPECT_EQ(t.Hoved().Rad(1), (std::vector<std::string>{"17", "2000", "",
                                                        "\x01"
                                                        "25,00",
                                                        "\x01"
                                                        "6,25"}));
  EXPECT_EQ(t.Hoved().Rad(2), (std::vector<std::string>{"18", "5000", "", "0,00", "0,00"}));
  EXPECT_EQ(t.Hoved().Rad(3), (std::vector<std::string>{"19", "", "1000",
                                                        "\x01"
                                                        "6,25",
                                                        "\x01"
                                                        "6,25"}));
  EXPECT_EQ(t.Bunn().Rad(0), (std::vector<std::string>{"Snitt", "", "", "10,42", "4,17"}));
  EXPECT_EQ(TolkFormat(t.Hoved().Celle(3, 1)).farge, TCelleFormat::Farge::Farge1);
  EXPECT_EQ(t.Farge1, Rod);
  EXPECT_EQ(p.meldinger, QStringList{"Dette nummeret er ikke i registeret og er ikke med i planen: 555."});
  Skjermbilde(plan, "avl-paringsplan");
  plan->close();
  QApplication::processEvents();

  // The rams of the catalogue's last selection: the own list shown as text.
  TFormKatalog& k = p.p->katalog;
  h.Katalog->trigger();
  QTest::mouseClick(k.EgDef, Qt::LeftButton);
  k.MeVeLi->setPlainText("5000\n2000\n");
  QTest::mouseClick(k.BeVis, Qt::LeftButton);
  ASSERT_EQ(p.p->okt.KatalogNumre(), (std::vector<int32_t>{5000, 2000}));
  QString numre;
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgVerer&>(d);
    numre = v.Numre->text();
    EXPECT_TRUE(v.FraKatalog->isEnabled());
    EXPECT_EQ(v.FraKatalog->text(), "Værene i katalogens siste utvalg (2 værer)");
    d.show();
    QTest::mouseClick(v.FraKatalog, Qt::LeftButton);
    QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    return d.result();
  };
  h.Paringsplan->trigger();
  EXPECT_EQ(numre, "2000, 3000 555") << "what was typed the last time stays";
  ASSERT_EQ(planer().size(), 1);
  EXPECT_EQ(planer()[0]->Tabell().Hoved().Rad(0),
            (std::vector<std::string>{C("Søye"), "Far", "Morfar", "5000", "2000"}));
  // Cancelled: no plan, and the typed text stays.
  planer()[0]->close();
  QApplication::processEvents();
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgVerer&>(d);
    Skriv(v.Numre, "1000");
    return static_cast<int>(QDialog::Rejected);
  };
  h.Paringsplan->trigger();
  EXPECT_TRUE(planer().isEmpty());
  h.KjorDialog = [&](QDialog& d) {
    numre = dynamic_cast<TVelgVerer&>(d).Numre->text();
    return static_cast<int>(QDialog::Rejected);
  };
  h.Paringsplan->trigger();
  EXPECT_EQ(numre, "1000");
}

// The rows of a table window as text, "cell;cell;…;" per row.
std::vector<std::string> Rader(const TTabell& t, bool bunn = false) {
  std::vector<std::string> r;
  const TRutenett& g = bunn ? t.Bunn() : t.Hoved();
  for (int i = 0; i < g.Rader(); ++i) {
    std::string rad;
    for (const std::string& c : g.Rad(i)) rad += c + ";";
    r.push_back(Cp1252TilUtf8(rad));
  }
  return r;
}

// The mating suggestion from the menu: the choices, the suggestion, hand
// changes saved at once, the saved suggestion back when the window is opened
// again, and a save by a second copy followed.
TEST(AvlVindu, ParingsforslagFraMenyen) {
  std::vector<TVerPost> verer = AvlRegister();
  for (TVerPost& v : verer) v.OIndeks = v.Nummer == 2000 ? 130 : v.Nummer == 3000 ? 120 : v.Nummer == 5000 ? 100 : 0;
  // 17 by 2000: only 5000 is under the limit with her (3000 is at it); 18
  // by 5000: 2000 or 3000; 19 out of a daughter of 1000: only 5000.
  Program p("17;2000;0\r\n18;5000;0\r\n19;0;1000\r\n", verer);
  TFormVaer& h = p.p->hoved;
  ASSERT_TRUE(h.Paringsforslag->isEnabled());
  QString feil;
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgParingsvalg&>(d);
    d.show();
    EXPECT_EQ(v.Verer->rowCount(), 0);
    EXPECT_EQ(v.Grense->text(), "6,25");
    EXPECT_EQ(v.Vekt->text(), "1");
    EXPECT_EQ(v.NyKapasitet->text(), "40");
    Skriv(v.Numre, "2000 3000, 5000 555");
    QTest::keyClick(v.Numre, Qt::Key_Return);  // adds them; the dialog stays
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(v.Numre->text(), "");
    EXPECT_EQ(v.Verer->rowCount(), 3);
    EXPECT_EQ(v.Feil->text(), "Dette nummeret er ikke i registeret: 555.");
    EXPECT_EQ(v.Verer->item(0, 1)->text(), "Rambo");
    EXPECT_EQ(v.Verer->item(0, 2)->text(), "130");
    v.Verer->item(0, 3)->setText("x");
    v.Verer->item(1, 3)->setText("1");
    v.Verer->item(2, 3)->setText("");
    QPushButton* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    feil = v.Feil->text();
    v.Verer->item(0, 3)->setText("1");
    Skjermbilde(&d, "avl-paringsforslag-valg");
    QTest::mouseClick(ok, Qt::LeftButton);
    return d.result();
  };
  TParingsforslagVindu* f = h.ParingsforslagClick();
  EXPECT_EQ(feil.toStdString(),
            "Kapasiteten til 2000 («x») er ikke et helt tall fra 0; la feltet stå tomt for ingen grense.");
  ASSERT_NE(f, nullptr);
  TVindu* v = f->Vindu();
  EXPECT_TRUE(v->isVisible());
  EXPECT_EQ(v->windowTitle(), "Paringsforslag: 3 søyer og 3 værer");
  EXPECT_EQ(Rader(v->Tabell()),
            (std::vector<std::string>{"Søye;Vær;Navn;Innavl %;O-indeks;Merknad;", "17;5000;Fremmed;0,00;100;;",
                                      "18;2000;Rambo;0,00;130;;", "19;5000;Fremmed;0,00;100;;"}));
  EXPECT_EQ(Rader(v->Tabell(), true)[0], "Søyer med vær;3 av 3;;;;;");
  EXPECT_EQ(Rader(v->Tabell(), true)[1], "Snitt;;;0,00;110,0;;");
  EXPECT_EQ(f->Verer->item(0, 2)->text(), "1");
  EXPECT_EQ(f->Verer->item(2, 3)->text(), "ingen grense");
  const fs::path fil = p.m / "Paringer.Txt";
  EXPECT_EQ(LesParinger(fil).forslag.par, f->Forslag().Par()) << "saved as soon as it is made";

  // The row's menu offers the allowed rams with their figures.
  QStringList valg;
  QTimer::singleShot(0, [&] {
    if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* a : m->actions())
        if (!a->text().isEmpty()) valg << a->text() + (a->isChecked() ? " [x]" : "");
      Skjermbilde(m, "avl-paringsforslag-meny");
      m->close();
    }
  });
  f->VisMeny(1);
  EXPECT_EQ(valg, (QStringList{"Søye 18", "2000 Rambo: innavl 0,00 %, O-indeks 130 [x]",
                               "3000 Bukk: innavl 0,00 %, O-indeks 120", "Ingen vær", "Lås søya til 2000",
                               "Forby paringen med 2000"}));

  // By hand: 18 gets 3000 (locked with it), 17 may not have 5000.
  f->Velg(1, 1);
  f->ForbyPar(0, 2);
  EXPECT_EQ(Rader(v->Tabell())[1],
            "\x01"
            "17;;;;;\x01værene under grensen er forbudt;");
  EXPECT_EQ(Rader(v->Tabell())[2], "18;3000;Bukk;0,00;120;låst;");
  EXPECT_EQ(Rader(v->Tabell(), true)[0], "Søyer med vær;2 av 3;;;;;");
  EXPECT_EQ(f->Verer->item(1, 2)->text(), "1");
  const TLagretForslag lagret = LesParinger(fil).forslag;
  EXPECT_EQ(lagret.valg.laaste, (std::vector<TParingspar>{{"18", 3000}}));
  EXPECT_EQ(lagret.valg.forbudte, (std::vector<TParingspar>{{"17", 5000}}));
  Skjermbilde(v, "avl-paringsforslag");

  // Closed and opened again: the saved suggestion, without a question.
  v->close();
  QApplication::processEvents();
  h.KjorDialog = [&](QDialog&) {
    ADD_FAILURE() << "no question when a suggestion is saved";
    return static_cast<int>(QDialog::Rejected);
  };
  f = h.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  v = f->Vindu();
  EXPECT_EQ(Rader(v->Tabell())[2], "18;3000;Bukk;0,00;120;låst;");
  EXPECT_EQ(h.ParingsforslagClick(), f) << "one window: brought forward";
  // Suggested again around the lock and the ban.
  f->PaaNytt->trigger();
  EXPECT_EQ(Rader(v->Tabell())[2], "18;3000;Bukk;0,00;120;låst;");
  EXPECT_EQ(Rader(v->Tabell())[3], "19;5000;Fremmed;0,00;100;;");

  // A second copy saves its own: the window shows it and says so.
  TLagretForslag deres = LesParinger(fil).forslag;
  deres.par = {{"17", 0}, {"18", 2000}, {"19", 0}};
  deres.valg.laaste.clear();
  SkrivParinger(fil, deres);
  p.p->okt.SjekkFiler();
  EXPECT_EQ(Rader(v->Tabell())[2], "18;2000;Rambo;0,00;130;;");
  EXPECT_TRUE(f->Merknad->isVisibleTo(f->Dokk));
  // And a save here after another copy's save asks first.
  SkrivParinger(fil, deres);  // the same again: nothing to tell
  deres.par[2].ver = 5000;
  TOkt annen(p.m.Sti());
  annen.LagreParinger(deres, true);
  p.sporsmal.clear();
  p.ja = false;
  f->Velg(1, 1);
  ASSERT_EQ(p.sporsmal.size(), 1);
  EXPECT_TRUE(p.sporsmal[0].contains("Vil du skrive over")) << p.sporsmal[0].toStdString();
  EXPECT_EQ(LesParinger(fil).forslag.par, deres.par) << "theirs stays";
  EXPECT_EQ(Rader(v->Tabell())[3], "19;5000;Fremmed;0,00;100;;") << "and is shown";

  // Soyer.Txt changed by another program: a new ewe shows without a ram, the
  // others keep theirs, and the window says why.
  f->Merknad->hide();
  p.m.Skriv("Soyer.Txt", "17;2000;0\r\n18;5000;0\r\n19;0;1000\r\n20;0;0\r\n");
  p.p->okt.SjekkFiler();
  ASSERT_EQ(Rader(v->Tabell()).size(), 5u);
  EXPECT_EQ(Rader(v->Tabell())[4],
            "\x01"
            "20;;;;;\x01ingen vær valgt;");
  EXPECT_EQ(Rader(v->Tabell())[3], "19;5000;Fremmed;0,00;100;;");
  EXPECT_EQ(v->windowTitle(), "Paringsforslag: 4 søyer og 3 værer");
  EXPECT_TRUE(f->Merknad->isVisibleTo(f->Dokk));
  EXPECT_TRUE(f->Merknad->text().contains("Soyer.Txt er endret")) << f->Merknad->text().toStdString();
}

// A saved suggestion whose rams the register no longer has: the user is told
// and chooses new ones.
TEST(AvlVindu, LagretForslagUtenVererIRegisteret) {
  Program p("17;2000;0\r\n");
  p.m.Skriv("Paringer.Txt", "# Kapasitet;9999;40\r\n17;9999\r\n");
  int spurt = 0;
  p.p->hoved.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgParingsvalg&>(d);
    ++spurt;
    v.LeggTil({5000});
    d.accept();
    return d.result();
  };
  TParingsforslagVindu* f = p.p->hoved.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(spurt, 1);
  EXPECT_EQ(p.meldinger.value(0).toStdString(),
            "Ingen av værene i det lagrede paringsforslaget er i registeret nå (9999). Velg kandidatværene på nytt.");
  EXPECT_EQ(LesParinger(p.m / "Paringer.Txt").forslag.par, (std::vector<TParingspar>{{"17", 5000}}));
}

// A Paringer.Txt of pairs only (written by hand, no choices): its rams are
// the candidates and its pairs are shown, not made again and written over.
TEST(AvlVindu, ParingerUtenValgVisesSomDeStaar) {
  Program p("17;2000;0\r\n18;5000;0\r\n");
  p.m.Skriv("Paringer.Txt", "17;5000\r\n18;3000\r\n");
  p.p->hoved.KjorDialog = [&](QDialog&) {
    ADD_FAILURE() << "the pairs are a suggestion: no question";
    return static_cast<int>(QDialog::Rejected);
  };
  TParingsforslagVindu* f = p.p->hoved.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(Rader(f->Vindu()->Tabell())[1], "17;5000;Fremmed;0,00;0;;");
  EXPECT_EQ(Rader(f->Vindu()->Tabell())[2], "18;3000;Bukk;0,00;0;;");
  EXPECT_EQ(LesHeleFila(p.m / "Paringer.Txt"), "17;5000\r\n18;3000\r\n") << "nothing written before a change";
}

// The mating plan's button asks for the suggestion's choices with the
// plan's rams as the candidates.
TEST(AvlVindu, ParingsforslagFraParingsplanen) {
  Program p("17;2000;0\r\n18;5000;0\r\n");
  TFormVaer& h = p.p->hoved;
  h.KjorDialog = [&](QDialog& d) {
    dynamic_cast<TVelgVerer&>(d).Numre->setText("3000 5000");
    d.accept();
    return d.result();
  };
  TVindu* plan = h.ParingsplanClick();
  ASSERT_NE(plan, nullptr);
  QAction* knapp = nullptr;
  for (QAction* a : plan->VerkT->actions())
    if (a->text() == "Paringsforslag …") knapp = a;
  ASSERT_NE(knapp, nullptr);
  QStringList kandidater;
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgParingsvalg&>(d);
    for (int r = 0; r < v.Verer->rowCount(); ++r)
      kandidater << v.Verer->item(r, 0)->text() + " " + v.Verer->item(r, 3)->text();
    d.accept();
    return d.result();
  };
  knapp->trigger();
  EXPECT_EQ(kandidater, (QStringList{"3000 40", "5000 40"}));
  const auto vinduer = h.findChildren<TParingsforslagVindu*>(Qt::FindChildrenRecursively);
  ASSERT_EQ(vinduer.size(), 1);
  EXPECT_EQ(Rader(vinduer[0]->Vindu()->Tabell())[1], "17;5000;Fremmed;0,00;0;;");
}

// The suggestion's window keeps its figures whole as they grow: the
// footer's "12 av 12" once every ewe has a ram, and the rams' table beside
// the grid with many rams (a scroll bar) and after "Valg …" gives a ram no
// limit ("ingen grense").
TEST(AvlVindu, ParingsforslagetsTallFaarPlass) {
  std::string soyer, parfil;
  for (int i = 1; i <= 12; ++i) soyer += std::to_string(100 + i) + ";0;0\r\n";
  for (int v = 4001; v <= 4030; ++v) parfil += "# Kapasitet;" + std::to_string(v) + ";40\r\n";
  Program p(soyer);
  p.m.Skriv("Paringer.Txt", parfil);  // the rams and no pairs: nobody served yet
  TFormVaer& h = p.p->hoved;
  TParingsforslagVindu* f = h.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  TVindu* v = f->Vindu();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  const auto ramsWhole = [&](const char* naar) {
    QApplication::processEvents();
    EXPECT_LE(f->Verer->horizontalHeader()->length(), f->Verer->viewport()->width())
        << "the rams' table cut off " << naar;
  };
  ramsWhole("when shown");
  const TTabell& t = v->Tabell();
  EXPECT_EQ(Cp1252TilUtf8(t.Bunn().Celle(1, 0)), "0 av 12");

  f->PaaNytt->trigger();
  ASSERT_EQ(Cp1252TilUtf8(t.Bunn().Celle(1, 0)), "12 av 12");
  EXPECT_GE(t.Bunn().Kolbredde(1), t.MaalBunn(t.Bunn().Celle(1, 0))) << "the footer's count cut off";

  f->KjorDialog = [](QDialog& d) {
    auto& valg = dynamic_cast<TVelgParingsvalg&>(d);
    valg.Verer->item(0, 3)->setText("");
    valg.accept();
    return d.result();
  };
  f->EndreValg->trigger();
  ASSERT_EQ(f->Verer->item(0, 3)->text(), "ingen grense");
  ramsWhole("after Valg");
}

// The rams of a mating plan ("Paringsforslag …" in the plan) as the
// candidates: a ram that was one keeps the capacity the breeder gave it,
// both when the suggestion's window is closed and when it is open.
TEST(AvlVindu, VerFraParingsplanenBeholderKapasiteten) {
  Program p("17;2000;0\r\n18;5000;0\r\n");
  p.m.Skriv("Paringer.Txt", "# Kapasitet;2000;5\r\n# Kapasitet;3000;ingen\r\n17;\r\n18;2000\r\n");
  TFormVaer& h = p.p->hoved;
  std::vector<std::pair<std::string, std::string>> kapasiteter;
  h.KjorDialog = [&](QDialog& d) {
    auto& v = dynamic_cast<TVelgParingsvalg&>(d);
    kapasiteter.clear();
    for (int r = 0; r < v.Verer->rowCount(); ++r)
      kapasiteter.emplace_back(v.Verer->item(r, 0)->text().toStdString(), v.Verer->item(r, 3)->text().toStdString());
    v.accept();
    return d.result();
  };
  const std::vector<int32_t> plan = {3000, 5000, 2000};
  const std::vector<std::pair<std::string, std::string>> ventet = {{"3000", ""}, {"5000", "40"}, {"2000", "5"}};
  const std::string lagret = LesHeleFila(p.m / "Paringer.Txt");
  for (const bool aapent : {false, true}) {
    SCOPED_TRACE(aapent ? "the window open" : "the window closed");
    p.m.Skriv("Paringer.Txt", lagret);
    p.p->okt.LesParinger();
    kapasiteter.clear();
    if (aapent) ASSERT_NE(h.ParingsforslagClick(), nullptr);  // the saved suggestion, no question
    EXPECT_TRUE(kapasiteter.empty());
    TParingsforslagVindu* f = h.ParingsforslagClick(&plan);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(kapasiteter, ventet);
    EXPECT_EQ(f->Forslag().Kapasitet(0), UtenGrense);
    f->Vindu()->close();
    QApplication::processEvents();
  }
}

// Locks and bans of ewes no longer in Soyer.Txt are told in one message when
// the suggestion is opened, not in a box each.
TEST(AvlVindu, UtelattePaaringerSiesIEnMelding) {
  Program p("17;2000;0\r\n");
  std::string fil = "# Kapasitet;5000;40\r\n";
  for (int i = 1; i <= 12; ++i) fil += "# Laast;" + std::to_string(900 + i) + ";5000\r\n";
  p.m.Skriv("Paringer.Txt", fil + "17;5000\r\n");
  p.meldinger.clear();
  TParingsforslagVindu* f = p.p->hoved.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(p.meldinger.size(), 1) << p.meldinger.join(" | ").toStdString();
  const QStringList linjer = p.meldinger[0].split("\n");
  ASSERT_EQ(linjer.size(), 11);
  EXPECT_EQ(linjer[0], "Låst paring 901 og 5000 er ikke med: søya finnes ikke i lista.");
  EXPECT_EQ(linjer[10], "… og 2 til.");
}

// Delete in the suggestion's grid takes no ewe out of the window: her row,
// the summary, the printout and Paringer.Txt keep telling the same.
TEST(AvlVindu, SlettetastenTarIngenSoyeUtAvForslaget) {
  Program p("17;2000;0\r\n18;5000;0\r\n19;0;1000\r\n");
  p.m.Skriv("Paringer.Txt", "# Kapasitet;5000;40\r\n# Kapasitet;2000;40\r\n17;5000\r\n18;2000\r\n19;5000\r\n");
  TParingsforslagVindu* f = p.p->hoved.ParingsforslagClick();
  ASSERT_NE(f, nullptr);
  TVindu* v = f->Vindu();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  const std::vector<std::string> for_ = Rader(v->Tabell());
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(1, 2).center());
  ASSERT_EQ(f->GjeldendeSoye(), 1);
  QTest::keyClick(v->Grinn, Qt::Key_Delete);
  EXPECT_EQ(Rader(v->Tabell()), for_);
  EXPECT_EQ(f->GjeldendeSoye(), 1);
}

// The mating plan's question: with the numbers chosen (no selection in the
// catalogue, or numbers from last time), the keys typed go into their field.
TEST(AvlVindu, ParingsplanensNumreFaarTastene) {
  Program p;
  struct TTilfelle {
    std::vector<int32_t> katalog;
    const char* numre;
    bool iNumrene;
  };
  const TTilfelle tilfeller[] = {{{}, "", true}, {{2000}, "3000", true}, {{2000}, "", false}};
  for (const TTilfelle& t : tilfeller) {
    SCOPED_TRACE(std::to_string(t.katalog.size()) + " " + t.numre);
    TVelgVerer d(t.katalog, t.numre, 3, &p.p->hoved);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(d.focusWidget() == d.Numre, t.iNumrene)
        << (d.focusWidget() ? d.focusWidget()->metaObject()->className() : "none");
  }
}

TEST(AvlVindu, KatalogensInnavlsfelt) {
  for (const bool medSoyer : {false, true}) {
    SCOPED_TRACE(medSoyer);
    Program p(medSoyer ? "17;2000;0\r\n19;0;1000\r\n" : "");
    QSettings& ini = p.p->okt.Innstillinger();
    ini.setValue("Katalog/SkalMed0", "1");
    ini.setValue("Katalog/SkalMed31", "1");
    TFormKatalog& k = p.p->katalog;
    p.p->hoved.Katalog->trigger();
    EXPECT_EQ(k.ChSkalMed->item(InnavlFelt)->checkState(), Qt::Checked);
    QTest::mouseClick(k.EgDef, Qt::LeftButton);
    k.MeVeLi->setPlainText("2000\n3000\n5000\n");
    QTest::mouseClick(k.Btabb, Qt::LeftButton);
    QList<TVindu*> tabeller;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<TVindu*>(w); t && t->isVisible()) tabeller << t;
    ASSERT_EQ(tabeller.size(), 1);
    const TTabell& t = tabeller[0]->Tabell();
    EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{C("Værnr."), "Navn", "Innavl %"}));
    // The mean over the ewes: 2000 (25 + 6,25) / 2, 3000 (6,25 + 6,25) / 2, 5000 none.
    const std::vector<std::string> ventet =
        medSoyer ? std::vector<std::string>{"15,63", "6,25", "0,00"} : std::vector<std::string>{"", "", ""};
    ASSERT_EQ(t.Hoved().Rader(), 4);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(t.Hoved().Celle(2, r), ventet[static_cast<std::size_t>(r - 1)]);
    EXPECT_EQ(p.Avl().Beregnet(), medSoyer) << "without ewes nothing is computed";
    if (medSoyer) Skjermbilde(tabeller[0], "avl-katalog");
    tabeller[0]->close();
    QApplication::processEvents();
  }
}

TEST(AvlVindu, ProgrammetVenterPaaSoyerSomIkkeErLagret) {
  // "Avslutt" with unsaved ewes: Cancel keeps the program open with them;
  // the program ends only when the main window has closed.
  Program p;
  TFormVaer& h = p.p->hoved;
  TFormSoyer& f = p.p->soyer;
  h.Soyer->trigger();
  Skriv(f.Nummer, "101");
  Skriv(f.Far, "2000");
  QTest::mouseClick(f.LeggTil, Qt::LeftButton);
  ASSERT_TRUE(f.Endret());
  QSignalSpy lukket(&h, &TFormVaer::lukket);
  p.svar = -1;
  h.Avslutt->trigger();
  EXPECT_TRUE(h.isVisible());
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(lukket.count(), 0);
  EXPECT_EQ(f.Soyer().size(), 1u);
  p.svar = 1;
  h.Avslutt->trigger();
  EXPECT_FALSE(h.isVisible());
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(lukket.count(), 1);
  EXPECT_EQ(LesSoyer(p.m / "Soyer.Txt").soyer, (std::vector<TSoye>{{"101", 2000, 0}}));
}
