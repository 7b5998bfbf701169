#include "tabellutskrift.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "pdffil.h"
#include "sidedokument.h"
#include "tekst.h"

// The state a page starts in: its rows (inclusive; none when forste >
// siste), the pen width the previous page left, and the right edge of the
// widest body row printed before it.
struct TTabellside {
  int forste = 0;
  int siste = -1;
  int pennbredde = 1;
  int rightmost = 0;
  std::vector<int> kolonner;  // the columns across the page, left to right
  int L = 0;                  // the table's left edge on the page
  int del = 0, deler = 1;     // the page's part of a table split across pages (from 0), and how many
};

namespace {

// Rounded to the nearest integer, halves to the even neighbour.
int Avrund(double x) { return static_cast<int>(std::nearbyint(x)); }
int AvrundBort(double x) { return static_cast<int>(RoundHalfAway(x)); }

// The colours of the raised cells: face, highlight and shadow.
const QColor Flate(212, 208, 200);
const QColor Lys(255, 255, 255);
const QColor Skygge(128, 128, 128);

QColor Farge(TFarge f) { return QColor((f >> 16) & 0xFF, (f >> 8) & 0xFF, f & 0xFF); }

// The table font whose character cell (ascent + descent) is `hoyde` device
// units high.
QFont Celleskrift(int hoyde) {
  static const double forhold = [] {
    QFont f = Tabellskrift(10);
    f.setPixelSize(1000);
    const QFontMetricsF fm(f);
    return (fm.ascent() + fm.descent()) / 1000.0;
  }();
  QFont f = Tabellskrift(10);
  f.setPixelSize(std::max(1, Avrund(hoyde / forhold)));
  return f;
}

// The screen height of the table font at a point size, as the grid's row
// height is made from it.
int Skrifthoyde(int punkt) { return QFontMetrics(Tabellskrift(punkt)).height(); }

class TTegner {
 public:
  TTegner(QPainter& p, const TSideoppsett& o, const TUtskrift& u) : p_(p), o_(o), u_(u), t_(*u.tabell) {
    m_ = static_cast<int>(2 * o.sy);
    if (m_ >= o.R) m_ = o.R - 1;
    m_ = std::max(m_, 0);
  }

  // Draws page `side` (from 1) of a run over `rader`; the first page tells
  // the run's start, the last its end.
  void Tegn(const TTabellside& s, int side, bool sist, TRadomraade rader) {
    const TRutenett& h = t_.Hoved();
    pennbredde_ = s.pennbredde;
    rightmost_ = s.rightmost;
    if (side == 1) Status("Skriver");
    Sidehode(side, s);
    if (side == 1 && u_.hendelser.start) u_.hendelser.start(rader.forste, rader.siste);
    for (int r = s.forste; r <= s.siste; ++r) {
      int x = s.L;
      const int top = y_, bottom = y_ + o_.rh;
      if (u_.hendelser.fremdrift) u_.hendelser.fremdrift(r);
      for (const int k : s.kolonner) {
        const bool fast = k < h.FasteKol() || r < h.FasteRader();
        p_.setBrush(fast ? Flate : Qt::white);
        pennbredde_ = fast ? 2 : 1;
        const int x1 = x + Avrund(h.Kolbredde(k) * o_.sx);
        Celle(x, top, x1, bottom, h.Celle(k, r));
        rightmost_ = std::max(rightmost_, x1);
        x = x1;
      }
      y_ = bottom;
    }
    if (sist && u_.hendelser.slutt) u_.hendelser.slutt();
    if (t_.BunnVist) Bunntekst(s);
  }

 private:
  void Status(const char* t) {
    if (u_.hendelser.status) u_.hendelser.status(t);
  }

  void Penn(const QColor& farge, int bredde) {
    QPen pen(farge);
    pen.setWidth(bredde);
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
  }

  // Text with its top-left corner at (x, y).
  void Tekst(int x, int y, const QString& tekst) { p_.drawText(QPointF(x, y + p_.fontMetrics().ascent()), tekst); }

  void Sidehode(int side, const TTabellside& s) {
    y_ = 0;
    p_.setBrush(Qt::white);
    p_.setFont(Celleskrift(Avrund(o_.sy * 8)));
    Penn(Qt::black, pennbredde_);
    std::string hode = Sidehodetekst(side, u_.dato, u_.hovedtekst);
    if (s.deler > 1) hode += Delertekst(s.del, s.deler);
    Tekst(10, 0, TilQString(hode));

    const int overskrift = AvrundBort(std::abs(Skrifthoyde(t_.TittelStorrelse) * o_.sy));
    p_.setFont(Celleskrift(overskrift));
    y_ += Avrund(o_.sy * 10);
    Tekst(s.L, y_, TilQString(t_.Tittel));
    y_ += overskrift;

    const TRutenett& h = t_.Hoved();
    p_.setBrush(Flate);
    for (int r = 0; r < h.FasteRader(); ++r) {
      int x = s.L;
      const int top = y_, bottom = y_ + o_.rh;
      for (const int k : s.kolonner) {
        const int x1 = x + AvrundBort(h.Kolbredde(k) * o_.sx);
        Celle(x, top, x1, bottom, h.Celle(k, r), THevet{r == 0, r == h.FasteRader() - 1});
        x = x1;
      }
      y_ = bottom;
    }
    p_.setBrush(Qt::white);
  }

  // The raised edge: highlight left and (when `toppkant`) top, shadow right
  // and (when `bunnkant`) bottom.
  void HevetKant(int x, int top, int x1, int bottom, bool toppkant, bool bunnkant) {
    Penn(Lys, 4);
    p_.drawLine(x + 2, bottom - 4, x + 2, top + 2);
    if (toppkant) p_.drawLine(x + 2, top + 2, x1 - 4, top + 2);
    Penn(Skygge, 4);
    p_.drawLine(x1 - 4, top + 2, x1 - 4, bottom - 4);
    if (bunnkant) p_.drawLine(x1 - 4, bottom - 4, x + 4, bottom - 4);
    pennbredde_ = 2;
    Penn(Qt::black, 2);
  }

  void Bunntekst(const TTabellside& s) {
    const TRutenett& h = t_.Hoved();
    const TRutenett& b = t_.Bunn();
    p_.setBrush(Flate);
    for (int r = 0; r < b.Rader(); ++r) {
      int x = s.L;
      const int top = y_, bottom = y_ + o_.rh;
      for (const int k : s.kolonner) {
        if (k >= b.Kolonner()) break;
        const int x1 = x + AvrundBort(h.Kolbredde(k) * o_.sx);
        const int hoyre = std::min(x1, rightmost_);
        Celle(x, top, hoyre, bottom, b.Celle(k, r), THevet{true, true});
        x = x1;
      }
      y_ = bottom;
    }
    p_.setBrush(Qt::white);
  }

  // A header or footer cell's raised edge.
  struct THevet {
    bool toppkant, bunnkant;
  };

  // The cell box: the rectangle, a raised cell's edge, then the text, which
  // in a raised cell keeps clear of the edge so that no letter is hidden.
  void Celle(int x0, int top, int x1, int bottom, const std::string& tekst, std::optional<THevet> hevet = {}) {
    const bool flate = p_.brush().color() == Flate;
    Penn(flate ? Flate : QColor(Qt::black), pennbredde_);
    p_.drawRect(QRectF(x0, top, x1 - x0, bottom - top));
    if (hevet) HevetKant(x0, top, x1, bottom, hevet->toppkant, hevet->bunnkant);
    if (tekst.empty()) return;
    const TCelleFormat f = TolkFormat(tekst);
    QFont font = Celleskrift(o_.fh);
    font.setBold(f.fet);
    font.setItalic(f.kursiv);
    font.setUnderline(f.understrek);
    font.setStrikeOut(f.gjennomstrek);
    p_.setFont(font);
    Penn(Farge(FormatFarge(f, t_.Farge1, t_.Farge2)), pennbredde_);
    const QString vist = TilQString(f.tekst);
    const int bredde = p_.fontMetrics().horizontalAdvance(vist);
    // At least two units between a text and its cell's lines, and a raised
    // cell's text beside its edge lines.
    const int venstre = std::max(m_, hevet ? 3 : 2), hoyre = std::max(m_, hevet ? 7 : 2);
    const int x = HoyreJustert(f.tekst) ? x1 - bredde - hoyre : x0 + venstre;
    p_.save();
    p_.setClipRect(QRect(x0 + m_, top + m_, x1 - x0 - 2 * m_, bottom - top - 2 * m_));
    Tekst(x, top + o_.R, vist);
    p_.restore();
    Penn(Qt::black, pennbredde_);
  }

  QPainter& p_;
  const TSideoppsett& o_;
  const TUtskrift& u_;
  const TTabell& t_;
  int m_ = 0;
  int y_ = 0;
  int rightmost_ = 0;
  int pennbredde_ = 1;
};

void Ferdig(const TUtskrift& u) {
  if (u.hendelser.status) u.hendelser.status("Ferdig skrevet");
}

// The width a page holds, in screen pixels.
int Sidebredde(double sidebredde, const TSideoppsett& o) {
  return static_cast<int>(std::floor(sidebredde / o.sx + 1e-6));
}

}  // namespace

TSideoppsett Sideoppsett(double sidebredde, double sidehoyde, int skrifthoyde, int radhoyde, int totalbredde,
                         int bunnrader, bool avrundBunn) {
  TSideoppsett o;
  if (sidebredde >= sidehoyde) {
    o.sy = sidebredde / 870;
    o.sx = sidehoyde / 600;
  } else {
    o.sx = sidebredde / 600;
    o.sy = sidehoyde / 870;
  }
  o.R = AvrundBort(o.sx);
  o.fh = AvrundBort(std::abs(skrifthoyde * o.sy));
  o.rh = AvrundBort(radhoyde * o.sy);
  o.T = totalbredde;
  o.L = o.T * o.sx >= sidebredde ? 1 : Avrund(sidebredde - o.T * o.sx) / 2;
  const double b = sidehoyde - bunnrader * o.rh;
  o.B = avrundBunn ? Avrund(b) : static_cast<int>(b);
  return o;
}

TSideoppsett Sideoppsett(const TTabell& t, double sidebredde, double sidehoyde, bool pdf) {
  return Sideoppsett(sidebredde, sidehoyde, Skrifthoyde(t.Skriftstorrelse), t.Hoved().StandardHoyde(), t.TotalBredde(),
                     t.AntBunnRader, pdf);
}

int Delingsbredde(const TTabell& t, double sidebredde, const TSideoppsett& o) {
  const int plass = Sidebredde(sidebredde, o);
  return t.TotalBredde() > plass ? plass : 0;
}

int DelerIBredden(const TTabell& t) {
  const TSideoppsett o = Sideoppsett(t, PdfHoyde, PdfBredde, true);
  return static_cast<int>(Kolonnebaand(t.Hoved(), Delingsbredde(t, PdfHoyde, o)).size());
}

std::optional<std::string> ForBredForArket(int totalbredde, bool liggende) {
  if (!liggende && totalbredde > 600)
    return "Utskriftet er for bred til å passe på arket, krymp først, eller still skriverens egenskaper til "
           "liggende utskrift.";
  return std::nullopt;
}

bool PdfLiggende(int totalbredde) { return totalbredde > 600; }

bool TilbyUtvalg(const TRutenett& g) { return g.Valg().bunn > g.Valg().topp; }

TRadomraade Utskriftsrader(const TRutenett& g, bool utvalg) {
  if (utvalg) return {std::max(g.Valg().topp, g.FasteRader()), std::min(g.Valg().bunn, g.Rader() - 1)};
  return {g.FasteRader(), g.Rader() - 1};
}

std::string Sidehodetekst(int side, double dato, std::string_view hovedtekst) {
  const Kalenderdato d = DecodeDate(dato).value_or(Kalenderdato{1899, 12, 30});
  return "side:" + std::to_string(side) + " den " + std::to_string(d.dag) + "/" + std::to_string(d.maaned) + "-" +
         std::to_string(d.aar) + " med " + std::string(hovedtekst);
}

std::vector<std::vector<int>> Kolonnebaand(const TRutenett& h, int plass) {
  const int n = h.Kolonner();
  std::vector<int> alle;
  int total = 0;
  for (int k = 0; k < n; ++k) {
    alle.push_back(k);
    total += h.Kolbredde(k);
  }
  if (plass <= 0 || total <= plass || n <= 1) return {alle};
  const int gjenta = std::clamp(h.FasteKol(), 1, n - 1);
  int fast = 0;
  for (int k = 0; k < gjenta; ++k) fast += h.Kolbredde(k);
  std::vector<std::vector<int>> baand;
  std::vector<int> b(alle.begin(), alle.begin() + gjenta);
  int bredde = fast;
  for (int k = gjenta; k < n; ++k) {
    if (static_cast<int>(b.size()) > gjenta && bredde + h.Kolbredde(k) > plass) {
      baand.push_back(b);
      b.assign(alle.begin(), alle.begin() + gjenta);
      bredde = fast;
    }
    b.push_back(k);
    bredde += h.Kolbredde(k);
  }
  baand.push_back(b);
  return baand;
}

std::string Delertekst(int del, int deler) {
  return Utf8TilCp1252("   (del " + std::to_string(del + 1) + " av " + std::to_string(deler) + " i bredden)");
}

TTabelldokument::TTabelldokument(const TUtskrift& u, const TSideoppsett& o, TRadomraade rader, int plass)
    : u_(u), o_(o), rader_(rader) {
  // The pages as the drawing fills them: a row goes on while the next would
  // still end above B, then the footer and a new page with its head. A table
  // wider than `plass` goes across several pages, each holding the rows of
  // its page down; pages run across first, then down.
  const TTabell& t = *u.tabell;
  const TRutenett& h = t.Hoved();
  const TRutenett& b = t.Bunn();
  const int overskrift = AvrundBort(std::abs(Skrifthoyde(t.TittelStorrelse) * o.sy));
  const int topp = Avrund(o.sy * 10) + overskrift + h.FasteRader() * o.rh;
  const std::vector<std::vector<int>> baand = Kolonnebaand(h, plass);
  const int deler = static_cast<int>(baand.size());
  struct TBaand {
    int L = 0;
    int radslutt = 0;  // the right edge of every body row
  };
  std::vector<TBaand> mal;
  for (const std::vector<int>& kol : baand) {
    TBaand m;
    if (deler == 1) {
      m.L = o.L;
    } else {
      int bredde = 0;
      for (const int k : kol) bredde += h.Kolbredde(k);
      m.L = bredde * o.sx >= plass * o.sx ? 1 : 1 + Avrund((plass - bredde) * o.sx) / 2;
    }
    for (int x = m.L; const int k : kol) {
      x += Avrund(h.Kolbredde(k) * o.sx);
      m.radslutt = std::max(m.radslutt, x);
    }
    mal.push_back(m);
  }
  // The pen width a page leaves: its header cells' raised edges, its rows'
  // last cell, its footer's raised edges.
  const auto penn = [&](int inn, const TTabellside& s) {
    const bool kolonner = !s.kolonner.empty();
    if (h.FasteRader() > 0 && kolonner) inn = 2;
    if (s.siste >= s.forste && kolonner) inn = s.kolonner.back() < h.FasteKol() ? 2 : 1;
    if (t.BunnVist && b.Rader() > 0 && b.Kolonner() > 0) inn = 2;
    return inn;
  };
  std::vector<std::pair<int, int>> radsider;
  int forste = rader.forste;
  int y = topp;
  for (int r = rader.forste; r <= rader.siste; ++r) {
    const int bottom = y + o.rh;
    y = bottom;
    if (bottom + o.rh >= o.B && r != rader.siste) {
      radsider.emplace_back(forste, r);
      forste = r + 1;
      y = topp;
    }
  }
  radsider.emplace_back(forste, rader.siste);
  int pennbredde = 1;
  for (std::size_t i = 0; i < radsider.size(); ++i)
    for (int d = 0; d < deler; ++d) {
      TTabellside side;
      side.forste = radsider[i].first;
      side.siste = radsider[i].second;
      side.pennbredde = pennbredde;
      side.rightmost = sider_.empty() ? 0 : mal[static_cast<std::size_t>(d)].radslutt;
      side.kolonner = baand[static_cast<std::size_t>(d)];
      side.L = mal[static_cast<std::size_t>(d)].L;
      side.del = d;
      side.deler = deler;
      sider_.push_back(side);
      pennbredde = penn(pennbredde, side);
    }
}

TTabelldokument::~TTabelldokument() = default;

int TTabelldokument::Sider() const { return static_cast<int>(sider_.size()); }

void TTabelldokument::TegnSide(QPainter& p, int, int, int side) const {
  if (side < 1 || side > Sider()) return;
  TTegner tegner(p, o_, u_);
  tegner.Tegn(sider_[static_cast<std::size_t>(side - 1)], side, side == Sider(), rader_);
}

std::optional<std::string> SkrivTabell(QPagedPaintDevice& skriver, bool utvalg, const TUtskrift& u) {
  const TTabell& t = *u.tabell;
  const double bredde = skriver.width(), hoyde = skriver.height();
  if (auto feil = ForBredForArket(t.TotalBredde(), bredde >= hoyde)) return feil;
  const TSideoppsett o = Sideoppsett(t, bredde, hoyde, false);
  const TTabelldokument dokument(u, o, Utskriftsrader(t.Hoved(), utvalg), Delingsbredde(t, bredde, o));
  QPainter p;
  if (!p.begin(&skriver)) throw IoFeil("Kunne ikke starte utskriften.");
  SkrivSider(p, skriver, dokument, 1, dokument.Sider(), QRect(0, 0, skriver.width(), skriver.height()));
  p.end();
  Ferdig(u);
  return std::nullopt;
}

std::string SkrivTabellPdf(const std::string& filnavn, const TUtskrift& u) {
  const TTabell& t = *u.tabell;
  const std::string fil = CleanFileName(filnavn);
  const bool liggende = PdfLiggende(t.TotalBredde());
  const double bredde = liggende ? PdfHoyde : PdfBredde;
  const double hoyde = liggende ? PdfBredde : PdfHoyde;
  TPdfOppsett oppsett;
  oppsett.side = QPageLayout(QPageSize(QPageSize::A4), liggende ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
  oppsett.opplosning = PdfOpplosning;
  oppsett.tittel = TilQString(t.Tittel);
  oppsett.skaper = "Kvistmo Data";
  const TSideoppsett o = Sideoppsett(t, bredde, hoyde, true);
  const TTabelldokument dokument(u, o, Utskriftsrader(t.Hoved(), false), Delingsbredde(t, bredde, o));
  SkrivPdfFil(std::filesystem::path(fil), oppsett, [&](QPdfWriter& pdf, QPainter& p) {
    SkrivSider(p, pdf, dokument, 1, dokument.Sider(), QRect(0, 0, qRound(bredde), qRound(hoyde)));
  });
  Ferdig(u);
  return fil;
}
