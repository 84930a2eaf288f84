#include "platform/NotacionTeclas.h"

#include <array>

namespace quimbal {

namespace {

struct NombreDeTecla {
    const char* nombre;
    TeclaNombrada tecla;
};

// The first spelling of each key is the canonical one.
constexpr std::array<NombreDeTecla, 28> kNombres = {{
    {"ENTER", TeclaNombrada::Enter},     {"ESC", TeclaNombrada::Esc},
    {"TAB", TeclaNombrada::Tab},         {"UP", TeclaNombrada::Arriba},
    {"DOWN", TeclaNombrada::Abajo},      {"LEFT", TeclaNombrada::Izquierda},
    {"RIGHT", TeclaNombrada::Derecha},   {"PGUP", TeclaNombrada::RePag},
    {"PGDN", TeclaNombrada::AvPag},      {"BACKSPACE", TeclaNombrada::Retroceso},
    {"BS", TeclaNombrada::Retroceso},    {"DELETE", TeclaNombrada::Suprimir},
    {"HOME", TeclaNombrada::Inicio},     {"END", TeclaNombrada::Fin},
    {"INSERT", TeclaNombrada::Insertar}, {"F1", TeclaNombrada::F1},
    {"F2", TeclaNombrada::F2},           {"F3", TeclaNombrada::F3},
    {"F4", TeclaNombrada::F4},           {"F5", TeclaNombrada::F5},
    {"F6", TeclaNombrada::F6},           {"F7", TeclaNombrada::F7},
    {"F8", TeclaNombrada::F8},           {"F9", TeclaNombrada::F9},
    {"F10", TeclaNombrada::F10},         {"F11", TeclaNombrada::F11},
    {"F12", TeclaNombrada::F12},         {"", TeclaNombrada::Ninguna},
}};

TeclaNombrada buscarNombre(const QString& nombre) {
    for (const auto& n : kNombres)
        if (n.nombre[0] != '\0' &&
            nombre.compare(QLatin1String(n.nombre), Qt::CaseInsensitive) == 0)
            return n.tecla;
    return TeclaNombrada::Ninguna;
}

ResultadoNotacion rechazo(const QString& motivo, qsizetype pos) {
    ResultadoNotacion r;
    r.error = motivo;
    r.posicion = static_cast<int>(pos);
    return r;
}

bool esDeLaNotacion(char32_t c) {
    return c == U'+' || c == U'^' || c == U'%' || c == U'{' || c == U'}';
}

} // namespace

QString NombreTecla(TeclaNombrada t) {
    for (const auto& n : kNombres)
        if (n.tecla == t && t != TeclaNombrada::Ninguna)
            return QString::fromLatin1(n.nombre);
    return QString();
}

ResultadoNotacion AnalizarTeclas(const QString& texto) {
    ResultadoNotacion r;
    Pulsacion actual;
    bool hayModificador = false;
    const qsizetype n = texto.size();
    qsizetype i = 0;

    auto cerrar = [&](Pulsacion p) {
        r.pulsaciones.append(p);
        actual = Pulsacion{};
        hayModificador = false;
    };

    while (i < n) {
        const qsizetype inicio = i;
        char32_t c = texto.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(texto.at(i + 1).unicode())) {
            c = QChar::surrogateToUcs4(texto.at(i), texto.at(i + 1));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            return rechazo(QStringLiteral("carácter no válido"), inicio);
        }
        ++i;

        bool* mod = nullptr;
        if (c == U'+')
            mod = &actual.mayusculas;
        else if (c == U'^')
            mod = &actual.control;
        else if (c == U'%')
            mod = &actual.alt;
        if (mod) {
            if (*mod)
                return rechazo(QStringLiteral("el mismo modificador dos veces"), inicio);
            *mod = true;
            hayModificador = true;
            continue;
        }

        if (c == U'}')
            return rechazo(QStringLiteral("llave de cierre sin abrir"), inicio);

        Pulsacion p = actual;
        if (c == U'{') {
            // The first character after the brace belongs to the name, so that
            // "{}}" and "{{}" name the braces themselves.
            if (i >= n)
                return rechazo(QStringLiteral("llave sin cerrar"), inicio);
            const qsizetype cierre = texto.indexOf(QLatin1Char('}'), i + 1);
            if (cierre < 0)
                return rechazo(QStringLiteral("llave sin cerrar"), inicio);
            const QString nombre = texto.mid(i, cierre - i);
            i = cierre + 1;
            const QList<uint> cp = nombre.toUcs4();
            if (cp.size() == 1 && cp[0] >= 0x20 && cp[0] != 0x7f) {
                p.caracter = cp[0];
            } else {
                p.tecla = buscarNombre(nombre);
                if (p.tecla == TeclaNombrada::Ninguna)
                    return rechazo(QStringLiteral("nombre de tecla desconocido: {%1}").arg(nombre),
                                   inicio);
            }
        } else if (c == U'\t') {
            p.tecla = TeclaNombrada::Tab;
        } else if (c == U'\r' || c == U'\n') {
            p.tecla = TeclaNombrada::Enter;
            if (c == U'\r' && i < n && texto.at(i) == QLatin1Char('\n'))
                ++i; // one line break, one ENTER
        } else if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0)) {
            return rechazo(QStringLiteral("carácter de control no permitido"), inicio);
        } else {
            p.caracter = c;
        }
        cerrar(p);
    }
    if (hayModificador)
        cerrar(actual); // modifiers alone: pressed and released
    return r;
}

QString EscribirTeclas(const QList<Pulsacion>& pulsaciones) {
    QString s;
    for (const Pulsacion& p : pulsaciones) {
        if (p.mayusculas)
            s += QLatin1Char('+');
        if (p.control)
            s += QLatin1Char('^');
        if (p.alt)
            s += QLatin1Char('%');
        if (p.tecla != TeclaNombrada::Ninguna) {
            s += QLatin1Char('{') + NombreTecla(p.tecla) + QLatin1Char('}');
        } else if (p.caracter != 0) {
            const QString c = QString::fromUcs4(&p.caracter, 1);
            s += esDeLaNotacion(p.caracter) ? QLatin1Char('{') + c + QLatin1Char('}') : c;
        }
    }
    return s;
}

} // namespace quimbal
