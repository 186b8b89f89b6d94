#!/bin/bash
# Unsaved work survives a killed program, checked as a clerk meets it on a real X
# display: a design frame where an element is dragged and a capture screen typed into
# with real keys, both programs killed with SIGKILL, the program started again and the
# work recovered, then saved and read back. Then the same program with a recovery folder
# it cannot write: it says so once and goes on working.
#
#   recovery_kill_check.sh BIN_DIR SAMPLES_DIR
#
# Runs under its own X server (xvfb-run); exits 77 (skipped) when a tool is missing.
set -u
BIN=$1
SAMPLES=$2
for tool in xvfb-run xdotool openbox python3; do
  command -v "$tool" >/dev/null || { echo "falta $tool: prueba omitida"; exit 77; }
done
if [ -z "${RECOVERY_CHECK_INNER:-}" ]; then
  RECOVERY_CHECK_INNER=1 exec xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null; done
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FALLA: $*"
  import -window root "$WORK/falla.png" 2>/dev/null && cp "$WORK/falla.png" "${TMPDIR:-/tmp}/recovery_kill_check_falla.png"
  exit 1
}

export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb LANG=es_MX.UTF-8
RECOVERY="$XDG_DATA_HOME/KALVOR Soft/Ordexa/recuperacion"
cp "$SAMPLES/Factura.fmt" "$WORK/Factura.fmt"
cp "$SAMPLES/Factura.fmt" "$WORK/Diseno.fmt"
openbox >/dev/null 2>&1 &
PIDS+=($!)
disown
sleep 1

# With RECOVERY_CHECK_SHOTS set to a folder, pictures of the screen at the main steps.
shot() { [ -n "${RECOVERY_CHECK_SHOTS:-}" ] && import -window root "$RECOVERY_CHECK_SHOTS/$1.png"; return 0; }
# Waits up to $2 seconds (default 10) for the command $1 to succeed.
wait_for() {
  local tries=$(( ${2:-10} * 5 ))
  for ((i = 0; i < tries; i++)); do
    eval "$1" && return 0
    sleep 0.2
  done
  return 1
}
# The id of the visible window whose title matches $1 (first one).
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
start() {
  "$BIN/Ordexa" "$@" >>"$WORK/ordexa.log" 2>&1 &
  LAST=$!
  PIDS+=($LAST)
  disown $LAST
  wait_for '[ -n "$(xdotool search --onlyvisible --pid $LAST 2>/dev/null)" ]' 15 || fail "Ordexa no mostró su ventana"
  sleep 1.5
}
keys() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
typed() { xdotool type --delay 40 "$1"; sleep 0.2; }
# Activates the main window of process $1.
focus_program() {
  local w
  w=$(xdotool search --all --onlyvisible --pid "$1" --name '^ORDEXA' | head -1)
  [ -n "$w" ] || fail "no se encontró la ventana principal del proceso $1"
  xdotool windowactivate --sync "$w"; sleep 0.5
}
# A file dialog is open in the active window: type a full path and accept.
answer_file_dialog() {
  wait_for '[ -n "$(window "$1")" ]' 10 || fail "no apareció el diálogo \"$1\""
  xdotool windowactivate --sync "$(window "$1")"; sleep 0.5
  keys ctrl+a
  typed "$2"
  keys Return
  sleep 1
}
copies() { find "$RECOVERY" -path "*/run-*/$1-*.rec" 2>/dev/null | head -1; }
# The work inside a recovery copy, written out as the file it copies.
payload() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pos = 8 + 4 + 8
for _ in range(2):
    (n,) = struct.unpack_from('<I', data, pos); pos += 4 + n
pos += 8
(n,) = struct.unpack_from('<I', data, pos); pos += 4
open(sys.argv[2], 'wb').write(data[pos:pos + n])
PY
}
element_page() {  # the page rectangle of the first element whose text is $2, in format $1
  "$BIN/ordexa-cli" dump "$1" | python3 -c "
import json, sys
for e in json.load(sys.stdin)['elements']:
    if e['text'] == sys.argv[1]:
        print(*e['page']); break" "$2"
}

# --- 1. Two programs with unsaved work, then both killed ------------------------------
start "$WORK/Diseno.fmt"
DESIGNER=$LAST
focus_program $DESIGNER
BEFORE=$(element_page "$WORK/Diseno.fmt" CONCEPTO)
# The frame opens at the same place on this screen every time; the paragraph "CONCEPTO"
# then lies around (700, 433): drag it right and down.
xdotool mousemove --sync 700 433 click 1
sleep 0.3
xdotool mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove_relative --sync 10 8; sleep 0.1; done
xdotool mouseup 1
wait_for '[ -n "$(copies diseno)" ]' 10 || fail "no se escribió la copia de recuperación del diseño"

# A second program starts while the first runs: the first one's copy is not offered.
start
CLERK=$LAST
[ -z "$(window 'Recuperar trabajo')" ] || fail "el segundo programa ofreció la copia de un programa vivo"
focus_program $CLERK
keys alt+a a p
answer_file_dialog 'Abrir' "$WORK/Factura.fmt"
wait_for '[ -n "$(xdotool search --all --onlyvisible --pid $CLERK --name "Pantalla de captura")" ]' 10 ||
  fail "no se abrió la pantalla de captura"
typed "Constructora del Valle"; keys Tab
typed "CVA980512KJ3"; keys Tab
typed "07/12/2026"; keys Tab
wait_for '[ -n "$(copies captura)" ]' 10 || fail "no se escribió la copia de recuperación de la captura"
sleep 1
kill -9 $DESIGNER $CLERK
wait $DESIGNER $CLERK 2>/dev/null || true
payload "$(copies diseno)" "$WORK/esperado.fmt"
MOVED=$(element_page "$WORK/esperado.fmt" CONCEPTO)
[ "$MOVED" != "$BEFORE" ] || fail "el arrastre no movió el elemento ($BEFORE)"

# --- 2. The next start offers both, recovers them, and nothing was written over --------
start
RESTARTED=$LAST
wait_for '[ -n "$(window "Recuperar trabajo")" ]' 10 || fail "no se ofreció recuperar el trabajo"
xdotool windowactivate --sync "$(window 'Recuperar trabajo')"; sleep 0.5
shot 1-dialogo
keys Return  # Recuperar is the default answer
wait_for '[ -n "$(window "^Ordexa$")" ]' 10 || fail "no se avisó que se recuperó el trabajo"
xdotool windowactivate --sync "$(window '^Ordexa$')"; sleep 0.3
shot 2-aviso
keys Return
shot 3-recuperado
cmp -s "$SAMPLES/Factura.fmt" "$WORK/Factura.fmt" || fail "se modificó el formato original de la captura"
cmp -s "$SAMPLES/Factura.fmt" "$WORK/Diseno.fmt" || fail "se modificó el formato original del diseño"

# The recovered design holds the moved element: the new run's own copy of it says so,
# as does the format saved from it.
wait_for '[ "$(find "$RECOVERY" -name "*.rec" | wc -l)" = 2 ]' 10 || fail "quedaron copias viejas o faltan las nuevas"
payload "$(copies diseno)" "$WORK/recuperado.fmt"
[ "$(element_page "$WORK/recuperado.fmt" CONCEPTO)" = "$MOVED" ] || fail "el diseño recuperado no tiene la posición movida"

# The capture screen is the active window: "&Guardar captura" asks where, the values
# land in the file.
focus_program $RESTARTED
keys alt+a g
answer_file_dialog 'Guardar captura' "$WORK/recuperada.cap"
wait_for '[ -f "$WORK/recuperada.cap" ]' 10 || fail "no se guardó la captura recuperada"
"$BIN/ordexa-cli" show "$WORK/Factura.fmt" "$WORK/recuperada.cap" >"$WORK/valores.txt" || fail "ordexa-cli show falló"
for v in "CLIENTE=Constructora del Valle" "RFC=CVA980512KJ3" "FECHA=07/12/2026"; do
  grep -qxF "$v" "$WORK/valores.txt" || fail "falta $v en la captura recuperada: $(cat "$WORK/valores.txt")"
done
# Leaving the program, and "No" to saving the recovered design: no copy is left behind.
focus_program $RESTARTED
keys alt+a s
wait_for '[ -n "$(window "^Ordexa$")" ]' 10 || fail "no se preguntó si se guarda el diseño recuperado"
xdotool windowactivate --sync "$(window '^Ordexa$')"; sleep 0.3
keys n
wait_for '! kill -0 $RESTARTED 2>/dev/null' 10 || fail "el programa no terminó con Salir"
[ -z "$(ls -A "$RECOVERY")" ] || fail "quedaron copias tras salir normalmente: $(ls -AR "$RECOVERY")"

# --- 3. A recovery folder that cannot be written ----------------------------------------
export XDG_DATA_HOME=$WORK/data2
mkdir -p "$XDG_DATA_HOME/KALVOR Soft/Ordexa"
# The administrator may write anywhere: a file where the folder should be blocks it too.
if [ "$(id -u)" = 0 ]; then
  echo x >"$XDG_DATA_HOME/KALVOR Soft/Ordexa/recuperacion"
else
  chmod 500 "$XDG_DATA_HOME/KALVOR Soft/Ordexa"
fi
start
LOCKED=$LAST
wait_for '[ -n "$(window "^Ordexa$")" ]' 10 || fail "no se avisó que las copias de recuperación no funcionan"
xdotool windowactivate --sync "$(window '^Ordexa$')"; sleep 0.3
shot 4-sin-copias
keys Return
focus_program $LOCKED
keys alt+a a p
answer_file_dialog 'Abrir' "$WORK/Factura.fmt"
typed "Papeleria Lopez"; keys Tab
sleep 7  # longer than a copy takes to be written
[ -z "$(window '^Ordexa$')" ] || fail "el aviso de copias desactivadas se repitió"
keys alt+a g
answer_file_dialog 'Guardar captura' "$WORK/sin_copias.cap"
wait_for '[ -f "$WORK/sin_copias.cap" ]' 10 || fail "sin copias de recuperación, la captura no se guardó"
"$BIN/ordexa-cli" show "$WORK/Factura.fmt" "$WORK/sin_copias.cap" | grep -qxF "CLIENTE=Papeleria Lopez" ||
  fail "la captura guardada sin copias de recuperación no tiene el valor escrito"
[ "$(find "$XDG_DATA_HOME" -name '*.rec' | wc -l)" = 0 ] || fail "se escribieron copias donde no se podía"
echo "correcto"
