#include "platform/uinput/DisposicionTeclado.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quimbal {

namespace {

// The entry at `indice` of a comma-separated list, trimmed.
QString Elemento(const QString& lista, qsizetype indice) {
    const QStringList partes = lista.split(u',');
    return indice < partes.size() ? partes.at(indice).trimmed() : QString();
}

// "es" or "us+dvorak": a layout and, after '+', its variant.
NombresXkb DesdeFuenteXkb(const QString& fuente) {
    NombresXkb n;
    const qsizetype mas = fuente.indexOf(u'+');
    n.disposicion = mas < 0 ? fuente : fuente.left(mas);
    n.variante = mas < 0 ? QString() : fuente.mid(mas + 1);
    return n;
}

QString PrimeraFuenteXkb(const QString& lista) {
    static const QRegularExpression xkb(QStringLiteral(R"(\(\s*'xkb'\s*,\s*'([^']+)'\s*\))"));
    const QRegularExpressionMatch m = xkb.match(lista);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString LeerTexto(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.read(64 * 1024)) : QString();
}

QString Gsettings(const QString& clave) {
    QProcess p;
    p.start(QStringLiteral("gsettings"),
            {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.input-sources"), clave});
    if (!p.waitForFinished(2000)) {
        p.kill();
        p.waitForFinished(500);
        return {};
    }
    return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QString();
}

bool EscritorioEs(const char* nombre) {
    const QString actual = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    return actual.split(u':').contains(QLatin1String(nombre), Qt::CaseInsensitive);
}

} // namespace

NombresXkb DesdeFuentesGnome(const QString& recientes, const QString& fuentes,
                             const QString& opciones) {
    // The most recently used source is the active one.
    QString fuente = PrimeraFuenteXkb(recientes);
    if (fuente.isEmpty())
        fuente = PrimeraFuenteXkb(fuentes);
    if (fuente.isEmpty())
        return {};
    NombresXkb n = DesdeFuenteXkb(fuente);
    static const QRegularExpression cadena(QStringLiteral("'([^']*)'"));
    QStringList lista;
    for (auto it = cadena.globalMatch(opciones); it.hasNext();)
        lista << it.next().captured(1);
    n.opciones = lista.join(u',');
    n.origen = QStringLiteral("las fuentes de entrada de GNOME");
    return n;
}

NombresXkb DesdeKxkbrc(const QString& texto) {
    NombresXkb n;
    bool enDisposicion = false, usar = false;
    for (const QString& bruta : texto.split(u'\n')) {
        const QString linea = bruta.trimmed();
        if (linea.startsWith(u'[')) {
            enDisposicion = linea == QLatin1String("[Layout]");
            continue;
        }
        const qsizetype igual = linea.indexOf(u'=');
        if (!enDisposicion || igual < 0)
            continue;
        const QString clave = linea.left(igual).trimmed(), valor = linea.mid(igual + 1).trimmed();
        if (clave == QLatin1String("Use"))
            usar = valor == QLatin1String("true");
        else if (clave == QLatin1String("LayoutList"))
            n.disposicion = Elemento(valor, 0);
        else if (clave == QLatin1String("VariantList"))
            n.variante = Elemento(valor, 0);
        else if (clave == QLatin1String("Options"))
            n.opciones = valor;
        else if (clave == QLatin1String("Model"))
            n.modelo = valor;
    }
    if (!usar || n.disposicion.isEmpty())
        return {};
    n.origen = QStringLiteral("la configuración de teclado de Plasma");
    return n;
}

NombresXkb DesdeTecladoDebian(const QString& texto) {
    NombresXkb n;
    for (const QString& bruta : texto.split(u'\n')) {
        const QString linea = bruta.trimmed();
        const qsizetype igual = linea.indexOf(u'=');
        if (linea.startsWith(u'#') || igual < 0)
            continue;
        QString valor = linea.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && (valor.front() == u'"' || valor.front() == u'\'') &&
            valor.back() == valor.front())
            valor = valor.mid(1, valor.size() - 2);
        const QString clave = linea.left(igual).trimmed();
        if (clave == QLatin1String("XKBLAYOUT"))
            n.disposicion = Elemento(valor, 0);
        else if (clave == QLatin1String("XKBVARIANT"))
            n.variante = Elemento(valor, 0);
        else if (clave == QLatin1String("XKBMODEL"))
            n.modelo = valor;
        else if (clave == QLatin1String("XKBOPTIONS"))
            n.opciones = valor;
    }
    if (n.disposicion.isEmpty())
        return {};
    n.origen = QStringLiteral("/etc/default/keyboard");
    return n;
}

NombresXkb DisposicionDeLaSesion() {
    NombresXkb n;
    n.disposicion = Elemento(qEnvironmentVariable("XKB_DEFAULT_LAYOUT"), 0);
    if (!n.disposicion.isEmpty()) {
        n.reglas = qEnvironmentVariable("XKB_DEFAULT_RULES");
        n.modelo = qEnvironmentVariable("XKB_DEFAULT_MODEL");
        n.variante = Elemento(qEnvironmentVariable("XKB_DEFAULT_VARIANT"), 0);
        n.opciones = qEnvironmentVariable("XKB_DEFAULT_OPTIONS");
        n.origen = QStringLiteral("XKB_DEFAULT_LAYOUT");
        return n;
    }
    if (EscritorioEs("GNOME")) {
        n = DesdeFuentesGnome(Gsettings(QStringLiteral("mru-sources")),
                              Gsettings(QStringLiteral("sources")),
                              Gsettings(QStringLiteral("xkb-options")));
        if (!n.vacio())
            return n;
    }
    if (EscritorioEs("KDE")) {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation);
        n = DesdeKxkbrc(LeerTexto(config + QStringLiteral("/kxkbrc")));
        if (!n.vacio())
            return n;
    }
    return DesdeTecladoDebian(LeerTexto(QStringLiteral("/etc/default/keyboard")));
}

} // namespace quimbal
