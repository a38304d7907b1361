# Qt's qtbase for Windows from Debian's source package, with Debian's patches (run by
# scripts/windows-dependencies in the work folder; SOURCE, PREFIX and TOOLCHAIN are set). Only what
# the programs and their tests use is built: Core, Gui, Widgets and Test, shared, with the windows
# and offscreen platform plugins and the Vista style; no examples, tests or tools of Qt's own, no
# Direct2D plugin and no JPEG or GIF image formats. Debian's moc, rcc and uic of the
# same version do the host's part. Qt's own bundled zlib, libpng, freetype, harfbuzz and pcre2 are
# used. The source lacks wintab.h, so tablet events are off; OpenGL off needs dynamic OpenGL off
# too, or the windows plugin breaks; and Direct2D off needs DirectWrite 3 off, whose font database
# Qt 6.4 builds only with Direct2D (GDI's, the default, stays). The widgets, dialogs and parts of
# Gui and Core that neither our windows nor the Windows style (which draws tabs, combo and spin
# boxes, item views, docks and tool bars) use are left out too (graphics view, MDI, calendars, the
# file, colour and font dialogs, wizards, undo, PDF, the tray, the MIME database): on a new machine
# this build is most of the test command's time. FreeType stays: the offscreen platform, which the
# tests use, draws its text with it.
features_off=(system_zlib system_png system_jpeg system_freetype system_harfbuzz system_pcre2
  system_doubleconversion system_libb2 system_textmarkdownreader textmarkdownreader textmarkdownwriter
  sql network dbus opengl dynamicgl vulkan printsupport xml concurrent icu tabletevent
  direct2d directwrite3 jpeg gif
  graphicsview graphicseffect mdiarea splitter scroller statusbar calendarwidget datetimeedit fontcombobox
  lcdnumber dial toolbox keysequenceedit treewidget tablewidget columnview datawidgetmapper undoview
  textbrowser syntaxhighlighter splashscreen filedialog fscompleter filesystemmodel colordialog fontdialog
  wizard errormessage pdf textodfwriter picture movie undocommand undostack undogroup systemtrayicon
  mimetype)
# Optimised for size (-Os rather than CMake's -O3): smaller DLLs, built in less time.
features_on=(optimize_size)
options=()
for feature in "${features_off[@]}"; do options+=("-DFEATURE_$feature=OFF"); done
for feature in "${features_on[@]}"; do options+=("-DFEATURE_$feature=ON"); done
cmake -S "$SOURCE" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_INSTALL_PREFIX="$PREFIX" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DBUILD_SHARED_LIBS=ON \
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_MANUAL_TESTS=OFF -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++ "${options[@]}"
cmake --build build -j2
cmake --install build
