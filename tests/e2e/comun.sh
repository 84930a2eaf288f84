# Shared helpers of the end-to-end tests. Expect QUIMBAL_BUILD (the build
# folder with the program) and a running display (see escritorio.sh).
QUIMBAL_BUILD=${QUIMBAL_BUILD:-$PWD}
QUIMBAL_ARTEFACTOS=${QUIMBAL_ARTEFACTOS:-$QUIMBAL_BUILD/artefactos}
QUIMBAL_PID=""

fallar() { echo "FALLO: $*" >&2; exit 1; }

# A fresh folder holding a copy of the program (and its help file), so that
# the data files it writes land there and nowhere else.
preparar_carpeta() {
  CARPETA=$(mktemp -d /tmp/quimbal-e2e.XXXXXX)
  cp "$QUIMBAL_BUILD/quimbal" "$CARPETA/"
  [ -f "$QUIMBAL_BUILD/quimbal.hlp" ] && cp "$QUIMBAL_BUILD/quimbal.hlp" "$CARPETA/"
  return 0
}

arrancar_quimbal() {
  (cd / && exec "$CARPETA/quimbal" "$@" >"$CARPETA/salida.log" 2>&1) &
  QUIMBAL_PID=$!
}

# Waits for a visible window with exactly this title; prints its id.
esperar_ventana() {
  local titulo="$1" limite=${2:-100} wid
  for _ in $(seq "$limite"); do
    wid=$(xdotool search --onlyvisible --name "^${titulo}\$" 2>/dev/null | head -n1)
    [ -n "$wid" ] && { sleep 0.3; echo "$wid"; return 0; }
    sleep 0.1
  done
  return 1
}

captura() {
  mkdir -p "$QUIMBAL_ARTEFACTOS"
  import -window root "$QUIMBAL_ARTEFACTOS/$1.png" 2>/dev/null || true
}

terminar_quimbal() {
  [ -n "$QUIMBAL_PID" ] && kill "$QUIMBAL_PID" 2>/dev/null
  wait "$QUIMBAL_PID" 2>/dev/null || true
  QUIMBAL_PID=""
}

# The program opens on its start screen (a borderless window named "Quimbal");
# a key press on it leads to the configuration window "Quimbal 1.6", whose id
# is printed.
pasar_inicio() {
  local inicio wid
  inicio=$(esperar_ventana "Quimbal") || { echo "no apareció la pantalla de inicio" >&2; return 1; }
  xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || xdotool windowfocus --sync "$inicio"
  xdotool key --clearmodifiers space
  wid=$(esperar_ventana "Quimbal 1.6") || { echo "no apareció la ventana Quimbal 1.6" >&2; return 1; }
  echo "$wid"
}

# The program's icon in the notification area: its small visible window.
icono_bandeja() {
  local w g
  for w in $(xdotool search --onlyvisible --class quimbal 2>/dev/null); do
    g=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    set -- $g
    [ -n "${1:-}" ] && [ "$1" -le 64 ] && [ "$2" -le 64 ] && { echo "$w"; return 0; }
  done
  return 1
}

# Left press and release in the middle of a window.
clic_en_ventana() {
  local w="$1" x y ancho alto
  eval "$(xdotool getwindowgeometry --shell "$w")"
  x=$((X + WIDTH / 2)); y=$((Y + HEIGHT / 2))
  xdotool mousemove --sync "$x" "$y" click 1
}

# Waits until no visible window has this title.
esperar_sin_ventana() {
  local titulo="$1" limite=${2:-100}
  for _ in $(seq "$limite"); do
    xdotool search --onlyvisible --name "^${titulo}\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
