#include "tformlister.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "avlvindu.h"
#include "cp1252.h"
#include "diagram.h"
#include "filer.h"
#include "lommekatalog.h"
#include "melding.h"
#include "okt.h"
#include "paringsforslag.h"
#include "register.h"
#include "sammenligning.h"
#include "slektskap.h"
#include "tafrem.h"
#include "tdiagramflate.h"
#include "tekst.h"
#include "timeglass.h"
#include "trase.h"
#include "tvindu.h"

namespace {

QLabel* Feiltekst(QWidget* forelder) {
  auto* feil = new QLabel(forelder);
  feil->setTextFormat(Qt::PlainText);
  QPalette p = feil->palette();
  p.setColor(QPalette::WindowText, Qt::red);
  feil->setPalette(p);
  feil->setWordWrap(true);
  feil->hide();
  return feil;
}

QString AntallVerer(std::size_t n) { return n == 1 ? QString("1 vær") : QString("%1 værer").arg(n); }

}  // namespace

// ---- the comparison ----

TSammenligningsvinduer VisSammenligning(TOkt& okt, const std::vector<int32_t>& nummer, QWidget* eier,
                                        const std::function<void(const QString&)>& melding) {
  if (const std::string feil = SammenligningFeil(nummer.size()); !feil.empty()) {
    melding(TilQString(feil));
    return {};
  }
  if (okt.Register() == nullptr) return {};
  TProdusent& reg = *okt.Register();
  const Trase& raser = okt.Raser();
  const TInnavl* innavl = HentInnavl(&okt.Avlsdata(), melding);
  std::vector<int32_t> ukjente;
  auto s = std::make_shared<TSammenligning>();
  {
    const TTimeglass timeglass;
    *s = Sammenlign(reg, nummer, ukjente, innavl);
  }
  if (!ukjente.empty()) {
    QStringList tall;
    for (int32_t nr : ukjente) tall << QString::number(nr);
    melding((ukjente.size() == 1 ? "Dette nummeret er ikke i registeret: " : "Disse numrene er ikke i registeret: ") +
            tall.join(", ") + ".");
  }
  if (const std::string feil = SammenligningFeil(s->verer.size()); !feil.empty()) {
    melding(TilQString(feil));
    return {};
  }
  TSammenligningsvinduer v;
  v.tabell = new TVindu(eier);
  ListSammenligning(*s, raser, *v.tabell);
  // The rams compared as a pocket catalogue, also from the chart's table.
  std::vector<int32_t> funnet;
  for (int32_t nr : nummer)
    if (std::find(ukjente.begin(), ukjente.end(), nr) == ukjente.end()) funnet.push_back(nr);
  LeggTilLommeknapp(okt, *v.tabell, funnet);
  v.diagram = new TDiagramflate(eier, Qt::Window);
  v.diagram->setAttribute(Qt::WA_DeleteOnClose);
  v.diagram->setWindowTitle("Sammenligning");
  v.diagram->Lag = [s] { return LagSammenligningsDiagram(*s); };
  v.diagram->ListTall = [s, raser = &raser, &okt, funnet](TVindu& t) {
    ListSammenligning(*s, *raser, t);
    LeggTilLommeknapp(okt, t, funnet);
  };
  v.diagram->resize(900, 600);
  v.diagram->Tegn();
  v.tabell->Vis();
  v.diagram->show();
  v.diagram->raise();
  return v;
}

TSammenlignVerer::TSammenlignVerer(const QString& numre, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Sammenlign værer");
  auto* intro = new QLabel("Skriv kåringsnumrene til 2 til 6 værer (skilt med komma eller mellomrom):", this);
  intro->setTextFormat(Qt::PlainText);
  Numre = new QLineEdit(numre, this);
  Feil = Feiltekst(this);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(intro);
  lag->addWidget(Numre);
  lag->addWidget(Feil);
  lag->addStretch(1);
  lag->addWidget(knapper);
  connect(knapper, &QDialogButtonBox::accepted, this, &TSammenlignVerer::accept);
  connect(knapper, &QDialogButtonBox::rejected, this, &TSammenlignVerer::reject);
  // Once OK has been refused, the error follows what is typed, and goes while
  // the numbers read.
  connect(Numre, &QLineEdit::textChanged, this, [this] {
    if (!provd_) return;
    std::vector<int32_t> verer;
    const std::string feil = Sjekk(verer);
    Feil->setText(TilQString(feil));
    Feil->setVisible(!feil.empty());
  });
  setMinimumWidth(intro->sizeHint().width() + 30);
}

std::string TSammenlignVerer::Sjekk(std::vector<int32_t>& verer) const {
  verer.clear();
  std::string feil = TolkNummerliste(FraQString(Numre->text()), verer);
  if (feil.empty()) feil = SammenligningFeil(verer.size());
  return feil;
}

void TSammenlignVerer::accept() {
  if (const std::string feil = Sjekk(verer_); !feil.empty()) {
    Feil->setText(TilQString(feil));
    Feil->show();
    Numre->setFocus();
    provd_ = true;
    return;
  }
  QDialog::accept();
}

// ---- a list's name ----

TVelgListe::TVelgListe(const QString& tittel, const QString& sporsmal, const QStringList& valg, const QString& forslag,
                       const QString& hjelp, TSjekk sjekk, QWidget* parent)
    : QDialog(parent), sjekk_(std::move(sjekk)) {
  setWindowTitle(tittel);
  auto* intro = new QLabel(sporsmal, this);
  intro->setTextFormat(Qt::PlainText);
  QWidget* felt = nullptr;
  if (valg.isEmpty()) {
    Linje = new QLineEdit(forslag, this);
    Linje->selectAll();
    felt = Linje;
  } else {
    Navn = new QComboBox(this);
    Navn->setEditable(true);
    Navn->setInsertPolicy(QComboBox::NoInsert);
    // A name typed is taken as typed: no completion from the choices.
    Navn->setCompleter(nullptr);
    Navn->addItems(valg);
    const int i = forslag.isEmpty() ? -1 : Navn->findText(forslag, Qt::MatchFixedString);
    Navn->setCurrentIndex(i >= 0 ? i : 0);
    Linje = Navn->lineEdit();
    felt = Navn;
  }
  intro->setBuddy(felt);
  Feil = Feiltekst(this);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Ok = knapper->button(QDialogButtonBox::Ok);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(intro);
  lag->addWidget(felt);
  if (!hjelp.isEmpty()) lag->addWidget(new QLabel(hjelp, this));
  lag->addWidget(Feil);
  lag->addStretch(1);
  lag->addWidget(knapper);
  connect(knapper, &QDialogButtonBox::accepted, this, &TVelgListe::accept);
  connect(knapper, &QDialogButtonBox::rejected, this, &TVelgListe::reject);
  connect(Linje, &QLineEdit::textChanged, this, &TVelgListe::Folg);
  setMinimumWidth(std::max(380, intro->sizeHint().width() + 30));
  Folg();
}

TVelgListe::TVelgListe(const TLister& lister, const QString& hva, const QString& forslag, QWidget* parent)
    : TVelgListe(
          "Legg i liste", "Legg " + hva + " i lista:",
          [&lister] {
            QStringList valg;
            for (const TListe& l : lister.Alle()) valg << TilQString(l.navn);
            for (const std::string& n : StandardListenavn())
              if (!lister.Finn(n)) valg << TilQString(n);
            return valg;
          }(),
          forslag, "Velg en liste, eller skriv navnet på en ny.",
          [&lister](const std::string& navn) { return lister.Finn(navn) ? std::string() : lister.NavnFeil(navn); },
          parent) {}

QString TVelgListe::Sjekk(std::string& navn) const {
  const QString tekst = Linje->text();
  navn = TrimText(FraQString(tekst));
  if (navn.empty()) return {};
  // A letter that Windows-1252 has not would be stored as '?'.
  for (const char32_t k : tekst.toUcs4())
    if (k != '?' && Cp1252FraUnicode(k) == '?')
      return "Listenavnet kan ikke inneholde «" + QString::fromUcs4(&k, 1) + "».";
  return TilQString(sjekk_ ? sjekk_(navn) : ListenavnFeil(navn));
}

void TVelgListe::Folg() {
  std::string navn;
  const QString feil = Sjekk(navn);
  Ok->setEnabled(!navn.empty() && feil.isEmpty());
  Feil->setText(feil);
  Feil->setVisible(!feil.isEmpty());
}

void TVelgListe::accept() {
  std::string navn;
  QString feil = Sjekk(navn);
  if (navn.empty()) feil = TilQString(ListenavnFeil(navn));
  if (!feil.isEmpty()) {
    Feil->setText(feil);
    Feil->show();
    Linje->setFocus();
    return;
  }
  valgt_ = navn;
  QDialog::accept();
}

bool LeggIListe(TOkt& okt, const std::vector<int32_t>& nummer, const QString& hva, QWidget* eier,
                const std::function<int(QDialog&)>& kjor, const std::function<void(const QString&)>& melding) {
  if (nummer.empty()) {
    melding("Merk værene du vil legge i en liste først.");
    return false;
  }
  try {
    okt.LesLister();
    const TLister lest = okt.Lister();
    TVelgListe d(lest, hva, TilQString(okt.SisteListe()), eier);
    if (kjor(d) != QDialog::Accepted) return false;
    const std::string navn = d.Valgt();
    std::optional<int> lagtTil;
    std::string feil;
    const TListeLesing ny = okt.EndreLister([&](TLister& l) {
      lagtTil = l.LeggTil(navn, nummer, &feil);
      return lagtTil.has_value() && (*lagtTil > 0 || !lest.Finn(navn));
    });
    if (!lagtTil) {
      melding(TilQString(feil));
      return false;
    }
    okt.SettSisteListe(navn);
    const TListe* liste = ny.lister.Finn(navn);
    const QString listenavn = "«" + TilQString(liste ? liste->navn : navn) + "»";
    if (*lagtTil == 0)
      melding(nummer.size() == 1 ? "Væren er på lista " + listenavn + " fra før."
                                 : "Værene er på lista " + listenavn + " fra før.");
    else
      melding(QString("%1 lagt i lista %2, som nå har %3.")
                  .arg(AntallVerer(static_cast<std::size_t>(*lagtTil)), listenavn,
                       AntallVerer(liste ? liste->nummer.size() : 0)));
    return *lagtTil > 0;
  } catch (const IoFeil& e) {
    melding("Lista ble ikke endret: " + QString::fromUtf8(e.what()));
    return false;
  }
}

// ---- the pocket catalogue ----

QString VelgLommefil(QWidget* eier, const QString& forslag) {
  QFileDialog dialog(eier, "Lagre lommekatalog", forslag, "Nettside (*.html *.htm)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("html");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void LeggTilLommeknapp(TOkt& okt, TVindu& vindu, const std::vector<int32_t>& nummer) {
  auto* lomme = new QAction("Lagre lommekatalog …", &vindu);
  lomme->setStatusTip("Værene i sammenligningen som én nettside for telefonen");
  TVindu* t = &vindu;
  QObject::connect(lomme, &QAction::triggered, t,
                   [&okt, nummer, t] { LagreLommekatalog(okt, nummer, LommeDialog(t)); });
  vindu.VerkT->addAction(lomme);
  vindu.Redmen->addSeparator();
  vindu.Redmen->addAction(lomme);
}

TLommeDialog LommeDialog(QWidget* eier) {
  TLommeDialog d;
  d.velgFil = [eier](const QString& forslag) { return VelgLommefil(eier, forslag); };
  d.melding = [eier](const QString& t) { Meldingsboks(eier, QMessageBox::Information, "Lommekatalog", t); };
  d.tilbyEpost = [eier](const QString& t) {
    QMessageBox boks(QMessageBox::Information, "Lommekatalog", t, QMessageBox::NoButton, eier);
    boks.setTextFormat(Qt::PlainText);
    QPushButton* send = boks.addButton("Send på e-post …", QMessageBox::ActionRole);
    boks.addButton(QMessageBox::Ok);
    boks.setDefaultButton(QMessageBox::Ok);
    boks.exec();
    return boks.clickedButton() == send;
  };
  d.bekreft = [eier](const QString& t) {
    return Meldingsboks(eier, QMessageBox::Question, "Lommekatalog", t, QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::No) == QMessageBox::Yes;
  };
  return d;
}

std::filesystem::path LagreLommekatalog(TOkt& okt, const std::vector<int32_t>& nummer, const TLommeDialog& d) {
  const auto& velgFil = d.velgFil;
  const auto& melding = d.melding;
  TProdusent* reg = okt.Register();
  if (!reg || nummer.empty()) return {};
  const QString mappe = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QString valgt = velgFil(QDir(mappe).filePath(LommekatalogFilNavn));
  if (valgt.isEmpty()) return {};
  // A name typed without the ending of a web page gets it (also one with a
  // dot of its own, "Værsalg 11.12"); a file of that name already there is
  // replaced only when the user says so, since the dialog asked about
  // another name.
  const QString endelse = QFileInfo(valgt).suffix().toLower();
  if (endelse != "html" && endelse != "htm") {
    valgt += ".html";
    if (QFileInfo::exists(valgt) && d.bekreft &&
        !d.bekreft(QString("Fila %1 finnes fra før. Vil du erstatte den?").arg(QDir::toNativeSeparators(valgt))))
      return {};
  }
  const std::filesystem::path fil = valgt.toStdString();
  try {
    TLommevalg valg;
    valg.verer = nummer;
    valg.soyer = okt.Soyer();
    valg.grense = okt.Grense();
    valg.dato = QDate::currentDate().toString("dd.MM.yyyy").toStdString();
    // The suggestion as the state object holds it (it follows the file).
    if (std::filesystem::exists(ParingsFil(okt.DataMappe()))) BrukForslag(valg, okt.Paringer());
    TLommekatalog side;
    {
      const TTimeglass timeglass;
      side = LagLommekatalog(*reg, okt.Avlsdata(), okt.Raser(), valg);
    }
    if (side.verer.empty()) {
      melding("Ingen av værene finnes i registeret; lommekatalogen ble ikke lagret.");
      return {};
    }
    SkrivTrygt(fil, side.html);
    QString t = QString("Lommekatalogen med %1 og %2 er lagret i\n%3\n\n")
                    .arg(AntallVerer(side.verer.size()))
                    .arg(valg.soyer.size() == 1 ? QString("1 søye") : QString("%1 søyer").arg(valg.soyer.size()))
                    .arg(QDir::toNativeSeparators(valgt));
    if (!side.ukjente.empty())
      t += QString("%1 av numrene finnes ikke i registeret og er ikke med.\n\n").arg(side.ukjente.size());
    t += "Send fila til deg selv med e-post, eller kopier den over til telefonen, og åpne den i nettleseren der. "
         "Den trenger ikke nett.";
    if (!d.tilbyEpost) {
      melding(t);
      return fil;
    }
    if (!d.tilbyEpost(t)) return fil;
    TEpost epost;
    epost.emne = "Lommekatalog fra Hornstad";
    epost.tekst = "Åpne vedlegget i nettleseren på telefonen. Den trenger ikke nett.";
    epost.vedlegg = fil;
    const TSendeSvar svar = d.send ? d.send(epost) : GiTilEpostprogram(epost);
    const QString sti = QDir::toNativeSeparators(valgt);
    if (svar.utfall == TSendeUtfall::Sendt)
      melding("E-postprogrammet ditt har fått lommekatalogen som vedlegg. Skriv inn adressen din der og send.");
    else if (svar.utfall == TSendeUtfall::Feil)
      melding("E-postprogrammet kunne ikke startes med vedlegget. Legg fila\n" + sti +
              "\nved en e-post til deg selv, eller kopier den over til telefonen.");
    else
      melding("Fant ikke noe e-postprogram å gi fila til (xdg-email mangler). Legg fila\n" + sti +
              "\nved en e-post til deg selv, eller kopier den over til telefonen.");
    return fil;
  } catch (const IoFeil& e) {
    melding("Lommekatalogen ble ikke lagret: " + QString::fromUtf8(e.what()));
    return {};
  }
}

// ---- the list window ----

TFormLister::TFormLister(TOkt& okt, QWidget* parent) : QWidget(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Lister");
  setObjectName("FormLister");
  auto* listeTekst = new QLabel("&Listene:", this);
  Listene = new QListWidget(this);
  listeTekst->setBuddy(Listene);
  auto* verTekst = new QLabel("&Værene på lista (merk dem du vil fjerne eller sammenligne):", this);
  Verer = new QListWidget(this);
  Verer->setSelectionMode(QAbstractItemView::ExtendedSelection);
  verTekst->setBuddy(Verer);
  VisTabell = new QPushButton("Vis i &tabell", this);
  VisTabell->setToolTip("Vis lista med katalogens tabellfelter (og Innavl % når Soyer.Txt finnes)");
  Sammenlign = new QPushButton("&Sammenlign …", this);
  Sammenlign->setToolTip("Sammenlign de merkede værene (eller hele lista) side om side, 2 til 6 værer");
  Lommekatalog = new QPushButton("Lagre l&ommekatalog …", this);
  Lommekatalog->setToolTip(
      "Lagre lista som én nettside for telefonen, med værenes kort og innavlen med søyene dine; den virker uten nett");
  Fjern = new QPushButton("&Fjern merkede", this);
  Fjern->setToolTip("Ta de merkede værene ut av lista");
  NyListe = new QPushButton("&Ny liste …", this);
  NyttNavn = new QPushButton("&Gi nytt navn …", this);
  Slett = new QPushButton("Sl&ett lista", this);
  Lukk = new QPushButton("Lukk", this);
  Status = new QLabel(this);
  Status->setTextFormat(Qt::PlainText);
  Status->setWordWrap(true);
  for (QPushButton* b : {VisTabell, Sammenlign, Lommekatalog, Fjern, NyListe, NyttNavn, Slett, Lukk})
    b->setAutoDefault(false);

  auto* venstre = new QVBoxLayout;
  venstre->addWidget(listeTekst);
  venstre->addWidget(Listene, 1);
  auto* midt = new QVBoxLayout;
  midt->addWidget(verTekst);
  midt->addWidget(Verer, 1);
  auto* knapper = new QVBoxLayout;
  for (QPushButton* b : {VisTabell, Sammenlign, Lommekatalog, Fjern}) knapper->addWidget(b);
  knapper->addSpacing(16);
  for (QPushButton* b : {NyListe, NyttNavn, Slett}) knapper->addWidget(b);
  knapper->addStretch(1);
  knapper->addWidget(Lukk);
  auto* rad = new QHBoxLayout;
  rad->addLayout(venstre, 2);
  rad->addLayout(midt, 3);
  rad->addLayout(knapper);
  auto* lag = new QVBoxLayout(this);
  lag->addLayout(rad, 1);
  lag->addWidget(Status);
  resize(760, 420);

  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, "Lister", t); };
  VelgFil = [this](const QString& forslag) { return VelgLommefil(this, forslag); };
  TilbyEpost = LommeDialog(this).tilbyEpost;
  Bekreft = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Question, "Lister", t, QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::No) == QMessageBox::Yes;
  };
  KjorDialog = [](QDialog& d) { return d.exec(); };

  connect(Listene, &QListWidget::currentRowChanged, this, [this] { VisVerer(); });
  connect(VisTabell, &QPushButton::clicked, this, [this] { VisTabellClick(); });
  connect(Listene, &QListWidget::itemDoubleClicked, this, [this] { VisTabellClick(); });
  connect(Sammenlign, &QPushButton::clicked, this, [this] { SammenlignClick(); });
  connect(Lommekatalog, &QPushButton::clicked, this, [this] { LommekatalogClick(); });
  connect(Fjern, &QPushButton::clicked, this, &TFormLister::FjernClick);
  connect(NyListe, &QPushButton::clicked, this, &TFormLister::NyListeClick);
  connect(NyttNavn, &QPushButton::clicked, this, &TFormLister::NyttNavnClick);
  connect(Slett, &QPushButton::clicked, this, &TFormLister::SlettClick);
  connect(Lukk, &QPushButton::clicked, this, &QWidget::close);
  // An open window shows the lists as they are saved, here or elsewhere,
  // and the names of a new register.
  connect(&okt_, &TOkt::listerEndret, this, [this] {
    if (isVisible()) VisLister();
  });
  connect(&okt_, &TOkt::registerLastet, this, [this] {
    if (isVisible()) VisVerer();
  });
}

const TLister& TFormLister::Lister() const { return okt_.Lister(); }

void TFormLister::Vis() {
  if (!isVisible()) {
    try {
      okt_.LesLister();
    } catch (const IoFeil& e) {
      Melding(QString::fromUtf8(e.what()));
    }
    if (!okt_.ListeMeldinger().empty()) {
      QStringList linjer;
      for (const std::string& m : okt_.ListeMeldinger()) linjer << TilQString(m);
      Melding(linjer.join("\n"));
    }
    VisLister();
  }
  TaFrem(this);
}

std::string TFormLister::Valgt() const {
  const QListWidgetItem* i = Listene->currentItem();
  return i ? FraQString(i->data(Qt::UserRole).toString()) : std::string();
}

void TFormLister::VisLister() { VisListene(Valgt()); }

void TFormLister::VisListene(const std::string& velg) {
  const QSignalBlocker b(Listene);
  Listene->clear();
  const TLister& lister = okt_.Lister();
  int rad = lister.Tom() ? -1 : 0;
  for (const TListe& l : lister.Alle()) {
    auto* item = new QListWidgetItem(TilQString(l.navn) + "  (" + AntallVerer(l.nummer.size()) + ")", Listene);
    item->setData(Qt::UserRole, TilQString(l.navn));
    if (!velg.empty() && SammeListenavn(l.navn, velg)) rad = Listene->count() - 1;
  }
  Listene->setCurrentRow(rad);
  VisVerer();
}

void TFormLister::VisVerer() {
  // The rams marked stay marked when the list is shown again.
  std::vector<int32_t> merket = Merkede();
  Verer->clear();
  const TListe* liste = okt_.Lister().Finn(Valgt());
  TProdusent* reg = okt_.Register();
  if (liste && reg) {
    for (int32_t nr : liste->nummer) {
      const TVerPost ver = reg->LesNummer(nr);
      const QString navn =
          ver.Nummer == nr ? TilQString(NameCase(TrimText(ver.Navn.Verdi()))) : QString("(ikke i registeret)");
      auto* item = new QListWidgetItem(QString("%1  %2").arg(nr).arg(navn), Verer);
      item->setData(Qt::UserRole, nr);
      item->setSelected(std::find(merket.begin(), merket.end(), nr) != merket.end());
    }
  }
  const bool har = liste != nullptr;
  for (QPushButton* b : {VisTabell, Sammenlign, Lommekatalog, Fjern, NyttNavn, Slett}) b->setEnabled(har);
  Status->setText(okt_.Lister().Tom() ? QString("Ingen lister ennå. Legg værer i en liste fra væroppslaget eller "
                                                "katalogens tabell, eller lag en ny liste her.")
                  : har               ? TilQString(ListeTittel(*liste))
                                      : QString());
}

std::vector<int32_t> TFormLister::Merkede() const {
  std::vector<int32_t> nummer;
  for (int i = 0; i < Verer->count(); ++i)
    if (Verer->item(i)->isSelected()) nummer.push_back(Verer->item(i)->data(Qt::UserRole).toInt());
  return nummer;
}

bool TFormLister::Endre(const std::function<bool(TLister&)>& endre) {
  try {
    okt_.EndreLister(endre);
    return true;
  } catch (const IoFeil& e) {
    Melding("Lista ble ikke endret: " + QString::fromUtf8(e.what()));
    return false;
  }
}

TVindu* TFormLister::VisTabellClick() {
  const TListe* liste = okt_.Lister().Finn(Valgt());
  TProdusent* reg = okt_.Register();
  if (!liste || !reg) return nullptr;
  // "Innavl %" with the breeder's ewes, when there are any.
  std::unique_ptr<TInnavlSnitt> innavl;
  if (!okt_.Soyer().empty() && HentInnavl(&okt_.Avlsdata(), Melding)) {
    const TTimeglass timeglass;
    innavl = ListeInnavl(okt_.Avlsdata(), okt_.Soyer());
  }
  auto* vindu = new TVindu(parentWidget());
  ListListe(*liste, *reg, ListeFelt(okt_.Innstillinger()), innavl.get(), *vindu);
  vindu->Vis();
  return vindu;
}

TSammenligningsvinduer TFormLister::SammenlignClick() {
  const TListe* liste = okt_.Lister().Finn(Valgt());
  if (!liste || !okt_.Register()) return {};
  std::vector<int32_t> nummer = Merkede();
  if (nummer.empty()) nummer = liste->nummer;
  return VisSammenligning(okt_, nummer, parentWidget(), Melding);
}

std::filesystem::path TFormLister::LommekatalogClick() {
  const TListe* liste = okt_.Lister().Finn(Valgt());
  if (!liste || !okt_.Register()) return {};
  if (liste->nummer.empty()) {
    Melding("Lista er tom; legg værer i den først.");
    return {};
  }
  TLommeDialog d;
  d.velgFil = VelgFil;
  d.melding = Melding;
  d.tilbyEpost = TilbyEpost;
  d.send = SendEpost;
  d.bekreft = Bekreft;
  // The marked rams when more than one is marked, as the catalogue's table.
  std::vector<int32_t> nummer = Merkede();
  if (nummer.size() < 2) nummer = liste->nummer;
  return LagreLommekatalog(okt_, nummer, d);
}

void TFormLister::FjernClick() {
  const std::string navn = Valgt();
  const std::vector<int32_t> nummer = Merkede();
  if (navn.empty()) return;
  if (nummer.empty()) {
    Melding("Merk værene du vil ta ut av lista først.");
    return;
  }
  int fjernet = 0;
  if (Endre([&](TLister& l) { return (fjernet = l.Fjern(navn, nummer)) > 0; })) VisListene(navn);
  Status->setText(QString("%1 tatt ut av lista.").arg(AntallVerer(static_cast<std::size_t>(fjernet))));
}

void TFormLister::NyListeClick() {
  TVelgListe d(
      "Ny liste", "Navnet på den nye lista:", {}, QString(), QString(),
      [this](const std::string& navn) { return okt_.Lister().NavnFeil(navn); }, this);
  if (KjorDialog(d) != QDialog::Accepted) return;
  const std::string navn = d.Valgt();
  std::string feil;
  if (Endre([&](TLister& l) { return (feil = l.Ny(navn)).empty(); })) {
    if (!feil.empty()) Melding(TilQString(feil));
    VisListene(navn);
  }
}

void TFormLister::NyttNavnClick() {
  const std::string gammelt = Valgt();
  if (gammelt.empty()) return;
  TVelgListe d(
      "Gi nytt navn", "Nytt navn på lista «" + TilQString(gammelt) + "»:", {}, TilQString(gammelt), QString(),
      [this, gammelt](const std::string& navn) { return okt_.Lister().NavnFeil(navn, gammelt); }, this);
  if (KjorDialog(d) != QDialog::Accepted) return;
  const std::string nytt = d.Valgt();
  std::string feil;
  if (Endre([&](TLister& l) { return (feil = l.GiNyttNavn(gammelt, nytt)).empty(); })) {
    if (!feil.empty()) Melding(TilQString(feil));
    VisListene(feil.empty() ? nytt : gammelt);
  }
}

void TFormLister::SlettClick() {
  const std::string navn = Valgt();
  if (navn.empty()) return;
  if (!Bekreft("Vil du slette lista «" + TilQString(navn) + "»?")) return;
  if (Endre([&](TLister& l) { return l.Slett(navn); })) VisListene({});
}
