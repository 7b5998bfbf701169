// hornstad-cli as a whole: its commands, its help, and a run of the tool.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "kommando.h"

// The tool's commands, in the order of its help (kommandoer.cpp).
const std::vector<const TKommando*>& Kommandoer();
// The command with the name; nullptr for none.
const TKommando* FinnKommando(std::string_view navn);

// The text of --help: the tool's use and options, then each command's
// paragraph (TKommando::Avsnitt).
std::string Hjelpetekst();

// Runs `kommando` with the arguments after its name. A failure it throws
// becomes one line on k.feil and 1: an IoFeil its message, a lack of memory
// and any other exception a line of their own.
int KjorKommando(const TKommando& kommando, const TKontekst& k, const std::vector<std::string>& argumenter);

// One run of the tool with its arguments (without the program's name):
// "--help" or "-h" anywhere gives the help, the command's own when it
// follows a command's word and the tool's otherwise; "--data MAPPE" anywhere names the
// data folder (otherwise the program's own rule gives it); the first other
// argument names the command, the rest are its arguments. Output and
// messages go to `ut` and `feil`. The exit code: 0 done, 1 failed, 2 used
// wrongly.
int KjorVerktoy(const std::vector<std::string>& argumenter, std::FILE* ut, std::FILE* feil);

// Whether that run lays out or draws text and so needs fonts (a
// QGuiApplication, not only a QCoreApplication), as its command and the
// command's arguments tell. Anything that does not read as a command and its
// arguments says yes: Qt then takes out its own options (-platform and the
// like) as it always did, and the tool reads the rest.
bool TrengerSkrift(const std::vector<std::string>& argumenter);
// Whether that run draws a chart and so needs QtWidgets (a QApplication);
// only a command that reads and asks for it.
bool TrengerVinduer(const std::vector<std::string>& argumenter);
