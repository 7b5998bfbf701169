#include "tformvaer.h"

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "cp1252.h"
#include "endringer.h"
#include "filer.h"
#include "filimport.h"
#include "ramimport.h"
#include "register.h"
#include "skall.h"
#include "slektskap.h"
#include "soyer.h"
#include "tekst.h"
#include "tformkatalog.h"
#include "tformles.h"
#include "tformlister.h"
#include "tformnedlast.h"
#include "tformparingsplan.h"
#include "tformslektskap.h"
#include "tformsoyer.h"
#include "tformstatistikk.h"
#include "tformver.h"
#include "trase.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

// The decorative picture: a hill farm with a ram under an evening sky.
QPixmap Bilde(QSize storrelse) {
  QPixmap bilde(storrelse);
  QPainter p(&bilde);
  p.setRenderHint(QPainter::Antialiasing);
  const int w = storrelse.width(), h = storrelse.height();
  QLinearGradient himmel(0, 0, 0, h);
  himmel.setColorAt(0, QColor(120, 170, 220));
  himmel.setColorAt(1, QColor(225, 235, 245));
  p.fillRect(bilde.rect(), himmel);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 215, 120));
  p.drawEllipse(QPointF(w * 0.8, h * 0.22), h * 0.1, h * 0.1);
  QPainterPath fjell;
  fjell.moveTo(0, h * 0.62);
  fjell.lineTo(w * 0.25, h * 0.3);
  fjell.lineTo(w * 0.45, h * 0.55);
  fjell.lineTo(w * 0.65, h * 0.35);
  fjell.lineTo(w, h * 0.6);
  fjell.lineTo(w, h);
  fjell.lineTo(0, h);
  p.setBrush(QColor(110, 125, 140));
  p.drawPath(fjell);
  QPainterPath eng;
  eng.moveTo(0, h * 0.72);
  eng.cubicTo(w * 0.3, h * 0.6, w * 0.7, h * 0.8, w, h * 0.68);
  eng.lineTo(w, h);
  eng.lineTo(0, h);
  p.setBrush(QColor(95, 150, 70));
  p.drawPath(eng);
  // The ram: woolly body, dark head and legs, curled horn.
  const QPointF s(w * 0.42, h * 0.78);
  const double e = h * 0.07;
  p.setBrush(QColor(60, 50, 45));
  for (double x : {-1.2, -0.5, 0.6, 1.2}) p.drawRect(QRectF(s.x() + x * e, s.y() + 0.4 * e, 0.28 * e, 1.1 * e));
  p.setBrush(QColor(245, 243, 235));
  for (double x : {-1.0, -0.3, 0.4, 1.0}) p.drawEllipse(QPointF(s.x() + x * e, s.y()), 0.75 * e, 0.7 * e);
  p.drawEllipse(QPointF(s.x(), s.y() - 0.35 * e), 1.5 * e, 0.6 * e);
  p.setBrush(QColor(60, 50, 45));
  p.drawEllipse(QPointF(s.x() + 1.9 * e, s.y() - 0.4 * e), 0.45 * e, 0.55 * e);
  p.setPen(QPen(QColor(200, 180, 140), 0.18 * e));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(s.x() + 1.45 * e, s.y() - 0.95 * e, 0.7 * e, 0.7 * e), 30 * 16, 300 * 16);
  return bilde;
}

// Which file a path names, so that a file put in its place is told from the one that was there.
struct TFilidentitet {
  bool finnes = false;
  dev_t enhet = 0;
  ino_t inode = 0;
  bool operator==(const TFilidentitet&) const = default;
};

TFilidentitet Filidentitet(const fs::path& fil) {
  struct stat st {};
  if (::stat(fil.c_str(), &st) != 0) return {};
  return {true, st.st_dev, st.st_ino};
}

}  // namespace

QDialog* LagOmBoks(QWidget* parent) {
  auto* boks = new QDialog(parent);
  boks->setWindowTitle("Om Hornstad");
  boks->setModal(true);
  auto* navn = new QLabel("Hornstad", boks);
  QFont f = navn->font();
  f.setPointSizeF(f.pointSizeF() * 2.2);
  f.setBold(true);
  navn->setFont(f);
  navn->setAlignment(Qt::AlignCenter);
  auto* under = new QLabel("på internett", boks);
  under->setAlignment(Qt::AlignCenter);
  auto* versjon = new QLabel(Versjonstekst, boks);
  versjon->setObjectName("Versjon");
  versjon->setAlignment(Qt::AlignCenter);
  auto* knapper = new QDialogButtonBox(QDialogButtonBox::Ok, boks);
  QObject::connect(knapper, &QDialogButtonBox::accepted, boks, &QDialog::accept);
  auto* lag = new QVBoxLayout(boks);
  lag->addWidget(navn);
  lag->addWidget(under);
  lag->addSpacing(12);
  lag->addWidget(versjon);
  lag->addSpacing(12);
  lag->addWidget(knapper);
  lag->setSizeConstraint(QLayout::SetFixedSize);
  return boks;
}

TFormVaer::TFormVaer(std::optional<fs::path> dataMappe, QWidget* parent)
    : QMainWindow(parent), oensketMappe_(std::move(dataMappe)) {
  // The program's own conventions: Norwegian texts, "dd/mm/yyyy" dates, a
  // blank between thousands and a decimal comma, whatever the system says.
  QLocale::setDefault(QLocale(QLocale::NorwegianBokmal, QLocale::Norway));

  Bekreft = [this](const QString& t) {
    return QMessageBox::question(this, "Hornstad", t, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
  };
  SporJaNei = [this](const QString& t) {
    return QMessageBox::question(this, "Hornstad", t, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
  };
  Melding = [this](const QString& t) { QMessageBox::information(this, "Hornstad", t); };
  Feilmelding = [this](const QString& t) { QMessageBox::critical(this, "Hornstad", t); };
  KjorDialog = [](QDialog& d) { return d.exec(); };
  VelgVerfil = [this] {
    return QFileDialog::getOpenFileName(this, "Les inn værer fra fil",
                                        QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                                        "Værarkiv og væreksport (*.zip *.Zip *.ZIP *.tex *.Tex *.TEX);;Alle filer (*)");
  };

  // Actions and menu.
  HentHornstad = new QAction("Hent Hornstad på internett", this);
  LeggInn = new QAction("Legg in værer fra internett", this);
  LesFraFil = new QAction("Les inn værer fra fil…", this);
  LesFraFil->setStatusTip("Les inn et værarkiv (zip) eller en væreksport du har lastet ned selv");
  HenteInn = new QAction("Hente inn værer", this);
  Avslutt = new QAction("Avslutt", this);
  Avslutt->setStatusTip("Lukk programmet");
  Avslutt->setToolTip("Lukk programmet");
  Semin = new QAction("Semin", this);
  Kartotekoppslag = new QAction("Kartotekoppslag", this);
  Kartotekoppslag->setShortcut(QKeySequence("Ctrl+K"));
  Katalog = new QAction("Katalog", this);
  Soyer = new QAction("Søyer…", this);
  Soyer->setStatusTip("Søyene dine (Soyer.Txt) for slektskap og paringsplan");
  Paringsplan = new QAction("Paringsplan", this);
  Paringsplan->setStatusTip("Forventet innavl hos lammene for hver søye med hver vær");
  Lister = new QAction("Lister …", this);
  Lister->setStatusTip("Listene dine over værer («Mine værer», «Reserve» …)");
  Sammenlign = new QAction("Sammenlign værer …", this);
  Sammenlign->setStatusTip("2 til 6 værer side om side, med persentiler og diagram");
  Statistikk = new QAction("Statistikk", this);
  Statistikk->setStatusTip("Diagrammer over O-indeks og antall kårede værer per år");
  Endringer = new QAction("Endringer i listene", this);
  Endringer->setStatusTip("Hva siste innlesing endret for værene på listene dine");
  OmHornstad = new QAction("Om Hornstad", this);
  HentHornstad->setVisible(false);
  HenteInn->setVisible(false);

  QMenu* arkiv = menuBar()->addMenu("&Arkiv");
  arkiv->addAction(HentHornstad);
  arkiv->addAction(LeggInn);
  arkiv->addAction(LesFraFil);
  arkiv->addAction(HenteInn);
  arkiv->addAction(Soyer);
  arkiv->addSeparator();
  arkiv->addAction(Avslutt);
  Registrering = menuBar()->addMenu("&Registrering");
  Registrering->addAction(Semin);
  Registrering->menuAction()->setVisible(false);
  Registrering->menuAction()->setEnabled(false);
  QMenu* oppslag = menuBar()->addMenu("&Oppslag");
  oppslag->addAction(Kartotekoppslag);
  QMenu* utlistinger = menuBar()->addMenu("&Utlistinger");
  utlistinger->addAction(Katalog);
  utlistinger->addAction(Paringsplan);
  utlistinger->addSeparator();
  utlistinger->addAction(Lister);
  utlistinger->addAction(Sammenlign);
  utlistinger->addAction(Endringer);
  utlistinger->addAction(Statistikk);
  QMenu* hjelp = menuBar()->addMenu("&Hjelp");
  hjelp->addAction(OmHornstad);

  connect(HentHornstad, &QAction::triggered, this, &TFormVaer::HentHornstadClick);
  connect(LeggInn, &QAction::triggered, this, &TFormVaer::LeggInnClick);
  connect(LesFraFil, &QAction::triggered, this, &TFormVaer::LesFraFilClick);
  connect(HenteInn, &QAction::triggered, this, &TFormVaer::HenteInnClick);
  connect(Semin, &QAction::triggered, this, &TFormVaer::SeminClick);
  connect(Avslutt, &QAction::triggered, this, &QWidget::close);
  connect(Kartotekoppslag, &QAction::triggered, this, &TFormVaer::KartotekoppslagClick);
  connect(Katalog, &QAction::triggered, this, &TFormVaer::KatalogClick);
  connect(Soyer, &QAction::triggered, this, &TFormVaer::SoyerClick);
  connect(Paringsplan, &QAction::triggered, this, [this] { ParingsplanClick(); });
  connect(OmHornstad, &QAction::triggered, this, &TFormVaer::OmHornstadClick);
  connect(Lister, &QAction::triggered, this, &TFormVaer::ListerClick);
  connect(Sammenlign, &QAction::triggered, this, &TFormVaer::SammenlignClick);
  connect(Statistikk, &QAction::triggered, this, &TFormVaer::StatistikkClick);
  connect(Endringer, &QAction::triggered, this, [this] { EndringerClick(); });

  // The tool bar that mirrors the menu's top items, each opening its menu.
  auto* menylinje = addToolBar("Meny");
  menylinje->setObjectName("Meny");
  menylinje->setMovable(false);
  for (QMenu* m : {arkiv, Registrering, oppslag, utlistinger, hjelp}) {
    auto* knapp = new QToolButton(menylinje);
    knapp->setText(m->title().remove('&'));
    knapp->setMenu(m);
    knapp->setPopupMode(QToolButton::InstantPopup);
    knapp->setToolButtonStyle(Qt::ToolButtonTextOnly);
    knapp->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    QAction* a = menylinje->addWidget(knapp);
    if (m == Registrering) {
      a->setVisible(false);
      a->setEnabled(false);
      registreringKnapp_ = a;
    }
  }
  menuBar()->hide();  // the tool bar above is the menu the user sees
  addToolBarBreak();
  auto* bildeknapper = addToolBar("Oppslag");
  bildeknapper->setObjectName("Bildeknapper");
  bildeknapper->setMovable(false);
  bildeknapper->setIconSize(QSize(32, 32));
  QAction* verkartotek =
      bildeknapper->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), "Værkartotek");
  verkartotek->setToolTip("Værkartotek");
  QAction* katalogKnapp = bildeknapper->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), "Katalog");
  katalogKnapp->setToolTip("Katalog");
  connect(verkartotek, &QAction::triggered, Kartotekoppslag, &QAction::trigger);
  connect(katalogKnapp, &QAction::triggered, Katalog, &QAction::trigger);
  connect(Kartotekoppslag, &QAction::changed, verkartotek,
          [=, this] { verkartotek->setEnabled(Kartotekoppslag->isEnabled()); });
  connect(Katalog, &QAction::changed, katalogKnapp, [=, this] { katalogKnapp->setEnabled(Katalog->isEnabled()); });

  // The picture and its label.
  auto* midt = new QWidget(this);
  auto* bilde = new QLabel(midt);
  bilde->setPixmap(Bilde(QSize(300, 150)));
  bilde->setFrameShape(QFrame::Panel);
  bilde->setFrameShadow(QFrame::Sunken);
  auto* tittel = new QLabel("Hornstad på internett", midt);
  QFont f = tittel->font();
  f.setPointSizeF(f.pointSizeF() * 1.6);
  f.setBold(true);
  f.setItalic(true);
  tittel->setFont(f);
  tittel->setAlignment(Qt::AlignCenter);
  Animasjon = new QProgressBar(midt);
  Animasjon->setRange(0, 0);
  Animasjon->setTextVisible(false);
  Animasjon->setMaximumHeight(12);
  Animasjon->hide();
  EndringsVarsel = new QLabel(midt);
  EndringsVarsel->setObjectName("EndringsVarsel");
  EndringsVarsel->setAlignment(Qt::AlignCenter);
  EndringsVarsel->setWordWrap(true);
  EndringsVarsel->setTextFormat(Qt::RichText);
  EndringsVarsel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  EndringsVarsel->setStyleSheet("QLabel { background: #fff4c2; border: 1px solid #c9a400; padding: 3px; }");
  EndringsVarsel->hide();
  connect(EndringsVarsel, &QLabel::linkActivated, this, [this] { EndringerClick(); });
  auto* lag = new QVBoxLayout(midt);
  lag->addWidget(bilde, 0, Qt::AlignHCenter);
  lag->addWidget(tittel);
  lag->addWidget(EndringsVarsel);
  lag->addWidget(Animasjon);
  lag->addStretch();
  setCentralWidget(midt);

  StatusLinje = new QLabel("Ingen værer inne", this);
  statusBar()->addWidget(StatusLinje, 1);
  statusBar()->setSizeGripEnabled(false);

  setAcceptDrops(true);
  setMinimumSize(521, 323);
  setMaximumSize(590, 400);
  resize(560, 360);
  Kartotekoppslag->setEnabled(false);
  Katalog->setEnabled(false);
  Paringsplan->setEnabled(false);
  for (QAction* a : {Lister, Sammenlign, Statistikk}) a->setEnabled(false);

  // The first computation of the coefficients takes a moment on a large register.
  avl_ = std::make_unique<TAvlsdata>();
  avl_->VedBeregning = [this](bool start) {
    if (start) {
      StatusLinje->setText("Regner ut slektskap og innavl for alle værene ...");
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
      Oppdater();
    }
  };
}

TFormVaer::~TFormVaer() = default;

void TFormVaer::Vis() {
  const bool forste = !vist_;
  vist_ = true;
  // The windows are placed before they show; the register loads in a
  // window the user can see, with its animation.
  if (forste) ForsteVisning();
  show();
  raise();
  activateWindow();
  EtterForsteVisning(this);
  if (forste) ForsteLasting();
}

namespace {

// The available rectangles of the screens, the primary first.
QList<QRect> Skjermer() {
  QList<QRect> skjermer;
  const QScreen* primaer = QGuiApplication::primaryScreen();
  if (primaer) skjermer << primaer->availableGeometry();
  for (const QScreen* s : QGuiApplication::screens())
    if (s != primaer) skjermer << s->availableGeometry();
  return skjermer;
}

// Puts the window, frame and all, at `plass` (from PaaSkjermen), given the
// outer rectangle it was measured by; the size inside the frame follows.
void SettPlass(QWidget* w, const QRect& plass, const QRect& maalt, bool nyStorrelse) {
  const QSize kant = w->frameGeometry().size() - w->geometry().size();
  w->move(plass.topLeft());
  if (nyStorrelse || plass.size() != maalt.size()) w->resize(plass.size() - kant);
}

}  // namespace

void TFormVaer::Plasser(QWidget* w, const QString& seksjon, bool medStorrelse) {
  if (w == nullptr) return;
  const TPlass p = LesPlass(*ini_, seksjon);
  const bool flytt = p.left && p.top;
  const bool storrelse = medStorrelse && p.bred && p.hog;
  if (!flytt && !storrelse) return;
  // Left and Top are the frame's corner, Bred and Hog the size inside it,
  // as far as the window lets itself be sized. The frame is not known
  // before the window shows, so its first showing looks again.
  const QSize kant = w->frameGeometry().size() - w->geometry().size();
  const QSize inni =
      (storrelse ? QSize(*p.bred, *p.hog) : w->size()).expandedTo(w->minimumSize()).boundedTo(w->maximumSize());
  const QRect lagret(flytt ? QPoint(*p.left, *p.top) : w->pos(), inni + kant);
  SettPlass(w, PaaSkjermen(lagret, Skjermer()), lagret, storrelse);
  sjekkesEtterVisning_.insert(w);
}

void TFormVaer::EtterForsteVisning(QWidget* w) {
  if (!sjekkesEtterVisning_.remove(w)) return;
  // Once the window system has put a frame round the window, a frame that
  // reaches past the screen brings the window in again.
  QTimer::singleShot(0, w, [w] {
    const QRect ramme = w->frameGeometry();
    const QRect plass = PaaSkjermen(ramme, Skjermer());
    if (plass != ramme) SettPlass(w, plass, ramme, false);
  });
}

void TFormVaer::ForsteVisning() {
  dataMappe_ = oensketMappe_ ? *oensketMappe_ : ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString());
  ini_ =
      std::make_unique<QSettings>(QString::fromStdString(Innstillingsfil(dataMappe_).string()), QSettings::IniFormat);
  Plasser(this, "Hoved", false);
  siste_ = ini_->value("Hoved/Siste").toString();
  SettFullt(ini_->value("Hoved/Fullt", 0).toInt() == 1);
  Plasser(FormVer, "Ver", true);
  Plasser(FormKatalog, "Katalog", true);
  setWindowTitle(Hovedtittel());
  if (FormVer) {
    FormVer->Register = [this] { return register_.get(); };
    FormVer->Raser = [this] { return raser_.get(); };
  }
  if (FormKatalog) {
    FormKatalog->Register = [this] { return register_.get(); };
    FormKatalog->Raser = [this] { return raser_.get(); };
    FormKatalog->Innstillinger = [this] { return ini_.get(); };
    FormKatalog->Avlsdata = [this] { return avl_.get(); };
  }
  if (FormSoyer) {
    FormSoyer->DataMappe = [this] { return dataMappe_; };
    FormSoyer->Avlsdata = [this] { return avl_.get(); };
  }
  if (FormSlektskap) {
    FormSlektskap->Avlsdata = [this] { return avl_.get(); };
    FormSlektskap->Innstillinger = [this] { return ini_.get(); };
    FormSlektskap->DataMappe = [this] { return dataMappe_; };
    FormSlektskap->VisSoyer = [this] { SoyerClick(); };
  }
  if (FormVer) {
    FormVer->VisSlektskap = [this](const TVerPost& ver) {
      if (FormSlektskap) FormSlektskap->VisFor(ver);
    };
    // An edited record changes the pedigree: the figures are made again when next asked for.
    FormVer->PostLagret = [this] {
      avl_->Glem();
      if (FormSlektskap && FormSlektskap->isVisible()) FormSlektskap->Oppdater();
    };
  }
  if (FormVer)
    FormVer->LeggIListe = [this](const TVerPost& ver) {
      LeggIListe({ver.Nummer}, TilQString(NameCase(TrimText(ver.Navn.Verdi()))) + QString(" (%1)").arg(ver.Nummer));
    };
  if (FormKatalog) {
    // The catalogue's table offers its marked rams to a list and to the comparison.
    FormKatalog->NyTabell = [this](TVindu& vindu) {
      auto* leggTil = new QAction("Legg merkede i liste …", &vindu);
      leggTil->setStatusTip("Legg de merkede værene i en av listene dine");
      connect(leggTil, &QAction::triggered, this, [this, v = &vindu] {
        const std::vector<int32_t> nummer = v->Tabell().MerkedeNumre();
        LeggIListe(nummer, nummer.size() == 1 ? QString("den merkede væren")
                                              : QString("de %1 merkede værene").arg(nummer.size()));
      });
      auto* sammenlign = new QAction("Sammenlign merkede …", &vindu);
      sammenlign->setStatusTip("Sammenlign 2 til 6 merkede værer side om side");
      connect(sammenlign, &QAction::triggered, this, [this, v = &vindu] {
        if (register_ && raser_)
          VisSammenligning(*register_, *raser_, avl_.get(), v->Tabell().MerkedeNumre(), this, Melding);
      });
      vindu.Redmen->addSeparator();
      vindu.Redmen->addAction(leggTil);
      vindu.Redmen->addAction(sammenlign);
      vindu.VerkT->addAction(leggTil);
    };
  }
  if (FormLister) {
    FormLister->Register = [this] { return register_.get(); };
    FormLister->Raser = [this] { return raser_.get(); };
    FormLister->Avlsdata = [this] { return avl_.get(); };
    FormLister->Innstillinger = [this] { return ini_.get(); };
    FormLister->DataMappe = [this] { return dataMappe_; };
  }
  if (FormStatistikk) {
    FormStatistikk->Register = [this] { return register_.get(); };
    FormStatistikk->Raser = [this] { return raser_.get(); };
    FormStatistikk->KatalogUtvalg = [this] {
      return FormKatalog ? FormKatalog->SisteUtvalg() : std::vector<int32_t>{};
    };
    // An open statistics window follows the catalogue's new selection.
    if (FormKatalog)
      FormKatalog->UtvalgEndret = [this] {
        if (FormStatistikk->isVisible()) FormStatistikk->NyttKatalogutvalg();
      };
  }
  if (FormSoyer && FormSlektskap) {
    connect(FormSoyer, &TFormSoyer::lagret, FormSlektskap, [this] {
      FormSlektskap->LesSoyer();
      if (FormSlektskap->isVisible()) FormSlektskap->Oppdater();
    });
  }
}

void TFormVaer::ForsteLasting() {
  repaint();
  if (!register_) LastRegister();
  Oppdater();
  raser_ = std::make_unique<Trase>();
  if (!raser_->Feil().empty()) Feilmelding(QString::fromStdString(raser_->Feil()));
  VisEndringsVarsel();
}

void TFormVaer::SettFullt(bool fullt) {
  fullt_ = fullt;
  HentHornstad->setVisible(fullt);
  HenteInn->setVisible(fullt);
  Registrering->menuAction()->setVisible(fullt);
  Registrering->menuAction()->setEnabled(fullt);
  registreringKnapp_->setVisible(fullt);
  registreringKnapp_->setEnabled(fullt);
  if (FormLes) FormLes->SettFullt(fullt);
}

void TFormVaer::LastRegister() {
  Animasjon->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  register_ = std::make_unique<TProdusent>(dataMappe_);
  try {
    register_->LoadRegister();
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
  }
  Animasjon->hide();
  // Nothing is computed here: only when a window asks (an open
  // relationship window asks again at once).
  avl_->Bruk(*register_);
  if (FormSlektskap && FormSlektskap->isVisible()) FormSlektskap->Oppdater();
  // Open windows of the lists and the statistics show the new register.
  if (FormLister && FormLister->isVisible()) FormLister->LesLister();
  if (FormStatistikk && FormStatistikk->isVisible()) FormStatistikk->LesRegister();
  if (const std::string advarsel = register_->Advarsel(); !advarsel.empty()) Melding(QString::fromStdString(advarsel));
}

void TFormVaer::Oppdater() {
  const std::size_t antall = register_ ? register_->RamNumbers().size() : 0;
  Kartotekoppslag->setEnabled(register_ && OppslagTillatt(antall));
  Katalog->setEnabled(register_ && OppslagTillatt(antall));
  Paringsplan->setEnabled(Katalog->isEnabled());
  for (QAction* a : {Lister, Sammenlign, Statistikk}) a->setEnabled(Katalog->isEnabled());
  StatusLinje->setText(StatusTekst(antall, siste_));
}

void TFormVaer::closeEvent(QCloseEvent* e) {
  // The insemination window may keep its unsaved rows open (Cancel): then the program goes on.
  if (FormSemReg && FormSemReg->isVisible() && !FormSemReg->close()) {
    e->ignore();
    return;
  }
  // So may the ewe list its unsaved changes.
  if (FormSoyer && FormSoyer->isVisible() && !FormSoyer->close()) {
    e->ignore();
    return;
  }
  if (ini_) {
    SkrivPlass(*ini_, "Hoved", QRect(pos(), size()), false);
    ini_->setValue("Hoved/Siste", siste_);
    if (FormVer) SkrivPlass(*ini_, "Ver", QRect(FormVer->pos(), FormVer->size()), true);
    if (FormKatalog) SkrivPlass(*ini_, "Katalog", QRect(FormKatalog->pos(), FormKatalog->size()), true);
    if (!ini_->contains("Nett/Adresse")) ini_->setValue("Nett/Adresse", QString(StandardAdresse));
    ini_->sync();
    if (ini_->status() != QSettings::NoError)
      Feilmelding("Kunne ikke lagre innstillingene i " + ini_->fileName() + ".");
  }
  e->accept();
  // The other windows close with the main window.
  for (QWidget* w :
       {static_cast<QWidget*>(FormVer), static_cast<QWidget*>(FormKatalog), static_cast<QWidget*>(FormSlektskap),
        static_cast<QWidget*>(FormLister), static_cast<QWidget*>(FormStatistikk)})
    if (w) w->close();
  emit lukket();
}

void TFormVaer::LeggInnClick() {
  auto vakt = StartEndringer();
  register_.reset();
  const fs::path arkiv = dataMappe_ / ArkivNavn;
  const TFilidentitet forNedlasting = Filidentitet(arkiv);
  bool lastetNed = false;
  if (Bekreft(QString::fromUtf8(NedlastingSporsmal)) && FormNedlast) {
    ForberedNedlasting();
    const std::string url = (Nettadresse(*ini_) + VerArkivSti).toStdString();
    lastetNed = FormNedlast->DownloadFile(url, arkiv, 0);
  }
  int64_t korteLinjer = 0;
  bool importert = false;
  if (lastetNed) {
    Animasjon->show();
    StatusLinje->setText("Leser inn værer ...");
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
      korteLinjer = ImporterArkiv(arkiv, dataMappe_, [](int64_t, int64_t) {
                      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                      return true;
                    }).korteLinjer;
      importert = true;
    } catch (const IoFeil& e) {
      Feilmelding(QString::fromUtf8(e.what()));
    }
    Animasjon->hide();
  } else {
    Melding("Fikk ikke lagret fila:" + QString::fromStdString(arkiv.string()));
  }
  // The archive goes when this download put it there; one that was there
  // before a cancelled or failed download is not this program's to delete.
  if (lastetNed || Filidentitet(arkiv) != forNedlasting) {
    std::error_code ec;
    fs::remove(arkiv, ec);
  }
  // Whatever happened, the register on disk is opened again.
  LastRegister();
  Oppdater();
  if (korteLinjer > 0) Melding(QString::fromUtf8(KorteLinjerMelding(korteLinjer)));
  if (importert) FullforEndringer(std::move(vakt));
}

void TFormVaer::LesFraFilClick() {
  const QString fil = VelgVerfil ? VelgVerfil() : QString();
  if (!fil.isEmpty()) LesInnFil(fil.toStdString());
}

void TFormVaer::LesInnFil(const fs::path& fil) {
  auto vakt = StartEndringer();
  register_.reset();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  StatusLinje->setText("Leser inn værer fra " + QString::fromStdString(fil.filename().string()) + " ...");
  Animasjon->setRange(0, 1000);
  Animasjon->setValue(0);
  Animasjon->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QString feil;
  int64_t korteLinjer = 0;
  try {
    korteLinjer = ImporterFil(fil, dataMappe_, [this](int64_t gjort, int64_t totalt) {
                    if (totalt > 0) Animasjon->setValue(static_cast<int>(gjort * 1000 / totalt));
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    return true;
                  }).korteLinjer;
  } catch (const IoFeil& e) {
    feil = QString::fromUtf8(e.what());
  }
  Animasjon->hide();
  Animasjon->setRange(0, 0);
  QApplication::restoreOverrideCursor();
  // The new register, or the old one as it was.
  LastRegister();
  Oppdater();
  if (!feil.isEmpty()) Feilmelding(feil);
  if (korteLinjer > 0) Melding(QString::fromUtf8(KorteLinjerMelding(korteLinjer)));
  if (feil.isEmpty()) FullforEndringer(std::move(vakt));
}

namespace {

// The one local file that is being dragged, or empty.
QString DradFil(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void TFormVaer::dragEnterEvent(QDragEnterEvent* e) {
  if (!DradFil(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TFormVaer::dropEvent(QDropEvent* e) {
  const QString fil = DradFil(e->mimeData());
  if (fil.isEmpty()) return;
  e->acceptProposedAction();
  const QString navn = QFileInfo(fil).fileName();
  if (!Bekreft("Vil du lese inn værene i «" + navn + "»?\nVærregisteret blir erstattet av værene i fila.")) return;
  LesInnFil(fil.toStdString());
}

void TFormVaer::ForberedNedlasting() {
  if (FormNedlast) FormNedlast->valg.sertifikat = Sertifikatfil(*ini_, dataMappe_);
}

void TFormVaer::HenteInnClick() {
  auto vakt = StartEndringer();
  register_.reset();
  ForberedNedlasting();
  bool lest = false;
  if (FormLes) {
    FormLes->DataMappe = dataMappe_;
    FormLes->FormNedlast = FormNedlast;
    FormLes->Adresse = [this] { return Nettadresse(*ini_); };
    lest = FormLes->RunReadingWindow();
    if (lest) siste_ = FormLes->ArkivNavn();
  }
  siste_ = KortArkivnavn(siste_);
  LastRegister();
  Oppdater();
  // The last import's report stays when nothing was read.
  if (lest) FullforEndringer(std::move(vakt));
}

void TFormVaer::SeminClick() {
  if (!FormSemReg) return;
  // The insemination window shows itself (its Vis starts it afresh only when it is not open).
  if (FormSemReg->metaObject()->indexOfMethod("Vis()") >= 0) {
    QMetaObject::invokeMethod(FormSemReg, "Vis");
    return;
  }
  FormSemReg->show();
  FormSemReg->raise();
  FormSemReg->activateWindow();
}

void TFormVaer::HentHornstadClick() {
  const QString sporsmal =
      "Du vil nå bli koplet opp mot internett, hvis du trenger å kople manuelt, gjør det nå\n"
      "Hvis fila du ser der er nyere enn den du hentet sist, klikker du på den.\n"
      "Velg så lagre og bla deg fram til der du laster ned filer og vent til nedlastingen er ferdig";
  if (!SporJaNei(sporsmal)) return;
  QDesktopServices::openUrl(QUrl(Nettadresse(*ini_) + ProgramSti));
  Melding(
      "Når fila er ferdig nedlastet kan du gå til arkiv, hent inn værer for deretter å bla deg fram til den fila du "
      "lastet ned.");
}

void TFormVaer::KartotekoppslagClick() {
  if (!FormVer) return;
  // The editing buttons belong to the full configuration.
  FormVer->Endre->setVisible(fullt_);
  FormVer->Endrealt->setVisible(fullt_);
  FormVer->show();
  FormVer->raise();
  FormVer->activateWindow();
  EtterForsteVisning(FormVer);
}

void TFormVaer::KatalogClick() {
  if (!FormKatalog) return;
  if (FormKatalog->TaRase->count() == 0 && raser_) {
    for (int32_t kode = 0; kode < raser_->BreedCount(); ++kode) {
      auto* item = new QListWidgetItem(TilQString(raser_->BreedName(kode)), FormKatalog->TaRase);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
  }
  FormKatalog->Vis();
  EtterForsteVisning(FormKatalog);
}

void TFormVaer::SoyerClick() {
  if (FormSoyer) FormSoyer->Vis();
}

TVindu* TFormVaer::ParingsplanClick() {
  std::vector<TSoye> soyer;
  try {
    soyer = LesSoyer(SoyeFil(dataMappe_)).soyer;
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
    return nullptr;
  }
  if (soyer.empty()) {
    if (SporJaNei("Paringsplanen får en rad for hver søye i Soyer.Txt i datamappa, men det er ingen søyer der "
                  "ennå.\nVil du legge inn søyene dine nå? (Det gjøres under Arkiv, Søyer…)"))
      SoyerClick();
    return nullptr;
  }
  static const std::vector<int32_t> ingen;
  TVelgVerer d(FormKatalog ? FormKatalog->SisteUtvalg() : ingen, paringsplanNumre_, soyer.size(), this);
  const int svar = KjorDialog(d);
  paringsplanNumre_ = d.Numre->text();  // kept also when cancelled
  if (svar != QDialog::Accepted) return nullptr;
  return VisParingsplan(avl_.get(), soyer, d.Verer(), LesGrense(*ini_), this, Melding);
}

void TFormVaer::OmHornstadClick() {
  if (OmBoks) OmBoks->exec();
}

std::unique_ptr<TEndringsvakt> TFormVaer::StartEndringer() {
  try {
    return std::make_unique<TEndringsvakt>(dataMappe_, register_.get());
  } catch (const IoFeil& e) {
    Feilmelding("Endringene for værene på listene blir ikke laget ved denne innlesingen: " +
                QString::fromUtf8(e.what()));
    return nullptr;
  }
}

void TFormVaer::FullforEndringer(std::unique_ptr<TEndringsvakt> vakt) {
  if (!vakt || !register_) return;
  try {
    const std::optional<TEndringsrapport> r = vakt->Fullfor(*register_);
    vakt.reset();  // lets the old register's file go
    VisEndringsVarsel();
    if (r && !r->endringer.empty()) Melding(TilQString(EndringsMelding(*r)) + "\nSe Utlistinger, Endringer i listene.");
  } catch (const IoFeil& e) {
    Feilmelding("Værene er lest inn, men endringene for værene på listene ble ikke lagret: " +
                QString::fromUtf8(e.what()));
  }
}

void TFormVaer::VisEndringsVarsel() {
  std::optional<TEndringsrapport> r;
  try {
    r = LesEndringer(EndringsFil(dataMappe_)).rapport;
  } catch (const IoFeil&) {
  }
  Endringer->setEnabled(r.has_value());
  if (r && !r->endringer.empty()) {
    EndringsVarsel->setText(TilQString(EndringsMelding(*r)) + " <a href=\"endringer\">Vis endringene</a>");
    EndringsVarsel->show();
  } else {
    EndringsVarsel->hide();
  }
}

TVindu* TFormVaer::EndringerClick() {
  TEndringsLesing lest;
  try {
    lest = LesEndringer(EndringsFil(dataMappe_));
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
    return nullptr;
  }
  if (!lest.meldinger.empty()) {
    QStringList linjer;
    for (const std::string& m : lest.meldinger) linjer << TilQString(m);
    Melding(linjer.join("\n"));
  }
  if (!lest.rapport) {
    Melding(
        "Ingen endringer er laget ennå: de lages ved innlesing av værer når du har værer på listene "
        "(Utlistinger, Lister …).");
    return nullptr;
  }
  auto* vindu = new TVindu(this);
  ListEndringer(*lest.rapport, *vindu);
  vindu->Vis();
  return vindu;
}

void TFormVaer::ListerClick() {
  if (FormLister) FormLister->Vis();
}

void TFormVaer::SammenlignClick() {
  if (!register_ || !raser_) return;
  TSammenlignVerer d(sammenlignNumre_, this);
  const int svar = KjorDialog(d);
  sammenlignNumre_ = d.Numre->text();  // kept also when cancelled
  if (svar != QDialog::Accepted) return;
  VisSammenligning(*register_, *raser_, avl_.get(), d.Verer(), this, Melding);
}

void TFormVaer::StatistikkClick() {
  if (FormStatistikk) FormStatistikk->Vis();
}

void TFormVaer::LeggIListe(const std::vector<int32_t>& nummer, const QString& hva) {
  if (::LeggIListe(dataMappe_, nummer, hva, this, KjorDialog, Melding) && FormLister && FormLister->isVisible())
    FormLister->LesLister();
}
