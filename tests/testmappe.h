// A temporary folder for one test, removed afterwards.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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

// What a command run by Kjor gave: exit code, stdout and stderr.
struct Svar {
  int kode = -1;
  std::string ut, feil;
};

// Runs a shell command in `mappe`; stderr is caught through a file there.
inline Svar Kjor(const TestMappe& mappe, const std::string& kommando) {
  const std::filesystem::path feilfil = mappe / "stderr.txt";
  const std::string full = "cd '" + mappe.Sti().string() + "' && " + kommando + " 2>'" + feilfil.string() + "'";
  Svar s;
  FILE* f = ::popen(full.c_str(), "r");
  if (f == nullptr) return s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.ut.append(buf, n);
  const int status = ::pclose(f);
  s.kode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream inn(feilfil, std::ios::binary);
  s.feil.assign(std::istreambuf_iterator<char>(inn), std::istreambuf_iterator<char>());
  return s;
}

// For the lifetime of the object the files this process writes cannot grow
// beyond `byte` bytes: a write past that fails with EFBIG (SIGXFSZ is
// ignored meanwhile), as on a full disk. Files that are larger already stay.
class Filgrense {
 public:
  explicit Filgrense(rlim_t byte) {
    ::getrlimit(RLIMIT_FSIZE, &gammel_);
    signal_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit ny = gammel_;
    ny.rlim_cur = byte;
    ::setrlimit(RLIMIT_FSIZE, &ny);
  }
  ~Filgrense() {
    ::setrlimit(RLIMIT_FSIZE, &gammel_);
    ::signal(SIGXFSZ, signal_);
  }
  Filgrense(const Filgrense&) = delete;
  Filgrense& operator=(const Filgrense&) = delete;

 private:
  rlimit gammel_{};
  void (*signal_)(int) = nullptr;
};
