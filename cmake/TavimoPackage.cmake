# The Debian package made by scripts/package. Library dependencies come from
# the binaries (dpkg-shlibdeps); what Qt and Tesseract load at run time is
# named here, and the font text marks and the legend are drawn in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimo-capture)
set(CPACK_PACKAGE_VENDOR Tavimo)
set(CPACK_PACKAGE_CONTACT "Tavimo <capture@tavimo.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Capture, annotate and share. Local by design.")
set(CPACK_PACKAGE_DESCRIPTION
    "A tray screenshot tool: area, window and display captures, an annotation editor, boards, on-device text recognition, PNG export and pinned images.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng, qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
