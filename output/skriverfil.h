// Printing that the print dialog sent to a file: the same pages are drawn
// into a PDF in memory and written whole in place of that file, as every file
// of the program is, instead of the printer writing the file bit by bit.
#pragma once

#include <functional>

class QPagedPaintDevice;
class QPrinter;

// Draws with `tegn` on the printer, or, when the printer's output is a PDF
// file, on a PDF writer of the same page layout and resolution whose document
// then replaces that file. Throws IoFeil when the file cannot be written.
void SkrivPaaSkriver(QPrinter& skriver, const std::function<void(QPagedPaintDevice&)>& tegn);
