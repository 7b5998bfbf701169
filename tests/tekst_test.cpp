#include "tekst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "dato.h"

namespace {

// The day count of a calendar date the test knows to exist.
double Dag(int aar, int maaned, int dag) { return EncodeDate(aar, maaned, dag).value(); }

// Readable form of a byte string in failure messages.
std::string Vis(const std::string& s) {
  std::string ut;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      ut += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      ut += buf;
    }
  }
  return ut;
}

}  // namespace

// ---------------------------------------------------------------------------
// NextField

TEST(TekstNextField, DelerLinjaFeltForFelt) {
  struct Tilfelle {
    const char* linje;
    std::vector<std::string> felt;  // the results of successive calls
    const char* rest;               // the line after the last call
  };
  const Tilfelle tilfeller[] = {
      // The last field comes back again and again; the line keeps it.
      {"a;b", {"a", "b", "b", "b"}, "b"},
      {"123;Bukk;;7", {"123", "Bukk", "", "7", "7"}, "7"},
      // A leading ';' gives an empty field, a trailing ';' an empty last field.
      {";x", {"", "x", "x"}, "x"},
      {"a;", {"a", "", ""}, ""},
      {";;", {"", "", ""}, ""},
      {"", {"", ""}, ""},
      // Blanks belong to the field.
      {" a ; b ", {" a ", " b ", " b "}, " b "},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.linje);
    std::string linje = t.linje;
    for (std::size_t i = 0; i < t.felt.size(); ++i) {
      SCOPED_TRACE("kall " + std::to_string(i + 1));
      EXPECT_EQ(NextField(linje), t.felt[i]);
    }
    EXPECT_EQ(linje, t.rest);
  }
}

TEST(TekstNextField, FjernerHoeystToAnfoerselstegn) {
  struct Tilfelle {
    const char* linje;
    const char* felt1;
    const char* felt2;
  };
  const Tilfelle tilfeller[] = {
      {"\"Bukk\";\"Ola\"", "Bukk", "Ola"},
      // Only the first two quotes go, wherever they stand.
      {"a\"b\"c\";x", "abc\"", "x"},
      {"\"\"\"\";x", "\"\"", "x"},
      {"\"ab;x", "ab", "x"},
      // Quotes do not protect a ';': the quoted field is split at it.
      {"\"Nord;S\xF8r\";7", "Nord", "S\xF8r"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.linje);
    std::string linje = t.linje;
    EXPECT_EQ(NextField(linje), t.felt1);
    EXPECT_EQ(NextField(linje), t.felt2);
  }
}

TEST(TekstNextField, LangLinjeMisterIngenKolonnerMenFeltetKuttes) {
  // An export line of 50 columns is far longer than 255 bytes; every column
  // must still come out.
  std::string linje;
  for (int i = 1; i <= 50; ++i) linje += "felt" + std::to_string(i) + "_" + std::string(10, 'x') + ";";
  ASSERT_GT(linje.size(), 600u);
  for (int i = 1; i <= 50; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(NextField(linje), "felt" + std::to_string(i) + "_" + std::string(10, 'x'));
  }
  EXPECT_EQ(linje, "");

  // A single field longer than 255 bytes is cut to 255; the next field is intact.
  std::string lang = std::string(300, 'a') + ";neste";
  EXPECT_EQ(NextField(lang), std::string(255, 'a'));
  EXPECT_EQ(NextField(lang), "neste");
}

// ---------------------------------------------------------------------------
// TextToInt

TEST(TekstTextToInt, DropperTegnDenIkkeKanLese) {
  struct Tilfelle {
    const char* tekst;
    int64_t verdi;
  };
  const Tilfelle tilfeller[] = {
      {"", 0},
      {"0", 0},
      {"42", 42},
      {"-5", -5},
      {"+5", 5},
      {"  -17", -17},
      {" 7 ", 7},
      {"12a3", 123},
      {"1 234", 1234},
      {"3,5", 35},
      {"1.5", 15},
      {"12-3", 123},
      {"5-", 5},
      {"- 5", -5},
      {"+-5", 5},
      {"a-5", -5},
      {"abc", 0},
      {"-", 0},
      {"+", 0},
      {"   ", 0},
      {"\t9", 9},
      {"nr. 0042 kg", 42},
      {"\xE5"
       "12",
       12},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(Vis(t.tekst));
    EXPECT_EQ(TextToInt(t.tekst), t.verdi);
  }
}

TEST(TekstTextToInt, HeksadesimaltEtterPrefiks) {
  struct Tilfelle {
    const char* tekst;
    int64_t verdi;
  };
  const Tilfelle tilfeller[] = {
      {"$FF", 255},
      {"$ff", 255},
      {"x1f", 31},
      {"X10", 16},
      {"0x1A", 26},
      {"0X1a", 26},
      {"-$10", -16},
      {"+0x10", 16},
      // A text that ends right after the prefix gives 0.
      {"$", 0},
      {"0x", 0},
      {"-x", 0},
      // An 'x' after the first digit is only a bad character.
      {"12x", 12},
      {"1x5", 15},
      // Without a prefix the letters a to f are not digits.
      {"ff", 0},
      {"1f", 1},
      // A bad character after hexadecimal digits is dropped, the rest is still hexadecimal.
      {"$1G0", 16},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    EXPECT_EQ(TextToInt(t.tekst), t.verdi);
  }
}

TEST(TekstTextToInt, SifferSomVilleFlyteOverDroppes) {
  EXPECT_EQ(TextToInt("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TextToInt("-9223372036854775807"), -std::numeric_limits<int64_t>::max());
  // The digit that would overflow is dropped like any other bad character.
  EXPECT_EQ(TextToInt("9223372036854775808"), 922337203685477580);
  EXPECT_EQ(TextToInt("99999999999999999999"), 999999999999999999);
  // Callers keep only the low bits; 300 in an 8-bit field is 44.
  EXPECT_EQ(static_cast<uint8_t>(TextToInt("300")), 44);
}

// ---------------------------------------------------------------------------
// LesHeltall

TEST(TekstLesHeltall, LeserSomTextToIntMenI32BiterOgBareDe30ForsteTegnene) {
  struct Tilfelle {
    std::string tekst;
    int32_t verdi;
    bool helt;  // the whole text read as an integer at once
  };
  const Tilfelle tilfeller[] = {
      {"", 0, false},
      {"0", 0, true},
      {"-5", -5, true},
      {"  42", 42, true},
      {"42 ", 42, false},
      {"12a3", 123, false},
      {"ab", 0, false},
      {"a", 0, false},
      {"-", 0, false},
      {"5a", 5, false},
      {"12-3", 123, false},
      {"$1F", 31, true},
      {"2147483647", 2147483647, true},
      {"-2147483647", -2147483647, true},
      // The digit that would overflow 32 bits is dropped like a bad character.
      {"2147483648", 214748364, false},
      {"99999999999", 999999999, false},
      // Only the first 30 characters are read: the 7 ends them, the digits
      // after it are not seen.
      {std::string(29, 'x') + "7" + "123456789", 7, false},
      {std::string(28, ' ') + "12" + "abcdefghij", 12, true},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(Vis(t.tekst));
    bool helt = !t.helt;
    EXPECT_EQ(LesHeltall(t.tekst, &helt), t.verdi);
    EXPECT_EQ(helt, t.helt);
    EXPECT_EQ(LesHeltall(t.tekst), t.verdi);
  }
}

// ---------------------------------------------------------------------------
// TextToReal

TEST(TekstTextToReal, LeserKommaOgDropperTegnDenIkkeKanLese) {
  struct Tilfelle {
    const char* tekst;
    float verdi;
  };
  const Tilfelle tilfeller[] = {
      {"", 0.0f},
      {"abc", 0.0f},
      {"-", 0.0f},
      {".", 0.0f},
      {"7", 7.0f},
      {"12,5", 12.5f},
      {"12.5", 12.5f},
      {"-3,75", -3.75f},
      {"+2", 2.0f},
      {",5", 0.5f},
      {"1.", 1.0f},
      {"  4,5", 4.5f},
      {"1 234,5", 1234.5f},
      // Only the first comma is a decimal mark.
      {"1,234,5", 1.2345f},
      {"1.2.3", 1.23f},
      {"4.5 kg", 4.5f},
      {"1,5e2", 150.0f},
      {"2E-1", 0.2f},
      {"e5", 5.0f},
      {"0,1", 0.1f},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    EXPECT_EQ(TextToReal(t.tekst), t.verdi);
  }
}

TEST(TekstTextToReal, KommaErDesimaltegnForTallMenIkkeForHeltall) {
  EXPECT_EQ(TextToReal("7,25"), 7.25f);
  EXPECT_EQ(TextToInt("7,25"), 725);
}

TEST(TekstTextToReal, VerdiUtenforFloat32GirNull) {
  static_assert(std::is_same_v<decltype(TextToReal("")), float>);
  EXPECT_EQ(TextToReal("3e38"), 3e38f);
  EXPECT_EQ(TextToReal("-3e38"), -3e38f);
  struct Tilfelle {
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {{"1e39"}, {"-1e39"}, {"1e400"}, {"-1e400"}, {"1e99999"}, {"9,9e40 kg"}};
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    EXPECT_EQ(TextToReal(t.tekst), 0.0f);
  }
}

// ---------------------------------------------------------------------------
// IsoTextToDate and CompactTextToDate

TEST(TekstIsoTextToDate, LeserFasteTegnposisjoner) {
  struct Tilfelle {
    const char* tekst;
    int aar, maaned, dag;
  };
  const Tilfelle tilfeller[] = {
      {"2023-04-15", 2023, 4, 15},
      {"1951-01-01", 1951, 1, 1},
      {"2899-12-31", 2899, 12, 31},
      {"2024-02-29", 2024, 2, 29},
      {"2023-04-15T10:30:00", 2023, 4, 15},
      {"2023/04/15", 2023, 4, 15},
      // The parts are taken from characters 1-4, 6-7 and 9-10, not split at '-'.
      {"2023-4-5", 2023, 4, 1},
      {"2023", 2023, 1, 1},
      // An empty or unreadable text is 1 January 1900.
      {"", 1900, 1, 1},
      {"ukjent", 1900, 1, 1},
      // Years outside 1951 to 2899 become 1900; the month and day stay.
      {"1950-05-06", 1900, 5, 6},
      {"2900-05-06", 1900, 5, 6},
      {"0000-05-06", 1900, 5, 6},
      // A month or day out of range becomes 1.
      {"2023-13-15", 2023, 1, 15},
      {"2023-00-15", 2023, 1, 15},
      {"2023-04-00", 2023, 4, 1},
      {"2023-04-32", 2023, 4, 1},
      {"2023-04-xx", 2023, 4, 1},
      // A day the month does not have becomes its last day.
      {"2023-04-31", 2023, 4, 30},
      {"2023-02-29", 2023, 2, 28},
      {"2023-02-31", 2023, 2, 28},
      {"2024-02-30", 2024, 2, 29},
      {"1800-02-29", 1900, 2, 28},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    EXPECT_EQ(IsoTextToDate(t.tekst), Dag(t.aar, t.maaned, t.dag));
  }
  EXPECT_EQ(IsoTextToDate(""), IngenDato);
}

TEST(TekstCompactTextToDate, LeserDagMaanedAar) {
  struct Tilfelle {
    const char* tekst;
    int aar, maaned, dag;
  };
  const Tilfelle tilfeller[] = {
      {"15042023", 2023, 4, 15},
      {"01011951", 1951, 1, 1},
      // Two-digit years below 50 are this century, the rest fall outside the range.
      {"010307", 2007, 3, 1},
      {"010300", 2000, 3, 1},
      {"010349", 2049, 3, 1},
      {"010350", 1900, 3, 1},
      {"010385", 1900, 3, 1},
      {"01031950", 1900, 3, 1},
      {"1504202", 1900, 4, 15},
      {"150423xx", 2023, 4, 15},
      {"150423 ", 2023, 4, 15},
      // A month or day out of range becomes 1.
      {"15132023", 2023, 1, 15},
      {"00042023", 2023, 4, 1},
      {"32042023", 2023, 4, 1},
      // A day the month does not have becomes its last day.
      {"31042023", 2023, 4, 30},
      {"290223", 2023, 2, 28},
      {"290224", 2024, 2, 29},
      {"310285", 1900, 2, 28},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    EXPECT_EQ(CompactTextToDate(t.tekst), Dag(t.aar, t.maaned, t.dag));
  }
}

TEST(TekstCompactTextToDate, KortTekstGirDagNull) {
  for (const char* tekst : {"", "1", "31129", "01012"}) {
    SCOPED_TRACE(tekst);
    EXPECT_EQ(CompactTextToDate(tekst), 0.0);
  }
}

// ---------------------------------------------------------------------------
// CheckDigitOk

TEST(TekstCheckDigitOk, GodtarBareRiktigKontrollsiffer) {
  // The valid numbers, each with the one right check digit.
  const char* gyldige[] = {
      "1234567897",  // products 18, 14 and 10 count with their digit sums
      "1000000008",  // the 1st character has weight 2
      "0000000018",  // the 9th character has weight 2
      "0000000000",  // a sum that is a multiple of 10 gives 0
      "9876543217", "5555555555", "0123456782", "1919191914",
  };
  for (const char* nr : gyldige) {
    SCOPED_TRACE(nr);
    EXPECT_TRUE(CheckDigitOk(nr));
    // Every other last digit is wrong.
    std::string feil = nr;
    for (char c = '0'; c <= '9'; ++c) {
      if (c == nr[9]) continue;
      feil[9] = c;
      EXPECT_FALSE(CheckDigitOk(feil)) << feil;
    }
  }
  // Swapping two neighbouring digits is caught.
  EXPECT_FALSE(CheckDigitOk("2134567897"));
}

TEST(TekstCheckDigitOk, KreverTiSiffer) {
  const std::string tilfeller[] = {
      "",
      "0",
      "123456789",
      "12345678970",
      " 1234567897",
      "1234567897 ",
      "123456789x",
      "12345678 7",
      std::string("123456789\0", 10),
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(Vis(t));
    EXPECT_FALSE(CheckDigitOk(t));
  }
}

// ---------------------------------------------------------------------------
// IntToText, RoundHalfAway, SafeDiv

TEST(TekstIntToText, DesimalTekstMedFortegn) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(1234567), "1234567");
  EXPECT_EQ(IntToText(-42), "-42");
  EXPECT_EQ(IntToText(std::numeric_limits<int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(IntToText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(TekstRoundHalfAway, HalvpartRundesBortFraNull) {
  struct Tilfelle {
    double verdi;
    int64_t svar;
  };
  const Tilfelle tilfeller[] = {
      {0.0, 0},
      {2.5, 3},
      {-2.5, -3},
      {2.4999, 2},
      {-2.4999, -2},
      {0.5, 1},
      {-0.5, -1},
      {1.5, 2},
      {-1.5, -2},
      {3.7, 4},
      {-3.7, -4},
      {3.2, 3},
      {-3.2, -3},
      // The largest double below one half must not round up.
      {0.49999999999999994, 0},
      {-0.49999999999999994, 0},
      {4503599627370497.0, 4503599627370497},
      {1e15 + 0.5, 1000000000000001},
      {-(1e15 + 0.5), -1000000000000001},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.verdi);
    EXPECT_EQ(RoundHalfAway(t.verdi), t.svar);
  }
}

TEST(TekstSafeDiv, NullNaarEnAvDemErNull) {
  static_assert(std::is_same_v<decltype(SafeDiv(1.0f, 2.0f)), float>);
  static_assert(std::is_same_v<decltype(SafeDiv(1.0L, 2.0L)), long double>);

  EXPECT_EQ(SafeDiv(6.0f, 3.0f), 2.0f);
  EXPECT_EQ(SafeDiv(-1.0f, 4.0f), -0.25f);
  EXPECT_EQ(SafeDiv(5.0f, 0.0f), 0.0f);
  EXPECT_EQ(SafeDiv(5.0f, -0.0f), 0.0f);
  EXPECT_EQ(SafeDiv(0.0f, 5.0f), 0.0f);
  EXPECT_EQ(SafeDiv(0.0f, 0.0f), 0.0f);

  EXPECT_EQ(SafeDiv(5.0L, 0.0L), 0.0L);
  EXPECT_EQ(SafeDiv(0.0L, 0.0L), 0.0L);
  EXPECT_EQ(SafeDiv(0.0L, 5.0L), 0.0L);
  // The wide form keeps the precision of its type.
  EXPECT_EQ(SafeDiv(1.0L, 3.0L), 1.0L / 3.0L);
}

// ---------------------------------------------------------------------------
// FormatFixed and FormatN

TEST(TekstFormatFixed, RunderHalvpartBortFraNull) {
  struct Tilfelle {
    double x;
    int desimaler;
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {
      {0.0, 2, "0.00"},
      {0.0, 0, "0"},
      {3.14159, 2, "3.14"},
      {3.14159, 0, "3"},
      {1234.5, 1, "1234.5"},
      {1234.5, 3, "1234.500"},
      {-7.0, 1, "-7.0"},
      {0.125, 2, "0.13"},
      {-0.125, 2, "-0.13"},
      {2.5, 0, "3"},
      {-2.5, 0, "-3"},
      {0.5, 0, "1"},
      {0.4, 0, "0"},
      {0.0004, 3, "0.000"},
      {0.0005, 3, "0.001"},
      // A carry runs through every digit.
      {9.96, 1, "10.0"},
      {999.5, 0, "1000"},
      {-999.5, 0, "-1000"},
      // Decided on the value's 17 significant digits.
      {12.345, 2, "12.35"},
      {0.995, 2, "1.00"},
      {99.995, 2, "100.00"},
      {2.675, 2, "2.67"},
      {1.005, 2, "1.00"},
      // Large values show all their digits, never an exponent.
      {1e20, 0, "100000000000000000000"},
      {123456789012.0, 2, "123456789012.00"},
      // A value that rounds to zero has no sign.
      {-0.001, 2, "0.00"},
      {-0.0, 1, "0.0"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << t.x << " med " << t.desimaler << " desimaler");
    EXPECT_EQ(FormatFixed(t.x, t.desimaler), t.tekst);
  }
}

TEST(TekstFormatN, BlankMellomTusenOgDesimalkomma) {
  struct Tilfelle {
    double x;
    int desimaler;
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {
      {0.0, 0, "0"},
      {999.0, 0, "999"},
      {1000.0, 0, "1 000"},
      {1234.5, 1, "1 234,5"},
      {1234567.891, 2, "1 234 567,89"},
      {123456.0, 0, "123 456"},
      {-1234.5, 1, "-1 234,5"},
      {-999.0, 0, "-999"},
      {-123456.0, 0, "-123 456"},
      {0.5, 2, "0,50"},
      {-0.25, 1, "-0,3"},
      // Rounding may add a group.
      {999.95, 1, "1 000,0"},
      {999999.5, 0, "1 000 000"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << t.x << " med " << t.desimaler << " desimaler");
    EXPECT_EQ(FormatN(t.x, t.desimaler), t.tekst);
  }
}

TEST(TekstFormatN, MedBreddeHoeyrejusteresUtenAaKuttes) {
  EXPECT_EQ(FormatN(10, 1, 1234.5), "   1 234,5");
  EXPECT_EQ(FormatN(7, 1, 1234.5), "1 234,5");
  EXPECT_EQ(FormatN(3, 1, 1234.5), "1 234,5");
  EXPECT_EQ(FormatN(6, 0, -42.0), "   -42");
  EXPECT_EQ(FormatN(0, 2, 1.0), "1,00");
}

// ---------------------------------------------------------------------------
// FitNumber

TEST(TekstFitNumber, GirOppDesimalerTilTalletPasser) {
  struct Tilfelle {
    int bredde, desimaler;
    double x;
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {
      // Zero is a row of dashes as wide as the column.
      {4, 1, 0.0, "----"},
      {1, 0, 0.0, "-"},
      {0, 2, 0.0, ""},
      {6, 2, -0.0, "------"},
      {4, 1, 45.5, "45.5"},
      {4, 1, 123.4, "123"},
      {6, 3, 123.456, "123.46"},
      {5, 3, 123.456, "123.5"},
      {3, 3, 123.456, "123"},
      // The blanks of the right alignment are removed again.
      {8, 2, 3.14159, "3.14"},
      {10, 0, 7.0, "7"},
      // The point is the decimal mark, whatever the program's locale says.
      {6, 2, 1234.5, "1234.5"},
      // Rounding is half away from zero at every step.
      {4, 1, -5.25, "-5.3"},
      {4, 1, -45.5, "-46"},
      {3, 2, 9.96, "10"},
      {5, 1, 0.25, "0.3"},
      // A small value that is not zero shows as zero, not as dashes.
      {4, 3, 0.0004, "0.00"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << "bredde " << t.bredde << ", " << t.desimaler << " desimaler, " << t.x);
    EXPECT_EQ(FitNumber(t.bredde, t.desimaler, t.x), t.tekst);
  }
}

TEST(TekstFitNumber, ForStortHeltallVisesMedEksponent) {
  struct Tilfelle {
    int bredde, desimaler;
    double x;
  };
  const Tilfelle tilfeller[] = {
      {8, 0, 123456789.0},
      {8, 2, -123456789.0},
      {10, 1, 1.5e15},
      {9, 0, 4.2e-3 * 1e20},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << "bredde " << t.bredde << ", " << t.x);
    const std::string tekst = FitNumber(t.bredde, t.desimaler, t.x);
    EXPECT_LE(tekst.size(), static_cast<std::size_t>(t.bredde)) << tekst;
    EXPECT_NE(tekst.find_first_of("eE"), std::string::npos) << tekst;
    EXPECT_EQ(tekst, TrimText(tekst));
    // The text still names the value to a couple of digits.
    const double lest = std::stod(tekst);
    EXPECT_NEAR(lest, t.x, std::fabs(t.x) * 0.05) << tekst;
  }
}

// ---------------------------------------------------------------------------
// DateToText

TEST(TekstDateToText, DatoEllerIngenDato) {
  struct Tilfelle {
    double dato;
    const char* tekst;
  };
  const Tilfelle tilfeller[] = {
      {36526.0, "01/01/2000"},
      {45291.0, "31/12/2023"},
      {45351.0, "29/02/2024"},
      // The time of day does not matter.
      {45291.75, "31/12/2023"},
      {18629.0, "01/01/1951"},
      {365244.0, "31/12/2899"},
      // Outside the years 1951 to 2899 there is no date.
      {18628.0, "Ingen dato"},
      {365245.0, "Ingen dato"},
      {IngenDato, "Ingen dato"},
      {0.0, "Ingen dato"},
      {-1.0, "Ingen dato"},
      {-1e300, "Ingen dato"},
      {1e300, "Ingen dato"},
      {std::numeric_limits<double>::quiet_NaN(), "Ingen dato"},
      {std::numeric_limits<double>::infinity(), "Ingen dato"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.dato);
    EXPECT_EQ(DateToText(t.dato), t.tekst);
  }
}

TEST(TekstDateToText, LesteDatoerSkrivesTilbake) {
  EXPECT_EQ(DateToText(IsoTextToDate("2023-04-15")), "15/04/2023");
  EXPECT_EQ(DateToText(IsoTextToDate("2023-04-31")), "30/04/2023");
  EXPECT_EQ(DateToText(CompactTextToDate("010307")), "01/03/2007");
  // A missing date reads as 1 January 1900, which is no date.
  EXPECT_EQ(DateToText(IsoTextToDate("")), "Ingen dato");
  EXPECT_EQ(DateToText(CompactTextToDate("010385")), "Ingen dato");
}

// ---------------------------------------------------------------------------
// UpChar, LowChar, UpperText, NameCase, DosToWindows

TEST(TekstBokstav, UpCharOgLowCharFoelgerSineByteomraader) {
  struct Tilfelle {
    unsigned char inn, opp, ned;
  };
  const Tilfelle tilfeller[] = {
      {'a', 'A', 'a'},
      {'z', 'Z', 'z'},
      {'A', 'A', 'a'},
      {'Z', 'Z', 'z'},
      {'`', '`', '`'},
      {'{', '{', '{'},
      {'@', '@', '@'},
      {'[', '[', '['},
      {'5', '5', '5'},
      {' ', ' ', ' '},
      {0x00, 0x00, 0x00},
      // æ ø å and Æ Ø Å.
      {0xE6, 0xC6, 0xE6},
      {0xF8, 0xD8, 0xF8},
      {0xE5, 0xC5, 0xE5},
      {0xC6, 0xC6, 0xE6},
      {0xD8, 0xD8, 0xF8},
      {0xC5, 0xC5, 0xE5},
      // The edges of the two ranges.
      {0xBF, 0xBF, 0xBF},
      {0xC0, 0xC0, 0xE0},
      {0xDC, 0xDC, 0xFC},
      {0xDD, 0xDD, 0xDD},
      {0xDE, 0xBE, 0xDE},
      {0xDF, 0xBF, 0xDF},
      {0xE0, 0xC0, 0xE0},
      {0xFD, 0xDD, 0xFD},
      {0xFE, 0xFE, 0xFE},
      {0xFF, 0xFF, 0xFF},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << "byte " << static_cast<int>(t.inn));
    EXPECT_EQ(UpChar(t.inn), t.opp);
    EXPECT_EQ(LowChar(t.inn), t.ned);
  }
}

TEST(TekstBokstav, UpperTextGaarGjennomHverByte) {
  EXPECT_EQ(UpperText("bl\xE5"
                      "b\xE6r \xF8y 12"),
            "BL\xC5"
            "B\xC6R \xD8Y 12");
  EXPECT_EQ(UpperText("ALLEREDE STORE \xC5\xD8"), "ALLEREDE STORE \xC5\xD8");
  EXPECT_EQ(UpperText(""), "");
  EXPECT_EQ(UpperText(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(TekstBokstav, NameCaseGirStorForbokstavIHvertOrd) {
  struct Tilfelle {
    const char* inn;
    const char* ut;
  };
  const Tilfelle tilfeller[] = {
      {"OLA NORDMANN-HANSEN", "Ola Nordmann-Hansen"},
      {"ola nordmann", "Ola Nordmann"},
      {"o'neill", "O'neill"},
      {"O'NEILL", "O'neill"},
      {"ST.OLAV", "St.Olav"},
      {"per,p\xC5l/ASK", "Per,P\xE5l/Ask"},
      {"\xC5SE \xD8YEN", "\xC5se \xD8yen"},
      {"BJ\xD8RN \xC5S", "Bj\xF8rn \xC5s"},
      {"\xE6RLIG", "\xC6rlig"},
      {"  to  blanke", "  To  Blanke"},
      {"3B", "3b"},
      // Only the blank and ", - . /" start a word.
      {"a\tb", "A\tb"},
      {"a+b", "A+b"},
      {"", ""},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(Vis(t.inn));
    EXPECT_EQ(NameCase(t.inn), t.ut);
  }
}

TEST(TekstBokstav, DosToWindowsByttereBareNordiskeBokstaver) {
  const std::pair<unsigned char, unsigned char> tabell[] = {
      {0x84, 0xE4}, {0x86, 0xE5}, {0x8E, 0xC4}, {0x8F, 0xC5}, {0x91, 0xE6}, {0x92, 0xC6},
      {0x93, 0xF4}, {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0x9B, 0xF8}, {0x9D, 0xD8},
  };
  // Every byte value, once each, in one text.
  std::string alle;
  std::string ventet;
  for (int b = 0; b < 256; ++b) {
    unsigned char ut = static_cast<unsigned char>(b);
    for (const auto& [dos, win] : tabell)
      if (dos == b) ut = win;
    if (b < 255) {  // the text holds at most 255 bytes
      alle += static_cast<char>(b);
      ventet += static_cast<char>(ut);
    }
  }
  const std::string resultat = DosToWindows(alle);
  ASSERT_EQ(resultat.size(), ventet.size());
  for (std::size_t i = 0; i < ventet.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "byte " << i);
    EXPECT_EQ(static_cast<unsigned char>(resultat[i]), static_cast<unsigned char>(ventet[i]));
  }
  EXPECT_EQ(DosToWindows("\xFF"), "\xFF");
  EXPECT_EQ(DosToWindows("Fl\x9B"
                         "ystad, \x8F"
                         "s"),
            "Fl\xF8"
            "ystad, \xC5"
            "s");
}

// ---------------------------------------------------------------------------
// FillText, PadRight, PadLeft, TrimText

TEST(TekstKolonne, FillTextGirAntallKopier) {
  EXPECT_EQ(FillText('-', 4), "----");
  EXPECT_EQ(FillText('\xE5', 2), "\xE5\xE5");
  EXPECT_EQ(FillText(' ', 1), " ");
  EXPECT_EQ(FillText('x', 0), "");
  EXPECT_EQ(FillText('x', -3), "");
}

TEST(TekstKolonne, PadFyllerMenKutterAldri) {
  struct Tilfelle {
    const char* tekst;
    int bredde;
    char fyll;
    const char* hoeyre;
    const char* venstre;
  };
  const Tilfelle tilfeller[] = {
      {"abc", 6, ' ', "abc   ", "   abc"},
      {"42", 5, '0', "42000", "00042"},
      {"", 3, '*', "***", "***"},
      {"abc", 3, ' ', "abc", "abc"},
      {"abcdef", 3, ' ', "abcdef", "abcdef"},
      {"abc", 0, ' ', "abc", "abc"},
      {"abc", -2, ' ', "abc", "abc"},
      {"\xE6\xF8", 3, '.', "\xE6\xF8.", ".\xE6\xF8"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << Vis(t.tekst) << " til " << t.bredde);
    EXPECT_EQ(PadRight(t.tekst, t.bredde, t.fyll), t.hoeyre);
    EXPECT_EQ(PadLeft(t.tekst, t.bredde, t.fyll), t.venstre);
  }
  // Without a fill byte the blank is used.
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(PadLeft("ab", 4), "  ab");
}

TEST(TekstKolonne, TrimTextFjernerBlankeOgKontrolltegnIEndene) {
  const std::pair<std::string, std::string> tilfeller[] = {
      {"  Ola  ", "Ola"},
      {"\t Ola Nordmann \r\n", "Ola Nordmann"},
      {std::string("\0\x01x\x1F\0", 5), "x"},
      {"   ", ""},
      {"", ""},
      {"a", "a"},
      {" a  b ", "a  b"},
      // Bytes above 0x7F are letters, not control bytes.
      {"\xA0x\xA0", "\xA0x\xA0"},
      {"\xE5 ", "\xE5"},
      {" \xFF", "\xFF"},
  };
  for (const auto& [inn, ut] : tilfeller) {
    SCOPED_TRACE(Vis(inn));
    EXPECT_EQ(TrimText(inn), ut);
  }
}

// ---------------------------------------------------------------------------
// CleanFileName

TEST(TekstCleanFileName, SlaarSammenSkillertegnOgByttereUtryggeTegn) {
  struct Tilfelle {
    const char* inn;
    const char* ut;
  };
  const Tilfelle tilfeller[] = {
      {"", ""},
      {"/", "/"},
      {":", ":"},
      {"//", "//"},
      {"/home/ola/Verene.Dat", "/home/ola/Verene.Dat"},
      // Doubled separators become single ones.
      {"/home//ola/x.txt", "/home/ola/x.txt"},
      {"a///b////c", "a/b/c"},
      {"mappe//", "mappe/"},
      // A leading pair of a network path stays and ends the search.
      {"//tjener/del", "//tjener/del"},
      {"//tjener//del", "//tjener//del"},
      {"///x", "///x"},
      // '+', ':', ';' and '@' become '_' from the 3rd character on.
      {"C:/Data/a:b;c@d+e.txt", "C:/Data/a_b_c_d_e.txt"},
      {"ab:c", "ab_c"},
      {"a+:b", "a+_b"},
      {"::::", "::__"},
      {"@@@@", "@@__"},
      // Not in texts of 3 characters or fewer.
      {"a:b", "a:b"},
      {"+++", "+++"},
      // The length that counts is the one after the separators are collapsed.
      {"a//:", "a/:"},
      {"a//:b", "a/_b"},
      {"navn med blank & %.txt", "navn med blank & %.txt"},
      // Folders stay as the user chose them; only the file's own name is cleaned.
      {"/home/ola/Sau+geit/tabell.pdf", "/home/ola/Sau+geit/tabell.pdf"},
      {"/home/ola/Sau+geit/a+b.pdf", "/home/ola/Sau+geit/a_b.pdf"},
      {"/mnt/c:d;e@f/", "/mnt/c:d;e@f/"},
      {"/x//y+z//navn@1.txt", "/x/y+z/navn_1.txt"},
      {"a+b/c+d", "a+b/c_d"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.inn);
    EXPECT_EQ(CleanFileName(t.inn), t.ut);
  }
}

// ---------------------------------------------------------------------------
// Texts longer than 255 bytes

TEST(TekstLengde, HjelperneSerBareDeFoersteByteneAvLangTekst) {
  const std::string a300(300, 'a');
  EXPECT_EQ(UpperText(a300), std::string(255, 'A'));
  EXPECT_EQ(NameCase(a300), "A" + std::string(254, 'a'));
  EXPECT_EQ(DosToWindows(std::string(300, '\x86')), std::string(255, '\xE5'));
  EXPECT_EQ(PadRight(a300, 10), std::string(255, 'a'));
  EXPECT_EQ(PadLeft(a300, 400), std::string(145, ' ') + std::string(255, 'a'));
  // A path is never cut: a file deep in long folders stays in them.
  EXPECT_EQ(CleanFileName(std::string(300, '/')), std::string(300, '/'));
  const std::string dyp = "/" + std::string(300, 'm') + "/" + std::string(100, 'n') + "+.pdf";
  EXPECT_EQ(CleanFileName(dyp), "/" + std::string(300, 'm') + "/" + std::string(100, 'n') + "_.pdf");
  // What lies beyond byte 255 is not read at all.
  EXPECT_EQ(TrimText(std::string(254, ' ') + "xy"), "x");
  EXPECT_EQ(TextToInt("1" + std::string(254, ' ') + "5"), 1);
  EXPECT_EQ(TextToReal("2," + std::string(253, ' ') + "5"), 2.0f);
}
