// The table window under the offscreen platform, driven with keys and mouse.
#include "tvindu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "gjenopprett.h"
#include "tabell.h"
#include "tgrid.h"

namespace {

// A table as the program's callers set one up: one header row, one footer
// row; with `kilde` the rows after the first made when they are read.
TVindu* Lag(int kolonner, const std::vector<std::string>& rader, const std::string& tittel = "Test tabell",
            bool kilde = false) {
  auto* v = new TVindu;
  v->Oppsett(nullptr, kolonner, 12, 0, 1, 1, tittel, Rod, Blaa);
  if (kilde && !rader.empty()) {
    v->NyRad(rader[0]);
    v->NyeRader(static_cast<int>(rader.size()) - 1,
                [rader](int i, std::string& t) { t = rader[static_cast<std::size_t>(i) + 1]; });
  } else {
    for (const auto& r : rader) v->NyRad(r);
  }
  v->NyBunnRad(std::string(static_cast<std::size_t>(kolonner), ';'));
  return v;
}

std::vector<std::string> Tall(int antall) {
  std::vector<std::string> r{"Nr;Navn;"};
  for (int i = 0; i < antall; ++i) r.push_back(std::to_string(i) + ";R" + std::to_string(i) + ";");
  return r;
}

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w->grab().save(QString(mappe) + "/" + navn + ".png");
}

}  // namespace

TEST(TVinduTest, KallkontraktenFyllerTabellen) {
  QPointer<TVindu> v = Lag(2, {"Kol1;Kol2;", "x;y;z;rest", "\x01Navn;2;"}, "S\xF8nner etter 12 BLAKKEN");
  const TRutenett& m = v->Grinn->Modell();
  EXPECT_EQ(v->windowTitle(), "Sønner ");
  ASSERT_EQ(m.Rader(), 3);
  EXPECT_EQ(m.Kolonner(), 2);
  EXPECT_EQ(m.Celle(0, 1), "x");
  EXPECT_EQ(m.Celle(1, 1), "y");
  EXPECT_EQ(v->Tabell().Bredeste[0], "MNavn") << "a bold cell's column is made wider";
  EXPECT_EQ(v->Tabell().NesteRad, 3);
  delete v;

  // A table with only its header row shows one empty data row.
  v = Lag(3, {"A;B;C;"});
  EXPECT_EQ(v->Grinn->Modell().Rader(), 2);
  EXPECT_EQ(v->Grinn->Modell().Celle(0, 1), "");
  delete v;
}

TEST(TVinduTest, StorreOgMindreHoldesInnenGrensene) {
  QPointer<TVindu> v = Lag(2, Tall(5));
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  EXPECT_EQ(v->Skriftstorrelse(), 10);
  for (int i = 0; i < 25; ++i) QTest::keyClick(v->Grinn, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(v->Skriftstorrelse(), 30);
  const int hoy = v->Grinn->Modell().StandardHoyde();
  for (int i = 0; i < 30; ++i) v->Mindre->click();
  EXPECT_EQ(v->Skriftstorrelse(), 4);
  EXPECT_LT(v->Grinn->Modell().StandardHoyde(), hoy) << "rows follow the font";
  v->close();
  QApplication::processEvents();
  EXPECT_TRUE(v.isNull()) << "the window frees itself when closed";
}

TEST(TVinduTest, ForsteLayoutKrymperIkkeUnder5) {
  std::string bred;
  for (int k = 0; k < 30; ++k) bred += std::string(40, 'W') + ";";
  TVindu* v = Lag(30, {bred, bred});
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  EXPECT_EQ(v->Skriftstorrelse(), 5);
  // Too wide for a lying page even so: it prints across several pages.
  EXPECT_TRUE(v->Label1->text().startsWith("Liggende utskrift, ")) << v->Label1->text().toStdString();
  EXPECT_TRUE(v->Label1->text().contains(" ark i bredden")) << v->Label1->text().toStdString();
  delete v;
}

TEST(TVinduTest, GjenopprettingBeholderRaderSorteringBredderOgRulling) {
  TVindu* v = Lag(2, Tall(60));
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  TRutenett& m = v->Grinn->Modell();
  // What the user did: a larger font, rows deleted, sorted descending, a
  // column dragged wider, scrolled down.
  v->Storre->click();
  v->Storre->click();
  m.SettValg(TOmraade{0, 1, 1, 2});
  v->SlettMerkede();
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 1).center());
  v->Minkende->click();
  m.SettKolbredde(1, 140);
  v->Grinn->SettToppRad(30);
  const auto celler = [&] {
    std::vector<std::string> c;
    for (int r = 0; r < m.Rader(); ++r) c.push_back(m.Celle(0, r) + "|" + m.Celle(1, r));
    return c;
  };
  const auto for_ = celler();
  ASSERT_EQ(m.Rader(), 59);
  ASSERT_EQ(m.Celle(0, 1), "59") << "sorted descending";
  const int topp = v->Grinn->ToppRad();
  ASSERT_GT(topp, 1);
  for (const auto& desktop : {MinimerOgGjenopprett, SkjulOgVis}) {
    desktop(v);
    EXPECT_EQ(celler(), for_);
    EXPECT_EQ(v->Skriftstorrelse(), 12);
    EXPECT_EQ(m.Kolbredde(1), 140);
    EXPECT_EQ(v->Grinn->ToppRad(), topp);
    EXPECT_EQ(v->bunn->Modell().Kolbredde(1), 140) << "the footer keeps following";
  }
  Skjermbilde(v, "tabellvindu-gjenopprettet");
  delete v;
}

TEST(TVinduTest, MerkAltOgSlettMerkedeRader) {
  TVindu* v = Lag(2, Tall(8));
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  TRutenett& m = v->Grinn->Modell();
  v->Grinn->setFocus();
  // Rows 3 to 5 marked with the mouse and Shift+Down, then Delete.
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 3).center());
  QTest::keyClick(v->Grinn, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(v->Grinn, Qt::Key_Down, Qt::ShiftModifier);
  QTest::mouseRelease(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 5).center());
  EXPECT_EQ(v->Panel[1]->text(), "Merket :3 til :5");
  QTest::keyClick(v->Grinn, Qt::Key_Delete);
  ASSERT_EQ(m.Rader(), 6);
  EXPECT_EQ(m.Celle(0, 3), "5") << "the rows below move up";
  EXPECT_EQ(v->Panel[1]->text(), "");
  // One marked row: the current row goes.
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(1, 1).center());
  QTest::keyClick(v->Grinn, Qt::Key_Delete);
  EXPECT_EQ(m.Rader(), 5);
  EXPECT_EQ(m.Celle(0, 1), "1");
  // Ctrl+A marks every data row in every column.
  QTest::keyClick(v->Grinn, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(m.Valg(), (TOmraade{0, 1, 1, 4}));
  delete v;
}

TEST(TVinduTest, DobbeltklikkFryserForsteKolonne) {
  TVindu* v = Lag(2, Tall(3));
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  const QPoint p = v->Grinn->Celleramme(1, 1).center();
  QTest::mouseDClick(v->Grinn->viewport(), Qt::LeftButton, {}, p);
  EXPECT_EQ(v->Grinn->Modell().FasteKol(), 1);
  EXPECT_EQ(v->bunn->Modell().FasteKol(), 1) << "the footer follows";
  QTest::mouseDClick(v->Grinn->viewport(), Qt::LeftButton, {}, p);
  EXPECT_EQ(v->Grinn->Modell().FasteKol(), 0);
  delete v;
}

TEST(TVinduTest, FormatkoderTegnesMedStilOgFarge) {
  TVindu* v = Lag(1, {"Tittel;", "\x01Navn;", "vanlig;"});
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  v->Grinn->Modell().SettGjeldende(0, 2);  // keep the yellow of the selection off row 1
  const QImage bilde = v->Grinn->viewport()->grab().toImage();
  const auto rodt = [&](int rad) {
    const QRect r = v->Grinn->Celleramme(0, rad);
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (const QColor c = bilde.pixelColor(x, y); c.red() > 180 && c.green() < 90 && c.blue() < 90) return true;
    return false;
  };
  EXPECT_TRUE(rodt(1));
  EXPECT_FALSE(rodt(2));
  Skjermbilde(v, "tabell-format");
  delete v;
}

TEST(TVinduTest, EscLukker) {
  QPointer<TVindu> v = Lag(2, Tall(2));
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  v->activateWindow();
  QTest::keyClick(v->Grinn, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(v.isNull());
}

TEST(TVinduTest, SorterFinnOgFigurerFraVinduet) {
  // The same whether the rows were added one by one or are made when read.
  for (const bool kilde : {false, true}) {
    SCOPED_TRACE(kilde);
    TVindu* v = Lag(2, {"Nr;Navn;", "12;Zeta;", "3;\xC5sen;", ";\xC6rfugl;", "abc;\xD8vre;"}, "Test tabell", kilde);
    QStringList meldinger;
    v->Melding = [&](const QString& t) { meldinger << t; };
    v->Vis();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
    TRutenett& m = v->Grinn->Modell();
    // Sort by the column of the current cell.
    QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 1).center());
    v->Okende->click();
    EXPECT_EQ(m.Celle(0, 1), "");
    EXPECT_EQ(m.Celle(0, 2), "3");
    EXPECT_EQ(m.Celle(0, 3), "12");
    EXPECT_EQ(m.Celle(0, 4), "abc");
    EXPECT_EQ(v->Panel[2]->text(), "Har sortert økende");
    QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(1, 1).center());
    v->Minkende->click();
    EXPECT_EQ(m.Celle(1, 1), "\xC5sen");
    EXPECT_EQ(m.Celle(1, 4), "Zeta");

    // F3 opens the find dialog; each press finds the next hit.
    QTest::keyClick(v->Grinn, Qt::Key_F3);
    ASSERT_NE(v->FindDialog1, nullptr);
    EXPECT_TRUE(v->FindDialog1->isVisible());
    EXPECT_TRUE(v->FinnNeste("E"));
    EXPECT_EQ(m.Valg().topp, 1) << "\xC5sen";
    EXPECT_TRUE(v->FinnNeste("E"));
    EXPECT_EQ(m.Valg().topp, 2);
    EXPECT_FALSE(v->FinnNeste("qq"));
    ASSERT_EQ(meldinger.size(), 1);
    EXPECT_EQ(meldinger[0], "Fant ikke QQ");

    // Count and sum into the footer.
    QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 1).center());
    v->SumKol->trigger();
    EXPECT_EQ(v->bunn->Modell().Celle(0, 0), "15");
    v->Tellein->trigger();
    EXPECT_EQ(v->bunn->Modell().Celle(0, 0), "4");
    Skjermbilde(v, kilde ? "tvindu-kilde" : "tvindu-rader");
    EXPECT_EQ(m.LagredeRader(), 1 + (kilde ? 0 : 4));
    delete v;
  }
}

TEST(TVinduTest, KopierOgLagreMerketBlokk) {
  TVindu* v = Lag(2, {"Nr;Navn;", "1;a;", "2;b;", "3;c;"});
  QStringList meldinger;
  v->Melding = [&](const QString& t) { meldinger << t; };
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  v->Grinn->setFocus();
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(0, 2).center());
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, Qt::ShiftModifier, v->Grinn->Celleramme(1, 3).center());
  QTest::keyClick(v->Grinn, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "2\tb\r\n3\tc\r\n");

  // A cancelled dialog sends the text to the clipboard; a confirmed one writes the file.
  std::optional<TLagringsfil> svar;
  TLagreValg sett;
  v->VelgLagringsfil = [&](const TLagreValg& valg) {
    sett = valg;
    return svar;
  };
  QGuiApplication::clipboard()->clear();
  v->Kopier1->trigger();
  EXPECT_EQ(sett.tittel, "Lagre som tekst");
  EXPECT_EQ(sett.filnavn, "Lagre.txt");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "2;b\r\n3;c\r\n");
  EXPECT_EQ(v->Panel[2]->text(), "Kopierte 2 rader og 2 kolonner til utklippstavla");
  const QString fil = QDir::tempPath() + "/hornstad-tvindu-test.txt";
  svar = TLagringsfil{fil};
  v->Kopier1->trigger();
  QFile f(fil);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("2;b\r\n3;c\r\n"));
  f.remove();
  // The status line says what was written, and the hint names the folder too.
  EXPECT_EQ(v->Panel[2]->text(), "Skrev 2 rader og 2 kolonner til hornstad-tvindu-test.txt");
  EXPECT_TRUE(v->Panel[2]->toolTip().contains(fil)) << v->Panel[2]->toolTip().toStdString();
  // Nothing marked: one cell is written, and the status line says so.
  QTest::mouseClick(v->Grinn->viewport(), Qt::LeftButton, {}, v->Grinn->Celleramme(1, 1).center());
  v->Kopier2->trigger();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("a\r\n"));
  f.remove();
  // The panel shows all of it, the file's name shortened in its middle where
  // the panel is too narrow; its hint has the whole path.
  const QString vist = v->Panel[2]->text();
  EXPECT_TRUE(vist.startsWith("Skrev 1 rad og 1 kolonne (bare cella du står i) til horn")) << vist.toStdString();
  EXPECT_TRUE(vist.endsWith(".txt")) << vist.toStdString();
  EXPECT_LE(v->Panel[2]->fontMetrics().horizontalAdvance(vist), v->Panel[2]->contentsRect().width());
  EXPECT_EQ(v->Panel[2]->toolTip(), "Skrev 1 rad og 1 kolonne (bare cella du står i) til " + fil);
  Skjermbilde(v, "tabellvindu-eksportert");
  // A file that cannot be written gives a message.
  svar = TLagringsfil{QDir::tempPath() + "/finnes-ikke-mappe/x.txt"};
  v->KopHtm->trigger();
  EXPECT_EQ(meldinger.size(), 1);
  delete v;
}

TEST(TVinduTest, KolonnerOgRaderDrasTilAndreSteder) {
  TVindu* v = Lag(3, {"A;Bredt navn;C;", "1;x;10;", "2;y;20;", "3;z;30;"});
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  TRutenett& m = v->Grinn->Modell();
  QWidget* flate = v->Grinn->viewport();
  // Header cell of column 0 dropped on column 2.
  QTest::mousePress(flate, Qt::LeftButton, {}, v->Grinn->Celleramme(0, 0).center());
  QTest::mouseMove(flate, v->Grinn->Celleramme(2, 0).center());
  QTest::mouseRelease(flate, Qt::LeftButton, {}, v->Grinn->Celleramme(2, 0).center());
  EXPECT_EQ(m.Celle(0, 0), "Bredt navn");
  EXPECT_EQ(m.Celle(2, 0), "A");
  EXPECT_EQ(m.Celle(2, 3), "3");
  EXPECT_EQ(v->Tabell().Bredeste[0], "Bredt navn") << "the widest text moves along";
  v->Skaler();
  EXPECT_GT(m.Kolbredde(0), m.Kolbredde(2));
  // With the first column frozen, a row is dragged by its frozen cell.
  m.SettFaste(1, 1);
  QTest::mousePress(flate, Qt::LeftButton, {}, v->Grinn->Celleramme(0, 3).center());
  QTest::mouseRelease(flate, Qt::LeftButton, {}, v->Grinn->Celleramme(0, 1).center());
  EXPECT_EQ(m.Celle(2, 1), "3");
  EXPECT_EQ(m.Celle(2, 2), "1");
  delete v;
}

// The table window's save dialog: the type chosen gives a name typed without
// an ending its own, for every export and the PDF, and a PDF made before
// leaves no ".Pdf" on later exports.
TEST(TVinduTest, EksportenFaarEndelsenTilTypenSomErValgt) {
  TVindu* v = Lag(2, {"A;B;", "1;x;", "2;y;"});
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  v->Hovedtekst = [] { return QString("Hornstad"); };
  QStringList meldinger;
  v->Melding = [&](const QString& t) { meldinger << t; };
  const std::filesystem::path mappe = std::filesystem::temp_directory_path() / "hornstad-tvindu-endelse";
  std::filesystem::remove_all(mappe);
  std::filesystem::create_directories(mappe);
  std::optional<TLagringsfil> svar;
  v->VelgLagringsfil = [&](const TLagreValg&) { return svar; };
  struct Fall {
    std::function<void()> gjor;
    const char* navn;
    int type;
    const char* fil;
  };
  const Fall fall[] = {
      {[&] { v->Kopier1->trigger(); }, "a", 0, "a.txt"}, {[&] { v->Kopier1->trigger(); }, "b", 1, "b.Csv"},
      {[&] { v->KopHtm->trigger(); }, "c", 0, "c.html"}, {[&] { QTest::keyClick(v, Qt::Key_F6); }, "d", 0, "d.Pdf"},
      {[&] { v->Kopier2->trigger(); }, "e", 0, "e.txt"}, {[&] { v->Kopier2->trigger(); }, "f.tek", 1, "f.tek"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.fil);
    svar = TLagringsfil{QString::fromStdString((mappe / f.navn).string()), f.type};
    f.gjor();
    EXPECT_TRUE(std::filesystem::exists(mappe / f.fil));
  }
  EXPECT_TRUE(meldinger.isEmpty()) << meldinger.join("\n").toStdString();
  for (const char* uten : {"a", "b", "c", "d", "e", "f"}) EXPECT_FALSE(std::filesystem::exists(mappe / uten)) << uten;
  std::filesystem::remove_all(mappe);
  delete v;
}
