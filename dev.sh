#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Wirowanki authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Set-up, build, run and test on a Debian machine.
#   ./dev.sh run [program options]   install what is missing, build, start the game
#   ./dev.sh test                    install what is missing, check the format, build normal and sanitizer
#                                    builds with warnings as errors, run every test
#   ./dev.sh lint                    run clang-tidy's fault-finding checks (.clang-tidy) over the program
#   ./dev.sh format                  format every C++ file with clang-format (.clang-format)
set -euo pipefail
cd "$(dirname "$0")"

# What building and running the program needs; the tests, benchmarks and package checks need the rest.
RUN_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig1-dev libjpeg62-turbo-dev
              libpng-dev libsimpleini-dev libsndfile1-dev libsamplerate0-dev fonts-dejavu-core fonts-liberation2)
TEST_PACKAGES=(libgtest-dev libgmock-dev googletest libbenchmark-dev libpixman-1-dev desktop-file-utils appstream
               xvfb xdotool imagemagick reuse lintian clang-format)

install_packages() { # packages...
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() { # dir, extra cmake args... [--target T]
    local dir=$1 args=() target=()
    shift
    while (($#)); do
        if [[ $1 == --target ]]; then
            target=(--target "$2")
            shift 2
        else
            args+=("$1")
            shift
        fi
    done
    cmake -S . -B "$dir" "${args[@]}" >/dev/null
    cmake --build "$dir" -j"$(nproc)" "${target[@]}"
}

# A few tests drive SDL's real (file-backed) audio device in real time; on a machine under heavy load one
# of them can miss its window, so what failed gets one more run. Each rerun is named, so a flaky test does
# not go unnoticed; a test that fails both times fails the suite.
run_tests() {
    local dir=$1
    local failed="$dir/Testing/Temporary/LastTestsFailed.log"
    if (cd "$dir" && ctest --output-on-failure -j"$(nproc)"); then
        return 0
    fi
    [[ -s $failed ]] || return 1
    local first
    first=$(cut -d: -f2- "$failed")
    echo "run_tests: failed in $dir, running once more:" >&2
    sed 's/^/    /' <<<"$first" >&2
    if (cd "$dir" && ctest --rerun-failed --output-on-failure); then
        echo "run_tests: NEEDED A RERUN in $dir (passed the second time):" >&2
        sed 's/^/    /' <<<"$first" >&2
        return 0
    fi
    echo "run_tests: FAILED TWICE in $dir:" >&2
    cut -d: -f2- "$failed" | sed 's/^/    /' >&2
    return 1
}

cxx_files() { git ls-files '*.cpp' '*.hpp' '*.h'; }

case "${1:-}" in
run)
    shift
    install_packages "${RUN_PACKAGES[@]}"
    # Only the program, optimised, in a directory of its own so that it never waits for or disturbs
    # the test build.
    build build-run -DCMAKE_BUILD_TYPE=Release -DWV_TESTS=OFF -DWV_BENCH=OFF --target wirowanki
    exec ./build-run/wirowanki "$@"
    ;;
test)
    install_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    if ! cxx_files | xargs clang-format --dry-run --Werror; then
        echo "dev.sh: files above are not formatted: run ./dev.sh format" >&2
        exit 1
    fi
    build build -DWV_WERROR=ON
    run_tests build
    build build-asan -DWV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DWV_WERROR=ON
    ASAN_OPTIONS=detect_leaks=1 run_tests build-asan
    ;;
lint)
    install_packages "${RUN_PACKAGES[@]}" clang-tidy
    cmake -S . -B build-lint -DWV_TESTS=OFF -DWV_BENCH=OFF >/dev/null
    # Program sources only: the tests' own set-up code is not what these checks are for.
    git ls-files 'platform/*.cpp' 'pictures/*.cpp' 'words/*.cpp' 'core/*.cpp' 'report/*.cpp' 'widgets/*.cpp' \
        'recorder/*.cpp' 'windows/*.cpp' 'games/*.cpp' 'app/*.cpp' |
        xargs -P "$(nproc)" -n 8 clang-tidy -p build-lint --quiet --warnings-as-errors='*' 2>/dev/null
    ;;
format)
    install_packages clang-format
    cxx_files | xargs clang-format -i
    ;;
*)
    echo "usage: $0 run [options] | test | lint | format" >&2
    exit 2
    ;;
esac
