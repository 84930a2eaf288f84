#include "platform/FinDeSesion.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quimbal {

namespace {
// The handler only writes the signal's number into a socket pair; the
// user-interface thread reads it there.
int tuberia[2] = {-1, -1};

extern "C" void alRecibirSenal(int senal) {
    const int guardado = errno;
    const unsigned char n = static_cast<unsigned char>(senal);
    [[maybe_unused]] const ssize_t r = ::write(tuberia[0], &n, 1);
    errno = guardado;
}

constexpr int kSenales[] = {SIGTERM, SIGHUP, SIGINT};

class FinDeSesionUnix : public FinDeSesion {
public:
    FinDeSesionUnix() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, tuberia) != 0)
            return;
        aviso_ = new QSocketNotifier(tuberia[1], QSocketNotifier::Read, this);
        connect(aviso_, &QSocketNotifier::activated, this, [this] {
            unsigned char n = 0;
            while (::read(tuberia[1], &n, 1) == 1)
                emit pedido(QString::fromLatin1(n == SIGTERM  ? "SIGTERM"
                                                : n == SIGHUP ? "SIGHUP"
                                                              : "SIGINT"));
        });
        struct sigaction sa {};
        sa.sa_handler = alRecibirSenal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int s : kSenales)
            ::sigaction(s, &sa, &anteriores_[indice(s)]);
    }
    ~FinDeSesionUnix() override {
        if (!aviso_)
            return;
        for (int s : kSenales)
            ::sigaction(s, &anteriores_[indice(s)], nullptr);
        delete aviso_;
        ::close(tuberia[0]);
        ::close(tuberia[1]);
        tuberia[0] = tuberia[1] = -1;
    }

private:
    static int indice(int senal) {
        for (int i = 0; i < 3; ++i)
            if (kSenales[i] == senal)
                return i;
        return 0;
    }
    QSocketNotifier* aviso_ = nullptr;
    struct sigaction anteriores_[3]{};
};
} // namespace

std::unique_ptr<FinDeSesion> CrearFinDeSesion() {
    return std::make_unique<FinDeSesionUnix>();
}

} // namespace quimbal
