#include "tformles.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "cp1252.h"
#include "filer.h"
#include "lamimport.h"
#include "melding.h"
#include "ramimport.h"
#include "tekst.h"
#include "tformnedlast.h"

namespace fs = std::filesystem;

namespace {

void Tegn(QWidget* w) {
  w->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

TFormLes::TFormLes(QWidget* parent) : QDialog(parent), Aar(QDate::currentDate().year()) {
  setWindowTitle("Lese nye data");
  setModal(true);

  ButtonNett = new QPushButton("1 Hente lammedata fra nettet", this);
  Apne = new QPushButton("2 Åpne arkiv med data", this);
  Apne->setEnabled(false);
  LesDet = new QPushButton("3  Les inn data", this);
  Lukk = new QPushButton("Avbryt uten å hente", this);
  Label2 = new QLabel("Merk fylker du vil ha", this);
  ListFant = new QListWidget(this);
  ListFant->setMinimumSize(180, 200);
  Label2->setBuddy(ListFant);
  LForklar = new QLabel(this);
  LForklar->setTextFormat(Qt::PlainText);
  LForklar->setWordWrap(true);
  LForklar->setMinimumHeight(2 * LForklar->fontMetrics().height() + 4);
  Lifylk = new QListWidget(this);
  for (const std::string& t : LammeFylker()) Lifylk->addItem(TilQString(t));
  Lifylk->hide();
  Animer = new QProgressBar(this);
  Animer->setRange(0, 0);
  Animer->setTextVisible(false);
  Animer->setMaximumHeight(12);
  Animer->hide();

  auto* knapper = new QVBoxLayout;
  for (QPushButton* b : {ButtonNett, Apne, LesDet}) knapper->addWidget(b);
  knapper->addStretch();
  knapper->addWidget(Lukk);
  auto* liste = new QVBoxLayout;
  liste->addWidget(Label2);
  liste->addWidget(ListFant, 1);
  auto* rad = new QHBoxLayout;
  rad->addLayout(knapper);
  rad->addLayout(liste, 1);
  auto* lag = new QVBoxLayout(this);
  lag->addLayout(rad, 1);
  lag->addWidget(LForklar);
  lag->addWidget(Animer);

  Bekreft = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Question, "Hornstad", t, QMessageBox::Ok | QMessageBox::Cancel,
                        QMessageBox::Ok) == QMessageBox::Ok;
  };
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, "Hornstad", t); };
  Feilmelding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Critical, "Hornstad", t); };
  VelgArkiv = [this] {
    return QFileDialog::getOpenFileName(this, "Åpne arkiv med data", "*.Zip",
                                        "Zip-pakkede filer (*.Zip *.zip *.ZIP);;Alle filer (*)");
  };

  connect(ButtonNett, &QPushButton::clicked, this, &TFormLes::ButtonNettClick);
  connect(Apne, &QPushButton::clicked, this, &TFormLes::ApneClick);
  connect(LesDet, &QPushButton::clicked, this, &TFormLes::LesDetClick);
  connect(Lukk, &QPushButton::clicked, this, &TFormLes::LukkClick);
  connect(ListFant, &QListWidget::itemChanged, this, &TFormLes::ListFantEndret);
}

TFormLes1::TFormLes1(QWidget* parent) : TFormLes(parent) { SettFullt(false); }

void TFormLes1::SettFullt(bool fullt) {
  setWindowTitle(fullt ? "Lese nye data" : "Lese inn værer");
  LesDet->setText(fullt ? "3  Les inn data" : "Les inn værene");
  Label2->setVisible(fullt);
  ListFant->setVisible(fullt);
  apneFraStart_ = fullt;
}

bool TFormLes::RunReadingWindow() {
  lest_ = false;
  FormShow();
  exec();
  if (!lest_) {
    lammeliste_.clear();
    lammeliste_.shrink_to_fit();
  }
  return lest_;
}

void TFormLes::Vis() {
  FormShow();
  show();
  raise();
  activateWindow();
}

void TFormLes::FormShow() {
  LForklar->clear();
  Lukk->setText("Avbryt uten å hente");
  Lukk->setEnabled(true);
  utpakket_.clear();
  valgteFylker_.clear();
  LesDet->setEnabled(false);
  Apne->setEnabled(apneFraStart_);
  ListFant->clear();
  Lifylk->hide();
}

void TFormLes::ButtonNettClick() {
  if (!Bekreft(QString::fromUtf8(NedlastingSporsmal)) || !FormNedlast) return;
  const QString adresse = Adresse ? Adresse() : QString();
  const std::string url = (adresse + QString::fromStdString(LammeArkivSti(Aar))).toStdString();
  if (!FormNedlast->DownloadFile(url, DataMappe / LammeArkivNavn, 0)) return;
  const bool var = Apne->isEnabled();
  Apne->setEnabled(true);
  ApneClick();
  Apne->setEnabled(var);
}

void TFormLes::ApneClick() {
  ListFant->clear();
  valgteFylker_.clear();
  fs::path arkiv = FinnFil(DataMappe, LammeArkivNavn);
  std::error_code ec;
  const bool lastetNed = fs::is_regular_file(arkiv, ec);
  if (!lastetNed) {
    const QString valgt = VelgArkiv ? VelgArkiv() : QString();
    if (valgt.isEmpty() || !fs::is_regular_file(fs::path(valgt.toStdString()), ec)) {
      LesDet->setEnabled(false);
      return;
    }
    arkiv = fs::path(valgt.toStdString());
  }
  arkivNavn_ = QString::fromStdString(arkiv.filename().string());

  TUtpakking u;
  try {
    u = PakkUtLammearkiv(arkiv, DataMappe / UtpakkMappe);
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
    LesDet->setEnabled(false);
    return;
  }
  if (u.filer.empty()) Melding("Ingen aktuelle filer funnet");
  {
    const QSignalBlocker stille(ListFant);
    for (const std::string& fylke : u.fylker) {
      auto* item = new QListWidgetItem(TilQString(fylke), ListFant);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
  }
  utpakket_.insert(utpakket_.end(), u.filer.begin(), u.filer.end());
  LesDet->setEnabled(!u.filer.empty());
  // The downloaded archive has done its work; an archive the user chose
  // elsewhere is the user's own file and stays.
  if (lastetNed) fs::remove(arkiv, ec);
  if (ListFant->count() > 1) LForklar->setText("Merk de fylkene du trenger og deretter: Les inn data.");
}

void TFormLes::ListFantEndret() {
  bool noen = false;
  for (int i = 0; i < ListFant->count(); ++i) noen |= ListFant->item(i)->checkState() == Qt::Checked;
  LesDet->setEnabled(noen);
}

void TFormLes::LesDetClick() {
  std::vector<int> fylker;
  bool valgt = false;
  for (int i = 0; i < ListFant->count(); ++i) {
    const QListWidgetItem* item = ListFant->item(i);
    valgt |= item->isSelected();
    if (item->checkState() != Qt::Checked) continue;
    valgt = true;
    fylker.push_back(static_cast<int>(TextToInt(FraQString(item->text()))));
  }
  Animer->show();
  lest_ = true;
  lammeliste_.clear();  // the summaries of a reading before go as this one starts
  LForklar->setText("Leser nå inn alle lamma, vent på melding");
  Tegn(LForklar);
  Lukk->setEnabled(false);
  try {
    TLesing r = LesLamOgMedlemmer(fylker, valgt, DataMappe / UtpakkMappe, DataMappe, Aar, [this] {
      LForklar->setText("Leser nå inn alle medlemmene, vent på melding");
      Tegn(LForklar);
    });
    valgteFylker_ = r.valgteFylker;
    lammeliste_ = std::move(r.lammeliste);
    lest_ = r.lest;
    LesDet->setEnabled(false);
    LForklar->setText("Ferdig med lesing.");
    Lukk->setText("Lukk, ferdig med å lese");
  } catch (const IoFeil& e) {
    // The message says what became of the lamb and producer files.
    lest_ = false;
    lammeliste_.clear();
    LForklar->clear();
    Feilmelding(QString::fromUtf8(e.what()));
  }
  Animer->hide();
  Lukk->setEnabled(true);
}

void TFormLes::RyddOpp() {
  SlettUtpakkede(utpakket_);
  utpakket_.clear();
}

void TFormLes::LukkClick() {
  RyddOpp();
  done(lest_ ? QDialog::Accepted : QDialog::Rejected);
}

void TFormLes::reject() {
  // While reading, the window cannot be closed.
  if (!Lukk->isEnabled()) return;
  RyddOpp();
  QDialog::reject();
}
