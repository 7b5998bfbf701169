#include "tformkatalog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "tekst.h"
#include "trase.h"

namespace {

const char* const SkalMedNavn[31] = {
    "Navn",         "Rase",          "IndeksDato",     "OKM",           "DelIndekser",     "Oppdretter",
    "Fylke",        "Kropp",         "Bein",           "Ullkvalitet",   "Ullmengde",       "Burd",
    "Spener",       "Ant Hv",        "Ant slakt",      "Ant døtre",     "Mor Nr",          "Farnummer",
    "FarNavn",      "FarOKM",        "FarDelIndekser", "FarFarnummer",  "FarFarNavn",      "FarFarOKM",
    "FarFarDelIndekser", "MorFarnummer", "MorFarNavn", "MorFarOKM",     "MorFarDelIndekser", "Ringnummer",
    "Ullanalyse"};

// The own list's file, named without a folder: it lies in the working directory.
const char* const EgenListe = "EgenVerer.Txt";

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

bool NoeMerket(const QListWidget* l) {
  for (int i = 0; i < l->count(); ++i)
    if (Merket(l, i)) return true;
  return false;
}

}  // namespace

TFormKatalog::TFormKatalog(QWidget* parent) : QMainWindow(parent, Qt::Window) {
  setWindowTitle("Værkatalog");
  const auto k = DecodeDate(IDag());
  DetteAar = k ? k->aar : 2026;

  auto* midt = new QWidget(this);
  auto* overskrift = new QLabel("Velg fylke(r)         Velg rase(r)      Fra år    Til år", midt);
  QFont fet = overskrift->font();
  fet.setBold(true);
  fet.setPointSize(10);
  overskrift->setFont(fet);

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

  Linjer = new QPlainTextEdit(midt);
  Linjer->setReadOnly(true);
  Linjer->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Liberation Mono");
  mono.setPointSize(10);
  Linjer->setFont(mono);

  auto* aar = new QGridLayout;
  aar->addWidget(Fra, 0, 0);
  aar->addWidget(til, 0, 1);
  aar->addWidget(Antall, 1, 0);
  aar->addWidget(antallTekst, 1, 1);
  auto* kryss = new QVBoxLayout;
  kryss->addLayout(aar);
  for (QCheckBox* c : {Semin, UtgSem, Gkar, Nykar, Avkomgr, Ugul}) kryss->addWidget(c);
  kryss->addStretch();
  auto* lister = new QHBoxLayout;
  lister->addWidget(Fylker, 3);
  lister->addWidget(TaRase, 3);
  lister->addLayout(kryss, 2);
  auto* knapper = new QHBoxLayout;
  for (QPushButton* b : {vis, VisTab, EgDef, BdefInst, Lagre, Skriv, Ramvis, Lukk}) {
    b->setAutoDefault(false);
    knapper->addWidget(b);
  }
  auto* lag = new QVBoxLayout(midt);
  lag->addWidget(overskrift);
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

  // The table-field panel.
  PanelValg = new QWidget(this, Qt::Tool);
  PanelValg->setWindowTitle("Tabellfelter");
  ChSkalMed = Sjekkliste(PanelValg);
  for (const char* n : SkalMedNavn) LeggTil(ChSkalMed, QString::fromUtf8(n));
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

  Skriv->setEnabled(false);
  Lagre->setEnabled(false);
  Ramvis->setEnabled(false);
  vis->setEnabled(false);
  VisTab->setEnabled(false);

  // Setting a criterion from code runs its handler as a click does, so the
  // handlers below follow each other as a chain.
  connect(Fylker, &QListWidget::itemChanged, this, [this] { FylkerClick(Fylker); });
  connect(TaRase, &QListWidget::itemChanged, this, [this] { FylkerClick(TaRase); });
  connect(Nykar, &QCheckBox::toggled, this, [this] { FylkerClick(Nykar); });
  connect(Fra, &QSpinBox::valueChanged, this, &TFormKatalog::FraChange);
  connect(til, &QSpinBox::valueChanged, this, &TFormKatalog::tilChange);
  connect(Antall, &QSpinBox::valueChanged, this, &TFormKatalog::AntallClick);
  connect(Semin, &QCheckBox::toggled, this, &TFormKatalog::SeminClick);
  connect(UtgSem, &QCheckBox::toggled, this, &TFormKatalog::SeminClick);
  connect(Gkar, &QCheckBox::toggled, this, &TFormKatalog::GkarClick);
  connect(Avkomgr, &QCheckBox::toggled, this, &TFormKatalog::AvkomgrClick);
  connect(EgDef, &QPushButton::clicked, this, &TFormKatalog::EgDefClick);
  connect(BeLukk, &QPushButton::clicked, this, &TFormKatalog::BeLukkClick);
  connect(MeVeLi, &QPlainTextEdit::textChanged, this, &TFormKatalog::MeVeLiChange);
  connect(BdefInst, &QPushButton::clicked, this, &TFormKatalog::BdefInstClick);
  connect(BinstOK, &QPushButton::clicked, this, &TFormKatalog::BinstOKClick);
  connect(BinstAngre, &QPushButton::clicked, this, &TFormKatalog::BinstAngreClick);
  connect(Lukk, &QPushButton::clicked, this, &TFormKatalog::LukkClick);
  FraChange();
  tilChange();
  resize(760, 560);
}

int TFormKatalog::LinjeAntall() const { return Linjer->toPlainText().isEmpty() ? 0 : Linjer->blockCount(); }

void TFormKatalog::Knapper() {
  const bool art = UtgSem->isChecked() || Semin->isChecked() || Nykar->isChecked() || Gkar->isChecked() ||
                   Avkomgr->isChecked();
  const bool klar = art && NoeMerket(Fylker) && NoeMerket(TaRase);
  vis->setEnabled(klar);
  VisTab->setEnabled(klar);
  Ramvis->setEnabled(LinjeAntall() > 3);
}

void TFormKatalog::FylkerClick(QObject* sender) {
  if (sender == Nykar && Nykar->isChecked()) {
    // This year's own judged rams: both years this year, any index.
    til->setValue(DetteAar);
    Fra->setValue(DetteAar);
    Antall->setValue(0);
  }
  Knapper();
}

void TFormKatalog::FraChange() { til->setMinimum(Fra->value()); }

void TFormKatalog::tilChange() { Fra->setMaximum(til->value()); }

void TFormKatalog::AntallClick() {
  const int v = Antall->value();
  if (v > 0) Gkar->setChecked(false);
  if (v >= 70 && !Semin->isChecked()) Avkomgr->setChecked(true);
  if (v < 70) Avkomgr->setChecked(false);
  if (v == 0 && !Semin->isChecked()) {
    Gkar->setChecked(true);
    Avkomgr->setChecked(false);
  }
  FylkerClick(Antall);
}

void TFormKatalog::SeminClick() {
  if (Semin->isChecked()) Antall->setValue(70);
  FylkerClick(Semin);
}

void TFormKatalog::GkarClick() {
  if (Gkar->isChecked()) Antall->setValue(0);
  FylkerClick(Gkar);
}

void TFormKatalog::AvkomgrClick() {
  if (Avkomgr->isChecked()) Antall->setValue(80);
  FylkerClick(Avkomgr);
}

bool TFormKatalog::FylkeOgRaseValgt(int fylke, int rase) const {
  if (fylke < 0 || fylke >= Fylker->count() || rase >= TaRase->count()) return false;
  // A negative breed code has no entry of its own: only "Alle raser" takes it.
  const bool raseOk = Merket(TaRase, 0) || (rase >= 0 && Merket(TaRase, rase));
  return (Merket(Fylker, 0) || Merket(Fylker, fylke)) && raseOk;
}

void TFormKatalog::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  vis->setEnabled(false);
  VisTab->setEnabled(false);
  Linjer->clear();
  Ramvis->setEnabled(false);
  Lagre->setEnabled(false);
  til->setMaximum(DetteAar);
  til->setValue(DetteAar - 1);
  if (TaRase->count() == 0) {
    static const Trase innebygd;
    const Trase* raser = Raser ? Raser() : nullptr;
    for (int kode = 0; kode <= 26; ++kode)
      LeggTil(TaRase, TilQString((raser ? *raser : innebygd).BreedName(kode)));
  }
  TaRase->item(0)->setText("Alle raser");
  LesSkalMed();
}

void TFormKatalog::closeEvent(QCloseEvent* e) {
  Linjer->clear();
  Ramvis->setEnabled(false);
  e->accept();
}

void TFormKatalog::LukkClick() { close(); }

void TFormKatalog::EgDefClick() {
  const QPoint hjorne = frameGeometry().topLeft();
  PanEgFlyt->setGeometry(QRect(hjorne + QPoint(10, 30), QSize(154, 150)));
  const std::filesystem::path fil = FinnFil(std::filesystem::path(), EgenListe);
  std::error_code ec;
  if (std::filesystem::exists(fil, ec)) {
    try {
      MeVeLi->setPlainText(TilQString(LesHeleFila(fil)).replace("\r\n", "\n"));
    } catch (const IoFeil&) {
      MeVeLi->clear();
    }
  } else {
    MeVeLi->clear();
  }
  PanEgFlyt->show();
  PanEgFlyt->raise();
}

void TFormKatalog::BeLukkClick() {
  const QString tekst = MeVeLi->toPlainText();
  if (!tekst.isEmpty()) {
    std::string innhold;
    for (const QString& l : tekst.split('\n')) innhold += FraQString(l) + "\r\n";
    try {
      SkrivTrygt(FinnFil(std::filesystem::path(), EgenListe), innhold);
    } catch (const IoFeil&) {
      // The list is only a convenience: losing it is no reason to stop.
    }
  }
  MeVeLi->clear();
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
  QSettings* ini = Innstillinger ? Innstillinger() : nullptr;
  for (int i = 0; i < ChSkalMed->count(); ++i) {
    const bool med = ini && ini->value(QString("Katalog/SkalMed%1").arg(i), false).toBool();
    ChSkalMed->item(i)->setCheckState(med ? Qt::Checked : Qt::Unchecked);
  }
}

void TFormKatalog::BinstOKClick() {
  if (QSettings* ini = Innstillinger ? Innstillinger() : nullptr) {
    for (int i = 0; i < ChSkalMed->count(); ++i)
      ini->setValue(QString("Katalog/SkalMed%1").arg(i), Merket(ChSkalMed, i) ? "1" : "0");
    ini->sync();
  }
  PanelValg->hide();
}

void TFormKatalog::BinstAngreClick() {
  LesSkalMed();
  PanelValg->hide();
}
