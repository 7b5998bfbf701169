#include "tformver.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "avkom.h"
#include "cp1252.h"
#include "endring.h"
#include "filer.h"
#include "melding.h"
#include "okt.h"
#include "oppslag.h"
#include "register.h"
#include "skriverfil.h"
#include "skriverjobb.h"
#include "stamtre.h"
#include "stamtredokument.h"
#include "tgrid.h"
#include "tinnlesing.h"
#include "tintedit.h"
#include "tlesing.h"
#include "trase.h"
#include "tvindu.h"

namespace {

// A read-only two-column grid with its row titles; the widths and heights are
// at least those given, and wide enough for the titles in the window's font.
template <std::size_t N>
TGrid* LagGrid(QWidget* forelder, const std::array<std::string, N>& titler, int bredde0, int bredde1, int forsteHoyde,
               int hoyde) {
  auto* g = new TGrid(forelder);
  g->SettRullefelt(false);
  g->KolonneDrag = false;
  g->Velgbar = false;
  g->setFocusPolicy(Qt::NoFocus);
  TRutenett& m = g->Modell();
  m.SettStorrelse(2, static_cast<int>(N));
  m.SettFaste(1, 0);
  const QFontMetrics fm(forelder->font());
  int tittelbredde = bredde0;
  for (std::size_t r = 0; r < N; ++r) {
    m.SettCelle(0, static_cast<int>(r), titler[r]);
    // A tall first row may hold its title on two lines.
    if (r == 0 && forsteHoyde >= 2 * fm.height()) continue;
    tittelbredde = std::max(tittelbredde, fm.horizontalAdvance(TilQString(titler[r])) + 6);
  }
  m.SettKolbredde(0, tittelbredde);
  m.SettKolbredde(1, bredde1);
  m.SettStandardHoyde(std::max(hoyde, fm.height() + 4));
  m.SettRadhoyde(0, std::max(forsteHoyde, fm.height() + 4));
  const QSize s = g->Innholdsstorrelse();
  g->setFixedSize(s.width() + 2 * g->frameWidth(), s.height() + 2 * g->frameWidth());
  return g;
}

}  // namespace

TFormVer::TFormVer(TOkt& okt, QWidget* parent) : QWidget(parent, Qt::Window), okt_(okt), ver_(TomVerPost()) {
  setWindowTitle("Væroppslag");
  // The window's own font: the metric twin of Arial at the size its layout was made for.
  QFont f("Liberation Sans");
  f.setPixelSize(11);
  setFont(f);

  auto* ledetekst = new QLabel("Kåringsnr./\nnavn (3++)", this);
  Evernum = new TIntEdit(this);
  Evernum->Minimum = 0;
  Evernum->Maksimum = 290013394;
  Evernum->Kol = 9;
  Evernum->setFixedSize(89, std::max(21, Evernum->fontMetrics().height() + 8));
  Let = new QPushButton("&Let....", this);
  Endre = new QPushButton("&Endre navn", this);
  Stamme = new QPushButton("Stamtre", this);
  Avkom = new QPushButton("Avkom", this);
  Slektskap = new QPushButton("Slektskap", this);
  Slektskap->setToolTip("Innavl hos et lam etter denne væren og en søye du velger");
  LeggIListeKnapp = new QPushButton("Legg i liste", this);
  LeggIListeKnapp->setToolTip("Legg væren i en av listene dine («Mine værer», «Reserve» …)");
  Skriv = new QPushButton("Skriv", this);
  Endrealt = new QPushButton("Endre alt", this);
  Lukk = new QPushButton("&Lukk", this);
  auto* topp = new QHBoxLayout;
  topp->setSpacing(2);
  topp->addWidget(ledetekst);
  topp->addWidget(Evernum);
  // The buttons keep their small sizes unless their text needs more room.
  const std::pair<QPushButton*, int> bredder[] = {{Let, 41},   {Endre, 65},     {Stamme, 73},
                                                  {Avkom, 65}, {Slektskap, 65}, {LeggIListeKnapp, 65},
                                                  {Skriv, 57}, {Endrealt, 67},  {Lukk, 73}};
  for (const auto& [b, bredde] : bredder) {
    b->setAutoDefault(false);
    const int tekst = b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 12;
    b->setFixedSize(std::max(bredde, tekst), std::max(21, b->fontMetrics().height() + 8));
    topp->addWidget(b);
  }
  topp->addStretch();

  Verind = LagGrid(this, VerindTitler(), 60, 76, 20, 20);
  Verind->TegnCelle = [](QPainter&, TCelleTegning& c) {
    const TVerindStil stil = VerindStil(c.rad);
    c.font.setBold(stil.fet);
    if (stil.farge == TVerindFarge::Svart) c.tekstfarge = Qt::black;
    if (stil.farge == TVerindFarge::Blaa) c.tekstfarge = Qt::blue;
  };
  Rasnav = new QLabel(this);
  Rasnav->setTextFormat(Qt::PlainText);
  QFont rf = font();
  rf.setPixelSize(13);
  Rasnav->setFont(rf);
  Rasnav->setFixedHeight(std::max(48, QFontMetrics(rf).lineSpacing() * 3 + 6));
  Rasnav->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* felt = new QWidget;
  felt->setFont(font());
  // The sire's and the dam's sire's names: room for the widest name a
  // record can hold.
  const QFontMetrics navnemaal(felt->font());
  const std::string bredest = BredesteNavn(sizeof(TVerPost::Navn.tegn), [&navnemaal](unsigned char c) {
    return navnemaal.horizontalAdvance(TilQString(std::string(1, static_cast<char>(c))));
  });
  Slekt = LagGrid(felt, SlektTitler(), 51, std::max(103, navnemaal.horizontalAdvance(TilQString(bredest)) + 6), 19, 19);
  Scan = LagGrid(felt, ScanTitler(), 60, 46, 42, 26);
  Ulla = LagGrid(felt, UllaTitler(), 54, 69, 35, 26);
  auto* rad = new QHBoxLayout(felt);
  rad->setContentsMargins(0, 0, 0, 0);
  rad->setSpacing(7);
  rad->addWidget(Slekt, 0, Qt::AlignTop);
  rad->addWidget(Scan, 0, Qt::AlignTop);
  rad->addWidget(Ulla, 0, Qt::AlignTop);
  rad->addStretch();
  auto* rull = new QScrollArea(this);
  rull->setWidget(felt);
  rull->setFrameShape(QFrame::NoFrame);
  rull->setWidgetResizable(false);

  auto* hoyre = new QVBoxLayout;
  hoyre->addWidget(Rasnav);
  hoyre->addWidget(rull, 1);
  auto* kropp = new QHBoxLayout;
  kropp->addWidget(Verind, 0, Qt::AlignTop);
  kropp->addLayout(hoyre, 1);
  auto* lag = new QVBoxLayout(this);
  lag->setContentsMargins(4, 6, 4, 4);
  lag->addLayout(topp);
  lag->addLayout(kropp, 1);

  // The candidate list floats over the window.
  LiVer = new QListWidget(this);
  LiVer->setWindowFlags(Qt::Tool);
  LiVer->setWindowTitle("Velg vær");
  LiVer->setToolTip("Klikk på den som passer, eller lukk vinduet.");
  LiVer->setUniformItemSizes(true);
  LiVer->hide();

  connect(Let, &QPushButton::clicked, this, &TFormVer::LetClick);
  connect(Lukk, &QPushButton::clicked, this, &QWidget::hide);
  connect(Skriv, &QPushButton::clicked, this, &TFormVer::SkrivClick);
  connect(Avkom, &QPushButton::clicked, this, [this] { AvkomClick(); });
  connect(LeggIListeKnapp, &QPushButton::clicked, this, [this] {
    if (ver_.Nummer > 0) emit leggIListeOnsket(ver_);
  });
  connect(Slektskap, &QPushButton::clicked, this, [this] {
    if (ver_.Nummer > 0) emit slektskapOnsket(ver_);
  });
  connect(Stamme, &QPushButton::clicked, this, [this] { StammeClick(); });
  connect(Endre, &QPushButton::clicked, this, &TFormVer::EndreClick);
  connect(Endrealt, &QPushButton::clicked, this, &TFormVer::EndrealtClick);
  KjorDialog = [](Tlesing& d) { return d.Kjor(); };
  Melding = [this](const QString& tekst, TMeldingstype type) {
    ::Melding(tekst, type, QMessageBox::Ok, 0, QMessageBox::Ok, -1, -1, this);
  };
  connect(LiVer, &QListWidget::itemClicked, this, &TFormVer::LiVerClick);
  connect(LiVer, &QListWidget::itemActivated, this, &TFormVer::LiVerClick);
  connect(Slekt, &TGrid::celleDobbeltklikket, this, &TFormVer::SlektDblClickCell);
  connect(&okt_, &TOkt::registerLastet, this, &TFormVer::NyttRegister);
  Evernum->OnKeypress = [this](QKeyEvent* e) { return EvernumKeypress(e); };
  Evernum->EtterTast = [this](QKeyEvent*) { EvernumEtterTast(); };
  Evernum->installEventFilter(this);

  resize(std::max(604, sizeHint().width()), std::max(308, sizeHint().height()));
  Vis();
}

namespace {

// Adds the row `r` to the dialog, bound to its field of `ver` (or, for the
// index date, to the working text `arbeid`).
void LeggTilRad(Tlesing& d, const TEndreRad& r, TVerPost& ver, TTekst<IndeksdatoKapasitet>* arbeid) {
  void* var = r.plass == Arbeidstekst ? static_cast<void*>(arbeid) : reinterpret_cast<char*>(&ver) + r.plass;
  QWidget* felt = nullptr;
  switch (r.slag) {
    case TFeltslag::Byte: felt = new TyEdit(&d, r.bredde, var); break;
    case TFeltslag::Heltall16: felt = new TmEdit(&d, r.bredde, var); break;
    case TFeltslag::Heltall32: felt = new TiEdit(&d, r.bredde, var); break;
    case TFeltslag::Desimal: felt = new TsEdit(&d, r.bredde, r.desimaler, var); break;
    case TFeltslag::Tekst: felt = new TtEdit(&d, r.navnecase, false, r.kapasitet, r.bredde, var); break;
    case TFeltslag::Avkrysning: felt = new TBEdit(&d, var); break;
  }
  d.LeggTil(TilQString(r.ledetekst), felt);
}

}  // namespace

TFormVer::Lagring TFormVer::Lagre() {
  TProdusent* reg = okt_.Register();
  try {
    if (reg != nullptr && LagreVer(*reg, ver_, verIndeks_)) {
      okt_.PostEndret();
      return Lagring::Lagret;
    }
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()), TMeldingstype::Feil);
    return Lagring::Feil;
  }
  Melding("Mistet væren, kan ikke lagre", TMeldingstype::Feil);
  return Lagring::Mistet;
}

void TFormVer::EndreClick() {
  if (ver_.Nummer <= 0) return;
  Tlesing dialog(this);
  for (const TEndreRad& r : NavneRader()) LeggTilRad(dialog, r, ver_, nullptr);
  if (KjorDialog(dialog) != Tlesing::Ok) return;
  const Lagring lagret = Lagre();
  Vis();
  // Only a change that reached the register is logged.
  if (lagret != Lagring::Lagret) return;
  try {
    SkrivNavnelogg(NavneloggNavn, ver_);
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()), TMeldingstype::Feil);
  }
}

void TFormVer::EndrealtClick() {
  if (ver_.Nummer <= 0) return;
  Melding("Hvis du endrer noen opplysninger her, må du gi beskjed til Ullvik slik at det kan rettes i Hornstad",
          TMeldingstype::Bekreftelse);
  TTekst<IndeksdatoKapasitet> dato;
  dato.Sett(IndeksdatoTekst(ver_.IndeksDato));
  Tlesing dialog(this);
  for (const TEndreRad& r : AlleRader()) LeggTilRad(dialog, r, ver_, &dato);
  if (KjorDialog(dialog) != Tlesing::Ok) return;
  const TDatolesing lest = LesIndeksdato(dato.Verdi());
  if (lest.utfall == TDatolesing::Utfall::Ny) ver_.IndeksDato = lest.dato;
  if (lest.utfall == TDatolesing::Utfall::Feil)
    Melding("Du har skrevet datoen feil, rett opp!", TMeldingstype::Advarsel);
  Lagre();
  Vis();
  Melding(
      "Hvis du har endret noen indekser, må du ta ut en liste over alle som er kåret etter denne væren og kåre "
      "dem om. Åpne her ENDRE for å få regnet om indeksen.",
      TMeldingstype::Informasjon);
}

void TFormVer::NyttRegister() {
  LiVer->clear();
  LiVer->hide();
  kandidater_.clear();
  // The same record when the ram still stands where it stood, else the
  // ram with its number; none when the new register lacks it.
  if (ver_.Nummer != 0) {
    TProdusent* reg = okt_.Register();
    if (reg != nullptr) {
      TTekstElement gjeldende;
      gjeldende.nummer = ver_.Nummer;
      gjeldende.indeks = verIndeks_;
      ver_ = KandidatVer(*reg, gjeldende, verIndeks_);
    } else {
      ver_ = TomVerPost();
      verIndeks_ = -1;
    }
  }
  Vis();
}

bool TFormVer::EvernumKeypress(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  soekVedTast_ = false;
  if (enter && EnterStarterSoek(FraQString(Evernum->text()))) {
    LetClick();
    return true;
  }
  if (ver_.Nummer > 0) {
    // Typing something new empties the display at once.
    TProdusent* reg = okt_.Register();
    ver_ = reg ? reg->FindByNumber(0) : TomVerPost();
    verIndeks_ = -1;
    Vis();
  } else {
    soekVedTast_ = true;
  }
  return false;
}

void TFormVer::EvernumEtterTast() {
  if (soekVedTast_) navnesoek_ = FraQString(Evernum->text());
  soekVedTast_ = false;
}

void TFormVer::LetClick() {
  TProdusent* reg = okt_.Register();
  if (reg == nullptr) return;
  // Every search starts with an empty candidate list: names of an earlier
  // search are never offered for this one.
  LiVer->clear();
  LiVer->hide();
  kandidater_.clear();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TSoekResultat r = Soek(FraQString(Evernum->text()), navnesoek_, reg);
  QApplication::restoreOverrideCursor();
  switch (r.utfall) {
    case TSoekResultat::Utfall::Ver:
      ver_ = r.ver;
      verIndeks_ = r.indeks;
      if (r.feltverdi) Evernum->SettVerdi(*r.feltverdi);
      break;
    case TSoekResultat::Utfall::Kandidater: {
      // Filled in one go, so that a long list stays quick.
      QStringList tekster;
      tekster.reserve(static_cast<qsizetype>(r.kandidater.size()));
      std::size_t lengst = 0;
      for (const TTekstElement& k : r.kandidater) {
        tekster << TilQString(k.tekst);
        lengst = std::max(lengst, k.tekst.size());
      }
      kandidater_ = std::move(r.kandidater);
      LiVer->addItems(tekster);
      Evernum->setFocus();
      // 170 x 150 pixels, wider when a long name would not fit.
      int bredde = 170;
      for (const QString& t : tekster)
        if (static_cast<std::size_t>(t.size()) + 4 >= lengst)
          bredde = std::max(
              bredde, LiVer->fontMetrics().horizontalAdvance(t) + 12 + LiVer->verticalScrollBar()->sizeHint().width());
      const QPoint hjorne = frameGeometry().topLeft();
      LiVer->setGeometry(QRect(hjorne + QPoint(30, 50), QSize(bredde, 150)));
      LiVer->show();
      LiVer->raise();
      break;
    }
    case TSoekResultat::Utfall::Ingenting: break;
  }
  Vis();
}

void TFormVer::LiVerClick(QListWidgetItem* item) {
  TProdusent* reg = okt_.Register();
  if (item == nullptr || reg == nullptr) return;
  const int rad = LiVer->row(item);
  if (rad < 0 || rad >= static_cast<int>(kandidater_.size())) return;
  // The record the item was made from, not merely one with its number.
  const TTekstElement& valgt = kandidater_[static_cast<std::size_t>(rad)];
  Evernum->SettVerdi(valgt.nummer);
  ver_ = KandidatVer(*reg, valgt, verIndeks_);
  LiVer->hide();
  Vis();
}

bool TFormVer::eventFilter(QObject* o, QEvent* e) {
  // A name in the field reads 0 once the field is left, also a name that the
  // integer reading would take for a hexadecimal number ("Xaver"), so that
  // "Let" searches for the name typed. Moves to another window or a menu do
  // not leave the field.
  if (o == Evernum && e->type() == QEvent::FocusOut) {
    const Qt::FocusReason grunn = static_cast<QFocusEvent*>(e)->reason();
    const bool forlater =
        grunn != Qt::ActiveWindowFocusReason && grunn != Qt::PopupFocusReason && grunn != Qt::MenuBarFocusReason;
    const std::string tekst = FraQString(Evernum->text());
    if (forlater && !tekst.empty() && FeltVerdi(tekst) == 0 && Evernum->Verdi() != 0) Evernum->setText("0");
  }
  return QWidget::eventFilter(o, e);
}

void TFormVer::SlektDblClickCell(int kol, int rad) {
  const auto nummer = SlektDobbeltklikk(kol, rad, Slekt->Modell().Celle(kol, rad));
  if (!nummer) return;
  Evernum->SettVerdi(*nummer);
  LetClick();
}

void TFormVer::Vis() {
  const TVerVisning v = LagVisning(ver_, okt_.Raser(), okt_.Register());
  Endre->setEnabled(v.vist);
  Stamme->setEnabled(Endre->isEnabled());
  Endrealt->setEnabled(Endre->isEnabled());
  Avkom->setEnabled(Endre->isEnabled());
  Slektskap->setEnabled(Avkom->isEnabled());
  LeggIListeKnapp->setEnabled(Avkom->isEnabled());
  Rasnav->setText(TilQString(v.rasnav[0] + "\n" + v.rasnav[1] + "\n" + v.rasnav[2]));
  const auto fyll = [](TGrid* g, const auto& tekster) {
    for (std::size_t r = 0; r < tekster.size(); ++r) g->Modell().SettCelle(1, static_cast<int>(r), tekster[r]);
  };
  fyll(Verind, v.verind);
  fyll(Slekt, v.slekt);
  fyll(Scan, v.scan);
  fyll(Ulla, v.ulla);
}

void TFormVer::SkrivClick() {
  if (SkriverOpptatt()) {
    Melding(QString::fromUtf8(SkriverOpptattTekst), TMeldingstype::Informasjon);
    return;
  }
  QPrinter skriver(QPrinter::HighResolution);
  if (VelgSkriver) {
    if (!VelgSkriver(skriver)) return;
  } else {
    QPrintDialog dialog(&skriver, this);
    dialog.setWindowTitle("Skriv ut væroppslaget");
    if (dialog.exec() != QDialog::Accepted) return;
  }
  // A print sent to a file is written whole, or the older file stays.
  try {
    const TSkriverjobb jobb;
    SkrivPaaSkriver(skriver, [this](QPagedPaintDevice& side) { SkrivBilde(side); });
  } catch (const IoFeil& e) {
    Melding(QString::fromUtf8(e.what()), TMeldingstype::Feil);
  }
}

void TFormVer::SkrivBilde(QPagedPaintDevice& skriver) {
  const QPixmap bilde = grab();
  QPainter p(&skriver);
  const QRect side = p.viewport();
  QSize s = bilde.size();
  s.scale(side.size(), Qt::KeepAspectRatio);
  p.setViewport(side.x(), side.y(), s.width(), s.height());
  p.setWindow(bilde.rect());
  p.drawPixmap(0, 0, bilde);
}

TVindu* TFormVer::AvkomClick() {
  TProdusent* reg = okt_.Register();
  if (reg == nullptr || ver_.Nummer <= 0) return nullptr;
  auto* vindu = new TVindu(this);
  try {
    ListAvkom(*reg, ver_, *vindu);
  } catch (const IoFeil& e) {
    delete vindu;
    Meldingsboks(this, QMessageBox::Critical, "Hornstad", QString::fromUtf8(e.what()));
    return nullptr;
  }
  vindu->Vis();
  return vindu;
}

TInnlesing* TFormVer::StammeClick() {
  TProdusent* reg = okt_.Register();
  if (reg == nullptr || ver_.Nummer <= 0) return nullptr;
  std::unique_ptr<TVerBoks> tre;
  try {
    tre = ByggStamtre(ver_, *reg, okt_.Raser());
  } catch (const IoFeil& e) {
    Meldingsboks(this, QMessageBox::Critical, "Hornstad", QString::fromUtf8(e.what()));
    return nullptr;
  }
  auto* vindu = new TInnlesing(this);
  vindu->setWindowTitle(TilQString(StamtreTittel(*tre)));
  auto dokument = std::make_unique<TStamtredokument>(std::move(tre));
  const TStamtredokument* stamtre = dokument.get();
  vindu->SettDokument(std::move(dokument));
  // A click on a ram box looks that ram up here, at every zoom.
  connect(vindu->Flate, &TFlate::sluppet, this, [this, vindu, stamtre](QPoint pos, Qt::MouseButton) {
    if (vindu->Dokument() != stamtre) return;  // closed: the tree is gone
    const double zoom = vindu->Flate->width() / 640.0;
    const int32_t nummer = StamtreKlikk(stamtre->Rot(), pos.x(), pos.y(), zoom);
    if (nummer == 0) return;
    Evernum->SettVerdi(nummer);
    LetClick();
  });
  vindu->Vis();
  return vindu;
}
