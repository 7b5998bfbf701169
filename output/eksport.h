// The table window's exports: delimited text (semicolon, TAB, TAB with the
// rows joined as comma text, quoted TAB for the spreadsheet program), HTML and
// the clipboard. Everything here works on a TTabell and gives Windows-1252
// bytes; the window shows the save dialog, sets the clipboard (converting to
// Unicode) and opens a written spreadsheet file in its program.
//
// What the window does for one export:
//
//   valg.Forbered(type);                         // the dialog settings stay set
//   const TEksport e = Eksporter(tabell, type);
//   if (!e.dialog) { clipboard = e.Utklipp(); return; }
//   show the dialog with `valg`;
//   if (DialogBekreftet(ok, name)) { SkrivEksport(name, e); if (e.apne) open it; }
//   else clipboard = e.Utklipp();
//
// A failed write throws IoFeil; the old file stays and nothing goes to the
// clipboard.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rutenett.h"
#include "tabell.h"

enum class TEksportType {
  Semikolon,  // "Lagre/Kopier separert med ;"
  Tab,        // "Lagre/kopier TAB-separert"
  TabKomma,   // "TAB med komma som linjeskift": the file holds the lines as one comma text
  Regneark,   // "Eksporter MS Excel": quoted cells, header line, opened after writing
  KopierTab,  // "Kopier tab-sepp" (Ctrl+C): to the clipboard, no dialog
  Html,       // "Lagre/Kopier som HTML"
};

// The marked block of a grid: its selection, which is the current cell when
// nothing is marked, cut to the grid. An empty grid has no block (venstre >
// hoyre).
TOmraade MerketBlokk(const TRutenett& g);

// The lines of a delimited export of the main grid's marked block (not for
// Html): every cell through TrimText, the separator inside a cell made a blank
// (not in the spreadsheet variant, which puts every cell in double quotes and
// doubles the double quotes inside it), the trailing separator removed and
// empty lines dropped.
// The spreadsheet variant starts with a header line from row 0 in the marked
// columns that keeps its trailing TAB.
std::vector<std::string> DelteLinjer(const TTabell& t, TEksportType type);

// Items joined by ","; an item holding a character of code 1 to 32, a double
// quote or a comma is put in double quotes with its double quotes doubled. A
// list of exactly one empty item gives two double quotes.
std::string KommaTekst(const std::vector<std::string>& elementer);

// "&", "<" and ">" as entities, so that a text shows as it is and cannot
// make markup of its own.
std::string HtmlTegn(std::string_view tekst);
// A cell as HTML text: "." for an empty text; format codes 1 to 7 become tags
// around the rest; otherwise Æ Ø Å æ ø å become entities. "&", "<" and ">"
// always do. The result starts with a blank (but for ".").
std::string HtmlTekst(std::string_view tekst);
// "ALIGN=RIGHT" for a cell whose trimmed text starts with '+', '-' or a digit,
// otherwise "ALIGN=LEFT".
std::string HtmlJustering(std::string_view celle);

// The tags that wrap every HTML cell, after the grid's font size.
struct TStorrelsesmerker {
  std::string apner;
  std::string lukker;
};
TStorrelsesmerker Storrelsesmerker(int skriftstorrelse);

// The HTML document, one line per element: head, heading, every header row
// (widths from the main grid's column widths), the marked block, and the
// footer rows filled so far when the footer is shown. Every text from the
// table, the heading and the header cells included, shows as text.
std::vector<std::string> HtmlLinjer(const TTabell& t);
// What a cancelled HTML dialog puts on the clipboard: the document without
// its head (the first six lines) and, when more than one line is left, without
// its last line, so that it can be pasted into another page.
std::vector<std::string> HtmlUtklipp(const std::vector<std::string>& dokument);

// The lines of an export one at a time, as Eksporter(t, type).linjer holds
// them, without holding them: for a table of many rows written to a file or
// the output.
using TLinjemottaker = std::function<void(std::string_view linje)>;
void EksportLinjer(const TTabell& t, TEksportType type, const TLinjemottaker& linje);
// Writes the file a confirmed dialog writes for the export (SkrivEksport's),
// a block of lines at a time (TabKomma's comma text whole). Throws IoFeil.
void SkrivEksportLinjer(const std::filesystem::path& fil, const TTabell& t, TEksportType type);

// Lines as text with CR LF after every line, the last one too: a written
// delimited or HTML file, and the clipboard text (Windows-1252; the window
// converts it to Unicode).
std::string Linjetekst(const std::vector<std::string>& linjer);

// The settings of the window's save dialog. Texts are UTF-8 (they meet only
// the dialog). Each export changes some of them before the dialog is shown,
// and they stay so for the window's later exports; the filter and its entry
// chosen are always those of what the export writes, since the entry chosen
// gives a name typed without an ending its own.
inline constexpr const char* Tekstfilter = "Tekstfil|*.txt;*.tek|Excel eksport|*.Csv";
struct TLagreValg {
  std::string tittel = "Lagre merket, bryt for å kopiere til klippebord";
  std::string filnavn;  // the file name offered
  // Entries as "name|patterns|name|patterns…", patterns parted by ';'.
  std::string filter = Tekstfilter;
  int filterNr = 1;             // the chosen filter entry, from 1
  std::string standardEndelse;  // appended to a name typed without one; empty: none

  void Forbered(TEksportType type);
  // The settings of the PDF's dialog: these settings with the PDF filter,
  // the default extension ".Pdf", the title "Lagre PDF" and the name
  // "Lagre.pdf" offered. Only the default extension stays set afterwards.
  TLagreValg PdfValg() const;
};

// A save dialog counts as confirmed when it was accepted with a file name that
// sorts after a single blank.
bool DialogBekreftet(bool godtatt, std::string_view filnavn);

// One export of a table, ready for the window to carry out.
struct TEksport {
  TEksportType type = TEksportType::Semikolon;
  // The delimited lines, or the HTML document.
  std::vector<std::string> linjer;
  bool dialog = true;  // false: the lines go straight to the clipboard
  bool apne = false;   // the written file is opened in its associated program
  // What it holds: the data rows (a delimited export's header line and the
  // rows that gave no line not counted) and the columns of the marked block;
  // `enCelle` when that block is a single cell, as when nothing is marked.
  int rader = 0;
  int kolonner = 0;
  bool enCelle = false;

  // What a confirmed dialog writes: the lines with CR LF, or for TabKomma
  // the comma text of the lines with no line end.
  std::string Filinnhold() const;
  // What goes to the clipboard without a dialog or when it is cancelled: the
  // lines (TabKomma too), the HTML document without its head.
  std::string Utklipp() const;
};
TEksport Eksporter(const TTabell& t, TEksportType type);

// What the status line says after a save or an export (UTF-8): how many rows
// and columns went to the file named `fil` ("Skrev 12 rader og 3 kolonner til
// Lagre.txt"), or to the clipboard when `fil` is empty. A single cell adds
// that only the current cell went, as when nothing is marked.
std::string Eksportmelding(int rader, int kolonner, bool enCelle, const std::string& fil);
// "12 rader og 3 kolonner", "1 rad og 1 kolonne".
std::string RaderOgKolonner(int rader, int kolonner);
std::string Eksportmelding(const TEksport& e, const std::string& fil);

// Writes the export's file in place of `fil`: beside it and renamed over it,
// so that a failure leaves the old file. Throws IoFeil.
void SkrivEksport(const std::filesystem::path& fil, const TEksport& e);
