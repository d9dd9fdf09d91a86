/* Preloaded into CuteCom by cutecom_bench.py. A pseudo-terminal has no modem lines, so the
 * ioctls that read and set them fail and CuteCom gives up on the port. This answers them as a
 * port with DTR and RTS set would; every other ioctl goes through unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>

int ioctl(int fd, unsigned long request, ...) {
    static int (*real_ioctl)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void *argument = va_arg(args, void *);
    va_end(args);
    if (!real_ioctl)
        real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    int result = real_ioctl(fd, request, argument);
    if (result < 0 && (errno == ENOTTY || errno == EINVAL)) {
        if (request == TIOCMGET) {
            *(int *)argument = TIOCM_DTR | TIOCM_RTS;
            return 0;
        }
        if (request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC)
            return 0;
    }
    return result;
}
