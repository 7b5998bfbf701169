// Unpacking a downloaded ZIP archive (PakkUt): whatever the archive holds,
// only files that match the pattern are written, flat, into the target
// folder, and nothing anywhere else.
#include "arkiv.h"

#include <fnmatch.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "filer.h"
#include "fuzzhjelp.h"

namespace fs = std::filesystem;

namespace {

// Every entry below `mappe`, as paths relative to it, symbolic links not followed.
std::set<std::string> Innhold(const fs::path& mappe) {
  std::set<std::string> ut;
  std::error_code ec;
  if (!fs::exists(mappe, ec)) return ut;
  for (fs::recursive_directory_iterator it(mappe, fs::directory_options::none, ec), slutt; !ec && it != slutt;
       it.increment(ec))
    ut.insert(it->path().lexically_relative(mappe).string());
  KREV(!ec);
  return ut;
}

// PasserMonster against the C library's matching, for names without the
// characters fnmatch treats specially.
void SjekkMonster(const std::string& navn, const char* monster) {
  if (navn.find_first_of("[]\\") != std::string::npos) return;
  KREV(PasserMonster(navn, monster) == (::fnmatch(monster, navn.c_str(), FNM_CASEFOLD) == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path rot = Arbeidsmappe();
  const fs::path arkiv = rot / "arkiv.zip";
  const fs::path base = rot / "ut";
  const fs::path mappe = base / "OpPakket";
  // The program's two patterns: the ram export and the lamb and member exports.
  const char* monster = size % 2 == 0 ? "*.Tex" : "*.DOS";
  SkrivFil(arkiv, SomTekst(data, size));
  const std::set<std::string> foer = Innhold(rot);

  std::vector<fs::path> skrevet;
  bool feil = false;
  try {
    skrevet = PakkUt(arkiv, monster, mappe);
  } catch (const IoFeil&) {
    feil = true;
  }

  // Outside the base folder nothing has changed.
  std::set<std::string> etter = Innhold(rot);
  std::set<std::string> utenfor;
  for (const std::string& s : etter)
    if (s != "ut" && s.rfind("ut/", 0) != 0) utenfor.insert(s);
  KREV(utenfor == foer);
  KREV(LesHeleFila(arkiv) == SomTekst(data, size));

  // Inside it only the folder and plain files directly in it, each matching
  // the pattern (no half-written file left behind).
  for (const std::string& s : Innhold(base)) {
    if (s == "OpPakket") continue;
    const fs::path sti = base / s;
    KREV(sti.parent_path() == mappe);
    KREV(fs::is_regular_file(fs::symlink_status(sti)));
    KREV(PasserMonster(sti.filename().string(), monster));
  }
  for (const fs::path& p : skrevet) {
    KREV(!feil);
    KREV(p.parent_path() == mappe);
    KREV(fs::is_regular_file(fs::symlink_status(p)));
    SjekkMonster(p.filename().string(), monster);
  }

  // The member names against the pattern, as the C library matches them.
  if (zip_t* z = zip_open(arkiv.c_str(), ZIP_RDONLY, nullptr)) {
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n && i < 64; ++i) {
      const char* navn = zip_get_name(z, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
      if (navn) {
        std::string kort = navn;
        const std::size_t skille = kort.find_last_of("/\\");
        if (skille != std::string::npos) kort.erase(0, skille + 1);
        SjekkMonster(kort, monster);
      }
    }
    zip_discard(z);
  }

  std::error_code ec;
  fs::remove_all(base, ec);
  return 0;
}
