#include "cp1252.h"

#include <gtest/gtest.h>

#include <QString>
#include <string>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value.
const char32_t Kontrollomraade[32] = {
    U'\u20AC', 0x0081,    U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', 0x008D,    U'\u017D', 0x008F,
    0x0090,    U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', 0x009D,    U'\u017E', U'\u0178',
};

char32_t Forventet(int byte) { return byte >= 0x80 && byte <= 0x9F ? Kontrollomraade[byte - 0x80] : char32_t(byte); }

std::string AlleByter() {
  std::string s;
  for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

}  // namespace

TEST(Cp1252Tegn, HverByteHarSittTegnOgTilbake) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(testing::Message() << "byte " << b);
    const char32_t kode = Cp1252TilUnicode(static_cast<unsigned char>(b));
    EXPECT_EQ(static_cast<uint32_t>(kode), static_cast<uint32_t>(Forventet(b)));
    EXPECT_EQ(static_cast<unsigned char>(Cp1252FraUnicode(kode)), b);
  }
}

TEST(Cp1252Tegn, TegnUtenByteBlirSpoersmaalstegn) {
  const char32_t tilfeller[] = {
      0x0080,   // the C1 control whose byte holds the euro sign
      0x009F,   // likewise for Ÿ
      0x0100,   // Ā
      0x2028,   // line separator
      0x4E2D,   // 中
      0xFFFD,   // replacement character
      0x1F600,  // an emoji outside the basic plane
  };
  for (char32_t kode : tilfeller) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<uint32_t>(kode));
    EXPECT_EQ(Cp1252FraUnicode(kode), '?');
  }
}

TEST(Cp1252Utf8, KjenteTekster) {
  struct Tilfelle {
    const char* cp1252;
    const char* utf8;
  };
  const Tilfelle tilfeller[] = {
      {"", ""},
      {"Ola", "Ola"},
      {"bl\xE5"
       "b\xE6r \xF8y",
       "bl\u00E5b\u00E6r \u00F8y"},
      {"\xC6\xD8\xC5", "\u00C6\u00D8\u00C5"},
      {"\x80 12", "\u20AC 12"},
      {"\x93sitat\x94", "\u201Csitat\u201D"},
      {"\x96\x85\x99", "\u2013\u2026\u2122"},
      {"\xA0\xFF", "\u00A0\u00FF"},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.utf8);
    EXPECT_EQ(Cp1252TilUtf8(t.cp1252), t.utf8);
    EXPECT_EQ(Utf8TilCp1252(t.utf8), t.cp1252);
  }
}

TEST(Cp1252Utf8, AlleByterOverleverRundtur) {
  const std::string alle = AlleByter();
  const std::string utf8 = Cp1252TilUtf8(alle);
  // Agrees with Qt's own UTF-8 encoder.
  std::u32string koder;
  for (int b = 0; b < 256; ++b) koder += Forventet(b);
  EXPECT_EQ(utf8, QString::fromUcs4(koder.data(), static_cast<qsizetype>(koder.size())).toUtf8().toStdString());
  EXPECT_EQ(Utf8TilCp1252(utf8), alle);
}

TEST(Cp1252Utf8, UkjentTegnOgUgyldigUtf8BlirSpoersmaalstegn) {
  // A valid character without a byte is one '?'.
  EXPECT_EQ(Utf8TilCp1252("a\u0100b"), "a?b");
  EXPECT_EQ(Utf8TilCp1252("a\u4E2Db"), "a?b");
  EXPECT_EQ(Utf8TilCp1252("a\U0001F600b"), "a?b");

  // Broken sequences give '?' and nothing else; the text around them survives.
  struct Tilfelle {
    std::string utf8;
    std::string foer, etter;  // the valid text on either side
  };
  const Tilfelle tilfeller[] = {
      {"x\x80y", "x", "y"},              // a continuation byte alone
      {"x\xC3", "x", ""},                // cut off at the end
      {"x\xC3y", "x", "y"},              // lead byte without continuation
      {"x\xE2\x82y", "x", "y"},          // three-byte sequence cut short
      {"x\xF0\x9F\x98y", "x", "y"},      // four-byte sequence cut short
      {"x\xFF\xFEy", "x", "y"},          // bytes that never occur in UTF-8
      {"x\xC0\xAFy", "x", "y"},          // overlong '/'
      {"x\xE0\x80\xAFy", "x", "y"},      // overlong '/' in three bytes
      {"x\xF0\x80\x80\xAFy", "x", "y"},  // overlong '/' in four bytes
      {"x\xC1\xA5y", "x", "y"},          // overlong 'e'
      {"x\xE0\x83\xA5y", "x", "y"},      // overlong '\xE5'
      {"x\xED\xA0\x80y", "x", "y"},      // a surrogate
      {"x\xF4\x90\x80\x80y", "x", "y"},  // beyond U+10FFFF
      {std::string("x\xC3\0y", 4), "x", std::string("\0y", 2)},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::PrintToString(t.utf8));
    const std::string ut = Utf8TilCp1252(t.utf8);
    ASSERT_GT(ut.size(), t.foer.size() + t.etter.size()) << testing::PrintToString(ut);
    EXPECT_EQ(ut.substr(0, t.foer.size()), t.foer);
    EXPECT_EQ(ut.substr(ut.size() - t.etter.size()), t.etter);
    const std::string midt = ut.substr(t.foer.size(), ut.size() - t.foer.size() - t.etter.size());
    EXPECT_EQ(midt.find_first_not_of('?'), std::string::npos) << testing::PrintToString(ut);
  }
}

TEST(Cp1252QString, AlleByterOverleverRundtur) {
  const std::string alle = AlleByter();
  const QString q = TilQString(alle);
  ASSERT_EQ(q.size(), 256);
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(testing::Message() << "byte " << b);
    EXPECT_EQ(static_cast<uint32_t>(q.at(b).unicode()), static_cast<uint32_t>(Forventet(b)));
  }
  EXPECT_EQ(FraQString(q), alle);
  // The same text as the UTF-8 road gives.
  EXPECT_EQ(q.toUtf8().toStdString(), Cp1252TilUtf8(alle));
}

TEST(Cp1252QString, TegnUtenByteBlirEttSpoersmaalstegn) {
  EXPECT_EQ(FraQString(QString::fromUtf8("bl\u00E5 \u20AC")), "bl\xE5 \x80");
  EXPECT_EQ(FraQString(QString::fromUtf8("a\u0100b")), "a?b");
  // A character outside the basic plane is two UTF-16 units but one '?'.
  EXPECT_EQ(FraQString(QString::fromUtf8("a\U0001F600b")), "a?b");
  // A lone surrogate has no byte either.
  QString ensom = QStringLiteral("ab");
  ensom.insert(1, QChar(0xD800));
  EXPECT_EQ(FraQString(ensom), "a?b");
  EXPECT_EQ(FraQString(QString()), "");
}
