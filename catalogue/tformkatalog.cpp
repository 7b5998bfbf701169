#include "tformkatalog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "listing.h"
#include "melding.h"
#include "okt.h"
#include "register.h"
#include "sider.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "tekst.h"
#include "timeglass.h"
#include "tpapvin.h"
#include "trase.h"
#include "tvindu.h"

namespace {

QListWidget* Sjekkliste(QWidget* forelder) {
  auto* l = new QListWidget(forelder);
  l->setSelectionMode(QAbstractItemView::SingleSelection);
  return l;
}

void LeggTil(QListWidget* l, const QString& tekst) {
  auto* item = new QListWidgetItem(tekst, l);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Unchecked);
}

bool Merket(const QListWidget* l, int i) {
  const QListWidgetItem* item = l->item(i);
  return item && item->checkState() == Qt::Checked;
}

}  // namespace

TFormKatalog::TFormKatalog(TOkt& okt, QWidget* parent) : QMainWindow(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Værkatalog");
  const auto k = DecodeDate(IDag());
  DetteAar = k ? k->aar : 2026;

  auto* midt = new QWidget(this);
  // The heading's words, each over the list or field it names.
  QLabel* overskrift[4];
  const char* const overskrifter[4] = {"Velg fylke(r)", "Velg rase(r)", "Fra år", "Til år"};
  for (int i = 0; i < 4; ++i) {
    overskrift[i] = new QLabel(QString::fromUtf8(overskrifter[i]), midt);
    QFont fet = overskrift[i]->font();
    fet.setBold(true);
    fet.setPointSize(10);
    overskrift[i]->setFont(fet);
  }

  Fylker = Sjekkliste(midt);
  for (const std::string& item : FylkeListe()) {
    // What follows a tab in an item is not shown.
    const std::string vist = item.substr(0, item.find('\t'));
    LeggTil(Fylker, TilQString(vist));
  }
  TaRase = Sjekkliste(midt);
  QFont liten("Liberation Sans");
  liten.setPointSize(8);
  TaRase->setFont(liten);

  Fra = new QSpinBox(midt);
  Fra->setRange(1900, DetteAar);
  Fra->setValue(1979);
  til = new QSpinBox(midt);
  til->setRange(1979, DetteAar);
  til->setValue(DetteAar - 1);
  Antall = new QSpinBox(midt);
  Antall->setRange(0, 240);
  Antall->setValue(70);
  auto* antallTekst = new QLabel("Minste indeks", midt);
  Semin = new QCheckBox("Ta med seminværer", midt);
  UtgSem = new QCheckBox("Utgått semin", midt);
  Gkar = new QCheckBox("Alle kårede ", midt);
  Nykar = new QCheckBox("Årets egne kårede", midt);
  Avkomgr = new QCheckBox("Avkomsgranska", midt);
  Avkomgr->setChecked(true);
  Ugul = new QCheckBox("Unngå gule værer", midt);

  vis = new QPushButton("Vis katalog", midt);
  VisTab = new QPushButton("Vis i tabell", midt);
  EgDef = new QPushButton("Egendefinert", midt);
  BdefInst = new QPushButton("Tabellfelter", midt);
  Lagre = new QPushButton("Lagre", midt);
  Skriv = new QPushButton("Skriv ut", midt);
  Ramvis = new QPushButton("Vis med rammer", midt);
  Lukk = new QPushButton("Lukk", midt);

  // The listing can be edited: saving, printing and the framed pages take
  // its lines as they stand.
  Linjer = new QPlainTextEdit(midt);
  Linjer->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Liberation Mono");
  mono.setPointSize(10);
  Linjer->setFont(mono);

  auto* kryss = new QVBoxLayout;
  for (QCheckBox* c : {Semin, UtgSem, Gkar, Nykar, Avkomgr, Ugul}) kryss->addWidget(c);
  kryss->addStretch();
  auto* lister = new QGridLayout;
  for (int i = 0; i < 4; ++i) lister->addWidget(overskrift[i], 0, i);
  lister->addWidget(Fylker, 1, 0, 3, 1);
  lister->addWidget(TaRase, 1, 1, 3, 1);
  lister->addWidget(Fra, 1, 2);
  lister->addWidget(til, 1, 3);
  lister->addWidget(Antall, 2, 2);
  lister->addWidget(antallTekst, 2, 3);
  lister->addLayout(kryss, 3, 2, 1, 2);
  lister->setColumnStretch(0, 3);
  lister->setColumnStretch(1, 3);
  lister->setColumnStretch(2, 1);
  lister->setColumnStretch(3, 1);
  lister->setRowStretch(3, 1);
  auto* knapper = new QHBoxLayout;
  for (QPushButton* b : {vis, VisTab, EgDef, BdefInst, Lagre, Skriv, Ramvis, Lukk}) {
    b->setAutoDefault(false);
    knapper->addWidget(b);
  }
  auto* lag = new QVBoxLayout(midt);
  lag->addLayout(lister, 2);
  lag->addLayout(knapper);
  lag->addWidget(Linjer, 3);
  setCentralWidget(midt);

  Progr = new QProgressBar(this);
  Progr->setRange(0, 100);
  Progr->setValue(0);
  Progr->setFormat("%p %");
  Progr->setMaximumWidth(160);
  statusBar()->addWidget(Progr);
  for (QLabel*& p : Panel) {
    p = new QLabel(this);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setMinimumWidth(90);
    statusBar()->addWidget(p);
  }

  // The own-list panel.
  PanEgFlyt = new QWidget(this, Qt::Tool);
  PanEgFlyt->setWindowTitle("Egendefinert");
  MeVeLi = new QPlainTextEdit(PanEgFlyt);
  BeVis = new QPushButton("Vis", PanEgFlyt);
  Btabb = new QPushButton("Tabell", PanEgFlyt);
  BeLukk = new QPushButton("Lukk", PanEgFlyt);
  auto* egKnapper = new QHBoxLayout;
  for (QPushButton* b : {BeVis, Btabb, BeLukk}) egKnapper->addWidget(b);
  auto* egLag = new QVBoxLayout(PanEgFlyt);
  egLag->setContentsMargins(4, 4, 4, 4);
  egLag->addWidget(MeVeLi);
  egLag->addLayout(egKnapper);
  BeVis->setEnabled(false);
  PanEgFlyt->installEventFilter(this);

  // The table-field panel.
  PanelValg = new QWidget(this, Qt::Tool);
  PanelValg->setWindowTitle("Tabellfelter");
  ChSkalMed = Sjekkliste(PanelValg);
  for (const std::string& n : TabellfeltNavn()) LeggTil(ChSkalMed, TilQString(n));
  BinstOK = new QPushButton("OK", PanelValg);
  BinstAngre = new QPushButton("Annuler", PanelValg);
  auto* valgKnapper = new QHBoxLayout;
  valgKnapper->addWidget(BinstOK);
  valgKnapper->addWidget(BinstAngre);
  auto* valgLag = new QVBoxLayout(PanelValg);
  valgLag->setContentsMargins(4, 4, 4, 4);
  valgLag->addWidget(new QLabel("Merk felter som skal med", PanelValg));
  valgLag->addWidget(ChSkalMed);
  valgLag->addLayout(valgKnapper);
  PanelValg->installEventFilter(this);

  Skriv->setEnabled(false);
  Lagre->setEnabled(false);
  Ramvis->setEnabled(false);
  vis->setEnabled(false);
  VisTab->setEnabled(false);

  // A change of one criterion runs its handler on the criteria, which may
  // change others; the controls then show the result.
  Utvalg = StartUtvalg(DetteAar);
  const auto liste = [this](QListWidget* l, std::vector<bool>& merker) {
    connect(l, &QListWidget::itemChanged, this, [this, l, &merker](QListWidgetItem* item) {
      const auto i = static_cast<std::size_t>(l->row(item));
      if (merker.size() <= i) merker.resize(i + 1, false);
      merker[i] = item->checkState() == Qt::Checked;
      FylkerClick(l);
    });
  };
  liste(Fylker, Utvalg.fylker);
  liste(TaRase, Utvalg.raser);
  connect(Nykar, &QCheckBox::toggled, this, [this](bool paa) {
    Utvalg.nykar = paa;
    FylkerClick(Nykar);
  });
  connect(Fra, &QSpinBox::valueChanged, this, [this](int v) {
    Utvalg.fra = v;
    FraChange();
  });
  connect(til, &QSpinBox::valueChanged, this, [this](int v) {
    Utvalg.til = v;
    tilChange();
  });
  connect(Antall, &QSpinBox::valueChanged, this, [this](int v) {
    Utvalg.antall = v;
    AntallClick();
  });
  connect(Semin, &QCheckBox::toggled, this, [this](bool paa) {
    Utvalg.semin = paa;
    SeminClick();
  });
  connect(UtgSem, &QCheckBox::toggled, this, [this](bool paa) {
    Utvalg.utgSem = paa;
    SeminClick();
  });
  connect(Gkar, &QCheckBox::toggled, this, [this](bool paa) {
    Utvalg.gkar = paa;
    GkarClick();
  });
  connect(Avkomgr, &QCheckBox::toggled, this, [this](bool paa) {
    Utvalg.avkomgr = paa;
    AvkomgrClick();
  });
  // No other criterion depends on "Unngå gule værer".
  connect(Ugul, &QCheckBox::toggled, this, [this](bool paa) { Utvalg.ugul = paa; });
  connect(vis, &QPushButton::clicked, this, [this] { visClick(false, false); });
  connect(VisTab, &QPushButton::clicked, this, &TFormKatalog::VisTabClick);
  connect(BeVis, &QPushButton::clicked, this, [this] {
    visClick(true, false);
    BeLukkClick();
  });
  connect(Btabb, &QPushButton::clicked, this, [this] {
    visClick(true, true);
    BeLukkClick();
  });
  connect(Lagre, &QPushButton::clicked, this, &TFormKatalog::LagreClick);
  connect(Skriv, &QPushButton::clicked, this, &TFormKatalog::SkrivClick);
  connect(Ramvis, &QPushButton::clicked, this, [this] { RamvisClick(); });
  connect(EgDef, &QPushButton::clicked, this, &TFormKatalog::EgDefClick);
  connect(BeLukk, &QPushButton::clicked, this, &TFormKatalog::BeLukkClick);
  connect(MeVeLi, &QPlainTextEdit::textChanged, this, &TFormKatalog::MeVeLiChange);
  connect(&okt_, &TOkt::egenlisteEndret, this, &TFormKatalog::EgenListeEndret);
  connect(BdefInst, &QPushButton::clicked, this, &TFormKatalog::BdefInstClick);
  connect(BinstOK, &QPushButton::clicked, this, &TFormKatalog::BinstOKClick);
  connect(BinstAngre, &QPushButton::clicked, this, &TFormKatalog::BinstAngreClick);
  connect(Lukk, &QPushButton::clicked, this, &TFormKatalog::LukkClick);
  VisUtvalg();
  resize(760, 560);
}

int TFormKatalog::LinjeAntall() const { return Linjer->toPlainText().isEmpty() ? 0 : Linjer->blockCount(); }

void TFormKatalog::VisUtvalg() {
  const auto sett = [](QListWidget* l, const std::vector<bool>& merker) {
    const QSignalBlocker b(l);
    for (int i = 0; i < l->count(); ++i) {
      const bool paa = static_cast<std::size_t>(i) < merker.size() && merker[static_cast<std::size_t>(i)];
      l->item(i)->setCheckState(paa ? Qt::Checked : Qt::Unchecked);
    }
  };
  sett(Fylker, Utvalg.fylker);
  sett(TaRase, Utvalg.raser);
  {
    const QSignalBlocker b1(Fra), b2(til), b3(Antall);
    Fra->setMaximum(Utvalg.fraMaks);
    til->setRange(Utvalg.tilMin, Utvalg.tilMaks);
    Fra->setValue(Utvalg.fra);
    til->setValue(Utvalg.til);
    Antall->setValue(Utvalg.antall);
  }
  const std::pair<QCheckBox*, bool> kryss[] = {{Semin, Utvalg.semin}, {UtgSem, Utvalg.utgSem},   {Gkar, Utvalg.gkar},
                                               {Nykar, Utvalg.nykar}, {Avkomgr, Utvalg.avkomgr}, {Ugul, Utvalg.ugul}};
  for (const auto& [c, paa] : kryss) {
    const QSignalBlocker b(c);
    c->setChecked(paa);
  }
  Knapper();
}

void TFormKatalog::Knapper() {
  vis->setEnabled(KanVise(Utvalg));
  VisTab->setEnabled(KanVise(Utvalg));
  Ramvis->setEnabled(LinjeAntall() > 3);
}

void TFormKatalog::FylkerClick(QObject* sender) {
  ::FylkerClick(Utvalg, sender == Nykar, DetteAar);
  VisUtvalg();
}

void TFormKatalog::FraChange() {
  ::FraChange(Utvalg);
  VisUtvalg();
}

void TFormKatalog::tilChange() {
  ::tilChange(Utvalg);
  VisUtvalg();
}

void TFormKatalog::AntallClick() {
  ::AntallClick(Utvalg, DetteAar);
  VisUtvalg();
}

void TFormKatalog::SeminClick() {
  ::SeminClick(Utvalg, DetteAar);
  VisUtvalg();
}

void TFormKatalog::GkarClick() {
  ::GkarClick(Utvalg, DetteAar);
  VisUtvalg();
}

void TFormKatalog::AvkomgrClick() {
  ::AvkomgrClick(Utvalg, DetteAar);
  VisUtvalg();
}

bool TFormKatalog::FylkeOgRaseValgt(int fylke, int rase) const {
  // The breed marks have one entry per breed entry once the window is shown.
  return ::FylkeOgRaseValgt(Utvalg, fylke, rase);
}

void TFormKatalog::Vis() {
  const bool ny = !isVisible();
  if (ny) FormShow();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  if (ny) {
    if (egenGjenapnes_) PanEgFlyt->show();
    if (valgGjenapnes_) PanelValg->show();
    egenGjenapnes_ = valgGjenapnes_ = false;
  }
}

void TFormKatalog::FormShow() {
  vis->setEnabled(false);
  VisTab->setEnabled(false);
  Linjer->clear();
  Ramvis->setEnabled(false);
  Lagre->setEnabled(false);
  Utvalg.tilMaks = DetteAar;
  SettTil(Utvalg, DetteAar - 1);
  if (TaRase->count() == 0) {
    const Trase& raser = okt_.Raser();
    if (raser.BreedCount() > 0)
      for (int kode = 0; kode < raser.BreedCount(); ++kode) LeggTil(TaRase, TilQString(raser.BreedName(kode)));
    else
      for (int kode = 0; kode <= 26; ++kode) LeggTil(TaRase, TilQString(InnebygdRase(kode)));
  }
  TaRase->item(0)->setText("Alle raser");
  Utvalg.raser.resize(static_cast<std::size_t>(TaRase->count()), false);
  VisUtvalg();
  // Marks ticked on the panel and not yet confirmed stay while it is open.
  if (!valgGjenapnes_) LesSkalMed();
}

void TFormKatalog::closeEvent(QCloseEvent* e) {
  Linjer->clear();
  Ramvis->setEnabled(false);
  // The floating panels close with the window and come back with its next
  // showing as they were; the own list is saved as "Lukk" saves it.
  egenGjenapnes_ = PanEgFlyt->isVisible();
  if (egenGjenapnes_) {
    LagreEgenListe();
    PanEgFlyt->hide();
  }
  valgGjenapnes_ = PanelValg->isVisible();
  PanelValg->hide();
  tabellEtterValg_ = false;
  e->accept();
}

bool TFormKatalog::eventFilter(QObject* o, QEvent* e) {
  // A panel closed by its own title bar: the own list as "Lukk", the table
  // fields as "Annuler".
  if (e->type() == QEvent::Close) {
    if (o == PanEgFlyt && PanEgFlyt->isVisible())
      BeLukkClick();
    else if (o == PanelValg && PanelValg->isVisible())
      BinstAngreClick();
  }
  return QMainWindow::eventFilter(o, e);
}

void TFormKatalog::LukkClick() { close(); }

void TFormKatalog::EgDefClick() {
  // An open panel keeps what is typed on it.
  if (PanEgFlyt->isVisible()) {
    PanEgFlyt->raise();
    return;
  }
  const QPoint hjorne = frameGeometry().topLeft();
  PanEgFlyt->setGeometry(QRect(hjorne + QPoint(10, 30), QSize(154, 150)));
  const std::filesystem::path fil = FinnFil(std::filesystem::path(), EgenListeFilNavn);
  try {
    MeVeLi->setPlainText(TilQString(LesTekstfil(fil).tekst).replace("\r\n", "\n"));
  } catch (const IoFeil&) {
    MeVeLi->clear();
  }
  egenLastet_ = MeVeLi->toPlainText();
  PanEgFlyt->show();
  PanEgFlyt->raise();
}

namespace {

std::vector<std::string> Oppforinger(const QString& tekst) {
  std::vector<std::string> linjer;
  for (const QString& l : tekst.split('\n')) linjer.push_back(FraQString(l));
  if (!linjer.empty() && linjer.back().empty()) linjer.pop_back();
  return linjer;
}

}  // namespace

void TFormKatalog::LagreEgenListe() {
  // Unedited, the file is left byte for byte as it was.
  const QString tekst = MeVeLi->toPlainText();
  if (tekst == egenLastet_) return;
  try {
    const std::filesystem::path fil = FinnFil(std::filesystem::path(), EgenListeFilNavn);
    std::vector<std::string> linjer = MeVeLiLinjer();
    // Saved elsewhere since the panel read it: the entries added there stay.
    const QString naa = TilQString(LesTekstfil(fil).tekst).replace("\r\n", "\n");
    if (naa != egenLastet_) linjer = FlettEgenListe(Oppforinger(egenLastet_), linjer, Oppforinger(naa));
    SkrivEgenListe(linjer, fil);
    egenLastet_ = tekst;
  } catch (const IoFeil&) {
    // The list is only a convenience: losing it is no reason to stop.
  }
}

void TFormKatalog::EgenListeEndret() {
  if (!PanEgFlyt->isVisible() || MeVeLi->toPlainText() != egenLastet_) return;
  const std::filesystem::path fil = FinnFil(std::filesystem::path(), EgenListeFilNavn);
  try {
    const QString ny = TilQString(LesTekstfil(fil).tekst).replace("\r\n", "\n");
    if (ny == egenLastet_) return;
    MeVeLi->setPlainText(ny);
    egenLastet_ = ny;
  } catch (const IoFeil&) {
  }
}

void TFormKatalog::BeLukkClick() {
  LagreEgenListe();
  MeVeLi->clear();
  egenLastet_.clear();
  PanEgFlyt->hide();
}

void TFormKatalog::MeVeLiChange() { BeVis->setEnabled(MeVeLi->blockCount() > 1); }

void TFormKatalog::BdefInstClick() {
  const QPoint hjorne = frameGeometry().topLeft();
  PanelValg->setGeometry(QRect(hjorne + QPoint(10, 30), QSize(154, 150)).adjusted(0, 0, 60, 250));
  PanelValg->show();
  PanelValg->raise();
}

void TFormKatalog::LesSkalMed() {
  const QSettings& ini = okt_.Innstillinger();
  for (int i = 0; i < ChSkalMed->count(); ++i) {
    const bool med = ini.value(QString("Katalog/SkalMed%1").arg(i), false).toBool();
    ChSkalMed->item(i)->setCheckState(med ? Qt::Checked : Qt::Unchecked);
  }
}

void TFormKatalog::BinstOKClick() {
  {
    QSettings& ini = okt_.Innstillinger();
    for (int i = 0; i < ChSkalMed->count(); ++i)
      ini.setValue(QString("Katalog/SkalMed%1").arg(i), Merket(ChSkalMed, i) ? "1" : "0");
    ini.sync();
  }
  PanelValg->hide();
  if (tabellEtterValg_) {
    tabellEtterValg_ = false;
    visClick(false, true);
  }
}

void TFormKatalog::BinstAngreClick() {
  tabellEtterValg_ = false;
  LesSkalMed();
  PanelValg->hide();
}

bool TFormKatalog::SkalMedLagret() const {
  const QSettings& ini = okt_.Innstillinger();
  for (int i = 0; i < ChSkalMed->count(); ++i)
    if (ini.contains(QString("Katalog/SkalMed%1").arg(i))) return true;
  return false;
}

void TFormKatalog::VisTabClick() {
  // A table of judging numbers alone is seldom what is wanted: before the
  // fields were ever chosen, the choice comes first.
  if (!SkalMedLagret()) {
    tabellEtterValg_ = true;
    BdefInstClick();
    return;
  }
  visClick(false, true);
}

std::vector<std::string> TFormKatalog::MeVeLiLinjer() const { return Oppforinger(MeVeLi->toPlainText()); }

void TFormKatalog::visClick(bool egenListe, bool tabell) {
  TProdusent* reg = okt_.Register();
  if (reg == nullptr) return;
  const Trase& raser = okt_.Raser();
  TUtvalg u = Utvalg;
  u.egenListe = egenListe;
  const std::vector<std::string> liste = egenListe ? MeVeLiLinjer() : std::vector<std::string>();

  Linjer->setPlainText(TilQString(VenteLinje));
  Progr->setValue(0);
  const auto fremdrift = [this](int64_t lest, int64_t totalt) {
    const int prosent = Fremdriftsprosent(lest, totalt);
    if (prosent != Progr->value()) {
      Progr->setValue(prosent);
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
  };
  try {
    if (tabell) {
      TSkalMed skalMed{};
      for (int i = 0; i < AntallTabellfelt && i < ChSkalMed->count(); ++i)
        skalMed[static_cast<std::size_t>(i)] = ChSkalMed->item(i)->checkState() == Qt::Checked;
      std::vector<std::string> raseValg;
      for (int i = 0; i < TaRase->count(); ++i) raseValg.push_back(FraQString(TaRase->item(i)->text()));
      // "Innavl %": the mean over the ewes of Soyer.Txt, computed only when
      // the field is chosen and there are ewes; otherwise the cells are empty.
      TInnavlCelle innavl;
      if (skalMed[InnavlFelt]) {
        {
          const TTimeglass timeglass;
          innavl = okt_.InnavlCelle();
        }
        if (const std::string m = okt_.NySloyfeMelding(); !m.empty())
          Meldingsboks(this, QMessageBox::Information, windowTitle(), TilQString(m));
      }
      auto* vindu = new TVindu(parentWidget());
      TTabellKatalog ut(*reg, *vindu, skalMed, KatalogTittel(u, raseValg), innavl);
      std::vector<int32_t> utvalgt;
      UtplukkPoster(
          *reg, u, liste,
          [&](const TVerPost& v, int32_t indeks) {
            ut.Ta(v);
            if (indeks >= 0) utvalgt.push_back(indeks);
          },
          fremdrift);
      ut.Fullfor();
      okt_.SettKatalogutvalg(std::move(utvalgt));
      Linjer->appendPlainText("Ferdig lest");
      emit nyTabell(vindu);
      vindu->Vis();
    } else {
      TTekstKatalog ut(*reg, raser);
      std::vector<int32_t> utvalgt;
      UtplukkPoster(
          *reg, u, liste,
          [&](const TVerPost& v, int32_t indeks) {
            ut.Ta(v);
            if (indeks >= 0) utvalgt.push_back(indeks);
          },
          fremdrift);
      ut.Fullfor();
      okt_.SettKatalogutvalg(std::move(utvalgt));
      QStringList linjer;
      for (const std::string& l : TekstLinjer(LesHeleFila(ut.Fil()))) linjer << TilQString(l);
      Linjer->setPlainText(linjer.join('\n'));
      Panel[0]->setText(QString("%1 værer").arg(ut.Antall()));
      Panel[1]->setText(QString("%1 lin").arg(LinjeAntall()));
    }
  } catch (const IoFeil& e) {
    Meldingsboks(this, QMessageBox::Critical, windowTitle(), QString::fromUtf8(e.what()));
  }
  const TKnapper k = KnapperEtterPass(LinjeAntall());
  Skriv->setEnabled(k.skriv);
  Lagre->setEnabled(k.lagre);
  Ramvis->setEnabled(k.ramvis);
}

void TFormKatalog::LagreClick() {
  QString navn;
  if (VelgFil) {
    navn = VelgFil();
  } else {
    QFileDialog d(this, "Lagre katalogen");
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setNameFilters({"Vanlig tekst (*.Txt)", "Riktekst (*.Rtf)", "Alle filer (*)"});
    d.setDefaultSuffix("Txt");
    d.selectFile("KatalogVerer.txt");
    if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()) navn = d.selectedFiles().first();
  }
  if (navn.isEmpty()) return;
  std::string innhold;
  for (const QString& l : Linjer->toPlainText().split('\n')) innhold += FraQString(l) + "\r\n";
  try {
    SkrivTrygt(navn.toStdString(), innhold);
  } catch (const IoFeil& e) {
    Meldingsboks(this, QMessageBox::Critical, windowTitle(), QString::fromUtf8(e.what()));
  }
}

std::vector<std::string> TFormKatalog::ListeLinjer() const {
  std::vector<std::string> linjer;
  for (const QString& l : Linjer->toPlainText().split('\n')) linjer.push_back(FraQString(l));
  return linjer;
}

void TFormKatalog::SkrivClick() {
  if (SkriverOpptatt()) {
    if (Melding)
      Melding(QString::fromUtf8(SkriverOpptattTekst));
    else
      Meldingsboks(this, QMessageBox::Information, windowTitle(), QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  const std::vector<std::string> linjer = ListeLinjer();
  QPrinter skriver(QPrinter::HighResolution);
  if (VelgSkriver) {
    if (!VelgSkriver(skriver)) return;
  } else {
    QPrintDialog d(&skriver, this);
    d.setMinMax(1, std::max(ListeSider(static_cast<int>(linjer.size())), 1));
    if (d.exec() != QDialog::Accepted) return;
  }
  TListevalg valg;
  valg.sidevalg = skriver.printRange() == QPrinter::PageRange;
  valg.fra = skriver.fromPage();
  valg.til = skriver.toPage();
  valg.idag = IDag();
  try {
    const TSkriverjobb jobb;
    SkrivPaaSkriver(skriver, [&](QPagedPaintDevice& enhet) { SkrivListe(enhet, linjer, valg); });
  } catch (const IoFeil& e) {
    Meldingsboks(this, QMessageBox::Critical, windowTitle(), QString::fromUtf8(e.what()));
  }
}

TPapVin* TFormKatalog::RamvisClick() {
  const TTimeglass timeglass;  // until the window is shown
  auto dokument = std::make_unique<TRammedokument>(LagSider(ListeLinjer()));
  auto* vindu = new TPapVin(parentWidget());
  vindu->SettDokument(std::move(dokument));
  vindu->Vis();
  // The catalogue's pages close without asking whether they were printed.
  vindu->Skrevet = true;
  return vindu;
}
