#include "nedlasting.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <openssl/x509_vfy.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <system_error>

#include "filer.h"

namespace fs = std::filesystem;
using Klokke = std::chrono::steady_clock;

namespace {

// How long one wait for the server lasts before cancel and silence are looked at again.
constexpr int VentMs = 100;
constexpr long MaksOmdirigeringer = 5;
// Day count of 1 January 1970, the start of Unix time.
constexpr double UnixStart = 25569.0;

bool StartCurl() {
  // Initialised once, the first time any thread gets here; never cleaned up.
  static const bool klar = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return klar;
}

char Stor(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool LikUtenomStorrelse(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Stor(a[i]) != Stor(b[i])) return false;
  return true;
}

bool BegynnerMed(std::string_view tekst, std::string_view start) {
  return tekst.size() >= start.size() && LikUtenomStorrelse(tekst.substr(0, start.size()), start);
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool GyldigVert(std::string_view vert) {
  if (vert.empty()) return false;
  for (const char c : vert) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
    if (!ok) return false;
  }
  return true;
}

// A path as it may stand in the request line: blanks, control characters,
// bytes above 127 and '#' are percent-encoded, everything else goes as it is.
std::string KodSti(std::string_view sti) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string ut;
  for (const char c : sti) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F || c == '#') {
      ut += '%';
      ut += Hex[b >> 4];
      ut += Hex[b & 15];
    } else {
      ut += c;
    }
  }
  return ut;
}

// Hosts that are always reached directly, besides those the environment lists.
std::string DirekteVerter() {
  std::string liste = "localhost,127.0.0.1,::1";
  const char* miljo = std::getenv("no_proxy");
  if (miljo == nullptr || *miljo == '\0') miljo = std::getenv("NO_PROXY");
  if (miljo == nullptr || *miljo == '\0') return liste;
  if (std::string_view(miljo) == "*") return "*";
  return std::string(miljo) + "," + liste;
}

// The head of one answer.
struct Svar {
  int status = 0;
  std::string tekst;  // the reason text of the status line
  std::int64_t lengde = -1;
  double endret = -1;
  bool harAdresse = false;  // a Location header

  // curl follows this answer to another address.
  bool Omdirigering() const {
    return harAdresse && (status == 301 || status == 302 || status == 303 || status == 307 || status == 308);
  }
};

std::int64_t LesLengde(std::string_view s) {
  if (s.empty() || s.size() > 18) return -1;
  std::int64_t n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// Reads one line of a head into `svar`. True when the line ends the head.
bool LesHodelinje(std::string_view linje, Svar& svar) {
  linje = Trim(linje);
  if (linje.empty()) return true;
  if (BegynnerMed(linje, "HTTP/")) {
    svar = Svar{};
    const auto mellom = linje.find(' ');
    if (mellom == std::string_view::npos) return false;
    const std::string_view rest = Trim(linje.substr(mellom + 1));
    const std::string_view kode = rest.substr(0, rest.find(' '));
    if (kode.size() == 3) svar.status = static_cast<int>(LesLengde(kode));
    if (kode.size() < rest.size()) svar.tekst = std::string(Trim(rest.substr(kode.size())));
    return false;
  }
  const auto kolon = linje.find(':');
  if (kolon == std::string_view::npos) return false;
  const std::string_view navn = Trim(linje.substr(0, kolon));
  const std::string verdi(Trim(linje.substr(kolon + 1)));
  if (LikUtenomStorrelse(navn, "Content-Length")) {
    svar.lengde = LesLengde(verdi);
  } else if (LikUtenomStorrelse(navn, "Last-Modified")) {
    const std::time_t t = curl_getdate(verdi.c_str(), nullptr);
    svar.endret = t == -1 ? -1 : UnixStart + static_cast<double>(t) / 86400.0;
  } else if (LikUtenomStorrelse(navn, "Location")) {
    svar.harAdresse = !verdi.empty();
  }
  return false;
}

// A Norwegian text for what went wrong in a transfer, with what to do.
std::string CurlFeil(CURLcode kode) {
  switch (kode) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return "fant ikke tjeneren. Sjekk at maskinen er koplet til internett og at adressen er rett";
    case CURLE_COULDNT_RESOLVE_PROXY: return "fant ikke mellomtjeneren (proxy). Sjekk nettinnstillingene";
    case CURLE_COULDNT_CONNECT:
      return "tjeneren svarer ikke. Sjekk nettforbindelsen og brannveggen, og prøv igjen senere";
    case CURLE_OPERATION_TIMEDOUT: return "tjeneren svarte ikke i tide. Prøv igjen senere";
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING: return "forbindelsen ble brutt. Prøv igjen";
    case CURLE_PARTIAL_FILE: return "overføringen stanset før hele fila var mottatt. Prøv igjen";
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_BAD_CONTENT_ENCODING:
      return "tjeneren svarte med noe programmet ikke forstår. Sjekk at adressen er rett, eller prøv igjen senere";
    case CURLE_TOO_MANY_REDIRECTS:
      return "tjeneren sendte programmet i ring (for mange videresendinger). Sjekk at adressen er rett";
    case CURLE_FILESIZE_EXCEEDED: return "fila er større enn programmet tar imot. Sjekk at adressen er rett";
    case CURLE_WRITE_ERROR: return "fila kunne ikke skrives på disken. Sjekk at det er plass og prøv igjen";
    case CURLE_OUT_OF_MEMORY: return "det er ikke nok minne. Lukk andre programmer og prøv igjen";
    case CURLE_URL_MALFORMAT: return "adressen er ugyldig. Sjekk Adresse under [Nett] i Hornstad.Ini";
    case CURLE_SSL_CONNECT_ERROR:
      return "den sikre forbindelsen (TLS) kunne ikke settes opp. Sjekk at adressen er rett og at tjeneren tar imot "
             "https, eller prøv igjen senere";
    case CURLE_SSL_CACERT_BADFILE:
      return "de godkjente sertifikatene kunne ikke leses. Sjekk fila under Sertifikat i [Nett] i Hornstad.Ini";
    default: return "nettverksfeil " + std::to_string(static_cast<int>(kode)) + ". Prøv igjen senere";
  }
}

// What to do about a certificate the machine does not trust.
constexpr const char* EgenUtsteder =
    ". Sjekk at adressen er rett; bruker dere egne sertifikater, oppgi utstederens sertifikat (en PEM-fil) under "
    "Sertifikat i [Nett] i Hornstad.Ini (hornstad-cli: --ca FIL)";

// Why the server's certificate failed verification, from OpenSSL's verify
// result, with what to do.
std::string SertifikatFeil(long resultat, const std::string& vert) {
  switch (resultat) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return "sertifikatet til tjeneren er utløpt. Sjekk at datoen på maskinen er rett; ellers må den som driver "
             "tjeneren fornye sertifikatet";
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return "sertifikatet til tjeneren gjelder ikke ennå. Sjekk at datoen og klokka på maskinen er rett";
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      return std::string("sertifikatet til tjeneren er selvsignert, uten en godkjent utsteder bak seg") + EgenUtsteder;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_INVALID_CA:
      return std::string("sertifikatet til tjeneren er utstedt av en utsteder som maskinen ikke stoler på") +
             EgenUtsteder;
    case X509_V_ERR_CERT_REVOKED:
      return "sertifikatet til tjeneren er trukket tilbake. Si fra til den som driver tjeneren";
    // curl checks the name itself once the handshake has accepted the
    // chain, and a name that does not match leaves its "not checked yet"
    // mark (1) as the result.
    case X509_V_OK:
    case X509_V_ERR_UNSPECIFIED:
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return "sertifikatet til tjeneren gjelder ikke for navnet " + vert + ". Sjekk at adressen er rett";
    default:
      return "sertifikatet til tjeneren ble ikke godkjent (feil " + std::to_string(resultat) +
             " ved kontrollen). Sjekk at adressen er rett, eller si fra til den som driver tjeneren";
  }
}

// The certificates a request over TLS trusts, as one PEM text: the system's
// and the extra file. Empty when there is no extra file, so that libcurl
// uses the system's as they are. Throws IoFeil when the extra file cannot be
// read or holds no certificate.
std::string Tillitsliste(const TNedlastValg& valg, CURL* easy) {
  if (valg.sertifikat.empty()) return {};
  std::string ekstra;
  try {
    ekstra = LesHeleFila(valg.sertifikat);
  } catch (const IoFeil& e) {
    // "Kan ikke lese fila X: ..." becomes "Kan ikke lese sertifikatfila X: ...".
    std::string melding = e.what();
    if (const auto pos = melding.find("fila "); pos != std::string::npos) melding.insert(pos, "sertifikat");
    throw IoFeil(melding);
  }
  if (ekstra.find("-----BEGIN CERTIFICATE-----") == std::string::npos)
    throw IoFeil("Sertifikatfila " + valg.sertifikat +
                 " har ingen sertifikater i PEM-form. Sjekk at det er rett fil (Sertifikat under [Nett] i "
                 "Hornstad.Ini, eller --ca)");
  std::string system = valg.systemSertifikater;
  if (system.empty()) {
    char* standard = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_CAINFO, &standard) == CURLE_OK && standard != nullptr) system = standard;
  }
  std::string liste;
  // Without the system's bundle the extra file is trusted alone; the
  // system's certificate folder is still looked in.
  try {
    if (!system.empty()) liste = LesHeleFila(system);
  } catch (const IoFeil&) {
  }
  return liste + "\n" + ekstra;
}

// One GET request over HTTP/1.0, run on the calling thread.
class Forespoersel {
 public:
  enum class Slutt { Ferdig, Avbrutt, Stille };

  Forespoersel(const TUrlDeler& deler, const TNedlastValg& valg) {
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    hoder_ = curl_slist_append(nullptr, "Pragma: no-cache");
    if (easy_ == nullptr || multi_ == nullptr || hoder_ == nullptr) return;
    const std::string adresse = std::string(deler.https ? "https://" : "http://") + deler.vert + ":" +
                                std::to_string(deler.port) + "/" + KodSti(deler.sti);
    const std::string direkte = DirekteVerter();
    bool ok = true;
    const auto sett = [&](CURLoption opt, auto verdi) { ok = ok && curl_easy_setopt(easy_, opt, verdi) == CURLE_OK; };
    sett(CURLOPT_URL, adresse.c_str());
    if (deler.https) {
      // Over TLS and nothing else, also after a redirect; the certificate
      // and the host name are always verified.
      sett(CURLOPT_PROTOCOLS_STR, "https");
      sett(CURLOPT_REDIR_PROTOCOLS_STR, "https");
      sett(CURLOPT_SSL_VERIFYPEER, 1L);
      sett(CURLOPT_SSL_VERIFYHOST, 2L);
      if (!valg.systemSertifikater.empty()) {
        sett(CURLOPT_CAINFO, valg.systemSertifikater.c_str());
        sett(CURLOPT_CAPATH, static_cast<const char*>(nullptr));
      }
      std::string tillit;
      try {
        tillit = Tillitsliste(valg, easy_);
      } catch (const IoFeil& e) {
        oppsettFeil_ = e.what();
        return;
      }
      if (!tillit.empty()) {
        curl_blob blob{const_cast<char*>(tillit.data()), tillit.size(), CURL_BLOB_COPY};
        sett(CURLOPT_CAINFO_BLOB, &blob);
      }
    } else {
      sett(CURLOPT_PROTOCOLS_STR, "http");
      sett(CURLOPT_REDIR_PROTOCOLS_STR, "http");
    }
    sett(CURLOPT_FOLLOWLOCATION, 1L);
    sett(CURLOPT_MAXREDIRS, MaksOmdirigeringer);
    sett(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    sett(CURLOPT_PATH_AS_IS, 1L);
    sett(CURLOPT_USERAGENT, valg.agent.c_str());
    sett(CURLOPT_HTTPHEADER, hoder_);
    sett(CURLOPT_NOPROXY, direkte.c_str());
    sett(CURLOPT_NOSIGNAL, 1L);
    sett(CURLOPT_CONNECTTIMEOUT, valg.koblingSekunder);
    sett(CURLOPT_ERRORBUFFER, feiltekst_);
    sett(CURLOPT_HEADERFUNCTION, &Forespoersel::Hode);
    sett(CURLOPT_HEADERDATA, this);
    sett(CURLOPT_WRITEFUNCTION, &Forespoersel::Kropp);
    sett(CURLOPT_WRITEDATA, this);
    sett(CURLOPT_PREREQFUNCTION, &Forespoersel::Tilkoblet);
    sett(CURLOPT_PREREQDATA, this);
    klar_ = ok;
  }

  ~Forespoersel() {
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    curl_slist_free_all(hoder_);
  }

  Forespoersel(const Forespoersel&) = delete;
  Forespoersel& operator=(const Forespoersel&) = delete;

  bool Klar() const { return easy_ != nullptr && multi_ != nullptr && hoder_ != nullptr && klar_; }
  // Why the request could not be set up, when the user can do something
  // about it (the extra certificate file); otherwise empty.
  const std::string& OppsettFeil() const { return oppsettFeil_; }

  // Called when the connection is made.
  std::function<void()> vedKobling;
  // Called at the end of the head of every answer that is not followed to
  // another address; false stops the request.
  std::function<bool(const Svar&)> vedHode;
  // Called with every piece of a body; false stops the request.
  std::function<bool(const char*, std::size_t)> vedKropp;

  // Runs the request until curl is done with it, `fortsett` says no, or the
  // server has been silent for `stilleSekunder` after the connection was made.
  Slutt Kjor(const std::function<bool()>& fortsett, long stilleSekunder) {
    const auto stille = std::chrono::seconds(stilleSekunder);
    sistHoert_ = Klokke::now();
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
      resultat_ = CURLE_FAILED_INIT;
      return Slutt::Ferdig;
    }
    Slutt slutt = Slutt::Ferdig;
    for (;;) {
      int kjorer = 0;
      CURLMcode mc = curl_multi_perform(multi_, &kjorer);
      bool ferdig = false;
      int igjen = 0;
      while (CURLMsg* m = curl_multi_info_read(multi_, &igjen)) {
        if (m->msg == CURLMSG_DONE) {
          resultat_ = m->data.result;
          ferdig = true;
        }
      }
      if (ferdig) break;
      if (mc != CURLM_OK || kjorer == 0) {
        resultat_ = CURLE_FAILED_INIT;
        break;
      }
      if (fortsett && !fortsett()) {
        slutt = Slutt::Avbrutt;
        break;
      }
      if (tilkoblet_ && Klokke::now() - sistHoert_ >= stille) {
        slutt = Slutt::Stille;
        break;
      }
      mc = curl_multi_poll(multi_, nullptr, 0, VentMs, nullptr);
      if (mc != CURLM_OK) {
        resultat_ = CURLE_FAILED_INIT;
        break;
      }
    }
    curl_multi_remove_handle(multi_, easy_);
    if (curl_easy_getinfo(easy_, CURLINFO_SSL_VERIFYRESULT, &verifisering_) != CURLE_OK) verifisering_ = 0;
    return slutt;
  }

  CURLcode Resultat() const { return resultat_; }
  // OpenSSL's verify result for the server's certificate.
  long Verifisering() const { return verifisering_; }
  bool ErTilkoblet() const { return tilkoblet_; }
  std::string Feiltekst() const { return CurlFeil(resultat_); }

 private:
  static std::size_t Hode(char* data, std::size_t storrelse, std::size_t antall, void* meg) {
    auto& f = *static_cast<Forespoersel*>(meg);
    const std::size_t n = storrelse * antall;
    f.sistHoert_ = Klokke::now();
    const std::string_view linje(data, n);
    if (BegynnerMed(linje, "HTTP/")) f.hodeSlutt_ = false;
    // Lines after the end of a head (trailers) are not looked at.
    if (f.hodeSlutt_ || !LesHodelinje(linje, f.svar_)) return n;
    f.hodeSlutt_ = true;
    const bool mellomsvar = f.svar_.status >= 100 && f.svar_.status < 200;
    if (mellomsvar || f.svar_.Omdirigering() || !f.vedHode) return n;
    return f.vedHode(f.svar_) ? n : 0;
  }

  static std::size_t Kropp(char* data, std::size_t storrelse, std::size_t antall, void* meg) {
    auto& f = *static_cast<Forespoersel*>(meg);
    const std::size_t n = storrelse * antall;
    f.sistHoert_ = Klokke::now();
    if (n == 0 || !f.vedKropp) return n;
    return f.vedKropp(data, n) ? n : 0;
  }

  static int Tilkoblet(void* meg, char*, char*, int, int) {
    auto& f = *static_cast<Forespoersel*>(meg);
    f.sistHoert_ = Klokke::now();
    if (!f.tilkoblet_) {
      f.tilkoblet_ = true;
      if (f.vedKobling) f.vedKobling();
    }
    return CURL_PREREQFUNC_OK;
  }

  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* hoder_ = nullptr;
  bool klar_ = false;
  std::string oppsettFeil_;
  char feiltekst_[CURL_ERROR_SIZE] = {};
  CURLcode resultat_ = CURLE_OK;
  long verifisering_ = 0;
  Svar svar_;
  bool hodeSlutt_ = false;
  bool tilkoblet_ = false;
  Klokke::time_point sistHoert_{};
};

std::string VertOgPort(const TUrlDeler& d) { return d.vert + ":" + std::to_string(d.port); }

// What an answer other than 200 OK means for the user, with what to do.
std::string StatusFeil(int status) {
  if (status == 404 || status == 410) return "fila finnes ikke der. Sjekk at adressen er rett";
  if (status == 401 || status == 403 || status == 407)
    return "tjeneren gir ikke tilgang til fila. Sjekk at adressen er rett";
  if (status >= 500 && status <= 599) return "tjeneren har en feil. Prøv igjen senere";
  return "tjeneren sendte ikke fila. Sjekk at adressen er rett, eller prøv igjen senere";
}

// A size in the largest binary unit that divides it ("2 GiB", "64 KiB"), or in bytes.
std::string Storrelse(std::int64_t bytes) {
  static constexpr const char* Enheter[] = {"GiB", "MiB", "KiB"};
  for (int i = 0; i < 3; ++i) {
    const std::int64_t enhet = std::int64_t{1} << (10 * (3 - i));
    if (bytes > 0 && bytes % enhet == 0) return std::to_string(bytes / enhet) + " " + Enheter[i];
  }
  return std::to_string(bytes) + " byte";
}

}  // namespace

TUrlDeler SplittUrl(const std::string& url) {
  TUrlDeler d;
  std::string stor = url;
  for (char& c : stor) c = Stor(c);
  std::string rest = url;
  if (stor.rfind("HTTPS://", 0) == 0) {
    d.https = true;
    d.port = 443;
    rest = url.substr(8);
  } else if (stor.find("HTTP://") != std::string::npos) {
    rest = url.size() > 7 ? url.substr(7) : std::string();
  }
  const auto skille = rest.find('/');
  std::string vert = rest.substr(0, skille);
  if (skille != std::string::npos) d.sti = rest.substr(skille + 1);
  bool portOk = true;
  const auto kolon = vert.find(':');
  if (kolon != std::string::npos) {
    const std::string_view port = std::string_view(vert).substr(kolon + 1);
    const std::int64_t n = port.size() <= 5 ? LesLengde(port) : -1;
    portOk = n >= 1 && n <= 65535;
    if (portOk) d.port = static_cast<int>(n);
  }
  d.vert = vert;
  if (kolon != std::string::npos && portOk) d.vert.resize(kolon);
  d.gyldig = portOk && GyldigVert(d.vert);
  return d;
}

double HentSistEndret(const std::string& url, const TNedlastValg& valg, const std::function<bool()>& fortsett) {
  const TUrlDeler deler = SplittUrl(url);
  if (!deler.gyldig || !StartCurl()) return -1;
  Forespoersel f(deler, valg);
  if (!f.Klar()) return -1;
  double dato = -1;
  // The head is all that is needed: the request stops at its end.
  f.vedHode = [&dato](const Svar& svar) {
    if (svar.status == 200) dato = svar.endret;
    return false;
  };
  if (f.Kjor(fortsett, valg.stilleSekunder) != Forespoersel::Slutt::Ferdig) return -1;
  return dato;
}

fs::path Nedlastingsfil(const fs::path& maal) {
  fs::path fil = maal;
  fil += ".ned";
  return fil;
}

TOverforing HentFil(const std::string& url, const fs::path& maal, const TNedlastValg& valg,
                    const TOverforingsHendelser& hendelser) {
  const auto feil = [&hendelser](const std::string& melding) {
    if (hendelser.feil) hendelser.feil(melding);
    return TOverforing::Feil;
  };
  const TUrlDeler deler = SplittUrl(url);
  if (!deler.gyldig)
    return feil("Ugyldig adresse: " + url + ". Sjekk at adressen er rett (http://vert/sti eller https://vert/sti)");

  if (maal.has_parent_path()) {
    std::error_code ec;
    fs::create_directories(maal.parent_path(), ec);
    if (ec) return feil("Kan ikke lage mappa " + maal.parent_path().string() + ": " + SystemFeil(ec.value()));
  }
  if (!StartCurl()) return feil("Kan ikke laste ned: HTTP-biblioteket lot seg ikke starte");
  Forespoersel f(deler, valg);
  if (!f.OppsettFeil().empty()) return feil(f.OppsettFeil());
  if (!f.Klar()) return feil("Kan ikke laste ned: HTTP-biblioteket lot seg ikke sette opp");

  TTryggFil ut(maal, ".ned");
  std::int64_t lest = 0;
  std::int64_t totalt = -1;
  bool godtatt = false;
  bool avbrutt = false;
  bool forStor = false;
  std::string statusfeil;
  std::string skrivefeil;

  f.vedKobling = hendelser.kobler;
  f.vedHode = [&](const Svar& svar) {
    if (svar.status != 200) {
      // The server's own reason text is not shown: it is seldom Norwegian.
      statusfeil = "Tjeneren " + VertOgPort(deler) + " svarte med feilkode " + std::to_string(svar.status) + ": " +
                   StatusFeil(svar.status);
      return false;
    }
    if (svar.lengde > valg.maksBytes) {
      forStor = true;
      return false;
    }
    godtatt = true;
    totalt = svar.lengde;
    if (hendelser.fremdrift && !hendelser.fremdrift(0, totalt)) {
      avbrutt = true;
      return false;
    }
    return true;
  };
  f.vedKropp = [&](const char* data, std::size_t n) {
    if (!godtatt) return true;  // the body of an answer that is not used
    if (static_cast<std::int64_t>(n) > valg.maksBytes - lest) {
      forStor = true;
      return false;
    }
    try {
      ut.Skriv(std::string_view(data, n));
    } catch (const IoFeil& e) {
      skrivefeil = e.what();
      return false;
    }
    lest += static_cast<std::int64_t>(n);
    if (hendelser.fremdrift && !hendelser.fremdrift(lest, totalt)) {
      avbrutt = true;
      return false;
    }
    return true;
  };

  const auto slutt = f.Kjor(hendelser.fortsett, valg.stilleSekunder);
  const auto kuttet = [&] {
    return feil("Overføringen fra " + VertOgPort(deler) + " stanset før hele fila var mottatt (" +
                std::to_string(lest) + " av " + std::to_string(totalt) + " byte). Prøv igjen");
  };
  if (avbrutt || slutt == Forespoersel::Slutt::Avbrutt) return TOverforing::Avbrutt;
  if (forStor)
    return feil("Fila fra " + VertOgPort(deler) + " er større enn " + Storrelse(valg.maksBytes) +
                " og hentes ikke. Sjekk at adressen er rett");
  if (slutt == Forespoersel::Slutt::Stille)
    return feil("Tjeneren " + VertOgPort(deler) + " har ikke sendt noe på " + std::to_string(valg.stilleSekunder) +
                " sekunder. Prøv igjen senere");
  if (!skrivefeil.empty()) return feil(skrivefeil);
  if (!statusfeil.empty()) return feil(statusfeil);
  if (f.Resultat() != CURLE_OK) {
    if (f.Resultat() == CURLE_PEER_FAILED_VERIFICATION)
      return feil("Den sikre forbindelsen til " + VertOgPort(deler) +
                  " ble avvist: " + SertifikatFeil(f.Verifisering(), deler.vert));
    if (deler.https && f.Resultat() == CURLE_UNSUPPORTED_PROTOCOL)
      return feil("Tjeneren " + VertOgPort(deler) +
                  " ville sende nedlastingen videre til en adresse uten https, og det godtas ikke. Sjekk at adressen "
                  "er rett");
    if (!f.ErTilkoblet()) return feil("Fikk ikke kontakt med " + VertOgPort(deler) + ": " + f.Feiltekst());
    if (f.Resultat() == CURLE_PARTIAL_FILE) {
      if (godtatt) return kuttet();
      // curl read a body after a head this program could not read.
      return feil("Overføringen fra " + VertOgPort(deler) + " feilet: " + CurlFeil(CURLE_WEIRD_SERVER_REPLY));
    }
    return feil("Overføringen fra " + VertOgPort(deler) + " feilet: " + f.Feiltekst());
  }
  if (!godtatt) return feil("Tjeneren " + VertOgPort(deler) + " sendte ikke fila. Prøv igjen senere");
  if (totalt >= 0 && lest != totalt) return kuttet();
  // An answer without a body is no file, whatever its status says.
  if (lest == 0)
    return feil("Tjeneren " + VertOgPort(deler) +
                " sendte en tom fil. Sjekk at adressen er rett, eller prøv igjen senere");
  try {
    ut.Fullfor();
  } catch (const IoFeil& e) {
    return feil(e.what());
  }
  return TOverforing::Ferdig;
}
