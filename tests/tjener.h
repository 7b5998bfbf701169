// Servers on 127.0.0.1 for tests that download.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <string>
#include <vector>

// A server process that prints the port it listens on ("... port N ...") on
// stdout. Killed and waited for when the object goes.
class Tjenerprosess {
 public:
  explicit Tjenerprosess(std::vector<std::string> argv) {
    int ror[2];
    if (::pipe2(ror, O_CLOEXEC) != 0) return;
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the test
      ::dup2(ror[1], STDOUT_FILENO);
      const int null = ::open("/dev/null", O_WRONLY);
      if (null >= 0) ::dup2(null, STDERR_FILENO);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::close(ror[1]);
    ut_ = ror[0];
    if (pid_ > 0) port_ = LesPort();
  }

  ~Tjenerprosess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > frist) {
          ::kill(pid_, SIGKILL);
          ::waitpid(pid_, &status, 0);
          break;
        }
        ::usleep(10000);
      }
    }
    if (ut_ >= 0) ::close(ut_);
  }

  Tjenerprosess(const Tjenerprosess&) = delete;
  Tjenerprosess& operator=(const Tjenerprosess&) = delete;

  // 0 when the server did not start.
  int Port() const { return port_; }

 private:
  // The server listens once it has said where; waits at most 10 seconds.
  int LesPort() {
    std::string tekst;
    const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < frist) {
      pollfd p{ut_, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char buf[256];
      const ssize_t n = ::read(ut_, buf, sizeof buf);
      if (n <= 0) return 0;
      tekst.append(buf, static_cast<std::size_t>(n));
      const auto pos = tekst.find("port ");
      if (pos == std::string::npos) continue;
      std::size_t slutt = pos + 5;
      while (slutt < tekst.size() && std::isdigit(static_cast<unsigned char>(tekst[slutt]))) ++slutt;
      if (slutt < tekst.size() && slutt > pos + 5) return std::stoi(tekst.substr(pos + 5, slutt - pos - 5));
    }
    return 0;
  }

  pid_t pid_ = -1;
  int ut_ = -1;
  int port_ = 0;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class StengtPort {
 public:
  StengtPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t lengde = sizeof a;
    if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &lengde) == 0)
      port_ = ntohs(a.sin_port);
  }
  ~StengtPort() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};
