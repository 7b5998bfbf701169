// Printing a grid as it stands: a title at the top left, "Side p/n" at the
// top right, the date at the bottom centre, the header rows repeated on every
// page, single borders, centred and shrunk to the page width.
#pragma once

#include <QPagedPaintDevice>
#include <QString>

#include "rutenett.h"

// Prints the grid on `enhet` (a QPrinter or a QPdfWriter) in `skrift`'s family
// and size. Gives the number of pages.
int SkrivRutenett(QPagedPaintDevice& enhet, const TRutenett& g, const QString& tittel, double dato,
                  const QFont& skrift);
