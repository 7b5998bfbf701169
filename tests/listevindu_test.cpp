// The lists, the comparison, the change report and the statistics in the
// program's windows, under the offscreen platform: what the user does in a
// window reaches Lister.Txt, an import in the main window leaves a report
// that opens with the right rows, and the charts follow what is ticked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <set>

#include "avlregister.h"
#include "cp1252.h"
#include "dato.h"
#include "diagram.h"
#include "eksempeldata.h"
#include "endringer.h"
#include "filer.h"
#include "lister.h"
#include "programvinduer.h"
#include "register.h"
#include "sammenligning.h"
#include "skriverjobb.h"
#include "slektskap.h"
#include "synligtekst.h"
#include "tdiagramflate.h"
#include "tekst.h"
#include "testmappe.h"
#include "tformlister.h"
#include "tformparingsplan.h"
#include "tformstatistikk.h"
#include "tintedit.h"
#include "trase.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) {
    QApplication::processEvents();  // the layouts the window has asked for
    w->grab().save(QString(mappe) + "/" + navn + ".png");
  }
}

std::string Les(const fs::path& fil) {
  std::string tekst;
  if (FILE* f = std::fopen(fil.c_str(), "rb")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) tekst.append(buf, n);
    std::fclose(f);
  }
  return tekst;
}

// The lists of the data folder as the program reads them.
std::vector<TListe> Listene(const fs::path& mappe) { return LesLister(ListeFil(mappe)).lister.Alle(); }

// The program's windows over a data folder with the rams given; messages
// are recorded, and the list question is answered with `listenavn`.
struct Program {
  explicit Program(const std::vector<TVerPost>& verer = AvlRegister(), const std::string& soyer = {}) {
    SkrivVerFil(m / "Verene.Dat", verer);
    if (!soyer.empty()) m.Skriv("Soyer.Txt", soyer);
    p = std::make_unique<TProgramvinduer>(m.Sti());
    TFormVaer& h = p->hoved;
    h.Melding = [this](const QString& t) { meldinger << t; };
    h.Feilmelding = [this](const QString& t) { meldinger << t; };
    h.KjorDialog = [this](QDialog& d) {
      if (auto* v = qobject_cast<TVelgListe*>(&d)) {
        v->Navn->setEditText(listenavn);
        v->accept();
        if (!v->Feil->isHidden()) feil << v->Feil->text();
      } else if (auto* s = qobject_cast<TSammenlignVerer*>(&d)) {
        s->Numre->setText(numre);
        s->accept();
      }
      return d.result();
    };
    p->lister.Melding = [this](const QString& t) { meldinger << t; };
    h.Vis();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&h));
  }
  ~Program() {
    // A window may own others: each is deleted only while it is still there.
    QList<QPointer<QWidget>> vinduer;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<TVindu*>(w) || qobject_cast<TDiagramflate*>(w)) vinduer << w;
    for (const QPointer<QWidget>& w : vinduer) delete w.data();
  }
  static QList<TVindu*> Tabeller() {
    QList<TVindu*> t;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* v = qobject_cast<TVindu*>(w); v && v->isVisible()) t << v;
    return t;
  }
  TestMappe m;
  IMappe i{m.Sti()};
  std::unique_ptr<TProgramvinduer> p;
  QStringList meldinger, feil;
  QString listenavn = "Mine værer";
  QString numre;
};

// Typed into a field as the user does, over what stood there.
void Skriv(QLineEdit* felt, const QString& tekst) {
  felt->setFocus();
  felt->selectAll();
  QTest::keyClick(felt, Qt::Key_Delete);
  QTest::keyClicks(felt, tekst);
}

// Typed a letter at a time, any letter (QTest types only ASCII).
void Tast(QWidget* w, const QString& tekst) {
  for (const QChar c : tekst) {
    QKeyEvent ned(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &ned);
    QKeyEvent opp(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &opp);
  }
}

void Minimer(QWidget* w) {
  w->setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  w->setWindowState(Qt::WindowNoState);
  QApplication::processEvents();
  w->hide();
  w->show();
  QApplication::processEvents();
}

}  // namespace

TEST(ListeVindu, LeggIListeFraOppslagetOgKatalogensTabell) {
  Program p;
  TFormVer& v = p.p->ver;
  p.p->hoved.Kartotekoppslag->trigger();
  v.Evernum->setFocus();
  QTest::keyClicks(v.Evernum, "2000");
  QTest::mouseClick(v.Let, Qt::LeftButton);
  ASSERT_TRUE(v.LeggIListeKnapp->isEnabled());
  Skjermbilde(&v, "liste-oppslag");

  // A name that cannot be used keeps the question open and says why; nothing is written.
  p.listenavn = "Mine; værer";
  QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton);
  ASSERT_EQ(p.feil.size(), 1);
  EXPECT_FALSE(fs::exists(p.m / "Lister.Txt"));
  p.listenavn = "Mine værer";
  QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton);
  EXPECT_EQ(Listene(p.m.Sti()), (std::vector<TListe>{{C("Mine værer"), {2000}}}));
  EXPECT_EQ(p.meldinger.last(), "1 vær lagt i lista «Mine værer», som nå har 1 vær.");
  QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton);
  EXPECT_EQ(p.meldinger.last(), "Væren er på lista «Mine værer» fra før.");

  // The catalogue's table: the marked rows go to a new list, in the table's order.
  TFormKatalog& k = p.p->katalog;
  p.p->hoved.Katalog->trigger();
  QTest::mouseClick(k.EgDef, Qt::LeftButton);
  k.MeVeLi->setPlainText("3000\n5000\n1000\n4001\n");
  QTest::mouseClick(k.Btabb, Qt::LeftButton);
  const QList<TVindu*> tabeller = Program::Tabeller();
  ASSERT_EQ(tabeller.size(), 1);
  TVindu* t = tabeller[0];
  t->Tabell().Hoved().SettValg(TOmraade{0, 1, 0, 3});
  Skjermbilde(t, "katalogtabell-merket");
  QAction* leggTil = nullptr;
  for (QAction* a : t->Redmen->actions())
    if (a->text() == "Legg merkede i liste …") leggTil = a;
  ASSERT_NE(leggTil, nullptr);
  p.listenavn = "reserve";  // the name offered, in other letter case: the standard name is taken as typed
  leggTil->trigger();
  EXPECT_EQ(Listene(p.m.Sti()), (std::vector<TListe>{{C("Mine værer"), {2000}}, {"reserve", {3000, 5000, 1000}}}));
  EXPECT_EQ(p.meldinger.last(), "3 værer lagt i lista «reserve», som nå har 3 værer.");

  // The same marked rams side by side: a column each.
  QAction* sammenlign = nullptr;
  for (QAction* a : t->Redmen->actions())
    if (a->text() == "Sammenlign merkede …") sammenlign = a;
  ASSERT_NE(sammenlign, nullptr);
  sammenlign->trigger();
  TVindu* s = nullptr;
  for (TVindu* v : Program::Tabeller())
    if (v != t) s = v;
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Tabell().Hoved().Kolonner(), 4);

  // A file that cannot be read or written: the list is not changed, and the user is told why.
  fs::remove(p.m / "Lister.Txt");
  fs::create_directory(p.m / "Lister.Txt");
  QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton);
  EXPECT_TRUE(p.meldinger.last().startsWith("Lista ble ikke endret: Kan ikke lese fila "))
      << p.meldinger.last().toStdString();
}

TEST(ListeVindu, NavnSomLignerMerkingVisesSomDeErSkrevet) {
  // A ram name from the register and a list name the breeder typed, both
  // with "<", ">" and "&": every window shows them as written.
  std::vector<TVerPost> verer = AvlRegister();
  verer[0].Navn.Sett("<B>ANTON</B> & CO");
  Program p(verer);
  p.m.Skriv("Lister.Txt", "[Beste <b>x</b> & co]\r\n1000\r\n");
  TFormVer& v = p.p->ver;
  p.p->hoved.Kartotekoppslag->trigger();
  v.Evernum->setFocus();
  QTest::keyClicks(v.Evernum, "1000");
  QTest::mouseClick(v.Let, Qt::LeftButton);
  ASSERT_EQ(+v.GjeldendeVer().Nummer, 1000);
  TVindu* sonner = v.AvkomClick();
  ASSERT_NE(sonner, nullptr);
  p.p->slektskap.Melding = [&](const QString& t) { p.meldinger << t; };
  p.p->slektskap.VisFor(v.GjeldendeVer());
  QList<const QLabel*> sporsmal;  // the labels of the list question
  p.p->hoved.KjorDialog = [&](QDialog& d) {
    for (const QLabel* l : d.findChildren<QLabel*>())
      if (!l->isHidden() && l->text().contains('<')) {
        EXPECT_EQ(SynligTekst(l), l->text());
        sporsmal << l;
      }
    d.reject();
    return d.result();
  };
  QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton);
  EXPECT_EQ(sporsmal.size(), 1);
  p.p->hoved.Lister->trigger();

  struct Tilfelle {
    const char* hva;
    const QLabel* etikett;
  };
  const Tilfelle tilfeller[] = {
      {"oppslagets overskrift", v.Rasnav},
      {"sønnenes tabell", sonner->Overskr},
      {"slektskapsvinduet", p.p->slektskap.Ver},
      {"listevinduets statuslinje", p.p->lister.Status},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    EXPECT_TRUE(t.etikett->text().contains('<')) << t.etikett->text().toStdString();
    EXPECT_EQ(SynligTekst(t.etikett), t.etikett->text());
  }
  // The heading keeps its three lines.
  EXPECT_EQ(SynligTekst(v.Rasnav).count('\n'), 2);
}

TEST(ListeVindu, ListevinduetViserFjernerOgSammenligner) {
  Program p(AvlRegister(), "17;2000;0\r\n19;0;1000\r\n");
  p.m.Skriv("Lister.Txt", C("[Mine værer]\r\n2000\r\n3000\r\n5000\r\n9999\r\n[Reserve]\r\n"));
  TFormLister& l = p.p->lister;
  p.p->hoved.Lister->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
  ASSERT_EQ(l.Listene->count(), 2);
  EXPECT_EQ(l.Valgt(), C("Mine værer"));
  ASSERT_EQ(l.Verer->count(), 4);
  EXPECT_EQ(l.Verer->item(0)->text(), "2000  Rambo");
  EXPECT_EQ(l.Verer->item(3)->text(), "9999  (ikke i registeret)");

  // The table: the catalogue's fields and "Innavl %", since there are ewes.
  TVindu* t = l.VisTabellClick();
  ASSERT_NE(t, nullptr);
  const TRutenett& g = t->Tabell().Hoved();
  EXPECT_EQ(g.Rader(), 5);
  EXPECT_EQ(g.Celle(g.Kolonner() - 1, 0), "Innavl %");
  EXPECT_EQ(g.Celle(g.Kolonner() - 1, 1), "15,63");
  t->close();

  // Marks survive a minimise and restore: the window builds nothing again.
  // (A change of Lister.Txt made elsewhere is followed, whenever it comes:
  // andreprogram_test.)
  l.Verer->item(0)->setSelected(true);
  l.Verer->item(2)->setSelected(true);
  Minimer(&l);
  EXPECT_EQ(l.Listene->count(), 2);
  EXPECT_TRUE(l.Verer->item(0)->isSelected());
  EXPECT_TRUE(l.Verer->item(2)->isSelected());
  Skjermbilde(&l, "lister");

  // The marked rams side by side: one column a ram, and the chart.
  const TSammenligningsvinduer s = l.SammenlignClick();
  ASSERT_NE(s.tabell, nullptr);
  ASSERT_NE(s.diagram, nullptr);
  EXPECT_EQ(s.tabell->Tabell().Hoved().Kolonner(), 3);
  EXPECT_NE(s.tabell->Tabell().Hoved().Celle(1, 0).find("2000"), std::string::npos);
  EXPECT_NE(s.tabell->Tabell().Hoved().Celle(2, 0).find("5000"), std::string::npos);
  ASSERT_NE(s.diagram->Diagram(), nullptr);
  EXPECT_TRUE(DiagramTittel(*s.diagram->Diagram()).startsWith("Indeksene"))
      << DiagramTittel(*s.diagram->Diagram()).toStdString();
  Skjermbilde(s.tabell, "sammenligning");
  Skjermbilde(s.diagram, "sammenligning-diagram");
  s.tabell->close();
  s.diagram->close();

  // Removed from the list: the file and the window.
  l.FjernClick();
  EXPECT_EQ(Listene(p.m.Sti()), (std::vector<TListe>{{C("Mine værer"), {3000, 9999}}, {"Reserve", {}}}));
  EXPECT_EQ(l.Verer->count(), 2);

  // Renamed and deleted.
  l.KjorDialog = [](QDialog& d) {
    auto& v = dynamic_cast<TVelgListe&>(d);
    v.Linje->setText("Førstevalg");
    v.accept();
    return d.result();
  };
  l.NyttNavnClick();
  EXPECT_EQ(Listene(p.m.Sti())[0].navn, C("Førstevalg"));
  EXPECT_EQ(l.Valgt(), C("Førstevalg"));
  l.Bekreft = [](const QString&) { return true; };
  l.SlettClick();
  EXPECT_EQ(Listene(p.m.Sti()), (std::vector<TListe>{{"Reserve", {}}}));

  // The numbers typed from the menu: too few keep the question open.
  p.numre = "2000";
  p.p->hoved.Sammenlign->trigger();
  EXPECT_TRUE(Program::Tabeller().empty());
  p.numre = "2000, 3000 5000";
  p.p->hoved.Sammenlign->trigger();
  ASSERT_EQ(Program::Tabeller().size(), 1);
  EXPECT_EQ(Program::Tabeller()[0]->Tabell().Hoved().Kolonner(), 4);
}

TEST(ListeVindu, EndringsrapportenEtterInnlesingIHovedvinduet) {
  // An export, and the same with ram 10's O-indeks (column 28) raised by 7
  // and ram 20 gone.
  const std::string gammel = LagEksport(300, 9), ny = EndretEksport(gammel, 10, 7, 20);
  const std::vector<TVerPost> gamle = KonverterEksport(gammel), nye = KonverterEksport(ny);
  Program p(gamle);
  TFormVaer& h = p.p->hoved;
  EXPECT_FALSE(h.Endringer->isEnabled()) << "no report yet";
  const std::string a = std::to_string(gamle[10].Nummer), b = std::to_string(gamle[20].Nummer);
  p.m.Skriv("Lister.Txt", C("[Mine værer]\r\n" + a + "\r\n" + b + "\r\n"));
  p.m.Skriv("nye.Tex", ny);
  p.p->lister.Vis();
  ASSERT_EQ(p.p->lister.Verer->count(), 2);
  h.LesInnFil(p.m / "nye.Tex");
  // The open list window shows the new register.
  EXPECT_TRUE(p.p->lister.Verer->item(1)->text().endsWith("(ikke i registeret)"));
  ASSERT_FALSE(p.meldinger.isEmpty());
  EXPECT_TRUE(p.meldinger.last().startsWith("2 værer på listene er endret ved innlesingen"))
      << p.meldinger.last().toStdString();
  EXPECT_TRUE(h.EndringsVarsel->isVisibleTo(&h));
  EXPECT_TRUE(h.Endringer->isEnabled());
  Skjermbilde(&h, "endringer-varsel");

  TVindu* t = h.EndringerClick();
  ASSERT_NE(t, nullptr);
  const TRutenett& g = t->Tabell().Hoved();
  EXPECT_EQ(g.Rad(0), (std::vector<std::string>{"Liste", C("Værnr."), "Navn", "Felt", C("Før"), "Etter"}));
  std::vector<std::vector<std::string>> rader;
  for (int r = 1; r < g.Rader(); ++r) rader.push_back(g.Rad(r));
  const auto har = [&](const std::string& nr, const std::string& felt, const std::string& for_,
                       const std::string& etter) {
    return std::any_of(rader.begin(), rader.end(), [&](const std::vector<std::string>& r) {
      return r.size() == 6 && r[0] == C("Mine værer") && TolkFormat(r[1]).tekst == nr && r[3] == felt && r[4] == for_ &&
             r[5] == etter;
    });
  };
  EXPECT_TRUE(har(a, "O-indeks", std::to_string(gamle[10].OIndeks), std::to_string(nye[10].OIndeks)));
  EXPECT_TRUE(har(b, "Registeret", "I registeret", "Ikke lenger i registeret"));
  Skjermbilde(t, "endringer");
  t->close();

  // The next start tells of the report kept in the data folder.
  p.p.reset();
  p.p = std::make_unique<TProgramvinduer>(p.m.Sti());
  p.p->hoved.Vis();
  EXPECT_TRUE(p.p->hoved.EndringsVarsel->isVisibleTo(&p.p->hoved));
}

TEST(ListeVindu, StatistikkenTegnesPaaNyttNaarEnRaseTasUt) {
  const std::vector<TVerPost> verer = KonverterEksport(LagEksport(400, 5));
  Program p(verer);
  TFormStatistikk& s = p.p->statistikk;
  p.p->hoved.Statistikk->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
  ASSERT_GE(s.RaseListe->count(), 2);
  const auto linjer = [&] { return s.Snitt->Diagram()->series().size(); };
  const auto antall = [&] {
    double sum = 0;
    for (QAbstractSeries* serie : s.Antall->Diagram()->series())
      if (auto* b = qobject_cast<QBarSeries*>(serie))
        for (QBarSet* sett : b->barSets())
          for (int i = 0; i < sett->count(); ++i) sum += sett->at(i);
    return sum;
  };
  // The five breeds with the most rams are ticked at first.
  std::vector<int> avkrysset;
  for (int i = 0; i < s.RaseListe->count(); ++i)
    if (s.RaseListe->item(i)->checkState() == Qt::Checked) avkrysset.push_back(i);
  ASSERT_EQ(avkrysset.size(), 5u);
  const qsizetype fem = linjer();
  const double femVerer = antall();
  int64_t iStatistikken = 0;
  for (const TAarRase& g : s.Statistikk().grupper) iStatistikken += g.antall;
  EXPECT_LT(femVerer, static_cast<double>(iStatistikken));
  QTest::mouseClick(s.Alle, Qt::LeftButton);
  EXPECT_EQ(antall(), static_cast<double>(iStatistikken));
  EXPECT_GT(linjer(), fem);
  Skjermbilde(&s, "statistikk-alle");
  QTest::mouseClick(s.Ingen, Qt::LeftButton);
  EXPECT_EQ(antall(), 0);
  EXPECT_EQ(linjer(), 0);
  // No catalogue selection yet: the histogram says so.
  EXPECT_EQ(s.Histogram().Antall(), 0);
  EXPECT_TRUE(s.Fordeling->Diagram()->title().contains("Katalogen har ikke gjort noe utvalg"));

  // Ticked one by one, as the user does; then one is taken out again.
  for (int i : avkrysset) s.RaseListe->item(i)->setCheckState(Qt::Checked);
  EXPECT_EQ(linjer(), fem);
  EXPECT_EQ(antall(), femVerer);
  Skjermbilde(&s, "statistikk-snitt");
  const int ut = avkrysset[0];
  s.RaseListe->item(ut)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(linjer(), fem - 1);
  EXPECT_LT(antall(), femVerer);
  const double uten = antall();

  // A restore keeps what is ticked and the charts; nothing is read again.
  QChart* vist = s.Snitt->Diagram();
  s.Faner->setCurrentIndex(1);
  Minimer(&s);
  EXPECT_EQ(s.RaseListe->item(ut)->checkState(), Qt::Unchecked);
  EXPECT_EQ(s.Snitt->Diagram(), vist);
  EXPECT_EQ(s.Faner->currentIndex(), 1);
  Skjermbilde(&s, "statistikk-antall");

  // The figures behind the bars, and the chart as a file.
  TVindu* t = s.Antall->TalleneClick();
  ASSERT_NE(t, nullptr);
  double sum = 0;
  for (int r = 1; r < t->Tabell().Hoved().Rader(); ++r) sum += std::stod(t->Tabell().Hoved().Celle(1, r));
  EXPECT_EQ(sum, uten);
  t->close();
  s.Antall->VelgFil = [&](const QString& forslag) {
    EXPECT_EQ(forslag, "Antall kårede værer etter fødselsår") << "no ending: the type chosen gives it";
    return TLagringsfil{QString::fromStdString((p.m / "antall:per år.svg").string()), 0};
  };
  s.Antall->Melding = [](const QString&) {};
  ASSERT_TRUE(s.Antall->LagreSomClick());
  EXPECT_NE(Les(p.m / "antall_per år.svg").find("<svg"), std::string::npos) << "only the file's name is made safe";

  // Printed on one page: into a PDF file through the print dialog's choice;
  // not while another print job of the program runs.
  QStringList meldinger;
  s.Antall->Melding = [&](const QString& t) { meldinger << t; };
  s.Antall->VelgSkriver = [&](QPrinter& skriver) {
    skriver.setOutputFormat(QPrinter::PdfFormat);
    skriver.setOutputFileName(QString::fromStdString((p.m / "antall.pdf").string()));
    return true;
  };
  {
    const TSkriverjobb annen;
    s.Antall->SkrivUtClick();
    EXPECT_EQ(meldinger, QStringList{QString::fromUtf8(SkriverOpptattTekst)});
    EXPECT_FALSE(fs::exists(p.m / "antall.pdf"));
  }
  s.Antall->SkrivUtClick();
  EXPECT_EQ(Les(p.m / "antall.pdf").substr(0, 5), "%PDF-");
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    fs::copy_file(p.m / "antall.pdf", fs::path(mappe) / "statistikk-utskrift.pdf",
                  fs::copy_options::overwrite_existing);
  EXPECT_EQ(meldinger.size(), 1);

  // A catalogue selection made while the window is open is drawn at once.
  TFormKatalog& k = p.p->katalog;
  p.p->hoved.Katalog->trigger();
  QTest::mouseClick(k.EgDef, Qt::LeftButton);
  QString numre;
  for (std::size_t i = 0; i < 60; ++i) numre += QString::number(verer[i].Nummer) + "\n";
  k.MeVeLi->setPlainText(numre);
  QTest::mouseClick(k.Btabb, Qt::LeftButton);
  ASSERT_FALSE(p.p->okt.Katalogutvalg().empty());
  EXPECT_GT(s.Histogram().Antall(), 0);
  EXPECT_FALSE(s.Fordeling->Diagram()->title().contains("Katalogen har ikke gjort noe utvalg"));
  // Opened again, the window keeps the breeds ticked.
  s.close();
  p.p->hoved.Statistikk->trigger();
  EXPECT_EQ(s.RaseListe->item(ut)->checkState(), Qt::Unchecked) << "the breeds ticked are kept";
  EXPECT_EQ(s.RaseListe->item(avkrysset[1])->checkState(), Qt::Checked);
  EXPECT_EQ(
      s.Histogram().Antall() + s.Histogram().Utenfor().utenIndeks + s.Histogram().Utenfor().gule,
      static_cast<int64_t>(std::set<int32_t>(p.p->okt.Katalogutvalg().begin(), p.p->okt.Katalogutvalg().end()).size()))
      << "each ram of the selection once";
  s.Faner->setCurrentIndex(2);
  Skjermbilde(&s, "statistikk-fordeling");
}

// The questions for judging numbers (the mating plan's and the
// comparison's): an error shown for what did not read follows the text while
// it is typed and goes as soon as the numbers read, before OK is pressed.
TEST(ListeVindu, TallspoersmaalenesFeilGaarNaarTalleneLeses) {
  TVelgVerer plan({5000, 2000}, QString(), 3);
  TSammenlignVerer sammenlign{QString()};
  struct Fall {
    QDialog* d;
    QLineEdit* numre;
    QLabel* feil;
    QString galt, fortsattGalt, riktig;
  };
  const Fall fall[] = {
      {&plan, plan.Numre, plan.Feil, "2000 20x0", "2000 3x", "2000 3000"},
      {&sammenlign, sammenlign.Numre, sammenlign.Feil, "2000", "2000 3x", "2000 3000"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.d->windowTitle().toStdString());
    f.d->show();
    QPushButton* ok = f.d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    Skriv(f.numre, f.galt);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(f.d->isVisible());
    EXPECT_FALSE(f.feil->isHidden());
    Skriv(f.numre, f.fortsattGalt);
    EXPECT_FALSE(f.feil->isHidden());
    EXPECT_EQ(f.feil->text().toStdString(), "«3x» er ikke et kåringsnummer.");
    Skriv(f.numre, f.riktig);
    EXPECT_TRUE(f.feil->isHidden()) << f.feil->text().toStdString();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(f.d->result(), QDialog::Accepted);
    EXPECT_EQ(f.numre->text(), f.riktig);
  }
  // The mating plan's other choice, the catalogue's rams, takes the error away too.
  TVelgVerer igjen({5000, 2000}, "20x0", 3);
  igjen.show();
  QTest::mouseClick(igjen.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  ASSERT_FALSE(igjen.Feil->isHidden());
  QTest::mouseClick(igjen.FraKatalog, Qt::LeftButton);
  EXPECT_TRUE(igjen.Feil->isHidden());
}

// A table window of a list, a comparison, a mating plan or a change report
// says in its caption what it holds, not only the first word of its title.
TEST(ListeVindu, TabellvinduetsNavnSierHvaDetViser) {
  Program p;
  p.m.Skriv("Lister.Txt", C("[Mine værer]\r\n2000\r\n3000\r\n"));
  TFormLister& l = p.p->lister;
  l.Vis();
  const auto plan = [](std::vector<int32_t> verer) {
    TParingsplan plan;
    plan.soyer = {{"17", 2000, 0}, {"18", 5000, 0}};
    plan.verer = std::move(verer);
    plan.lam.assign(2 * plan.verer.size(), 0.0625);
    plan.snitt.assign(plan.verer.size(), 0.0625);
    return plan;
  };
  const auto planvindu = [](const TParingsplan& plan) {
    auto* v = new TVindu;
    ListParingsplan(plan, 6.25, *v);
    return v;
  };
  TEndringsrapport rapport;
  rapport.dato = *EncodeDate(2024, 3, 5);
  struct Fall {
    std::function<TVindu*()> aapne;
    std::string navn;
  };
  const Fall fall[] = {
      {[&] { return l.VisTabellClick(); }, "Liste Mine værer: 2 værer"},
      {[&] { return l.SammenlignClick().tabell; }, "Sammenligning av 2000 og 3000"},
      {[&] {
         return planvindu(plan({2000, 3000}));
       },
       "Paringsplan: 2 søyer og værene 2000 og 3000"},
      {[&] {
         return planvindu(plan({2000, 3000, 4001, 4002, 4003, 4004, 4005}));
       },
       "Paringsplan: 2 søyer og 7 værer"},
      {[&] {
         auto* v = new TVindu;
         ListEndringer(rapport, *v);
         return v;
       },
       "Ingen endringer for værer på listene, innlest 05/03/2024"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.navn);
    TVindu* v = f.aapne();
    ASSERT_NE(v, nullptr);
    v->Vis();
    EXPECT_EQ(v->windowTitle().toStdString(), f.navn);
  }
}

// A list name that cannot be used, in each of the three places a name is
// asked for: refused in the dialog while it is open, with OK off, the reason
// shown and the text kept as typed (a long name is not cut to the longest a
// name may be); the name mended in the same dialog is taken.
TEST(ListeVindu, ListenavnSomIkkeKanBrukesAvvisesIDialogenMedTekstenBeholdt) {
  Program p;
  p.m.Skriv("Lister.Txt", C("[Reserve]\r\n2000\r\n"));
  TFormLister& l = p.p->lister;
  p.p->hoved.Lister->trigger();
  TFormVer& v = p.p->ver;
  p.p->hoved.Kartotekoppslag->trigger();
  v.Evernum->setFocus();
  QTest::keyClicks(v.Evernum, "2000");
  QTest::mouseClick(v.Let, Qt::LeftButton);

  QString lang;
  while (lang.size() < 300) lang += "Lang liste ";
  lang.truncate(300);
  struct Fall {
    const char* sted;
    std::function<void()> gjor;
    QString galt;
    std::string feil;
    QString riktig;
  };
  const Fall fall[] = {
      {"Legg i liste", [&] { QTest::mouseClick(v.LeggIListeKnapp, Qt::LeftButton); }, lang,
       "Listenavnet kan ikke være lengre enn 60 tegn.", "Avlsværer"},
      {"Ny liste", [&] { QTest::mouseClick(l.NyListe, Qt::LeftButton); }, "reserve",
       "Det finnes alt ei liste som heter Reserve.", "Tom liste"},
      {"Ny liste", [&] { QTest::mouseClick(l.NyListe, Qt::LeftButton); }, "Liste ő",
       "Listenavnet kan ikke inneholde «ő».", "Øvrige"},
      {"Gi nytt navn", [&] { QTest::mouseClick(l.NyttNavn, Qt::LeftButton); }, "A;B",
       "Listenavnet kan ikke inneholde semikolon.", "Førstevalg"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.sted + (" " + f.galt.left(20).toStdString()));
    int dialoger = 0;
    const auto svar = [&](QDialog& d) {
      ++dialoger;
      auto& valg = dynamic_cast<TVelgListe&>(d);
      EXPECT_EQ(d.windowTitle().toStdString(), f.sted);
      d.show();
      valg.Linje->setFocus();
      valg.Linje->selectAll();
      Tast(valg.Linje, f.galt);
      EXPECT_EQ(valg.Linje->text(), f.galt) << "kept as typed";
      EXPECT_FALSE(valg.Ok->isEnabled());
      EXPECT_FALSE(valg.Feil->isHidden());
      EXPECT_EQ(valg.Feil->text().toStdString(), f.feil);
      if (f.galt == lang) Skjermbilde(&d, "liste-navn-avvist");
      QTest::keyClick(valg.Linje, Qt::Key_Return);
      valg.accept();
      EXPECT_TRUE(d.isVisible()) << "still open";
      EXPECT_EQ(valg.Linje->text(), f.galt);
      valg.Linje->selectAll();
      Tast(valg.Linje, f.riktig);
      EXPECT_TRUE(valg.Ok->isEnabled());
      EXPECT_TRUE(valg.Feil->isHidden());
      QTest::mouseClick(valg.Ok, Qt::LeftButton);
      return d.result();
    };
    p.p->hoved.KjorDialog = svar;
    l.KjorDialog = svar;
    f.gjor();
    EXPECT_EQ(dialoger, 1);
  }
  EXPECT_EQ(
      Listene(p.m.Sti()),
      (std::vector<TListe>{{"Reserve", {2000}}, {C("Avlsværer"), {2000}}, {"Tom liste", {}}, {C("Førstevalg"), {}}}));
  EXPECT_TRUE(p.meldinger.filter("Listenavnet").isEmpty()) << "no refusal after the dialog";
}

// "Lagre som …" of a chart: the type chosen in the dialog gives a name typed
// without an ending its own, and the file is of that type.
TEST(ListeVindu, DiagrammetLagresSomTypenSomErValgt) {
  TestMappe m;
  TDiagramflate flate;
  flate.Lag = [] { return LagHistogramDiagram(THistogram(), "i utvalget"); };
  flate.Tegn();
  QStringList meldinger;
  flate.Melding = [&](const QString& t) { meldinger << t; };
  struct Fall {
    const char* navn;
    int type;
    const char* fil;
    std::string start;  // how the file starts
  };
  const Fall fall[] = {
      {"d", 2, "d.pdf", "%PDF"},
      {"d", 1, "d.svg", "<?xml"},
      {"d", 0, "d.png", "\x89PNG"},
      {"e.png", 2, "e.png", "\x89PNG"},
      {"Plan 12.03", 2, "Plan 12.03.pdf", "%PDF"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(std::string(f.navn) + " " + std::to_string(f.type));
    flate.VelgFil = [&](const QString&) { return TLagringsfil{QString::fromStdString((m / f.navn).string()), f.type}; };
    ASSERT_TRUE(flate.LagreSomClick()) << meldinger.join("\n").toStdString();
    EXPECT_EQ(Les(m / f.fil).substr(0, f.start.size()), f.start);
  }
  EXPECT_FALSE(fs::exists(m / "d"));
}

// A mating plan of many rams and a comparison of six rams with long names
// keep a readable font in their table windows: the window opens wider and
// the table scrolls, instead of the font shrinking to 5 points. Other tables
// still shrink to fit 600 pixels.
TEST(ListeVindu, PlanOgSammenligningBeholderLesbarSkrift) {
  TParingsplan plan;
  plan.soyer = {{"17", 2000, 0}, {"18", 5000, 0}};
  for (int32_t v = 0; v < 30; ++v) plan.verer.push_back(1900100 + v);
  plan.lam.assign(2 * plan.verer.size(), 0.0625);
  plan.snitt.assign(plan.verer.size(), 0.0625);
  std::vector<TVerPost> verer;
  const char* navn[] = {"STORMFJELLETS KONGEN", "BJORNEBAKKENS BAMSEN", "SOLHAUGENS STOLTHETA",
                        "VESLEGUTTEN FRA NORD", "GAMLEBYENS GULLGUTTE", "ASMUNDSTADS ÆRESVÆR"};
  for (int i = 0; i < 6; ++i) {
    TVerPost p = TomVerPost();
    p.Nummer = 2002390 + i;
    p.Aar = 2010;
    p.Rase = 1;
    p.OIndeks = static_cast<int16_t>(100 + i);
    p.Navn.Sett(C(navn[i]));
    verer.push_back(p);
  }
  const TSammenligning sammenligning = Sammenlign(verer, verer);
  struct Fall {
    const char* hva;
    std::function<void(TVindu&)> fyll;
    bool lesbar;
  };
  const Fall fall[] = {
      {"paringsplan", [&](TVindu& v) { ListParingsplan(plan, 6.25, v); }, true},
      {"sammenligning", [&](TVindu& v) { ListSammenligning(sammenligning, Trase(), v); }, true},
      {"annen tabell",
       [&](TVindu& v) {
         v.Oppsett(30, 12, 0, 1, 1, "Bred tabell", Rod, Blaa);
         v.NyRad(std::string(30 * 12, 'W') + ";");
         for (int k = 0; k < 30; ++k) v.NyRad("WWWWWWWWWWWW;");
         v.NyBunnRad(std::string(30, ';'));
       },
       false},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.hva);
    auto* v = new TVindu;
    f.fyll(*v);
    v->Vis();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
    if (f.lesbar) {
      EXPECT_GE(v->Skriftstorrelse(), LesbarSkrift);
      EXPECT_GT(v->width(), 600) << "opens wider";
      Skjermbilde(v, f.hva[0] == 'p' ? "paringsplan-lesbar" : "sammenligning-lesbar");
    } else {
      EXPECT_LT(v->Skriftstorrelse(), LesbarSkrift) << "shrinks as before";
      EXPECT_EQ(v->width(), 600);
    }
    delete v;
  }
}

// "Lagre lommekatalog …" of the list window: the dialog offers
// Lommekatalog.html in the Documents folder; the page of the chosen list is
// written where the user says (a name without an ending gets .html) and the
// message says where and how it reaches the phone; a cancelled dialog writes
// nothing, and a file that cannot be written is told.
TEST(ListeVindu, LagreLommekatalogSkriverListaSomNettside) {
  Program p(AvlRegister(), "E1;2000;0\r\nE2;3000;0\r\n");
  p.m.Skriv("Lister.Txt", C("[Mine værer]\r\n2000\r\n3000\r\n9999\r\n[Tom]\r\n"));
  TFormLister& l = p.p->lister;
  l.Vis();
  QString tilbudt, svar;
  l.VelgFil = [&](const QString& forslag) {
    tilbudt = forslag;
    return svar;
  };
  l.TilbyEpost = nullptr;  // the text as a plain message
  Skjermbilde(&l, "lister-lommekatalog");
  ASSERT_TRUE(l.Lommekatalog->isEnabled());

  // Cancelled: nothing written, nothing said.
  EXPECT_TRUE(l.LommekatalogClick().empty());
  EXPECT_EQ(tilbudt,
            QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath("Lommekatalog.html"));
  EXPECT_TRUE(p.meldinger.isEmpty());

  svar = QString::fromStdString((p.m / "telefon").string());
  const fs::path fil = l.LommekatalogClick();
  EXPECT_EQ(fil, p.m / "telefon.html");
  const std::string side = Les(p.m / "telefon.html");
  EXPECT_EQ(side.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(side.find("\"soyer\":[\"E1\",\"E2\"]"), std::string::npos);
  EXPECT_NE(side.find("[2000,\"RAMBO\""), std::string::npos);
  ASSERT_EQ(p.meldinger.size(), 1);
  EXPECT_TRUE(p.meldinger[0].startsWith("Lommekatalogen med 2 værer og 2 søyer er lagret i\n" +
                                        QString::fromStdString((p.m / "telefon.html").string())))
      << p.meldinger[0].toStdString();
  EXPECT_TRUE(p.meldinger[0].contains("1 av numrene finnes ikke")) << p.meldinger[0].toStdString();
  EXPECT_TRUE(p.meldinger[0].contains("e-post")) << p.meldinger[0].toStdString();

  // A name with a dot of its own gets the ending too; one that would become
  // an existing file's name is asked about (the dialog asked about another).
  p.meldinger.clear();
  svar = QString::fromStdString((p.m / "Værsalg 11.12").string());
  EXPECT_EQ(l.LommekatalogClick(), p.m / "Værsalg 11.12.html");
  p.m.Skriv("gammel.html", "viktig");
  QStringList spurt;
  bool erstatt = false;
  l.Bekreft = [&](const QString& t) {
    spurt << t;
    return erstatt;
  };
  svar = QString::fromStdString((p.m / "gammel").string());
  EXPECT_TRUE(l.LommekatalogClick().empty());
  ASSERT_EQ(spurt.size(), 1);
  EXPECT_TRUE(spurt[0].contains("finnes fra før")) << spurt[0].toStdString();
  EXPECT_EQ(Les(p.m / "gammel.html"), "viktig");
  erstatt = true;
  EXPECT_EQ(l.LommekatalogClick(), p.m / "gammel.html");
  EXPECT_NE(Les(p.m / "gammel.html"), "viktig");

  // Two rows marked (2000 and 9999, not in the register): the page holds
  // the marked rams alone.
  l.Verer->item(0)->setSelected(true);
  l.Verer->item(2)->setSelected(true);
  svar = QString::fromStdString((p.m / "merket.html").string());
  ASSERT_EQ(l.LommekatalogClick(), p.m / "merket.html");
  EXPECT_NE(Les(p.m / "merket.html").find("[2000,"), std::string::npos);
  EXPECT_EQ(Les(p.m / "merket.html").find("[3000,"), std::string::npos) << "3000 was not marked";
  l.Verer->clearSelection();

  p.meldinger.clear();
  svar = QString::fromStdString((p.m / "mangler" / "side.html").string());
  EXPECT_TRUE(l.LommekatalogClick().empty());
  ASSERT_EQ(p.meldinger.size(), 1);
  EXPECT_TRUE(p.meldinger[0].startsWith("Lommekatalogen ble ikke lagret: ")) << p.meldinger[0].toStdString();
  EXPECT_FALSE(fs::exists(p.m / "mangler"));
}

// After the page is saved the user may have it mailed: the mail program gets
// the page as its attachment (no recipient: the user writes their own), and
// what came of it is told, also when there is no mail program.
TEST(ListeVindu, LommekatalogenSendesMedEpost) {
  Program p(AvlRegister(), "E1;2000;0\r\n");
  p.m.Skriv("Lister.Txt", C("[Mine værer]\r\n2000\r\n"));
  TFormLister& l = p.p->lister;
  l.Vis();
  const fs::path fil = p.m / "lomme.html";
  l.VelgFil = [&](const QString&) { return QString::fromStdString(fil.string()); };
  const struct {
    bool trykket;
    TSendeUtfall utfall;
    const char* melding;  // the start of what is told; null: nothing
  } tilfeller[] = {
      {false, TSendeUtfall::Sendt, nullptr},
      {true, TSendeUtfall::Sendt, "E-postprogrammet ditt har fått lommekatalogen som vedlegg."},
      {true, TSendeUtfall::Feil, "E-postprogrammet kunne ikke startes med vedlegget. Legg fila\n"},
      {true, TSendeUtfall::Avbrutt, "Fant ikke noe e-postprogram å gi fila til (xdg-email mangler)."},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(static_cast<int>(t.utfall) * 2 + t.trykket);
    p.meldinger.clear();
    QString vist;
    std::vector<TEpost> sendt;
    l.TilbyEpost = [&](const QString& tekst) {
      vist = tekst;
      return t.trykket;
    };
    l.SendEpost = [&](const TEpost& e) {
      sendt.push_back(e);
      TSendeSvar s;
      s.utfall = t.utfall;
      return s;
    };
    EXPECT_EQ(l.LommekatalogClick(), fil);
    EXPECT_TRUE(vist.startsWith("Lommekatalogen med 1 vær og 1 søye er lagret i")) << vist.toStdString();
    ASSERT_EQ(sendt.size(), t.trykket ? 1u : 0u);
    if (t.trykket) {
      EXPECT_EQ(sendt[0].vedlegg, fil);
      EXPECT_EQ(sendt[0].mottaker, "");
      EXPECT_EQ(sendt[0].emne, "Lommekatalog fra Hornstad");
    }
    if (t.melding == nullptr) {
      EXPECT_TRUE(p.meldinger.isEmpty());
    } else {
      ASSERT_EQ(p.meldinger.size(), 1);
      EXPECT_TRUE(p.meldinger[0].startsWith(QString::fromUtf8(t.melding))) << p.meldinger[0].toStdString();
    }
  }
}

// The catalogue's table and the comparison save their rams as a pocket
// catalogue: the table its marked rows when more than one is marked,
// otherwise all of them.
TEST(ListeVindu, LommekatalogFraKatalogtabellenOgSammenligningen) {
  Program p(AvlRegister(), "E1;2000;0\r\n");
  TVindu* v = new TVindu;
  v->Oppsett(2, 12, 0, 1, 0, "Tabell", Rod, Blaa);
  v->NyRad("Nr;Navn;");
  for (const char* rad : {"2000;Rambo;", "3000;Bukk;", "5000;Fremmed;"}) v->NyRad(rad);
  std::vector<std::string> sider;
  std::vector<bool> spurt;
  p.p->LommeDialogFor = [&](QWidget*) {
    TLommeDialog d;
    d.velgFil = [&](const QString&) {
      return QString::fromStdString((p.m / ("side" + std::to_string(sider.size()) + ".html")).string());
    };
    d.melding = [&](const QString& t) { sider.push_back(t.toStdString()); };
    return d;
  };
  const auto verer = [&](const fs::path& f) {
    const std::string side = Les(f);
    std::vector<int32_t> n;
    for (int32_t nr : {2000, 3000, 5000})
      if (side.find("[" + std::to_string(nr) + ",") != std::string::npos) n.push_back(nr);
    return n;
  };
  EXPECT_EQ(verer(p.p->LommekatalogFraTabell(*v)), (std::vector<int32_t>{2000, 3000, 5000}));
  v->Tabell().Hoved().SettValg(TOmraade{0, 1, 1, 2});
  EXPECT_EQ(verer(p.p->LommekatalogFraTabell(*v)), (std::vector<int32_t>{2000, 3000}));
  delete v;

  TSammenligningsvinduer s = VisSammenligning(p.p->okt, {5000, 2000}, nullptr, [](const QString&) {});
  ASSERT_NE(s.tabell, nullptr);
  QAction* lomme = nullptr;
  for (QAction* a : s.tabell->VerkT->actions())
    if (a->text() == "Lagre lommekatalog …") lomme = a;
  EXPECT_NE(lomme, nullptr);
  // The chart's own table of the figures ("Tallene") has it too.
  auto* tall = new TVindu;
  s.diagram->ListTall(*tall);
  int knapper = 0;
  for (QAction* a : tall->VerkT->actions()) knapper += a->text() == "Lagre lommekatalog …";
  EXPECT_EQ(knapper, 1);
  delete tall;
  delete s.tabell;
  delete s.diagram;
}
