// Calendar dates as day counts from 30 December 1899 (day 0).
#pragma once

#include <optional>

struct Kalenderdato {
  int aar = 0;
  int maaned = 0;
  int dag = 0;
};

bool ErSkuddaar(int aar);
int DagerIMaaned(int aar, int maaned);
bool GyldigDato(int aar, int maaned, int dag);

// Day count of a valid calendar date (years 1 to 9999). A date that does not
// exist gives no value.
std::optional<double> EncodeDate(int aar, int maaned, int dag);
// The calendar date of a day count; the fraction of a day is ignored. A value
// that is not finite or lies outside the years 1 to 9999 gives no value.
std::optional<Kalenderdato> DecodeDate(double dato);

// ISO 8601 week number (1 to 53) of a day count.
int IsoUke(double dato);

// Today's date as a day count.
double IDag();
