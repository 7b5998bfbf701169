#include "tdiagramflate.h"

#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "diagram.h"
#include "filer.h"
#include "lagredialog.h"
#include "melding.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "tekst.h"
#include "timeglass.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

// A file name offered for the chart: its title without what a file name
// cannot hold, and without an ending, which the type chosen gives.
QString Filforslag(const QString& tittel) {
  QString navn = tittel.section(':', 0, 0).trimmed();
  for (QChar& c : navn)
    if (c == '/' || c == '\\' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') c = ' ';
  if (navn.isEmpty()) navn = "Diagram";
  return navn.simplified();
}

}  // namespace

TDiagramflate::TDiagramflate(QWidget* parent, Qt::WindowFlags flagg) : QWidget(parent, flagg) {
  Visning = new QChartView(this);
  Visning->setRenderHint(QPainter::Antialiasing);
  Visning->setMinimumSize(480, 300);
  LagreSom = new QPushButton("&Lagre som …", this);
  LagreSom->setToolTip("Lagre diagrammet som bilde (PNG), SVG eller PDF");
  SkrivUt = new QPushButton("Skriv &ut …", this);
  SkrivUt->setToolTip("Skriv diagrammet ut på én side");
  Tallene = new QPushButton("&Tallene", this);
  Tallene->setToolTip("Vis tallene bak diagrammet i en tabell");
  for (QPushButton* b : {LagreSom, SkrivUt, Tallene}) b->setAutoDefault(false);

  auto* knapper = new QHBoxLayout;
  knapper->addWidget(LagreSom);
  knapper->addWidget(SkrivUt);
  knapper->addWidget(Tallene);
  knapper->addStretch(1);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(Visning, 1);
  lag->addLayout(knapper);

  VelgFil = [this](const QString& forslag) {
    const QString mappe = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return SporLagringsfil(this, "Lagre diagrammet", mappe + "/" + forslag, Filtyper());
  };
  VelgSkriver = [this](QPrinter& skriver) {
    QPrintDialog d(&skriver, this);
    return d.exec() == QDialog::Accepted;
  };
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, "Hornstad", t); };

  connect(LagreSom, &QPushButton::clicked, this, [this] { LagreSomClick(); });
  connect(SkrivUt, &QPushButton::clicked, this, &TDiagramflate::SkrivUtClick);
  connect(Tallene, &QPushButton::clicked, this, [this] { TalleneClick(); });
}

TDiagramflate::~TDiagramflate() = default;

void TDiagramflate::Tegn() {
  if (!Lag) return;
  std::unique_ptr<QChart> ny = Lag();
  // The view owns the new chart and lets the old one go (the first time its own empty one).
  QChart* gammel = Visning->chart();
  vist_ = ny.release();
  Visning->setChart(vist_);
  delete gammel;
}

QChart* TDiagramflate::Diagram() const { return vist_; }

std::vector<TFiltype> TDiagramflate::Filtyper() {
  return {{"PNG-bilde", {".png"}}, {"SVG-tegning", {".svg"}}, {"PDF", {".pdf"}}};
}

bool TDiagramflate::LagreSomClick() {
  if (!Lag) return false;
  const std::optional<TLagringsfil> svar = VelgFil(Filforslag(vist_ ? DiagramTittel(*vist_) : QString()));
  if (!svar || svar->fil.isEmpty()) return false;
  // The type chosen gives a name without an ending its own.
  const TLagringsfil valgt = Lagringsfil(*svar, Filtyper());
  // Only the file's own name is made safe; the folder is the user's choice.
  const QFileInfo info(valgt.fil);
  const fs::path fil = fs::path(info.absolutePath().toStdString()) / CleanFileName(info.fileName().toStdString());
  try {
    const TTimeglass timeglass;
    const std::unique_ptr<QChart> chart = Lag();
    LagreDiagram(*chart, fil);
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
    return false;
  }
  Melding("Diagrammet er lagret i " + QString::fromStdString(fil.string()) + ".");
  return true;
}

void TDiagramflate::SkrivUtClick() {
  if (!Lag) return;
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setPageLayout(DiagramSide());
  if (!VelgSkriver(skriver)) return;
  try {
    const TSkriverjobb jobb;
    const TTimeglass timeglass;
    const std::unique_ptr<QChart> chart = Lag();
    SkrivPaaSkriver(skriver, [&](QPagedPaintDevice& enhet) {
      QPainter p(&enhet);
      TegnDiagramside(*chart, enhet, p);
    });
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
  }
}

TVindu* TDiagramflate::TalleneClick() {
  if (!ListTall) return nullptr;
  auto* vindu = new TVindu(window());
  ListTall(*vindu);
  vindu->Vis();
  return vindu;
}
