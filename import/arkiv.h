// Unpacking the downloaded ZIP archives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The largest member the program unpacks; a larger one is refused rather
// than filling the disk.
inline constexpr uint64_t MaksMedlem = uint64_t{1} << 30;

// True when `navn` matches the wildcard pattern (`*` any run, `?` one
// character), without regard to letter case.
bool PasserMonster(std::string_view navn, std::string_view monster);

// Extracts every member of `arkiv` whose name (without its folders) matches
// `monster` into `mappe`, flat: folders stored in the archive are ignored, so
// nothing is written outside `mappe`. A file already there with the same name
// in any letter case is replaced whole. Returns the paths written, in archive
// order. Throws IoFeil for an archive that cannot be read or is damaged, or a
// member larger than MaksMedlem; a member being written when that happens is
// not left behind.
std::vector<std::filesystem::path> PakkUt(const std::filesystem::path& arkiv, std::string_view monster,
                                          const std::filesystem::path& mappe);
