// The grid widget under the offscreen platform: selection by mouse and keys,
// scrolling with fixed rows and columns, editing with validation, column
// dragging, the drawing and hint hooks.
#include "tgrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cctype>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << "," << p.y() << ")"; }
void PrintTo(const TOmraade& o, std::ostream* os) {
  *os << "{" << o.venstre << "," << o.topp << " - " << o.hoyre << "," << o.bunn << "}";
}
void PrintTo(const QRect& r, std::ostream* os) {
  *os << "QRect(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}

namespace {

// A window with the grid and one other control. The grid is 8 columns by 40
// rows with one fixed column and one fixed header row, every cell 50 x 20
// pixels plus a grid line, and every cell's text names it ("kol,rad"). Its
// view of 230 x 200 pixels shows columns 0 to 3 and rows 0 to 8 whole, and
// a part of column 4 and row 9.
class GridTest : public ::testing::Test {
 protected:
  GridTest() : grid(&vindu), annen(&vindu) {
    vindu.resize(300, 260);
    grid.setGeometry(0, 0, 230, 200);
    grid.setFrameShape(QFrame::NoFrame);
    grid.SettRullefelt(false);
    annen.setGeometry(0, 220, 100, 24);
    TRutenett& m = grid.Modell();
    m.SettStorrelse(8, 40);
    m.SettFaste(1, 1);
    m.SettStandardBredde(50);
    m.SettStandardHoyde(20);
    for (int r = 0; r < m.Rader(); ++r)
      for (int k = 0; k < m.Kolonner(); ++k) grid.SettTekst(k, r, QString("%1,%2").arg(k).arg(r));
    vindu.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&vindu));
    vindu.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&vindu));
    grid.setFocus();
  }

  TRutenett& M() { return grid.Modell(); }
  QPoint Gjeldende() { return QPoint(M().GjeldendeKol(), M().GjeldendeRad()); }
  QPoint Midt(int kol, int rad) {
    const QRect r = grid.Celleramme(kol, rad);
    EXPECT_FALSE(r.isEmpty()) << kol << "," << rad << " is not shown";
    return r.center();
  }
  bool HeltSynlig(int kol, int rad) {
    const QRect r = grid.Celleramme(kol, rad);
    return !r.isEmpty() && r.right() < grid.viewport()->width() && r.bottom() < grid.viewport()->height();
  }
  void Klikk(int kol, int rad, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, m, Midt(kol, rad));
  }
  // Scrolls the cell into view and clicks it.
  void Velg(int kol, int rad) {
    grid.VisCelle(kol, rad);
    Klikk(kol, rad);
  }
  // As the platform sends it: press, release, double-click, release.
  void Dobbeltklikk(int kol, int rad) {
    const QPoint p = Midt(kol, rad);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, p);
  }
  // A key as the user presses it: to whatever holds the focus.
  void Tast(Qt::Key tast, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QWidget* mottaker = QApplication::focusWidget();
    ASSERT_NE(mottaker, nullptr);
    QTest::keyClick(mottaker, tast, m);
  }
  // Typing, one character at a time to whatever holds the focus then.
  void Skriv(const QString& tekst) {
    for (const QChar tegn : tekst) {
      QWidget* mottaker = QApplication::focusWidget();
      ASSERT_NE(mottaker, nullptr);
      if (tegn.unicode() < 128)
        QTest::keyClick(mottaker, tegn.toLatin1());
      else
        QTest::sendKeyEvent(QTest::Click, mottaker, Qt::Key_unknown, QString(tegn), Qt::NoModifier);
    }
  }
  QString Redigert() { return grid.Redigerer_() ? grid.Redigerer_()->text() : QString(); }

  QWidget vindu;
  TGrid grid;
  QLineEdit annen;
};

TEST_F(GridTest, KlikkVelgerCellenOgMelderDet) {
  struct Tilfelle {
    QPoint celle;
    QPoint gjeldende;  // afterwards
    int valgt;         // celleValgt signals
  };
  const Tilfelle tilfeller[] = {
      {{2, 3}, {2, 3}, 1}, {{1, 1}, {1, 1}, 0},  // the current cell already
      {{0, 3}, {1, 1}, 0},                       // fixed column: reported, not selected
      {{2, 0}, {1, 1}, 0},                       // fixed row
      {{4, 9}, {4, 9}, 1},                       // half shown: selected and scrolled into view
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.celle.x() * 100 + t.celle.y());
    M().SettGjeldende(1, 1);
    grid.SettToppRad(1);
    grid.SettVenstreKol(1);
    QSignalSpy valgt(&grid, &TGrid::celleValgt);
    QSignalSpy klikket(&grid, &TGrid::celleKlikket);
    Klikk(t.celle.x(), t.celle.y());
    EXPECT_EQ(Gjeldende(), t.gjeldende);
    EXPECT_EQ(M().Valg(), (TOmraade{t.gjeldende.x(), t.gjeldende.y(), t.gjeldende.x(), t.gjeldende.y()}));
    ASSERT_EQ(valgt.count(), t.valgt);
    if (t.valgt) {
      EXPECT_EQ(valgt[0][0].toInt(), t.celle.x());
      EXPECT_EQ(valgt[0][1].toInt(), t.celle.y());
    }
    ASSERT_EQ(klikket.count(), 1);
    EXPECT_EQ(klikket[0][0].toInt(), t.celle.x());
    EXPECT_EQ(klikket[0][1].toInt(), t.celle.y());
    EXPECT_TRUE(HeltSynlig(t.gjeldende.x(), t.gjeldende.y()));
  }
}

TEST_F(GridTest, UvelgbarGridMelderKlikkMenVelgerIkke) {
  grid.Velgbar = false;
  QSignalSpy klikket(&grid, &TGrid::celleKlikket);
  QSignalSpy dobbelt(&grid, &TGrid::celleDobbeltklikket);
  Klikk(2, 3);
  EXPECT_EQ(Gjeldende(), QPoint(1, 1));
  ASSERT_EQ(klikket.count(), 1);
  // Keys scroll it instead.
  Tast(Qt::Key_Down);
  EXPECT_EQ(Gjeldende(), QPoint(1, 1));
  EXPECT_EQ(grid.ToppRad(), 2);
  Dobbeltklikk(0, 2);
  ASSERT_EQ(dobbelt.count(), 1);
  EXPECT_EQ(dobbelt[0][0].toInt(), 0);
  EXPECT_EQ(dobbelt[0][1].toInt(), 2);
  EXPECT_EQ(Gjeldende(), QPoint(1, 1));
}

TEST_F(GridTest, DraingUtviderValget) {
  QSignalSpy sluppet(&grid, &TGrid::musSluppet);
  QSignalSpy valgEndret(&grid, &TGrid::valgEndret);
  QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(1, 1));
  QTest::mouseMove(grid.viewport(), Midt(2, 3));
  QTest::mouseMove(grid.viewport(), Midt(3, 4));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(3, 4));
  EXPECT_EQ(M().Valg(), (TOmraade{1, 1, 3, 4}));
  EXPECT_EQ(Gjeldende(), QPoint(3, 4));
  EXPECT_EQ(sluppet.count(), 1);
  EXPECT_GE(valgEndret.count(), 2);

  // Dragging back over the start and past it turns the block round it.
  QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(3, 4));
  QTest::mouseMove(grid.viewport(), Midt(1, 2));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(1, 2));
  EXPECT_EQ(M().Valg(), (TOmraade{1, 2, 3, 4}));

  // Past the bottom edge the selection reaches a row further and the grid
  // scrolls; over the fixed header it stops at the first data row.
  QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(2, 5));
  QTest::mouseMove(grid.viewport(), QPoint(Midt(2, 5).x(), grid.viewport()->height() + 5));
  EXPECT_EQ(M().Valg().bunn, 9);
  EXPECT_TRUE(HeltSynlig(2, 9));
  QTest::mouseMove(grid.viewport(), QPoint(Midt(2, 5).x(), 205));
  EXPECT_EQ(M().Valg().bunn, 10);
  QTest::mouseMove(grid.viewport(), Midt(2, 0));
  QTest::mouseMove(grid.viewport(), Midt(2, 0));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Midt(2, 0));
  EXPECT_EQ(M().Valg().topp, grid.ToppRad());
  EXPECT_EQ(M().Valg().bunn, 5);
}

TEST_F(GridTest, ShiftKlikkOgShiftPilUtviderFraAnkeret) {
  Klikk(2, 2);
  Klikk(3, 5, Qt::ShiftModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{2, 2, 3, 5}));
  EXPECT_EQ(Gjeldende(), QPoint(3, 5));
  Klikk(1, 1, Qt::ShiftModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{1, 1, 2, 2}));

  Klikk(2, 2);
  Tast(Qt::Key_Right, Qt::ShiftModifier);
  Tast(Qt::Key_Right, Qt::ShiftModifier);
  Tast(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{2, 2, 4, 3}));
  EXPECT_EQ(Gjeldende(), QPoint(4, 3));
  for (int i = 0; i < 3; ++i) Tast(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{1, 2, 2, 3}));
  // Shift+End and Shift+Ctrl+Home stretch the block to the ends.
  Tast(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{2, 2, 7, 3}));
  Tast(Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(M().Valg(), (TOmraade{2, 1, 7, 2}));
  // A plain key leaves one cell.
  Tast(Qt::Key_Right);
  EXPECT_EQ(M().Valg(), (TOmraade{7, 1, 7, 1}));
}

TEST_F(GridTest, FasteRaderOgKolonnerStaarStilleVedRulling) {
  const QRect hjorne = grid.Celleramme(0, 0);
  EXPECT_EQ(hjorne, QRect(0, 0, 50, 20));
  QSignalSpy rullet(&grid, &TGrid::rullet);
  grid.SettToppRad(10);
  grid.SettVenstreKol(3);
  EXPECT_EQ(grid.ToppRad(), 10);
  EXPECT_EQ(grid.VenstreKol(), 3);
  EXPECT_GE(rullet.count(), 2);

  EXPECT_EQ(grid.Celleramme(0, 0), hjorne);
  EXPECT_EQ(grid.Celleramme(3, 0), QRect(51, 0, 50, 20));
  EXPECT_EQ(grid.Celleramme(0, 10), QRect(0, 21, 50, 20));
  EXPECT_EQ(grid.Celleramme(3, 10), QRect(51, 21, 50, 20));
  EXPECT_EQ(grid.Celleramme(5, 12), QRect(153, 63, 50, 20));
  // Scrolled away, or beyond the view.
  EXPECT_TRUE(grid.Celleramme(2, 10).isEmpty());
  EXPECT_TRUE(grid.Celleramme(3, 9).isEmpty());
  EXPECT_TRUE(grid.Celleramme(3, 30).isEmpty());
  EXPECT_TRUE(grid.Celleramme(8, 10).isEmpty());

  EXPECT_EQ(grid.CelleVed(QPoint(5, 5)), QPoint(0, 0));
  EXPECT_EQ(grid.CelleVed(QPoint(60, 5)), QPoint(3, 0));
  EXPECT_EQ(grid.CelleVed(QPoint(5, 30)), QPoint(0, 10));
  EXPECT_EQ(grid.CelleVed(QPoint(50, 20)), QPoint(0, 0));  // the grid line belongs to the cell before it
  EXPECT_EQ(grid.CelleVed(QPoint(110, 50)), QPoint(4, 11));
  EXPECT_EQ(grid.CelleVed(QPoint(-1, 5)), QPoint(-1, -1));

  // The fixed cells are drawn where they were.
  QImage bilde = grid.grab().toImage();
  std::vector<QPoint> tegnet;
  grid.TegnCelle = [&](QPainter&, TCelleTegning& c) {
    if (c.rute.contains(QPoint(5, 5)) || c.rute.contains(QPoint(60, 30))) tegnet.push_back({c.kol, c.rad});
  };
  bilde = grid.grab().toImage();
  EXPECT_EQ(tegnet, (std::vector<QPoint>{{0, 0}, {3, 10}}));
}

TEST_F(GridTest, RullingStopperNaarSisteCelleErHeltFramme) {
  // 179 pixels below the header hold 8 rows, and 179 beside the fixed
  // column hold 3 columns.
  grid.SettToppRad(1000);
  grid.SettVenstreKol(1000);
  EXPECT_EQ(grid.ToppRad(), 32);
  EXPECT_EQ(grid.VenstreKol(), 5);
  EXPECT_TRUE(HeltSynlig(7, 39));
  grid.SettToppRad(-5);
  grid.SettVenstreKol(0);
  EXPECT_EQ(grid.ToppRad(), 1);
  EXPECT_EQ(grid.VenstreKol(), 1);
}

TEST_F(GridTest, VisCelleRullerMinstMuligForAaViseCellen) {
  struct Tilfelle {
    QPoint celle;
    int topp, venstre;  // afterwards, from the start position (1, 1)
  };
  const Tilfelle tilfeller[] = {
      {{4, 9}, 2, 2},    // half shown at the corner: one step each way
      {{7, 39}, 32, 5},  // the far corner
      {{2, 5}, 1, 1},    // shown already
      {{0, 0}, 1, 1},    // fixed: nothing to do
      {{0, 20}, 13, 1},  // fixed column, scrolling row
      {{-3, 99}, 1, 1},  // outside the grid
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.celle.x() * 100 + t.celle.y());
    grid.SettToppRad(1);
    grid.SettVenstreKol(1);
    grid.VisCelle(t.celle.x(), t.celle.y());
    EXPECT_EQ(grid.ToppRad(), t.topp);
    EXPECT_EQ(grid.VenstreKol(), t.venstre);
  }
  grid.SettToppRad(30);
  grid.SettVenstreKol(5);
  grid.VisCelle(1, 2);
  EXPECT_EQ(grid.ToppRad(), 2);
  EXPECT_EQ(grid.VenstreKol(), 1);
}

TEST_F(GridTest, VisCelleMedCelleStorreEnnVisningen) {
  M().SettKolbredde(5, 400);
  M().SettRadhoyde(20, 300);
  grid.VisCelle(5, 20);
  EXPECT_EQ(grid.VenstreKol(), 5);
  EXPECT_EQ(grid.ToppRad(), 20);
  EXPECT_FALSE(grid.Celleramme(5, 20).isEmpty());
  grid.VisCelle(6, 21);
  EXPECT_EQ(grid.VenstreKol(), 6);
  EXPECT_EQ(grid.ToppRad(), 21);
}

TEST_F(GridTest, TastaturHolderSegIGridenOgUtenforFasteCeller) {
  struct Tilfelle {
    QPoint fra;
    Qt::Key tast;
    Qt::KeyboardModifiers mod;
    QPoint til;
  };
  const auto Ingen = Qt::NoModifier;
  const auto Ctrl = Qt::ControlModifier;
  const Tilfelle tilfeller[] = {
      {{1, 1}, Qt::Key_Left, Ingen, {1, 1}},       {{1, 1}, Qt::Key_Up, Ingen, {1, 1}},
      {{7, 39}, Qt::Key_Right, Ingen, {7, 39}},    {{7, 39}, Qt::Key_Down, Ingen, {7, 39}},
      {{3, 5}, Qt::Key_Right, Ingen, {4, 5}},      {{3, 5}, Qt::Key_Down, Ingen, {3, 6}},
      {{3, 5}, Qt::Key_Home, Ingen, {1, 5}},       {{3, 5}, Qt::Key_End, Ingen, {7, 5}},
      {{3, 5}, Qt::Key_Home, Ctrl, {3, 1}},        {{3, 5}, Qt::Key_End, Ctrl, {3, 39}},
      {{2, 1}, Qt::Key_PageDown, Ingen, {2, 8}},  // to the last whole row shown
      {{2, 36}, Qt::Key_PageDown, Ingen, {2, 39}}, {{2, 3}, Qt::Key_PageUp, Ingen, {2, 1}},
      {{2, 39}, Qt::Key_PageUp, Ingen, {2, 32}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(std::to_string(t.fra.x()) + "," + std::to_string(t.fra.y()) + " key " + std::to_string(t.tast));
    M().SettGjeldende(t.fra.x(), t.fra.y());
    grid.VisCelle(t.fra.x(), t.fra.y());
    Tast(t.tast, t.mod);
    EXPECT_EQ(Gjeldende(), t.til);
    EXPECT_TRUE(HeltSynlig(t.til.x(), t.til.y()));
  }
}

TEST_F(GridTest, TastaturIGridMedBareFasteCeller) {
  M().SettStorrelse(1, 1);
  QSignalSpy valgt(&grid, &TGrid::celleValgt);
  for (Qt::Key t : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Right}) Tast(t);
  Klikk(0, 0);
  EXPECT_EQ(valgt.count(), 0);
  EXPECT_EQ(Gjeldende(), QPoint(0, 0));
}

TEST_F(GridTest, SkrivingStarterRedigeringMedTegnet) {
  grid.Redigerbar = true;
  Klikk(2, 3);
  QTest::keyClick(&grid, 'x');
  ASSERT_TRUE(grid.Redigerer());
  EXPECT_EQ(QApplication::focusWidget(), grid.Redigerer_());
  EXPECT_EQ(grid.Redigerer_()->geometry(), grid.Celleramme(2, 3));
  Skriv("yz");
  EXPECT_EQ(Redigert(), "xyz");
  EXPECT_EQ(grid.Tekst(2, 3), "2,3");  // not until the editor closes
  Tast(Qt::Key_Return);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "xyz");
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
  EXPECT_EQ(QApplication::focusWidget(), &grid);

  // A non-Latin-1 letter reaches the cell as its Windows-1252 byte.
  Skriv(QString::fromUtf8("\u20ac\u00e6"));
  Tast(Qt::Key_Enter);
  EXPECT_EQ(M().Celle(2, 3), "\x80\xe6");
}

TEST_F(GridTest, RedigeringBeholderTekstenOgEscapeAvbryter) {
  struct Tilfelle {
    const char* navn;
    std::function<void()> start;
  };
  const Tilfelle tilfeller[] = {
      {"F2", [this] { Tast(Qt::Key_F2); }},
      {"Enter", [this] { Tast(Qt::Key_Return); }},
      {"double-click", [this] { Dobbeltklikk(2, 3); }},
  };
  grid.Redigerbar = true;
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Klikk(2, 3);
    t.start();
    ASSERT_TRUE(grid.Redigerer());
    EXPECT_EQ(Redigert(), "2,3");
    EXPECT_EQ(grid.Redigerer_()->selectedText(), "2,3");
    Tast(Qt::Key_End);
    Skriv("!");
    EXPECT_EQ(Redigert(), "2,3!");
    Tast(Qt::Key_Escape);
    EXPECT_FALSE(grid.Redigerer());
    EXPECT_EQ(grid.Tekst(2, 3), "2,3");
    EXPECT_EQ(QApplication::focusWidget(), &grid);
  }
}

TEST_F(GridTest, IngenRedigeringUtenTillatelseEllerIFasteCeller) {
  Klikk(2, 3);
  QTest::keyClick(&grid, 'x');
  Tast(Qt::Key_F2);
  Dobbeltklikk(2, 3);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "2,3");

  grid.Redigerbar = true;
  Dobbeltklikk(0, 4);
  Dobbeltklikk(3, 0);
  EXPECT_FALSE(grid.Redigerer());
  // Ctrl with a letter is a shortcut, not text.
  QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
  EXPECT_FALSE(grid.Redigerer());
}

// The validation hook that the insemination grid uses: a number of more than
// two digits is rejected and rewritten as "Feil"; anything else is accepted
// in upper case.
struct Validering {
  std::vector<std::pair<QPoint, std::string>> kall;
  bool operator()(int kol, int rad, std::string& tekst) {
    kall.push_back({{kol, rad}, tekst});
    if (tekst.size() > 2 && tekst.find_first_not_of("0123456789") == std::string::npos) {
      tekst = "Feil";
      return false;
    }
    for (char& c : tekst) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return true;
  }
};

TEST_F(GridTest, AvvistTekstHolderRedigeringenAapenMedOmskrevetTekst) {
  grid.Redigerbar = true;
  Validering v;
  grid.Valider = [&v](int k, int r, std::string& t) { return v(k, r, t); };
  Klikk(2, 3);
  Skriv("123");
  Tast(Qt::Key_Return);
  ASSERT_TRUE(grid.Redigerer());
  EXPECT_EQ(Redigert(), "Feil");
  EXPECT_EQ(grid.Redigerer_()->geometry(), grid.Celleramme(2, 3));
  EXPECT_EQ(grid.Tekst(2, 3), "Feil");
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
  EXPECT_EQ(QApplication::focusWidget(), grid.Redigerer_());

  grid.Redigerer_()->selectAll();
  Skriv("ok");
  Tast(Qt::Key_Return);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "OK");
  ASSERT_EQ(v.kall.size(), 2u);
  EXPECT_EQ(v.kall[0], std::make_pair(QPoint(2, 3), std::string("123")));
  EXPECT_EQ(v.kall[1], std::make_pair(QPoint(2, 3), std::string("ok")));

  // An unchanged text is not validated.
  Tast(Qt::Key_F2);
  Tast(Qt::Key_Return);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(v.kall.size(), 2u);

  // Closing a rejected text again without a change keeps it as it is.
  Skriv("456");
  Tast(Qt::Key_Return);
  Tast(Qt::Key_Return);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "Feil");
  EXPECT_EQ(v.kall.size(), 3u);
}

TEST_F(GridTest, KlikkPaaAnnenCelleEtterAvvisningFlytterIkke) {
  grid.Redigerbar = true;
  Validering v;
  grid.Valider = [&v](int k, int r, std::string& t) { return v(k, r, t); };
  Klikk(2, 3);
  Skriv("999");
  Klikk(4, 5);
  EXPECT_TRUE(grid.Redigerer());
  EXPECT_EQ(Redigert(), "Feil");
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
  EXPECT_EQ(v.kall.size(), 1u);
  EXPECT_EQ(QApplication::focusWidget(), grid.Redigerer_());

  // A valid text and the click goes through.
  grid.Redigerer_()->selectAll();
  Skriv("ja");
  Klikk(4, 5);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "JA");
  EXPECT_EQ(Gjeldende(), QPoint(4, 5));
  EXPECT_EQ(v.kall.size(), 2u);
}

TEST_F(GridTest, MeldingsboksIValideringenKallerIkkeValideringenIgjen) {
  grid.Redigerbar = true;
  int kall = 0;
  grid.Valider = [&](int, int, std::string& tekst) {
    ++kall;
    QTimer::singleShot(0, [] {
      if (QWidget* boks = QApplication::activeModalWidget()) boks->close();
    });
    QMessageBox::warning(&vindu, "Hornstad", "Gyldig produlsjonsuke må oppgis");
    tekst = "?";
    return kall > 1;
  };
  Klikk(2, 3);
  Skriv("77");
  Tast(Qt::Key_Return);
  EXPECT_EQ(kall, 1);
  EXPECT_TRUE(grid.Redigerer());
  EXPECT_EQ(Redigert(), "?");
  EXPECT_EQ(grid.Tekst(2, 3), "?");
  // The window gets the focus back on the editor when it is active again
  // (here no window manager does that).
  EXPECT_EQ(vindu.focusWidget(), grid.Redigerer_());
  vindu.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&vindu));
  ASSERT_EQ(QApplication::focusWidget(), grid.Redigerer_());
  Skriv("!");
  Tast(Qt::Key_Return);
  EXPECT_EQ(kall, 2);
  EXPECT_FALSE(grid.Redigerer());
}

TEST_F(GridTest, AaForlateGridenAvslutterRedigeringen) {
  grid.Redigerbar = true;
  QSignalSpy forlatt(&grid, &TGrid::forlatt);
  Klikk(2, 3);
  Skriv("ny");
  EXPECT_EQ(forlatt.count(), 0);
  QTest::mouseClick(&annen, Qt::LeftButton);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "ny");
  EXPECT_EQ(QApplication::focusWidget(), &annen);
  EXPECT_EQ(forlatt.count(), 1);

  // Without an editor open.
  grid.setFocus();
  annen.setFocus();
  EXPECT_EQ(forlatt.count(), 2);

  // A rejected text holds the focus in the editor.
  grid.Valider = [](int, int, std::string&) { return false; };
  grid.setFocus();
  Skriv("x");
  QTest::mouseClick(&annen, Qt::LeftButton);
  EXPECT_TRUE(grid.Redigerer());
  EXPECT_EQ(QApplication::focusWidget(), grid.Redigerer_());
  EXPECT_EQ(forlatt.count(), 2);
}

TEST_F(GridTest, RullingBortFraRedigertCelleAvslutterRedigeringen) {
  grid.Redigerbar = true;
  Klikk(2, 3);
  Skriv("ny");
  grid.SettToppRad(20);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "ny");

  // Rejected: the cell comes back into view with its editor.
  grid.Valider = [](int, int, std::string&) { return false; };
  Klikk(2, 21);
  Skriv("x");
  grid.SettToppRad(1);
  ASSERT_TRUE(grid.Redigerer());
  EXPECT_TRUE(HeltSynlig(2, 21));
  EXPECT_EQ(grid.Redigerer_()->geometry(), grid.Celleramme(2, 21));
  Tast(Qt::Key_Escape);
  EXPECT_FALSE(grid.Redigerer());

  // The edited row deleted under the editor closes it.
  grid.Valider = nullptr;
  Klikk(2, 21);
  Skriv("y");
  M().SettRader(10);
  EXPECT_FALSE(grid.Redigerer());
}

TEST_F(GridTest, EnterFlytterTilHoyre) {
  grid.Redigerbar = true;
  grid.EnterFlytterHoyre = true;
  Velg(6, 3);
  Skriv("a");
  Tast(Qt::Key_Return);
  EXPECT_EQ(grid.Tekst(6, 3), "a");
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(Gjeldende(), QPoint(7, 3));
  // Without an editor Enter moves on too, from the last column to the next row.
  Tast(Qt::Key_Return);
  EXPECT_EQ(Gjeldende(), QPoint(1, 4));
  EXPECT_FALSE(grid.Redigerer());
  // And stays at the last cell.
  M().SettGjeldende(7, 39);
  Tast(Qt::Key_Return);
  EXPECT_EQ(Gjeldende(), QPoint(7, 39));

  // A rejected text stays where it is.
  grid.Valider = [](int, int, std::string&) { return false; };
  Velg(2, 3);
  Skriv("b");
  Tast(Qt::Key_Return);
  EXPECT_TRUE(grid.Redigerer());
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
}

TEST_F(GridTest, UtenEnterFlytterHoyreBlirEnterPaaCellen) {
  grid.Redigerbar = true;
  Velg(6, 3);
  Skriv("a");
  Tast(Qt::Key_Return);
  EXPECT_EQ(Gjeldende(), QPoint(6, 3));
  EXPECT_FALSE(grid.Redigerer());
  Tast(Qt::Key_Return);
  EXPECT_TRUE(grid.Redigerer());
  EXPECT_EQ(Redigert(), "a");
}

TEST_F(GridTest, TabMellomCeller) {
  grid.Redigerbar = true;
  grid.TabMellomCeller = true;
  Velg(6, 3);
  Tast(Qt::Key_Tab);
  EXPECT_EQ(Gjeldende(), QPoint(7, 3));
  EXPECT_EQ(QApplication::focusWidget(), &grid);
  Tast(Qt::Key_Tab);
  EXPECT_EQ(Gjeldende(), QPoint(1, 4));
  Tast(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Gjeldende(), QPoint(7, 3));
  // In the editor Tab ends the editing and moves on.
  Skriv("t");
  Tast(Qt::Key_Tab);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(7, 3), "t");
  EXPECT_EQ(Gjeldende(), QPoint(1, 4));
  EXPECT_EQ(QApplication::focusWidget(), &grid);
}

TEST_F(GridTest, UtenTabMellomCellerGaarTabTilNesteKontroll) {
  grid.Redigerbar = true;
  QSignalSpy forlatt(&grid, &TGrid::forlatt);
  Klikk(2, 3);
  Skriv("t");
  Tast(Qt::Key_Tab);
  EXPECT_FALSE(grid.Redigerer());
  EXPECT_EQ(grid.Tekst(2, 3), "t");
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
  EXPECT_EQ(QApplication::focusWidget(), &annen);
  EXPECT_EQ(forlatt.count(), 1);
  grid.setFocus();
  Tast(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &annen);
  EXPECT_EQ(Gjeldende(), QPoint(2, 3));
}

TEST_F(GridTest, KolonnekantDrasIFastRad) {
  struct Tilfelle {
    const char* navn;
    int rad;
    bool tillatt;
    int flytt;
    int bredde;  // of column 2 afterwards
  };
  const Tilfelle tilfeller[] = {
      {"fixed row, wider", 0, true, 15, 65},
      {"fixed row, narrower than nothing", 0, true, -80, 2},
      {"data row", 3, true, 15, 50},
      {"dragging switched off", 0, false, 15, 50},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    M().SettKolbredde(2, 50);
    grid.KolonneDrag = t.tillatt;
    QSignalSpy endret(&grid, &TGrid::kolonnebreddeEndret);
    const QRect r = grid.Celleramme(2, t.rad);
    const QPoint fra(r.right() + 1, r.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, fra);
    QTest::mouseMove(grid.viewport(), fra + QPoint(t.flytt / 2, 0));
    QTest::mouseMove(grid.viewport(), fra + QPoint(t.flytt, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, fra + QPoint(t.flytt, 0));
    EXPECT_EQ(M().Kolbredde(2), t.bredde);
    EXPECT_EQ(M().Kolbredde(1), 50);
    EXPECT_EQ(M().Kolbredde(3), 50);
    if (t.bredde != 50) {
      ASSERT_GE(endret.count(), 1);
      EXPECT_EQ(endret.last()[0].toInt(), 2);
      // The columns to the right follow the edge.
      EXPECT_EQ(grid.Celleramme(3, 0).x(), 51 + 51 + t.bredde + 1);
    } else {
      EXPECT_EQ(endret.count(), 0);
    }
  }
}

TEST_F(GridTest, TegnekrokenSerHverSynligeCelle) {
  M().SettValg({2, 2, 3, 4});
  std::map<std::pair<int, int>, TCelleTegning> sett;
  grid.TegnCelle = [&](QPainter&, TCelleTegning& c) { sett[{c.kol, c.rad}] = c; };
  grid.grab();
  std::set<std::pair<int, int>> forventet;
  for (int k = 0; k <= 4; ++k)
    for (int r = 0; r <= 9; ++r) forventet.insert({k, r});
  std::set<std::pair<int, int>> faktisk;
  for (const auto& [celle, c] : sett) {
    faktisk.insert(celle);
    const auto [k, r] = celle;
    SCOPED_TRACE(std::to_string(k) + "," + std::to_string(r));
    EXPECT_EQ(c.fast, k == 0 || r == 0);
    EXPECT_EQ(c.valgt, k >= 2 && k <= 3 && r >= 2 && r <= 4);
    EXPECT_EQ(c.rute, grid.Celleramme(k, r));
    EXPECT_EQ(c.tekst, QString("%1,%2").arg(k).arg(r));
  }
  EXPECT_EQ(faktisk, forventet);

  sett.clear();
  grid.SettVenstreKol(4);
  grid.SettToppRad(30);
  grid.grab();
  forventet.clear();
  for (int k : {0, 4, 5, 6, 7})
    for (int r : {0, 30, 31, 32, 33, 34, 35, 36, 37, 38}) forventet.insert({k, r});
  faktisk.clear();
  for (const auto& [celle, c] : sett) faktisk.insert(celle);
  EXPECT_EQ(faktisk, forventet);
}

// Dark pixels inside a rectangle of an image.
int MorkePunkter(const QImage& bilde, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(bilde.pixel(x, y)) < 100) ++n;
  return n;
}

TEST_F(GridTest, TegnekrokensEndringerGjelder) {
  for (int r = 3; r <= 4; ++r) grid.SettTekst(2, r, "WW");
  grid.TegnCelle = [](QPainter& p, TCelleTegning& c) {
    if (c.kol == 1 && c.rad == 2) c.bakgrunn = QColor(255, 0, 0);
    if (c.kol == 1 && c.rad == 3) c.tekstfarge = QColor(0, 0, 255);
    if (c.kol == 2 && c.rad == 3) c.font.setBold(true);
    if (c.kol == 3 && c.rad == 2) {
      p.fillRect(c.rute, QColor(128, 255, 128));
      c.ferdig = true;
    }
  };
  const QImage bilde = grid.grab().toImage();
  const QRect rod = grid.Celleramme(1, 2);
  EXPECT_EQ(bilde.pixelColor(rod.topLeft() + QPoint(1, 1)), QColor(255, 0, 0));
  EXPECT_EQ(bilde.pixelColor(rod.bottomRight() - QPoint(1, 1)), QColor(255, 0, 0));
  const QRect gronn = grid.Celleramme(3, 2);
  EXPECT_EQ(bilde.pixelColor(gronn.center()), QColor(128, 255, 128));
  // The hook drew that cell itself: no text on it.
  EXPECT_EQ(MorkePunkter(bilde, gronn), 0);
  // Bold text covers more than the same text in the plain font beneath it.
  const int fet = MorkePunkter(bilde, grid.Celleramme(2, 3));
  const int vanlig = MorkePunkter(bilde, grid.Celleramme(2, 4));
  EXPECT_GT(vanlig, 0);
  EXPECT_GT(fet, vanlig * 11 / 10);
  // Blue text.
  bool blaatt = false;
  const QRect bla = grid.Celleramme(1, 3);
  for (int y = bla.top(); y <= bla.bottom() && !blaatt; ++y)
    for (int x = bla.left(); x <= bla.right() && !blaatt; ++x) {
      const QColor c = bilde.pixelColor(x, y);
      blaatt = c.blue() > 150 && c.red() < 100 && c.green() < 100;
    }
  EXPECT_TRUE(blaatt);
}

TEST_F(GridTest, HintGjelderCellenUnderMusen) {
  std::vector<QPoint> spurt;
  grid.Hint = [&](int kol, int rad) {
    spurt.push_back({kol, rad});
    return kol == 2 ? QString("Dato søya står") : QString();
  };
  const auto spor = [&](int kol, int rad) {
    const QPoint p = Midt(kol, rad);
    QHelpEvent e(QEvent::ToolTip, p, grid.viewport()->mapToGlobal(p));
    QApplication::sendEvent(grid.viewport(), &e);
  };
  spor(2, 3);
  EXPECT_EQ(QToolTip::text(), "Dato søya står");
  grid.SettToppRad(10);
  grid.SettVenstreKol(3);
  spor(0, 0);
  spor(4, 12);
  EXPECT_EQ(spurt, (std::vector<QPoint>{{2, 3}, {0, 0}, {4, 12}}));
}

TEST_F(GridTest, KrympingHolderVisningOgGjeldendeCelleInnenfor) {
  Tast(Qt::Key_End, Qt::ControlModifier);
  Tast(Qt::Key_End);
  EXPECT_EQ(Gjeldende(), QPoint(7, 39));
  EXPECT_EQ(grid.ToppRad(), 32);
  EXPECT_EQ(grid.VenstreKol(), 5);
  M().SettStorrelse(3, 6);
  EXPECT_EQ(Gjeldende(), QPoint(2, 5));
  EXPECT_EQ(grid.ToppRad(), 1);
  EXPECT_EQ(grid.VenstreKol(), 1);
  EXPECT_TRUE(HeltSynlig(2, 5));
  grid.grab();
  Tast(Qt::Key_Down);
  EXPECT_EQ(Gjeldende(), QPoint(2, 5));
  M().SettStorrelse(0, 0);
  grid.grab();
  Tast(Qt::Key_Down);
  EXPECT_EQ(grid.CelleVed(QPoint(5, 5)), QPoint(-1, -1));
}

TEST_F(GridTest, FasteKolonnerSomSlippesVisesIgjen) {
  // The table window frees and freezes its first column on a double-click.
  M().SettFaste(0, 1);
  EXPECT_EQ(grid.VenstreKol(), 0);
  EXPECT_EQ(grid.CelleVed(QPoint(5, 30)), QPoint(0, 1));
  M().SettFaste(1, 1);
  EXPECT_EQ(grid.VenstreKol(), 1);
  EXPECT_EQ(grid.CelleVed(QPoint(60, 30)), QPoint(1, 1));
  // A scrolled grid keeps its place among the scrolling columns.
  grid.SettVenstreKol(3);
  M().SettFaste(0, 1);
  EXPECT_EQ(grid.VenstreKol(), 2);
}

}  // namespace
