#include "tvindu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "lagredialog.h"
#include "melding.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "tabellutskrift.h"
#include "tgrid.h"
#include "timeglass.h"
#include "versjon.h"

namespace {

QColor Farge(TFarge f) { return QColor((f >> 16) & 0xFF, (f >> 8) & 0xFF, f & 0xFF); }

QToolButton* Knapp(QToolBar* linje, const QString& tekst, const QString& hint, QStyle::StandardPixmap ikon) {
  auto* b = new QToolButton(linje);
  b->setText(tekst);
  b->setToolTip(hint);
  b->setIcon(linje->style()->standardIcon(ikon));
  b->setToolButtonStyle(Qt::ToolButtonIconOnly);
  b->setAutoRaise(true);
  linje->addWidget(b);
  return b;
}

}  // namespace

TVindu::TVindu(QWidget* eier) : QMainWindow(eier, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Utskriftsvindu");
  QFont f("Liberation Sans");
  f.setPointSize(9);
  setFont(f);

  VerkT = addToolBar("Verktøy");
  VerkT->setMovable(false);
  VerkT->setIconSize(QSize(16, 16));
  Lukk = Knapp(VerkT, "Lukk", "Lukk utskriftet [ESC]", QStyle::SP_DialogCloseButton);
  Let = Knapp(VerkT, "Let", "Let etter tekst [F3]", QStyle::SP_FileDialogContentsView);
  Utskrift = Knapp(VerkT, "Skriv ut", "Utskrift på papir [F6]", QStyle::SP_FileIcon);
  Storre = Knapp(VerkT, "Større", "Forstørr linjer og font", QStyle::SP_ArrowUp);
  Mindre = Knapp(VerkT, "Mindre", "Krymp lijehøgde og font.", QStyle::SP_ArrowDown);
  Minkende = Knapp(VerkT, "Minkende", "Sorter med minkende verdier", QStyle::SP_TitleBarShadeButton);
  Okende = Knapp(VerkT, "Økende", "Sorter med økende verdi.", QStyle::SP_TitleBarUnshadeButton);
  Egdeff = Knapp(VerkT, "Pdf", "Eksport, lagre som Pdf.", QStyle::SP_DialogSaveButton);
  Hjelp = Knapp(VerkT, "Hjelp", "Hjelp om utskriftvindu", QStyle::SP_DialogHelpButton);
  Hjelp->setVisible(false);
  VerkT->actions().last()->setVisible(false);
  auto* fyll = new QWidget(VerkT);
  fyll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  VerkT->addWidget(fyll);
  Label1 = new QLabel(VerkT);
  Label1->setTextFormat(Qt::PlainText);
  QFont notefont = Label1->font();
  notefont.setPointSize(8);
  Label1->setFont(notefont);
  merknad_ = VerkT->addWidget(Label1);
  merknad_->setVisible(false);

  auto* midt = new QWidget(this);
  Overskr = new QLabel(midt);
  Overskr->setTextFormat(Qt::PlainText);
  Overskr->setFrameShape(QFrame::Panel);
  Overskr->setFrameShadow(QFrame::Raised);
  Overskr->setAlignment(Qt::AlignCenter);
  Soyla = new QProgressBar(midt);
  Soyla->setVisible(false);
  Soyla->setMaximumWidth(150);
  auto* hode = new QHBoxLayout;
  hode->setContentsMargins(0, 0, 0, 0);
  hode->addWidget(Overskr, 1);
  hode->addWidget(Soyla);

  Grinn = new TGrid(midt);
  Grinn->setToolTip("Klikk og merk. Meny på høgre tast.");
  Grinn->setContextMenuPolicy(Qt::CustomContextMenu);
  bunn = new TGrid(midt);
  bunn->SettRullefelt(false);
  bunn->Velgbar = false;
  bunn->KolonneDrag = false;
  bunn->setFocusPolicy(Qt::NoFocus);
  bunn->setFrameShape(QFrame::NoFrame);
  bunn->setToolTip("Undertekst som viser summer, antall eller snitt.");
  bunn->setVisible(false);
  tabell_.BrukModeller(&Grinn->Modell(), &bunn->Modell());
  tabell_.SettSkrift(10);
  Grinn->TegnCelle = [this](QPainter& p, TCelleTegning& c) { TegnCelle(p, c, false); };
  bunn->TegnCelle = [this](QPainter& p, TCelleTegning& c) { TegnCelle(p, c, true); };

  auto* lag = new QVBoxLayout(midt);
  lag->setContentsMargins(0, 0, 0, 2);
  lag->setSpacing(0);
  lag->addLayout(hode);
  lag->addWidget(Grinn, 1);
  lag->addWidget(bunn);
  setCentralWidget(midt);

  const int bredder[3] = {80, 130, 100};
  const char* tekster[3] = {"", "Merket", "Skriver"};
  for (int i = 0; i < 3; ++i) {
    Panel[i] = new QLabel(tekster[i], this);
    Panel[i]->setTextFormat(Qt::PlainText);
    Panel[i]->setMinimumWidth(bredder[i]);
    Panel[i]->setFrameShape(QFrame::Panel);
    Panel[i]->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(Panel[i], i == 2 ? 1 : 0);
  }
  statusBar()->setToolTip("Statuslinje");

  // The popup menu of the grid, whose entries also answer their keys.
  Redmen = new QMenu(this);
  const auto handling = [this](const QString& tekst, const QKeySequence& tast = {}) {
    auto* a = new QAction(tekst, this);
    if (!tast.isEmpty()) {
      a->setShortcut(tast);
      a->setShortcutContext(Qt::WindowShortcut);
    }
    addAction(a);
    Redmen->addAction(a);
    return a;
  };
  Tellein = handling("Tell linjer");
  SumKol = handling("Summer kolonne");
  SniKol = handling("Snitt kolonne");
  Redmen->addSeparator();
  KanEndre = handling("Endre tekst", QKeySequence(Qt::Key_Insert));
  KanEndre->setCheckable(true);
  Redmen->addSeparator();
  Kopier1 = handling("Lagre/Kopier separert med ;");
  Kopier2 = handling("Lagre/kopier TAB-separert");
  Komma = handling("TAB med komma som linjeskift");
  Excel = handling("Eksporter MS Excel");
  KopHtm = handling("Lagre/Kopier som HTML");
  KopMedTab = handling("Kopier tab-sepp", QKeySequence(Qt::CTRL | Qt::Key_C));
  Redmen->addSeparator();
  MerkAlt1 = handling("Merk &Alt", QKeySequence(Qt::CTRL | Qt::Key_A));

  connect(Grinn, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { Redmen->popup(Grinn->mapToGlobal(p)); });
  connect(KanEndre, &QAction::toggled, this, [this](bool paa) {
    Grinn->Redigerbar = paa;
    if (!paa) Grinn->AvbrytRedigering();
  });
  connect(MerkAlt1, &QAction::triggered, this, &TVindu::MerkAltClick);
  connect(Tellein, &QAction::triggered, this, &TVindu::TelleinClick);
  connect(SumKol, &QAction::triggered, this, &TVindu::SumKolClick);
  connect(SniKol, &QAction::triggered, this, &TVindu::SniKolClick);
  connect(Okende, &QToolButton::clicked, this, [this] { SorterClick(false); });
  connect(Minkende, &QToolButton::clicked, this, [this] { SorterClick(true); });
  connect(Let, &QToolButton::clicked, this, &TVindu::LetClick);
  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };
  const std::pair<QAction*, TEksportType> eksporter[] = {
      {Kopier1, TEksportType::Semikolon}, {Kopier2, TEksportType::Tab}, {Komma, TEksportType::TabKomma},
      {Excel, TEksportType::Regneark},    {KopHtm, TEksportType::Html}, {KopMedTab, TEksportType::KopierTab}};
  for (const auto& [a, type] : eksporter)
    connect(a, &QAction::triggered, this, [this, type = type] { EksportClick(type); });
  VelgLagringsfil = [this](const TLagreValg& v) {
    return SporLagringsfil(this, QString::fromUtf8(v.tittel), QString::fromUtf8(v.filnavn),
                           FiltyperAv(QString::fromUtf8(v.filter)), v.filterNr - 1);
  };
  connect(Utskrift, &QToolButton::clicked, this, &TVindu::UtskriftClick);
  connect(Egdeff, &QToolButton::clicked, this, &TVindu::EgdeffClick);
  VelgSkriver = [this](QPrinter& skriver, bool tilbyUtvalg, bool& utvalg) {
    QPrintDialog d(&skriver, this);
    d.setOption(QAbstractPrintDialog::PrintSelection, tilbyUtvalg);
    if (d.exec() != QDialog::Accepted) return false;
    utvalg = tilbyUtvalg && skriver.printRange() == QPrinter::Selection;
    return true;
  };
  // A printed page is headed by the program's name, as its main window is.
  Hovedtekst = [] { return Hovedtittel(); };
  connect(Lukk, &QToolButton::clicked, this, &QWidget::close);
  connect(Storre, &QToolButton::clicked, this, &TVindu::StorreClick);
  connect(Mindre, &QToolButton::clicked, this, &TVindu::MindreClick);
  connect(Grinn, &TGrid::musSluppet, this, &TVindu::GrinnMusSluppet);
  connect(Grinn, &TGrid::celleValgt, this, &TVindu::VisPosisjon);
  connect(Grinn, &TGrid::rullet, this, &TVindu::FolgHoved);
  connect(Grinn, &TGrid::kolonnebreddeEndret, this, [this] { FolgHoved(); });
  // Columns and rows may be dragged to other places; a column takes its
  // widest text and its footer cells along.
  Grinn->KolonneFlytt = true;
  Grinn->RadFlytt = true;
  connect(Grinn, &TGrid::kolonneFlyttet, this, [this](int fra, int til) {
    auto& b = tabell_.Bredeste;
    if (fra < static_cast<int>(b.size()) && til < static_cast<int>(b.size())) {
      const std::string flyttet = b[static_cast<std::size_t>(fra)];
      b.erase(b.begin() + fra);
      b.insert(b.begin() + til, flyttet);
    }
    bunn->Modell().FlyttKolonne(fra, til);
    FolgHoved();
  });
  connect(Grinn, &TGrid::celleDobbeltklikket, this, [this] {
    // Freezes or frees the first column.
    if (Grinn->Redigerbar) return;
    TRutenett& m = Grinn->Modell();
    m.SettFaste(m.FasteKol() == 0 ? 1 : 0, m.FasteRader());
    FolgHoved();
  });

  // Keys the window answers before its controls.
  const auto tast = [this](const QKeySequence& k, auto f) {
    auto* s = new QShortcut(k, this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, f);
  };
  tast(QKeySequence(Qt::Key_Escape), [this] { close(); });
  tast(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), [this] { StorreClick(); });
  tast(QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), [this] { MindreClick(); });
  tast(QKeySequence(Qt::Key_F1), [] {});
  tast(QKeySequence(Qt::Key_F3), [this] { Let->click(); });
  tast(QKeySequence(Qt::Key_F6), [this] { Egdeff->click(); });

  Grinn->installEventFilter(this);
  for (QWidget* w : {static_cast<QWidget*>(Grinn), static_cast<QWidget*>(bunn), static_cast<QWidget*>(Overskr)})
    w->installEventFilter(this);
  for (QToolButton* b : {Lukk, Let, Utskrift, Storre, Mindre, Minkende, Okende, Egdeff}) b->installEventFilter(this);

  resize(600, 282 + VerkT->sizeHint().height() + statusBar()->sizeHint().height());
}

TVindu::~TVindu() = default;

QFont TVindu::Gridfont() const { return Tabellskrift(tabell_.Skriftstorrelse); }

void TVindu::SettSkrift(int storrelse) {
  tabell_.SettSkrift(storrelse);
  Grinn->setFont(Gridfont());
  bunn->setFont(Gridfont());
}

void TVindu::Oppsett(QWidget*, int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader,
                     const std::string& tittel, TFarge farge1, TFarge farge2) {
  Oppsett(antKol, tittelStorrelse, fasteKol, fasteRader, bunnRader, tittel, farge1, farge2);
}

void TVindu::Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader,
                     const std::string& tittel, TFarge farge1, TFarge farge2) {
  tabell_.Oppsett(antKol, tittelStorrelse, fasteKol, fasteRader, bunnRader, tittel, farge1, farge2);
  setWindowTitle(TilQString(tabell_.Vindustittel()));
  bunn->setVisible(tabell_.BunnVist);
  QFont hodefont = font();
  hodefont.setPointSize(tittelStorrelse);
  Overskr->setFont(hodefont);
  Overskr->setText(TilQString(tittel));
  SettSkrift(10);
  const int h = QFontMetrics(Gridfont()).height();
  Grinn->Modell().SettStandardHoyde(h);
  bunn->Modell().SettStandardHoyde(h);
}

void TVindu::NyRad(std::string_view tekst) { tabell_.NyRad(tekst); }

void TVindu::SettVindusnavn(const std::string& navn) {
  tabell_.SettVindusnavn(navn);
  setWindowTitle(TilQString(tabell_.Vindustittel()));
}
void TVindu::NyeRader(int antall, TRadtekst tekst) { tabell_.NyeRader(antall, std::move(tekst)); }

void TVindu::NyBunnRad(std::string_view tekst) {
  tabell_.NyBunnRad(tekst);
  bunn->setFixedHeight(Grinn->Modell().StandardHoyde() * tabell_.AntBunnRader + 2);
}

void TVindu::Vis() {
  ForsteLayout();
  show();
  raise();
  activateWindow();
}

void TVindu::ForsteLayout() {
  merknad_->setVisible(true);
  QFont hodefont = Overskr->font();
  hodefont.setFamily(font().family());
  Overskr->setFont(hodefont);
  tabell_.ForsteLayout();
  SettSkrift(tabell_.Skriftstorrelse);
  int bredde = 600;
  if (tabell_.Minsteskrift > 5) {
    // A table that keeps a readable font opens as wide as it is, within the
    // screen; the rest scrolls.
    const QRect skjerm = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    bredde = std::clamp(tabell_.TotalBredde() + 40, 600, std::max(600, skjerm.width() * 9 / 10));
  }
  resize(bredde, height());
  Skaler();
  Grinn->viewport()->update();
  Skaler();
}

void TVindu::Skaler() {
  tabell_.Skaler();
  Arkmerknad();
  bunn->setFixedHeight(tabell_.Hoved().StandardHoyde() * std::max(tabell_.AntBunnRader, 1) + 2);
  FolgHoved();
}

void TVindu::Arkmerknad() {
  const TTabell::TMerknad m = tabell_.Arkmerknad(tabell_.Hoved().StandardHoyde());
  Label1->setText(QString::fromUtf8(m.tekst).replace('\r', '\n'));
  Label1->setStyleSheet(m.rod ? "color: rgb(255, 0, 0);" : "color: rgb(0, 0, 255);");
}

void TVindu::StorreClick() {
  SettSkrift(std::min(tabell_.Skriftstorrelse + 1, 30));
  Skaler();
}

void TVindu::MindreClick() {
  SettSkrift(std::max(tabell_.Skriftstorrelse - 1, 4));
  Skaler();
}

void TVindu::MerkAltClick() {
  tabell_.MerkAlt();
  GrinnMusSluppet();
}

void TVindu::SlettMerkede() {
  tabell_.SlettMerkede();
  Panel[1]->clear();
}

// The footer keeps the main grid's frozen columns, widths and scrolling.
void TVindu::FolgHoved() {
  if (!bunn->isVisible() && !tabell_.BunnVist) return;
  TRutenett& b = bunn->Modell();
  const TRutenett& h = Grinn->Modell();
  if (b.FasteKol() != h.FasteKol()) b.SettFaste(h.FasteKol(), 0);
  for (int k = 0; k < b.Kolonner() && k < h.Kolonner(); ++k)
    if (b.Kolbredde(k) != h.Kolbredde(k)) b.SettKolbredde(k, h.Kolbredde(k));
  bunn->SettVenstreKol(Grinn->VenstreKol());
  bunn->viewport()->update();
}

void TVindu::VisPosisjon() {
  const TRutenett& m = Grinn->Modell();
  Panel[0]->setText(QString("%1/%2").arg(m.GjeldendeKol()).arg(m.GjeldendeRad() - m.FasteRader() + 1));
}

void TVindu::GrinnMusSluppet() {
  const TOmraade& v = Grinn->Modell().Valg();
  Panel[1]->setText(v.bunn > v.topp ? QString("Merket :%1 til :%2").arg(v.topp).arg(v.bunn) : QString());
  VisPosisjon();
  FolgHoved();
  Arkmerknad();
}

bool TVindu::eventFilter(QObject* o, QEvent* e) {
  if (o == Grinn && e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete &&
      !Grinn->Redigerer()) {
    SlettMerkede();
    return true;
  }
  if (e->type() == QEvent::Enter) {
    // Panel 2 tells what the control under the mouse is for.
    if (auto* w = qobject_cast<QWidget*>(o); w && !w->toolTip().isEmpty()) Panel[2]->setText(w->toolTip());
  }
  return QMainWindow::eventFilter(o, e);
}

void TVindu::TegnCelle(QPainter& p, TCelleTegning& c, bool fot) {
  const QRect r = c.rute;
  const TCelleFormat f = TolkFormat(FraQString(c.tekst));
  const QColor flate = palette().color(QPalette::Button);
  const bool fast = c.fast || fot;
  p.fillRect(r, fast ? flate : (c.valgt ? QColor(255, 255, 0) : QColor(Qt::white)));
  const std::string& t = f.tekst;
  if (t > std::string(" ")) {
    QFont font = fot ? bunn->font() : Grinn->font();
    font.setBold(f.fet);
    font.setItalic(f.kursiv);
    font.setUnderline(f.understrek);
    font.setStrikeOut(f.gjennomstrek);
    p.setFont(font);
    p.setPen(Farge(FormatFarge(f, tabell_.Farge1, tabell_.Farge2)));
    const QString vist = TilQString(t);
    if (HoyreJustert(t))
      p.drawText(r.adjusted(0, 1, -2, 0), Qt::AlignRight | Qt::AlignTop, vist);
    else
      p.drawText(r.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, vist);
  }
  if (fast) {
    // Raised edges; stacked header rows read as one block.
    const int fasteRader = Grinn->Modell().FasteRader();
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.bottomLeft());
    if (!fot && c.rad >= 1 && c.rad < fasteRader) {
      p.setPen(flate);
      p.drawLine(r.left(), r.top() - 1, r.right(), r.top() - 1);
    } else {
      p.drawLine(r.topLeft(), r.topRight());
    }
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.topRight(), r.bottomRight());
    if (fot || c.rad >= fasteRader - 1) p.drawLine(r.bottomLeft(), r.bottomRight());
  }
  c.ferdig = true;
}

void TVindu::SorterClick(bool minkende) {
  {
    const TTimeglass timeglass;
    Sorter(Grinn->Modell(), minkende, [this](const std::string& t) {
      Panel[2]->setText(QString::fromUtf8(t));
      Panel[2]->repaint();
    });
  }
  Grinn->viewport()->update();
}

void TVindu::LetClick() {
  finn_.FinnVidere = false;
  if (!FindDialog1) {
    // A small find dialog; each press of "Finn neste" searches once.
    FindDialog1 = new QDialog(this);
    FindDialog1->setWindowTitle("Finn");
    Finnetekst = new QLineEdit(FindDialog1);
    auto* knapper = new QDialogButtonBox(FindDialog1);
    QPushButton* finn = knapper->addButton("&Finn neste", QDialogButtonBox::AcceptRole);
    knapper->addButton("Lukk", QDialogButtonBox::RejectRole);
    finn->setDefault(true);
    auto* lag = new QVBoxLayout(FindDialog1);
    lag->addWidget(new QLabel("Finn hva:", FindDialog1));
    lag->addWidget(Finnetekst);
    lag->addWidget(knapper);
    connect(finn, &QPushButton::clicked, this, [this] { FinnNeste(Finnetekst->text()); });
    connect(knapper, &QDialogButtonBox::rejected, FindDialog1, &QDialog::hide);
  }
  FindDialog1->show();
  FindDialog1->raise();
  FindDialog1->activateWindow();
  Finnetekst->setFocus();
  Finnetekst->selectAll();
}

bool TVindu::FinnNeste(const QString& tekst) {
  const std::string t = FraQString(tekst);
  const auto treff = Finn(Grinn->Modell(), finn_, t);
  if (!treff) {
    Melding(QString::fromUtf8(FantIkke(t)));
    return false;
  }
  Grinn->SettToppRad(treff->rad);
  Grinn->viewport()->update();
  GrinnMusSluppet();
  return true;
}

void TVindu::TelleinClick() {
  TellLinjer(tabell_);
  bunn->viewport()->update();
}

// A figure wider than its column widens the column at once, so that it is
// never shown cut.
void TVindu::SumKolClick() {
  const auto for_ = tabell_.Bredeste;
  SummerKolonne(tabell_);
  if (tabell_.Bredeste != for_) Skaler();
  bunn->viewport()->update();
}

void TVindu::SniKolClick() {
  const auto for_ = tabell_.Bredeste;
  if (const auto feil = SnittKolonne(tabell_)) Melding(QString::fromUtf8(*feil));
  if (tabell_.Bredeste != for_) Skaler();
  bunn->viewport()->update();
}

// Panel 2 says what a save or an export wrote; the whole text, with the
// file's folder, is the panel's hint.
void TVindu::VisSkrevet(const std::string& melding, const QString& fil) {
  QString tekst = QString::fromUtf8(melding);
  QString hint = tekst;
  if (!fil.isEmpty()) {
    // The file's name (at the end) gives way in its middle when the panel is
    // too narrow for all of it.
    const QString navn = QFileInfo(fil).fileName();
    hint.replace(navn, QDir::toNativeSeparators(fil));
    const QFontMetrics fm = Panel[2]->fontMetrics();
    const int plass = Panel[2]->contentsRect().width() - 4;
    if (tekst.endsWith(navn) && fm.horizontalAdvance(tekst) > plass) {
      const QString foran = tekst.left(tekst.size() - navn.size());
      tekst = foran + fm.elidedText(navn, Qt::ElideMiddle, std::max(plass - fm.horizontalAdvance(foran), 0));
    }
  }
  Panel[2]->setText(tekst);
  Panel[2]->setToolTip(hint);
}

void TVindu::EksportClick(TEksportType type) {
  valg_.Forbered(type);
  const TEksport e = Eksporter(tabell_, type);
  const auto tilUtklipp = [&] {
    QGuiApplication::clipboard()->setText(TilQString(e.Utklipp()));
    VisSkrevet(Eksportmelding(e, ""));
  };
  if (!e.dialog) {
    tilUtklipp();
    return;
  }
  const std::optional<TLagringsfil> svar = Lagringsfil(VelgLagringsfil(valg_), valg_);
  if (!svar || !DialogBekreftet(true, svar->fil.toStdString())) {
    tilUtklipp();
    return;
  }
  const QString& fil = svar->fil;
  try {
    SkrivEksport(std::filesystem::path(fil.toStdString()), e);
  } catch (const IoFeil& feil) {
    Melding(QString::fromUtf8(feil.what()));
    return;
  }
  VisSkrevet(Eksportmelding(e, QFileInfo(fil).fileName().toStdString()), fil);
  if (e.apne) QDesktopServices::openUrl(QUrl::fromLocalFile(fil));
}

std::optional<TLagringsfil> TVindu::Lagringsfil(const std::optional<TLagringsfil>& svar, const TLagreValg& valg) {
  if (!svar) return std::nullopt;
  return ::Lagringsfil(*svar, FiltyperAv(QString::fromUtf8(valg.filter)));
}

TUtskrift TVindu::Utskriftsjobb() {
  TUtskrift u;
  u.tabell = &tabell_;
  u.hovedtekst = FraQString(Hovedtekst ? Hovedtekst() : QString());
  u.dato = IDag();
  u.hendelser.status = [this](const std::string& t) {
    Panel[2]->setText(QString::fromUtf8(t));
    Panel[2]->repaint();
  };
  u.hendelser.start = [this](int forste, int siste) {
    // The bar fills the heading's width beside its centred title.
    const int tekst = Overskr->fontMetrics().horizontalAdvance(Overskr->text());
    Soyla->setFixedWidth(std::max(10, (Overskr->width() - tekst) / 2 - 8));
    Soyla->setRange(forste, std::max(forste, siste));
    Soyla->setValue(forste);
    Soyla->setVisible(true);
  };
  u.hendelser.fremdrift = [this](int rad) {
    // Redrawn about a hundred times a run, however long the table.
    const int steg = std::max(1, (Soyla->maximum() - Soyla->minimum()) / 100);
    if (rad == Soyla->maximum() || (rad - Soyla->minimum()) % steg == 0) {
      Soyla->setValue(rad);
      Soyla->repaint();
    }
  };
  u.hendelser.slutt = [this] {
    Soyla->setVisible(false);
    Soyla->setFixedWidth(10);
  };
  return u;
}

void TVindu::UtskriftClick() {
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setFullPage(false);
  bool utvalg = false;
  if (!VelgSkriver(skriver, TilbyUtvalg(Grinn->Modell()), utvalg)) return;
  if (const auto feil = ForBredForArket(tabell_.TotalBredde(), skriver.width() >= skriver.height())) {
    Melding(QString::fromUtf8(*feil));
    return;
  }
  try {
    const TSkriverjobb jobb;
    const TTimeglass timeglass;
    SkrivPaaSkriver(skriver, [&](QPagedPaintDevice& enhet) {
      if (const auto feil = SkrivTabell(enhet, utvalg, Utskriftsjobb())) Melding(QString::fromUtf8(*feil));
    });
  } catch (const IoFeil& feil) {
    Soyla->setVisible(false);
    Melding(QString::fromUtf8(feil.what()));
  }
}

void TVindu::EgdeffClick() {
  // The dialog says PDF and offers a PDF name; the exports keep their own
  // settings but for the default extension.
  const TLagreValg pdf = valg_.PdfValg();
  valg_.standardEndelse = pdf.standardEndelse;
  const std::optional<TLagringsfil> svar = Lagringsfil(VelgLagringsfil(pdf), pdf);
  if (!svar || !DialogBekreftet(true, svar->fil.toStdString())) return;
  const QString& fil = svar->fil;
  try {
    const TTimeglass timeglass;
    const QString skrevet = QString::fromStdString(SkrivTabellPdf(fil.toStdString(), Utskriftsjobb()));
    // "Ferdig skrevet", and what went where.
    const TRadomraade rader = Utskriftsrader(tabell_.Hoved(), false);
    VisSkrevet(
        "Ferdig skrevet: " + RaderOgKolonner(std::max(0, rader.siste - rader.forste + 1), tabell_.Hoved().Kolonner()) +
            " til " + QFileInfo(skrevet).fileName().toStdString(),
        skrevet);
  } catch (const IoFeil& feil) {
    Soyla->setVisible(false);
    Melding(QString::fromUtf8(feil.what()));
  }
}
