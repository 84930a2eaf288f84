#!/usr/bin/env python3
"""Plays bursts of loud tone into the private sound server, between stretches
of silence, and prints the monotonic time (microseconds) at which each burst
starts, one line each: "<us> RAFAGA <n>". A reference ear (parec with a
2 ms latency on the virtual microphone) prints "<us> OIDO <n>" when it hears
each burst begin: that is when the burst reaches the microphone, whatever the
player's own buffering.

Audio is written to pacat in 5 ms pieces paced by the clock, only once pacat
is connected (anything written before would stay queued ahead of every burst)
and through a pipe of one page, so that the moment a burst's first piece is
written is within a few milliseconds of the moment it plays.

    rafagas.py BURSTS [BURST_MS] [GAP_MS] [AMPLITUDE 0..1]
"""
import fcntl
import math
import os
import struct
import subprocess
import sys
import threading
import time

TASA = 48000
PIEZA_MS = 5
MUESTRAS = TASA * PIEZA_MS // 1000


def ahora_us():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC) // 1000


def oido(parar):
    """Prints the time each burst onset is heard on the virtual microphone."""
    parec = subprocess.Popen(
        ["parec", "--raw", "--rate=%d" % TASA, "--channels=1", "--format=s16le",
         "--latency-msec=2", "-d", "microfono"], stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL, bufsize=0)
    fd = parec.stdout.fileno()
    sonando, n, resto = False, 0, b""
    silencio_desde = 0
    while not parar.is_set():
        datos = os.read(fd, 192)
        if not datos:
            break
        t = ahora_us()
        datos = resto + datos
        usables = len(datos) // 2 * 2
        resto = datos[usables:]
        m = struct.unpack("<%dh" % (usables // 2), datos[:usables])
        fuerte = any(abs(x) > 16000 for x in m)
        if fuerte and not sonando:
            n += 1
            print("%d OIDO %d" % (t, n), flush=True)
            sonando = True
        if fuerte:
            silencio_desde = t
        elif sonando and t - silencio_desde > 100000:
            sonando = False
    parec.kill()


def main():
    rafagas = int(sys.argv[1]) if len(sys.argv) > 1 else 30
    rafaga_ms = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    pausa_ms = int(sys.argv[3]) if len(sys.argv) > 3 else 700
    amplitud = float(sys.argv[4]) if len(sys.argv) > 4 else 0.9
    silencio = bytes(MUESTRAS * 2)
    fase = 0

    def tono():
        nonlocal fase
        m = []
        for _ in range(MUESTRAS):
            m.append(int(amplitud * 32767 * math.sin(2 * math.pi * 1000 * fase / TASA)))
            fase += 1
        return struct.pack("<%dh" % MUESTRAS, *m)

    pacat = subprocess.Popen(
        ["pacat", "--raw", "--rate=%d" % TASA, "--channels=1", "--format=s16le",
         "--latency-msec=5", "--process-time-msec=2"],
        stdin=subprocess.PIPE, bufsize=0)
    salida = pacat.stdin
    F_SETPIPE_SZ = 1031
    try:
        fcntl.fcntl(salida.fileno(), F_SETPIPE_SZ, 4096)
    except OSError:
        pass
    limite = time.monotonic() + 10
    while time.monotonic() < limite:
        entradas = subprocess.run(["pactl", "list", "short", "sink-inputs"],
                                  capture_output=True, text=True).stdout
        if entradas.strip():
            break
        time.sleep(0.05)
    siguiente = time.monotonic()

    def escribir(pieza):
        nonlocal siguiente
        siguiente += PIEZA_MS / 1000
        espera = siguiente - time.monotonic()
        if espera > 0:
            time.sleep(espera)
        salida.write(pieza)

    parar = threading.Event()
    hilo = threading.Thread(target=oido, args=(parar,), daemon=True)
    hilo.start()
    for _ in range(400 // PIEZA_MS):  # let the stream settle
        escribir(silencio)
    for n in range(rafagas):
        for i in range(rafaga_ms // PIEZA_MS):
            pieza = tono()
            if i == 0:
                # Stamped just before the write: the piece plays from here on.
                print("%d RAFAGA %d" % (ahora_us(), n + 1), flush=True)
            escribir(pieza)
        for _ in range(pausa_ms // PIEZA_MS):
            escribir(silencio)
    salida.close()
    pacat.wait()
    time.sleep(0.3)
    parar.set()
    return 0


if __name__ == "__main__":
    sys.exit(main())
