// The program's charts, made with Qt Charts from the figures of the logic
// (statistikk.h, sammenligning.h): the mean O-indeks by birth year per breed
// (lines), the rams judged per year (bars), the spread of O-indeks in a
// selection (a histogram) and a comparison's indexes against the means of
// the rams' groups (bars with a mark for each mean).
//
// Every chart is drawn by one function, TegnDiagram, whatever it is drawn on:
// the window's chart surface, a PNG picture, an SVG file, a PDF page and the
// printer. The chart is laid out at a size in screen pixels (96 per inch)
// and scaled into the place it is drawn in, so that a page shows what the
// screen shows. Texts are Norwegian, numbers have the program's decimal
// comma ("102,5"), and the series differ in dash style, marker and fill
// pattern as well as in colour, so that a chart reads on paper in black and
// white. A chart of means says in its subtitle how many rams it left out.
//
// Qt Charts draws with QtWidgets (a chart is a QGraphicsWidget): whoever
// draws a chart runs a QApplication.
#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "sammenligning.h"
#include "statistikk.h"
#include "trase.h"

class QChart;
class QPagedPaintDevice;
class QPainter;

// The charts. `rasenavn` names the breeds in the legend.
std::unique_ptr<QChart> LagSnittDiagram(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn);
std::unique_ptr<QChart> LagAntallDiagram(const TStatistikk& s, const TRasevalg& raser, const Trase& rasenavn);
// `hva` says what the rams are, after "Fordeling av O-indeks " ("i katalogens
// utvalg"); `tom`, when the histogram holds no ram, says why instead.
std::unique_ptr<QChart> LagHistogramDiagram(const THistogram& h, const QString& hva, const QString& tom = {});
std::unique_ptr<QChart> LagSammenligningsDiagram(const TSammenligning& s);

// The chart's title (the first line of it), for a file's title and a window.
QString DiagramTittel(const QChart& chart);

// Draws `chart` laid out at `storrelse` (screen pixels) into `mal` on the
// painter, scaled to fit it.
void TegnDiagram(QChart& chart, QPainter& p, const QRectF& mal, const QSizeF& storrelse);
// One page: the chart laid out in the page's printable area as the screen
// would lay it out at that size, on a printer or a PDF writer whose painter
// is `p`.
void TegnDiagramside(QChart& chart, QPagedPaintDevice& side, QPainter& p);

// The files a chart is saved as.
enum class TDiagramFil { Png, Svg, Pdf };
// By the file's extension (.png, .svg, .pdf, any letter case).
std::optional<TDiagramFil> DiagramFiltype(const std::filesystem::path& fil);
// The size a chart is laid out at in a PNG and an SVG file; a PNG has twice
// as many pixels each way (192 per inch), so that it is sharp on paper too.
inline constexpr QSize DiagramStorrelse{960, 600};
inline constexpr int PngSkala = 2;
// A PDF is one A4 page, landscape, 12 mm margins.
QPageLayout DiagramSide();
// Writes the chart into `fil` through the safe-replace file. Throws IoFeil
// (also for a file whose type is not one of those above).
void LagreDiagram(QChart& chart, const std::filesystem::path& fil);
// "Kan ikke lagre diagrammet som «x.gif»; fila må slutte på .png, .svg eller .pdf." (UTF-8)
std::string DiagramFiltypeFeil(const std::filesystem::path& fil);
