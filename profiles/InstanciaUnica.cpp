#include "profiles/InstanciaUnica.h"

#include "platform/BloqueoArchivo.h"

#include <QDir>
#include <memory>

namespace quimbal {

namespace {
std::unique_ptr<BloqueoArchivo>& bloqueo() {
    static std::unique_ptr<BloqueoArchivo> b;
    return b;
}
} // namespace

Instancia TomarInstancia(const QString& carpeta) {
    LiberarInstancia();
    auto b =
        std::make_unique<BloqueoArchivo>(QDir(carpeta).filePath(QStringLiteral("quimbal.lck")));
    switch (b->tomar()) {
    case BloqueoArchivo::Resultado::Tomado:
        bloqueo() = std::move(b);
        return Instancia::Unica;
    case BloqueoArchivo::Resultado::Ocupado:
        return Instancia::OtraEnMarcha;
    case BloqueoArchivo::Resultado::Imposible:
        break;
    }
    return Instancia::SinBloqueo;
}

void LiberarInstancia() {
    bloqueo().reset();
}

} // namespace quimbal
