// Synthetic registers for the benchmarks, made once and kept in
// $TMPDIR/hornstad-bench/<antall>.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "eksempeldata.h"
#include "register.h"

// The folder holding Verene.Dat of `antall` generated rams.
inline std::filesystem::path Registermappe(int64_t antall) {
  const std::filesystem::path mappe =
      std::filesystem::temp_directory_path() / "hornstad-bench" / std::to_string(antall);
  if (!std::filesystem::exists(mappe / VerFilNavn)) {
    std::filesystem::create_directories(mappe);
    SkrivVerFil(mappe / VerFilNavn, KonverterEksport(LagEksport(antall, 2026)));
  }
  return mappe;
}

// The register of `antall` rams, loaded; one at a time, so that a run holds
// one register's mapping and indexes.
inline TProdusent& Register(int64_t antall) {
  static std::unique_ptr<TProdusent> reg;
  static int64_t gjeldende = -1;
  if (gjeldende != antall) {
    reg = std::make_unique<TProdusent>(Registermappe(antall));
    reg->LoadRegister();
    gjeldende = antall;
  }
  return *reg;
}
