#!/usr/bin/env bash
# The default input changes while the program waits in the tray in sound mode
# (a second microphone plugged in and chosen): the capture follows it. Before
# the change a burst into the second microphone does nothing; after it, a
# burst into the second one gives exactly one click and one into the first
# microphone none.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_comun.sh"
source "$(dirname "$0")/sonido_servidor.sh"
LOG=$(mktemp /tmp/quimbal-objetivo.XXXXXX)
LECTOR2=""
trap 'terminar_quimbal; terminar_objetivo; [ -n "$LECTOR2" ] && kill $LECTOR2; rm -f "$LOG" "$LOG.salida"' EXIT
fallo() { captura sonido-entrada-fallo; fallar "$@"; }

preparar_sonido_en_bandeja

# The second microphone hears the sink "altavoz2", with a low-latency reader
# of its own like the first.
pactl load-module module-null-sink sink_name=altavoz2 rate=48000 channels=1 >/dev/null
pactl load-module module-remap-source source_name=microfono2 master=altavoz2.monitor channels=1 >/dev/null
parec --latency-msec=5 -d microfono2 >/dev/null 2>&1 &
LECTOR2=$!
esperar_microfono microfono2 || fallo "el segundo micrófono no da sonido"
[ "$(clics_de_rafaga altavoz2)" = 0 ] || fallo "el segundo micrófono actuó sin ser la entrada por defecto"
echo "ok: el segundo micrófono no actúa mientras no es la entrada por defecto"

desde=$(lineas_registro "$CARPETA/salida.log")
pactl set-default-source microfono2
esperar_linea_desde "$CARPETA/salida.log" "$desde" 'sigue a la .*microfono2' 5 >/dev/null ||
  fallo "la captura no siguió a la nueva entrada: $(cat "$CARPETA/salida.log")"
[ "$(clics_de_rafaga altavoz2)" = 1 ] || fallo "una ráfaga en la nueva entrada no dio exactamente un clic"
echo "ok: la captura sigue a la nueva entrada por defecto: una ráfaga, un clic"
[ "$(clics_de_rafaga altavoz)" = 0 ] || fallo "el micrófono anterior sigue actuando"
echo "ok: el micrófono anterior ya no actúa"
! caja_visible || fallo "se mostró un cuadro de mensaje"
