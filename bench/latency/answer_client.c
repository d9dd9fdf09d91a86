/* The client of the answer latency benchmark. It plays the device that asks: on the pseudo-
 * terminal whose master side it was handed as a file descriptor it writes the frame 02 nn 03 and
 * waits for the answer byte 06. It prints one line per trial: the time from the write until the
 * answer was read, in microseconds, or "lost" when no answer came within a second.
 *
 *   answer_client FD TRIALS GAP_US
 */
#define _GNU_SOURCE
#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double nowUs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

/* Waits until the answer byte arrives; 0 when it did, -1 after the timeout. */
static int awaitAnswer(int fd, double deadline) {
    unsigned char buffer[256];
    for (;;) {
        double left = deadline - nowUs();
        if (left <= 0) {
            return -1;
        }
        struct pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, (int)(left / 1000) + 1) <= 0) {
            continue;
        }
        ssize_t n = read(fd, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == 0x06) {
                return 0;
            }
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: answer_client FD TRIALS GAP_US\n");
        return 2;
    }
    int fd = atoi(argv[1]);
    int trials = atoi(argv[2]);
    int gapUs = atoi(argv[3]);
    for (int trial = 0; trial < trials; ++trial) {
        unsigned char frame[3] = {0x02, (unsigned char)(trial & 0xFF), 0x03};
        if (frame[1] == 0x06) {
            frame[1] = 0x07;
        }
        double start = nowUs();
        if (write(fd, frame, sizeof frame) != (ssize_t)sizeof frame) {
            fprintf(stderr, "answer_client: write failed (errno %d)\n", errno);
            return 1;
        }
        if (awaitAnswer(fd, start + 1e6) == 0) {
            printf("%.1f\n", nowUs() - start);
        } else {
            printf("lost\n");
        }
        usleep((useconds_t)gapUs);
    }
    return 0;
}
