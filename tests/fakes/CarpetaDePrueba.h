#pragma once
// A fresh program folder for one test: the data files land in a temporary
// folder that stands for the program's own; the shared profile state and the
// data-file state start from scratch and are reset again afterwards.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace quimbal {

class CarpetaDePrueba {
public:
    CarpetaDePrueba();
    ~CarpetaDePrueba();
    QString ruta(const QString& nombre) const { return dir_.filePath(nombre); }
    QString carpeta() const { return dir_.path(); }
    QByteArray leer(const QString& nombre) const;
    void escribir(const QString& nombre, const QByteArray& datos) const;

private:
    QTemporaryDir dir_;
};

} // namespace quimbal
