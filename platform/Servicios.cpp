#include "platform/Servicios.h"

#include "platform/Dialogos.h"

#include <QCoreApplication>

namespace quimbal {

namespace {
QString& carpetaFijada() {
    static QString c;
    return c;
}
} // namespace

Servicios& servicios() {
    static Servicios s;
    return s;
}

int MsgBox(const QString& texto, int estilo, const QString& titulo) {
    Dialogos* d = servicios().dialogos;
    if (!d)
        return vbOK;
    return d->mostrarMensaje(texto, estilo, titulo.isEmpty() ? TituloAplicacion() : titulo);
}

QString InputBox(const QString& texto, const QString& titulo, const QString& porDefecto) {
    Dialogos* d = servicios().dialogos;
    if (!d)
        return QString();
    return d->pedirTexto(texto, titulo.isEmpty() ? TituloAplicacion() : titulo, porDefecto);
}

void DoEvents() {
    if (Bucle* b = servicios().bucle)
        b->DoEvents();
}

QString CarpetaPrograma() {
    if (!carpetaFijada().isEmpty())
        return carpetaFijada();
    return QCoreApplication::applicationDirPath();
}

void FijarCarpetaPrograma(const QString& carpeta) { carpetaFijada() = carpeta; }

} // namespace quimbal
