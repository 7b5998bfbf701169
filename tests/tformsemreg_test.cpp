// The insemination window under the offscreen platform, typing into cells.
#include "tformsemreg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include "avlregister.h"
#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "inifil.h"
#include "okt.h"
#include "programvinduer.h"
#include "register.h"
#include "seminfil.h"
#include "skriverjobb.h"
#include "slektskap.h"
#include "tekst.h"
#include "testmappe.h"
#include "tgrid.h"

namespace fs = std::filesystem;

namespace {

// A producer number whose check digit is right.
std::string Produsent() {
  for (char c = '0'; c <= '9'; ++c) {
    const std::string p = std::string("123456789") + c;
    if (CheckDigitOk(p)) return p;
  }
  return {};
}

int IAar() { return QDate::currentDate().year(); }

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w->grab().save(QString(mappe) + "/" + navn + ".png");
}

// The lines of a data file with the given rows (14 cells each; empty cells
// give no line).
std::string Datafil(const std::vector<std::vector<std::string>>& rader) {
  TSemindata d;
  d.prodNr = Produsent();
  d.semNr = "12345";
  d.rader = rader;
  return DatafilTekst(d);
}

const std::vector<std::string> Rad1 = {"2003",  "7",  "10/10/2005", "20", "2", "11/10/2005", "08",
                                       "12345", "41", "2005",       "1",  "1", "1",          ""};
const std::vector<std::string> Rad2 = {"2004",      "1234", "12/10/2005", "06", "3", "13/10/2005", "14",
                                       "200012345", "40",   "2005",       "0",  "2", "2",          "30/10/2005"};

// The window with a data folder holding the approved list, and the working
// directory in the test folder. Questions are answered as each test says and
// recorded with the messages.
class SemVindu : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(m / "data");
    m.Skriv("data/SemGodkj.Txt", "12345=Kari Inseminor\r\n");
    // The data folder's state, with no register loaded.
    v = std::make_unique<TFormSemReg>(okt);
    Koble(*v);
  }
  // The window the helpers below work on gets the test's answers.
  void Koble(TFormSemReg& vindu) {
    w = &vindu;
    vindu.Melding = [this](const QString& t) { meldinger << t; };
    vindu.Spor = [this](const QString& t, bool) {
      sporsmal << t;
      return svar;
    };
    vindu.SporJaNei = [this](const QString& t) {
      sporsmal << t;
      return jaTilTomLagring;
    };
  }
  void Start() {
    w->Vis();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  }
  // The year typed into the year field (keys only: a mouse press starts afresh).
  void VelgAar(int aar) {
    w->Ssemar->setFocus();
    QTest::keyClick(w->Ssemar, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->Ssemar, QString::number(aar));
    ASSERT_EQ(w->Ssemar->value(), aar);
  }
  void Hent(const std::string& prod = Produsent(), const char* sem = "12345") {
    w->EprodNr->setFocus();
    w->EprodNr->selectAll();
    QTest::keyClicks(w->EprodNr, QString::fromStdString(prod));
    w->EsemNr->setFocus();
    w->EsemNr->selectAll();
    QTest::keyClicks(w->EsemNr, sem);
    QTest::mouseClick(w->Bhent, Qt::LeftButton);
  }
  void Klikk(int kol, int rad) {
    QTest::mouseClick(w->GriSem->viewport(), Qt::LeftButton, {}, w->GriSem->Celleramme(kol, rad).center());
  }
  // Clicks the cell and types the text and Enter into it.
  void SkrivCelle(int kol, int rad, const char* tekst) {
    Klikk(kol, rad);
    const QString t = QString::fromUtf8(tekst);
    QTest::keyClicks(w->GriSem, t.left(1));  // the first key opens the editor
    QTest::keyClicks(QApplication::focusWidget(), t.mid(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
  std::vector<std::vector<std::string>> Rader() const {
    std::vector<std::vector<std::string>> r;
    const TRutenett& g = w->GriSem->Modell();
    for (int rad = 1; rad < g.Rader(); ++rad) r.push_back(g.Rad(rad));
    return r;
  }
  bool Rod(int kol, int rad) const { return w->GriSem->Modell().Flagg(kol, rad) != 0; }
  fs::path Fil(int aar) const { return m / (std::to_string(aar) + "Semin" + Produsent() + ".Data"); }

  TestMappe m;
  IMappe i{m.Sti()};
  TOkt okt{m / "data"};
  std::unique_ptr<TFormSemReg> v;
  TFormSemReg* w = nullptr;
  QStringList meldinger, sporsmal;
  int svar = 0;  // 1 yes, 0 no, -1 cancel
  bool jaTilTomLagring = false;
};

}  // namespace

TEST(SemRegVindu, HenteSkriveOgLagre) {
  TestMappe m;
  IMappe i(m.Sti());
  // The approved list in the working folder, as before, when the data folder has none.
  TOkt okt(m / "ingen");
  m.Skriv("SemGodkj.Txt", "12345=Kari Inseminor\r\n");
  TFormSemReg v(okt);
  QStringList meldinger;
  v.Melding = [&](const QString& t) { meldinger << t; };
  v.Spor = [](const QString&, bool) { return 0; };
  v.Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
  EXPECT_EQ(v.Ssemar->value(), QDate::currentDate().year());
  EXPECT_FALSE(v.GriSem->isEnabled());
  EXPECT_EQ(v.Lnav->text(), "Feil inseminørnummer");
  // The season of 2005, typed into the year field.
  v.Ssemar->setFocus();
  QTest::keyClick(v.Ssemar, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(v.Ssemar, "2005");
  ASSERT_EQ(v.Ssemar->value(), 2005);

  const std::string prod = Produsent();
  QTest::keyClicks(v.EprodNr, QString::fromStdString(prod));
  QTest::keyClicks(v.EsemNr, "12345");
  EXPECT_EQ(v.Lnav->text(), "Kari Inseminor");
  EXPECT_EQ(v.EprodNr->palette().color(QPalette::Base), QColor(255, 255, 255));
  v.Bhent->click();
  EXPECT_TRUE(v.GriSem->isEnabled());
  EXPECT_TRUE(v.Blagre->isEnabled());
  EXPECT_TRUE(v.windowTitle().startsWith("Seminresultater godkjent  for 2005.")) << v.windowTitle().toStdString();

  // Birth year and ewe number key the row; an hour of 25 is refused and turns red.
  TRutenett& g = v.GriSem->Modell();
  const auto skriv = [&](int kol, const char* tekst) {
    g.SettGjeldende(kol, 1);
    v.GriSem->setFocus();
    // The first key opens the editor; the rest go to it.
    const QString t = QString::fromUtf8(tekst);
    QTest::keyClicks(v.GriSem, t.left(1));
    QTest::keyClicks(QApplication::focusWidget(), t.mid(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  };
  skriv(0, "03");
  skriv(1, "7");
  EXPECT_EQ(g.Celle(1, 1), "7");
  skriv(2, "1.10");
  EXPECT_EQ(g.Celle(2, 1), "01/10/2005");
  skriv(3, "25");
  EXPECT_TRUE(v.GriSem->Redigerer()) << "a refused hour keeps the editor open";
  EXPECT_NE(g.Flagg(3, 1), 0u);
  v.GriSem->AvbrytRedigering();
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) v.grab().save(QString(mappe) + "/semin.png");

  // Saving an incomplete single row writes the file with no rows.
  v.Blagre->click();
  EXPECT_TRUE(std::filesystem::exists(m / ("2005Semin" + prod + ".Data")));
  // The grid printed: title, page head, rows, one page.
  QPdfWriter pdf(QString::fromStdString((m / "semin.pdf").string()));
  v.Utskriftstittel = "Produsent:" + QString::fromStdString(prod) + " Inseminør :12345";
  EXPECT_EQ(v.SkrivUt(pdf), 1);
  const Svar tekst = Kjor(m, "pdftotext semin.pdf -");
  EXPECT_NE(tekst.ut.find("Produsent:" + prod), std::string::npos) << tekst.ut;
  EXPECT_NE(tekst.ut.find("Side 1/1"), std::string::npos) << tekst.ut;
  EXPECT_NE(tekst.ut.find("01/10/2005"), std::string::npos) << tekst.ut;
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    std::filesystem::copy_file(m / "semin.pdf", std::filesystem::path(mappe) / "semin.pdf",
                               std::filesystem::copy_options::overwrite_existing);

  // "Skriv ut" to a file: written whole, or the older file stays and the
  // user is told why.
  v.VelgSkriver = [&](QPrinter& skriver) {
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString((m / "utskrift.pdf").string()));
    return true;
  };
  SkrivTrygt(m / "utskrift.pdf", "eldre utskrift");
  meldinger.clear();
  {
    Filgrense grense(1024);
    v.Button1Click();
  }
  ASSERT_EQ(meldinger.size(), 1);
  EXPECT_TRUE(meldinger[0].contains("utskrift.pdf")) << meldinger[0].toStdString();
  EXPECT_EQ(LesHeleFila(m / "utskrift.pdf"), "eldre utskrift");
  EXPECT_FALSE(std::filesystem::exists(m / "utskrift.pdf.ny"));
  v.Button1Click();
  EXPECT_EQ(meldinger.size(), 1);
  EXPECT_NE(Kjor(m, "pdftotext utskrift.pdf -").ut.find("Side 1/1"), std::string::npos);

  // While another job of ours prints: the one message, and no dialog.
  int dialoger = 0;
  v.VelgSkriver = [&](QPrinter&) {
    ++dialoger;
    return false;
  };
  {
    const TSkriverjobb annen;
    v.Button1Click();
  }
  EXPECT_EQ(dialoger, 0);
  ASSERT_EQ(meldinger.size(), 2);
  EXPECT_EQ(meldinger[1], QString::fromUtf8(SkriverOpptattTekst));
  v.close();
}

TEST_F(SemVindu, MinimertOgGjenopprettetBeholderDetSomErSkrevet) {
  Start();
  Hent();
  ASSERT_TRUE(v->GriSem->isEnabled());
  SkrivCelle(0, 1, std::to_string(IAar() - 2).c_str());
  SkrivCelle(1, 1, "7");
  SkrivCelle(2, 1, "1.10");
  const auto rader = Rader();
  ASSERT_EQ(rader[0][2], "01/10/" + std::to_string(IAar()));
  const fs::path fil = v->Datafil();
  ASSERT_FALSE(fil.empty());
  ASSERT_TRUE(v->Semin.Endret);

  // As the desktop minimises and restores or hides and shows it, and as the
  // main window's "Semin" shows it again (also while minimised).
  const auto minimer = [&] {
    v->setWindowState(v->windowState() | Qt::WindowMinimized);
    QApplication::processEvents();
  };
  const auto gjenopprett = [&] {
    v->setWindowState(v->windowState() & ~Qt::WindowMinimized);
    v->show();
    QApplication::processEvents();
  };
  const auto semin = [&] { ASSERT_TRUE(QMetaObject::invokeMethod(v.get(), "Vis")); };
  struct Tilfelle {
    const char* navn;
    std::function<void()> gjor;
  };
  const Tilfelle tilfeller[] = {
      {"minimert og gjenopprettet",
       [&] {
         minimer();
         gjenopprett();
       }},
      {"skjult og vist",
       [&] {
         v->hide();
         QApplication::processEvents();
         v->show();
         QApplication::processEvents();
       }},
      {"Semin mens det er åpent", semin},
      {"Semin mens det er minimert",
       [&] {
         minimer();
         semin();
       }},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    t.gjor();
    EXPECT_TRUE(v->isVisible());
    EXPECT_FALSE(v->isMinimized());
    EXPECT_EQ(Rader(), rader);
    EXPECT_EQ(v->Datafil(), fil);
    EXPECT_TRUE(v->Semin.Endret);
    EXPECT_TRUE(v->GriSem->isEnabled());
    EXPECT_TRUE(v->Blagre->isEnabled());
    EXPECT_EQ(v->EprodNr->text().toStdString(), Produsent());
    EXPECT_TRUE(sporsmal.isEmpty()) << sporsmal.join("|").toStdString();
  }
  Skjermbilde(v.get(), "semin-gjenopprettet");

  // Closed (and not saved), it starts afresh when it is shown again.
  svar = 0;
  v->close();
  ASSERT_FALSE(v->isVisible());
  semin();
  EXPECT_EQ(Rader(), std::vector<std::vector<std::string>>{std::vector<std::string>(14)});
  EXPECT_TRUE(v->Datafil().empty());
  EXPECT_FALSE(v->GriSem->isEnabled());
  EXPECT_FALSE(v->Blagre->isEnabled());
}

TEST_F(SemVindu, HovedvinduetsSeminStarterVinduetBareNaarDetIkkeErApent) {
  // The program's own windows, in the full configuration that offers "Semin".
  QSettings(QString::fromStdString((m / "data" / "Hornstad.Ini").string()), InnstillingsFormat())
      .setValue("Hoved/Fullt", 1);
  TProgramvinduer p(m / "data");
  p.hoved.Melding = p.hoved.Feilmelding = [this](const QString& t) { meldinger << t; };
  Koble(p.semreg);
  p.hoved.Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.hoved));
  ASSERT_TRUE(p.hoved.Semin->isEnabled());
  p.hoved.Semin->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.semreg));
  EXPECT_EQ(p.semreg.Ssemar->value(), IAar());
  EXPECT_FALSE(p.semreg.GriSem->isEnabled());
  Hent();
  SkrivCelle(0, 1, std::to_string(IAar() - 2).c_str());
  SkrivCelle(1, 1, "7");
  const auto rader = Rader();
  ASSERT_EQ(rader[0][1], "7");
  for (const bool minimert : {false, true}) {
    SCOPED_TRACE(minimert);
    if (minimert) p.semreg.setWindowState(p.semreg.windowState() | Qt::WindowMinimized);
    p.hoved.Semin->trigger();
    EXPECT_FALSE(p.semreg.isMinimized());
    EXPECT_EQ(Rader(), rader);
    EXPECT_TRUE(p.semreg.GriSem->isEnabled());
  }
  // Closing the main window closes this one; the question about the rows
  // comes first, and Cancel keeps both open.
  svar = -1;
  p.hoved.close();
  EXPECT_TRUE(p.hoved.isVisible());
  EXPECT_TRUE(p.semreg.isVisible());
  EXPECT_EQ(Rader(), rader);
  svar = 0;
  p.hoved.close();
  EXPECT_FALSE(p.hoved.isVisible());
  EXPECT_FALSE(p.semreg.isVisible());
  EXPECT_EQ(sporsmal.size(), 2);
}

TEST_F(SemVindu, AarfeltetStengerLagreOgLarFilaVaere) {
  // A fetched file with two rows; a press on the year field empties the
  // window. Whatever the user answers and presses then, the file stays.
  m.Skriv(Fil(IAar()).filename().string(), Datafil({Rad1, Rad2}));
  const std::string foer = LesHeleFila(Fil(IAar()));
  svar = 1;
  Start();
  const QString navnFoer = v->Lnav->text(), antallFoer = v->Panel[0]->text();
  const QColor navnefargeFoer = v->Lnav->palette().color(QPalette::WindowText);
  Hent();
  ASSERT_EQ(Rader().size(), 3u);
  ASSERT_TRUE(v->Blagre->isEnabled());
  ASSERT_EQ(v->Lnav->text(), "Kari Inseminor");
  ASSERT_EQ(v->Panel[0]->text(), "2");
  // A press on the year's text, where the user clicks to type another year.
  QTest::mouseClick(v->Ssemar->findChild<QLineEdit*>(), Qt::LeftButton);
  EXPECT_TRUE(v->EprodNr->text().isEmpty());
  EXPECT_EQ(Rader().size(), 1u);
  // Nothing of the inseminator and the rows fetched is left: the name and
  // the count read as in a window just opened, and leaving the grid brings
  // back no name.
  EXPECT_EQ(v->Lnav->text().toStdString(), navnFoer.toStdString());
  EXPECT_EQ(v->Lnav->palette().color(QPalette::WindowText).name().toStdString(), navnefargeFoer.name().toStdString());
  EXPECT_EQ(v->Panel[0]->text().toStdString(), antallFoer.toStdString());
  Skjermbilde(v.get(), "semin-nytt-aar");
  ForlatGrid(v->Semin);
  EXPECT_EQ(v->Semin.Lnav, "");
  EXPECT_FALSE(v->Blagre->isEnabled());
  EXPECT_FALSE(v->GriSem->isEnabled());
  EXPECT_TRUE(v->Datafil().empty());
  QTest::mouseClick(v->Blagre, Qt::LeftButton);
  // Typing a producer again and fetching asks nothing about the file left.
  Hent();
  v->close();
  EXPECT_EQ(LesHeleFila(Fil(IAar())), foer);
  EXPECT_TRUE(sporsmal.isEmpty()) << sporsmal.join("|").toStdString();
}

TEST_F(SemVindu, LagringUtenHeleRaderSporForDenTommerFila) {
  m.Skriv(Fil(IAar()).filename().string(), Datafil({Rad1}));
  const std::string foer = LesHeleFila(Fil(IAar()));
  Start();
  Hent();
  ASSERT_EQ(Rader()[0], Rad1);
  ASSERT_EQ(v->Panel[0]->text(), "1");
  // A refused hour turns the only row incomplete.
  SkrivCelle(3, 1, "25");
  v->GriSem->AvbrytRedigering();
  ASSERT_TRUE(Rod(3, 1));
  for (const int ja : {0, 1}) {
    SCOPED_TRACE(ja);
    jaTilTomLagring = ja;
    sporsmal.clear();
    QTest::mouseClick(v->Blagre, Qt::LeftButton);
    ASSERT_EQ(sporsmal.size(), 1);
    EXPECT_TRUE(sporsmal[0].contains(QString::fromStdString(Fil(IAar()).filename().string()) + "» har 1 lagret linje"))
        << sporsmal[0].toStdString();
    EXPECT_EQ(LesHeleFila(Fil(IAar())), ja ? "ProdNr=" + Produsent() + "\r\nSemNr=12345\r\nAntall=0\r\n" : foer);
    EXPECT_EQ(v->Semin.Endret, !ja) << "a save that was not done leaves the changes unsaved";
    EXPECT_EQ(v->Panel[0]->text().toStdString(), ja ? "0" : "1") << "the count is that of the rows in the file";
  }
}

TEST_F(SemVindu, LagringSomIkkeBleGjortStopperLukkingAarskifteOgHenting) {
  // "Yes, save first", then "no" to emptying the file: the save is not done,
  // so what was to follow it does not happen and the rows typed stay.
  m.Skriv(Fil(IAar()).filename().string(), Datafil({Rad1}));
  const std::string foer = LesHeleFila(Fil(IAar()));
  Start();
  Hent();
  SkrivCelle(3, 1, "25");
  v->GriSem->AvbrytRedigering();
  const auto rader = Rader();
  svar = 1;
  jaTilTomLagring = false;
  struct Tilfelle {
    const char* navn;
    std::function<void()> gjor;
  };
  const Tilfelle tilfeller[] = {
      {"lukke", [&] { v->close(); }},
      {"bytte år", [&] { QTest::mouseClick(v->Ssemar->findChild<QLineEdit*>(), Qt::LeftButton); }},
      {"hente på nytt", [&] { QTest::mouseClick(v->Bhent, Qt::LeftButton); }},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    sporsmal.clear();
    t.gjor();
    EXPECT_EQ(sporsmal.size(), 2) << sporsmal.join("|").toStdString();
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(Rader(), rader);
    EXPECT_EQ(v->Ssemar->value(), IAar());
    EXPECT_EQ(v->Datafil(), Fil(IAar()).filename());
    EXPECT_TRUE(v->Semin.Endret);
    EXPECT_EQ(LesHeleFila(Fil(IAar())), foer);
  }
  // Once the save is done, it closes.
  jaTilTomLagring = true;
  v->close();
  EXPECT_FALSE(v->isVisible());
}

TEST_F(SemVindu, SesongaaretFolgerAarfeltet) {
  Start();
  Hent();
  // Changed after the fetch, by keys: dates and birth years follow it.
  VelgAar(2004);
  SkrivCelle(0, 1, "1995");
  EXPECT_FALSE(Rod(0, 1)) << "1995 is within ten years of 2004";
  SkrivCelle(1, 1, "7");
  SkrivCelle(2, 1, "1.10");
  EXPECT_EQ(v->GriSem->Modell().Celle(2, 1), "01/10/2004");
  VelgAar(IAar());
  SkrivCelle(5, 1, "2.10");
  EXPECT_EQ(v->GriSem->Modell().Celle(5, 1), "02/10/" + std::to_string(IAar()));
}

TEST_F(SemVindu, SesongenErIAarIFilnavnTittelOgFerskSaed) {
  Start();
  EXPECT_EQ(v->Ssemar->value(), IAar());
  EXPECT_EQ(v->Semin.Semaar, IAar());
  Hent();
  EXPECT_EQ(v->windowTitle(), "Seminresultater godkjent  for " + QString::number(IAar()) + "." +
                                  QString::fromStdString(Fil(IAar()).filename().string()));
  EXPECT_EQ(v->Datafil(), Fil(IAar()).filename());
  SkrivCelle(0, 1, std::to_string(IAar() - 2).c_str());
  SkrivCelle(1, 1, "7");
  SkrivCelle(5, 1, "1.10");
  SkrivCelle(10, 1, "1");
  EXPECT_EQ(v->GriSem->Modell().Celle(9, 1), std::to_string(IAar())) << "fresh semen is of this season";
}

TEST_F(SemVindu, ManglendeVerMerkesIRadenMarkorenForlot) {
  // Row 1 has no ram; row 2 has one.
  std::vector<std::string> utenVer = Rad1;
  utenVer[7].clear();
  m.Skriv(Fil(IAar()).filename().string(), Datafil({utenVer, Rad2}));
  Start();
  Hent();
  ASSERT_EQ(Rader().size(), 3u);
  // Into row 1's production week from row 2: row 2 has its ram, nothing turns red.
  Klikk(7, 2);
  Klikk(8, 1);
  EXPECT_FALSE(Rod(7, 1));
  EXPECT_FALSE(Rod(7, 2));
  // Out of row 1 into row 2: the ram missing in row 1 turns red.
  Klikk(8, 2);
  EXPECT_TRUE(Rod(7, 1));
  EXPECT_FALSE(Rod(7, 2));
  Skjermbilde(v.get(), "semin-manglende-ver");
  // The selected cell's text can be read: dark pixels on its white.
  const QImage bilde = v->GriSem->viewport()->grab().toImage();
  const QRect r = v->GriSem->Celleramme(8, 2).adjusted(2, 2, -2, -2);
  int morke = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) morke += qGray(bilde.pixel(x, y)) < 100;
  EXPECT_GT(morke, 10) << "the week 40 in the current cell";
}

TEST_F(SemVindu, GodkjentlistaIDatamappa) {
  // The working folder has no list; the data folder's is used.
  Start();
  EXPECT_EQ(v->GodkjentFil(), m / "data" / "SemGodkj.Txt");
  Hent();
  EXPECT_EQ(v->Lnav->text(), "Kari Inseminor");
  EXPECT_EQ(v->EsemNr->palette().color(QPalette::Base), QColor(255, 255, 255));
  EXPECT_TRUE(v->GriSem->isEnabled());
}

TEST_F(SemVindu, RodtFeltForklaresIStatuslinja) {
  Start();
  QTest::keyClicks(v->EprodNr, "123");
  EXPECT_EQ(v->EprodNr->palette().color(QPalette::Base), FeltLysRod);
  EXPECT_EQ(v->Panel[1]->text(), "Produsentnummeret skal ha 10 siffer (nå 3).");
  v->EprodNr->clear();
  QTest::keyClicks(v->EprodNr, QString::fromStdString(Produsent()));
  EXPECT_EQ(v->Panel[1]->text(), "");
  QTest::keyClicks(v->EsemNr, "54321");
  EXPECT_EQ(v->EsemNr->palette().color(QPalette::Base), FeltLysRod);
  EXPECT_EQ(v->Panel[1]->text(), "54321 står ikke i lista over godkjente inseminører (" +
                                     QString::fromStdString((m / "data" / "SemGodkj.Txt").string()) + ").");
  Skjermbilde(v.get(), "semin-rodt-felt");
  v->EsemNr->clear();
  QTest::keyClicks(v->EsemNr, "12345");
  EXPECT_EQ(v->Panel[1]->text(), "");

  // Without a list anywhere, the reason says where it belongs.
  fs::remove(m / "data" / "SemGodkj.Txt");
  TFormSemReg uten(okt);
  uten.Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&uten));
  QTest::keyClicks(uten.EsemNr, "12345");
  EXPECT_EQ(uten.Lnav->text(), "Feil inseminørnummer");
  EXPECT_EQ(uten.Panel[1]->text(), "Ingen inseminør kan godkjennes: lista SemGodkj.Txt finnes ikke i datamappa " +
                                       QString::fromStdString((m / "data").string()) + ".");
  Skjermbilde(&uten, "semin-uten-godkjentliste");
}

TEST_F(SemVindu, GodkjentlistaSomLeggesInnMensVinduetErAapentBrukes) {
  // The list put in the data folder after the window first showed without
  // it: the next number typed is checked against it, and the window no
  // longer says the list is missing.
  fs::remove(m / "data" / "SemGodkj.Txt");
  Start();
  QTest::keyClicks(v->EsemNr, "12345");
  EXPECT_TRUE(v->Panel[1]->text().startsWith("Ingen inseminør kan godkjennes")) << v->Panel[1]->text().toStdString();
  m.Skriv("data/SemGodkj.Txt", "12345=Kari Inseminor\r\n");
  v->EsemNr->clear();
  QTest::keyClicks(v->EsemNr, "12345");
  EXPECT_EQ(v->GodkjentFil(), m / "data" / "SemGodkj.Txt");
  EXPECT_EQ(v->Lnav->text(), "Kari Inseminor");
  EXPECT_EQ(v->Panel[1]->text(), "");
}

TEST_F(SemVindu, HjelpVisesIEtVinduSomBlirTilDetLukkes) {
  Start();
  QTest::mouseClick(v->Bhjelp1, Qt::LeftButton);
  ASSERT_TRUE(v->Hjelpemeny->isVisible());
  const QList<QAction*> valg = v->Hjelpemeny->actions();
  ASSERT_EQ(valg.size(), 5);
  EXPECT_EQ(valg[0]->text(), "Komme igang");
  v->Hjelpemeny->hide();
  for (const int nr : {0, 4}) {
    SCOPED_TRACE(nr);
    valg[nr]->trigger();
    ASSERT_NE(v->Hjelpevindu, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v->Hjelpevindu));
    EXPECT_EQ(v->Hjelpevindu->windowTitle(), "Hjelp: " + valg[nr]->text());
    EXPECT_TRUE(v->Hjelpevindu->text().startsWith(nr == 0 ? "Først skrives rett produsent" : "Det skal kun sendes"))
        << v->Hjelpevindu->text().toStdString();
    // It stays while the user reads and works in the window.
    QTest::qWait(1200);
    v->EprodNr->setFocus();
    QTest::keyClicks(v->EprodNr, "1");
    EXPECT_TRUE(v->Hjelpevindu->isVisible());
    if (nr == 0) Skjermbilde(v->Hjelpevindu, "semin-hjelp");
  }
  QTest::mouseClick(v->Hjelpevindu->button(QMessageBox::Close), Qt::LeftButton);
  EXPECT_FALSE(v->Hjelpevindu->isVisible());
}

TEST_F(SemVindu, InnavlIStatuslinjaForSoyeneILista) {
  // The hand-worked register and two ewes of the breeder's list.
  SkrivVerFil(m / "data" / "Verene.Dat", AvlRegister());
  okt.LastRegister();
  m.Skriv("data/Soyer.Txt", "7;2000;0\r\n8;5000;0\r\n");
  Start();
  Hent();
  ASSERT_TRUE(v->GriSem->isEnabled());
  EXPECT_TRUE(v->Innavl->isHidden());
  const std::string aar = std::to_string(IAar() - 2);
  // Ewe 7, by 2000, with 2000: 25 %, red.
  SkrivCelle(0, 1, aar.c_str());
  SkrivCelle(1, 1, "7");
  EXPECT_FALSE(okt.Avlsdata().Beregnet()) << "no ram yet";
  SkrivCelle(7, 1, "2000");
  EXPECT_TRUE(okt.Avlsdata().Beregnet());
  EXPECT_FALSE(v->Innavl->isHidden());
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 7 × 2000: forventet innavl 25,00 % (kjente aner 5 av 62)");
  EXPECT_EQ(v->Innavl->palette().color(QPalette::WindowText), QColor(Qt::red));
  Skjermbilde(v.get(), "avl-semin");
  // Ewe 8 with 2000: 0 %, not red. A ewe not in the list shows nothing.
  SkrivCelle(0, 2, aar.c_str());
  SkrivCelle(1, 2, "8");
  SkrivCelle(7, 2, "2000");
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 8 × 2000: forventet innavl 0,00 % (kjente aner 4 av 62)");
  EXPECT_NE(v->Innavl->palette().color(QPalette::WindowText), QColor(Qt::red));
  SkrivCelle(0, 3, aar.c_str());
  SkrivCelle(1, 3, "9");
  SkrivCelle(7, 3, "2000");
  EXPECT_TRUE(v->Innavl->isHidden());
  // Back in the first row, the figure of its ewe and ram again.
  Klikk(2, 1);
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 7 × 2000: forventet innavl 25,00 % (kjente aner 5 av 62)");
  // The ewe's number written otherwise is the same ewe.
  SkrivCelle(1, 3, "0008");
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 8 × 2000: forventet innavl 0,00 % (kjente aner 4 av 62)");
}

// A ewe known only by her dam's dam's sire, the ram himself: 1/16, at the
// limit, so red.
TEST_F(SemVindu, InnavlIStatuslinjaMedMormorsFar) {
  SkrivVerFil(m / "data" / "Verene.Dat", AvlRegister());
  okt.LastRegister();
  m.Skriv("data/Soyer.Txt", "10;0;0;2000\r\n");
  Start();
  Hent();
  ASSERT_TRUE(v->GriSem->isEnabled());
  const std::string aar = std::to_string(IAar() - 2);
  SkrivCelle(0, 1, aar.c_str());
  SkrivCelle(1, 1, "10");
  SkrivCelle(7, 1, "2000");
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 10 × 2000: forventet innavl 6,25 % (kjente aner 7 av 62)");
  EXPECT_EQ(v->Innavl->palette().color(QPalette::WindowText), QColor(Qt::red));
}

// A ewe the saved mating suggestion gives a ram: the status line says which,
// as soon as her number is typed, and when the row's ram is another.
TEST_F(SemVindu, StatuslinjaSierForeslaattVer) {
  SkrivVerFil(m / "data" / "Verene.Dat", AvlRegister());
  okt.LastRegister();
  m.Skriv("data/Soyer.Txt", "7;2000;0\r\n8;5000;0\r\n");
  m.Skriv("data/Paringer.Txt", "# Kapasitet;5000;40\r\n# Kapasitet;3000;40\r\n7;5000\r\n8;\r\n");
  Start();
  Hent();
  ASSERT_TRUE(v->GriSem->isEnabled());
  const std::string aar = std::to_string(IAar() - 2);
  SkrivCelle(0, 1, aar.c_str());
  SkrivCelle(1, 1, "7");
  EXPECT_EQ(v->Innavl->text().toStdString(), "Paringsforslaget gir søye 7 vær 5000 Fremmed.");
  SkrivCelle(7, 1, "2000");
  EXPECT_EQ(v->Innavl->text().toStdString(),
            "Søye 7 × 2000: forventet innavl 25,00 % (kjente aner 5 av 62)  Paringsforslaget gir søye 7 vær 5000 "
            "Fremmed, ikke væren på raden.");
  // Ewe 8 has no ram in the suggestion: only her figure.
  SkrivCelle(0, 2, aar.c_str());
  SkrivCelle(1, 2, "8");
  SkrivCelle(7, 2, "5000");
  EXPECT_EQ(v->Innavl->text().toStdString(), "Søye 8 × 5000: forventet innavl 25,00 % (kjente aner 3 av 62)");
}

TEST_F(SemVindu, SloyfemeldingenGaarTilStatuslinjaUtenAAStoppeSkrivingen) {
  // 7001 and 7002 each other's sires: the first figure computed tells of the
  // loop. In the middle of typing a row that goes to the status line, not to
  // a box that would take the keys typed next.
  std::vector<TVerPost> verer = AvlRegister();
  verer.push_back(AvlVer(7001, 7002, "RING"));
  verer.push_back(AvlVer(7002, 7001, "RUNDT"));
  verer[1].Type = 1;  // 2000, an insemination ram: no message about the ram
  ASSERT_EQ(verer[1].Nummer, 2000);
  SkrivVerFil(m / "data" / "Verene.Dat", verer);
  okt.LastRegister();
  m.Skriv("data/Soyer.Txt", "7;2000;0\r\n");
  Start();
  Hent();
  const std::string aar = std::to_string(IAar() - 2);
  SkrivCelle(0, 1, aar.c_str());
  SkrivCelle(1, 1, "7");
  SkrivCelle(7, 1, "2000");
  ASSERT_TRUE(okt.Avlsdata().Beregnet());
  EXPECT_TRUE(meldinger.isEmpty()) << meldinger.join("|").toStdString();
  const QString sloyfe = TilQString(SloyfeMelding(1));
  EXPECT_EQ(v->Panel[1]->text().toStdString(), sloyfe.toStdString());
  EXPECT_FALSE(v->Innavl->isHidden()) << "the figure stays beside it";
  Skjermbilde(v.get(), "semin-sloyfe");
  // The row is typed on; the notice stays while the row is.
  SkrivCelle(8, 1, "40");
  EXPECT_EQ(v->GriSem->Modell().Celle(8, 1), "40");
  EXPECT_EQ(v->Panel[1]->text().toStdString(), sloyfe.toStdString());
  // In the next row the column's hint comes back; the notice is told once.
  SkrivCelle(0, 2, aar.c_str());
  EXPECT_EQ(v->Panel[1]->text().toStdString(), Cp1252TilUtf8(SemKolonner[KolSoye].status));
  SkrivCelle(1, 2, "7");
  SkrivCelle(7, 2, "2000");
  EXPECT_NE(v->Panel[1]->text(), sloyfe);
  EXPECT_TRUE(meldinger.isEmpty()) << meldinger.join("|").toStdString();
}
