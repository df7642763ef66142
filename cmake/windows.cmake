# The Windows build, cross-compiled on Debian with MinGW-w64 against the Qt of
# tools/windows/build-qt.sh (`make windows`, `make test-windows`).
#
# Every program of the build lands in bin/, beside a qt.conf that finds Qt's
# plugins in the Qt prefix and the Italian texts of Qt's dialogs in
# translations/ (Debian's qtbase_it.qm, which the installer carries too). When
# cross-compiling, ctest and the build steps start the programs under Wine, in
# a Wine prefix of the build folder (tools/windows/wine-run.sh).

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The Qt for Windows: Qt6_DIR is <prefix>/lib/cmake/Qt6.
get_filename_component(VELMORA_WIN_QT ${Qt6_DIR}/../../.. ABSOLUTE)

set(VELMORA_QT_TRANSLATIONS /usr/share/qt6/translations
    CACHE PATH "Folder holding qtbase_it.qm (Debian's qt6-translations-l10n)")
set(VELMORA_QTBASE_IT ${VELMORA_QT_TRANSLATIONS}/qtbase_it.qm)
if(NOT EXISTS ${VELMORA_QTBASE_IT})
  message(FATAL_ERROR "Manca ${VELMORA_QTBASE_IT}: installare qt6-translations-l10n")
endif()
file(COPY ${VELMORA_QTBASE_IT} DESTINATION ${CMAKE_BINARY_DIR}/translations)

# Paths as the Windows programs see them: under Wine the host's / is drive Z:.
function(velmora_windows_path out path)
  if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    set(path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
velmora_windows_path(qt_prefix ${VELMORA_WIN_QT})
velmora_windows_path(translations ${CMAKE_BINARY_DIR}/translations)
file(WRITE ${CMAKE_BINARY_DIR}/bin/qt.conf
  "[Paths]\nPrefix=${qt_prefix}\nTranslations=${translations}\n")

# The headless platform of the tests finds no font of Windows' own under Wine:
# it gets the Liberation fonts (metric twins of Arial and Courier New), as the
# tests have on Linux.
file(GLOB liberation /usr/share/fonts/truetype/liberation/*.ttf)
if(NOT liberation)
  message(FATAL_ERROR "Mancano i caratteri Liberation: installare fonts-liberation")
endif()
file(COPY ${liberation} DESTINATION ${CMAKE_BINARY_DIR}/fonts)
velmora_windows_path(VELMORA_TEST_FONTS ${CMAKE_BINARY_DIR}/fonts)

if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR sh ${PROJECT_SOURCE_DIR}/tools/windows/wine-run.sh
      ${CMAKE_BINARY_DIR}/wine ${VELMORA_WIN_QT})
endif()
