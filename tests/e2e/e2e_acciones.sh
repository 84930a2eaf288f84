#!/usr/bin/env bash
# Actions performed for real: the main window's ActivarSwitch1/2 through the
# X11 injection backend (driven by build/quimbal_inyectar, which never shows a
# window) into the target window, which logs what it receives. Each catalogue
# kind is checked in the target's log: button sequence, key, modifiers and
# characters; then characters of the Spanish layout (third-level keys) and a
# rejected string.
set -eu
source "$(dirname "$0")/comun.sh"
LOG=$(mktemp /tmp/objetivo.XXXXXX.log)
MAPA=$(mktemp /tmp/mapa.XXXXXX)
terminar() {
  [ -n "${INY_PID:-}" ] && kill "$INY_PID" 2>/dev/null
  terminar_objetivo
  rm -f "$LOG" "$LOG.salida" "$MAPA" "$MAPA.2"
}
trap terminar EXIT
pasadas=0

arrancar_objetivo "$LOG"
xmodmap -pke >"$MAPA"
coproc INY { exec "$QUIMBAL_BUILD/quimbal_inyectar" 2>&1; }
INY_PID=$INY_PID

# pedir COMMAND: sends one command to the driver; sets RESPUESTA ("ok"/"fallo").
pedir() {
  printf '%s\n' "$1" >&"${INY[1]}"
  local linea
  read -r -t 10 linea <&"${INY[0]}" || fallar "el inyector no respondió a: $1"
  RESPUESTA=${linea#* }
}

# caso DESCRIPTION COMMAND PATTERN...: performs COMMAND and checks that the
# lines the target logs after it match the PATTERNs in this order.
caso() {
  local desc="$1" orden="$2"; shift 2
  local desde=$(($(wc -l <"$LOG") + 1)) p resto
  pedir "$orden"
  [ "$RESPUESTA" = ok ] || fallar "$desc: el inyector respondió $RESPUESTA"
  for p in "$@"; do
    local hallado=""
    for _ in $(seq 250); do
      resto=$(tail -n +"$desde" "$LOG")
      local n; n=$(printf '%s\n' "$resto" | grep -n -E -m1 -- "^[0-9]+ $p" | cut -d: -f1) || true
      if [ -n "$n" ]; then hallado=1; desde=$((desde + n)); break; fi
      sleep 0.02
    done
    [ -n "$hallado" ] || { tail -n 20 "$LOG" >&2; fallar "$desc: no llegó «$p»"; }
  done
  echo "ok: $desc"
  pasadas=$((pasadas + 1))
}

T=$'\t'
# botones FROM EXPECTED: the button lines logged after line FROM, in one line,
# once a moment has passed in which a stray extra button would have arrived.
botones() {
  nada_durante 0.3
  local vistos
  vistos=$(tail -n +"$(($1 + 1))" "$LOG" | grep -E ' (PRESS|RELEASE) ' | cut -d' ' -f2- | paste -sd,)
  [ "$vistos" = "$2" ] || fallar "botones: se esperaba «$2» y llegó «$vistos»"
  pasadas=$((pasadas + 1))
}
antes=$(wc -l <"$LOG")
caso "click izquierdo" "accion1 Click izquierdo$T" 'PRESS left$' 'RELEASE left$'
botones "$antes" "PRESS left,RELEASE left"
antes=$(wc -l <"$LOG")
caso "click derecho" "accion2 Click derecho$T" 'PRESS right$' 'RELEASE right$'
botones "$antes" "PRESS right,RELEASE right"
caso "ENTER" "accion1 ENTER$T" 'KEY Return mods=none ' 'KEYUP Return '
caso "ESC" "accion1 ESC$T" 'KEY Esc mods=none ' 'KEYUP Esc '
caso "TAB" "accion2 TAB$T" 'KEY Tab mods=none ' 'KEYUP Tab '
caso "flechas" "accion1 Flecha arriba$T" 'KEY Up mods=none '
caso "flecha abajo" "accion1 Flecha abajo$T" 'KEY Down mods=none '
caso "flecha izquierda" "accion1 Flecha izquierda$T" 'KEY Left mods=none '
caso "flecha derecha" "accion1 Flecha derecha$T" 'KEY Right mods=none '
caso "PgUp" "accion1 PgUp$T" 'KEY PgUp mods=none '
caso "PgDown" "accion1 PgDown$T" 'KEY PgDown mods=none '
caso "Backspace" "accion1 Backspace$T" 'KEY Backspace mods=none '
caso "Delete" "accion1 Delete$T" 'KEY Del mods=none '
caso "F1" "accion1 F1$T" 'KEY F1 mods=none '
caso "F12" "accion2 F12$T" 'KEY F12 mods=none ' 'KEYUP F12 '
caso "espacio" "accion1 Espacio en blanco$T" 'KEY Space mods=none text=\\x20 '
caso "SHIFT+a" "accion1 SHIFT+...${T}a" 'KEY A mods=shift text=A ' 'KEYUP Shift mods=none'
caso "CTRL+a" "accion1 CTRL+...${T}a" 'KEY A mods=ctrl text=\\x01 ' 'KEYUP Control mods=none'
caso "ALT+a" "accion1 ALT+...${T}a" 'KEY A mods=alt ' 'KEYUP Alt mods=none'
# No modifier stays down: the next plain letter comes without any.
caso "ab" "accion1 Letra...${T}ab" 'KEY A mods=none text=a ' 'KEY B mods=none text=b '
caso "Ñ" "accion1 Letra...${T}Ñ" 'KEY .* text=Ñ '
caso "@" "accion1 Letra...${T}@" 'KEY .* text=@ '
caso "click y letra" "accion1 Click izquierdo${T}x" 'PRESS left$' 'RELEASE left$' 'KEY X mods=none text=x '
caso "nada elegido" "accion1 ${T}z" 'KEY Z mods=none text=z '
caso "letras sin tecla en el teclado" "teclas ñ€¿ü" 'KEY .* text=ñ ' 'KEY .* text=€ ' \
  'KEY .* text=¿ ' 'KEY .* text=ü ' 'KEYUP .* text=ü '

# A rejected string types nothing, not even what came before the fault.
antes=$(wc -l <"$LOG")
pedir $'accion1 Letra...\tab{'
[ "$RESPUESTA" = fallo ] || fallar "una llave sin cerrar no se rechazó ($RESPUESTA)"
caso "tras el rechazo" "accion1 Letra...${T}k" 'KEY K mods=none text=k '
tail -n +"$((antes + 1))" "$LOG" | grep -q -E 'KEY (A|B) ' && fallar "la cadena rechazada escribió algo"
pasadas=$((pasadas + 1))

# The keycodes lent to characters without a key get their mapping back (a
# moment after the last keys).
for _ in $(seq 100); do
  xmodmap -pke >"$MAPA.2"
  cmp -s "$MAPA" "$MAPA.2" && break
  sleep 0.1
done
diff "$MAPA" "$MAPA.2" >&2 || fallar "el mapa de teclado no se restauró"
pasadas=$((pasadas + 1))

# esperar_distribucion KEYSYM TEXT: after a layout change, waits until the
# target has taken it in: a key typed by xdotool (which reads the new layout)
# is logged with the character of the new layout. Tries for up to 10 s.
esperar_distribucion() {
  local marca
  for _ in $(seq 10); do
    marca=$(lineas_registro "$LOG")
    xdotool key "$1"
    esperar_linea_desde "$LOG" "$marca" " KEY .* text=$2 " 1 >/dev/null && return 0
  done
  return 1
}

# Spanish layout: @ and € are third-level (AltGr) keys, ñ has its own key.
setxkbmap es
esperar_distribucion ntilde ñ || true
caso "teclado español" "accion1 Letra...${T}@ñ€Ñ" 'KEY AltGr ' 'KEY .* text=@ ' \
  'KEY .* text=ñ sym=0xf1' 'KEY AltGr ' 'KEY .* text=€ sym=0x20ac' 'KEY .* text=Ñ '
caso "teclado español, SHIFT+ñ" "accion2 SHIFT+...${T}ñ" 'KEY .* mods=shift text=Ñ '
setxkbmap us
esperar_distribucion semicolon ';' || true

# With Caps Lock on, letters still come out in the case they were given.
marca=$(lineas_registro "$LOG")
xdotool key Caps_Lock
esperar_linea_desde "$LOG" "$marca" ' KEYUP CapsLock ' >/dev/null || fallar "Bloq Mayús no llegó"
caso "bloqueo de mayúsculas" "accion1 Letra...${T}aB" 'KEY .* text=a ' 'KEY .* text=B '
caso "bloqueo de mayúsculas, CTRL+a" "accion1 CTRL+...${T}a" 'KEY A mods=ctrl text=\\x01 '
xdotool key Caps_Lock

printf 'salir\n' >&"${INY[1]}"
wait "$INY_PID" || fallar "el inyector terminó con error"
INY_PID=""
echo "$pasadas passed, 0 failed"
