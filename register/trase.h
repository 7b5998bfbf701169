// The breed table and the county table: names for the codes of a ram record.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The file of breed names, looked for in the current working directory.
inline constexpr const char* RaseFilNavn = "Rasene.Nav";

// The 27 built-in breed names (Windows-1252), codes 0 to 26.
const std::vector<std::string>& InnebygdeRaser();
// A built-in breed name by code, or the empty text outside 0 to 26. The
// catalogue's table output reads these whatever Rasene.Nav holds.
std::string InnebygdRase(int kode);

class Trase {
 public:
  // Reads Rasene.Nav when it exists (one name a line, CR LF or LF), otherwise
  // takes the built-in names. A file that exists but cannot be read leaves the
  // built-in names in place and sets Feil().
  Trase();

  std::string BreedName(int32_t kode) const;
  int32_t BreedCount() const { return static_cast<int32_t>(navn_.size()); }
  // The message of a failed read of Rasene.Nav (UTF-8), or empty.
  const std::string& Feil() const { return feil_; }

 private:
  std::vector<std::string> navn_;
  std::string feil_;
};

// The 21 items of the county list (Windows-1252): item i is county i, item 0
// stands for all counties.
const std::array<std::string, 21>& FylkeListe();

// The county name for a county number, or for a producer number (above 99,
// whose first two of ten digits are the county).
std::string CountyName(int64_t nummer);
