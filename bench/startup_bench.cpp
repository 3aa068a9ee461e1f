// Starts the main window and a bare window of the same size with five tabs, in turn, and
// reports the medians of the time to the first painted window, of the processor time and of
// the peak memory, and their ratios. POSIX only; runs under whatever display the
// environment names (an X server, or QT_QPA_PLATFORM=offscreen).
//
//     startup_bench [runs]

#include "support/temp_dir.h"

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

namespace {

struct Start {
    double milliseconds = 0;    // from the start of the process to its first painted window
    double cpuMilliseconds = 0; // user and system time of the whole run, settling included
    long peakKiB = 0;
};

// One start of program; false when it did not come up.
bool startOnce(const std::string& program, const std::string& argument, Start& start) {
    int out[2];
    if (::pipe(out) != 0) {
        return false;
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
    char line[16] = {};
    const ssize_t got = ::read(out[0], line, sizeof line - 1);
    const auto end = std::chrono::steady_clock::now();
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

    std::vector<double> veloTimes, bareTimes, veloCpu, bareCpu;
    std::vector<long> veloPeaks, barePeaks;
    Start start;
    // One start each first, unmeasured, so both find the libraries in the page cache.
    if (!startOnce(velo, folder.path().string(), start) || !startOnce(bare, "", start)) {
        std::fprintf(stderr, "startup_bench: a window did not come up (is there a display?)\n");
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        if (!startOnce(velo, folder.path().string(), start)) {
            return 1;
        }
        veloTimes.push_back(start.milliseconds);
        veloCpu.push_back(start.cpuMilliseconds);
        veloPeaks.push_back(start.peakKiB);
        if (!startOnce(bare, "", start)) {
            return 1;
        }
        bareTimes.push_back(start.milliseconds);
        bareCpu.push_back(start.cpuMilliseconds);
        barePeaks.push_back(start.peakKiB);
    }
    const double vt = median(veloTimes), bt = median(bareTimes);
    const double vc = median(veloCpu), bc = median(bareCpu);
    const long vp = median(veloPeaks), bp = median(barePeaks);
    std::printf("%d starts each; medians, then the fastest start\n", runs);
    std::printf("first window painted: main %.1f ms, bare %.1f ms, ratio %.2f\n", vt, bt, vt / bt);
    // The shortest start is the one least disturbed by whatever else the machine runs.
    std::printf("fastest start:        main %.1f ms, bare %.1f ms, ratio %.2f\n", least(veloTimes),
                least(bareTimes), least(veloTimes) / least(bareTimes));
    std::printf("processor time:       main %.1f ms, bare %.1f ms, ratio %.2f\n", vc, bc, vc / bc);
    std::printf("peak memory:          main %ld KiB, bare %ld KiB, ratio %.2f\n", vp, bp,
                double(vp) / double(bp));
    return 0;
}
