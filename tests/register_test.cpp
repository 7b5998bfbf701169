#include "register.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "eksempeldata.h"
#include "filer.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

TVerPost Ver(int32_t nummer, const std::string& navn = "") {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(navn);
  return p;
}

// A register loaded from the given records in a folder of its own.
class RegisterTest : public ::testing::Test {
 protected:
  void Last(const std::vector<TVerPost>& poster) {
    SkrivVerFil(mappe / VerFilNavn, poster);
    LastPaaNytt();
  }
  void LastPaaNytt() {
    reg = std::make_unique<TProdusent>(mappe.Sti());
    reg->LoadRegister();
  }
  std::vector<TVerPost> Mange(int antall) {
    std::vector<TVerPost> v;
    for (int i = 0; i < antall; ++i) v.push_back(Ver(1000 + i, "VER" + std::to_string(i)));
    return v;
  }

  TestMappe mappe;
  std::unique_ptr<TProdusent> reg;
};

}  // namespace

TEST(VerPostTest, FeltLiggerPaaSineForskyvninger) {
  struct Felt {
    const char* navn;
    std::size_t forskyvning, bredde;
  };
  const Felt felt[] = {
      {"Nummer", offsetof(TVerPost, Nummer), 4},
      {"Navn", offsetof(TVerPost, Navn), 21},
      {"Rase", offsetof(TVerPost, Rase), 1},
      {"Farnr", offsetof(TVerPost, Farnr), 4},
      {"IndeksDato", offsetof(TVerPost, IndeksDato), 8},
      {"OIndeks", offsetof(TVerPost, OIndeks), 2},
      {"KIndeks", offsetof(TVerPost, KIndeks), 2},
      {"MorevVaar", offsetof(TVerPost, MorevVaar), 2},
      {"Slakt", offsetof(TVerPost, Slakt), 2},
      {"Kjott", offsetof(TVerPost, Kjott), 2},
      {"Fett", offsetof(TVerPost, Fett), 2},
      {"MorevSl", offsetof(TVerPost, MorevSl), 2},
      {"Fruktbarhet", offsetof(TVerPost, Fruktbarhet), 2},
      {"Ring", offsetof(TVerPost, Ring), 2},
      {"Ullvekt", offsetof(TVerPost, Ullvekt), 4},
      {"KlippeDato", offsetof(TVerPost, KlippeDato), 8},
      {"Kropp", offsetof(TVerPost, Kropp), 1},
      {"Bein", offsetof(TVerPost, Bein), 1},
      {"Ullkvalitet", offsetof(TVerPost, Ullkvalitet), 1},
      {"Ullmengde", offsetof(TVerPost, Ullmengde), 1},
      {"Fiberdiameter", offsetof(TVerPost, Fiberdiameter), 4},
      {"MaksMy", offsetof(TVerPost, MaksMy), 4},
      {"Stapel", offsetof(TVerPost, Stapel), 4},
      {"Marg", offsetof(TVerPost, Marg), 1},
      {"Dyrehaar", offsetof(TVerPost, Dyrehaar), 1},
      {"OAett", offsetof(TVerPost, OAett), 4},
      {"VektAvvik", offsetof(TVerPost, VektAvvik), 4},
      {"Reservert", offsetof(TVerPost, Reservert), 5},
      {"Type", offsetof(TVerPost, Type), 1},
      {"MorFar", offsetof(TVerPost, MorFar), 4},
      {"AntHostvekt", offsetof(TVerPost, AntHostvekt), 2},
      {"AntSlakt", offsetof(TVerPost, AntSlakt), 2},
      {"AntDotre", offsetof(TVerPost, AntDotre), 2},
      {"Mornr", offsetof(TVerPost, Mornr), 4},
      {"MorIndeks", offsetof(TVerPost, MorIndeks), 2},
      {"BurdFodt", offsetof(TVerPost, BurdFodt), 1},
      {"Aar", offsetof(TVerPost, Aar), 2},
      {"Fylke", offsetof(TVerPost, Fylke), 1},
      {"Hostvekt", offsetof(TVerPost, Hostvekt), 4},
      {"Fodebuskap", offsetof(TVerPost, Fodebuskap), 51},
      {"Fodested", offsetof(TVerPost, Fodested), 21},
  };
  const std::size_t ventet[] = {0,  4,   25,  26,  30,  38,  40,  42,  44,  46,  48,  50,  52, 54,
                                56, 60,  68,  69,  70,  71,  72,  76,  80,  84,  85,  86,  90, 94,
                                99, 100, 104, 106, 108, 110, 114, 116, 117, 119, 120, 124, 175};
  ASSERT_EQ(std::size(felt), std::size(ventet));
  std::size_t neste = 0;
  for (std::size_t i = 0; i < std::size(felt); ++i) {
    SCOPED_TRACE(felt[i].navn);
    EXPECT_EQ(felt[i].forskyvning, ventet[i]);
    EXPECT_EQ(felt[i].forskyvning, neste) << "hull eller overlapp foran feltet";
    neste = felt[i].forskyvning + felt[i].bredde;
  }
  EXPECT_EQ(neste, 196u);
}

TEST(VerPostTest, ByteneErLittleEndianMedLengdebyteForTekst) {
  TVerPost p = TomVerPost();
  p.Nummer = 0x01020304;
  p.Navn.Sett("ABC");
  p.Rase = -3;
  p.IndeksDato = 2.0;
  p.Fodested.Sett("Ukjent og altfor langt sted");
  unsigned char b[196];
  std::memcpy(b, &p, sizeof b);
  EXPECT_EQ(b[0], 0x04);
  EXPECT_EQ(b[3], 0x01);
  EXPECT_EQ(b[4], 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 5), 3), "ABC");
  EXPECT_EQ(b[8], 0) << "bytes past the length are 0";
  EXPECT_EQ(b[25], 0xFD);
  // 2.0 as an IEEE double: 0x4000000000000000, low byte first.
  EXPECT_EQ(b[30 + 7], 0x40);
  EXPECT_EQ(b[30], 0x00);
  EXPECT_EQ(b[175], 20) << "a text longer than its field is cut to the field";
  EXPECT_EQ(p.Fodested.Verdi(), "Ukjent og altfor lan");
}

TEST_F(RegisterTest, TomtRegisterUtenFilOgMedTomFil) {
  for (bool medFil : {false, true}) {
    SCOPED_TRACE(medFil ? "tom fil" : "ingen fil");
    if (medFil) mappe.Skriv(VerFilNavn, "");
    LastPaaNytt();
    EXPECT_EQ(reg->RecordCount(), 0);
    EXPECT_TRUE(reg->RamNumbers().empty());
    EXPECT_EQ(reg->FindByNumber(1234).Nummer, 0);
    EXPECT_EQ(reg->CurrentRamIndex, -1);
    std::vector<TTekstElement> liste;
    EXPECT_EQ(reg->FindByName("A", liste), 0);
    EXPECT_FALSE(reg->LocateNumber(1234));
  }
}

TEST_F(RegisterTest, EnVerFinnesPaaNummerMenIkkeMedLocateNumber) {
  Last({Ver(1234567, "BAMSE")});
  EXPECT_EQ(reg->RecordCount(), 1);
  const TVerPost p = reg->FindByNumber(1234567);
  EXPECT_EQ(+p.Nummer, 1234567);
  EXPECT_EQ(p.Navn.Verdi(), "BAMSE");
  EXPECT_EQ(reg->CurrentRamIndex, 0);
  EXPECT_FALSE(reg->LocateNumber(1234567));
}

TEST_F(RegisterTest, LocateNumberKreverMinst100Poster) {
  for (int antall : {99, 100}) {
    SCOPED_TRACE(antall);
    Last(Mange(antall));
    for (int i = 0; i < antall; ++i) ASSERT_EQ(reg->FindByNumber(1000 + i).Nummer, 1000 + i);
    reg->CurrentRamIndex = 7;
    EXPECT_EQ(reg->LocateNumber(1000 + 42), antall >= 100);
    EXPECT_EQ(reg->CurrentRamIndex, antall >= 100 ? 42 : 7);
    EXPECT_FALSE(reg->LocateNumber(0));
    EXPECT_FALSE(reg->LocateNumber(5)) << "ukjent nummer";
    EXPECT_EQ(reg->CurrentRamIndex, antall >= 100 ? 42 : 7) << "a miss leaves the current ram";
  }
}

TEST_F(RegisterTest, FindByNumberNullOgBom) {
  Last(Mange(5));
  reg->FindByNumber(1003);
  EXPECT_EQ(reg->CurrentRamIndex, 3);
  const TVerPost null = reg->FindByNumber(0);
  EXPECT_EQ(+null.Nummer, 0);
  EXPECT_EQ(null.Navn.lengde, 0);
  EXPECT_EQ(reg->CurrentRamIndex, 3) << "number 0 only clears the display";
  EXPECT_EQ(reg->FindByNumber(999).Nummer, 0);
  EXPECT_EQ(reg->CurrentRamIndex, -1);
}

TEST_F(RegisterTest, DobbeltNummerGirDenSisteOgSkrivVedSkriverOverDen) {
  std::vector<TVerPost> v = Mange(120);
  v[10] = Ver(555, "FORSTE");
  v[80] = Ver(555, "ANDRE");
  Last(v);
  EXPECT_EQ(reg->FindByNumber(555).Navn.Verdi(), "ANDRE");
  EXPECT_EQ(reg->CurrentRamIndex, 80);
  ASSERT_TRUE(reg->LocateNumber(555));
  EXPECT_EQ(reg->CurrentRamIndex, 80);
  EXPECT_EQ(reg->FinnIndeks(555), 80);
  reg->SkrivVed(reg->FinnIndeks(555), Ver(555, "ENDRET"));
  EXPECT_EQ(reg->ReadAt(80).Navn.Verdi(), "ENDRET");
  EXPECT_EQ(reg->ReadAt(10).Navn.Verdi(), "FORSTE");
  LastPaaNytt();
  EXPECT_EQ(reg->FindByNumber(555).Navn.Verdi(), "ENDRET") << "the write reached the file";
}

TEST_F(RegisterTest, SkrivVedUtenforFilaEllerUtenNummerSkriverIngenting) {
  Last(Mange(3));
  EXPECT_THROW(reg->SkrivVed(reg->FinnIndeks(42), Ver(42, "NY")), IoFeil);  // a number not in the file: -1
  EXPECT_THROW(reg->SkrivVed(3, Ver(42, "NY")), IoFeil);
  EXPECT_THROW(reg->SkrivVed(1, Ver(0, "NULL")), IoFeil);  // a record without number is never written
  LastPaaNytt();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(reg->ReadAt(i).Nummer, 1000 + i);
}

TEST_F(RegisterTest, SkrivVedIEtRegisterSomErByttetUtSkriverIngenting) {
  // Another program (hornstad-cli importer, a second copy) renames a new
  // Verene.Dat over the loaded one: a write into the old file would be lost
  // with it, so it is refused and both files stay as they are.
  Last(Mange(120));
  EXPECT_TRUE(reg->FilaErLastet());
  SkrivVerFil(mappe / "Verene.Dat.ny", Mange(130));
  std::filesystem::rename(mappe / "Verene.Dat.ny", mappe / VerFilNavn);
  EXPECT_FALSE(reg->FilaErLastet());
  const std::string ny = LesHeleFila(mappe / VerFilNavn);
  try {
    reg->SkrivVed(5, Ver(1005, "ENDRET"));
    ADD_FAILURE() << "the write went through";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("byttet ut"), std::string::npos) << e.what();
  }
  EXPECT_EQ(reg->ReadAt(5).Navn.Verdi(), Mange(120)[5].Navn.Verdi()) << "the loaded records stay readable";
  EXPECT_EQ(LesHeleFila(mappe / VerFilNavn), ny);
}

TEST_F(RegisterTest, NyttNummerFraSkrivVedFinnesStraks) {
  std::vector<TVerPost> v = Mange(150);
  v[20] = Ver(777, "GAMMEL");
  v[30] = Ver(777, "ANNEN");
  Last(v);
  ASSERT_TRUE(reg->LocateNumber(777));
  reg->SkrivVed(reg->CurrentRamIndex, Ver(888, "NYNUMMER"));
  EXPECT_EQ(reg->RamNumbers()[30], 888);
  EXPECT_EQ(reg->FindByNumber(888).Navn.Verdi(), "NYNUMMER");
  EXPECT_EQ(reg->FindByNumber(777).Navn.Verdi(), "GAMMEL") << "the other ram with the old number remains";
  EXPECT_EQ(reg->CurrentRamIndex, 20);
}

TEST_F(RegisterTest, NavneindeksenFolgerPostenSomSkrives) {
  // Every write leaves the name index as a fresh load of the file builds it:
  // the same names, numbers and records, in file order.
  const auto indeks = [this] {
    std::vector<std::tuple<std::string, int32_t, int32_t>> v;
    for (std::size_t i = 0; i < reg->RamNames().Count(); ++i)
      v.emplace_back(std::string(reg->RamNames().Name(i)), reg->RamNames().Number(i), reg->RamNames().Record(i));
    return v;
  };
  std::vector<TVerPost> v = Mange(120);
  v[50] = Ver(1050, "Bo");
  struct Tilfelle {
    int32_t post;
    int32_t nummer;
    const char* navn;
  };
  const Tilfelle tilfeller[] = {
      {0, 1000, "Langt Nytt Navn"},  // the first entry grows
      {119, 1119, "XY"},             // the last entry leaves the index
      {50, 1050, "Bolette"},         // a short name enters it in its place
      {51, 1051, "Verxy"},           // the same length
      {60, 2060, "Nummer Og Navn"},  // a new number with the new name
      {119, 1119, "Tilbake"},        // the last record comes back
      {0, 1000, "Abc"},              // the first entry shrinks
  };
  // The names are made on first use: the writes once on a register whose
  // names are not made yet, once on one whose names are.
  for (const bool laget : {false, true}) {
    Last(v);
    for (const Tilfelle& t : tilfeller) {
      SCOPED_TRACE(std::string(t.navn) + (laget ? ", navnene laget" : ", navnene ikke laget"));
      if (laget) (void)reg->RamNames();
      reg->SkrivVed(t.post, Ver(t.nummer, t.navn));
      const auto skrevet = indeks();
      std::vector<TTekstElement> treff;
      reg->FindByName(t.navn, treff);
      if (std::strlen(t.navn) >= 3) {
        ASSERT_EQ(treff.size(), 1u);
        EXPECT_EQ(treff[0].nummer, t.nummer);
        EXPECT_EQ(treff[0].indeks, t.post);
      } else {
        EXPECT_TRUE(treff.empty());
      }
      LastPaaNytt();
      EXPECT_EQ(skrevet, indeks());
    }
    // The old names are gone.
    std::vector<TTekstElement> gammel;
    EXPECT_EQ(reg->FindByName("VER60", gammel), 0);
    EXPECT_EQ(reg->FindByName("VER0", gammel), 0);
  }
}

TEST_F(RegisterTest, NavnesokPaaDelAvNavnUansettStorBokstav) {
  // Names are Windows-1252 bytes: \xF8 is a small o-slash, \xD8 its capital.
  // "Bo" is too short for the name index.
  Last({Ver(11, "Storbj\xF8rn"), Ver(12, "Bo"), Ver(13, "KVITBJ\xD8RN"), Ver(14, "Sm\xE5gutt"), Ver(15, "ABC"),
        Ver(16, "DEF"), Ver(17, "Bj\xF8rn")});
  struct Tilfelle {
    const char* soek;
    std::vector<std::string> ventet;
  };
  const Tilfelle tilfeller[] = {
      {"bj\xF8rn", {"11 STORBJ\xD8RN", "13 KVITBJ\xD8RN", "17 BJ\xD8RN"}},
      {"TBJ", {"13 KVITBJ\xD8RN"}},
      {"sm\xE5", {"14 SM\xC5GUTT"}},
      {"Bo", {}},
      {"CDE", {}},  // never across two names
      {"", {}},
      {"F", {"16 DEF"}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.soek);
    std::vector<TTekstElement> liste{{"fra for", 1}};
    const int32_t antall = reg->FindByName(t.soek, liste);
    ASSERT_EQ(antall, static_cast<int32_t>(t.ventet.size()));
    ASSERT_EQ(liste.size(), t.ventet.size() + 1) << "items are appended to the caller's list";
    for (std::size_t i = 0; i < t.ventet.size(); ++i) {
      EXPECT_EQ(liste[i + 1].tekst, t.ventet[i]);
      EXPECT_EQ(liste[i + 1].nummer, std::stoi(t.ventet[i]));
      EXPECT_EQ(liste[i + 1].indeks, std::stoi(t.ventet[i]) - 11) << "the record of the name";
    }
  }
  EXPECT_EQ(reg->FindByNumber(12).Navn.Verdi(), "Bo");
}

TEST_F(RegisterTest, UfullstendigSistePostIgnoreres) {
  SkrivVerFil(mappe / VerFilNavn, Mange(3));
  {
    std::ofstream f(mappe / VerFilNavn, std::ios::binary | std::ios::app);
    f << std::string(50, '\x7F');
  }
  const std::string fil = LesHeleFila(mappe / VerFilNavn);
  LastPaaNytt();
  EXPECT_EQ(reg->RecordCount(), 3);
  EXPECT_EQ(reg->RamNumbers().size(), 3u);
  EXPECT_EQ(reg->FindByNumber(1002).Nummer, 1002);
  EXPECT_THROW(reg->ReadAt(3), IoFeil);
  EXPECT_THROW(reg->ReadAt(-1), IoFeil);
  // The leftover bytes are told of, and stay in the file, also after a write.
  EXPECT_EQ(reg->Restbytes(), 50);
  const std::string advarsel = reg->Advarsel();
  EXPECT_NE(advarsel.find("50 byte"), std::string::npos) << advarsel;
  EXPECT_NE(advarsel.find(VerFilNavn), std::string::npos) << advarsel;
  TVerPost p = reg->ReadAt(1);
  reg->SkrivVed(1, p);
  reg.reset();
  EXPECT_EQ(LesHeleFila(mappe / VerFilNavn), fil);

  // A whole file, or none, has no leftover and no warning.
  for (int poster : {3, 0}) {
    SCOPED_TRACE(poster);
    if (poster > 0) {
      Last(Mange(poster));
    } else {
      fs::remove(mappe / VerFilNavn);
      LastPaaNytt();
    }
    EXPECT_EQ(reg->Restbytes(), 0);
    EXPECT_EQ(reg->Advarsel(), "");
  }
}

TEST_F(RegisterTest, UlesbartRegisterGirFeilOgTomtRegister) {
  Last(Mange(3));
  // A folder by the register's name cannot be read as a file, even by root.
  fs::remove(mappe / VerFilNavn);
  fs::create_directory(mappe / VerFilNavn);
  reg = std::make_unique<TProdusent>(mappe.Sti());
  EXPECT_THROW(reg->LoadRegister(), IoFeil);
  EXPECT_EQ(reg->RecordCount(), 0);
  EXPECT_TRUE(reg->RamNumbers().empty());
  EXPECT_EQ(reg->RamNames().Count(), 0u);
  EXPECT_EQ(reg->FindByNumber(1001).Nummer, 0);
}

TEST_F(RegisterTest, FilnavnMedAnnenStorBokstavFinnes) {
  SkrivVerFil(mappe / "VERENE.DAT", Mange(2));
  LastPaaNytt();
  EXPECT_EQ(reg->RecordCount(), 2);
}

TEST_F(RegisterTest, EksempelregisterStemmerMedFila) {
  // A generated register with duplicate numbers, long names and short names.
  const std::vector<TVerPost> poster = KonverterEksport(LagEksport(3000, 11));
  Last(poster);
  ASSERT_EQ(reg->RecordCount(), static_cast<int32_t>(poster.size()));
  std::size_t navn = 0;
  for (std::size_t i = 0; i < poster.size(); ++i) {
    ASSERT_EQ(reg->RamNumbers()[i], poster[i].Nummer);
    if (poster[i].Navn.lengde >= 3) ++navn;
  }
  EXPECT_EQ(reg->RamNames().Count(), navn);
  // Every number finds its last occurrence.
  for (std::size_t i = 0; i < poster.size(); i += 7) {
    const int32_t nr = poster[i].Nummer;
    std::size_t sist = i;
    for (std::size_t j = i; j < poster.size(); ++j)
      if (poster[j].Nummer == nr) sist = j;
    reg->FindByNumber(nr);
    ASSERT_EQ(reg->CurrentRamIndex, static_cast<int32_t>(sist));
  }
}

TEST(DataFolderTest, SkrivbarProgrammappeEllersBrukermappe) {
  TestMappe m;
  EXPECT_EQ(ResolveDataFolder(m.Sti().string() + "/"), m.Sti()) << "a trailing separator is dropped";
  EXPECT_EQ(ResolveDataFolder(m.Sti().string()), m.Sti());
  const std::string gammel = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  ::setenv("XDG_DATA_HOME", (m.Sti() / "xdg").c_str(), 1);
  const fs::path bruker = ResolveDataFolder((m.Sti() / "finnes-ikke").string());
  if (gammel.empty())
    ::unsetenv("XDG_DATA_HOME");
  else
    ::setenv("XDG_DATA_HOME", gammel.c_str(), 1);
  EXPECT_EQ(bruker, m.Sti() / "xdg" / "Hornstad");
  EXPECT_TRUE(fs::is_directory(bruker));
}

// An installed program (/usr/bin, /usr/local/bin, /opt/…, ~/.local/bin) keeps
// its data per user even when its folder is writable, as a system folder is
// for root: the register must never land beside an installed program.
TEST(DataFolderTest, InstallertProgramHarDataPerBruker) {
  TestMappe m;
  fs::create_directory_symlink("/usr/bin", m / "lenke");
  fs::create_directories(m / "prefiks" / "bin");
  const std::string gammel = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  ::setenv("XDG_DATA_HOME", (m.Sti() / "xdg").c_str(), 1);
  const std::vector<std::string> installert = {"/usr/bin",
                                               "/usr/bin/",
                                               "/usr/local/bin",
                                               "/opt/hornstad",
                                               "/",
                                               (m.Sti() / "lenke").string(),
                                               (m.Sti() / "prefiks" / "bin").string(),
                                               (m.Sti() / "prefiks" / "bin/").string()};
  std::vector<fs::path> funnet;
  for (const std::string& programMappe : installert) funnet.push_back(ResolveDataFolder(programMappe));
  const fs::path portabel = ResolveDataFolder(m.Sti().string());
  if (gammel.empty())
    ::unsetenv("XDG_DATA_HOME");
  else
    ::setenv("XDG_DATA_HOME", gammel.c_str(), 1);
  for (std::size_t i = 0; i < funnet.size(); ++i) EXPECT_EQ(funnet[i], m.Sti() / "xdg" / "Hornstad") << installert[i];
  EXPECT_EQ(portabel, m.Sti()) << "a writable folder of the user's stays a portable install";
}
