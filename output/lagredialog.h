// The program's save dialog for a file of one of several types: the type
// chosen decides the ending of a name typed without one (Lagringsfil), and a
// file that is there already is replaced only when the user says so.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "filtype.h"

class QWidget;

// `forslag` is the file offered (a name, or a path); `valgt` the type chosen
// at first; `standard` the type of a file named without an ending while a
// type that takes any file is chosen. No value when cancelled; otherwise the
// file with its ending, and its type.
std::optional<TLagringsfil> SporLagringsfil(QWidget* eier, const QString& tittel, const QString& forslag,
                                            const std::vector<TFiltype>& typer, int valgt = 0, int standard = 0);
