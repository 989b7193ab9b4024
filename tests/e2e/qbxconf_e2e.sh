#!/usr/bin/env bash
# End to end: the real qbxconf on a virtual X display, driven by X input events (xdotool): start,
# make a configuration, add a QBX-520 and type a day of its schedule, store it, store it again from
# the graphic view, pick another day in the date field's calendar and add a zone to its day that
# starts at 0:00, add a QBX-570-МЩ3 and open its indicator editor, add two more objects, save,
# quit; start again, open it, look, quit. The saved file is then read with the program's own
# loader. Usage: qbxconf_e2e.sh <qbxconf> <checkbase> [screenshot.png] (the graphic view goes
# beside it, as <name>-schedule.png). Runs itself under xvfb-run when there is no display; exit 77
# skips.
set -euo pipefail
exe=$1 check=$2 shot=${3:-}
screen_w=1400 screen_h=950
for tool in xdotool xwd xwdtopnm pnmcut pnmtopng xvfb-run; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
if [ -z "${QBX_E2E_DISPLAY:-}" ]; then
  export QBX_E2E_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
# A copy of its own, so that its settings file lands in the work folder.
cp "$exe" "$work/qbxconf"
base=$work/station.cdb

# The first shown window whose name matches, within tries × 0.1 s (default 50); fails when none shows.
shown_window() {
  for _ in $(seq "${2:-50}"); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
window() { shown_window "Конфигуратор концентраторов" 100 || { echo "no main window" >&2; exit 1; }; }
# Clicks at a point of the main window (x, y from its top left corner).
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.4; }
keys() { xdotool key --delay 120 "$@"; sleep 0.4; }
# Opens the top-level menu whose caption starts at x.
menu() { click "$1" 8; }
# Types a path into the file dialog that has the focus and accepts it.
answer_dialog() {
  shown_window "^(Open|Save|Открыть|Сохранить)" >/dev/null || true
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
# The schedule editor, once it is on show.
schedule_form() { shown_window "^Изменить расписание:$" || { echo "no schedule editor" >&2; exit 1; }; }
# Clicks at a point of the schedule editor.
fclick() { xdotool mousemove --window "$form" "$1" "$2" click 1; sleep 0.4; }
# Types a row of the table: the time's digits, then channel 1 and 2 texts, and presses "Добавить".
schedule_row() {
  fclick 38 115; keys Home; xdotool type --delay 60 "$1"
  fclick 110 115; keys ctrl+a; xdotool type --delay 60 "$2"
  fclick 205 115; keys ctrl+a; [ -n "$3" ] && xdotool type --delay 60 "$3"
  fclick 508 143
}
# The day typed into the table, stored, shown in the graphic view, stored again from there.
schedule_round_trip() {
  click 600 82                                 # the QBX-520, the first object
  click 306 156                                # "Расписание": its in-place button …
  click 306 156                                # … pressed
  form=$(schedule_form)
  eval "$(xdotool getwindowgeometry --shell "$form")"
  [ "$X,$Y" = "$(((screen_w - 567) / 2)),$(((screen_h - 554) / 2))" ] ||
    { echo "the schedule editor is not centred on the screen: $X,$Y"; exit 1; }
  schedule_row 0730 "ВКЛ." ""
  schedule_row 1845 "ОТКЛ." "ВКЛ."
  fclick 370 533                               # "Записать"
  fclick 546 12                                # the box that shows the graphic view
  fclick 128 74                                # "Графический"
  if [ -n "$shot" ]; then
    xwd -id "$form" -silent | xwdtopnm 2>/dev/null | pnmtopng > "${shot%.png}-schedule.png"
  fi
  eval "$(xdotool getwindowgeometry --shell "$form")"
  fclick $((WIDTH - 198)) 533                  # "Записать", the bottom row right-aligned
  fclick 40 74                                 # "Табличный"
  schedule_midnight_zone
  fclick 496 533                               # "Готово"
}
# Another day picked in the first date field's drop-down calendar with the mouse: 17 January, a
# Wednesday, in the calendar's fourth week row. Its day starts at 0:00, and a zone is added to
# channel 1 in the graphic view and stored.
schedule_midnight_zone() {
  fclick 119 30                                # ▼ of the first date field
  sleep 0.5
  fclick 73 146                                # 17 in the calendar
  schedule_row 0000 "ВКЛ." "НЕТ"
  schedule_row 1200 "ОТКЛ." "НЕТ"
  fclick 370 533                               # "Записать"
  fclick 128 74                                # "Графический"
  fclick 155 98                                # channel 1's "Добавить зону"
  eval "$(xdotool getwindowgeometry --shell "$form")"
  fclick $((WIDTH - 198)) 533                  # "Записать"
  fclick 40 74                                 # "Табличный"
}
# The indicator editor of the QBX-570-МЩ3, the second object, opens centred on the main window.
indicator_placement() {
  click 600 101                                # the QBX-570-МЩ3
  click 306 240                                # "Настройка индикации": its in-place button …
  click 306 240                                # … pressed
  form=$(shown_window "^Настройка параметров индикатора$") || { echo "no indicator editor"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$win")"
  local want="$((X + (WIDTH - 690) / 2)),$((Y + (HEIGHT - 360) / 2))"
  eval "$(xdotool getwindowgeometry --shell "$form")"
  [ "$X,$Y" = "$want" ] || { echo "the indicator editor is at $X,$Y, not centred on the main window"; exit 1; }
  fclick 641 347                               # "Отмена"
}
quit() { menu 12; keys Up Return; wait "$pid"; pid=; }

start
menu 12; keys Down Return                    # Файл > Новая База
answer_dialog "$base"
menu 75; keys Down Right Down Down Down Return # Объекты > Добавить Объект > УО (QBX-520)
dismiss_errors
schedule_round_trip
menu 75; keys Down Right Up Up Up Return     # ... > QBX-570-МЩ3, the submenu's third from the end
dismiss_errors
indicator_placement
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
# A script typed on the "Подпрограммы" page goes with its configuration when another file opens: the
# editor and its status bar are left blank and take no typing.
# The number of colours in a box of the main window: x, y, width, height.
colours() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left $((X + $1)) -top $((Y + $2)) -width "$3" -height "$4" |
    ppmhist -noheader | wc -l
}
editor_text() { colours 150 82 850 300; }   # right of the caret's column
status_text() { colours 90 710 300 18; }
click 565 63                                 # the page "Подпрограммы"
menu 340; keys Down Return                   # Подпрограммы > Создать Новую
shown_window "^Создать новую подпрограмму" >/dev/null || { echo "no new-subprogram dialog"; exit 1; }
sleep 0.5
xdotool type --delay 60 "e2e"
keys Tab space                               # "Ok"
click 500 300
xdotool type --delay 60 "push 1"; sleep 0.4
[ "$(editor_text)" -gt 1 ] && [ "$(status_text)" -gt 1 ] || { echo "the new subprogram is not shown"; exit 1; }
second=$work/second.cdb
cp "$base" "$second"
menu 12; keys Down Down Return               # Файл > Открыть
answer_dialog "$second"
dismiss_errors
[ "$(xdotool getwindowname "$win")" = "Конфигуратор концентраторов QBX-510 - $second" ] ||
  { echo "the second file did not open"; exit 1; }
[ "$(editor_text)" = 1 ] || { echo "the script of the closed configuration is still shown"; exit 1; }
[ "$(status_text)" = 1 ] || { echo "the status bar still names the closed configuration's subprogram"; exit 1; }
click 500 300
xdotool type --delay 60 "ret"; sleep 0.4
[ "$(editor_text)" = 1 ] || { echo "the editor took typing with no subprogram to hold it"; exit 1; }
quit

got=$("$check" "$base")
echo "$got"
echo "$got" | grep -q "^ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ" || { echo "the user object is missing"; exit 1; }
echo "$got" | grep -q "^УО (QBX-520)" || { echo "the QBX-520 is missing"; exit 1; }
echo "$got" | grep -q "^Контроллер QBX-570-МЩ3" || { echo "the QBX-570-МЩ3 is missing"; exit 1; }
[ "$(echo "$got" | grep -vc '^channels\|^schedule')" = 4 ] || { echo "four objects expected"; exit 1; }
# 17 January (day code 116): 0:00 channel 1 on, the added zone's edge switching it off at 1:20,
# 12:00 off; no two switches of one channel at one minute anywhere.
[ "$(echo "$got" | grep '^schedule 116;' | sort)" = "$(printf 'schedule 116;1;0;0;17;\nschedule 116;2;1;20;1;\nschedule 116;3;12;0;1;')" ] ||
  { echo "the day picked in the calendar does not hold the zone added after 0:00"; exit 1; }
# 1 January (day code 100): 7:30 channel 1 on; 18:45 channel 1 off and channel 2 on.
[ "$(echo "$got" | grep '^schedule 100;' | sort)" = "$(printf 'schedule 100;1;7;30;17;\nschedule 100;2;18;45;35;')" ] ||
  { echo "the schedule did not come back from the graphic view as typed"; exit 1; }
echo "$got" | grep -qx 'schedule same-minute switches 0' || { echo "a channel switches twice at one minute"; exit 1; }
echo "end-to-end run passed"
