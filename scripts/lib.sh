# Shared by scripts/test and scripts/demo: packages, build, Wine prefix, X display, wineserver.
# Source it; every function exits the script on failure.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="${QUORLAN_BUILD_DIR:-$ROOT/build}"
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES="mingw-w64 g++-mingw-w64-i686 mingw-w64-tools wine wine32:i386 xvfb xdotool imagemagick
x11-utils librapidxml-dev googletest cmake ninja-build python3 git clang-14 libclang-rt-14-dev llvm-14"

say() { printf '== %s\n' "$*" >&2; }

package_missing() {
    local status
    status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 0
    [ "$status" != "install ok installed" ]
}

# Installs what is missing from Debian's packages (needs root), including 32-bit Wine.
ensure_packages() {
    local missing=() package
    for package in $PACKAGES; do
        package_missing "$package" && missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages (${missing[*]}); run as root to install them" >&2
        exit 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_all() {
    say "building in $BUILD"
    cmake -S "$ROOT" -B "$BUILD" -G Ninja >/dev/null
    cmake --build "$BUILD"
}

# The native build (tests/native): the model's readers for Linux under AddressSanitizer and
# UndefinedBehaviorSanitizer, their unit tests and their fuzz targets, in $BUILD/native.
NATIVE_BUILD="$BUILD/native"
export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14

build_native() {
    say "building the native sanitizer build in $NATIVE_BUILD"
    cmake -S "$ROOT/tests/native" -B "$NATIVE_BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
    cmake --build "$NATIVE_BUILD"
}

# Starts a private Xvfb on the first free display number unless QUORLAN_USE_DISPLAY is set.
start_display() {
    if [ -n "${QUORLAN_USE_DISPLAY:-}" ]; then
        export DISPLAY="$QUORLAN_USE_DISPLAY"
        return 0
    fi
    local n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        local tries
        for tries in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        # Another run may have taken the number meanwhile: then our Xvfb has exited.
        if [ -e "/tmp/.X11-unix/X$n" ] && sleep 0.2 && kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "could not start Xvfb" >&2
    exit 1
}

# Creates and configures the private 32-bit prefix once: no Mono or Gecko prompts (the DLL
# overrides above), no crash dialog, and unmanaged X windows so closing a window is instant.
prepare_wine() {
    local marker="$WINEPREFIX/.quorlan-prefix-ready"
    [ -f "$marker" ] && return 0
    say "creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$BUILD"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$marker"
}

# A persistent wineserver keeps Wine's own system processes (services.exe and the like) running
# between tests. They are started here, with no pipe of ours inherited: started by the first test
# instead, they would hold ctest's output pipe open and ctest would wait for ever.
start_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Copies the sample solution (examples/Game) to C:\Projects\Game in the prefix, keeping its cache
# file; prints the copy's Linux path.
copy_sample_solution() {
    local projects="$WINEPREFIX/drive_c/Projects"
    mkdir -p "$projects"
    cp -r --update "$ROOT/examples/Game" "$projects/"
    printf '%s' "$projects/Game"
}

# The Wine path of a Linux path: C: for the prefix's own drive, Z: (the Linux root) otherwise.
wine_path() {
    local path=$1 drive=Z:
    case "$path" in
    "$WINEPREFIX/drive_c/"*) path=${path#"$WINEPREFIX/drive_c"} drive=C: ;;
    esac
    printf '%s%s' "$drive" "${path//\//\\}"
}

stop_all() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
