#include "eksport.h"

#include <algorithm>

#include "filer.h"
#include "tekst.h"

namespace {

char Skilletegn(TEksportType type) { return type == TEksportType::Semikolon ? ';' : '\t'; }

// One row of the block as a delimited line, with its trailing separator.
std::string DeltRad(const TRutenett& g, int rad, const TOmraade& blokk, TEksportType type) {
  const char skille = Skilletegn(type);
  std::string linje;
  for (int k = blokk.venstre; k <= blokk.hoyre; ++k) {
    std::string celle = TrimText(g.Celle(k, rad));
    if (type == TEksportType::Regneark) {
      // A double quote inside the cell is doubled, as spreadsheets read it.
      linje += '"';
      for (const char c : celle) {
        if (c == '"') linje += '"';
        linje += c;
      }
      linje += '"';
    } else {
      std::replace(celle.begin(), celle.end(), skille, ' ');
      linje += celle;
    }
    linje += skille;
  }
  return linje;
}

}  // namespace

TOmraade MerketBlokk(const TRutenett& g) {
  if (g.Kolonner() == 0 || g.Rader() == 0) return TOmraade{0, 0, -1, -1};
  TOmraade v = g.Valg();
  v.venstre = std::clamp(v.venstre, 0, g.Kolonner() - 1);
  v.hoyre = std::clamp(v.hoyre, v.venstre, g.Kolonner() - 1);
  v.topp = std::clamp(v.topp, 0, g.Rader() - 1);
  v.bunn = std::clamp(v.bunn, v.topp, g.Rader() - 1);
  return v;
}

namespace {

void DelteLinjer(const TTabell& t, TEksportType type, const TLinjemottaker& mottaker) {
  const TRutenett& g = t.Hoved();
  const TOmraade blokk = MerketBlokk(g);
  if (blokk.venstre > blokk.hoyre) return;
  if (type == TEksportType::Regneark) mottaker(DeltRad(g, 0, blokk, type));
  for (int r = blokk.topp; r <= blokk.bunn; ++r) {
    std::string linje = DeltRad(g, r, blokk, type);
    linje.pop_back();
    if (!linje.empty()) mottaker(linje);
  }
}

void HtmlLinjer(const TTabell& t, const TLinjemottaker& mottaker);

}  // namespace

std::vector<std::string> DelteLinjer(const TTabell& t, TEksportType type) {
  std::vector<std::string> linjer;
  DelteLinjer(t, type, [&linjer](std::string_view l) { linjer.emplace_back(l); });
  return linjer;
}

void EksportLinjer(const TTabell& t, TEksportType type, const TLinjemottaker& linje) {
  if (type == TEksportType::Html)
    HtmlLinjer(t, linje);
  else
    DelteLinjer(t, type, linje);
}

void SkrivEksportLinjer(const std::filesystem::path& fil, const TTabell& t, TEksportType type) {
  if (type == TEksportType::TabKomma) {
    SkrivEksport(fil, Eksporter(t, type));
    return;
  }
  TTryggFil ut(fil);
  std::string blokk;
  EksportLinjer(t, type, [&](std::string_view linje) {
    blokk += linje;
    blokk += "\r\n";
    if (blokk.size() >= (std::size_t{1} << 20)) {
      ut.Skriv(blokk);
      blokk.clear();
    }
  });
  ut.Skriv(blokk);
  ut.Fullfor();
}

std::string KommaTekst(const std::vector<std::string>& elementer) {
  if (elementer.size() == 1 && elementer[0].empty()) return "\"\"";
  std::string t;
  for (std::size_t i = 0; i < elementer.size(); ++i) {
    const std::string& e = elementer[i];
    if (i > 0) t += ',';
    const bool sitat = std::any_of(e.begin(), e.end(), [](char c) {
      const auto u = static_cast<unsigned char>(c);
      return (u >= 1 && u <= 32) || c == '"' || c == ',';
    });
    if (!sitat) {
      t += e;
      continue;
    }
    t += '"';
    for (char c : e) {
      if (c == '"') t += '"';
      t += c;
    }
    t += '"';
  }
  return t;
}

std::string HtmlTegn(std::string_view tekst) {
  std::string t;
  t.reserve(tekst.size());
  for (const char c : tekst) {
    switch (c) {
      case '&': t += "&amp;"; break;
      case '<': t += "&lt;"; break;
      case '>': t += "&gt;"; break;
      default: t += c;
    }
  }
  return t;
}

namespace {

// A text as HTML with Æ Ø Å æ ø å, "&", "<" and ">" as entities.
std::string MedBokstaver(std::string_view tekst) {
  std::string t;
  t.reserve(tekst.size());
  for (char c : tekst) {
    switch (static_cast<unsigned char>(c)) {
      case 0xC6: t += "&AElig;"; break;
      case 0xD8: t += "&Oslash;"; break;
      case 0xC5: t += "&Aring;"; break;
      case 0xE6: t += "&aelig;"; break;
      case 0xF8: t += "&oslash;"; break;
      case 0xE5: t += "&aring;"; break;
      case '&': t += "&amp;"; break;
      case '<': t += "&lt;"; break;
      case '>': t += "&gt;"; break;
      default: t += c;
    }
  }
  return t;
}

}  // namespace

std::string HtmlTekst(std::string_view tekst) {
  if (tekst.empty()) return ".";
  const auto kode = static_cast<unsigned char>(tekst[0]);
  if (kode < 20) {
    const std::string rest = HtmlTegn(tekst.substr(1));
    switch (kode) {
      case 1: return " <B>" + rest + "</B>";
      case 2: return " <I>" + rest + "</I>";
      case 3: return " <U>" + rest + "</U>";
      case 4: return " <STRIKE>" + rest + "</STRIKE>";
      case 5: return " <B><STRIKE>" + rest + "</STRIKE></B>";
      case 6: return " <I><STRIKE>" + rest + "</STRIKE></I>";
      case 7: return " <B><U>" + rest + "</U></B>";
      default: return " " + HtmlTegn(tekst);  // 0 and 8 to 19: the code stays, no letters converted
    }
  }
  return " " + MedBokstaver(tekst);
}

std::string HtmlJustering(std::string_view celle) {
  const char c = (TrimText(celle) + " ")[0];
  return c == '+' || c == '-' || (c >= '0' && c <= '9') ? "ALIGN=RIGHT" : "ALIGN=LEFT";
}

TStorrelsesmerker Storrelsesmerker(int skriftstorrelse) {
  switch (skriftstorrelse) {
    case 6:
    case 7: return {"<small><small><small>", "</small></small></small>"};
    case 8:
    case 9: return {"<small><small>", "</small></small>"};
    case 10:
    case 11: return {"<small>", "</small>"};
    case 14:
    case 15: return {"<big>", "</big>"};
    default: return {};
  }
}

std::vector<std::string> HtmlLinjer(const TTabell& t) {
  std::vector<std::string> linjer;
  HtmlLinjer(t, [&linjer](std::string_view l) { linjer.emplace_back(l); });
  return linjer;
}

namespace {

void HtmlLinjer(const TTabell& t, const TLinjemottaker& mottaker) {
  const TRutenett& g = t.Hoved();
  const TRutenett& bunn = t.Bunn();
  const TOmraade blokk = MerketBlokk(g);
  const TStorrelsesmerker s = Storrelsesmerker(t.Skriftstorrelse);
  const int antKol = std::max(blokk.hoyre - blokk.venstre + 1, 0);

  mottaker("<HTML>");
  mottaker("<HEAD>");
  mottaker("   <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">");
  mottaker("   <META NAME=\"Kvistmo Data\" CONTENT=\"Tuv-Sau\">");
  mottaker("   <TITLE>" + HtmlTegn(t.Tittel) + "</TITLE>");
  mottaker("</HEAD>");
  mottaker("<BODY>");
  mottaker(" <H3>" + MedBokstaver(t.Tittel) + "</H3>");
  mottaker("<table border=\"1\" cellspacing=\"0\" width=\"98%\" style=\"border-collapse: collapse\" bordercolor=\"" +
           t.Rammefarge + "\" cellpadding=\"0\" COLS=" + std::to_string(antKol));
  for (int r = 0; r < g.FasteRader() && r < g.Rader(); ++r) {
    mottaker("<TR BGCOLOR=\"#E8E2D6\">");
    for (int k = blokk.venstre; k <= blokk.hoyre; ++k)
      mottaker("<TD ALIGN=LEFT VALIGN=TOP WIDTH=\"" + std::to_string(g.Kolbredde(k) - 4) + "\">" + s.apner +
               HtmlTegn(TrimText(g.Celle(k, r))) + s.lukker + "</TD>");
    mottaker("</TR>");
  }
  if (antKol > 0) {
    for (int r = blokk.topp; r <= blokk.bunn; ++r) {
      mottaker("<TR  BGCOLOR=\"#FFFFFF\">");
      for (int k = blokk.venstre; k <= blokk.hoyre; ++k) {
        const std::string& celle = g.Celle(k, r);
        mottaker("<TD " + HtmlJustering(celle) + ">" + s.apner + HtmlTekst(celle) + s.lukker + "</TD>");
      }
      mottaker("</TR>");
    }
  }
  if (t.BunnVist) {
    for (int r = 0; r < t.AntBunnRader && r < bunn.Rader(); ++r) {
      mottaker("<TR BGCOLOR=\"#E8E2D6\">");
      for (int k = blokk.venstre; k <= blokk.hoyre; ++k)
        mottaker("<TD>" + s.apner + HtmlTekst(bunn.Celle(k, r)) + s.lukker + "</TD>");
      mottaker("</TR>");
    }
  }
  mottaker("</FONT></TABLE>");
  mottaker("</BODY>");
  mottaker("</HTML>");
}

}  // namespace

std::vector<std::string> HtmlUtklipp(const std::vector<std::string>& dokument) {
  std::vector<std::string> l(dokument.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(6, dokument.size())),
                             dokument.end());
  if (l.size() > 1) l.pop_back();
  return l;
}

std::string Linjetekst(const std::vector<std::string>& linjer) {
  std::string t;
  for (const std::string& l : linjer) {
    t += l;
    t += "\r\n";
  }
  return t;
}

void TLagreValg::Forbered(TEksportType type) {
  // The type chosen in the dialog gives a name without an ending its own, so
  // each export offers the types of what it writes: text, or HTML.
  switch (type) {
    case TEksportType::Semikolon:
    case TEksportType::Tab:
    case TEksportType::TabKomma:
    case TEksportType::KopierTab:
      tittel = "Lagre som tekst";
      filnavn = "Lagre.txt";
      filter = Tekstfilter;
      filterNr = 1;
      break;
    case TEksportType::Regneark:
      tittel = "Lagre som tekst";
      filnavn = "Lagre.Csv";
      filter = Tekstfilter;
      filterNr = 2;
      break;
    case TEksportType::Html:
      filnavn = "Lagre.html";
      filter = "Internetdokument|*.html;*.htm";
      filterNr = 1;
      break;
  }
}

TLagreValg TLagreValg::PdfValg() const {
  TLagreValg pdf = *this;
  pdf.tittel = "Lagre PDF";
  pdf.filnavn = "Lagre.pdf";
  pdf.filter = "PDF dokument|*.Pdf";
  pdf.filterNr = 1;
  pdf.standardEndelse = ".Pdf";
  return pdf;
}

bool DialogBekreftet(bool godtatt, std::string_view filnavn) { return godtatt && filnavn > std::string_view(" "); }

std::string TEksport::Filinnhold() const {
  return type == TEksportType::TabKomma ? KommaTekst(linjer) : Linjetekst(linjer);
}

std::string TEksport::Utklipp() const { return Linjetekst(type == TEksportType::Html ? HtmlUtklipp(linjer) : linjer); }

TEksport Eksporter(const TTabell& t, TEksportType type) {
  TEksport e;
  e.type = type;
  e.linjer = type == TEksportType::Html ? HtmlLinjer(t) : DelteLinjer(t, type);
  e.dialog = type != TEksportType::KopierTab;
  e.apne = type == TEksportType::Regneark;
  const TOmraade blokk = MerketBlokk(t.Hoved());
  if (blokk.venstre <= blokk.hoyre) {
    e.kolonner = blokk.hoyre - blokk.venstre + 1;
    e.enCelle = e.kolonner == 1 && blokk.topp == blokk.bunn;
    if (type == TEksportType::Html)
      e.rader = blokk.bunn - blokk.topp + 1;
    else
      e.rader = static_cast<int>(e.linjer.size()) - (type == TEksportType::Regneark ? 1 : 0);
  }
  return e;
}

std::string RaderOgKolonner(int rader, int kolonner) {
  const auto antall = [](int n, const char* en, const char* flere) {
    return std::to_string(n) + " " + (n == 1 ? en : flere);
  };
  return antall(rader, "rad", "rader") + " og " + antall(kolonner, "kolonne", "kolonner");
}

std::string Eksportmelding(int rader, int kolonner, bool enCelle, const std::string& fil) {
  std::string t = fil.empty() ? "Kopierte " : "Skrev ";
  t += RaderOgKolonner(rader, kolonner);
  if (enCelle) t += " (bare cella du står i)";
  t += fil.empty() ? std::string(" til utklippstavla") : " til " + fil;
  return t;
}

std::string Eksportmelding(const TEksport& e, const std::string& fil) {
  return Eksportmelding(e.rader, e.kolonner, e.enCelle, fil);
}

void SkrivEksport(const std::filesystem::path& fil, const TEksport& e) { SkrivTrygt(fil, e.Filinnhold()); }
