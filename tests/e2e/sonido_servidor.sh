# Helpers of the tests where the sound server goes away, comes back or
# changes its default input while the program runs. Needs comun.sh,
# pulseaudio.sh and sonido_comun.sh.

# A program folder whose settings choose no serial port (port 0, profile
# "General"): nothing but the sound can show a box at load.
preparar_carpeta_sin_puerto() {
  preparar_carpeta
  { printf '\0'; printf '%-20s' General; } >"$CARPETA/quimbal.dat"
}

# Waits (up to SECONDS, default 10) until SOURCE delivers sound: a sink the
# server has just made renders its first long block before it follows the
# readers' small pieces, and sound played meanwhile arrives late.
esperar_microfono() {
  timeout "${2:-10}" sh -c "parec --raw --latency-msec=5 -d '$1' 2>/dev/null | head -c 9600 >/dev/null"
}

# Waits (up to 5 s) until process PID has ended.
esperar_fin_de() {
  for _ in $(seq 250); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.02
  done
  return 1
}

# The server dies without a word (SIGKILL, as in a crash), with the
# desktop's own reader.
matar_pulseaudio() {
  local servidor=$PULSE_PID
  [ -n "$servidor" ] || fallar "no se conoce el proceso del servidor de sonido"
  [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null
  kill -9 "$servidor" || fallar "no se pudo matar el servidor de sonido"
  esperar_fin_de "$servidor" || fallar "el servidor de sonido no terminó"
  PULSE_PID=""
  PAREC_PID=""
}

# The program's box (the window is hidden, or not yet shown): a visible window
# with the program's title lower than the configuration window.
caja_visible() {
  local w HEIGHT X Y WIDTH SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --name '^Quimbal 1.6$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$HEIGHT" -lt 250 ] && return 0
  done
  return 1
}

# Passes the start screen when the sound cannot start: the box that says so
# comes first and Return closes it, then the configuration window shows; its
# id is printed.
continuar_con_aviso() {
  local inicio
  inicio=$(esperar_ventana "Quimbal") || fallar "no apareció la pantalla de inicio"
  xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || xdotool windowfocus --sync "$inicio"
  xdotool key --clearmodifiers space
  esperar_dialogo "Quimbal 1.6" >/dev/null || fallar "no apareció nada tras Continuar"
  caja_visible || fallar "no se mostró el cuadro de aviso del sonido"
  xdotool key Return
  for _ in $(seq 50); do caja_visible || break; sleep 0.1; done
  ! caja_visible || fallar "el cuadro no se cerró con Intro"
  esperar_ventana "Quimbal 1.6" || fallar "tras el aviso no apareció la ventana de configuración"
}

# Plays raw 48 kHz mono 16-bit samples from stdin into the sink SINK.
reproducir_en() {
  pacat --raw --rate=48000 --channels=1 --format=s16le --latency-msec=100 -d "$1"
}

# Left-button presses in the target's log LOG.
clics_en() { grep -cE ' (PRESS|DBLCLICK) left$' "$1" || true; }

# Starts the target and the program (port 0), passes the start screen, waits
# for the first sound reading, puts the profile into sound mode and hides the
# window: from then on a loud sound clicks in the target. Needs LOG.
preparar_sonido_en_bandeja() {
  arrancar_objetivo "$LOG"
  preparar_carpeta_sin_puerto
  arrancar_quimbal
  VENTANA=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
  esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
    fallar "el programa no recibe lecturas: $(cat "$CARPETA/salida.log")"
  modo_sonido "$VENTANA"
  aceptar "$VENTANA" || fallar "la ventana no se ocultó"
  mover_raton 1200 20 || true
  enfocar_objetivo "$LOG"
}

# Plays a loud burst of 0.3 s into SINK (default altavoz) and gives the
# number of clicks it produced: waits (up to 3 s) for the first, then a quiet
# second for any more. Prints the count.
clics_de_rafaga() {
  local antes n
  antes=$(clics_en "$LOG")
  tono 0.3 0.9 | reproducir_en "${1:-altavoz}"
  for _ in $(seq 150); do
    [ "$(clics_en "$LOG")" -gt "$antes" ] && break
    sleep 0.02
  done
  nada_durante 1
  n=$(( $(clics_en "$LOG") - antes ))
  echo "$n"
}
