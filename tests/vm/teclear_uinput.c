// teclear_uinput NAME: a keyboard made through /dev/uinput, for the tests in
// the guest. Creates the device named NAME, prints "LISTO" once the kernel has
// it, then types what it reads on standard input, line by line: a-z, 0-9 and
// the space as the keys of those names (US positions); a line that is just
// "\n" (backslash, n) as Enter, and a line "\alt X" as Alt+X (a mnemonic).
// Destroys the device at the end of input; exits 1 when some character had no
// key. A compositor takes a new device some tenths of a second after it
// appears: wait until it lists the device before typing, or the first keys
// are lost.
#include <linux/uinput.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

static int fd = -1;

static void emitir(int tipo, int codigo, int valor) {
    struct input_event ev = {0};
    ev.type = tipo;
    ev.code = codigo;
    ev.value = valor;
    if (write(fd, &ev, sizeof ev) != sizeof ev)
        perror("uinput write");
}

static void pulsar(int tecla) {
    emitir(EV_KEY, tecla, 1);
    emitir(EV_SYN, SYN_REPORT, 0);
    usleep(20000);
    emitir(EV_KEY, tecla, 0);
    emitir(EV_SYN, SYN_REPORT, 0);
    usleep(20000);
}

static int tecla_de(char c) {
    static const int letras[26] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                   KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                   KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    if (c >= 'a' && c <= 'z')
        return letras[c - 'a'];
    if (c >= '1' && c <= '9')
        return KEY_1 + (c - '1');
    if (c == '0')
        return KEY_0;
    if (c == ' ')
        return KEY_SPACE;
    return -1;
}

int main(int argc, char** argv) {
    if (argc != 2 || strlen(argv[1]) >= UINPUT_MAX_NAME_SIZE) {
        fprintf(stderr, "uso: teclear_uinput NOMBRE\n");
        return 2;
    }
    fd = open("/dev/uinput", O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        perror("/dev/uinput");
        return 1;
    }
    ioctl(fd, UI_SET_EVBIT, EV_KEY);
    for (int k = KEY_ESC; k <= KEY_MICMUTE; k++)
        ioctl(fd, UI_SET_KEYBIT, k);
    struct uinput_setup ajuste = {0};
    ajuste.id.bustype = BUS_VIRTUAL;
    ajuste.id.vendor = 0x1209;
    ajuste.id.product = 0x0001;
    strcpy(ajuste.name, argv[1]);
    if (ioctl(fd, UI_DEV_SETUP, &ajuste) < 0 || ioctl(fd, UI_DEV_CREATE) < 0) {
        perror("uinput");
        return 1;
    }
    printf("LISTO\n");
    fflush(stdout);
    char linea[256];
    int malas = 0;
    while (fgets(linea, sizeof linea, stdin)) {
        if (strcmp(linea, "\\n\n") == 0) {
            pulsar(KEY_ENTER);
            continue;
        }
        if (strncmp(linea, "\\alt ", 5) == 0) {
            const int tecla = tecla_de(linea[5]);
            if (tecla < 0) {
                malas++;
                continue;
            }
            emitir(EV_KEY, KEY_LEFTALT, 1);
            emitir(EV_SYN, SYN_REPORT, 0);
            usleep(20000);
            pulsar(tecla);
            emitir(EV_KEY, KEY_LEFTALT, 0);
            emitir(EV_SYN, SYN_REPORT, 0);
            usleep(20000);
            continue;
        }
        for (const char* p = linea; *p && *p != '\n'; p++) {
            const int tecla = tecla_de(*p);
            if (tecla < 0)
                malas++;
            else
                pulsar(tecla);
        }
    }
    ioctl(fd, UI_DEV_DESTROY);
    close(fd);
    if (malas)
        fprintf(stderr, "teclear_uinput: %d caracteres sin tecla\n", malas);
    return malas ? 1 : 0;
}
