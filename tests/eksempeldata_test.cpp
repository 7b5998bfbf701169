#include "eksempeldata.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdio>
#include <map>
#include <set>

#include "filer.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"

namespace {

std::vector<std::string> Linjer(const std::string& tekst) {
  std::vector<std::string> ut;
  std::size_t pos = 0;
  while (pos < tekst.size()) {
    const std::size_t slutt = tekst.find("\r\n", pos);
    EXPECT_NE(slutt, std::string::npos) << "every line ends in CR LF";
    if (slutt == std::string::npos) break;
    ut.push_back(tekst.substr(pos, slutt - pos));
    pos = slutt + 2;
  }
  return ut;
}

std::vector<std::string> Felt(const std::string& linje) {
  std::vector<std::string> f;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t s = linje.find(';', pos);
    f.push_back(linje.substr(pos, s == std::string::npos ? std::string::npos : s - pos));
    if (s == std::string::npos) break;
    pos = s + 1;
  }
  return f;
}

}  // namespace

TEST(EksempeldataTest, SammeFroeGirSammeEksport) {
  EXPECT_EQ(LagEksport(500, 3), LagEksport(500, 3));
  EXPECT_NE(LagEksport(500, 3), LagEksport(500, 4));
  EXPECT_EQ(Linjer(LagEksport(0, 1)).size(), 1u) << "only the header";
}

TEST(EksempeldataTest, EksportenHarDetEnRegisterTrenger) {
  const std::string eksport = LagEksport(20000, 5);
  const auto linjer = Linjer(eksport);
  ASSERT_EQ(linjer.size(), 20001u);
  EXPECT_EQ(Felt(linjer[0]).size(), 50u);
  std::set<int> fylker, raser, typer;
  std::set<std::string> nummer;
  int dobbelt = 0, gule = 0, langeNavn = 0, dos = 0, tommeDatoer = 0, umuligeDatoer = 0;
  for (std::size_t i = 1; i < linjer.size(); ++i) {
    const auto f = Felt(linjer[i]);
    ASSERT_EQ(f.size(), 50u) << linjer[i];
    if (!nummer.insert(f[2]).second) ++dobbelt;
    if (f[0] != "1666666654") fylker.insert(static_cast<int>(TextToInt(f[0].substr(0, 2))));
    raser.insert(static_cast<int>(TextToInt(f[14])));
    typer.insert(static_cast<int>(TextToInt(f[46])));
    if (TextToInt(f[27]) >= 900) ++gule;
    if (f[31].size() > 22) ++langeNavn;  // with its quotes
    for (unsigned char c : f[43])
      if (c >= 0x84 && c <= 0x9D) ++dos;
    if (f[8].empty()) ++tommeDatoer;
    if (f[8].find("-04-31") != std::string::npos || f[8] == "2003-02-29") ++umuligeDatoer;
  }
  EXPECT_EQ(fylker.size(), 20u);
  int positive = 0;
  for (int r : raser) positive += r >= 0;
  EXPECT_EQ(positive, 27);
  EXPECT_TRUE(raser.count(-1) || raser.count(-10)) << "negative breed codes";
  EXPECT_EQ(typer, (std::set<int>{0, 1, 2, 3}));
  EXPECT_GT(dobbelt, 0);
  EXPECT_GT(gule, 0);
  EXPECT_GT(langeNavn, 0);
  EXPECT_GT(dos, 0);
  EXPECT_GT(tommeDatoer, 0);
  EXPECT_GT(umuligeDatoer, 0);

  // Sires and dams' sires are rams that came earlier; some sires have many sons.
  const std::vector<TVerPost> poster = KonverterEksport(eksport);
  ASSERT_EQ(poster.size(), 20000u);
  std::set<int32_t> sett;
  std::map<int32_t, int> soenner;
  for (const TVerPost& p : poster) {
    if (p.Farnr != 0) {
      EXPECT_TRUE(sett.count(+p.Farnr)) << p.Farnr;
      ++soenner[+p.Farnr];
    }
    if (p.MorFar != 0) {
      EXPECT_TRUE(sett.count(+p.MorFar)) << p.MorFar;
    }
    sett.insert(+p.Nummer);
  }
  int flest = 0;
  for (const auto& [far, antall] : soenner) flest = std::max(flest, antall);
  EXPECT_GE(flest, 20);
  // Pedigrees are deep: follow sires back from the last ram.
  std::map<int32_t, int32_t> far;
  for (const TVerPost& p : poster) far[+p.Nummer] = p.Farnr;
  int dybde = 0;
  for (int32_t n = poster.back().Nummer; n != 0 && dybde < 100; n = far[n]) ++dybde;
  EXPECT_GE(dybde, 5);
}

TEST(EksempeldataTest, ArkivetHolderEksportenForZipOgLibzip) {
  TestMappe m;
  SkrivEksempeldata(300, 9, m.Sti(), true);
  const std::string eksport = LesHeleFila(m / "Vedder2.Tex");
  EXPECT_EQ(eksport, LagEksport(300, 9));
  EXPECT_EQ(std::filesystem::file_size(m / "Verene.Dat"), KonverterEksport(eksport).size() * 196);

  int feil = 0;
  zip_t* z = zip_open((m / "Nyverer.Zip").c_str(), ZIP_RDONLY, &feil);
  ASSERT_NE(z, nullptr);
  ASSERT_EQ(zip_get_num_entries(z, 0), 1);
  EXPECT_STREQ(zip_get_name(z, 0, 0), "Vedder2.Tex");
  zip_close(z);

  // Info-ZIP's unzip reads the archive as well.
  const std::string kommando =
      "unzip -p '" + (m / "Nyverer.Zip").string() + "' Vedder2.Tex > '" + (m / "utpakket").string() + "' 2>/dev/null";
  if (std::system("command -v unzip >/dev/null 2>&1") == 0) {
    ASSERT_EQ(std::system(kommando.c_str()), 0);
    EXPECT_EQ(LesHeleFila(m / "utpakket"), eksport);
  }
}
