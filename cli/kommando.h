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
// without one (a switch).
struct TValg {
  const char* navn;  // without the dashes
  bool medVerdi = false;
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
  // Its paragraph under "Kommandoer:" in the tool's --help, every line ended
  // by a line break.
  virtual std::string_view Hjelp() const = 0;
  // The line written on stderr, with exit code 2, when the command is used
  // wrongly; empty for one that takes whatever it is given.
  virtual std::string_view Bruk() const { return {}; }
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
};
