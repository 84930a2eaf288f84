// caja_uinput NAME VENDOR PRODUCT CODE...: a USB switch box made through
// /dev/uinput, for the tests in the guest: a game controller (button codes
// such as 288, BTN_TRIGGER) or a keyboard-type box (key codes such as 57,
// KEY_SPACE), named NAME with these USB ids (hexadecimal). Prints "LISTO"
// once the kernel has it, then reads commands line by line:
//   p CODE   press        s CODE   release
//   t CODE MS   press, MS milliseconds held, release
//   q        the device goes (as at the end of input)
// and prints "T CODE VALUE MICROSECONDS" (CLOCK_MONOTONIC, the moment just
// before the event was written, which is when the kernel stamps it). The
// device goes at the end of input, as a box pulled out.
#include <linux/uinput.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

static int fd = -1;

static long long ahora_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000 + t.tv_nsec / 1000;
}

static void emitir(int tipo, int codigo, int valor) {
    struct input_event ev;
    memset(&ev, 0, sizeof ev);
    ev.type = tipo;
    ev.code = codigo;
    ev.value = valor;
    if (write(fd, &ev, sizeof ev) != sizeof ev)
        perror("uinput write");
}

static void tecla(int codigo, int valor) {
    long long t = ahora_us();
    emitir(EV_KEY, codigo, valor);
    emitir(EV_SYN, SYN_REPORT, 0);
    printf("T %d %d %lld\n", codigo, valor, t);
    fflush(stdout);
}

int main(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "uso: caja_uinput NOMBRE VENDOR PRODUCT CODIGO...\n");
        return 2;
    }
    fd = open("/dev/uinput", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        perror("/dev/uinput");
        return 1;
    }
    ioctl(fd, UI_SET_EVBIT, EV_KEY);
    for (int i = 4; i < argc; ++i)
        ioctl(fd, UI_SET_KEYBIT, atoi(argv[i]));
    struct uinput_setup ajuste;
    memset(&ajuste, 0, sizeof ajuste);
    ajuste.id.bustype = BUS_USB;
    ajuste.id.vendor = (unsigned short)strtol(argv[2], NULL, 16);
    ajuste.id.product = (unsigned short)strtol(argv[3], NULL, 16);
    snprintf(ajuste.name, sizeof ajuste.name, "%s", argv[1]);
    if (ioctl(fd, UI_DEV_SETUP, &ajuste) < 0 || ioctl(fd, UI_DEV_CREATE) < 0) {
        perror("uinput");
        return 1;
    }
    printf("LISTO\n");
    fflush(stdout);
    char linea[128];
    while (fgets(linea, sizeof linea, stdin)) {
        char orden = 0;
        int codigo = 0, ms = 0;
        if (sscanf(linea, " %c %d %d", &orden, &codigo, &ms) < 1 || orden == 'q')
            break;
        if (orden == 'p' || orden == 't')
            tecla(codigo, 1);
        if (orden == 't')
            usleep((useconds_t)ms * 1000);
        if (orden == 's' || orden == 't')
            tecla(codigo, 0);
    }
    ioctl(fd, UI_DEV_DESTROY);
    close(fd);
    return 0;
}
