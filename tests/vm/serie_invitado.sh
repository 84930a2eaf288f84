#!/usr/bin/env bash
# Inside the guest (run by vm_serie.sh): the switches on the kernel's own
# serial driver, the window hidden, clicks going to the target window.
#   COM2 is the guest's /dev/ttyS1, a 16550 under the 8250 driver whose modem
#   lines the test sets (invitado.sh, QUIMBAL_VM_SERIE): a press, a right
#   click, both switches at once, taps shorter than the poll (counted by the
#   driver's own counters).
#   COM4 is QEMU's USB serial adapter under the kernel's ftdi_sio driver,
#   named by its /dev/serial/by-id link, pulled out and plugged back in
#   through QEMU's monitor: plugged back with the switch held (no action
#   then), the next press within 1.5 s of the re-plug (under a new kernel
#   name), pulled out during a press.
# With LATENCIA=N it then times N presses on COM2 (bench/latencia_invitado.sh).
set -u
export XKB_DEFAULT_LAYOUT=es QUIMBAL_VM_BANDEJA=1
# shellcheck source=/dev/null
source "$QUIMBAL_VM/sesion_wayland.sh" || exit 1
PUERTO_FALSO_COM= # every port here is the kernel's
# shellcheck source=/dev/null
source "$QUIMBAL_VM/programa_invitado.sh"

# COM2: the 16550, which the user may open (as the dialout group gives).
UART=/mnt/out/com2
ln -sfn /dev/ttyS1 "$P/com2"
chown "root:$SESION_USUARIO" /dev/ttyS1 && chmod 660 /dev/ttyS1
puerto_abierto() { grep -q '^rts=1' "$UART.lineas" && grep -q '^dtr=1' "$UART.lineas"; }
ESTADO=$UART.estado
# clics FROM BUTTON: presses logged after line FROM; hay_clics FROM BUTTON N.
clics() { tail -n +"$(($1 + 1))" "$LOG" | grep -c -E " PRESS $2$"; }
hay_clics() { [ "$(clics "$1" "$2")" -ge "$3" ]; }

PUERTO_PERFIL=2
usar_perfil Clics 'Click izquierdo' '' 'Click derecho' ''
# Timed, the program writes when it performs each action.
traza=()
[ "${LATENCIA:-0}" -gt 0 ] && traza=(QT_LOGGING_RULES=quimbal.acciones.debug=true)
arrancar 1 "${traza[@]}"
bien "COM2 (8250) abierto con RTS y DTR"
desde=$(lineas)
pulsar cts
en_orden "CTS: un clic izquierdo" "$desde" 'PRESS left$' 'RELEASE left$'
pulsar dsr
en_orden "DSR: un clic derecho" "$desde" 'PRESS right$' 'RELEASE right$'
desde=$(lineas)
pulso "cts dsr" 150
en_orden "los dos a la vez: primero el switch 1" "$desde" 'PRESS left$' 'PRESS right$'
# Ten taps of 25 ms, timed on the host: a 50 ms poll alone would see about
# half of them.
desde=$(lineas)
echo "cts 10 25" >/mnt/out/toques.pedir
esperar_hasta 20 test -e /mnt/out/toques.hecho || fallar "no se hicieron los toques"
esperar_hasta 5 hay_clics "$desde" left 10
sleep 0.5 # quiet period: no extra click
[ "$(clics "$desde" left)" = 10 ] || fallar "10 toques de 25 ms dieron $(clics "$desde" left) clics"
bien "cada toque más breve que el sondeo, un clic (contadores del controlador 8250)"

if [ "${LATENCIA:-0}" -gt 0 ]; then
  # Each press held until its click arrives, timed from the moment the
  # guest's driver counts the change of CTS (TIOCGICOUNT, polled every
  # millisecond), so that the rig's own delay in passing the line on is left
  # out; both times on the guest's CLOCK_MONOTONIC.
  python3 - "$ESTADO" "$LOG" "$LATENCIA" "$P/salida1.log" <<'FIN'
import fcntl, os, random, struct, sys, time
estado, log, n, salida = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
tty = os.open('/dev/ttyS1', os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
def cts():
    buf = fcntl.ioctl(tty, 0x545D, bytes(80))  # TIOCGICOUNT
    return struct.unpack('i', buf[:4])[0]
def escribir(texto):
    with open(estado + '.tmp', 'w') as f:
        f.write(texto)
    os.rename(estado + '.tmp', estado)
def clics():
    with open(log) as f:
        return [l.split()[0] for l in f if l.rstrip().endswith(' PRESS left')]
def acciones():
    with open(salida) as f:
        return [l.split()[-1] for l in f if l.startswith('quimbal.acciones: accion 1 ')]
def esperar(cond, limite=5):
    fin = time.monotonic() + limite
    while not cond() and time.monotonic() < fin:
        time.sleep(0.001)
    return cond()
for i in range(n):
    antes, hechas, cambios = len(clics()), len(acciones()), cts()
    escribir('cts=1\n')
    if esperar(lambda: cts() != cambios):
        t0 = time.monotonic_ns() // 1000
        if esperar(lambda: len(clics()) > antes):
            print('LATENCIA', t0, clics()[antes], acciones()[hechas], flush=True)
    cambios = cts()
    escribir('')
    esperar(lambda: cts() != cambios)
    time.sleep(random.uniform(0.15, 0.3))  # a random phase against the poll
FIN
fi
parar

# esperar_aviso TEXT N: until the program's output holds TEXT N times.
hay_avisos() { [ "$(grep -c "$1" "$SALIDA")" -ge "$2" ]; }
esperar_aviso() { esperar_hasta 5 hay_avisos "$1" "$2"; }

# COM4: the USB adapter. usb poner|quitar: plugged in or pulled out (by the
# host, through QEMU's monitor).
usb() {
  echo "$1" >/mnt/out/usb.pedir.tmp && mv /mnt/out/usb.pedir.tmp /mnt/out/usb.pedir
  usb_hecho "$1"
}
# usb_hecho poner|quitar: the host's answer to a request already made.
usb_hecho() {
  esperar_hasta 10 test -s /mnt/out/usb.hecho || fallar "QEMU no atendió «$1» del adaptador USB"
  local r
  r=$(cat /mnt/out/usb.hecho)
  rm -f /mnt/out/usb.hecho
  [ "$r" = ok ] || fallar "adaptador USB, $1: $r"
}
por_id() { ls /dev/serial/by-id/* 2>/dev/null | head -n1; }
hay_por_id() { [ -n "$(por_id)" ]; }
ESTADO=/mnt/out/com4.estado
estado
usb poner
esperar_hasta 15 hay_por_id || fallar "el adaptador USB no aparece en /dev/serial/by-id"
ADAPTADOR=$(por_id)
NODO=$(readlink -f "$ADAPTADOR")
udevadm settle -t 5
ln -sfn "$ADAPTADOR" "$P/com4"
puerto_abierto() { grep -q '^rts=1' /mnt/out/com4.lineas && grep -q '^dtr=1' /mnt/out/com4.lineas; }
PUERTO_PERFIL=4
SALIDA=$P/salida2.log
usar_perfil Clics 'Click izquierdo' '' 'Click derecho' ''
arrancar 2
desde=$(lineas)
pulsar cts
en_orden "USB ($ADAPTADOR): un clic" "$desde" 'PRESS left$' 'RELEASE left$'

usb quitar
esperar_aviso 'dejó de responder' 1 || fallar "el programa no notó el adaptador USB quitado"
esperar_hasta 5 sh -c "! test -e '$ADAPTADOR'" || fallar "el enlace by-id sigue tras quitar el adaptador"
desde=$(lineas)
estado cts=1 # plugged back with the switch held
usb poner
esperar_aviso 'vuelve a estar abierto' 1 || fallar "el adaptador USB no se volvió a abrir"
[ "$(readlink -f "$ADAPTADOR")" = "$NODO" ] ||
  fallar "el adaptador volvió como $(readlink -f "$ADAPTADOR"), no $NODO: el programa no soltó el dispositivo"
sleep 0.5 # quiet period: the held switch does nothing
[ "$(clics "$desde" left)" = 0 ] || fallar "al volver a enchufar el USB con el switch pulsado hubo un clic"
estado
sleep 0.15 # released for a few polls
pulsar cts
esperar_linea "$desde" ' PRESS left$' >/dev/null || fallar "la pulsación tras volver a enchufar el USB no actuó"
bien "USB quitado y puesto con el switch pulsado: nada; la pulsación siguiente, un clic; el mismo $NODO"

# Idle, plugged back, pressed as soon as the program has it open: timed from
# the moment the kernel's device is back (its by-id link), and from QEMU's
# plug-in, which includes the guest's own enumeration of the device. Another
# process holds the old device meanwhile, so the kernel gives the adapter a
# new name: only its by-id link leads to it.
python3 -c 'import os, sys, time
os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
open(sys.argv[2], "w").close()
time.sleep(60)' "$NODO" "$P/retenido" &
retenedor=$!
esperar_hasta 5 test -e "$P/retenido" || fallar "no se pudo retener $NODO"
usb quitar
esperar_aviso 'dejó de responder' 2 || fallar "el programa no notó el segundo USB quitado"
desde=$(lineas)
tiempos=$(python3 - "$ESTADO" "$SALIDA" "$ADAPTADOR" <<'FIN'
import os, sys, time
estado, salida, enlace = sys.argv[1:]
ahora = lambda: time.monotonic_ns() // 1000
def escribir(ruta, texto):
    with open(ruta + '.tmp', 'w') as f:
        f.write(texto)
    os.rename(ruta + '.tmp', ruta)
def esperar(cond, limite=10):
    fin = time.monotonic() + limite
    while not cond() and time.monotonic() < fin:
        time.sleep(0.002)
t_pedido = ahora()
escribir('/mnt/out/usb.pedir', 'poner\n')
esperar(lambda: os.path.exists(enlace))
t_enlace = ahora()
esperar(lambda: open(salida).read().count('vuelve a estar abierto') >= 2)
escribir(estado, 'cts=1\n')
time.sleep(0.15)
escribir(estado, '')
print(t_pedido, t_enlace)
FIN
)
usb_hecho poner
n=$(esperar_linea "$desde" ' PRESS left$') || fallar "la pulsación tras enchufar el USB no actuó"
t1=$(sed -n "${n}p" "$LOG" | cut -d' ' -f1)
read -r t_pedido t_enlace <<<"$tiempos"
kill "$retenedor"
[ "$(readlink -f "$ADAPTADOR")" != "$NODO" ] || fallar "el adaptador volvió como $NODO aunque estaba retenido"
[ $((t1 - t_enlace)) -le 1500000 ] || fallar "el clic llegó $(((t1 - t_enlace) / 1000)) ms después de volver el dispositivo"
bien "USB, de vuelta como $(readlink -f "$ADAPTADOR"): la pulsación siguiente actúa $(((t1 - t_enlace) / 1000)) ms después de volver el dispositivo ($(((t1 - t_pedido) / 1000)) ms después de enchufarlo en QEMU)"

# Pulled out during a press: no stuck state; the next press acts once.
desde=$(lineas)
estado cts=1
esperar_linea "$desde" ' PRESS left$' >/dev/null || fallar "la pulsación en el USB no actuó"
usb quitar
esperar_aviso 'dejó de responder' 3 || fallar "el programa no notó el tercer USB quitado"
estado
usb poner
esperar_aviso 'vuelve a estar abierto' 3 || fallar "el adaptador USB no se volvió a abrir"
pulsar cts
esperar_hasta 5 hay_clics "$desde" left 2
sleep 0.5 # quiet period: no extra click
[ "$(clics "$desde" left)" = 2 ] || fallar "USB quitado durante una pulsación: $(clics "$desde" left) clics, no 2"
bien "USB quitado durante una pulsación: la siguiente actúa una vez"
parar
echo "$pasadas passed, 0 failed"
