# The Windows build: `wadwright.exe` is a console program, `wadwright-window.exe` a window program
# that opens no console; every program carries a manifest that makes the ANSI code page UTF-8
# (Windows 10 1903 and later), so that narrow names hold any character, and that declares it
# ready for paths longer than MAX_PATH (where Windows 10 1607 and later has them turned on). scripts/build-windows packs
# the zip a Windows user unpacks: the programs, their helpers, Qt's DLLs and plugins and the MinGW
# runtime in one folder, with the README and the licences. Two builds of one commit give the
# same bytes: no time stamp in the programs, and every file of the zip dated by the commit.
set_target_properties(wadwright_window PROPERTIES WIN32_EXECUTABLE ON)
add_link_options(-Wl,--no-insert-timestamp)

set(wadwright_programs wadwright wadwright_window tool_command_com tool_md5sum tool_sha1sum tool_bspatch tool_fetch)
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
# Debian's MinGW runtime keeps its debug sections (libstdc++-6.dll is 24 MB with them, 2 MB without):
# every DLL the zip takes in is stripped as it is installed, as the programs are.
install(CODE "
  file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
  foreach(dll \${dlls})
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dll} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")

# The build folder's programs run as they are, the tests under Wine among them: the DLLs and
# plugins beside them too, offscreen's for the tests.
file(COPY ${wadwright_qt_bin}/Qt6Core.dll ${wadwright_qt_bin}/Qt6Gui.dll ${wadwright_qt_bin}/Qt6Widgets.dll
          ${wadwright_qt_bin}/Qt6Test.dll ${wadwright_libstdcxx} ${wadwright_libgcc} ${WADWRIGHT_WINPTHREAD}
     DESTINATION ${WADWRIGHT_BIN_DIR})
file(COPY ${wadwright_qt_prefix}/plugins/platforms/qwindows.dll ${wadwright_qt_prefix}/plugins/platforms/qoffscreen.dll
     DESTINATION ${WADWRIGHT_BIN_DIR}/platforms)
file(COPY ${wadwright_qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION ${WADWRIGHT_BIN_DIR}/styles)

# What the user reads, with Windows' line ends: a README for Windows, Wadwright's licence, Qt's (LGPL
# 3, with the GPL it builds on), the notices of bzip2 and liblzma, which the patch tool holds, and
# the rest (cmake/windows/notices.cmake).
function(wadwright_notice from to)
  configure_file(${from} ${CMAKE_BINARY_DIR}/notices/${to} @ONLY NEWLINE_STYLE WIN32)
  get_filename_component(folder ./${to} DIRECTORY)
  install(FILES ${CMAKE_BINARY_DIR}/notices/${to} DESTINATION ${folder})
endfunction()
find_file(WADWRIGHT_BZIP2_LICENSE share/doc/bzip2/LICENSE PATHS ${WADWRIGHT_WINDOWS_PREFIX} REQUIRED NO_DEFAULT_PATH)
find_file(WADWRIGHT_XZ_LICENSE share/doc/xz/COPYING PATHS ${WADWRIGHT_WINDOWS_PREFIX} REQUIRED NO_DEFAULT_PATH)
wadwright_notice(docs/windows/README.txt README.txt)
wadwright_notice(docs/debian/copyright LICENSE.txt)
wadwright_notice(/usr/share/common-licenses/LGPL-3 licenses/Qt-LGPL-3.txt)
wadwright_notice(/usr/share/common-licenses/GPL-3 licenses/GPL-3.txt)
wadwright_notice(${WADWRIGHT_BZIP2_LICENSE} licenses/bzip2-LICENSE.txt)
wadwright_notice(${WADWRIGHT_XZ_LICENSE} licenses/liblzma-COPYING.txt)
include(${CMAKE_SOURCE_DIR}/cmake/windows/notices.cmake)
