#include "tformsoyer.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
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
#include "timeglass.h"
#include "tintedit.h"

namespace {

TIntEdit* Nummerfelt(QWidget* forelder) {
  auto* f = new TIntEdit(forelder);
  SettOppNummerfelt(f);
  f->setMinimumWidth(f->fontMetrics().horizontalAdvance("0000000000") + 16);
  return f;
}

QString Tall(int32_t nr) { return nr == 0 ? QString() : QString::number(nr); }

}  // namespace

TFormSoyer::TFormSoyer(TOkt& okt, QWidget* parent) : QWidget(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Søyer");
  setObjectName("FormSoyer");

  Liste = new TGrid(this);
  Liste->KolonneDrag = true;
  {
    TRutenett& m = Liste->Modell();
    m.SettStorrelse(4, 1);
    m.SettFaste(0, 1);
    m.SettCelle(0, 0, Utf8TilCp1252("Søye"));
    m.SettCelle(1, 0, "Far");
    m.SettCelle(2, 0, "Morfar");
    m.SettCelle(3, 0, "Mormors far");
    const QFontMetrics fm(font());
    m.SettStandardHoyde(fm.height() + 6);
    m.SettKolbredde(0, fm.horizontalAdvance("Søye 00000000") + 8);
    m.SettKolbredde(1, fm.horizontalAdvance("0000000000") + 12);
    m.SettKolbredde(2, fm.horizontalAdvance("0000000000") + 12);
    m.SettKolbredde(3, std::max(fm.horizontalAdvance("0000000000"), fm.horizontalAdvance("Mormors far")) + 12);
    Liste->setMinimumWidth(Liste->Innholdsstorrelse().width() + 2 * Liste->frameWidth() + 20);
  }

  Nummer = new QLineEdit(this);
  Nummer->setMaxLength(20);
  Far = Nummerfelt(this);
  Morfar = Nummerfelt(this);
  Mormorfar = Nummerfelt(this);
  Mormorfar->setToolTip("Faren til søyas mormor (kan stå tom)");
  LeggTil = new QPushButton("Legg &til", this);
  Endre = new QPushButton("&Endre", this);
  Fjern = new QPushButton("&Fjern", this);
  LesRegneark = new QPushButton("Les inn fra &regneark…", this);
  Lagre = new QPushButton("&Lagre", this);
  Lukk = new QPushButton("Lukk", this);
  for (QPushButton* b : {LeggTil, Endre, Fjern, LesRegneark, Lagre, Lukk}) b->setAutoDefault(false);
  LeggTil->setToolTip("Legg søya i feltene til i lista (en søye med samme nummer blir endret)");
  Endre->setToolTip("Sett feltene inn i stedet for søya på den merkede raden");
  Fjern->setToolTip("Ta de merkede søyene ut av lista");
  LesRegneark->setToolTip(
      "Les søyer fra et regneark lagret som CSV med semikolon: søyenummer;far;morfar og eventuelt mormors far");
  Lagre->setToolTip("Skriv lista til Soyer.Txt i datamappa");
  Status = new QLabel(this);
  Status->setTextFormat(Qt::PlainText);

  auto* felt = new QGridLayout;
  felt->addWidget(new QLabel("Søyenummer:", this), 0, 0);
  felt->addWidget(Nummer, 0, 1);
  felt->addWidget(new QLabel("Far (kåringsnr.):", this), 1, 0);
  felt->addWidget(Far, 1, 1);
  felt->addWidget(new QLabel("Morfar (kåringsnr.):", this), 2, 0);
  felt->addWidget(Morfar, 2, 1);
  felt->addWidget(new QLabel("Mormors far (kåringsnr.):", this), 3, 0);
  felt->addWidget(Mormorfar, 3, 1);
  auto* rettknapper = new QHBoxLayout;
  rettknapper->addWidget(LeggTil);
  rettknapper->addWidget(Endre);
  rettknapper->addWidget(Fjern);
  auto* nederst = new QHBoxLayout;
  nederst->addWidget(Lagre);
  nederst->addWidget(Lukk);
  auto* hoyre = new QVBoxLayout;
  hoyre->addLayout(felt);
  hoyre->addLayout(rettknapper);
  hoyre->addSpacing(8);
  hoyre->addWidget(LesRegneark);
  hoyre->addStretch(1);
  hoyre->addLayout(nederst);
  auto* kropp = new QHBoxLayout;
  kropp->addWidget(Liste, 1);
  kropp->addLayout(hoyre);
  auto* lag = new QVBoxLayout(this);
  lag->addLayout(kropp, 1);
  lag->addWidget(Status);

  connect(LeggTil, &QPushButton::clicked, this, &TFormSoyer::LeggTilClick);
  connect(Endre, &QPushButton::clicked, this, &TFormSoyer::EndreClick);
  connect(Fjern, &QPushButton::clicked, this, &TFormSoyer::FjernClick);
  connect(LesRegneark, &QPushButton::clicked, this, &TFormSoyer::LesRegnearkClick);
  connect(Lagre, &QPushButton::clicked, this, [this] { LagreClick(); });
  connect(Lukk, &QPushButton::clicked, this, &QWidget::close);
  connect(Liste, &TGrid::celleValgt, this, [this](int, int rad) { RadValgt(rad); });
  connect(Liste, &TGrid::celleKlikket, this, [this](int, int rad) { RadValgt(rad); });
  // Enter moves on from field to field, and from the dam's sire adds the ewe.
  connect(Nummer, &QLineEdit::returnPressed, Far, [this] { Far->setFocus(); });
  connect(Far, &QLineEdit::returnPressed, Morfar, [this] { Morfar->setFocus(); });
  // The dam's dam's sire is seldom known: Enter in the dam's sire field adds
  // the ewe as before, and so does Enter in the last field (reached by Tab).
  connect(Morfar, &QLineEdit::returnPressed, this, &TFormSoyer::LeggTilClick);
  connect(Mormorfar, &QLineEdit::returnPressed, this, &TFormSoyer::LeggTilClick);
  // A number refused when the field is left is told; the text stays to be mended.
  for (auto [felt, hva] : {std::pair{Far, "Far"}, std::pair{Morfar, "Morfar"}, std::pair{Mormorfar, "Mormors far"}})
    felt->OnExit = [this, felt, hva] {
      if (felt->feil) Melding(Nummerfeil(felt, hva));
    };

  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };
  Spor = [this](const QString& t) {
    const auto svar = Meldingsboks(this, QMessageBox::Question, windowTitle(), t,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return svar == QMessageBox::Yes ? 1 : svar == QMessageBox::No ? 0 : -1;
  };
  VelgRegneark = [this] {
    return QFileDialog::getOpenFileName(this, "Les inn søyer fra regneark",
                                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                        "Regneark lagret som CSV (*.csv *.CSV *.txt *.Txt *.TXT);;Alle filer (*)");
  };

  connect(&okt_, &TOkt::soyerEndret, this, &TFormSoyer::FilEndret);

  VisListe(-1);
  resize(std::max(560, sizeHint().width()), std::max(380, sizeHint().height()));
}

std::filesystem::path TFormSoyer::Fil() const { return SoyeFil(okt_.DataMappe()); }

void TFormSoyer::Vis() {
  if (!isVisible() && !endret_) LesFil();
  show();
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

void TFormSoyer::LesFil() {
  try {
    okt_.LesSoyer();
  } catch (const IoFeil& e) {
    soyer_.clear();
    grunnlag_.clear();
    VisListe(-1);
    Marker(false);
    Melding(QString::fromUtf8(e.what()));
    return;
  }
  soyer_ = grunnlag_ = okt_.Soyer();
  endretAndreSteder_ = false;
  VisListe(soyer_.empty() ? -1 : 0);
  Marker(false);
  if (!okt_.SoyeMeldinger().empty()) {
    QStringList l;
    for (const std::string& m : okt_.SoyeMeldinger()) l << TilQString(m);
    Melding(l.join('\n') + "\n\nDisse linjene blir ikke med når lista lagres.");
  }
}

void TFormSoyer::FilEndret() {
  if (lagrer_) return;
  if (!endret_) {
    // Nothing changed here: the list shows the file as it is now.
    const int rad = Liste->Modell().GjeldendeRad() - 1;
    soyer_ = grunnlag_ = okt_.Soyer();
    VisListe(std::min(rad, static_cast<int>(soyer_.size()) - 1));
    Marker(false);
    return;
  }
  endretAndreSteder_ = true;
  Marker(true);
}

void TFormSoyer::VisListe(int gjeldende) {
  TRutenett& m = Liste->Modell();
  m.SettRader(1 + static_cast<int>(soyer_.size()));
  for (std::size_t i = 0; i < soyer_.size(); ++i) {
    const int rad = static_cast<int>(i) + 1;
    m.SettCelle(0, rad, soyer_[i].nummer);
    m.SettCelle(1, rad, soyer_[i].far == 0 ? std::string() : IntToText(soyer_[i].far));
    m.SettCelle(2, rad, soyer_[i].morfar == 0 ? std::string() : IntToText(soyer_[i].morfar));
    m.SettCelle(3, rad, soyer_[i].mormorfar == 0 ? std::string() : IntToText(soyer_[i].mormorfar));
  }
  // The ewe column is as wide as its longest number (up to 20 characters).
  const QFontMetrics fm(Liste->font());
  int bredde = fm.horizontalAdvance("Søye 00000000") + 8;
  for (const TSoye& s : soyer_) bredde = std::max(bredde, fm.horizontalAdvance(TilQString(s.nummer)) + 8);
  m.SettKolbredde(0, bredde);
  if (gjeldende >= 0 && gjeldende < static_cast<int>(soyer_.size())) {
    m.SettGjeldende(0, gjeldende + 1);
    m.SettValg(TOmraade{0, gjeldende + 1, 0, gjeldende + 1});
    Liste->VisCelle(0, gjeldende + 1);
  }
  Liste->viewport()->update();
  Endre->setEnabled(!soyer_.empty());
  Fjern->setEnabled(!soyer_.empty());
}

void TFormSoyer::RadValgt(int rad) {
  const int i = rad - 1;
  if (i < 0 || i >= static_cast<int>(soyer_.size())) return;
  const TSoye& s = soyer_[static_cast<std::size_t>(i)];
  Nummer->setText(TilQString(s.nummer));
  Far->setText(Tall(s.far));
  Morfar->setText(Tall(s.morfar));
  Mormorfar->setText(Tall(s.mormorfar));
}

TSoye TFormSoyer::FraFeltene() const {
  TSoye s;
  s.nummer = TrimText(FraQString(Nummer->text()));
  s.far = Far->Verdi();
  s.morfar = Morfar->Verdi();
  s.mormorfar = Mormorfar->Verdi();
  return s;
}

bool TFormSoyer::Sett(const TSoye& soye, int plass) {
  // A number the fields refused would go in as unknown.
  QStringList avvistFelt = {Nummerfeil(Far, "Far"), Nummerfeil(Morfar, "Morfar"), Nummerfeil(Mormorfar, "Mormors far")};
  avvistFelt.removeAll(QString());
  const QString avvist = avvistFelt.join(' ');
  if (!avvist.isEmpty()) {
    Melding(avvist);
    return false;
  }
  const std::string feil = SoyeFeil(soye, soyer_, plass);
  if (!feil.empty()) {
    Melding(TilQString(feil));
    return false;
  }
  // A sire the register does not know is most often mistyped.
  if (TAvlsdata* avl = okt_.Register() ? &okt_.Avlsdata() : nullptr; avl && !avl->Poster().empty()) {
    const TStamtavle* stamtavle = nullptr;
    {
      const TTimeglass timeglass;
      stamtavle = &avl->Stamtavle();
    }
    if (const std::string mangler = ManglerTekst(*stamtavle, soye); !mangler.empty()) {
      if (Spor(TilQString(mangler) + " Vil du likevel ta søya med i lista?") != 1) return false;
    }
  }
  if (plass < 0) {
    soyer_.push_back(soye);
    plass = static_cast<int>(soyer_.size()) - 1;
  } else {
    soyer_[static_cast<std::size_t>(plass)] = soye;
  }
  VisListe(plass);
  Marker(true);
  return true;
}

void TFormSoyer::LeggTilClick() {
  TSoye s = FraFeltene();
  const TSoye* der = FinnSoye(soyer_, s.nummer);
  const int plass = der ? static_cast<int>(der - soyer_.data()) : -1;
  // The ewe keeps her number as the list writes it (as when read from a spreadsheet).
  if (der) s.nummer = der->nummer;
  if (!Sett(s, plass)) return;
  // Ready for the next ewe.
  Nummer->clear();
  Far->clear();
  Morfar->clear();
  Mormorfar->clear();
  Nummer->setFocus();
}

void TFormSoyer::EndreClick() {
  const int i = Liste->Modell().GjeldendeRad() - 1;
  if (i < 0 || i >= static_cast<int>(soyer_.size())) {
    Melding("Merk søya du vil endre i lista først.");
    return;
  }
  Sett(FraFeltene(), i);
}

void TFormSoyer::FjernClick() {
  const TOmraade v = Liste->Modell().Valg();
  const int fra = std::max(v.topp, 1) - 1;
  const int til = std::min(v.bunn, static_cast<int>(soyer_.size())) - 1;
  if (fra > til) return;
  soyer_.erase(soyer_.begin() + fra, soyer_.begin() + til + 1);
  VisListe(std::min(fra, static_cast<int>(soyer_.size()) - 1));
  Marker(true);
}

void TFormSoyer::LesRegnearkClick() {
  const QString fil = VelgRegneark ? VelgRegneark() : QString();
  if (fil.isEmpty()) return;
  TSoyeLesing les;
  try {
    les = LesSoyeCsv(fil.toStdString());
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
    return;
  }
  const TFletting f = FlettSoyer(soyer_, les.soyer);
  VisListe(soyer_.empty() ? -1 : static_cast<int>(soyer_.size()) - 1);
  if (f.nye + f.endret > 0) Marker(true);
  QString tekst = QString("Lest %1 søyer fra %2: %3 nye, %4 endret.")
                      .arg(les.soyer.size())
                      .arg(QFileInfo(fil).fileName())
                      .arg(f.nye)
                      .arg(f.endret);
  for (const std::string& m : les.meldinger) tekst += "\n" + TilQString(m);
  if (f.nye + f.endret > 0) tekst += "\n\nTrykk Lagre for å skrive lista til Soyer.Txt.";
  Melding(tekst);
}

bool TFormSoyer::LagreClick() {
  const auto velg = [this](const std::vector<TSoyeKonflikt>& konflikter) {
    QStringList numre;
    for (const TSoyeKonflikt& k : konflikter) numre << TilQString(k.nummer);
    return Spor(QString("Søyelista er lagret et annet sted (en annen kopi av programmet eller hornstad-cli) etter at "
                        "du åpnet den, og %1 søyer er endret både der og her: %2.\n\n"
                        "Ja: behold endringene dine for disse søyene.\nNei: behold endringene som ble lagret der.\n"
                        "Avbryt: lagre ikke nå.\n\nAndre endringer fra begge steder blir tatt med uansett.")
                    .arg(konflikter.size())
                    .arg(numre.join(", ")));
  };
  TSoyelagring r;
  lagrer_ = true;
  try {
    r = okt_.LagreSoyer(grunnlag_, soyer_, velg);
  } catch (const IoFeil& e) {
    lagrer_ = false;
    Melding(QString::fromUtf8(e.what()));
    return false;
  }
  lagrer_ = false;
  if (!r.lagret) return false;
  const int rad = Liste->Modell().GjeldendeRad() - 1;
  soyer_ = grunnlag_ = okt_.Soyer();
  endretAndreSteder_ = false;
  VisListe(std::min(rad, static_cast<int>(soyer_.size()) - 1));
  Marker(false);
  if (r.fraAndre > 0)
    Status->setText(Status->text() +
                    QString(" – lagret, med %1 endring(er) som var lagret et annet sted").arg(r.fraAndre));
  return true;
}

void TFormSoyer::Marker(bool endret) {
  endret_ = endret;
  QString t = soyer_.size() == 1 ? QString("1 søye") : QString("%1 søyer").arg(soyer_.size());
  if (endret_) t += " – endringene er ikke lagret";
  if (endret_ && endretAndreSteder_) t += " (Soyer.Txt er endret et annet sted; det flettes inn når du lagrer)";
  Status->setText(t);
  Lagre->setEnabled(endret_);
}

void TFormSoyer::closeEvent(QCloseEvent* e) {
  if (endret_) {
    const int svar = Spor("Du har endret søyelista uten å lagre. Vil du lagre endringene?");
    if (svar < 0 || (svar == 1 && !LagreClick())) {
      e->ignore();
      return;
    }
    // No: the changes go, and the file is read again at the next showing.
    if (svar == 0) endret_ = false;
  }
  e->accept();
}
