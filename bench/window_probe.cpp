// Starts a program and watches it from outside through the X server, the same way for any
// toolkit: when its top-level window is mapped, when the window's picture last changed before
// it settled, and its peak memory. bench/sidebyside.py runs it for each program it compares.
//
// Usage: bench_window_probe [--settle SECONDS] [--timeout SECONDS] [--shot FILE.png] [--log FILE]
//                           [--trace FILE] -- PROGRAM [ARGS...]
// (the program's output goes to the log, or nowhere)
// Prints one line: map_ms=... paint_ms=... hwm_kib=... frames=... grabs=... size=WxH title=...
//
// The window's picture is read only when the server reports drawing in it (DAMAGE), plus a slow
// poll as a safety net, so the probe takes little of the CPU the measured program needs.
// The paint time is the first moment the window showed any of the pictures it keeps showing
// once settled: a blinking text cursor alternates two pictures and still counts as settled.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "window_probe: %s\n", message.c_str());
    std::exit(1);
}

// A window can vanish between an event and the request about it; such errors are expected.
int g_xerrors = 0;
int ignoreErrors(Display*, XErrorEvent*)
{
    ++g_xerrors;
    return 0;
}

long cardinal(Display* dpy, Window w, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(dpy, w, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32 && count == 1)
        value = long(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return value;
}

bool hasAtom(Display* dpy, Window w, Atom property, Atom wanted)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(dpy, w, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 32) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            found = found || atoms[i] == wanted;
    }
    if (data)
        XFree(data);
    return found;
}

// The window of process pid inside a window manager's frame (or the mapped window itself).
Window clientOf(Display* dpy, Window w, long pid, Atom netWmPid, int depth = 0)
{
    if (cardinal(dpy, w, netWmPid) == pid)
        return w;
    if (depth == 3)
        return None;
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    Window found = None;
    if (XQueryTree(dpy, w, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && found == None; ++i)
            found = clientOf(dpy, children[i], pid, netWmPid, depth + 1);
        if (children)
            XFree(children);
    }
    return found;
}

std::uint64_t fnv1a(const char* data, std::size_t size, std::uint64_t h = 1469598103934665603ull)
{
    for (std::size_t i = 0; i < size; ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return h;
}

struct Grab
{
    bool ok = false;
    std::uint64_t hash = 0;
    int width = 0, height = 0;
};

Grab grab(Display* dpy, Window w)
{
    Grab g;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable)
        return g;
    const int before = g_xerrors;
    XImage* image = XGetImage(dpy, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!image || g_xerrors != before) {
        if (image)
            XDestroyImage(image);
        return g;
    }
    // Hash 64-bit words: byte-wise FNV over a full window would cost more than the reading.
    std::uint64_t h = fnv1a(reinterpret_cast<const char*>(&a.width), sizeof a.width);
    h = fnv1a(reinterpret_cast<const char*>(&a.height), sizeof a.height, h);
    const std::size_t bytes = std::size_t(image->bytes_per_line) * std::size_t(image->height);
    const char* p = image->data;
    for (std::size_t i = 0; i + 8 <= bytes; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        h = (h ^ word) * 1099511628211ull;
        h ^= h >> 29;
    }
    XDestroyImage(image);
    g.ok = true;
    g.hash = h;
    g.width = a.width;
    g.height = a.height;
    return g;
}

long peakKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

std::string title(Display* dpy, Window w)
{
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(dpy, w, netName, 0, 256, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

bool exited(pid_t pid, int* status)
{
    const pid_t r = waitpid(pid, status, WNOHANG);
    return r == pid;
}

// Closes the window as a user would, then insists; the measurement is taken before this.
void closeProgram(Display* dpy, Window client, pid_t pid)
{
    const Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    if (client != None && hasAtom(dpy, client, protocols, deleteWindow)) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = client;
        e.xclient.message_type = protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(deleteWindow);
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, client, False, NoEventMask, &e);
        XFlush(dpy);
    }
    int status = 0;
    const int signals[] = {0, SIGTERM, SIGKILL};
    for (int sig : signals) {
        if (sig)
            kill(pid, sig);
        const double until = now() + 5;
        while (now() < until) {
            if (exited(pid, &status))
                return;
            usleep(20000);
        }
    }
    waitpid(pid, &status, 0);
}

void takeShot(const char* path)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("import", "import", "-window", "root", path, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(std::string("could not take the screenshot ") + path + " (is ImageMagick's import installed?)");
}

double number(const char* option, const char* text)
{
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (errno || end == text || *end || !(v > 0))
        fail(std::string(option) + " wants a positive number of seconds, not '" + text + "'");
    return v;
}

} // namespace

int main(int argc, char** argv)
{
    double settle = 1.5, timeout = 120;
    const char* shot = nullptr;
    const char* log = "/dev/null";
    const char* trace = nullptr; // every picture read: when, by drawing report or poll, which
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            break;
        if (i + 1 >= argc)
            fail("missing value after " + a);
        if (a == "--settle")
            settle = number("--settle", argv[++i]);
        else if (a == "--timeout")
            timeout = number("--timeout", argv[++i]);
        else if (a == "--shot")
            shot = argv[++i];
        else if (a == "--trace")
            trace = argv[++i];
        else if (a == "--log")
            log = argv[++i];
        else
            fail("unknown option " + a +
                 "\nusage: bench_window_probe [--settle S] [--timeout S] [--shot FILE] [--log FILE] "
                 "[--trace FILE] -- PROGRAM [ARGS...]");
    }
    if (i + 1 >= argc)
        fail("no program given after --");
    char** command = argv + i + 1;

    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy)
        fail("cannot open the X display (DISPLAY is not set or the server is gone)");
    XSetErrorHandler(ignoreErrors);
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError))
        fail("the X server has no DAMAGE extension");
    const Window root = DefaultRootWindow(dpy);
    const Atom netWmPid = XInternAtom(dpy, "_NET_WM_PID", False);
    const Atom windowType = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False);
    const Atom splash = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_SPLASH", False);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = now();
    const pid_t pid = fork();
    if (pid < 0)
        fail(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        close(ConnectionNumber(dpy));
        const int out = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(out, STDERR_FILENO) < 0) {
            std::fprintf(stderr, "window_probe: cannot write %s: %s\n", log, std::strerror(errno));
            _exit(127);
        }
        execvp(command[0], command);
        dprintf(STDERR_FILENO, "window_probe: cannot start %s: %s\n", command[0], std::strerror(errno));
        _exit(127);
    }

    Window client = None;
    Damage damage = None;
    double mapped = -1;
    std::map<std::uint64_t, double> firstSeen; // picture -> when it was first on screen
    std::vector<std::pair<double, std::uint64_t>> history;
    std::string traced;
    double lastNew = -1, pendingDamage = -1, lastGrab = 0;
    int grabs = 0, width = 0, height = 0;
    const double minGap = 0.015, safetyPoll = 0.25;

    for (;;) {
        int status = 0;
        if (exited(pid, &status))
            fail(std::string(command[0]) + " ended before its window settled (" +
                 (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                    : "signal " + std::to_string(WTERMSIG(status))) +
                 ")");
        const double t = now();
        if (t - start > timeout) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            fail(std::string(command[0]) +
                 (client == None ? " mapped no window" : "'s window did not settle") + " within " +
                 std::to_string(int(timeout)) + " s");
        }
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            const double at = now();
            if (e.type == MapNotify && client == None && e.xmap.event == root && !e.xmap.override_redirect) {
                const Window c = clientOf(dpy, e.xmap.window, pid, netWmPid);
                if (c != None && !hasAtom(dpy, c, windowType, splash)) {
                    client = c;
                    mapped = at;
                    damage = XDamageCreate(dpy, client, XDamageReportNonEmpty);
                    pendingDamage = at;
                }
            } else if (e.type == damageEvent + XDamageNotify) {
                pendingDamage = at;
                XDamageSubtract(dpy, damage, None, None);
            }
        }
        if (client != None) {
            const double when = now();
            const bool damaged = pendingDamage >= 0 && when - lastGrab >= minGap;
            if (damaged || when - lastGrab >= safetyPoll) {
                // The picture read now has been on screen since the last drawing reported before
                // it: date it by that report, not by the (later) reading.
                const double stamp = damaged ? pendingDamage : when;
                pendingDamage = -1;
                lastGrab = when;
                const Grab g = grab(dpy, client);
                if (g.ok) {
                    ++grabs;
                    width = g.width;
                    height = g.height;
                    history.emplace_back(stamp, g.hash);
                    const bool fresh = firstSeen.emplace(g.hash, stamp).second;
                    if (fresh)
                        lastNew = stamp;
                    if (trace)
                        traced += std::to_string((stamp - start) * 1000) +
                                  (damaged ? " drawn " : " polled ") + std::to_string(g.hash) +
                                  (fresh ? " new\n" : "\n");
                }
            }
            if (lastNew >= 0 && now() - lastNew >= settle)
                break;
        }
        // Replies read since the last look can have brought events along into Xlib's queue, where
        // the socket no longer shows them: waiting on it would date them late.
        if (XEventsQueued(dpy, QueuedAlready) > 0)
            continue;
        pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
        int wait = client == None ? 10 : int(safetyPoll * 1000);
        if (pendingDamage >= 0)
            wait = int(minGap * 1000);
        poll(&fd, 1, wait);
    }

    // Every picture shown since the last new one belongs to the settled state.
    double painted = lastNew;
    for (const auto& [stamp, hash] : history) {
        if (stamp >= lastNew)
            painted = std::min(painted, firstSeen[hash]);
    }
    const long hwm = peakKiB(pid);
    if (trace) {
        std::ofstream out(trace, std::ios::app);
        out << traced << "settled; map " << (mapped - start) * 1000 << " ms\n";
    }
    const std::string name = title(dpy, client);
    if (shot)
        takeShot(shot);
    if (damage != None)
        XDamageDestroy(dpy, damage);
    closeProgram(dpy, client, pid);
    XCloseDisplay(dpy);
    std::printf("map_ms=%.1f paint_ms=%.1f hwm_kib=%ld frames=%zu grabs=%d size=%dx%d title=%s\n",
                (mapped - start) * 1000, (painted - start) * 1000, hwm, firstSeen.size(), grabs, width,
                height, name.c_str());
    return 0;
}
