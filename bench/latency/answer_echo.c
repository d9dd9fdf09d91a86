/* The floor of the answer latency benchmark: the least a program can do to answer. It opens the
 * device side of the pseudo-terminal, reads, and writes 06 for every frame 02 nn 03.
 *
 *   answer_echo DEVICE
 */
#include <fcntl.h>
#include <stdio.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: answer_echo DEVICE\n");
        return 2;
    }
    int fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0) {
        perror("answer_echo");
        return 1;
    }
    struct termios t;
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    unsigned char buffer[4096];
    const unsigned char ack = 0x06;
    int state = 0; /* bytes of the frame seen so far */
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return 0;
        }
        for (ssize_t i = 0; i < n; ++i) {
            unsigned char b = buffer[i];
            if (state == 2 && b == 0x03) {
                if (write(fd, &ack, 1) != 1) {
                    return 1;
                }
                state = 0;
            } else if (state == 1) {
                state = 2;
            } else {
                state = b == 0x02 ? 1 : 0;
            }
        }
    }
}
