// Hornstad.Ini read and written as plain key=value text.
#include "inifil.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSettings>

#include "testmappe.h"

namespace {

QSettings::SettingsMap Les(const QByteArray& tekst) {
  QBuffer b;
  b.setData(tekst);
  b.open(QIODevice::ReadOnly);
  QSettings::SettingsMap m;
  EXPECT_TRUE(LesInnstillinger(b, m));
  return m;
}

QByteArray Skriv(const QSettings::SettingsMap& m) {
  QBuffer b;
  b.open(QIODevice::WriteOnly);
  EXPECT_TRUE(SkrivInnstillinger(b, m));
  return b.data();
}

}  // namespace

TEST(Innstillingsfil, LeserTekstenSomDenStaar) {
  struct Tilfelle {
    const char* fil;
    const char* nokkel;
    QString ventet;  // empty: the key is not there
  };
  const QString oe = QString::fromUtf8("\xc3\xb8");
  const Tilfelle tilfeller[] = {
      {"[Hoved]\r\nLeft=10\r\n", "Hoved/Left", "10"},
      {"[Hoved]\nLeft = 10 \n", "Hoved/Left", "10"},
      {"[Hoved]\rSiste=A.Zip\rLeft=3\r", "Hoved/Left", "3"},  // lines ending in CR alone
      {"[ Hoved ]\nSiste=\" a \"\n", "Hoved/Siste", " a "},
      // a coded Qt value is only text: nothing is built from it
      {"[Hoved]\nLeft=@Variant(\\0\\0\\0I\\0\\0\\0\\0)\n", "Hoved/Left", "@Variant(\\0\\0\\0I\\0\\0\\0\\0)"},
      {"[Avl]\nGrense=6,25\n", "Avl/Grense", "6,25"},    // a comma is no list
      {"[Hoved]\nLeft=1\nLeft=2\n", "Hoved/Left", "1"},  // the first of two counts
      {"Fritt=1\n[General]\nOgsaa=2\n", "Ogsaa", "2"},
      {"Fritt=1\n", "Fritt", "1"},
      {"; kommentar\n# annen\n[Semin]\nEpost=a@b.no\n=x\nsvada\n", "Semin/Epost", "a@b.no"},
      {"[Hoved]\nSiste=S\xf8yer.Zip\n", "Hoved/Siste", "S" + oe + "yer.Zip"},      // Windows-1252
      {"[Hoved]\nSiste=S\xc3\xb8yer.Zip\n", "Hoved/Siste", "S" + oe + "yer.Zip"},  // UTF-8
      {"[Hoved]\nSiste=\n", "Hoved/Siste", ""},
  };
  for (const Tilfelle& t : tilfeller) {
    const QSettings::SettingsMap m = Les(t.fil);
    ASSERT_TRUE(m.contains(t.nokkel)) << t.fil;
    EXPECT_EQ(m.value(t.nokkel).toString(), t.ventet) << t.fil;
  }
  EXPECT_EQ(Les("; bare kommentar\n").size(), 0);
}

TEST(Innstillingsfil, SkriverDetDenLeser) {
  const QString oe = QString::fromUtf8("\xc3\xb8");
  QSettings::SettingsMap m;
  m.insert("Hoved/Left", -5);
  m.insert("Hoved/Siste", "S" + oe + "yer.Zip");
  m.insert("Katalog/SkalMed3", true);
  m.insert("Nett/Adresse", "  http://x/ ");
  m.insert("Semin/Epost", "\"sitert\"");
  m.insert("Fritt", "to\nlinjer");
  const QByteArray fil = Skriv(m);
  EXPECT_EQ(fil,
            "Fritt=to linjer\r\n\r\n[Hoved]\r\nLeft=-5\r\nSiste=S\xf8yer.Zip\r\n\r\n[Katalog]\r\nSkalMed3=true\r\n\r\n"
            "[Nett]\r\nAdresse=\"  http://x/ \"\r\n\r\n[Semin]\r\nEpost=\"\"sitert\"\"\r\n");
  const QSettings::SettingsMap lest = Les(fil);
  EXPECT_EQ(lest.value("Nett/Adresse").toString(), "  http://x/ ");
  EXPECT_EQ(lest.value("Semin/Epost").toString(), "\"sitert\"");
  EXPECT_EQ(lest.value("Hoved/Siste").toString(), "S" + oe + "yer.Zip");
  EXPECT_EQ(lest.value("Fritt").toString(), "to linjer");

  // A letter Windows-1252 lacks: the file in UTF-8, the letter kept.
  QSettings::SettingsMap m2;
  m2.insert("Hoved/Siste", QString::fromUtf8("\xc5\x81\xc3\xb8.Zip"));
  EXPECT_EQ(Les(Skriv(m2)).value("Hoved/Siste").toString(), QString::fromUtf8("\xc5\x81\xc3\xb8.Zip"));
}

// Through QSettings, as the program opens it: the other program's keys and
// a value that would be a coded object for Qt's own format both come through
// a save untouched.
TEST(Innstillingsfil, QSettingsBeholderDetAndreSkrev) {
  TestMappe d;
  const std::filesystem::path fil = d / "Hornstad.Ini";
  d.Skriv("Hornstad.Ini", "[Hoved]\r\nLeft=@Variant(\\0\\0\\0I)\r\nFullt=1\r\n[Eget]\r\nNavn=Per, Pål\r\n");
  {
    QSettings ini(QString::fromStdString(fil.string()), InnstillingsFormat());
    EXPECT_EQ(ini.value("Hoved/Left").toInt(), 0);
    ini.setValue("Hoved/Top", 7);
    ini.sync();
    EXPECT_EQ(ini.status(), QSettings::NoError);
  }
  const QSettings ini(QString::fromStdString(fil.string()), InnstillingsFormat());
  EXPECT_EQ(ini.value("Hoved/Top").toInt(), 7);
  EXPECT_EQ(ini.value("Hoved/Fullt").toInt(), 1);
  EXPECT_EQ(ini.value("Hoved/Left").toString(), "@Variant(\\0\\0\\0I)");
  EXPECT_EQ(ini.value("Eget/Navn").toString(), QString::fromUtf8("Per, P\xc3\xa5l"));
}
