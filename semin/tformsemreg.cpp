#include "tformsemreg.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "avlvindu.h"
#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "gridutskrift.h"
#include "melding.h"
#include "okt.h"
#include "paringsforslag.h"
#include "register.h"
#include "seminfil.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "slektskap.h"
#include "tekst.h"
#include "tgrid.h"

namespace {

void Farg(QLineEdit* felt, const QColor& farge) {
  QPalette p = felt->palette();
  p.setColor(QPalette::Base, farge);
  felt->setPalette(p);
}

const std::pair<const char*, const char*> Hjelpetekster[] = {
    {"Komme igang",
     "Først skrives rett produsent og inseminørnummer. Feltene er røde før godkjent nummer er skrevet. Klikk "
     "Ny/Hente. Inseminørnavn dukker opp når rett nummer er skrevet. Neste gang du kommer inn og skal skrive mer, "
     "skriver du produsentnummer og trykker Ny/Hente for å hente opp det du allerede har skrevet."},
    {"Sende for flere",
     "Du kan skrive for flere produsenter. Skriv produsentnummer og trykk Ny/Hente. Har du allerede skrevet noe "
     "hentes det. Ellers opprettes en ny produsent. Klikk Lagre før du bytter. Har du røde felter, rett opp å "
     "lagre igjen."},
    {"Utfylling",
     "Alle felter utenom omløp MÅ fylles ut. Felter med feil blir røde. Du trenger ikke skrive årstall i dato, det "
     "fyller programmet ut selv. Hold musepekeren over kolonne for å se hva som skal stå i de enkelte feltene."},
    {"Kåringsnummer",
     "Kåringsnummer må skrives med alle siffer (9 fra år 2000) Programmet sjekker værnummer mot værene i basen og "
     "gir rødt felt hvis den ikke er med som semin. Gjentas nummer på neste sau, vil autoutfyll virke."},
    {"Innsending",
     "Det skal kun sendes en gang per produsent. Innsending foregår med egen knapp som blir tilgjengelig 18 dager "
     "etter siste inseminering slik at omløp kan kontrolleres hvis du har minst 3 linjer registrert. Ditt "
     "e-postsystem må være oppegående da posten automatisk legges der. (F.eks. Outlook Express). Sending via "
     "Webmail må gjøres manuelt."},
};

// The count panel before anything is fetched.
const char* const AntallTittel = "Ant";

}  // namespace

TFormSemReg::TFormSemReg(TOkt& okt, QWidget* parent) : QMainWindow(parent, Qt::Window), okt_(okt) {
  setWindowTitle("Registrer inseminering");
  // The metric twin of the small sans-serif font the layout was made for.
  QFont f("Liberation Sans");
  f.setPixelSize(11);
  setFont(f);
  auto* midt = new QWidget(this);
  EprodNr = new QLineEdit(midt);
  EsemNr = new QLineEdit(midt);
  Ssemar = new QSpinBox(midt);
  Ssemar->setRange(SemaarFra, SemaarTil());
  Bhent = new QPushButton("Ny / Hent", midt);
  Blagre = new QPushButton("Lagre", midt);
  Lnav = new QLabel(TilQString(LnavFeilInseminor), midt);
  Lnav->setTextFormat(Qt::PlainText);
  QFont f13 = Lnav->font();
  f13.setPixelSize(13);
  Lnav->setFont(f13);
  Bsende = new QPushButton("Send som e-post", midt);
  Button1 = new QPushButton("Utskrift", midt);
  Bhjelp1 = new QPushButton("?", midt);
  Bhjelp1->setFont(f13);
  Bhjelp1->setFixedWidth(25);
  for (QPushButton* b : {Bhent, Blagre, Bsende, Button1, Bhjelp1}) b->setAutoDefault(false);

  Panel1 = new QWidget(midt);
  auto* hode = new QGridLayout(Panel1);
  hode->setContentsMargins(0, 0, 0, 0);
  hode->addWidget(new QLabel("Produsentnummer 10 siffer", midt), 0, 0);
  hode->addWidget(new QLabel("Inseminørnummer", midt), 0, 1);
  hode->addWidget(new QLabel("Seminår", midt), 0, 2);
  hode->addWidget(EprodNr, 1, 0);
  hode->addWidget(EsemNr, 1, 1);
  hode->addWidget(Ssemar, 1, 2);
  hode->addWidget(Bhent, 0, 3);
  hode->addWidget(Blagre, 1, 3);
  hode->addWidget(Lnav, 0, 4, 1, 3);
  hode->addWidget(Bsende, 1, 4);
  hode->addWidget(Button1, 1, 5);
  hode->addWidget(Bhjelp1, 1, 6);

  GriSem = new TGrid(midt);
  GriSem->Redigerbar = true;
  GriSem->TabMellomCeller = true;
  GriSem->EnterFlytterHoyre = true;
  GriSem->Linjefarge = QColor(192, 192, 192);
  OppsettGrid(GriSem->Modell());
  {
    // Each column at least as wide as its longest title word and, for the
    // dates, a whole date; titles wrap in the tall header row.
    const QFontMetrics fm(font());
    TRutenett& g = GriSem->Modell();
    for (int k = 0; k < g.Kolonner(); ++k) {
      int bredde = g.Kolbredde(k);
      for (const QString& ord :
           TilQString(SemKolonner[static_cast<std::size_t>(k)].tittel).split(' ', Qt::SkipEmptyParts))
        bredde = std::max(bredde, fm.horizontalAdvance(ord) + 6);
      if (k == KolBrunstDato || k == KolSemDato || k == KolOmlop)
        bredde = std::max(bredde, fm.horizontalAdvance("00/00/0000") + 8);
      g.SettKolbredde(k, bredde);
    }
  }
  // The ram check asks the register of the moment: the main window replaces
  // its register after an import.
  Semin.Ver = [this](int32_t nummer) -> std::optional<TSemVer> {
    TProdusent* reg = okt_.Register();
    if (reg == nullptr) return std::nullopt;
    return VerOppslagFra(*reg)(nummer);
  };
  GriSem->Valider = [this](int kol, int rad, std::string& tekst) {
    bool gyldig = true;
    const TSemSjekk sjekk = GriSemCellValidate(Semin, GriSem->Modell(), kol, rad, tekst, gyldig);
    Bsende->setEnabled(false);
    Lnav->setText(TilQString(Semin.Lnav));
    for (const std::string& m : sjekk.meldinger) Melding(TilQString(m));
    if (kol == KolVer || kol == KolSoye) VisInnavl(rad, true);
    return gyldig;
  };
  GriSem->TegnCelle = [this](QPainter&, TCelleTegning& c) {
    // On the white or red of a data cell the text keeps its ordinary colour,
    // also in the selected cell.
    if (const auto farge = CelleFarge(GriSem->Modell(), c.kol, c.rad)) {
      c.bakgrunn = *farge;
      c.tekstfarge = GriSem->palette().color(QPalette::Text);
    }
  };
  GriSem->Hint = [](int kol, int) {
    return kol >= 0 && kol < SemAntKol ? TilQString(SemKolonner[static_cast<std::size_t>(kol)].hint) : QString();
  };
  connect(GriSem, &TGrid::celleValgt, this, [this](int kol, int rad) {
    // The ram number is missed in the row the cursor left.
    const int forrige = forrigeRad_ < GriSem->Modell().Rader() ? forrigeRad_ : rad;
    if (rad != forrigeRad_) VisInnavl(rad, false);
    forrigeRad_ = rad;
    const QString hint = TilQString(VelgCelle(GriSem->Modell(), kol, rad, forrige));
    // A notice stays while its row is typed on.
    if (merknad_.isEmpty() || rad != merknadRad_) VisStatus(hint);
    GriSem->viewport()->update();
  });
  connect(GriSem, &TGrid::forlatt, this, [this] {
    ForlatGrid(Semin);
    Lnav->setText(TilQString(Semin.Lnav));
  });

  auto* lag = new QVBoxLayout(midt);
  lag->addWidget(Panel1);
  lag->addWidget(GriSem, 1);
  setCentralWidget(midt);
  Panel[0] = new QLabel(AntallTittel, this);
  Panel[0]->setMinimumWidth(50);
  Panel[1] = new QLabel("Hint", this);
  Panel[1]->setTextFormat(Qt::PlainText);
  Panel[1]->setMinimumWidth(200);
  // A long notice takes a second line rather than being cut off.
  Panel[1]->setWordWrap(true);
  statusBar()->addWidget(Panel[0]);
  statusBar()->addWidget(Panel[1], 1);
  Innavl = new QLabel(this);
  Innavl->setTextFormat(Qt::PlainText);
  Innavl->hide();
  statusBar()->addWidget(Innavl);

  Hjelpemeny = new QMenu(this);
  for (const auto& [tittel, tekst] : Hjelpetekster) {
    Hjelpemeny->addAction(QString::fromUtf8(tittel), this, [this, tittel = tittel, tekst = tekst] {
      VisHjelp(QString::fromUtf8(tittel), QString::fromUtf8(tekst));
    });
  }

  Spor = [this](const QString& t, bool medAvbryt) {
    const auto svar = Meldingsboks(
        this, QMessageBox::Warning, windowTitle(), t,
        medAvbryt ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Yes | QMessageBox::No);
    return svar == QMessageBox::Yes ? 1 : svar == QMessageBox::No ? 0 : -1;
  };
  SporJaNei = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Question, windowTitle(), t, QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::No) == QMessageBox::Yes;
  };
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };

  connect(Ssemar, &QSpinBox::valueChanged, this, [this](int aar) { Semin.Semaar = aar; });
  connect(EprodNr, &QLineEdit::textChanged, this, [this] { HodeEndret(true); });
  connect(EsemNr, &QLineEdit::textChanged, this, [this] { HodeEndret(false); });
  connect(Bhent, &QPushButton::clicked, this, &TFormSemReg::HenteClick);
  connect(Blagre, &QPushButton::clicked, this, &TFormSemReg::LagreClick);
  connect(Bsende, &QPushButton::clicked, this, &TFormSemReg::BsendeClick);
  connect(Button1, &QPushButton::clicked, this, &TFormSemReg::Button1Click);
  connect(Bhjelp1, &QPushButton::clicked, this, [this] {
    QWidget* aktiv = window();
    Hjelpemeny->popup(aktiv->frameGeometry().topLeft() + QPoint(320, 62));
  });
  for (QWidget* w : {static_cast<QWidget*>(EprodNr), static_cast<QWidget*>(EsemNr), static_cast<QWidget*>(Ssemar)})
    w->installEventFilter(this);
  // A press anywhere on the year field counts: its arrows and its text.
  if (auto* aarTekst = Ssemar->findChild<QLineEdit*>()) aarTekst->installEventFilter(this);
  Panel1->installEventFilter(this);
  resize(640, 360);
  setMinimumSize(613, 300);
  setMaximumWidth(std::max(700, GriSem->Innholdsstorrelse().width() + 40));
  resize(std::min(maximumWidth(), GriSem->Innholdsstorrelse().width() + 40), 360);
}

bool TFormSemReg::BeggeGode() const {
  const std::string prod = FraQString(EprodNr->text());
  const std::string sem = FraQString(EsemNr->text());
  TSemin kopi = Semin;
  return prod.size() == 10 && CheckDigitOk(prod) && SjekkInseminor(kopi, TextToInt(sem));
}

void TFormSemReg::HodeEndret(bool prodNr) {
  FinnGodkjente();
  Semin.ProdNr = FraQString(EprodNr->text());
  Semin.SemNr = FraQString(EsemNr->text());
  const THodeFarger f = EprodNrChange(Semin, prodNr);
  if (f.prodNr) Farg(EprodNr, *f.prodNr);
  if (f.semNr) Farg(EsemNr, *f.semNr);
  VisLnav();
  Blagre->setEnabled(false);
  VisHodeGrunn(prodNr);
}

void TFormSemReg::VisLnav() {
  Lnav->setText(TilQString(Semin.Lnav));
  QPalette p = Lnav->palette();
  p.setColor(QPalette::WindowText, Semin.LnavFarge == TLnavFarge::Rod    ? QColor(Qt::red)
                                   : Semin.LnavFarge == TLnavFarge::Blaa ? QColor(Qt::blue)
                                                                         : palette().color(QPalette::WindowText));
  Lnav->setPalette(p);
}

void TFormSemReg::VisHodeGrunn(bool prodNr) {
  // The field just changed first, then the other one, when it is red.
  const auto rod = [](QLineEdit* felt) { return felt->palette().color(QPalette::Base) == FeltLysRod; };
  const auto grunn = [this](bool prod) {
    return prod ? ProdNrGrunn(FraQString(EprodNr->text()))
                : SemNrGrunn(Semin, FraQString(EsemNr->text()), godkjentFil_.string(), Datamappe().string());
  };
  std::string tekst;
  for (const bool prod : {prodNr, !prodNr})
    if (tekst.empty() && rod(prod ? EprodNr : EsemNr)) tekst = grunn(prod);
  VisStatus(TilQString(tekst));
}

void TFormSemReg::VisStatus(const QString& tekst) {
  merknad_.clear();
  Panel[1]->setText(tekst);
  Panel[1]->setToolTip(tekst);
}

void TFormSemReg::VisMerknad(const QString& tekst, int rad) {
  VisStatus(tekst);
  merknad_ = tekst;
  merknadRad_ = rad;
}

void TFormSemReg::VisHjelp(const QString& tittel, const QString& tekst) {
  if (Hjelpevindu == nullptr) {
    Hjelpevindu = new QMessageBox(QMessageBox::Information, QString(), QString(), QMessageBox::Close, this);
    Hjelpevindu->setWindowModality(Qt::NonModal);
  }
  Hjelpevindu->setWindowTitle("Hjelp: " + tittel);
  Hjelpevindu->setText(tekst);
  Hjelpevindu->show();
  Hjelpevindu->raise();
  Hjelpevindu->activateWindow();
}

std::filesystem::path TFormSemReg::Datamappe() const { return okt_.DataMappe(); }

void TFormSemReg::FinnGodkjente() {
  // The list is read once it is found; until then it is looked for again at
  // every check, so that a list put in the data folder while the window is
  // open counts at once.
  if (godkjenteLest_) return;
  godkjentFil_ = FinnGodkjentFil(Datamappe());
  if (godkjentFil_.empty()) return;
  godkjenteLest_ = true;
  try {
    Semin.Godkjente = LesGodkjente(godkjentFil_);
  } catch (const IoFeil& e) {
    godkjentFil_.clear();
    Melding(QString::fromUtf8(e.what()));
  }
}

void TFormSemReg::Nullstill() {
  FinnGodkjente();
  ::Nullstill(Semin, GriSem->Modell());
  {
    const QSignalBlocker b1(EprodNr), b2(EsemNr);
    EprodNr->clear();
    EsemNr->clear();
  }
  Bsende->setEnabled(false);
  Ssemar->setRange(SemaarFra, SemaarTil());
  forrigeRad_ = GriSem->Modell().GjeldendeRad();
  VisLnav();
  Panel[0]->setText(AntallTittel);
  VisStatus(QString());
  VisInnavl(-1, false);
}

void TFormSemReg::VisInnavl(int rad, bool regn) {
  TAvlsdata* avl = &okt_.Avlsdata();
  const TRutenett& g = GriSem->Modell();
  QString tekst;
  bool rod = false;
  if (rad >= g.FasteRader() && rad < g.Rader()) {
    const std::string soye = TrimText(g.Celle(KolSoye, rad));
    const int32_t ver = TextToInt(g.Celle(KolVer, rad));
    const TSoye* s = !soye.empty() && ver > 0 ? FinnSoye(okt_.Soyer(), soye) : nullptr;
    if (s != nullptr && (regn || avl->Beregnet())) {
      // The notice about loops in the pedigree comes the first time the
      // figures are computed, in the middle of typing a row: a box would take
      // the keys typed next, so it goes to the status line.
      const auto merknad = [this, rad](const QString& t) { VisMerknad(t, rad); };
      if (const TInnavl* innavl = HentInnavl(avl, merknad)) {
        tekst = TilQString(InnavlStatus(*innavl, *s, ver));
        rod = innavl->Stamtavle().Finn(ver) >= 0 &&
              VedGrensa(innavl->Lam(ver, s->far, s->morfar, s->mormorfar), okt_.Grense());
      }
    }
    // The ram the saved mating suggestion gives her.
    const int32_t foreslaatt = soye.empty() ? 0 : ForeslaattVer(okt_.Paringer(), soye);
    if (foreslaatt > 0) {
      QString f = QString("Paringsforslaget gir søye %1 vær %2").arg(TilQString(soye)).arg(foreslaatt);
      if (const TProdusent* reg = okt_.Register(); reg && reg->FinnIndeks(foreslaatt) >= 0)
        f += " " + TilQString(TrimText(NameCase(reg->LesNummer(foreslaatt).Navn.Verdi())));
      if (ver > 0 && ver != foreslaatt) f += ", ikke væren på raden";
      tekst = tekst.isEmpty() ? f + "." : tekst + "  " + f + ".";
    }
  }
  QPalette p = palette();
  if (rod) p.setColor(QPalette::WindowText, Qt::red);
  Innavl->setPalette(p);
  Innavl->setText(tekst);
  Innavl->setVisible(!tekst.isEmpty());
}

void TFormSemReg::Vis() {
  if (!isVisible()) {
    // A new start: this season, nothing fetched.
    Ssemar->setRange(SemaarFra, SemaarTil());
    Ssemar->setValue(SemaarTil());
    Semin.Semaar = Ssemar->value();
    GriSem->setEnabled(false);
    Nullstill();
    Blagre->setEnabled(false);
    fil_.clear();
    Semin.Endret = false;
    setWindowTitle("Registrer inseminering");
  }
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TFormSemReg::HenteClick() {
  Semin.Semaar = Ssemar->value();
  if (Semin.Endret && fil_.string().size() > 10 &&
      Spor("Vil du lagre endringer på " + QString::fromStdString(fil_.string()) + " før du henter neste?", false) ==
          1) {
    LagreClick();
    if (Semin.Endret) return;  // not saved: the rows stay where they are
  }
  THentet h;
  try {
    h = Hente(Semin.Semaar, FraQString(EprodNr->text()), GriSem->Modell(), 0.0);
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
    return;
  }
  if (!h.feil.empty()) Melding(QString::fromUtf8(h.feil));
  Semin.SisteSemin = h.sisteSemin;
  if (h.lest) {
    const QSignalBlocker b1(EprodNr), b2(EsemNr);
    EprodNr->setText(TilQString(h.prodNr));
    EsemNr->setText(TilQString(h.semNr));
  }
  HodeEndret(true);
  HodeEndret(false);
  const bool gode = BeggeGode();
  if (gode) {
    GriSem->setEnabled(true);
    GriSem->setFocus();
  }
  fil_ = h.fil;
  hentet_ = h.innhold;
  hentetProdNr_ = FraQString(EprodNr->text());
  Blagre->setEnabled(gode);
  Semin.Endret = false;
  Bsende->setEnabled(h.lest && KanSendeEtterHenting(h.antall, Blagre->isEnabled(), Semin.SisteSemin, SeminNaa()));
  setWindowTitle("Seminresultater godkjent  for " + QString::number(Semin.Semaar) + "." +
                 QString::fromStdString(fil_.string()));
  Panel[0]->setText(QString::number(h.antall));
  forrigeRad_ = GriSem->Modell().GjeldendeRad();
}

void TFormSemReg::LagreClick() {
  try {
    const TLagret l = Lagre(
        fil_, hentetProdNr_, FraQString(EsemNr->text()), GriSem->Modell(),
        [this](int rad) { return RadKomplett(GriSem->Modell(), rad); },
        [this](const std::filesystem::path& fil, int lagrede) {
          return SporJaNei(QString::fromStdString(TomLagringSporsmal(fil, lagrede)));
        },
        &hentet_,
        [this](const std::filesystem::path& fil) {
          return SporJaNei(QString::fromStdString(EndretLagringSporsmal(fil)));
        });
    GriSem->viewport()->update();
    if (l.skrevet) {
      hentet_ = {true, l.tekst};
      Semin.Endret = false;
      Panel[0]->setText(QString::number(l.antall));  // the rows the file now holds
      Bsende->setEnabled(KanSendeEtterLagring(l.antall, Semin.SisteSemin, SeminNaa()));
    }
    if (!l.melding.empty()) Melding(QString::fromUtf8(l.melding));
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
  }
}

void TFormSemReg::BsendeClick() {
  const std::string mottaker = SeminMottaker(okt_.Innstillinger());
  try {
    const TSendeSvar svar = SendRapport(
        GriSem->Modell(), [this](int rad) { return RadKomplett(GriSem->Modell(), rad); }, FraQString(EsemNr->text()),
        FraQString(EprodNr->text()), Ssemar->value(), mottaker);
    if (svar.utfall != TSendeUtfall::Avbrutt && !svar.melding.empty()) Melding(QString::fromUtf8(svar.melding));
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
  }
}

void TFormSemReg::closeEvent(QCloseEvent* e) {
  if (Semin.Endret) {
    const int svar = Spor("Du har gjordt endringer som ikke er lagret, vil du lagre dem?", true);
    if (svar < 0) {
      e->ignore();
      return;
    }
    if (svar == 1) {
      LagreClick();
      if (Semin.Endret) {  // not saved: the window stays open with the rows
        e->ignore();
        return;
      }
    }
  }
  e->accept();
}

bool TFormSemReg::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      if (o == EprodNr) EsemNr->setFocus();
      if (o == EsemNr) Bhent->setFocus();
      return true;  // Enter is swallowed in the three header fields
    }
  }
  if (o == Panel1 && e->type() == QEvent::MouseButtonDblClick) {
    // Prints with the title last set.
    SkrivMedDialog();
    return true;
  }
  const bool aarfelt = o == Ssemar || (o != nullptr && o->parent() == Ssemar && qobject_cast<QLineEdit*>(o));
  if (aarfelt && e->type() == QEvent::MouseButtonPress) {
    // Changing the year starts afresh; unsaved changes may be saved first.
    if (Semin.Endret && Spor("Du har gjordt endringer, vil du lagre før du bytter år?", false) == 1) {
      LagreClick();
      if (Semin.Endret) return true;  // not saved: the rows and the year stay
    }
    Nullstill();
    // The number fields are empty: nothing is fetched, and nothing can be
    // saved or typed until the next fetch.
    GriSem->setEnabled(false);
    Blagre->setEnabled(false);
    fil_.clear();
    setWindowTitle("Registrer inseminering");
  }
  if ((o == EprodNr || o == EsemNr) && e->type() == QEvent::FocusIn) VisHodeGrunn(o == EprodNr);
  return QMainWindow::eventFilter(o, e);
}

int TFormSemReg::SkrivUt(QPagedPaintDevice& enhet) {
  return SkrivRutenett(enhet, GriSem->Modell(), Utskriftstittel, IDag(), font());
}

void TFormSemReg::Button1Click() {
  Utskriftstittel = "Produsent:" + EprodNr->text() + " Inseminør :" + EsemNr->text();
  SkrivMedDialog();
}

void TFormSemReg::SkrivMedDialog() {
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  QPrinter skriver(QPrinter::HighResolution);
  if (VelgSkriver) {
    if (!VelgSkriver(skriver)) return;
  } else {
    QPrintDialog d(&skriver, this);
    if (d.exec() != QDialog::Accepted) return;
  }
  // A print sent to a file is written whole, or the older file stays.
  try {
    const TSkriverjobb jobb;
    SkrivPaaSkriver(skriver, [this](QPagedPaintDevice& side) { SkrivUt(side); });
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()));
  }
}
