# The zip's notices beyond Qt's LGPL and the GPL (cmake/windows.cmake): the third-party code in Qt's
# DLLs, the MinGW runtime's copyright, and licenses/SOURCES.txt, which names the Debian source
# package and version of every part the zip holds. scripts/windows-dependencies keeps, beside each
# part it builds, the source package and version it fetched (share/wadwright/debian-source) and,
# for Qt, Qt's own qt_attribution.json files with the licence files they name.

# A text of the zip, with Windows' line ends.
function(wadwright_text to content)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE ${CMAKE_BINARY_DIR}/notices/${to} "${content}")
  get_filename_component(folder ./${to} DIRECTORY)
  install(FILES ${CMAKE_BINARY_DIR}/notices/${to} DESTINATION ${folder})
endfunction()

# The source package and version each part was built from.
foreach(prefix ${WADWRIGHT_WINDOWS_PREFIX})
  if(EXISTS ${prefix}/share/wadwright/debian-source)
    file(STRINGS ${prefix}/share/wadwright/debian-source record LIMIT_COUNT 1)
    string(REPLACE " " ";" record "${record}")
    list(GET record 0 package)
    list(GET record 1 wadwright_source_${package})
  endif()
endforeach()
foreach(package qt6-base bzip2 xz-utils)
  if(NOT wadwright_source_${package})
    message(FATAL_ERROR "The Windows dependencies say nothing of ${package}'s source: run scripts/windows-dependencies")
  endif()
endforeach()
# The MinGW runtime's DLLs are Debian's own: the installed package that holds each says its source.
function(wadwright_debian_package file variable)
  get_filename_component(file ${file} REALPATH)
  execute_process(COMMAND dpkg-query --search ${file} OUTPUT_VARIABLE owner COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE ":.*" "" owner "${owner}")
  execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}" ${owner}
                  OUTPUT_VARIABLE source COMMAND_ERROR_IS_FATAL ANY)
  set(${variable} ${owner} "${source}" PARENT_SCOPE)
endfunction()
wadwright_debian_package(${wadwright_libstdcxx} wadwright_gcc)
wadwright_debian_package(${WADWRIGHT_WINPTHREAD} wadwright_mingw)
list(GET wadwright_gcc 0 wadwright_gcc_package)
list(GET wadwright_gcc 1 wadwright_gcc_source)
list(GET wadwright_mingw 0 wadwright_mingw_package)
list(GET wadwright_mingw 1 wadwright_mingw_source)
file(READ /usr/share/doc/${wadwright_gcc_package}/copyright wadwright_gcc_copyright)
file(READ /usr/share/doc/${wadwright_mingw_package}/copyright wadwright_mingw_copyright)
wadwright_text(licenses/GCC-runtime-copyright.txt "${wadwright_gcc_copyright}")
wadwright_text(licenses/MinGW-w64-copyright.txt "${wadwright_mingw_copyright}")

wadwright_text(licenses/SOURCES.txt "Wadwright ${PROJECT_VERSION} for 64-bit Windows: where the sources are

Wadwright's own source: https://wadwright.example.org (MIT licence, LICENSE.txt).

Everything else in this folder was built from Debian's source packages, with Debian's own patches
and nothing more. Each can be had from Debian with \"apt-get source PACKAGE=VERSION\" for as long
as Debian's archive holds that version, and at any time from
https://snapshot.debian.org/package/PACKAGE/ (every version Debian ever had).

  qt6-base ${wadwright_source_qt6-base}
      Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll, styles\\qwindowsvistastyle.dll
      (LGPL 3: licenses\\Qt-LGPL-3.txt, licenses\\GPL-3.txt; the code of others in them:
      licenses\\Qt-third-party.txt)
  ${wadwright_gcc_source}
      libstdc++-6.dll, libgcc_s_seh-1.dll
      (GPL 3 with the GCC Runtime Library Exception: licenses\\GCC-runtime-copyright.txt)
  ${wadwright_mingw_source}
      libwinpthread-1.dll, and the start-up code of every program
      (licenses\\MinGW-w64-copyright.txt)
  bzip2 ${wadwright_source_bzip2}
      in bspatch.exe (licenses\\bzip2-LICENSE.txt)
  xz-utils ${wadwright_source_xz-utils}
      liblzma, in bspatch.exe (licenses\\liblzma-COPYING.txt)
")

# The third-party code Qt's DLLs hold, by the Id of its qt_attribution.json entry: the Id, the DLL,
# and the Qt feature it comes with ("-": always). Entries for other systems (macOS, Unix, Android,
# WebAssembly, ARM), for modules not built (Network, D-Bus, OpenGL, Vulkan, Test) and for formats
# turned off (JPEG, Markdown) are not listed.
set(wadwright_qt_third_party
  blake2 Qt6Core -                    doubleconversion Qt6Core doubleconversion
  easing Qt6Core easingcurve          md4 Qt6Core -                   md5 Qt6Core -
  pcre2 Qt6Core regularexpression     pcre2-sljit Qt6Core regularexpression
  rfc6234 Qt6Core -                   sha1 Qt6Core -                  sha3_endian Qt6Core -
  sha3_keccak Qt6Core -               siphash Qt6Core -               tinycbor Qt6Core cborstreamreader
  unicode-character-database Qt6Core -                                unicode-cldr Qt6Core -
  zlib Qt6Core -
  aglfn Qt6Gui pdf                    freetype Qt6Gui freetype        freetype-bdf Qt6Gui freetype
  freetype-pcf Qt6Gui freetype        freetype-zlib Qt6Gui freetype   grayraster Qt6Gui -
  harfbuzz-ng Qt6Gui harfbuzz         icc-sRGB-color-profile Qt6Gui pdf
  libpng Qt6Gui png                   smooth-scaling-algorithm Qt6Gui -
  webgradients Qt6Gui -               xserverhelper Qt6Gui -)

# Qt's features as this Qt was built: "#define QT_FEATURE_name 1" (on) or -1 (off).
file(GLOB wadwright_qt_configs ${wadwright_qt_prefix}/include/Qt*/qt*-config.h
     ${wadwright_qt_prefix}/include/Qt*/*/Qt*/private/qt*-config_p.h)
foreach(config ${wadwright_qt_configs})
  file(STRINGS ${config} features REGEX "^#define QT_FEATURE_[a-z0-9_]+ -?1$")
  foreach(feature ${features})
    string(REGEX REPLACE "^#define QT_FEATURE_([a-z0-9_]+) (-?1)$" "\\1;\\2" feature "${feature}")
    list(GET feature 0 name)
    list(GET feature 1 wadwright_qt_feature_${name})
  endforeach()
endforeach()

# Every entry of Qt's attribution files, by Id: its file and its place in it.
file(GLOB_RECURSE wadwright_qt_attributions ${wadwright_qt_prefix}/share/wadwright/qt_attribution.json)
foreach(attribution ${wadwright_qt_attributions})
  file(READ ${attribution} json)
  string(JSON type TYPE "${json}")
  if(type STREQUAL "OBJECT")
    set(json "[${json}]")
  endif()
  string(JSON count LENGTH "${json}")
  math(EXPR last "${count} - 1")
  foreach(index RANGE ${last})
    string(JSON id GET "${json}" ${index} Id)
    set(wadwright_qt_attribution_${id} ${attribution} ${index})
  endforeach()
endforeach()

set(wadwright_third_party_credits "Code of others in Qt's DLLs

Qt's own DLLs (Qt6Core.dll, Qt6Gui.dll) hold code of others, under the notices below, as Qt's
qt_attribution.json files in its source (qt6-base ${wadwright_source_qt6-base}) name them.
")
set(wadwright_third_party "")
string(REPEAT "-" 78 wadwright_rule)
while(wadwright_qt_third_party)
  list(POP_FRONT wadwright_qt_third_party id dll feature)
  if(NOT feature STREQUAL "-")
    if(NOT DEFINED wadwright_qt_feature_${feature})
      message(FATAL_ERROR "This Qt does not say whether its feature '${feature}' is on (${id}'s notice)")
    endif()
    if(wadwright_qt_feature_${feature} STREQUAL "-1")
      continue()
    endif()
  endif()
  if(NOT wadwright_qt_attribution_${id})
    message(FATAL_ERROR "Qt's attribution files have no '${id}': run scripts/windows-dependencies")
  endif()
  list(GET wadwright_qt_attribution_${id} 0 attribution)
  list(GET wadwright_qt_attribution_${id} 1 index)
  file(READ ${attribution} json)
  string(JSON type TYPE "${json}")
  if(type STREQUAL "OBJECT")
    set(json "[${json}]")
  endif()
  string(JSON name GET "${json}" ${index} Name)
  string(APPEND wadwright_third_party "\n\n${wadwright_rule}\n${name}, in ${dll}.dll\n")
  foreach(field Version License Copyright)
    string(JSON value ERROR_VARIABLE missing GET "${json}" ${index} ${field})
    if(NOT missing)
      string(APPEND wadwright_third_party "${field}: ${value}\n")
    endif()
  endforeach()
  if(id STREQUAL "freetype")  # FreeType's licence asks for these words in the documentation
    string(REGEX MATCHALL "[0-9][0-9][0-9][0-9]" years "${value}")
    list(SORT years)
    list(POP_BACK years year)
    string(APPEND wadwright_third_party_credits "\nPortions of this software are copyright (C) ${year} The FreeType Project\n"
           "(www.freetype.org). All rights reserved.\n")
  endif()
  string(JSON license ERROR_VARIABLE missing GET "${json}" ${index} LicenseFile)
  if(NOT missing)
    get_filename_component(folder ${attribution} DIRECTORY)
    file(READ ${folder}/${license} text)
    string(APPEND wadwright_third_party "\n${text}")
  endif()
endwhile()
wadwright_text(licenses/Qt-third-party.txt "${wadwright_third_party_credits}${wadwright_third_party}")
