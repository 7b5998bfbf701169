#include "verktoy.h"

#include <QCoreApplication>
#include <exception>
#include <new>

#include "filer.h"
#include "register.h"

namespace {

// The tool's own options, before the command or anywhere after it.
const std::vector<TValg> VerktoyValg = {
    {"data", "MAPPE",
     "datamappa (der Verene.Dat ligger); uten dette valget programmets egen mappe når den er skrivbar, ellers "
     "~/.local/share/Hornstad"},
    {"help", "", "viser denne teksten; hornstad-cli KOMMANDO --help viser hjelpen til kommandoen med alle valgene"},
};

// The tool's own options taken out of the arguments, in their order: the
// first "--help" or "-h" ends the reading; "--data" takes the next argument
// wherever it stands, and a later one wins.
struct TKall {
  bool hjelp = false;
  bool dataUtenMappe = false;  // "--data" was the last argument
  std::string data;
  std::vector<std::string> resten;  // the command and its arguments
};

TKall LesKall(const std::vector<std::string>& argumenter) {
  TKall kall;
  for (std::size_t i = 0; i < argumenter.size(); ++i) {
    const std::string& a = argumenter[i];
    if (a == "--help" || a == "-h") {
      kall.hjelp = true;
      return kall;
    }
    if (a == "--data") {
      if (i + 1 >= argumenter.size()) {
        kall.dataUtenMappe = true;
        return kall;
      }
      kall.data = argumenter[++i];
      continue;
    }
    kall.resten.push_back(a);
  }
  return kall;
}

}  // namespace

const TKommando* FinnKommando(std::string_view navn) {
  for (const TKommando* k : Kommandoer())
    if (k->Navn() == navn) return k;
  return nullptr;
}

int KjorKommando(const TKommando& kommando, const TKontekst& k, const std::vector<std::string>& argumenter) {
  try {
    return kommando.Start(k, argumenter);
  } catch (const IoFeil& e) {
    std::fprintf(k.feil, "%s\n", e.what());
  } catch (const std::bad_alloc&) {
    std::fputs("Det er ikke nok minne til dette. Lukk andre programmer og prøv igjen.\n", k.feil);
  } catch (const std::exception& e) {
    std::fprintf(k.feil, "Uventet feil (%s). Ingen filer er endret; prøv igjen.\n", e.what());
  }
  return 1;
}

std::string Hjelpetekst() {
  std::string tekst =
      "Bruk: hornstad-cli [--data MAPPE] KOMMANDO ...\n"
      "\n"
      "Kjører Hornstads jobber uten vinduer, på værregisteret i datamappa.\n"
      "\n"
      "Valg:\n" +
      Valgliste(VerktoyValg) + "\nKommandoer:\n";
  for (const TKommando* k : Kommandoer()) tekst += k->Avsnitt();
  return tekst;
}

bool TrengerSkrift(const std::vector<std::string>& argumenter) {
  const TKall kall = LesKall(argumenter);
  if (kall.hjelp || kall.dataUtenMappe || kall.resten.empty()) return false;
  const TKommando* kommando = FinnKommando(kall.resten[0]);
  if (kommando == nullptr) return true;
  const std::optional<TArgumenter> a =
      kommando->Les(std::vector<std::string>(kall.resten.begin() + 1, kall.resten.end()));
  return !a || kommando->TrengerSkrift(*a);
}

bool TrengerVinduer(const std::vector<std::string>& argumenter) {
  const TKall kall = LesKall(argumenter);
  if (kall.hjelp || kall.dataUtenMappe || kall.resten.empty()) return false;
  const TKommando* kommando = FinnKommando(kall.resten[0]);
  if (kommando == nullptr) return false;
  const std::optional<TArgumenter> a =
      kommando->Les(std::vector<std::string>(kall.resten.begin() + 1, kall.resten.end()));
  return a && kommando->TrengerVinduer(*a);
}

int KjorVerktoy(const std::vector<std::string>& argumenter, std::FILE* ut, std::FILE* feil) {
  const TKall kall = LesKall(argumenter);
  if (kall.hjelp) {
    // After a command's word its own help; before one, or after a word that
    // names none, the tool's.
    const TKommando* kommando = kall.resten.empty() ? nullptr : FinnKommando(kall.resten[0]);
    std::fputs((kommando != nullptr ? kommando->Hjelp() : Hjelpetekst()).c_str(), ut);
    return 0;
  }
  if (kall.dataUtenMappe) {
    std::fputs("Valget --data trenger en mappe.\n", feil);
    return 2;
  }
  if (kall.resten.empty()) {
    std::fputs(Hjelpetekst().c_str(), feil);
    return 2;
  }
  TKontekst k;
  k.ut = ut;
  k.feil = feil;
  k.data = kall.data.empty() ? ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString())
                             : std::filesystem::path(kall.data);
  const std::string& navn = kall.resten[0];
  if (const TKommando* kommando = FinnKommando(navn))
    return KjorKommando(*kommando, k, std::vector<std::string>(kall.resten.begin() + 1, kall.resten.end()));
  std::fprintf(feil, "Ukjent kommando: %s (se hornstad-cli --help)\n", navn.c_str());
  return 2;
}
