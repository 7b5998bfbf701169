// The framed catalogue pages: building them from the listing's lines,
// drawing them, their PDF, printing the listing as text, and the paged print
// window under the offscreen platform.
#include "sider.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cp1252.h"
#include "filer.h"
#include "gjenopprett.h"
#include "skriverjobb.h"
#include "tekst.h"
#include "testmappe.h"
#include "tpapvin.h"

namespace {

// A ram of the listing, 13 lines in its column layout (Windows-1252).
struct Ver {
  int nummer = 12345;
  std::string navn = "Storebror";
  std::string rase = "Norsk kvit sau";
  std::string fodsel = "tvilling";
  int ring = 12;
  bool granska = true;
  std::string semin = " Semin";
  std::string fylke = "Hedmark";
  std::string indeks = " 110  99 gul 899 105  98 101 100";  // eight indexes, 4 columns each
};

std::string IndeksLinje(const std::string& prefiks, int nr, const std::string& navn, const std::string& dato,
                        const std::string& indekser) {
  return prefiks + PadLeft(IntToText(nr), 9) + " " + PadRight(navn, 21) + dato + indekser + "   12   30    7";
}

std::vector<std::string> Linjer(const Ver& v) {
  const std::string ring = (v.granska ? "Granska i ring " : "K\xE5ra i ring ") + IntToText(v.ring);
  return {
      PadLeft(IntToText(v.nummer), 9) + " " + PadRight(v.navn, 21) + PadRight(v.rase, 15) +
          PadRight(" Burd f\xF8\x64t:" + v.fodsel, 20) + PadRight(ring, 18) + v.semin,
      "F\xF8\x64t hos: Haugen, Elverum, " + v.fylke,
      "Dyr    Nr      Navn                 Dato      O   -  MoV Slv  Kj   F MoS Frb   hv  slv  dtr",
      IndeksLinje("Selv:", v.nummer, v.navn, "12/03/21", v.indeks),
      IndeksLinje("Far :", 4711, "Faren", "01/02/19", " 120 100 101 102 103 104 105 106"),
      "Mor :   012345                               097",
      IndeksLinje("Farf:", 815, "Farfaren", "01/02/15", "  90  91  92  93  94  95  96  97"),
      IndeksLinje("Morf:", 0, "", "uten ind", "   0   0   0   0   0   0   0   0"),
      "K\xE5ring:      H\xF8stvekt   O-\xE6tt   Vektavvik Kropp Bein  Ullkval. Ullmengde  Sum",
      "             55,5        8,0       9,5      07   08   09       06        47,5",
      "Ullanalyse:  Maks-my Middel-my  Stapel   Marg  Dyreh\xE5r  Ullv:   MidLamdato",
      "                 30       28     12,5     01     02     3,4  15/09/2021",
      "----",
  };
}

std::vector<std::string> Liste(int antall, const std::vector<std::string>& fylker = {"Hedmark"}) {
  std::vector<std::string> l;
  for (int i = 0; i < antall; ++i) {
    Ver v;
    v.nummer = 1000 + i;
    v.navn = "Ver nummer " + IntToText(i + 1);
    v.fylke = fylker[static_cast<std::size_t>(i) % fylker.size()];
    for (auto& s : Linjer(v)) l.push_back(std::move(s));
  }
  return l;
}

std::string Kjor(const std::string& kommando, int* kode = nullptr) {
  std::string ut;
  FILE* f = ::popen((kommando + " 2>&1").c_str(), "r");
  if (!f) return ut;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) ut.append(buf, n);
  const int status = ::pclose(f);
  if (kode) *kode = WEXITSTATUS(status);
  return ut;
}

// The value of one field of pdfinfo's answer.
std::string Infofelt(const std::string& info, const std::string& navn) {
  const auto i = info.find(navn + ":");
  if (i == std::string::npos) return {};
  const auto fra = info.find_first_not_of(' ', i + navn.size() + 1);
  return info.substr(fra, info.find('\n', fra) - fra);
}

QImage Tegnet(const TSider& sider, int side, int b = 600, int h = 870) {
  QImage bilde(b, h, QImage::Format_RGB32);
  bilde.fill(Qt::red);  // the page must paint itself white
  QPainter p(&bilde);
  TegnSide(p, b, h, sider, side);
  return bilde;
}

bool Mork(const QImage& b, int x, int y) { return qGray(b.pixel(x, y)) < 128; }

// Dark pixels in a rectangle (right and bottom excluded).
int MorkeI(const QImage& b, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) n += Mork(b, x, y);
  return n;
}

}  // namespace

// ---- Building the pages ----

TEST(LagSiderTest, SeksVaererPerSide) {
  const struct {
    int vaerer;
    std::vector<std::size_t> felter;  // boxes per page
  } tilfeller[] = {
      {0, {0}}, {1, {1}}, {6, {6}}, {7, {6, 1}}, {12, {6, 6}}, {13, {6, 6, 1}},
  };
  for (const auto& t : tilfeller) {
    const auto sider = LagSider(Liste(t.vaerer));
    ASSERT_EQ(sider->size(), t.felter.size()) << t.vaerer << " rams";
    for (std::size_t s = 0; s < sider->size(); ++s) {
      EXPECT_EQ((*sider)[s]->Felter.size(), t.felter[s]) << t.vaerer << " rams, page " << s + 1;
      for (const auto& f : (*sider)[s]->Felter) EXPECT_EQ(f->Punkter.size(), static_cast<std::size_t>(PunkterPerFelt));
    }
  }
}

TEST(LagSiderTest, TeksteneKuttesUtAvKolonnene) {
  Ver v;
  v.nummer = 123456789;
  v.navn = "Tjuetegns Navn Her X";  // 20 characters
  const auto sider = LagSider(Linjer(v));
  const Tfelt& f = *(*sider)[0]->Felter[0];
  struct Forventet {
    std::size_t nr;
    bool hoyre;
    double x, y;
    std::string tekst;
  };
  const Forventet forventet[] = {
      {0, false, 0.3, 0.6, "123456789 Tjuetegns Navn Her X"},
      {1, true, 171, 0.6, "Norsk kvit sau"},
      {2, false, 94, 0.6, "Burd f\xF8\x64t:tvilling"},
      {3, true, 171, 6.5, "Granska i ring 12"},
      {4, false, 58.3, 0.6, "Semin"},
      {5, false, 0.3, 6.5, "F\xF8\x64t hos: Haugen, Elverum, Hedmark"},
      // Row "Selv": number and name, index date, the three counts, the eight indexes.
      {6, false, 9, 14.9, "123456789 Tjuetegns Navn Her X"},
      {7, false, 158, 14.9, "12/03/21"},
      {8, true, 136, 14.9, "12"},
      {10, true, 155, 14.9, "7"},
      {11, true, 58, 14.9, "110"},
      {13, true, 77, 14.9, "gul"},
      {14, true, 86.5, 14.9, "899"},
      {18, true, 124.5, 14.9, "100"},
      // Row "Mor": the dam's number, and her index under "O".
      {6 + 2 * 13, false, 9, 22.3, "012345"},
      {7 + 2 * 13, false, 158, 22.3, ""},
      {11 + 2 * 13, true, 58, 22.3, "097"},
      {12 + 2 * 13, true, 67.5, 22.3, ""},
      // Row "Morf": an unknown ram.
      {6 + 4 * 13, false, 9, 29.7, "0"},
      {7 + 4 * 13, false, 158, 29.7, "uten ind"},
      // Judging values, then wool values with the shearing date.
      {71, false, 26.5, 35.1, "55,5"},
      {72, false, 45.5, 35.1, "8,0"},
      {75, false, 102.5, 35.1, "08"},
      {78, false, 159.5, 35.1, "47,5"},
      {79, false, 27.5, 38.9, "30"},
      {81, false, 65.5, 38.9, "12,5"},
      {84, false, 122.5, 38.9, "3,4"},
      {85, false, 144.5, 38.9, "15/09/2021"},  // right of the wool weight, clear of it
  };
  for (const auto& e : forventet) {
    const Tpunkt& p = *f.Punkter[e.nr];
    EXPECT_EQ(p.Tekst, e.tekst) << "text " << e.nr;
    EXPECT_EQ(p.Hoyre(), e.hoyre) << "text " << e.nr;
    EXPECT_NEAR(p.X, e.x, 1e-9) << "text " << e.nr;
    EXPECT_NEAR(p.Y, e.y, 1e-9) << "text " << e.nr;
  }
  EXPECT_EQ(f.Tittel, " Hedmark") << "what follows the last comma, with its blank";
}

TEST(LagSiderTest, KaaretUtenSeminOgKorteLinjer) {
  Ver v;
  v.granska = false;
  v.semin = " ";
  auto linjer = Linjer(v);
  linjer.push_back(linjer[0]);  // an edited listing: a second ram of two lines
  linjer.push_back("kort");
  const auto sider = LagSider(linjer);
  const auto& felter = (*sider)[0]->Felter;
  ASSERT_EQ(felter.size(), 2u);
  EXPECT_EQ(felter[0]->Punkter[3]->Tekst, "K\xE5ra i ring 12");
  EXPECT_EQ(felter[0]->Punkter[4]->Tekst, "") << "no insemination status";
  const Tfelt& halv = *felter[1];
  ASSERT_EQ(halv.Punkter.size(), static_cast<std::size_t>(PunkterPerFelt));
  EXPECT_EQ(halv.Punkter[0]->Tekst, "12345 Storebror");
  EXPECT_EQ(halv.Punkter[5]->Tekst, "kort");
  EXPECT_EQ(halv.Tittel, "") << "a birth line of 8 characters or less has no title";
  for (std::size_t k = 6; k < halv.Punkter.size(); ++k) EXPECT_EQ(halv.Punkter[k]->Tekst, "") << "text " << k;
  // Drawing the incomplete box must not fail either.
  const QImage b = Tegnet(*sider, 1);
  EXPECT_GT(MorkeI(b, 0, 0, 600, 870), 0);
}

TEST(LagSiderTest, TittelErTekstenEtterSisteKomma) {
  const struct {
    std::string linje, tittel;
  } tilfeller[] = {
      {"F\xF8\x64t hos: A, B, Sogn og Fjordane", " Sogn og Fjordane"},
      {"F\xF8\x64t hos: A, B, " + std::string(40, 'x'), " " + std::string(29, 'x')},  // at most 30 characters
      {"Kort,ab", ""},                                                                // 8 characters or less
      {"Heilt utan komma her", ""},
      {"Slutt med komma,,", ""},  // the last two characters are not searched
      {"Ei linje,x,", "x,"},
  };
  for (const auto& t : tilfeller) {
    std::vector<std::string> l(13);
    l[1] = t.linje;
    EXPECT_EQ((*LagSider(l))[0]->Felter[0]->Tittel, t.tittel) << t.linje;
  }
}

// ---- Drawing ----

TEST(TegnSideTest, MillimeterSkaleres) {
  const TSkala skjerm(600, 870);
  EXPECT_EQ(skjerm.MmX(1), 3);
  EXPECT_EQ(skjerm.MmY(1), 3);  // 3.1 rounded
  EXPECT_EQ(skjerm.MmX(15), 45);
  EXPECT_EQ(skjerm.MmY(7), 22);  // 21.7
  EXPECT_EQ(skjerm.MmX(188), 564);
  EXPECT_EQ(skjerm.MmY(50), 155);
  const TSkala pdf(KatalogPdfBredde, KatalogPdfHoyde);
  EXPECT_EQ(pdf.MmX(200), 794);
  EXPECT_EQ(pdf.MmY(280), 1120);  // 280 * 3.1 * 1123 / 870 = 1120.4
}

TEST(TegnSideTest, ForsteRammeGaarFra45_22Til564_155) {
  const auto sider = LagSider(Liste(6));
  const QImage b = Tegnet(*sider, 1);
  // The frame's four sides, away from any text.
  for (int y : {60, 100, 150}) {
    EXPECT_TRUE(Mork(b, 45, y)) << "left side at y " << y;
    EXPECT_TRUE(Mork(b, 564, y)) << "right side at y " << y;
    EXPECT_FALSE(Mork(b, 41, y)) << "outside, left, y " << y;
    EXPECT_FALSE(Mork(b, 568, y)) << "outside, right, y " << y;
  }
  for (int x : {100, 300, 500}) {
    EXPECT_TRUE(Mork(b, x, 22)) << "top at x " << x;
    EXPECT_TRUE(Mork(b, x, 155)) << "bottom at x " << x;
  }
  EXPECT_FALSE(Mork(b, 100, 18));
  // The second box's frame starts at 51 mm.
  EXPECT_TRUE(Mork(b, 300, TSkala(600, 870).MmY(51)));
  // White page, nothing left of the unpainted colour.
  EXPECT_EQ(b.pixel(2, 860), qRgb(255, 255, 255));
}

TEST(TegnSideTest, RingtekstSlutterVed171mm) {
  const auto sider = LagSider(Liste(1));
  const QImage b = Tegnet(*sider, 1);
  // The band of the box's second text line holds the birth line (left) and
  // the ring text (right-aligned at 15 + 171 mm).
  const TSkala mm(600, 870);
  int hoyreste = -1;
  for (int y = mm.MmY(7 + 6.5); y < mm.MmY(7 + 10.4) - 1; ++y)
    for (int x = 300; x < mm.MmX(188) - 2; ++x)
      if (Mork(b, x, y)) hoyreste = std::max(hoyreste, x);
  EXPECT_NEAR(hoyreste, mm.MmX(15 + 171), 2);
}

// Pages of two documents drawn at the same time, on two threads, on
// surfaces of different sizes and under different running heads, are the
// pages each draws alone: drawing a page reads and changes nothing but its
// own arguments.
TEST(TegnSideTest, ToDokumenterTegnetOmHverandreGirSammeSider) {
  const auto a = LagSider(Liste(7, {"Hedmark", "Oppland"}));
  const auto b = LagSider(Liste(12, {"Telemark", "Nordland", "Finnmark"}));
  struct Dokument {
    const TSider* sider;
    QSize flate;
    std::vector<QImage> alene;
  };
  Dokument dokumenter[] = {{a.get(), QSize(600, 870), {}}, {b.get(), QSize(KatalogPdfBredde, KatalogPdfHoyde), {}}};
  for (Dokument& d : dokumenter)
    for (int side = 1; side <= static_cast<int>(d.sider->size()); ++side)
      d.alene.push_back(Tegnet(*d.sider, side, d.flate.width(), d.flate.height()));
  std::atomic<int> ulike[2] = {0, 0};
  {
    std::vector<std::thread> traader;
    for (int k = 0; k < 2; ++k)
      traader.emplace_back([&, k] {
        const Dokument& d = dokumenter[k];
        for (int runde = 0; runde < 10; ++runde)
          for (int side = 1; side <= static_cast<int>(d.sider->size()); ++side)
            if (Tegnet(*d.sider, side, d.flate.width(), d.flate.height()) !=
                d.alene[static_cast<std::size_t>(side - 1)])
              ++ulike[k];
      });
    for (auto& t : traader) t.join();
  }
  EXPECT_EQ(ulike[0], 0) << "pages of the first document that differ";
  EXPECT_EQ(ulike[1], 0) << "pages of the second document that differ";
}

// ---- No text over another ----

namespace {

// A paint device that records what is painted on it, in its pixels: every
// text with its font and baseline point, and every line and rectangle with
// its pen width.
class Opptak : public QPaintDevice {
 public:
  struct Tekst {
    QString tekst;
    QFont font;
    QPointF grunnlinje;
  };
  struct Strek {
    QLineF linje;
    double bredde;
  };

  Opptak(int bredde, int hoyde) : bredde_(bredde), hoyde_(hoyde), motor_(this) {}
  QPaintEngine* paintEngine() const override { return &motor_; }

  std::vector<Tekst> tekster;
  std::vector<Strek> streker;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return bredde_;
      case PdmHeight: return hoyde_;
      case PdmWidthMM: return bredde_ * 254 / 960;
      case PdmHeightMM: return hoyde_ * 254 / 960;
      case PdmNumColors: return 0xFFFFFF;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  class Motor : public QPaintEngine {
   public:
    explicit Motor(Opptak* enhet) : QPaintEngine(AllFeatures), enhet_(enhet) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return User; }
    void drawTextItem(const QPointF& p, const QTextItem& t) override {
      enhet_->tekster.push_back({t.text(), t.font(), state->transform().map(p)});
    }
    void drawLines(const QLineF* linjer, int antall) override {
      if (state->pen().style() == Qt::NoPen) return;
      for (int i = 0; i < antall; ++i) enhet_->streker.push_back({state->transform().map(linjer[i]), Penn()});
    }
    void drawRects(const QRectF* ruter, int antall) override {
      if (state->pen().style() == Qt::NoPen) return;  // a filled surface, not a line
      for (int i = 0; i < antall; ++i) {
        const QPolygonF r = state->transform().map(QPolygonF(ruter[i]));
        for (int k = 0; k < 4; ++k) enhet_->streker.push_back({QLineF(r[k], r[(k + 1) % 4]), Penn()});
      }
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

   private:
    double Penn() const { return std::max(1.0, state->pen().widthF()); }
    Opptak* enhet_;
  };

  int bredde_, hoyde_;
  mutable Motor motor_;
};

// The room a text takes among texts: its advance across, and from the top of
// its capital letters to the bottom of its descenders down.
QRectF Rute(const Opptak::Tekst& t, const QPaintDevice& enhet) {
  const QFontMetricsF fm(t.font, &enhet);
  return QRectF(QPointF(t.grunnlinje.x(), t.grunnlinje.y() - fm.capHeight()),
                QPointF(t.grunnlinje.x() + fm.horizontalAdvance(t.tekst), t.grunnlinje.y() + fm.descent()));
}

// Its letters' ink down to the baseline (a descender may touch a rule under
// its line).
QRectF Blekk(const Opptak::Tekst& t, const QPaintDevice& enhet) {
  const QRectF r = QFontMetricsF(t.font, &enhet).tightBoundingRect(t.tekst).translated(t.grunnlinje);
  return QRectF(r.topLeft(), QPointF(r.right(), std::min(r.bottom(), t.grunnlinje.y())));
}

// A line as the room its pen takes, less half a pixel all round: a line and a
// text may meet on the pixel where both are rounded to.
QRectF Rute(const Opptak::Strek& s) {
  const double h = s.bredde / 2 - 0.5;
  return QRectF(QPointF(std::min(s.linje.x1(), s.linje.x2()) - h, std::min(s.linje.y1(), s.linje.y2()) - h),
                QPointF(std::max(s.linje.x1(), s.linje.x2()) + h, std::max(s.linje.y1(), s.linje.y2()) + h));
}

std::string Vis(const QRectF& r) {
  return "(" + std::to_string(r.left()) + ", " + std::to_string(r.top()) + ")-(" + std::to_string(r.right()) + ", " +
         std::to_string(r.bottom()) + ")";
}

bool Overlapper(const QRectF& a, const QRectF& b) {
  return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// A ram whose every text is as long as the listing's columns allow, in wide
// letters: the longest name, a long insemination label, birth text, breed,
// ring text, birth line and county, five-figure indexes and counts, and
// long judging and wool values.
std::vector<std::string> Lang(int nr) {
  Ver v;
  v.nummer = 123456789 - nr;
  v.navn = std::string(21, 'W');
  v.rase = std::string(15, 'M');
  v.fodsel = std::string(10, 'W');
  v.ring = 12345;
  v.semin = " " + std::string(31, 'W');
  v.fylke = std::string(40, 'W');
  v.indeks = " 8888 8888 8888 8888 8888 8888 8888 8888";
  auto l = Linjer(v);
  l[1] = "F\xF8\x64t hos: " + std::string(70, 'W') + ", " + v.fylke;
  for (int r = 3; r <= 7; ++r) {
    l[static_cast<std::size_t>(r)].resize(44, ' ');
    l[static_cast<std::size_t>(r)] += "8888888888888888888888888888888888888888888888";
  }
  l[9] = "             8888,8 8888,8 8888,8 8888 8888 8888 8888 8888,8";
  l[11] = "             88888888" + std::string(40, '8') + "  " + std::string(30, 'W');
  return l;
}

}  // namespace

TEST(TegnSideTest, TopptekstErFylketTilSisteRamme) {
  const auto sider =
      LagSider(Liste(8, {"Hedmark", "Oppland", "Hedmark", "Hedmark", "Hedmark", "Telemark", "Rogaland", "Nordland"}));
  ASSERT_EQ(sider->size(), 2u);
  EXPECT_EQ(Sidetittel(*sider, 1), " Telemark");
  EXPECT_EQ(Sidetittel(*sider, 2), " Nordland");
  EXPECT_EQ(Sidetittel(*sider, 3), "") << "a page past the list";
  EXPECT_EQ(Sidetittel(*LagSider({}), 1), "") << "a page without boxes";
  // The head drawn at the top, beside the page number.
  const int band = TSkala(600, 870).MmY(5.3) + 2;
  for (int side : {1, 2}) {
    Opptak opptak(600, 870);
    {
      QPainter p(&opptak);
      TegnSide(p, 600, 870, *sider, side);
    }
    QStringList oppe;
    for (const auto& t : opptak.tekster)
      if (t.grunnlinje.y() < band) oppe << t.tekst.trimmed();
    oppe.sort();
    EXPECT_EQ(oppe, QStringList({QString::number(side), TilQString(Sidetittel(*sider, side)).trimmed()})) << side;
  }
  const QImage odde = Tegnet(*sider, 1);
  const QImage jamne = Tegnet(*sider, 2);
  // Odd pages carry it at the right edge, even ones at the left; the page
  // number stands at 105 mm on both.
  EXPECT_GT(MorkeI(odde, 420, 0, 575, band), 0);
  EXPECT_EQ(MorkeI(odde, 0, 0, 250, band), 0);
  EXPECT_GT(MorkeI(jamne, 15, 0, 200, band), 0);
  EXPECT_EQ(MorkeI(jamne, 400, 0, 600, band), 0);
  EXPECT_GT(MorkeI(odde, 310, 0, 340, band), 0) << "page number";
}

TEST(TegnSideTest, IngenTekstOverEnAnnenEllerOverEnStrek) {
  // Two pages of usual rams and rams with the longest texts.
  std::vector<std::string> linjer = Liste(3, {"Hedmark", "Sogn og Fjordane"});
  for (int i = 0; i < 6; ++i)
    for (auto& l : Lang(i)) linjer.push_back(l);
  for (auto& l : Liste(3, {"Møre og Romsdal"})) linjer.push_back(l);
  const auto sider = LagSider(linjer);
  ASSERT_EQ(sider->size(), 2u);
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    for (int side : {1, 2})
      Tegnet(*sider, side, 2 * KatalogPdfBredde, 2 * KatalogPdfHoyde)
          .save(QString(mappe) + QString("/rammer-lange-tekster-%1.png").arg(side));
  // A printer's page at 600 dots per inch, the PDF page, and the sheet of
  // the paged window from its largest scale down to a step below the one it
  // opens with. (Smaller sheets are previews of a few pixels a millimetre,
  // where rows 3.7 mm apart cannot keep their rounded pixels apart.)
  std::vector<QSize> flater = {{4760, 6737}, {KatalogPdfBredde, KatalogPdfHoyde}};
  for (double skala : {0.4, 0.7, 1.0, 1.3, 1.6}) flater.push_back(QSize(qRound(728 / skala), qRound(1061 / skala)));
  for (const QSize& flate : flater) {
    SCOPED_TRACE(std::to_string(flate.width()) + "x" + std::to_string(flate.height()));
    for (int side : {1, 2}) {  // the running head on the right and on the left
      Opptak opptak(flate.width(), flate.height());
      {
        QPainter p(&opptak);
        TegnSide(p, flate.width(), flate.height(), *sider, side);
      }
      const auto& tekster = opptak.tekster;
      ASSERT_GT(tekster.size(), 6u * 100);
      std::vector<QRectF> ruter, blekk, streker;
      for (const auto& t : tekster) {
        ruter.push_back(Rute(t, opptak));
        blekk.push_back(Blekk(t, opptak));
      }
      for (const auto& s : opptak.streker) streker.push_back(Rute(s));
      const auto navn = [&](std::size_t i) { return "\"" + tekster[i].tekst.toStdString() + "\" " + Vis(ruter[i]); };
      for (std::size_t a = 0; a < tekster.size(); ++a) {
        // On the page, apart from every other text.
        EXPECT_GE(ruter[a].left(), 0) << navn(a);
        EXPECT_LE(ruter[a].right(), flate.width()) << navn(a);
        for (std::size_t b = a + 1; b < tekster.size(); ++b)
          EXPECT_FALSE(Overlapper(ruter[a], ruter[b])) << navn(a) << " and " << navn(b);
        // The letters stay off the frames and rules.
        for (std::size_t s = 0; s < streker.size(); ++s)
          EXPECT_FALSE(Overlapper(blekk[a], streker[s])) << navn(a) << " on the line " << Vis(streker[s]);
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(TegnSideTest, VanligeTeksterSkrivesHele) {
  // Usual rams: every text whole, none cut, and at most a little narrower
  // where a rounded pixel takes its room.
  const auto sider = LagSider(Liste(6, {"Hedmark", "Sogn og Fjordane"}));
  for (const QSize flate : {QSize(KatalogPdfBredde, KatalogPdfHoyde), QSize(560, 816), QSize(4760, 6737)}) {
    SCOPED_TRACE(std::to_string(flate.width()));
    Opptak opptak(flate.width(), flate.height());
    {
      QPainter p(&opptak);
      TegnSide(p, flate.width(), flate.height(), *sider, 1);
    }
    std::multiset<QString> skrevet;
    for (const auto& t : opptak.tekster) {
      skrevet.insert(t.tekst);
      const int strekk = t.font.stretch() == QFont::AnyStretch ? 100 : t.font.stretch();
      EXPECT_GE(strekk, 90) << t.tekst.toStdString();
    }
    for (const auto& felt : (*sider)[0]->Felter) {
      for (const auto& punkt : felt->Punkter) {
        if (!punkt->Tekst.empty()) {
          EXPECT_GT(skrevet.count(TilQString(punkt->Tekst)), 0u) << punkt->Tekst;
        }
      }
    }
  }
}

// ---- PDF ----

TEST(PdfTest, RammesiderSomPdf) {
  TestMappe m;
  const QString fil = QString::fromStdString((m / "katalog.pdf").string());
  const auto sider = LagSider(Liste(7, {"Hedmark", "Oppland"}));
  ASSERT_NO_THROW(SkrivRammerPdf(*sider, fil.toStdString()));
  const std::string info = Kjor("pdfinfo '" + fil.toStdString() + "'");
  EXPECT_EQ(Infofelt(info, "Pages"), "2") << info;
  EXPECT_EQ(Infofelt(info, "Title"), "Utskriftsvindu");
  EXPECT_EQ(Infofelt(info, "Creator"), "Tuv-Sau");
  EXPECT_NE(Infofelt(info, "Page size").find("(A4)"), std::string::npos) << info;
  int kode = -1;
  const std::string sjekk = Kjor("qpdf --check '" + fil.toStdString() + "'", &kode);
  EXPECT_EQ(kode, 0) << sjekk;

  const std::string side1 = Kjor("pdftotext -f 1 -l 1 '" + fil.toStdString() + "' -");
  const std::string side2 = Kjor("pdftotext -f 2 -l 2 '" + fil.toStdString() + "' -");
  for (const char* t : {"Ver nummer 1", "Ver nummer 6", "Indekser", "Ullanalyse", "K\xC3\xA5ring", "Granska i ring 12",
                        "H\xC3\xB8stv.=", "Klippedato=", "15/09/2021", "gul", "Oppland"})
    EXPECT_NE(side1.find(t), std::string::npos) << t << " on page 1:\n" << side1;
  EXPECT_EQ(side1.find("Ver nummer 7"), std::string::npos);
  EXPECT_NE(side2.find("Ver nummer 7"), std::string::npos) << side2;
  EXPECT_NE(side2.find("Hedmark"), std::string::npos) << "running head of page 2";
}

TEST(PdfTest, MislyktSkrivingLaterDenEldreFilaHel) {
  TestMappe m;
  const auto fil = m / "katalog.pdf";
  SkrivRammerPdf(*LagSider(Liste(1)), fil);
  const std::string gammel = LesHeleFila(fil);
  ASSERT_GT(gammel.size(), 8192u);
  {
    // The disk takes no more than 8 KiB of a new file.
    Filgrense grense(8192);
    try {
      SkrivRammerPdf(*LagSider(Liste(13)), fil);
      ADD_FAILURE() << "no error";
    } catch (const IoFeil& f) {
      EXPECT_NE(std::string(f.what()).find("katalog.pdf"), std::string::npos) << f.what();
    }
  }
  EXPECT_TRUE(LesHeleFila(fil) == gammel) << "the older file stays byte for byte";
  EXPECT_FALSE(std::filesystem::exists(m / "katalog.pdf.ny")) << "nothing half-written beside it";
  // With room the new document replaces it whole.
  SkrivRammerPdf(*LagSider(Liste(13)), fil);
  EXPECT_EQ(Infofelt(Kjor("pdfinfo '" + fil.string() + "'"), "Pages"), "3");
}

// ---- Printing the listing as text ----

TEST(ListeTest, SideomraadeGirLinjer) {
  const struct {
    int antall;
    bool sidevalg;
    int fra, til;
    std::pair<int, int> linjer;
  } tilfeller[] = {
      {200, false, 1, 2, {1, 200}},   // all lines
      {200, true, 1, 1, {1, 78}},     //
      {200, true, 2, 2, {79, 156}},   //
      {200, true, 2, 9, {79, 200}},   // cut to the listing
      {200, true, 3, 1, {157, 200}},  // To before From: first + 78, cut
      {300, true, 3, 1, {157, 235}},  //
      {50, false, 1, 0, {1, 50}},     // fewer than 78 lines: range 1 to 0, all printed
  };
  for (const auto& t : tilfeller)
    EXPECT_EQ(ListeLinjer(t.antall, t.sidevalg, t.fra, t.til), t.linjer) << t.antall << " " << t.fra << "-" << t.til;
  EXPECT_EQ(ListeSider(77), 0);
  EXPECT_EQ(ListeSider(156), 2);
  EXPECT_EQ(LinjerPerArk(13 * 10 * 4 + 9, 10), 52) << "13 x h fits 4 times";
  EXPECT_EQ(LinjerPerArk(13 * 10 * 4 - 1, 10), 39);
  EXPECT_EQ(LinjerPerArk(50, 10), 13) << "at least one ram a sheet";
}

TEST(ListeTest, SkriverHeleVaererPerArk) {
  TestMappe m;
  const QString fil = QString::fromStdString((m / "liste.pdf").string());
  const auto linjer = Liste(10);
  QPdfWriter pdf(fil);
  pdf.setResolution(300);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  TListevalg valg;
  valg.idag = 44000;  // 18/06/2020
  QFont skrift("Liberation Mono");
  skrift.setPointSize(10);
  const int h = QFontMetrics(skrift, &pdf).height();
  const int perArk = LinjerPerArk(pdf.height(), h);
  ASSERT_LT(perArk, 130) << "10 rams must need more than one sheet";
  const int ark = SkrivListe(pdf, linjer, valg);
  EXPECT_EQ(ark, (130 + perArk - 1) / perArk);
  const std::string tekst = Kjor("pdftotext -layout '" + fil.toStdString() + "' -");
  EXPECT_NE(tekst.find("V\xC3\xA6rkatalog fra Kveldro den 18/06/2020 Side:1"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("Side:" + std::to_string(ark)), std::string::npos);
  // A sheet ends after a whole ram: the second sheet starts with a head line.
  const std::string side2 = Kjor("pdftotext -layout -f 2 -l 2 '" + fil.toStdString() + "' -");
  const auto forste = side2.find("Side:2");
  ASSERT_NE(forste, std::string::npos) << side2;
  std::string etter = side2.substr(side2.find('\n', forste) + 1);
  while (!etter.empty() && (etter[0] == '\n' || etter[0] == ' ')) etter.erase(0, 1);
  const std::string ventet = IntToText(1000 + perArk / 13);
  EXPECT_NE(etter.substr(0, etter.find('\n')).find(ventet), std::string::npos) << side2;

  // Pages 2 to 2: numbered from 2, lines 79 to 156.
  const QString fil2 = QString::fromStdString((m / "side2.pdf").string());
  QPdfWriter pdf2(fil2);
  valg.sidevalg = true;
  valg.fra = valg.til = 2;
  SkrivListe(pdf2, linjer, valg);
  const std::string tekst2 = Kjor("pdftotext -layout '" + fil2.toStdString() + "' -");
  EXPECT_NE(tekst2.find("Side:2"), std::string::npos);
  EXPECT_EQ(tekst2.find("Side:1"), std::string::npos);
  EXPECT_EQ(tekst2.find("Ver nummer 6 "), std::string::npos) << "line 66 is not printed";
  EXPECT_NE(tekst2.find("Ver nummer 7 "), std::string::npos) << "line 79 starts ram 7";
}

// ---- The paged print window ----

namespace {

// A window over the framed pages of `vaerer` rams, with every dialog answered
// by the test, and a record of the pages drawn.
struct Vindu {
  // The framed pages as the window's document: every page drawn is recorded
  // with the cursor and the window's status of the time, and its end is
  // counted.
  struct Dokument : TSidedokument {
    Dokument(Vindu& f, std::unique_ptr<TSider> sider) : f(f), rammer(std::move(sider)) {}
    ~Dokument() override { ++f.frigitt; }
    int Sider() const override { return rammer.Sider(); }
    void TegnSide(QPainter& p, int b, int h, int side) const override {
      const QCursor* peker = QApplication::overrideCursor();
      f.kall.push_back({b, h, side, peker ? peker->shape() : Qt::ArrowCursor, f.v->Status->text()});
      rammer.TegnSide(p, b, h, side);
    }
    Vindu& f;
    TRammedokument rammer;
  };

  explicit Vindu(int vaerer) : v(new TPapVin) {
    auto dokument = std::make_unique<Dokument>(*this, LagSider(Liste(vaerer, {"Hedmark", "Oppland"})));
    antall = dokument->Sider();
    v->SettDokument(std::move(dokument));
    v->Melding = [this](const QString& t) { meldinger << t; };
    v->Sporsmal = [this](const QString& t) {
      sporsmal << t;
      return svar;
    };
    v->VelgFil = [this](const QString& tittel, const std::vector<TFiltype>&) -> std::optional<TLagringsfil> {
      filtitler << tittel;
      if (fil.isEmpty()) return std::nullopt;
      return TLagringsfil{fil, filtype};
    };
    v->VelgSkriver = [this](QPrinter&, const TPapVin::TUtskriftsvalg& valg) {
      vist.push_back(valg);
      return utskrift;
    };
  }
  // The document draws into this object: it goes with the window at the latest.
  ~Vindu() {
    if (v) {
      v->Skrevet = true;
      v->close();
      delete v.data();
    }
  }
  void Vis() {
    v->Vis();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  }
  struct Kall {
    int bredde, hoyde, side;
    Qt::CursorShape peker;  // the busy cursor, or the arrow
    QString status;         // the window's status while the page is drawn
  };
  QPointer<TPapVin> v;
  int antall = 0;
  int frigitt = 0;  // documents released
  std::vector<Kall> kall;
  QStringList meldinger, sporsmal, filtitler;
  bool svar = true;
  QString fil;
  int filtype = 0;  // the type chosen in the save dialog
  std::vector<TPapVin::TUtskriftsvalg> vist;
  std::optional<TPapVin::TUtskriftsvalg> utskrift;
};

std::vector<std::string> Faner(const TPapVin& v) {
  std::vector<std::string> r;
  for (int i = 0; i < v.Tab->count(); ++i) r.push_back(v.Tab->tabText(i).toStdString());
  return r;
}

}  // namespace

TEST(TPapVinTest, FanerOgSkala) {
  {
    Vindu f(7);
    EXPECT_EQ(f.antall, 2);
    EXPECT_EQ(Faner(*f.v), (std::vector<std::string>{"Side 1", "Side 2"}));
    f.Vis();
    EXPECT_EQ(f.v->windowTitle(), "Utskriftsvindu");
    EXPECT_EQ(f.v->Status->text(), "2 Sider");
    EXPECT_EQ(f.v->Panel1Tekst->text(), "Skala = 1/1,3");
    EXPECT_EQ(f.v->Ark->size(), QSize(560, 816));
    f.v->Ark->grab();
    ASSERT_FALSE(f.kall.empty());
    EXPECT_EQ(f.kall.back().side, 1);
    EXPECT_EQ(f.kall.back().bredde, 560);
    EXPECT_EQ(f.kall.back().hoyde, 816);
    if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
      f.v->grab().save(QString(mappe) + "/utskriftsvindu.png");
  }
  {
    Vindu f(0);  // no ram: still one tab and page 1
    EXPECT_EQ(Faner(*f.v), (std::vector<std::string>{"Side 1"}));
  }
}

namespace {

// The framed pages of `vaerer` rams, counting its end.
struct Telledokument : TSidedokument {
  Telledokument(int vaerer, int& borte) : rammer(LagSider(Liste(vaerer, {"Hedmark"}))), borte_(borte) {}
  ~Telledokument() override { ++borte_; }
  int Sider() const override { return rammer.Sider(); }
  void TegnSide(QPainter& p, int b, int h, int s) const override { rammer.TegnSide(p, b, h, s); }
  TRammedokument rammer;
  int& borte_;
};

}  // namespace

// The window owns the document it is given: one tab a page, and the
// document goes once, when it is replaced or when the window closes, never
// while a closing is declined.
TEST(TPapVinTest, DokumentetEiesAvVinduet) {
  int borte = 0;
  QPointer<TPapVin> v(new TPapVin);
  v->SettDokument(std::make_unique<Telledokument>(1, borte));
  v->SettDokument(std::make_unique<Telledokument>(13, borte));
  EXPECT_EQ(borte, 1);
  EXPECT_EQ(Faner(*v), (std::vector<std::string>{"Side 1", "Side 2", "Side 3"}));
  QStringList sporsmal;
  bool svar = false;
  v->Sporsmal = [&](const QString& t) {
    sporsmal << t;
    return svar;
  };
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  const QImage side = v->Ark->grab().toImage();
  int blekk = 0;
  for (int y = 0; y < side.height(); ++y)
    for (int x = 0; x < side.width(); ++x) blekk += qGray(side.pixel(x, y)) < 128;
  EXPECT_GT(blekk, 1000) << "six framed boxes are drawn";
  v->close();
  EXPECT_EQ(sporsmal.size(), 1);
  EXPECT_EQ(borte, 1) << "a declined closing keeps the pages";
  svar = true;
  v->close();
  EXPECT_EQ(borte, 2);
  EXPECT_EQ(v->Dokument(), nullptr);
  QTest::qWait(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(v.isNull());
  EXPECT_EQ(borte, 2) << "released once";
}

TEST(TPapVinTest, ZoomTrinn) {
  Vindu f(1);
  f.Vis();
  QStringList tekster;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(f.v, Qt::Key_Plus, Qt::KeypadModifier);
    tekster << f.v->Panel1Tekst->text();
  }
  EXPECT_EQ(tekster, QStringList({"Skala = 1/1,0", "Skala = 1/0,7", "Skala = 1/0,4", "Skala = 1/0,4"}));
  EXPECT_EQ(f.v->Ark->size(), QSize(1820, 2653));
  QTest::keyClick(f.v, Qt::Key_Plus);  // the plus of the main keyboard does nothing
  EXPECT_EQ(f.v->Panel1Tekst->text(), "Skala = 1/0,4");
  for (int i = 0; i < 15; ++i) f.v->Krymp->click();
  EXPECT_EQ(f.v->Panel1Tekst->text(), "Skala = 1/4,9");
  QTest::keyClick(f.v, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(f.v->Panel1Tekst->text(), "Skala = 1/5,2");
  QTest::keyClick(f.v, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(f.v->Panel1Tekst->text(), "Skala = 1/5,2");
  EXPECT_EQ(f.v->Ark->size(), QSize(140, 204));
  // A new window starts again at 1.3.
  Vindu ny(1);
  EXPECT_EQ(ny.v->Panel1Tekst->text(), "Skala = 1/1,3");
}

// Each window has its own scale: a window opened or zoomed beside another
// leaves the other's where it was, and its next step goes on from there.
TEST(TPapVinTest, HvertVinduHarSinSkala) {
  Vindu a(1);
  a.Vis();
  a.v->Oke->click();
  a.v->Oke->click();
  ASSERT_EQ(a.v->Panel1Tekst->text(), "Skala = 1/0,7");
  Vindu b(1);
  EXPECT_EQ(b.v->Panel1Tekst->text(), "Skala = 1/1,3") << "a new window opens at 1.3";
  b.v->Krymp->click();
  EXPECT_EQ(b.v->Panel1Tekst->text(), "Skala = 1/1,6");
  a.v->Oke->click();
  EXPECT_EQ(a.v->Panel1Tekst->text(), "Skala = 1/0,4") << "enlarged from its own 0.7";
  EXPECT_EQ(a.v->Ark->size(), QSize(1820, 2653));
  b.v->Krymp->click();
  EXPECT_EQ(b.v->Panel1Tekst->text(), "Skala = 1/1,9");
  EXPECT_EQ(b.v->Ark->size(), QSize(383, 558));
}

TEST(TPapVinTest, TasterBlarOgLukker) {
  Vindu f(13);  // three pages
  f.Vis();
  QTest::keyClick(f.v, Qt::Key_PageUp);
  EXPECT_EQ(f.v->AktivSide, 0) << "nothing before the first page";
  QTest::keyClick(f.v, Qt::Key_PageDown);
  EXPECT_EQ(f.v->AktivSide, 1);
  EXPECT_EQ(f.v->Status->text(), "Side 2 av 3");
  QTest::keyClick(f.v, Qt::Key_PageDown);
  QTest::keyClick(f.v, Qt::Key_PageDown);
  EXPECT_EQ(f.v->AktivSide, 2) << "nothing after the last page";
  EXPECT_EQ(f.v->Tab->currentIndex(), 2);
  f.v->Ark->grab();
  EXPECT_EQ(f.kall.back().side, 3);
  f.v->Tab->setCurrentIndex(0);
  EXPECT_EQ(f.v->Status->text(), "Side 1 av 3");

  // Esc closes; not yet printed: one question, No keeps the window.
  f.svar = false;
  QTest::keyClick(f.v, Qt::Key_Escape);
  ASSERT_TRUE(f.v);
  EXPECT_TRUE(f.v->isVisible());
  EXPECT_EQ(f.sporsmal,
            QStringList({QString::fromUtf8("Du har ikke skrevet noe på papir enda, vil du likevel lukke?")}));
  EXPECT_EQ(f.frigitt, 0);
  f.svar = true;
  QTest::keyClick(f.v, Qt::Key_Escape);
  EXPECT_EQ(f.sporsmal.size(), 2);
  EXPECT_EQ(f.frigitt, 1) << "the pages are released once";
  QTest::qWait(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(f.v) << "the window destroys itself";
}

TEST(TPapVinTest, GjenopprettingBeholderSidenOgUtskriften) {
  Vindu f(13);  // three pages
  f.Vis();
  QTest::keyClick(f.v, Qt::Key_PageDown);
  QTest::keyClick(f.v, Qt::Key_PageDown);
  f.utskrift.reset();
  f.v->Skrive->click();  // the print dialog declined: counts as printed
  ASSERT_TRUE(f.v->Skrevet);
  f.v->ScrollBox1->verticalScrollBar()->setValue(120);
  const int rull = f.v->ScrollBox1->verticalScrollBar()->value();
  ASSERT_GT(rull, 0);
  for (const auto& desktop : {MinimerOgGjenopprett, SkjulOgVis}) {
    desktop(f.v);
    EXPECT_EQ(f.v->AktivSide, 2);
    EXPECT_EQ(f.v->Tab->currentIndex(), 2);
    EXPECT_EQ(f.v->Status->text(), "Side 3 av 3");
    EXPECT_TRUE(f.v->Skrevet);
    EXPECT_EQ(f.v->ScrollBox1->verticalScrollBar()->value(), rull);
    f.v->Ark->grab();
    EXPECT_EQ(f.kall.back().side, 3) << "the sheet shows the same page";
  }
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    f.v->grab().save(QString(mappe) + "/utskriftsvindu-gjenopprettet.png");
  // Closing a printed window asks nothing.
  f.v->close();
  EXPECT_TRUE(f.sporsmal.isEmpty());
  EXPECT_EQ(f.frigitt, 1);

  // The program's own showing starts at the first page, not yet printed.
  Vindu ny(13);
  ny.v->Tab->setCurrentIndex(2);
  ny.v->Skrevet = true;
  ny.Vis();
  EXPECT_EQ(ny.v->AktivSide, 0);
  EXPECT_EQ(ny.v->Tab->currentIndex(), 0);
  EXPECT_FALSE(ny.v->Skrevet);
  EXPECT_EQ(ny.v->Status->text(), "3 Sider");
}

TEST(TPapVinTest, SkrevetLukkerUtenSporsmal) {
  Vindu f(1);
  f.Vis();
  f.v->Skrevet = true;
  f.v->Lukk->click();
  EXPECT_TRUE(f.sporsmal.isEmpty());
  EXPECT_EQ(f.frigitt, 1);
}

TEST(TPapVinTest, UtskriftTilSvgFiler) {
  TestMappe m;
  Vindu f(13);
  f.Vis();
  const struct {
    bool sidevalg;
    int fra, til;
    std::vector<int> sider;
  } tilfeller[] = {
      {true, 2, 2, {2}},
      {true, 1, 3, {1, 2, 3}},
      {true, 2, 9, {2, 3}},
      {false, 2, 2, {1, 2, 3}},
  };
  int nr = 0;
  for (const auto& t : tilfeller) {
    const std::string navn = "katalog" + std::to_string(nr++);
    f.fil = QString::fromStdString((m / (navn + ".svg")).string());
    f.utskrift = TPapVin::TUtskriftsvalg{t.sidevalg, t.fra, t.til, true};
    f.v->Skrevet = false;
    f.kall.clear();
    f.v->Skrive->click();
    ASSERT_FALSE(f.vist.empty());
    EXPECT_EQ(f.vist.back().fra, 1);
    EXPECT_EQ(f.vist.back().til, 3) << "the dialog offers all pages";
    std::vector<int> sider;
    for (const auto& k : f.kall)
      if (k.bredde != 560) sider.push_back(k.side);
    EXPECT_EQ(sider, t.sider) << navn;
    for (int s = 1; s <= 3; ++s) {
      const auto fil = m / (navn + std::to_string(s) + ".svg");
      const bool ventet = std::find(t.sider.begin(), t.sider.end(), s) != t.sider.end();
      EXPECT_EQ(std::filesystem::exists(fil), ventet) << fil;
      if (ventet) {
        std::ifstream inn(fil);
        const std::string svg((std::istreambuf_iterator<char>(inn)), {});
        EXPECT_NE(svg.find("<svg"), std::string::npos);
        EXPECT_NE(svg.find("Ullanalyse"), std::string::npos);
      }
    }
    EXPECT_TRUE(f.v->Skrevet);
  }

  // Cancelling the dialog counts as printed and prints nothing.
  f.utskrift.reset();
  f.v->Skrevet = false;
  f.kall.clear();
  f.v->Skrive->click();
  EXPECT_TRUE(f.v->Skrevet);
  EXPECT_TRUE(f.kall.empty() || f.kall.back().bredde == 560);

  // Shift+F6 uses the settings without the dialog; F6 shows it.
  const auto vist = f.vist.size();
  f.fil = QString::fromStdString((m / "direkte.svg").string());
  f.v->Utskriftsvalg = TPapVin::TUtskriftsvalg{true, 1, 3, true};
  QTest::keyClick(f.v, Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_EQ(f.vist.size(), vist);
  for (int s = 1; s <= 3; ++s) EXPECT_TRUE(std::filesystem::exists(m / ("direkte" + std::to_string(s) + ".svg")));
  QTest::keyClick(f.v, Qt::Key_F6);
  EXPECT_EQ(f.vist.size(), vist + 1);
}

TEST(TPapVinTest, UtskriftPaaPapir) {
  TestMappe m;
  Vindu f(13);
  const auto pdf = m / "papir.pdf";
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setOutputFormat(QPrinter::PdfFormat);
  skriver.setOutputFileName(QString::fromStdString(pdf.string()));
  const auto sider = f.v->SkrivUt(skriver, TPapVin::TUtskriftsvalg{true, 2, 3, false});
  EXPECT_EQ(sider, (std::vector<int>{2, 3}));
  EXPECT_EQ(Infofelt(Kjor("pdfinfo '" + pdf.string() + "'"), "Pages"), "2");
  ASSERT_FALSE(f.kall.empty());
  EXPECT_EQ(f.kall.back().bredde, skriver.width()) << "the printer's page size";
  const std::string tekst = Kjor("pdftotext -f 1 -l 1 '" + pdf.string() + "' -");
  EXPECT_NE(tekst.find("Ver nummer 7"), std::string::npos) << tekst;

  // A job of ours still printing refuses the print, and keeps a closing
  // window open while it runs.
  std::optional<TSkriverjobb> annen(std::in_place);
  f.kall.clear();
  f.v->Skrive->click();
  EXPECT_TRUE(f.kall.empty());
  EXPECT_EQ(f.meldinger.back(), QString::fromUtf8(SkriverOpptattTekst));
  f.v->Skrevet = true;
  const auto meldt = f.meldinger.size();
  f.v->close();
  EXPECT_EQ(f.meldinger.size(), meldt + 1);
  EXPECT_EQ(f.meldinger.back(), QString::fromUtf8(SkriverOpptattTekst));
  EXPECT_EQ(f.frigitt, 0);
  annen.reset();
  f.v->close();
  EXPECT_EQ(f.frigitt, 1);
}

TEST(TPapVinTest, MislyktSkrivingLaterEldreFilerHele) {
  TestMappe m;
  Vindu f(13);
  f.Vis();
  // Older files: the PDF and the SVG of page 2.
  m.Skriv("katalog.pdf", "eldre pdf");
  m.Skriv("side2.svg", "eldre svg");
  f.fil = QString::fromStdString((m / "katalog.pdf").string());
  {
    Filgrense grense(8192);
    f.v->Metafil->click();
    ASSERT_EQ(f.meldinger.size(), 1);
    EXPECT_TRUE(f.meldinger.back().contains("katalog.pdf")) << f.meldinger.back().toStdString();

    f.fil = QString::fromStdString((m / "side.svg").string());
    f.utskrift = TPapVin::TUtskriftsvalg{true, 2, 2, true};
    f.v->Skrive->click();
    ASSERT_EQ(f.meldinger.size(), 2);
    EXPECT_TRUE(f.meldinger.back().contains("side2.svg")) << f.meldinger.back().toStdString();
  }
  EXPECT_EQ(LesHeleFila(m / "katalog.pdf"), "eldre pdf");
  EXPECT_EQ(LesHeleFila(m / "side2.svg"), "eldre svg");
  EXPECT_FALSE(std::filesystem::exists(m / "katalog.pdf.ny"));
  EXPECT_FALSE(std::filesystem::exists(m / "side2.svg.ny"));
  // With room the same print replaces the older file.
  f.v->Skrive->click();
  EXPECT_NE(LesHeleFila(m / "side2.svg").find("<svg"), std::string::npos);
}

TEST(TPapVinTest, LangtArbeidViserTimeglassFremdriftOgHvaSomBleSkrevet) {
  TestMappe m;
  Vindu f(25);  // five pages
  f.Vis();
  const auto utenfor = [&] {
    std::vector<Vindu::Kall> k;
    for (const auto& kall : f.kall)
      if (kall.bredde != f.v->Ark->width()) k.push_back(kall);  // not the screen's sheet
    return k;
  };
  f.fil = QString::fromStdString((m / "katalog.pdf").string());
  f.v->Metafil->click();
  auto kall = utenfor();
  ASSERT_EQ(kall.size(), 5u);
  for (const auto& k : kall) EXPECT_EQ(k.peker, Qt::WaitCursor) << "page " << k.side;
  EXPECT_EQ(kall[1].status, "PDF: side 1 av 5") << "told as the pages are made";
  EXPECT_EQ(f.v->Status->text(), "Skrev 5 sider til katalog.pdf");
  EXPECT_EQ(f.v->Status->toolTip(), f.fil);
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    f.v->grab().save(QString(mappe) + "/utskriftsvindu-pdf-skrevet.png");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Printed to files and on paper.
  f.kall.clear();
  f.fil = QString::fromStdString((m / "side.svg").string());
  f.utskrift = TPapVin::TUtskriftsvalg{true, 2, 4, true};
  f.v->Skrive->click();
  kall = utenfor();
  ASSERT_EQ(kall.size(), 3u);
  EXPECT_EQ(kall[0].peker, Qt::WaitCursor);
  EXPECT_EQ(kall[2].status, "Skriver side 3 av 3");
  EXPECT_EQ(f.v->Status->text(), QString::fromUtf8("Skrev 3 sider til side2.svg – side4.svg"));
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setOutputFormat(QPrinter::PdfFormat);
  skriver.setOutputFileName(QString::fromStdString((m / "papir.pdf").string()));
  f.v->SkrivUt(skriver, TPapVin::TUtskriftsvalg{true, 5, 5, false});
  EXPECT_EQ(f.v->Status->text(), "Skrev ut 1 side");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(TPapVinTest, KopiOgPdf) {
  TestMappe m;
  Vindu f(7);
  f.Vis();
  f.v->Tab->setCurrentIndex(1);
  f.v->Kopier->click();
  const QImage kopi = f.v->Kopi();
  EXPECT_EQ(kopi.format(), QImage::Format_Mono);
  EXPECT_EQ(kopi.size(), QSize(560, 816));
  EXPECT_EQ(f.kall.back().side, 2);
  int svarte = 0;
  for (int y = 0; y < kopi.height(); ++y)
    for (int x = 0; x < kopi.width(); ++x) svarte += qGray(kopi.pixel(x, y)) == 0;
  EXPECT_GT(svarte, 1000);
  EXPECT_LT(svarte, 560 * 816 / 4) << "a white page with black ink";
  const QImage utklipp = QGuiApplication::clipboard()->image();
  EXPECT_EQ(utklipp.size(), QSize(560, 816));

  f.fil = QString::fromStdString((m / "vindu.pdf").string());
  f.v->Metafil->click();
  EXPECT_EQ(f.filtitler, QStringList({"Lagre PDF"}));
  const std::string info = Kjor("pdfinfo '" + f.fil.toStdString() + "'");
  EXPECT_EQ(Infofelt(info, "Pages"), "2") << info;
  EXPECT_EQ(Infofelt(info, "Title"), "Utskriftsvindu");
  EXPECT_EQ(Infofelt(info, "Creator"), "Tuv-Sau");
  int kode = -1;
  Kjor("qpdf --check '" + f.fil.toStdString() + "'", &kode);
  EXPECT_EQ(kode, 0);
  std::vector<int> pdfSider;
  for (const auto& k : f.kall)
    if (k.bredde == KatalogPdfBredde && k.hoyde == KatalogPdfHoyde) pdfSider.push_back(k.side);
  EXPECT_EQ(pdfSider, (std::vector<int>{1, 2}));
}

// The window's PDF and its pages as SVG files: a name typed without an
// ending gets the type's, also with "Alle filer" chosen, and the dots in a
// name stay in the pages' names.
TEST(TPapVinTest, LagretFilFaarEndelsenTilTypen) {
  TestMappe m;
  Vindu f(13);
  f.Vis();
  struct Fall {
    const char* navn;
    int type;
    std::vector<std::string> filer;
    bool pdf;
  };
  const Fall fall[] = {
      {"k", 0, {"k.pdf"}, true},
      {"l", 1, {"l.pdf"}, true},
      {"Plan 12.03", 0, {"Plan 12.03.pdf"}, true},
      {"Sider 12.03", 1, {"Sider 12.031.svg", "Sider 12.032.svg"}, false},
  };
  for (const Fall& t : fall) {
    SCOPED_TRACE(t.navn);
    f.fil = QString::fromStdString((m / t.navn).string());
    f.filtype = t.type;
    if (t.pdf) {
      f.v->Metafil->click();
    } else {
      f.utskrift = TPapVin::TUtskriftsvalg{false, 1, 1, true};
      f.v->Skrive->click();
    }
    for (const std::string& fil : t.filer) EXPECT_TRUE(std::filesystem::exists(m / fil)) << fil;
    EXPECT_FALSE(std::filesystem::exists(m / t.navn));
  }
}
