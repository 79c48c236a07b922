# The Debian package (`scripts/package` runs cpack): the bundle under /usr/lib/tavrino,
# links in /usr/bin, launcher, icon and manual pages under /usr/share. Library
# dependencies come from dpkg-shlibdeps; the programs we call at run time are named here
# with Debian 12's package names, so that nothing is downloaded at install.

# Manual pages, compressed as Debian wants them (reproducibly: no name, no time stamp).
foreach(page tavrino tavrino-cli)
  install(CODE "
    set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")
    file(MAKE_DIRECTORY \"\${target}\")
    execute_process(COMMAND gzip -9nc \"${PROJECT_SOURCE_DIR}/resources/man/${page}.1\"
                    OUTPUT_FILE \"\${target}/${page}.1.gz\" COMMAND_ERROR_IS_FATAL ANY)
  ")
endforeach()
install(CODE "
  set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/tavrino\")
  file(MAKE_DIRECTORY \"\${target}\")
  execute_process(COMMAND gzip -9nc \"${PROJECT_SOURCE_DIR}/resources/changelog\"
                  OUTPUT_FILE \"\${target}/changelog.gz\" COMMAND_ERROR_IS_FATAL ANY)
")
install(FILES "${PROJECT_SOURCE_DIR}/resources/copyright"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tavrino")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavrino")
set(CPACK_PACKAGE_VENDOR "Korvanta")
set(CPACK_PACKAGE_CONTACT "Korvanta <tavrino@korvanta.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert files in the middle of a drag")
set(CPACK_PACKAGE_DESCRIPTION
    "A radial wheel under the pointer converts images, PDFs and HWP, HWPX or DOCX documents, or applies tools; results are written beside the source under a name that never overwrites. tavrino-cli offers the same from the command line. Files never leave the machine.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libreoffice-writer-nogui | libreoffice-writer, tesseract-ocr, tesseract-ocr-kor, tesseract-ocr-eng, zip, unzip, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libnotify-bin")
# Only our own files: /usr, /usr/bin and friends belong to the system.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
