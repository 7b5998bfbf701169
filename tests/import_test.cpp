#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "arkiv.h"
#include "eksempeldata.h"
#include "filer.h"
#include "ramimport.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

int Kjor(const std::string& kommando) { return std::system(kommando.c_str()); }

std::string Sitat(const fs::path& p) { return "'" + p.string() + "'"; }

// Makes an archive with Python's zipfile: members as (name, content) pairs.
void LagPythonZip(const fs::path& arkiv, const std::vector<std::pair<std::string, std::string>>& medlemmer) {
  std::string skript = "import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED)\n";
  for (const auto& [navn, innhold] : medlemmer) {
    std::string hex;
    for (unsigned char c : innhold) {
      char b[3];
      std::snprintf(b, sizeof b, "%02x", c);
      hex += b;
    }
    skript += "z.writestr('" + navn + "', bytes.fromhex('" + hex + "'))\n";
  }
  skript += "z.close()\n";
  TestMappe m;
  m.Skriv("lag.py", skript);
  ASSERT_EQ(Kjor("python3 " + Sitat(m / "lag.py") + " " + Sitat(arkiv)), 0);
}

std::string Eksport(int antall) { return LagEksport(antall, 77); }

}  // namespace

TEST(ArkivTest, MonsterUtenHensynTilStorBokstav) {
  struct Tilfelle {
    const char* navn;
    const char* monster;
    bool passer;
  };
  const Tilfelle tilfeller[] = {
      {"Vedder2.Tex", "*.Tex", true},
      {"VEDDER2.TEX", "*.Tex", true},
      {"vedder2.tex", "*.Tex", true},
      {"Vedder2.Text", "*.Tex", false},
      {"Tex", "*.Tex", false},
      {".Tex", "*.Tex", true},
      {"a.b.Tex", "*.Tex", true},
      {"Lam.DOS", "*.DOS", true},
      {"x.Tex", "?.Tex", true},
      {"xy.Tex", "?.Tex", false},
      {"", "*", true},
      {"abc", "a*c*", true},
      {"*a.Tex", "*.Tex", true},
      {"?a.Tex", "?.Tex", false},
      {"**.tex", "*.Tex", true},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(std::string(t.navn) + " ~ " + t.monster);
    EXPECT_EQ(PasserMonster(t.navn, t.monster), t.passer);
  }
}

TEST(ArkivTest, InfoZipMedUndermapperPakkesUtFlatt) {
  TestMappe m;
  fs::create_directories(m / "kilde/data/dypt");
  m.Skriv("kilde/data/dypt/Vedder2.Tex", "innhold");
  m.Skriv("kilde/Les meg.txt", "ikke med");
  ASSERT_EQ(Kjor("cd " + Sitat(m / "kilde") + " && zip -qr ../a.zip data 'Les meg.txt'"), 0);
  fs::create_directories(m / "ut");
  m.Skriv("ut/VEDDER2.TEX", "gammel");  // replaced whatever its letter case
  const auto filer = PakkUt(m / "a.zip", "*.Tex", m / "ut");
  ASSERT_EQ(filer.size(), 1u);
  EXPECT_EQ(filer[0], m / "ut/VEDDER2.TEX");
  EXPECT_EQ(LesHeleFila(m / "ut/VEDDER2.TEX"), "innhold");
  std::size_t antall = 0;
  for (const auto& f : fs::recursive_directory_iterator(m / "ut")) {
    (void)f;
    ++antall;
  }
  EXPECT_EQ(antall, 1u) << "no folders, no other members, nothing left beside";
}

TEST(ArkivTest, PythonZipNavnKanIkkeSkriveUtenforMappa) {
  TestMappe m;
  LagPythonZip(m / "a.zip", {{"../../utenfor.Tex", "1"},
                             {"/abs/sti/rot.tex", "2"},
                             {"mappe\\\\win.TEX", "3"},
                             {"ok/..", "4"},
                             {"Vedder2.Tex", "5"}});
  fs::create_directories(m / "ut");
  const auto filer = PakkUt(m / "a.zip", "*.Tex", m / "ut");
  EXPECT_EQ(filer.size(), 4u);
  EXPECT_EQ(LesHeleFila(m / "ut/utenfor.Tex"), "1");
  EXPECT_EQ(LesHeleFila(m / "ut/rot.tex"), "2");
  EXPECT_EQ(LesHeleFila(m / "ut/win.TEX"), "3");
  EXPECT_EQ(LesHeleFila(m / "ut/Vedder2.Tex"), "5");
  EXPECT_FALSE(fs::exists(m / "utenfor.Tex"));
  EXPECT_FALSE(fs::exists(m.Sti().parent_path() / "utenfor.Tex"));
}

TEST(ArkivTest, SkadetArkivGirFeilOgEtterlaterIngenting) {
  TestMappe m;
  const std::string eksport = Eksport(400);
  m.Skriv("Vedder2.Tex", eksport);
  ASSERT_EQ(Kjor("cd " + Sitat(m.Sti()) + " && zip -q hel.zip Vedder2.Tex"), 0);
  const std::string hel = LesHeleFila(m / "hel.zip");

  struct Tilfelle {
    const char* navn;
    std::string bytes;
  };
  std::string snudd = hel;
  snudd[hel.size() / 2] = static_cast<char>(snudd[hel.size() / 2] ^ 0x55);  // inside the compressed data
  const Tilfelle tilfeller[] = {
      {"avkortet", hel.substr(0, hel.size() / 2)},
      {"endret byte", snudd},
      {"ikke zip", "Dette er ingen zip-fil"},
      {"tom", ""},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    fs::create_directories(m / "ut");
    m.Skriv("ut/Vedder2.Tex", "gammel");
    m.Skriv("skadet.zip", t.bytes);
    EXPECT_THROW(PakkUt(m / "skadet.zip", "*.Tex", m / "ut"), IoFeil);
    EXPECT_EQ(LesHeleFila(m / "ut/Vedder2.Tex"), "gammel");
    EXPECT_FALSE(fs::exists(m / "ut/Vedder2.Tex.ny"));
  }
}

TEST(ArkivTest, MedlemOver1GiBAvvises) {
  TestMappe m;
  m.Skriv("Vedder2.Tex", "liten");
  ASSERT_EQ(Kjor("cd " + Sitat(m.Sti()) + " && zip -q -0 a.zip Vedder2.Tex"), 0);
  // Claim 2 GiB as the uncompressed size in both headers.
  std::string z = LesHeleFila(m / "a.zip");
  const auto sett = [&](std::size_t pos) {
    z[pos] = 0;
    z[pos + 1] = 0;
    z[pos + 2] = 0;
    z[pos + 3] = static_cast<char>(0x80);
  };
  sett(22);                                         // local header
  sett(z.find(std::string("PK\x01\x02", 4)) + 24);  // central directory
  m.Skriv("a.zip", z);
  try {
    PakkUt(m / "a.zip", "*.Tex", m / "ut");
    FAIL() << "ingen feil";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("1 GiB"), std::string::npos) << e.what();
    EXPECT_FALSE(fs::exists(m / "ut/Vedder2.Tex"));
  }
}

TEST(KonverteringTest, LinjeskiftOgOverskrift) {
  struct Tilfelle {
    const char* navn;
    std::string eksport;
    std::vector<int32_t> nummer;
  };
  const Tilfelle tilfeller[] = {
      {"bare overskrift", "a;b;c\r\n", {}},
      {"tom", "", {}},
      {"CR LF", "h\r\n1;x;11\r\n1;x;12\r\n", {11, 12}},
      {"LF", "h\n1;x;11\n1;x;12", {11, 12}},
      {"CR", "h\r1;x;11\r1;x;12\r", {11, 12}},
      {"blandet med tomme linjer", "h\r\n\r\n1;x;11\n\r1;x;0\r\n1;x;12", {11, 12}},
      {"data på første linje går tapt", "1;x;10\r\n1;x;11\r\n", {11}},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    std::vector<int32_t> nummer;
    EXPECT_TRUE(KonverterLinjer(t.eksport, [&](const TVerPost& p) { nummer.push_back(p.Nummer); }).ferdig);
    EXPECT_EQ(nummer, t.nummer);
  }
}

// Every conversion tells how many of its rams came from lines short of
// fields: the records made, not lines without a judging number.
TEST(KonverteringTest, KorteLinjerTellesIResultatet) {
  const std::string full = "0112345678;x;22;" + std::string(46, ';') + "7";  // 50 fields
  const std::string eksport =
      "overskrift;med;få;felt\r\n"
      "1;x;11;4\r\n" +
      full +
      "\r\n"
      "\r\n"
      "1;x;0;4\r\n"
      "1;33\r\n"
      "1;x;44;4;5;6\r\n";
  std::vector<int32_t> nummer;
  const TKonvertering r = KonverterLinjer(eksport, [&](const TVerPost& p) { nummer.push_back(p.Nummer); });
  EXPECT_TRUE(r.ferdig);
  EXPECT_EQ(nummer, (std::vector<int32_t>{11, 22, 44}));
  EXPECT_EQ(r.poster, 3);
  EXPECT_EQ(r.korteLinjer, 2);

  TestMappe m;
  m.Skriv("Vedder2.Tex", eksport);
  const TKonvertering f = KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat");
  EXPECT_EQ(f.poster, 3);
  EXPECT_EQ(f.korteLinjer, 2);
  EXPECT_EQ(fs::file_size(m / "Verene.Dat"), 3 * sizeof(TVerPost));
  EXPECT_EQ(KorteLinjerMelding(2),
            "2 linje(r) i eksporten hadde færre enn 50 felt; feltene som manglet er lest som tomme.");

  // A whole export has none.
  m.Skriv("Vedder2.Tex", Eksport(300));
  EXPECT_EQ(KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat").korteLinjer, 0);
}

// A large export is converted in pieces side by side; the register is the
// same, byte for byte and in the export's order, as one line after another
// gives, whichever line ends meet at the cuts.
TEST(KonverteringTest, StoreEksporterGirSammeRegisterSomLinjeForLinje) {
  std::string eksport = Eksport(40000);  // about 10 MB: several pieces
  // Every third line break a bare LF, every third a bare CR; a few blank
  // lines and lines short of fields between them.
  std::string blandet;
  std::size_t linje = 0;
  ForHverLinje(eksport, [&](std::string_view l) {
    blandet += l;
    blandet += linje % 3 == 0 ? "\r\n" : linje % 3 == 1 ? "\n" : "\r";
    if (linje % 997 == 5) blandet += "\r\n1;x;77;4\n";
    ++linje;
  });
  TestMappe m;
  m.Skriv("Vedder2.Tex", blandet);
  std::string ventet;
  const TKonvertering en =
      KonverterLinjer(blandet, [&](const TVerPost& p) { ventet.append(reinterpret_cast<const char*>(&p), sizeof p); });
  const TKonvertering r = KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat");
  EXPECT_EQ(r.poster, en.poster);
  EXPECT_EQ(r.korteLinjer, en.korteLinjer);
  EXPECT_GT(r.korteLinjer, 30);
  EXPECT_TRUE(LesHeleFila(m / "Verene.Dat") == ventet);
}

TEST(KonverteringTest, ConvertRamExportErstatterRegisteretOgRydder) {
  TestMappe m;
  EXPECT_FALSE(ConvertRamExport(m.Sti())) << "no export";
  SkrivVerFil(m / "Verene.Dat", KonverterEksport(Eksport(50)));
  fs::create_directories(m / "OpPakket");
  m.Skriv("OpPakket/VEDDER2.TEX", Eksport(300));
  m.Skriv("OpPakket/Vaerer.dos", "gammel");
  m.Skriv("Nyverer.Zip", "arkiv");
  m.Skriv("OpPakket/annet.txt", "blir");
  ASSERT_TRUE(ConvertRamExport(m.Sti()));
  EXPECT_EQ(fs::file_size(m / "Verene.Dat"), KonverterEksport(Eksport(300)).size() * 196);
  EXPECT_EQ(LesHeleFila(m / "Verene.Dat"),
            std::string(reinterpret_cast<const char*>(KonverterEksport(Eksport(300)).data()),
                        KonverterEksport(Eksport(300)).size() * 196));
  EXPECT_FALSE(fs::exists(m / "OpPakket/VEDDER2.TEX"));
  EXPECT_FALSE(fs::exists(m / "OpPakket/Vaerer.dos"));
  EXPECT_FALSE(fs::exists(m / "Nyverer.Zip"));
  EXPECT_TRUE(fs::exists(m / "OpPakket/annet.txt"));
  EXPECT_FALSE(fs::exists(m / "Verene.Dat.ny"));
  EXPECT_FALSE(ConvertRamExport(m.Sti())) << "the export is gone";
}

TEST(KonverteringTest, AvbruttEllerFeiletKonverteringLarRegisteretVaere) {
  TestMappe m;
  SkrivVerFil(m / "Verene.Dat", KonverterEksport(Eksport(50)));
  const std::string gammel = LesHeleFila(m / "Verene.Dat");
  m.Skriv("Vedder2.Tex", Eksport(20000));

  int kall = 0;
  EXPECT_THROW(KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat",
                                   [&](int64_t gjort, int64_t totalt) {
                                     EXPECT_LE(gjort, totalt);
                                     return ++kall < 2;
                                   }),
               IoFeil);
  EXPECT_EQ(LesHeleFila(m / "Verene.Dat"), gammel);
  EXPECT_FALSE(fs::exists(m / "Verene.Dat.ny"));

  // The new file cannot be made beside the register.
  fs::create_directory(m / "Verene.Dat.ny");
  EXPECT_THROW(KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat"), IoFeil);
  EXPECT_EQ(LesHeleFila(m / "Verene.Dat"), gammel);
  EXPECT_THROW(KonverterEksportfil(m / "finnes-ikke.Tex", m / "Verene.Dat"), IoFeil);
  EXPECT_EQ(LesHeleFila(m / "Verene.Dat"), gammel);

  fs::remove(m / "Verene.Dat.ny");
  int64_t sist = -1;
  EXPECT_EQ(KonverterEksportfil(m / "Vedder2.Tex", m / "Verene.Dat",
                                [&](int64_t gjort, int64_t) {
                                  EXPECT_GE(gjort, sist);
                                  sist = gjort;
                                  return true;
                                })
                .poster,
            static_cast<int64_t>(KonverterEksport(Eksport(20000)).size()));
  EXPECT_EQ(sist, static_cast<int64_t>(Eksport(20000).size())) << "the last report is the whole file";
}
