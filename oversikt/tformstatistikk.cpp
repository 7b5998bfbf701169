#include "tformstatistikk.h"

#include <QChart>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "cp1252.h"
#include "diagram.h"
#include "okt.h"
#include "register.h"
#include "tafrem.h"
#include "tdiagramflate.h"
#include "timeglass.h"
#include "trase.h"
#include "tvindu.h"

namespace {

// The breeds ticked at the first showing.
constexpr std::size_t ForsteRaser = 5;

// A choice that holds no breed: an empty TRasevalg would be every breed.
const TRasevalg IngenRase{std::numeric_limits<int>::min()};

}  // namespace

TFormStatistikk::TFormStatistikk(TOkt& okt, QWidget* parent) : QWidget(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Statistikk");
  setObjectName("FormStatistikk");

  auto* raseTekst = new QLabel("Raser i diagrammene\nover snitt og antall:", this);
  RaseListe = new QListWidget(this);
  RaseListe->setMinimumWidth(170);
  Alle = new QPushButton("&Alle", this);
  Ingen = new QPushButton("&Ingen", this);
  Lukk = new QPushButton("Lukk", this);
  for (QPushButton* b : {Alle, Ingen, Lukk}) b->setAutoDefault(false);

  Snitt = new TDiagramflate(this);
  Antall = new TDiagramflate(this);
  Fordeling = new TDiagramflate(this);
  Faner = new QTabWidget(this);
  Faner->addTab(Snitt, "Snitt O-indeks per år");
  Faner->addTab(Antall, "Værer per år");
  Faner->addTab(Fordeling, "Fordeling i katalogen");

  Snitt->Lag = [this] { return LagSnittDiagram(statistikk_, Valgte(), okt_.Raser()); };
  Snitt->ListTall = [this](TVindu& v) { ListStatistikk(statistikk_, Valgte(), okt_.Raser(), v); };
  Antall->Lag = [this] { return LagAntallDiagram(statistikk_, Valgte(), okt_.Raser()); };
  Antall->ListTall = [this](TVindu& v) { ListAntallPerAar(statistikk_, Valgte(), v); };
  Fordeling->Lag = [this] {
    return LagHistogramDiagram(histogram_, "i katalogens utvalg",
                               harUtvalg_ ? QString("Ingen av værene i katalogens utvalg er i registeret.")
                                          : QString("Katalogen har ikke gjort noe utvalg ennå: velg værer i "
                                                    "katalogen (Vis eller Vis i tabell) først."));
  };
  Fordeling->ListTall = [this](TVindu& v) { ListHistogram(histogram_, v); };

  auto* venstre = new QVBoxLayout;
  venstre->addWidget(raseTekst);
  venstre->addWidget(RaseListe, 1);
  auto* raseKnapper = new QHBoxLayout;
  raseKnapper->addWidget(Alle);
  raseKnapper->addWidget(Ingen);
  venstre->addLayout(raseKnapper);
  venstre->addWidget(Lukk);
  auto* lag = new QHBoxLayout(this);
  lag->addLayout(venstre);
  lag->addWidget(Faner, 1);
  resize(1000, 640);

  connect(RaseListe, &QListWidget::itemChanged, this, [this] { RaserEndret(); });
  connect(Alle, &QPushButton::clicked, this, [this] {
    const QSignalBlocker b(RaseListe);
    for (int i = 0; i < RaseListe->count(); ++i) RaseListe->item(i)->setCheckState(Qt::Checked);
    RaserEndret();
  });
  connect(Ingen, &QPushButton::clicked, this, [this] {
    const QSignalBlocker b(RaseListe);
    for (int i = 0; i < RaseListe->count(); ++i) RaseListe->item(i)->setCheckState(Qt::Unchecked);
    RaserEndret();
  });
  connect(Lukk, &QPushButton::clicked, this, &QWidget::close);
  // An open window follows a new register and the catalogue's new selection.
  connect(&okt_, &TOkt::registerLastet, this, [this] {
    if (isVisible()) LesRegister();
  });
  connect(&okt_, &TOkt::katalogutvalgEndret, this, [this] {
    if (isVisible()) NyttKatalogutvalg();
  });
}

TRasevalg TFormStatistikk::Valgte() const {
  TRasevalg valgte;
  for (int i = 0; i < RaseListe->count(); ++i)
    if (RaseListe->item(i)->checkState() == Qt::Checked)
      valgte.push_back(RaseListe->item(i)->data(Qt::UserRole).toInt());
  return valgte.empty() ? IngenRase : valgte;
}

void TFormStatistikk::Vis() {
  if (!isVisible()) LesRegister();
  TaFrem(this);
}

void TFormStatistikk::LesRegister() {
  const TTimeglass timeglass;
  TProdusent* reg = okt_.Register();
  statistikk_ = reg ? LagStatistikk(reg->Poster()) : TStatistikk{};
  LagHistogram();

  // The breeds present, ticked as before (all the first time).
  QSet<int> avkrysset, kjent;
  for (int i = 0; i < RaseListe->count(); ++i) {
    const int kode = RaseListe->item(i)->data(Qt::UserRole).toInt();
    kjent.insert(kode);
    if (RaseListe->item(i)->checkState() == Qt::Checked) avkrysset.insert(kode);
  }
  std::map<int, int64_t> koder;  // breed code -> rams
  for (const TAarRase& g : statistikk_.grupper) koder[g.rase] += g.antall;
  // The first time, the breeds with the most rams: a chart of every breed has more lines than it can show.
  std::vector<std::pair<int64_t, int>> storst;
  for (const auto& [kode, antall] : koder) storst.emplace_back(-antall, kode);
  std::sort(storst.begin(), storst.end());
  std::set<int> forst;
  for (std::size_t i = 0; i < storst.size() && i < ForsteRaser; ++i) forst.insert(storst[i].second);
  const Trase* raser = &okt_.Raser();
  {
    const QSignalBlocker b(RaseListe);
    RaseListe->clear();
    for (const auto& [kode, antall] : koder) {
      QString navn = raser ? TilQString(raser->BreedName(kode)).trimmed() : QString();
      if (navn.isEmpty()) navn = QString("Rase %1").arg(kode);
      auto* item = new QListWidgetItem(navn, RaseListe);
      item->setData(Qt::UserRole, kode);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      const bool med = harVist_ ? avkrysset.contains(kode) || !kjent.contains(kode) : forst.count(kode) > 0;
      item->setCheckState(med ? Qt::Checked : Qt::Unchecked);
    }
  }
  harVist_ = true;
  Snitt->Tegn();
  Antall->Tegn();
  Fordeling->Tegn();
}

void TFormStatistikk::LagHistogram() {
  TProdusent* reg = okt_.Register();
  const std::vector<int32_t>& utvalg = okt_.Katalogutvalg();
  harUtvalg_ = !utvalg.empty();
  histogram_ = reg ? ::Histogram(*reg, utvalg) : THistogram();
}

void TFormStatistikk::NyttKatalogutvalg() {
  LagHistogram();
  Fordeling->Tegn();
}

void TFormStatistikk::RaserEndret() {
  Snitt->Tegn();
  Antall->Tegn();
}
