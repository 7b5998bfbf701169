#include "sider.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <filesystem>

#include "cp1252.h"
#include "pdffil.h"
#include "tekst.h"

namespace {

// The scale of the current drawing.
double skalaX = 1.0;
double skalaY = 1.0;
std::string sidetittel;

// Columns `fra` to `til` (1-based, inclusive) of a line; what lies beyond its
// end is empty.
std::string Kolonner(const std::string& linje, int fra, int til) {
  if (fra < 1) fra = 1;
  if (til > static_cast<int>(linje.size())) til = static_cast<int>(linje.size());
  if (til < fra) return {};
  return linje.substr(static_cast<std::size_t>(fra - 1), static_cast<std::size_t>(til - fra + 1));
}

std::string Trimmet(const std::string& linje, int fra, int til) { return TrimText(Kolonner(linje, fra, til)); }

void Venstre(Tfelt& f, double x, double y, std::string t) { f.Punkter.push_back(std::make_unique<TvPunkt>(x, y, std::move(t))); }
void Hoyre(Tfelt& f, double x, double y, std::string t) { f.Punkter.push_back(std::make_unique<ThPunkt>(x, y, std::move(t))); }

// The county text of a birth line: what follows its last comma, searched
// from the third-to-last character down to the second.
std::string Tittel(const std::string& linje) {
  const int n = static_cast<int>(linje.size());
  if (n <= 8) return {};
  for (int j = n - 2; j >= 2; --j)
    if (linje[static_cast<std::size_t>(j - 1)] == ',') return linje.substr(static_cast<std::size_t>(j), 30);
  return {};
}

// The judging values: eight blank-separated words from position 14.
std::vector<std::string> Ord(const std::string& linje) {
  std::vector<std::string> ord;
  const int n = static_cast<int>(linje.size());
  int pos = 14;  // 1-based
  for (int j = 0; j < 8; ++j) {
    if (pos > n) {
      ord.emplace_back();
      continue;
    }
    int blank = pos + 1;
    while (blank <= n && linje[static_cast<std::size_t>(blank - 1)] != ' ') ++blank;
    ord.push_back(Trimmet(linje, pos, blank - 1));
    pos = blank + 1;
    while (pos <= n && linje[static_cast<std::size_t>(pos - 1)] == ' ') ++pos;
  }
  return ord;
}

// The shearing date stands a little to the right of the other wool figures,
// so that its long label leaves room for the wool weight before it.
constexpr double KlippedatoX = 144;

std::unique_ptr<Tfelt> LagFelt(const std::vector<std::string>& linjer, std::size_t i) {
  const auto linje = [&](std::size_t k) -> const std::string& {
    static const std::string tom;
    return i + k < linjer.size() ? linjer[i + k] : tom;
  };
  auto felt = std::make_unique<Tfelt>();
  Tfelt& f = *felt;

  const std::string& hode = linje(0);
  Venstre(f, 0.3, 0.6, Trimmet(hode, 1, 31));
  Hoyre(f, 171, 0.6, Trimmet(hode, 32, 46));
  Venstre(f, 94, 0.6, Trimmet(hode, 47, 66));
  Hoyre(f, 171, 6.5, Trimmet(hode, 67, 84));
  Venstre(f, 58.3, 0.6, Trimmet(hode, 85, 85 + 31));

  Venstre(f, 0.3, 6.5, TrimText(linje(1)));
  f.Tittel = Tittel(linje(1));

  for (int r = 0; r < 5; ++r) {
    const std::string& l = linje(3 + static_cast<std::size_t>(r));
    const double y = 14.9 + 3.7 * r;
    // Number and name end before the first index column's widest value.
    Venstre(f, 9, y, Trimmet(l, 6, 36));
    f.Punkter.back()->Maks = 58 - 9 - 7;
    Venstre(f, 158, y, Trimmet(l, 37, 44));
    for (int k = 0; k < 3; ++k) Hoyre(f, 136 + 9.5 * k, y, Trimmet(l, 77 + 5 * k, 81 + 5 * k));
    for (int k = 0; k < 8; ++k) Hoyre(f, 58 + 9.5 * k, y, Trimmet(l, 45 + 4 * k, 48 + 4 * k));
  }

  const std::vector<std::string> kaaring = Ord(linje(9));
  for (int j = 0; j < 8; ++j) Venstre(f, 26.5 + 19 * j, 35.1, kaaring[static_cast<std::size_t>(j)]);

  const std::string& ull = linje(11);
  for (int j = 0; j < 6; ++j) Venstre(f, 27.5 + 19 * j, 38.9, Trimmet(ull, 14 + 8 * j, 21 + 8 * j));
  Venstre(f, KlippedatoX + 0.5, 38.9, Trimmet(ull, 62, 62 + 29));
  return felt;
}

// Writes a text with its top edge at y, starting at x or ending at x.
void SkrivFra(QPainter& p, const QString& t, int x, int y) {
  if (t.isEmpty()) return;
  const QFontMetricsF fm(p.font(), p.device());
  p.drawText(QPointF(x, y + fm.ascent()), t);
}

void SkrivTil(QPainter& p, const QString& t, int x, int y) {
  if (t.isEmpty()) return;
  const QFontMetricsF fm(p.font(), p.device());
  p.drawText(QPointF(x - fm.horizontalAdvance(t), y + fm.ascent()), t);
}

void SettSkrift(QPainter& p, double mm, bool fet) { p.setFont(Sideskrift(MmY(mm), fet)); }

// Writes a text from x, in a smaller font when it would reach beyond `slutt`.
void SkrivInnenfor(QPainter& p, const QString& t, int x, int y, int slutt) {
  const QFont var = p.font();
  QFont f = var;
  int px = f.pixelSize();
  while (px > 4 && QFontMetricsF(f, p.device()).horizontalAdvance(t) > slutt - x) f.setPixelSize(--px);
  p.setFont(f);
  SkrivFra(p, t, x, y);
  p.setFont(var);
}

const char* const Indekshoder[] = {"O", "K", "M", "Slv", "Kj", "F", "Me", "Frb"};
const char* const Kaaringsetiketter[] = {"Høstv.=", "O-ætt=",     "Avvik=", "Kropp=",
                                         "Bein=",   "Ullkval.=", "Ullmengde=", "Sum="};
const char* const Ulletiketter[] = {"Max-my=", "Mid-my=", "Stapel=", "Marg=", "Dyreh=", "Ullvekt=", "Klippedato="};

}  // namespace

// ---- Scaling ----

void SettSkala(int bredde, int hoyde) {
  skalaX = bredde / 600.0;
  skalaY = hoyde / 870.0;
}

int MmX(double mm) { return static_cast<int>(RoundHalfAway(mm * 3 * skalaX)); }
int MmY(double mm) { return static_cast<int>(RoundHalfAway(mm * 3.1 * skalaY)); }

QFont Sideskrift(int celle, bool fet) {
  // The cell height of the font per pixel of its em size, measured once.
  static const double celleForhold = [] {
    QFont f("Liberation Serif");
    f.setPixelSize(1000);
    const QFontMetricsF fm(f);
    const double c = (fm.ascent() + fm.descent()) / 1000.0;
    return c > 0.5 ? c : 1.0;
  }();
  QFont f("Liberation Serif");
  f.setPixelSize(std::max(1, static_cast<int>(RoundHalfAway(celle / celleForhold))));
  f.setBold(fet);
  return f;
}

// ---- The page model ----

void Tpunkt::Tegn(QPainter&, double, double) const {}

void ThPunkt::Tegn(QPainter& p, double x0, double y0) const {
  if (!Tekst.empty()) SkrivTil(p, TilQString(Tekst), MmX(x0 + X), MmY(y0 + Y));
}

void TvPunkt::Tegn(QPainter& p, double x0, double y0) const {
  if (Tekst.empty()) return;
  QString t = TilQString(Tekst);
  if (Maks > 0) {
    // A text that would run into the next column is cut, as on a printed page.
    const QFontMetricsF fm(p.font(), p.device());
    const double plass = MmX(x0 + X + Maks) - MmX(x0 + X);
    while (t.size() > 1 && fm.horizontalAdvance(t) > plass) t.chop(1);
  }
  SkrivFra(p, t, MmX(x0 + X), MmY(y0 + Y));
}

std::unique_ptr<TSider> LagSider(const std::vector<std::string>& linjer) {
  auto sider = std::make_unique<TSider>();
  sider->push_back(std::make_unique<Tside>());
  for (std::size_t i = 0; i < linjer.size(); i += LinjerPerVer) {
    if (sider->back()->Felter.size() >= FelterPerSide) sider->push_back(std::make_unique<Tside>());
    sider->back()->Felter.push_back(LagFelt(linjer, i));
  }
  return sider;
}

void FrigiSider(void* sider) { delete static_cast<TSider*>(sider); }

// ---- Drawing ----

const std::string& Sidetittel() { return sidetittel; }

void TegnFelt(const Tfelt& felt, QPainter& p, double y0, double x0) {
  sidetittel = felt.Tittel;
  const auto x = [x0](double mm) { return MmX(x0 + mm); };
  const auto y = [y0](double mm) { return MmY(y0 + mm); };

  QPen penn(Qt::black);
  penn.setWidth(MmX(0.6));
  penn.setJoinStyle(Qt::MiterJoin);
  p.setPen(penn);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(QPointF(x(0), y(0)), QPointF(x(173), y(43))));

  penn.setWidth(MmX(0.3));
  p.setPen(penn);
  SettSkrift(p, 3.8, false);
  for (double h : {10.4, 14.6, 35.0}) p.drawLine(x(0), y(h), x(173), y(h));
  for (double v : {49.5, 78.0, 125.0, 157.0}) p.drawLine(x(v), y(10.4), x(v), y(35));
  p.drawLine(x(16), y(35), x(16), y(43));

  SkrivFra(p, QStringLiteral("Indekser"), x(0.3), y(10.7));
  const std::pair<const char*, double> rader[] = {{"Selv", 14.7}, {"Far", 18.4}, {"Mor", 22.1}, {"Farf.", 25.8}, {"Morf.", 29.5}};
  for (const auto& [t, ry] : rader) SkrivFra(p, QString::fromUtf8(t), x(0.3), y(ry));

  SettSkrift(p, 3.0, false);
  for (int i = 0; i < 8; ++i) SkrivTil(p, QString::fromUtf8(Indekshoder[i]), x(58 + 9.5 * i), y(11));
  SkrivFra(p, QString::fromUtf8("Høstv."), x(128), y(11));
  SkrivFra(p, QStringLiteral("Slaktv."), x(137), y(11));
  SkrivFra(p, QString::fromUtf8("Døtre"), x(148), y(11));
  SkrivFra(p, QStringLiteral("Ind. dato"), x(158), y(11));
  for (int i = 0; i < 8; ++i) SkrivTil(p, QString::fromUtf8(Kaaringsetiketter[i]), x(26 + 19 * i), y(35.5));
  for (int i = 0; i < 7; ++i)
    SkrivTil(p, QString::fromUtf8(Ulletiketter[i]), x(i == 6 ? KlippedatoX : 27 + 19 * i), y(39.6));

  SettSkrift(p, 3.8, false);
  SkrivInnenfor(p, QString::fromUtf8("Kåring"), x(0.3), y(35.3), x(15.6));
  SkrivInnenfor(p, QStringLiteral("Ullanalyse"), x(0.3), y(38.7), x(15.6));

  for (std::size_t k = 0; k < felt.Punkter.size(); ++k) {
    if (k == 0)
      SettSkrift(p, 5.5, false);
    else if (k == 1)
      SettSkrift(p, 5.0, false);
    else
      SettSkrift(p, 3.8, true);
    felt.Punkter[k]->Tegn(p, x0, y0);
  }
}

void TegnSide(QPainter& p, int bredde, int hoyde, const TSider& sider, int side) {
  SettSkala(bredde, hoyde);
  sidetittel.clear();
  p.save();
  p.fillRect(QRect(0, 0, bredde, hoyde), Qt::white);
  p.setPen(Qt::black);
  p.setFont(Sideskrift(MmY(5.3)));
  SkrivFra(p, QString::number(side), MmX(105), 1);

  bool fet = false;
  if (side >= 1 && side <= static_cast<int>(sider.size())) {
    const auto& felter = sider[static_cast<std::size_t>(side - 1)]->Felter;
    for (std::size_t k = 0; k < felter.size(); ++k) TegnFelt(*felter[k], p, 7 + 44.0 * static_cast<double>(k), 15);
    fet = !felter.empty();
  }

  p.setPen(Qt::black);
  p.setFont(Sideskrift(MmY(5.3), fet));
  const QString hode = TilQString(sidetittel);
  if (side % 2 != 0)
    SkrivTil(p, hode, MmX(190), 1);
  else
    SkrivFra(p, hode, MmX(5), 1);
  p.restore();
}

void TegnSider(QPainter& p, int bredde, int hoyde, void* data, int side) {
  static const TSider tom;
  TegnSide(p, bredde, hoyde, data ? *static_cast<const TSider*>(data) : tom, side);
}

// ---- PDF ----

void SkrivPdf(const std::filesystem::path& fil, const QString& tittel, int antall, const TSideTegner& tegner,
              void* data, const TSidefremdrift& fremdrift) {
  TPdfOppsett oppsett;
  oppsett.side = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
  oppsett.opplosning = 96;
  oppsett.tittel = tittel;
  oppsett.skaper = QStringLiteral("Tuv-Sau");
  const int sider = std::max(antall, 1);
  SkrivPdfFil(fil, oppsett, [&](QPdfWriter& pdf, QPainter& p) {
    for (int i = 1; i <= sider; ++i) {
      if (i > 1) pdf.newPage();
      if (tegner) tegner(p, KatalogPdfBredde, KatalogPdfHoyde, data, i);
      if (fremdrift) fremdrift(i, sider);
    }
  });
}

void SkrivRammerPdf(const TSider& sider, const std::filesystem::path& fil, const QString& tittel,
                    const TSidefremdrift& fremdrift) {
  SkrivPdf(fil, tittel, static_cast<int>(sider.size()), TegnSider, const_cast<TSider*>(&sider), fremdrift);
}

// ---- Printing the listing as text ----

int ListeSider(int antLinjer) { return antLinjer / 78; }

std::pair<int, int> ListeLinjer(int antLinjer, bool sidevalg, int fra, int til) {
  if (!sidevalg) return {1, antLinjer};
  const int forste = (fra - 1) * 78 + 1;
  int siste = std::min(til * 78, antLinjer);
  if (siste < forste) siste = std::min(forste + 78, antLinjer);
  return {forste, siste};
}

int LinjerPerArk(int hoyde, int linjehoyde) {
  if (linjehoyde < 1) linjehoyde = 1;
  return std::max(1, hoyde / (LinjerPerVer * linjehoyde)) * LinjerPerVer;
}

int SkrivListe(QPagedPaintDevice& enhet, const std::vector<std::string>& linjer, const TListevalg& valg) {
  QPainter p;
  if (!p.begin(&enhet)) return 0;
  QFont hodeskrift("Liberation Serif");
  hodeskrift.setPointSize(6);
  QFont skrift("Liberation Mono");
  skrift.setPointSize(10);
  if (valg.skrift) skrift = *valg.skrift;

  const int hoyde = enhet.height();
  const int h = std::max(1, QFontMetrics(skrift, &enhet).height());
  const int perArk = LinjerPerArk(hoyde, h);
  const int topp = std::max(0, (hoyde - (perArk + 1) * h) / 2);
  const QString dato = TilQString(DateToText(valg.idag));

  int side = valg.sidevalg ? valg.fra : 1;
  int ark = 1;
  const auto hode = [&] {
    p.setFont(hodeskrift);
    SkrivFra(p, QString::fromUtf8("Værkatalog fra Kveldro den ") + dato + QStringLiteral(" Side:") + QString::number(side), 1, 1);
    p.setFont(skrift);
  };
  hode();

  const auto [forste, siste] = ListeLinjer(static_cast<int>(linjer.size()), valg.sidevalg, valg.fra, valg.til);
  const QFontMetricsF fm(skrift, &enhet);
  int y = topp;
  int paaArket = 0;
  for (int i = forste; i <= siste; ++i) {
    if (valg.stopp && valg.stopp()) break;
    if (paaArket == perArk) {
      enhet.newPage();
      ++side;
      ++ark;
      hode();
      y = topp;
      paaArket = 0;
    }
    p.drawText(QPointF(10, y + fm.ascent()), TilQString(linjer[static_cast<std::size_t>(i - 1)]));
    y += h;
    ++paaArket;
  }
  p.end();
  return ark;
}
