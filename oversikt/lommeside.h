// The pocket catalogue's page apart from its data: the style sheet, the
// script and the HTML around them (UTF-8).
#pragma once

#include <string_view>

// The style sheet, as it stands between <style> and </style>.
std::string_view LommesideStil();
// The script, as it stands between <script> and </script>. It reads the
// data from the element with the id "data" and builds the list and the
// cards from it with textContent only.
std::string_view LommesideSkript();
