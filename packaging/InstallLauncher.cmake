# Runs at install time, from the install script: the `vorlix` link and the desktop entry.
# Expects VORLIX_BINDIR, VORLIX_DATADIR, VORLIX_LINK_TARGET, VORLIX_APP_ID and
# VORLIX_DESKTOP_TEMPLATE; CMAKE_INSTALL_PREFIX is the prefix of this install.

set(vorlix_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

set(vorlix_link "${vorlix_root}/${VORLIX_BINDIR}/vorlix")
message(STATUS "Installing: ${vorlix_link} -> ${VORLIX_LINK_TARGET}")
file(MAKE_DIRECTORY "${vorlix_root}/${VORLIX_BINDIR}")
file(CREATE_LINK "${VORLIX_LINK_TARGET}" "${vorlix_link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vorlix_link}")

# An absolute Exec: ~/.local/bin is only on the PATH of sessions started after it existed, and
# a menu entry that fails until the next login is no good. Desktop entries quote an argument
# with reserved characters in double quotes, escaping " ` $ \ inside; the string rules of the
# file then double every backslash, and % is the field-code escape.
set(vorlix_exec "${CMAKE_INSTALL_PREFIX}/${VORLIX_BINDIR}/vorlix")
if(vorlix_exec MATCHES "[\n\r]")
  message(FATAL_ERROR "A desktop entry cannot start a program whose path has a line break: ${vorlix_exec}")
endif()
if(vorlix_exec MATCHES "[^A-Za-z0-9/._+,@=:-]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" vorlix_exec "${vorlix_exec}")
  set(vorlix_exec "\"${vorlix_exec}\"")
endif()
string(REPLACE "\\" "\\\\" vorlix_exec "${vorlix_exec}")
string(REPLACE "%" "%%" vorlix_exec "${vorlix_exec}")
set(VORLIX_EXEC "${vorlix_exec}")

set(vorlix_desktop "${vorlix_root}/${VORLIX_DATADIR}/applications/${VORLIX_APP_ID}.desktop")
message(STATUS "Installing: ${vorlix_desktop}")
configure_file("${VORLIX_DESKTOP_TEMPLATE}" "${vorlix_desktop}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vorlix_desktop}")
