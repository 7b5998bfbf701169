#include "tformslektskap.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "avlvindu.h"
#include "cp1252.h"
#include "filer.h"
#include "melding.h"
#include "okt.h"
#include "slektskap.h"
#include "tekst.h"
#include "tgrid.h"
#include "tintedit.h"

namespace {

TIntEdit* Nummerfelt(QWidget* forelder) {
  auto* f = new TIntEdit(forelder);
  SettOppNummerfelt(f);
  // Room for a number longer than a judging number, which the field refuses as typed.
  f->setFixedWidth(f->fontMetrics().horizontalAdvance("000000000000") + 16);
  return f;
}

QString Nummertekst(int32_t nr) { return nr == 0 ? QString("ukjent") : QString::number(nr); }

}  // namespace

TFormSlektskap::TFormSlektskap(TOkt& okt, QWidget* parent) : QWidget(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Slektskap");
  setObjectName("FormSlektskap");

  Ver = new QLabel(this);
  Ver->setTextFormat(Qt::PlainText);
  QFont fet = Ver->font();
  fet.setBold(true);
  Ver->setFont(fet);
  Far = Nummerfelt(this);
  Morfar = Nummerfelt(this);
  Mormorfar = Nummerfelt(this);
  Mormorfar->setToolTip("Faren til søyas mormor");
  Soye = new QComboBox(this);
  Soye->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  Soye->setToolTip("Velg en søye fra Soyer.Txt: far, morfar og mormors far fylles inn");
  Soyer = new QPushButton("Søyer…", this);
  Soyer->setToolTip("Åpne søyelista");
  Soyer->setAutoDefault(false);
  Lam = new QLabel(this);
  Lam->setTextFormat(Qt::PlainText);
  QFont stor = Lam->font();
  stor.setPointSizeF(stor.pointSizeF() * 1.3);
  stor.setBold(true);
  Lam->setFont(stor);
  LamKjente = new QLabel(this);
  LamKjente->setTextFormat(Qt::PlainText);
  VerEgen = new QLabel(this);
  VerEgen->setTextFormat(Qt::PlainText);
  GrenseTekst = new QLabel(this);
  Aner = new TGrid(this);
  Aner->Velgbar = false;
  Aner->setFocusPolicy(Qt::NoFocus);
  {
    TRutenett& m = Aner->Modell();
    m.SettStorrelse(2, 1);
    m.SettFaste(0, 1);
    m.SettCelle(0, 0, "Felles ane");
    m.SettCelle(1, 0, "Andel %");
    const QFontMetrics fm(font());
    m.SettStandardHoyde(fm.height() + 6);
    m.SettKolbredde(0, fm.horizontalAdvance("Mor til 1900000 (mornr 000000)  ") + 60);
    m.SettKolbredde(1, fm.horizontalAdvance("Andel %") + 16);
    Aner->setMinimumWidth(Aner->Innholdsstorrelse().width() + 2 * Aner->frameWidth() + 20);
    Aner->setMinimumHeight(10 * m.StandardHoyde());
  }
  Aner->viewport()->installEventFilter(this);
  Aner->TegnCelle = [](QPainter&, TCelleTegning& c) {
    if (c.kol == 1 && !c.fast) c.justering = Qt::AlignRight | Qt::AlignVCenter;
  };
  Lukk = new QPushButton("Lukk", this);
  Lukk->setAutoDefault(false);

  auto* soyelag = new QGridLayout;
  soyelag->addWidget(new QLabel("Søyas far:", this), 0, 0);
  soyelag->addWidget(Far, 0, 1);
  soyelag->addWidget(new QLabel("Søyas morfar:", this), 0, 2);
  soyelag->addWidget(Morfar, 0, 3);
  soyelag->addWidget(new QLabel("Mormors far:", this), 0, 4);
  soyelag->addWidget(Mormorfar, 0, 5);
  soyelag->addWidget(new QLabel("eller søye fra lista:", this), 1, 0, 1, 2);
  soyelag->addWidget(Soye, 1, 2, 1, 3);
  soyelag->addWidget(Soyer, 1, 5, Qt::AlignLeft);
  soyelag->setColumnStretch(6, 1);
  auto* bunn = new QHBoxLayout;
  bunn->addWidget(GrenseTekst, 1);
  bunn->addWidget(Lukk);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(Ver);
  lag->addLayout(soyelag);
  lag->addSpacing(6);
  lag->addWidget(Lam);
  lag->addWidget(LamKjente);
  lag->addWidget(VerEgen);
  lag->addSpacing(4);
  lag->addWidget(new QLabel("Felles aner, med andelen av lammets innavlsgrad:", this));
  lag->addWidget(Aner, 1);
  lag->addLayout(bunn);

  Far->OnChange = [this] { FeltEndret(); };
  Morfar->OnChange = [this] { FeltEndret(); };
  Mormorfar->OnChange = [this] { FeltEndret(); };
  // A number refused when the field is left is told; the text stays to be mended.
  for (auto [felt, hva] : {std::pair{Far, "Far"}, std::pair{Morfar, "Morfar"}, std::pair{Mormorfar, "Mormors far"}})
    felt->OnExit = [this, felt, hva] {
      if (felt->feil) Melding(Nummerfeil(felt, hva));
    };
  connect(Soye, &QComboBox::activated, this, &TFormSlektskap::SoyeValgt);
  connect(Soyer, &QPushButton::clicked, this, &TFormSlektskap::soyerOnsket);
  // An open window follows what its figures are made of.
  connect(&okt_, &TOkt::soyerEndret, this, [this] {
    LesSoyer();
    if (isVisible()) Oppdater();
  });
  for (auto signal : {&TOkt::registerLastet, &TOkt::postEndret, &TOkt::innstillingerEndret})
    connect(&okt_, signal, this, [this] {
      if (isVisible()) Oppdater();
    });
  connect(Lukk, &QPushButton::clicked, this, &QWidget::close);
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };
}

void TFormSlektskap::VisFor(const TVerPost& ver) {
  ver_ = ver.Nummer;
  const std::string navn = TrimText(NameCase(ver.Navn.Verdi()));
  Ver->setText(TilQString(Utf8TilCp1252("Vær: ") + IntToText(ver.Nummer) + (navn.empty() ? "" : " " + navn)));
  setWindowTitle("Slektskap for " + QString::number(ver.Nummer));
  LesSoyer();
  show();
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
  Oppdater();
}

void TFormSlektskap::LesSoyer() {
  const QString valgt = Soye->currentIndex() > 0
                            ? QString::fromStdString(soyer_[static_cast<std::size_t>(Soye->currentIndex() - 1)].nummer)
                            : QString();
  soyer_ = okt_.Soyer();
  const QSignalBlocker b(Soye);
  Soye->clear();
  Soye->addItem(soyer_.empty() ? "(ingen søyer i Soyer.Txt)" : "(ingen valgt)");
  int igjen = 0;
  for (const TSoye& s : soyer_) {
    Soye->addItem(TilQString(s.nummer) + " – far " + Nummertekst(s.far) + ", morfar " + Nummertekst(s.morfar) +
                  (s.mormorfar != 0 ? ", mormors far " + Nummertekst(s.mormorfar) : QString()));
    if (!valgt.isEmpty() && QString::fromStdString(s.nummer) == valgt && s.far == Far->Verdi() &&
        s.morfar == Morfar->Verdi() && s.mormorfar == Mormorfar->Verdi())
      igjen = Soye->count() - 1;
  }
  Soye->setCurrentIndex(igjen);
}

void TFormSlektskap::SoyeValgt(int indeks) {
  if (indeks <= 0 || indeks > static_cast<int>(soyer_.size())) return;
  const TSoye& s = soyer_[static_cast<std::size_t>(indeks - 1)];
  {
    const QSignalBlocker b(Soye);
    Far->SettVerdi(s.far);
    Morfar->SettVerdi(s.morfar);
    Mormorfar->SettVerdi(s.mormorfar);
    if (s.far == 0) Far->clear();
    if (s.morfar == 0) Morfar->clear();
    if (s.mormorfar == 0) Mormorfar->clear();
  }
  Soye->setCurrentIndex(indeks);
  Oppdater();
}

void TFormSlektskap::FeltEndret() {
  // Fields that no longer hold the ewe picked leave the list without a choice.
  const int i = Soye->currentIndex();
  if (i > 0 && i <= static_cast<int>(soyer_.size())) {
    const TSoye& s = soyer_[static_cast<std::size_t>(i - 1)];
    if (s.far != Far->Verdi() || s.morfar != Morfar->Verdi() || s.mormorfar != Mormorfar->Verdi()) {
      const QSignalBlocker b(Soye);
      Soye->setCurrentIndex(0);
    }
  }
  if (isVisible()) Oppdater();
}

void TFormSlektskap::Oppdater() {
  TAvlsdata* avl = okt_.Register() ? &okt_.Avlsdata() : nullptr;
  const TInnavl* innavl = HentInnavl(avl, Melding);
  TRutenett& m = Aner->Modell();
  m.SettRader(1);
  paring_ = TParing{};
  advarsel_ = false;
  const double grense = okt_.Grense();
  GrenseTekst->setText("Grense for advarsel: " + TilQString(FormatN(grense, 2)) + " %");
  if (innavl == nullptr) {
    Lam->setText("Ingen værer inne.");
    LamKjente->clear();
    VerEgen->clear();
    Aner->viewport()->update();
    return;
  }
  paring_ = innavl->Paring(ver_, Far->Verdi(), Morfar->Verdi(), Mormorfar->Verdi());
  const std::vector<std::string> linjer = SlektskapLinjer(paring_, avl->Stamtavle(), avl->Poster());
  Lam->setText(TilQString(linjer[0]));
  LamKjente->setText(linjer.size() > 2 ? TilQString(linjer[2]) : QString());
  VerEgen->setText(linjer.size() > 1 ? TilQString(linjer[1]) : QString());
  // A number refused in a field gives no figure, as a parent not in the register does.
  QStringList feil = {Nummerfeil(Far, "Far"), Nummerfeil(Morfar, "Morfar"), Nummerfeil(Mormorfar, "Mormors far")};
  feil.removeAll(QString());
  const QString avvist = feil.join(' ');
  const bool gyldig = paring_.Gyldig() && avvist.isEmpty();
  if (paring_.funnet && !avvist.isEmpty()) {
    Lam->setText("Innavlsgrad for lammet: –");
    LamKjente->setText(avvist);
  }
  advarsel_ = gyldig && VedGrensa(paring_.lam, grense);
  QPalette p = palette();
  if (advarsel_) p.setColor(QPalette::WindowText, Qt::red);
  Lam->setPalette(p);
  if (gyldig) {
    const std::string eldre = EldreTekst(paring_);
    const int rader =
        static_cast<int>(paring_.aner.size()) + (paring_.restAntall > 0 ? 1 : 0) + (eldre.empty() ? 0 : 1);
    m.SettRader(1 + std::max(rader, 1));
    int r = 1;
    for (const TFellesAne& a : paring_.aner) {
      m.SettCelle(0, r, AneTekst(avl->Stamtavle(), avl->Poster(), a.dyr));
      m.SettCelle(1, r, Prosent(a.andel));
      ++r;
    }
    if (paring_.restAntall > 0) {
      m.SettCelle(0, r, IntToText(paring_.restAntall) + " andre");
      m.SettCelle(1, r, Prosent(paring_.restAndel));
      ++r;
    }
    if (!eldre.empty()) {
      m.SettCelle(0, r, "Eldre aner");
      m.SettCelle(1, r, eldre);
    }
    if (rader == 0) m.SettCelle(0, 1, "Ingen felles aner.");
  }
  Aner->viewport()->update();
}

bool TFormSlektskap::eventFilter(QObject* o, QEvent* e) {
  // The names' column takes the width the shares leave.
  if (o == Aner->viewport() && e->type() == QEvent::Resize) {
    TRutenett& m = Aner->Modell();
    const int rom = Aner->viewport()->width() - m.Kolbredde(1) - 2;
    const int minst = Aner->fontMetrics().horizontalAdvance("Mor til 1900000 (mornr 000000)  ") + 60;
    if (rom != m.Kolbredde(0)) m.SettKolbredde(0, std::max(rom, minst));
  }
  return QWidget::eventFilter(o, e);
}
