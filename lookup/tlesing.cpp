#include "tlesing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cstring>

#include "cp1252.h"
#include "endring.h"
#include "tekst.h"

namespace {

// Row pitch and field height of the dialog.
constexpr int Radavstand = 25;
constexpr int Felthoyde = 24;

// Focus that goes to another window, a popup or the menu bar comes back to the
// field; only other moves leave it.
bool ForlaterFeltet(Qt::FocusReason grunn) {
  return grunn != Qt::ActiveWindowFocusReason && grunn != Qt::PopupFocusReason && grunn != Qt::MenuBarFocusReason;
}

// The dialog's font: the metric twin of Arial at the size of the 13-pixel
// system font the dialog was laid out for.
QFont Dialogfont() {
  QFont f("Liberation Sans");
  f.setPixelSize(13);
  return f;
}

}  // namespace

// ---------------------------------------------------------------- the fields

TTypeEdit::TTypeEdit(QWidget* eier, int antall, QChar tegn, void* variabel) : QLineEdit(eier), variabel_(variabel) {
  const QFontMetrics fm(eier ? eier->font() : font());
  setFixedSize(fm.horizontalAdvance(QString(std::max(antall, 1), tegn)), Felthoyde);
}

void TTypeEdit::FolgTeksten() {
  // The text as it is now: a change made while the signal is on its way (the
  // upper-case flag rewrites what was typed) comes before an older text.
  connect(this, &QLineEdit::textChanged, this, [this] { Les(text()); });
}

void TTypeEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (!ForlaterFeltet(e->reason())) return;
  const QString t = Forlatt();
  if (t != text()) setText(t);
}

TyEdit::TyEdit(QWidget* eier, int bredde, void* variabel) : TTypeEdit(eier, bredde + 3, '0', variabel) {
  std::memcpy(&kopi_, variabel, sizeof kopi_);
  setToolTip("0..255");
  setText(QString::number(kopi_));
  FolgTeksten();
}

void TyEdit::Les(const QString& tekst) {
  kopi_ = tekst.isEmpty() ? 0 : static_cast<uint8_t>(LesHeltall(FraQString(tekst)));
}

QString TyEdit::Forlatt() const { return QString::number(kopi_); }

void TyEdit::sett() { std::memcpy(variabel_, &kopi_, sizeof kopi_); }

TmEdit::TmEdit(QWidget* eier, int bredde, void* variabel) : TTypeEdit(eier, bredde + 3, 'W', variabel) {
  std::memcpy(&kopi_, variabel, sizeof kopi_);
  setToolTip("0..65535");
  setText(QString::number(kopi_));
  FolgTeksten();
}

void TmEdit::Les(const QString& tekst) {
  if (tekst.isEmpty()) return;
  kopi_ = static_cast<int16_t>(static_cast<uint16_t>(LesHeltall(FraQString(tekst))));
}

QString TmEdit::Forlatt() const { return QString::number(kopi_); }

void TmEdit::sett() { std::memcpy(variabel_, &kopi_, sizeof kopi_); }

TiEdit::TiEdit(QWidget* eier, int bredde, void* variabel) : TTypeEdit(eier, bredde + 3, '0', variabel) {
  std::memcpy(&kopi_, variabel, sizeof kopi_);
  setToolTip("Heltall+-");
  setText(QString::number(kopi_));
  FolgTeksten();
}

void TiEdit::Les(const QString& tekst) {
  if (tekst.isEmpty()) return;
  kopi_ = LesHeltall(FraQString(tekst));
}

QString TiEdit::Forlatt() const { return QString::number(kopi_); }

void TiEdit::sett() { std::memcpy(variabel_, &kopi_, sizeof kopi_); }

TsEdit::TsEdit(QWidget* eier, int bredde, int desimaler, void* variabel)
    : TTypeEdit(eier, bredde + 3, '0', variabel), bredde_(bredde), desimaler_(desimaler) {
  std::memcpy(&kopi_, variabel, sizeof kopi_);
  setToolTip("Desimaltall");
  setText(TilQString(FitNumber(bredde_, desimaler_, kopi_)));
  FolgTeksten();
}

void TsEdit::Les(const QString& tekst) {
  if (tekst.isEmpty()) return;
  kopi_ = LesDesimaltall(FraQString(tekst));
}

QString TsEdit::Forlatt() const { return TilQString(DesimalTekst(kopi_, bredde_, desimaler_)); }

void TsEdit::sett() { std::memcpy(variabel_, &kopi_, sizeof kopi_); }

TtEdit::TtEdit(QWidget* eier, bool navnecase, bool storeBokstaver, int kapasitet, int bredde, void* variabel)
    : TTypeEdit(eier, std::min(bredde + 3, 254), '0', variabel),
      navnecase_(navnecase),
      store_(storeBokstaver),
      kapasitet_(std::clamp(kapasitet, 0, 255)) {
  const auto* bytes = static_cast<const unsigned char*>(variabel);
  const int lengde = std::min<int>(bytes[0], kapasitet_);
  kopi_.assign(reinterpret_cast<const char*>(bytes + 1), static_cast<std::size_t>(lengde));
  setToolTip("Tekst");
  setMaxLength(kapasitet_);
  FolgTeksten();
  // The shown text is read like any other, so the copy is name-cased from the start.
  setText(TilQString(kopi_));
  Les(text());
  if (store_) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
      QString store = t;
      for (QChar& c : store) c = c.toUpper();
      if (store == t) return;
      const int markor = cursorPosition();
      setText(store);
      setCursorPosition(markor);
    });
  }
}

void TtEdit::Les(const QString& tekst) {
  std::string t = FraQString(tekst);
  if (t.size() > static_cast<std::size_t>(kapasitet_)) t.resize(static_cast<std::size_t>(kapasitet_));
  kopi_ = navnecase_ ? FeltNavnecase(t) : t;
}

QString TtEdit::Forlatt() const { return text(); }

void TtEdit::sett() {
  auto* bytes = static_cast<unsigned char*>(variabel_);
  const std::size_t lengde = std::min(kopi_.size(), static_cast<std::size_t>(kapasitet_));
  bytes[0] = static_cast<unsigned char>(lengde);
  std::memset(bytes + 1, 0, static_cast<std::size_t>(kapasitet_));
  std::memcpy(bytes + 1, kopi_.data(), lengde);
}

TBEdit::TBEdit(QWidget* eier, void* variabel) : QCheckBox(eier), variabel_(variabel) {
  std::memcpy(&kopi_, variabel, sizeof kopi_);
  setTristate(true);
  setCheckState(kopi_ == 0 ? Qt::Unchecked : kopi_ == 1 ? Qt::Checked : Qt::PartiallyChecked);
  // What the user sets is what the box writes.
  connect(this, &QCheckBox::stateChanged, this, [this](int s) {
    kopi_ = s == Qt::Unchecked ? 0 : s == Qt::Checked ? 1 : 2;
  });
  setFixedSize(std::max(15, sizeHint().width()), Felthoyde);
  setAutoFillBackground(true);
  farve();
}

void TBEdit::sett() { std::memcpy(variabel_, &kopi_, sizeof kopi_); }

void TBEdit::farve() {
  const QPalette standard = QApplication::palette();
  QPalette p = palette();
  p.setColor(QPalette::Window, standard.color(hasFocus() ? QPalette::Highlight : QPalette::Button));
  setPalette(p);
}

void TBEdit::focusInEvent(QFocusEvent* e) {
  QCheckBox::focusInEvent(e);
  farve();
}

void TBEdit::focusOutEvent(QFocusEvent* e) {
  QCheckBox::focusOutEvent(e);
  farve();
}

// ---------------------------------------------------------------- the dialog

Tlesing::Tlesing(QWidget* eier) : QDialog(eier, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("Skriv inn");
  setFont(Dialogfont());
  setSizeGripEnabled(true);

  rader_ = new QWidget;
  rader_->setFocusPolicy(Qt::NoFocus);
  boksen = new QScrollArea(this);
  boksen->setWidget(rader_);
  boksen->setWidgetResizable(false);
  boksen->setFocusPolicy(Qt::NoFocus);
  boksen->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  panel_ = new QWidget(this);
  ok_knapp = new QPushButton("&OK", panel_);
  Byrt_knapp = new QPushButton("&Angre", panel_);
  Hjtekst = new QLabel("Flytt med piler, ENTER og Tab/ShTab. I kombobokser virker piler bare i boksen", panel_);
  QFont hf = font();
  hf.setPixelSize(11);
  Hjtekst->setFont(hf);
  Hjtekst->setWordWrap(true);
  Hjtekst->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const int knappebredde = std::max({75, ok_knapp->sizeHint().width(), Byrt_knapp->sizeHint().width()});
  for (QPushButton* k : {ok_knapp, Byrt_knapp}) {
    // Enter moves between the fields; it presses no button.
    k->setAutoDefault(false);
    k->setDefault(false);
    k->setFixedWidth(knappebredde);
    k->installEventFilter(this);
  }
  auto* pl = new QVBoxLayout(panel_);
  pl->setContentsMargins(0, 0, 0, 0);
  pl->setSpacing(6);
  pl->addWidget(ok_knapp);
  pl->addWidget(Byrt_knapp);
  pl->addSpacing(6);
  pl->addWidget(Hjtekst);
  pl->addStretch();
  panel_->setFixedWidth(knappebredde + 12);

  auto* lag = new QHBoxLayout(this);
  lag->setContentsMargins(4, 4, 4, 4);
  lag->setSpacing(6);
  lag->addWidget(boksen, 1);
  lag->addWidget(panel_, 0);
  setMinimumSize(245, 203);

  connect(ok_knapp, &QPushButton::clicked, this, &Tlesing::OkClick);
  connect(Byrt_knapp, &QPushButton::clicked, this, &QDialog::reject);
}

void Tlesing::LeggTil(const QString& ledetekst, QWidget* felt) {
  const QFontMetrics fm(font());
  const int bredde = fm.size(Qt::TextShowMnemonic, ledetekst).width();
  bredestLedetekst_ = std::max(bredestLedetekst_, bredde + 3);

  auto* etikett = new QLabel(ledetekst, rader_);
  etikett->setBuddy(felt);
  etikett->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  etikett->setGeometry(0, radtopp_ + 3, bredde + 3, Felthoyde);

  felt->setParent(rader_);
  felt->move(0, radtopp_);
  felt->resize(felt->width(), Felthoyde);
  felt->installEventFilter(this);
  felt->show();

  radtopp_ += Radavstand;
  bredestFelt_ = std::max(bredestFelt_, felt->width());
  bunn_ = felt->y() + Felthoyde;
  felter_.push_back(felt);
}

void Tlesing::Ordne() {
  ordnet_ = true;
  for (QWidget* f : felter_) f->move(bredestLedetekst_, f->y());
  rader_->setFixedSize(bredestLedetekst_ + bredestFelt_, bunn_);

  // Tab order: the fields in row order, then the buttons.
  QWidget* forrige = nullptr;
  for (QWidget* f : felter_) {
    if (forrige) setTabOrder(forrige, f);
    forrige = f;
  }
  if (forrige) setTabOrder(forrige, ok_knapp);
  setTabOrder(ok_knapp, Byrt_knapp);

  const QMargins m = layout()->contentsMargins();
  const int ramme = 2 * boksen->frameWidth();
  const int rullefelt = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, boksen);
  int bredde = rader_->width() + ramme + rullefelt + layout()->spacing() + panel_->width() + m.left() + m.right();
  int hoyde = bunn_ + ramme + m.top() + m.bottom();
  bredde = std::max(bredde, minimumWidth());
  hoyde = std::max({hoyde, minimumHeight(), panel_->sizeHint().height() + m.top() + m.bottom()});

  // The window frame around the client area: as the platform reports it, or
  // the style's title bar and borders while the window manager has not yet
  // framed the window.
  QMargins rammer = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  if (rammer.isNull()) {
    const int kant = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    rammer = QMargins(kant, kant + style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), kant, kant);
  }
  QWidget* eier = parentWidget() ? parentWidget()->window() : nullptr;
  QScreen* skjerm = eier ? eier->screen() : screen();
  const QRect s = skjerm ? skjerm->availableGeometry() : QRect(0, 0, 800, 600);

  // Over the owner's top, centred on it; without an owner, centred on the screen.
  const int yttre = bredde + rammer.left() + rammer.right();
  int x, y;
  if (eier) {
    const QRect e = eier->frameGeometry();
    x = e.center().x() - yttre / 2;
    y = e.top();
  } else {
    x = s.center().x() - yttre / 2;
    y = s.top() + std::max(0, (s.height() - hoyde - rammer.top() - rammer.bottom()) / 2);
  }
  x = std::clamp(x, s.left(), std::max(s.left(), s.right() + 1 - yttre));
  y = std::clamp(y, s.top(), std::max(s.top(), s.bottom() + 1 - minimumHeight() - rammer.top() - rammer.bottom()));
  // Never beyond the right edge or the bottom of the screen; rows that do not
  // fit scroll.
  bredde = std::min(bredde, s.right() + 1 - x - rammer.left() - rammer.right());
  hoyde = std::min(hoyde, s.bottom() + 1 - y - rammer.top() - rammer.bottom());
  resize(std::max(bredde, minimumWidth()), std::max(hoyde, minimumHeight()));
  move(x, y);

  if (!felter_.empty()) felter_.front()->setFocus(Qt::TabFocusReason);
}

int Tlesing::Kjor() { return exec() == QDialog::Accepted ? Ok : Angre; }

void Tlesing::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!ordnet_) Ordne();
}

bool Tlesing::eventFilter(QObject* mottaker, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      focusNextPrevChild(true);
      return true;
    }
    // The arrows move when they are released.
    if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) return true;
  } else if (e->type() == QEvent::KeyRelease) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
      if (!k->isAutoRepeat()) focusNextPrevChild(k->key() == Qt::Key_Down);
      return true;
    }
  } else if (e->type() == QEvent::FocusIn) {
    auto* w = qobject_cast<QWidget*>(mottaker);
    if (w && w->parentWidget() == rader_) boksen->ensureWidgetVisible(w, 0, Radavstand / 2);
  }
  return QDialog::eventFilter(mottaker, e);
}

void Tlesing::OkClick() {
  for (QWidget* f : felter_)
    if (auto* t = dynamic_cast<TTypefelt*>(f)) t->sett();
  accept();
}
