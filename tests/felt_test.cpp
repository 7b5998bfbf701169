// The one reader and writer of the program's semicolon files and the one
// reader of judging numbers.
#include "felt.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(Felt, LinjerLesesSomFilaSkrevDem) {
  struct Tilfelle {
    std::string linje;
    std::vector<std::string> celler;
  };
  const std::vector<Tilfelle> tilfeller = {
      {"", {""}},
      {"a", {"a"}},
      {"a;b;", {"a", "b", ""}},
      {"123;  4 5 ;x", {"123", "  4 5 ", "x"}},
      {"\"Storm; Rex\";1", {"Storm; Rex", "1"}},
      {"\"sa \"\"hei\"\"\";2", {"sa \"hei\"", "2"}},
      {"  \"sitert\";3", {"sitert", "3"}},       // blanks before the quote are passed over
      {"\"a\"b;4", {"ab", "4"}},                 // text after the closing quote stays with the cell
      {"a\"b;5", {"a\"b", "5"}},                 // a quote inside an unquoted cell is a letter
      {"\"\";\"\"", {"", ""}},
  };
  for (const Tilfelle& t : tilfeller) {
    std::vector<std::string> felt;
    EXPECT_TRUE(DelFelt(t.linje, felt)) << t.linje;
    EXPECT_EQ(felt, t.celler) << t.linje;
  }
  std::vector<std::string> felt;
  EXPECT_FALSE(DelFelt("1;\"ingen slutt;2", felt));
}

TEST(Felt, SkrevneCellerLesesTilbakeLikt) {
  const std::vector<std::string> celler = {"vanlig", "", "med;semikolon", "med \"sitat\"", " blank foran",
                                           "blank bak ", "\"", ";", "\xE6\xF8\xE5 \xC6\xD8\xC5"};
  std::string linje;
  for (std::size_t i = 0; i < celler.size(); ++i) {
    if (i > 0) linje += ';';
    LeggTilFelt(linje, celler[i]);
  }
  std::vector<std::string> lest;
  ASSERT_TRUE(DelFelt(linje, lest)) << linje;
  EXPECT_EQ(lest, celler);
  // Plain cells are written as they are.
  std::string enkel;
  LeggTilFelt(enkel, "1900123");
  EXPECT_EQ(enkel, "1900123");
}

TEST(Felt, Kaaringsnummer) {
  struct Tilfelle {
    const char* tekst;
    std::optional<int32_t> verdi;
  };
  const std::vector<Tilfelle> tilfeller = {
      {"", 0},           {"  ", 0},         {"1900123", 1900123},   {"1 900 123", 1900123},
      {"1\xA0" "900", 1900}, {"0001900123", 1900123}, {"2147483647", 2147483647},
      {"2147483648", std::nullopt}, {"12345678901", std::nullopt}, {"-5", std::nullopt},
      {"12a", std::nullopt}, {"1,5", std::nullopt},
  };
  for (const Tilfelle& t : tilfeller) EXPECT_EQ(LesKaaringsnummer(t.tekst), t.verdi) << t.tekst;
}
