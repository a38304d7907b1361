# `cmake --install`: the program and its helpers together in one folder of their own, since it
# starts them from beside itself; on the PATH only a small launcher; the desktop entry and icon;
# the manual page, the copyright and the changelog where Debian keeps them.
include(GNUInstallDirs)
set(WADWRIGHT_INSTALL_DIR lib/wadwright)

set(wadwright_programs wadwright wadwright_window)
# The helpers that are not built yet in a tree are left out rather than failing the install.
foreach(tool tool_command_com tool_md5sum tool_bspatch tool_explorer)
  if(TARGET ${tool})
    list(APPEND wadwright_programs ${tool})
  endif()
endforeach()
install(TARGETS ${wadwright_programs} RUNTIME DESTINATION ${WADWRIGHT_INSTALL_DIR})
# A stripped install (cpack, or --strip) also drops the compiler's notes, as Debian's dh_strip does.
foreach(program ${wadwright_programs})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${WADWRIGHT_INSTALL_DIR}/$<TARGET_FILE_NAME:${program}>\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endforeach()

file(RELATIVE_PATH WADWRIGHT_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${WADWRIGHT_INSTALL_DIR})
configure_file(app/wadwright.sh.in ${CMAKE_BINARY_DIR}/install/wadwright @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/wadwright DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(app/wadwright.desktop.in ${CMAKE_BINARY_DIR}/install/wadwright.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/wadwright.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES app/icons/wadwright.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# Compressed at build time, without name or time stamp, so that two builds pack the same bytes.
find_program(WADWRIGHT_GZIP gzip REQUIRED)
set(wadwright_docs)
foreach(document docs/wadwright.1 docs/debian/changelog)
  get_filename_component(name ${document} NAME)
  set(packed ${CMAKE_BINARY_DIR}/install/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${WADWRIGHT_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/${document} > ${packed}
    DEPENDS ${CMAKE_SOURCE_DIR}/${document} VERBATIM)
  list(APPEND wadwright_docs ${packed})
endforeach()
add_custom_target(wadwright_docs ALL DEPENDS ${wadwright_docs})
install(FILES ${CMAKE_BINARY_DIR}/install/wadwright.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/install/changelog.gz docs/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wadwright)
install(FILES docs/debian/lintian-overrides RENAME wadwright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
