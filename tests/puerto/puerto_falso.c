/* Test-only preload library: a serial port without hardware.
 *
 * For each device path named by QUIMBAL_PUERTO_FALSO (paths that do not exist,
 * such as /tmp/quimbal-falso-XXXX/ttyFAKE, separated by ':'; at most four),
 * open() gives a fresh
 * pseudo-terminal instead, so that opening, termios, TIOCEXCL and locking run
 * for real against a real tty. Pseudo-terminals have no modem lines, so the
 * modem-line requests on that descriptor (TIOCMGET, TIOCMBIS, TIOCMBIC,
 * TIOCMSET, TIOCGICOUNT) are answered here from a state file the test writes
 * for each path, PATH.estado, with lines "clave=valor":
 *   cts, dsr         1 = switch closed (the line reads active only while the
 *                    output line feeding it, RTS or DTR, is active)
 *   cts_cambios,     change counters reported by TIOCGICOUNT; without them
 *   dsr_cambios      that request fails as on a driver that keeps none
 *   abrir_errno      open() fails with this errno
 *   ioctl_errno      every modem-line request fails with this errno
 *   desenchufado     1 = the device is gone: the tty is hung up and every
 *                    modem-line request fails with EIO
 *   sin_espera       1 = TIOCMIWAIT fails as on a pseudo-terminal (a driver
 *                    that reports no changes); otherwise it returns once CTS
 *                    or DSR (as read through TIOCMGET) differs from when it
 *                    was called, as a UART driver does
 * What the program did is written to PATH.lineas after each change:
 * abierto, rts, dtr, aperturas, cierres, lecturas.
 *
 * The library refuses to load without QUIMBAL_PUERTO_FALSO, and refuses to
 * open any /dev/ttyS device (on a test machine that may be the console).
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

static char rutas_falsas[4096];
static pthread_mutex_t cerrojo = PTHREAD_MUTEX_INITIALIZER;

static struct dispositivo {
    char ruta[4096];
    char ruta_estado[4200];
    char ruta_lineas[4200];
    int esclavo; /* the descriptor the program holds */
    int maestro;
    int rts, dtr, aperturas, cierres, lecturas;
} dispositivos[4];
static int n_dispositivos;

struct estado {
    int cts, dsr, abrir_errno, ioctl_errno, desenchufado, sin_espera;
    long cts_cambios, dsr_cambios;
    int hay_contadores;
};

__attribute__((constructor)) static void comprobar(void) {
    const char* r = getenv("QUIMBAL_PUERTO_FALSO");
    int valida = r && *r && strlen(r) < sizeof rutas_falsas;
    if (valida) {
        strcpy(rutas_falsas, r);
        char copia[sizeof rutas_falsas];
        strcpy(copia, r);
        char* resto = copia;
        for (char* p; valida && (p = strsep(&resto, ":"));) {
            struct dispositivo* d = &dispositivos[n_dispositivos];
            valida = *p && strncmp(p, "/dev/", 5) != 0 && n_dispositivos < 4;
            if (!valida)
                break;
            strcpy(d->ruta, p);
            snprintf(d->ruta_estado, sizeof d->ruta_estado, "%s.estado", p);
            snprintf(d->ruta_lineas, sizeof d->ruta_lineas, "%s.lineas", p);
            d->esclavo = d->maestro = -1;
            ++n_dispositivos;
        }
    }
    if (!valida) {
        fprintf(stderr, "puerto_falso: QUIMBAL_PUERTO_FALSO debe nombrar hasta cuatro dispositivos "
                        "inexistentes fuera de /dev; me niego a seguir\n");
        _exit(99);
    }
}

/* Lets a test check that the library is in place and which paths it stands for. */
const char* quimbal_puerto_falso_ruta(void) {
    return rutas_falsas;
}

static void leer_estado(const struct dispositivo* d, struct estado* e) {
    memset(e, 0, sizeof *e);
    FILE* f = fopen(d->ruta_estado, "re");
    if (!f)
        return;
    char linea[128];
    while (fgets(linea, sizeof linea, f)) {
        char clave[64];
        long valor;
        if (sscanf(linea, "%63[^=]=%ld", clave, &valor) != 2)
            continue;
        if (!strcmp(clave, "cts"))
            e->cts = valor != 0;
        else if (!strcmp(clave, "dsr"))
            e->dsr = valor != 0;
        else if (!strcmp(clave, "abrir_errno"))
            e->abrir_errno = (int)valor;
        else if (!strcmp(clave, "ioctl_errno"))
            e->ioctl_errno = (int)valor;
        else if (!strcmp(clave, "desenchufado"))
            e->desenchufado = valor != 0;
        else if (!strcmp(clave, "sin_espera"))
            e->sin_espera = valor != 0;
        else if (!strcmp(clave, "cts_cambios")) {
            e->cts_cambios = valor;
            e->hay_contadores = 1;
        } else if (!strcmp(clave, "dsr_cambios")) {
            e->dsr_cambios = valor;
            e->hay_contadores = 1;
        }
    }
    fclose(f);
}

static void escribir_lineas(const struct dispositivo* d) {
    char tmp[4300];
    snprintf(tmp, sizeof tmp, "%s.tmp", d->ruta_lineas);
    FILE* f = fopen(tmp, "we");
    if (!f)
        return;
    fprintf(f, "abierto=%d\nrts=%d\ndtr=%d\naperturas=%d\ncierres=%d\nlecturas=%d\n",
            d->esclavo >= 0, d->rts, d->dtr, d->aperturas, d->cierres, d->lecturas);
    fclose(f);
    rename(tmp, d->ruta_lineas);
}

typedef int (*fn_open)(const char*, int, ...);
typedef int (*fn_openat)(int, const char*, int, ...);
typedef int (*fn_close)(int);
typedef int (*fn_ioctl)(int, unsigned long, ...);

static void* real(const char* nombre) {
    return dlsym(RTLD_NEXT, nombre);
}

static int es_consola(const char* p) {
    return p && strncmp(p, "/dev/ttyS", 9) == 0;
}
static struct dispositivo* falso(const char* p) {
    for (int i = 0; p && i < n_dispositivos; ++i)
        if (strcmp(p, dispositivos[i].ruta) == 0)
            return &dispositivos[i];
    return NULL;
}
/* The device whose descriptor fd is; under the lock. */
static struct dispositivo* de_descriptor(int fd) {
    for (int i = 0; fd >= 0 && i < n_dispositivos; ++i)
        if (dispositivos[i].esclavo == fd)
            return &dispositivos[i];
    return NULL;
}

static int abrir_falso(struct dispositivo* d, int flags) {
    struct estado e;
    leer_estado(d, &e);
    if (e.abrir_errno) {
        errno = e.abrir_errno;
        return -1;
    }
    if (d->esclavo >= 0) { /* each device held exclusively */
        errno = EBUSY;
        return -1;
    }
    int m = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m < 0)
        return -1;
    char nombre[128];
    if (grantpt(m) || unlockpt(m) || ptsname_r(m, nombre, sizeof nombre)) {
        ((fn_close)real("close"))(m);
        return -1;
    }
    int s = ((fn_open)real("open64"))(nombre, (flags & ~(O_CREAT | O_TRUNC)) | O_NOCTTY);
    if (s < 0) {
        int guardado = errno;
        ((fn_close)real("close"))(m);
        errno = guardado;
        return -1;
    }
    d->maestro = m;
    d->esclavo = s;
    d->rts = d->dtr = 0; /* the program must raise them itself */
    ++d->aperturas;
    escribir_lineas(d);
    return s;
}

static int abrir(const char* p, int flags, int modo, const char* simbolo) {
    if (es_consola(p)) {
        fprintf(stderr, "puerto_falso: se niega a abrir %s\n", p);
        errno = EACCES;
        return -1;
    }
    struct dispositivo* d = falso(p);
    if (d) {
        pthread_mutex_lock(&cerrojo);
        int r = abrir_falso(d, flags);
        pthread_mutex_unlock(&cerrojo);
        return r;
    }
    return ((fn_open)real(simbolo))(p, flags, modo);
}

#define MODO(flags)                                                                                \
    int modo = 0;                                                                                  \
    if ((flags) & (O_CREAT | __O_TMPFILE)) {                                                       \
        va_list ap;                                                                                \
        va_start(ap, flags);                                                                       \
        modo = va_arg(ap, int);                                                                    \
        va_end(ap);                                                                                \
    }

int open(const char* p, int flags, ...) {
    MODO(flags);
    return abrir(p, flags, modo, "open");
}
int open64(const char* p, int flags, ...) {
    MODO(flags);
    return abrir(p, flags, modo, "open64");
}
int __open_2(const char* p, int flags) {
    return abrir(p, flags, 0, "open");
}
int __open64_2(const char* p, int flags) {
    return abrir(p, flags, 0, "open64");
}

static int abrir_en(int dir, const char* p, int flags, int modo, const char* simbolo) {
    if (p && p[0] == '/' && (es_consola(p) || falso(p)))
        return abrir(p, flags, modo, "open64");
    return ((fn_openat)real(simbolo))(dir, p, flags, modo);
}
int openat(int dir, const char* p, int flags, ...) {
    MODO(flags);
    return abrir_en(dir, p, flags, modo, "openat");
}
int openat64(int dir, const char* p, int flags, ...) {
    MODO(flags);
    return abrir_en(dir, p, flags, modo, "openat64");
}

int close(int fd) {
    pthread_mutex_lock(&cerrojo);
    struct dispositivo* d = de_descriptor(fd);
    if (d) {
        d->esclavo = -1;
        if (d->maestro >= 0)
            ((fn_close)real("close"))(d->maestro);
        d->maestro = -1;
        d->rts = d->dtr = 0;
        ++d->cierres;
        escribir_lineas(d);
    }
    pthread_mutex_unlock(&cerrojo);
    return ((fn_close)real("close"))(fd);
}

static int lineas_modem(struct dispositivo* d, unsigned long peticion, void* arg) {
    struct estado e;
    leer_estado(d, &e);
    if (e.desenchufado) {
        if (d->maestro >= 0) { /* hang the tty up, as a device that goes away does */
            ((fn_close)real("close"))(d->maestro);
            d->maestro = -1;
        }
        errno = EIO;
        return -1;
    }
    if (e.ioctl_errno) {
        errno = e.ioctl_errno;
        return -1;
    }
    if (!arg) {
        errno = EFAULT;
        return -1;
    }
    if (peticion == TIOCGICOUNT) {
        if (!e.hay_contadores) {
            errno = ENOTTY;
            return -1;
        }
        struct serial_icounter_struct* c = arg;
        memset(c, 0, sizeof *c);
        c->cts = (int)e.cts_cambios;
        c->dsr = (int)e.dsr_cambios;
        return 0;
    }
    int* bits = arg;
    if (peticion == TIOCMGET) {
        ++d->lecturas;
        *bits = (d->rts ? TIOCM_RTS : 0) | (d->dtr ? TIOCM_DTR : 0) |
                (e.cts && d->rts ? TIOCM_CTS : 0) | (e.dsr && d->dtr ? TIOCM_DSR : 0);
        escribir_lineas(d);
        return 0;
    }
    int nuevo_rts = d->rts, nuevo_dtr = d->dtr;
    if (peticion == TIOCMSET) {
        nuevo_rts = (*bits & TIOCM_RTS) != 0;
        nuevo_dtr = (*bits & TIOCM_DTR) != 0;
    } else {
        int valor = peticion == TIOCMBIS;
        if (*bits & TIOCM_RTS)
            nuevo_rts = valor;
        if (*bits & TIOCM_DTR)
            nuevo_dtr = valor;
    }
    if (nuevo_rts != d->rts || nuevo_dtr != d->dtr) {
        d->rts = nuevo_rts;
        d->dtr = nuevo_dtr;
        escribir_lineas(d);
    }
    return 0;
}

/* The masked input lines as TIOCMGET would give them now; -1 when the
 * device is gone or its waits are off. Under the lock. */
static int lineas_de_espera(struct dispositivo* d, unsigned long mascara) {
    struct estado e;
    leer_estado(d, &e);
    if (e.desenchufado || e.sin_espera || d->esclavo < 0)
        return -1;
    return (int)(((e.cts && d->rts ? TIOCM_CTS : 0) | (e.dsr && d->dtr ? TIOCM_DSR : 0)) & mascara);
}

/* TIOCMIWAIT: watches the state file's folder (the test replaces the file
 * with a rename) and returns when a masked line changed. A signal ends the
 * wait with EINTR, as the driver's wait does. */
static int esperar_cambio(int fd, unsigned long mascara) {
    pthread_mutex_lock(&cerrojo);
    struct dispositivo* d = de_descriptor(fd);
    int antes = d ? lineas_de_espera(d, mascara) : -1;
    char carpeta[4200] = "";
    if (d) {
        snprintf(carpeta, sizeof carpeta, "%s", d->ruta_estado);
        char* barra = strrchr(carpeta, '/');
        if (barra)
            *barra = 0;
    }
    pthread_mutex_unlock(&cerrojo);
    if (antes < 0) {
        errno = d ? ENOTTY : EBADF;
        return -1;
    }
    int aviso = inotify_init1(IN_CLOEXEC);
    if (aviso < 0 || inotify_add_watch(aviso, carpeta, IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
        if (aviso >= 0)
            ((fn_close)real("close"))(aviso);
        errno = ENOTTY;
        return -1;
    }
    int r = -1;
    for (;;) {
        pthread_mutex_lock(&cerrojo);
        d = de_descriptor(fd);
        int ahora = d ? lineas_de_espera(d, mascara) : -1;
        pthread_mutex_unlock(&cerrojo);
        if (ahora < 0) {
            errno = EIO;
            break;
        }
        if (ahora != antes) {
            r = 0;
            break;
        }
        struct pollfd p = {.fd = aviso, .events = POLLIN};
        int n = poll(&p, 1, 100);
        if (n < 0) {
            break; /* EINTR: the caller's signal */
        }
        if (n > 0) {
            char sobra[4096];
            if (read(aviso, sobra, sizeof sobra) < 0 && errno != EAGAIN) {
                errno = EIO;
                break;
            }
        }
    }
    int guardado = errno;
    ((fn_close)real("close"))(aviso);
    errno = guardado;
    return r;
}

int ioctl(int fd, unsigned long peticion, ...) {
    va_list ap;
    va_start(ap, peticion);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    if (fd >= 0 && peticion == TIOCMIWAIT) {
        pthread_mutex_lock(&cerrojo);
        const int nuestro = de_descriptor(fd) != NULL;
        pthread_mutex_unlock(&cerrojo);
        if (nuestro)
            return esperar_cambio(fd, (unsigned long)arg);
    }
    if (fd >= 0 && (peticion == TIOCMGET || peticion == TIOCMBIS || peticion == TIOCMBIC ||
                    peticion == TIOCMSET || peticion == TIOCGICOUNT)) {
        pthread_mutex_lock(&cerrojo);
        struct dispositivo* d = de_descriptor(fd);
        if (d) {
            int r = lineas_modem(d, peticion, arg);
            pthread_mutex_unlock(&cerrojo);
            return r;
        }
        pthread_mutex_unlock(&cerrojo);
    }
    return ((fn_ioctl)real("ioctl"))(fd, peticion, arg);
}
