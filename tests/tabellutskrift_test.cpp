// Printing a table on paper and into PDF: the page layout, the width limits,
// the rows printed, PDFs read back by poppler's pdfinfo and pdftotext and by
// qpdf, pages painted into images, printing into a QPrinter set to PDF, the
// table window's PDF key and hornstad-cli avkom --format pdf.
#include "tabellutskrift.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "avkom.h"
#include "cp1252.h"
#include "dato.h"
#include "eksempeldata.h"
#include "filer.h"
#include "register.h"
#include "skriverjobb.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"
#include "tvindu.h"

namespace fs = std::filesystem;

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

std::string Tekst(const fs::path& pdf, int side = 0) {
  const std::string sider = side > 0 ? " -f " + std::to_string(side) + " -l " + std::to_string(side) : "";
  TestMappe m;
  return Kjor(m, "pdftotext -enc UTF-8" + sider + " '" + pdf.string() + "' -").ut;
}

// pdfinfo's fields by name.
std::map<std::string, std::string> Info(const fs::path& pdf) {
  TestMappe m;
  const std::string ut = Kjor(m, "pdfinfo '" + pdf.string() + "'").ut;
  std::map<std::string, std::string> felt;
  std::size_t pos = 0;
  while (pos < ut.size()) {
    std::size_t slutt = ut.find('\n', pos);
    if (slutt == std::string::npos) slutt = ut.size();
    const std::string linje = ut.substr(pos, slutt - pos);
    const std::size_t kolon = linje.find(':');
    if (kolon != std::string::npos) {
      std::size_t v = kolon + 1;
      while (v < linje.size() && linje[v] == ' ') ++v;
      felt[linje.substr(0, kolon)] = linje.substr(v);
    }
    pos = slutt + 1;
  }
  return felt;
}

// The words of a PDF page with their boxes (pdftotext -bbox), in points from
// the page's top left.
struct Ord {
  double x0, y0, x1, y1;
  std::string tekst;
};
std::vector<std::vector<Ord>> Ordene(const fs::path& pdf) {
  TestMappe m;
  const std::string html = Kjor(m, "pdftotext -bbox -enc UTF-8 '" + pdf.string() + "' -").ut;
  std::vector<std::vector<Ord>> sider;
  const std::regex side(
      "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
  for (auto i = std::sregex_iterator(html.begin(), html.end(), side); i != std::sregex_iterator(); ++i) {
    const std::smatch& t = *i;
    if (t.str(0) == "<page ") {
      sider.emplace_back();
    } else if (!sider.empty()) {
      sider.back().push_back(
          {std::stod(t.str(1)), std::stod(t.str(2)), std::stod(t.str(3)), std::stod(t.str(4)), t.str(5)});
    }
  }
  return sider;
}
const Ord* FinnOrd(const std::vector<Ord>& ord, const std::string& tekst) {
  for (const Ord& o : ord)
    if (o.tekst == tekst) return &o;
  return nullptr;
}

// A table as the program's callers fill one: one header row, `rader` data
// rows "R<i>" with a number, a bold name and a struck-out cell, and a footer
// row; laid out as the window lays it out when shown.
void Lag(TTabell& t, int rader, const std::string& tittel = "Sønner etter 1001234 BLAKKEN") {
  t.Oppsett(4, 12, 0, 1, 1, C(tittel), Rod, Blaa);
  t.NyRad(C("Værnr;Navn;Indeks;Merknad;"));
  for (int i = 0; i < rader; ++i)
    t.NyRad(
        C("R" + std::to_string(i) + ";\x01Navn" + std::to_string(i) + ";" + std::to_string(100 + i) + ";\x04utgått;"));
  t.NyBunnRad(";Antall;" + std::to_string(rader) + ";;");
  t.ForsteLayout();
}

// A table of `kolonner` columns whose widths add up to exactly `bredde` pixels.
void LagBred(TTabell& t, int kolonner, int bredde) {
  t.Oppsett(kolonner, 12, 0, 1, 1, "Bred tabell", Rod, Blaa);
  std::string hode, rad;
  for (int k = 0; k < kolonner; ++k) {
    hode += "K" + std::to_string(k) + ";";
    rad += std::to_string(k) + ";";
  }
  t.NyRad(hode);
  t.NyRad(rad);
  t.NyBunnRad(std::string(static_cast<std::size_t>(kolonner), ';'));
  t.ForsteLayout();
  for (int k = 0; k < kolonner; ++k) t.Hoved().SettKolbredde(k, bredde / kolonner + (k < bredde % kolonner ? 1 : 0));
  ASSERT_EQ(t.TotalBredde(), bredde);
}

TUtskrift Jobb(const TTabell& t) {
  TUtskrift u;
  u.tabell = &t;
  u.hovedtekst = "Hornstad. Versjon 3.3 03. sep 2008";
  u.dato = *EncodeDate(2024, 3, 5);
  return u;
}

}  // namespace

// The scales and measures, worked out by hand. Page sizes are in device units;
// a page at least as wide as high is lying.
TEST(Sideoppsett, MaalSomRegnetForHand) {
  struct Fall {
    const char* navn;
    double w, h;
    int skrift, rad, T, bunnrader;
    bool pdf;
    TSideoppsett ventet;
  };
  const Fall fall[] = {
      // A4 PDF standing: sx 1.3228, sy 1.2903; L = round(793.70 - 661.42) / 2;
      // B = 1122.52 - 25 rounded.
      {"pdf staaende",
       PdfBredde,
       PdfHoyde,
       15,
       19,
       500,
       1,
       true,
       {PdfBredde / 600, PdfHoyde / 870, 1, 19, 25, 500, 66, 1098}},
      // The same page lying has the same scales, the long side across.
      {"pdf liggende",
       PdfHoyde,
       PdfBredde,
       15,
       19,
       700,
       1,
       true,
       {PdfBredde / 600, PdfHoyde / 870, 1, 19, 25, 700, 98, 769}},
      // Halves: sx = sy = 2.5; R, fh and rh round away from zero (2.5 -> 3,
      // 32.5 -> 33, 42.5 -> 43); without footer rows B is the page height.
      {"halve", 1500, 2175, 13, 17, 100, 0, false, {2.5, 2.5, 3, 33, 43, 100, 625, 2175}},
      // Two footer rows take two row heights off the bottom.
      {"to bunnrader", 1500, 2175, 13, 17, 100, 2, false, {2.5, 2.5, 3, 33, 43, 100, 625, 2089}},
      // Exactly 600 pixels reach the page width: L = 1; one pixel less is
      // centred.
      {"full bredde", 4800, 7015, 15, 19, 600, 1, false, {8, 7015.0 / 870, 8, 121, 153, 600, 1, 6862}},
      {"en piksel smalere", 4800, 7015, 15, 19, 599, 1, false, {8, 7015.0 / 870, 8, 121, 153, 599, 4, 6862}},
      // Wider than the page: L = 1 and the table runs off the right edge.
      {"for bred",
       PdfHoyde,
       PdfBredde,
       15,
       19,
       1000,
       1,
       true,
       {PdfBredde / 600, PdfHoyde / 870, 1, 19, 25, 1000, 1, 769}},
      // Lying paper: sy from the width, sx from the height.
      {"liggende papir", 3508, 2480, 15, 19, 880, 1, false, {2480.0 / 600, 3508.0 / 870, 4, 60, 77, 880, 1, 2403}},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.navn);
    const TSideoppsett o = Sideoppsett(f.w, f.h, f.skrift, f.rad, f.T, f.bunnrader, f.pdf);
    EXPECT_DOUBLE_EQ(o.sx, f.ventet.sx);
    EXPECT_DOUBLE_EQ(o.sy, f.ventet.sy);
    EXPECT_EQ(o.R, f.ventet.R);
    EXPECT_EQ(o.fh, f.ventet.fh);
    EXPECT_EQ(o.rh, f.ventet.rh);
    EXPECT_EQ(o.T, f.ventet.T);
    EXPECT_EQ(o.L, f.ventet.L);
    EXPECT_EQ(o.B, f.ventet.B);
  }
}

TEST(Sideoppsett, BreddegrenserForPapirOgPdf) {
  const std::string staaende =
      "Utskriftet er for bred til å passe på arket, krymp først, eller still skriverens egenskaper til liggende "
      "utskrift.";
  struct Fall {
    int T;
    bool liggende;
    std::string melding;
  };
  // A lying page takes any width: a table wider than it goes across pages.
  const Fall fall[] = {{600, false, ""}, {601, false, staaende}, {601, true, ""},
                       {880, true, ""},  {881, true, ""},        {2000, false, staaende}};
  for (const Fall& f : fall) {
    SCOPED_TRACE(::testing::Message() << f.T << (f.liggende ? " liggende" : " staaende"));
    EXPECT_EQ(ForBredForArket(f.T, f.liggende).value_or(""), f.melding);
  }
  // The PDF has no upper limit; it turns the page above 600.
  EXPECT_FALSE(PdfLiggende(600));
  EXPECT_TRUE(PdfLiggende(601));
  EXPECT_TRUE(PdfLiggende(5000));
}

TEST(Sideoppsett, RadeneSomSkrivesUtOgSidehodet) {
  TRutenett g(3, 10);
  g.SettFaste(0, 2);
  // Nothing marked beyond one cell: no selection choice; every data row.
  g.SettGjeldende(1, 4);
  EXPECT_FALSE(TilbyUtvalg(g));
  EXPECT_EQ(Utskriftsrader(g, false), (TRadomraade{2, 9}));
  // A marked block of rows.
  g.SettValg(TOmraade{0, 4, 2, 6});
  EXPECT_TRUE(TilbyUtvalg(g));
  EXPECT_EQ(Utskriftsrader(g, true), (TRadomraade{4, 6}));
  EXPECT_EQ(Utskriftsrader(g, false), (TRadomraade{2, 9}));
  // A block reaching into the header rows prints only its data rows.
  g.SettValg(TOmraade{0, 0, 2, 3});
  EXPECT_EQ(Utskriftsrader(g, true), (TRadomraade{2, 3}));

  EXPECT_EQ(Sidehodetekst(3, *EncodeDate(2024, 3, 5), "Hornstad. Versjon 3.3"),
            "side:3 den 5/3-2024 med Hornstad. Versjon 3.3");
  EXPECT_EQ(Sidehodetekst(12, *EncodeDate(2031, 11, 30), "H"), "side:12 den 30/11-2031 med H");
}
namespace {

// Pages painted into images of `w` x `h` pixels, one image a page.
std::vector<QImage> Sider(const TTabell& t, int w, int h, TRadomraade rader) {
  const TTabelldokument dokument(Jobb(t), Sideoppsett(t, w, h, false), rader);
  std::vector<QImage> sider;
  for (int s = 1; s <= dokument.Sider(); ++s) {
    sider.emplace_back(w, h, QImage::Format_RGB32);
    sider.back().fill(Qt::white);
    QPainter p(&sider.back());
    dokument.TegnSide(p, w, h, s);
  }
  return sider;
}

// The lowest row of an image holding anything but white.
int NedersteBlekk(const QImage& b) {
  for (int y = b.height() - 1; y >= 0; --y)
    for (int x = 0; x < b.width(); ++x)
      if (b.pixel(x, y) != qRgb(255, 255, 255)) return y;
  return -1;
}

// Pixels of exactly the colour inside a rectangle.
int Antall(const QImage& b, QRect r, QColor farge) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += b.pixel(x, y) == farge.rgb();
  return n;
}

}  // namespace

TEST(TabellPdf, TreSiderMedSidehodeTittelCellerOgBunnPaaHverSide) {
  TestMappe m;
  TTabell t;
  Lag(t, 100);
  TUtskrift u = Jobb(t);
  std::vector<std::string> status;
  int forste = -1, siste = -1, sistRad = -1, slutt = 0;
  u.hendelser.status = [&](const std::string& s) { status.push_back(s); };
  u.hendelser.start = [&](int f, int s) { forste = f, siste = s; };
  u.hendelser.fremdrift = [&](int r) { sistRad = r; };
  u.hendelser.slutt = [&] { ++slutt; };
  const fs::path fil = m / "tre.pdf";
  EXPECT_EQ(SkrivTabellPdf(fil.string(), u), fil.string());
  EXPECT_EQ(status, (std::vector<std::string>{"Skriver", "Ferdig skrevet"}));
  EXPECT_EQ(forste, 1);
  EXPECT_EQ(siste, 100);
  EXPECT_EQ(sistRad, 100);
  EXPECT_EQ(slutt, 1);

  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER"))
    fs::copy_file(fil, fs::path(mappe) / "tabell-tre-sider.pdf", fs::copy_options::overwrite_existing);
  EXPECT_EQ(Kjor(m, "qpdf --check '" + fil.string() + "' >/dev/null").kode, 0);
  auto info = Info(fil);
  EXPECT_EQ(info["Pages"], "3");
  EXPECT_EQ(info["Creator"], "Kvistmo Data");
  EXPECT_EQ(info["Title"], "Sønner etter 1001234 BLAKKEN");
  EXPECT_EQ(info["Page size"], "595 x 842 pts (A4)") << "standing";

  std::string alt;
  for (int side = 1; side <= 3; ++side) {
    SCOPED_TRACE(side);
    const std::string tekst = Tekst(fil, side);
    alt += tekst;
    EXPECT_NE(tekst.find("side:" + std::to_string(side) + " den 5/3-2024 med Hornstad. Versjon 3.3 03. sep 2008"),
              std::string::npos)
        << tekst;
    EXPECT_NE(tekst.find("Sønner etter 1001234 BLAKKEN"), std::string::npos);
    EXPECT_NE(tekst.find("Værnr"), std::string::npos) << "the header row on every page";
    EXPECT_NE(tekst.find("Antall"), std::string::npos) << "the footer on every page";
  }
  // Every row once, its format code not shown.
  for (int i = 0; i < 100; ++i) {
    const std::string navn = "Navn" + std::to_string(i) + "\n";
    const std::size_t p = alt.find(navn);
    EXPECT_NE(p, std::string::npos) << navn;
    EXPECT_EQ(alt.find(navn, p + 1), std::string::npos) << navn;
  }
  EXPECT_NE(alt.find("utgått"), std::string::npos);
  EXPECT_EQ(alt.find('\x01'), std::string::npos);

  // The footer sits right under the page's last body row, not at the bottom
  // of the page; nothing runs off the page.
  const auto sider = Ordene(fil);
  ASSERT_EQ(sider.size(), 3u);
  for (std::size_t s = 0; s < sider.size(); ++s) {
    SCOPED_TRACE(s + 1);
    double lavest = 0, hoyrest = 0;
    for (const Ord& o : sider[s]) {
      if (std::regex_match(o.tekst, std::regex("R[0-9]+"))) lavest = std::max(lavest, o.y1);
      hoyrest = std::max(hoyrest, o.x1);
      EXPECT_LT(o.y1, 841.9);
    }
    EXPECT_LT(hoyrest, 595.2);
    const Ord* antall = FinnOrd(sider[s], "Antall");
    ASSERT_NE(antall, nullptr);
    EXPECT_GT(antall->y0, lavest - 2);
    EXPECT_LT(antall->y0, lavest + 12) << "one row below the last body row";
    // The header texts keep apart.
    const Ord* vnr = FinnOrd(sider[s], "Værnr");
    const Ord* navn = FinnOrd(sider[s], "Navn");
    ASSERT_TRUE(vnr && navn);
    EXPECT_LT(vnr->x1, navn->x0);
  }
  EXPECT_LT(FinnOrd(sider[2], "Antall")->y1, 700) << "the last page's footer follows its few rows";
}

TEST(TabellPdf, RetningEtterBreddenOgRensetFilnavn) {
  // Wider than the lying page (848 pixels on A4): across two pages.
  struct Fall {
    int bredde;
    bool liggende;
    const char* sider;
  };
  for (const Fall& f : {Fall{600, false, "1"}, Fall{601, true, "1"}, Fall{848, true, "1"}, Fall{880, true, "2"},
                        Fall{1200, true, "2"}}) {
    SCOPED_TRACE(f.bredde);
    TestMappe m;
    TTabell t;
    LagBred(t, 10, f.bredde);
    const std::string fil = SkrivTabellPdf((m / "b.pdf").string(), Jobb(t));
    const std::string storrelse = Info(fil)["Page size"];
    EXPECT_EQ(storrelse, f.liggende ? "842 x 595 pts (A4)" : "595 x 842 pts (A4)");
    EXPECT_EQ(Info(fil)["Pages"], f.sider);
    EXPECT_NE(Tekst(fil).find("K0"), std::string::npos);
  }

  // The chosen name is cleaned: from its third character on, + : ; @ become _.
  TestMappe m;
  TTabell t;
  Lag(t, 3);
  const std::string fil = SkrivTabellPdf((m / "a:b+c@d.pdf").string(), Jobb(t));
  EXPECT_EQ(fil, (m / "a_b_c_d.pdf").string());
  EXPECT_TRUE(fs::exists(fil));
  // Only the name: a folder the user chose keeps its own name.
  fs::create_directories(m / "Sau+geit" / "a:b");
  const std::string iMappe = SkrivTabellPdf((m / "Sau+geit" / "a:b" / "Tabell+1.pdf").string(), Jobb(t));
  EXPECT_EQ(iMappe, (m / "Sau+geit" / "a:b" / "Tabell_1.pdf").string());
  EXPECT_EQ(Info(iMappe)["Pages"], "1");
  EXPECT_FALSE(fs::exists(m / "Sau_geit"));
  // A file that cannot be written: IoFeil, and an old file stays.
  m.Skriv("mappe", "en fil");
  EXPECT_THROW(SkrivTabellPdf((m / "mappe" / "x.pdf").string(), Jobb(t)), IoFeil);
  EXPECT_EQ(LesHeleFila(m / "mappe"), "en fil");
}

// Pages painted at 2 device units per pixel both ways.
TEST(TabellSider, HoderaderMedHevedeKanter) {
  TTabell t;
  t.Oppsett(2, 12, 0, 2, 1, "To hoderader", Rod, Blaa);
  t.NyRad(";;");
  t.NyRad(";;");
  t.NyRad("1;a;");
  t.NyBunnRad(";;");
  t.ForsteLayout();
  t.Hoved().SettKolbredde(0, 100);
  t.Hoved().SettKolbredde(1, 100);
  const auto sider = Sider(t, 1200, 1740, Utskriftsrader(t.Hoved(), false));
  ASSERT_EQ(sider.size(), 1u);
  const QImage& b = sider[0];
  const TSideoppsett o = Sideoppsett(t, 1200, 1740, false);
  ASSERT_EQ(o.L, 400);
  const int topp0 = 20 + static_cast<int>(RoundHalfAway(QFontMetrics(Tabellskrift(12)).height() * 2.0));
  const int topp1 = topp0 + o.rh, bunn1 = topp1 + o.rh;
  const QColor flate(212, 208, 200), lys(255, 255, 255), skygge(128, 128, 128);
  const int midt = 500;
  EXPECT_EQ(QColor(b.pixel(midt, topp0 + o.rh / 2)), flate);
  EXPECT_EQ(QColor(b.pixel(midt, topp0 + 2)), lys) << "the first header row has a top edge";
  EXPECT_EQ(QColor(b.pixel(midt, topp1 + 2)), flate) << "the second has none";
  EXPECT_EQ(QColor(b.pixel(midt, topp1 - 4)), flate) << "the first has no bottom edge";
  EXPECT_EQ(QColor(b.pixel(midt, bunn1 - 4)), skygge) << "the last one has";
  for (int topp : {topp0, topp1}) {
    EXPECT_EQ(QColor(b.pixel(402, topp + o.rh / 2)), lys);
    EXPECT_EQ(QColor(b.pixel(596, topp + o.rh / 2)), skygge);
  }
  // The body row under them: white with a black outline.
  EXPECT_EQ(QColor(b.pixel(midt - 20, bunn1 + o.rh / 2)), QColor(Qt::white));
  EXPECT_EQ(QColor(b.pixel(600, bunn1 + o.rh / 2)), QColor(Qt::black));
}

TEST(TabellSider, FormatkoderMedStilOgFarge) {
  TTabell t;
  t.Oppsett(6, 12, 0, 1, 0, "Koder", 0xFF0000, 0x0000FF);
  t.NyRad(";;;;;;");
  t.NyRad("\x01Navn;\x02Navn;\x04Navn;\x05Navn;Navn;123;");
  t.ForsteLayout();
  for (int k = 0; k < 6; ++k) t.Hoved().SettKolbredde(k, 90);
  const auto sider = Sider(t, 1200, 1740, Utskriftsrader(t.Hoved(), false));
  ASSERT_EQ(sider.size(), 1u);
  const QImage& b = sider[0];
  const TSideoppsett o = Sideoppsett(t, 1200, 1740, false);
  const int topp = NedersteBlekk(b) - o.rh + 1;  // the body row is the last thing drawn
  const auto rute = [&](int k) { return QRect(o.L + 180 * k + 3, topp + 3, 180 - 6, o.rh - 6); };
  struct Fall {
    int kol;
    QColor farge;
  };
  const QColor svart(Qt::black), rod(255, 0, 0), blaa(0, 0, 255), graa(128, 128, 128), rodbrun(128, 0, 0);
  for (const Fall& f : {Fall{0, rod}, Fall{1, blaa}, Fall{2, graa}, Fall{3, rodbrun}, Fall{4, svart}}) {
    SCOPED_TRACE(f.kol);
    EXPECT_GT(Antall(b, rute(f.kol), f.farge), 20);
    for (const QColor& annen : {svart, rod, blaa, graa, rodbrun})
      // (Black text's soft edges may hold a pixel of the grey.)
      if (annen != f.farge && !(f.farge == svart && annen == graa)) {
        EXPECT_EQ(Antall(b, rute(f.kol), annen), 0) << annen.name().toStdString();
      }
  }
  // Bold takes more ink than regular; struck-out text has its line.
  EXPECT_GT(Antall(b, rute(0), rod), Antall(b, rute(4), svart) * 5 / 4);
  // A number ends at its cell's right edge; a name starts at its left edge.
  const auto blekk = [&](int k, bool hoyre) {
    const QRect r = rute(k);
    for (int i = 0; i < r.width(); ++i) {
      const int x = hoyre ? r.right() - i : r.left() + i;
      for (int y = r.top(); y <= r.bottom(); ++y)
        if (b.pixel(x, y) != qRgb(255, 255, 255)) return x;
    }
    return -1;
  };
  EXPECT_GT(blekk(5, true), rute(5).right() - 6);
  EXPECT_GT(blekk(5, false), rute(5).left() + 60);
  EXPECT_LT(blekk(4, false), rute(4).left() + 6);
}

TEST(TabellSider, UtenBunnraderFyllerRadeneHeleSiden) {
  for (bool bunn : {false, true}) {
    SCOPED_TRACE(bunn);
    TTabell t;
    t.Oppsett(2, 12, 0, 1, bunn ? 1 : 0, "Sider", Rod, Blaa);
    t.NyRad("A;B;");
    for (int i = 0; i < 200; ++i) t.NyRad(std::to_string(i) + ";x;");
    if (bunn) t.NyBunnRad("Sum;;");
    t.ForsteLayout();
    const auto sider = Sider(t, 1200, 1740, Utskriftsrader(t.Hoved(), false));
    ASSERT_GE(sider.size(), 2u);
    const TSideoppsett o = Sideoppsett(t, 1200, 1740, false);
    EXPECT_EQ(o.B, bunn ? 1740 - o.rh : 1740);
    // The first page is filled to within two rows of its bottom, never past it.
    const int nederst = NedersteBlekk(sider[0]);
    EXPECT_GT(nederst, 1740 - 2 * o.rh - 1);
    EXPECT_LT(nederst, 1740);
  }
}

TEST(TabellPapir, SkriverSattTilPdfMedUtvalgOgGrenser) {
  TestMappe m;
  TTabell t;
  Lag(t, 20);
  t.Hoved().SettValg(TOmraade{0, 5, 3, 7});
  QPrinter skriver(QPrinter::HighResolution);
  skriver.setOutputFormat(QPrinter::PdfFormat);
  skriver.setPageSize(QPageSize(QPageSize::A4));
  const fs::path fil = m / "papir.pdf";
  skriver.setOutputFileName(QString::fromStdString(fil.string()));
  std::vector<std::string> status;
  TUtskrift u = Jobb(t);
  u.hendelser.status = [&](const std::string& s) { status.push_back(s); };
  EXPECT_EQ(SkrivTabell(skriver, true, u), std::nullopt);
  EXPECT_EQ(status, (std::vector<std::string>{"Skriver", "Ferdig skrevet"}));
  const std::string tekst = Tekst(fil);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(tekst.find("Navn" + std::to_string(i) + "\n") != std::string::npos, i >= 4 && i <= 6) << i;
  EXPECT_NE(tekst.find("side:1 den 5/3-2024"), std::string::npos);
  EXPECT_NE(tekst.find("Værnr"), std::string::npos);
  EXPECT_NE(tekst.find("Antall"), std::string::npos);

  // The width limits follow the printer's orientation: too wide for a
  // standing page prints nothing; a lying page takes any width.
  struct Fall {
    int bredde;
    QPageLayout::Orientation retning;
    bool skrives;
  };
  for (const Fall& f : {Fall{600, QPageLayout::Portrait, true}, Fall{601, QPageLayout::Portrait, false},
                        Fall{601, QPageLayout::Landscape, true}, Fall{880, QPageLayout::Landscape, true},
                        Fall{881, QPageLayout::Landscape, true}}) {
    SCOPED_TRACE(f.bredde);
    TTabell b;
    LagBred(b, 8, f.bredde);
    QPrinter s(QPrinter::HighResolution);
    s.setOutputFormat(QPrinter::PdfFormat);
    s.setPageSize(QPageSize(QPageSize::A4));
    s.setPageOrientation(f.retning);
    const fs::path ut = m / ("b" + std::to_string(f.bredde) + std::to_string(f.retning) + ".pdf");
    s.setOutputFileName(QString::fromStdString(ut.string()));
    const auto feil = SkrivTabell(s, false, Jobb(b));
    EXPECT_EQ(feil.has_value(), !f.skrives);
    if (feil) {
      EXPECT_EQ(*feil, *ForBredForArket(f.bredde, f.retning == QPageLayout::Landscape));
    }
    EXPECT_EQ(fs::exists(ut), f.skrives);
  }
}

TEST(TabellVindu, PdfMedF6OgUtskriftMedSkriverHook) {
  TestMappe m;
  auto* v = new TVindu;
  v->Oppsett(nullptr, 3, 12, 0, 1, 1, C("Sønner etter 7 Ås"), Rod, Blaa);
  v->NyRad("Nr;Navn;Tall;");
  for (int i = 0; i < 60; ++i) v->NyRad(std::to_string(i) + ";N" + std::to_string(i) + ";" + std::to_string(i) + ";");
  v->NyBunnRad(";;;");
  v->Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
  EXPECT_TRUE(v->Utskrift->isEnabled());
  EXPECT_TRUE(v->Egdeff->isEnabled());
  v->Hovedtekst = [] { return QString("Hornstad. Versjon 3.3 03. sep 2008"); };
  QStringList meldinger;
  v->Melding = [&](const QString& t) { meldinger << t; };

  // F6: the save dialog gets the PDF filter; cancelled, nothing is written and
  // the old filter is back.
  const std::string forrige = v->Lagrevalg().filter;
  TLagreValg sett;
  std::optional<TLagringsfil> svar;
  v->VelgLagringsfil = [&](const TLagreValg& valg) {
    sett = valg;
    return svar;
  };
  QTest::keyClick(v, Qt::Key_F6);
  EXPECT_EQ(sett.filter, "PDF dokument|*.Pdf");
  EXPECT_EQ(sett.standardEndelse, ".Pdf");
  EXPECT_EQ(v->Lagrevalg().filter, forrige);
  EXPECT_EQ(v->Lagrevalg().standardEndelse, ".Pdf");
  EXPECT_TRUE(fs::is_empty(m.Sti()));
  // After a text export too the dialog says PDF and offers a PDF name; the
  // text export's title and name stay for the next export.
  v->Kopier1->trigger();
  EXPECT_EQ(sett.tittel, "Lagre som tekst");
  QTest::keyClick(v, Qt::Key_F6);
  EXPECT_EQ(sett.tittel, "Lagre PDF");
  EXPECT_EQ(sett.filnavn, "Lagre.pdf");
  EXPECT_EQ(v->Lagrevalg().tittel, "Lagre som tekst");
  EXPECT_EQ(v->Lagrevalg().filnavn, "Lagre.txt");

  svar = TLagringsfil{QString::fromStdString((m / "tabell.Pdf").string())};
  // The busy cursor is on while the run is made and drawn.
  std::optional<Qt::CursorShape> peker;
  v->Hovedtekst = [&] {
    if (QApplication::overrideCursor()) peker = QApplication::overrideCursor()->shape();
    return QString("Hornstad. Versjon 3.3 03. sep 2008");
  };
  QTest::keyClick(v, Qt::Key_F6);
  EXPECT_EQ(peker, Qt::WaitCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and off afterwards";
  EXPECT_EQ(v->Lagrevalg().filter, forrige);
  ASSERT_TRUE(fs::exists(m / "tabell.Pdf"));
  EXPECT_EQ(Info(m / "tabell.Pdf")["Pages"], "2");
  EXPECT_NE(Tekst(m / "tabell.Pdf", 2).find("side:2 den "), std::string::npos);
  EXPECT_NE(Tekst(m / "tabell.Pdf").find("med Hornstad. Versjon 3.3"), std::string::npos);
  EXPECT_NE(Tekst(m / "tabell.Pdf").find("Sønner etter 7 Ås"), std::string::npos);
  EXPECT_EQ(v->Panel[2]->text(), "Ferdig skrevet: 60 rader og 3 kolonner til tabell.Pdf");
  EXPECT_FALSE(v->Soyla->isVisible());
  EXPECT_EQ(v->Soyla->maximumWidth(), 10);
  EXPECT_TRUE(meldinger.isEmpty());

  // Paper: the selection choice is offered when rows are marked.
  v->Tabell().Hoved().SettValg(TOmraade{0, 3, 2, 4});
  bool tilbudt = false;
  const fs::path papir = m / "papir.pdf";
  v->VelgSkriver = [&](QPrinter& s, bool tilby, bool& utvalg) {
    tilbudt = tilby;
    s.setOutputFormat(QPrinter::PdfFormat);
    s.setOutputFileName(QString::fromStdString(papir.string()));
    utvalg = true;
    return true;
  };
  v->Utskrift->click();
  EXPECT_TRUE(tilbudt);
  const std::string tekst = Tekst(papir);
  EXPECT_NE(tekst.find("N2\n"), std::string::npos);
  EXPECT_NE(tekst.find("N3\n"), std::string::npos);
  EXPECT_EQ(tekst.find("N4\n"), std::string::npos);
  EXPECT_FALSE(SkriverOpptatt());

  // Printed to a file that exists: a failed write leaves it as it was and
  // says why.
  m.Skriv("papir.pdf", "eldre utskrift");
  {
    Filgrense grense(1024);
    v->Utskrift->click();
  }
  ASSERT_EQ(meldinger.size(), 1);
  EXPECT_TRUE(meldinger[0].contains("papir.pdf")) << meldinger[0].toStdString();
  meldinger.clear();
  EXPECT_EQ(LesHeleFila(papir), "eldre utskrift");
  EXPECT_FALSE(fs::exists(m / "papir.pdf.ny"));
  EXPECT_FALSE(SkriverOpptatt());

  // A job of ours still printing: the message, and no dialog.
  fs::remove(papir);
  tilbudt = false;
  {
    const TSkriverjobb annen;
    v->Utskrift->click();
  }
  ASSERT_EQ(meldinger.size(), 1);
  EXPECT_EQ(meldinger[0],
            QString::fromUtf8("Skriveren er opptatt med en annen utskrift. Vent til den er ferdig, og prøv igjen."));
  EXPECT_FALSE(tilbudt);
  EXPECT_FALSE(fs::exists(papir));
  delete v;
}

// A job holds the printer for its scope: a run inside its click's keeps it
// until the outer one ends, and an error that ends a run early frees it.
TEST(Skriverjobb, OpptattForSkopetOgLedigEtterFeil) {
  EXPECT_FALSE(SkriverOpptatt());
  {
    const TSkriverjobb ytre;
    EXPECT_TRUE(SkriverOpptatt());
    {
      const TSkriverjobb indre;
      EXPECT_TRUE(SkriverOpptatt());
    }
    EXPECT_TRUE(SkriverOpptatt()) << "the outer job still runs";
  }
  EXPECT_FALSE(SkriverOpptatt());
  const auto feiler = [] {
    const TSkriverjobb jobb;
    throw std::runtime_error("skriveren svarte ikke");
  };
  EXPECT_THROW(feiler(), std::runtime_error);
  EXPECT_FALSE(SkriverOpptatt()) << "an error frees the printer";
}

namespace {

TVerPost Ver(int32_t nummer, const std::string& navnUtf8, int32_t farnr = 0, int16_t oindeks = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(C(navnUtf8));
  p.Farnr = farnr;
  p.OIndeks = oindeks;
  return p;
}

}  // namespace

TEST(AvkomCli, PdfSomTabellvinduetSkriverDen) {
  TestMappe m;
  std::vector<TVerPost> reg{Ver(1000001, "GAMLEFAR"), Ver(1001234, "BLAKKEN", 1000001, 100)};
  for (int i = 0; i < 70; ++i) reg.push_back(Ver(1100001 + i, "SØNN " + std::to_string(i), 1001234, 90));
  SkrivVerFil(m / VerFilNavn, reg);
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' avkom ";
  const Svar s = Kjor(m, cli + "1001234 --format pdf --ut sonner.pdf");
  ASSERT_EQ(s.kode, 0) << s.feil;
  EXPECT_EQ(s.ut, "");
  EXPECT_EQ(s.feil, "");
  EXPECT_EQ(Kjor(m, "qpdf --check sonner.pdf >/dev/null").kode, 0);
  EXPECT_EQ(Info(m / "sonner.pdf")["Pages"], "2");
  const std::string tekst = Tekst(m / "sonner.pdf");
  EXPECT_NE(tekst.find("Sønner etter 1001234 BLAKKEN"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("med Hornstad. Versjon 3.3 03. sep 2008"), std::string::npos);
  EXPECT_NE(tekst.find("Sønn 0\n"), std::string::npos);
  EXPECT_NE(tekst.find("Sønn 69\n"), std::string::npos);

  // The same rows as the window's table gives.
  TTabell t;
  TProdusent r(m.Sti());
  r.LoadRegister();
  ListAvkom(r, r.FindByNumber(1001234), t);
  t.ForsteLayout();
  const std::string fil = SkrivTabellPdf((m / "vindu.pdf").string(), Jobb(t));
  EXPECT_EQ(Info(fil)["Pages"], "2");
  EXPECT_EQ(Info(fil)["Page size"], Info(m / "sonner.pdf")["Page size"]);

  // The PDF needs a file.
  const Svar uten = Kjor(m, cli + "1001234 --format pdf");
  EXPECT_EQ(uten.kode, 2);
  EXPECT_NE(uten.feil.find("--ut"), std::string::npos) << uten.feil;
}

// A table too wide for a lying page, as a mating plan of many rams that
// keeps a readable font: the PDF goes across several pages of the same rows
// instead of running off the page's edge; every page starts with the first
// column, so that it says whose rows it shows, and says which part it is.
TEST(TabellPdf, BredTabellDelesOverSiderMedForsteKolonneGjentatt) {
  TestMappe m;
  TTabell t;
  constexpr int Verer = 40, Soyer = 60;
  t.Oppsett(1 + Verer, 12, 0, 1, 1, C("Paringsplan: forventet innavlsgrad hos lammet i prosent"), Rod, Blaa);
  t.SettMinsteskrift(LesbarSkrift);
  std::string hode = C("Søye;");
  for (int v = 0; v < Verer; ++v) hode += "V" + std::to_string(2000100 + v) + ";";
  t.NyRad(hode);
  for (int s = 0; s < Soyer; ++s) {
    std::string rad = "S" + std::to_string(s) + ";";
    for (int v = 0; v < Verer; ++v) rad += std::to_string(v % 10) + ",25;";
    t.NyRad(rad);
  }
  t.NyBunnRad(std::string(1 + Verer, ';'));
  t.ForsteLayout();
  EXPECT_GE(t.Skriftstorrelse, LesbarSkrift);
  ASSERT_GT(t.TotalBredde(), 1700);

  const std::string fil = SkrivTabellPdf((m / "plan.pdf").string(), Jobb(t));
  const auto sider = Ordene(fil);
  const int deler = DelerIBredden(t);
  ASSERT_GE(deler, 2);
  const int nedover = static_cast<int>(sider.size()) / deler;
  ASSERT_EQ(static_cast<int>(sider.size()), deler * nedover) << "every part down has every part across";
  ASSERT_GE(nedover, 2);
  std::map<std::string, int> rammer;  // the rams' columns, and the pages that show them
  std::set<std::string> radene;       // the rows of the first page across
  for (std::size_t i = 0; i < sider.size(); ++i) {
    SCOPED_TRACE("side " + std::to_string(i + 1));
    const std::vector<Ord>& side = sider[i];
    for (const Ord& o : side) EXPECT_LT(o.x1, 842) << o.tekst << " beyond the page's edge";
    EXPECT_NE(FinnOrd(side, "Søye"), nullptr) << "the first column on every page";
    const int del = static_cast<int>(i) % deler;
    const std::string delen = "(del " + std::to_string(del + 1) + " av " + std::to_string(deler) + " i bredden)";
    EXPECT_NE(Tekst(fil, static_cast<int>(i) + 1).find(delen), std::string::npos) << "the head says which part";
    // The rows: the same on each page across.
    std::set<std::string> rader;
    for (const Ord& o : side)
      if (o.tekst.size() >= 2 && o.tekst[0] == 'S' && std::isdigit(static_cast<unsigned char>(o.tekst[1])))
        rader.insert(o.tekst);
    if (del == 0) radene = rader;
    EXPECT_EQ(rader, radene);
    EXPECT_FALSE(rader.empty());
    for (const Ord& o : side)
      if (o.tekst.size() == 8 && o.tekst[0] == 'V') ++rammer[o.tekst];
  }
  // Every ram's column on one page across of each page down.
  ASSERT_EQ(static_cast<int>(rammer.size()), Verer);
  for (const auto& [ver, antall] : rammer) EXPECT_EQ(antall, nedover) << ver;
}
