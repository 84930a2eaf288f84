#!/usr/bin/python3
# What a screen reader gets of the running program through the accessibility
# bus (AT-SPI), as e2e_accesible.sh asks:
#   accesible.py nombres TITLE       the shown window with that title: every
#       focusable control has a name of its own (not empty, not a bare number,
#       not another control's); every label ending in ":" is the label for a
#       control of the window; each list also gives its entry as its text.
#       Prints "nombrados N de M".
#   accesible.py luz STATE_FILE KEY CAPTION
#       writes "KEY=1" to the test serial port's state file and waits for the
#       light CAPTION to say so on the bus, then "KEY=0" and back.
# Exits 1 with a message on the first fault.
import os
import re
import sys

import pyatspi
from gi.repository import GLib

ESPERA_S = 10


def fallar(mensaje):
    print("FALLO: " + mensaje, file=sys.stderr)
    sys.exit(1)


def programa():
    for _ in range(ESPERA_S * 10):
        escritorio = pyatspi.Registry.getDesktop(0)
        for app in escritorio:
            if app is not None and app.name.lower() == "quimbal":
                return app
        GLib.usleep(100000)
    fallar("el programa no aparece en el bus de accesibilidad")


def ventana(titulo):
    for _ in range(ESPERA_S * 10):
        for v in programa():
            if v is not None and v.name == titulo and \
                    v.getState().contains(pyatspi.STATE_SHOWING):
                return v
        GLib.usleep(100000)
    fallar("no hay una ventana «%s» a la vista en el bus" % titulo)


def descendientes(nodo):
    for hijo in nodo:
        if hijo is None:
            continue
        yield hijo
        # A list's entries belong to the list.
        if hijo.getRole() != pyatspi.ROLE_COMBO_BOX:
            yield from descendientes(hijo)


def objetivos(nodo, relacion):
    for r in nodo.getRelationSet():
        if r.getRelationType() == relacion:
            return [r.getTarget(i) for i in range(r.getNTargets())]
    return []


def nombres(titulo):
    v = ventana(titulo)
    controles = [c for c in descendientes(v)
                 if c.getState().contains(pyatspi.STATE_FOCUSABLE)]
    if not controles:
        fallar("«%s» no tiene controles que tomen el foco" % titulo)
    vistos = {}
    for c in controles:
        n = c.name.strip()
        papel = c.getRoleName()
        if not n:
            fallar("«%s»: un control (%s) no tiene nombre" % (titulo, papel))
        if re.fullmatch(r"\d+", n):
            fallar("«%s»: un control (%s) se llama «%s»" % (titulo, papel, n))
        if n in vistos:
            fallar("«%s»: dos controles se llaman «%s»" % (titulo, n))
        vistos[n] = c
        if c.getRole() == pyatspi.ROLE_COMBO_BOX:
            valor = c.queryText().getText(0, -1)
            if not valor or valor == n:
                fallar("«%s»: la lista «%s» no da su elección como texto (%r)" %
                       (titulo, n, valor))
    etiquetas = [e for e in descendientes(v)
                 if e.getRole() == pyatspi.ROLE_LABEL and e.name.strip().endswith(":")]
    for e in etiquetas:
        nombrados = objetivos(e, pyatspi.RELATION_LABEL_FOR)
        if not any(o in controles for o in nombrados):
            fallar("«%s»: la etiqueta «%s» no nombra ningún control" % (titulo, e.name))
        for o in nombrados:
            if e not in objetivos(o, pyatspi.RELATION_LABELLED_BY):
                fallar("«%s»: «%s» no dice que lo nombra «%s»" % (titulo, o.name, e.name))
    print("%s: nombrados %d de %d, %d etiquetas unidas" %
          (titulo, len(vistos), len(controles), len(etiquetas)))


def escribir_estado(archivo, linea):
    with open(archivo + ".tmp", "w") as f:
        f.write(linea + "\n")
    os.replace(archivo + ".tmp", archivo)


def luz(archivo, clave, rotulo):
    """The light's own events while its switch is pressed and released."""
    eventos = []
    bucle = GLib.MainLoop()
    esperado = {"nombre": None}

    def al_evento(ev):
        fuente = ev.source
        try:
            nombre = fuente.name
        except Exception:
            return
        if not nombre.startswith(rotulo):
            return
        eventos.append((ev.type, nombre))
        if esperado["nombre"] and nombre == esperado["nombre"]:
            bucle.quit()

    tipos = ["object:property-change:accessible-name", "object:state-changed"]
    for t in tipos:
        pyatspi.Registry.registerEventListener(al_evento, t)

    # Walking the window asks the program over the bus: it has handled the
    # registry's news of these listeners before it answers, so it sends
    # their events from then on.
    luz = None
    for c in descendientes(ventana("Quimbal 1.6")):
        if c.getRole() == pyatspi.ROLE_LABEL and c.name.startswith(rotulo):
            luz = c
    if luz is None:
        fallar("no está la luz «%s»" % rotulo)
    if luz.name != rotulo + ": suelto":
        fallar("la luz se llama «%s» sin pulsar" % luz.name)

    def paso(linea, nombre):
        esperado["nombre"] = nombre
        antes = len(eventos)
        escribir_estado(archivo, linea)
        reloj = GLib.timeout_add_seconds(ESPERA_S, bucle.quit)
        bucle.run()
        GLib.source_remove(reloj)
        if not any(n == nombre for _, n in eventos[antes:]):
            fallar("«%s» no dio ningún evento «%s» en el bus (vistos: %s)" %
                   (linea, nombre, eventos[antes:]))
        if luz.name != nombre:
            fallar("tras «%s» la luz se llama «%s»" % (linea, luz.name))
        print("%s: %s" % (linea, nombre))

    paso(clave + "=1", rotulo + ": pulsado")
    paso(clave + "=0", rotulo + ": suelto")
    for t in tipos:
        pyatspi.Registry.deregisterEventListener(al_evento, t)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "nombres":
        nombres(sys.argv[2])
    elif len(sys.argv) == 5 and sys.argv[1] == "luz":
        luz(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        fallar("uso: accesible.py nombres TITULO | luz ESTADO CLAVE ROTULO")
