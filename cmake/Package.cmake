# The Debian package, made by "cpack" in a build configured with CMAKE_INSTALL_PREFIX=/usr
# and, as Debian keeps its games there, CMAKE_INSTALL_BINDIR=games (scripts/package.sh
# does both). It holds what the install rules install, stripped.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clavimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "The Clavimo developers <clavimo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typing speed game with letters and French words")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# clavimo_2.0.20_amd64.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links come from dpkg-shlibdeps. Qt loads the rest when it
# runs: the X11 platform and the sound back-ends come with the Qt libraries; the SQLite
# driver of the game history, the French texts of its dialogs, the font of the
# pictures and the keyboard layouts of the progression map (xkb-data) do not. Without the Wayland platform the program still runs on a Wayland
# desktop, through XWayland; without the PostgreSQL driver, only a classroom's shared
# history is missing (its games stay on each computer).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-translations-l10n, fonts-liberation, xkb-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libqt6sql6-psql")
# The first line of the description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Clavimo measures how fast you type. In one-letter mode it shows a random
capital letter, in six-letter mode a random French word; the player types
it and the time is measured to the millisecond, with a tenth of the time
added for every wrong key. A game is twenty items; several players take
turns, and each one's best time and average are compared with their
personal records and with the absolute records of the mode. The user
interface is in French.

Clavimo mesure la vitesse de frappe. En mode une lettre, il affiche une
majuscule tirée au hasard, en mode six lettres un mot français ; le joueur
le tape et le temps est mesuré à la milliseconde près, augmenté d'un
dixième à chaque touche fausse. Une partie compte vingt tirages ; plusieurs
joueurs peuvent se relayer, et le meilleur temps et la moyenne de chacun
sont comparés à ses records personnels et aux records absolus du mode.]=])

include(CPack)
