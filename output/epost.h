// Handing a mail with an attachment to the user's mail program through
// xdg-email: the insemination report, the pocket catalogue.
#pragma once

#include <filesystem>
#include <string>

// A mail to hand over. Texts are UTF-8; an empty recipient is left for the
// user to fill in.
struct TEpost {
  std::string emne;
  std::string tekst;
  std::string mottaker;
  std::filesystem::path vedlegg;
};

enum class TSendeUtfall { Sendt, Feil, Avbrutt };
struct TSendeSvar {
  TSendeUtfall utfall = TSendeUtfall::Avbrutt;
  int kode = 0;         // xdg-email's exit status when it ended otherwise than 0
  std::string melding;  // the message to show (the caller's); empty for an abort
};

// Runs `program` (found on PATH) with an argument list, never through a
// shell, and waits for it. Exit 0 is Sendt; a program that cannot be found
// is Avbrutt (no mail hand-off on this machine); anything else is Feil with
// its exit status. No message is made.
TSendeSvar GiTilEpostprogram(const TEpost& epost, const std::string& program = "xdg-email");
