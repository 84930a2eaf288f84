# A private sound server for the virtual desktop, with a virtual microphone:
# whatever is played into the sink "altavoz" is heard on the default source
# "microfono". Needs XDG_RUNTIME_DIR (the server's socket lives there).
#   arrancar_pulseaudio; ...; parar_pulseaudio
PULSE_PID=${PULSE_PID:-}
PAREC_PID=${PAREC_PID:-}

arrancar_pulseaudio() {
  local conf="$XDG_RUNTIME_DIR/quimbal-pulse.pa"
  cat >"$conf" <<'FIN'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=altavoz rate=48000 channels=1
load-module module-remap-source source_name=microfono master=altavoz.monitor channels=1
set-default-sink altavoz
set-default-source microfono
FIN
  HOME="$XDG_RUNTIME_DIR" pulseaudio -n -F "$conf" --daemonize=yes --exit-idle-time=-1 \
    --log-target=file:"$XDG_RUNTIME_DIR/pulseaudio.log" >/dev/null 2>&1 || return 1
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl info >/dev/null 2>&1 || return 1
  PULSE_PID=$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null)
  # One low-latency reader keeps the virtual microphone running in small
  # pieces; an idle one falls into blocks of seconds.
  parec --latency-msec=5 -d microfono >/dev/null 2>&1 &
  PAREC_PID=$!
  return 0
}

# Plays raw 48 kHz mono 16-bit samples from stdin into the virtual microphone.
# A buffer of 100 ms: on a busy machine a smaller one runs dry, and the gaps
# would stretch the sound.
reproducir() {
  pacat --raw --rate=48000 --channels=1 --format=s16le --latency-msec=100 -d altavoz
}

# sox-made sound: tono SECONDS AMPLITUDE (0..1) | silencio SECONDS
tono() { sox -n -r 48000 -c 1 -b 16 -e signed -t raw - synth "$1" sine 1000 vol "$2"; }
silencio() { sox -n -r 48000 -c 1 -b 16 -e signed -t raw - trim 0 "$1"; }

parar_pulseaudio() {
  [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null
  [ -n "$PULSE_PID" ] && kill "$PULSE_PID" 2>/dev/null
  PAREC_PID=""
  PULSE_PID=""
}
