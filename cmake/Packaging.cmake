# The Debian package: `cpack -G DEB` in the build folder gives
# pellix_<version>_<arch>.deb, checked by scripts/check-package.sh.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellix)
set(CPACK_PACKAGE_VENDOR "The Pellix maintainers")
set(CPACK_PACKAGE_CONTACT "The Pellix maintainers <pellix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen capture and character recognition")
set(CPACK_PACKAGE_DESCRIPTION
    "Pellix takes a picture of the whole desktop, of the active window or of a
region dragged out on a frozen copy of the screen, at once or when Control
and Shift are held in another program. The picture goes to the clipboard and
to Pellix.JPG on the desktop; Recognize reads its text with Tesseract, in one
of 21 languages, and puts it on the clipboard.

pellix-ocr does the same recognition for image files from scripts.

Pellix runs on X11 desktops and on Wayland desktops through the portals.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pellix.example.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the programs and the engine module link come from
# dpkg-shlibdeps, with the versions they need; what is loaded by name only is
# listed here: the English data that every recognition uses, Qt's Wayland
# platform, the opener of the help and the image, the desktop folder's name,
# the window font. The other languages' data are suggested.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, xdg-utils, xdg-user-dirs, fonts-crosextra-carlito")
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/languages.tsv language_lines REGEX "^[^#]")
set(language_packages "")
foreach(line IN LISTS language_lines)
    string(REGEX REPLACE ".*\t" "" package "${line}")
    if(NOT package STREQUAL "-" AND NOT package STREQUAL "tesseract-ocr-eng")
        list(APPEND language_packages ${package})
    endif()
endforeach()
list(JOIN language_packages ", " language_packages)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "${language_packages}, xdg-desktop-portal")

include(CPack)
