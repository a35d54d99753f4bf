# `cpack -G DEB` in the build folder makes velvasto_<version>_<arch>.deb of what `cmake --install`
# puts in place. The shared libraries the programs link come from dpkg-shlibdeps; the packages
# below are what they need besides: the SoundFont the built-in synthesizer loads by default
# (default-GM.sf2), Qt's platform plugins to open a window, and the desktop's tools the file
# association runs. Japanese texts want a CJK font and Qt's Japanese translation.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velvasto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velvasto developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI player for Standard MIDI Files and Recomposer songs")
set(CPACK_PACKAGE_DESCRIPTION
    "Velvasto plays Standard MIDI Files and the songs of the Japanese Recomposer sequencer (RCP, R36, G36, G18) through up to two MIDI output ports, with a built-in General MIDI synthesizer. velvasto is the desktop program; velvasto-cli plays, renders, converts and inspects songs in a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Velvasto developers <maintainers@velvasto.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fluid-soundfont-gm | sf2-soundfont-gm, qt6-qpa-plugins, xdg-utils, desktop-file-utils, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-liberation2, qt6-translations-l10n")
include(CPack)
