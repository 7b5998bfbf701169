#include "trase.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testmappe.h"

TEST(TraseTest, InnebygdeNavnOgKoderUtenforTabellen) {
  TestMappe m;
  IMappe i(m.Sti());  // no Rasene.Nav here
  const Trase t;
  EXPECT_TRUE(t.Feil().empty());
  ASSERT_EQ(t.BreedCount(), 27);
  struct Tilfelle {
    int32_t kode;
    std::string ventet;
  };
  const Tilfelle tilfeller[] = {
      {0, "Ukjent rase"},       {1, "Dala   "},  // trailing blanks belong to the name
      {-4, "^Sp\xE6lsau"},      {17, "Gr\xE5 tr\xF8nder"},
      {26, "Kryssning"},        {27, "Feil i rase 27"},
      {-27, "Feil i rase -27"}, {-128, "Feil i rase -128"},
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.kode);
    EXPECT_EQ(t.BreedName(c.kode), c.ventet);
  }
  for (const auto& navn : InnebygdeRaser()) EXPECT_LE(navn.size(), 17u);
}

TEST(TraseTest, RaseneNavErstatterListaMenIkkeTabelluttaket) {
  TestMappe m;
  std::string fil;
  for (int i = 0; i < 30; ++i) fil += "Rase " + std::to_string(i) + (i % 2 ? "  \r\n" : "\n");
  m.Skriv("Rasene.Nav", fil);
  IMappe i(m.Sti());
  const Trase t;
  ASSERT_EQ(t.BreedCount(), 30);
  EXPECT_EQ(t.BreedName(0), "Rase 0");
  EXPECT_EQ(t.BreedName(1), "Rase 1  ") << "trailing blanks kept, CR LF removed";
  EXPECT_EQ(t.BreedName(29), "Rase 29  ");
  EXPECT_EQ(t.BreedName(-28), "^Rase 28");
  EXPECT_EQ(t.BreedName(30), "Feil i rase 30");
  EXPECT_EQ(InnebygdRase(4), "Sp\xE6lsau");
  EXPECT_EQ(InnebygdRase(27), "");
}

TEST(TraseTest, SisteLinjeUtenLinjeskiftOgLitenBokstavIFilnavnet) {
  TestMappe m;
  m.Skriv("rasene.nav", "A\r\nB\r\nC");
  IMappe i(m.Sti());
  const Trase t;
  ASSERT_EQ(t.BreedCount(), 3);
  EXPECT_EQ(t.BreedName(2), "C");

  // A bare CR ends a line as it does in every other file the program reads.
  m.Skriv("rasene.nav", "A\rB\r\nC\n");
  const Trase cr;
  ASSERT_EQ(cr.BreedCount(), 3);
  EXPECT_EQ(cr.BreedName(1), "B");
}

TEST(TraseTest, UlesbarFilGirFeilmeldingOgInnebygdeNavn) {
  TestMappe m;
  std::filesystem::create_directory(m / "Rasene.Nav");
  IMappe i(m.Sti());
  const Trase t;
  EXPECT_FALSE(t.Feil().empty());
  EXPECT_EQ(t.BreedCount(), 27);
}

TEST(FylkeTest, FylkeslistaOgFylkesnavn) {
  const auto& liste = FylkeListe();
  EXPECT_EQ(liste[0], "00  Alle fylker");
  EXPECT_EQ(liste[1].substr(0, 11), "01  \xD8stfold");
  EXPECT_NE(liste[1].find("\t\tXX10501-11500"), std::string::npos);
  EXPECT_EQ(liste[13], "13 Udefinert");
  struct Tilfelle {
    int64_t nummer;
    std::string ventet;
  };
  const Tilfelle tilfeller[] = {
      {1, "  \xD8stfold           "},  // 20 characters, stops before the tabs
      {7, "  Vestfold "},
      {12, "  Hordaland"},
      {13, " Udefinert"},
      {16, "  S\xF8r-Tr\xF8ndelag "},
      {20, "  Finnmark"},
      {0, ""},
      {21, ""},
      {-3, ""},
      {99, ""},
      {1234567890, "  Hordaland"},  // producer number: county in the first two digits
      {2012345678, "  Finnmark"},
      {123456, ""},  // pads to 0000123456: county 0
  };
  for (const auto& c : tilfeller) {
    SCOPED_TRACE(c.nummer);
    EXPECT_EQ(CountyName(c.nummer), c.ventet);
  }
}
