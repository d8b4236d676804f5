#!/usr/bin/env bash
# One entry point for users, developers and CI:
#   scripts/build.sh run        install what is missing, build, start VELT
#   scripts/build.sh test       install what is missing, build from scratch, run every test
#   scripts/build.sh sanitize   the unit tests under AddressSanitizer and UBSan
#   scripts/build.sh fuzz [SECONDS]  build the libFuzzer targets with clang and run each
#   scripts/build.sh bench      build the benchmarks in release mode and run them
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libxlsxwriter-dev fonts-dejavu-core)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_build() { # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$JOBS"
}

case "${1:-run}" in
run)
    install_packages "${PACKAGES[@]}"
    configure_build build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    exec ./build/velt "${@:2}"
    ;;
test)
    install_packages "${PACKAGES[@]}"
    rm -rf build-test
    configure_build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j "$JOBS"
    ;;
sanitize)
    install_packages "${PACKAGES[@]}"
    configure_build build-asan -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DVELT_SANITIZE=ON
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j "$JOBS"
    ;;
fuzz)
    install_packages "${PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    CC=clang CXX=clang++ configure_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVELT_FUZZ=ON
    secs=${2:-60}
    for f in build-fuzz/fuzz/fuzz_*; do
        [ -f "$f" ] && [ -x "$f" ] || continue
        mkdir -p "build-fuzz/corpus/$(basename "$f")"
        "$f" -max_total_time="$secs" -max_len=65536 -rss_limit_mb=2048 "build-fuzz/corpus/$(basename "$f")" fuzz/seeds
    done
    ;;
bench)
    install_packages "${PACKAGES[@]}"
    configure_build build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    for b in build-bench/bench/bench_*; do "$b"; done
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz [SECONDS]|bench" >&2
    exit 1
    ;;
esac
