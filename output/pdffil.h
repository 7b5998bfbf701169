// The program's PDF and SVG files are drawn in memory first and then written
// whole through SkrivTrygt: a failure at any point leaves an older file of the
// same name as it was, and never a half-written one.
#pragma once

#include <QPageLayout>
#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>

class QPainter;
class QPdfWriter;

struct TPdfOppsett {
  QPageLayout side;     // page size, orientation and margins
  int opplosning = 96;  // dots per inch of the drawing
  QString tittel;
  QString skaper;
};

// Draws a PDF with `tegn`, which paints on the writer it is given (and starts
// its pages with newPage), and writes it in place of `fil`. Throws IoFeil.
void SkrivPdfFil(const std::filesystem::path& fil, const TPdfOppsett& oppsett,
                 const std::function<void(QPdfWriter&)>& tegn);
// The same with a painter already active on the writer.
void SkrivPdfFil(const std::filesystem::path& fil, const TPdfOppsett& oppsett,
                 const std::function<void(QPdfWriter&, QPainter&)>& tegn);

// Draws an SVG picture of `storrelse` pixels (its view box the same) with
// `tegn` and writes it in place of `fil`. Throws IoFeil.
void SkrivSvgFil(const std::filesystem::path& fil, QSize storrelse, int opplosning, const QString& tittel,
                 const std::function<void(QPainter&)>& tegn);
