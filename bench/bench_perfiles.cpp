// Time taken by the data files: loading 21 profiles and the settings (start),
// appending one profile (add), and the complete safe save (exit), each run
// many times in a folder given on the command line (default: a temporary
// folder). Prints median and 99th percentile in microseconds.
#include "profiles/Archivos.h"
#include "profiles/Perfiles.h"
#include "profiles/Registros.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quimbal;

namespace {
void informar(const char* nombre, std::vector<qint64>& us) {
    std::sort(us.begin(), us.end());
    const auto p = [&](double q) {
        return us[static_cast<std::size_t>(q * double(us.size() - 1))];
    };
    std::printf("%-28s n=%zu  mediana=%lld us  p99=%lld us  max=%lld us\n", nombre, us.size(),
                static_cast<long long>(p(0.5)), static_cast<long long>(p(0.99)),
                static_cast<long long>(us.back()));
}

void preparar(const QString& carpeta) {
    QByteArray datos;
    for (int i = 0; i < kMaxUsuarios; ++i)
        datos += RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("Perfil %1").arg(i)));
    QFile f(carpeta + QStringLiteral("/usuarios.dat"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(datos);
    QFile::remove(carpeta + QStringLiteral("/quimbal.dat"));
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporal;
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporal.path();
    const int veces = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

    std::vector<qint64> carga, agregado, guardado;
    QElapsedTimer t;
    for (int i = 0; i < veces; ++i) {
        preparar(carpeta);
        ArchivosDatos archivos(carpeta);
        Perfiles perfiles;
        t.start();
        const bool bien =
            archivos.CargarUsuarios(perfiles).problema == ArchivosDatos::Problema::Ninguno &&
            archivos.CargarConfiguracion(perfiles).problema == ArchivosDatos::Problema::Ninguno;
        carga.push_back(t.nsecsElapsed() / 1000);
        perfiles.eliminar(20);
        t.start();
        const bool agrego =
            archivos.AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Nuevo")));
        agregado.push_back(t.nsecsElapsed() / 1000);
        perfiles.seleccionar(0);
        t.start();
        const bool guardo = agrego && archivos.GuardarTodo(perfiles).isEmpty();
        guardado.push_back(t.nsecsElapsed() / 1000);
        if (!bien || !guardo) {
            std::fprintf(stderr, "fallo en la vuelta %d\n", i);
            return 1;
        }
    }
    std::printf("carpeta: %s\n", qPrintable(carpeta));
    informar("cargar (21 usuarios + config)", carga);
    informar("agregar un usuario", agregado);
    informar("guardar todo (seguro)", guardado);
    return 0;
}
