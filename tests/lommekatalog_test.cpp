// The pocket catalogue: the page hornstad-cli lommekatalog writes, read back
// as the browser reads it (the data element's JSON, the policy's hashes), on
// a small register whose relationships are known; its figures against the
// mating plan's and the comparison's; and the command's exit codes.
// tests/lommekatalog_nettleser.py opens the same page in Chromium.
#include "lommekatalog.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "kjorcli.h"
#include "lommeside.h"
#include "register.h"
#include "sammenligning.h"
#include "slektskap.h"
#include "testmappe.h"
#include "verktoy.h"

namespace {

Svar KjorLomme(const TestMappe& m, std::vector<std::string> argumenter) { return KjorCli(m, std::move(argumenter)); }

std::string LesFil(const std::filesystem::path& fil) {
  std::ifstream inn(fil, std::ios::binary);
  std::stringstream s;
  s << inn.rdbuf();
  return s.str();
}

TVerPost Ver(int32_t nummer, const char* navn, int32_t far, int16_t oIndeks, int16_t aar) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(Utf8TilCp1252(navn));
  p.Farnr = far;
  p.OIndeks = oIndeks;
  p.KIndeks = static_cast<int16_t>(oIndeks - 5);
  p.Rase = 1;
  p.Aar = aar;
  return p;
}

// ANTON (sire 900, not in the register) and his sons RAMBO and BUKK;
// RAMBO's dam is 4711, by FREMMED. Five rams of 2020 so that percentiles
// show; one named with markup; a semin ram and a yellow one.
std::vector<TVerPost> Register() {
  std::vector<TVerPost> v = {Ver(1000, "ANTON", 900, 101, 2015),
                             Ver(2000, "RAMBO", 1000, 120, 2020),
                             Ver(3000, "BUKK", 1000, 110, 2020),
                             Ver(5000, "FREMMED", 0, 130, 2020),
                             Ver(6000, "</script><img src=x", 0, 140, 2020),
                             Ver(7000, "BLÅMANN", 0, 100, 2020),
                             Ver(8000, "GULINGEN", 0, 950, 2018)};
  v[1].MorFar = 5000;
  v[1].Mornr = 4711;
  v[5].Type = 1;
  return v;
}

const char* const Skadelig = "<img src=x onerror=alert(1)>";

// The ewes: RAMBO's daughter, BUKK's daughter, a ewe whose dam's sire is
// ANTON, one of FREMMED with markup for a number, one of unknown parents.
std::vector<TSoye> Soyer() {
  return {{"E1", 2000, 0, 0}, {"E2", 3000, 0, 0}, {"E3", 0, 1000, 0}, {Skadelig, 5000, 0, 0}, {"E5", 0, 0, 0}};
}

class Lommekatalog : public ::testing::Test {
 protected:
  void SetUp() override {
    SkrivVerFil(m / VerFilNavn, Register());
    SkrivSoyer(SoyeFil(m.Sti()), Soyer());
  }
  // The page for those rams, its data element read as JSON.
  QJsonObject Data(const std::vector<std::string>& ekstra = {"--verer", "2000,3000,5000,6000,7000,8000,1000"}) {
    std::vector<std::string> a = {"lommekatalog", "--ut", (m / "side.html").string()};
    a.insert(a.end(), ekstra.begin(), ekstra.end());
    const Svar s = KjorLomme(m, a);
    EXPECT_EQ(s.kode, 0) << s.feil;
    html = LesFil(m / "side.html");
    const std::string start = "<script type=\"application/json\" id=\"data\">";
    const std::size_t fra = html.find(start);
    EXPECT_NE(fra, std::string::npos);
    const std::size_t til = html.find("</script>", fra);
    if (fra == std::string::npos || til == std::string::npos) return {};
    json = html.substr(fra + start.size(), til - fra - start.size());
    QJsonParseError feil;
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(json), &feil);
    EXPECT_EQ(feil.error, QJsonParseError::NoError) << feil.errorString().toStdString();
    return d.object();
  }
  static QJsonArray Ver(const QJsonObject& d, int nummer) {
    for (const QJsonValue& v : d["v"].toArray())
      if (v.toArray()[0].toInt() == nummer) return v.toArray();
    ADD_FAILURE() << "væren " << nummer << " er ikke på siden";
    QJsonArray tom;
    for (int i = 0; i < 13; ++i) tom.append(QJsonValue());
    return tom;
  }
  // Hundredths as the windows write them: "12,50".
  static std::string Tekst(const QJsonValue& h) {
    if (h.isNull()) return "null";
    const int n = h.toInt();
    char b[32];
    std::snprintf(b, sizeof b, "%d,%02d", n / 100, n % 100);
    return b;
  }
  TestMappe m;
  std::string html, json;
};

}  // namespace

// Text from the register or the ewes that holds markup cannot end the data
// element: it stays inside the JSON and reads back as the same text.
TEST(LommekatalogJson, TekstKanIkkeBryteUtAvDataelementet) {
  const struct {
    const char* inn;
    const char* ut;
  } tilfeller[] = {
      {"</script>", R"("\u003c/script\u003e")"},
      {"<img src=x onerror=alert(1)>", R"("\u003cimg src=x onerror=alert(1)\u003e")"},
      {"<!-- a & b", R"("\u003c!-- a \u0026 b")"},
      {"si \"hei\" \\ der", R"("si \"hei\" \\ der")"},
      {"linje\nto\r\tfane\x01", R"("linje\nto\r\tfane\u0001")"},
      {"a\u2028b\u2029c", R"("a\u2028b\u2029c")"},
      {"Blåmann Ærlegut Øyar", "\"Blåmann Ærlegut Øyar\""},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.inn);
    EXPECT_EQ(JsonStreng(t.inn), t.ut);
    // And it reads back whole.
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray("[") + JsonStreng(t.inn).c_str() + "]");
    EXPECT_EQ(d.array()[0].toString().toStdString(), t.inn);
  }
}

TEST_F(Lommekatalog, NavnOgSoyenummerMedMarkupBlirVedTekst) {
  const QJsonObject d = Data();
  // The page holds exactly its two script elements, and none of the markup.
  int skript = 0;
  for (std::size_t i = html.find("</script"); i != std::string::npos; i = html.find("</script", i + 1)) ++skript;
  EXPECT_EQ(skript, 2);
  EXPECT_EQ(json.find('<'), std::string::npos);
  EXPECT_EQ(json.find('>'), std::string::npos);
  EXPECT_EQ(html.find("<img"), std::string::npos);
  EXPECT_EQ(Ver(d, 6000)[1].toString().toStdString(), "</script><img src=x");
  EXPECT_EQ(Ver(d, 7000)[1].toString().toStdString(), "BLÅMANN");  // Windows-1252 made UTF-8
  EXPECT_EQ(d["soyer"].toArray()[3].toString().toStdString(), Skadelig);
  // The script writes text only as text.
  for (const char* ord : {"innerHTML", "outerHTML", "insertAdjacentHTML", "document.write", "eval(", "Function("})
    EXPECT_EQ(LommesideSkript().find(ord), std::string_view::npos) << ord;
}

// The policy allows nothing but the inline style and script the page holds,
// by the hashes of exactly those texts.
TEST_F(Lommekatalog, RetningslinjenTillaterBareSidensEgenStilOgSkript) {
  Data();
  const auto mellom = [&](const std::string& fra, const std::string& til) {
    const std::size_t a = html.find(fra);
    EXPECT_NE(a, std::string::npos) << fra;
    const std::size_t b = html.find(til, a + fra.size());
    return html.substr(a + fra.size(), b - a - fra.size());
  };
  const auto hash = [](const std::string& t) {
    return "'sha256-" +
           QCryptographicHash::hash(QByteArray::fromStdString(t), QCryptographicHash::Sha256).toBase64().toStdString() +
           "'";
  };
  const std::string stil = mellom("<style>", "</style>");
  const std::string skript = mellom("</script>\n<script>", "</script>");
  EXPECT_EQ(stil, LommesideStil());
  EXPECT_EQ(skript, LommesideSkript());
  const std::string csp = mellom("http-equiv=\"Content-Security-Policy\" content=\"", "\"");
  EXPECT_EQ(csp, "default-src 'none'; style-src " + hash(stil) + "; script-src " + hash(skript) +
                     "; base-uri 'none'; form-action 'none'");
  EXPECT_EQ(html.find("unsafe"), std::string::npos);
  // Nothing that would load: no source or link of any kind.
  for (const char* ord : {"src=\"", "href=\"", "http:", "https:", "@import", "url("})
    EXPECT_EQ(html.find(ord), std::string::npos) << ord;
  EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html lang=\"nb\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u);
}

// Every lamb's figure, mean and own coefficient is the mating plan's, as the
// windows show it; the index texts are the comparison's.
TEST_F(Lommekatalog, TalleneErParingsplanensOgSammenligningens) {
  const QJsonObject d = Data();
  const std::vector<TVerPost> poster = Register();
  const std::vector<TSoye> soyer = Soyer();
  TAvlsdata avl;
  avl.Bruk(poster);
  const TInnavl& innavl = avl.Innavl();
  const std::vector<int32_t> nummer = {2000, 3000, 5000, 6000, 7000, 8000, 1000};
  const TParingsplan plan = LagParingsplan(innavl, soyer, nummer);
  ASSERT_EQ(plan.verer, nummer);
  std::vector<TVerPost> verer;
  for (int32_t n : nummer)
    for (const TVerPost& p : poster)
      if (p.Nummer == n) verer.push_back(p);
  const TSammenligning s = Sammenlign(poster, verer);

  EXPECT_EQ(d["figurer"].toArray().size(), AntallIndeksfigurer);
  EXPECT_EQ(d["grense"].toDouble(), StandardGrense);
  for (std::size_t j = 0; j < nummer.size(); ++j) {
    SCOPED_TRACE(nummer[j]);
    const QJsonArray v = Ver(d, nummer[j]);
    const QStringList lam = v[10].toString().split(',');
    ASSERT_EQ(lam.size(), static_cast<qsizetype>(soyer.size()));
    for (std::size_t e = 0; e < soyer.size(); ++e)
      EXPECT_EQ(Tekst(lam[static_cast<qsizetype>(e)].toInt()), Prosent(plan.Lam(e, j))) << soyer[e].nummer;
    EXPECT_EQ(Tekst(v[8]), Prosent(plan.snitt[j]));
    EXPECT_EQ(Tekst(v[7]), Prosent(innavl.F(innavl.Stamtavle().Finn(nummer[j]))));
    for (int f = 0; f < AntallIndeksfigurer; ++f)
      EXPECT_EQ(v[6].toArray()[f].toString().toStdString(), Cp1252TilUtf8(s.Tekst(static_cast<std::size_t>(f), j)));
  }
  // The figures a breeder knows: RAMBO with his own daughter 25 %, with his
  // half-brother's 6,25 %; the percentiles among the five rams of 2020.
  const QJsonArray rambo = Ver(d, 2000);
  EXPECT_EQ(rambo[10].toString().toStdString().substr(0, 9), "2500,625,");
  EXPECT_EQ(rambo[6].toArray()[0].toString().toStdString(), "120 (50 %)");
  EXPECT_EQ(Ver(d, 8000)[6].toArray()[0].toString().toStdString(), "gul");
}

// The card's pedigree: sire, dam, their parents as the records give them, and
// the names of the rams among them; a number not in the register has none.
TEST_F(Lommekatalog, StamtavlaGirAneneOgNavnene) {
  const QJsonObject d = Data();
  const QJsonArray rambo = Ver(d, 2000);
  // Sire, dam, sire's sire, sire's dam, dam's sire, then the third generation.
  const int forventet[10] = {1000, 4711, 900, 0, 5000, 0, 0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rambo[9].toArray()[i].toInt(), forventet[i]) << i;
  const QJsonObject aner = d["aner"].toObject();
  EXPECT_EQ(aner["1000"].toString(), "ANTON");
  EXPECT_EQ(aner["5000"].toString(), "FREMMED");
  EXPECT_FALSE(aner.contains("900"));
  // The marks: breed, year, semin type, raw O-indeks (yellow shown as such).
  EXPECT_EQ(Ver(d, 7000)[4].toInt(), 1);
  EXPECT_EQ(Ver(d, 8000)[5].toInt(), 950);
  EXPECT_EQ(Ver(d, 2000)[3].toInt(), 2020);
}

// The ewes the saved suggestion gives each ram, as indexes among the ewes
// (a ewe gone from Soyer.Txt left out); a ram that was no candidate says so
// (null); without a saved suggestion the page says there is none, and
// without ewes it has no lamb figures. The ram's known ancestors come along.
TEST_F(Lommekatalog, ParingsforslagetOgSideUtenSoyer) {
  m.Skriv("Paringer.Txt",
          "# Hornstad: paringsforslag.\r\n# Kapasitet;3000;40\r\n# Kapasitet;2000;40\r\n# Kapasitet;8000;ingen\r\n"
          "E1;3000\r\nE2;2000\r\nE3;3000\r\nE5;\r\nSolgt;3000\r\n");
  QJsonObject d = Data();
  EXPECT_TRUE(d["forslag"].toBool());
  EXPECT_EQ(Ver(d, 3000)[11].toArray(), (QJsonArray{0, 2})) << "E1 and E3; the sold ewe is left out";
  EXPECT_EQ(Ver(d, 2000)[11].toArray(), (QJsonArray{1}));
  EXPECT_TRUE(Ver(d, 8000)[11].isArray() && Ver(d, 8000)[11].toArray().isEmpty()) << "a candidate without ewes";
  EXPECT_TRUE(Ver(d, 5000)[11].isNull()) << "no candidate";
  EXPECT_EQ(Ver(d, 2000)[12].toInt(), 4) << "RAMBO: ANTON and his sire 900, the dam 4711 and her sire";
  EXPECT_EQ(Ver(d, 1000)[12].toInt(), 1) << "ANTON: his sire 900";
  EXPECT_EQ(d["ukjenteSoyer"].toArray(), (QJsonArray{4})) << "E5 alone has no known ancestor";

  std::filesystem::remove(m / "Paringer.Txt");
  std::filesystem::remove(SoyeFil(m.Sti()));
  d = Data();
  EXPECT_FALSE(d["forslag"].toBool());
  EXPECT_TRUE(d["soyer"].toArray().isEmpty());
  EXPECT_EQ(Ver(d, 2000)[10].toString(), "");
  EXPECT_TRUE(Ver(d, 2000)[8].isNull());
}

// The command: a list or numbers, the file, and what it says when it cannot.
TEST_F(Lommekatalog, KommandoensUtgangskoder) {
  m.Skriv("Lister.Txt", "[Salg]\r\n2000\r\n3000\r\n[Tom]\r\n");
  const std::string side = (m / "side.html").string();
  const struct {
    std::vector<std::string> argumenter;
    int kode;
    const char* feil;  // the start of the message
  } tilfeller[] = {
      {{"lommekatalog", "--liste", "Salg", "--ut", side}, 0, ""},
      {{"lommekatalog", "--verer", "2000,999", "--ut", side}, 0, "Kåringsnummer 999 finnes ikke i registeret."},
      {{"lommekatalog", "--ut", side}, 2, "Bruk: hornstad-cli lommekatalog"},
      {{"lommekatalog", "--liste", "Salg", "--verer", "2000", "--ut", side}, 2, "Bruk: hornstad-cli lommekatalog"},
      {{"lommekatalog", "--liste", "Salg"}, 2, "Bruk: hornstad-cli lommekatalog"},
      {{"lommekatalog", "--verer", "x", "--ut", side}, 2, ""},
      {{"lommekatalog", "--liste", "Finnes ikke", "--ut", side}, 1, "Det finnes ingen liste som heter «Finnes ikke»"},
      {{"lommekatalog", "--liste", "Tom", "--ut", side}, 1, "Fant ingen av værene i registeret"},
      {{"lommekatalog", "--verer", "999", "--ut", side}, 1, "Kåringsnummer 999 finnes ikke i registeret.\nFant ingen"},
      {{"lommekatalog", "--verer", "2000", "--ut", (m / "mangler" / "side.html").string()}, 1, ""},
  };
  for (const auto& t : tilfeller) {
    SCOPED_TRACE(t.argumenter[1] + " " + t.argumenter[2]);
    std::filesystem::remove(side);
    const Svar s = KjorLomme(m, t.argumenter);
    EXPECT_EQ(s.kode, t.kode) << s.feil;
    EXPECT_EQ(s.feil.rfind(t.feil, 0), 0u) << s.feil;
    EXPECT_EQ(std::filesystem::exists(side), t.kode == 0);
    if (t.kode == 0) {
      EXPECT_NE(s.ut.find("Lagret lommekatalogen med"), std::string::npos) << s.ut;
    } else {
      EXPECT_FALSE(s.feil.empty());
    }
  }
  // An existing page is replaced whole.
  m.Skriv("side.html", std::string(100000, 'x'));
  EXPECT_EQ(KjorLomme(m, {"lommekatalog", "--verer", "2000", "--ut", side}).kode, 0);
  EXPECT_EQ(LesFil(side).find('x' + std::string(50, 'x')), std::string::npos);
  // The help comes from the options' table.
  const Svar hjelp = KjorLomme(m, {"lommekatalog", "--help"});
  EXPECT_EQ(hjelp.kode, 0);
  for (const char* valg : {"--liste NAVN", "--verer N,N,...", "--ut FIL"})
    EXPECT_NE(hjelp.ut.find(valg), std::string::npos) << hjelp.ut;
}
