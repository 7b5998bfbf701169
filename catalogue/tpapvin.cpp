#include "tpapvin.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "cp1252.h"
#include "filer.h"
#include "lagredialog.h"
#include "melding.h"
#include "pdffil.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "tekst.h"
#include "timeglass.h"

void TArk::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::black);
  if (Tegn) Tegn(p);
}

TPapVin::TPapVin(QWidget* eier) : QMainWindow(eier, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Utskriftsvindu"));

  Panel1 = new QWidget(this);
  Redskap = new QToolBar(Panel1);
  Redskap->setIconSize(QSize(16, 16));
  const auto knapp = [this](const QString& tekst, const QString& hint, QStyle::StandardPixmap ikon) {
    auto* b = new QToolButton(Redskap);
    b->setText(tekst);
    b->setToolTip(hint);
    b->setIcon(style()->standardIcon(ikon));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    Redskap->addWidget(b);
    return b;
  };
  Lukk = knapp(QStringLiteral("Lukk"), QStringLiteral("Lukk vinduet(ESC)"), QStyle::SP_DialogCloseButton);
  Skrive = knapp(QStringLiteral("Skriv ut"), QString::fromUtf8("Utskrift på papir (F6)\nShift+F6 direkte uten dialog"),
                 QStyle::SP_FileIcon);
  Oke = knapp(QStringLiteral("+"), QString::fromUtf8("Forstørr"), QStyle::SP_ArrowUp);
  Krymp = knapp(QStringLiteral("-"), QStringLiteral("Krymp"), QStyle::SP_ArrowDown);
  Kopier = knapp(QStringLiteral("Kopier"), QStringLiteral("Kopier til klippebord"), QStyle::SP_DialogSaveButton);
  Metafil = knapp(QStringLiteral("PDF"), QStringLiteral("Skriv til PDF"), QStyle::SP_DriveFDIcon);
  Status = new QLabel(Panel1);
  Status->setTextFormat(Qt::PlainText);
  Panel1Tekst = new QLabel(Panel1);
  Panel1Tekst->setTextFormat(Qt::PlainText);
  Panel1Tekst->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* topp = new QHBoxLayout(Panel1);
  topp->setContentsMargins(2, 2, 6, 2);
  topp->addWidget(Redskap);
  // The status takes the room there is, and never widens the window.
  Status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  topp->addWidget(Status, 1);
  topp->addWidget(Panel1Tekst);

  Tab = new QTabBar(this);
  Tab->setFocusPolicy(Qt::NoFocus);
  Tab->setExpanding(false);
  Tab->setDrawBase(false);
  Tab->setStyleSheet(QStringLiteral("QTabBar::tab:!selected { background: white; }"));

  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setBackgroundRole(QPalette::Dark);
  Ark = new TArk(ScrollBox1);
  Ark->Tegn = [this](QPainter& p) {
    if (dokument_) dokument_->TegnSkjerm(p, Ark->width(), Ark->height(), AktivSide + 1);
  };
  ScrollBox1->setWidget(Ark);

  auto* midt = new QWidget(this);
  auto* lag = new QVBoxLayout(midt);
  lag->setContentsMargins(0, 0, 0, 0);
  lag->setSpacing(0);
  lag->addWidget(Panel1);
  lag->addWidget(Tab);
  lag->addWidget(ScrollBox1, 1);
  setCentralWidget(midt);

  connect(Lukk, &QToolButton::clicked, this, &QWidget::close);
  connect(Skrive, &QToolButton::clicked, this, [this] { SkrivClick(false); });
  connect(Oke, &QToolButton::clicked, this, [this] { DimmChange(true); });
  connect(Krymp, &QToolButton::clicked, this, [this] { DimmChange(false); });
  connect(Kopier, &QToolButton::clicked, this, &TPapVin::KopierClick);
  connect(Metafil, &QToolButton::clicked, this, &TPapVin::MetafilClick);
  connect(Tab, &QTabBar::currentChanged, this, &TPapVin::TabClick);

  Melding = [this](const QString& t) { Meldingsboks(this, QMessageBox::Information, windowTitle(), t); };
  Sporsmal = [this](const QString& t) {
    return Meldingsboks(this, QMessageBox::Warning, windowTitle(), t, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  VelgFil = [this](const QString& tittel, const std::vector<TFiltype>& typer) {
    return SporLagringsfil(this, tittel, QString(), typer);
  };
  VelgSkriver = [this](QPrinter& skriver, const TUtskriftsvalg& valg) -> std::optional<TUtskriftsvalg> {
    QPrintDialog d(&skriver, this);
    d.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange);
    d.setMinMax(1, std::max(valg.til, 1));
    skriver.setFromTo(valg.fra, valg.til);
    skriver.setPrintRange(valg.sidevalg ? QPrinter::PageRange : QPrinter::AllPages);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    TUtskriftsvalg v = valg;
    v.sidevalg = skriver.printRange() == QPrinter::PageRange;
    if (v.sidevalg) {
      v.fra = skriver.fromPage();
      v.til = skriver.toPage();
    }
    v.tilFil = !skriver.outputFileName().isEmpty();
    skriver.setOutputFileName(QString());
    return v;
  };

  // The window sees its keys before its controls do.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  Skaler();
  resize(640, 700);
}

TPapVin::~TPapVin() { Slipp(); }

int TPapVin::Sider() const { return std::max(Tab->count(), 1); }

void TPapVin::SettDokument(std::unique_ptr<TSidedokument> dokument) {
  dokument_ = std::move(dokument);
  const int antall = dokument_ ? dokument_->Sider() : 1;
  const QSignalBlocker stille(Tab);
  // Hundreds of tabs are made several times faster without the style sheet,
  // which is given back after them.
  const QString stil = Tab->styleSheet();
  Tab->setStyleSheet(QString());
  while (Tab->count() > 0) Tab->removeTab(0);
  for (int i = 1; i <= antall; ++i) {
    Tab->addTab(QStringLiteral("Side %1").arg(i));
    Tab->setTabToolTip(i - 1, QStringLiteral("Side %1").arg(i));
  }
  Tab->setStyleSheet(stil);
  Tab->setCurrentIndex(0);
  AktivSide = 0;
  Utskriftsvalg = TUtskriftsvalg{false, 1, Sider(), false};
  Skaler();
}

// The sheet's size and the scale caption from the scale.
void TPapVin::Skaler() {
  Ark->setFixedSize(static_cast<int>(RoundHalfAway(728 / skala_)), static_cast<int>(RoundHalfAway(1061 / skala_)));
  Panel1Tekst->setText(QStringLiteral("Skala = 1/") + TilQString(FormatN(skala_, 1)));
  Ark->update();
}

void TPapVin::TilToppen() {
  ScrollBox1->verticalScrollBar()->setValue(0);
  ScrollBox1->horizontalScrollBar()->setValue(0);
}

void TPapVin::Vis() {
  FormShow();
  show();
  GiPlassTilArket();
  raise();
  activateWindow();
}

void TPapVin::FormShow() {
  AktivSide = 0;
  {
    const QSignalBlocker stille(Tab);
    Tab->setCurrentIndex(0);
  }
  Skrevet = false;
  Status->setText(QStringLiteral("%1 Sider").arg(Tab->count()));
}

// Makes room for the whole sheet where the screen allows (once the window is
// laid out, so that the scroll box has its size).
void TPapVin::GiPlassTilArket() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect skjerm = s->availableGeometry();
  const int arkH = Ark->height();
  const int arkB = Ark->width();
  if (ScrollBox1->height() < arkH + 10 && arkH + 60 < skjerm.height()) {
    if (!(y() < 3 && y() + arkH + 60 < skjerm.height())) move(x(), 2);
    resize(width(), height() + arkH + 10 - ScrollBox1->height());
  }
  if (ScrollBox1->width() < arkB + 10 && arkB + 40 < skjerm.width()) {
    if (x() + arkB + 40 >= skjerm.width()) move(2, y());
    resize(width() + arkB + 10 - ScrollBox1->width(), height());
  }
}

void TPapVin::TabClick(int indeks) {
  if (indeks < 0) return;
  AktivSide = indeks;
  TilToppen();
  Status->setText(QStringLiteral("Side %1 av %2").arg(indeks + 1).arg(Tab->count()));
  Ark->update();
}

void TPapVin::DimmChange(bool forstorr) {
  // Steps of 0.3 from 1.3: 0.4, 0.7, ... 5.2. The value is kept on the
  // tenths so that repeated steps meet the limits exactly.
  if (forstorr) {
    if (skala_ > 0.4 + 1e-9) skala_ -= 0.3;
  } else {
    if (skala_ < 5 - 1e-9) skala_ += 0.3;
  }
  skala_ = std::round(skala_ * 10) / 10;
  Skaler();
}

void TPapVin::SkrivClick(bool direkte) {
  if (!dokument_) return;
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    return;
  }
  QPrinter skriver(QPrinter::HighResolution);
  TUtskriftsvalg valg = Utskriftsvalg;
  valg.fra = 1;
  valg.til = Tab->count();
  Utskriftsvalg = valg;
  if (!direkte) {
    const auto svar = VelgSkriver(skriver, valg);
    if (!svar) {
      Skrevet = true;
      return;
    }
    valg = *svar;
    Utskriftsvalg = valg;
  }
  QString grunnnavn;
  if (valg.tilFil) {
    const std::vector<TFiltype> typer = {{"SVG-bilder", {".svg"}}, {"Alle filer", {}}};
    const std::optional<TLagringsfil> svar = VelgFil(lagreTittel_, typer);
    if (svar && !svar->fil.isEmpty()) {
      const QFileInfo fi(Lagringsfil(*svar, typer).fil);
      grunnnavn = fi.path() + QLatin1Char('/') + fi.completeBaseName();
    }
  }
  SkrivUt(skriver, valg, grunnnavn);
}

std::vector<int> TPapVin::SkrivUt(QPrinter& skriver, const TUtskriftsvalg& valg, const QString& grunnnavn) {
  std::vector<int> skrevet;
  if (!dokument_) return skrevet;
  const int antall = Tab->count();
  int forste = 1;
  int siste = antall;
  if (valg.sidevalg) {
    forste = valg.fra;
    siste = std::min(valg.til, antall);
  }
  forste = std::max(forste, 1);
  siste = std::max(siste, forste);

  const TSkriverjobb jobb;
  const TTimeglass timeglass;
  const int bredde = skriver.width();
  const int hoyde = skriver.height();
  const int alle = siste - forste + 1;
  const auto fremdrift = [&](int s) {
    VisStatus(QStringLiteral("Skriver side %1 av %2").arg(s - forste + 1).arg(alle));
  };
  try {
    if (!grunnnavn.isEmpty()) {
      // One SVG file per page, at the printer's page size; no job on paper.
      // Each replaces an older file of its name whole.
      const auto navn = [&](int s) { return grunnnavn + QString::number(s) + QStringLiteral(".svg"); };
      for (int s = forste; s <= siste; ++s) {
        fremdrift(s);
        SkrivSvgFil(std::filesystem::path(navn(s).toStdString()), QSize(bredde, hoyde), skriver.resolution(),
                    windowTitle(), [&](QPainter& p) { dokument_->TegnSide(p, bredde, hoyde, s); });
        skrevet.push_back(s);
      }
      const QString forsteFil = QFileInfo(navn(forste)).fileName();
      VisStatus(alle == 1 ? QStringLiteral("Skrev 1 side til %1").arg(forsteFil)
                          : QStringLiteral("Skrev %1 sider til %2 – %3")
                                .arg(alle)
                                .arg(forsteFil, QFileInfo(navn(siste)).fileName()),
                QDir::toNativeSeparators(QFileInfo(navn(forste)).absolutePath()));
    } else {
      SkrivPaaSkriver(skriver, [&](QPagedPaintDevice& enhet) {
        QPainter p;
        if (!p.begin(&enhet)) throw IoFeil("Kunne ikke starte utskriften.");
        // Each page at (1, 1) of the printer's.
        SkrivSider(p, enhet, *dokument_, forste, siste, QRect(1, 1, bredde, hoyde), [&](int s) {
          fremdrift(s);
          skrevet.push_back(s);
        });
        p.end();
      });
      VisStatus(alle == 1 ? QStringLiteral("Skrev ut 1 side") : QStringLiteral("Skrev ut %1 sider").arg(alle));
    }
  } catch (const IoFeil& feil) {
    VisStatus(QString());
    Melding(QString::fromUtf8(feil.what()));
    return skrevet;
  }
  Skrevet = true;
  return skrevet;
}

// The status beside the tool bar, painted at once (it shows the progress of
// long work); `hint` is its hint.
void TPapVin::VisStatus(const QString& tekst, const QString& hint) {
  // Too long for its room, it gives way in the middle; the hint names the file whole.
  const int plass = Status->contentsRect().width();
  Status->setText(plass > 0 ? Status->fontMetrics().elidedText(tekst, Qt::ElideMiddle, plass) : tekst);
  Status->setToolTip(hint);
  Status->repaint();
}

QImage TPapVin::Kopi() const {
  QImage bilde(Ark->size(), QImage::Format_RGB32);
  bilde.fill(Qt::white);
  if (dokument_) {
    QPainter p(&bilde);
    p.setPen(Qt::black);
    dokument_->TegnSide(p, bilde.width(), bilde.height(), AktivSide + 1);
  }
  return bilde.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither | Qt::AvoidDither);
}

void TPapVin::KopierClick() { QGuiApplication::clipboard()->setImage(Kopi()); }

void TPapVin::MetafilClick() {
  lagreTittel_ = QStringLiteral("Lagre PDF");
  const std::vector<TFiltype> typer = {{"PDF-filer", {".pdf"}}, {"Alle filer", {}}};
  const std::optional<TLagringsfil> svar = VelgFil(lagreTittel_, typer);
  if (!svar || svar->fil.isEmpty() || !dokument_) return;
  const QString fil = Lagringsfil(*svar, typer).fil;
  try {
    const TTimeglass timeglass;
    SkrivPdf(std::filesystem::path(fil.toStdString()), windowTitle(), *dokument_, [this](int gjort, int alle) {
      // Some pages a second: the label is painted every tenth page.
      if (gjort % 10 == 1 || gjort == alle) VisStatus(QStringLiteral("PDF: side %1 av %2").arg(gjort).arg(alle));
    });
    const int sider = std::max(Tab->count(), 1);
    VisStatus(
        QStringLiteral("Skrev %1 %2 til %3").arg(sider).arg(sider == 1 ? "side" : "sider", QFileInfo(fil).fileName()),
        QDir::toNativeSeparators(fil));
  } catch (const IoFeil& feil) {
    VisStatus(QString());
    Melding(QString::fromUtf8(feil.what()));
  }
}

// Releases the pages, once: the document goes, and with it what it holds.
void TPapVin::Slipp() { dokument_.reset(); }

void TPapVin::closeEvent(QCloseEvent* e) {
  if (!Skrevet && !Sporsmal(QString::fromUtf8("Du har ikke skrevet noe på papir enda, vil du likevel lukke?"))) {
    e->ignore();
    return;
  }
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst));
    if (SkriverOpptatt()) {
      e->ignore();
      return;
    }
  }
  Slipp();
  const QSignalBlocker stille(Tab);
  while (Tab->count() > 0) Tab->removeTab(0);
  e->accept();
}

bool TPapVin::eventFilter(QObject* o, QEvent* e) {
  if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return QMainWindow::eventFilter(o, e);
  auto* k = static_cast<QKeyEvent*>(e);
  const bool slipp = e->type() == QEvent::KeyRelease && !k->isAutoRepeat();
  const bool tastatur = k->modifiers() & Qt::KeypadModifier;
  switch (k->key()) {
    case Qt::Key_Escape:
      if (slipp) close();
      return true;
    case Qt::Key_PageUp:
      if (slipp && AktivSide > 0) Tab->setCurrentIndex(AktivSide - 1);
      return true;
    case Qt::Key_PageDown:
      if (slipp && AktivSide + 1 < Tab->count()) Tab->setCurrentIndex(AktivSide + 1);
      return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
      if (!tastatur) break;
      if (slipp) DimmChange(k->key() == Qt::Key_Plus);
      return true;
    case Qt::Key_F6:
      if (slipp) SkrivClick((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier);
      return true;
    default: break;
  }
  return QMainWindow::eventFilter(o, e);
}
