# Installing the game like any Linux game: `cmake --install build --prefix P`
# gives P/bin/velmorique and its data in P/share/velmorique, which the program
# finds from its own folder (so the prefix can be moved), plus the launcher
# entry, its icons and the manual page. tools/package makes a Debian package
# of the same tree.
#
# The data is the build's data/ folder, except what the archive already holds
# (data/Ressources is packed into Ressources.dat) and what a game run from the
# build folder writes there: those files belong to a player, and an installed
# game writes its own into the player's folder.
install(TARGETS velmorique RUNTIME DESTINATION bin)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION share/velmorique
        PATTERN Ressources EXCLUDE
        PATTERN saves EXCLUDE
        PATTERN setup.ini EXCLUDE
        PATTERN settings.dat EXCLUDE
        PATTERN score.dat EXCLUDE
        PATTERN *.tmp EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/velmorique.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/desktop/icons/ DESTINATION share/icons/hicolor)
install(FILES ${CMAKE_BINARY_DIR}/desktop/velmorique.6.gz DESTINATION share/man/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmorique)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR "Velmorique")
set(CPACK_PACKAGE_CONTACT "Velmorique <velmorique@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animal chess on a 3D board")
set(CPACK_PACKAGE_DESCRIPTION
    "Two sides move eight animals each, from the Rat to the Elephant, on a board with lakes, traps and dens. Play against the computer at three levels, against a friend at the same machine or on the local network, follow the tutorial, save games and keep records. French interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; OpenGL is opened
# at run time through libepoxy, so its loader and Mesa's drivers are named
# here, and the desktop's opener, without which the game's links open nothing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libgl1-mesa-dri, xdg-utils")
include(CPack)

# What ./play builds: the program and the data it runs on, none of the tests.
add_custom_target(game DEPENDS velmorique)
add_dependencies(game game-data game-lights game-sounds game-models game-description)
