// A small register with a pedigree worked by hand, for the relationship
// windows' tests: 1000 Anton of unknown parents; 2000 Rambo and 3000 Bukk,
// his sons (so half-brothers); 5000 Fremmed, unrelated; and 120 rams of
// unknown parents from 4001 on, so that lookup and catalogue are offered.
//
// A lamb of 2000 and a ewe by 2000 has 25 % (2000 shared); by 3000, or with
// 1000 as her dam's sire, 6,25 % (1000 shared); by 1000, 12,5 %; by 5000, 0.
#pragma once

#include <string>
#include <vector>

#include "verpost.h"

inline TVerPost AvlVer(int32_t nummer, int32_t far, const std::string& navn, int32_t morfar = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Farnr = far;
  p.MorFar = morfar;
  p.Navn.Sett(navn);
  return p;
}

inline std::vector<TVerPost> AvlRegister() {
  std::vector<TVerPost> v = {AvlVer(1000, 0, "ANTON"), AvlVer(2000, 1000, "RAMBO"), AvlVer(3000, 1000, "BUKK"),
                             AvlVer(5000, 0, "FREMMED")};
  for (int32_t i = 1; i <= 120; ++i) v.push_back(AvlVer(4000 + i, 0, "FYLL" + std::to_string(i)));
  return v;
}
