// Hornstad.Ini as plain "key=value" text, the way the older Windows program
// reads and writes it: a value is the text after '=', never a coded Qt value
// ("@Variant(…)" is only text here, so a damaged or foreign file cannot make
// the program build objects out of it), and written back as it reads.
// Open the file as QSettings(fil, InnstillingsFormat()).
#pragma once

#include <QSettings>

// The registered format (the same every call).
QSettings::Format InnstillingsFormat();

// The reader and writer behind it, for tests: text in, keys "Seksjon/Nokkel"
// (keys before any section, or in [General], without a section) out.
bool LesInnstillinger(QIODevice& fil, QSettings::SettingsMap& verdier);
bool SkrivInnstillinger(QIODevice& fil, const QSettings::SettingsMap& verdier);
