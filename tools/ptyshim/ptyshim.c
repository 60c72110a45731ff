/*
 * libkestrup_ptyshim.so: lets a pseudo-terminal pass for a serial cable with its modem lines present.
 *
 * Loaded with LD_PRELOAD into the Wine processes (scripts/wine-run.sh). Wine asks a COM port for its modem
 * status with TIOCMGET; a pty refuses that ioctl, and Wine then aborts every WaitCommEvent at once. This
 * library wraps ioctl(): when TIOCMGET, TIOCMSET, TIOCMBIS or TIOCMBIC fails on a pty (and only then), it
 * answers as a cable would: CTS, DSR and CD on, RI off, and DTR/RTS as last set through TIOCMSET/BIS/BIC.
 * The DTR/RTS state is kept per pty device (so it outlives a closed descriptor whose number is reused for
 * another device); a pty nobody set yet has DTR and RTS on, as a serial driver raises them on open.
 * Every other ioctl, and every ioctl on anything else, goes to the real one unchanged.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

enum { kMaxDevices = 64 };
/* Control lines the caller may set; the rest of TIOCMGET's answer is fixed. */
enum { kSettable = TIOCM_DTR | TIOCM_RTS, kPresent = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR };

struct device_lines {
    dev_t rdev;
    int lines;
};

static struct device_lines devices[kMaxDevices];
static int device_count;
static pthread_mutex_t devices_lock = PTHREAD_MUTEX_INITIALIZER;

static ioctl_fn real_ioctl(void) {
    static ioctl_fn fn;
    if (!fn) fn = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    return fn;
}

/* Unix98 pty slaves have majors 136-143; the master side is /dev/ptmx (5:2). */
static int pty_device(int fd, dev_t* rdev) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return 0;
    unsigned int maj = major(st.st_rdev);
    if (!((maj >= 136 && maj <= 143) || (maj == 5 && minor(st.st_rdev) == 2))) return 0;
    *rdev = st.st_rdev;
    return 1;
}

/* The slot of a device, created on first use; the last slot is shared when the table is full. */
static struct device_lines* slot_of(dev_t rdev) {
    for (int i = 0; i < device_count; ++i)
        if (devices[i].rdev == rdev) return &devices[i];
    if (device_count == kMaxDevices) return &devices[kMaxDevices - 1];
    devices[device_count].rdev = rdev;
    devices[device_count].lines = kSettable;
    return &devices[device_count++];
}

static int emulate(dev_t rdev, unsigned long request, int* bits) {
    pthread_mutex_lock(&devices_lock);
    struct device_lines* d = slot_of(rdev);
    switch (request) {
    case TIOCMGET: *bits = d->lines | kPresent; break;
    case TIOCMSET: d->lines = *bits & kSettable; break;
    case TIOCMBIS: d->lines |= *bits & kSettable; break;
    case TIOCMBIC: d->lines &= ~(*bits & kSettable); break;
    }
    pthread_mutex_unlock(&devices_lock);
    return 0;
}

int ioctl(int fd, unsigned long request, ...) {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);

    ioctl_fn real = real_ioctl();
    if (!real) {
        errno = ENOSYS;
        return -1;
    }
    int result = real(fd, request, arg);
    if (result == 0) return 0;
    if (request != TIOCMGET && request != TIOCMSET && request != TIOCMBIS && request != TIOCMBIC) return result;

    int saved = errno;
    dev_t rdev;
    if (arg == NULL || !pty_device(fd, &rdev)) {
        errno = saved;
        return result;
    }
    return emulate(rdev, request, (int*)arg);
}
