#pragma once
#include "platform/Ayuda.h"

#include <QPointer>

class QTextBrowser;
class QWidget;

namespace quimbal {

// Help files are HTML pages (any extension) shown in a browser window of the
// program, at the anchor "contenido" (or the top of the page).
class AyudaQt : public Ayuda {
public:
    ~AyudaQt() override;
    bool abrir(const QString& archivo, QString& motivo) override;
    // The viewer window, while it exists (for tests).
    QWidget* visor() const;

    // Reads a help file; false (and why, in Spanish) when it cannot be shown.
    static bool LeerArchivo(const QString& archivo, QString& html, QString& motivo);

private:
    QPointer<QWidget> ventana_;
    QPointer<QTextBrowser> navegador_;
};

} // namespace quimbal
