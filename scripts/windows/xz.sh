# liblzma for Windows, static: bspatch.exe reads the LZMA sections of VCDIFF patches
# with it (run by scripts/windows-dependencies in the work folder; SOURCE, PREFIX and TOOLCHAIN are
# set). Only the library is built: no xz programs, scripts, translations or documents.
cd "$SOURCE"
./configure --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --prefix="$PREFIX" \
  --enable-static --disable-shared --disable-xz --disable-xzdec --disable-lzmadec \
  --disable-lzmainfo --disable-lzma-links --disable-scripts --disable-doc --disable-nls \
  --disable-threads >/dev/null
make -j2 -C src/liblzma >/dev/null
make -C src/liblzma install >/dev/null
mkdir -p "$PREFIX/share/doc/xz"
cp COPYING "$PREFIX/share/doc/xz/"
