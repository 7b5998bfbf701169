// The print preview under the offscreen platform, driven with keys.
#include "tinnlesing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "filer.h"
#include "gjenopprett.h"
#include "skriverjobb.h"
#include "testmappe.h"

namespace {

// One page drawn: on the screen (skjerm) or for print.
struct Kall {
  int bredde, hoyde, side;
  bool skjerm;
};

// A document of `sider` pages that writes "side N" on page N, records every
// page it draws and counts its end. `Feil` is asked before each page is
// drawn and may throw.
struct Provedokument : TSidedokument {
  Provedokument(int sider, std::vector<Kall>& kall, int& borte) : sider_(sider), kall_(kall), borte_(borte) {}
  ~Provedokument() override { ++borte_; }
  int Sider() const override { return sider_; }
  void TegnSide(QPainter& p, int b, int h, int s) const override { Tegn(p, b, h, s, false); }
  void TegnSkjerm(QPainter& p, int b, int h, int s) const override { Tegn(p, b, h, s, true); }
  void Tegn(QPainter& p, int b, int h, int s, bool skjerm) const {
    kall_.push_back({b, h, s, skjerm});
    if (Feil) Feil(kall_.back());
    p.drawText(QRect(0, 0, b, h), Qt::AlignCenter, QString("side %1").arg(s));
  }
  std::function<void(const Kall&)> Feil;
  int sider_;
  std::vector<Kall>& kall_;
  int& borte_;
};

// A preview over a document of `sider` pages.
struct Forhandsvisning {
  explicit Forhandsvisning(int sider = 1) : v(new TInnlesing) {
    auto d = std::make_unique<Provedokument>(sider, kall, borte);
    dokument = d.get();
    v->SettDokument(std::move(d));
  }
  // The document draws into this object: it goes with the window at the latest.
  ~Forhandsvisning() { delete v.data(); }
  std::vector<Kall> Utskrevet() const {
    std::vector<Kall> r;
    for (const auto& k : kall)
      if (!k.skjerm) r.push_back(k);
    return r;
  }
  QPointer<TInnlesing> v;
  std::vector<Kall> kall;
  int borte = 0;
  Provedokument* dokument;  // the window's, while it has it
};

int Sider(const std::filesystem::path& pdf) {
  const std::string kommando = "pdfinfo '" + pdf.string() + "' | sed -n 's/^Pages: *//p'";
  FILE* f = ::popen(kommando.c_str(), "r");
  int sider = -1;
  if (f && std::fscanf(f, "%d", &sider) != 1) sider = -1;
  if (f) ::pclose(f);
  return sider;
}

}  // namespace

TEST(TInnlesingTest, UtenSidetallEnSideMedNummer1) {
  Forhandsvisning f;
  int tilbudt = -1;
  f.v->VelgSkriver = [&](QPrinter&, int maks) {
    tilbudt = maks;
    return std::optional<TInnlesing::TUtskriftsvalg>(TInnlesing::TUtskriftsvalg{});
  };
  f.v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.v));
  f.v->Flate->grab();
  ASSERT_FALSE(f.kall.empty());
  EXPECT_EQ(f.kall.back().side, 0) << "a one-page document sets no maksid: the screen shows page 0";
  EXPECT_EQ(f.kall.back().bredde, 640);
  EXPECT_EQ(f.kall.back().hoyde, 960);
  EXPECT_FALSE(f.v->Sidefram->isEnabled());
  EXPECT_FALSE(f.v->Sidebak->isEnabled());

  TestMappe m;
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setOutputFormat(QPrinter::PdfFormat);
  skriver.setOutputFileName(QString::fromStdString((m / "en.pdf").string()));
  f.v->SkrivUt(skriver, 1, 1, false);
  ASSERT_EQ(f.Utskrevet().size(), 1u);
  EXPECT_EQ(f.Utskrevet()[0].side, 1);
  EXPECT_GT(f.Utskrevet()[0].bredde, 640) << "the printer's page size";
  EXPECT_EQ(Sider(m / "en.pdf"), 1);
  EXPECT_EQ(f.v->huguTekst->text(), "Utskrift ferdig..");
  EXPECT_FALSE(SkriverOpptatt());
  // The dialog's own run: a cancelled dialog prints nothing.
  f.v->VelgSkriver = [&](QPrinter&, int maks) {
    tilbudt = maks;
    return std::optional<TInnlesing::TUtskriftsvalg>();
  };
  QTest::keyClick(f.v, Qt::Key_F6);
  EXPECT_EQ(tilbudt, 0);
  EXPECT_EQ(f.Utskrevet().size(), 1u);
  f.v->close();
}

TEST(TInnlesingTest, BlaingMedTaster) {
  Forhandsvisning f(3);
  EXPECT_EQ(f.v->maksid(), 3);
  f.v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.v));
  EXPECT_EQ(f.v->Side, 1);
  EXPECT_TRUE(f.v->Sidefram->isEnabled());
  EXPECT_FALSE(f.v->Sidebak->isEnabled());
  QTest::keyClick(f.v, Qt::Key_PageDown);
  QTest::keyClick(f.v, Qt::Key_PageDown);
  EXPECT_EQ(f.v->Side, 3);
  EXPECT_FALSE(f.v->Sidefram->isEnabled());
  QTest::keyClick(f.v, Qt::Key_PageDown);
  EXPECT_EQ(f.v->Side, 3) << "a disabled button's key does nothing";
  QTest::keyClick(f.v, Qt::Key_PageUp);
  EXPECT_EQ(f.v->Side, 2);
  EXPECT_TRUE(f.v->Sidefram->isEnabled());
  f.v->Flate->grab();
  EXPECT_EQ(f.kall.back().side, 2);

  // Scale and scrolling.
  f.v->Skal->setCurrentText("50%");
  EXPECT_EQ(f.v->Flate->size(), QSize(320, 480));
  f.v->Flate->grab();
  EXPECT_EQ(f.kall.back().bredde, 320);
  EXPECT_EQ(f.kall.back().hoyde, 480);
  f.v->Skal->setCurrentText("200%");
  QApplication::processEvents();
  QScrollBar* rull = f.v->RullB->verticalScrollBar();
  ASSERT_GT(rull->maximum(), 16);
  QTest::keyClick(f.v, Qt::Key_Down);
  QTest::keyClick(f.v, Qt::Key_Down);
  EXPECT_EQ(rull->value(), 16);
  QTest::keyClick(f.v, Qt::Key_Up);
  EXPECT_EQ(rull->value(), 8);
  QTest::keyClick(f.v, Qt::Key_Home);
  EXPECT_EQ(rull->value(), 0);
  QTest::keyClick(f.v, Qt::Key_Up);
  EXPECT_EQ(rull->value(), 0) << "not above the top";
  f.v->close();
}

TEST(TInnlesingTest, GjenopprettingBeholderSidenOgRullingen) {
  Forhandsvisning f(3);
  f.v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.v));
  f.v->Skal->setCurrentIndex(0);  // 200%: the page is taller than the window
  QTest::keyClick(f.v, Qt::Key_PageDown);
  QScrollBar* rull = f.v->RullB->verticalScrollBar();
  for (int i = 0; i < 10; ++i) QTest::keyClick(f.v, Qt::Key_Down);
  ASSERT_EQ(rull->value(), 80);
  const int bredde = f.v->width();
  for (const auto& desktop : {MinimerOgGjenopprett, SkjulOgVis}) {
    desktop(f.v);
    EXPECT_EQ(rull->value(), 80) << "the page stays where the user scrolled it";
    EXPECT_EQ(f.v->Side, 2);
    EXPECT_EQ(f.v->Flate->size(), QSize(1280, 1920));
    EXPECT_EQ(f.v->width(), bredde);
  }
  // The program's own showing brings the page to the top.
  f.v->Vis();
  EXPECT_EQ(rull->value(), 0);
  f.v->close();
}

TEST(TInnlesingTest, SiderToTilTreAvFem) {
  Forhandsvisning f(5);
  TestMappe m;
  f.v->VelgSkriver = [&](QPrinter& skriver, int maks) {
    EXPECT_EQ(maks, 5);
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString((m / "to.pdf").string()));
    return std::optional<TInnlesing::TUtskriftsvalg>(TInnlesing::TUtskriftsvalg{2, 3, true});
  };
  f.v->Skrivut->click();
  const auto utskrevet = f.Utskrevet();
  ASSERT_EQ(utskrevet.size(), 2u);
  EXPECT_EQ(utskrevet[0].side, 2);
  EXPECT_EQ(utskrevet[1].side, 3);
  EXPECT_EQ(Sider(m / "to.pdf"), 2) << "one page break between them";
  f.v->close();
}

TEST(TInnlesingTest, UtskriftTilFilErstatterEldreFilHel) {
  // A print the dialog sent to a file that exists: a failed write leaves it
  // as it was and says why; a write that succeeds replaces it whole.
  Forhandsvisning f(3);
  TestMappe m;
  m.Skriv("stamtre.pdf", "eldre utskrift");
  f.v->VelgSkriver = [&](QPrinter& skriver, int) {
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString((m / "stamtre.pdf").string()));
    return std::optional<TInnlesing::TUtskriftsvalg>(TInnlesing::TUtskriftsvalg{1, 3, true});
  };
  QStringList meldinger;
  f.v->Melding = [&](const QString& t) { meldinger << t; };
  {
    Filgrense grense(1024);
    f.v->Skrivut->click();
  }
  ASSERT_EQ(meldinger.size(), 1);
  EXPECT_TRUE(meldinger[0].contains("stamtre.pdf")) << meldinger[0].toStdString();
  EXPECT_EQ(LesHeleFila(m / "stamtre.pdf"), "eldre utskrift");
  EXPECT_FALSE(std::filesystem::exists(m / "stamtre.pdf.ny"));
  EXPECT_FALSE(SkriverOpptatt());

  f.v->Skrivut->click();
  EXPECT_EQ(meldinger.size(), 1);
  EXPECT_EQ(Sider(m / "stamtre.pdf"), 3);
  EXPECT_EQ(f.v->huguTekst->text(), "Utskrift ferdig..");
  f.v->close();
}

// A print whose drawing fails ends its job: the user is told why, the
// activity window goes, and the next print runs. While another job of ours
// runs, printing is refused with the one message and no dialog.
TEST(TInnlesingTest, FeilUnderTegningenFrigirSkriveren) {
  TestMappe m;
  Forhandsvisning f;
  int utskrifter = 0;
  f.dokument->Feil = [&](const Kall& k) {
    if (!k.skjerm && ++utskrifter == 1) throw IoFeil("Tegningen feilet");
  };
  QStringList meldinger;
  f.v->Melding = [&](const QString& t) { meldinger << t; };
  int dialoger = 0;
  const auto pdf = m / "ut.pdf";
  f.v->VelgSkriver = [&](QPrinter& skriver, int) {
    ++dialoger;
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString(pdf.string()));
    return std::optional<TInnlesing::TUtskriftsvalg>(TInnlesing::TUtskriftsvalg{});
  };
  f.v->Skrivut->click();
  ASSERT_EQ(meldinger.size(), 1);
  EXPECT_EQ(meldinger[0], "Tegningen feilet");
  EXPECT_FALSE(SkriverOpptatt());
  EXPECT_TRUE(f.v->findChildren<TVisern*>().isEmpty()) << "the activity window is gone";
  EXPECT_FALSE(std::filesystem::exists(pdf));

  f.v->Skrivut->click();
  EXPECT_EQ(dialoger, 2);
  EXPECT_EQ(meldinger.size(), 1);
  EXPECT_EQ(Sider(pdf), 1);

  std::filesystem::remove(pdf);
  {
    const TSkriverjobb annen;
    f.v->Skrivut->click();
  }
  ASSERT_EQ(meldinger.size(), 2);
  EXPECT_EQ(meldinger[1], QString::fromUtf8(SkriverOpptattTekst));
  EXPECT_EQ(dialoger, 2);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  f.v->close();
}

// The preview owns the document it is given: its pages set the page
// buttons, the screen and the printer draw them, and the document goes once,
// when it is replaced or when the window closes.
TEST(TInnlesingTest, DokumentetEiesAvVinduet) {
  std::vector<Kall> kall;
  int borte = 0;
  QPointer<TInnlesing> v(new TInnlesing);
  v->SettDokument(std::make_unique<Provedokument>(2, kall, borte));
  v->SettDokument(std::make_unique<Provedokument>(3, kall, borte));
  EXPECT_EQ(borte, 1) << "the replaced document is gone";
  EXPECT_EQ(v->maksid(), 3);
  EXPECT_TRUE(v->Sidefram->isEnabled());
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  QTest::keyClick(v, Qt::Key_PageDown);
  v->Flate->grab();
  ASSERT_FALSE(kall.empty());
  EXPECT_EQ(kall.back().side, 2);
  EXPECT_TRUE(kall.back().skjerm);

  TestMappe m;
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setOutputFormat(QPrinter::PdfFormat);
  skriver.setOutputFileName(QString::fromStdString((m / "dok.pdf").string()));
  kall.clear();
  v->SkrivUt(skriver, 2, 3, true);
  std::vector<int> skrevet;
  for (const Kall& k : kall)
    if (!k.skjerm) skrevet.push_back(k.side);
  EXPECT_EQ(skrevet, (std::vector<int>{2, 3}));
  EXPECT_EQ(Sider(m / "dok.pdf"), 2);
  const std::string kommando = "pdftotext '" + (m / "dok.pdf").string() + "' -";
  FILE* f = ::popen(kommando.c_str(), "r");
  std::string tekst;
  char buf[256];
  for (std::size_t n; f && (n = std::fread(buf, 1, sizeof buf, f)) > 0;) tekst.append(buf, n);
  if (f) ::pclose(f);
  EXPECT_NE(tekst.find("side 3"), std::string::npos) << tekst;

  QTest::keyClick(v, Qt::Key_Escape);
  EXPECT_EQ(borte, 2);
  EXPECT_EQ(v->Dokument(), nullptr);
  QApplication::processEvents();
  EXPECT_TRUE(v.isNull());
  EXPECT_EQ(borte, 2) << "released once";
}

// Every way of closing releases the document once and destroys the window.
TEST(TInnlesingTest, DokumentetFrigisEnGangVedLukking) {
  const struct {
    const char* navn;
    std::function<void(TInnlesing&)> lukk;
  } tilfeller[] = {
      {"Esc", [](TInnlesing& v) { QTest::keyClick(&v, Qt::Key_Escape); }},
      {"Lukk", [](TInnlesing& v) { v.Lukke->click(); }},
      {"vinduet lukkes", [](TInnlesing& v) { v.close(); }},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Forhandsvisning f(2);
    f.v->landskap = true;
    f.v->Vis();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.v));
    t.lukk(*f.v);
    EXPECT_EQ(f.borte, 1);
    QApplication::processEvents();
    EXPECT_TRUE(f.v.isNull()) << "closing destroys the window";
    EXPECT_EQ(f.borte, 1) << "released once";
  }
}
