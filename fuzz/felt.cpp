// The semicolon files' fields: any cells written by LeggTilFelt read back
// the same through DelFelt, and any line reads without harm.
#include "felt.h"

#include <cstdint>
#include <string>
#include <vector>

#include "fuzzhjelp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);

  // Any line: cells are read (at least one), or a quote that does not end
  // is told.
  std::vector<std::string> felt;
  if (DelFelt(inn, felt)) KREV(!felt.empty());

  // The input cut at each NUL into cells, written and read back.
  std::vector<std::string> celler(1);
  for (char c : inn) {
    if (c == '\0')
      celler.emplace_back();
    else if (c != '\r' && c != '\n')
      celler.back() += c;
  }
  std::string linje;
  for (std::size_t i = 0; i < celler.size(); ++i) {
    if (i > 0) linje += ';';
    LeggTilFelt(linje, celler[i]);
  }
  std::vector<std::string> lest;
  KREV(DelFelt(linje, lest));
  KREV(lest == celler);

  // A judging number, when it reads, reads back from its digits.
  if (const auto n = LesKaaringsnummer(inn)) KREV(LesKaaringsnummer(std::to_string(*n)) == n);
  return 0;
}
