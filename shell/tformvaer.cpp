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
#include <QKeyEvent>
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
#include <QShortcut>
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
#include "hovedbilde.h"
#include "melding.h"
#include "menylinje.h"
#include "okt.h"
#include "ramimport.h"
#include "register.h"
#include "skall.h"
#include "slektskap.h"
#include "soyer.h"
#include "tafrem.h"
#include "tekst.h"
#include "tformkatalog.h"
#include "tformles.h"
#include "tformlister.h"
#include "tformnedlast.h"
#include "tformparingsforslag.h"
#include "tformparingsplan.h"
#include "tformslektskap.h"
#include "tformsoyer.h"
#include "tformstatistikk.h"
#include "tformver.h"
#include "trase.h"
#include "tvindu.h"

namespace fs = std::filesystem;

TFormVaer::TFormVaer(TOkt& okt, QWidget* parent) : QMainWindow(parent), okt_(okt) {
  Bekreft = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Question, "Hornstad", t, QMessageBox::Ok | QMessageBox::Cancel,
                        QMessageBox::Ok) == QMessageBox::Ok;
  };
  SporJaNei = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Question, "Hornstad", t, QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::Yes) == QMessageBox::Yes;
  };
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, "Hornstad", t); };
  Feilmelding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Critical, "Hornstad", t); };
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
  Paringsforslag = new QAction("Paringsforslag …", this);
  Paringsforslag->setStatusTip("Den beste væren til hver søye, innenfor innavlsgrensen og værenes kapasitet");
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
  utlistinger->addAction(Paringsforslag);
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
  connect(Paringsforslag, &QAction::triggered, this, [this] { ParingsforslagClick(); });
  connect(OmHornstad, &QAction::triggered, this, &TFormVaer::OmHornstadClick);
  connect(Lister, &QAction::triggered, this, &TFormVaer::ListerClick);
  connect(Sammenlign, &QAction::triggered, this, &TFormVaer::SammenlignClick);
  connect(Statistikk, &QAction::triggered, this, &TFormVaer::StatistikkClick);
  connect(Endringer, &QAction::triggered, this, [this] { EndringerClick(); });

  // The tool bar that mirrors the menu's top items, each opening its menu.
  menylinje_ = new TMenylinje(this, {arkiv, Registrering, oppslag, utlistinger, hjelp});
  menuBar()->hide();  // the tool bar is the menu the user sees
  registreringKnapp_ = menylinje_->Knapp(Registrering);
  registreringKnapp_->setVisible(false);
  registreringKnapp_->setEnabled(false);
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
  bilde->setPixmap(Hovedbilde(QSize(300, 150)));
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
  StatusLinje->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(StatusLinje, 1);
  statusBar()->setSizeGripEnabled(false);

  setAcceptDrops(true);
  setMinimumSize(521, 323);
  setMaximumSize(590, 400);
  resize(560, 360);
  Kartotekoppslag->setEnabled(false);
  Katalog->setEnabled(false);
  Paringsplan->setEnabled(false);
  Paringsforslag->setEnabled(false);
  for (QAction* a : {Lister, Sammenlign, Statistikk}) a->setEnabled(false);

  // The first computation of the coefficients takes a moment on a large register.
  connect(&okt_, &TOkt::beregner, this, [this](bool start) {
    if (start) {
      StatusLinje->setText("Regner ut slektskap og innavl for alle værene ...");
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
      Oppdater();
    }
  });
  // Files other programs change: a register put in place of the loaded one
  // is offered for loading; a new change report shows in the notice.
  connect(&okt_, &TOkt::registerErstattet, this, &TFormVaer::RegisterErstattet, Qt::QueuedConnection);
  connect(&okt_, &TOkt::endringerEndret, this, &TFormVaer::VisEndringsVarsel);
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

void TFormVaer::KomFram() {
  if (vist_) ::TaFrem(this);
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
  const TPlass p = LesPlass(okt_.Innstillinger(), seksjon);
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
  // The window system puts its frame round the window a moment after it
  // shows; until then the window reads as having none. Looks again, frame
  // and all, until the frame is known, and brings in a frame that reaches
  // past the screen. A window system that draws no frames never tells one:
  // the looking ends after two seconds.
  auto* klokke = new QTimer(w);
  klokke->setInterval(20);
  connect(klokke, &QTimer::timeout, w, [w, klokke, ganger = 0]() mutable {
    const QRect inni = w->geometry();
    const QRect ramme = w->frameGeometry();
    const QMargins kant(inni.left() - ramme.left(), inni.top() - ramme.top(), ramme.right() - inni.right(),
                        ramme.bottom() - inni.bottom());
    const QRect plass = PaaSkjermen(inni, kant, Skjermer());
    if (plass != inni) w->setGeometry(plass);
    if (!kant.isNull() || ++ganger >= 100) klokke->deleteLater();
  });
  klokke->start();
}

void TFormVaer::ForsteVisning() {
  QSettings& ini = okt_.Innstillinger();
  Plasser(this, "Hoved", false);
  siste_ = ini.value("Hoved/Siste").toString();
  SettFullt(okt_.Fullt());
  for (const auto& [w, seksjon] : Plasseringer()) Plasser(w, seksjon, true);
  setWindowTitle(Hovedtittel());
}

std::vector<std::pair<QWidget*, QString>> TFormVaer::Plasseringer() const {
  std::vector<std::pair<QWidget*, QString>> v;
  const std::pair<QWidget*, const char*> alle[] = {
      {FormVer, "Ver"},       {FormKatalog, "Katalog"},       {FormSoyer, "Soyer"}, {FormSlektskap, "Slektskap"},
      {FormLister, "Lister"}, {FormStatistikk, "Statistikk"},
  };
  for (const auto& [w, seksjon] : alle)
    if (w) v.emplace_back(w, seksjon);
  return v;
}

void TFormVaer::ForsteLasting() {
  repaint();
  if (!okt_.Register()) LastRegister();
  Oppdater();
  if (const std::string& feil = okt_.Raser().Feil(); !feil.empty()) Feilmelding(QString::fromStdString(feil));
  VisEndringsVarsel();
  // From now on, files that other programs change are followed.
  okt_.Folg();
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
  // Nothing is computed here: only when a window asks. Open windows follow
  // the new register themselves.
  try {
    okt_.LastRegister();
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
  }
  okt_.SettImporterer(false);
  Animasjon->hide();
  if (const std::string advarsel = okt_.Register()->Advarsel(); !advarsel.empty())
    Melding(QString::fromStdString(advarsel));
}

void TFormVaer::Oppdater() {
  const std::size_t antall = okt_.AntallVerer();
  Kartotekoppslag->setEnabled(okt_.Register() && OppslagTillatt(antall));
  Katalog->setEnabled(okt_.Register() && OppslagTillatt(antall));
  Paringsplan->setEnabled(Katalog->isEnabled());
  Paringsforslag->setEnabled(Katalog->isEnabled());
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
  if (vist_) {
    QSettings& ini = okt_.Innstillinger();
    SkrivPlass(ini, "Hoved", QRect(pos(), size()), false);
    ini.setValue("Hoved/Siste", siste_);
    // Every window's place and size, as it was last shown.
    for (const auto& [w, seksjon] : Plasseringer()) SkrivPlass(ini, seksjon, QRect(w->pos(), w->size()), true);
    if (!ini.contains("Nett/Adresse")) ini.setValue("Nett/Adresse", QString(StandardAdresse));
    ini.sync();
    if (ini.status() != QSettings::NoError) Feilmelding("Kunne ikke lagre innstillingene i " + ini.fileName() + ".");
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
  SlippRegister();
  const fs::path arkiv = okt_.DataMappe() / ArkivNavn;
  const TFilmerke forNedlasting = Filmerke(arkiv);
  bool lastetNed = false;
  if (Bekreft(QString::fromUtf8(NedlastingSporsmal)) && FormNedlast) {
    ForberedNedlasting();
    const std::string url = (Nettadresse(okt_.Innstillinger()) + VerArkivSti).toStdString();
    lastetNed = FormNedlast->DownloadFile(url, arkiv, 0);
  }
  int64_t korteLinjer = 0;
  bool importert = false;
  if (lastetNed) {
    Animasjon->show();
    StatusLinje->setText("Leser inn værer ...");
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
      korteLinjer = ImporterArkiv(arkiv, okt_.DataMappe(), [](int64_t, int64_t) {
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
  if (lastetNed || !Filmerke(arkiv).SammeFil(forNedlasting)) {
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
  SlippRegister();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  StatusLinje->setText("Leser inn værer fra " + QString::fromStdString(fil.filename().string()) + " ...");
  Animasjon->setRange(0, 1000);
  Animasjon->setValue(0);
  Animasjon->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QString feil;
  int64_t korteLinjer = 0;
  try {
    korteLinjer = ImporterFil(fil, okt_.DataMappe(), [this](int64_t gjort, int64_t totalt) {
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
  if (FormNedlast) FormNedlast->valg.sertifikat = Sertifikatfil(okt_.Innstillinger(), okt_.DataMappe());
}

void TFormVaer::HenteInnClick() {
  auto vakt = StartEndringer();
  SlippRegister();
  ForberedNedlasting();
  bool lest = false;
  if (FormLes) {
    FormLes->DataMappe = okt_.DataMappe();
    FormLes->FormNedlast = FormNedlast;
    FormLes->Adresse = [this] { return Nettadresse(okt_.Innstillinger()); };
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
  QDesktopServices::openUrl(QUrl(Nettadresse(okt_.Innstillinger()) + ProgramSti));
  Melding(
      "Når fila er ferdig nedlastet kan du gå til arkiv, hent inn værer for deretter å bla deg fram til den fila du "
      "lastet ned.");
}

void TFormVaer::KartotekoppslagClick() {
  if (!FormVer) return;
  // The editing buttons belong to the full configuration.
  FormVer->Endre->setVisible(fullt_);
  FormVer->Endrealt->setVisible(fullt_);
  ::TaFrem(FormVer);
  EtterForsteVisning(FormVer);
}

void TFormVaer::KatalogClick() {
  if (!FormKatalog) return;
  FormKatalog->Vis();
  EtterForsteVisning(FormKatalog);
}

void TFormVaer::SoyerClick() {
  if (!FormSoyer) return;
  FormSoyer->Vis();
  EtterForsteVisning(FormSoyer);
}

bool TFormVaer::LesSoyerFor(const QString& hva) {
  try {
    okt_.LesSoyer();
  } catch (const IoFeil& e) {
    Feilmelding(QString::fromUtf8(e.what()));
    return false;
  }
  if (!okt_.Soyer().empty()) return true;
  if (SporJaNei(hva + " får en rad for hver søye i Soyer.Txt i datamappa, men det er ingen søyer der "
                      "ennå.\nVil du legge inn søyene dine nå? (Det gjøres under Arkiv, Søyer…)"))
    SoyerClick();
  return false;
}

TVindu* TFormVaer::ParingsplanClick() {
  if (!LesSoyerFor("Paringsplanen")) return nullptr;
  const std::vector<TSoye> soyer = okt_.Soyer();
  TVelgVerer d(okt_.KatalogNumre(), paringsplanNumre_, soyer.size(), this);
  const int svar = KjorDialog(d);
  paringsplanNumre_ = d.Numre->text();  // kept also when cancelled
  if (svar != QDialog::Accepted) return nullptr;
  return VisParingsplan(&okt_.Avlsdata(), soyer, d.Verer(), okt_.Grense(), this, Melding,
                        [this](const std::vector<int32_t>& verer) { ParingsforslagClick(&verer); });
}

TParingsforslagVindu* TFormVaer::ParingsforslagClick(const std::vector<int32_t>* verer) {
  if (paringsforslag_) {
    ::TaFrem(paringsforslag_->Vindu());
    if (verer) paringsforslag_->ValgClick(verer);
    return paringsforslag_;
  }
  if (!LesSoyerFor("Paringsforslaget")) return nullptr;
  paringsforslag_ = VisParingsforslag(okt_, this, verer, KjorDialog, Melding);
  if (paringsforslag_) {
    paringsforslag_->KjorDialog = KjorDialog;
    paringsforslag_->SporJaNei = SporJaNei;
  }
  return paringsforslag_;
}

void TFormVaer::OmHornstadClick() {
  if (OmBoks) OmBoks->exec();
}

std::unique_ptr<TEndringsvakt> TFormVaer::StartEndringer() {
  try {
    return std::make_unique<TEndringsvakt>(okt_.DataMappe(), okt_.Register());
  } catch (const IoFeil& e) {
    Feilmelding("Endringene for værene på listene blir ikke laget ved denne innlesingen: " +
                QString::fromUtf8(e.what()));
    return nullptr;
  }
}

void TFormVaer::FullforEndringer(std::unique_ptr<TEndringsvakt> vakt) {
  if (!vakt || !okt_.Register()) return;
  try {
    const std::optional<TEndringsrapport> r = vakt->Fullfor(*okt_.Register());
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
    r = LesEndringer(EndringsFil(okt_.DataMappe())).rapport;
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
    lest = LesEndringer(EndringsFil(okt_.DataMappe()));
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
  if (!FormLister) return;
  FormLister->Vis();
  EtterForsteVisning(FormLister);
}

void TFormVaer::SammenlignClick() {
  if (!okt_.Register()) return;
  TSammenlignVerer d(sammenlignNumre_, this);
  const int svar = KjorDialog(d);
  sammenlignNumre_ = d.Numre->text();  // kept also when cancelled
  if (svar != QDialog::Accepted) return;
  VisSammenligning(okt_, d.Verer(), this, Melding);
}

void TFormVaer::StatistikkClick() {
  if (!FormStatistikk) return;
  FormStatistikk->Vis();
  EtterForsteVisning(FormStatistikk);
}

void TFormVaer::LeggIListe(const std::vector<int32_t>& nummer, const QString& hva) {
  ::LeggIListe(okt_, nummer, hva, this, KjorDialog, Melding);
}

void TFormVaer::SlippRegister() {
  okt_.SettImporterer(true);
  okt_.SlippRegister();
}

void TFormVaer::RegisterErstattet() {
  if (sporOmNyttRegister_ || !okt_.Register() || okt_.Register()->FilaErLastet()) return;
  sporOmNyttRegister_ = true;
  const bool last = SporJaNei(
      "Værregisteret i datamappa er byttet ut av et annet program (for eksempel hornstad-cli importer) mens "
      "Hornstad var åpent.\nVil du laste inn det nye registeret nå?\n\n(Til du gjør det, viser Hornstad værene "
      "slik de var, og endringer i værpostene kan ikke lagres.)");
  sporOmNyttRegister_ = false;
  if (!last) return;
  LastRegister();
  Oppdater();
  // The import that put it there made the change report for the lists.
  VisEndringsVarsel();
  try {
    if (const auto r = LesEndringer(EndringsFil(okt_.DataMappe())).rapport; r && !r->endringer.empty())
      Melding(TilQString(EndringsMelding(*r)) + "\nSe Utlistinger, Endringer i listene.");
  } catch (const IoFeil&) {
  }
}
