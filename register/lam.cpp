#include "lam.h"

#include <cstring>

#include "tekst.h"

std::string LamFilNavn(int aar) {
  std::string a = IntToText(aar);
  if (a.size() < 4) a = std::string(4 - a.size(), '0') + a;
  return "Lamma" + a + ".Dat";
}

namespace {

int32_t Heltall(const std::string& felt) { return static_cast<int32_t>(TextToInt(felt)); }
uint8_t Byte(const std::string& felt) { return static_cast<uint8_t>(TextToInt(felt) & 0xFF); }
// A count that does not fit in a byte is taken as unknown.
int16_t Antall(const std::string& felt) {
  const int64_t v = TextToInt(felt);
  return v > 255 ? int16_t{0} : static_cast<int16_t>(v);
}

}  // namespace

bool KonverterLamLinje(std::string_view linje, TLamPost& p, TTupp& tupp) {
  std::memset(&p, 0, sizeof p);
  std::string rest(linje);
  std::string k[28];
  k[1] = NextField(rest);
  p.Kol1 = Heltall(k[1]);
  if (p.Kol1 == 0) return false;
  for (int i = 2; i <= 27; ++i) k[i] = NextField(rest);  // column 23 is read and dropped

  p.Kol2 = Heltall(k[2]);
  p.Kol3 = Byte(k[3]);
  p.Kol4 = static_cast<int16_t>(TextToInt(k[4]));
  p.Kol5 = Byte(k[5]);
  p.Kol6 = CompactTextToDate(k[6]);
  p.Kol7 = Byte(k[7]);
  p.Kol8 = Byte(k[8]);
  p.Kol9 = Heltall(k[9]);
  p.Kol10 = CompactTextToDate(k[10]);
  p.Kol11 = TextToReal(k[11]);
  p.Kol12 = Byte(k[12]);
  p.Kol13 = static_cast<int16_t>(RoundHalfAway(TextToReal(k[13])));
  p.Kol14 = CompactTextToDate(k[14]);
  p.Kol15 = Antall(k[15]);
  p.Kol16 = Antall(k[16]);
  p.Kol17 = Antall(k[17]);
  p.Kol18 = Antall(k[18]);
  p.Kol19 = Antall(k[19]);
  p.Kol20 = Antall(k[20]);
  p.Kol21 = Antall(k[21]);
  p.Kol22 = Heltall(k[22]);
  p.Kol24 = Heltall(k[24]);
  p.Kol25 = Byte(k[25]);
  p.Kol26 = static_cast<int16_t>(TextToInt(k[26]));
  p.Kol27 = Heltall(k[27]);

  tupp = TTupp{};
  tupp.Kol1 = p.Kol1;
  tupp.Kol2 = p.Kol2;
  const int16_t verdier[8] = {p.Kol15, p.Null52, p.Kol19, p.Kol16, p.Kol17, p.Kol18, p.Kol20, p.Kol21};
  std::memcpy(tupp.Verdier, verdier, sizeof verdier);
  tupp.Dato = p.Kol14;
  return true;
}

void KonverterMedlemLinje(std::string_view linje, TProdusentPost& p) {
  std::memset(&p, 0, sizeof p);
  std::string rest(linje);
  std::string k[17];
  for (int i = 1; i <= 16; ++i) k[i] = NextField(rest);
  p.Nummer = Heltall(k[1]);
  p.Kol2.Sett(k[2]);
  p.Kol3.Sett(k[3]);
  p.Kol4.Sett(k[4]);
  p.Kol5.Sett(k[5]);
  p.Kol6.Sett(k[6]);
  p.Kol7 = Heltall(k[7]);
  p.Kol8 = CompactTextToDate(k[8]);
  p.Kol9 = CompactTextToDate(k[9]);
  p.Kol10 = TextToReal(k[10]);
  p.Kol11 = CompactTextToDate(k[11]);
  p.Kol12 = CompactTextToDate(k[12]);
  p.Kol13 = TextToReal(k[13]);
  p.Kol14 = CompactTextToDate(k[14]);
  p.Kol15 = CompactTextToDate(k[15]);
  p.Kol16 = TextToReal(k[16]);
}

int32_t FindProducer(int32_t nummer, const std::vector<TProdusentElement>& liste) {
  for (std::size_t i = 0; i < liste.size(); ++i)
    if (liste[i].nummer == nummer) return static_cast<int32_t>(i);
  return -1;
}
