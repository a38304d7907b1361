# bzip2's library for Windows: a static libbz2.a and bzlib.h (run by scripts/windows-dependencies,
# in the work folder; SOURCE, PREFIX and TOOLCHAIN are set). The library is the seven sources that
# bzip2's own Makefile compiles; the programs are not needed.
cd "$SOURCE"
objects=()
for part in blocksort huffman crctable randtable compress decompress bzlib; do
  x86_64-w64-mingw32-gcc-posix -O2 -D_FILE_OFFSET_BITS=64 -c "$part.c" -o "$part.o"
  objects+=("$part.o")
done
mkdir -p "$PREFIX/lib" "$PREFIX/include" "$PREFIX/share/doc/bzip2"
x86_64-w64-mingw32-ar rcs "$PREFIX/lib/libbz2.a" "${objects[@]}"
cp bzlib.h "$PREFIX/include/"
cp LICENSE "$PREFIX/share/doc/bzip2/"
