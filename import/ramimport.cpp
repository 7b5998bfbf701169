#include "ramimport.h"

#include "tekst.h"

namespace {

float TiendeDel(const std::string& felt) { return SafeDiv(TextToReal(felt), 10.0f); }

}  // namespace

bool ConvertRamLine(std::string linje, TVerPost& p) {
  p = TomVerPost();
  std::string felt[51];
  felt[1] = NextField(linje);
  felt[2] = NextField(linje);
  felt[3] = NextField(linje);
  p.Nummer = static_cast<int32_t>(TextToInt(felt[3]));
  if (p.Nummer == 0) return false;
  for (int k = 4; k <= 50; ++k) felt[k] = NextField(linje);

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
