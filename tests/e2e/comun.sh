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
  # COM1..COM4 stand for links to nothing: the program never opens a serial
  # device of this machine (/dev/ttyS0 may be its console) in a test.
  for n in 1 2 3 4; do ln -s "/nonexistent/quimbal-sin-puerto-$n" "$CARPETA/com$n"; done
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
    [ -n "$wid" ] && { echo "$wid"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits (up to 5 s) until window WID has the keyboard focus: keys sent from
# then on reach it.
esperar_foco() {
  for _ in $(seq 250); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.02
  done
  return 1
}

# A window that takes the keyboard when it shows (a question, a message box,
# a dialog): waits for it, as esperar_ventana, and then for its focus; prints
# its id. Without the focus the id is still printed (what follows fails with
# its own message) and a note goes to stderr.
esperar_dialogo() {
  local wid
  wid=$(esperar_ventana "$@") || return 1
  esperar_foco "$wid" || echo "aviso: «$1» no recibió el foco" >&2
  echo "$wid"
}

# A quiet period, not a wait: what follows checks that something did NOT
# happen (a further click, an exit, a write) during these seconds, and no
# event marks the end of such a span.
nada_durante() { sleep "$1"; }

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
  cerrar_aviso_de_puerto
  echo "$wid"
}

# The test folders' COM1..COM4 name no device: when the profile shown uses
# the switches, the window says once, as it appears, that its port could not
# be opened (the program notes it on standard error first). Accepts that box.
cerrar_aviso_de_puerto() {
  local aviso
  grep -q "no se puede abrir el puerto" "$CARPETA/salida.log" 2>/dev/null || return 0
  aviso=$(esperar_dialogo "Puerto serie" 50) || return 0
  # Return through the keyboard, on the box once it has the focus (a key sent
  # to a window that has not may be dropped); again until it is gone.
  for _ in 1 2 3 4 5; do
    xdotool windowactivate --sync "$aviso" >/dev/null 2>&1 || true
    esperar_foco "$aviso" || true
    xdotool key Return
    for _ in $(seq 20); do
      xdotool search --onlyvisible --name '^Puerto serie$' >/dev/null 2>&1 || return 0
      sleep 0.1
    done
  done
  echo "no se cerró el aviso del puerto" >&2
  return 1
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

# Colour "r,g,b" of one pixel of a window, at client coordinates X Y.
color_en_ventana() {
  import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n1
}

# Waits (up to 3 s) until that pixel has that colour: esperar_color WID X Y
# COLOUR.
esperar_color() {
  for _ in $(seq 30); do
    [ "$(color_en_ventana "$1" "$2" "$3")" = "$4" ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits (up to 3 s) until that pixel has any other colour.
esperar_otro_color() {
  for _ in $(seq 30); do
    [ "$(color_en_ventana "$1" "$2" "$3")" != "$4" ] && return 0
    sleep 0.1
  done
  return 1
}

# The activation option the configuration window shows: the dot of the
# checked radio button is dark, the other's is white ("Usar Switch..." at
# 375,135 and "Usar Sonido..." at 375,243, client pixels). Waits (up to 3 s)
# until MODE (switch or sonido) is the one checked: esperar_modo WID MODE.
esperar_modo() {
  local y=135 c
  [ "$2" = sonido ] && y=243
  for _ in $(seq 30); do
    c=$(color_en_ventana "$1" 375 "$y")
    [ -n "$c" ] && [ "${c%%,*}" -lt 128 ] && return 0
    sleep 0.1
  done
  return 1
}

# Puts the pointer at X Y (screen pixels) and waits (up to 2 s) until it is
# there. (xdotool's own --sync waits for a motion, and so hangs for seconds
# when the pointer is already in place.)
mover_raton() {
  local X Y SCREEN WINDOW
  xdotool mousemove "$1" "$2"
  for _ in $(seq 100); do
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
    sleep 0.02
  done
  return 1
}

# Left press and release in the middle of a window.
clic_en_ventana() {
  local w="$1" x y X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$w")"
  x=$((X + WIDTH / 2)); y=$((Y + HEIGHT / 2))
  mover_raton "$x" "$y" || true
  xdotool click 1
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

# --- Target window -----------------------------------------------------------
# build/objetivo shows a window titled "Objetivo" and appends one line per input
# event it receives to a log file: "<CLOCK_MONOTONIC µs> PRESS left",
# "RELEASE right", "KEY F5 mods=shift text=A sym=0x41", "KEYUP ...",
# "FOCUSIN", "ENTER", ... (see tests/e2e/objetivo/objetivo.cpp).
OBJETIVO_PID=""
OBJETIVO_WID=""

# Starts the target logging into LOG (emptied first), waits for its window,
# gives it the keyboard focus and puts the pointer over its middle. Sets
# OBJETIVO_PID and OBJETIVO_WID.
arrancar_objetivo() {
  local log="$1"
  : >"$log"
  (cd / && exec "$QUIMBAL_BUILD/objetivo" "$log" >"$log.salida" 2>&1) &
  OBJETIVO_PID=$!
  OBJETIVO_WID=$(esperar_ventana "Objetivo") || fallar "no apareció la ventana Objetivo"
  enfocar_objetivo "$log"
}

# Gives the target the focus again and the pointer (after another window took
# them); waits until the target itself logs that it has the focus.
enfocar_objetivo() {
  local log="$1" X Y WIDTH HEIGHT SCREEN WINDOW
  xdotool windowactivate --sync "$OBJETIVO_WID" 2>/dev/null || true
  xdotool windowfocus --sync "$OBJETIVO_WID" 2>/dev/null || true
  eval "$(xdotool getwindowgeometry --shell "$OBJETIVO_WID")"
  mover_raton $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) || true
  for _ in $(seq 250); do
    [ "$(grep -E ' FOCUS(IN|OUT)$' "$log" | tail -n1 | cut -d' ' -f2)" = FOCUSIN ] && return 0
    sleep 0.02
  done
  fallar "la ventana Objetivo no recibió el foco"
}

# Waits until a line of LOG matches the extended regular expression PATTERN;
# prints the first matching line. TIMEOUT in seconds (default 5).
esperar_linea() {
  local log="$1" patron="$2" limite=${3:-5} linea
  local fin=$(( $(date +%s%N) + limite * 1000000000 ))
  while :; do
    linea=$(grep -E -m1 -- "$patron" "$log" 2>/dev/null) && { echo "$linea"; return 0; }
    [ "$(date +%s%N)" -ge "$fin" ] && return 1
    sleep 0.02
  done
}

# Number of lines in LOG now: with esperar_linea_desde, to look only at what
# arrives after a given moment.
lineas_registro() { wc -l <"$1"; }

# Like esperar_linea, among the lines after the first FROM lines of LOG.
esperar_linea_desde() {
  local log="$1" desde="$2" patron="$3" limite=${4:-5} linea
  local fin=$(( $(date +%s%N) + limite * 1000000000 ))
  while :; do
    linea=$(tail -n +"$((desde + 1))" "$log" 2>/dev/null | grep -E -m1 -- "$patron") && { echo "$linea"; return 0; }
    [ "$(date +%s%N)" -ge "$fin" ] && return 1
    sleep 0.02
  done
}

terminar_objetivo() {
  [ -n "$OBJETIVO_PID" ] && kill "$OBJETIVO_PID" 2>/dev/null
  wait "$OBJETIVO_PID" 2>/dev/null || true
  OBJETIVO_PID=""
  OBJETIVO_WID=""
}

# Esc asks before leaving; Yes (the button before the default No) answers.
# Waits for the program to end and leaves its exit code in SALIDA.
salir_con_si() {
  local wid="$1"
  xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
  xdotool key Escape
  esperar_dialogo "Atención!" 50 >/dev/null || fallar "Esc no preguntó antes de salir"
  xdotool key shift+Tab space
  for _ in $(seq 100); do kill -0 "$QUIMBAL_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$QUIMBAL_PID" 2>/dev/null && fallar "Sí no terminó el programa"
  SALIDA=0
  wait "$QUIMBAL_PID" || SALIDA=$?
  QUIMBAL_PID=""
}
