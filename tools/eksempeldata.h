// Synthetic ram exports for demos, tests and benchmarks. Deterministic from a
// seed; nothing in them comes from any real register.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "verpost.h"

// The export file Vedder2.Tex for `antall` rams: Windows-1252, CR LF, a header
// line and one line of 50 ';'-separated columns per ram.
std::string LagEksport(int64_t antall, uint64_t froe);

// The records the ram import makes of an export (the lines after the header
// whose judging number is not 0), in order.
std::vector<TVerPost> KonverterEksport(const std::string& eksport);

// An export changed on purpose: ram `hev`'s O-indeks (column 28) raised by
// `okning` and ram `bort`'s line left out (rams counted from 0 after the
// header line); every other line as it was.
std::string EndretEksport(const std::string& eksport, std::size_t hev, int okning, std::size_t bort);

// Writes records as a ram file (196 bytes each), replacing `fil` whole.
void SkrivVerFil(const std::filesystem::path& fil, const std::vector<TVerPost>& poster);

// Writes Vedder2.Tex and the archive Nyverer.Zip holding it into `mappe`; with
// `verfil` also Verene.Dat made from the same rams. Throws IoFeil.
void SkrivEksempeldata(int64_t antall, uint64_t froe, const std::filesystem::path& mappe, bool verfil);
