// Reading rams from a file the user already has: the archive or the export
// fetched with a browser, or given to hornstad-cli.
#pragma once

#include <filesystem>

#include "ramimport.h"

// Reads `fil` into Verene.Dat in the data folder: a ZIP archive (the file
// begins with "PK") is unpacked and its export converted as the download's
// import does it; any other file is taken as the export itself. The register
// is replaced whole, or, on any failure, left as it was. The user's file is
// not touched. Returns what the conversion counted. Throws IoFeil with a
// message for the user.
TKonvertering ImporterFil(const std::filesystem::path& fil, const TFremdrift& fremdrift = {});
