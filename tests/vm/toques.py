#!/usr/bin/env python3
# Host side of the guest's serial devices (invitado.sh QUIMBAL_VM_SERIE=1).
# Taps on the 16550: taps far shorter than the program's 50 ms poll need exact
# timing, which a guest without acceleration cannot give. The guest asks by
# writing /mnt/out/toques.pedir ("LINE N MS": N taps of MS milliseconds, 0.3 s
# apart); this writes them into the state file QEMU reads, then toques.hecho.
# The USB adapter: the guest writes /mnt/out/usb.pedir, "poner" or "quitar";
# this plugs QEMU's USB serial adapter in or pulls it out through QMP, then
# writes usb.hecho ("ok", or QEMU's error).
#   toques.py JOB_FOLDER QMP_SOCKET
import json, os, socket, sys, time

trabajo, qmp = sys.argv[1], sys.argv[2]
estado = os.path.join(trabajo, 'com2.estado')
pedir = os.path.join(trabajo, 'toques.pedir')
pedir_usb = os.path.join(trabajo, 'usb.pedir')
# A real adapter keeps its serial number, and so its /dev/serial/by-id name:
# QEMU's would follow the USB port it gets, so both are fixed.
ADAPTADOR = {'driver': 'usb-serial', 'id': 'adaptador', 'chardev': 'com4',
             'bus': 'xhci.0', 'port': '1', 'serial': 'QUIMBAL0001',
             'always-plugged': True}


def escribir(ruta, texto):
    with open(ruta + '.tmp', 'w') as f:
        f.write(texto)
    os.rename(ruta + '.tmp', ruta)


def leer(ruta):
    try:
        with open(ruta) as f:
            return f.read()
    except FileNotFoundError:
        return None


def orden_qmp(orden, argumentos, evento=None):
    """Runs one QMP command; with evento, also waits for that event (device_del
    only asks the guest: the device is gone when QEMU says DEVICE_DELETED)."""
    with socket.socket(socket.AF_UNIX) as s:
        s.settimeout(10)
        s.connect(qmp)
        f = s.makefile('rw')
        f.readline()  # greeting
        for pedido in ({'execute': 'qmp_capabilities'},
                       {'execute': orden, 'arguments': argumentos}):
            f.write(json.dumps(pedido) + '\n')
            f.flush()
            while True:
                r = json.loads(f.readline())
                if 'error' in r:
                    return r['error'].get('desc', 'error')
                if 'return' in r:
                    break
        while evento:
            r = json.loads(f.readline())
            if r.get('event') == evento:
                break
    return 'ok'


while True:
    usb = (leer(pedir_usb) or '').strip()
    if usb in ('poner', 'quitar'):
        os.remove(pedir_usb)
        try:
            if usb == 'poner':
                r = orden_qmp('device_add', ADAPTADOR)
            else:
                r = orden_qmp('device_del', {'id': 'adaptador'}, 'DEVICE_DELETED')
        except (OSError, ValueError) as e:
            r = str(e) or type(e).__name__
        escribir(os.path.join(trabajo, 'usb.hecho'), r + '\n')
    try:
        linea, n, ms = (leer(pedir) or '').split()
    except ValueError:  # none, or not all written yet
        time.sleep(0.02)
        continue
    os.remove(pedir)
    for i in range(int(n)):
        if i:
            time.sleep(0.3)
        escribir(estado, linea + '=1\n')
        time.sleep(int(ms) / 1000)
        escribir(estado, '')
    open(os.path.join(trabajo, 'toques.hecho'), 'w').close()
