// A temporary folder for one test, removed afterwards.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

class TestMappe {
 public:
  TestMappe() {
    std::string mal = (std::filesystem::temp_directory_path() / "hornstad-test-XXXXXX").string();
    sti_ = ::mkdtemp(mal.data());
  }
  ~TestMappe() {
    std::error_code ec;
    std::filesystem::remove_all(sti_, ec);
  }
  const std::filesystem::path& Sti() const { return sti_; }
  std::filesystem::path operator/(const std::string& navn) const { return sti_ / navn; }
  void Skriv(const std::string& navn, const std::string& innhold) const {
    std::ofstream(sti_ / navn, std::ios::binary) << innhold;
  }

 private:
  std::filesystem::path sti_;
};

// Changes the working directory for the lifetime of the object.
class IMappe {
 public:
  explicit IMappe(const std::filesystem::path& mappe) : gammel_(std::filesystem::current_path()) {
    std::filesystem::current_path(mappe);
  }
  ~IMappe() { std::filesystem::current_path(gammel_); }

 private:
  std::filesystem::path gammel_;
};
