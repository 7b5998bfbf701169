// The table window's exports: delimited lines, comma text, HTML, the save
// dialog's settings, the written files, real readers of the files (Python's
// csv module, headless Chromium) and hornstad-cli avkom.
#include "eksport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "avkom.h"
#include "cp1252.h"
#include "eksempeldata.h"
#include "filer.h"
#include "filtype.h"
#include "register.h"
#include "tabell.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

// Windows-1252 to UTF-8 and back, so that expectations read as text.
std::string U(const std::string& cp1252) { return Cp1252TilUtf8(cp1252); }
std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }
std::vector<std::string> U(const std::vector<std::string>& l) {
  std::vector<std::string> u;
  for (const std::string& s : l) u.push_back(U(s));
  return u;
}
std::vector<std::string> C(const std::vector<std::string>& l) {
  std::vector<std::string> c;
  for (const std::string& s : l) c.push_back(C(s));
  return c;
}

// The small table of most tests, filled as the callers fill a table window:
// a header row, three data rows (format code 1, blanks around a cell, a TAB
// inside one, a cell beyond the columns, an empty last cell) and a footer row.
// Column k is 50 + 10k pixels wide; the block is columns 1 to 3 of the three
// data rows, and the current cell is (1, 3).
void LagLiten(TTabell& t) {
  t.Oppsett(4, 12, 0, 1, 1, C("Søyer på Ås"), Rod, Blaa);
  t.NyRad(C("Nr;Navn;Vekt;Kjøtt;"));
  t.NyRad(C("1;Ærlig Åsmund;45,5;\x01Ås;"));
  t.NyRad(C("2; Tå ;-3;a;b;"));
  t.NyRad(C("3;x\ty;+5;;"));
  t.NyBunnRad(";;12;;");
  for (int k = 0; k < 4; ++k) t.Hoved().SettKolbredde(k, 50 + 10 * k);
  t.Hoved().SettGjeldende(1, 3);
}
void MerkBlokk(TTabell& t) { t.Hoved().SettValg(TOmraade{1, 1, 3, 3}); }

// A table of one header row "H;…" and one data row of the given cells (set
// in the grid, so that they may hold ';'), with the whole data row marked.
void LagEnRad(TTabell& t, const std::vector<std::string>& celler) {
  const int n = static_cast<int>(celler.size());
  t.Oppsett(n, 12, 0, 1, 1, "T", Rod, Blaa);
  t.NyRad(std::string(static_cast<std::size_t>(n), ';'));
  t.NyRad(std::string(static_cast<std::size_t>(n), ';'));
  for (int k = 0; k < n; ++k) {
    t.Hoved().SettCelle(k, 0, "H");
    t.Hoved().SettCelle(k, 1, celler[static_cast<std::size_t>(k)]);
  }
  t.Hoved().SettValg(TOmraade{0, 1, n - 1, 1});
}

// A table whose heading, header row, body and footer hold markup.
void LagMerking(TTabell& t) {
  t.Oppsett(2, 12, 0, 1, 1, C("Sønner av <b>Bamse</b> & co"), Rod, Blaa);
  t.NyRad("<i>Navn</i>;A & B;");
  t.NyRad("<script>document.title='hacked'</script>;</td></tr></table><h1>ut</h1>;");
  t.NyRad("\x01<u>Tom</u> & Jerry;a<b;");
  t.NyBunnRad("<img src=x onerror=alert(1)>;1 > 0;");
  t.MerkAlt();
}

const std::vector<TEksportType> DelteTyper = {TEksportType::Semikolon, TEksportType::Tab, TEksportType::TabKomma,
                                              TEksportType::Regneark, TEksportType::KopierTab};

const char* Navn(TEksportType t) {
  switch (t) {
    case TEksportType::Semikolon: return "Semikolon";
    case TEksportType::Tab: return "Tab";
    case TEksportType::TabKomma: return "TabKomma";
    case TEksportType::Regneark: return "Regneark";
    case TEksportType::KopierTab: return "KopierTab";
    case TEksportType::Html: return "Html";
  }
  return "?";
}

}  // namespace

TEST(DelteLinjer, MerketBlokkOgIngentingMerket) {
  struct Fall {
    TEksportType type;
    std::vector<std::string> blokk;      // block {1,1,3,3}
    std::vector<std::string> gjeldende;  // nothing marked: the current cell "x<TAB>y"
  };
  const std::vector<std::string> tab = {"Ærlig Åsmund\t45,5\tÅs", "Tå\t-3\ta", "x y\t+5\t"};
  const Fall fall[] = {
      {TEksportType::Semikolon, {"Ærlig Åsmund;45,5;Ås", "Tå;-3;a", "x\ty;+5;"}, {"x\ty"}},
      {TEksportType::Tab, tab, {"x y"}},
      {TEksportType::TabKomma, tab, {"x y"}},
      {TEksportType::KopierTab, tab, {"x y"}},
      // Row 0's marked cells come first though row 0 is not marked, with the
      // trailing TAB kept; cells are quoted, a TAB inside one stays.
      {TEksportType::Regneark,
       {"\"Navn\"\t\"Vekt\"\t\"Kjøtt\"\t", "\"Ærlig Åsmund\"\t\"45,5\"\t\"Ås\"", "\"Tå\"\t\"-3\"\t\"a\"",
        "\"x\ty\"\t\"+5\"\t\"\""},
       {"\"Navn\"\t", "\"x\ty\""}},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(Navn(f.type));
    TTabell t;
    LagLiten(t);
    EXPECT_EQ(U(DelteLinjer(t, f.type)), f.gjeldende);
    MerkBlokk(t);
    EXPECT_EQ(U(DelteLinjer(t, f.type)), f.blokk);
    // The export leaves the table as it was.
    EXPECT_EQ(t.Hoved().Valg(), (TOmraade{1, 1, 3, 3}));
    EXPECT_EQ(U(t.Hoved().Celle(1, 2)), " Tå ");
  }
}

TEST(DelteLinjer, TommeCellerOgSkilletegnICeller) {
  struct Fall {
    std::vector<std::string> celler;
    std::vector<std::string> semikolon, tab, regneark;  // regneark: the data line after the header line
  };
  const Fall fall[] = {
      // One empty cell gives no line, but the spreadsheet variant quotes it.
      {{""}, {}, {}, {"\"\""}},
      {{" \x01 "}, {}, {}, {"\"\""}},
      // Three empty cells give two separators.
      {{"", "", ""}, {";;"}, {"\t\t"}, {"\"\"\t\"\"\t\"\""}},
      {{"a;b"}, {"a b"}, {"a;b"}, {"\"a;b\""}},
      {{"a\tb"}, {"a\tb"}, {"a b"}, {"\"a\tb\""}},
      // A double quote inside a quoted cell is doubled.
      {{"x\"y"}, {"x\"y"}, {"x\"y"}, {"\"x\"\"y\""}},
      {{"\"", "\"\"a"}, {"\";\"\"a"}, {"\"\t\"\"a"}, {"\"\"\"\"\t\"\"\"\"\"a\""}},
      {{"\x02 Ås ", "1,5"}, {"Ås;1,5"}, {"Ås\t1,5"}, {"\"Ås\"\t\"1,5\""}},
  };
  for (const Fall& f : fall) {
    TTabell t;
    LagEnRad(t, C(f.celler));
    SCOPED_TRACE(::testing::PrintToString(f.celler));
    EXPECT_EQ(U(DelteLinjer(t, TEksportType::Semikolon)), f.semikolon);
    EXPECT_EQ(U(DelteLinjer(t, TEksportType::Tab)), f.tab);
    EXPECT_EQ(U(DelteLinjer(t, TEksportType::KopierTab)), f.tab);
    std::vector<std::string> regneark = U(DelteLinjer(t, TEksportType::Regneark));
    ASSERT_FALSE(regneark.empty());
    regneark.erase(regneark.begin());
    EXPECT_EQ(regneark, f.regneark);
  }
}

TEST(KommaTekst, SitatOgTommeElementer) {
  struct Fall {
    std::vector<std::string> elementer;
    std::string tekst;
  };
  const Fall fall[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"", ""}, ","},
      {{"x", ""}, "x,"},
      {{"abc", "1.5"}, "abc,1.5"},
      {{"a\tb", "c\td"}, "\"a\tb\",\"c\td\""},
      {{"to ord"}, "\"to ord\""},
      {{"1,5"}, "\"1,5\""},
      {{"si \"hei\""}, "\"si \"\"hei\"\"\""},
      {{"\x01x"}, "\"\x01x\""},
      {{"!"}, "!"},
      {{"\xC6\xF8\xE5\xA0"}, "\xC6\xF8\xE5\xA0"},  // letters above 127 and the no-break space stand as they are
  };
  for (const Fall& f : fall) EXPECT_EQ(KommaTekst(f.elementer), f.tekst) << ::testing::PrintToString(f.elementer);
}

TEST(Eksporter, TabMedKommaSkriverEnLinjeOgKopiererLinjene) {
  TTabell t;
  t.Oppsett(2, 12, 0, 1, 1, "T", Rod, Blaa);
  t.NyRad("A;B;");
  t.NyRad("a;b;");
  t.NyRad("c;d;");
  t.MerkAlt();
  const TEksport e = Eksporter(t, TEksportType::TabKomma);
  EXPECT_EQ(e.Filinnhold(), "\"a\tb\",\"c\td\"");
  EXPECT_EQ(e.Utklipp(), "a\tb\r\nc\td\r\n");
}

TEST(Eksporter, DialogApningOgUtklippPerType) {
  TTabell t;
  LagLiten(t);
  MerkBlokk(t);
  for (TEksportType type : {TEksportType::Semikolon, TEksportType::Tab, TEksportType::TabKomma, TEksportType::Regneark,
                            TEksportType::KopierTab, TEksportType::Html}) {
    SCOPED_TRACE(Navn(type));
    const TEksport e = Eksporter(t, type);
    EXPECT_EQ(e.dialog, type != TEksportType::KopierTab);
    EXPECT_EQ(e.apne, type == TEksportType::Regneark);
    if (type == TEksportType::Html) {
      EXPECT_EQ(e.linjer, HtmlLinjer(t));
      EXPECT_EQ(e.Filinnhold(), Linjetekst(e.linjer));
      EXPECT_EQ(e.Utklipp(), Linjetekst(HtmlUtklipp(e.linjer)));
    } else {
      EXPECT_EQ(e.linjer, DelteLinjer(t, type));
      EXPECT_EQ(e.Utklipp(), Linjetekst(e.linjer));
      EXPECT_EQ(e.Filinnhold(), type == TEksportType::TabKomma ? KommaTekst(e.linjer) : Linjetekst(e.linjer));
    }
  }
  EXPECT_EQ(Linjetekst({}), "");
  EXPECT_EQ(Linjetekst({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(Eksporter, MeldingSierHvaSomBleSkrevet) {
  struct Fall {
    TEksportType type;
    bool merket;
    int rader, kolonner;
    bool enCelle;
  };
  const Fall fall[] = {
      {TEksportType::Semikolon, true, 3, 3, false},
      {TEksportType::Regneark, true, 3, 3, false},  // the header line is no data row
      {TEksportType::Html, true, 3, 3, false},
      {TEksportType::Tab, false, 1, 1, true},  // nothing marked: the current cell
      {TEksportType::Regneark, false, 1, 1, true},
      {TEksportType::Html, false, 1, 1, true},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(Navn(f.type) + std::string(f.merket ? " merket" : " umerket"));
    TTabell t;
    LagLiten(t);
    if (f.merket) MerkBlokk(t);
    const TEksport e = Eksporter(t, f.type);
    EXPECT_EQ(e.rader, f.rader);
    EXPECT_EQ(e.kolonner, f.kolonner);
    EXPECT_EQ(e.enCelle, f.enCelle);
  }
  // A marked row that gives no line is not counted as written.
  TTabell t;
  LagLiten(t);
  t.Hoved().SettValg(TOmraade{3, 1, 3, 3});  // column 3: "Ås", "a" and an empty cell
  EXPECT_EQ(Eksporter(t, TEksportType::Semikolon).rader, 2);

  EXPECT_EQ(Eksportmelding(12, 3, false, "Lagre.txt"), "Skrev 12 rader og 3 kolonner til Lagre.txt");
  EXPECT_EQ(Eksportmelding(1, 2, false, ""), "Kopierte 1 rad og 2 kolonner til utklippstavla");
  EXPECT_EQ(Eksportmelding(1, 1, true, "a.html"), "Skrev 1 rad og 1 kolonne (bare cella du står i) til a.html");
  EXPECT_EQ(Eksportmelding(0, 1, true, ""), "Kopierte 0 rader og 1 kolonne (bare cella du står i) til utklippstavla");
}

TEST(Html, Tekst) {
  struct Fall {
    std::string inn, ut;
  };
  const Fall fall[] = {
      {"", "."},
      {"Blå søyer", " Bl&aring; s&oslash;yer"},
      {"ÆØÅæøå", " &AElig;&Oslash;&Aring;&aelig;&oslash;&aring;"},
      {"\x01Ås", " <B>Ås</B>"},
      {"\x02x", " <I>x</I>"},
      {"\x03x", " <U>x</U>"},
      {"\x04x", " <STRIKE>x</STRIKE>"},
      {"\x05x", " <B><STRIKE>x</STRIKE></B>"},
      {"\x06x", " <I><STRIKE>x</STRIKE></I>"},
      {"\x07x", " <B><U>x</U></B>"},
      {"\x01", " <B></B>"},
      // Codes 0 and 8 to 19 leave the text, code included, and convert nothing.
      {std::string("\0Å", 3), std::string(" \0Å", 4)},
      {"\x08Å", " \x08Å"},
      {"\x13Å", " \x13Å"},
      {"\x14Å", " \x14&Aring;"},
      {" ", "  "},
      // "&", "<" and ">" show as text, also inside a format code's tags.
      {"<b>&amp;", " &lt;b&gt;&amp;amp;"},
      {"Å<script>x</script>", " &Aring;&lt;script&gt;x&lt;/script&gt;"},
      {"\x01<i>&", " <B>&lt;i&gt;&amp;</B>"},
      {"\x08<Å>", " \x08&lt;Å&gt;"},
      {"Ä ö", " Ä ö"},
  };
  for (const Fall& f : fall) EXPECT_EQ(U(HtmlTekst(C(f.inn))), f.ut) << ::testing::PrintToString(f.inn);
}

TEST(Html, Justering) {
  const std::pair<std::string, bool> fall[] = {
      {"-5", true},
      {"+5", true},
      {"x5", false},
      {"", false},
      {"  7 ", true},
      {"\x01"
       "5",
       true},
      {"\x01x", false},
      {"5x", true},
      {"  ", false},
      {"-", true},
  };
  for (const auto& [celle, hoyre] : fall)
    EXPECT_EQ(HtmlJustering(celle), hoyre ? "ALIGN=RIGHT" : "ALIGN=LEFT") << ::testing::PrintToString(celle);
}

TEST(Html, StorrelseEtterSkriftstorrelse) {
  const std::string s1 = "<small>", s2 = s1 + s1, s3 = s2 + s1;
  const std::string l1 = "</small>", l2 = l1 + l1, l3 = l2 + l1;
  const std::pair<int, TStorrelsesmerker> fall[] = {
      {4, {}},
      {5, {}},
      {6, {s3, l3}},
      {7, {s3, l3}},
      {8, {s2, l2}},
      {9, {s2, l2}},
      {10, {s1, l1}},
      {11, {s1, l1}},
      {12, {}},
      {13, {}},
      {14, {"<big>", "</big>"}},
      {15, {"<big>", "</big>"}},
      {16, {}},
      {30, {}},
  };
  for (const auto& [storrelse, m] : fall) {
    SCOPED_TRACE(storrelse);
    const TStorrelsesmerker s = Storrelsesmerker(storrelse);
    EXPECT_EQ(s.apner, m.apner);
    EXPECT_EQ(s.lukker, m.lukker);
  }
}

TEST(Html, DokumentLinjeForLinje) {
  TTabell t;
  LagLiten(t);
  MerkBlokk(t);
  t.Rammefarge = "#2040FF";
  ASSERT_EQ(t.Skriftstorrelse, 10);
  const std::vector<std::string> ventet = {
      "<HTML>",
      "<HEAD>",
      "   <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">",
      "   <META NAME=\"Kvistmo Data\" CONTENT=\"Tuv-Sau\">",
      "   <TITLE>Søyer på Ås</TITLE>",
      "</HEAD>",
      "<BODY>",
      " <H3>S&oslash;yer p&aring; &Aring;s</H3>",
      "<table border=\"1\" cellspacing=\"0\" width=\"98%\" style=\"border-collapse: collapse\" "
      "bordercolor=\"#2040FF\" cellpadding=\"0\" COLS=3",
      "<TR BGCOLOR=\"#E8E2D6\">",
      "<TD ALIGN=LEFT VALIGN=TOP WIDTH=\"56\"><small>Navn</small></TD>",
      "<TD ALIGN=LEFT VALIGN=TOP WIDTH=\"66\"><small>Vekt</small></TD>",
      "<TD ALIGN=LEFT VALIGN=TOP WIDTH=\"76\"><small>Kjøtt</small></TD>",
      "</TR>",
      "<TR  BGCOLOR=\"#FFFFFF\">",
      "<TD ALIGN=LEFT><small> &AElig;rlig &Aring;smund</small></TD>",
      "<TD ALIGN=RIGHT><small> 45,5</small></TD>",
      "<TD ALIGN=LEFT><small> <B>Ås</B></small></TD>",
      "</TR>",
      "<TR  BGCOLOR=\"#FFFFFF\">",
      "<TD ALIGN=LEFT><small>  T&aring; </small></TD>",
      "<TD ALIGN=RIGHT><small> -3</small></TD>",
      "<TD ALIGN=LEFT><small> a</small></TD>",
      "</TR>",
      "<TR  BGCOLOR=\"#FFFFFF\">",
      "<TD ALIGN=LEFT><small> x\ty</small></TD>",
      "<TD ALIGN=RIGHT><small> +5</small></TD>",
      "<TD ALIGN=LEFT><small>.</small></TD>",
      "</TR>",
      "<TR BGCOLOR=\"#E8E2D6\">",
      "<TD><small>.</small></TD>",
      "<TD><small> 12</small></TD>",
      "<TD><small>.</small></TD>",
      "</TR>",
      "</FONT></TABLE>",
      "</BODY>",
      "</HTML>",
  };
  const std::vector<std::string> dokument = HtmlLinjer(t);
  EXPECT_EQ(U(dokument), ventet);

  // A cancelled dialog copies "<BODY>" through "</BODY>".
  const std::vector<std::string> utklipp(ventet.begin() + 6, ventet.end() - 1);
  EXPECT_EQ(U(HtmlUtklipp(dokument)), utklipp);
  EXPECT_EQ(U(Eksporter(t, TEksportType::Html).Utklipp()), U(Linjetekst(C(utklipp))));
}

TEST(Html, MerkingIOverskriftOgHoderaderBlirTekst) {
  TTabell t;
  LagMerking(t);
  t.Skriftstorrelse = 12;
  const std::vector<std::string> l = U(HtmlLinjer(t));
  ASSERT_GT(l.size(), 22u);
  EXPECT_EQ(l[4], "   <TITLE>Sønner av &lt;b&gt;Bamse&lt;/b&gt; &amp; co</TITLE>");
  EXPECT_EQ(l[7], " <H3>S&oslash;nner av &lt;b&gt;Bamse&lt;/b&gt; &amp; co</H3>");
  EXPECT_EQ(l[10].substr(l[10].find('>') + 1), "&lt;i&gt;Navn&lt;/i&gt;</TD>");
  EXPECT_EQ(l[11].substr(l[11].find('>') + 1), "A &amp; B</TD>");
  EXPECT_EQ(l[14], "<TD ALIGN=LEFT> &lt;script&gt;document.title='hacked'&lt;/script&gt;</TD>");
  EXPECT_EQ(l[18], "<TD ALIGN=LEFT> <B>&lt;u&gt;Tom&lt;/u&gt; &amp; Jerry</B></TD>");
  EXPECT_EQ(l[22], "<TD> &lt;img src=x onerror=alert(1)&gt;</TD>");
  EXPECT_EQ(l[23], "<TD> 1 &gt; 0</TD>");
}

TEST(Html, StorrelseHeaderraderBunnOgIngentingMerket) {
  const auto antall = [](const std::vector<std::string>& l, const std::string& del) {
    int n = 0;
    for (const std::string& s : l) n += s.find(del) != std::string::npos;
    return n;
  };
  const std::string graa = "<TR BGCOLOR=\"#E8E2D6\">", hvit = "<TR  BGCOLOR=\"#FFFFFF\">";

  // Size 9 wraps every header, body and footer cell in two "<small>"; size
  // 16 wraps nothing.
  for (int storrelse : {9, 16}) {
    SCOPED_TRACE(storrelse);
    TTabell t;
    LagLiten(t);
    MerkBlokk(t);
    t.Skriftstorrelse = storrelse;
    const std::vector<std::string> l = HtmlLinjer(t);
    EXPECT_EQ(antall(l, "<TD"), 15);
    for (const std::string& linje : l) {
      if (!linje.starts_with("<TD")) continue;
      if (storrelse == 9) {
        EXPECT_NE(linje.find("><small><small>"), std::string::npos) << linje;
        EXPECT_TRUE(linje.ends_with("</small></small></TD>")) << linje;
        EXPECT_EQ(linje.find("<small><small><small>"), std::string::npos) << linje;
      } else {
        EXPECT_EQ(linje.find("small>"), std::string::npos) << linje;
        EXPECT_EQ(linje.find("big>"), std::string::npos) << linje;
      }
    }
  }

  // Two header rows: both are written, though neither is marked.
  {
    TTabell t;
    t.Oppsett(2, 12, 0, 2, 1, "T", Rod, Blaa);
    t.Skriftstorrelse = 12;
    t.NyRad("A;B;");
    t.NyRad("a;b;");
    t.NyRad("1;2;");
    t.NyBunnRad(";;");
    t.MerkAlt();
    const std::vector<std::string> l = HtmlLinjer(t);
    EXPECT_EQ(antall(l, graa), 3);
    EXPECT_EQ(antall(l, hvit), 1);
    EXPECT_EQ(antall(l, ">A</TD>") + antall(l, ">a</TD>"), 2) << ::testing::PrintToString(l);
  }

  // The footer: only when shown and filled.
  for (const auto& [bunnRader, fylt, vist, rader] :
       {std::tuple{1, 1, true, 1}, std::tuple{1, 0, true, 0}, std::tuple{0, 0, false, 0}, std::tuple{2, 2, true, 2},
        std::tuple{2, 1, true, 1}}) {
    SCOPED_TRACE(::testing::Message() << bunnRader << " rows, " << fylt << " filled");
    TTabell t;
    t.Oppsett(2, 12, 0, 1, bunnRader, "T", Rod, Blaa);
    t.Skriftstorrelse = 12;
    t.NyRad("A;B;");
    t.NyRad("a;b;");
    for (int i = 0; i < fylt; ++i) t.NyBunnRad("s;");
    EXPECT_EQ(t.BunnVist, vist);
    const std::vector<std::string> l = HtmlLinjer(t);
    EXPECT_EQ(antall(l, graa), 1 + rader);
    EXPECT_EQ(antall(l, "<TD> s</TD>"), rader);
  }

  // Nothing marked: the current cell alone, its column's header and footer.
  {
    TTabell t;
    LagLiten(t);
    t.Skriftstorrelse = 12;
    const std::vector<std::string> l = HtmlLinjer(t);
    EXPECT_TRUE(l[8].ends_with("COLS=1"));
    const std::vector<std::string> rest(l.begin() + 9, l.end());
    EXPECT_EQ(rest, (std::vector<std::string>{graa, "<TD ALIGN=LEFT VALIGN=TOP WIDTH=\"56\">Navn</TD>", "</TR>", hvit,
                                              "<TD ALIGN=LEFT> x\ty</TD>", "</TR>", graa, "<TD>.</TD>", "</TR>",
                                              "</FONT></TABLE>", "</BODY>", "</HTML>"}));
  }
}

TEST(Html, UtklippAvKorteDokumenter) {
  const std::vector<std::string> d = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
  const auto forste = [&](std::size_t n) {
    return std::vector<std::string>(d.begin(), d.begin() + static_cast<long>(n));
  };
  EXPECT_EQ(HtmlUtklipp({}), std::vector<std::string>{});
  EXPECT_EQ(HtmlUtklipp(forste(6)), std::vector<std::string>{});
  // One line left after the head is kept; the last is dropped only when more are left.
  EXPECT_EQ(HtmlUtklipp(forste(7)), std::vector<std::string>{"7"});
  EXPECT_EQ(HtmlUtklipp(forste(8)), std::vector<std::string>{"7"});
  EXPECT_EQ(HtmlUtklipp(d), (std::vector<std::string>{"7", "8"}));
}

TEST(LagreValg, InnstillingerBlirStaaendeMellomEksporter) {
  TLagreValg v;
  EXPECT_EQ(v.tittel, "Lagre merket, bryt for å kopiere til klippebord");
  EXPECT_EQ(v.filnavn, "");
  EXPECT_EQ(v.filter, "Tekstfil|*.txt;*.tek|Excel eksport|*.Csv");
  EXPECT_EQ(v.filterNr, 1);
  EXPECT_EQ(v.standardEndelse, "");

  struct Steg {
    TEksportType type;
    std::string tittel, filnavn, filter;
    int filterNr;
  };
  const std::string tekstfilter = "Tekstfil|*.txt;*.tek|Excel eksport|*.Csv";
  const std::string htmlfilter = "Internetdokument|*.html;*.htm";
  // The title and the name stay; the filter and its entry are always those
  // of what the export writes (the entry gives a name typed without an
  // ending its own: a text export after HTML must not end in .html).
  const Steg steg[] = {
      // HTML first: the title it finds stays.
      {TEksportType::Html, "Lagre merket, bryt for å kopiere til klippebord", "Lagre.html", htmlfilter, 1},
      {TEksportType::KopierTab, "Lagre som tekst", "Lagre.txt", tekstfilter, 1},
      {TEksportType::Regneark, "Lagre som tekst", "Lagre.Csv", tekstfilter, 2},
      {TEksportType::Semikolon, "Lagre som tekst", "Lagre.txt", tekstfilter, 1},
      {TEksportType::Html, "Lagre som tekst", "Lagre.html", htmlfilter, 1},
      {TEksportType::Tab, "Lagre som tekst", "Lagre.txt", tekstfilter, 1},
      {TEksportType::TabKomma, "Lagre som tekst", "Lagre.txt", tekstfilter, 1},
  };
  for (const Steg& s : steg) {
    SCOPED_TRACE(Navn(s.type));
    v.Forbered(s.type);
    EXPECT_EQ(v.tittel, s.tittel);
    EXPECT_EQ(v.filnavn, s.filnavn);
    EXPECT_EQ(v.filter, s.filter);
    EXPECT_EQ(v.filterNr, s.filterNr);
  }
  // A fresh window: the spreadsheet variant chooses the second entry of the
  // text filter.
  TLagreValg ny;
  ny.Forbered(TEksportType::Regneark);
  EXPECT_EQ(ny.filter, tekstfilter);
  EXPECT_EQ(ny.filterNr, 2);
  // Nothing here sets a default extension; what another export sets stays.
  ny.standardEndelse = ".Pdf";
  ny.Forbered(TEksportType::Html);
  EXPECT_EQ(ny.standardEndelse, ".Pdf");
}

TEST(LagreValg, PdfDialogetSierPdfOgTilbyrPdfNavn) {
  // Whatever an export set before, the PDF's dialog says PDF and offers a
  // PDF name, and the export settings themselves stay.
  for (const auto type : {TEksportType::Semikolon, TEksportType::Regneark, TEksportType::Html}) {
    SCOPED_TRACE(Navn(type));
    TLagreValg v;
    v.Forbered(type);
    const TLagreValg for_ = v;
    const TLagreValg pdf = v.PdfValg();
    EXPECT_EQ(pdf.tittel, "Lagre PDF");
    EXPECT_EQ(pdf.filnavn, "Lagre.pdf");
    EXPECT_EQ(pdf.filter, "PDF dokument|*.Pdf");
    EXPECT_EQ(pdf.filterNr, 1);
    EXPECT_EQ(pdf.standardEndelse, ".Pdf");
    EXPECT_EQ(v.tittel, for_.tittel);
    EXPECT_EQ(v.filnavn, for_.filnavn);
    EXPECT_EQ(v.filter, for_.filter);
  }
}

// The file a save dialog gives: the type chosen gives a name without an
// ending its own; an ending of one of the types is kept, and decides the type.
TEST(Lagringsfil, TypenSomErValgtGirEndelsenTilEtNavnUtenEgen) {
  const std::vector<TFiltype> diagram = {{"PNG-bilde", {".png"}}, {"SVG-tegning", {".svg"}}, {"PDF", {".pdf"}}};
  const std::vector<TFiltype> pdf = {{"PDF-filer", {".pdf"}}, {"Alle filer", {}}};
  const std::vector<TFiltype> tabell = FiltyperAv("Tekstfil|*.txt;*.tek|Excel eksport|*.Csv");
  ASSERT_EQ(tabell.size(), 2u);
  EXPECT_EQ(tabell[0].endelser, (QStringList{".txt", ".tek"}));
  EXPECT_EQ(Navnefiltre(tabell), (QStringList{"Tekstfil (*.txt *.tek)", "Excel eksport (*.Csv)"}));
  EXPECT_EQ(Navnefiltre(pdf)[1], "Alle filer (*)");
  struct Fall {
    const std::vector<TFiltype>& typer;
    QString fil;
    int valgt;
    TLagringsfil ventet;
  };
  const Fall fall[] = {
      {diagram, "/m/d", 2, {"/m/d.pdf", 2}},
      {diagram, "/m/d", 1, {"/m/d.svg", 1}},
      {diagram, "/m/d.", 0, {"/m/d.png", 0}},
      {diagram, "/m/d.PNG", 2, {"/m/d.PNG", 0}},                // typed: kept, and a PNG
      {diagram, "/m/Plan 12.03", 2, {"/m/Plan 12.03.pdf", 2}},  // a dot that is no type's ending
      {diagram, "/m.x/d", 1, {"/m.x/d.svg", 1}},                // a dot in the folder
      {pdf, "/m/k", 1, {"/m/k.pdf", 0}},                        // "Alle filer": the first type's
      {pdf, "/m/k.txt", 1, {"/m/k.txt.pdf", 0}},
      {tabell, "/m/t", 1, {"/m/t.Csv", 1}},
      {tabell, "/m/t", 0, {"/m/t.txt", 0}},
      {tabell, "/m/t.TEK", 1, {"/m/t.TEK", 0}},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.fil.toStdString() + " " + std::to_string(f.valgt));
    const TLagringsfil l = Lagringsfil({f.fil, f.valgt}, f.typer);
    EXPECT_EQ(l.fil.toStdString(), f.ventet.fil.toStdString());
    EXPECT_EQ(l.type, f.ventet.type);
  }
}

TEST(LagreValg, DialogBekreftet) {
  EXPECT_TRUE(DialogBekreftet(true, "/tmp/Lagre.txt"));
  EXPECT_TRUE(DialogBekreftet(true, "a"));
  EXPECT_TRUE(DialogBekreftet(true, " a"));
  EXPECT_TRUE(DialogBekreftet(true, "\xC3\x85s.txt"));
  EXPECT_FALSE(DialogBekreftet(true, ""));
  EXPECT_FALSE(DialogBekreftet(true, " "));
  EXPECT_FALSE(DialogBekreftet(true, "\x01x"));
  EXPECT_FALSE(DialogBekreftet(false, "/tmp/Lagre.txt"));
}

TEST(SkrivEksport, BytesMedCrLfIWindows1252) {
  TestMappe m;
  TTabell t;
  LagLiten(t);
  MerkBlokk(t);
  struct Fall {
    TEksportType type;
    std::string bytes;
  };
  const Fall fall[] = {
      {TEksportType::Semikolon, "\xC6rlig \xC5smund;45,5;\xC5s\r\nT\xE5;-3;a\r\nx\ty;+5;\r\n"},
      {TEksportType::Tab, "\xC6rlig \xC5smund\t45,5\t\xC5s\r\nT\xE5\t-3\ta\r\nx y\t+5\t\r\n"},
      // One line, no line end.
      {TEksportType::TabKomma, "\"\xC6rlig \xC5smund\t45,5\t\xC5s\",\"T\xE5\t-3\ta\",\"x y\t+5\t\""},
      {TEksportType::Regneark,
       "\"Navn\"\t\"Vekt\"\t\"Kj\xF8tt\"\t\r\n\"\xC6rlig "
       "\xC5smund\"\t\"45,5\"\t\"\xC5s\"\r\n\"T\xE5\"\t\"-3\"\t\"a\"\r\n"
       "\"x\ty\"\t\"+5\"\t\"\"\r\n"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(Navn(f.type));
    SkrivEksport(m / "ut.txt", Eksporter(t, f.type));
    EXPECT_EQ(LesHeleFila(m / "ut.txt"), f.bytes);
  }
  SkrivEksport(m / "ut.html", Eksporter(t, TEksportType::Html));
  const std::string html = LesHeleFila(m / "ut.html");
  EXPECT_TRUE(html.starts_with("<HTML>\r\n<HEAD>\r\n")) << html;
  EXPECT_TRUE(html.ends_with("</FONT></TABLE>\r\n</BODY>\r\n</HTML>\r\n")) << html;
  EXPECT_NE(html.find("   <TITLE>S\xF8yer p\xE5 \xC5s</TITLE>\r\n"), std::string::npos);
  EXPECT_NE(html.find("WIDTH=\"76\"><small>Kj\xF8tt</small></TD>\r\n"), std::string::npos);
  std::size_t lf = 0, crlf = 0;
  for (std::size_t p = html.find('\n'); p != std::string::npos; p = html.find('\n', p + 1)) ++lf;
  for (std::size_t p = html.find("\r\n"); p != std::string::npos; p = html.find("\r\n", p + 1)) ++crlf;
  EXPECT_EQ(lf, crlf);
  EXPECT_EQ(lf, HtmlLinjer(t).size());
  // Nothing is left beside the written files.
  std::vector<std::string> filer;
  for (const auto& e : fs::directory_iterator(m.Sti())) filer.push_back(e.path().filename().string());
  std::sort(filer.begin(), filer.end());
  EXPECT_EQ(filer, (std::vector<std::string>{"ut.html", "ut.txt"}));
}

TEST(SkrivEksport, FeilSkrivingLaterDenGamleFilaVaere) {
  TestMappe m;
  TTabell t;
  LagLiten(t);
  MerkBlokk(t);
  const TEksport e = Eksporter(t, TEksportType::Semikolon);

  // The target's folder is a file: nothing is made.
  m.Skriv("mappe", "en fil");
  EXPECT_THROW(SkrivEksport(m / "mappe" / "ut.txt", e), IoFeil);
  EXPECT_EQ(LesHeleFila(m / "mappe"), "en fil");

  // The file cannot be made beside an existing target (a folder stands where
  // it would be written): the old file stays as it was.
  m.Skriv("ut.txt", "gammelt innhold\r\n");
  fs::create_directories(m / "ut.txt.ny" / "opptatt");
  try {
    SkrivEksport(m / "ut.txt", e);
    ADD_FAILURE() << "no error";
  } catch (const IoFeil& f) {
    EXPECT_NE(std::string(f.what()).find("ut.txt"), std::string::npos) << f.what();
  }
  EXPECT_EQ(LesHeleFila(m / "ut.txt"), "gammelt innhold\r\n");

  // The target is a folder: it stays a folder with its contents.
  fs::create_directories(m / "katalog" / "inni");
  EXPECT_THROW(SkrivEksport(m / "katalog", e), IoFeil);
  EXPECT_TRUE(fs::is_directory(m / "katalog" / "inni"));
  EXPECT_FALSE(fs::exists(m / "katalog.ny"));

  // Once the way is free, the old file is replaced whole.
  fs::remove_all(m / "ut.txt.ny");
  const TEksport komma = Eksporter(t, TEksportType::TabKomma);
  SkrivEksport(m / "ut.txt", komma);
  EXPECT_EQ(LesHeleFila(m / "ut.txt"), komma.Filinnhold());
}

namespace {

bool Finnes(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(Motparter, RegnearkfilLestAvPythonsCsv) {
  TestMappe m;
  TTabell t;
  t.Oppsett(4, 12, 0, 1, 1, "T", Rod, Blaa);
  t.NyRad(C("Værnr;Navn \"kallenavn\";Buskap;O-ind;"));
  t.NyRad(C("1100001;Ærlig Åsmund;Søre Lien, Ørsta;110;"));
  t.NyRad(C("1100002;x;to ord;;"));
  t.NyRad(
      C("1100003;\x01"
        "Fet;;-3;"));
  t.NyRad(C("1100004;\"Bamse\";\"\"\";\"5;"));
  t.Hoved().SettCelle(1, 2, "a;b");
  t.MerkAlt();
  SkrivEksport(m / "Lagre.Csv", Eksporter(t, TEksportType::Regneark));
  m.Skriv("les.py",
          "import csv, sys\n"
          "with open(sys.argv[1], encoding='cp1252', newline='') as f:\n"
          "    rader = list(csv.reader(f, delimiter='\\t'))\n"
          "sys.stdout.buffer.write('\\n'.join('|'.join(r) for r in rader).encode('utf-8'))\n");
  const Svar s = Kjor(m, "python3 les.py Lagre.Csv");
  ASSERT_EQ(s.kode, 0) << s.feil;
  // The header line's trailing TAB reads as one more, empty, field.
  EXPECT_EQ(s.ut,
            "Værnr|Navn \"kallenavn\"|Buskap|O-ind|\n"
            "1100001|Ærlig Åsmund|Søre Lien, Ørsta|110\n"
            "1100002|a;b|to ord|\n"
            "1100003|Fet||-3\n"
            "1100004|\"Bamse\"|\"\"\"|\"5");
}

namespace {

// The page as headless Chromium holds it after loading the file.
Svar Chromium(const TestMappe& m, const fs::path& fil) {
  return Kjor(m,
              "timeout 30 chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
              "--disable-component-update --disable-sync --no-first-run --user-data-dir='" +
                  (m / "profil").string() + "' --dump-dom 'file://" + fil.string() + "'");
}

// The cells' texts of a page, without tags and outer blanks, in the order
// the browser holds them (text as the browser writes it out: "&", "<" and
// ">" as entities).
std::vector<std::string> Celletekster(const std::string& dom) {
  std::vector<std::string> celler;
  for (std::size_t p = dom.find("<td"); p != std::string::npos; p = dom.find("<td", p + 1)) {
    const std::size_t start = dom.find('>', p) + 1;
    const std::size_t slutt = dom.find("</td>", start);
    if (slutt == std::string::npos) {
      ADD_FAILURE() << "a cell without its end: " << dom;
      break;
    }
    std::string tekst;
    bool iTagg = false;
    for (char c : dom.substr(start, slutt - start)) {
      if (c == '<' || c == '>')
        iTagg = c == '<';
      else if (!iTagg)
        tekst += c;
    }
    while (!tekst.empty() && tekst.front() == ' ') tekst.erase(0, 1);
    while (!tekst.empty() && tekst.back() == ' ') tekst.pop_back();
    celler.push_back(tekst);
  }
  return celler;
}

}  // namespace

TEST(Motparter, HtmlfilVistIChromium) {
  if (!Finnes("chromium")) GTEST_SKIP() << "chromium is not installed";
  TestMappe m;
  TTabell t;
  LagLiten(t);
  MerkBlokk(t);
  SkrivEksport(m / "Lagre.html", Eksporter(t, TEksportType::Html));
  const Svar s = Chromium(m, m / "Lagre.html");
  ASSERT_EQ(s.kode, 0) << s.feil;
  const std::string& dom = s.ut;
  EXPECT_NE(dom.find("<title>Søyer på Ås</title>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("<h3>Søyer på Ås</h3>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("<b>Ås</b>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("bordercolor=\"#111111\""), std::string::npos) << dom;
  EXPECT_EQ(Celletekster(dom), (std::vector<std::string>{"Navn", "Vekt", "Kjøtt", "Ærlig Åsmund", "45,5", "Ås", "Tå",
                                                         "-3", "a", "x\ty", "+5", ".", ".", "12", "."}));
  // The table line ends without '>', so the browser reads the first row's
  // "<TR" as an attribute of the table; the row still comes out, its cells
  // opening one by the parser.
  int rader = 0;
  for (std::size_t p = dom.find("<tr"); p != std::string::npos; p = dom.find("<tr", p + 1))
    rader += dom[p + 3] == ' ' || dom[p + 3] == '>';
  EXPECT_EQ(rader, 5) << dom;
}

// Markup in a table's texts (a name can hold anything) shows as text in the
// browser, in the heading, the header cells, the body and the footer: it
// neither breaks the page nor adds to it.
TEST(Motparter, MerkingIHtmlfilaVisesSomTekstIChromium) {
  if (!Finnes("chromium")) GTEST_SKIP() << "chromium is not installed";
  TestMappe m;
  TTabell t;
  LagMerking(t);
  SkrivEksport(m / "Lagre.html", Eksporter(t, TEksportType::Html));
  const Svar s = Chromium(m, m / "Lagre.html");
  ASSERT_EQ(s.kode, 0) << s.feil;
  const std::string& dom = s.ut;
  EXPECT_NE(dom.find("<title>Sønner av &lt;b&gt;Bamse&lt;/b&gt; &amp; co</title>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("<h3>Sønner av &lt;b&gt;Bamse&lt;/b&gt; &amp; co</h3>"), std::string::npos) << dom;
  EXPECT_NE(dom.find("<b>&lt;u&gt;Tom&lt;/u&gt; &amp; Jerry</b>"), std::string::npos) << dom;
  for (const char* merke : {"<script", "<h1", "<img", "<i>", "<u>", "<title>hacked"})
    EXPECT_EQ(dom.find(merke), std::string::npos) << merke << " in " << dom;
  EXPECT_EQ(Celletekster(dom),
            (std::vector<std::string>{
                "&lt;i&gt;Navn&lt;/i&gt;", "A &amp; B", "&lt;script&gt;document.title='hacked'&lt;/script&gt;",
                "&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;h1&gt;ut&lt;/h1&gt;", "&lt;u&gt;Tom&lt;/u&gt; &amp; Jerry",
                "a&lt;b", "&lt;img src=x onerror=alert(1)&gt;", "1 &gt; 0"}));
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) {
    const Svar bilde = Kjor(m,
                            "timeout 30 chromium --headless --no-sandbox --disable-gpu --no-first-run "
                            "--user-data-dir='" +
                                (m / "profil").string() +
                                "' --window-size=800,400 "
                                "--screenshot='" +
                                std::string(mappe) + "/html-merking.png' 'file://" + (m / "Lagre.html").string() + "'");
    EXPECT_EQ(bilde.kode, 0) << bilde.feil;
  }
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

// A sire with three sons, one of them with total index 0 (not listed), a ram
// of another sire, and the sire of the sire.
std::vector<TVerPost> Register() {
  TVerPost a = Ver(1100001, "SVARTEN", 1001234, 110);
  a.Fodebuskap.Sett("OLA NORDMANN");
  a.Mornr = 4521;
  a.MorevVaar = -3;
  a.Slakt = 105;
  a.Kjott = 101;
  a.Fett = 97;
  a.MorevSl = 88;
  a.Fruktbarhet = 120;
  TVerPost b = Ver(1100002, "ÆRLIG ÅSMUND", 1001234, 95);
  b.Fodebuskap.Sett(C("SØRE LIEN, ØRSTA"));
  b.Mornr = 77;
  return {Ver(1000001, "GAMLEFAR"),
          Ver(1001234, "BLAKKEN", 1000001, 100),
          a,
          Ver(1100003, "NULLEN", 1001234, 0),
          b,
          Ver(1100004, "FREMMED", 1000001, 120)};
}

}  // namespace

TEST(AvkomCli, FilOgUtskriftSomEksporten) {
  TestMappe m;
  SkrivVerFil(m / VerFilNavn, Register());
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' avkom ";

  // The window's table of the same ram, with every data row marked.
  const auto tabell = [&](int32_t nummer, std::unique_ptr<TTabell>& t) {
    t = std::make_unique<TTabell>();
    ListAvkom(reg, reg.FindByNumber(nummer), *t);
    t->ForsteLayout();
    t->MerkAlt();
  };

  struct Format {
    const char* navn;
    TEksportType type;
  };
  for (int32_t nummer : {1001234, 1100001}) {
    std::unique_ptr<TTabell> t;
    tabell(nummer, t);
    for (const Format& f : {Format{"semikolon", TEksportType::Semikolon}, Format{"tab", TEksportType::Tab},
                            Format{"excel", TEksportType::Regneark}, Format{"html", TEksportType::Html}}) {
      SCOPED_TRACE(::testing::Message() << nummer << " " << f.navn);
      const TEksport e = Eksporter(*t, f.type);
      const std::string fil = std::string("ut.") + f.navn;
      const Svar s = Kjor(m, cli + std::to_string(nummer) + " --format " + f.navn + " --ut " + fil);
      EXPECT_EQ(s.kode, 0) << s.feil;
      EXPECT_EQ(s.ut, "");
      EXPECT_EQ(s.feil, "");
      EXPECT_EQ(LesHeleFila(m / fil), e.Filinnhold());

      std::string utf8;
      for (const std::string& l : e.linjer) utf8 += U(l) + "\n";
      const Svar skjerm = Kjor(m, cli + "--format " + f.navn + " " + std::to_string(nummer));
      EXPECT_EQ(skjerm.kode, 0) << skjerm.feil;
      EXPECT_EQ(skjerm.ut, utf8);
    }
  }

  // Semicolon is the default: the sons in file order, name-cased, without
  // the one with index 0 and the ram of another sire.
  const Svar s = Kjor(m, cli + "1001234 --ut standard.txt");
  ASSERT_EQ(s.kode, 0) << s.feil;
  EXPECT_EQ(LesHeleFila(m / "standard.txt"),
            "1100001;Svarten;Ola Nordmann;4521;110;-3;105;101;97;88;120\r\n"
            "1100002;\xC6rlig \xC5smund;S\xF8re Lien, \xD8rsta;77;95;0;0;0;0;0;0\r\n");
  const Svar html = Kjor(m, cli + "1001234 --format html");
  EXPECT_NE(html.ut.find("<TITLE>Sønner etter 1001234 BLAKKEN</TITLE>"), std::string::npos) << html.ut;
  EXPECT_NE(html.ut.find("<TD ALIGN=LEFT><small> &AElig;rlig &Aring;smund</small></TD>"), std::string::npos) << html.ut;
}

TEST(AvkomCli, FeilGirEnLinjeOgIngenFil) {
  TestMappe m;
  SkrivVerFil(m / VerFilNavn, Register());
  const std::string cli = std::string(HS_CLI) + " --data '" + m.Sti().string() + "' avkom ";
  struct Fall {
    std::string argumenter;
    int kode;
    std::string idel;  // part of the message
  };
  const Fall fall[] = {
      {"999 --ut ut.txt", 1, "999"},      {"--ut ut.txt x", 1, "x"},
      {"1001234 --format pdf", 2, "pdf"}, {"1001234 --format csv --ut ut.txt", 2, "csv"},
      {"--ut ut.txt", 2, "avkom NUMMER"}, {"1001234 --ut", 2, "avkom NUMMER"},
  };
  for (const Fall& f : fall) {
    SCOPED_TRACE(f.argumenter);
    const Svar s = Kjor(m, cli + f.argumenter);
    EXPECT_EQ(s.kode, f.kode);
    EXPECT_EQ(s.ut, "");
    ASSERT_FALSE(s.feil.empty());
    EXPECT_EQ(s.feil.find('\n'), s.feil.size() - 1) << s.feil;
    EXPECT_NE(s.feil.find(f.idel), std::string::npos) << s.feil;
    EXPECT_FALSE(fs::exists(m / "ut.txt"));
  }

  // A file that cannot be written: the tool's one line, exit 1.
  m.Skriv("mappe", "en fil");
  const Svar s = Kjor(m, cli + "1001234 --ut mappe/ut.txt");
  EXPECT_EQ(s.kode, 1);
  EXPECT_EQ(s.feil.find('\n'), s.feil.size() - 1) << s.feil;
  EXPECT_EQ(LesHeleFila(m / "mappe"), "en fil");
}
