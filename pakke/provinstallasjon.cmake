# Installs the build folder BYGG into the throw-away prefix UT and checks what
# came out: exactly the expected files, a valid desktop entry whose program and
# icon are installed, icon bitmaps of the size their folder names, and a
# command-line tool that runs from where it was installed.
#   cmake -DBYGG=... -DUT=... -P provinstallasjon.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT BYGG OR NOT UT)
  message(FATAL_ERROR "Bruk: cmake -DBYGG=MAPPE -DUT=MAPPE -P provinstallasjon.cmake")
endif()

file(REMOVE_RECURSE "${UT}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BYGG}" --prefix "${UT}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE ut ERROR_VARIABLE ut)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install feilet (${rc}):\n${ut}")
endif()

set(ventet
    bin/hornstad
    bin/hornstad-cli
    share/applications/hornstad.desktop
    share/icons/hicolor/scalable/apps/hornstad.svg)
foreach(s 48 64 128 256)
  list(APPEND ventet share/icons/hicolor/${s}x${s}/apps/hornstad.png)
endforeach()
file(GLOB_RECURSE funnet LIST_DIRECTORIES false RELATIVE "${UT}" "${UT}/*")
list(SORT funnet)
list(SORT ventet)
if(NOT funnet STREQUAL ventet)
  message(FATAL_ERROR "Installerte filer:\n  ${funnet}\nventet:\n  ${ventet}")
endif()

foreach(program hornstad hornstad-cli)
  execute_process(COMMAND test -x "${UT}/bin/${program}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${UT}/bin/${program} er ikke kjørbar")
  endif()
endforeach()

# The desktop entry: valid, and it starts and shows what was installed.
set(oppforing "${UT}/share/applications/hornstad.desktop")
find_program(VALIDER desktop-file-validate)
if(NOT VALIDER)
  message(FATAL_ERROR "desktop-file-validate mangler (pakken desktop-file-utils; scripts/setup installerer den)")
endif()
execute_process(COMMAND "${VALIDER}" "${oppforing}" RESULT_VARIABLE rc OUTPUT_VARIABLE ut ERROR_VARIABLE ut)
if(NOT rc EQUAL 0 OR NOT ut STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate avviser ${oppforing}:\n${ut}")
endif()
file(STRINGS "${oppforing}" linjer ENCODING UTF-8)
foreach(krav "Name=Hornstad" "Exec=hornstad" "Icon=hornstad" "Terminal=false" "Type=Application")
  if(NOT krav IN_LIST linjer)
    message(FATAL_ERROR "${oppforing} mangler linja ${krav}")
  endif()
endforeach()

# Each bitmap is a PNG of the size its folder names (width and height in IHDR).
foreach(s 48 64 128 256)
  set(png "${UT}/share/icons/hicolor/${s}x${s}/apps/hornstad.png")
  file(READ "${png}" hode LIMIT 24 HEX)
  math(EXPR hex "${s}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 hex)
  string(LENGTH "${hex}" lengde)
  while(lengde LESS 8)
    string(PREPEND hex "0")
    string(LENGTH "${hex}" lengde)
  endwhile()
  string(TOLOWER "${hex}" hex)
  if(NOT hode STREQUAL "89504e470d0a1a0a0000000d49484452${hex}${hex}")
    message(FATAL_ERROR "${png} er ikke en PNG på ${s}x${s}: ${hode}")
  endif()
endforeach()

execute_process(COMMAND "${UT}/bin/hornstad-cli" --help RESULT_VARIABLE rc OUTPUT_VARIABLE ut ERROR_VARIABLE feil)
if(NOT rc EQUAL 0 OR NOT ut MATCHES "^Bruk: hornstad-cli")
  message(FATAL_ERROR "Den installerte hornstad-cli --help svarte ${rc}:\n${ut}${feil}")
endif()
file(REMOVE_RECURSE "${UT}")
