# Installing the game: the program in bin/, the default pack in share/lushera (the game never
# writes there: an installed game keeps its save in the player's home), a desktop entry, the
# icons, AppStream metadata and a man page. `cpack -G DEB` packs the same files into a Debian
# package.
include(GNUInstallDirs)
set(LUSHERA_APP_ID org.lushera.Lushera)
set(LUSHERA_DATA_DIR ${CMAKE_INSTALL_DATADIR}/lushera)

# The installed pack holds a fresh save, whatever the build tree's own save holds by now.
set(INSTALL_PACK ${CMAKE_BINARY_DIR}/install-pack)
add_custom_command(
  OUTPUT ${INSTALL_PACK}/dat/name.dat
  COMMAND pack_data ${CMAKE_SOURCE_DIR}/data ${INSTALL_PACK} --fresh
  DEPENDS pack_data ${DATA_SOURCES}
  COMMENT "Building the data pack to install")
add_custom_target(install_pack ALL DEPENDS ${INSTALL_PACK}/dat/name.dat)

install(TARGETS lushera RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${INSTALL_PACK}/dat ${INSTALL_PACK}/cg DESTINATION ${LUSHERA_DATA_DIR}
  FILE_PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)

install(FILES ${CMAKE_SOURCE_DIR}/dist/${LUSHERA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/lushera-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${LUSHERA_APP_ID}.png)
endforeach()

configure_file(${CMAKE_SOURCE_DIR}/dist/${LUSHERA_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/dist/${LUSHERA_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/lushera.6 ${CMAKE_BINARY_DIR}/dist/lushera.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${LUSHERA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/dist/lushera.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package: installed under /usr, the program stripped, the libraries it links found
# by dpkg-shlibdeps, the fonts the window draws with named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lushera)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small Japanese role-playing game of roads, battles and a town")
set(CPACK_PACKAGE_DESCRIPTION "A single-player role-playing game in one fixed window: the hero walks the roads of seven places while the life span drains, fights turn-based battles with 24 techniques that grow with use, and spends money, cards, swords and stars in town.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lushera developers <lushera@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, xfonts-mplus")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
