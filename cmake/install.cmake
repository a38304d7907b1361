# `cmake --install`: the program and its helpers together in one folder of their own, since it
# starts them from beside itself; on the PATH only a small launcher; the desktop entry and icon.
include(GNUInstallDirs)
set(WADWRIGHT_INSTALL_DIR lib/wadwright)

set(wadwright_programs wadwright)
# The helpers that are not built yet in a tree are left out rather than failing the install.
foreach(tool tool_command_com tool_md5sum tool_bspatch tool_explorer)
  if(TARGET ${tool})
    list(APPEND wadwright_programs ${tool})
  endif()
endforeach()
install(TARGETS ${wadwright_programs} RUNTIME DESTINATION ${WADWRIGHT_INSTALL_DIR})

file(RELATIVE_PATH WADWRIGHT_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${WADWRIGHT_INSTALL_DIR})
configure_file(app/wadwright.sh.in ${CMAKE_BINARY_DIR}/install/wadwright @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/wadwright DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(app/wadwright.desktop.in ${CMAKE_BINARY_DIR}/install/wadwright.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/wadwright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES app/icons/wadwright.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
