// Start-up rules, settings and texts of the main window, kept apart from the
// window so that tests and the command-line tool use them without a display.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSettings>
#include <QString>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "okt.h"
#include "versjon.h"

// The maker's web server when Hornstad.Ini names none ([Nett] Adresse).
inline constexpr const char* StandardAdresse = "http://www.hornstad.example";
// Paths on the maker's server.
inline constexpr const char* VerArkivSti = "/Ullvik/hsTokk2.zip";
inline constexpr const char* ProgramSti = "/Ullvik/hs.zip";

// The status line after a load: the number of rams, " værer " and the last archive name.
QString StatusTekst(std::size_t antall, const QString& sisteArkiv);

// Lookup and catalogue are offered only for a register of more than
// MinsteVerregister rams.
bool OppslagTillatt(std::size_t antall);

// An archive's file name as the status line keeps it: cut after the first
// '.', which stays ("Alt.Zip" becomes "Alt.").
QString KortArkivnavn(const QString& filnavn);

// A window's place as the settings file keeps it (section `Hoved`, `Ver` or
// `Katalog`: keys Left, Top, Bred, Hog); a key that is absent or unreadable
// is empty.
struct TPlass {
  std::optional<int> left, top, bred, hog;
};
TPlass LesPlass(const QSettings& ini, const QString& seksjon);
// Writes Left and Top, and with `medStorrelse` also Bred and Hog.
void SkrivPlass(QSettings& ini, const QString& seksjon, const QRect& plass, bool medStorrelse);

// Where a window goes that Hornstad.Ini places at `lagret` (its outer
// rectangle, frame included), given the available rectangles of the screens
// there are, the primary first. A window that lies wholly on the screens
// stays where it is. Otherwise (settings from a larger or a second monitor)
// it moves onto the screen it overlaps most, or, overlapping none, the
// nearest one, and is made no wider or taller than that screen.
QRect PaaSkjermen(const QRect& lagret, const QList<QRect>& skjermer);
// The same rule for a window whose inside is at `inni` and whose frame (the
// title bar and the borders the window system draws) adds `ramme` round it:
// the frame counts, so the whole window ends on the screen. Gives the
// inside's new rectangle.
QRect PaaSkjermen(const QRect& inni, const QMargins& ramme, const QList<QRect>& skjermer);

// The maker's server from [Nett] Adresse, without a trailing '/'. An
// address beginning "https://" is fetched over TLS.
QString Nettadresse(const QSettings& ini);

// The extra PEM file of trusted certificates from [Nett] Sertifikat, for a
// server whose certificate an organisation issues itself; a relative name is
// taken in the data folder. Empty when the key is absent or blank.
std::string Sertifikatfil(const QSettings& ini, const std::filesystem::path& dataMappe);

// Loads Bokmål texts for Qt's own dialogs and buttons (file and print
// dialogs, message boxes, standard buttons, edit menus), which the program
// carries itself; the system's Nynorsk translation fills what they leave
// out. False when the program's own texts could not be loaded.
bool LastNorskeQtTekster();
