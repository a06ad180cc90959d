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
#
#   ./package.sh           build both presets, then package them
#   ./package.sh --built   package what is built (./test.sh, which has just built both)
set -euo pipefail

built=0
usage() { echo "usage: $0 [--built]" >&2; exit 2; }
case ${1:-} in
  '') ;;
  --built) (( $# == 1 )) || usage; built=1 ;;
  *) usage ;;
esac

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
clarovia_script_start

if (( built )); then
  for preset in x86_64 i686; do
    if [[ ! -f build/$preset/CPackConfig.cmake ]]; then
      echo "package: build/$preset is not built (./package.sh without --built builds it)" >&2
      exit 1
    fi
  done
else
  clarovia_build x86_64 i686
fi

rm -rf dist
mkdir -p dist
for preset in x86_64 i686; do
  out=build/$preset/cpack
  rm -rf "$out"
  clarovia_run cpack --config "build/$preset/CPackConfig.cmake" -B "$out"
  cp "$out"/Clarovia-*-setup.exe "$out"/Clarovia-*.zip dist/
done
(cd dist && sha256sum -- Clarovia-* > SHA256SUMS)

echo "== package: $(clarovia_elapsed "$CLAROVIA_START_MS") s"
ls -l dist
