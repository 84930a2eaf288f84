#pragma once
// One running copy of the program per user session, whatever folder it was
// started from: an installed copy and a portable one on a USB stick would
// otherwise both act on every press. The first copy holds a lock in the
// user's runtime folder ($XDG_RUNTIME_DIR, else a private folder of the user
// under /tmp) and listens beside it; a later copy finds the lock held and
// can ask the first one to show its window.
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace quimbal {

class BloqueoArchivo;

class CopiaUnica : public QObject {
    Q_OBJECT
public:
    enum class Estado {
        Primera,      // this is the session's copy
        OtraEnMarcha, // another copy of the session runs
        SinBloqueo,   // no runtime folder allows the lock: the copy runs alone
    };

    explicit CopiaUnica(QObject* padre = nullptr);
    ~CopiaUnica() override;

    // Takes the session's lock; the first copy starts listening for others.
    Estado tomar();
    // As a later copy: asks the running one to show its window and waits up
    // to `esperaMs` for its answer. False when it did not answer.
    bool pedirVentana(int esperaMs = 3000);

    // The runtime folder used, made when missing: $XDG_RUNTIME_DIR when it is
    // an absolute folder of ours, else /tmp/quimbal-<uid> (mode 0700, ours,
    // not a link). Empty when neither can be used.
    static QString CarpetaDeSesion();

signals:
    // Another copy asked for the window.
    void ventanaPedida();

private:
    QString carpeta_;
    std::unique_ptr<BloqueoArchivo> bloqueo_;
    QLocalServer* servidor_ = nullptr;
};

} // namespace quimbal
