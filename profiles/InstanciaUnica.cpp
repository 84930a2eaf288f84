#include "profiles/InstanciaUnica.h"

#include "platform/Dialogos.h"
#include "platform/Servicios.h"

#include <QDir>
#include <QLockFile>
#include <memory>

namespace quimbal {

namespace {
std::unique_ptr<QLockFile>& bloqueo() {
    static std::unique_ptr<QLockFile> b;
    return b;
}
} // namespace

Instancia TomarInstancia(const QString& carpeta) {
    LiberarInstancia();
    auto b = std::make_unique<QLockFile>(QDir(carpeta).filePath(QStringLiteral("quimbal.lck")));
    // No age limit: a lock is stale only when the copy that wrote it is gone.
    b->setStaleLockTime(0);
    if (b->tryLock(0)) {
        bloqueo() = std::move(b);
        return Instancia::Unica;
    }
    return b->error() == QLockFile::LockFailedError ? Instancia::OtraEnMarcha
                                                    : Instancia::SinBloqueo;
}

void LiberarInstancia() {
    bloqueo().reset();
}

bool ComprobarInstanciaUnica() {
    if (TomarInstancia(CarpetaPrograma()) != Instancia::OtraEnMarcha)
        return true;
    MsgBox(QStringLiteral("Quimbal ya está en funcionamiento.\n\nUse el programa que está "
                          "abierto: si no ve su ventana, pulse su icono en el área de "
                          "notificación de la barra de tareas."),
           vbExclamation);
    return false;
}

} // namespace quimbal
