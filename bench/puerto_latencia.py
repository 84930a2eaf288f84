#!/usr/bin/env python3
"""Latency of a switch press: from the moment the line changes (the state file
of the test serial port written) to the click arriving in the target window.

Run by bench/puerto_latencia.sh, which starts the program and the target.
  puerto_latencia.py ESTADO LOG [PRESSES] [SALIDA]
With SALIDA, the program's output with its action trace on
(QT_LOGGING_RULES="quimbal.acciones.debug=true"), the time from the line
change to the program performing the action is given too, apart from the
display server's delivery.
Each press starts at a random phase of the 50 ms poll; its latency is the
target's CLOCK_MONOTONIC timestamp of the PRESS minus the time of the write.
With QUIMBAL_SIN_ESPERA=1 the port reports no line changes (as a
pseudo-terminal, or a driver without TIOCMIWAIT): the poll alone finds them."""
import os
import random
import statistics
import sys
import time


def ahora_us():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC) // 1000


def escribir(estado, texto):
    tmp = estado + ".tmp"
    with open(tmp, "w") as f:
        f.write(texto)
    os.replace(tmp, estado)


def prensas(log):
    with open(log) as f:
        return [int(l.split()[0]) for l in f if l.rstrip().endswith(" PRESS left")]


def acciones(salida):
    if not salida:
        return []
    with open(salida) as f:
        return [int(l.split()[-1]) for l in f if l.startswith("quimbal.acciones: accion 1 ")]


def resumen(titulo, latencias):
    latencias = sorted(latencias)
    n = len(latencias)
    p99 = latencias[min(n - 1, int(round(0.99 * n)) - 1)]
    print(f"{titulo}: mediana {statistics.median(latencias):.1f} ms  "
          f"p90 {latencias[int(0.9 * n) - 1]:.1f} ms  p99 {p99:.1f} ms  "
          f"máximo {latencias[-1]:.1f} ms")


def main():
    estado, log = sys.argv[1], sys.argv[2]
    n = int(sys.argv[3]) if len(sys.argv) > 3 else 120
    salida = sys.argv[4] if len(sys.argv) > 4 else ""
    extra = "sin_espera=1\n" if os.environ.get("QUIMBAL_SIN_ESPERA") == "1" else ""
    latencias, decididas = [], []
    for i in range(n):
        time.sleep(random.uniform(0.0, 0.05))  # a random phase of the poll
        antes, hechas = len(prensas(log)), len(acciones(salida))
        t0 = ahora_us()
        escribir(estado, "cts=1\n" + extra)
        limite = time.monotonic() + 2.0
        while len(prensas(log)) == antes:
            if time.monotonic() > limite:
                sys.exit(f"pulsación {i}: ningún clic en 2 s")
            # The latency is the target's own timestamp: polling the log
            # gently keeps this script from competing with what it measures.
            time.sleep(0.005)
        latencias.append((prensas(log)[antes] - t0) / 1000.0)
        if salida:
            decididas.append((acciones(salida)[hechas] - t0) / 1000.0)
        time.sleep(0.08)
        escribir(estado, "cts=0\n" + extra)
        time.sleep(0.12)  # released for at least two polls
    print(f"pulsaciones: {n}")
    if decididas:
        resumen("línea → acción", decididas)
    resumen("línea → clic en la ventana", latencias)
    print(f"por encima de 55 ms: {sum(1 for x in latencias if x > 55)}")


if __name__ == "__main__":
    main()
