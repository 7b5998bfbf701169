#include "tformparingsplan.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "avlvindu.h"
#include "cp1252.h"
#include "felt.h"
#include "slektskap.h"
#include "tekst.h"
#include "timeglass.h"
#include "tvindu.h"

TVelgVerer::TVelgVerer(const std::vector<int32_t>& katalog, const QString& numre, std::size_t soyer, QWidget* parent)
    : QDialog(parent), katalog_(katalog) {
  setWindowTitle("Paringsplan");
  auto* intro = new QLabel(QString("Paringsplanen får en rad for hver av de %1 søyene i Soyer.Txt\n"
                                   "og en kolonne for hver vær. Hvilke værer skal være med?")
                               .arg(soyer),
                           this);
  FraKatalog = new QRadioButton(
      katalog_.empty() ? QString("Værene i katalogens siste utvalg (katalogen har ikke gjort noe utvalg ennå)")
                       : QString("Værene i katalogens siste utvalg (%1 værer)").arg(katalog_.size()),
      this);
  FraKatalog->setEnabled(!katalog_.empty());
  Egne = new QRadioButton("Disse kåringsnumrene (skilt med komma eller mellomrom):", this);
  Numre = new QLineEdit(numre, this);
  Feil = new QLabel(this);
  Feil->setTextFormat(Qt::PlainText);
  QPalette p = Feil->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  Feil->setPalette(p);
  Feil->hide();
  (katalog_.empty() || !numre.isEmpty() ? Egne : FraKatalog)->setChecked(true);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(intro);
  lag->addSpacing(6);
  lag->addWidget(FraKatalog);
  lag->addWidget(Egne);
  lag->addWidget(Numre);
  lag->addWidget(Feil);
  lag->addStretch(1);
  lag->addWidget(knapper);
  connect(knapper, &QDialogButtonBox::accepted, this, &TVelgVerer::accept);
  connect(knapper, &QDialogButtonBox::rejected, this, &TVelgVerer::reject);
  // Typing numbers chooses them.
  connect(Numre, &QLineEdit::textEdited, Egne, [this] { Egne->setChecked(true); });
  // Once OK has been refused, the error follows what is typed and chosen, and
  // goes while the numbers read.
  const auto folg = [this] {
    if (!provd_) return;
    std::vector<int32_t> verer;
    const std::string feil = Sjekk(verer);
    Feil->setText(TilQString(feil));
    Feil->setVisible(!feil.empty());
  };
  connect(Numre, &QLineEdit::textChanged, this, folg);
  connect(FraKatalog, &QRadioButton::toggled, this, folg);
  setMinimumWidth(std::max(460, FraKatalog->sizeHint().width() + 30));
  // With the numbers chosen, what is typed goes into their field.
  if (Egne->isChecked()) Numre->setFocus();
}

std::string TVelgVerer::Sjekk(std::vector<int32_t>& verer) const {
  if (FraKatalog->isChecked()) {
    verer = katalog_;
    return {};
  }
  verer.clear();
  std::string feil = TolkNummerliste(FraQString(Numre->text()), verer);
  if (verer.empty() && feil.empty()) feil = Utf8TilCp1252("Skriv minst ett kåringsnummer.");
  return feil;
}

void TVelgVerer::accept() {
  if (const std::string feil = Sjekk(verer_); !feil.empty()) {
    Feil->setText(TilQString(feil));
    Feil->show();
    Numre->setFocus();
    provd_ = true;
    return;
  }
  QDialog::accept();
}

TVindu* VisParingsplan(TAvlsdata* avl, const std::vector<TSoye>& soyer, const std::vector<int32_t>& verer,
                       double grense, QWidget* eier, const std::function<void(const QString&)>& melding,
                       const std::function<void(const std::vector<int32_t>&)>& forslag) {
  const TInnavl* innavl = HentInnavl(avl, melding);
  if (innavl == nullptr) return nullptr;
  TParingsplan plan;
  {
    const TTimeglass timeglass;
    plan = LagParingsplan(*innavl, soyer, verer);
  }
  QStringList ukjente;
  for (int32_t nr : plan.ukjente) ukjente << QString::number(nr);
  if (plan.verer.empty()) {
    melding("Ingen av værene er i registeret: " + ukjente.join(", ") + ".");
    return nullptr;
  }
  auto* vindu = new TVindu(eier);
  ListParingsplan(plan, grense, *vindu);
  if (forslag) {
    QAction* a = vindu->VerkT->addAction("Paringsforslag …");
    a->setToolTip("Den beste væren til hver søye blant værene i planen");
    QObject::connect(a, &QAction::triggered, vindu, [forslag, verer = plan.verer] { forslag(verer); });
  }
  vindu->Vis();
  if (!ukjente.isEmpty())
    melding((ukjente.size() == 1 ? "Dette nummeret er ikke i registeret og er ikke med i planen: "
                                 : "Disse numrene er ikke i registeret og er ikke med i planen: ") +
            ukjente.join(", ") + ".");
  return vindu;
}
