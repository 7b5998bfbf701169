#include "tformparingsforslag.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "avlvindu.h"
#include "cp1252.h"
#include "felt.h"
#include "filer.h"
#include "lister.h"
#include "okt.h"
#include "register.h"
#include "slektskap.h"
#include "tekst.h"
#include "tgrid.h"
#include "timeglass.h"
#include "tvindu.h"

namespace {

std::size_t Z(int i) { return static_cast<std::size_t>(i); }

QString Q(std::string_view cp1252) { return TilQString(cp1252); }

// A fraction as the tables show it: "2,34 %".
QString ProsentTekst(double andel) { return Q(Prosent(andel)) + " %"; }

// The name and O-indeks of a judging number in the register, or false.
bool Verdata(TOkt& okt, int32_t nummer, QString& navn, int& oIndeks) {
  const TProdusent* reg = okt.Register();
  if (reg == nullptr || nummer <= 0 || reg->FinnIndeks(nummer) < 0) return false;
  const TVerPost p = reg->LesNummer(nummer);
  navn = Q(TrimText(NameCase(p.Navn.Verdi())));
  oIndeks = p.OIndeks;
  return true;
}

QTableWidgetItem* Fast(const QString& tekst, bool hoyre = false) {
  auto* c = new QTableWidgetItem(tekst);
  c->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  if (hoyre) c->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return c;
}

// The rams of a mating plan as candidates: a ram that was one keeps the
// capacity the breeder gave it, a new one gets `kapasitet`.
std::vector<TKandidat> Kandidater(const std::vector<int32_t>& verer, const std::vector<TKandidat>& for_,
                                  int kapasitet) {
  std::vector<TKandidat> k;
  for (int32_t nr : verer) {
    const auto f = std::find_if(for_.begin(), for_.end(), [nr](const TKandidat& a) { return a.nummer == nr; });
    k.push_back({nr, f != for_.end() ? f->kapasitet : kapasitet});
  }
  return k;
}

// Lines for the user in one message (not a box each), the first ten of them.
QString Samlet(const std::vector<std::string>& linjer) {
  constexpr std::size_t Flest = 10;
  QStringList t;
  for (std::size_t i = 0; i < linjer.size() && i < Flest; ++i) t << Q(linjer[i]);
  if (linjer.size() > Flest) t << QString("… og %1 til.").arg(linjer.size() - Flest);
  return t.join("\n");
}

void RodTekst(QLabel* l) {
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  l->setPalette(p);
}

}  // namespace

// ---- the choices ----

TVelgParingsvalg::TVelgParingsvalg(TOkt& okt, const TParingsvalg& valg, QWidget* parent)
    : QDialog(parent), okt_(okt), valg_(valg) {
  setWindowTitle("Paringsforslag");
  const std::size_t soyer = okt_.Soyer().size();
  auto* intro = new QLabel(
      QString("Forslaget gir hver av de %1 søyene i Soyer.Txt en vær: flest mulig søyer får vær, ingen paring "
              "gir lam med innavl ved eller over grensen, og ingen vær får flere søyer enn kapasiteten. Blant "
              "slike forslag velges det med størst sum av O-indeks minus vekt ganger innavlsprosent.")
          .arg(soyer),
      this);
  intro->setWordWrap(true);

  Verer = new QTableWidget(0, 4, this);
  Verer->setHorizontalHeaderLabels({"Vær", "Navn", "O-indeks", "Kapasitet"});
  Verer->verticalHeader()->hide();
  Verer->setSelectionBehavior(QAbstractItemView::SelectRows);
  Verer->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  Verer->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  Verer->setMinimumHeight(200);
  Verer->setToolTip("Kapasiteten er hvor mange søyer væren kan få; tom betyr ingen grense (en seminvær)");

  Kilde = new QComboBox(this);
  LeggTilKilde = new QPushButton("Legg til", this);
  Numre = new QLineEdit(this);
  Numre->setPlaceholderText("kåringsnumre, skilt med komma eller mellomrom");
  LeggTilNumre = new QPushButton("Legg til numrene", this);
  Fjern = new QPushButton("Fjern merkede", this);
  NyKapasitet = new QLineEdit(Q(Kapasitetsfelt(LesKapasitet(okt_.Innstillinger()))), this);
  NyKapasitet->setToolTip("Kapasiteten nye værer i tabellen får; tom betyr ingen grense");
  Grense = new QLineEdit(Q(DesimalTekst(valg_.grense)), this);
  Vekt = new QLineEdit(Q(DesimalTekst(valg_.vekt)), this);
  Vekt->setToolTip("Indekspoeng som gis opp for hver prosent innavl hos lammet");
  for (QLineEdit* e : {NyKapasitet, Grense, Vekt}) e->setMaximumWidth(90);
  Feil = new QLabel(this);
  Feil->setTextFormat(Qt::PlainText);
  Feil->setWordWrap(true);
  RodTekst(Feil);
  Feil->hide();

  auto* kilde = new QHBoxLayout;
  kilde->addWidget(new QLabel("Fra:", this));
  kilde->addWidget(Kilde, 1);
  kilde->addWidget(LeggTilKilde);
  auto* numre = new QHBoxLayout;
  numre->addWidget(new QLabel("Numre:", this));
  numre->addWidget(Numre, 1);
  numre->addWidget(LeggTilNumre);
  auto* tall = new QGridLayout;
  tall->addWidget(new QLabel("Kapasitet for værer som legges til:", this), 0, 0);
  tall->addWidget(NyKapasitet, 0, 1);
  tall->addWidget(new QLabel("Innavlsgrense i prosent:", this), 1, 0);
  tall->addWidget(Grense, 1, 1);
  tall->addWidget(new QLabel("Vekt (indekspoeng per prosent innavl):", this), 2, 0);
  tall->addWidget(Vekt, 2, 1);
  tall->setColumnStretch(2, 1);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  knapper->button(QDialogButtonBox::Ok)->setText("Lag forslag");
  knapper->button(QDialogButtonBox::Cancel)->setText("Avbryt");
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(intro);
  lag->addWidget(new QLabel("Kandidatværene:", this));
  lag->addWidget(Verer, 1);
  auto* fjern = new QHBoxLayout;
  fjern->addStretch(1);
  fjern->addWidget(Fjern);
  lag->addLayout(fjern);
  lag->addLayout(kilde);
  lag->addLayout(numre);
  lag->addSpacing(6);
  lag->addLayout(tall);
  lag->addWidget(Feil);
  lag->addWidget(knapper);
  connect(knapper, &QDialogButtonBox::accepted, this, &TVelgParingsvalg::accept);
  connect(knapper, &QDialogButtonBox::rejected, this, &TVelgParingsvalg::reject);
  connect(LeggTilKilde, &QPushButton::clicked, this, [this] {
    const int i = Kilde->currentIndex();
    if (i < 0) return;
    const QString navn = Kilde->itemData(i).toString();
    if (navn.isEmpty()) {
      LeggTil(okt_.KatalogNumre());
    } else if (const TListe* l = okt_.Lister().Finn(FraQString(navn))) {
      LeggTil(l->nummer);
    }
  });
  const auto leggTilNumre = [this] {
    std::vector<int32_t> numre;
    const std::string feil = TolkNummerliste(FraQString(Numre->text()), numre);
    if (!feil.empty()) {
      Feil->setText(Q(feil));
      Feil->show();
      return;
    }
    Feil->hide();
    LeggTil(numre);
    Numre->clear();
  };
  connect(LeggTilNumre, &QPushButton::clicked, this, leggTilNumre);
  // Enter in the field adds the numbers; it does not make the suggestion.
  Numre->installEventFilter(this);
  leggTilNumre_ = leggTilNumre;
  connect(Fjern, &QPushButton::clicked, this, [this] {
    std::vector<int> rader;
    for (const QModelIndex& i : Verer->selectionModel()->selectedRows()) rader.push_back(i.row());
    if (rader.empty() && Verer->currentRow() >= 0) rader.push_back(Verer->currentRow());
    std::sort(rader.rbegin(), rader.rend());
    for (int r : rader) Verer->removeRow(r);
  });

  FyllKilde();
  // The candidates as they were.
  const QString nyKapasitet = NyKapasitet->text();
  for (const TKandidat& k : valg_.verer) {
    NyKapasitet->setText(Q(Kapasitetsfelt(k.kapasitet)));
    LeggTil({k.nummer});
  }
  NyKapasitet->setText(nyKapasitet);
  setMinimumSize(560, 560);
}

bool TVelgParingsvalg::eventFilter(QObject* o, QEvent* e) {
  if (o == Numre && e->type() == QEvent::KeyPress) {
    const int tast = static_cast<QKeyEvent*>(e)->key();
    if (tast == Qt::Key_Return || tast == Qt::Key_Enter) {
      leggTilNumre_();
      return true;
    }
  }
  return QDialog::eventFilter(o, e);
}

void TVelgParingsvalg::FyllKilde() {
  Kilde->clear();
  const std::vector<int32_t> katalog = okt_.KatalogNumre();
  if (!katalog.empty()) Kilde->addItem(QString("Katalogens siste utvalg (%1 værer)").arg(katalog.size()), QString());
  for (const TListe& l : okt_.Lister().Alle())
    Kilde->addItem(QString("Lista «%1» (%2 værer)").arg(Q(l.navn)).arg(l.nummer.size()), Q(l.navn));
  const bool noe = Kilde->count() > 0;
  if (!noe) Kilde->addItem("(ingen lister og ikke noe katalogutvalg ennå)");
  Kilde->setEnabled(noe);
  LeggTilKilde->setEnabled(noe);
}

void TVelgParingsvalg::LeggTil(const std::vector<int32_t>& numre) {
  QStringList ukjente;
  for (int32_t nr : numre) {
    bool finnes = false;
    for (int r = 0; r < Verer->rowCount() && !finnes; ++r) finnes = Verer->item(r, 0)->text().toInt() == nr;
    if (finnes) continue;
    QString navn;
    int oIndeks = 0;
    if (!Verdata(okt_, nr, navn, oIndeks)) {
      ukjente << QString::number(nr);
      continue;
    }
    const int r = Verer->rowCount();
    Verer->insertRow(r);
    Verer->setItem(r, 0, Fast(QString::number(nr), true));
    Verer->setItem(r, 1, Fast(navn));
    Verer->setItem(r, 2, Fast(oIndeks >= 900 ? "gul" : QString::number(oIndeks), true));
    auto* kap = new QTableWidgetItem(NyKapasitet->text().trimmed());
    kap->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Verer->setItem(r, 3, kap);
  }
  Verer->resizeColumnToContents(0);
  Verer->resizeColumnToContents(2);
  if (!ukjente.isEmpty()) {
    Feil->setText(
        (ukjente.size() == 1 ? "Dette nummeret er ikke i registeret: " : "Disse numrene er ikke i registeret: ") +
        ukjente.join(", ") + ".");
    Feil->show();
  }
}

std::string TVelgParingsvalg::Sjekk(TParingsvalg& valg) const {
  valg = valg_;
  valg.verer.clear();
  for (int r = 0; r < Verer->rowCount(); ++r) {
    TKandidat k;
    k.nummer = Verer->item(r, 0)->text().toInt();
    const QString kap = Verer->item(r, 3) ? Verer->item(r, 3)->text() : QString();
    if (!LesKapasitetstekst(FraQString(kap), k.kapasitet))
      return Utf8TilCp1252("Kapasiteten til ") + IntToText(k.nummer) + " (\xAB" + FraQString(kap) +
             Utf8TilCp1252("») er ikke et helt tall fra 0; la feltet stå tomt for ingen grense.");
    valg.verer.push_back(k);
  }
  if (valg.verer.empty()) return Utf8TilCp1252("Legg til minst én kandidatvær.");
  int kap = 0;
  if (!LesKapasitetstekst(FraQString(NyKapasitet->text()), kap))
    return Utf8TilCp1252("Kapasiteten for værer som legges til er ikke et helt tall fra 0.");
  if (!LesDesimal(FraQString(Grense->text()), valg.grense) || valg.grense < 0 || valg.grense > 100)
    return Utf8TilCp1252("Innavlsgrensen må være et tall fra 0 til 100, for eksempel 6,25.");
  if (!LesDesimal(FraQString(Vekt->text()), valg.vekt) || valg.vekt < 0 || valg.vekt > MaksVekt)
    return Utf8TilCp1252("Vekten må være et tall fra 0 til 1000, for eksempel 1,0.");
  return {};
}

void TVelgParingsvalg::accept() {
  TParingsvalg valg;
  if (const std::string feil = Sjekk(valg); !feil.empty()) {
    Feil->setText(Q(feil));
    Feil->show();
    return;
  }
  valg_ = std::move(valg);
  QDialog::accept();
}

// ---- the suggestion's window ----

namespace {

// The suggestion's problem for the ewes and the choices, under the busy
// cursor; the coefficients computed first when they are not yet. Null when
// they cannot be (told through `melding`).
std::shared_ptr<TParingsforslag> NyttForslag(TOkt& okt, const std::vector<TSoye>& soyer, const TParingsvalg& valg,
                                             const std::function<void(const QString&)>& melding) {
  const TTimeglass timeglass;
  if (HentInnavl(&okt.Avlsdata(), melding) == nullptr) return nullptr;
  return std::make_shared<TParingsforslag>(LagParingsforslag(okt.Avlsdata(), soyer, valg));
}

}  // namespace

TParingsforslagVindu::TParingsforslagVindu(TOkt& okt, std::shared_ptr<TParingsforslag> forslag, QWidget* eier)
    : okt_(okt), forslag_(std::move(forslag)), vindu_(new TVindu(eier)) {
  setParent(vindu_);
  Melding = [this](const QString& t) { QMessageBox::information(vindu_, "Paringsforslag", t); };
  SporJaNei = [this](const QString& t) {
    return QMessageBox::question(vindu_, "Paringsforslag", t) == QMessageBox::Yes;
  };
  KjorDialog = [](QDialog& d) { return d.exec(); };

  // The rows are the suggestion's own: they change through the menu, not as text.
  vindu_->KanEndre->setEnabled(false);
  vindu_->KanEndre->setVisible(false);

  VelgVer = new QAction("Velg vær …", vindu_);
  VelgVer->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  VelgVer->setShortcutContext(Qt::WindowShortcut);
  VelgVer->setToolTip("Velg en annen vær til søya på raden (Enter eller dobbeltklikk)");
  PaaNytt = new QAction("Foreslå på nytt", vindu_);
  PaaNytt->setToolTip("Lag forslaget på nytt rundt de låste og forbudte paringene");
  EndreValg = new QAction("Valg …", vindu_);
  EndreValg->setToolTip("Endre kandidatværene, kapasitetene, grensen eller vekten");
  vindu_->addAction(VelgVer);
  vindu_->VerkT->addSeparator();
  vindu_->VerkT->addAction(VelgVer);
  vindu_->VerkT->addAction(PaaNytt);
  vindu_->VerkT->addAction(EndreValg);
  QAction* forste = vindu_->Redmen->actions().value(0);
  vindu_->Redmen->insertAction(forste, VelgVer);
  vindu_->Redmen->insertSeparator(forste);
  connect(VelgVer, &QAction::triggered, this, [this] {
    if (const int e = GjeldendeSoye(); e >= 0) VisMeny(e);
  });
  connect(PaaNytt, &QAction::triggered, this, &TParingsforslagVindu::ForeslaaPaaNytt);
  connect(EndreValg, &QAction::triggered, this, [this] { ValgClick(); });
  connect(vindu_->Grinn, &TGrid::celleDobbeltklikket, this, [this](int, int rad) {
    const int e = vindu_->Tabell().Hoved().Kilderad(rad);
    if (e >= 0) VisMeny(e);
  });

  // Installed after the table window's own filter, so it comes first.
  grinn_ = vindu_->Grinn;
  grinn_->installEventFilter(this);

  Dokk = new QDockWidget("Værene", vindu_);
  Dokk->setObjectName("Verene");
  Dokk->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  auto* flate = new QWidget(Dokk);
  Merknad = new QLabel(flate);
  Merknad->setTextFormat(Qt::PlainText);
  Merknad->setWordWrap(true);
  RodTekst(Merknad);
  Merknad->hide();
  Verer = new QTableWidget(0, 4, flate);
  Verer->setHorizontalHeaderLabels({"Vær", "Navn", "Søyer", "Kapasitet"});
  Verer->verticalHeader()->hide();
  Verer->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Verer->setSelectionMode(QAbstractItemView::NoSelection);
  Verer->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* lag = new QVBoxLayout(flate);
  lag->setContentsMargins(4, 4, 4, 4);
  lag->addWidget(Merknad);
  lag->addWidget(Verer, 1);
  Dokk->setWidget(flate);
  vindu_->addDockWidget(Qt::RightDockWidgetArea, Dokk);

  connect(&okt_, &TOkt::soyerEndret, this, [this] {
    LagPaaNytt(forslag_->Valg(), nullptr,
               "Søyene i Soyer.Txt er endret. Søyer som er nye, står uten vær til "
               "du velger en eller trykker «Foreslå på nytt».");
  });
  connect(&okt_, &TOkt::postEndret, this, [this] {
    LagPaaNytt(forslag_->Valg(), nullptr, "En vær er endret i registeret; tallene er regnet på nytt.");
  });
  connect(&okt_, &TOkt::registerLastet, this, [this] {
    LagPaaNytt(forslag_->Valg(), nullptr, "Registeret er lest inn på nytt; tallene er regnet på nytt.");
  });
  connect(&okt_, &TOkt::paringerEndret, this, [this] {
    TLagretForslag naa = Lagret(*forslag_);
    naa.ikkeLest = okt_.Paringer().ikkeLest;
    if (okt_.Paringer() == naa) return;  // this window's own save
    const TLagretForslag l = okt_.Paringer();
    LagPaaNytt(l.valg, &l.par, "Paringsforslaget ble lagret av et annet vindu eller program og er lest på nytt.");
  });
  Bygg();
}

void TParingsforslagVindu::Vis() {
  vindu_->Vis();
  const QRect skjerm = vindu_->screen() ? vindu_->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
  const int dokk = DokkBredde();
  const int tabell = std::max(600, vindu_->Tabell().TotalBredde() + 40);
  vindu_->resize(std::min(tabell + dokk + 12, skjerm.width() * 9 / 10),
                 std::max(vindu_->height(), std::min(520, skjerm.height() * 9 / 10)));
  vindu_->resizeDocks({Dokk}, {dokk}, Qt::Horizontal);
}

int TParingsforslagVindu::DokkBredde() const {
  // The columns, the frame, room for the scroll bar that many rams bring, and
  // the margins of the dock and its layout.
  return Verer->horizontalHeader()->length() + 2 * Verer->frameWidth() +
         Verer->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Verer) + 14;
}

void TParingsforslagVindu::Tilpass() {
  if (!vindu_->isVisible()) return;
  const QRect skjerm = vindu_->screen() ? vindu_->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
  const int dokk = DokkBredde();
  const int tabell = std::max(600, vindu_->Tabell().TotalBredde() + 40);
  const int bredde = std::min(tabell + dokk + 12, skjerm.width() * 9 / 10);
  if (bredde > vindu_->width()) vindu_->resize(bredde, vindu_->height());
  if (Dokk->width() < dokk) vindu_->resizeDocks({Dokk}, {dokk}, Qt::Horizontal);
}

bool TParingsforslagVindu::eventFilter(QObject* o, QEvent* e) {
  // A table window deletes the marked rows on Delete. Here that would only
  // hide ewes from the window, its printout and its exports, while the
  // summary, Paringer.Txt and the insemination still count their rams.
  if (o == grinn_ && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) &&
      static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
    if (e->type() == QEvent::KeyPress)
      vindu_->Panel[2]->setText("Velg «Ingen vær» i menyen til søya (Enter) for å ta væren fra henne.");
    return true;
  }
  return QObject::eventFilter(o, e);
}

int TParingsforslagVindu::GjeldendeSoye() const {
  const TRutenett& g = vindu_->Tabell().Hoved();
  return g.Kilderad(g.GjeldendeRad());
}

void TParingsforslagVindu::Bygg() {
  ListParingsforslag(forslag_, *vindu_, TSnittrad::Bunnrad);
  VisTellinger();
}

void TParingsforslagVindu::VisTellinger() {
  const TParingsforslag& f = *forslag_;
  Verer->setRowCount(f.AntallVerer());
  for (int v = 0; v < f.AntallVerer(); ++v) {
    Verer->setItem(v, 0, Fast(QString::number(f.Plan().verer[Z(v)]), true));
    Verer->setItem(v, 1, Fast(Q(f.Navn(v))));
    Verer->setItem(v, 2, Fast(QString::number(f.Antall(v)), true));
    Verer->setItem(
        v, 3, Fast(f.Kapasitet(v) == UtenGrense ? QString("ingen grense") : QString::number(f.Kapasitet(v)), true));
    if (f.Full(v)) Verer->item(v, 2)->setForeground(Qt::blue);
  }
  vindu_->setWindowTitle(Q(ForslagNavn(f)));
  Verer->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
  Tilpass();
}

void TParingsforslagVindu::Endret() {
  TTabell& t = vindu_->Tabell();
  t.Hoved().KildeEndret();
  const std::vector<std::string> sum = SammendragRader(*forslag_);
  for (int i = 0; i < ForslagBunnrader && i < t.Bunn().Rader(); ++i) {
    const std::vector<std::string> celler = DelRad(sum[Z(i)]);
    for (int k = 0; k < t.Bunn().Kolonner(); ++k)
      t.Bunn().SettCelle(k, i, k < static_cast<int>(celler.size()) ? celler[Z(k)] : std::string());
  }
  vindu_->Grinn->viewport()->update();
  vindu_->bunn->viewport()->update();
  VisTellinger();
  Lagre();
}

void TParingsforslagVindu::Lagre() {
  TLagretForslag l = Lagret(*forslag_);
  l.ikkeLest = okt_.Paringer().ikkeLest;
  try {
    if (okt_.LagreParinger(l)) return;
    if (SporJaNei("Et annet Hornstad-vindu eller hornstad-cli har lagret et paringsforslag i Paringer.Txt etter at "
                  "dette ble vist.\nVil du skrive over det med forslaget i dette vinduet?\n"
                  "(Nei: forslaget som ble lagret der, vises i stedet.)")) {
      okt_.LagreParinger(l, true);
    } else {
      okt_.LesParinger();
      const TLagretForslag deres = okt_.Paringer();
      LagPaaNytt(deres.valg, &deres.par, QString());
    }
  } catch (const IoFeil& e) {
    Melding("Paringsforslaget ble ikke lagret: " + QString::fromUtf8(e.what()));
  }
}

void TParingsforslagVindu::Velg(int soye, int ver) {
  const bool haddeLaas = forslag_->Laast(soye) >= 0;
  if (const std::string feil = forslag_->Endre(soye, ver); !feil.empty()) {
    Melding(Q(feil));
    return;
  }
  // A ram chosen by hand is the breeder's word: the next suggestion keeps it.
  if (ver >= 0 && !haddeLaas) forslag_->Laas(soye);
  Endret();
}

void TParingsforslagVindu::SettLaas(int soye, bool laas) {
  if (laas)
    forslag_->Laas(soye);
  else
    forslag_->LaasOpp(soye);
  Endret();
}

void TParingsforslagVindu::ForbyPar(int soye, int ver) {
  forslag_->Forby(soye, ver);
  Endret();
}

void TParingsforslagVindu::TillatPar(int soye, int ver) {
  forslag_->Tillat(soye, ver);
  Endret();
}

void TParingsforslagVindu::VisMeny(int soye) {
  const TParingsforslag& f = *forslag_;
  QMenu meny(vindu_);
  meny.setToolTipsVisible(true);
  const int naa = f.Ver(soye);
  meny.addSection(QString("Søye %1").arg(Q(f.Plan().soyer[Z(soye)].nummer)));
  for (const TParingsforslag::TValgmulighet& m : f.Valgmuligheter(soye)) {
    QString tekst = QString("%1 %2: innavl %3, O-indeks %4")
                        .arg(f.Plan().verer[Z(m.ver)])
                        .arg(Q(f.Navn(m.ver)))
                        .arg(ProsentTekst(m.andel))
                        .arg(f.OIndeks(m.ver) >= 900 ? QString("gul") : QString::number(f.OIndeks(m.ver)));
    if (!m.ledig) tekst += " (full)";
    QAction* a = meny.addAction(tekst);
    a->setCheckable(true);
    a->setChecked(m.ver == naa);
    a->setEnabled(m.ledig);
    connect(a, &QAction::triggered, this, [this, soye, v = m.ver] { Velg(soye, v); });
  }
  if (f.Valgmuligheter(soye).empty()) {
    // Why there is nothing to choose: at or over the limit, or forbidden.
    bool under = false;
    for (int v = 0; v < f.AntallVerer(); ++v) under = under || !VedGrensa(f.Lam(soye, v), f.Valg().grense);
    meny.addAction(under ? "(værene under grensen er forbudt)" : "(ingen vær under grensen)")->setEnabled(false);
  }
  QAction* ingen = meny.addAction("Ingen vær");
  connect(ingen, &QAction::triggered, this, [this, soye] { Velg(soye, -1); });
  ingen->setEnabled(naa >= 0);
  meny.addSeparator();
  QAction* laas =
      meny.addAction(naa >= 0 ? QString("Lås søya til %1").arg(f.Plan().verer[Z(naa)]) : QString("Lås søya til væren"));
  laas->setCheckable(true);
  laas->setChecked(f.Laast(soye) >= 0);
  laas->setEnabled(naa >= 0);
  laas->setToolTip("En låst paring står fast når forslaget lages på nytt");
  connect(laas, &QAction::toggled, this, [this, soye](bool paa) { SettLaas(soye, paa); });
  if (naa >= 0) {
    QAction* forby = meny.addAction(QString("Forby paringen med %1").arg(f.Plan().verer[Z(naa)]));
    connect(forby, &QAction::triggered, this, [this, soye, naa] { ForbyPar(soye, naa); });
  }
  QMenu* tillat = nullptr;
  for (int v = 0; v < f.AntallVerer(); ++v) {
    if (!f.Forbudt(soye, v)) continue;
    if (!tillat) tillat = meny.addMenu("Tillat igjen");
    QAction* a = tillat->addAction(QString("%1 %2").arg(f.Plan().verer[Z(v)]).arg(Q(f.Navn(v))));
    connect(a, &QAction::triggered, this, [this, soye, v] { TillatPar(soye, v); });
  }
  // At the ewe's row when it is on the screen.
  const TRutenett& g = vindu_->Tabell().Hoved();
  QPoint sted = vindu_->Grinn->mapToGlobal(QPoint(20, 20));
  for (int r = g.FasteRader(); r < g.Rader(); ++r)
    if (g.Kilderad(r) == soye) {
      vindu_->Grinn->VisCelle(1, r);
      sted = vindu_->Grinn->viewport()->mapToGlobal(vindu_->Grinn->Celleramme(1, r).bottomLeft());
      break;
    }
  meny.exec(sted);
}

void TParingsforslagVindu::LagPaaNytt(const TParingsvalg& valg, const std::vector<TParingspar>* par,
                                      const QString& merknad) {
  if (okt_.Register() == nullptr) return;  // an import is replacing it; its load comes
  // The ewes as the state object holds them: it reads Soyer.Txt when another
  // program changes it.
  const std::vector<TParingspar> gamle = par ? *par : forslag_->Par();
  const std::shared_ptr<TParingsforslag> nytt = NyttForslag(okt_, okt_.Soyer(), valg, Melding);
  if (!nytt) return;
  if (nytt->AntallVerer() == 0) {
    Melding("Ingen av kandidatværene er i registeret nå; forslaget vises som det var.");
    return;
  }
  nytt->Bruk(gamle);
  forslag_ = std::move(nytt);
  Bygg();
  vindu_->Skaler();
  Tilpass();
  Merknad->setText(merknad);
  Merknad->setVisible(!merknad.isEmpty());
}

void TParingsforslagVindu::ForeslaaPaaNytt() {
  const TTimeglass timeglass;
  forslag_->Los();
  Merknad->hide();
  Endret();
}

void TParingsforslagVindu::ValgClick(const std::vector<int32_t>* verer) {
  TParingsvalg start = forslag_->Valg();
  if (verer) start.verer = Kandidater(*verer, start.verer, LesKapasitet(okt_.Innstillinger()));
  TVelgParingsvalg d(okt_, start, vindu_);
  if (KjorDialog(d) != QDialog::Accepted) return;
  const std::shared_ptr<TParingsforslag> nytt = NyttForslag(okt_, okt_.Soyer(), d.Valg(), Melding);
  if (!nytt) return;
  if (nytt->AntallVerer() > 0) {
    const TTimeglass timeglass;
    nytt->Los();
  }
  if (nytt->AntallVerer() == 0) {
    Melding("Ingen av kandidatværene er i registeret; forslaget er ikke endret.");
    return;
  }
  forslag_ = std::move(nytt);
  Bygg();
  vindu_->Skaler();
  Tilpass();
  Merknad->hide();
  Lagre();
  if (!forslag_->Meldinger().empty()) Melding(Samlet(forslag_->Meldinger()));
}

// ---- "Paringsforslag …" ----

namespace {

QString UkjenteNumre(const TParingsforslag& f) {
  QStringList u;
  for (int32_t nr : f.Plan().ukjente) u << QString::number(nr);
  return u.join(", ");
}

QString Ukjente(const TParingsforslag& f) {
  const QStringList u = UkjenteNumre(f).split(", ", Qt::SkipEmptyParts);
  if (u.isEmpty()) return {};
  return (u.size() == 1 ? "Dette nummeret er ikke i registeret og er ikke med i forslaget: "
                        : "Disse numrene er ikke i registeret og er ikke med i forslaget: ") +
         u.join(", ") + ".";
}

}  // namespace

TParingsforslagVindu* VisParingsforslag(TOkt& okt, QWidget* eier, const std::vector<int32_t>* verer,
                                        const std::function<int(QDialog&)>& kjorDialog,
                                        const std::function<void(const QString&)>& melding) {
  const TLagretForslag lagret = okt.Paringer();
  if (!okt.ParingsMeldinger().empty()) melding(Samlet(okt.ParingsMeldinger()));
  TParingsvalg valg = lagret.valg;
  // Pairs without the choices (a file written by hand): their rams are the
  // candidates, with the standard capacity.
  if (valg.verer.empty())
    for (const TParingspar& p : lagret.par)
      if (p.ver != 0 &&
          std::none_of(valg.verer.begin(), valg.verer.end(), [&](const TKandidat& k) { return k.nummer == p.ver; }))
        valg.verer.push_back({p.ver, LesKapasitet(okt.Innstillinger())});
  bool brukLagret = verer == nullptr && !valg.verer.empty();
  if (lagret.valg.verer.empty()) {
    valg.grense = okt.Grense();
    valg.vekt = LesVekt(okt.Innstillinger());
  }
  if (verer) valg.verer = Kandidater(*verer, valg.verer, LesKapasitet(okt.Innstillinger()));
  std::shared_ptr<TParingsforslag> f;
  for (;;) {
    if (!brukLagret) {
      TVelgParingsvalg d(okt, valg, eier);
      if (kjorDialog(d) != QDialog::Accepted) return nullptr;
      valg = d.Valg();
    }
    f = NyttForslag(okt, okt.Soyer(), valg, melding);
    if (!f) return nullptr;
    if (f->AntallVerer() > 0) break;
    if (!brukLagret) {
      melding("Ingen av kandidatværene er i registeret: " + UkjenteNumre(*f) + ".");
      return nullptr;
    }
    // A register without the saved suggestion's rams: new ones are chosen.
    melding("Ingen av værene i det lagrede paringsforslaget er i registeret nå (" + UkjenteNumre(*f) +
            "). Velg kandidatværene på nytt.");
    brukLagret = false;
  }
  if (brukLagret) {
    f->Bruk(lagret.par);
  } else {
    const TTimeglass timeglass;
    f->Los();
  }
  auto* v = new TParingsforslagVindu(okt, f, eier);
  v->Melding = melding;
  if (!brukLagret) v->Lagre();
  v->Vis();
  if (const QString u = Ukjente(*f); !u.isEmpty()) melding(u);
  if (!f->Meldinger().empty()) melding(Samlet(f->Meldinger()));
  if (brukLagret) {
    // Ewes added to Soyer.Txt since the suggestion was saved.
    int nye = 0;
    for (int e = 0; e < f->AntallSoyer(); ++e) {
      bool fantes = false;
      for (const TParingspar& p : lagret.par) fantes = fantes || SammeSoyenummer(p.soye, f->Plan().soyer[Z(e)].nummer);
      nye += fantes ? 0 : 1;
    }
    if (nye > 0) {
      v->Merknad->setText(QString("%1 søyer i Soyer.Txt er nye siden forslaget ble lagret og står uten vær. Velg "
                                  "vær til dem, eller trykk «Foreslå på nytt».")
                              .arg(nye));
      v->Merknad->show();
    }
  }
  return v;
}
