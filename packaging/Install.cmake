# Install rules. The game keeps its settings and scores beside the program, so it installs as
# one self-contained folder the player can write to, with a `vorlix` link on the PATH, a
# desktop entry, the hicolor icons and AppStream metainfo around it.

# The player's own prefix by default: no root needed, and the game folder stays writable.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME} AND NOT "$ENV{HOME}" STREQUAL "")
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH
      "Install prefix (default: the user's own ~/.local, so the game folder stays writable)" FORCE)
endif()
include(GNUInstallDirs)

set(VORLIX_APP_ID org.vorlix.Vorlix)
# Under share/ rather than lib/: the folder holds the player's own data, and with the default
# prefix that is ~/.local/share/vorlix, where Linux users look for it.
set(VORLIX_INSTALL_GAMEDIR ${CMAKE_INSTALL_DATADIR}/vorlix CACHE STRING
    "Game folder (program, pictures, Vorlix.ini, Vorlix.HS), relative to the install prefix")
if(IS_ABSOLUTE "${VORLIX_INSTALL_GAMEDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  message(FATAL_ERROR "VORLIX_INSTALL_GAMEDIR and CMAKE_INSTALL_BINDIR must be relative to the prefix")
endif()

install(TARGETS vorlix RUNTIME DESTINATION ${VORLIX_INSTALL_GAMEDIR})

set(vorlix_installed_pictures ${VORLIX_GAME_DIR}/bg.bmp ${VORLIX_GAME_DIR}/pit.bmp ${VORLIX_GAME_DIR}/blank.bmp)
foreach(n RANGE 1 20)
  list(APPEND vorlix_installed_pictures ${VORLIX_GAME_DIR}/piece${n}.bmp)
endforeach()
install(FILES ${vorlix_installed_pictures} DESTINATION ${VORLIX_INSTALL_GAMEDIR})

install(DIRECTORY ${VORLIX_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "vorlix.png")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${VORLIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The link and the desktop entry need the prefix, which `cmake --install --prefix` may change
# after configuring, so they are made at install time. A relative link survives DESTDIR
# staging and moving the whole prefix.
file(RELATIVE_PATH vorlix_link_target /p/${CMAKE_INSTALL_BINDIR} /p/${VORLIX_INSTALL_GAMEDIR}/vorlix)
install(CODE "
  set(VORLIX_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(VORLIX_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(VORLIX_LINK_TARGET \"${vorlix_link_target}\")
  set(VORLIX_APP_ID \"${VORLIX_APP_ID}\")
  set(VORLIX_DESKTOP_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/vorlix.desktop.in\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/InstallLauncher.cmake\")
")
