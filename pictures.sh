#!/usr/bin/env bash
# Makes the pictures of the README: the program at work, docs/clarovia-at-work.png (a
# translucent window over another, the translucent taskbar, a rolled-up window, the
# clock in a title, all made by real input on real windows), the settings sheet's
# nine pages, docs/sheet-<n>-<page>.png, and the dialog of a rule per program,
# docs/rule-dialog.png, in Japanese and again in English (docs/sheet-en-<n>-<page>.png,
# docs/rule-dialog-en.png), as the program shows them under Wine: 96 DPI, the "shell"
# desktop, Japanese in a real font (the templates' "MS UI Gothic" mapped to IPA P Gothic
# in the prefix), every setting at its default. Like ./test.sh it installs what is
# missing, builds the x86_64 preset, runs in a private Xvfb display and stops everything
# it started.
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
clarovia_script_start
root=$CLAROVIA_ROOT
clarovia_build x86_64
clarovia_script_session --fresh

bin=$root/build/x86_64/bin
# Wine's own programs of the program's width: with wine32 installed, a plain "wine
# notepad" is the 32-bit one, which the x86_64 build leaves alone.
wine64=$(clarovia_wine64)
pages=(window move size taskbar desktop shade other rules keys)
# What the program's windows are called and the messages sent to them, from its sources.
hidden=$(clarovia_rc_text IDD_HIDDEN)
caption=$(clarovia_rc_text IDS_SHEET_CAPTION)
clarovia_take_numbers WM_NULL WM_COMMAND WM_LBUTTONDBLCLK IDCANCEL PSM_SETCURSEL \
  app/model/program_messages.h:WM_TRAYNOTIFY res/resource.h:ID_TRAY_EXIT
status="HKCU\\$(clarovia_source_text tests/rig/program.h kKey)\\$(clarovia_source_text tests/rig/program.h kStatus)"
mkdir -p docs

# Until the command succeeds, for at most ten seconds.
retry() {
  local i
  for (( i = 0; i < 100; i++ )); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Whether process $1 has ended.
ended() { ! _clarovia_alive "$1"; }

# The program, started here; its process id is kept to wait for its end.
program=
start_program() {
  setsid wine "$bin/Clarovia.exe" </dev/null >/dev/null 2>&1 &
  program=$!
  retry timeout 10 wine "$bin/rig_post.exe" "$hidden" "$WM_NULL" 0 0
}

# The program's own exit command (its tray menu's), then until it has ended.
end_program() {
  wine "$bin/rig_post.exe" "$hidden" "$WM_COMMAND" "$ID_TRAY_EXIT" 0
  retry ended "$program"
  wait "$program" 2>/dev/null || true
}

# The sheet's nine pages and the rule dialog in one language: docs/sheet-<n>-<page>.png
# and docs/rule-dialog.png in Japanese (the session's), with suffix "-en" and the value
# "Language" "en" in English.
sheet_pictures() {
  local suffix=$1 rc=$2 rule x y w h i
  start_program
  # The tray icon's double-click opens the sheet.
  wine "$bin/rig_post.exe" "$hidden" "$WM_TRAYNOTIFY" 0 "$WM_LBUTTONDBLCLK"
  retry timeout 10 wine "$bin/rig_query.exe" rect "$caption"
  read -r x y w h < <(wine "$bin/rig_query.exe" rect "$caption")
  for i in "${!pages[@]}"; do
    # PSM_SETCURSEL: the page comes to the top; then it paints.
    wine "$bin/rig_post.exe" "$caption" "$PSM_SETCURSEL" "$i" 0
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "docs/sheet$suffix-$((i + 1))-${pages[$i]}.png"
    echo "docs/sheet$suffix-$((i + 1))-${pages[$i]}.png"
  done

  # The rules page's Add button (its place at 96 DPI) opens the rule dialog.
  wine "$bin/rig_post.exe" "$caption" "$PSM_SETCURSEL" 7 0
  sleep 1
  rule=$(clarovia_rc_text IDD_RULE_DIALOG "$rc")
  xdotool mousemove $((x + 105)) $((y + 198)) click 1
  retry timeout 10 wine "$bin/rig_query.exe" rect "$rule"
  read -r x y w h < <(wine "$bin/rig_query.exe" rect "$rule" | tr -d '\r')
  xdotool mousemove $((x + w + 40)) $((y + h + 40))
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "docs/rule-dialog$suffix.png"
  echo "docs/rule-dialog$suffix.png"
  wine "$bin/rig_post.exe" "$rule" "$WM_COMMAND" "$IDCANCEL" 0
  retry timeout 10 bash -c "! wine '$bin/rig_query.exe' rect '$rule'"

  # Cancel, then the program's own exit command.
  wine "$bin/rig_post.exe" "$caption" "$WM_COMMAND" "$IDCANCEL" 0
  retry timeout 10 bash -c "! wine '$bin/rig_query.exe' rect '$caption'"
  end_program
}

sheet_pictures "" Clarovia.rc
wine reg add "${status%\\*}" /v Language /t REG_SZ /d en /f >/dev/null 2>&1
sheet_pictures -en english.rc
wine reg delete "${status%\\*}" /v Language /f >/dev/null 2>&1

# The program at work. The taskbar translucent and the title-bar clock on, through the
# program's own settings; then real clicks (xdotool, into Wine) on Wine's notepad and
# registry editor.
for value in EnableTaskbarTP:1 ShowClock:1; do
  wine reg add "$status" /v "${value%%:*}" /t REG_DWORD /d "${value##*:}" /f >/dev/null 2>&1
done
scene=$root/build/scene
mkdir -p "$scene"
cp build/x86_64/package/readme.txt "$scene/readme.txt"
cp LICENSE.txt "$scene/LICENSE.txt"
start_program
setsid "$wine64" notepad "$(winepath -w "$scene/readme.txt")" </dev/null >/dev/null 2>&1 &
retry wine "$bin/rig_scene.exe" place "readme.txt - メモ帳" 30 30 620 430
setsid "$wine64" regedit </dev/null >/dev/null 2>&1 &
retry wine "$bin/rig_scene.exe" place "レジストリ エディター" 640 40 360 300
setsid "$wine64" notepad "$(winepath -w "$scene/LICENSE.txt")" </dev/null >/dev/null 2>&1 &
retry wine "$bin/rig_scene.exe" place "LICENSE.txt - メモ帳" 300 230 620 400
sleep 1
# Double-click on the registry editor's title bar (left half): rolled up. Middle click
# on the licence's title bar: translucent, over the read-me.
xdotool mousemove 720 50 click --repeat 2 --delay 80 1
sleep 1
xdotool mousemove 420 240 click 2
sleep 2
xdotool mousemove 1000 700
sleep 1
wine "$bin/rig_scene.exe" "$(winepath -w "$scene/at-work.bmp")"
convert "$scene/at-work.bmp" docs/clarovia-at-work.png
echo "docs/clarovia-at-work.png"
end_program
# Notepad and the registry editor end with the session (the processes of its prefix).
clarovia_stop_session
