#include "pdffil.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <string_view>

#include "filer.h"

namespace {

void SkrivBuffer(const std::filesystem::path& fil, const QBuffer& buffer) {
  const QByteArray& data = buffer.data();
  SkrivTrygt(fil, std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

[[noreturn]] void KanIkkeTegne(const std::filesystem::path& fil) {
  throw IoFeil("Kan ikke lage fila " + fil.string() + ": tegningen kunne ikke starte. Prøv igjen");
}

}  // namespace

void SkrivPdfFil(const std::filesystem::path& fil, const TPdfOppsett& oppsett,
                 const std::function<void(QPdfWriter&)>& tegn) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(oppsett.opplosning);
    pdf.setPageLayout(oppsett.side);
    pdf.setTitle(oppsett.tittel);
    pdf.setCreator(oppsett.skaper);
    tegn(pdf);
  }
  if (buffer.data().isEmpty()) KanIkkeTegne(fil);
  SkrivBuffer(fil, buffer);
}

void SkrivPdfFil(const std::filesystem::path& fil, const TPdfOppsett& oppsett,
                 const std::function<void(QPdfWriter&, QPainter&)>& tegn) {
  SkrivPdfFil(fil, oppsett, [&](QPdfWriter& pdf) {
    QPainter p;
    if (!p.begin(&pdf)) KanIkkeTegne(fil);
    tegn(pdf, p);
    if (!p.end()) KanIkkeTegne(fil);
  });
}

void SkrivSvgFil(const std::filesystem::path& fil, QSize storrelse, int opplosning, const QString& tittel,
                 const std::function<void(QPainter&)>& tegn) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(storrelse);
    svg.setViewBox(QRect(QPoint(0, 0), storrelse));
    svg.setResolution(opplosning);
    svg.setTitle(tittel);
    QPainter p;
    if (!p.begin(&svg)) KanIkkeTegne(fil);
    tegn(p);
    if (!p.end()) KanIkkeTegne(fil);
  }
  SkrivBuffer(fil, buffer);
}
