// hornstad-cli: the program's jobs without windows.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cp1252.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"

namespace {

const char* Hjelp =
    "Bruk: hornstad-cli [--data MAPPE] KOMMANDO ...\n"
    "\n"
    "Kjører Hornstads jobber uten vinduer, på værregisteret i datamappa.\n"
    "\n"
    "Valg:\n"
    "  --data MAPPE   datamappa (der Verene.Dat ligger); uten dette valget\n"
    "                 programmets egen mappe når den er skrivbar, ellers\n"
    "                 ~/.local/share/Hornstad\n"
    "  --help         viser denne teksten\n"
    "\n"
    "Kommandoer:\n"
    "  status         antall værer i registeret og de første værene\n";

void Skriv(const std::string& cp1252) { std::fputs(Cp1252TilUtf8(cp1252).c_str(), stdout); }

int Status() {
  TProdusent reg;
  reg.LoadRegister();
  std::printf("Datamappe: %s\n", DataFolder.c_str());
  std::printf("%zu værer\n", RamNumbers.size());
  const Trase raser;
  const int32_t vis = std::min<int32_t>(reg.RecordCount(), 10);
  for (int32_t i = 0; i < vis; ++i) {
    const TVerPost p = reg.ReadAt(i);
    Skriv(PadLeft(IntToText(p.Nummer), 9) + "  " + PadRight(NameCase(p.Navn.Verdi()), 21) + PadRight(raser.BreedName(p.Rase), 16) +
          DateToText(p.IndeksDato) + "\n");
  }
  if (reg.RecordCount() > vis) Skriv("...\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args;
  std::string data;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(Hjelp, stdout);
      return 0;
    }
    if (a == "--data") {
      if (i + 1 >= argc) {
        std::fputs("Valget --data trenger en mappe.\n", stderr);
        return 2;
      }
      data = argv[++i];
      continue;
    }
    args.push_back(a);
  }
  if (args.empty()) {
    std::fputs(Hjelp, stderr);
    return 2;
  }
  DataFolder = data.empty() ? ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString())
                            : std::filesystem::path(data);
  try {
    if (args[0] == "status") return Status();
  } catch (const IoFeil& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "Ukjent kommando: %s (se hornstad-cli --help)\n", args[0].c_str());
  return 2;
}
