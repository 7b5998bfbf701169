// The insemination window under the offscreen platform, typing into cells.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPdfWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "filer.h"
#include "tekst.h"
#include "testmappe.h"
#include "tformsemreg.h"
#include "tgrid.h"

namespace {

// A producer number whose check digit is right.
std::string Produsent() {
  for (char c = '0'; c <= '9'; ++c) {
    const std::string p = std::string("123456789") + c;
    if (CheckDigitOk(p)) return p;
  }
  return {};
}

}  // namespace

TEST(SemRegVindu, HenteSkriveOgLagre) {
  TestMappe m;
  IMappe i(m.Sti());
  m.Skriv("SemGodkj.Txt", "12345=Kari Inseminor\r\n");
  TFormSemReg v;
  QStringList meldinger;
  v.Melding = [&](const QString& t) { meldinger << t; };
  v.Spor = [](const QString&, bool) { return 0; };
  v.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
  EXPECT_EQ(v.Ssemar->value(), 2005);
  EXPECT_FALSE(v.GriSem->isEnabled());
  EXPECT_EQ(v.Lnav->text(), "Feil inseminørnummer");

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
  v.close();
}
