// Shared pieces of the fuzz targets: the invariant check and a private
// scratch folder per process.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// A broken invariant stops the run at once, so libFuzzer keeps the input.
#define KREV(betingelse)                                                                 \
  do {                                                                                   \
    if (!(betingelse)) {                                                                 \
      std::fprintf(stderr, "Brutt krav: %s (%s:%d)\n", #betingelse, __FILE__, __LINE__); \
      __builtin_trap();                                                                  \
    }                                                                                    \
  } while (0)

inline std::string_view SomTekst(const uint8_t* data, std::size_t storrelse) {
  return std::string_view(reinterpret_cast<const char*>(data), storrelse);
}

// A folder of this process's own under $TMPDIR (or /tmp), made at the first
// call and removed when the process ends normally. scripts/fuzz points
// TMPDIR into the build folder, so a crash leaves nothing outside it.
inline const std::filesystem::path& Arbeidsmappe() {
  // Never freed, so the exit handler may still use it.
  static const std::filesystem::path* mappe = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string mal = std::string(tmp && *tmp ? tmp : "/tmp") + "/hornstad-fuzz-XXXXXX";
    if (::mkdtemp(mal.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    auto* p = new std::filesystem::path(mal);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Arbeidsmappe(), ec);
    });
    return p;
  }();
  return *mappe;
}

// Writes `innhold` as the whole of `fil`.
inline void SkrivFil(const std::filesystem::path& fil, std::string_view innhold) {
  std::FILE* f = std::fopen(fil.c_str(), "wb");
  if (f == nullptr) {
    std::perror(fil.c_str());
    std::abort();
  }
  if (!innhold.empty() && std::fwrite(innhold.data(), 1, innhold.size(), f) != innhold.size()) std::abort();
  std::fclose(f);
}
