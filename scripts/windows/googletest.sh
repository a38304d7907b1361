# GoogleTest for Windows, static, from the sources Debian's libgtest-dev installs in
# /usr/src/googletest (run by scripts/windows-dependencies in the work folder).
cmake -S /usr/src/googletest -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
  -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
cmake --build build -j2
cmake --install build
