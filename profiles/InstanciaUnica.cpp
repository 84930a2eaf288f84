#include "profiles/InstanciaUnica.h"

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

} // namespace quimbal
