#!/usr/bin/env bash
# Velo Start from a fresh Debian 12: installs what is missing, builds, runs, tests.
#   ./build.sh run        build and start the launcher
#   ./build.sh test       build with warnings as errors and run every test,
#                         then the same suite under ASan and UBSan
#   ./build.sh package    build the .deb
#   ./build.sh screenshots  show every window under a window manager on a virtual X
#                           display and save it into docs/screenshots/
set -euo pipefail
cd "$(dirname "$0")"
top=$PWD
jobs=$(nproc)

build_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev
    libqt6svg6 qt6-qpa-plugins libgl-dev libfontconfig-dev fonts-liberation libgtest-dev
    libgmock-dev)

# What the test command needs beyond a build: the package tools and checkers (lintian,
# hardening-check from devscripts), the desktop file and metadata validators, an X server
# with a window manager to start the installed program on and to check the windows on, and
# ip, unshare and setpriv for the suites that start real engines in a network namespace of
# their own; xdg-utils for the desktop opener of e-mail addresses.
check_packages=(dpkg-dev file lintian devscripts desktop-file-utils appstream xvfb xauth
    x11-utils openbox iproute2 util-linux xdg-utils)

# clang with its libFuzzer and sanitizer runtimes, which clang only recommends.
fuzz_packages=(clang libclang-rt-14-dev)

say() { printf '\n== %s\n' "$*"; }

# Installs the packages that are not installed yet, through sudo when not root.
need() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

run_ctest() {
    ctest --test-dir "$1" --output-on-failure -j "$jobs"
}

cmd_run() {
    need "${build_packages[@]}"
    configure_and_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELO_BUILD_TESTS=OFF
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        need xvfb xauth
        exec xvfb-run -a build/release/src/app/velo-start
    fi
    exec build/release/src/app/velo-start
}

cmd_test() {
    need "${build_packages[@]}" "${check_packages[@]}"
    say "build and test (warnings are errors)"
    configure_and_build build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELO_WERROR=ON
    run_ctest build/test

    say "install as the package does, validate, start from the menu; build and check the .deb"
    rm -rf build/test/deb
    (cd build/test && cpack -G DEB -B "$top/build/test/deb" >/dev/null)
    tests/install/check_install.sh build/test build/test/deb/velo-start_*.deb
    # Info tags shown too, so a missing hardening flag cannot hide there.
    lintian -I --fail-on error,warning build/test/deb/velo-start_*.deb | tee build/test/lintian.log
    if grep -q ' hardening-' build/test/lintian.log; then
        echo "lintian: the package is not hardened" >&2
        exit 1
    fi

    say "the same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
    configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVELO_WERROR=ON -DVELO_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
        LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_ctest build/sanitize
    fuzz_profile
    test_windows
}

# The profile reader and writer, then the pak directory reader, under libFuzzer, ASan and
# UBSan, for a bounded number of inputs from the committed seeds; what they find stays in
# build/fuzz.
fuzz_profile() {
    need "${fuzz_packages[@]}"
    say "the settings file reader and writer under libFuzzer"
    cmake -S "$top" -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVELO_BUILD_UI=OFF \
        -DVELO_BUILD_TESTS=OFF -DVELO_BUILD_FUZZ=ON -DVELO_WERROR=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/fuzz -j "$jobs" --target profile_fuzz server_fuzz pak_fuzz
    rm -rf build/fuzz/corpus && mkdir -p build/fuzz/corpus
    build/fuzz/fuzz/profile_fuzz -runs=250000 -max_len=512 -artifact_prefix=build/fuzz/ \
        build/fuzz/corpus fuzz/seeds
    say "the server answer parsers under libFuzzer"
    rm -rf build/fuzz/server_corpus && mkdir -p build/fuzz/server_corpus
    build/fuzz/fuzz/server_fuzz -runs=250000 -max_len=2048 -artifact_prefix=build/fuzz/ \
        build/fuzz/server_corpus fuzz/server_seeds
    say "the pak directory reader under libFuzzer"
    rm -rf build/fuzz/pak_corpus && mkdir -p build/fuzz/pak_corpus
    build/fuzz/fuzz/pak_fuzz -runs=250000 -max_len=1024 -artifact_prefix=build/fuzz/ \
        build/fuzz/pak_corpus fuzz/pak_seeds
}

# The Qt-free suites cross-built for Windows, run under Wine in a prefix made once.
test_windows() {
    need g++-mingw-w64-x86-64-posix googletest wine64 wine
    say "the Qt-free suites cross-built for Windows, under Wine"
    local prefix=$top/build/win/wineprefix
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        WINEPREFIX=$prefix WINEDEBUG=-all wineboot -i
        WINEPREFIX=$prefix wineserver -w
    fi
    configure_and_build build/win -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
        -DVELO_BUILD_UI=OFF -DVELO_WERROR=ON -DVELO_GTEST_SOURCE=/usr/src/googletest \
        -DVELO_WINEPREFIX="$prefix"
    run_ctest build/win
}

cmd_package() {
    need "${build_packages[@]}" dpkg-dev file
    configure_and_build build/package -DCMAKE_BUILD_TYPE=Release -DVELO_BUILD_TESTS=OFF
    (cd build/package && cpack -G DEB)
}

cmd_screenshots() {
    need "${build_packages[@]}" xvfb xauth x11-utils openbox
    configure_and_build build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELO_WERROR=ON
    cmake --build build/test --target render_windows
    xvfb-run -a -s "-screen 0 1280x1024x24" tools/on_desktop.sh \
        build/test/tools/render_windows "$top/docs/screenshots"
}

case "${1:-}" in
run) cmd_run ;;
test) cmd_test ;;
package) cmd_package ;;
screenshots) cmd_screenshots ;;
*)
    sed -n '2,8p' "$0"
    exit 2
    ;;
esac
