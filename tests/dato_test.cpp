#include "dato.h"

#include <gtest/gtest.h>

#include <QDate>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Qt's calendar serves as an independent reference: day 0 is 30 December 1899.
const qint64 QtDag0 = QDate(1899, 12, 30).toJulianDay();

double QtDagtall(const QDate& d) { return static_cast<double>(d.toJulianDay() - QtDag0); }

}  // namespace

TEST(DatoKalender, SkuddaarOgDagerIMaaned) {
  struct Tilfelle {
    int aar;
    bool skudd;
  };
  const Tilfelle tilfeller[] = {{1900, false}, {2000, true}, {2023, false}, {2024, true},
                                {2100, false}, {2400, true}, {1, false},    {4, true}};
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.aar);
    EXPECT_EQ(ErSkuddaar(t.aar), t.skudd);
    EXPECT_EQ(DagerIMaaned(t.aar, 2), t.skudd ? 29 : 28);
  }
  const int dager[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) {
    SCOPED_TRACE(m);
    EXPECT_EQ(DagerIMaaned(2023, m), dager[m - 1]);
  }
  EXPECT_EQ(DagerIMaaned(2023, 0), 0);
  EXPECT_EQ(DagerIMaaned(2023, 13), 0);
}

TEST(DatoKalender, GyldigDatoAvviserDagerSomIkkeFins) {
  struct Tilfelle {
    int aar, maaned, dag;
    bool gyldig;
  };
  const Tilfelle tilfeller[] = {
      {2023, 4, 30, true},  {2023, 4, 31, false},  {2023, 2, 28, true}, {2023, 2, 29, false}, {2024, 2, 29, true},
      {1900, 2, 29, false}, {2000, 2, 29, true},   {2023, 1, 0, false}, {2023, 0, 1, false},  {2023, 13, 1, false},
      {2023, 12, 31, true}, {2023, 12, 32, false}, {1, 1, 1, true},     {9999, 12, 31, true}, {0, 1, 1, false},
      {10000, 1, 1, false}, {-1, 1, 1, false},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << t.aar << "-" << t.maaned << "-" << t.dag);
    EXPECT_EQ(GyldigDato(t.aar, t.maaned, t.dag), t.gyldig);
    EXPECT_EQ(EncodeDate(t.aar, t.maaned, t.dag).has_value(), t.gyldig);
  }
}

TEST(DatoEncodeDate, KjenteDagtall) {
  struct Tilfelle {
    int aar, maaned, dag;
    double dagtall;
  };
  const Tilfelle tilfeller[] = {
      {1899, 12, 30, 0.0},   {1899, 12, 31, 1.0},       {1900, 1, 1, 2.0},
      {1900, 2, 28, 60.0},   {1900, 3, 1, 61.0},  // 1900 is no leap year
      {2000, 1, 1, 36526.0}, {2024, 2, 29, 45351.0},    {1899, 12, 29, -1.0},
      {1, 1, 1, -693593.0},  {9999, 12, 31, 2958465.0},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << t.aar << "-" << t.maaned << "-" << t.dag);
    const auto d = EncodeDate(t.aar, t.maaned, t.dag);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, t.dagtall);
  }
}

TEST(DatoEncodeDate, StemmerMedQtOgGaarFramOgTilbake) {
  // Every day from 1890 to 2110: the day count agrees with Qt and decodes to
  // the same calendar date.
  for (QDate d(1890, 1, 1); d <= QDate(2110, 12, 31); d = d.addDays(1)) {
    const auto dagtall = EncodeDate(d.year(), d.month(), d.day());
    ASSERT_TRUE(dagtall.has_value()) << d.toString(Qt::ISODate).toStdString();
    ASSERT_EQ(*dagtall, QtDagtall(d)) << d.toString(Qt::ISODate).toStdString();
    const auto k = DecodeDate(*dagtall);
    ASSERT_TRUE(k.has_value());
    ASSERT_EQ(k->aar, d.year());
    ASSERT_EQ(k->maaned, d.month());
    ASSERT_EQ(k->dag, d.day());
  }
}

TEST(DatoDecodeDate, KlokkeslettIgnoreres) {
  struct Tilfelle {
    double dato;
    int aar, maaned, dag;
  };
  const Tilfelle tilfeller[] = {
      {36526.0, 2000, 1, 1},
      {36526.25, 2000, 1, 1},
      {36526.999, 2000, 1, 1},
      {0.0, 1899, 12, 30},
      {0.5, 1899, 12, 30},
      {2.0, 1900, 1, 1},
      // Before day 0 the whole days count towards the past, the fraction is the time.
      {-1.0, 1899, 12, 29},
      {-1.5, 1899, 12, 29},
      // The first and last day.
      {-693593.0, 1, 1, 1},
      {2958465.0, 9999, 12, 31},
      {2958465.999, 9999, 12, 31},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.dato);
    const auto k = DecodeDate(t.dato);
    ASSERT_TRUE(k.has_value());
    EXPECT_EQ(k->aar, t.aar);
    EXPECT_EQ(k->maaned, t.maaned);
    EXPECT_EQ(k->dag, t.dag);
  }
}

TEST(DatoDecodeDate, VerdiUtenforAar1Til9999GirIngenDato) {
  const double tilfeller[] = {
      -693594.0,
      2958466.0,
      -1e300,
      1e300,
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
  };
  for (double dato : tilfeller) {
    SCOPED_TRACE(dato);
    EXPECT_FALSE(DecodeDate(dato).has_value());
  }
}

TEST(DatoIsoUke, UkerVedAarsskiftet) {
  struct Tilfelle {
    int aar, maaned, dag;
    int uke;
  };
  const Tilfelle tilfeller[] = {
      {2023, 6, 15, 24},
      // A Friday 1 January belongs to the last week of the year before.
      {2021, 1, 1, 53},
      {2021, 1, 3, 53},
      {2021, 1, 4, 1},
      {2020, 12, 31, 53},
      // A Monday 30 December starts week 1 of the next year.
      {2019, 12, 30, 1},
      {2024, 12, 30, 1},
      {2018, 12, 31, 1},
      {2026, 12, 31, 53},
      {2027, 1, 1, 53},
      {2016, 1, 3, 53},
      {2010, 1, 3, 53},
      {2023, 1, 1, 52},
      {2023, 1, 2, 1},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(testing::Message() << t.aar << "-" << t.maaned << "-" << t.dag);
    EXPECT_EQ(IsoUke(*EncodeDate(t.aar, t.maaned, t.dag)), t.uke);
  }
}

TEST(DatoIsoUke, StemmerMedQtHverDag) {
  for (QDate d(1950, 1, 1); d <= QDate(2060, 12, 31); d = d.addDays(1)) {
    ASSERT_EQ(IsoUke(QtDagtall(d)), d.weekNumber()) << d.toString(Qt::ISODate).toStdString();
  }
  // The time of day does not change the week.
  EXPECT_EQ(IsoUke(*EncodeDate(2021, 1, 3) + 0.99), 53);
}

TEST(DatoIDag, ErDagensDato) {
  // Read Qt's date on both sides, so that a midnight in between does not fail the test.
  const QDate foer = QDate::currentDate();
  const double idag = IDag();
  const QDate etter = QDate::currentDate();
  EXPECT_TRUE(idag == QtDagtall(foer) || idag == QtDagtall(etter)) << idag;
  EXPECT_EQ(idag, std::trunc(idag));
}
