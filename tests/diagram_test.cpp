// The charts: what each chart is made of, for a small register made by hand
// (series, points, bars, texts), and the chart written as PNG, SVG and PDF.
#include "diagram.h"

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>

#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "sammenligning.h"
#include "statistikk.h"
#include "tekst.h"
#include "testmappe.h"
#include "trase.h"
#include "verpost.h"

namespace fs = std::filesystem;

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, int aar, int rase, int o, const std::string& navn = "VER") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Aar = static_cast<int16_t>(aar);
  p.Rase = static_cast<int8_t>(rase);
  p.OIndeks = static_cast<int16_t>(o);
  p.KIndeks = static_cast<int16_t>(o ? o - 5 : 0);
  p.Navn.Sett(navn);
  return p;
}

// Breed 1 in 2010 (means 102,5 over two rams; one without an index and one
// yellow left out) and 2012; breed 2 in 2010 and 2011; breed 3 only
// without an index.
std::vector<TVerPost> Register() {
  return {Ver(1, 2010, 1, 100), Ver(2, 2010, 1, 105), Ver(3, 2010, 1, 0),   Ver(4, 2010, 1, 950), Ver(5, 2012, 1, 111),
          Ver(6, 2010, 2, 90),  Ver(7, 2011, 2, 120), Ver(8, 2011, 2, 121), Ver(9, 2011, 3, 0)};
}

template <class T>
std::vector<T*> Serier(const QChart& c) {
  std::vector<T*> ut;
  for (QAbstractSeries* s : c.series())
    if (auto* t = qobject_cast<T*>(s)) ut.push_back(t);
  return ut;
}

QValueAxis* Verdiakse(const QChart& c, Qt::Orientation o) {
  for (QAbstractAxis* a : c.axes(o))
    if (auto* v = qobject_cast<QValueAxis*>(a)) return v;
  return nullptr;
}

QBarCategoryAxis* Kategoriakse(const QChart& c) {
  for (QAbstractAxis* a : c.axes(Qt::Horizontal))
    if (auto* v = qobject_cast<QBarCategoryAxis*>(a)) return v;
  return nullptr;
}

std::string Lokal(const QString& t) { return t.toStdString(); }

// A text the chart shows when laid out at a size: an item of its scene that
// is shown, its place, and whether an item around it (a legend that
// scrolls, the chart's edge) cuts any of it off.
struct TVistTekst {
  QString tekst;
  QRectF rute;
  bool helt = true;
};
std::vector<TVistTekst> VisteTekster(QChart& c, const QSizeF& storrelse) {
  QGraphicsScene scene;
  scene.addItem(&c);
  QImage bilde(storrelse.toSize(), QImage::Format_RGB32);
  {
    QPainter p(&bilde);
    TegnDiagram(c, p, QRectF(QPointF(0, 0), storrelse), storrelse);
  }
  std::vector<TVistTekst> ut;
  for (QGraphicsItem* i : scene.items()) {
    QString tekst;
    if (auto* t = qgraphicsitem_cast<QGraphicsTextItem*>(i))
      tekst = t->toPlainText();
    else if (auto* t = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(i))
      tekst = t->text();
    else
      continue;
    bool vist = !tekst.isEmpty();
    QRectF klipp(QPointF(0, 0), storrelse);
    for (QGraphicsItem* a = i; a != nullptr; a = a->parentItem()) {
      vist = vist && a->isVisible() && a->opacity() > 0;
      if (a != i && (a->flags() & QGraphicsItem::ItemClipsChildrenToShape)) klipp &= a->sceneBoundingRect();
    }
    if (!vist) continue;
    const QRectF rute = i->sceneBoundingRect();
    ut.push_back({tekst, rute, klipp.adjusted(-0.5, -0.5, 0.5, 0.5).contains(rute)});
  }
  scene.removeItem(&c);
  return ut;
}

void Skjermbilde(QChart& c, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    LagreDiagram(c, fs::path(mappe) / (std::string(navn) + ".png"));
}

}  // namespace

TEST(Diagram, SnittlinjeForHverRaseMedAarOgSnitt) {
  const std::vector<TVerPost> reg = Register();
  const TStatistikk s = LagStatistikk(reg);
  const Trase raser;
  const auto c = LagSnittDiagram(s, {1, 2, 3}, raser);
  Skjermbilde(*c, "diagram-snitt");
  const std::vector<QLineSeries*> linjer = Serier<QLineSeries>(*c);
  // Breed 3 has rams, but none with an index: a line without points.
  ASSERT_EQ(linjer.size(), 3u);
  const std::vector<std::vector<QPointF>> ventet = {{{2010, 102.5}, {2012, 111}}, {{2010, 90}, {2011, 120.5}}, {}};
  for (std::size_t i = 0; i < linjer.size(); ++i) {
    EXPECT_EQ(linjer[i]->points(), QList<QPointF>(ventet[i].begin(), ventet[i].end())) << i;
    EXPECT_EQ(Lokal(linjer[i]->name()), Cp1252TilUtf8(TrimText(raser.BreedName(static_cast<int>(i) + 1))) +
                                            (i == 2 ? " (ingen med O-indeks)" : ""));
  }
  // Told apart on paper: each its own dash style and its own marker.
  EXPECT_NE(linjer[0]->pen().style(), linjer[1]->pen().style());
  EXPECT_NE(linjer[0]->lightMarker(), linjer[1]->lightMarker());
  EXPECT_FALSE(linjer[0]->lightMarker().isNull());
  // What was left out, in the title's second line; the axes in Norwegian
  // with the decimal comma.
  EXPECT_EQ(Lokal(DiagramTittel(*c)), "Snitt O-indeks etter fødselsår");
  EXPECT_NE(Lokal(c->title()).find("2 værer uten O-indeks og 1 gul vær er holdt utenfor."), std::string::npos)
      << Lokal(c->title());
  QValueAxis* x = Verdiakse(*c, Qt::Horizontal);
  QValueAxis* y = Verdiakse(*c, Qt::Vertical);
  ASSERT_TRUE(x && y);
  EXPECT_EQ(Lokal(x->titleText()), "Fødselsår");
  EXPECT_EQ(Lokal(y->titleText()), "Snitt O-indeks");
  // Every year with a mean, and half a year beyond, so that the end markers show whole.
  EXPECT_EQ(x->min(), 2009.5);
  EXPECT_EQ(x->max(), 2012.5);
  EXPECT_GE(x->tickInterval(), 1) << "no ticks between the years";
  EXPECT_LE(y->min(), 90);
  EXPECT_GE(y->max(), 120.5);
  EXPECT_TRUE(c->localizeNumbers());
  EXPECT_EQ(c->locale().decimalPoint(), ",");
  EXPECT_EQ(c->locale().toString(102.5, 'f', 1), "102,5");
  EXPECT_EQ(c->locale().toString(2010), "2010") << "years without a thousands separator";

  // Only the breeds chosen; none of them with rams: no line, and the title says so.
  const auto en = LagSnittDiagram(s, {2}, raser);
  ASSERT_EQ(Serier<QLineSeries>(*en).size(), 1u);
  EXPECT_EQ(Lokal(en->title()).find("utenfor"), std::string::npos) << "breed 2 has no ram left out";
  const auto ingen = LagSnittDiagram(s, {7}, raser);
  EXPECT_TRUE(Serier<QLineSeries>(*ingen).empty());
  EXPECT_NE(Lokal(ingen->title()).find("Ingen værer av rasene som er valgt."), std::string::npos);
}

TEST(Diagram, StolperForAarOgHistogram) {
  const std::vector<TVerPost> reg = Register();
  const TStatistikk s = LagStatistikk(reg);
  const Trase raser;
  // Rams judged per year, of breeds 1 and 3: 4 in 2010, 1 in 2011, 1 in 2012
  // (the rams without an index count here).
  const auto c = LagAntallDiagram(s, {1, 3}, raser);
  Skjermbilde(*c, "diagram-antall");
  const auto stolper = Serier<QBarSeries>(*c);
  ASSERT_EQ(stolper.size(), 1u);
  ASSERT_EQ(stolper[0]->count(), 1);
  const QBarSet* sett = stolper[0]->barSets()[0];
  ASSERT_EQ(sett->count(), 3);
  EXPECT_EQ((std::vector<double>{sett->at(0), sett->at(1), sett->at(2)}), (std::vector<double>{4, 1, 1}));
  ASSERT_NE(Kategoriakse(*c), nullptr);
  EXPECT_EQ(Kategoriakse(*c)->categories(), (QStringList{"2010", "2011", "2012"}));
  EXPECT_EQ(Lokal(DiagramTittel(*c)), "Antall kårede værer etter fødselsår");
  // A year without rams between two with rams is an empty place, not left out.
  const auto hull = LagAntallDiagram(s, {1}, raser);
  EXPECT_EQ(Kategoriakse(*hull)->categories(), (QStringList{"2010", "2011", "2012"}));
  const QBarSet* hsett0 = Serier<QBarSeries>(*hull)[0]->barSets()[0];
  EXPECT_EQ((std::vector<double>{hsett0->at(0), hsett0->at(1), hsett0->at(2)}), (std::vector<double>{4, 0, 1}));

  // The histogram: bins 10 wide with the empty ones between; the rams left
  // out are told.
  THistogram h;
  for (const TVerPost& v : reg) h.Ta(v);
  const auto hc = LagHistogramDiagram(h, "i katalogens utvalg");
  Skjermbilde(*hc, "diagram-histogram");
  const auto hs = Serier<QBarSeries>(*hc);
  ASSERT_EQ(hs.size(), 1u);
  const QBarSet* hsett = hs[0]->barSets()[0];
  ASSERT_EQ(hsett->count(), 4);  // 90–99, 100–109, 110–119, 120–129
  EXPECT_EQ((std::vector<double>{hsett->at(0), hsett->at(1), hsett->at(2), hsett->at(3)}),
            (std::vector<double>{1, 2, 1, 2}));
  EXPECT_EQ(Kategoriakse(*hc)->categories(), (QStringList{"90–99", "100–109", "110–119", "120–129"}));
  EXPECT_EQ(hs[0]->barWidth(), 1.0) << "a histogram's bars touch";
  EXPECT_EQ(Lokal(DiagramTittel(*hc)), "Fordeling av O-indeks i katalogens utvalg: 6 værer");
  EXPECT_NE(Lokal(hc->title()).find("2 værer uten O-indeks og 1 gul vær er holdt utenfor."), std::string::npos);
  // An empty selection says why it is empty.
  const auto tom =
      LagHistogramDiagram(THistogram(), "i katalogens utvalg", "Katalogen har ikke gjort noe utvalg ennå.");
  EXPECT_EQ(Serier<QBarSeries>(*tom)[0]->barSets()[0]->count(), 0);
  EXPECT_NE(Lokal(tom->title()).find("Katalogen har ikke gjort noe utvalg ennå."), std::string::npos);
}

TEST(Diagram, SammenligningStolpeForHverVerOgSnittmerker) {
  const std::vector<TVerPost> reg = Register();
  std::vector<int32_t> ukjente;
  const TSammenligning s = Sammenlign(reg, {reg[1], reg[6], reg[2]});
  const auto c = LagSammenligningsDiagram(s);
  Skjermbilde(*c, "diagram-sammenligning");
  const auto stolper = Serier<QBarSeries>(*c);
  ASSERT_EQ(stolper.size(), 1u);
  ASSERT_EQ(stolper[0]->count(), 3);
  const QList<QBarSet*> sett = stolper[0]->barSets();
  EXPECT_EQ(Lokal(sett[0]->label()), "2 Ver");
  for (const QBarSet* b : sett) EXPECT_EQ(b->count(), AntallIndeksfigurer);
  EXPECT_EQ(sett[0]->at(0), 105);
  EXPECT_EQ(sett[1]->at(0), 120);
  EXPECT_EQ(sett[2]->at(0), 0) << "no index, no bar";
  EXPECT_NE(sett[0]->brush().style(), sett[1]->brush().style()) << "fill patterns tell the rams apart";
  EXPECT_EQ(Kategoriakse(*c)->categories().first(), "O-indeks");
  // The means of the rams' groups: O-indeks of breed 1, 2010 is 102,5 for
  // rams 2 and 3; 120,5 for ram 7 (breed 2, 2011); K-indeks likewise 97,5
  // and 115,5. Each mark stands over its ram's bar.
  const auto merker = Serier<QScatterSeries>(*c);
  ASSERT_EQ(merker.size(), 1u);
  const QList<QPointF> p = merker[0]->points();
  ASSERT_GE(p.size(), 6);
  EXPECT_EQ(p[0].y(), 102.5);
  EXPECT_EQ(p[1].y(), 120.5);
  EXPECT_EQ(p[2].y(), 102.5);
  EXPECT_EQ(p[3].y(), 97.5);
  EXPECT_EQ(p[4].y(), 115.5);
  EXPECT_LT(p[0].x(), p[1].x());
  EXPECT_LT(p[1].x(), p[2].x());
  EXPECT_GT(p[0].x(), -0.5);
  EXPECT_LT(p[2].x(), 0.5);
  EXPECT_NEAR(p[3].x() - p[0].x(), 1.0, 1e-9) << "the next index's marks one category on";
}

TEST(Diagram, LagresSomPngSvgOgPdf) {
  TestMappe m;
  const std::vector<TVerPost> reg = Register();
  const auto c = LagSnittDiagram(LagStatistikk(reg), {1, 2}, Trase());

  LagreDiagram(*c, m / "d.png");
  const QImage png(QString::fromStdString((m / "d.png").string()));
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), DiagramStorrelse * PngSkala);
  // Drawn, not blank: dark pixels of text and lines on the white.
  int morke = 0;
  for (int y = 0; y < png.height(); y += 3)
    for (int x = 0; x < png.width(); x += 3) morke += qGray(png.pixel(x, y)) < 100;
  EXPECT_GT(morke, 500);

  LagreDiagram(*c, m / "d.svg");
  const std::string svg = LesHeleFila(m / "d.svg");
  EXPECT_NE(svg.find("viewBox=\"0 0 960 600\""), std::string::npos);
  EXPECT_NE(svg.find("<title>Snitt O-indeks etter fødselsår</title>"), std::string::npos);

  LagreDiagram(*c, m / "D.PDF");
  const Svar info = Kjor(m, "pdfinfo D.PDF");
  ASSERT_EQ(info.kode, 0) << info.feil;
  EXPECT_TRUE(std::regex_search(info.ut, std::regex("Pages: +1\n"))) << info.ut;
  EXPECT_TRUE(std::regex_search(info.ut, std::regex("Page size: +84[12].* x 595"))) << "A4 landscape: " << info.ut;
  EXPECT_TRUE(std::regex_search(info.ut, std::regex("Title: +Snitt O-indeks etter fødselsår\n"))) << info.ut;
  const Svar tekst = Kjor(m, "pdftotext -layout D.PDF -");
  ASSERT_EQ(tekst.kode, 0) << tekst.feil;
  for (const char* t : {"Snitt O-indeks etter fødselsår", "Fødselsår", "Snitt O-indeks", "1 vær uten O-indeks", "Dala",
                        "Rygja", "2010", "2012"})
    EXPECT_NE(tekst.ut.find(t), std::string::npos) << t << " in:\n" << tekst.ut;
  // The mean axis counts with the decimal comma ("100,0"), never a point.
  EXPECT_TRUE(std::regex_search(tekst.ut, std::regex("1[0-2][0-9],[0-9]\\b"))) << tekst.ut;
  EXPECT_FALSE(std::regex_search(tekst.ut, std::regex("[0-9]\\.[0-9]"))) << tekst.ut;

  // Another extension: nothing is written, and the message says why.
  try {
    LagreDiagram(*c, m / "d.gif");
    ADD_FAILURE() << "no error";
  } catch (const IoFeil& e) {
    EXPECT_EQ(std::string(e.what()), "Kan ikke lagre diagrammet som «d.gif»; fila må slutte på .png, .svg eller .pdf.");
  }
  EXPECT_FALSE(fs::exists(m / "d.gif"));
}

// hornstad-cli draws the chart into a file without a display: it starts its
// own QApplication on the offscreen platform when no platform is set.
TEST(Diagram, VerktoyetTegnerUtenSkjerm) {
  TestMappe m;
  SkrivEksempeldata(300, 5, m.Sti(), true);
  const std::string mappe = "'" + m.Sti().string() + "'";
  const std::string start =
      std::string("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY ") + HS_CLI + " --data " + mappe;
  for (const char* fil : {"s.png", "s.svg", "s.pdf"}) {
    SCOPED_TRACE(fil);
    const std::string ut = (m.Sti() / fil).string();
    ASSERT_EQ(std::system((start + " statistikk --rase 1 --ut '" + ut + "' >/dev/null 2>&1").c_str()), 0);
    ASSERT_TRUE(fs::exists(ut));
  }
  const QImage png(QString::fromStdString((m.Sti() / "s.png").string()));
  EXPECT_EQ(png.size(), DiagramStorrelse * PngSkala);
  EXPECT_EQ(LesHeleFila(m.Sti() / "s.pdf").rfind("%PDF", 0), 0u);
  // With a table format the same file name gets the numbers.
  ASSERT_EQ(
      std::system((start + " statistikk --format semikolon --ut '" + (m.Sti() / "t.pdf").string() + "' >/dev/null 2>&1")
                      .c_str()),
      0);
  EXPECT_NE(LesHeleFila(m.Sti() / "t.pdf").find(';'), std::string::npos);
}

// The legend names every series in full, inside the chart and under its
// plot, however many there are: the six rams of a comparison with names as
// long as a name can be, and every breed's line; where the chart is too
// small for all of them, it says how many it leaves out.
TEST(Diagram, TegnforklaringenViserHvertNavnHelt) {
  const Trase raser;
  std::vector<TVerPost> reg;
  for (int rase = 0; rase < raser.BreedCount(); ++rase)
    for (int aar = 2008; aar <= 2012; ++aar) reg.push_back(Ver(1000 * rase + aar, aar, rase, 90 + rase));
  const char* navn[] = {"STORMFJELLETS KONGEN", "BJORNEBAKKENS BAMSEN",  "SOLHAUGENS STOLTHETEN",
                        "VESLEGUTTEN FRA NORD", "GAMLEBYENS GULLGUTTEN", "ÅSMUNDSTADS ÆRESVÆR"};
  std::vector<TVerPost> seks;
  for (int i = 0; i < 6; ++i) seks.push_back(Ver(2002390 + i, 2010, 1, 100 + i, C(navn[i])));
  reg.insert(reg.end(), seks.begin(), seks.end());
  const TStatistikk statistikk = LagStatistikk(reg);
  TRasevalg alle;
  for (int rase = 0; rase < raser.BreedCount(); ++rase) alle.push_back(rase);

  struct Fall {
    const char* hva;
    std::function<std::unique_ptr<QChart>()> lag;
    QSizeF storrelse;
    bool alleFaarPlass;
  };
  const auto sammenligning = [&] { return LagSammenligningsDiagram(Sammenlign(reg, seks)); };
  const auto snitt = [&] { return LagSnittDiagram(statistikk, alle, raser); };
  const Fall fall[] = {
      {"sammenligning, fil", sammenligning, QSizeF(DiagramStorrelse), true},
      {"sammenligning, vindu", sammenligning, QSizeF(880, 540), true},
      {"sammenligning, lite vindu", sammenligning, QSizeF(480, 300), false},
      {"alle raser, fil", snitt, QSizeF(DiagramStorrelse), true},
      {"alle raser, vindu", snitt, QSizeF(780, 540), true},
      {"alle raser, lite vindu", snitt, QSizeF(480, 300), false},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.hva);
    const std::unique_ptr<QChart> c = f.lag();
    QStringList serier;
    for (QAbstractSeries* s : c->series())
      if (auto* b = qobject_cast<QBarSeries*>(s))
        for (QBarSet* sett : b->barSets()) serier << sett->label();
      else
        serier << s->name();
    ASSERT_EQ(serier.size(), f.hva[0] == 's' ? 7 : raser.BreedCount());
    const std::vector<TVistTekst> vist = VisteTekster(*c, f.storrelse);
    const QRectF plott = c->plotArea();
    std::vector<QRectF> ruter;
    int mangler = 0;
    for (const QString& serie : serier) {
      const auto t = std::find_if(vist.begin(), vist.end(), [&](const TVistTekst& v) { return v.tekst == serie; });
      if (t == vist.end()) {
        ++mangler;
        continue;
      }
      EXPECT_TRUE(t->helt) << serie.toStdString() << " is cut off";
      EXPECT_GE(t->rute.top(), plott.bottom()) << serie.toStdString();
      for (const QRectF& r : ruter) EXPECT_FALSE(r.intersects(t->rute)) << serie.toStdString();
      ruter.push_back(t->rute);
    }
    if (f.alleFaarPlass) {
      EXPECT_EQ(mangler, 0);
    } else if (mangler > 0) {
      const QString note = QString("… og %1 til").arg(mangler);
      EXPECT_TRUE(std::any_of(vist.begin(), vist.end(), [&](const TVistTekst& v) { return v.tekst == note && v.helt; }))
          << note.toStdString();
    }
  }
  const auto c = snitt();
  Skjermbilde(*c, "diagram-alle-raser");
  // Every breed's line looks like no other: colour, dash and marker together.
  const std::vector<QLineSeries*> linjer = Serier<QLineSeries>(*c);
  for (std::size_t i = 0; i < linjer.size(); ++i)
    for (std::size_t j = i + 1; j < linjer.size(); ++j)
      EXPECT_FALSE(linjer[i]->pen().color() == linjer[j]->pen().color() &&
                   linjer[i]->pen().style() == linjer[j]->pen().style() &&
                   linjer[i]->lightMarker() == linjer[j]->lightMarker())
          << linjer[i]->name().toStdString() << " and " << linjer[j]->name().toStdString();
  const auto s = sammenligning();
  Skjermbilde(*s, "diagram-seks-verer");
}
