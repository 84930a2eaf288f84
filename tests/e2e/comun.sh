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
