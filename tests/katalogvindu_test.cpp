// The catalogue window's criteria and their coupling, driven on the real
// window under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include "eksempeldata.h"
#include "filer.h"
#include "register.h"
#include "testmappe.h"
#include "tformkatalog.h"
#include "tpapvin.h"
#include "tvindu.h"

namespace {

struct Vindu {
  Vindu() {
    k.DetteAar = 2026;
    k.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&k));
  }
  void Merk(QListWidget* l, int i, bool paa = true) {
    l->item(i)->setCheckState(paa ? Qt::Checked : Qt::Unchecked);
  }
  void Klikk(QCheckBox* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2)); }
  TFormKatalog k;
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
  EXPECT_EQ(v.k.ChSkalMed->count(), 31);
  EXPECT_EQ(v.k.ChSkalMed->item(30)->text(), "Ullanalyse");
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
  QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), QSettings::IniFormat);
  ini.setValue("Katalog/SkalMed3", "1");
  Vindu v;
  v.k.Innstillinger = [&] { return &ini; };
  v.k.hide();
  v.k.show();
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
  DataFolder = m.Sti();
  TProdusent reg;
  reg.LoadRegister();
  Vindu w;
  w.k.Register = [&] { return &reg; };
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
