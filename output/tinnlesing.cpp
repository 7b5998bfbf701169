#include "tinnlesing.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "filer.h"
#include "melding.h"
#include "skriverfil.h"
#include "skriverjobb.h"

namespace {

// The surface sizes of the scale list, in its order.
constexpr QSize Skalaer[] = {{1280, 1920}, {960, 1440}, {640, 960}, {480, 720}, {320, 480}, {160, 240}};

}  // namespace

// ---- TVisern ----

TVisern::TVisern(QWidget* eier)
    : QDialog(eier, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Aktivitet");
  Label1 = new QLabel("Vising av flyt i skriving og kopiering", this);
  QFont f = Label1->font();
  f.setBold(true);
  Label1->setFont(f);
  Label1->setFrameShape(QFrame::Panel);
  Label1->setFrameShadow(QFrame::Sunken);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setMinimumHeight(Label1->fontMetrics().height() * 2);
  CancelBtn = new QPushButton("Avbryt", this);
  Soyle1 = new QProgressBar(this);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(Label1);
  lag->addWidget(Soyle1);
  lag->addWidget(CancelBtn, 0, Qt::AlignHCenter);
  setFixedSize(320, sizeHint().height());
  connect(CancelBtn, &QPushButton::clicked, this, [this] {
    Avbrutt = true;
    close();
  });
}

void TVisern::VisStart(const QString& etikett, bool medKnapp, double maks, bool visSoyle) {
  Label1->setText(etikett);
  Soyle1->setRange(0, static_cast<int>(maks));
  CancelBtn->setVisible(medKnapp);
  Soyle1->setValue(0);
  Soyle1->setVisible(visSoyle);
  if (const QScreen* s = screen()) move(s->geometry().center() - rect().center());
  show();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TVisern::SettTekst(const QString& etikett) {
  Label1->setText(etikett);
  Label1->repaint();
}

void TVisern::SettPosisjon(double posisjon) { Soyle1->setValue(static_cast<int>(posisjon)); }

void TVisern::Avslutt() { close(); }

// ---- TFlate ----

void TFlate::paintEvent(QPaintEvent*) {
  // A sheet of paper: white, black ink, whatever colours the window has.
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setBackground(Qt::white);
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  if (Tegn) Tegn(p);
}

void TFlate::mouseReleaseEvent(QMouseEvent* e) { emit sluppet(e->position().toPoint(), e->button()); }

// ---- TInnlesing ----

TInnlesing::TInnlesing(QWidget* eier) : QMainWindow(eier, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Utskrift");

  hugu = new QWidget(this);
  ToolBar1 = new QToolBar(hugu);
  ToolBar1->setIconSize(QSize(16, 16));
  const auto knapp = [this](const QString& tekst, const QString& hint, QStyle::StandardPixmap ikon) {
    auto* b = new QToolButton(ToolBar1);
    b->setText(tekst);
    b->setToolTip(hint);
    b->setIcon(style()->standardIcon(ikon));
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
  };
  Sidebak = knapp("Tilbake", "Bla tilbake", QStyle::SP_ArrowBack);
  Sidefram = knapp("Fram", "Bla fram", QStyle::SP_ArrowForward);
  Skrivut = knapp("Skriv ut", "Skriv ut (F6)", QStyle::SP_FileIcon);
  Hjelpe = knapp("Hjelp", "Hent hjelp", QStyle::SP_DialogHelpButton);
  ToolBar1->actions().last()->setVisible(false);
  Lukke = knapp("Lukk", "Lukk vindu", QStyle::SP_DialogCloseButton);
  Skal = new QComboBox(hugu);
  Skal->addItems({"200%", "150%", "100%", "75%", "50%", "25%"});
  Skal->setCurrentIndex(2);
  Skal->setFocusPolicy(Qt::ClickFocus);
  huguTekst = new QLabel(hugu);
  huguTekst->setTextFormat(Qt::PlainText);
  huguTekst->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* topp = new QHBoxLayout(hugu);
  topp->setContentsMargins(2, 2, 6, 2);
  topp->addWidget(ToolBar1);
  topp->addWidget(Skal);
  topp->addWidget(huguTekst, 1);

  RullB = new QScrollArea(this);
  RullB->setBackgroundRole(QPalette::Dark);
  Flate = new TFlate(RullB);
  Flate->setFixedSize(Skalaer[2]);
  Flate->Tegn = [this](QPainter& p) {
    if (dokument_) dokument_->TegnSkjerm(p, Flate->width(), Flate->height(), Side);
  };
  RullB->setWidget(Flate);

  auto* midt = new QWidget(this);
  auto* lag = new QVBoxLayout(midt);
  lag->setContentsMargins(0, 0, 0, 0);
  lag->setSpacing(0);
  lag->addWidget(hugu);
  lag->addWidget(RullB, 1);
  setCentralWidget(midt);

  Sidebak->setEnabled(false);
  Sidefram->setEnabled(false);
  connect(Sidebak, &QToolButton::clicked, this, &TInnlesing::SidebakClick);
  connect(Sidefram, &QToolButton::clicked, this, &TInnlesing::SideframClick);
  connect(Skrivut, &QToolButton::clicked, this, &TInnlesing::SkrivutClick);
  connect(Lukke, &QToolButton::clicked, this, &QWidget::close);
  connect(Skal, &QComboBox::currentIndexChanged, this, &TInnlesing::SkalChange);

  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };
  VelgSkriver = [this](QPrinter& skriver, int maks) -> std::optional<TUtskriftsvalg> {
    QPrintDialog d(&skriver, this);
    d.setMinMax(1, std::max(maks, 1));
    if (maks < 2) d.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    TUtskriftsvalg v;
    v.sidevalg = maks >= 2 && skriver.printRange() == QPrinter::PageRange;
    v.fra = v.sidevalg ? skriver.fromPage() : 1;
    v.til = v.sidevalg ? skriver.toPage() : std::max(maks, 1);
    return v;
  };

  // The window sees its keys before its controls do.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  resize(Skalaer[2].width() + 20, 640);
}

TInnlesing::~TInnlesing() { Frigi(); }

void TInnlesing::SettDokument(std::unique_ptr<TSidedokument> dokument) {
  if (isVisible()) close();
  dokument_ = std::move(dokument);
  if (dokument_ && dokument_->Sider() >= 2) Setmaksid(dokument_->Sider());
}

void TInnlesing::Setmaksid(int n) {
  maksid_ = n;
  Sidebak->setEnabled(false);
  Sidefram->setEnabled(n >= 2);
  Side = 1;
}

void TInnlesing::TilToppen() {
  RullB->verticalScrollBar()->setValue(0);
  RullB->horizontalScrollBar()->setValue(0);
}

void TInnlesing::SideframClick() {
  Sidebak->setEnabled(true);
  ++Side;
  if (Side >= maksid_) Sidefram->setEnabled(false);
  TilToppen();
  Flate->update();
}

void TInnlesing::SidebakClick() {
  Sidefram->setEnabled(true);
  --Side;
  if (Side <= 1) Sidebak->setEnabled(false);
  TilToppen();
  Flate->update();
}

void TInnlesing::SkalChange(int valg) {
  if (valg < 0 || valg >= static_cast<int>(std::size(Skalaer))) return;
  Flate->setFixedSize(Skalaer[valg]);
  Flate->update();
}

void TInnlesing::Vis() {
  TilToppen();
  resize(Flate->width() + 20 + RullB->verticalScrollBar()->sizeHint().width(), height());
  Hjelpe->setVisible(false);
  show();
  raise();
  activateWindow();
}

void TInnlesing::SkrivutClick() {
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setPageOrientation(landskap ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (!dokument_) return;
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  const auto valg = VelgSkriver(skriver, maksid_);
  if (!valg) return;
  try {
    SkrivPaaSkriver(skriver, [&](QPagedPaintDevice& enhet) { SkrivUt(enhet, valg->fra, valg->til, maksid_ >= 2); });
  } catch (const IoFeil& feil) {
    huguTekst->clear();
    Melding(QString::fromUtf8(feil.what()));
  }
}

void TInnlesing::SkrivUt(QPagedPaintDevice& skriver, int fra, int til, bool sidevalg) {
  skriver.setPageOrientation(landskap ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (!dokument_) return;
  const TSkriverjobb jobb;
  huguTekst->setText("Skriver ut vent....");
  // The activity window goes with the run, also when the drawing fails.
  const std::unique_ptr<TVisern> visern(new TVisern(this));
  visern->VisStart("Åpner skriveren", false, til, true);
  QPainter p;
  if (!p.begin(&skriver)) {
    huguTekst->clear();
    Melding("Kunne ikke starte utskriften.");
    return;
  }
  visern->SettTekst("Skriver sider");
  const QRect side(QPoint(0, 0), p.viewport().size());
  if (!sidevalg)
    SkrivSider(p, skriver, *dokument_, 1, 1, side);
  else
    SkrivSider(p, skriver, *dokument_, fra, til, side, [&](int s) { visern->SettPosisjon(s); });
  visern->SettTekst("Lukker skriver");
  p.end();
  visern->Avslutt();
  huguTekst->setText("Utskrift ferdig..");
}

// Releases the pages, once: the document goes, and with it what it holds.
void TInnlesing::Frigi() {
  dokument_.reset();
  maksid_ = 0;
  Sidebak->setEnabled(false);
  Sidefram->setEnabled(false);
  landskap = false;
  Flate->setFixedSize(Skalaer[2]);
}

void TInnlesing::closeEvent(QCloseEvent* e) {
  Frigi();
  e->accept();
}

bool TInnlesing::eventFilter(QObject* o, QEvent* e) {
  if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return QMainWindow::eventFilter(o, e);
  auto* k = static_cast<QKeyEvent*>(e);
  const bool slipp = e->type() == QEvent::KeyRelease;
  QScrollBar* loddrett = RullB->verticalScrollBar();
  switch (k->key()) {
    case Qt::Key_PageUp:
      if (slipp && !k->isAutoRepeat() && Sidebak->isEnabled()) SidebakClick();
      return true;
    case Qt::Key_PageDown:
      if (slipp && !k->isAutoRepeat() && Sidefram->isEnabled()) SideframClick();
      return true;
    case Qt::Key_F6:
      if (slipp) SkrivutClick();
      return true;
    case Qt::Key_Escape:
      if (slipp) close();
      return true;
    case Qt::Key_Home:
      if (slipp) loddrett->setValue(0);
      return true;
    case Qt::Key_Up:
      if (slipp) loddrett->setValue(std::max(loddrett->value() - 8, 0));
      return true;
    case Qt::Key_Down:
      if (slipp) loddrett->setValue(std::min(loddrett->value() + 8, loddrett->maximum()));
      return true;
    default: return QMainWindow::eventFilter(o, e);
  }
}
