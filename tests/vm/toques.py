#!/usr/bin/env python3
# Host side of the guest's taps on its 16550 (invitado.sh QUIMBAL_VM_SERIE=1):
# taps far shorter than the program's 50 ms poll need exact timing, which a
# guest without acceleration cannot give. The guest asks by writing
# /mnt/out/toques.pedir ("LINE N MS": N taps of MS milliseconds, 0.3 s apart);
# this writes them into the state file QEMU reads, then toques.hecho.
#   toques.py JOB_FOLDER
import os, sys, time

trabajo = sys.argv[1]
estado = os.path.join(trabajo, 'com2.estado')
pedir = os.path.join(trabajo, 'toques.pedir')


def escribir(texto):
    with open(estado + '.tmp', 'w') as f:
        f.write(texto)
    os.rename(estado + '.tmp', estado)


while True:
    try:
        with open(pedir) as f:
            linea, n, ms = f.read().split()
    except (FileNotFoundError, ValueError):
        time.sleep(0.02)
        continue
    os.remove(pedir)
    for i in range(int(n)):
        if i:
            time.sleep(0.3)
        escribir(linea + '=1\n')
        time.sleep(int(ms) / 1000)
        escribir('')
    open(os.path.join(trabajo, 'toques.hecho'), 'w').close()
