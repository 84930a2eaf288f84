// Time taken by the data files: loading 21 profiles and the settings (start),
// appending one profile (add), and the complete safe save (exit), each run
// many times in a folder given on the command line (default: a temporary
// folder). Prints median and 99th percentile in microseconds.
#include "platform/Controles.h"
#include "platform/Servicios.h"
#include "profiles/Archivos.h"
#include "profiles/Registros.h"

#include <QApplication>
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporal;
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporal.path();
    const int veces = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    FijarCarpetaPrograma(carpeta);

    std::vector<qint64> carga, agregado, guardado;
    QElapsedTimer t;
    for (int i = 0; i < veces; ++i) {
        preparar(carpeta);
        ReiniciarArchivos();
        Lista lista;
        t.start();
        const bool bien = CargarUsuarios(lista) && CargarConfiguracion();
        carga.push_back(t.nsecsElapsed() / 1000);
        lista.RemoveItem(20);
        t.start();
        AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Nuevo")));
        agregado.push_back(t.nsecsElapsed() / 1000);
        lista.setListIndex(0);
        t.start();
        const bool guardo = GuardarTodo(lista, 1);
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
