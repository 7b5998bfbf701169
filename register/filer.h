// File-system helpers shared by the register, the imports and the exports.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// An input/output error, with a Norwegian message (UTF-8) the user interface
// and the command-line tool can show.
class IoFeil : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file `navn` in `mappe`, matched without regard to letter case as the
// program's files are on the desktop it came from. An exact match wins. When
// no file matches, the path with `navn` as given.
std::filesystem::path FinnFil(const std::filesystem::path& mappe, std::string_view navn);

// A Norwegian text for an error code of the operating system (errno) that
// says what went wrong and, where the user can, what to do.
std::string SystemFeil(int feilkode);

// Reads a whole file. Throws IoFeil when it cannot.
std::string LesHeleFila(const std::filesystem::path& fil);

// Which file a path names and how it stood, so that a file put in its place
// (a rename over it) or written since is told from the one that was there.
struct TFilmerke {
  bool finnes = false;
  unsigned long long enhet = 0;
  unsigned long long inode = 0;
  long long storrelse = 0;
  long long endret = 0;  // last change, in nanoseconds
  // The same file (not one put in its place); it may have been written to.
  bool SammeFil(const TFilmerke& m) const { return finnes == m.finnes && enhet == m.enhet && inode == m.inode; }
  bool operator==(const TFilmerke&) const = default;
};
TFilmerke Filmerke(const std::filesystem::path& fil);

// A text file as the program read it last: whether it was there and its
// bytes, so that a change made by another program (a second copy, the
// command-line tool, an editor) is told before the file is written over.
struct TLestTekst {
  bool fantes = false;
  std::string tekst;
  bool operator==(const TLestTekst&) const = default;
};
// Reads the file; a missing file reads as not there. Throws IoFeil when it
// exists but cannot be read.
TLestTekst LesTekstfil(const std::filesystem::path& fil);

// Reads exactly `storrelse` bytes at `pos` of the open file `fd` into `buf`,
// retrying short and interrupted reads. Returns 0, or the errno of the
// failure (EIO when the file ends first).
int LesVed(int fd, void* buf, std::size_t storrelse, long long pos);

// A file that replaces `maal` whole or not at all: it is written beside
// `maal` (named `maal` plus `endelse`) and renamed over it by Fullfor. Until
// then `maal` is as it was, and a file beside it that was not completed is
// removed when the object goes. Errors throw IoFeil with a message naming
// `hva` ("fila <maal>" when empty). After an error every later Skriv and
// Fullfor throws it again, so a file that missed a part never replaces
// `maal`. When another writer has put its own file beside `maal` in the
// meantime, Fullfor fails instead of renaming that file, and it is not
// removed.
class TTryggFil {
 public:
  explicit TTryggFil(std::filesystem::path maal, std::string_view endelse = ".ny", std::string hva = {});
  ~TTryggFil();
  TTryggFil(const TTryggFil&) = delete;
  TTryggFil& operator=(const TTryggFil&) = delete;

  // Appends; the file beside is made at the first call.
  void Skriv(std::string_view data);
  // Makes the file beside durable, so that little more than the rename is
  // left to Fullfor: two files can be made whole first and renamed together.
  // Nothing more can be written.
  void Klargjor();
  // Makes the file durable (unless Klargjor did) and renames it over `maal`.
  void Fullfor();
  // For a file the program makes anew from the register every time (the
  // catalogue listing): Fullfor still renames only a whole file over `maal`,
  // but does not wait for the disk first. A crash of the machine itself may
  // then leave an empty or older file; it is remade by the next run.
  void UtenDiskventing() { synk_ = false; }
  const std::filesystem::path& Sti() const { return sti_; }

 private:
  void Apne();
  [[noreturn]] void Feil(int kode);

  // Does the file beside `maal` still have the identity of the one this object made?
  bool ErVaar() const;
  // Throws when it does not.
  void AndreSkriver();

  std::filesystem::path maal_;
  std::filesystem::path sti_;
  std::string hva_;
  std::string feil_;  // the message of the first error
  int fd_ = -1;
  bool ferdig_ = false;
  bool klar_ = false;  // Klargjor is done: the file beside is whole
  bool synk_ = true;
  bool laget_ = false;  // the file beside was made; enhet_ and inode_ identify it
  unsigned long long enhet_ = 0;
  unsigned long long inode_ = 0;
};

// Gathers fixed records and hands them to a TTryggFil in large blocks.
class TBlokkskriver {
 public:
  explicit TBlokkskriver(TTryggFil& fil) : fil_(fil) {}
  void Legg(const void* post, std::size_t storrelse) {
    buf_.append(static_cast<const char*>(post), storrelse);
    if (buf_.size() >= Blokk) Tom();
  }
  // Writes what is gathered.
  void Tom() {
    fil_.Skriv(buf_);
    buf_.clear();
  }

 private:
  static constexpr std::size_t Blokk = std::size_t{1} << 20;
  TTryggFil& fil_;
  std::string buf_;
};

// Writes `innhold` as the whole of `maal` through a TTryggFil. Throws IoFeil.
void SkrivTrygt(const std::filesystem::path& maal, std::string_view innhold);
