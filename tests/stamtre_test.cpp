#include "stamtre.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "register.h"
#include "stamtredokument.h"
#include "tekst.h"
#include "testmappe.h"
#include "trase.h"

namespace fs = std::filesystem;

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

TVerPost Ver(int32_t nummer, const std::string& navnUtf8, int32_t farnr, int32_t morFar, int32_t mornr = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(C(navnUtf8));
  p.Farnr = farnr;
  p.MorFar = morFar;
  p.Mornr = mornr;
  return p;
}

// The small register of the tests:
//   1203456 KVITE HÅVARD: sire 1001234, dam 4521 (index 104) by 1005555
//   1001234 FJELLKONG:    sire 1999999 (not in the register), dam 777 without a known sire
//   1005555 STORFJELL:    no parents
//   1300000 EINSAM:       no parents known; dam number 4521 without her sire
std::vector<TVerPost> Rammer() {
  TVerPost rot = Ver(1203456, "KVITE HÅVARD", 1001234, 1005555, 4521);
  rot.MorIndeks = 104;
  rot.OIndeks = 112;
  rot.Rase = 4;
  rot.Fylke = 12;
  rot.Fodebuskap.Sett(C("OLA NORDMANN, SØRE LIEN I ØVRE DALEN"));  // 36 characters
  TVerPost far = Ver(1001234, "FJELLKONG", 1999999, 0, 777);
  far.OIndeks = 98;
  TVerPost morfar = Ver(1005555, "STORFJELL", 0, 0);
  morfar.OIndeks = 120;
  return {rot, far, morfar, Ver(1300000, "EINSAM", 0, 0, 4521)};
}

// A loaded register of Rammer() in a folder that is also the working
// directory, so that the breed names are the built-in ones.
class StamtreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkrivVerFil(mappe / VerFilNavn, Rammer());
    reg = std::make_unique<TProdusent>(mappe.Sti());
    reg->LoadRegister();
  }
  std::unique_ptr<TVerBoks> Tre(int32_t nummer) { return ByggStamtre(reg->FindByNumber(nummer), *reg, raser); }

  TestMappe mappe;
  IMappe her{mappe.Sti()};
  Trase raser;
  std::unique_ptr<TProdusent> reg;
};

// Every ram n has sire n + 1 and a dam by n + 2, so every branch is as deep
// as the tree allows. Names, herds, breeds and counties are as long as a
// record holds.
TVerPost FullVer(int32_t n) {
  TVerPost p = Ver(n, "WWWWWWWWWWWWWWWWWWWWWWWW", n + 1, n + 2, 654321);
  p.Fodebuskap.Sett(std::string(50, 'W'));
  p.Rase = 26;
  p.Fylke = 15;
  p.OIndeks = -123;
  p.MorIndeks = 32000;
  return p;
}
const TFinnVer FinnFull = [](int32_t n) { return FullVer(n); };

// The box height a box draws.
int32_t Hoyde(const TStamBoks& b) {
  const bool soye = dynamic_cast<const TSoyeBoks*>(&b) != nullptr;
  const int32_t h = b.X < StamSisteX ? (soye ? 20 : 22) : 13;
  return 2 * h + 2;
}

void Besok(const TStamBoks& b, int gen, const std::function<void(const TStamBoks&, int)>& f) {
  f(b, gen);
  if (b.Far) Besok(*b.Far, gen + 1, f);
  if (b.Mor) Besok(*b.Mor, gen + 1, f);
}

}  // namespace

TEST(StamtreGeometri, GenerasjonerKolonnerOgSteg) {
  const Trase raser;
  const std::unique_ptr<TVerBoks> rot = ByggStamtre(FullVer(1000000), FinnFull, raser);

  struct Kolonne {
    int32_t x, steg, bredde;
  };
  const Kolonne forventet[] = {{10, 220, 60},  {70, 110, 60},  {130, 55, 115},
                               {245, 27, 115}, {360, 13, 115}, {475, 6, 115}};
  int rammer = 0, soyer = 0, sisteGen = 0;
  Besok(*rot, 0, [&](const TStamBoks& b, int gen) {
    SCOPED_TRACE("generasjon " + std::to_string(gen) + ", " + b.NrTekst);
    ASSERT_LT(gen, 6);
    sisteGen = std::max(sisteGen, gen);
    EXPECT_EQ(b.X, forventet[gen].x);
    EXPECT_EQ(b.Steg, forventet[gen].steg);
    EXPECT_EQ(b.Bredde, forventet[gen].bredde);
    if (dynamic_cast<const TSoyeBoks*>(&b) != nullptr) {
      ++soyer;
      EXPECT_EQ(b.Mor, nullptr);
    } else {
      ++rammer;
    }
    // The last generation has no parents although its records name them.
    if (gen == 5) {
      EXPECT_GT(b.FarNr, 0);
      EXPECT_EQ(b.Far, nullptr);
      EXPECT_EQ(b.Mor, nullptr);
    }
    // Every box lies on the 640 x 960 page.
    EXPECT_GE(b.Y, 0);
    EXPECT_LE(b.X + StamBoksBredde, 640);
    EXPECT_LE(b.Y + Hoyde(b), 960);
  });
  EXPECT_EQ(sisteGen, 5);
  // A ram box has two parents, a ewe box one: 1+1+2+3+5+8 rams, 0+1+1+2+3+5 ewes.
  EXPECT_EQ(rammer, 20);
  EXPECT_EQ(soyer, 12);

  // Y down the sire line and along a dam's line; the last generation drops 5.
  std::vector<int32_t> farlinje;
  for (const TStamBoks* b = rot.get(); b != nullptr; b = b->Far.get()) farlinje.push_back(b->Y);
  EXPECT_EQ(farlinje, (std::vector<int32_t>{430, 210, 100, 45, 18, 10}));
  std::vector<int32_t> morlinje;
  for (const TStamBoks* b = rot.get(); b != nullptr;
       b = b->Mor ? static_cast<const TStamBoks*>(b->Mor.get()) : b->Far.get())
    morlinje.push_back(b->Y);
  // Each ram's dam, each ewe's sire: 430 + 220, 650 - 110, 540 + 55, 595 - 27,
  // 568 + 13 and the drop of 5.
  EXPECT_EQ(morlinje, (std::vector<int32_t>{430, 650, 540, 595, 568, 586}));
}

TEST_F(StamtreTest, BokstekstOgTittel) {
  const std::unique_ptr<TVerBoks> rot = Tre(1203456);
  EXPECT_EQ(rot->X, 10);
  EXPECT_EQ(rot->Y, 430);
  EXPECT_EQ(rot->NrTekst, "001203456");
  EXPECT_EQ(Cp1252TilUtf8(rot->Navn), "KVITE HÅVARD");
  EXPECT_EQ(rot->Indeks, 112);
  EXPECT_EQ(rot->FarNr, 1001234);
  EXPECT_EQ(rot->RaseFylke, raser.BreedName(4) + "  " + CountyName(12));
  EXPECT_EQ(Cp1252TilUtf8(rot->Buskap), "OLA NORDMANN, SØRE LIEN I ØVRE");  // the first 30
  EXPECT_EQ(Cp1252TilUtf8(StamtreTittel(*rot)), "Stamtre for 001203456 KVITE HÅVARD");

  // Zero-filling of ram (9) and dam (6) numbers; a longer number stays whole.
  struct Tall {
    int32_t nummer, mornr;
    const char *ver, *soye;
  };
  for (const Tall& c :
       {Tall{12345, 4521, "000012345", "004521"}, Tall{1234567890, 12345678, "1234567890", "12345678"}}) {
    const std::unique_ptr<TVerBoks> t = ByggStamtre(
        Ver(c.nummer, "", 0, 1, c.mornr), [](int32_t) { return TomVerPost(); }, raser);
    EXPECT_EQ(t->NrTekst, c.ver);
    ASSERT_NE(t->Mor, nullptr);
    EXPECT_EQ(t->Mor->NrTekst, c.soye);
  }

  // The caption is cut at 42 characters.
  const std::unique_ptr<TVerBoks> lang = ByggStamtre(
      FullVer(1000000), [](int32_t) { return TomVerPost(); }, raser);
  EXPECT_EQ(StamtreTittel(*lang), "Stamtre for 001000000 WWWWWWWWWWWWWWWWWWWW");
  EXPECT_EQ(StamtreTittel(*lang).size(), 42u);
}

TEST_F(StamtreTest, EnBoksUkjentFarOgMor) {
  // No sire and no dam's sire: one box, even with a dam number.
  const std::unique_ptr<TVerBoks> ensom = Tre(1300000);
  EXPECT_EQ(ensom->Far, nullptr);
  EXPECT_EQ(ensom->Mor, nullptr);

  const std::unique_ptr<TVerBoks> rot = Tre(1203456);
  // The sire's sire is not in the register: a zero box without ancestors.
  ASSERT_NE(rot->Far, nullptr);
  const TVerBoks& far = *rot->Far;
  EXPECT_EQ(far.NrTekst, "001001234");
  EXPECT_EQ((std::pair{far.X, far.Y}), (std::pair{70, 210}));
  ASSERT_NE(far.Far, nullptr);
  const TVerBoks& ukjent = *far.Far;
  EXPECT_EQ(ukjent.NrTekst, "000000000");
  EXPECT_EQ(ukjent.Indeks, 0);
  EXPECT_EQ(ukjent.Navn, "");
  EXPECT_EQ(ukjent.FarNr, 0);
  EXPECT_EQ(ukjent.Far, nullptr);
  EXPECT_EQ(ukjent.Mor, nullptr);
  EXPECT_EQ((std::pair{ukjent.X, ukjent.Y}), (std::pair{130, 100}));
  // FJELLKONG's dam 777 has no known sire: no box.
  EXPECT_EQ(far.Mor, nullptr);

  // The root's dam: her number, the index the child's record gives, and her sire.
  ASSERT_NE(rot->Mor, nullptr);
  const TSoyeBoks& mor = *rot->Mor;
  EXPECT_EQ(mor.NrTekst, "004521");
  EXPECT_EQ(mor.Indeks, 104);
  EXPECT_EQ(mor.FarNr, 1005555);
  EXPECT_EQ((std::pair{mor.X, mor.Y}), (std::pair{70, 650}));
  EXPECT_EQ(mor.Steg, 110);
  ASSERT_NE(mor.Far, nullptr);
  EXPECT_EQ(mor.Far->NrTekst, "001005555");
  EXPECT_EQ(Cp1252TilUtf8(mor.Far->Navn), "STORFJELL");
  EXPECT_EQ(mor.Far->Indeks, 120);
  EXPECT_EQ((std::pair{mor.Far->X, mor.Far->Y}), (std::pair{130, 540}));
  EXPECT_EQ(mor.Mor, nullptr);
}

TEST_F(StamtreTest, TreffVedHverZoom) {
  const std::unique_ptr<TVerBoks> rot = Tre(1203456);
  struct Klikk {
    double zoom, x, y;
    int32_t treff;    // TreffStamtre of the rounded logical point
    int32_t oppslag;  // what the lookup window looks up
  };
  const Klikk tilfeller[] = {
      {1, 15, 435, 1203456, 1203456},  // the root's number
      {1, 70, 435, 0, 0},              // right of the 55-unit number area
      {2, 30, 870, 1203456, 1203456},  // the same spot at 200 %
      {1, 10, 435, 0, 0},              // on the left edge: strictly inside only
      {1, 64, 449, 1203456, 1203456},  // the last unit inside
      {1, 15, 450, 0, 0},              // 20 units down
      {2, 129, 880, 0, 0},             // 64.5 rounds half away to 65: outside
      {0.25, 3.6, 112.4, 0, 0},        // 449.6 rounds to 450: outside
      {0.5, 7.5, 217.5, 1203456, 1203456},
      {1.5, 150, 330, 1001234, 1001234},     // the sire at (70, 210)
      {1, 80, 660, 4521, 0},                 // the dam: a ewe number is not looked up
      {0.75, 105, 412.5, 1005555, 1005555},  // the dam's sire at (130, 540)
      {1, 140, 105, 0, 0},                   // the unknown sire's box hits number 0
      {1, 600, 900, 0, 0},
  };
  for (const Klikk& k : tilfeller) {
    SCOPED_TRACE(std::to_string(k.zoom) + " " + std::to_string(k.x) + "," + std::to_string(k.y));
    EXPECT_EQ(TreffStamtre(*rot, static_cast<int32_t>(RoundHalfAway(k.x / k.zoom)),
                           static_cast<int32_t>(RoundHalfAway(k.y / k.zoom))),
              k.treff);
    EXPECT_EQ(StamtreKlikk(*rot, k.x, k.y, k.zoom), k.oppslag);
  }

  // The last generation's boxes sit 5 lower: the top sire of a full tree is at
  // (475, 10), not (475, 5).
  const std::unique_ptr<TVerBoks> full = ByggStamtre(FullVer(1000000), FinnFull, raser);
  EXPECT_EQ(TreffStamtre(*full, 480, 27), 1000005);
  EXPECT_EQ(TreffStamtre(*full, 480, 8), 0);
  EXPECT_EQ(StamtreKlikk(*full, 960, 54, 2), 1000005);
}

namespace {

bool Blekk(QRgb c) { return qGray(c) < 128; }

}  // namespace

TEST_F(StamtreTest, SkalaPaaSide4800) {
  // s = 4800 / 640 = 7.5: the root's box spans device x 75 to 900.
  const std::unique_ptr<TVerBoks> rot = Tre(1300000);
  QImage bilde(4800, 3600, QImage::Format_Grayscale8);
  bilde.fill(Qt::white);
  {
    QPainter p(&bilde);
    // The height does not scale: a page cut short draws the same.
    TegnStamtre(p, 4800, 3600, *rot, false);
  }
  // A row through the box's fourth text line, which is blank (no herd): only
  // the two sides of the box.
  const int rad = 3225 + 235;
  std::vector<int> kolonner;
  for (int x = 0; x < bilde.width(); ++x)
    if (Blekk(bilde.pixel(x, rad))) kolonner.push_back(x);
  ASSERT_FALSE(kolonner.empty());
  EXPECT_NEAR(kolonner.front(), 75, 2);
  EXPECT_NEAR(kolonner.back(), 900, 2);
  for (int x : kolonner) EXPECT_TRUE(std::abs(x - 75) <= 2 || std::abs(x - 900) <= 2) << x;

  // The short link from the left edge: device y 450 s = 3375 at the page's
  // edge to 452 s = 3390 at the box (x 75).
  const auto linjeY = [&](int x) {
    std::vector<int> y;
    for (int i = 1000; i < bilde.height(); ++i)  // below the title
      if (Blekk(bilde.pixel(x, i))) y.push_back(i);
    return y;
  };
  for (const auto& [x, y] : {std::pair{3, 3375}, std::pair{40, 3383}, std::pair{72, 3390}}) {
    SCOPED_TRACE(x);
    const std::vector<int> ink = linjeY(x);
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR(ink.front(), y, 3);
    EXPECT_NEAR(ink.back(), y, 3);
  }
}

TEST(StamtreTegning, BlekkBareInnenforSiden) {
  // The deepest tree with the longest texts, drawn at 200 % as the preview's
  // document, for the screen and for print, into a larger image: the area
  // outside the page stays as it was, the page gets its background, and the
  // ink stays inside the columns and rows of the boxes (texts do not run out
  // of their boxes).
  const Trase raser;
  const TStamtredokument dokument(ByggStamtre(FullVer(1000000), FinnFull, raser));
  const QRgb rod = qRgb(255, 0, 0);
  QImage bilde(1400, 2100, QImage::Format_RGB32);
  bilde.fill(rod);
  for (bool skjerm : {true, false}) {
    QPainter p(&bilde);
    if (skjerm)
      dokument.TegnSkjerm(p, 1280, 1920, 1);
    else
      dokument.TegnSide(p, 1280, 1920, 1);
  }

  QRect blekk;
  int roedInnenfor = 0, endretUtenfor = 0;
  for (int y = 0; y < bilde.height(); ++y) {
    for (int x = 0; x < bilde.width(); ++x) {
      const QRgb c = bilde.pixel(x, y);
      const bool inne = x < 1280 && y < 1920;
      if (!inne) {
        endretUtenfor += c != rod;
        continue;
      }
      roedInnenfor += c == rod;
      if (Blekk(c)) blekk |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_EQ(endretUtenfor, 0);
  EXPECT_EQ(roedInnenfor, 0);
  ASSERT_FALSE(blekk.isEmpty());
  // Rightmost box edge at 2 x 585, lowest at 2 x (860 + 28); a 2-pixel pen.
  EXPECT_LE(blekk.right(), 1171);
  EXPECT_LE(blekk.bottom(), 1777);
  EXPECT_LE(blekk.left(), 2);  // the root's link starts at the left edge
  EXPECT_LE(blekk.top(), 20);  // the title
}

// ---- the tree as a file ----

TEST(StamtreFil, TypeEtterEndelsen) {
  const struct {
    const char* fil;
    std::optional<TStamtreFil> type;
  } tilfeller[] = {
      {"tre.pdf", TStamtreFil::Pdf}, {"TRE.PDF", TStamtreFil::Pdf}, {"mappe.png/tre.Png", TStamtreFil::Png},
      {"tre.svg", TStamtreFil::Svg}, {"tre.jpg", std::nullopt},     {"tre", std::nullopt},
      {"pdf", std::nullopt},         {".pdf", std::nullopt},        {"tre.pdf.txt", std::nullopt},
  };
  for (const auto& t : tilfeller) EXPECT_EQ(StamtreFiltype(t.fil), t.type) << t.fil;
}

// Each kind carries the page or picture set-up; a file that cannot be written
// leaves an older one as it was, and an unknown kind writes nothing.
TEST_F(StamtreTest, SkrivStamtreEtterFiltypen) {
  const std::unique_ptr<TVerBoks> rot = Tre(1203456);

  SkrivStamtre(*rot, mappe / "tre.pdf");
  const Svar info = ::Kjor(mappe, "pdfinfo tre.pdf");
  ASSERT_EQ(info.kode, 0) << info.feil;
  for (const char* del : {"Title:           Stamtre for 001203456 KVITE HÅVARD", "Creator:         Hornstad",
                          "Pages:           1", "(A4)"})
    EXPECT_NE(info.ut.find(del), std::string::npos) << del << "\n" << info.ut;

  SkrivStamtre(*rot, mappe / "TRE.PNG");
  const QImage bilde(QString::fromStdString((mappe / "TRE.PNG").string()), "PNG");
  ASSERT_EQ(bilde.size(), QSize(StamtreBildeBredde, StamtreBildeHoyde));
  EXPECT_EQ(bilde.pixel(0, StamtreBildeHoyde - 1), qRgb(255, 255, 255));
  EXPECT_TRUE(Blekk(bilde.pixel(2 * 10, 2 * 440)));  // the root box's left side

  SkrivStamtre(*rot, mappe / "tre.svg");
  const std::string svg = LesHeleFila(mappe / "tre.svg");
  for (const char* del : {"width=\"451.556mm\" height=\"677.333mm\"", "viewBox=\"0 0 1280 1920\"",
                          "<title>Stamtre for 001203456 KVITE HÅVARD</title>", "001001234"})
    EXPECT_NE(svg.find(del), std::string::npos) << del;

  mappe.Skriv("eldre.png", "eldre bilde");
  fs::create_directories(mappe / "eldre.png.ny" / "opptatt");
  EXPECT_THROW(SkrivStamtre(*rot, mappe / "eldre.png"), IoFeil);
  EXPECT_EQ(LesHeleFila(mappe / "eldre.png"), "eldre bilde");

  try {
    SkrivStamtre(*rot, mappe / "tre.jpg");
    ADD_FAILURE() << "a .jpg was written";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("«tre.jpg»"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(mappe / "tre.jpg"));
}

// ---- hornstad-cli stamtre ----

namespace {

struct CliSvar {
  int kode = -1;
  std::string ut, feil;
};

CliSvar Kjor(const std::string& kommando) {
  CliSvar s;
  const std::string feilfil = fs::temp_directory_path() / ("stamtre-feil-" + std::to_string(::getpid()));
  FILE* f = ::popen((kommando + " 2>'" + feilfil + "'").c_str(), "r");
  if (f == nullptr) return s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.ut.append(buf, n);
  const int status = ::pclose(f);
  s.kode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::error_code ec;
  if (fs::exists(feilfil, ec)) {
    s.feil = LesHeleFila(feilfil);
    fs::remove(feilfil, ec);
  }
  return s;
}

CliSvar Stamtre(const TestMappe& mappe, const std::string& argumenter) {
  const std::string m = "'" + mappe.Sti().string() + "'";
  return Kjor("cd " + m + " && " + HS_CLI + " --data " + m + " stamtre " + argumenter);
}

}  // namespace

TEST(StamtreCli, PdfPngOgSvg) {
  TestMappe mappe;
  SkrivVerFil(mappe / VerFilNavn, Rammer());

  const CliSvar pdf = Stamtre(mappe, "1203456 --ut tre.pdf");
  ASSERT_EQ(pdf.kode, 0) << pdf.feil;
  EXPECT_EQ(pdf.feil, "");
  const std::string fil = (mappe / "tre.pdf").string();
  const CliSvar info = Kjor("pdfinfo '" + fil + "'");
  ASSERT_EQ(info.kode, 0) << info.feil;
  const std::size_t sider = info.ut.find("Pages:");
  ASSERT_NE(sider, std::string::npos) << info.ut;
  EXPECT_EQ(TrimText(info.ut.substr(sider + 6, info.ut.find('\n', sider) - sider - 6)), "1") << info.ut;
  EXPECT_NE(info.ut.find("(A4)"), std::string::npos) << info.ut;
  EXPECT_NE(info.ut.find("Stamtre for 001203456 KVITE HÅVARD"), std::string::npos) << info.ut;
  const CliSvar tekst = Kjor("pdftotext '" + fil + "' -");
  ASSERT_EQ(tekst.kode, 0) << tekst.feil;
  for (const char* del : {"Stamtre", "001203456", "KVITE HÅVARD", "O-indeks:112", "001001234", "FJELLKONG", "004521",
                          "O-indeks:104", "001005555", "STORFJELL", "000000000"})
    EXPECT_NE(tekst.ut.find(del), std::string::npos) << del << "\n" << tekst.ut;

  const CliSvar png = Stamtre(mappe, "1203456 --ut tre.png");
  ASSERT_EQ(png.kode, 0) << png.feil;
  const QImage bilde(QString::fromStdString((mappe / "tre.png").string()));
  ASSERT_EQ(bilde.size(), QSize(1280, 1920));
  EXPECT_EQ(bilde.pixel(1279, 1919), qRgb(255, 255, 255));
  EXPECT_TRUE(Blekk(bilde.pixel(2 * 10, 2 * 440)));  // the root box's left side

  const CliSvar svg = Stamtre(mappe, "1203456 --ut tre.svg");
  ASSERT_EQ(svg.kode, 0) << svg.feil;
  const std::string svgTekst = LesHeleFila(mappe / "tre.svg");
  EXPECT_NE(svgTekst.find("<svg"), std::string::npos);
  EXPECT_NE(svgTekst.find("001203456"), std::string::npos);
}

TEST(StamtreCli, UkjentVaerOgFeilFiltype) {
  TestMappe mappe;
  SkrivVerFil(mappe / VerFilNavn, Rammer());
  struct Feil {
    const char* argumenter;
    int kode;
    const char* imelding;
  };
  for (const Feil& c :
       {Feil{"999 --ut tre.pdf", 1, "999"}, Feil{"1203456 --ut tre.jpg", 2, "tre.jpg"}, Feil{"1203456", 2, "Bruk"}}) {
    SCOPED_TRACE(c.argumenter);
    const CliSvar s = Stamtre(mappe, c.argumenter);
    EXPECT_EQ(s.kode, c.kode);
    EXPECT_EQ(s.ut, "");
    EXPECT_NE(s.feil.find(c.imelding), std::string::npos) << s.feil;
    EXPECT_EQ(std::count(s.feil.begin(), s.feil.end(), '\n'), 1) << s.feil;
    EXPECT_FALSE(fs::exists(mappe / "tre.pdf"));
    EXPECT_FALSE(fs::exists(mappe / "tre.jpg"));
  }
}
