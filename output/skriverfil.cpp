#include "skriverfil.h"

#include <QPdfWriter>
#include <QPrinter>

#include "pdffil.h"

void SkrivPaaSkriver(QPrinter& skriver, const std::function<void(QPagedPaintDevice&)>& tegn) {
  const QString fil = skriver.outputFileName();
  if (fil.isEmpty() || skriver.outputFormat() != QPrinter::PdfFormat) {
    tegn(skriver);
    return;
  }
  TPdfOppsett oppsett;
  oppsett.side = skriver.pageLayout();
  oppsett.opplosning = skriver.resolution();
  oppsett.tittel = skriver.docName();
  oppsett.skaper = skriver.creator();
  SkrivPdfFil(std::filesystem::path(fil.toStdString()), oppsett, [&](QPdfWriter& pdf) { tegn(pdf); });
}
