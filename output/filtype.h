// The file types a save dialog offers, and the file it gives: the type the
// user chose decides the ending of a name typed without one, in every save
// dialog of the program.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A type as the dialog lists it: its name and its endings, the first the one
// given ("Tekstfil", {".txt", ".tek"}); a type without endings takes any
// file ("Alle filer").
struct TFiltype {
  QString navn;
  QStringList endelser;
};

// The dialog's name filters: "Tekstfil (*.txt *.tek)", "Alle filer (*)".
QStringList Navnefiltre(const std::vector<TFiltype>& typer);
// The types of a filter written "name|patterns|name|patterns", patterns
// parted by ';' ("Tekstfil|*.txt;*.tek|Excel eksport|*.Csv").
std::vector<TFiltype> FiltyperAv(const QString& filter);

// A save dialog's answer: the file, and the type chosen in it (from 0).
struct TLagringsfil {
  QString fil;
  int type = 0;
  bool operator==(const TLagringsfil&) const = default;
};

// The file a save dialog's answer names, and its type. A name whose ending
// (any letter case) is one of the types' keeps it, and the file is of that
// type, whatever type was chosen: the user typed it. Any other name (none, or
// a dot that is no type's, as in "Plan 12.03") gets the first ending of the
// type chosen, or of the type `standard` when the type chosen takes any file.
TLagringsfil Lagringsfil(const TLagringsfil& svar, const std::vector<TFiltype>& typer, int standard = 0);
