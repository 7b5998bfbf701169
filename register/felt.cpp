#include "felt.h"

#include <unordered_set>

#include "cp1252.h"

bool DelFelt(std::string_view linje, std::vector<std::string>& felt) {
  felt.clear();
  std::size_t i = 0;
  while (true) {
    std::string celle;
    std::size_t j = i;
    while (j < linje.size() && (linje[j] == ' ' || linje[j] == '\t')) ++j;
    if (j < linje.size() && linje[j] == '"') {
      i = j + 1;
      bool slutt = false;
      while (i < linje.size()) {
        if (linje[i] == '"') {
          if (i + 1 < linje.size() && linje[i + 1] == '"') {
            celle += '"';
            i += 2;
            continue;
          }
          ++i;
          slutt = true;
          break;
        }
        celle += linje[i++];
      }
      if (!slutt) return false;
    }
    while (i < linje.size() && linje[i] != ';') celle += linje[i++];
    felt.push_back(std::move(celle));
    if (i >= linje.size()) return true;
    ++i;  // the ';'
  }
}

void LeggTilFelt(std::string& linje, std::string_view celle) {
  const bool blank = !celle.empty() && (celle.front() == ' ' || celle.front() == '\t' || celle.back() == ' ' ||
                                        celle.back() == '\t');
  if (!blank && celle.find_first_of(";\"") == std::string_view::npos) {
    linje += celle;
    return;
  }
  linje += '"';
  for (char c : celle) {
    if (c == '"') linje += '"';
    linje += c;
  }
  linje += '"';
}

std::optional<int32_t> LesKaaringsnummer(std::string_view tekst) {
  int64_t v = 0;
  int siffer = 0;
  for (unsigned char c : tekst) {
    if (c == ' ' || c == '\t' || c == 0xA0) continue;
    if (c < '0' || c > '9') return std::nullopt;
    if (v == 0 && c == '0') continue;  // leading zeros count for nothing
    if (++siffer > 10) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::string TolkNummerliste(std::string_view tekst, std::vector<int32_t>& nummer) {
  std::unordered_set<int32_t> har(nummer.begin(), nummer.end());
  std::size_t i = 0;
  const auto skille = [](char c) { return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (i < tekst.size()) {
    while (i < tekst.size() && skille(tekst[i])) ++i;
    const std::size_t start = i;
    while (i < tekst.size() && !skille(tekst[i])) ++i;
    if (i == start) break;
    const std::string_view ord = tekst.substr(start, i - start);
    const auto n = LesKaaringsnummer(ord);
    if (!n || *n < 1) return Utf8TilCp1252("«") + std::string(ord) + Utf8TilCp1252("» er ikke et kåringsnummer.");
    if (har.insert(*n).second) nummer.push_back(*n);
  }
  return {};
}
