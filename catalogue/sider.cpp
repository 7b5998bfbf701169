#include "sider.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

#include "cp1252.h"
#include "pdffil.h"
#include "tekst.h"

namespace {

// Columns `fra` to `til` (1-based, inclusive) of a line; what lies beyond its
// end is empty.
std::string Kolonner(const std::string& linje, int fra, int til) {
  if (fra < 1) fra = 1;
  if (til > static_cast<int>(linje.size())) til = static_cast<int>(linje.size());
  if (til < fra) return {};
  return linje.substr(static_cast<std::size_t>(fra - 1), static_cast<std::size_t>(til - fra + 1));
}

std::string Trimmet(const std::string& linje, int fra, int til) { return TrimText(Kolonner(linje, fra, til)); }

// Every text of a page has a box across that it stays inside: a box never
// overlaps another on the same line, nor a rule. The boxes are in
// millimetres from the box's left edge; neighbouring boxes keep Luft apart,
// and a box beside a rule keeps Luft from the rule's middle.
constexpr double Luft = 0.4;
// The inner edge of the frame's right side (173 mm, drawn 0.6 mm wide).
constexpr double Hoyrekant = 172.7 - Luft / 2;

// A text starting at x whose box ends at `til`.
void Venstre(Tfelt& f, double x, double y, std::string t, double til) {
  auto punkt = std::make_unique<TvPunkt>(x, y, std::move(t));
  punkt->Maks = til - x;
  f.Punkter.push_back(std::move(punkt));
}
// A text ending at x whose box starts at `fra`.
void Hoyre(Tfelt& f, double x, double y, std::string t, double fra) {
  auto punkt = std::make_unique<ThPunkt>(x, y, std::move(t));
  punkt->Maks = x - fra;
  f.Punkter.push_back(std::move(punkt));
}

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

// Where the boxes of the values of the judging and wool lines end and those
// of the next labels begin: each label keeps its whole width, each value the
// room of its usual figures.
constexpr double Kaaringsgrense[7] = {36.5, 55.0, 73.6, 94.3, 109.6, 125.7, 151.5};
constexpr double Ullgrense[6] = {34.6, 55.5, 75.5, 93.5, 111.2, 129.3};
// Where the breed's and the ring text's boxes begin on the first two lines.
constexpr double Rasegrense = 124.5;
constexpr double Ringgrense = 140.5;

// The left edge of the box of index column k (ending at 58 + 9.5 k mm): the
// previous column, or the rule before the first and the fourth column.
double Indeksgrense(int k) {
  if (k == 0) return 49.5 + Luft;
  if (k == 3) return 78 + Luft;
  return 58 + 9.5 * (k - 1) + Luft;
}

std::unique_ptr<Tfelt> LagFelt(const std::vector<std::string>& linjer, std::size_t i) {
  const auto linje = [&](std::size_t k) -> const std::string& {
    static const std::string tom;
    return i + k < linjer.size() ? linjer[i + k] : tom;
  };
  auto felt = std::make_unique<Tfelt>();
  Tfelt& f = *felt;

  const std::string& hode = linje(0);
  std::string semin = Trimmet(hode, 85, 85 + 31);
  // Number and name run on to the birth text when there is no insemination label.
  Venstre(f, 0.3, 0.6, Trimmet(hode, 1, 31), (semin.empty() ? 94 : 58.3) - Luft);
  Hoyre(f, 171, 0.6, Trimmet(hode, 32, 46), Rasegrense);
  Venstre(f, 94, 0.6, Trimmet(hode, 47, 66), Rasegrense - Luft);
  Hoyre(f, 171, 6.5, Trimmet(hode, 67, 84), Ringgrense);
  Venstre(f, 58.3, 0.6, std::move(semin), 94 - Luft);

  Venstre(f, 0.3, 6.5, TrimText(linje(1)), Ringgrense - Luft);
  f.Tittel = Tittel(linje(1));

  for (int r = 0; r < 5; ++r) {
    const std::string& l = linje(3 + static_cast<std::size_t>(r));
    const double y = 14.9 + 3.7 * r;
    Venstre(f, 9, y, Trimmet(l, 6, 36), 49.5 - Luft);
    Venstre(f, 158, y, Trimmet(l, 37, 44), Hoyrekant);
    for (int k = 0; k < 3; ++k)
      Hoyre(f, 136 + 9.5 * k, y, Trimmet(l, 77 + 5 * k, 81 + 5 * k), k == 0 ? 125 + Luft : 136 + 9.5 * (k - 1) + Luft);
    for (int k = 0; k < 8; ++k) Hoyre(f, 58 + 9.5 * k, y, Trimmet(l, 45 + 4 * k, 48 + 4 * k), Indeksgrense(k));
  }

  const std::vector<std::string> kaaring = Ord(linje(9));
  for (int j = 0; j < 8; ++j)
    Venstre(f, 26.5 + 19 * j, 35.1, kaaring[static_cast<std::size_t>(j)], j < 7 ? Kaaringsgrense[j] - Luft : Hoyrekant);

  const std::string& ull = linje(11);
  for (int j = 0; j < 6; ++j)
    Venstre(f, 27.5 + 19 * j, 38.9, Trimmet(ull, 14 + 8 * j, 21 + 8 * j), Ullgrense[j] - Luft);
  Venstre(f, KlippedatoX + 0.5, 38.9, Trimmet(ull, 62, 62 + 29), Hoyrekant);
  return felt;
}

void SettSkrift(QPainter& p, const TSkala& skala, double mm, bool fet) { p.setFont(Sideskrift(skala.MmY(mm), fet)); }

// Writes t with its top edge at y as the painter's font stands there,
// starting at x or, when `hoyre`, ending at x, inside `plass` pixels. A text
// too wide is first written narrower (down to three quarters of its width),
// then smaller (down to three quarters of its height, on the same baseline),
// and what still does not fit is cut. The painter's font stays.
void Skriv(QPainter& p, QString t, int x, int y, bool hoyre, double plass = 1e9) {
  if (t.isEmpty()) return;
  const QFont var = p.font();
  QFont f = var;
  std::optional<QFontMetricsF> fm(std::in_place, f, p.device());
  const double grunnlinje = y + fm->ascent();
  const auto bredde = [&] { return fm->horizontalAdvance(t); };
  if (bredde() > plass) {
    constexpr int Smalest = 75;
    int strekk = std::max(Smalest, static_cast<int>(100 * plass / bredde()));
    for (f.setStretch(strekk), fm.emplace(f, p.device()); bredde() > plass && strekk > Smalest;) {
      f.setStretch(--strekk);
      fm.emplace(f, p.device());
    }
    const int minste = std::max(1, static_cast<int>(std::ceil(var.pixelSize() * 0.75)));
    while (bredde() > plass && f.pixelSize() > minste) {
      f.setPixelSize(f.pixelSize() - 1);
      fm.emplace(f, p.device());
    }
    while (t.size() > 1 && bredde() > plass) t.chop(1);
    if (bredde() > plass) return;
  }
  p.setFont(f);
  p.drawText(QPointF(hoyre ? x - bredde() : x, grunnlinje), t);
  p.setFont(var);
}

// A fixed text in its box: from `fra` to `til` mm of the box at x0, top y
// mm; right-aligned at `til` or left-aligned at `fra`.
struct TEtikett {
  const char* tekst;
  double fra, til, y;
  bool hoyre;
};

void Skriv(QPainter& p, const TSkala& skala, const TEtikett& e, double x0, double y0) {
  const int fra = skala.MmX(x0 + e.fra), til = skala.MmX(x0 + e.til);
  Skriv(p, QString::fromUtf8(e.tekst), e.hoyre ? til : fra, skala.MmY(y0 + e.y), e.hoyre, til - fra);
}

const char* const Indekshoder[] = {"O", "K", "M", "Slv", "Kj", "F", "Me", "Frb"};
const char* const Kaaringsetiketter[] = {
    "Høstv.=", "O-ætt=", "Avvik=", "Kropp=", "Bein=", "Ullkval.=", "Ullmengde=", "Sum="};
const char* const Ulletiketter[] = {"Max-my=", "Mid-my=", "Stapel=", "Marg=", "Dyreh=", "Ullvekt=", "Klippedato="};
// Left of the rule at 16 mm under the ruled part.
constexpr double Radetikettkant = 16 - Luft;

}  // namespace

// ---- Scaling ----

int TSkala::MmX(double mm) const { return static_cast<int>(RoundHalfAway(mm * 3 * x_)); }
int TSkala::MmY(double mm) const { return static_cast<int>(RoundHalfAway(mm * 3.1 * y_)); }

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

void Tpunkt::Tegn(QPainter&, const TSkala&, double, double) const {}

void ThPunkt::Tegn(QPainter& p, const TSkala& skala, double x0, double y0) const {
  if (Tekst.empty()) return;
  const int x = skala.MmX(x0 + X);
  Skriv(p, TilQString(Tekst), x, skala.MmY(y0 + Y), true, Maks > 0 ? x - skala.MmX(x0 + X - Maks) : 1e9);
}

void TvPunkt::Tegn(QPainter& p, const TSkala& skala, double x0, double y0) const {
  if (Tekst.empty()) return;
  const int x = skala.MmX(x0 + X);
  Skriv(p, TilQString(Tekst), x, skala.MmY(y0 + Y), false, Maks > 0 ? skala.MmX(x0 + X + Maks) - x : 1e9);
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

// ---- Drawing ----

std::string Sidetittel(const TSider& sider, int side) {
  if (side < 1 || side > static_cast<int>(sider.size())) return {};
  const auto& felter = sider[static_cast<std::size_t>(side - 1)]->Felter;
  return felter.empty() ? std::string() : felter.back()->Tittel;
}

void TegnFelt(const Tfelt& felt, QPainter& p, const TSkala& skala, double y0, double x0) {
  const auto x = [&](double mm) { return skala.MmX(x0 + mm); };
  const auto y = [&](double mm) { return skala.MmY(y0 + mm); };

  QPen penn(Qt::black);
  penn.setWidth(skala.MmX(0.6));
  penn.setJoinStyle(Qt::MiterJoin);
  p.setPen(penn);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(QPointF(x(0), y(0)), QPointF(x(173), y(43))));

  penn.setWidth(skala.MmX(0.3));
  p.setPen(penn);
  SettSkrift(p, skala, 3.8, false);
  for (double h : {10.4, 14.6, 35.0}) p.drawLine(x(0), y(h), x(173), y(h));
  for (double v : {49.5, 78.0, 125.0, 157.0}) p.drawLine(x(v), y(10.4), x(v), y(35));
  p.drawLine(x(16), y(35), x(16), y(43));

  Skriv(p, skala, TEtikett{"Indekser", 0.3, 49.5 - Luft, 10.7, false}, x0, y0);
  const std::pair<const char*, double> rader[] = {
      {"Selv", 14.7}, {"Far", 18.4}, {"Mor", 22.1}, {"Farf.", 25.8}, {"Morf.", 29.5}};
  for (const auto& [t, ry] : rader) Skriv(p, skala, TEtikett{t, 0.3, 9 - Luft, ry, false}, x0, y0);

  SettSkrift(p, skala, 3.0, false);
  for (int i = 0; i < 8; ++i)
    Skriv(p, skala, TEtikett{Indekshoder[i], Indeksgrense(i), 58 + 9.5 * i, 11, true}, x0, y0);
  Skriv(p, skala, TEtikett{"Høstv.", 128, 137 - Luft, 11, false}, x0, y0);
  Skriv(p, skala, TEtikett{"Slaktv.", 137, 148 - Luft, 11, false}, x0, y0);
  Skriv(p, skala, TEtikett{"Døtre", 148, 157 - Luft, 11, false}, x0, y0);
  Skriv(p, skala, TEtikett{"Ind. dato", 158, Hoyrekant, 11, false}, x0, y0);
  for (int i = 0; i < 8; ++i)
    Skriv(p, skala,
          TEtikett{Kaaringsetiketter[i], i == 0 ? 16 + Luft : Kaaringsgrense[i - 1], 26.0 + 19 * i, 35.5, true}, x0,
          y0);
  for (int i = 0; i < 7; ++i)
    Skriv(p, skala,
          TEtikett{Ulletiketter[i], i == 0 ? 16 + Luft : Ullgrense[i - 1], i == 6 ? KlippedatoX : 27.0 + 19 * i, 39.6,
                   true},
          x0, y0);

  SettSkrift(p, skala, 3.8, false);
  Skriv(p, skala, TEtikett{"Kåring", 0.3, Radetikettkant, 35.3, false}, x0, y0);
  Skriv(p, skala, TEtikett{"Ullanalyse", 0.3, Radetikettkant, 38.7, false}, x0, y0);

  for (std::size_t k = 0; k < felt.Punkter.size(); ++k) {
    if (k == 0)
      SettSkrift(p, skala, 5.5, false);
    else if (k == 1)
      SettSkrift(p, skala, 5.0, false);
    else
      SettSkrift(p, skala, 3.8, true);
    felt.Punkter[k]->Tegn(p, skala, x0, y0);
  }
}

void TegnSide(QPainter& p, int bredde, int hoyde, const TSider& sider, int side) {
  const TSkala skala(bredde, hoyde);
  const auto x = [&](double mm) { return skala.MmX(mm); };
  p.save();
  p.fillRect(QRect(0, 0, bredde, hoyde), Qt::white);
  p.setPen(Qt::black);
  p.setFont(Sideskrift(skala.MmY(5.3)));
  // The page number and the running head keep to their halves of the top.
  constexpr double Sidetall = 105, Sidetallslutt = 114;
  Skriv(p, QString::number(side), x(Sidetall), 1, false, x(Sidetallslutt - Luft) - x(Sidetall));

  bool fet = false;
  if (side >= 1 && side <= static_cast<int>(sider.size())) {
    const auto& felter = sider[static_cast<std::size_t>(side - 1)]->Felter;
    for (std::size_t k = 0; k < felter.size(); ++k)
      TegnFelt(*felter[k], p, skala, 7 + 44.0 * static_cast<double>(k), 15);
    fet = !felter.empty();
  }

  p.setPen(Qt::black);
  p.setFont(Sideskrift(skala.MmY(5.3), fet));
  const QString hode = TilQString(Sidetittel(sider, side));
  if (side % 2 != 0)
    Skriv(p, hode, x(190), 1, true, x(190) - x(Sidetallslutt));
  else
    Skriv(p, hode, x(5), 1, false, x(Sidetall - Luft) - x(5));
  p.restore();
}

int TRammedokument::Sider() const { return std::max(static_cast<int>(sider_->size()), 1); }

void TRammedokument::TegnSide(QPainter& p, int bredde, int hoyde, int side) const {
  ::TegnSide(p, bredde, hoyde, *sider_, side);
}

// ---- PDF ----

void SkrivPdf(const std::filesystem::path& fil, const QString& tittel, const TSidedokument& dokument,
              const TSidefremdrift& fremdrift) {
  TPdfOppsett oppsett;
  oppsett.side = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
  oppsett.opplosning = 96;
  oppsett.tittel = tittel;
  oppsett.skaper = QStringLiteral("Tuv-Sau");
  const int sider = dokument.Sider();
  SkrivPdfFil(fil, oppsett, [&](QPdfWriter& pdf, QPainter& p) {
    // Told once a page is done.
    SkrivSider(p, pdf, dokument, 1, sider, QRect(0, 0, KatalogPdfBredde, KatalogPdfHoyde), [&](int side) {
      if (fremdrift && side > 1) fremdrift(side - 1, sider);
    });
    if (fremdrift) fremdrift(sider, sider);
  });
}

void SkrivRammerPdf(const TSider& sider, const std::filesystem::path& fil, const QString& tittel,
                    const TSidefremdrift& fremdrift) {
  SkrivPdf(fil, tittel, TRammedokument(sider), fremdrift);
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
    Skriv(p, QString::fromUtf8("Værkatalog fra Kveldro den ") + dato + QStringLiteral(" Side:") + QString::number(side),
          1, 1, false);
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
