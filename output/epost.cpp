#include "epost.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern char** environ;

TSendeSvar GiTilEpostprogram(const TEpost& epost, const std::string& program) {
  std::vector<std::string> arg = {program,  "--utf8",    "--subject", epost.emne,
                                  "--body", epost.tekst, "--attach",  epost.vedlegg.string()};
  if (!epost.mottaker.empty()) arg.push_back(epost.mottaker);
  std::vector<char*> argv;
  for (std::string& a : arg) argv.push_back(a.data());
  argv.push_back(nullptr);

  TSendeSvar svar;
  pid_t pid = 0;
  const int feil = ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (feil == ENOENT) return svar;  // no mail hand-off on this machine: as if the user stopped it
  int status = 0;
  if (feil == 0) {
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      svar.utfall = TSendeUtfall::Sendt;
      return svar;
    }
    svar.kode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  } else {
    svar.kode = -1;
  }
  svar.utfall = TSendeUtfall::Feil;
  return svar;
}
