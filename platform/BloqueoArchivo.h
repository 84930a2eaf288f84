#pragma once
// A lock that the kernel holds for this process on an open file (an advisory
// lock) and lets go of whenever the process ends, however it ends: a copy that
// crashed or was killed never keeps a later one out, whatever process number
// the later one gets. The file holds the owner's process number, for people
// only; nobody reads it to decide anything.
#include <QString>

namespace quimbal {

class BloqueoArchivo {
public:
    enum class Resultado {
        Tomado,    // the lock is ours until soltar()
        Ocupado,   // another process holds it
        Imposible, // the file can be neither created nor opened
    };

    explicit BloqueoArchivo(QString ruta) : ruta_(std::move(ruta)) {}
    ~BloqueoArchivo() { soltar(); }
    BloqueoArchivo(const BloqueoArchivo&) = delete;
    BloqueoArchivo& operator=(const BloqueoArchivo&) = delete;

    Resultado tomar();
    // Lets go of the lock and removes the file; harmless when not held.
    void soltar();
    bool tomado() const { return fd_ >= 0; }
    const QString& ruta() const { return ruta_; }

private:
    QString ruta_;
    int fd_ = -1;
};

} // namespace quimbal
