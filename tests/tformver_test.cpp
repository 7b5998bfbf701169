// The lookup window under the offscreen platform, driven with keys and mouse.
#include "tformver.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <map>

#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "okt.h"
#include "register.h"
#include "skriverjobb.h"
#include "stamtre.h"
#include "stamtredokument.h"
#include "tekst.h"
#include "testmappe.h"
#include "tgrid.h"
#include "tinnlesing.h"
#include "tintedit.h"
#include "trase.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

TVerPost Ver(int32_t nummer, const std::string& navn, int32_t far = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(navn);
  p.Farnr = far;
  p.Rase = 1;
  p.Fylke = 12;
  p.OIndeks = 112;
  p.Kropp = 5;
  p.Bein = 6;
  p.Ullkvalitet = 7;
  p.Ullmengde = 8;
  p.VektAvvik = 1.5f;
  p.OAett = 2.0f;
  p.Mornr = 4521;
  p.Hostvekt = 45.5f;
  p.IndeksDato = 38000;
  p.Fodebuskap.Sett("OLA NORDMANN");
  p.Fodested.Sett("\xD8RSTA");
  return p;
}

// A register of 150 rams with three "FJELL" names and a sire chain.
class VerVindu : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<TVerPost> v;
    for (int i = 0; i < 150; ++i) v.push_back(Ver(1000 + i, "VER" + std::to_string(i)));
    v[10] = Ver(1200000, "Blakken");
    v[11] = Ver(1200001, "Fjellkongen", 1200000);
    v[12] = Ver(1200002, "Lille Fjellbu", 1200001);
    v[13] = Ver(1200003, "Fjellrypa", 1200001);
    v[14] = Ver(123, "Hundretjuetre");
    // Names that the integer reading takes for hexadecimal numbers.
    v[15] = Ver(1200010, "Xaver");
    v[16] = Ver(1200011, "Alexa");
    v[17] = Ver(1200012, "Rexdal");
    // One judging number stored twice.
    v[20] = Ver(1902505, "LYNGBJ\xD8RN");
    v[21] = Ver(1902505, "LYNGSTAD");
    SkrivVerFil(mappe / "Verene.Dat", v);
    reg.LoadRegister();
    okt.LastRegister();
    vindu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&vindu));
    vindu.Evernum->setFocus();
  }
  QString Celle(TGrid* g, int rad) { return g->Tekst(1, rad); }
  void Skriv(const char* tekst) { QTest::keyClicks(vindu.Evernum, tekst); }
  void Enter() { QTest::keyClick(vindu.Evernum, Qt::Key_Return); }

  TestMappe mappe;
  TProdusent reg{mappe.Sti()};
  Trase raser;
  TOkt okt{mappe.Sti()};
  TFormVer vindu{okt};
};

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w->grab().save(QString(mappe) + "/" + navn + ".png");
}

}  // namespace

TEST_F(VerVindu, NummerOgEnterViserVeren) {
  Skriv("1200002");
  Enter();
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200002);
  EXPECT_EQ(vindu.Rasnav->text(), "Dala    / Lille Fjellbu\nFødebuskap:Ola Nordmann\nFødested:Ørsta i   Hordaland");
  EXPECT_EQ(Celle(vindu.Slekt, 0), "1200001");
  EXPECT_EQ(Celle(vindu.Slekt, 1), "Fjellkongen");
  EXPECT_EQ(Celle(vindu.Slekt, 4), "004521");
  EXPECT_EQ(Celle(vindu.Scan, 6), "29,5");
  EXPECT_TRUE(vindu.Stamme->isEnabled());
  EXPECT_TRUE(vindu.Avkom->isEnabled());
  Skjermbilde(&vindu, "oppslag");
}

TEST_F(VerVindu, NavnesokMedEnterOgMedMusa) {
  struct Tilfelle {
    const char* navn;
    const char* skriv;
    bool medMus;  // click "Let" instead of pressing Enter
    int32_t vist;
    int kandidater;  // -1: the list stays hidden
  };
  const Tilfelle tilfeller[] = {
      {"ett treff med Enter", "blakk", false, 1200000, -1},
      {"ett treff med musa", "Blakk", true, 1200000, -1},
      {"tre treff", "fjell", false, 0, 3},
      {"to tegn og Enter", "bl", false, 0, -1},
      {"ingen treff", "qqq", false, 0, -1},
      {"tall med bokstaver", "12ab3", false, 123, -1},
      {"navn som ligner et heksadesimalt tall", "Xaver", false, 1200010, -1},
      {"det samme med musa", "Xaver", true, 1200010, -1},
      {"Alexa med musa", "Alexa", true, 1200011, -1},
      {"Rexdal", "Rexdal", false, 1200012, -1},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    vindu.Evernum->clear();
    vindu.LiVer->hide();
    Skriv(t.skriv);
    if (t.medMus) {
      QTest::mouseClick(vindu.Let, Qt::LeftButton);
      EXPECT_EQ(vindu.Evernum->text(), t.vist ? QString::number(t.vist) : "0");
    } else {
      Enter();
    }
    EXPECT_EQ(+vindu.GjeldendeVer().Nummer, t.vist);
    EXPECT_EQ(vindu.LiVer->isVisible(), t.kandidater >= 0);
    if (t.kandidater >= 0) {
      ASSERT_EQ(vindu.LiVer->count(), t.kandidater);
      EXPECT_EQ(vindu.LiVer->item(0)->text(), "1200001 FJELLKONGEN");
      EXPECT_EQ(vindu.LiVer->geometry().size(), QSize(170, 150));
      Skjermbilde(&vindu, "oppslag-kandidater");
      Skjermbilde(vindu.LiVer, "kandidatliste");
      // Choosing an item shows that ram and hides the list.
      const QRect r = vindu.LiVer->visualItemRect(vindu.LiVer->item(2));
      QTest::mouseClick(vindu.LiVer->viewport(), Qt::LeftButton, {}, r.center());
      EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200003);
      EXPECT_EQ(vindu.Evernum->Verdi(), 1200003);
      EXPECT_FALSE(vindu.LiVer->isVisible());
    }
    if (t.vist == 1200000 && !t.medMus) {
      EXPECT_EQ(vindu.Evernum->text(), "1200000");
    }
    // With a ram shown, the next key empties the display.
    vindu.Evernum->setFocus();
    if (vindu.GjeldendeVer().Nummer > 0) {
      QTest::keyClick(vindu.Evernum, Qt::Key_5);
      EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 0);
      EXPECT_FALSE(vindu.Stamme->isEnabled());
      EXPECT_FALSE(vindu.Avkom->isEnabled());
      EXPECT_FALSE(vindu.Endre->isEnabled());
      EXPECT_FALSE(vindu.Endrealt->isEnabled());
      EXPECT_EQ(Celle(vindu.Scan, 6), "^^^");
    }
  }
}

TEST_F(VerVindu, KandidatlistaTommesVedHvertSoek) {
  // After an offer of three names, each following search starts with an empty
  // list: one match, no match and a number search leave no old names behind.
  struct Tilfelle {
    const char* skriv;
    int32_t vist;
  };
  for (const Tilfelle& t : {Tilfelle{"blakk", 1200000}, Tilfelle{"qqq", 0}, Tilfelle{"1200001", 1200001}}) {
    SCOPED_TRACE(t.skriv);
    vindu.Evernum->clear();
    Skriv("fjell");
    Enter();
    ASSERT_EQ(vindu.LiVer->count(), 3);
    ASSERT_TRUE(vindu.LiVer->isVisible());
    vindu.Evernum->clear();
    Skriv(t.skriv);
    Enter();
    EXPECT_EQ(+vindu.GjeldendeVer().Nummer, t.vist);
    EXPECT_EQ(vindu.LiVer->count(), 0);
    EXPECT_FALSE(vindu.LiVer->isVisible());
  }
}

TEST_F(VerVindu, ValgIListaViserPostenSomStodDer) {
  // Two records hold 1902505; the item picked is the ram shown.
  for (int rad : {0, 1}) {
    SCOPED_TRACE(rad);
    vindu.Evernum->clear();
    Skriv("lyng");
    Enter();
    ASSERT_EQ(vindu.LiVer->count(), 2);
    const QString tekst = vindu.LiVer->item(rad)->text();
    EXPECT_EQ(tekst, rad == 0 ? "1902505 LYNGBJØRN" : "1902505 LYNGSTAD");
    const QRect r = vindu.LiVer->visualItemRect(vindu.LiVer->item(rad));
    QTest::mouseClick(vindu.LiVer->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ("1902505 " + TilQString(vindu.GjeldendeVer().Navn.Verdi()), tekst);
    EXPECT_TRUE(vindu.Rasnav->text().contains(rad == 0 ? "Lyngbjørn" : "Lyngstad"))
        << vindu.Rasnav->text().toStdString();
    if (rad == 0) Skjermbilde(&vindu, "oppslag-valgt-fra-lista");
  }
}

TEST_F(VerVindu, TomVisningOgUkjentNummer) {
  Skriv("999999");
  Enter();
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 0);
  EXPECT_EQ(vindu.Rasnav->text(), "Rase/navn\nFødebuskap:\nFødested:");
  EXPECT_EQ(Celle(vindu.Verind, 0), "Ingen dato");
  EXPECT_EQ(Celle(vindu.Slekt, 4), "000000");
  EXPECT_EQ(Celle(vindu.Slekt, 7), "Kåra");
  EXPECT_EQ(Celle(vindu.Slekt, 9), "----");
  EXPECT_EQ(Celle(vindu.Scan, 6), "^^^");
  EXPECT_FALSE(vindu.Avkom->isEnabled());
}

TEST_F(VerVindu, NyttRegisterViserVerenSlikDenStaarDer) {
  // A register read in while the window is open (an import): the ram shown
  // is the new register's, or none when the new one lacks it, and the
  // candidates of a name search in the old one are gone.
  struct Tilfelle {
    const char* hva;
    bool medVeren;    // the new register holds 1200002, renamed, with another sire
    bool kandidater;  // a name search's list was open
  };
  const Tilfelle tilfeller[] = {
      {"veren er med", true, false},
      {"veren er borte", false, false},
      {"kandidatlista var oppe", true, true},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    okt.SlippRegister();
    SkrivVerFil(mappe / "Verene.Dat", [] {
      std::vector<TVerPost> v;
      for (int i = 0; i < 150; ++i) v.push_back(Ver(1000 + i, "VER" + std::to_string(i)));
      v[10] = Ver(1200000, "Blakken");
      v[11] = Ver(1200001, "Fjellkongen", 1200000);
      v[12] = Ver(1200002, "Lille Fjellbu", 1200001);
      v[13] = Ver(1200003, "Fjellrypa", 1200001);
      return v;
    }());
    okt.LastRegister();
    vindu.Evernum->clear();
    Skriv("1200002");
    Enter();
    ASSERT_EQ(+vindu.GjeldendeVer().Nummer, 1200002);
    if (t.kandidater) {
      vindu.Evernum->clear();
      Skriv("fjell");
      Enter();
      ASSERT_TRUE(vindu.LiVer->isVisible());
    }

    okt.SlippRegister();
    std::vector<TVerPost> ny;
    for (int i = 0; i < 150; ++i) ny.push_back(Ver(5000 + i, "ANNEN" + std::to_string(i)));
    if (t.medVeren) ny[40] = Ver(1200002, "Ny Fjellbu", 5000);
    SkrivVerFil(mappe / "Verene.Dat", ny);
    okt.LastRegister();

    EXPECT_FALSE(vindu.LiVer->isVisible());
    EXPECT_EQ(vindu.LiVer->count(), 0);
    if (t.kandidater) continue;
    if (t.medVeren) {
      EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200002);
      EXPECT_EQ(vindu.Rasnav->text().section('\n', 0, 0), "Dala    / Ny Fjellbu");
      EXPECT_EQ(Celle(vindu.Slekt, 0), "5000");
      EXPECT_EQ(Celle(vindu.Slekt, 1), "Annen0");
      EXPECT_TRUE(vindu.Avkom->isEnabled());
    } else {
      EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 0);
      EXPECT_EQ(vindu.Rasnav->text(), "Rase/navn\nFødebuskap:\nFødested:");
      EXPECT_FALSE(vindu.Avkom->isEnabled());
      EXPECT_FALSE(vindu.Stamme->isEnabled());
      EXPECT_FALSE(vindu.LeggIListeKnapp->isEnabled());
    }
  }
}

TEST(VerVinduNavn, FarensNavnFaarPlassMedAlleTjueTegn) {
  // Sires whose names fill the 20 bytes of the name field with wide letters,
  // each with a son; the son shows the sire's name (and its own sire's as the
  // dam's sire's) whole in the pedigree grid.
  const char* const navn[] = {"MMMMMMMMMMMMMMMMMMMM", "WWWWWWWWWWWWWWWWWWWW", "W W W W W W W W W W ",
                              "M-M-M-M-M-M-M-M-M-M-",
                              "\xC6\xD8\xC5\xC6\xD8\xC5\xC6\xD8\xC5\xC6\xD8\xC5\xC6\xD8\xC5\xC6\xD8\xC5\xC6\xD8"};
  TestMappe mappe;
  std::vector<TVerPost> v;
  for (int i = 0; i < 120; ++i) v.push_back(Ver(1000 + i, "VER" + std::to_string(i)));
  for (int i = 0; i < 5; ++i) {
    v.push_back(Ver(2000000 + i, navn[i]));
    TVerPost sonn = Ver(3000000 + i, "SONN", 2000000 + i);
    sonn.MorFar = 2000000 + i;
    v.push_back(sonn);
  }
  SkrivVerFil(mappe / "Verene.Dat", v);
  TOkt okt(mappe.Sti());
  okt.LastRegister();
  TFormVer vindu(okt);
  vindu.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&vindu));
  const QFontMetrics fm(vindu.Slekt->font());
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(Cp1252TilUtf8(navn[i]));
    vindu.Evernum->SettVerdi(3000000 + i);
    vindu.LetClick();
    ASSERT_EQ(+vindu.GjeldendeVer().Nummer, 3000000 + i);
    for (const int rad : {1, 3}) {  // "Far navn", "MF navn"
      const QString tekst = vindu.Slekt->Tekst(1, rad);
      EXPECT_EQ(tekst.trimmed(), TilQString(NameCase(navn[i])).trimmed());
      // The cell draws its text 2 pixels in from either side.
      EXPECT_LE(fm.horizontalAdvance(tekst), vindu.Slekt->Celleramme(1, rad).width() - 4)
          << fm.horizontalAdvance(tekst) << " > " << vindu.Slekt->Celleramme(1, rad).width() - 4;
    }
    // The grid is shown whole beside the others.
    EXPECT_TRUE(vindu.Slekt->visibleRegion().boundingRect().contains(vindu.Slekt->Celleramme(1, 1)));
    if (i == 0) Skjermbilde(&vindu, "oppslag-langt-farsnavn");
  }
}

TEST_F(VerVindu, DobbeltklikkPaaFarViserFaren) {
  Skriv("1200002");
  Enter();
  ASSERT_EQ(+vindu.GjeldendeVer().Nummer, 1200002);
  const auto dobbelt = [&](int rad) {
    const QRect r = vindu.Slekt->Celleramme(1, rad);
    QTest::mouseDClick(vindu.Slekt->viewport(), Qt::LeftButton, {}, r.center());
  };
  dobbelt(2);  // "MorFar" does nothing
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200002);
  dobbelt(0);  // "Farnr."
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200001);
  EXPECT_EQ(vindu.Evernum->text(), "1200001");
  dobbelt(0);  // and on up the line
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200000);
}

TEST_F(VerVindu, LukkSkjulerOgBeholderVeren) {
  Skriv("1200001");
  Enter();
  QTest::mouseClick(vindu.Lukk, Qt::LeftButton);
  EXPECT_FALSE(vindu.isVisible());
  vindu.show();
  EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200001);
  EXPECT_EQ(vindu.Evernum->text(), "1200001");
  EXPECT_EQ(Celle(vindu.Slekt, 1), "Blakken");
}

TEST_F(VerVindu, IndeksrutenettetsFarger) {
  Skriv("1200001");
  Enter();
  const QImage bilde = vindu.Verind->viewport()->grab().toImage();
  // Some pixel of the count rows' text is blue, none of the index rows' is.
  const auto harFarge = [&](int rad, QColor farge) {
    const QRect r = vindu.Verind->Celleramme(0, rad);
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (const QColor c = bilde.pixelColor(x, y); std::abs(c.red() - farge.red()) < 60 &&
                                                     std::abs(c.green() - farge.green()) < 60 &&
                                                     std::abs(c.blue() - farge.blue()) < 60)
          return true;
    return false;
  };
  EXPECT_TRUE(harFarge(9, Qt::blue));
  EXPECT_TRUE(harFarge(11, Qt::blue));
  EXPECT_FALSE(harFarge(1, Qt::blue));
}

// "Skriv" prints a picture of the window on one page; a print the dialog
// sends to a file replaces that file whole, or leaves it as it was and says
// why.
TEST_F(VerVindu, SkriverBildeAvVinduetPaaEnSide) {
  Skriv("1200001");
  Enter();
  const fs::path fil = mappe / "oppslag.pdf";
  vindu.VelgSkriver = [&](QPrinter& skriver) {
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString(fil.string()));
    return true;
  };
  std::vector<QString> meldinger;
  vindu.Melding = [&](const QString& t, TMeldingstype) { meldinger.push_back(t); };
  SkrivTrygt(fil, "eldre utskrift");
  {
    Filgrense grense(1024);
    vindu.SkrivClick();
  }
  ASSERT_EQ(meldinger.size(), 1u);
  EXPECT_TRUE(meldinger[0].contains("oppslag.pdf")) << meldinger[0].toStdString();
  EXPECT_EQ(LesHeleFila(fil), "eldre utskrift");
  EXPECT_FALSE(fs::exists(mappe / "oppslag.pdf.ny"));

  vindu.SkrivClick();
  EXPECT_EQ(meldinger.size(), 1u);
  const std::string info = "pdfinfo '" + fil.string() + "' | grep -q '^Pages: *1$'";
  EXPECT_EQ(std::system(info.c_str()), 0);

  // While another job of ours prints: the one message, and no dialog.
  int dialoger = 0;
  vindu.VelgSkriver = [&](QPrinter&) {
    ++dialoger;
    return false;
  };
  {
    const TSkriverjobb annen;
    vindu.SkrivClick();
  }
  EXPECT_EQ(dialoger, 0);
  ASSERT_EQ(meldinger.size(), 2u);
  EXPECT_EQ(meldinger[1], QString::fromUtf8(SkriverOpptattTekst));
}

TEST_F(VerVindu, AvkomApnerTabellMedSonnene) {
  Skriv("1200001");
  Enter();
  // Two sons with a positive index; the generated rams are no sons of it.
  TVindu* t = vindu.AvkomClick();
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t));
  EXPECT_EQ(t->windowTitle(), "Sønner ");
  EXPECT_EQ(t->Overskr->text(), "Sønner etter 1200001 Fjellkongen");
  const TRutenett& m = t->Grinn->Modell();
  ASSERT_EQ(m.Rader(), 3);
  EXPECT_EQ(m.Celle(0, 0), "V\xE6rnr");
  EXPECT_EQ(m.Celle(1, 1), "Lille Fjellbu");
  EXPECT_EQ(m.Celle(0, 2), "1200003");
  EXPECT_EQ(m.Celle(3, 1), "4521");
  EXPECT_TRUE(t->bunn->isVisible());
  Skjermbilde(t, "avkom");
  t->close();
}

TEST_F(VerVindu, StamtreOgKlikkPaaFarenVedHverZoom) {
  Skriv("1200002");
  Enter();
  for (const char* skala : {"100%", "200%", "50%"}) {
    SCOPED_TRACE(skala);
    TInnlesing* t = vindu.StammeClick();
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t));
    EXPECT_TRUE(t->windowTitle().startsWith("Stamtre for")) << t->windowTitle().toStdString();
    t->Skal->setCurrentText(skala);
    const double zoom = t->Flate->width() / 640.0;
    const auto* stamtre = dynamic_cast<const TStamtredokument*>(t->Dokument());
    ASSERT_NE(stamtre, nullptr);
    const TVerBoks* rot = &stamtre->Rot();
    ASSERT_NE(rot->Far, nullptr);
    // A click on the sire's number looks the sire up in the lookup window.
    const QPoint p(static_cast<int>((rot->Far->X + 10) * zoom), static_cast<int>((rot->Far->Y + 8) * zoom));
    QTest::mouseClick(t->Flate, Qt::LeftButton, {}, p);
    EXPECT_EQ(+vindu.GjeldendeVer().Nummer, 1200001);
    if (std::string(skala) == "100%") Skjermbilde(t, "stamtre");
    t->close();
    Skriv("");
    vindu.Evernum->SettVerdi(1200002);
    vindu.LetClick();
  }
}

// With HORNSTAD_DEMO set to a data folder (and HORNSTAD_SKJERMBILDER), shows the
// sons of the ram with the most sons there, for a look at a real-sized table.
TEST(VerDemo, AvkomForDemoregisteret) {
  const char* demo = std::getenv("HORNSTAD_DEMO");
  if (demo == nullptr) GTEST_SKIP() << "HORNSTAD_DEMO er ikke satt";
  TProdusent reg(demo);
  reg.LoadRegister();
  std::map<int32_t, int> soenner;
  for (int32_t i = 0; i < reg.RecordCount(); ++i) ++soenner[reg.ReadAt(i).Farnr];
  soenner.erase(0);
  int32_t far = 0;
  for (const auto& [nr, antall] : soenner)
    if (far == 0 || antall > soenner[far]) far = nr;
  Trase raser;
  TOkt okt(demo);
  okt.LastRegister();
  TFormVer vindu(okt);
  vindu.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&vindu));
  QTest::keyClicks(vindu.Evernum, QString::number(far));
  QTest::keyClick(vindu.Evernum, Qt::Key_Return);
  Skjermbilde(&vindu, "demo-oppslag");
  TVindu* t = vindu.AvkomClick();
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t));
  t->Okende->click();
  t->SumKol->trigger();
  Skjermbilde(t, "demo-avkom");
  delete t;
}
