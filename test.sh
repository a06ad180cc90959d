#!/usr/bin/env bash
# Builds the three presets (x86_64 with its tests, the i686 deliverable, the i686 tests
# around it) and runs the tests under Wine in a private Xvfb display with one shared
# "shell" desktop, in each world this machine can give:
#
#   x86_64   the x86_64 build on 64-bit Windows (the 64-bit prefix); the static checks of
#            both deliverables
#   wow64    the i686 build as 32-bit programs on 64-bit Windows (the same prefix)
#   xp       the i686 build on a 32-bit Windows (a 32-bit prefix), the program at XP
#   2000     a shorter run in the 32-bit prefix, the program at Windows 2000
#
# The last three need a machine that executes 32-bit code; elsewhere they are built and
# the run says that they did not run.
#
#   ./test.sh                      every world
#   ./test.sh --world xp -R Tray   one world (repeat --world for more); extra arguments
#                                  go to each world's ctest run
#
# CLAROVIA_KEEP_PREFIX=1 reuses the Wine prefixes of the previous run instead of fresh
# copies of the templates (faster by a few seconds, but settings a test left behind survive).
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"

kAllWorlds=(x86_64 wow64 xp 2000)
worlds=()
while (( $# )); do
  case $1 in
    --world)
      (( $# >= 2 )) || { echo "usage: $0 [--world x86_64|wow64|xp|2000]... [ctest arguments]" >&2; exit 2; }
      [[ " ${kAllWorlds[*]} " == *" $2 "* ]] || { echo "test: no world '$2' (${kAllWorlds[*]})" >&2; exit 2; }
      worlds+=("$2")
      shift 2 ;;
    *) break ;;
  esac
done
(( ${#worlds[@]} )) || worlds=("${kAllWorlds[@]}")
wanted() { [[ " ${worlds[*]} " == *" $1 "* ]]; }

clarovia_script_start

t_build=$(_clarovia_now_ms)
# The i686 tests are built around the i686 deliverable's own files: it comes first.
clarovia_build x86_64 i686 i686-tests
echo "== build: $(clarovia_elapsed "$t_build") s"
# The release files, which the installer tests and the static package check use, from
# the build just made.
./package.sh --built

status=0
# session ARCH: the Wine session of the prefix of that Windows (a fresh copy of its
# template unless CLAROVIA_KEEP_PREFIX=1), in place of the one before.
session() {
  clarovia_stop_session
  export CLAROVIA_WINEARCH=$1
  if [[ ${CLAROVIA_KEEP_PREFIX:-0} == 1 ]]; then
    clarovia_script_session
  else
    clarovia_script_session --fresh
  fi
}
# program_at VERSION: the Windows version Wine reports to the program (winxp, win2k).
program_at() {
  timeout 60 wine reg add 'HKCU\Software\Wine\AppDefaults\Clarovia.exe' /v Version /d "$1" /f >/dev/null
}
# run WORLD CTEST-ARGUMENTS...: one world's tests, timed. GUI tests share one desktop,
# one at a time. The tests that failed run once more, by themselves; those that pass then
# are named (input under Wine on a loaded machine is now and then lost where the rig
# cannot see it), those that fail again fail the run.
run() {
  local world=$1 preset=$3 start failed
  shift
  local log="build/$preset/Testing/Temporary/LastTestsFailed.log"
  start=$(_clarovia_now_ms)
  rm -f "$log"
  if ! clarovia_run ctest "$@"; then
    failed=$(sed 's/^[0-9]*:/==   /' "$log" 2>/dev/null || true)
    if [[ -z $failed ]]; then
      status=1
      echo "== $world: FAILED, no test named"
      return
    fi
    echo "== $world: the failed tests once more:"
    echo "$failed"
    if clarovia_run ctest --preset "$preset" --rerun-failed; then
      echo "== $world: passed at the second run (failed at the first):"
      echo "$failed"
    else
      status=1
    fi
  fi
  echo "== $world: $(clarovia_elapsed "$start") s"
}

t_test=$(_clarovia_now_ms)
runs32=0
clarovia_runs_32bit && runs32=1
if wanted x86_64 || { wanted wow64 && (( runs32 )); }; then
  session win64
  if wanted x86_64; then
    run x86_64 --preset x86_64 -j1 "$@"
    clarovia_run ctest --preset i686 || status=1
  fi
  # The benchmarks' short runs belong to the x86_64 world (./bench.sh measures the
  # i686 hooks); the x86 installer and the short fuzz run go to the 32-bit Windows.
  if wanted wow64 && (( runs32 )); then
    run wow64 --preset i686-tests -j1 -E '^(bench|installer|fuzz)\.' "$@"
  fi
fi
if (( runs32 )) && { wanted xp || wanted 2000; }; then
  session win32
  if wanted xp; then
    program_at winxp
    run xp --preset i686-tests -j1 -E '^bench\.' "$@"
  fi
  if wanted 2000; then
    program_at win2k
    run 2000 --preset i686-tests -j1 -R '^(Gestures|ShadeTopmost|program\.(Lifecycle|Tray|Settings|Sheet|Pages|Shade|Rules)\.)' "$@"
  fi
fi
if (( !runs32 )); then
  echo "i686: not run: this machine cannot execute 32-bit code (built and checked statically)"
fi
echo "== tests: $(clarovia_elapsed "$t_test") s"

clarovia_stop_session
if (( status )); then
  echo "== FAILED (total $(clarovia_elapsed "$CLAROVIA_START_MS") s)"
else
  echo "== passed (total $(clarovia_elapsed "$CLAROVIA_START_MS") s)"
fi
exit "$status"
