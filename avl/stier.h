// The shared ancestors of a mating as a breeder reads them: Wright's paths.
//
// A lamb's coefficient is the sum, over every pair of paths that lead from
// its sire and from its dam up to one common ancestor A and have no animal
// but A in common, of (1/2)^(n1+n2+1)·(1 + F_A), n1 and n2 the generations
// from each parent to A. Summed per ancestor, this is each ancestor's share
// as a breeder counts it: a ram on his own daughter gives the ram 25 % and
// nothing to the ram's parents, whose paths to the lamb all pass through him.
//
// The paths are followed back a bounded number of generations from each
// parent, and fewer when the pairs of paths would be too many, so the work
// stays small in deep pedigrees that are much inbred; what the longer paths
// give is the exact figure less the shares found.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "innavl.h"

// Where the paths of one parent of the lamb start: an animal of the pedigree
// and the generations from that parent to it (0 for the parent itself; a ewe
// outside the pedigree starts at her sire with 1, her dam's sire with 2 and
// her dam's dam's sire with 3).
struct TStiStart {
  int32_t dyr = -1;
  int ledd = 0;
};

struct TStiAner {
  std::vector<TFellesAne> aner;  // every common ancestor found, in pedigree order
  int ledd = 0;                  // the generations followed
  int64_t par = 0;               // the pairs of paths looked at
};

// The common ancestors of the lamb of the parents whose paths start at `far`
// and at `mor` (animals -1 are skipped), with the shares their pairs of paths
// give. Uses the pedigree's own coefficients for 1 + F_A.
TStiAner StiAner(const TInnavl& innavl, std::span<const TStiStart> far, std::span<const TStiStart> mor,
                 const TStiValg& valg = {});
