// The catalogue window's criteria and their coupling, driven on the real
// window under the offscreen platform.
#include "tformkatalog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <functional>

#include "eksempeldata.h"
#include "filer.h"
#include "inifil.h"
#include "okt.h"
#include "register.h"
#include "sider.h"
#include "skriverjobb.h"
#include "testmappe.h"
#include "tpapvin.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

struct Vindu {
  // The window of the data folder `mappe` (its register and Hornstad.Ini);
  // without one, of an empty folder of its own and no register.
  explicit Vindu(const fs::path& mappe = {}) : okt(mappe.empty() ? egen.Sti() : mappe), k(okt) {
    k.DetteAar = 2026;
    if (!mappe.empty()) okt.LastRegister();
    k.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&k));
  }
  void Merk(QListWidget* l, int i, bool paa = true) { l->item(i)->setCheckState(paa ? Qt::Checked : Qt::Unchecked); }
  void Klikk(QCheckBox* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2)); }
  TestMappe egen;
  TOkt okt;
  TFormKatalog k;
};

// A ram of county 1 and breed 1, judged in 2000.
TVerPost Ver(int32_t nummer, int16_t oindeks, uint8_t type = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett("VER" + std::to_string(nummer));
  p.Fylke = 1;
  p.Rase = 1;
  p.OIndeks = oindeks;
  p.Aar = 2000;
  p.Type = type;
  return p;
}

// A register of the given rams in a folder of its own, which is also the
// working directory (where the own list lies) and holds the settings file.
struct Register {
  explicit Register(const std::vector<TVerPost>& verer) : inn(mappe.Sti()) {
    SkrivVerFil(mappe / "Verene.Dat", verer);
    reg.LoadRegister();
  }
  TestMappe mappe;
  IMappe inn;
  TProdusent reg{mappe.Sti()};
  QSettings ini{QString::fromStdString((mappe / "Hornstad.Ini").string()), InnstillingsFormat()};
};

// The table windows open now.
std::vector<TVindu*> Tabeller() {
  std::vector<TVindu*> t;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* v = qobject_cast<TVindu*>(w)) t.push_back(v);
  return t;
}

// The table window opened since `foer`, or none.
TVindu* NyTabell(const std::vector<TVindu*>& foer) {
  for (TVindu* t : Tabeller())
    if (std::find(foer.begin(), foer.end(), t) == foer.end()) return t;
  return nullptr;
}

// A window over the register with every county and breed checked.
struct Katalog : Register, Vindu {
  explicit Katalog(const std::vector<TVerPost>& verer) : Register(verer), Vindu(mappe.Sti()) {
    Merk(k.Fylker, 0);
    Merk(k.TaRase, 0);
  }
};

}  // namespace

TEST(KatalogVindu, StartTilstand) {
  Vindu v;
  EXPECT_EQ(v.k.windowTitle(), "Værkatalog");
  EXPECT_EQ(v.k.Fra->value(), 1979);
  EXPECT_EQ(v.k.til->value(), 2025);
  EXPECT_EQ(v.k.til->maximum(), 2026);
  EXPECT_EQ(v.k.Fra->maximum(), 2025) << "follows til";
  EXPECT_EQ(v.k.Antall->value(), 70);
  EXPECT_EQ(v.k.Antall->maximum(), 240);
  EXPECT_TRUE(v.k.Avkomgr->isChecked());
  for (QCheckBox* c : {v.k.Semin, v.k.UtgSem, v.k.Gkar, v.k.Nykar, v.k.Ugul}) EXPECT_FALSE(c->isChecked());
  EXPECT_FALSE(v.k.vis->isEnabled());
  EXPECT_FALSE(v.k.Skriv->isEnabled());
  ASSERT_EQ(v.k.Fylker->count(), 21);
  EXPECT_EQ(v.k.Fylker->item(13)->text(), "13 Udefinert");
  EXPECT_EQ(v.k.Fylker->item(7)->text(), "07  Vestfold ");
  ASSERT_EQ(v.k.TaRase->count(), 27);
  EXPECT_EQ(v.k.TaRase->item(0)->text(), "Alle raser");
  EXPECT_EQ(v.k.ChSkalMed->count(), 32);
  EXPECT_EQ(v.k.ChSkalMed->item(30)->text(), "Ullanalyse");
  EXPECT_EQ(v.k.ChSkalMed->item(31)->text(), "Innavl %");
}

TEST(KatalogVindu, KoblingenMellomKriteriene) {
  Vindu v;
  TFormKatalog& k = v.k;
  // The lists enable the two show buttons.
  v.Merk(k.Fylker, 3);
  EXPECT_FALSE(k.vis->isEnabled()) << "no breed checked yet";
  v.Merk(k.TaRase, 0);
  EXPECT_TRUE(k.vis->isEnabled());
  EXPECT_TRUE(k.VisTab->isEnabled());

  // "Årets egne kårede": this year only, any index, which checks Gkar.
  v.Klikk(k.Nykar);
  EXPECT_EQ(k.til->value(), 2026);
  EXPECT_EQ(k.Fra->value(), 2026);
  EXPECT_EQ(k.Antall->value(), 0);
  EXPECT_TRUE(k.Gkar->isChecked());
  EXPECT_FALSE(k.Avkomgr->isChecked());
  // Unchecking Gkar leaves Nykar, so the buttons stay enabled.
  v.Klikk(k.Gkar);
  EXPECT_FALSE(k.Gkar->isChecked());
  EXPECT_TRUE(k.vis->isEnabled());
  v.Klikk(k.Nykar);

  // Semin sets the index to 70 and so unchecks Gkar; with Semin checked a
  // high index does not check Avkomgr and 0 does not check Gkar.
  v.Klikk(k.Gkar);
  EXPECT_EQ(k.Antall->value(), 0);
  v.Klikk(k.Semin);
  EXPECT_EQ(k.Antall->value(), 70);
  EXPECT_FALSE(k.Gkar->isChecked());
  EXPECT_FALSE(k.Avkomgr->isChecked());
  k.Antall->setValue(0);
  EXPECT_FALSE(k.Gkar->isChecked());
  v.Klikk(k.Semin);
  EXPECT_FALSE(k.Semin->isChecked());

  // 75 typed with Avkomgr and Semin unchecked ends at 80 with Avkomgr checked.
  k.Antall->setValue(10);
  ASSERT_FALSE(k.Avkomgr->isChecked());
  k.Antall->selectAll();
  QTest::keyClicks(k.Antall, "75");
  EXPECT_EQ(k.Antall->value(), 80);
  EXPECT_TRUE(k.Avkomgr->isChecked());
  // With Avkomgr already checked a typed value stays.
  k.Antall->setValue(95);
  EXPECT_EQ(k.Antall->value(), 95);

  // The years limit each other.
  k.Fra->setValue(2000);
  EXPECT_EQ(k.til->minimum(), 2000);
  k.til->setValue(2010);
  EXPECT_EQ(k.Fra->maximum(), 2010);
}

TEST(KatalogVindu, FylkeOgRaseValgt) {
  Vindu v;
  v.Merk(v.k.Fylker, 3);
  v.Merk(v.k.TaRase, 2);
  struct Tilfelle {
    int fylke, rase;
    bool valgt;
  };
  const Tilfelle kun[] = {{3, 2, true}, {0, 2, false}, {4, 2, false}, {3, 1, false}, {3, -2, false}, {21, 2, false}};
  for (const auto& t : kun) {
    SCOPED_TRACE(std::to_string(t.fylke) + "/" + std::to_string(t.rase));
    EXPECT_EQ(v.k.FylkeOgRaseValgt(t.fylke, t.rase), t.valgt);
  }
  v.Merk(v.k.Fylker, 0);
  v.Merk(v.k.TaRase, 0);
  const Tilfelle alle[] = {{0, 0, true}, {20, 26, true}, {3, -5, true}, {21, 1, false}, {1, 27, false}};
  for (const auto& t : alle) {
    SCOPED_TRACE(std::to_string(t.fylke) + "/" + std::to_string(t.rase));
    EXPECT_EQ(v.k.FylkeOgRaseValgt(t.fylke, t.rase), t.valgt);
  }
}

TEST(KatalogVindu, TabellfelterOgEgenListe) {
  TestMappe m;
  IMappe i(m.Sti());
  QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat());
  ini.setValue("Katalog/SkalMed3", "1");
  Vindu v(m.Sti());
  v.k.close();
  v.k.Vis();
  EXPECT_EQ(v.k.ChSkalMed->item(3)->checkState(), Qt::Checked);
  v.k.BdefInst->click();
  EXPECT_TRUE(v.k.PanelValg->isVisible());
  v.Merk(v.k.ChSkalMed, 0);
  v.k.BinstAngre->click();
  EXPECT_EQ(v.k.ChSkalMed->item(0)->checkState(), Qt::Unchecked) << "Annuler reads the settings back";
  v.Merk(v.k.ChSkalMed, 30);
  v.k.BinstOK->click();
  EXPECT_FALSE(v.k.PanelValg->isVisible());
  EXPECT_EQ(ini.value("Katalog/SkalMed30").toString(), "1");
  EXPECT_EQ(ini.value("Katalog/SkalMed0").toString(), "0");

  // The own list is kept in EgenVerer.Txt in the working directory.
  m.Skriv("EgenVerer.Txt", "1203456\r\n1203457\r\n");
  v.k.EgDef->click();
  EXPECT_TRUE(v.k.PanEgFlyt->isVisible());
  EXPECT_EQ(v.k.MeVeLi->toPlainText(), "1203456\n1203457\n");
  EXPECT_TRUE(v.k.BeVis->isEnabled());
  v.k.MeVeLi->setPlainText("42");
  EXPECT_FALSE(v.k.BeVis->isEnabled()) << "one line is not enough for Vis";
  v.k.BeLukk->click();
  EXPECT_FALSE(v.k.PanEgFlyt->isVisible());
  EXPECT_EQ(LesHeleFila(m / "EgenVerer.Txt"), "42\r\n");
}

TEST(KatalogVindu, UtvalgTilListeOgTabell) {
  TestMappe m;
  IMappe i(m.Sti());
  std::vector<TVerPost> v;
  for (int n = 0; n < 30; ++n) {
    TVerPost p = TomVerPost();
    p.Nummer = 1000 + n;
    p.Navn.Sett("VER" + std::to_string(n));
    p.Fylke = static_cast<uint8_t>(n % 3 + 1);
    p.Rase = 1;
    p.OIndeks = static_cast<int16_t>(n < 10 ? 120 : 50);
    p.Aar = 2000;
    v.push_back(p);
  }
  SkrivVerFil(m / "Verene.Dat", v);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat());
  ini.setValue("Katalog/SkalMed0", "0");  // the table fields were chosen once
  Vindu w(m.Sti());
  w.Merk(w.k.Fylker, 0);
  w.Merk(w.k.TaRase, 0);
  ASSERT_TRUE(w.k.vis->isEnabled());
  w.k.vis->click();
  // Ten progress-tested rams of 13 lines each.
  EXPECT_EQ(w.k.LinjeAntall(), 130);
  EXPECT_EQ(w.k.Panel[0]->text(), "10 værer");
  EXPECT_EQ(w.k.Panel[1]->text(), "130 lin");
  EXPECT_TRUE(w.k.Skriv->isEnabled());
  EXPECT_TRUE(w.k.Lagre->isEnabled());
  EXPECT_TRUE(w.k.Ramvis->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(m / "VerKat.txt"));
  EXPECT_TRUE(w.k.Linjer->toPlainText().contains("Ver0"));
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w.k.grab().save(QString(mappe) + "/katalog.png");
  // Ten rams make two pages of framed boxes.
  TPapVin* sider = w.k.RamvisClick();
  ASSERT_NE(sider, nullptr);
  EXPECT_EQ(sider->Sider(), 2);
  sider->Skrevet = true;
  sider->close();

  const auto tabeller = [] {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<TVindu*>(w) != nullptr;
    return n;
  };
  const int foer = tabeller();
  w.k.VisTab->click();
  EXPECT_EQ(w.k.LinjeAntall(), 2) << "the waiting line and \"Ferdig lest\"";
  EXPECT_FALSE(w.k.Skriv->isEnabled());
  EXPECT_FALSE(w.k.Lagre->isEnabled());
  EXPECT_FALSE(w.k.Ramvis->isEnabled());
  EXPECT_EQ(tabeller(), foer + 1) << "a table window opened";
}

TEST(KatalogVindu, VisMedRammerViserTimeglassTilVinduetErVist) {
  Vindu w;
  QStringList linjer;
  for (int i = 0; i < 13 * 40; ++i) linjer << (i % 13 == 0 ? QString("  %1 Ver").arg(1000 + i / 13) : QString("x"));
  w.k.Linjer->setPlainText(linjer.join('\n'));
  // What the cursor is when the paged window is shown.
  struct Vakt : QObject {
    std::optional<Qt::CursorShape> peker;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Show && qobject_cast<TPapVin*>(o))
        peker = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
      return false;
    }
  } vakt;
  qApp->installEventFilter(&vakt);
  TPapVin* sider = w.k.RamvisClick();
  qApp->removeEventFilter(&vakt);
  ASSERT_NE(sider, nullptr);
  EXPECT_EQ(sider->Sider(), 7);
  EXPECT_EQ(vakt.peker, Qt::WaitCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and the arrow again afterwards";
  sider->Skrevet = true;
  sider->close();
}

TEST(KatalogVindu, UnngaaGuleVaerer) {
  Katalog v({Ver(1001, 899), Ver(1002, 900), Ver(1003, 950, 1), Ver(1004, 120)});
  TFormKatalog& k = v.k;
  v.ini.setValue("Katalog/SkalMed0", "1");
  v.Klikk(k.Ugul);
  ASSERT_TRUE(k.Ugul->isChecked());
  // The tick stays while other criteria change.
  const std::pair<const char*, std::function<void()>> endringer[] = {
      {"Semin", [&] { v.Klikk(k.Semin); }},
      {"Fylker", [&] { v.Merk(k.Fylker, 1); }},
      {"Antall", [&] { k.Antall->setValue(90); }},
      {"Fra", [&] { k.Fra->setValue(1990); }},
  };
  for (const auto& [hva, endre] : endringer) {
    endre();
    EXPECT_TRUE(k.Ugul->isChecked()) << "after " << hva;
  }
  // Rams of total index 900 or more are left out, semin rams too; the table's
  // title says so.
  struct Tilfelle {
    bool ugul;
    std::vector<int> med, uten;
  };
  const Tilfelle tilfeller[] = {{true, {1001, 1004}, {1002, 1003}}, {false, {1001, 1002, 1003, 1004}, {}}};
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.ugul ? "ticked" : "not ticked");
    if (k.Ugul->isChecked() != t.ugul) v.Klikk(k.Ugul);
    k.vis->click();
    const QString liste = k.Linjer->toPlainText();
    for (int n : t.med) EXPECT_TRUE(liste.contains(QString("Ver%1").arg(n))) << n;
    for (int n : t.uten) EXPECT_FALSE(liste.contains(QString("Ver%1").arg(n))) << n;
    const auto foer = Tabeller();
    k.VisTab->click();
    TVindu* tabell = NyTabell(foer);
    ASSERT_NE(tabell, nullptr);
    EXPECT_EQ(tabell->Tabell().Tittel.find(" uten gule") != std::string::npos, t.ugul) << tabell->Tabell().Tittel;
    tabell->close();
  }
}

TEST(KatalogVindu, GjenopprettingKjorerIkkeVisningenPaaNytt) {
  Katalog v({Ver(1001, 120), Ver(1002, 120)});
  TFormKatalog& k = v.k;
  k.vis->click();
  ASSERT_EQ(k.LinjeAntall(), 26);
  k.til->setValue(2010);
  // A field mark not yet confirmed and an own list being typed.
  k.BdefInst->click();
  v.Merk(k.ChSkalMed, 5);
  k.EgDef->click();
  k.MeVeLi->setPlainText("1001\n1002");
  const QString liste = k.Linjer->toPlainText();
  const auto uendret = [&](const char* hva) {
    SCOPED_TRACE(hva);
    EXPECT_EQ(k.Linjer->toPlainText(), liste);
    EXPECT_TRUE(k.vis->isEnabled());
    EXPECT_TRUE(k.Lagre->isEnabled());
    EXPECT_TRUE(k.Ramvis->isEnabled());
    EXPECT_EQ(k.til->value(), 2010);
    EXPECT_EQ(k.ChSkalMed->item(5)->checkState(), Qt::Checked);
    EXPECT_EQ(k.MeVeLi->toPlainText(), "1001\n1002");
  };
  k.setWindowState(Qt::WindowMinimized);
  QCoreApplication::processEvents();
  k.setWindowState(Qt::WindowNoState);
  QCoreApplication::processEvents();
  uendret("minimised and restored");
  k.hide();
  k.show();
  QCoreApplication::processEvents();
  uendret("hidden and shown by the desktop");
  // The program showing the window while it is shown only brings it forward,
  // out of the task bar too.
  k.setWindowState(Qt::WindowMinimized);
  k.Vis();
  EXPECT_FALSE(k.isMinimized());
  uendret("shown again by the program");
  // After a close the program's showing starts afresh.
  k.close();
  k.Vis();
  EXPECT_EQ(k.LinjeAntall(), 0);
  EXPECT_EQ(k.til->value(), 2025);
  EXPECT_FALSE(k.Ramvis->isEnabled());
}

TEST(KatalogVindu, PaneleneOverLukkingOgGjenaapning) {
  Katalog v({Ver(1001, 120)});
  TFormKatalog& k = v.k;
  v.ini.setValue("Katalog/SkalMed0", "1");
  k.close();
  k.Vis();
  k.EgDef->click();
  k.MeVeLi->setPlainText("1001\n1002");
  k.BdefInst->click();
  v.Merk(k.ChSkalMed, 7);
  // The panels close with the window, the own list saved as "Lukk" saves it;
  // they come back as they were.
  k.close();
  EXPECT_FALSE(k.PanEgFlyt->isVisible());
  EXPECT_FALSE(k.PanelValg->isVisible());
  EXPECT_EQ(LesHeleFila(v.mappe / "EgenVerer.Txt"), "1001\r\n1002\r\n");
  k.Vis();
  EXPECT_TRUE(k.PanEgFlyt->isVisible());
  EXPECT_EQ(k.MeVeLi->toPlainText(), "1001\n1002");
  EXPECT_TRUE(k.PanelValg->isVisible());
  EXPECT_EQ(k.ChSkalMed->item(7)->checkState(), Qt::Checked) << "not confirmed, not lost";
  EXPECT_EQ(k.ChSkalMed->item(0)->checkState(), Qt::Checked);
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) {
    k.PanEgFlyt->grab().save(QString(mappe) + "/katalog-egenliste.png");
    k.PanelValg->grab().save(QString(mappe) + "/katalog-tabellfelter.png");
  }
  // Closed by their own title bars: the own list as "Lukk", the fields as "Annuler".
  k.MeVeLi->setPlainText("1003");
  k.PanEgFlyt->close();
  EXPECT_FALSE(k.PanEgFlyt->isVisible());
  EXPECT_EQ(LesHeleFila(v.mappe / "EgenVerer.Txt"), "1003\r\n");
  k.PanelValg->close();
  EXPECT_FALSE(k.PanelValg->isVisible());
  EXPECT_EQ(k.ChSkalMed->item(7)->checkState(), Qt::Unchecked);
  EXPECT_EQ(k.ChSkalMed->item(0)->checkState(), Qt::Checked);
  EXPECT_FALSE(v.ini.contains("Katalog/SkalMed7"));
}

TEST(KatalogVindu, EgenListeUtenTommeLinjer) {
  Katalog v({Ver(1001, 120), Ver(1002, 120), Ver(1003, 120), Ver(1004, 120)});
  TFormKatalog& k = v.k;
  const fs::path fil = v.mappe / "EgenVerer.Txt";
  // Opening and closing the panel without an edit leaves the file as it was.
  for (const char* innhold : {"1001\r\n1002\r\n", "1001\r\n1002", "1001\n\n1002\n", "1001\r\n\r\n\r\n"}) {
    SCOPED_TRACE(innhold);
    v.mappe.Skriv("EgenVerer.Txt", innhold);
    for (int n = 0; n < 3; ++n) {
      k.EgDef->click();
      k.BeLukk->click();
    }
    EXPECT_EQ(LesHeleFila(fil), innhold);
  }
  // An edit is saved with one line break a line, and no line added.
  k.EgDef->click();
  k.MeVeLi->setPlainText("1003\n1001\n");
  k.BeLukk->click();
  EXPECT_EQ(LesHeleFila(fil), "1003\r\n1001\r\n");

  // Blank lines are no entries, in the listing or in the table.
  v.mappe.Skriv("EgenVerer.Txt", "1002\r\n\r\n  \r\n1004\r\n\r\n");
  k.EgDef->click();
  k.BeVis->click();
  EXPECT_EQ(k.LinjeAntall(), 26);
  EXPECT_EQ(k.Panel[0]->text(), "2 værer");
  const QStringList linjer = k.Linjer->toPlainText().split('\n');
  ASSERT_EQ(linjer.size(), 26);
  EXPECT_TRUE(linjer[0].startsWith("     1002 Ver1002")) << linjer[0].toStdString();
  EXPECT_TRUE(linjer[13].startsWith("     1004 Ver1004")) << linjer[13].toStdString();
  const auto foer = Tabeller();
  k.EgDef->click();
  k.Btabb->click();
  TVindu* tabell = NyTabell(foer);
  ASSERT_NE(tabell, nullptr);
  const TRutenett& g = tabell->Tabell().Hoved();
  ASSERT_EQ(g.Rader(), 3) << "the header row and two rams";
  EXPECT_EQ(g.Celle(0, 1), "1002");
  EXPECT_EQ(g.Celle(0, 2), "1004");
  tabell->close();
}

TEST(KatalogVindu, RedigertListeLagresSkrivesOgRammes) {
  Katalog v({Ver(1001, 120), Ver(1002, 950)});
  TFormKatalog& k = v.k;
  v.Klikk(k.Ugul);
  k.vis->click();
  ASSERT_EQ(k.LinjeAntall(), 13);
  // The user types at the end of the head line, where the insemination label
  // stands.
  QTextCursor c = k.Linjer->textCursor();
  c.movePosition(QTextCursor::Start);
  c.movePosition(QTextCursor::EndOfLine);
  k.Linjer->setTextCursor(c);
  k.Linjer->setFocus();
  QTest::keyClicks(k.Linjer, "REDIGERT");
  ASSERT_TRUE(k.Linjer->toPlainText().section(QChar(10), 0, 0).endsWith(" REDIGERT"))
      << k.Linjer->toPlainText().section(QChar(10), 0, 1).toStdString();
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) k.grab().save(QString(mappe) + "/katalog-redigert.png");

  k.VelgFil = [&] { return QString::fromStdString((v.mappe / "lagret.txt").string()); };
  k.LagreClick();
  EXPECT_NE(LesHeleFila(v.mappe / "lagret.txt").find(" REDIGERT\r\n"), std::string::npos);

  k.VelgSkriver = [&](QPrinter& s) {
    s.setOutputFormat(QPrinter::PdfFormat);
    s.setOutputFileName(QString::fromStdString((v.mappe / "liste.pdf").string()));
    return true;
  };
  k.SkrivClick();
  const Svar tekst = Kjor(v.mappe, "pdftotext liste.pdf -");
  EXPECT_NE(tekst.ut.find("REDIGERT"), std::string::npos) << tekst.ut << tekst.feil;

  // While another job of ours prints: the one message, and no dialog.
  QStringList meldinger;
  k.Melding = [&](const QString& t) { meldinger << t; };
  int dialoger = 0;
  k.VelgSkriver = [&](QPrinter&) {
    ++dialoger;
    return false;
  };
  {
    const TSkriverjobb annen;
    k.SkrivClick();
  }
  EXPECT_EQ(dialoger, 0);
  EXPECT_EQ(meldinger, QStringList{QString::fromUtf8(SkriverOpptattTekst)});

  TPapVin* sider = k.RamvisClick();
  ASSERT_NE(sider, nullptr);
  const auto* rammer = dynamic_cast<const TRammedokument*>(sider->Dokument());
  ASSERT_NE(rammer, nullptr);
  const auto& felt = *rammer->Sideliste()[0]->Felter[0];
  EXPECT_EQ(felt.Punkter[4]->Tekst, "REDIGERT");
  sider->Skrevet = true;
  sider->close();
}

TEST(KatalogVindu, RammevinduetSporIkkeVedLukking) {
  Katalog v({Ver(1001, 120)});
  v.k.vis->click();
  QPointer<TPapVin> sider = v.k.RamvisClick();
  ASSERT_FALSE(sider.isNull());
  int spurt = 0;
  sider->Sporsmal = [&](const QString&) { return ++spurt, false; };
  sider->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(spurt, 0);
  EXPECT_TRUE(sider.isNull() || !sider->isVisible());
}

TEST(KatalogVindu, TabellUtenValgteFelterViserValgetForst) {
  Katalog v({Ver(1001, 120), Ver(1002, 120)});
  TFormKatalog& k = v.k;
  ASSERT_TRUE(v.ini.allKeys().isEmpty());
  const auto foer = Tabeller();
  // No field ever chosen: the choice comes first; "Annuler" ends it there.
  k.VisTab->click();
  EXPECT_TRUE(k.PanelValg->isVisible());
  EXPECT_EQ(NyTabell(foer), nullptr);
  k.BinstAngre->click();
  EXPECT_FALSE(k.PanelValg->isVisible());
  EXPECT_EQ(NyTabell(foer), nullptr);
  EXPECT_TRUE(v.ini.allKeys().isEmpty());
  // The panel opened on its own afterwards opens no table.
  k.BdefInst->click();
  k.BinstOK->click();
  EXPECT_EQ(NyTabell(foer), nullptr);

  // After "OK" the table follows, with the chosen fields.
  v.ini.remove("Katalog");
  k.VisTab->click();
  ASSERT_TRUE(k.PanelValg->isVisible());
  v.Merk(k.ChSkalMed, 0);
  k.BinstOK->click();
  TVindu* tabell = NyTabell(foer);
  ASSERT_NE(tabell, nullptr);
  EXPECT_EQ(tabell->Tabell().Hoved().Kolonner(), 2);
  EXPECT_EQ(v.ini.value("Katalog/SkalMed0").toString(), "1");
  tabell->close();

  // Once chosen, the table comes at once, also with no field ticked.
  k.BdefInst->click();
  v.Merk(k.ChSkalMed, 0, false);
  k.BinstOK->click();
  const auto siden = Tabeller();
  k.VisTab->click();
  EXPECT_FALSE(k.PanelValg->isVisible());
  tabell = NyTabell(siden);
  ASSERT_NE(tabell, nullptr);
  EXPECT_EQ(tabell->Tabell().Hoved().Kolonner(), 1);
  tabell->close();
}
