#include "seminfil.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <set>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

// Copy(tekst, fra, antall) with 1-based `fra`, cut to the text.
std::string Del(std::string_view tekst, std::size_t fra, std::size_t antall) {
  if (fra < 1 || fra > tekst.size()) return {};
  return std::string(tekst.substr(fra - 1, antall));
}

std::string Fyll0(std::string_view tekst, int bredde) { return PadLeft(tekst, bredde, '0'); }

bool LikUtenStore(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

void SjekkProdusent(std::string_view prodNr) {
  if (prodNr.find('/') != std::string_view::npos || prodNr.find("..") != std::string_view::npos ||
      prodNr.find('\0') != std::string_view::npos)
    throw IoFeil("Produsentnummeret kan ikke brukes i et filnavn: det kan ikke inneholde «/» eller «..».");
}

// A date cell "dd/mm/yyyy" (one or two digits for day and month) as a day
// count; none when it is not such a date.
std::optional<double> LesDatocelle(std::string_view tekst) {
  const std::string t = TrimText(tekst);
  int del[3] = {0, 0, 0};
  int n = 0;
  std::size_t siffer = 0;
  for (char c : t) {
    if (c == '/') {
      if (siffer == 0 || ++n > 2) return std::nullopt;
      siffer = 0;
    } else if (c >= '0' && c <= '9') {
      if (++siffer > 4) return std::nullopt;
      del[n] = del[n] * 10 + (c - '0');
    } else {
      return std::nullopt;
    }
  }
  if (n != 2 || siffer == 0) return std::nullopt;
  return EncodeDate(del[2], del[1], del[0]);
}

std::string Nokkel(int k, int c) { return "Sem" + std::to_string(k) + "C" + std::to_string(c); }

}  // namespace

// ---- Approved inseminators ----

fs::path FinnGodkjentFil(const fs::path& dataMappe) {
  std::error_code ec;
  for (const fs::path& mappe : {dataMappe, fs::current_path(ec)}) {
    if (mappe.empty()) continue;
    const fs::path fil = FinnFil(mappe, GodkjentFilNavn);
    if (fs::is_regular_file(fil, ec)) return fil;
  }
  return {};
}

std::vector<std::string> LesGodkjente(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return TekstLinjer(LesHeleFila(fil));
}

std::optional<std::string> GodkjentNavn(const std::vector<std::string>& godkjente, std::string_view nummer) {
  for (const std::string& l : godkjente) {
    const std::size_t p = l.find('=');
    if (p != std::string::npos && std::string_view(l).substr(0, p) == nummer) return l.substr(p + 1);
  }
  return std::nullopt;
}

// ---- File names ----

fs::path DatafilNavn(int aar, std::string_view prodNr) {
  SjekkProdusent(prodNr);
  return fs::path(std::to_string(aar) + "Semin" + Cp1252TilUtf8(prodNr) + ".Data");
}

fs::path RapportfilNavn(std::string_view prodNr) {
  SjekkProdusent(prodNr);
  return fs::path(Cp1252TilUtf8(prodNr) + ".Txt");
}

// ---- Data file ----

std::string Verdi(const std::vector<std::string>& linjer, std::string_view nokkel) {
  for (const std::string& l : linjer) {
    const std::size_t p = l.find('=');
    if (p != std::string::npos && LikUtenStore(std::string_view(l).substr(0, p), nokkel)) return l.substr(p + 1);
  }
  return {};
}

std::string DatafilTekst(const TSemindata& data) {
  std::string ut;
  auto linje = [&ut](const std::string& nokkel, std::string_view verdi, bool alltid = false) {
    if (verdi.empty() && !alltid) return;
    ut += nokkel;
    ut += '=';
    ut += verdi;
    ut += "\r\n";
  };
  linje("ProdNr", data.prodNr, true);
  linje("SemNr", data.semNr);
  int k = 0;
  for (const auto& rad : data.rader) {
    ++k;
    for (int c = 0; c < SeminKolonner; ++c)
      if (static_cast<std::size_t>(c) < rad.size()) linje(Nokkel(k, c), rad[static_cast<std::size_t>(c)]);
  }
  linje("Antall", std::to_string(k));
  return ut;
}

THentet Hente(int aar, std::string_view prodNr, TRutenett& grid, double sisteSemin) {
  THentet h;
  h.fil = DatafilNavn(aar, prodNr);
  h.sisteSemin = sisteSemin;
  std::error_code ec;
  std::vector<std::string> linjer;
  h.innhold = LesTekstfil(h.fil);
  if (h.innhold.fantes) {
    linjer = TekstLinjer(h.innhold.tekst);
    h.lest = true;
  }

  if (grid.Kolonner() < SeminKolonner) grid.SettKolonner(SeminKolonner);
  grid.SettRader(ForsteSeminRad);
  grid.SettRader(ForsteSeminRad + 1);
  grid.SettGjeldende(0, ForsteSeminRad);
  if (!h.lest) return h;

  h.prodNr = Verdi(linjer, "ProdNr");
  h.semNr = Verdi(linjer, "SemNr");
  const int64_t n = TextToInt(Verdi(linjer, "Antall"));
  for (int k = 1; k <= n; ++k) {
    const int rad = ForsteSeminRad + k - 1;
    if (grid.Rader() < rad + 2) grid.SettRader(rad + 2);
    for (int c = 0; c < grid.Kolonner() && c < SeminKolonner; ++c) grid.SettCelle(c, rad, Verdi(linjer, Nokkel(k, c)));
    h.antall = k;
    const std::string& semin = grid.Celle(5, rad);
    const std::optional<double> dato = LesDatocelle(semin);
    if (!dato) {
      h.feil = "«" + Cp1252TilUtf8(semin) + "» er ikke en gyldig dato";
      break;
    }
    if (*dato > h.sisteSemin) h.sisteSemin = *dato;
  }
  return h;
}

int RaderIDatafil(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return 0;
  const std::vector<std::string> linjer = TekstLinjer(LesHeleFila(fil));
  const int64_t antall = TextToInt(Verdi(linjer, "Antall"));
  if (antall > 0) return static_cast<int>(std::min<int64_t>(antall, INT32_MAX));
  // Without a count, the rows the keys name ("Sem" k "C" c).
  std::set<int64_t> rader;
  for (const std::string& l : linjer) {
    const std::size_t c = l.find_first_of("Cc", 3);
    if (l.size() > 3 && LikUtenStore(std::string_view(l).substr(0, 3), "Sem") && c != std::string::npos && c > 3 &&
        l[3] >= '0' && l[3] <= '9')
      rader.insert(TextToInt(std::string_view(l).substr(3, c - 3)));
  }
  return static_cast<int>(rader.size());
}

std::string TomLagringSporsmal(const fs::path& fil, int lagrede) {
  return "Ingen linjer i skjemaet er fullstendige, men «" + fil.filename().string() + "» har " +
         std::to_string(lagrede) + (lagrede == 1 ? " lagret linje" : " lagrede linjer") +
         ". Lagrer du nå, blir de borte fra fila. Vil du lagre likevel?";
}

std::string EndretLagringSporsmal(const fs::path& fil) {
  return "Seminfila " + fil.string() +
         " er endret av et annet program (en annen kopi av Hornstad eller et redigeringsprogram) etter at du hentet "
         "den.\nVil du skrive over den med radene du har her?\n\n(Nei: fila blir som den er. Hent den på nytt for å "
         "se hva som er lagret der.)";
}

TLagret Lagre(const fs::path& fil, std::string_view prodNr, std::string_view semNr, const TRutenett& grid,
              const TRadKomplett& komplett, const TTomLagring& tomOverRader, const TLestTekst* hentet,
              const TEndretLagring& overEndret) {
  if (fil.empty()) throw IoFeil("Ingen seminfil er hentet. Skriv produsentnummer og trykk Ny / Hent først.");
  TSemindata data;
  data.prodNr = prodNr;
  data.semNr = semNr;
  TLagret svar;
  const int siste = grid.Rader() - 1;
  for (int r = ForsteSeminRad; r <= siste; ++r) {
    if (komplett(r)) {
      std::vector<std::string> rad;
      for (int c = 0; c < SeminKolonner; ++c) rad.push_back(grid.Celle(c, r));
      data.rader.push_back(std::move(rad));
    } else if (r != siste) {
      ++svar.feilRader;
    }
  }
  if (svar.feilRader > 0)
    svar.melding = std::to_string(svar.feilRader) + " Linjer har feil eller mangler og blir ikke lagret";
  if (data.rader.empty()) {
    // Rows saved earlier are never emptied out of the file unasked.
    const int lagrede = RaderIDatafil(fil);
    if (lagrede > 0 && !(tomOverRader && tomOverRader(fil, lagrede))) return svar;
  }
  // Changed elsewhere since it was fetched: nothing saved there is lost unasked.
  if (hentet && LesTekstfil(fil) != *hentet && !(overEndret && overEndret(fil))) {
    svar.melding = "Fila ble ikke lagret.";
    return svar;
  }
  svar.tekst = DatafilTekst(data);
  SkrivTrygt(fil, svar.tekst);
  svar.skrevet = true;
  svar.antall = static_cast<int>(data.rader.size());
  return svar;
}

// ---- Sending ----

double SeminNaa() {
  const std::time_t naa = std::time(nullptr);
  std::tm lokal{};
  localtime_r(&naa, &lokal);
  const double dag = EncodeDate(lokal.tm_year + 1900, lokal.tm_mon + 1, lokal.tm_mday).value_or(0.0);
  return dag + (lokal.tm_hour * 3600.0 + lokal.tm_min * 60.0 + lokal.tm_sec) / 86400.0;
}

bool KanSendeEtterHenting(int antall, bool lagreAktiv, double sisteSemin, double naa) {
  return antall >= MinsteRaderHentet && lagreAktiv && sisteSemin > 0 && naa - sisteSemin > SendeFristDager;
}

bool KanSendeEtterLagring(int antall, double sisteSemin, double naa) {
  return antall >= MinsteRaderLagret && sisteSemin > 0 && naa - sisteSemin > SendeFristDager;
}

std::string Rapportlinje(const std::vector<std::string>& rad, std::string_view semNr, std::string_view prodNr) {
  auto celle = [&rad](int c) -> std::string_view {
    return static_cast<std::size_t>(c) < rad.size() ? std::string_view(rad[static_cast<std::size_t>(c)]) : "";
  };
  auto tall = [](std::string_view t) { return IntToText(TextToInt(t)); };
  std::string l;
  l += Fyll0(tall(semNr), 5);
  l += Fyll0(tall(prodNr), 10);
  l += Del(celle(0), 3, 2);
  l += Fyll0(TrimText(celle(1)), 4);
  l += Del(celle(2), 1, 2);
  l += Del(celle(2), 4, 2);
  l += Fyll0(TrimText(celle(3)), 2);
  l += Del(celle(4), 1, 1);
  l += Del(celle(5), 1, 2);
  l += Del(celle(5), 4, 2);
  l += Fyll0(TrimText(celle(6)), 2);
  l += Fyll0(tall(celle(7)), 9);
  l += Fyll0(TrimText(celle(8)), 2);
  l += Del(tall(celle(9)), 3, 2);
  l += tall(celle(10));
  l += celle(11) == "1" ? "1" : "2";
  l += celle(12) == "1" ? "1" : "2";
  l += celle(13).size() > 2 ? Del(celle(13), 1, 2) + Del(celle(13), 4, 2) : std::string(4, ' ');
  return l;
}

fs::path SkrivRapport(const TRutenett& grid, const TRadKomplett& komplett, std::string_view semNr,
                      std::string_view prodNr) {
  const fs::path fil = fs::absolute(RapportfilNavn(prodNr));
  std::string ut;
  for (int r = ForsteSeminRad; r < grid.Rader(); ++r) {
    if (!komplett(r)) continue;
    ut += Rapportlinje(grid.Rad(r), semNr, prodNr);
    ut += "\r\n";
  }
  SkrivTrygt(fil, ut);
  return fil;
}

TEpost LagEpost(std::string_view prodNr, int aar, std::string_view mottaker, const fs::path& rapport) {
  TEpost e;
  e.emne = "Seminrapport fra Hornstad " + std::to_string(aar) + ". ";
  e.tekst = "Seminrapport fra " + Cp1252TilUtf8(prodNr) + " år " + std::to_string(aar) + " Godkjent. ";
  e.mottaker = mottaker.empty() ? std::string(StandardSeminEpost) : std::string(mottaker);
  e.vedlegg = rapport;
  return e;
}

std::string SeminMottaker(const QSettings& ini) {
  const QString verdi = ini.value("Semin/Epost").toString().trimmed();
  return verdi.isEmpty() ? std::string(StandardSeminEpost) : verdi.toStdString();
}

TSendeSvar SendEpost(const TEpost& epost, const std::string& program) {
  TSendeSvar svar = GiTilEpostprogram(epost, program);
  if (svar.utfall == TSendeUtfall::Sendt)
    svar.melding =
        "Rapporten er lagt i utboksen på din e-postleser. Åpne e-postleseren å sjekk at posten er sendt. "
        "Hvis ikke, trykk sende/motte.";
  else if (svar.utfall == TSendeUtfall::Feil)
    svar.melding = "Kunne ikke sende e-post direkte fra programmet. Det ligger ei fil \"" + epost.vedlegg.string() +
                   "\" som du manuelt må sende som e-postvedlegg, eller på diskett";
  return svar;
}

TSendeSvar SendRapport(const TRutenett& grid, const TRadKomplett& komplett, std::string_view semNr,
                       std::string_view prodNr, int aar, std::string_view mottaker) {
  const fs::path rapport = SkrivRapport(grid, komplett, semNr, prodNr);
  return SendEpost(LagEpost(prodNr, aar, mottaker, rapport));
}
