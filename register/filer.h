// File-system helpers shared by the register, the imports and the exports.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// An input/output error, with a Norwegian message (UTF-8) the user interface
// and the command-line tool can show.
class IoFeil : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file `navn` in `mappe`, matched without regard to letter case as the
// program's files are on the desktop it came from. An exact match wins. When
// no file matches, the path with `navn` as given.
std::filesystem::path FinnFil(const std::filesystem::path& mappe, std::string_view navn);

// The operating system's text for the last error (errno).
std::string SystemFeil(int feilkode);

// Reads a whole file. Throws IoFeil when it cannot.
std::string LesHeleFila(const std::filesystem::path& fil);

// Writes `innhold` beside `maal` and renames it over `maal` when complete, so
// that a failure leaves the old file as it was. Throws IoFeil.
void SkrivTrygt(const std::filesystem::path& maal, std::string_view innhold);
