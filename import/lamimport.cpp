#include "lamimport.h"

#include <optional>

#include "arkiv.h"
#include "filer.h"
#include "tekst.h"
#include "trase.h"

namespace fs = std::filesystem;

std::string LammeArkivSti(int aar) { return "/karingsfiler_kvistmo/Lam_landet_" + IntToText(aar) + ".zip"; }

const std::vector<std::string>& LammeFylker() {
  static const std::vector<std::string> liste = [] {
    std::vector<std::string> l;
    const auto& fylker = FylkeListe();
    for (std::size_t i = 1; i < fylker.size(); ++i) {
      std::string t = fylker[i].substr(0, fylker[i].find('\t'));
      if (i == 13) t = "13  Ingen fylke";
      // The first county carries the blanks that line up its producer range elsewhere.
      if (i == 1) t = TrimText(t);
      l.push_back(t);
    }
    return l;
  }();
  return liste;
}

namespace {

// A county number with two digits: 1 gives "01".
std::string ToSiffer(int fylke) { return PadLeft(IntToText(fylke), 2, '0'); }

}  // namespace

std::string LamEksportNavn(int fylke) { return "Lam" + ToSiffer(fylke) + ".Dos"; }

TUtpakking PakkUtLammearkiv(const fs::path& arkiv, const fs::path& oppakket) {
  TUtpakking u;
  u.filer = PakkUt(arkiv, LamMonster, oppakket);
  for (const fs::path& f : u.filer) {
    const int64_t fylke = TextToInt(f.filename().string());
    if (fylke >= 1 && fylke <= 20) u.fylker.push_back(LammeFylker()[static_cast<std::size_t>(fylke - 1)]);
  }
  return u;
}

namespace {

bool Finnes(const fs::path& f) {
  std::error_code ec;
  return fs::is_regular_file(f, ec);
}

// What the user is told when the reading fails, after the reason.
constexpr const char* BeggeUendret =
    "Lamme- og produsentfilene er uendret. Sjekk at det er plass på disken og prøv igjen.";

// The reason, ended with a full stop, and on a new line what became of the files.
IoFeil Feilen(const IoFeil& e, const char* filene) {
  std::string t = e.what();
  if (!t.empty() && t.back() != '.') t += '.';
  return IoFeil(t + "\n" + filene);
}

}  // namespace

TLesing LesLamOgMedlemmer(const std::vector<int>& fylker, bool lagLamfil, const fs::path& oppakket,
                          const fs::path& dataMappe, int aar, const std::function<void()>& fase) {
  TLesing r;
  for (int fylke : fylker) r.valgteFylker += " " + ToSiffer(fylke);

  // Both files are written beside the old ones and made whole before either
  // replaces its old file.
  std::optional<TTryggFil> lamfil;
  std::optional<TTryggFil> prodfil;
  try {
    if (lagLamfil) {
      lamfil.emplace(FinnFil(dataMappe, LamFilNavn(aar)), ".ny", "lammefila " + (dataMappe / LamFilNavn(aar)).string());
      TBlokkskriver skriver(*lamfil);
      TLamPost post;
      TTupp tupp;
      for (int fylke : fylker) {
        const fs::path eksport = FinnFil(oppakket, LamEksportNavn(fylke));
        if (!Finnes(eksport)) continue;
        const std::string innhold = LesHeleFila(eksport);
        ForHverLinje(innhold, [&](std::string_view linje) {
          if (!KonverterLamLinje(linje, post, tupp)) return;
          skriver.Legg(&post, sizeof post);
          r.lammeliste.push_back(tupp);
          ++r.lam;
        });
      }
      skriver.Tom();
      lamfil->Klargjor();
    }

    if (fase) fase();
    const fs::path medlemmer = FinnFil(oppakket, MedlemNavn);
    if (Finnes(medlemmer)) {
      const std::string innhold = LesHeleFila(medlemmer);
      prodfil.emplace(FinnFil(dataMappe, ProdusentFilNavn), ".ny",
                      "produsentfila " + (dataMappe / ProdusentFilNavn).string());
      TBlokkskriver skriver(*prodfil);
      TProdusentPost post;
      ForHverLinje(innhold, [&](std::string_view linje) {
        // The county is the line's first two characters.
        if (linje.size() < 2 || r.valgteFylker.find(linje.substr(0, 2)) == std::string::npos) return;
        KonverterMedlemLinje(linje, post);
        skriver.Legg(&post, sizeof post);
        ++r.produsenter;
      });
      skriver.Tom();
      prodfil->Klargjor();
    }

    if (lamfil) lamfil->Fullfor();
  } catch (const IoFeil& e) {
    throw Feilen(e, BeggeUendret);
  }
  if (prodfil) {
    try {
      prodfil->Fullfor();
    } catch (const IoFeil& e) {
      if (!lamfil) throw Feilen(e, BeggeUendret);
      throw Feilen(e,
                   "Den nye lammefila er lagret, men produsentfila er den gamle, så de to passer ikke sammen. Les "
                   "inn dataene på nytt.");
    }
  }
  r.lest = lagLamfil;
  r.medlemsfil = prodfil.has_value();
  return r;
}

void SlettUtpakkede(const std::vector<fs::path>& filer) {
  for (const fs::path& f : filer) {
    std::error_code ec;
    // A read-only file is made writable first, for file systems that refuse otherwise.
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(f, ec);
  }
}
