#!/bin/sh
# Builds what the run command starts, configured as scripts/build configures it, on a machine
# where GoogleTest cannot be found, in a folder of its own that is removed afterwards. The folder
# sits beside build/, so that ccache, where the test command has it, reuses build/'s compiles.
# Usage: run_build_test.sh SOURCE_FOLDER
set -eu
folder=$(mktemp -d "$1/build-run-test.XXXXXX")
trap 'rm -rf "$folder"' EXIT
launcher=
if command -v ccache >/dev/null; then
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
  export CCACHE_BASEDIR="$1"
  export CCACHE_NOHASHDIR=1  # as scripts/build does: this folder's name is not build/'s
fi
cmake -S "$1" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON $launcher >"$folder/configure.log" ||
  { cat "$folder/configure.log"; exit 1; }
grep -q "GoogleTest not found: the tests are not built" "$folder/configure.log"
cmake --build "$folder" --target wadwright wadwright_window tool_command_com tool_md5sum tool_sha1sum tool_bspatch tool_explorer >/dev/null
for program in wadwright wadwright-window command.com md5sum.exe sha1sum.exe bspatch.exe explorer; do
  [ -x "$folder/bin/$program" ] || { echo "run_build_test.sh: $program was not built" >&2; exit 1; }
done
"$folder/bin/wadwright" --version
