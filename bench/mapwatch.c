/* Starts a command and reports, from the X server's own MapNotify events, when each of its
 * first N top-level windows was mapped, in seconds after the exec.
 * usage: mapwatch N TIMEOUT_SECONDS COMMAND [ARGS...]   (prints the command's process id
 * first, "pid P", then a line for each map as it happens: the seconds after the exec, the
 * time on the monotonic clock, the window; it leaves the command running) */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char* argv[]) {
    if (argc < 4)
        return 2;
    int wanted = atoi(argv[1]);
    double timeout = atof(argv[2]);
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 3;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    double start = now();
    pid_t pid = fork();
    if (pid == 0) {
        /* The program must not hold our output open: we report and leave it running. */
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execv(argv[3], argv + 3);
        _exit(127);
    }
    printf("pid %d\n", (int)pid);
    fflush(stdout);
    int fd = ConnectionNumber(display);
    int seen = 0;
    while (seen < wanted && now() - start < timeout) {
        while (XPending(display) && seen < wanted) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) {
                double t = now();
                printf("%.6f %.6f 0x%lx\n", t - start, t, event.xmap.window);
                fflush(stdout);
                ++seen;
            }
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval tv = {0, 20000};
        select(fd + 1, &fds, NULL, NULL, &tv);
    }
    XCloseDisplay(display);
    return seen == wanted ? 0 : 1;
}
