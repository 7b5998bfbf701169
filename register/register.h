// The ram register: Verene.Dat in the data folder, opened by a register
// object, which holds the number index of the loaded file and makes its name
// index when a name is first looked up.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lam.h"
#include "verpost.h"

// The register file's name in the data folder.
inline constexpr const char* VerFilNavn = "Verene.Dat";

// The 100-ram rule: a register of this many rams or fewer is no working
// register (a new data folder, or a file cut short). The main window keeps
// its lookup and catalogue closed until the register holds more rams than
// this, and LocateNumber, which the insemination grid and the record editing
// rely on, finds nothing while it holds fewer.
inline constexpr std::size_t MinsteVerregister = 100;

// An item of a caller's list: a text that carries a judging number.
struct TTekstElement {
  std::string tekst;  // Windows-1252
  int32_t nummer = 0;
  int32_t indeks = -1;  // the record the text was made from, when a register search made it
};

// Upper-cased names with their judging numbers and record indexes, in file
// order. The names are kept in one block so that a search runs over
// contiguous memory.
class TRamNames {
 public:
  void Clear();
  void Reserve(std::size_t antall, std::size_t bytes);
  // Adds the name of record `post`, which comes after every record added before.
  void Add(std::string_view navn, int32_t nummer, int32_t post);
  // The entry of record `post` becomes `navn` (upper-cased) and `nummer`; a
  // name shorter than 3 characters takes the record out of the index.
  void Replace(int32_t post, std::string_view navn, int32_t nummer);
  std::size_t Count() const { return nummer_.size(); }
  std::string_view Name(std::size_t i) const;
  int32_t Number(std::size_t i) const { return nummer_[i]; }
  int32_t Record(std::size_t i) const { return post_[i]; }
  // Calls f(i) for every entry whose name contains `del`, in order.
  template <typename F>
  void ForEachContaining(std::string_view del, F&& f) const;

 private:
  std::size_t Finn(std::string_view del, std::size_t fraEntry) const;

  std::string blokk_;
  std::vector<uint32_t> start_;  // start of entry i in blokk_; one more at the end
  std::vector<int32_t> nummer_;
  std::vector<int32_t> post_;  // record index of entry i, ascending
};

template <typename F>
void TRamNames::ForEachContaining(std::string_view del, F&& f) const {
  if (del.empty()) return;
  for (std::size_t i = Finn(del, 0); i < Count(); i = Finn(del, i + 1)) f(i);
}

// Judging number -> highest record index holding it. Open addressing; built at
// load, rebuilt when a write changes a stored number.
class TNummerIndeks {
 public:
  void Bygg(const std::vector<int32_t>& nummer);
  void Clear();
  // The highest index whose number is `nummer`, or -1.
  int32_t Finn(int32_t nummer) const;

 private:
  struct Plass {
    int32_t nummer;  // 0: free
    int32_t indeks;
  };
  std::vector<Plass> plass_;
  uint32_t maske_ = 0;
  int skift_ = 32;
};

// The data folder for a program whose file lies in `programMappe`: that folder
// when it is writable and not the folder of an installed program (a system
// folder such as /usr/bin or /opt/…, even when run by root, or a `bin` folder
// such as ~/.local/bin), otherwise the per-user data folder
// (~/.local/share/Hornstad), created when missing.
std::filesystem::path ResolveDataFolder(std::string_view programMappe);

// The records of one Verene.Dat in memory: a read-only mapping of the file.
// A holder keeps the mapping valid, also after the register has loaded a
// replaced file (an import renames a new file over the old one; the old
// file's records stay readable until its last holder lets go). A write
// through the register (SkrivVed) shows in the mapping at once.
class TPostKart {
 public:
  TPostKart(const TPostKart&) = delete;
  TPostKart& operator=(const TPostKart&) = delete;
  ~TPostKart();

  std::span<const TVerPost> Poster() const { return {poster_, antall_}; }
  std::size_t Antall() const { return antall_; }

 private:
  friend class TProdusent;
  TPostKart() = default;
  // Maps the first `antall` records of the open file `fd`; null, with errno
  // set, when that fails.
  static std::shared_ptr<const TPostKart> Kartlegg(int fd, std::size_t antall);

  const TVerPost* poster_ = nullptr;
  std::size_t antall_ = 0;
  void* kart_ = nullptr;
  std::size_t lengde_ = 0;
};

// The register object of the data folder `dataMappe` (no trailing '/'; the
// program sets it once at start, from ResolveDataFolder or the command
// line, and every register file is named relative to it). It holds
// Verene.Dat open from LoadRegister until it is destroyed, its records
// mapped into memory, so reading a record makes no system call, and it owns
// the number and name indexes of the loaded file.
class TProdusent {
 public:
  explicit TProdusent(std::filesystem::path dataMappe);
  ~TProdusent();
  TProdusent(const TProdusent&) = delete;
  TProdusent& operator=(const TProdusent&) = delete;

  const std::filesystem::path& DataMappe() const { return dataMappe_; }

  // Opens Verene.Dat in the data folder and builds RamNumbers (RamNames are
  // made when first asked for).
  // A missing file gives an empty register. A trailing part of less than one
  // record is not read, and the file is left as it is (see Restbytes).
  // Throws IoFeil when the file exists but cannot be read; the register is
  // then empty.
  void LoadRegister();
  int32_t RecordCount() const { return antall_; }
  // Every record's judging number, in file order.
  const std::vector<int32_t>& RamNumbers() const { return ramNumbers_; }
  // The names of three characters or more, upper-cased, in file order. Made
  // from the records on first use after a load (a command that never looks
  // a name up never pays for them); the register is used from one thread.
  const TRamNames& RamNames() const;
  // The bytes after the last whole record of the loaded file (0 to 195).
  int32_t Restbytes() const { return rest_; }
  // The warning for the user about a file with such bytes (UTF-8); empty
  // when the file holds whole records only.
  std::string Advarsel() const;
  // Throws IoFeil for an index outside the file.
  TVerPost ReadAt(int32_t indeks) const;
  // Every record in file order, from memory; empty for an empty register.
  // The span is valid while the register keeps this file loaded; hold
  // Kart() to keep it beyond that.
  std::span<const TVerPost> Poster() const;
  std::shared_ptr<const TPostKart> Kart() const { return kart_; }
  TVerPost FindByNumber(int32_t nummer);
  // The record FindByNumber gives, without making it the current ram: a
  // lookup that changes nothing, safe from several threads at once.
  TVerPost LesNummer(int32_t nummer) const;
  // Each item carries the judging number and the record index of its name.
  int32_t FindByName(std::string_view soek, std::vector<TTekstElement>& liste) const;
  bool LocateNumber(int32_t nummer);
  // The index of the record FindByNumber gives (the last with the number),
  // or -1; moves nothing.
  int32_t FinnIndeks(int32_t nummer) const;
  // Writes `post` over the record at `indeks`. Throws IoFeil when the index
  // is outside the file, the post has number 0, the file is read-only, the
  // write fails, or Verene.Dat is no longer the file this register loaded
  // (another program put a new register in its place: the write would be
  // lost with the old file). The number and name indexes follow the record
  // written.
  void SkrivVed(int32_t indeks, const TVerPost& post);
  // Whether Verene.Dat in the data folder is still the file loaded (not
  // replaced or removed by another program since).
  bool FilaErLastet() const;

  // The record the last lookup by number found (FindByNumber, LocateNumber),
  // or -1; the lookup window's own cursor.
  int32_t CurrentRamIndex = -1;

  // Opens Produsenter.Dat in the data folder for reading; a missing file leaves
  // the producer file closed. Throws IoFeil when it exists but cannot be read.
  void OpenProducers();
  // The producer record at `indeks`, or all zero bytes when the index is
  // outside the file or the producer file is closed.
  TProdusentPost ReadProducer(int32_t indeks) const;

 private:
  void Lukk();

  std::filesystem::path dataMappe_;
  std::vector<int32_t> ramNumbers_;
  mutable TRamNames ramNames_;
  mutable bool navnLaget_ = false;  // ramNames_ made for the loaded file
  int fd_ = -1;
  std::shared_ptr<const TPostKart> kart_;
  bool skrivbar_ = false;
  int32_t antall_ = 0;
  int32_t rest_ = 0;
  std::filesystem::path fil_;
  unsigned long long enhet_ = 0, inode_ = 0;  // the identity of the file loaded
  TNummerIndeks indeks_;
  int prodFd_ = -1;
  int32_t prodAntall_ = 0;
};
