// The pedigree of the register: every ram, every sire that has no record of
// its own, and the dams the records point at, with their parents, in an order
// where parents come before their offspring. Built in memory from the
// records; nothing is stored.
//
// The rules:
// - A ram is a judging number with a record; a number stored twice is the
//   record FindByNumber gives (the last one in the file).
// - A ram's sire is the animal with the judging number Farnr. A number that no
//   record has is an animal of unknown parents; every reference to it is the
//   same animal.
// - A ram's dam: rams with the same Mornr above 0, the same MorFar and the same
//   stored Fodebuskap share one dam. Any other dam is an animal of her own. A
//   dam's sire is MorFar (0: unknown); her dam is unknown. A dam of whom
//   nothing is known (Mornr not above 0 and MorFar 0) is left out: she is an
//   unknown parent.
// - The order of the records means nothing (but for a number stored twice).
// - A ram that is its own ancestor: a link lies on a loop when the parent
//   descends from the animal. Of those links, each that goes to a parent
//   coming after the animal is treated as unknown and counted; every loop has
//   one. A ram comes by its judging number, a dam by the lowest number among
//   her offspring (just before it), a number without a record by its first
//   offspring. Where numbers follow the generations, the link cut is the one
//   from an older ram to a younger parent.
//
// The animals are ordered so that each comes as late as its offspring allow
// and no earlier than its parents: by the places above, an animal whose
// parents are not yet taken following the last of them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "register.h"
#include "verpost.h"

enum class TDyrSlag : uint8_t {
  Ver,        // a ram with a record
  UkjentVer,  // a judging number without a record (a sire or a dam's sire)
  Mor,        // a dam
};

class TStamtavle {
 public:
  TStamtavle() = default;
  // Built from every record in file order: the register's (TProdusent::Poster)
  // or records held in memory.
  explicit TStamtavle(std::span<const TVerPost> poster);

  // Animals are numbered 0 to Antall() - 1; parents have lower numbers than
  // their offspring. -1 stands for an unknown parent.
  int32_t Antall() const { return static_cast<int32_t>(far_.size()); }
  int32_t Far(int32_t dyr) const { return far_[static_cast<std::size_t>(dyr)]; }
  int32_t Mor(int32_t dyr) const { return mor_[static_cast<std::size_t>(dyr)]; }
  TDyrSlag Slag(int32_t dyr) const { return slag_[static_cast<std::size_t>(dyr)]; }
  // A ram's judging number; a dam's Mornr (0 when she has none).
  int32_t Nummer(int32_t dyr) const { return nummer_[static_cast<std::size_t>(dyr)]; }
  // A ram's record index; -1 for any other animal.
  int32_t Post(int32_t dyr) const { return Slag(dyr) == TDyrSlag::Ver ? ekstra_[static_cast<std::size_t>(dyr)] : -1; }
  // A dam's offspring with the lowest judging number; 0 for any other animal.
  int32_t ForsteAvkom(int32_t dyr) const {
    return Slag(dyr) == TDyrSlag::Mor ? ekstra_[static_cast<std::size_t>(dyr)] : 0;
  }
  // The animal with a judging number (a ram, or a number without a record), or -1.
  int32_t Finn(int32_t nummer) const;
  // The ram whose record is at that index, or -1 for a record that a later
  // one with the same number replaces.
  int32_t DyrForPost(int32_t post) const { return dyrForPost_[static_cast<std::size_t>(post)]; }
  // An animal counts as known in a pedigree when it is a judging number, or a
  // dam with a Mornr or a known sire.
  bool Kjent(int32_t dyr) const;

  // The animals given (numbered as here; -1 and numbers out of range are
  // skipped) with all their ancestors, as a pedigree of its own in the same
  // order: the same judging numbers, kinds, records, dams and loop count.
  // An animal's coefficient depends on its ancestors only, so every animal in
  // it has the coefficient it has in the whole pedigree.
  TStamtavle Aner(std::span<const int32_t> dyr) const;

  // Loop links cut.
  int32_t Sloyfer() const { return sloyfer_; }
  // Records read.
  int32_t Poster() const { return poster_; }

 private:
  std::vector<int32_t> far_, mor_, nummer_, ekstra_, dyrForPost_;
  std::vector<TDyrSlag> slag_;
  TNummerIndeks indeks_;
  int32_t sloyfer_ = 0;
  int32_t poster_ = 0;
};

// The message about loop links for the window and for stderr (Windows-1252);
// empty when there are none.
std::string SloyfeMelding(int32_t sloyfer);
