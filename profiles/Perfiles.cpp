#include "profiles/Perfiles.h"

#include <algorithm>
#include <utility>

namespace quimbal {

namespace {

bool igualesSinMayusculas(const QString& a, const QString& b) {
    return Recortar(a).toUpper() == Recortar(b).toUpper();
}
} // namespace

int UmbralValido(int umbral) {
    return std::clamp(umbral, 1, 10);
}

QString PrepararNombre(const QString& escrito) {
    QString nombre = Recortar(Recortar(escrito).left(kLargoTexto));
    if (!nombre.isEmpty())
        nombre[0] = nombre[0].toUpper();
    return nombre;
}

QString CaracteresNoGuardables(const QString& nombre) {
    QString malos;
    for (qsizetype i = 0; i < nombre.size(); ++i) {
        QString ch(nombre[i]);
        if (nombre[i].isHighSurrogate() && i + 1 < nombre.size())
            ch += nombre[++i];
        const char16_t u = ch[0].unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        if ((control || desdeAnsi(aAnsi(ch)) != ch) && !malos.contains(ch))
            malos += ch;
    }
    return malos;
}

void Perfiles::cargar(const QList<Usuario>& usuarios) {
    usuarios_ = usuarios.mid(0, kMaxUsuarios);
    if (usuarios_.isEmpty())
        usuarios_.append(Usuario::Nuevo(QString::fromLatin1(kNombreGeneral)));
    actual_ = 0;
}

bool Perfiles::seleccionar(int i) {
    if (i < 0 || i >= cuenta())
        return false;
    actual_ = i;
    Usuario& u = usoMutable();
    if (u.Modo != kModoSwitch)
        u.Modo = kModoSonido;
    u.Umbral = static_cast<std::int16_t>(UmbralValido(u.Umbral));
    if (u.Retraso <= 0)
        u.Retraso = kRetrasoPorDefecto;
    return true;
}

int Perfiles::buscarUltimo(const QString& nombre) const {
    int encontrado = -1;
    for (int i = 0; i < cuenta(); ++i)
        if (igualesSinMayusculas(usuarios_[i].Nombre.texto(), nombre))
            encontrado = i;
    return encontrado;
}

void Perfiles::fijarAccion(int entrada, const QString& texto) {
    if (vacia())
        return;
    (entrada == 1 ? usoMutable().Accion1 : usoMutable().Accion2) = texto;
}

void Perfiles::fijarLetra(int entrada, const QString& letra) {
    if (vacia())
        return;
    (entrada == 1 ? usoMutable().Letra1 : usoMutable().Letra2) = letra;
}

void Perfiles::fijarModo(std::int16_t modo) {
    if (!vacia())
        usoMutable().Modo = modo;
}

void Perfiles::fijarUmbral(int umbral) {
    if (!vacia())
        usoMutable().Umbral = static_cast<std::int16_t>(UmbralValido(umbral));
}

void Perfiles::fijarRetraso(int ms) {
    if (!vacia() && ms > 0 && ms <= 0x7FFF)
        usoMutable().Retraso = static_cast<std::int16_t>(ms);
}

void Perfiles::restablecer() {
    if (vacia())
        return;
    Usuario& u = usoMutable();
    u.Accion1 = QString::fromLatin1(kAccionPorDefecto);
    u.Accion2 = QString::fromLatin1(kAccionPorDefecto);
    u.Letra1 = QString();
    u.Letra2 = QString();
    u.Retraso = kRetrasoPorDefecto;
}

Perfiles::ResultadoAlta Perfiles::agregar(const QString& escrito) {
    ResultadoAlta r;
    const QString nombre = PrepararNombre(escrito);
    if (nombre.isEmpty())
        return r;
    if (llena()) {
        r.alta = Alta::Llena;
        return r;
    }
    r.caracteres = CaracteresNoGuardables(nombre);
    if (!r.caracteres.isEmpty()) {
        r.alta = Alta::NoGuardable;
        return r;
    }
    for (const Usuario& u : std::as_const(usuarios_)) {
        if (igualesSinMayusculas(u.Nombre.texto(), nombre)) {
            r.alta = Alta::Repetida;
            return r;
        }
    }
    usuarios_.append(Usuario::Nuevo(nombre));
    OrdenarUsuarios();
    r.indice = buscarUltimo(nombre);
    seleccionar(r.indice);
    r.alta = Alta::Hecha;
    return r;
}

Perfiles::Baja Perfiles::puedeEliminar(int i) const {
    if (i < 0 || i >= cuenta())
        return Baja::NoExiste;
    if (usuarios_[i].Nombre.recortado() == QLatin1String(kNombreGeneral))
        return Baja::General;
    if (cuenta() <= 1)
        return Baja::Unico;
    return Baja::Posible;
}

bool Perfiles::eliminar(int i) {
    if (puedeEliminar(i) != Baja::Posible)
        return false;
    usuarios_.removeAt(i);
    seleccionar(i > 0 ? i - 1 : 0);
    return true;
}

void Perfiles::OrdenarUsuarios() {
    const int n = cuenta();
    for (int i = 0; i < n - 1; ++i)
        for (int j = i + 1; j < n; ++j)
            if (QString::compare(usuarios_[i].Nombre.texto(), usuarios_[j].Nombre.texto(),
                                 Qt::CaseSensitive) > 0)
                std::swap(usuarios_[i], usuarios_[j]);
    seleccionar(0);
}

} // namespace quimbal
