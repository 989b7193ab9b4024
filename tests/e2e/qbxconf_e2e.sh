#!/usr/bin/env bash
# End to end: the real qbxconf on a virtual X display, driven by X input events (xdotool): start,
# make a configuration, add two objects, save, quit; start again, open it, look, quit. The saved
# file is then read with the program's own loader. Usage: qbxconf_e2e.sh <qbxconf> <checkbase>
# [screenshot.png]. Runs itself under xvfb-run when there is no display; exit 77 skips.
set -euo pipefail
exe=$1 check=$2 shot=${3:-}
for tool in xdotool xwd xwdtopnm pnmcut pnmtopng xvfb-run; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
if [ -z "${QBX_E2E_DISPLAY:-}" ]; then
  export QBX_E2E_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1400x950x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
# A copy of its own, so that its settings file lands in the work folder.
cp "$exe" "$work/qbxconf"
base=$work/station.cdb

window() {
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "Конфигуратор концентраторов" 2>/dev/null | head -1 || true)
    [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.1
  done
  echo "no main window" >&2; exit 1
}
# Clicks at a point of the main window (x, y from its top left corner).
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.4; }
keys() { xdotool key --delay 120 "$@"; sleep 0.4; }
# Opens the top-level menu whose caption starts at x.
menu() { click "$1" 8; }
# Types a path into the file dialog that has the focus and accepts it.
answer_dialog() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^(Open|Save|Открыть|Сохранить)" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 0.5
  xdotool type --delay 20 "$1"
  keys Return
}
# Closes the message boxes of plug-in files this bare installation lacks.
dismiss_errors() {
  sleep 0.5
  for _ in $(seq 20); do
    e=$(xdotool search --onlyvisible --name "^Ошибка$" 2>/dev/null | head -1 || true)
    [ -z "$e" ] && return
    xdotool windowactivate --sync "$e" key Return 2>/dev/null || xdotool key Return
    sleep 0.4
  done
}
start() { "$work/qbxconf" & pid=$!; win=$(window); sleep 1; }
quit() { menu 12; keys Up Return; wait "$pid"; pid=; }

start
menu 12; keys Down Return                    # Файл > Новая База
answer_dialog "$base"
menu 75; keys Down Right Return              # Объекты > Добавить Объект > ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ
menu 75; keys Down Right Down Return         # ... > ЖУРНАЛ СООБЩЕНИЙ
dismiss_errors
menu 12; keys Down Down Down Return          # Файл > Сохранить
quit
[ -f "$base" ] || { echo "the configuration was not saved"; exit 1; }
[ -f "$work/qbxconf.ini" ] || { echo "the settings file was not written"; exit 1; }

start
menu 12; keys Down Down Return               # Файл > Открыть
answer_dialog "$base"
dismiss_errors
title=$(xdotool getwindowname "$win")
[ "$title" = "Конфигуратор концентраторов QBX-510 - $base" ] || { echo "title: $title"; exit 1; }
click 600 82                                 # the first object of the list
if [ -n "$shot" ]; then
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT" |
    pnmtopng > "$shot"
fi
quit

got=$("$check" "$base")
echo "$got"
echo "$got" | grep -q "^ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ" || { echo "the user object is missing"; exit 1; }
[ "$(echo "$got" | grep -vc '^channels')" = 2 ] || { echo "two objects expected"; exit 1; }
echo "end-to-end run passed"
