#include "dato.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

// Days from 30 December 1899 to 1 January 1970.
constexpr int DagerTil1970 = 25569;

}  // namespace

bool ErSkuddaar(int aar) { return (aar % 4 == 0 && aar % 100 != 0) || aar % 400 == 0; }

int DagerIMaaned(int aar, int maaned) {
  static constexpr int dager[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (maaned < 1 || maaned > 12) return 0;
  if (maaned == 2 && ErSkuddaar(aar)) return 29;
  return dager[maaned - 1];
}

bool GyldigDato(int aar, int maaned, int dag) {
  return aar >= 1 && aar <= 9999 && dag >= 1 && dag <= DagerIMaaned(aar, maaned);
}

std::optional<double> EncodeDate(int aar, int maaned, int dag) {
  if (!GyldigDato(aar, maaned, dag)) return std::nullopt;
  using namespace std::chrono;
  const sys_days d{year{aar} / month{static_cast<unsigned>(maaned)} / day{static_cast<unsigned>(dag)}};
  return static_cast<double>(d.time_since_epoch().count() + DagerTil1970);
}

std::optional<Kalenderdato> DecodeDate(double dato) {
  // Day counts of 1 January 0001 and 31 December 9999.
  if (!std::isfinite(dato) || dato < -693593.0 || dato >= 2958466.0) return std::nullopt;
  using namespace std::chrono;
  const auto dager = static_cast<long long>(std::trunc(dato)) - DagerTil1970;
  const year_month_day ymd{sys_days{days{dager}}};
  return Kalenderdato{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                      static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int IsoUke(double dato) {
  using namespace std::chrono;
  const auto k = DecodeDate(dato);
  if (!k) return 0;
  const sys_days d{year{k->aar} / month{static_cast<unsigned>(k->maaned)} / day{static_cast<unsigned>(k->dag)}};
  // The Thursday of the same ISO week decides the week's year.
  const int ukedag = static_cast<int>(weekday{d}.iso_encoding());  // 1 = Monday
  const sys_days torsdag = d + days{4 - ukedag};
  const year_month_day ty{torsdag};
  const sys_days nyttaar{ty.year() / January / 1};
  return static_cast<int>((torsdag - nyttaar).count() / 7 + 1);
}

double IDag() {
  const std::time_t naa = std::time(nullptr);
  std::tm lokal{};
  localtime_r(&naa, &lokal);
  return EncodeDate(lokal.tm_year + 1900, lokal.tm_mon + 1, lokal.tm_mday).value_or(0.0);
}
