// The integer readings: TextToInt (every importer) and LesHeltall (the entry
// fields).
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzzhjelp.h"
#include "tekst.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  const std::string_view kutt = inn.substr(0, std::min(inn.size(), MaksTekst));

  const int64_t v = TextToInt(inn);
  // Only the first 255 characters count.
  KREV(TextToInt(kutt) == v);
  // A reading is at most as large as int64 allows on both sides, and reads
  // back from its own text.
  KREV(v != std::numeric_limits<int64_t>::min());
  KREV(TextToInt(IntToText(v)) == v);

  // A plain decimal number is read exactly.
  int64_t eksakt = 0;
  const auto r = std::from_chars(kutt.data(), kutt.data() + kutt.size(), eksakt);
  if (r.ec == std::errc() && r.ptr == kutt.data() + kutt.size() && !kutt.empty() &&
      eksakt != std::numeric_limits<int64_t>::min())
    KREV(v == eksakt);

  bool helt = false;
  const int32_t h = LesHeltall(inn, &helt);
  KREV(LesHeltall(inn.substr(0, std::min<std::size_t>(inn.size(), 30))) == h);
  // A text that reads whole as a 32-bit integer reads the same either way.
  if (helt) KREV(static_cast<int64_t>(h) == TextToInt(inn.substr(0, std::min<std::size_t>(inn.size(), 30))));
  return 0;
}
