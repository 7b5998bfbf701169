#include "diagram.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "cp1252.h"
#include "filer.h"
#include "pdffil.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

const char* const TittelEgenskap = "hornstadTittel";

QFont Skrift(double punkt, bool fet = false) {
  QFont f("Liberation Sans");
  f.setPointSizeF(punkt);
  f.setBold(fet);
  return f;
}

// The program's way with numbers: a decimal comma; years and counts without
// a thousands separator where they stand on an axis of values.
QLocale Tallformat(bool tusenskille) {
  QLocale l(QLocale::NorwegianBokmal, QLocale::Norway);
  if (!tusenskille) l.setNumberOptions(QLocale::OmitGroupSeparator);
  return l;
}

// What every chart has: white, square, a bold title with a smaller second
// line under it, the legend below the plot.
std::unique_ptr<QChart> NyttDiagram(const QString& tittel, const QString& undertittel, bool tusenskille) {
  auto chart = std::make_unique<QChart>();
  chart->setProperty(TittelEgenskap, tittel);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setPlotAreaBackgroundVisible(false);
  chart->setMargins(QMargins(6, 4, 10, 4));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  chart->setLocale(Tallformat(tusenskille));
  chart->setLocalizeNumbers(true);
  chart->setTitleFont(Skrift(13, true));
  chart->setTitleBrush(Qt::black);
  QString t = tittel.toHtmlEscaped();
  if (!undertittel.isEmpty())
    t += "<br><span style=\"font-size:9.5pt; font-weight:normal\">" + undertittel.toHtmlEscaped() + "</span>";
  chart->setTitle(t);
  QLegend* l = chart->legend();
  l->setAlignment(Qt::AlignBottom);
  l->setFont(Skrift(9.5));
  l->setLabelColor(Qt::black);
  l->setMarkerShape(QLegend::MarkerShapeFromSeries);
  return chart;
}

void StilAkse(QAbstractAxis* a, const QString& tittel) {
  a->setTitleText(tittel);
  a->setTitleFont(Skrift(10, true));
  a->setTitleBrush(Qt::black);
  a->setLabelsFont(Skrift(9));
  a->setLabelsColor(Qt::black);
  a->setLinePen(QPen(Qt::black, 1));
  QPen rutenett(QColor(175, 175, 175), 0.8, Qt::DotLine);
  a->setGridLinePen(rutenett);
  a->setMinorGridLineVisible(false);
}

// A step of 1, 2 or 5 times a power of ten, giving at most `antall` steps
// over `spenn`.
double PentSteg(double spenn, int antall) {
  if (spenn <= 0) return 1;
  const double grov = spenn / antall;
  const double tier = std::pow(10.0, std::floor(std::log10(grov)));
  for (double f : {1.0, 2.0, 5.0, 10.0})
    if (f * tier >= grov) return f * tier;
  return 10 * tier;
}

// A value axis from `fra` to `til` (widened to whole steps) with dynamic ticks.
QValueAxis* Verdiakse(double fra, double til, int antall, const QString& format, const QString& tittel) {
  if (til <= fra) {
    fra -= 1;
    til += 1;
  }
  const double steg = PentSteg(til - fra, antall);
  auto* a = new QValueAxis;
  a->setRange(std::floor(fra / steg) * steg, std::ceil(til / steg) * steg);
  a->setTickType(QValueAxis::TicksDynamic);
  a->setTickAnchor(std::floor(fra / steg) * steg);
  a->setTickInterval(steg);
  a->setLabelFormat(format);
  StilAkse(a, tittel);
  return a;
}

// The axis of a count up to `flest`, with room above the highest bar.
QValueAxis* Tallakse(int64_t flest) {
  const double topp = std::max<double>(static_cast<double>(flest) * 1.05, static_cast<double>(flest) + 1);
  QValueAxis* y = Verdiakse(0, topp, 8, "%.0f", "Antall værer");
  y->setTickInterval(std::max(1.0, y->tickInterval()));
  return y;
}

// ---- what tells the series apart on paper ----

enum class TForm { Sirkel, Firkant, Trekant, Ruter, Kryss, Stjerne };

struct TStil {
  QColor farge;
  Qt::PenStyle strek;
  TForm form;
  Qt::BrushStyle fyll;  // of a bar
};

// Dark colours of different greys, each with its own dash, marker and fill;
// past six series the colours come round again with other dashes, markers
// and fills, so that no two of up to 36 series look alike.
TStil Stil(std::size_t i) {
  static const TStil stiler[] = {
      {QColor(0, 0, 0), Qt::SolidLine, TForm::Sirkel, Qt::SolidPattern},
      {QColor(0, 70, 170), Qt::DashLine, TForm::Firkant, Qt::BDiagPattern},
      {QColor(180, 30, 30), Qt::DotLine, TForm::Trekant, Qt::Dense5Pattern},
      {QColor(0, 120, 60), Qt::DashDotLine, TForm::Ruter, Qt::CrossPattern},
      {QColor(130, 80, 0), Qt::DashDotDotLine, TForm::Kryss, Qt::FDiagPattern},
      {QColor(110, 0, 130), Qt::SolidLine, TForm::Stjerne, Qt::Dense2Pattern},
  };
  const std::size_t n = std::size(stiler);
  TStil stil = stiler[(i + i / n) % n];
  stil.farge = stiler[i % n].farge;
  return stil;
}

// A marker for the points of a line: the shape in the series' colour on a
// white ground, large enough to be sharp on a printed page.
QImage Markor(TForm form, const QColor& farge) {
  constexpr int S = 64;
  QImage bilde(S, S, QImage::Format_ARGB32_Premultiplied);
  bilde.fill(Qt::transparent);
  QPainter p(&bilde);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(farge, 9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::white);
  const QRectF r(8, 8, S - 16, S - 16);
  QPainterPath sti;
  switch (form) {
    case TForm::Sirkel: sti.addEllipse(r); break;
    case TForm::Firkant: sti.addRect(r); break;
    case TForm::Trekant:
      sti.moveTo(r.center().x(), r.top());
      sti.lineTo(r.right(), r.bottom());
      sti.lineTo(r.left(), r.bottom());
      sti.closeSubpath();
      break;
    case TForm::Ruter:
      sti.moveTo(r.center().x(), r.top() - 4);
      sti.lineTo(r.right() + 4, r.center().y());
      sti.lineTo(r.center().x(), r.bottom() + 4);
      sti.lineTo(r.left() - 4, r.center().y());
      sti.closeSubpath();
      break;
    case TForm::Kryss:
      p.setPen(QPen(farge, 11, Qt::SolidLine, Qt::SquareCap));
      p.drawLine(r.topLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomLeft());
      return bilde;
    case TForm::Stjerne:
      for (int k = 0; k < 10; ++k) {
        const double v = -M_PI / 2 + k * M_PI / 5;
        const double radius = (k % 2 ? 0.42 : 1.0) * (S / 2.0 - 6);
        const QPointF q(S / 2.0 + radius * std::cos(v), S / 2.0 + radius * std::sin(v));
        if (k == 0)
          sti.moveTo(q);
        else
          sti.lineTo(q);
      }
      sti.closeSubpath();
      break;
  }
  p.drawPath(sti);
  return bilde;
}

// The mark of a group's mean on a bar: a short black bar with a white edge,
// seen on any fill.
QImage Snittmerke() {
  constexpr int S = 64;
  QImage bilde(S, S, QImage::Format_ARGB32_Premultiplied);
  bilde.fill(Qt::transparent);
  QPainter p(&bilde);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 5));
  p.setBrush(Qt::black);
  p.drawRect(QRectF(3, S / 2.0 - 9, S - 6, 18));
  return bilde;
}

QBrush Fyll(const TStil& s) {
  if (s.fyll == Qt::SolidPattern && s.farge == QColor(0, 0, 0)) return QBrush(QColor(70, 70, 70));
  return QBrush(s.farge, s.fyll);
}

QString RaseNavn(const Trase& rasenavn, int rase) {
  const QString navn = TilQString(TrimText(rasenavn.BreedName(rase)));
  return navn.isEmpty() ? QString("Rase %1").arg(rase) : navn;
}

QString Utenfor(const TUtenfor& u) { return TilQString(UtenforTekst(u)); }

QString Valgte(const TRasevalg& raser, const Trase& rasenavn) {
  if (raser.empty()) return "Alle raser";
  QStringList navn;
  for (int r : raser) navn << RaseNavn(rasenavn, r);
  return (raser.size() == 1 ? "Rase: " : "Raser: ") + navn.join(", ");
}

// Category labels stand on end when there are many of them.
void Kategorier(QBarCategoryAxis* a, const QStringList& kategorier) {
  a->append(kategorier);
  if (kategorier.size() > 16) a->setLabelsAngle(-90);
  // Qt would cut a year that stands on end to "…" where the bars are narrow.
  a->setTruncateLabels(false);
}

// ---- the legend ----

// The legend under the plot: an entry a line, or a bar set, its mark and
// its whole name, in as many columns as the chart's width holds and as many
// rows as the entries need. It takes at most about a third of the chart's
// height; entries that do not fit give way to a last entry saying how many
// are left out. It is laid out again whenever the chart changes size (the
// screen, a file, a page) and keeps the room it needs under the axes. The
// names are text items of the chart's scene, so they are drawn, and read,
// like the chart's other texts.
class TTegnforklaring : public QGraphicsItem {
 public:
  explicit TTegnforklaring(QChart* chart) : QGraphicsItem(chart), chart_(chart) {
    setZValue(10);
    for (QAbstractSeries* s : chart->series()) {
      if (auto* l = qobject_cast<QLineSeries*>(s); l && !qobject_cast<QScatterSeries*>(s)) {
        Ny(l->name(), TPost::Art::Linje, l->pen(), {}, l->lightMarker());
      } else if (auto* m = qobject_cast<QScatterSeries*>(s)) {
        Ny(m->name(), TPost::Art::Merke, {}, {}, m->lightMarker());
      } else if (auto* b = qobject_cast<QBarSeries*>(s)) {
        for (QBarSet* sett : b->barSets()) Ny(sett->label(), TPost::Art::Flate, sett->pen(), sett->brush(), {});
      }
    }
    note_ = Tekst(QString());
    QObject::connect(chart, &QGraphicsWidget::geometryChanged, chart, [this] { Ordne(); });
  }

  QRectF boundingRect() const override { return ramme_; }

  void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < tegn_.size(); ++i) {
      const TPost& post = poster_[i];
      const QRectF& r = tegn_[i];
      const QPointF midt = r.center();
      switch (post.art) {
        case TPost::Art::Linje:
          p->setPen(post.penn);
          p->drawLine(QPointF(r.left() + 1, midt.y()), QPointF(r.right() - 1, midt.y()));
          p->drawImage(QRectF(midt.x() - 5.5, midt.y() - 5.5, 11, 11), post.merke);
          break;
        case TPost::Art::Flate:
          p->setPen(post.penn);
          p->setBrush(post.fyll);
          p->drawRect(QRectF(midt.x() - 10, midt.y() - 6, 20, 12));
          break;
        case TPost::Art::Merke: p->drawImage(QRectF(midt.x() - 11, midt.y() - 11, 22, 22), post.merke); break;
      }
    }
    p->restore();
  }

  // Lays the legend out for the chart's size, and gives the plot what is left.
  void Ordne() {
    const QSizeF storrelse = chart_->size();
    if (storrelse.isEmpty() || poster_.empty()) return;
    const QFontMetricsF fm(Skrift(9.5));
    constexpr double TegnBredde = 30, Mellom = 6, KolMellom = 18, Kant = 8;
    const double radHoyde = std::ceil(std::max(fm.height(), 14.0)) + 4;
    const int n = static_cast<int>(poster_.size());
    double tekstBredde = fm.horizontalAdvance(Note(n));
    for (const TPost& post : poster_) tekstBredde = std::max(tekstBredde, fm.horizontalAdvance(post.navn));
    // A name wider than the chart itself gives way at its end.
    const double plass = std::max(storrelse.width() - 2 * Kant, TegnBredde + Mellom + 20);
    tekstBredde = std::min(tekstBredde, plass - TegnBredde - Mellom);
    const double kolBredde = TegnBredde + Mellom + tekstBredde + KolMellom;
    int kolonner = std::clamp(static_cast<int>((plass + KolMellom) / kolBredde), 1, n);
    int rader = (n + kolonner - 1) / kolonner;
    kolonner = (n + rader - 1) / rader;
    const int flestRader = std::max(1, static_cast<int>(storrelse.height() * 0.34 / radHoyde));
    int vist = n;
    if (rader > flestRader) {
      rader = flestRader;
      vist = rader * kolonner - 1;
    }
    const double bredde = kolonner * kolBredde - KolMellom;
    const double x0 = std::max(Kant, (storrelse.width() - bredde) / 2);
    const double y0 = storrelse.height() - 4 - rader * radHoyde;
    prepareGeometryChange();
    tegn_.clear();
    const auto sted = [&](int i) { return QPointF(x0 + (i % kolonner) * kolBredde, y0 + (i / kolonner) * radHoyde); };
    const auto plasser = [&](QGraphicsSimpleTextItem* t, const QString& tekst, QPointF p) {
      t->setText(fm.horizontalAdvance(tekst) > tekstBredde ? fm.elidedText(tekst, Qt::ElideRight, tekstBredde) : tekst);
      t->setPos(p.x() + TegnBredde + Mellom, p.y() + (radHoyde - fm.height()) / 2);
      t->setVisible(true);
    };
    for (int i = 0; i < n; ++i) {
      TPost& post = poster_[static_cast<std::size_t>(i)];
      if (i >= vist) {
        post.tekst->setVisible(false);
        continue;
      }
      const QPointF p = sted(i);
      tegn_.push_back(QRectF(p, QSizeF(TegnBredde, radHoyde)));
      plasser(post.tekst, post.navn, p);
    }
    note_->setVisible(false);
    if (vist < n) plasser(note_, Note(n - vist), sted(vist));
    ramme_ = QRectF(x0, y0, bredde, rader * radHoyde);
    const QMargins kanter(6, 4, 10, static_cast<int>(std::ceil(rader * radHoyde)) + 10);
    if (chart_->margins() != kanter) chart_->setMargins(kanter);
    update();
  }

 private:
  struct TPost {
    enum class Art { Linje, Flate, Merke };
    QString navn;
    Art art;
    QPen penn;
    QBrush fyll;
    QImage merke;
    QGraphicsSimpleTextItem* tekst;
  };

  static QString Note(int utenfor) { return QString("… og %1 til").arg(utenfor); }

  QGraphicsSimpleTextItem* Tekst(const QString& tekst) {
    auto* t = new QGraphicsSimpleTextItem(tekst, this);
    t->setFont(Skrift(9.5));
    t->setBrush(Qt::black);
    t->setVisible(false);
    return t;
  }

  void Ny(const QString& navn, TPost::Art art, const QPen& penn, const QBrush& fyll, const QImage& merke) {
    poster_.push_back({navn, art, penn, fyll, merke, Tekst(navn)});
  }

  QChart* chart_;
  std::vector<TPost> poster_;
  QGraphicsSimpleTextItem* note_ = nullptr;
  std::vector<QRectF> tegn_;  // the place of the mark of each entry shown
  QRectF ramme_;
};

// The chart's own legend gives way to the one above.
void LeggTilTegnforklaring(QChart& chart) {
  chart.legend()->setVisible(false);
  new TTegnforklaring(&chart);
}

}  // namespace

std::unique_ptr<QChart> LagSnittDiagram(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn) {
  const std::vector<TSnittLinje> linjer = SnittLinjer(s, raser);
  QString under = Utenfor(Utenfor(s, raser));
  if (linjer.empty()) under = "Ingen værer av rasene som er valgt.";
  auto chart = NyttDiagram("Snitt O-indeks etter fødselsår", under, false);
  double forste = 1e9, siste = -1e9, lavest = 1e9, hoyest = -1e9;
  std::size_t nr = 0;
  std::vector<QLineSeries*> serier;
  for (const TSnittLinje& l : linjer) {
    auto* serie = new QLineSeries;
    serie->setName(RaseNavn(rasenavn, l.rase) + (l.punkter.empty() ? " (ingen med O-indeks)" : ""));
    const TStil stil = Stil(nr++);
    QPen penn(stil.farge, 2.2, stil.strek, Qt::FlatCap, Qt::RoundJoin);
    serie->setPen(penn);
    serie->setLightMarker(Markor(stil.form, stil.farge));
    serie->setMarkerSize(11);
    for (const auto& [aar, snitt] : l.punkter) {
      serie->append(aar, snitt);
      forste = std::min(forste, double(aar));
      siste = std::max(siste, double(aar));
      lavest = std::min(lavest, snitt);
      hoyest = std::max(hoyest, snitt);
    }
    chart->addSeries(serie);
    serier.push_back(serie);
  }
  if (forste > siste) {
    forste = siste = 2000;
    lavest = 90;
    hoyest = 110;
  }
  QValueAxis* x = Verdiakse(forste, siste, 12, "%.0f", "Fødselsår");
  // The years of the data and half a year on each side, so that the markers
  // at the ends show whole; a tick a year at most.
  x->setRange(forste - 0.5, siste + 0.5);
  x->setTickAnchor(forste);
  x->setTickInterval(std::max(1.0, x->tickInterval()));
  QValueAxis* y = Verdiakse(lavest - 2, hoyest + 2, 8, "%.1f", "Snitt O-indeks");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QLineSeries* serie : serier) {
    serie->attachAxis(x);
    serie->attachAxis(y);
  }
  chart->legend()->setVisible(false);
  if (!serier.empty()) LeggTilTegnforklaring(*chart);
  return chart;
}

namespace {

// The bars of one set as the chart's only series: the categories on an axis
// below (no grid lines across), the counts on an axis at the left, no legend.
void LeggTilSoyler(QChart& chart, QBarSet* sett, double bredde, const QStringList& kategorier, const QString& hva,
                   int64_t flest) {
  auto* serie = new QBarSeries;
  serie->append(sett);
  serie->setBarWidth(bredde);
  chart.addSeries(serie);
  auto* x = new QBarCategoryAxis;
  Kategorier(x, kategorier);
  StilAkse(x, hva);
  x->setGridLineVisible(false);
  QValueAxis* y = Tallakse(flest);
  chart.addAxis(x, Qt::AlignBottom);
  chart.addAxis(y, Qt::AlignLeft);
  serie->attachAxis(x);
  serie->attachAxis(y);
  chart.legend()->setVisible(false);
}

}  // namespace

std::unique_ptr<QChart> LagAntallDiagram(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn) {
  const std::vector<std::pair<int, int64_t>> aar = AntallPerAar(s, raser);
  auto chart = NyttDiagram("Antall kårede værer etter fødselsår", Valgte(raser, rasenavn), true);
  auto* sett = new QBarSet("Antall værer");
  sett->setBrush(QColor(150, 150, 150));
  sett->setPen(QPen(Qt::black, 0.8));
  // Every year from the first to the last, a year without rams as an empty place.
  QStringList kategorier;
  int64_t flest = 0;
  for (std::size_t i = 0; i < aar.size(); ++i) {
    if (i > 0)
      for (int tom = aar[i - 1].first + 1; tom < aar[i].first; ++tom) {
        kategorier << QString::number(tom);
        sett->append(0);
      }
    kategorier << QString::number(aar[i].first);
    sett->append(static_cast<double>(aar[i].second));
    flest = std::max(flest, aar[i].second);
  }
  LeggTilSoyler(*chart, sett, 0.75, kategorier, "Fødselsår", flest);
  return chart;
}

std::unique_ptr<QChart> LagHistogramDiagram(const THistogram& h, const QString& hva, const QString& tom) {
  const std::vector<THistogram::TSoyle> soyler = h.Soyler();
  QString under = Utenfor(h.Utenfor());
  if (h.Antall() == 0 && !tom.isEmpty()) under = tom;
  const QString antall = QString("%1 %2").arg(TilQString(IntToText(h.Antall())), h.Antall() == 1 ? "vær" : "værer");
  auto chart = NyttDiagram("Fordeling av O-indeks " + hva + ": " + antall, under, true);
  auto* sett = new QBarSet("Antall værer");
  sett->setBrush(QColor(150, 150, 150));
  sett->setPen(QPen(Qt::black, 0.8));
  QStringList kategorier;
  int64_t flest = 0;
  for (const THistogram::TSoyle& s : soyler) {
    kategorier << QString("%1–%2").arg(s.fra).arg(s.til);
    sett->append(static_cast<double>(s.antall));
    flest = std::max(flest, s.antall);
  }
  LeggTilSoyler(*chart, sett, 1.0, kategorier, "O-indeks", flest);  // a histogram's bars touch
  return chart;
}

std::unique_ptr<QChart> LagSammenligningsDiagram(const TSammenligning& s) {
  const std::vector<TIndeksstolper> stolper = Indeksstolper(s);
  bool mangler = false;
  for (const TIndeksstolper& st : stolper)
    for (const std::optional<double>& v : st.verdi) mangler |= !v;
  QString under = "Stolpen er værens indeks, den svarte streken snittet for værer av samme rase og år.";
  if (mangler) under += " Uten stolpe: ukjent indeks.";
  auto chart = NyttDiagram("Indeksene til værene og snittet for værens rase og år", under, false);
  const std::size_t n = s.verer.size();
  auto* serie = new QBarSeries;
  constexpr double Bredde = 0.8;
  serie->setBarWidth(Bredde);
  double lavest = 1e9, hoyest = -1e9;
  const auto ta = [&](double v) {
    lavest = std::min(lavest, v);
    hoyest = std::max(hoyest, v);
  };
  for (std::size_t j = 0; j < n; ++j) {
    const TVerPost& v = s.verer[j];
    auto* sett = new QBarSet(QString("%1 %2").arg(v.Nummer).arg(TilQString(TrimText(NameCase(v.Navn.Verdi())))));
    const TStil stil = Stil(j);
    sett->setBrush(Fyll(stil));
    sett->setPen(QPen(stil.farge == QColor(0, 0, 0) ? QColor(0, 0, 0) : stil.farge.darker(130), 1.2));
    for (const TIndeksstolper& st : stolper) {
      const std::optional<double> verdi = st.verdi[j];
      sett->append(verdi ? *verdi : 0.0);
      if (verdi) ta(*verdi);
    }
    serie->append(sett);
  }
  chart->addSeries(serie);
  // The means: a mark on each bar, where the bar stands within its index.
  auto* snitt = new QScatterSeries;
  snitt->setName("Snitt for rase og år");
  snitt->setLightMarker(Snittmerke());
  snitt->setMarkerSize(std::clamp(60.0 / static_cast<double>(std::max<std::size_t>(n, 1)), 9.0, 24.0));
  snitt->setPen(Qt::NoPen);
  snitt->setColor(Qt::black);
  for (std::size_t f = 0; f < stolper.size(); ++f)
    for (std::size_t j = 0; j < n; ++j)
      if (const std::optional<double> m = stolper[f].snitt[j]) {
        snitt->append(static_cast<double>(f) - Bredde / 2 + (static_cast<double>(j) + 0.5) * Bredde / n, *m);
        ta(*m);
      }
  chart->addSeries(snitt);
  auto* x = new QBarCategoryAxis;
  QStringList kategorier;
  for (const TIndeksstolper& st : stolper) kategorier << TilQString(st.figur);
  x->append(kategorier);
  StilAkse(x, QString());
  x->setGridLineVisible(false);
  if (lavest > hoyest) {
    lavest = 90;
    hoyest = 110;
  }
  // The bars start below the lowest figure, so that differences show; at 0
  // when figures go that low.
  const double bunn = lavest > 40 ? std::floor((lavest - 10) / 10) * 10 : std::min(lavest, 0.0);
  QValueAxis* y = Verdiakse(bunn, hoyest + 5, 8, "%.0f", "Indeks");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* serie2 : {static_cast<QAbstractSeries*>(serie), static_cast<QAbstractSeries*>(snitt)}) {
    serie2->attachAxis(x);
    serie2->attachAxis(y);
  }
  // The legend shows the bars' fills and the mean's mark.
  LeggTilTegnforklaring(*chart);
  return chart;
}

QString DiagramTittel(const QChart& chart) { return chart.property(TittelEgenskap).toString(); }

void TegnDiagram(QChart& chart, QPainter& p, const QRectF& mal, const QSizeF& storrelse) {
  // A chart is drawn by a graphics scene: its own, or one lent for the drawing.
  QGraphicsScene* scene = chart.scene();
  std::unique_ptr<QGraphicsScene> laant;
  if (scene == nullptr) {
    laant = std::make_unique<QGraphicsScene>();
    scene = laant.get();
    scene->addItem(&chart);
  }
  const QRectF flate(QPointF(0, 0), storrelse);
  scene->setSceneRect(flate);
  chart.setGeometry(flate);
  // Qt lays the chart and its legend out when their events come; the
  // drawing needs it now.
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    chart.layout()->activate();
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  scene->render(&p, mal, flate, Qt::IgnoreAspectRatio);
  p.restore();
  if (laant) laant->removeItem(&chart);
}

void TegnDiagramside(QChart& chart, QPagedPaintDevice& side, QPainter& p) {
  const QRectF rute(0, 0, side.width(), side.height());
  // The page at the screen's 96 pixels per inch.
  const double skala = 96.0 / side.logicalDpiX();
  TegnDiagram(chart, p, rute, QSizeF(rute.width() * skala, rute.height() * skala));
}

std::optional<TDiagramFil> DiagramFiltype(const fs::path& fil) {
  const QString endelse = QString::fromStdString(fil.extension().string()).toLower();
  if (endelse == QLatin1String(".png")) return TDiagramFil::Png;
  if (endelse == QLatin1String(".svg")) return TDiagramFil::Svg;
  if (endelse == QLatin1String(".pdf")) return TDiagramFil::Pdf;
  return std::nullopt;
}

std::string DiagramFiltypeFeil(const fs::path& fil) {
  return "Kan ikke lagre diagrammet som «" + fil.filename().string() + "»; fila må slutte på .png, .svg eller .pdf.";
}

QPageLayout DiagramSide() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                     QPageLayout::Millimeter);
}

void LagreDiagram(QChart& chart, const fs::path& fil) {
  const std::optional<TDiagramFil> type = DiagramFiltype(fil);
  if (!type) throw IoFeil(DiagramFiltypeFeil(fil));
  const QString tittel = DiagramTittel(chart);
  switch (*type) {
    case TDiagramFil::Png: {
      QImage bilde(DiagramStorrelse * PngSkala, QImage::Format_RGB32);
      bilde.fill(Qt::white);
      // 192 pixels per inch: the picture prints at the size the screen shows it.
      bilde.setDotsPerMeterX(static_cast<int>(std::lround(96.0 * PngSkala / 0.0254)));
      bilde.setDotsPerMeterY(bilde.dotsPerMeterX());
      {
        QPainter p(&bilde);
        TegnDiagram(chart, p, QRectF(QPointF(0, 0), QSizeF(bilde.size())), DiagramStorrelse);
      }
      QBuffer buffer;
      buffer.open(QIODevice::WriteOnly);
      if (!bilde.save(&buffer, "PNG")) throw IoFeil("Kunne ikke tegne diagrammet inn i " + fil.string() + ".");
      SkrivTrygt(fil, std::string_view(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size())));
      return;
    }
    case TDiagramFil::Svg:
      SkrivSvgFil(fil, DiagramStorrelse, 96, tittel, [&](QPainter& p) {
        TegnDiagram(chart, p, QRectF(QPointF(0, 0), QSizeF(DiagramStorrelse)), DiagramStorrelse);
      });
      return;
    case TDiagramFil::Pdf: {
      TPdfOppsett oppsett;
      oppsett.side = DiagramSide();
      oppsett.opplosning = 300;
      oppsett.tittel = tittel;
      oppsett.skaper = QStringLiteral("Hornstad");
      SkrivPdfFil(fil, oppsett, [&](QPdfWriter& pdf, QPainter& p) { TegnDiagramside(chart, pdf, p); });
      return;
    }
  }
}
