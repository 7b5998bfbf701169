// hornstad-cli hent: the ram archive fetched from the server and read in.
#include <signal.h>

#include <QSettings>
#include <atomic>
#include <optional>

#include "endringer.h"
#include "felles.h"
#include "filer.h"
#include "nedlasting.h"
#include "okt.h"
#include "ramimport.h"
#include "register.h"
#include "skall.h"

namespace {

std::atomic<bool> avbrutt{false};

void Avbryt(int) { avbrutt = true; }

// While a fetch runs, Ctrl+C (and a request to end) cancels the transfer
// cleanly instead of ending the process, so nothing half-written is left;
// the handlers from before come back afterwards.
class TAvbrytbar {
 public:
  TAvbrytbar() {
    avbrutt = false;
    struct sigaction sa {};
    sa.sa_handler = Avbryt;
    sigaction(SIGINT, &sa, &int_);
    sigaction(SIGTERM, &sa, &term_);
  }
  ~TAvbrytbar() {
    sigaction(SIGINT, &int_, nullptr);
    sigaction(SIGTERM, &term_, nullptr);
  }
  TAvbrytbar(const TAvbrytbar&) = delete;
  TAvbrytbar& operator=(const TAvbrytbar&) = delete;

 private:
  struct sigaction int_ {
  }, term_{};
};

class THent : public TKommando {
 public:
  std::string_view Navn() const override { return "hent"; }
  std::string_view Kall() const override { return "[--adresse URL] [--ca FIL]"; }
  std::string_view Omtale() const override {
    return "henter væreksporten fra nettet og leser den inn; uten --adresse fra tjeneren i [Nett] Adresse i "
           "Hornstad.Ini (stien /Ullvik/hsTokk2.zip legges til en adresse uten sti). En https://-adresse hentes "
           "kryptert, og tjenerens sertifikat må godkjennes; --ca FIL (ellers [Nett] Sertifikat) er en PEM-fil med "
           "sertifikater som godkjennes i tillegg til systemets";
  }
  std::vector<TValg> Valg() const override {
    return {{"adresse", "URL",
             "adressen væreksporten hentes fra (uten valget: [Nett] Adresse i Hornstad.Ini); en adresse uten sti "
             "får stien /Ullvik/hsTokk2.zip"},
            {"ca", "FIL",
             "PEM-fil med sertifikater som godkjennes i tillegg til systemets for en https://-adresse (uten valget: "
             "[Nett] Sertifikat i Hornstad.Ini)"}};
  }
  int AntallFrie() const override { return 0; }

  int Kjor(const TKontekst& k, const TArgumenter& a) const override {
    std::string adresse = a.Verdi("adresse");
    const QSettings& ini = k.Okt().Innstillinger();
    if (adresse.empty()) adresse = Nettadresse(ini).toStdString();
    TNedlastValg valg;
    valg.sertifikat = a.Har("ca") ? a.Verdi("ca") : Sertifikatfil(ini, k.data);
    if (SplittUrl(adresse).sti.empty()) {
      while (!adresse.empty() && adresse.back() == '/') adresse.pop_back();
      adresse += VerArkivSti;
    }
    const TAvbrytbar avbrytbar;

    const std::filesystem::path arkiv = k.data / ArkivNavn;
    HentSistEndret(adresse, valg, [] { return !avbrutt.load(); });
    std::string feil;
    TOverforing r;
    {
      TFremdriftslinje linje(k, "Henter værer    ");
      TOverforingsHendelser h;
      h.fremdrift = [&](int64_t lest, int64_t totalt) {
        linje(lest, totalt);
        return !avbrutt.load();
      };
      h.fortsett = [] { return !avbrutt.load(); };
      h.feil = [&](const std::string& melding) { feil = melding; };
      r = HentFil(adresse, arkiv, valg, h);
    }
    if (r != TOverforing::Ferdig || avbrutt) {
      if (avbrutt || r == TOverforing::Avbrutt)
        std::fputs("Nedlastingen ble avbrutt. Værregisteret er uendret.\n", k.feil);
      else
        std::fprintf(k.feil, "Kunne ikke hente %s: %s%s Værregisteret er uendret.\n", adresse.c_str(), feil.c_str(),
                     !feil.empty() && feil.back() == '.' ? "" : ".");
      return 1;
    }
    TEndringsvakt endringer(k.data);
    TKonvertering konvertert;
    try {
      TFremdriftslinje linje(k, "Leser inn værer ");
      konvertert = ImporterArkiv(arkiv, k.data, [&](int64_t gjort, int64_t totalt) { return linje(gjort, totalt); });
    } catch (const IoFeil&) {
      std::error_code ec;
      std::filesystem::remove(arkiv, ec);
      throw;
    }
    std::error_code ec;
    std::filesystem::remove(arkiv, ec);
    TProdusent& reg = k.Okt().LastRegister();
    std::fprintf(k.ut, "%zu værer\n", reg.RamNumbers().size());
    MeldKorteLinjer(k, konvertert);
    MeldEndringer(k, endringer, reg);
    return 0;
  }
};

}  // namespace

const TKommando& KommandoHent() {
  static const THent kommando;
  return kommando;
}
