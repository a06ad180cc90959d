#!/usr/bin/env bash
# Runs the program to try it out: Clarovia.exe under Wine in the "shell" virtual desktop,
# with Wine's notepad as a window to play with.  The desktop opens on your X display when
# $DISPLAY answers, otherwise on a private Xvfb display (then a screenshot of it is saved
# after a few seconds).  Ctrl+C, or quitting Clarovia from its tray menu, ends everything
# this script started.
#
#   ./run.sh                     build what is out of date (x86_64), then run
#   ./run.sh --x86               the i686 build instead, with Wine's 32-bit notepad: 32-bit
#                                programs on 64-bit Windows (needs a machine that executes
#                                32-bit code)
#   ./run.sh --without-program   the desktop and notepad only (no Clarovia.exe needed)
#   ./run.sh --start-button-text TEXT
#                                writes "EnableStartButtonTP" 1 and "StartButtonText" TEXT
#                                into the program's registry key before the run, and tells
#                                what the start button says once the program runs
#
# The run has a Wine prefix of its own, kept between runs (settings survive), apart from
# the one of ./test.sh: CLAROVIA_WINEPREFIX (default build/wineprefix-run); logs in
# CLAROVIA_LOG_DIR (default build/run-logs).
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
root=$CLAROVIA_ROOT
with_program=1
start_button_text=
set_start_button=0
preset=x86_64
usage() { echo "usage: $0 [--x86] [--without-program | --start-button-text TEXT]" >&2; exit 2; }
if [[ ${1:-} == --x86 ]]; then
  preset=i686
  shift
fi
case ${1:-} in
  '') ;;
  --without-program) (( $# == 1 )) || usage; with_program=0 ;;
  --start-button-text) (( $# == 2 )) || usage; set_start_button=1; start_button_text=$2 ;;
  *) usage ;;
esac

export CLAROVIA_WINEPREFIX=${CLAROVIA_WINEPREFIX:-$root/build/wineprefix-run}
export CLAROVIA_LOG_DIR=${CLAROVIA_LOG_DIR:-$root/build/run-logs}

exe=$root/build/$preset/bin/Clarovia.exe
post=$root/build/x86_64/bin/rig_post.exe
query=$root/build/x86_64/bin/rig_query.exe
screenshot=$root/build/run-screenshot.png
program_pid=
notepad_pid=
pids=()

log() { printf '[run] %s\n' "$*" >&2; }

# True while Clarovia or notepad runs.
# shellcheck disable=SC2317  # (called from the EXIT trap)
programs_running() {
  local pid
  for pid in "${pids[@]}"; do
    _clarovia_alive "$pid" && return 0
  done
  return 1
}

# Ask the programs to close (Clarovia through its own exit command, as its tray menu
# would; notepad with WM_CLOSE), give them a few seconds, then end the whole session.
# shellcheck disable=SC2317
stop_all() {
  local rc=$? i
  trap '' INT TERM   # a second Ctrl+C must not cut the clean-up short
  if programs_running; then
    log "closing Clarovia and notepad"
    timeout 10 wine "$post" "$hidden" "$WM_COMMAND" "$ID_TRAY_EXIT" 0 >/dev/null 2>&1 || true
    timeout 10 wine taskkill /im notepad.exe >/dev/null 2>&1 || true
    for (( i = 0; i < 50; i++ )); do
      programs_running || break
      sleep 0.1
    done
  fi
  _clarovia_on_exit
  return "$rc"
}

clarovia_script_start
# The notepad of the program's width: with wine32 installed a plain "wine notepad" is
# Wine's 32-bit one, which the x86_64 build rightly leaves alone.
if [[ $preset == i686 ]]; then
  if ! clarovia_runs_32bit; then
    log "--x86: this machine cannot execute 32-bit code"
    exit 1
  fi
  notepad_wine=wine
else
  notepad_wine=$(clarovia_wine64)
fi
# What the program's hidden window is called and the messages sent to it, from its sources.
hidden=$(clarovia_rc_text IDD_HIDDEN)
clarovia_take_numbers WM_NULL WM_COMMAND res/resource.h:ID_TRAY_EXIT
trap stop_all EXIT
mkdir -p "$CLAROVIA_LOG_DIR"

# Build.  Our Wine programs map vitrel.dll: end them before the build may replace it.
clarovia_kill_prefix "$CLAROVIA_WINEPREFIX"
if [[ ! -f build/x86_64/build.ninja ]]; then
  clarovia_run cmake --preset x86_64
fi
if (( with_program )); then
  if [[ $preset != x86_64 ]]; then
    [[ -f build/$preset/build.ninja ]] || clarovia_run cmake --preset "$preset"
    clarovia_run cmake --build --preset "$preset" --target vitrel Clarovia
  fi
  clarovia_run cmake --build --preset x86_64 --target vitrel Clarovia rig_post rig_query
  if [[ ! -f $exe ]]; then
    log "$exe was not built"
    exit 1
  fi
fi

# Session: on the user's display if there is one that answers, else on our own Xvfb.
headless=1
if [[ -n ${DISPLAY:-} ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  headless=0
  clarovia_start_session --display-from-env
else
  unset DISPLAY
  clarovia_start_session
fi

if (( set_start_button )); then
  key="HKCU\\$(clarovia_source_text tests/rig/program.h kKey)\\$(clarovia_source_text tests/rig/program.h kStatus)"
  timeout 30 wine reg add "$key" /v EnableStartButtonTP /t REG_DWORD /d 1 /f >/dev/null 2>&1
  timeout 30 wine reg add "$key" /v StartButtonText /t REG_SZ /d "$start_button_text" /f >/dev/null 2>&1
  log "start button text set in the registry: $start_button_text"
fi

# Each program in a session of its own (setsid): Ctrl+C reaches only this script, whose
# trap closes them in order.
if (( with_program )); then
  setsid wine "$exe" </dev/null >"$CLAROVIA_LOG_DIR/clarovia.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
fi
setsid "$notepad_wine" notepad </dev/null >"$CLAROVIA_LOG_DIR/notepad.log" 2>&1 &
notepad_pid=$!
pids+=("$notepad_pid")

log "running in the \"shell\" desktop on DISPLAY=$DISPLAY (prefix $WINEPREFIX, logs in $CLAROVIA_LOG_DIR)"
if (( with_program )); then
  # Once the program's window is there, its first apply has set the start button.
  for (( i = 0; i < 100; i++ )); do
    timeout 10 wine "$post" "$hidden" "$WM_NULL" 0 0 >/dev/null 2>&1 && break
    sleep 0.1
  done
  # Wine's taskbar paints its own label whatever the button's text: on Windows the
  # button shows this text.
  log "start button text: $(timeout 10 wine "$query" text Shell_TrayWnd 2>/dev/null)"
fi
if (( headless )); then
  sleep 5
  if timeout 30 import -window root "$screenshot"; then
    log "screenshot: $screenshot"
  else
    log "could not take a screenshot"
  fi
fi
log "Ctrl+C ends the run"

# Until Clarovia quits (or notepad, when it runs alone).  "wait" returns at once when a
# signal arrives, and the trap does the rest.
main_pid=${program_pid:-$notepad_pid}
status=0
wait "$main_pid" || status=$?
log "$( (( with_program )) && echo Clarovia || echo notepad ) exited with status $status"
exit "$status"
