// A document of numbered pages that a window shows and prints without
// knowing what is on them: it tells how many pages it has and draws page N
// to fill a surface of a given size. The same drawing serves the screen, a
// printer page, a PDF page, an SVG picture and a bitmap.
#pragma once

#include <QRect>
#include <functional>

class QPagedPaintDevice;
class QPainter;

class TSidedokument {
 public:
  TSidedokument() = default;
  TSidedokument(const TSidedokument&) = delete;
  TSidedokument& operator=(const TSidedokument&) = delete;
  virtual ~TSidedokument() = default;

  // The number of pages, at least 1.
  virtual int Sider() const = 0;
  // Draws page `side` (from 1) to fill `bredde` x `hoyde` device units of the
  // painter's device.
  virtual void TegnSide(QPainter& p, int bredde, int hoyde, int side) const = 0;
  // The same on a window's preview surface: the page as printed unless a
  // document draws the screen otherwise.
  virtual void TegnSkjerm(QPainter& p, int bredde, int hoyde, int side) const { TegnSide(p, bredde, hoyde, side); }
};

// Prints pages `fra` to `til` of `dokument` with `p`, which is active on
// `enhet`: each page on a device page of its own, the page drawn to fill
// `flate` (its size, moved to its corner). `fremdrift` is told the page
// before it is drawn.
void SkrivSider(QPainter& p, QPagedPaintDevice& enhet, const TSidedokument& dokument, int fra, int til,
                const QRect& flate, const std::function<void(int side)>& fremdrift = {});
