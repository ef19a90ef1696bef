// depotbase-window-wait TITLE COMMAND [ARGS...]: starts COMMAND and prints, as "MS MB", the
// milliseconds from its start until a window whose title begins with TITLE
// is mapped on the display, or a mapped window's title changes to one that
// does (a list that shows its count once it has read every row), and the
// command's peak resident memory in MB (its first paint included: it is
// ended a moment after).
//
// It waits for the X server's map events instead of asking for the window
// list in a loop: a polling loop (xdotool every few milliseconds) takes CPU
// the measured program needs on a small machine and adds its own delay.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool titleStartsWith(Display *display, Window window, const char *prefix)
{
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) != Success || !data)
        return false;
    const bool match = std::strncmp(reinterpret_cast<char *>(data), prefix,
                                    std::strlen(prefix)) == 0;
    XFree(data);
    return match;
}

// A window can be gone by the time its title is asked for; Xlib's default
// handler would end the program on that error.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: depotbase-window-wait TITLE COMMAND [ARGS...]\n");
        return 2;
    }
    // The server can refuse a connection for a moment while the previous
    // run's clients are being torn down: try again a few times.
    Display *display = nullptr;
    for (int attempt = 0; attempt < 20 && !display; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (!display)
            usleep(50 * 1000);
    }
    if (!display) {
        std::fprintf(stderr, "depotbase-window-wait: no display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    // The command gets a connection of its own, not a copy of this one.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    // Listen before the command starts, so no map can be missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const Atom titleAtom = XInternAtom(display, "_NET_WM_NAME", False);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            if (titleStartsWith(display, event.xmap.window, argv[1]))
                break;
            // Its title may change to the one waited for later.
            XSelectInput(display, event.xmap.window, PropertyChangeMask);
        } else if (event.type == PropertyNotify && event.xproperty.atom == titleAtom
                   && titleStartsWith(display, event.xproperty.window, argv[1])) {
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "depotbase-window-wait: %s ended before its window\n", argv[2]);
            return 1;
        }
    }
    const double mappedMs = nowMs() - start;
    usleep(200 * 1000);
    kill(child, SIGTERM);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    std::printf("%.0f %ld\n", mappedMs, usage.ru_maxrss / 1024);
    std::fflush(stdout);
    XCloseDisplay(display);
    return 0;
}
