// A command of hornstad-cli: its name and help, the options it declares,
// and its run on a data folder with its output on given streams. The tool
// (verktoy.h) finds the command, reads its arguments and runs it; a test can
// run it the same way in its own process.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TOkt;
class TProdusent;

// What a command works on: the data folder and the program's state of it
// (the same object the desktop program holds: its register is opened once,
// at the first call of Register()), and where its output (UTF-8) and its
// messages go: the tool's stdout and stderr, or a test's buffers.
struct TKontekst {
  std::filesystem::path data;
  std::FILE* ut = stdout;
  std::FILE* feil = stderr;
  // Made by TKommando::Start when the caller gives none.
  TOkt* okt = nullptr;

  TOkt& Okt() const { return *okt; }
  // The register of the data folder, loaded at the first call. Throws
  // IoFeil when Verene.Dat cannot be read.
  TProdusent& Register() const;
};

// An option of a command: "--navn", with a value in the next argument or
// without one (a switch), and how the help shows it.
struct TValg {
  std::string_view navn;         // without the dashes
  std::string_view verdi = {};   // the value's placeholder in the help ("FIL", "N"); empty for a switch
  std::string_view omtale = {};  // what it does, in the command's help

  bool MedVerdi() const { return !verdi.empty(); }
};

// A command's arguments as read. Texts are the bytes given on the command
// line.
struct TArgumenter {
  std::vector<std::string> frie;                          // the plain arguments, in their order
  std::vector<std::pair<std::string, std::string>> valg;  // the options in their order: name, value ("" for a switch)

  bool Har(std::string_view navn) const;
  // The value last given to the option; "" when it was not given.
  std::string Verdi(std::string_view navn) const;
};

// Reads the arguments after a command's name for the options it declares
// (Qt's QCommandLineParser: "--navn VERDI" or "--navn=VERDI", options before
// and after plain arguments, "--" ends the options). With no options
// declared, every argument is plain, as given. No value when an argument is
// an option that is not declared, an option lacks its value, or a switch is
// given one.
std::optional<TArgumenter> LesArgumenter(const std::vector<std::string>& argumenter, const std::vector<TValg>& valg);

class TKommando {
 public:
  virtual ~TKommando() = default;

  // The command's word on the command line.
  virtual std::string_view Navn() const = 0;
  // What follows the word in the help: the plain arguments and the options
  // ("NUMMER [--format F] [--ut FIL]"); empty for none.
  virtual std::string_view Kall() const { return {}; }
  // What it does, as running text that the help wraps (a line break in it
  // starts a new line): in lower case and without a full stop, as the tool's
  // help lists it; the command's own help makes sentences of it.
  virtual std::string_view Omtale() const = 0;
  // The line written on stderr, with exit code 2, when the command is used
  // wrongly: "Bruk: hornstad-cli", the word and the call, unless the command
  // says more.
  virtual std::string Bruk() const;
  // The options it takes.
  virtual std::vector<TValg> Valg() const { return {}; }
  // The number of plain arguments it takes; -1 for any number.
  virtual int AntallFrie() const { return -1; }
  // Whether this run measures or draws text (a table laid out, the pedigree
  // drawn, framed pages): the tool then starts with fonts.
  virtual bool TrengerSkrift(const TArgumenter&) const { return false; }
  // Whether this run draws a chart (Qt Charts draws with QtWidgets): the
  // tool then starts a QApplication, without a display.
  virtual bool TrengerVinduer(const TArgumenter&) const { return false; }
  // Runs the command on read arguments. The exit code: 0 done, 1 failed,
  // 2 used wrongly. Throws what the jobs throw (IoFeil and the like); the
  // tool turns that into one line and exit code 1.
  virtual int Kjor(const TKontekst& k, const TArgumenter& a) const = 0;

  // The arguments after the command's name read for its options and counted;
  // no value on wrong use.
  std::optional<TArgumenter> Les(const std::vector<std::string>& argumenter) const;
  // Reads the arguments and runs the command; on wrong use the usage line
  // and 2.
  int Start(const TKontekst& k, const std::vector<std::string>& argumenter) const;
  // The usage line on k.feil; gives 2.
  int FeilBruk(const TKontekst& k) const;

  // Its paragraph under "Kommandoer:" in the tool's --help: the word and the
  // call, then what it does, at the column of the help's descriptions.
  std::string Avsnitt() const;
  // Its own help, `hornstad-cli KOMMANDO --help`: the usage, what it does as
  // sentences, and each option with its description.
  std::string Hjelp() const;
};

// The help's layout, for a terminal of 80 columns: lines of at most
// HjelpBredde characters, descriptions beside their names from column
// HjelpKolonne.
inline constexpr int HjelpBredde = 75;
inline constexpr int HjelpKolonne = 17;

// `tekst` wrapped at its blanks into lines of at most HjelpBredde characters
// (UTF-8 characters counted; a no-break space holds two words together and
// comes out as a blank; a line break starts a new line), all at `kolonne`.
// A non-empty `hode` (with its own indent) starts the first line, with the
// text beside it when there is room for two blanks between them before
// `kolonne`, and above it otherwise. Every line ends with a line break.
std::string Oppstilt(std::string_view hode, std::string_view tekst, int kolonne);

// The options as a block of the help: "  --navn VERDI" and the description
// beside it, at HjelpKolonne or further in when the names need it.
std::string Valgliste(const std::vector<TValg>& valg);
