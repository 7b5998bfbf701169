// hornstad-skjermbilder MAPPE
// Makes the screenshots of the user guide (docs/brukerveiledning.md): builds a
// synthetic register in a temporary data folder, opens the program's windows
// as the program does, works them through their own buttons, keys and menus
// and saves each window as a PNG file in MAPPE. Runs under any display,
// also the offscreen platform; nothing is fetched from the network (the
// download goes to a closed port on this machine).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "inifil.h"
#include "lister.h"
#include "programvinduer.h"
#include "register.h"
#include "skall.h"
#include "soyer.h"
#include "tdiagramflate.h"
#include "tekst.h"
#include "tformlister.h"
#include "tformparingsforslag.h"
#include "tformparingsplan.h"
#include "tformstatistikk.h"
#include "tgrid.h"
#include "tinnlesing.h"
#include "tintedit.h"
#include "tpapvin.h"
#include "tvindu.h"

namespace {

// Lets the window system show `w` and the program finish what it has queued.
void Vent(QWidget* w, int ms = 250) {
  if (w != nullptr && !QTest::qWaitForWindowExposed(w, 5000))
    std::fprintf(stderr, "Vinduet %s ble ikke vist i tide.\n", qPrintable(w->windowTitle()));
  QTest::qWait(ms);
}

// The window's picture with a plain title bar above it: the screenshots are
// taken without a window manager, so the caption is drawn here.
QImage MedTittel(const QImage& innhold, const QString& tittel) {
  const int linje = 1, topp = 24;
  QImage bilde(innhold.width() + 2 * linje, innhold.height() + topp + linje, QImage::Format_RGB32);
  bilde.fill(QColor(96, 104, 116));
  QPainter p(&bilde);
  QLinearGradient g(0, 0, 0, topp);
  g.setColorAt(0, QColor(74, 96, 128));
  g.setColorAt(1, QColor(52, 70, 98));
  p.fillRect(QRect(linje, linje, innhold.width(), topp - linje), g);
  QFont f = QApplication::font();
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(linje + 8, linje, innhold.width() - 40, topp - linje), Qt::AlignVCenter | Qt::AlignLeft, tittel);
  // A close box at the right, as a window has one.
  const QRect boks(linje + innhold.width() - 22, linje + 4, 15, 15);
  p.setPen(QPen(QColor(220, 228, 240), 1.6));
  p.drawLine(boks.topLeft() + QPoint(4, 4), boks.bottomRight() - QPoint(4, 4));
  p.drawLine(boks.topRight() + QPoint(-4, 4), boks.bottomLeft() + QPoint(4, -4));
  p.drawImage(linje, topp, innhold);
  return bilde;
}

// A window and, drawn over it where they lie on the screen, windows that
// float above it (a candidate list, a popup menu).
QImage Bilde(QWidget* vindu, const std::vector<QWidget*>& over = {}) {
  QImage bilde = vindu->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint null = vindu->mapToGlobal(QPoint(0, 0));
  QRect alt(QPoint(0, 0), bilde.size());
  std::vector<std::pair<QPoint, QImage>> lag;
  for (QWidget* w : over) {
    if (w == nullptr || !w->isVisible()) continue;
    const QPoint p = w->mapToGlobal(QPoint(0, 0)) - null;
    QImage b = w->grab().toImage();
    alt |= QRect(p, b.size());
    lag.emplace_back(p, std::move(b));
  }
  if (lag.empty()) return MedTittel(bilde, vindu->windowTitle());
  QImage samlet(alt.size(), QImage::Format_RGB32);
  samlet.fill(QColor(236, 236, 236));
  QPainter p(&samlet);
  p.drawImage(-alt.topLeft(), bilde);
  for (const auto& [hjorne, b] : lag) {
    const QPoint q = hjorne - alt.topLeft();
    p.drawImage(q, b);
    // A thin shadow line at the floating window's right and bottom edge.
    p.setPen(QColor(90, 90, 90));
    p.drawRect(QRect(q, b.size()).adjusted(0, 0, -1, -1));
  }
  p.end();
  return MedTittel(samlet, vindu->windowTitle());
}

// The folder the pictures go to, and how many have gone there.
struct TBildemappe {
  QString mappe;
  int antall = 0;

  void Lagre(const QImage& bilde, const char* navn) {
    const QString fil = mappe + "/" + navn;
    if (!bilde.save(fil, "PNG", 0)) {
      std::fprintf(stderr, "Kunne ikke lagre %s.\n", qPrintable(fil));
      std::exit(1);
    }
    ++antall;
    std::printf("  %s (%d x %d)\n", navn, bilde.width(), bilde.height());
  }
};

// A port on this machine that nothing listens on: taken from the system and
// given back at once.
int LukketPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t n = sizeof a;
  int port = 1;
  if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
    port = ntohs(a.sin_port);
  if (s >= 0) ::close(s);
  return port;
}

// The ram the guide shows: many known ancestors, and sons to list.
int32_t VelgVer(TProdusent& reg) {
  std::map<int32_t, int> soenner;
  for (int32_t i = 0; i < reg.RecordCount(); ++i) {
    const TVerPost p = reg.ReadAt(i);
    if (p.Farnr > 0 && p.OIndeks > 0) ++soenner[p.Farnr];
  }
  std::map<int32_t, TVerPost> kjent;
  const auto hent = [&](int32_t nr) -> const TVerPost& {
    auto it = kjent.find(nr);
    if (it == kjent.end()) it = kjent.emplace(nr, reg.FindByNumber(nr)).first;
    return it->second;
  };
  // Known rams among the ancestors, five generations back.
  std::function<int(int32_t, int)> forfedre = [&](int32_t nr, int generasjon) -> int {
    if (nr <= 0 || generasjon > 5) return 0;
    const TVerPost& p = hent(nr);
    if (p.Nummer <= 0) return 0;
    return 1 + forfedre(p.Farnr, generasjon + 1) + forfedre(p.MorFar, generasjon + 2);
  };
  int32_t beste = 0;
  int besteVerdi = -1;
  for (const auto& [far, antall] : soenner) {
    if (antall < 8) continue;
    const TVerPost& p = hent(far);
    if (p.Nummer <= 0 || p.Bein <= 0) continue;
    const int verdi = forfedre(far, 0) * 100 + std::min(antall, 40);
    if (verdi > besteVerdi) {
      besteVerdi = verdi;
      beste = far;
    }
  }
  return beste;
}

// A part of a name that several rams share (4 to 12 of them), in plain
// letters so that it can be typed.
QString Navnedel(TProdusent& reg, int32_t nummer) {
  std::vector<std::string> forslag;
  forslag.push_back(reg.FindByNumber(nummer).Navn.Verdi());
  for (int32_t i = 0; i < reg.RecordCount() && forslag.size() < 400; i += 7)
    forslag.push_back(reg.ReadAt(i).Navn.Verdi());
  for (const std::string& navn : forslag) {
    const std::string ord = navn.substr(0, navn.find(' '));
    if (ord.size() < 5) continue;
    bool enkel = true;
    for (unsigned char c : ord) enkel = enkel && std::isalpha(c) && c < 0x80;
    if (!enkel) continue;
    std::vector<TTekstElement> liste;
    const int32_t treff = reg.FindByName(ord, liste);
    if (treff >= 4 && treff <= 12) return QString::fromStdString(ord).toLower();
  }
  return "fjell";
}

void Klikk(TGrid* g, int kol, int rad) {
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->Celleramme(kol, rad).center());
}

void Skriv(TFormVer& ver, const QString& tekst) {
  ver.Evernum->setFocus();
  ver.Evernum->clear();
  QTest::keyClicks(ver.Evernum, tekst);
  QTest::keyClick(ver.Evernum, Qt::Key_Return);
  QTest::qWait(100);
}

int Kjor(TBildemappe& ut) {
  QTemporaryDir tmp;
  if (!tmp.isValid()) {
    std::fprintf(stderr, "Kunne ikke lage en midlertidig mappe.\n");
    return 1;
  }
  const std::filesystem::path data = tmp.path().toStdString();
  std::printf("Lager et register med 3000 oppdiktede værer i %s ...\n", data.c_str());
  SkrivEksempeldata(3000, 11, data, true);
  {
    QSettings ini(QString::fromStdString(Innstillingsfil(data).string()), InnstillingsFormat());
    ini.setValue("Nett/Adresse", QString("http://127.0.0.1:%1").arg(LukketPort()));
    ini.setValue("Hoved/Left", 0);
    ini.setValue("Hoved/Top", 0);
  }

  // The long-lived windows, as the program makes them.
  TProgramvinduer vinduer(data);
  TFormVaer& hoved = vinduer.hoved;
  TFormVer& ver = vinduer.ver;
  TFormKatalog& katalog = vinduer.katalog;
  TFormNedlast& nedlast = vinduer.nedlast;
  hoved.Melding = [](const QString& t) { std::printf("  (melding: %s)\n", qPrintable(t)); };
  hoved.Feilmelding = [](const QString& t) { std::fprintf(stderr, "Feilmelding: %s\n", qPrintable(t)); };
  nedlast.Melding = hoved.Melding;

  // 1. The main window after start.
  hoved.Vis();
  Vent(&hoved);
  ut.Lagre(Bilde(&hoved), "start.png");

  // The Arkiv menu, opened from its button as the user opens it.
  for (QToolButton* knapp : hoved.findChildren<QToolButton*>()) {
    if (knapp->text() != "Arkiv" || knapp->menu() == nullptr) continue;
    QMenu* meny = knapp->menu();
    meny->popup(knapp->mapToGlobal(QPoint(0, knapp->height())));
    Vent(meny, 150);
    ut.Lagre(Bilde(&hoved, {meny}), "arkivmeny.png");
    meny->hide();
    Vent(&hoved, 50);
  }

  // 2. Rams from the internet: the question, then the download window, which
  // meets no server and says so.
  hoved.Bekreft = [&](const QString& tekst) {
    QMessageBox boks(QMessageBox::Question, "Hornstad", tekst, QMessageBox::Ok | QMessageBox::Cancel, &hoved);
    boks.setDefaultButton(QMessageBox::Ok);
    boks.show();
    Vent(&boks);
    ut.Lagre(Bilde(&boks), "import-sporsmal.png");
    boks.close();
    return true;
  };
  QElapsedTimer klokke;
  klokke.start();
  QTimer vakt;
  vakt.setInterval(50);
  QObject::connect(&vakt, &QTimer::timeout, [&] {
    if (!nedlast.isVisible()) return;
    if (nedlast.Status->text() != "Kunne ikke fullføre" && klokke.elapsed() < 30000) return;
    vakt.stop();
    QTimer::singleShot(300, [&] {
      ut.Lagre(Bilde(&nedlast), "import.png");
      nedlast.BtBryt->click();
    });
  });
  vakt.start();
  hoved.LeggInn->trigger();
  vakt.stop();
  Vent(&hoved, 100);

  TProdusent* reg = vinduer.okt.Register();
  if (reg == nullptr || reg->RecordCount() < 101) {
    std::fprintf(stderr, "Registeret ble ikke lest inn.\n");
    return 1;
  }
  const int32_t nummer = VelgVer(*reg);
  const QString navnedel = Navnedel(*reg, nummer);
  std::printf("Viser væren %d og navnesøket «%s».\n", nummer, qPrintable(navnedel));

  // 3. The lookup window with the ram.
  hoved.Kartotekoppslag->trigger();
  Vent(&ver);
  Skriv(ver, QString::number(nummer));
  Vent(&ver, 100);
  ut.Lagre(Bilde(&ver), "oppslag.png");

  // 4. Its pedigree in the print preview.
  TInnlesing* stamtre = ver.StammeClick();
  Vent(stamtre);
  // Taller, as a user would drag it, so that the whole tree shows at 100 %
  // (it ends about 800 pixels down the page).
  if (const int mangler = std::min(stamtre->Flate->height(), 800) - stamtre->RullB->viewport()->height(); mangler > 0) {
    stamtre->resize(stamtre->width(), std::min(stamtre->height() + mangler, 1000));
    QTest::qWait(150);
  }
  ut.Lagre(Bilde(stamtre), "stamtre.png");
  stamtre->close();
  QTest::qWait(50);

  // 6. Its sons in the table window: the count in the first column, then
  // sorted by the total index, highest first, with its average.
  TVindu* tabell = ver.AvkomClick();
  Vent(tabell);
  // Wider, as a user would drag it, so that every column shows.
  if (const int mangler = tabell->Grinn->Innholdsstorrelse().width() - tabell->Grinn->viewport()->width();
      mangler > 0) {
    tabell->resize(std::min(tabell->width() + mangler + 2, 1000), tabell->height());
    QTest::qWait(150);
  }
  Klikk(tabell->Grinn, 0, 1);
  tabell->Tellein->trigger();
  Klikk(tabell->Grinn, 4, 1);
  tabell->Minkende->click();
  tabell->SniKol->trigger();
  Klikk(tabell->Grinn, 4, 1);
  QTest::qWait(100);
  ut.Lagre(Bilde(tabell), "tabell.png");
  // The popup menu of the grid, over the window.
  tabell->Redmen->popup(tabell->Grinn->mapToGlobal(tabell->Grinn->Celleramme(5, 3).center()));
  Vent(tabell->Redmen, 150);
  ut.Lagre(Bilde(tabell, {tabell->Redmen}), "tabellmeny.png");
  tabell->Redmen->hide();
  tabell->close();
  QTest::qWait(50);

  // 3. A part of a name that several rams share: the candidate list.
  Skriv(ver, navnedel);
  Vent(ver.LiVer, 150);
  ut.Lagre(Bilde(&ver, {ver.LiVer}), "navnesok.png");
  ver.LiVer->hide();
  ver.hide();

  // 5. The catalogue: four western counties, two breeds, the progeny-tested
  // rams; the listing, then its framed pages.
  hoved.Katalog->trigger();
  Vent(&katalog);
  for (int fylke : {11, 12, 14, 15}) katalog.Fylker->item(fylke)->setCheckState(Qt::Checked);
  for (int i = 0; i < katalog.TaRase->count(); ++i) {
    const QString rase = katalog.TaRase->item(i)->text().trimmed();
    if (rase == "Dala" || rase == "Norsk kvit sau") katalog.TaRase->item(i)->setCheckState(Qt::Checked);
  }
  katalog.Fylker->scrollToItem(katalog.Fylker->item(16), QAbstractItemView::PositionAtBottom);
  katalog.vis->click();
  Vent(&katalog, 150);
  katalog.Linjer->verticalScrollBar()->setValue(0);
  katalog.Linjer->horizontalScrollBar()->setValue(0);
  QTest::qWait(50);
  ut.Lagre(Bilde(&katalog), "katalog.png");
  TPapVin* sider = katalog.RamvisClick();
  if (sider != nullptr) {
    Vent(sider);
    ut.Lagre(Bilde(sider), "katalogside.png");
    sider->Skrevet = true;
    sider->close();
  } else {
    std::fprintf(stderr, "Katalogen ga ingen sider (for få linjer).\n");
  }
  QTest::qWait(50);
  katalog.hide();

  // 7. Relationship and inbreeding: a list of ewes by rams of the register
  // (sons, the sire and the dam's sire of the ram shown, and others), the
  // list, the relationship window with a ewe picked, the mating plan.
  {
    const TVerPost vist = reg->FindByNumber(nummer);
    std::vector<int32_t> soenner;
    for (int32_t i = 0; i < reg->RecordCount() && soenner.size() < 2; ++i)
      if (const TVerPost p = reg->ReadAt(i); p.Farnr == nummer) soenner.push_back(p.Nummer);
    const int32_t andre[] = {reg->ReadAt(reg->RecordCount() / 3).Nummer, reg->ReadAt(reg->RecordCount() / 2).Nummer};
    std::vector<TSoye> soyer;
    int nr = 2301;
    const auto soye = [&](int32_t far, int32_t morfar, int32_t mormorfar = 0) {
      soyer.push_back({std::to_string(nr++), far, morfar, mormorfar});
    };
    for (int32_t s : soenner) soye(s, andre[0]);
    soye(vist.Farnr, andre[1]);
    soye(andre[0], vist.MorFar);
    soye(andre[1], vist.Farnr);
    soye(andre[1], andre[0], nummer);  // her dam's dam a daughter of the ram shown
    SkrivSoyer(SoyeFil(data), soyer);
    vinduer.soyer.Melding = hoved.Melding;
    vinduer.slektskap.Melding = hoved.Melding;

    hoved.Soyer->trigger();
    Vent(&vinduer.soyer);
    Klikk(vinduer.soyer.Liste, 0, 1);
    QTest::qWait(50);
    ut.Lagre(Bilde(&vinduer.soyer), "soyer.png");
    vinduer.soyer.close();

    hoved.Kartotekoppslag->trigger();
    Vent(&ver);
    Skriv(ver, QString::number(nummer));
    ver.Slektskap->click();
    TFormSlektskap& slekt = vinduer.slektskap;
    Vent(&slekt);
    slekt.Soye->setFocus();
    QTest::keyClick(slekt.Soye, Qt::Key_Down);
    QTest::qWait(100);
    ut.Lagre(Bilde(&slekt), "slektskap.png");
    slekt.close();
    ver.hide();

    QStringList kandidater{QString::number(nummer)};
    for (int32_t s : soenner) kandidater << QString::number(s);
    if (vist.Farnr > 0) kandidater << QString::number(vist.Farnr);
    kandidater << QString::number(andre[0]);
    hoved.KjorDialog = [&](QDialog& d) {
      auto& valg = dynamic_cast<TVelgVerer&>(d);
      d.show();
      valg.Egne->setChecked(true);
      valg.Numre->setText(kandidater.join(", "));
      Vent(&d, 100);
      ut.Lagre(Bilde(&d), "paringsplan-valg.png");
      d.accept();
      return d.result();
    };
    if (TVindu* plan = hoved.ParingsplanClick()) {
      Vent(plan);
      ut.Lagre(Bilde(plan), "paringsplan.png");
      plan->close();
    } else {
      std::fprintf(stderr, "Paringsplanen ble ikke vist.\n");
    }
    QTest::qWait(50);

    // The mating suggestion over the same rams, two of them with room for
    // two ewes each, and the row's menu of a ewe.
    hoved.KjorDialog = [&](QDialog& d) {
      auto& valg = dynamic_cast<TVelgParingsvalg&>(d);
      d.show();
      std::vector<int32_t> numre;
      for (const QString& k : kandidater) numre.push_back(k.toInt());
      valg.LeggTil(numre);
      for (int r = 0; r < valg.Verer->rowCount(); ++r) valg.Verer->item(r, 3)->setText(r < 2 ? "2" : "");
      Vent(&d, 100);
      ut.Lagre(Bilde(&d), "paringsforslag-valg.png");
      d.accept();
      return d.result();
    };
    if (TParingsforslagVindu* forslag = hoved.ParingsforslagClick()) {
      Vent(forslag->Vindu());
      ut.Lagre(Bilde(forslag->Vindu()), "paringsforslag.png");
      QTimer::singleShot(200, [&] {
        if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
          ut.Lagre(Bilde(m), "paringsforslag-meny.png");
          m->close();
        }
      });
      forslag->VisMeny(3);
      forslag->Vindu()->close();
    } else {
      std::fprintf(stderr, "Paringsforslaget ble ikke vist.\n");
    }
    QTest::qWait(50);
  }

  // 8. Lists, comparison, the change report and the statistics: the shown
  // ram put on a list from the lookup window, more rams on the lists, the
  // list window, a comparison, an import that changes rams on a list, and
  // the charts.
  {
    const std::string eksport = LesHeleFila(data / "Vedder2.Tex");
    const std::vector<TVerPost> gamle = KonverterEksport(eksport);
    hoved.KjorDialog = [&](QDialog& d) {
      auto& valg = dynamic_cast<TVelgListe&>(d);
      d.show();
      valg.Navn->setEditText("Mine værer");
      Vent(&d, 100);
      ut.Lagre(Bilde(&d), "legg-i-liste.png");
      d.accept();
      return d.result();
    };
    hoved.Kartotekoppslag->trigger();
    Vent(&ver);
    Skriv(ver, QString::number(nummer));
    ver.LeggIListeKnapp->click();
    ver.hide();
    EndreLister(data, [&](TLister& l) {
      std::vector<int32_t> mine{gamle[10].Nummer, gamle[20].Nummer, gamle[40].Nummer, gamle[60].Nummer};
      l.LeggTil(Utf8TilCp1252("Mine værer"), mine);
      std::vector<int32_t> reserve{gamle[80].Nummer, gamle[90].Nummer, gamle[100].Nummer};
      l.LeggTil("Reserve", reserve);
      return true;
    });

    for (QToolButton* knapp : hoved.findChildren<QToolButton*>()) {
      if (knapp->text() != "Utlistinger" || knapp->menu() == nullptr) continue;
      QMenu* meny = knapp->menu();
      meny->popup(knapp->mapToGlobal(QPoint(0, knapp->height())));
      Vent(meny, 150);
      ut.Lagre(Bilde(&hoved, {meny}), "utlistingermeny.png");
      meny->hide();
      Vent(&hoved, 50);
    }

    TFormLister& lister = vinduer.lister;
    lister.Melding = hoved.Melding;
    hoved.Lister->trigger();
    Vent(&lister);
    for (int i : {0, 1, 2}) lister.Verer->item(i)->setSelected(true);
    QTest::qWait(50);
    ut.Lagre(Bilde(&lister), "lister.png");
    const TSammenligningsvinduer sml = lister.SammenlignClick();
    if (sml.tabell && sml.diagram) {
      Vent(sml.tabell);
      ut.Lagre(Bilde(sml.tabell), "sammenligning.png");
      Vent(sml.diagram);
      ut.Lagre(Bilde(sml.diagram), "sammenligning-diagram.png");
      sml.tabell->close();
      sml.diagram->close();
    } else {
      std::fprintf(stderr, "Sammenligningen ble ikke vist.\n");
    }
    lister.close();

    // The same export with ram 10's O-indeks (column 28) raised by 6 and ram 20 gone.
    SkrivTrygt(data / "Nye.Tex", EndretEksport(eksport, 10, 6, 20));
    hoved.LesInnFil(data / "Nye.Tex");
    Vent(&hoved, 100);
    ut.Lagre(Bilde(&hoved), "endringer-varsel.png");
    if (TVindu* t = hoved.EndringerClick()) {
      Vent(t);
      ut.Lagre(Bilde(t), "endringer.png");
      t->close();
    }

    TFormStatistikk& stat = vinduer.statistikk;
    hoved.Statistikk->trigger();
    Vent(&stat);
    const char* navn[] = {"statistikk-snitt.png", "statistikk-antall.png", "statistikk-fordeling.png"};
    for (int fane = 0; fane < 3; ++fane) {
      stat.Faner->setCurrentIndex(fane);
      Vent(&stat, 100);
      ut.Lagre(Bilde(&stat), navn[fane]);
    }
    stat.close();
    QTest::qWait(50);
  }

  hoved.close();
  QTest::qWait(50);
  std::printf("%d bilder i %s\n", ut.antall, qPrintable(ut.mappe));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Hornstad");
  LastNorskeQtTekster();
  QApplication::setQuitOnLastWindowClosed(false);
  if (argc != 2) {
    std::fprintf(stderr,
                 "Bruk: hornstad-skjermbilder MAPPE\n"
                 "Lager skjermbildene til brukerveiledningen som PNG-filer i MAPPE.\n");
    return 2;
  }
  TBildemappe ut{QString::fromLocal8Bit(argv[1])};
  if (!QDir().mkpath(ut.mappe)) {
    std::fprintf(stderr, "Kunne ikke lage mappa %s.\n", argv[1]);
    return 1;
  }
  try {
    return Kjor(ut);
  } catch (const IoFeil& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
