#include "stamtavle.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "cp1252.h"
#include "tekst.h"

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

uint64_t TekstSpre(std::string_view t) { return std::hash<std::string_view>{}(t); }

}  // namespace

TStamtavle::TStamtavle(std::span<const TVerPost> poster) {
  // 1. The fields of every record.
  std::vector<TRad> rader;
  rader.reserve(poster.size());
  std::string buskaper;
  for (const TVerPost& p : poster) {
    TRad r{p.Nummer, p.Farnr, p.MorFar, p.Mornr, 0, 0};
    if (p.Mornr > 0) {
      const std::size_t lengde = std::min<std::size_t>(p.Fodebuskap.lengde, sizeof p.Fodebuskap.tegn);
      r.buskap = static_cast<uint32_t>(buskaper.size());
      r.buskapLengde = static_cast<uint8_t>(lengde);
      buskaper.append(p.Fodebuskap.tegn, lengde);
    }
    rader.push_back(r);
  }
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
      if (nummer[i] != 0 && siste.Finn(nummer[i]) == static_cast<int32_t>(i))
        ramPost.push_back(static_cast<int32_t>(i));
  }
  const int32_t antRam = static_cast<int32_t>(ramPost.size());
  std::vector<int32_t> ramNummer(ramPost.size());
  {
    std::vector<std::pair<int32_t, int32_t>> par(ramPost.size());  // (number, record)
    for (std::size_t k = 0; k < ramPost.size(); ++k)
      par[k] = {rader[static_cast<std::size_t>(ramPost[k])].nummer, ramPost[k]};
    std::sort(par.begin(), par.end());
    for (std::size_t k = 0; k < par.size(); ++k) {
      ramNummer[k] = par[k].first;
      ramPost[k] = par[k].second;
    }
  }
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
    // A shared dam's index and the hash of her key; the records are looked
    // at only when the hashes agree.
    struct TPlass {
      uint64_t spre;
      int32_t mor = -1;
    };
    std::vector<TPlass> plass(storrelse);
    const std::size_t maske = storrelse - 1;
    for (int32_t k = 0; k < antRam; ++k) {
      const TRad& rad = rader[static_cast<std::size_t>(ramPost[static_cast<std::size_t>(k)])];
      if (rad.mornr <= 0 && rad.morfar == 0) continue;
      int32_t mor = -1;
      if (rad.mornr > 0) {
        const std::string_view b = buskap(rad);
        const uint64_t spre =
            Spre((static_cast<uint64_t>(static_cast<uint32_t>(rad.mornr)) << 32 ^ static_cast<uint32_t>(rad.morfar)) ^
                 TekstSpre(b));
        std::size_t h = spre & maske;
        for (; plass[h].mor >= 0; h = (h + 1) & maske) {
          if (plass[h].spre != spre) continue;
          const TRad& annen = rader[static_cast<std::size_t>(morRad[static_cast<std::size_t>(plass[h].mor)])];
          if (annen.mornr == rad.mornr && annen.morfar == rad.morfar && buskap(annen) == b) {
            mor = plass[h].mor;
            break;
          }
        }
        if (mor < 0) plass[h] = TPlass{spre, static_cast<int32_t>(morFar.size())};
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

  // 6. Places. A ram's place is its judging number, a dam's the lowest number
  // among her offspring, a number without a record's the lowest place among
  // its offspring. At the same place: a number without a record, a dam, a ram.
  const int32_t forsteMor = antRam + antUkjent;
  std::vector<int64_t> ukjentPlass(static_cast<std::size_t>(antUkjent), INT64_MAX);
  const auto plass = [&](int32_t x) -> int64_t {
    if (x < antRam) return ramNummer[static_cast<std::size_t>(x)];
    if (x >= forsteMor) return morBarn[static_cast<std::size_t>(x - forsteMor)];
    return ukjentPlass[static_cast<std::size_t>(x - antRam)];
  };
  for (int32_t x = 0; x < antall; ++x) {
    for (int32_t p : {far[static_cast<std::size_t>(x)], mor[static_cast<std::size_t>(x)]}) {
      if (p >= antRam && p < forsteMor)
        ukjentPlass[static_cast<std::size_t>(p - antRam)] =
            std::min(ukjentPlass[static_cast<std::size_t>(p - antRam)], plass(x));
    }
  }
  const auto slag = [&](int32_t x) { return x < antRam ? 2 : x >= forsteMor ? 1 : 0; };
  const auto foran = [&](int32_t a, int32_t b) {
    const int64_t pa = plass(a), pb = plass(b);
    if (pa != pb) return pa < pb;
    if (slag(a) != slag(b)) return slag(a) < slag(b);
    return a < b;
  };
  // Every animal by place: the rams and the dams are numbered so already (the
  // dams by their first offspring, met by rising number).
  std::vector<int32_t> etterPlass;
  etterPlass.reserve(static_cast<std::size_t>(antall));
  {
    std::vector<int32_t> ukjentRekke(static_cast<std::size_t>(antUkjent));
    for (int32_t u = 0; u < antUkjent; ++u) ukjentRekke[static_cast<std::size_t>(u)] = antRam + u;
    std::sort(ukjentRekke.begin(), ukjentRekke.end(), foran);
    std::vector<int32_t> ramRekke(static_cast<std::size_t>(antRam)),
        morRekke(static_cast<std::size_t>(antall - forsteMor));
    for (int32_t x = 0; x < antRam; ++x) ramRekke[static_cast<std::size_t>(x)] = x;
    for (int32_t x = forsteMor; x < antall; ++x) morRekke[static_cast<std::size_t>(x - forsteMor)] = x;
    std::vector<int32_t> del;
    std::merge(ukjentRekke.begin(), ukjentRekke.end(), morRekke.begin(), morRekke.end(), std::back_inserter(del),
               foran);
    std::merge(del.begin(), del.end(), ramRekke.begin(), ramRekke.end(), std::back_inserter(etterPlass), foran);
  }

  // The walk: the animals by place; one whose parents are not yet taken when
  // its place comes waits for them and follows the last of them. Animals in
  // a loop (and those after them) are never taken.
  const auto vandre = [&](std::vector<int32_t>& rekke) {
    rekke.clear();
    std::vector<int32_t> start(static_cast<std::size_t>(antall) + 1, 0), avkom;
    for (int32_t x = 0; x < antall; ++x)
      for (int32_t p : {far[static_cast<std::size_t>(x)], mor[static_cast<std::size_t>(x)]})
        if (p >= 0) ++start[static_cast<std::size_t>(p) + 1];
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    avkom.resize(static_cast<std::size_t>(start.back()));
    {
      std::vector<int32_t> fyll(start.begin(), start.end() - 1);
      for (int32_t x = 0; x < antall; ++x)
        for (int32_t p : {far[static_cast<std::size_t>(x)], mor[static_cast<std::size_t>(x)]})
          if (p >= 0) avkom[static_cast<std::size_t>(fyll[static_cast<std::size_t>(p)]++)] = x;
    }
    std::vector<uint8_t> mangler(static_cast<std::size_t>(antall));  // parents not yet taken
    for (int32_t x = 0; x < antall; ++x)
      mangler[static_cast<std::size_t>(x)] =
          static_cast<uint8_t>((far[static_cast<std::size_t>(x)] >= 0) + (mor[static_cast<std::size_t>(x)] >= 0));
    std::vector<uint8_t> naadd(static_cast<std::size_t>(antall), 0);  // its place has come
    std::vector<int32_t> stabel;
    for (int32_t x : etterPlass) {
      naadd[static_cast<std::size_t>(x)] = 1;
      if (mangler[static_cast<std::size_t>(x)] != 0) continue;
      stabel.push_back(x);
      while (!stabel.empty()) {
        const int32_t y = stabel.back();
        stabel.pop_back();
        rekke.push_back(y);
        for (int32_t i = start[static_cast<std::size_t>(y) + 1] - 1; i >= start[static_cast<std::size_t>(y)]; --i) {
          const int32_t c = avkom[static_cast<std::size_t>(i)];
          if (--mangler[static_cast<std::size_t>(c)] == 0 && naadd[static_cast<std::size_t>(c)]) stabel.push_back(c);
        }
      }
    }
  };
  std::vector<int32_t> rekke;
  rekke.reserve(static_cast<std::size_t>(antall));
  vandre(rekke);

  // 7. Loops. A link lies on a loop when the parent descends from the animal
  // (the two are in one strongly connected part, found with Tarjan's method
  // among the animals the walk could not take). Of those links, each that
  // goes to a parent coming after the animal by place is cut: every loop has
  // one, and where numbers follow the generations it is the link from an
  // older ram to a younger parent.
  if (rekke.size() < static_cast<std::size_t>(antall)) {
    std::vector<uint8_t> igjen(static_cast<std::size_t>(antall), 1);
    for (int32_t x : rekke) igjen[static_cast<std::size_t>(x)] = 0;
    std::vector<int32_t> del(static_cast<std::size_t>(antall), -1);  // strongly connected part
    std::vector<int32_t> indeks(static_cast<std::size_t>(antall), -1), lav(static_cast<std::size_t>(antall), 0);
    std::vector<int32_t> stabel;
    std::vector<std::pair<int32_t, int>> kall;  // (animal, next parent to look at)
    int32_t teller = 0, antDeler = 0;
    const auto forelder = [&](int32_t x, int k) -> int32_t {
      const int32_t p = k == 0 ? far[static_cast<std::size_t>(x)] : mor[static_cast<std::size_t>(x)];
      return p >= 0 && igjen[static_cast<std::size_t>(p)] ? p : -1;
    };
    for (int32_t rot = 0; rot < antall; ++rot) {
      if (!igjen[static_cast<std::size_t>(rot)] || indeks[static_cast<std::size_t>(rot)] >= 0) continue;
      kall.push_back({rot, 0});
      indeks[static_cast<std::size_t>(rot)] = lav[static_cast<std::size_t>(rot)] = teller++;
      stabel.push_back(rot);
      while (!kall.empty()) {
        const int32_t v = kall.back().first;
        const std::size_t vi = static_cast<std::size_t>(v);
        if (kall.back().second < 2) {
          const int32_t p = forelder(v, kall.back().second++);
          if (p < 0) continue;
          const std::size_t pi = static_cast<std::size_t>(p);
          if (indeks[pi] < 0) {
            indeks[pi] = lav[pi] = teller++;
            stabel.push_back(p);
            kall.push_back({p, 0});
          } else if (del[pi] < 0) {
            lav[vi] = std::min(lav[vi], indeks[pi]);
          }
          continue;
        }
        if (lav[vi] == indeks[vi]) {
          int32_t w;
          do {
            w = stabel.back();
            stabel.pop_back();
            del[static_cast<std::size_t>(w)] = antDeler;
          } while (w != v);
          ++antDeler;
        }
        kall.pop_back();
        if (!kall.empty()) {
          const std::size_t ui = static_cast<std::size_t>(kall.back().first);
          lav[ui] = std::min(lav[ui], lav[vi]);
        }
      }
    }
    for (int32_t x = 0; x < antall; ++x) {
      if (!igjen[static_cast<std::size_t>(x)]) continue;
      for (std::vector<int32_t>* forelderne : {&far, &mor}) {
        int32_t& p = (*forelderne)[static_cast<std::size_t>(x)];
        if (p >= 0 && igjen[static_cast<std::size_t>(p)] &&
            del[static_cast<std::size_t>(p)] == del[static_cast<std::size_t>(x)] && (p == x || foran(x, p))) {
          p = -1;
          ++sloyfer_;
        }
      }
    }
    vandre(rekke);
    if (rekke.size() != static_cast<std::size_t>(antall)) throw std::logic_error("stamtavla har en ring");
  }

  // Dams and numbers without a record as late as can be: just before their
  // first offspring in that order.
  {
    std::vector<int32_t> endelig;
    endelig.reserve(rekke.size());
    std::vector<uint8_t> tatt(static_cast<std::size_t>(antall), 0);
    const std::function<void(int32_t)> forEllers = [&](int32_t x) {
      for (int32_t p : {far[static_cast<std::size_t>(x)], mor[static_cast<std::size_t>(x)]}) {
        if (p < antRam || tatt[static_cast<std::size_t>(p)]) continue;
        forEllers(p);
        tatt[static_cast<std::size_t>(p)] = 1;
        endelig.push_back(p);
      }
    };
    for (int32_t x : rekke) {
      if (x >= antRam) continue;
      forEllers(x);
      tatt[static_cast<std::size_t>(x)] = 1;
      endelig.push_back(x);
    }
    rekke.swap(endelig);
  }

  // 8. The animals in that order.
  std::vector<int32_t> plassAv(static_cast<std::size_t>(antall));
  for (std::size_t i = 0; i < rekke.size(); ++i) plassAv[static_cast<std::size_t>(rekke[i])] = static_cast<int32_t>(i);
  far_.resize(static_cast<std::size_t>(antall));
  mor_.resize(static_cast<std::size_t>(antall));
  nummer_.resize(static_cast<std::size_t>(antall));
  ekstra_.resize(static_cast<std::size_t>(antall));
  slag_.resize(static_cast<std::size_t>(antall));
  std::vector<int32_t> tall(static_cast<std::size_t>(antall), 0);
  dyrForPost_.assign(rader.size(), -1);
  for (int32_t x = 0; x < antall; ++x) {
    const std::size_t i = static_cast<std::size_t>(plassAv[static_cast<std::size_t>(x)]);
    const int32_t f = far[static_cast<std::size_t>(x)], m = mor[static_cast<std::size_t>(x)];
    far_[i] = f < 0 ? -1 : plassAv[static_cast<std::size_t>(f)];
    mor_[i] = m < 0 ? -1 : plassAv[static_cast<std::size_t>(m)];
    if (x < antRam) {
      slag_[i] = TDyrSlag::Ver;
      nummer_[i] = ramNummer[static_cast<std::size_t>(x)];
      ekstra_[i] = ramPost[static_cast<std::size_t>(x)];
      dyrForPost_[static_cast<std::size_t>(ekstra_[i])] = static_cast<int32_t>(i);
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

TStamtavle TStamtavle::Aner(std::span<const int32_t> dyr) const {
  const std::size_t antall = far_.size();
  std::vector<uint8_t> med(antall, 0);
  std::vector<int32_t> stabel;
  const auto ta = [&](int32_t d) {
    if (d < 0 || static_cast<std::size_t>(d) >= antall || med[static_cast<std::size_t>(d)]) return;
    med[static_cast<std::size_t>(d)] = 1;
    stabel.push_back(d);
  };
  for (int32_t d : dyr) ta(d);
  while (!stabel.empty()) {
    const int32_t d = stabel.back();
    stabel.pop_back();
    ta(far_[static_cast<std::size_t>(d)]);
    ta(mor_[static_cast<std::size_t>(d)]);
  }
  // Parents come before their offspring, so their new numbers are known.
  TStamtavle t;
  t.dyrForPost_.assign(dyrForPost_.size(), -1);
  std::vector<int32_t> ny(antall, -1), tall;
  for (std::size_t i = 0; i < antall; ++i) {
    if (!med[i]) continue;
    const auto j = static_cast<int32_t>(t.far_.size());
    ny[i] = j;
    t.far_.push_back(far_[i] < 0 ? -1 : ny[static_cast<std::size_t>(far_[i])]);
    t.mor_.push_back(mor_[i] < 0 ? -1 : ny[static_cast<std::size_t>(mor_[i])]);
    t.nummer_.push_back(nummer_[i]);
    t.ekstra_.push_back(ekstra_[i]);
    t.slag_.push_back(slag_[i]);
    if (slag_[i] == TDyrSlag::Ver) t.dyrForPost_[static_cast<std::size_t>(ekstra_[i])] = j;
    tall.push_back(slag_[i] == TDyrSlag::Mor ? 0 : nummer_[i]);
  }
  t.indeks_.Bygg(tall);
  t.sloyfer_ = sloyfer_;
  t.poster_ = poster_;
  return t;
}

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
