// Starts a program and prints the microseconds from just before its start to
// the moment the X server maps its first top-level window; then kills it.
// Usage: wait_mapped PROGRAM [ARGUMENTS...]   (DISPLAY names the server)
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using Event = std::unique_ptr<xcb_generic_event_t, FreeDeleter>;

// Every window created, mapped or unmapped directly below the root is reported.
bool watchTopLevelWindows(xcb_connection_t* connection)
{
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    const xcb_void_cookie_t cookie
        = xcb_change_window_attributes_checked(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(connection, cookie));
    return !error;
}

pid_t startProgram(char** argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

bool isTopLevelMap(const xcb_generic_event_t& event)
{
    if ((event.response_type & 0x7f) != XCB_MAP_NOTIFY)
        return false;
    const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
    return !map.override_redirect; // popups and menus do not count
}

bool hasEnded(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

enum class Outcome { Mapped, Ended, Broken };

// Waits for the first map of a top-level window of the started program,
// which may also end or break the connection first.
Outcome waitForFirstMap(xcb_connection_t* connection, pid_t pid)
{
    pollfd connectionReadable {xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        while (Event event {xcb_poll_for_event(connection)})
            if (isTopLevelMap(*event))
                return Outcome::Mapped;
        if (xcb_connection_has_error(connection))
            return Outcome::Broken;
        if (hasEnded(pid))
            return Outcome::Ended;
        poll(&connectionReadable, 1, 50);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (const int e = xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: no connection to the X server (%d)\n", argv[0], e);
        return 2;
    }
    if (!watchTopLevelWindows(connection)) {
        std::fprintf(stderr, "%s: cannot watch the X server's root window\n", argv[0]);
        return 2;
    }
    const Clock::time_point start = Clock::now();
    const pid_t pid = startProgram(argv + 1);
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    const Outcome outcome = waitForFirstMap(connection, pid);
    const auto elapsed = Clock::now() - start;
    if (outcome != Outcome::Ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    xcb_disconnect(connection);
    if (outcome != Outcome::Mapped) {
        std::fprintf(stderr, "%s: %s ended without showing a window\n", argv[0], argv[1]);
        return 1;
    }
    std::printf("%lld\n",
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
    return 0;
}
