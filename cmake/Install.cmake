# Installing: the three programs live in a program folder of their own
# (PREFIX/lib/quillon/), because the reader keeps its settings, bookmarks,
# results page, message page and search logo beside its executable; PREFIX/bin
# holds links to them. A program folder that cannot be written sends the
# writable files to ~/.config/quillon/ at run time.
include(GNUInstallDirs)

set(QUILLON_PROGRAM_FOLDER ${CMAKE_INSTALL_LIBDIR}/quillon)
if(CMAKE_INSTALL_LIBDIR MATCHES "^lib/")
  # Debian's multiarch lib folder would hide the program folder from people
  # looking for it; one folder under lib/ is where they look.
  set(QUILLON_PROGRAM_FOLDER lib/quillon)
endif()

install(TARGETS quillon kovra quillon-render RUNTIME DESTINATION ${QUILLON_PROGRAM_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/sample/KOVRAMSG.HTM ${PROJECT_SOURCE_DIR}/sample/KOVRAJ.GIF
  DESTINATION ${QUILLON_PROGRAM_FOLDER})
foreach(program quillon kovra quillon-render)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/${program}\")
    file(CREATE_LINK \"../${QUILLON_PROGRAM_FOLDER}/${program}\" \"\${bin}/${program}\" SYMBOLIC)
    message(STATUS \"Linking: \${bin}/${program}\")")
endforeach()

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${packaging}/org.quillon.reader.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/org.quillon.reader.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/icons/quillon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128)
  install(FILES ${packaging}/icons/quillon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quillon.png)
endforeach()
install(FILES ${packaging}/man/quillon.1 ${packaging}/man/kovra.1 ${packaging}/man/quillon-render.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB in a release build makes quillon_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "The Quillon developers <quillon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Offline reader and keyword search for HTML document collections")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillon reads collections of HTML documents from local disks, network shares and CD-ROMs with its own rendering engine, and finds keywords in them with its search engine KOVRA.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG pictures and icons are drawn by Qt's SVG module, loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2")
include(CPack)
