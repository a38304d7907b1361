# The Windows build: `wadwright.exe` is a console program, `wadwright-window.exe` a window program
# that opens no console; every program carries a manifest that makes the ANSI code page UTF-8
# (Windows 10 1903 and later), so that narrow names hold any character. `cpack` packs the zip
# a Windows user unpacks: the programs, their helpers, Qt's DLLs and plugins and the MinGW
# runtime in one folder, with the README and the licences.
set_target_properties(wadwright_window PROPERTIES WIN32_EXECUTABLE ON)

set(wadwright_programs wadwright wadwright_window tool_command_com tool_md5sum tool_bspatch)
foreach(program ${wadwright_programs})
  target_sources(${program} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/windows/utf8.rc)
endforeach()

set(WADWRIGHT_INSTALL_DIR .)
install(TARGETS ${wadwright_programs} RUNTIME DESTINATION .)

# Qt's DLLs, from the Qt the program was built with.
get_target_property(wadwright_qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(wadwright_qt_bin ${wadwright_qt_core} DIRECTORY)
get_filename_component(wadwright_qt_prefix ${wadwright_qt_bin} DIRECTORY)
install(FILES ${wadwright_qt_bin}/Qt6Core.dll ${wadwright_qt_bin}/Qt6Gui.dll ${wadwright_qt_bin}/Qt6Widgets.dll
        DESTINATION .)
install(FILES ${wadwright_qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${wadwright_qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)

# The MinGW runtime the programs link to.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE wadwright_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
                OUTPUT_VARIABLE wadwright_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(WADWRIGHT_WINPTHREAD libwinpthread-1.dll PATHS /usr/x86_64-w64-mingw32/lib REQUIRED NO_DEFAULT_PATH)
install(FILES ${wadwright_libstdcxx} ${wadwright_libgcc} ${WADWRIGHT_WINPTHREAD} DESTINATION .)

# The build folder's programs run as they are, the tests under Wine among them: the DLLs and
# plugins beside them too, offscreen's for the tests.
file(COPY ${wadwright_qt_bin}/Qt6Core.dll ${wadwright_qt_bin}/Qt6Gui.dll ${wadwright_qt_bin}/Qt6Widgets.dll
          ${wadwright_qt_bin}/Qt6Test.dll ${wadwright_libstdcxx} ${wadwright_libgcc} ${WADWRIGHT_WINPTHREAD}
     DESTINATION ${WADWRIGHT_BIN_DIR})
file(COPY ${wadwright_qt_prefix}/plugins/platforms/qwindows.dll ${wadwright_qt_prefix}/plugins/platforms/qoffscreen.dll
     DESTINATION ${WADWRIGHT_BIN_DIR}/platforms)
file(COPY ${wadwright_qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION ${WADWRIGHT_BIN_DIR}/styles)

# What the user reads: the README, Wadwright's licence, Qt's (LGPL 3, with the GPL it builds on).
install(FILES README.md DESTINATION .)
install(FILES docs/debian/copyright DESTINATION . RENAME LICENSE.txt)
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licenses RENAME Qt-LGPL-3.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licenses RENAME GPL-3.txt)

set(CPACK_PACKAGE_NAME wadwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Wadwright developers")
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME wadwright-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
