#!/usr/bin/env bash
# Makes the pictures of the settings sheet's seven pages, docs/sheet-<n>-<page>.png, as
# the program shows them under Wine: 96 DPI, the "shell" desktop, Japanese in a real
# font (the templates' "MS UI Gothic" mapped to IPA P Gothic in the prefix), every
# setting at its default. Like ./test.sh it installs what is missing, builds the x86_64
# preset, runs in a private Xvfb display and stops everything it started.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")"
root=$PWD
# shellcheck source=scripts/env.sh
source scripts/env.sh
clarovia_install_traps
clarovia_install_deps
clarovia_build x86_64
clarovia_prepare_prefix --fresh "$(clarovia_default_prefix)"
clarovia_start_session

bin=$root/build/x86_64/bin
pages=(window move size taskbar desktop shade other)
caption="Clarovia v2.8.2.2"
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

setsid wine "$bin/Clarovia.exe" </dev/null >/dev/null 2>&1 &
retry timeout 10 wine "$bin/rig_post.exe" "Clarovia Hidden Window." 0 0 0
# The tray icon's double-click opens the sheet.
wine "$bin/rig_post.exe" "Clarovia Hidden Window." 0x7E8 0 0x203
retry timeout 10 wine "$bin/rig_query.exe" rect "$caption"
read -r x y w h < <(wine "$bin/rig_query.exe" rect "$caption")
for i in "${!pages[@]}"; do
  # PSM_SETCURSEL: the page comes to the top; then it paints.
  wine "$bin/rig_post.exe" "$caption" 0x465 "$i" 0
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "docs/sheet-$((i + 1))-${pages[$i]}.png"
  echo "docs/sheet-$((i + 1))-${pages[$i]}.png"
done

# Cancel, then the program's own exit command.
wine "$bin/rig_post.exe" "$caption" 0x111 2 0
retry timeout 10 bash -c "! wine '$bin/rig_query.exe' rect '$caption'"
wine "$bin/rig_post.exe" "Clarovia Hidden Window." 0x111 109 0
retry bash -c "! pgrep -f Clarovia.exe"
clarovia_stop_session
