// lag-eksempeldata ANTALL FRØ MAPPE [--verfil]
// Writes a synthetic ram export (Vedder2.Tex) and its archive (Nyverer.Zip).
#include <cstdio>
#include <cstring>
#include <string>

#include "eksempeldata.h"
#include "filer.h"
#include "tekst.h"

int main(int argc, char** argv) {
  bool verfil = false;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--verfil") == 0)
      verfil = true;
    else
      args.emplace_back(argv[i]);
  }
  if (args.size() != 3) {
    std::fprintf(stderr,
                 "Bruk: lag-eksempeldata ANTALL FRØ MAPPE [--verfil]\n"
                 "Lager en oppdiktet væreksport (Vedder2.Tex) og arkivet Nyverer.Zip i MAPPE.\n"
                 "Med --verfil lages også Verene.Dat av de samme værene.\n");
    return 2;
  }
  const int64_t antall = TextToInt(args[0]);
  const auto froe = static_cast<uint64_t>(TextToInt(args[1]));
  if (antall < 0) {
    std::fprintf(stderr, "Antallet kan ikke være negativt.\n");
    return 2;
  }
  try {
    SkrivEksempeldata(antall, froe, args[2], verfil);
  } catch (const IoFeil& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
