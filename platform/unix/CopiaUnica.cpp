#include "platform/CopiaUnica.h"

#include "platform/BloqueoArchivo.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace quimbal {

namespace {
const QByteArray kPeticion = "mostrar\n";
const QByteArray kRespuesta = "mostrada\n";

// A folder that is ours alone: a directory, not a link, owned by us, that
// nobody else may enter.
bool carpetaPrivada(const QString& ruta) {
    struct stat s {};
    return ::lstat(QFile::encodeName(ruta).constData(), &s) == 0 && S_ISDIR(s.st_mode) &&
           s.st_uid == ::getuid() && (s.st_mode & 0077) == 0;
}
} // namespace

CopiaUnica::CopiaUnica(QObject* padre) : QObject(padre) {}

CopiaUnica::~CopiaUnica() {
    if (servidor_)
        servidor_->close();
}

QString CopiaUnica::CarpetaDeSesion() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && carpetaPrivada(xdg))
        return QDir::cleanPath(xdg);
    const QString propia = QStringLiteral("/tmp/quimbal-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(propia).constData(), 0700);
    return carpetaPrivada(propia) ? propia : QString();
}

CopiaUnica::Estado CopiaUnica::tomar() {
    carpeta_ = CarpetaDeSesion();
    if (carpeta_.isEmpty()) {
        std::fprintf(stderr, "quimbal: no hay carpeta de sesión donde comprobar si otra copia "
                             "del programa está en marcha\n");
        return Estado::SinBloqueo;
    }
    bloqueo_ = std::make_unique<BloqueoArchivo>(carpeta_ + QStringLiteral("/quimbal.lck"));
    switch (bloqueo_->tomar()) {
    case BloqueoArchivo::Resultado::Ocupado:
        bloqueo_.reset();
        return Estado::OtraEnMarcha;
    case BloqueoArchivo::Resultado::Imposible:
        bloqueo_.reset();
        return Estado::SinBloqueo;
    case BloqueoArchivo::Resultado::Tomado:
        break;
    }
    // With the lock held, a socket left by a copy that died is ours to
    // replace.
    const QString nombre = carpeta_ + QStringLiteral("/quimbal.socket");
    QLocalServer::removeServer(nombre);
    servidor_ = new QLocalServer(this);
    servidor_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!servidor_->listen(nombre))
        std::fprintf(stderr, "quimbal: otra copia no podrá pedir la ventana: %s\n",
                     qPrintable(servidor_->errorString()));
    connect(servidor_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = servidor_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->canReadLine())
                    return;
                if (s->readLine() == kPeticion) {
                    emit ventanaPedida();
                    s->write(kRespuesta);
                    s->flush();
                }
                s->disconnectFromServer();
            });
        }
    });
    return Estado::Primera;
}

bool CopiaUnica::pedirVentana(int esperaMs) {
    const QString carpeta = carpeta_.isEmpty() ? CarpetaDeSesion() : carpeta_;
    if (carpeta.isEmpty())
        return false;
    QLocalSocket s;
    s.connectToServer(carpeta + QStringLiteral("/quimbal.socket"));
    if (!s.waitForConnected(esperaMs))
        return false;
    s.write(kPeticion);
    if (!s.waitForBytesWritten(esperaMs))
        return false;
    while (!s.canReadLine())
        if (!s.waitForReadyRead(esperaMs))
            return false;
    return s.readLine() == kRespuesta;
}

} // namespace quimbal
