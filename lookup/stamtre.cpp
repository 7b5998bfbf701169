#include "stamtre.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <string_view>

#include "cp1252.h"
#include "filer.h"
#include "pdffil.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"

// What a drawing of the tree carries from box to box: the painter, the scale,
// the line height, the pen position of the links and whether the next outline
// is the first.
struct TStamTegning {
  explicit TStamTegning(QPainter& maler) : p(maler) {}

  QPainter& p;
  double s = 1;
  int t = 0;  // line height in device pixels
  // The last generation's boxes are lower than three lines of the normal
  // font; their text is set smaller so that it stays inside its box.
  int tSiste = 0;
  QFont vanligSiste, fetSiste;
  bool siste = false;
  QPoint penn;
  QRect fra;  // the box the next link starts from (device); empty for the root
  bool forsteRamme = true;
  QFont vanlig, fet;

  // A logical coordinate in device pixels.
  int D(double v) const { return static_cast<int>(RoundHalfAway(v * s)); }
  // Writes `tekst` with its top-left corner at device (x, y), shortened so
  // that it ends before device x `hoyre`: a long name or breed never runs out
  // of its box into the boxes of the next generation.
  void Skriv(int x, int y, const std::string& tekst, bool fetSkrift, int hoyre) {
    p.setFont(siste ? (fetSkrift ? fetSiste : vanligSiste) : (fetSkrift ? fet : vanlig));
    const QFontMetrics fm = p.fontMetrics();
    QString q = TilQString(tekst);
    while (!q.isEmpty() && x + fm.horizontalAdvance(q) > hoyre) q.chop(1);
    if (!q.isEmpty()) p.drawText(x, y + fm.ascent(), q);
  }
};

namespace {

// `n` in decimal, zero-filled on the left to `siffer` digits; a longer number
// is kept whole.
std::string NullFylt(int64_t n, std::size_t siffer) {
  std::string t = IntToText(n);
  if (n >= 0 && t.size() < siffer) t.insert(0, siffer - t.size(), '0');
  return t;
}

// Sets a font height in device pixels the way the drawing code counts it:
// the whole text line (ascent plus descent), not the em of the font.
void SettHoyde(QPainter& p, QFont& f, int hoyde) {
  hoyde = std::max(1, hoyde);
  f.setPixelSize(hoyde);
  p.setFont(f);
  const int linje = std::max(1, p.fontMetrics().height());
  if (linje <= hoyde) return;
  int px = std::max(1, static_cast<int>(RoundHalfAway(static_cast<double>(hoyde) * hoyde / linje)));
  for (;;) {
    f.setPixelSize(px);
    p.setFont(f);
    if (px == 1 || p.fontMetrics().height() <= hoyde) return;
    --px;
  }
}

void TreffRekursivt(const TStamBoks* b, int32_t x, int32_t y, int32_t& treff);

// Where the link from `fra` to `til` leaves the box `boks` that `fra` lies in:
// the part inside the box would run across the box's own text, so it is not
// drawn. `fra` itself when it is not inside the box.
QPointF UtAvBoks(QPointF fra, QPointF til, const QRect& boks) {
  const double x1 = boks.left(), y1 = boks.top(), x2 = boks.right() + 1, y2 = boks.bottom() + 1;
  if (boks.isEmpty() || fra.x() < x1 || fra.x() > x2 || fra.y() < y1 || fra.y() > y2) return fra;
  const QPointF d = til - fra;
  double k = 1;
  if (d.x() > 0) k = std::min(k, (x2 - fra.x()) / d.x());
  if (d.x() < 0) k = std::min(k, (x1 - fra.x()) / d.x());
  if (d.y() > 0) k = std::min(k, (y2 - fra.y()) / d.y());
  if (d.y() < 0) k = std::min(k, (y1 - fra.y()) / d.y());
  return fra + k * d;
}

}  // namespace

// ---- TStamBoks ----

TStamBoks::TStamBoks(int32_t x, int32_t y, int32_t steg)
    : Bredde(x < 120 ? 60 : 115), X(x), Y(x > StamSisteX ? y + 5 : y), Steg(steg) {}

TStamBoks::~TStamBoks() = default;

void TStamBoks::LagFar(const TFinnVer& finn, const Trase& raser) {
  if (FarNr > 0 && X < StamSisteX)
    Far = std::make_unique<TVerBoks>(finn(FarNr), X + Bredde, Y - Steg, Steg / 2, finn, raser);
}

void TStamBoks::TegnRamme(TStamTegning& t, int32_t h) const {
  QPainter& p = t.p;
  const QPoint mot(t.D(X), t.D(Y + h));
  p.drawLine(QLineF(UtAvBoks(t.penn, mot, t.fra), mot));
  t.penn = mot;
  p.setBrush(t.forsteRamme ? p.background() : QBrush(Qt::NoBrush));
  t.forsteRamme = false;
  const int x1 = t.D(X), y1 = t.D(Y);
  const int x2 = t.D(X + StamBoksBredde), y2 = t.D(Y + 2 * h + 2);
  p.drawRect(QRect(x1, y1, x2 - x1, y2 - y1));
  p.setBrush(Qt::NoBrush);
}

void TStamBoks::TegnForeldre(TStamTegning& t, int32_t h, uint8_t skjerm) const {
  const QRect boks(QPoint(t.D(X), t.D(Y)), QPoint(t.D(X + StamBoksBredde), t.D(Y + 2 * h + 2)));
  t.fra = boks;
  t.penn = QPoint(t.D(X + StamTreffBredde), t.D(Y));
  if (Far) Far->Tegn(t, skjerm);
  t.penn = QPoint(t.D(X + StamTreffBredde), t.D(Y + 2 * h));
  t.fra = boks;
  if (Mor) Mor->Tegn(t, skjerm);
}

// ---- TVerBoks ----

TVerBoks::TVerBoks(const TVerPost& ver, int32_t x, int32_t y, int32_t steg, const TFinnVer& finn, const Trase& raser)
    : TStamBoks(x, y, steg) {
  const int32_t nummer = ver.Nummer, mornr = ver.Mornr, morFar = ver.MorFar;
  const int32_t morIndeks = ver.MorIndeks;
  NrTekst = NullFylt(nummer, 9);
  Indeks = ver.OIndeks;
  FarNr = ver.Farnr;
  Navn = ver.Navn.Verdi();
  RaseFylke = (raser.BreedName(ver.Rase) + "  " + CountyName(ver.Fylke)).substr(0, 40);
  Buskap = ver.Fodebuskap.Verdi().substr(0, 30);
  LagFar(finn, raser);
  if (morFar > 0 && X < StamSisteX)
    Mor = std::make_unique<TSoyeBoks>(mornr, morIndeks, morFar, X + Bredde, Y + Steg, Steg / 2, finn, raser);
}

void TVerBoks::Tegn(TStamTegning& t, uint8_t skjerm) const {
  const bool full = X < StamSisteX;
  const int32_t h = full ? 22 : 13;
  TegnRamme(t, h);
  const int x = t.D(X + 1), hoyre = t.D(X + StamBoksBredde) - 2;
  const double y = Y * t.s;
  t.siste = !full;
  const int linje = full ? t.t : t.tSiste;
  t.Skriv(x, t.D(Y + 1), NrTekst, true, hoyre);
  t.Skriv(x, static_cast<int>(RoundHalfAway(y + linje)), Navn, false, hoyre);
  t.Skriv(x, static_cast<int>(RoundHalfAway(y + 2 * linje)), "O-indeks:" + IntToText(Indeks), false, hoyre);
  t.siste = false;
  if (full) {
    t.Skriv(x, static_cast<int>(RoundHalfAway(y + 3 * t.t)), " " + NameCase(Buskap), false, hoyre);
    t.Skriv(x, static_cast<int>(RoundHalfAway(y + 4 * t.t)), RaseFylke, false, hoyre);
  }
  TegnForeldre(t, h, skjerm);
}

// ---- TSoyeBoks ----

TSoyeBoks::TSoyeBoks(int32_t mornr, int32_t indeks, int32_t morFar, int32_t x, int32_t y, int32_t steg,
                     const TFinnVer& finn, const Trase& raser)
    : TStamBoks(x, y, steg) {
  NrTekst = NullFylt(mornr, 6);
  Indeks = indeks;
  FarNr = morFar;
  LagFar(finn, raser);
}

void TSoyeBoks::Tegn(TStamTegning& t, uint8_t skjerm) const {
  const bool full = X < StamSisteX;
  const int32_t h = full ? 20 : 13;
  TegnRamme(t, h);
  const int x = t.D(X + 1), hoyre = t.D(X + StamBoksBredde) - 2;
  t.siste = !full;
  const int linje = full ? t.t : t.tSiste;
  t.Skriv(x, t.D(Y + 1), NrTekst, true, hoyre);
  t.Skriv(x, static_cast<int>(RoundHalfAway(Y * t.s + 2 * linje)), "O-indeks:" + IntToText(Indeks), false, hoyre);
  t.siste = false;
  TegnForeldre(t, h, skjerm);
}

// ---- building ----

std::unique_ptr<TVerBoks> ByggStamtre(const TVerPost& ver, const TFinnVer& finn, const Trase& raser) {
  return std::make_unique<TVerBoks>(ver, StamRotX, StamRotY, StamRotSteg, finn, raser);
}

std::unique_ptr<TVerBoks> ByggStamtre(const TVerPost& ver, TProdusent& reg, const Trase& raser) {
  return ByggStamtre(
      ver, [&reg](int32_t nummer) { return reg.FindByNumber(nummer); }, raser);
}

std::string StamtreTittel(const TVerBoks& rot) { return ("Stamtre for " + rot.NrTekst + " " + rot.Navn).substr(0, 42); }

// ---- drawing ----

void TegnStamtre(QPainter& p, int bredde, int hoyde, const TStamBoks& rot, bool skjerm) {
  p.save();
  TStamTegning t(p);
  t.s = bredde / 640.0;
  QFont f(QStringLiteral("Liberation Serif"));
  f.setStyleStrategy(QFont::PreferOutline);
  p.fillRect(QRect(0, 0, bredde, hoyde), p.background());

  SettHoyde(p, f, t.D(24));
  p.drawText(1, 1 + p.fontMetrics().ascent(), QStringLiteral("Stamtre "));

  QPen penn = p.pen();
  penn.setWidth(2);
  p.setPen(penn);

  SettHoyde(p, f, t.D(9));
  t.t = p.fontMetrics().height();
  t.vanlig = f;
  t.fet = f;
  t.fet.setBold(true);
  // Three lines inside a last-generation box, 2 * 13 + 2 units high.
  QFont liten = f;
  SettHoyde(p, liten, std::min(t.t, (t.D(2 * 13 + 2) - 2) / 3));
  t.tSiste = p.fontMetrics().height();
  t.vanligSiste = liten;
  t.fetSiste = liten;
  t.fetSiste.setBold(true);

  t.penn = QPoint(1, t.D(450));
  rot.Tegn(t, skjerm ? 1 : 0);
  p.restore();
}

// ---- hit test ----

namespace {

void TreffRekursivt(const TStamBoks* b, int32_t x, int32_t y, int32_t& treff) {
  if (b == nullptr || treff != 0) return;
  if (x > b->X && x < b->X + StamTreffBredde && y > b->Y && y < b->Y + StamTreffHoyde)
    treff = static_cast<int32_t>(TextToInt(b->NrTekst));
  TreffRekursivt(b->Far.get(), x, y, treff);
  TreffRekursivt(b->Mor.get(), x, y, treff);
}

}  // namespace

int32_t TreffStamtre(const TStamBoks& rot, int32_t x, int32_t y) {
  int32_t treff = 0;
  TreffRekursivt(&rot, x, y, treff);
  return treff;
}

int32_t StamtreKlikk(const TStamBoks& rot, double musX, double musY, double zoom) {
  if (zoom <= 0) return 0;
  const auto x = static_cast<int32_t>(RoundHalfAway(musX / zoom));
  const auto y = static_cast<int32_t>(RoundHalfAway(musY / zoom));
  const int32_t nummer = TreffStamtre(rot, x, y);
  return nummer > 999999 ? nummer : 0;
}

// ---- The tree as a file ----

std::optional<TStamtreFil> StamtreFiltype(const std::filesystem::path& fil) {
  const QString endelse = QString::fromStdString(fil.extension().string()).toLower();
  if (endelse == QLatin1String(".pdf")) return TStamtreFil::Pdf;
  if (endelse == QLatin1String(".png")) return TStamtreFil::Png;
  if (endelse == QLatin1String(".svg")) return TStamtreFil::Svg;
  return std::nullopt;
}

void SkrivStamtre(const TVerBoks& rot, const std::filesystem::path& fil) {
  const std::optional<TStamtreFil> type = StamtreFiltype(fil);
  if (!type)
    throw IoFeil("Kan ikke skrive stamtreet som «" + fil.filename().string() +
                 "»; fila må slutte på .pdf, .png eller .svg.");
  const QString tittel = TilQString(StamtreTittel(rot));
  switch (*type) {
    case TStamtreFil::Pdf: {
      TPdfOppsett oppsett;
      oppsett.side = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                 QPageLayout::Millimeter);
      oppsett.opplosning = 600;
      oppsett.tittel = tittel;
      oppsett.skaper = QStringLiteral("Hornstad");
      SkrivPdfFil(fil, oppsett,
                  [&](QPdfWriter& pdf, QPainter& p) { TegnStamtre(p, pdf.width(), pdf.height(), rot, false); });
      return;
    }
    case TStamtreFil::Png: {
      QImage bilde(StamtreBildeBredde, StamtreBildeHoyde, QImage::Format_RGB32);
      bilde.fill(Qt::white);
      {
        QPainter p(&bilde);
        TegnStamtre(p, bilde.width(), bilde.height(), rot, false);
      }
      QBuffer buffer;
      buffer.open(QIODevice::WriteOnly);
      if (!bilde.save(&buffer, "PNG")) throw IoFeil("Kunne ikke tegne stamtreet inn i " + fil.string() + ".");
      SkrivTrygt(fil, std::string_view(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size())));
      return;
    }
    case TStamtreFil::Svg:
      SkrivSvgFil(fil, QSize(StamtreBildeBredde, StamtreBildeHoyde), 72, tittel,
                  [&](QPainter& p) { TegnStamtre(p, StamtreBildeBredde, StamtreBildeHoyde, rot, false); });
      return;
  }
}
