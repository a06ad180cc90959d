#!/usr/bin/env bash
# Makes the release files under dist/, from the same sources and version (res/version.h)
# for both architectures: the per-user installer and the portable zip of each, and
# SHA256SUMS beside them.
#
#   dist/Clarovia-<version>-x64-setup.exe   dist/Clarovia-<version>-x64.zip
#   dist/Clarovia-<version>-x86-setup.exe   dist/Clarovia-<version>-x86.zip
#   dist/SHA256SUMS
#
# Like ./test.sh it installs what is missing (NSIS among it) and builds both presets
# (Release, linked without debug data); CPack's NSIS and ZIP generators make the files.
# The installers themselves are tested by ./test.sh (installer.*), the files checked
# statically by tests/static/check_package.py.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")"
# shellcheck source=scripts/env.sh
source scripts/env.sh
clarovia_install_deps

t_all=$(_clarovia_now_ms)
clarovia_build x86_64 i686

rm -rf dist
mkdir -p dist
for preset in x86_64 i686; do
  out=build/$preset/cpack
  rm -rf "$out"
  clarovia_run cpack --config "build/$preset/CPackConfig.cmake" -B "$out"
  cp "$out"/Clarovia-*-setup.exe "$out"/Clarovia-*.zip dist/
done
(cd dist && sha256sum -- Clarovia-* > SHA256SUMS)

echo "== package: $(clarovia_elapsed "$t_all") s"
ls -l dist
