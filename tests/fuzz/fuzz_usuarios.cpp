// Any bytes as the profile file (and as the settings file): loading never
// fails or crashes, the whole records come back byte for byte at the next
// save, and every loaded profile can be selected and shown.
#include "actions/Catalogo.h"
#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "profiles/Archivos.h"
#include "profiles/GestionUsuarios.h"
#include "profiles/Registros.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quimbal;

namespace {
// Answers every question with Yes.
class DialogosSi : public Dialogos {
public:
    int mostrarMensaje(const QString&, int estilo, const QString&) override {
        return EstiloMensaje::desde(estilo).siNo ? vbYes : vbOK;
    }
    QString pedirTexto(const QString&, const QString&, const QString&) override {
        return QString();
    }
};

void exigir(bool condicion, const char* que) {
    if (!condicion) {
        std::fprintf(stderr, "falla: %s\n", que);
        std::abort();
    }
}

QTemporaryDir* carpeta = nullptr;

void escribir(const QString& nombre, const QByteArray& datos) {
    QFile f(QDir(carpeta->path()).filePath(nombre));
    exigir(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(datos) == datos.size(),
           "preparar el archivo");
}

QByteArray leer(const QString& nombre) {
    QFile f(QDir(carpeta->path()).filePath(nombre));
    exigir(f.open(QIODevice::ReadOnly), "leer el archivo guardado");
    return f.readAll();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nombre[] = "fuzz_usuarios";
    static char* argv[] = {nombre, nullptr};
    static QApplication app(argc, argv);
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    carpeta = new QTemporaryDir(base + QStringLiteral("/fuzz_usuarios-XXXXXX"));
    FijarCarpetaPrograma(carpeta->path());
    static DialogosSi dialogos;
    servicios().dialogos = &dialogos;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
    const QByteArray archivo(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
    ReiniciarArchivos();
    ReiniciarDeclaraciones();
    escribir(QStringLiteral("usuarios.dat"), archivo);
    // The settings file gets the last bytes, 0 to 29 of them.
    escribir(QStringLiteral("quimbal.dat"), archivo.right(static_cast<qsizetype>(largo % 30)));

    Lista cboUsuario, cboTeclas1, cboTeclas2, cboSonido;
    CajaTexto txtLetra1, txtLetra2;
    Temporizador tmrDelaySonido;
    TablaTeclas Teclas;
    ConstruirCatalogo(cboTeclas1, cboTeclas2, Teclas);
    for (int i = 1; i <= 10; ++i)
        cboSonido.AddItem(QString::number(i));

    exigir(CargarUsuarios(cboUsuario), "cargar los usuarios");
    exigir(CargarConfiguracion(), "cargar la configuración");
    exigir(ConfigInicio.Puerto <= 4, "puerto fuera de 0 a 4");
    const qsizetype registros = archivo.size() / kLargoRegistroUsuario;
    const int esperados = registros == 0 ? 1 : static_cast<int>(std::min<qsizetype>(registros, 21));
    exigir(cboUsuario.ListCount() == esperados, "número de usuarios cargados");

    // Saved right after loading: the file's whole records, unchanged.
    cboUsuario.setListIndex(-1);
    exigir(GuardarTodo(cboUsuario, 0), "guardar");
    const QByteArray guardado = leer(QStringLiteral("usuarios.dat"));
    if (registros > 0)
        exigir(guardado == archivo.left(registros * kLargoRegistroUsuario),
               "los registros vuelven igual");
    else
        exigir(guardado == RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("General"))),
               "el usuario General");

    // Every profile can be selected and shown, and ends usable.
    ControlesUsuario c{&cboUsuario,
                       &cboTeclas1,
                       &cboTeclas2,
                       &txtLetra1,
                       &txtLetra2,
                       &cboSonido,
                       &tmrDelaySonido,
                       [] { UsuarioEnUso().Modo = kModoSwitch; },
                       [] { UsuarioEnUso().Modo = kModoSonido; }};
    cboUsuario.Click = [&c] { SeleccionarUsuario(c); };
    for (int k = 0; k < cboUsuario.ListCount(); ++k) {
        cboUsuario.setListIndex(k);
        const Usuario& u = UsuarioEnUso();
        exigir(u.Nombre.recortado() == Recortar(cboUsuario.List(k)), "el usuario elegido");
        exigir(cboTeclas1.ListIndex() >= 0 && cboTeclas2.ListIndex() >= 0, "acciones mostradas");
        exigir(u.Modo == kModoSwitch || u.Modo == kModoSonido, "modo");
        exigir(u.Umbral >= 1 && u.Umbral <= 10 && cboSonido.ListIndex() == u.Umbral - 1, "umbral");
        exigir(u.Retraso > 0 && tmrDelaySonido.Interval() == u.Retraso, "retraso");
    }
    CerrarArchivos();
    return 0;
}
