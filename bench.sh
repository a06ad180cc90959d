#!/usr/bin/env bash
# Builds the x86_64 preset and runs the benchmarks under Wine, in a private Xvfb display
# with the "shell" desktop; stops everything it started. First the hook benchmark and
# its fuzz run, then the running program measured (cost against a minimal program,
# registry fuzz, instance race, soak, hung shell, paint storm, rules per program), then,
# where the machine executes 32-bit code, the hook benchmark and fuzz run of the i686
# build (its lines say ratio-i686 and fuzz-i686; elsewhere one line says why not).
#
#   ./bench.sh                  hook benchmark, 1,000,000 fuzz events per hook procedure,
#                               then every program run at full size
#   ./bench.sh --events 20000   extra arguments go to both vitrel_bench.exe (--no-fuzz,
#                               --seed S, --rounds R, --block-ms M, --timeout S)
#   PAINT_STORM_REPORTS=N       another number of paint reports
#   PROGRAM_BENCH="--only soak --gestures 2000"
#                               other arguments for program_bench.exe
#
# Exit status: the hook benchmark's (0 all well, 1 the fuzz run found a crash or a hang,
# 2 set-up failed, 3 a hook procedure missed the cost goal), else the program bench's
# (1 a goal missed, 2 set-up failed).
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
clarovia_script_start

t_build=$(_clarovia_now_ms)
runs32=0
clarovia_runs_32bit && runs32=1
if (( runs32 )); then
  clarovia_build x86_64 i686 i686-tests
else
  clarovia_build x86_64
fi
echo "== build: $(clarovia_elapsed "$t_build") s"

clarovia_script_session

t_bench=$(_clarovia_now_ms)
status=0
clarovia_run wine build/x86_64/bin/vitrel_bench.exe "$@" || status=$?
program=0
# shellcheck disable=SC2086  # PROGRAM_BENCH holds several arguments
clarovia_run wine build/x86_64/bin/program_bench.exe --reports "${PAINT_STORM_REPORTS:-100000}" \
  ${PROGRAM_BENCH:-} || program=$?
(( status )) || status=$program
# The 32-bit hook procedures, as 32-bit programs on 64-bit Windows meet them.
if (( runs32 )); then
  i686=0
  clarovia_run wine build/i686-tests/bin/vitrel_bench.exe "$@" || i686=$?
  (( status )) || status=$i686
else
  echo "ratio-i686: not measured, fuzz-i686: not run: this machine cannot execute 32-bit code"
fi

clarovia_stop_session
# On stderr, so that standard output ends with the benchmark's own summary lines.
echo "== bench: $(clarovia_elapsed "$t_bench") s, status $status (total $(clarovia_elapsed "$CLAROVIA_START_MS") s)" >&2
exit "$status"
