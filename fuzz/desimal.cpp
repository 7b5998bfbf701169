// The decimal reading TextToReal: decimal comma or point, bad characters
// dropped, overflow read as 0.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzzhjelp.h"
#include "tekst.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  const std::string_view kutt = inn.substr(0, std::min(inn.size(), MaksTekst));

  const float v = TextToReal(inn);
  KREV(std::isfinite(v));
  KREV(std::fabs(v) <= FLT_MAX);
  KREV(TextToReal(kutt) == v);  // only the first 255 characters count

  // The first comma is the decimal mark: with a point instead it reads the same.
  std::string punkt(kutt);
  const std::size_t komma = punkt.find(',');
  if (komma != std::string::npos && punkt.find('.') == std::string::npos) {
    punkt[komma] = '.';
    KREV(TextToReal(punkt) == v);
  }

  // A short plain integer is read exactly.
  if (!kutt.empty() && kutt.size() <= 7 && kutt.find_first_not_of("0123456789") == std::string_view::npos)
    KREV(v == static_cast<float>(TextToInt(kutt)));
  return 0;
}
