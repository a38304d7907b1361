# `cmake --install`: the program and its helpers together in one folder of their own, since it
# starts them from beside itself; on the PATH only a small launcher; the desktop entry, its
# software centres' metainfo and the icon;
# the manual page, the copyright and the changelog where Debian keeps them.
include(GNUInstallDirs)
set(WADWRIGHT_INSTALL_DIR lib/wadwright)

set(wadwright_programs wadwright wadwright_window)
# The helpers that are not built yet in a tree are left out rather than failing the install.
foreach(tool tool_command_com tool_md5sum tool_sha1sum tool_bspatch tool_fetch tool_explorer)
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
configure_file(window/wadwright.sh.in ${CMAKE_BINARY_DIR}/install/wadwright @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/wadwright DESTINATION ${CMAKE_INSTALL_BINDIR})

# Software centres find the desktop entry by the metainfo's id: the two are named alike.
set(WADWRIGHT_APP_ID org.example.wadwright)
configure_file(window/wadwright.desktop.in ${CMAKE_BINARY_DIR}/install/${WADWRIGHT_APP_ID}.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${WADWRIGHT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The metainfo's release is the changelog's newest entry, dated as its sign-off line.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS docs/debian/changelog)
file(STRINGS docs/debian/changelog wadwright_signoffs REGEX "^ -- ")
list(GET wadwright_signoffs 0 wadwright_signoff)
string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " wadwright_date "${wadwright_signoff}")
set(wadwright_day ${CMAKE_MATCH_1})
set(wadwright_year ${CMAKE_MATCH_3})
set(wadwright_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND wadwright_months "${CMAKE_MATCH_2}" wadwright_month)
if(wadwright_month LESS 0)
  message(FATAL_ERROR "docs/debian/changelog: no date in \"${wadwright_signoff}\"")
endif()
math(EXPR wadwright_month "${wadwright_month} + 101")  # three digits, the last two with a leading zero
string(SUBSTRING ${wadwright_month} 1 2 wadwright_month)
set(WADWRIGHT_RELEASE_DATE "${wadwright_year}-${wadwright_month}-${wadwright_day}")
configure_file(window/${WADWRIGHT_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/install/${WADWRIGHT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${WADWRIGHT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES window/icons/wadwright.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

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
