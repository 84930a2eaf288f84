#include "ui/Fuentes.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace quimbal {

void InstalarSustitucionesDeFuentes() {
    const struct {
        const char* original;
        const char* libre;
    } pares[] = {{"Verdana", "DejaVu Sans"},
                 {"Arial", "Liberation Sans"},
                 {"Times New Roman", "Liberation Serif"}};
    const QStringList instaladas = QFontDatabase::families();
    for (const auto& p : pares) {
        const QString original = QString::fromLatin1(p.original);
        if (!instaladas.contains(original, Qt::CaseInsensitive))
            QFont::insertSubstitution(original, QString::fromLatin1(p.libre));
    }
}

QFont Fuente(const QString& familia, double puntos, bool negrita, bool cursiva) {
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    f.setItalic(cursiva);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QString EnvolverTexto(const QString& texto, const QFont& fuente, int anchoPixeles) {
    const QFontMetrics fm(fuente);
    // As wide as the text is drawn (a pixel more than its advance, at times).
    auto ancho = [&](const QString& s) {
        return fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 10), 0, QString(s).remove('&')).width();
    };
    const QStringList palabras = texto.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList lineas;
    QString linea;
    for (const QString& p : palabras) {
        const QString prueba = linea.isEmpty() ? p : linea + QLatin1Char(' ') + p;
        if (!linea.isEmpty() && ancho(prueba) > anchoPixeles) {
            lineas << linea;
            linea = p;
        } else {
            linea = prueba;
        }
    }
    if (!linea.isEmpty())
        lineas << linea;
    return lineas.join(QLatin1Char('\n'));
}

} // namespace quimbal
