// Starts the main window and a bare window of the same size with five tabs, in turn, and
// reports the medians of the time until the X server maps the window, of the time to the
// first painted window, of the processor time and of the peak memory, and their ratios.
// POSIX only; runs under whatever display the environment names (an X server, or
// QT_QPA_PLATFORM=offscreen, where there is no mapping to time).
//
//     startup_bench [runs]

#include "support/temp_dir.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <xcb/xcb.h>

namespace {

// Told by the X server of every window mapped on the screen: the frame a window manager
// puts round a new window, or the window itself without one.
class MapWatch {
public:
    MapWatch() {
        connection_ = ::xcb_connect(nullptr, nullptr);
        if (::xcb_connection_has_error(connection_) != 0) {
            return;
        }
        const xcb_window_t root =
            ::xcb_setup_roots_iterator(::xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        ::xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        ::xcb_flush(connection_);
        ok_ = true;
    }
    ~MapWatch() { ::xcb_disconnect(connection_); }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool ok() const { return ok_; }
    int fd() const { return ok_ ? ::xcb_get_file_descriptor(connection_) : -1; }
    // True when a window was mapped since the last call; other events are dropped.
    bool mapped() {
        bool seen = false;
        while (xcb_generic_event_t* event = ::xcb_poll_for_event(connection_)) {
            seen = seen || (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
        }
        return seen;
    }

private:
    xcb_connection_t* connection_ = nullptr;
    bool ok_ = false;
};

struct Start {
    double mappedMilliseconds = 0; // from the start of the process until its window is mapped
    double milliseconds = 0;       // from the start of the process to its first painted window
    double cpuMilliseconds = 0;    // user and system time of the whole run, settling included
    long peakKiB = 0;
};

// One start of program; false when it did not come up.
bool startOnce(MapWatch& watch, const std::string& program, const std::string& argument,
               Start& start) {
    int out[2];
    if (::pipe(out) != 0) {
        return false;
    }
    if (watch.ok()) {
        watch.mapped();
    }
    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(out[1]);
    // The map and the first paint may come in either order.
    char line[16] = {};
    ssize_t got = -1;
    bool mapped = !watch.ok();
    auto end = begin;
    while (got < 0 || !mapped) {
        // A descriptor poll is not to look at is left out by a negative number.
        pollfd fds[2] = {{got < 0 ? out[0] : -1, POLLIN, 0}, {mapped ? -1 : watch.fd(), POLLIN, 0}};
        if (::poll(fds, 2, 10000) <= 0) {
            break;
        }
        if (fds[0].revents != 0) {
            got = ::read(out[0], line, sizeof line - 1);
            end = std::chrono::steady_clock::now();
            if (got <= 0) {
                break;
            }
        }
        if (!mapped && watch.mapped()) {
            mapped = true;
            start.mappedMilliseconds =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                    .count();
        }
    }
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    start.milliseconds = std::chrono::duration<double, std::milli>(end - begin).count();
    start.peakKiB = usage.ru_maxrss;
    start.cpuMilliseconds = 1e3 * double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                            1e-3 * double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return got > 0 && std::string(line).rfind("mapped", 0) == 0;
}

template <class T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <class T> T least(const std::vector<T>& values) {
    return *std::min_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::filesystem::path here = std::filesystem::path(argv[0]).parent_path();
    const std::string velo = (here / "startup_velo").string();
    const std::string bare = (here / "startup_bare").string();

    // A kept start: the main window comes up straight away.
    velo::test::TempDir folder;
    folder.write("q2velo.ini", "[Quake2]\r\nPath=" + folder.path().string() +
                                   "\r\nRunSetup=No\r\n[Mod]\r\nMod0=ctf\r\n");

    MapWatch watch;
    std::vector<double> veloMapped, bareMapped, veloTimes, bareTimes, veloCpu, bareCpu;
    std::vector<long> veloPeaks, barePeaks;
    Start start;
    // One start each first, unmeasured, so both find the libraries in the page cache.
    if (!startOnce(watch, velo, folder.path().string(), start) ||
        !startOnce(watch, bare, "", start)) {
        std::fprintf(stderr, "startup_bench: a window did not come up (is there a display?)\n");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        if (!startOnce(watch, velo, folder.path().string(), start)) {
            return 1;
        }
        veloMapped.push_back(start.mappedMilliseconds);
        veloTimes.push_back(start.milliseconds);
        veloCpu.push_back(start.cpuMilliseconds);
        veloPeaks.push_back(start.peakKiB);
        if (!startOnce(watch, bare, "", start)) {
            return 1;
        }
        bareMapped.push_back(start.mappedMilliseconds);
        bareTimes.push_back(start.milliseconds);
        bareCpu.push_back(start.cpuMilliseconds);
        barePeaks.push_back(start.peakKiB);
    }
    const double vt = median(veloTimes), bt = median(bareTimes);
    const double vc = median(veloCpu), bc = median(bareCpu);
    const long vp = median(veloPeaks), bp = median(barePeaks);
    std::printf("%d starts each; medians, then the fastest start\n", runs);
    if (watch.ok()) {
        const double vm = median(veloMapped), bm = median(bareMapped);
        std::printf("window mapped:        main %.1f ms, bare %.1f ms, ratio %.2f\n", vm, bm,
                    vm / bm);
    }
    std::printf("first window painted: main %.1f ms, bare %.1f ms, ratio %.2f\n", vt, bt, vt / bt);
    // The shortest start is the one least disturbed by whatever else the machine runs.
    std::printf("fastest start:        main %.1f ms, bare %.1f ms, ratio %.2f\n", least(veloTimes),
                least(bareTimes), least(veloTimes) / least(bareTimes));
    std::printf("processor time:       main %.1f ms, bare %.1f ms, ratio %.2f\n", vc, bc, vc / bc);
    std::printf("peak memory:          main %ld KiB, bare %ld KiB, ratio %.2f\n", vp, bp,
                double(vp) / double(bp));
    return 0;
}
