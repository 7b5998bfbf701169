#include "stamtavle.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "cp1252.h"
#include "tekst.h"

void TPostKilde::ForHver(const TBesok& f) const {
  const int32_t n = Antall();
  for (int32_t i = 0; i < n; ++i) f(i, Les(i));
}

void TMinneKilde::ForHver(const TBesok& f) const {
  for (std::size_t i = 0; i < poster_.size(); ++i) f(static_cast<int32_t>(i), poster_[i]);
}

namespace {

// What the pedigree needs of one record.
struct TRad {
  int32_t nummer, far, morfar, mornr;
  uint32_t buskap;  // start of the stored Fodebuskap in the text block (Mornr above 0 only)
  uint8_t buskapLengde;
};

uint64_t Spre(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ull;
  return x ^ (x >> 33);
}

uint64_t TekstSpre(std::string_view t) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : t) h = (h ^ c) * 0x100000001B3ull;
  return h;
}

}  // namespace

TStamtavle::TStamtavle(const TPostKilde& kilde) {
  // 1. The fields of every record.
  std::vector<TRad> rader;
  rader.reserve(static_cast<std::size_t>(std::max(kilde.Antall(), 0)));
  std::string buskaper;
  kilde.ForHver([&](int32_t, const TVerPost& p) {
    TRad r{p.Nummer, p.Farnr, p.MorFar, p.Mornr, 0, 0};
    if (p.Mornr > 0) {
      const std::size_t lengde = std::min<std::size_t>(p.Fodebuskap.lengde, sizeof p.Fodebuskap.tegn);
      r.buskap = static_cast<uint32_t>(buskaper.size());
      r.buskapLengde = static_cast<uint8_t>(lengde);
      buskaper.append(p.Fodebuskap.tegn, lengde);
    }
    rader.push_back(r);
  });
  poster_ = static_cast<int32_t>(rader.size());
  const auto buskap = [&](const TRad& r) { return std::string_view(buskaper).substr(r.buskap, r.buskapLengde); };

  // 2. The rams: the record FindByNumber gives for each number, by rising number.
  std::vector<int32_t> ramPost;
  {
    std::vector<int32_t> nummer(rader.size());
    for (std::size_t i = 0; i < rader.size(); ++i) nummer[i] = rader[i].nummer;
    TNummerIndeks siste;
    siste.Bygg(nummer);
    for (std::size_t i = 0; i < rader.size(); ++i)
      if (nummer[i] != 0 && siste.Finn(nummer[i]) == static_cast<int32_t>(i)) ramPost.push_back(static_cast<int32_t>(i));
  }
  std::sort(ramPost.begin(), ramPost.end(),
            [&](int32_t a, int32_t b) { return rader[static_cast<std::size_t>(a)].nummer < rader[static_cast<std::size_t>(b)].nummer; });
  const int32_t antRam = static_cast<int32_t>(ramPost.size());
  std::vector<int32_t> ramNummer(ramPost.size());
  for (std::size_t k = 0; k < ramPost.size(); ++k) ramNummer[k] = rader[static_cast<std::size_t>(ramPost[k])].nummer;
  TNummerIndeks ramIndeks;
  ramIndeks.Bygg(ramNummer);

  // 3. Judging numbers without a record.
  std::vector<int32_t> ukjente;
  for (int32_t r : ramPost) {
    const TRad& rad = rader[static_cast<std::size_t>(r)];
    for (int32_t n : {rad.far, rad.morfar})
      if (n != 0 && ramIndeks.Finn(n) < 0) ukjente.push_back(n);
  }
  std::sort(ukjente.begin(), ukjente.end());
  ukjente.erase(std::unique(ukjente.begin(), ukjente.end()), ukjente.end());
  TNummerIndeks ukjentIndeks;
  ukjentIndeks.Bygg(ukjente);
  const int32_t antUkjent = static_cast<int32_t>(ukjente.size());
  const auto dyrAv = [&](int32_t nummer) -> int32_t {
    if (nummer == 0) return -1;
    const int32_t k = ramIndeks.Finn(nummer);
    return k >= 0 ? k : antRam + ukjentIndeks.Finn(nummer);
  };

  // 4. The dams, in the order of their first offspring's number.
  std::vector<int32_t> ramMor(ramPost.size(), -1);
  std::vector<int32_t> morFar, morNummer, morBarn, morRad;
  {
    std::size_t delte = 0;
    for (int32_t r : ramPost) delte += rader[static_cast<std::size_t>(r)].mornr > 0;
    std::size_t storrelse = 16;
    while (storrelse < delte * 2) storrelse *= 2;
    std::vector<int32_t> plass(storrelse, -1);  // a shared dam's index, or -1
    const std::size_t maske = storrelse - 1;
    for (int32_t k = 0; k < antRam; ++k) {
      const TRad& rad = rader[static_cast<std::size_t>(ramPost[static_cast<std::size_t>(k)])];
      if (rad.mornr <= 0 && rad.morfar == 0) continue;
      int32_t mor = -1;
      if (rad.mornr > 0) {
        const std::string_view b = buskap(rad);
        std::size_t h = Spre((static_cast<uint64_t>(static_cast<uint32_t>(rad.mornr)) << 32 ^
                              static_cast<uint32_t>(rad.morfar)) ^ TekstSpre(b)) & maske;
        for (; plass[h] >= 0; h = (h + 1) & maske) {
          const TRad& annen = rader[static_cast<std::size_t>(morRad[static_cast<std::size_t>(plass[h])])];
          if (annen.mornr == rad.mornr && annen.morfar == rad.morfar && buskap(annen) == b) {
            mor = plass[h];
            break;
          }
        }
        if (mor < 0) plass[h] = static_cast<int32_t>(morFar.size());
      }
      if (mor < 0) {
        mor = static_cast<int32_t>(morFar.size());
        morFar.push_back(dyrAv(rad.morfar));
        morNummer.push_back(rad.mornr > 0 ? rad.mornr : 0);
        morBarn.push_back(rad.nummer);
        morRad.push_back(ramPost[static_cast<std::size_t>(k)]);
      }
      ramMor[static_cast<std::size_t>(k)] = antRam + antUkjent + mor;
    }
  }
  const int32_t antall = antRam + antUkjent + static_cast<int32_t>(morFar.size());

  // 5. Parents, numbered as above: rams, numbers without a record, dams.
  std::vector<int32_t> far(static_cast<std::size_t>(antall), -1), mor(static_cast<std::size_t>(antall), -1);
  for (int32_t k = 0; k < antRam; ++k) {
    far[static_cast<std::size_t>(k)] = dyrAv(rader[static_cast<std::size_t>(ramPost[static_cast<std::size_t>(k)])].far);
    mor[static_cast<std::size_t>(k)] = ramMor[static_cast<std::size_t>(k)];
  }
  for (std::size_t m = 0; m < morFar.size(); ++m) far[static_cast<std::size_t>(antRam + antUkjent) + m] = morFar[m];

  // 6. The order: rams by rising number, each after its ancestors, sire before
  // dam. A link to an animal on the way (its ancestors not yet taken) closes a
  // loop and is cut.
  std::vector<int32_t> rekke;
  rekke.reserve(static_cast<std::size_t>(antall));
  {
    // 0 new; 1 sire next, 2 dam next, 3 to be taken (on the way); 4 taken.
    std::vector<uint8_t> tilstand(static_cast<std::size_t>(antall), 0);
    std::vector<int32_t> stabel;
    const auto folg = [&](int32_t x, std::vector<int32_t>& forelder) {
      const int32_t p = forelder[static_cast<std::size_t>(x)];
      if (p < 0) return;
      const uint8_t t = tilstand[static_cast<std::size_t>(p)];
      if (t == 0) {
        tilstand[static_cast<std::size_t>(p)] = 1;
        stabel.push_back(p);
      } else if (t < 4) {
        forelder[static_cast<std::size_t>(x)] = -1;
        ++sloyfer_;
      }
    };
    for (int32_t start = 0; start < antall; ++start) {
      if (tilstand[static_cast<std::size_t>(start)] != 0) continue;
      tilstand[static_cast<std::size_t>(start)] = 1;
      stabel.push_back(start);
      while (!stabel.empty()) {
        const int32_t x = stabel.back();
        uint8_t& t = tilstand[static_cast<std::size_t>(x)];
        if (t == 1) {
          t = 2;
          folg(x, far);
        } else if (t == 2) {
          t = 3;
          folg(x, mor);
        } else {
          t = 4;
          stabel.pop_back();
          rekke.push_back(x);
        }
      }
    }
  }

  // 7. The animals in that order.
  std::vector<int32_t> plassAv(static_cast<std::size_t>(antall));
  for (std::size_t i = 0; i < rekke.size(); ++i) plassAv[static_cast<std::size_t>(rekke[i])] = static_cast<int32_t>(i);
  far_.resize(static_cast<std::size_t>(antall));
  mor_.resize(static_cast<std::size_t>(antall));
  nummer_.resize(static_cast<std::size_t>(antall));
  ekstra_.resize(static_cast<std::size_t>(antall));
  slag_.resize(static_cast<std::size_t>(antall));
  std::vector<int32_t> tall(static_cast<std::size_t>(antall), 0);
  for (int32_t x = 0; x < antall; ++x) {
    const std::size_t i = static_cast<std::size_t>(plassAv[static_cast<std::size_t>(x)]);
    const int32_t f = far[static_cast<std::size_t>(x)], m = mor[static_cast<std::size_t>(x)];
    far_[i] = f < 0 ? -1 : plassAv[static_cast<std::size_t>(f)];
    mor_[i] = m < 0 ? -1 : plassAv[static_cast<std::size_t>(m)];
    if (x < antRam) {
      slag_[i] = TDyrSlag::Ver;
      nummer_[i] = ramNummer[static_cast<std::size_t>(x)];
      ekstra_[i] = ramPost[static_cast<std::size_t>(x)];
      tall[i] = nummer_[i];
    } else if (x < antRam + antUkjent) {
      slag_[i] = TDyrSlag::UkjentVer;
      nummer_[i] = ukjente[static_cast<std::size_t>(x - antRam)];
      ekstra_[i] = -1;
      tall[i] = nummer_[i];
    } else {
      const std::size_t m2 = static_cast<std::size_t>(x - antRam - antUkjent);
      slag_[i] = TDyrSlag::Mor;
      nummer_[i] = morNummer[m2];
      ekstra_[i] = morBarn[m2];
    }
  }
  indeks_.Bygg(tall);
}

int32_t TStamtavle::Finn(int32_t nummer) const { return indeks_.Finn(nummer); }

bool TStamtavle::Kjent(int32_t dyr) const {
  if (dyr < 0) return false;
  return Slag(dyr) != TDyrSlag::Mor || Nummer(dyr) > 0 || Far(dyr) >= 0;
}

std::string SloyfeMelding(int32_t sloyfer) {
  if (sloyfer <= 0) return {};
  if (sloyfer == 1)
    return Utf8TilCp1252("Stamtavla har 1 lenke som gjør en vær til sin egen stamfar; den er regnet som ukjent.");
  return Utf8TilCp1252("Stamtavla har " + IntToText(sloyfer) +
                       " lenker som gjør en vær til sin egen stamfar; de er regnet som ukjente.");
}
