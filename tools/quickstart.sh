#!/usr/bin/env bash
# Kelvo's quick start on Debian 12.
#   tools/quickstart.sh play   installs what is missing, builds and starts the game
#   tools/quickstart.sh test   installs what is missing, builds and runs every test headless
# Packages are installed with apt-get as root (through sudo when run as a user).
set -euo pipefail

mode=${1:-play}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

packages=(
  g++ make ninja-build cmake pkg-config clang-format zlib1g-dev libfontconfig-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core fonts-ocr-a
  qt6-wayland
)
# What the tests add: the packaging checks (lintian, the manual page made from
# --help), the game on real display servers (Xvfb with openbox, two heads on
# Xephyr, headless weston) driven with xdotool, and a real sound server.
test_packages=(
  desktop-file-utils appstream dpkg-dev file strace lintian help2man
  xvfb xserver-xephyr openbox xdotool x11-utils x11-xserver-utils imagemagick weston
  pulseaudio pulseaudio-utils
)

[ "$mode" = test ] && packages+=("${test_packages[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root, or install sudo, to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
# configure DIR OPTION...: a new build folder is made for Ninja, which keeps every
# core busy across targets; one made before keeps its generator.
configure() {
  local generator=()
  [ -f "$1/CMakeCache.txt" ] || generator=(-G Ninja)
  cmake -S . -B "$1" "${generator[@]}" "${@:2}"
}
case "$mode" in
  play)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF
    cmake --build build -j"$jobs" --target kelvo
    exec build/kelvo
    ;;
  test)
    configure build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_WERROR=ON -DKELVO_TESTS=ON -DKELVO_BENCH=ON -DKELVO_ARTGEN=ON
    cmake --build build-tests -j"$jobs"
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    ctest --test-dir build-tests --output-on-failure --timeout 300 -j"$jobs"
    # The suite once more under AddressSanitizer (leaks included) and
    # UndefinedBehaviorSanitizer, packaging aside. The options are in force for
    # the build too, where test discovery runs the test programs. The only
    # suppressions are faults inside system libraries: tools/sanitizers/lsan.supp
    # says which and why. The desktop runs watch the game with strace, under
    # which the leak check cannot work: they run with every other check
    # (tests/desktop/CMakeLists.txt), beside the rest.
    export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
    export LSAN_OPTIONS="suppressions=$here/tools/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    configure build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_WERROR=ON -DKELVO_TESTS=ON -DKELVO_BENCH=OFF \
      -DKELVO_SANITIZE=ON
    cmake --build build-sanitize -j"$jobs"
    ctest --test-dir build-sanitize --output-on-failure --timeout 300 -j"$jobs" --label-exclude packaging
    ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
