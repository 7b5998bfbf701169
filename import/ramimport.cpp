#include "ramimport.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "arkiv.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

float TiendeDel(std::string_view felt) { return SafeDiv(TextToReal(felt), 10.0f); }

}  // namespace

namespace {

// Splits a line into fields as NextField does, without copying the line.
// A line that ends before all its fields are taken gives empty fields for
// the rest.
class Felter {
 public:
  explicit Felter(std::string_view linje)
      : rest_(linje), sitat_(std::memchr(linje.data(), '"', linje.size()) != nullptr) {}
  // Whether the line holds a quote anywhere: only then can a field need a copy.
  bool Sitat() const { return sitat_; }
  // A quoted field is unquoted into `lager`, which must outlive its use.
  std::string_view Neste(std::string& lager) {
    if (slutt_) {
      mangler_ = true;
      return {};
    }
    const auto* semikolon = static_cast<const char*>(std::memchr(rest_.data(), ';', rest_.size()));
    std::string_view felt = rest_;
    if (semikolon != nullptr) {
      felt = rest_.substr(0, static_cast<std::size_t>(semikolon - rest_.data()));
      rest_.remove_prefix(felt.size() + 1);
    } else {
      slutt_ = true;
    }
    if (felt.size() > MaksTekst) felt = felt.substr(0, MaksTekst);
    if (!sitat_ || felt.find('"') == std::string_view::npos) return felt;
    // The first quote and the next one are removed.
    lager.assign(felt);
    std::size_t q = lager.find('"');
    lager.erase(q, 1);
    q = lager.find('"');
    if (q != std::string::npos) lager.erase(q, 1);
    return lager;
  }

  // Whether a field was asked for after the line's last one.
  bool Mangler() const { return mangler_; }

 private:
  std::string_view rest_;
  bool sitat_;
  bool slutt_ = false;  // the last field is taken
  bool mangler_ = false;
};

}  // namespace

bool ConvertRamLine(std::string_view linje, TVerPost& p, bool* kort) {
  p = TomVerPost();
  if (kort) *kort = false;
  // Each field is kept as text until the record is filled; quoted fields
  // need their own copy.
  Felter felter(linje);
  std::string_view felt[51];
  std::string ingen;  // never written: a line without quotes copies no field
  std::vector<std::string> lager;
  if (felter.Sitat()) lager.resize(51);
  const auto neste = [&](int k) { return felter.Neste(felter.Sitat() ? lager[k] : ingen); };
  for (int k = 1; k <= 3; ++k) felt[k] = neste(k);
  p.Nummer = static_cast<int32_t>(TextToInt(felt[3]));
  if (p.Nummer == 0) return false;
  for (int k = 4; k <= 50; ++k) felt[k] = neste(k);
  if (kort) *kort = felter.Mangler();

  p.Fylke = felt[1] == "1666666654" ? 0 : static_cast<uint8_t>(TextToInt(felt[1].substr(0, 2)));
  p.Ring = static_cast<int16_t>(TextToInt(felt[4]));
  p.Kropp = static_cast<uint8_t>(TextToInt(felt[5]));
  p.Ullkvalitet = static_cast<uint8_t>(TextToInt(felt[6]));
  p.Ullmengde = static_cast<uint8_t>(TextToInt(felt[7]));
  p.Ullvekt = TiendeDel(felt[8]);
  p.KlippeDato = IsoTextToDate(felt[9]);
  p.Fiberdiameter = TiendeDel(felt[10]);
  p.MaksMy = static_cast<float>(TextToInt(felt[11]));
  p.Stapel = TiendeDel(felt[12]);
  p.Marg = static_cast<uint8_t>(TextToInt(felt[13]));
  p.Dyrehaar = static_cast<uint8_t>(TextToInt(felt[14]));
  p.Rase = static_cast<int8_t>(TextToInt(felt[15]));
  p.Aar = static_cast<int16_t>(TextToInt(felt[16].substr(0, 4)));
  p.Mornr = static_cast<int32_t>(TextToInt(felt[17]));
  p.MorIndeks = static_cast<int16_t>(TextToInt(felt[19]));
  p.Farnr = static_cast<int32_t>(TextToInt(felt[20]));
  p.MorFar = static_cast<int32_t>(TextToInt(felt[23]));
  p.Hostvekt = TextToReal(felt[24]);
  p.BurdFodt = static_cast<uint8_t>(TextToInt(felt[26]));
  p.OIndeks = static_cast<int16_t>(TextToInt(felt[28]));
  p.KIndeks = static_cast<int16_t>(TextToInt(felt[29]));
  p.IndeksDato = IsoTextToDate(felt[31]);
  p.Navn.Sett(felt[32]);
  p.Slakt = static_cast<int16_t>(TextToInt(felt[36]));
  p.Kjott = static_cast<int16_t>(TextToInt(felt[37]));
  p.Fett = static_cast<int16_t>(TextToInt(felt[38]));
  p.MorevVaar = static_cast<int16_t>(TextToInt(felt[39]));
  p.MorevSl = static_cast<int16_t>(TextToInt(felt[40]));
  p.Fruktbarhet = static_cast<int16_t>(TextToInt(felt[41]));
  p.Bein = static_cast<uint8_t>(TextToInt(felt[42]));
  p.Fodebuskap.Sett(felt[43]);
  p.Fodested.Sett(felt[44].empty() ? std::string("Ukjent") : DosToWindows(felt[44].substr(0, 20)));
  p.VektAvvik = TiendeDel(felt[45]);
  p.OAett = TextToReal(felt[46]);
  p.Type = static_cast<uint8_t>(TextToInt(felt[47]));
  p.AntHostvekt = static_cast<int16_t>(TextToInt(felt[48]));
  p.AntSlakt = static_cast<int16_t>(TextToInt(felt[49]));
  p.AntDotre = static_cast<int16_t>(TextToInt(felt[50]));
  return true;
}

TKonvertering KonverterLinjer(std::string_view eksport, const std::function<void(const TVerPost&)>& post,
                              const TFremdrift& fremdrift) {
  const auto totalt = static_cast<int64_t>(eksport.size());
  std::size_t linjer = 0;
  TKonvertering r;
  TVerPost p;
  bool kort = false;
  ForHverLinje(eksport, [&](std::string_view linje) {
    if (linjer > 0 && ConvertRamLine(linje, p, &kort)) {
      post(p);
      ++r.poster;
      r.korteLinjer += kort;
    }
    ++linjer;
    if (fremdrift && linjer % 4096 == 0) {
      const auto gjort = static_cast<int64_t>(linje.data() + linje.size() - eksport.data());
      if (!fremdrift(gjort, totalt)) {
        r.ferdig = false;
        return false;
      }
    }
    return true;
  });
  if (r.ferdig && fremdrift) fremdrift(totalt, totalt);
  return r;
}

namespace {

// Where the line that begins at or after `pos` begins: after the next LF, or
// after a CR not followed by LF, so that a cut there splits no line end.
std::size_t NesteLinjestart(std::string_view t, std::size_t pos) {
  while (pos < t.size()) {
    const char c = t[pos++];
    if (c == '\n') return pos;
    if (c == '\r') return pos < t.size() && t[pos] == '\n' ? pos + 1 : pos;
  }
  return t.size();
}

// The data lines of an export converted on every core: the lines are cut
// into pieces at line ends, each piece is converted by whichever thread takes
// it, and the records are handed on piece by piece in the export's order, on
// the calling thread (which also reports progress there).
class TParallellKonvertering {
 public:
  TParallellKonvertering(std::string_view eksport, TBlokkskriver& skriver, const TFremdrift& fremdrift)
      : eksport_(eksport), skriver_(skriver), fremdrift_(fremdrift) {
    constexpr std::size_t Stykkestorrelse = std::size_t{1} << 21;
    std::size_t start = NesteLinjestart(eksport, 0);  // the header line is no ram
    while (start < eksport.size()) {
      const std::size_t slutt = NesteLinjestart(eksport, std::min(start + Stykkestorrelse, eksport.size()));
      stykker_.emplace_back(start, slutt);
      start = slutt;
    }
  }

  TKonvertering Kjor() {
    const unsigned kjerner = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t hjelpere = std::min<std::size_t>(kjerner - 1, stykker_.size() > 1 ? stykker_.size() - 1 : 0);
    std::vector<std::thread> traader;
    traader.reserve(hjelpere);
    for (std::size_t i = 0; i < hjelpere; ++i) traader.emplace_back([this] { Arbeid(false); });
    Arbeid(true);
    stopp_ = true;
    for (std::thread& t : traader) t.join();
    if (feil_) std::rethrow_exception(feil_);
    if (r_.ferdig && fremdrift_)
      fremdrift_(static_cast<int64_t>(eksport_.size()), static_cast<int64_t>(eksport_.size()));
    return r_;
  }

 private:
  struct Stykke {
    Stykke(std::size_t fra, std::size_t til) : fra(fra), til(til) {}
    std::size_t fra, til;
    std::string poster;  // the records, one after the other
    int64_t antall = 0, korte = 0;
    bool ferdig = false;
  };

  void Konverter(Stykke& s) const {
    TVerPost p;
    bool kort = false;
    ForHverLinje(eksport_.substr(s.fra, s.til - s.fra), [&](std::string_view linje) {
      if (stopp_) return false;
      if (ConvertRamLine(linje, p, &kort)) {
        s.poster.append(reinterpret_cast<const char*>(&p), sizeof p);
        ++s.antall;
        s.korte += kort;
      }
      return true;
    });
  }

  // Takes pieces until none is left; the calling thread (`skriver` true)
  // also hands finished pieces on in order, and waits for the last ones.
  void Arbeid(bool skriver) {
    try {
      for (;;) {
        const std::size_t i = neste_.fetch_add(1);
        if (i < stykker_.size() && !stopp_) {
          Konverter(stykker_[i]);
          std::lock_guard laas(mutex_);
          stykker_[i].ferdig = true;
          klar_.notify_all();
        }
        if (!skriver) {
          if (i >= stykker_.size() || stopp_) return;
          continue;
        }
        if (!Skriv(i >= stykker_.size())) return;
      }
    } catch (...) {
      std::lock_guard laas(mutex_);
      if (!feil_) feil_ = std::current_exception();
      stopp_ = true;
      klar_.notify_all();
    }
  }

  // Hands on the finished pieces that are next in order; with `vent`, waits
  // for the rest. False when everything is handed on, or the work stopped.
  bool Skriv(bool vent) {
    for (;;) {
      Stykke* s = nullptr;
      {
        std::unique_lock laas(mutex_);
        if (vent) klar_.wait(laas, [&] { return stopp_ || skrevet_ == stykker_.size() || stykker_[skrevet_].ferdig; });
        if (stopp_ || skrevet_ == stykker_.size()) return false;
        if (!stykker_[skrevet_].ferdig) return true;
        s = &stykker_[skrevet_++];
      }
      skriver_.Legg(s->poster.data(), s->poster.size());
      r_.poster += s->antall;
      r_.korteLinjer += s->korte;
      std::string().swap(s->poster);
      if (fremdrift_ && !fremdrift_(static_cast<int64_t>(s->til), static_cast<int64_t>(eksport_.size()))) {
        r_.ferdig = false;
        stopp_ = true;
        return false;
      }
    }
  }

  std::string_view eksport_;
  TBlokkskriver& skriver_;
  const TFremdrift& fremdrift_;
  std::vector<Stykke> stykker_;
  std::atomic<std::size_t> neste_{0};
  std::atomic<bool> stopp_{false};
  std::size_t skrevet_ = 0;  // pieces handed on
  std::mutex mutex_;
  std::condition_variable klar_;
  std::exception_ptr feil_;
  TKonvertering r_;
};

}  // namespace

TKonvertering KonverterEksportfil(const fs::path& eksport, const fs::path& verfil, const TFremdrift& fremdrift) {
  const std::string innhold = LesHeleFila(eksport);
  TTryggFil fil(verfil, ".ny", "værregisteret " + verfil.string());
  TBlokkskriver skriver(fil);
  const TKonvertering r = TParallellKonvertering(innhold, skriver, fremdrift).Kjor();
  if (!r.ferdig) throw IoFeil("Innlesingen ble avbrutt. Værregisteret er uendret.");
  skriver.Tom();
  fil.Fullfor();
  return r;
}

std::string KorteLinjerMelding(int64_t antall) {
  return std::to_string(antall) +
         " linje(r) i eksporten hadde færre enn 50 felt; feltene som manglet er lest som tomme.";
}

std::optional<TKonvertering> ConvertRamExport(const fs::path& dataMappe, const TFremdrift& fremdrift, TKilde kilde) {
  const fs::path pakket = FinnFil(dataMappe, UtpakkMappe);
  const fs::path eksport = FinnFil(pakket, EksportNavn);
  std::error_code ec;
  if (!fs::is_regular_file(eksport, ec)) return std::nullopt;
  const TKonvertering r = KonverterEksportfil(eksport, FinnFil(dataMappe, VerFilNavn), fremdrift);
  fs::remove(eksport, ec);
  fs::remove(FinnFil(pakket, GammelEksportNavn), ec);
  if (kilde == TKilde::Nedlasting) fs::remove(FinnFil(dataMappe, ArkivNavn), ec);
  return r;
}

TKonvertering ImporterArkiv(const fs::path& arkiv, const fs::path& dataMappe, const TFremdrift& fremdrift,
                            TKilde kilde) {
  const fs::path pakket = FinnFil(dataMappe, UtpakkMappe);
  // An export left from an earlier import must not pass for this archive's.
  std::error_code ec;
  fs::remove(FinnFil(pakket, EksportNavn), ec);
  PakkUt(arkiv, EksportMonster, pakket);
  const std::optional<TKonvertering> r = ConvertRamExport(dataMappe, fremdrift, kilde);
  if (!r)
    throw IoFeil("Arkivet " + arkiv.filename().string() + " inneholder ingen værfil (" + EksportNavn +
                 "). Værregisteret er uendret.");
  return *r;
}
