#include "platform/PuertoSerie.h"

#include <QDir>
#include <QFileInfo>

namespace quimbal {

QString DispositivoDePuerto(int numero, const QString& carpeta) {
    if (numero < 1)
        return QString();
#ifdef Q_OS_WIN
    Q_UNUSED(carpeta);
    return QStringLiteral("COM%1").arg(numero);
#else
    // An entry beside the program stands for the port; "com2" before "COM2".
    for (const QString& nombre : {QStringLiteral("com%1"), QStringLiteral("COM%1")}) {
        const QFileInfo entrada(QDir(carpeta).filePath(nombre.arg(numero)));
        if (!entrada.isSymLink() && !entrada.exists())
            continue;
        if (!entrada.isSymLink())
            return entrada.absoluteFilePath();
        // Follow the whole chain (a /dev/serial/by-id/ link names another
        // link), so that every name of one device locks the same device. A
        // link to nothing yet (an adapter not plugged in) keeps the name it
        // gives.
        const QString real = entrada.canonicalFilePath();
        return real.isEmpty() ? entrada.symLinkTarget() : real;
    }
    return QStringLiteral("/dev/ttyS%1").arg(numero - 1);
#endif
}

} // namespace quimbal
