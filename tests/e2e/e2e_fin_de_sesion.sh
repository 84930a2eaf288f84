#!/usr/bin/env bash
# The session ends (SIGTERM, as at logout or shutdown) while the window is
# hidden after a change was accepted: the change is in the file, the serial
# port is closed and its lock is gone, within 2 s; and the next user of the
# computer has working switches on the same port.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
source "$(dirname "$0")/arranque_comun.sh"
source "$(dirname "$0")/sonido_servidor.sh"
LOG=$(mktemp /tmp/quimbal-fin.XXXXXX)
trap 'terminar_quimbal; terminar_objetivo; limpiar_puerto_falso; rm -rf "${RUNTIME_OTRO:-}" "$LOG"' EXIT

arrancar_objetivo "$LOG"
preparar_carpeta
preparar_puerto_falso
registro General 1 'Click izquierdo' 'Click derecho' >"$CARPETA/usuarios.dat"
configuracion 0 >"$CARPETA/quimbal.dat"
cp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes"
arrancar_quimbal_con_puerto
wid=$(pasar_inicio) || fallar "no se llegó a la ventana de configuración"
# The change: the port, chosen and accepted; nothing saves it but "Salir".
elegir_puerto_y_aceptar "$wid" 2
esperar_puerto_abierto || fallar "el puerto elegido no se abrió"
esperar_sin_ventana "Quimbal 1.6" || fallar "Aceptar no ocultó la ventana"
# The port's lock file, the one that names the program's process.
bloqueo=""
for f in /run/lock/LCK..*; do
  [ "$(head -n1 "$f" 2>/dev/null | tr -d ' ')" = "$QUIMBAL_PID" ] && bloqueo=$f
done
[ -n "$bloqueo" ] || fallar "el puerto abierto no tiene archivo de bloqueo en /run/lock: $(ls /run/lock)"
[ "$(od -An -tu1 -N1 "$CARPETA/quimbal.dat" | tr -d ' ')" = 0 ] || fallar "quimbal.dat cambió antes del final"

inicio=$(date +%s%N)
kill -TERM "$QUIMBAL_PID"
esperar_fin_de "$QUIMBAL_PID" || fallar "SIGTERM no terminó el programa"
ms=$(( ($(date +%s%N) - inicio) / 1000000 ))
[ "$ms" -le 2000 ] || fallar "el programa tardó $ms ms en terminar"
codigo=0; wait "$QUIMBAL_PID" || codigo=$?
QUIMBAL_PID=""
[ "$codigo" = 0 ] || fallar "el programa terminó con $codigo tras SIGTERM"
[ "$(od -An -tu1 -N1 "$CARPETA/quimbal.dat" | tr -d ' ')" = 2 ] || fallar "el puerto elegido no llegó a quimbal.dat"
cmp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes" || fallar "usuarios.dat no es el de antes"
[ "$(linea_puerto abierto)" = 0 ] || fallar "el puerto quedó abierto"
[ ! -e "$bloqueo" ] || fallar "quedó el bloqueo del puerto $bloqueo"
grep -q 'fin pedido (SIGTERM)' "$CARPETA/salida.log" || fallar "salida: $(cat "$CARPETA/salida.log")"
bien "SIGTERM con la ventana oculta: el cambio aceptado en quimbal.dat, puerto cerrado y sin bloqueo, en $ms ms"

# The next user of the computer, on the same port.
abrir_a_otros_usuarios 777
arrancar_como_otro_usuario
esperar_puerto_abierto || fallar "otro usuario no pudo abrir el puerto: $(cat "$RUNTIME_OTRO.log")"
pulsar_y_esperar_clic "$LOG" || fallar "el switch del otro usuario no dio un clic"
bien "el siguiente usuario tiene los switches en el mismo puerto"
echo "$pasadas passed, 0 failed"
