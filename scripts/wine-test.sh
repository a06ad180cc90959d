#!/usr/bin/env bash
# CTest's way into Wine: runs one test program and passes on its output and exit status.
#
# GoogleTest's programs and the program bench write their first line as they start.
# Once in a while Wine ends before the program has started, with an error status and,
# under WINEDEBUG=-all, without a word. Such a run tested nothing: a run that ends in
# error having written nothing to its standard output is started once more, and the log
# says so. A program that wrote anything is never run a second time.
set -u
# A test registered to run under another locale than the session's (an English or a
# German Windows) names it here; every Wine process it starts inherits it.
if [[ -n ${CLAROVIA_TEST_LOCALE:-} ]]; then
  export LANG=$CLAROVIA_TEST_LOCALE LC_ALL=$CLAROVIA_TEST_LOCALE
fi
out=$(mktemp "${TMPDIR:-/tmp}/wine-test.XXXXXX") || exit 1
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  started=$(date +%s%3N)
  wine "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  if (( status == 0 || attempt == 2 )) || [[ -s $out ]]; then
    exit "$status"
  fi
  echo "[wine-test] Wine ended with status $status after $(( $(date +%s%3N) - started )) ms" \
       "before $1 wrote anything; starting it once more"
done
