#pragma once
// The end of the desktop session, or of the program by a signal: at logout
// and shutdown the session asks its programs to end (SIGTERM, or SIGHUP when
// the terminal goes; SIGINT from a terminal). The request is delivered as a
// signal on the user-interface thread, so that the program can save and
// unload as an ordinary exit does.
#include <QObject>
#include <memory>

namespace quimbal {

class FinDeSesion : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // The program was asked to end; `causa` names the request.
    void pedido(const QString& causa);
};

// Catches SIGTERM, SIGHUP and SIGINT for as long as it lives (one at a time).
std::unique_ptr<FinDeSesion> CrearFinDeSesion();

} // namespace quimbal
