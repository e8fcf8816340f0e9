# Shared by the scripts: which variant this host runs, packages, build, Wine prefix, X display,
# wineserver. Source it; every function exits the script on failure, saying which step failed.
#
# The shipped program is the 32-bit product (build/, i686). A host that runs no 32-bit code at
# all can't run it, not even under Wine: there the same sources are tested as a 64-bit variant
# (build64/, x86_64) under 64-bit Wine, and the 32-bit product is still built and checked.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PRODUCT_BUILD="$ROOT/build"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# fzf: the peer scripts/bench measures the filter against (CI runs the benchmark at a small size).
# clang-14, its runtime and llvm-14: the native sanitizer and fuzzing build (tests/native).
COMMON_PACKAGES="mingw-w64 g++-mingw-w64-i686 mingw-w64-tools xvfb xdotool imagemagick x11-utils
librapidxml-dev googletest cmake ninja-build python3 git fzf clang-14 libclang-rt-14-dev llvm-14"
PACKAGES_32="wine wine32:i386"
PACKAGES_64="g++-mingw-w64-x86-64 wine wine64"

say() { printf '== %s\n' "$*" >&2; }

fail() {
    printf '== FAILED: %s\n' "$*" >&2
    exit 1
}

# Runs a step whose output is noise when it works; when it fails, says which step it was, its
# exit status and the end of what it printed.
quiet_step() {
    local what=$1 log status
    shift
    log=$(mktemp)
    if "$@" </dev/null >"$log" 2>&1; then
        rm -f "$log"
        return 0
    else
        status=$?
    fi
    printf '== FAILED: %s (exit status %d%s)\n' "$what" "$status" \
        "$([ "$status" -eq 126 ] && echo ': the program could not be executed on this host')" >&2
    tail -n 20 "$log" | sed 's/^/   /' >&2
    rm -f "$log"
    exit 1
}

# Whether this host runs 32-bit x86 code: a 96-byte 32-bit Linux program that only exits with
# status 42. Hosts that run 64-bit code only refuse it with "Exec format error".
host_runs_32bit_code() {
    local probe status
    probe=$(mktemp)
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000T\200\004\0104\000\000\000\000\000\000\000\000\000\000\0004\000 \000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010`\000\000\000`\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273*\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

# Sets VARIANT (32 or 64), VARIANT_REASON, BUILD (the tested variant's build folder) and the Wine
# settings of its private prefix. QUORLAN_VARIANT=32 or 64 overrides the choice.
choose_variant() {
    if [ -n "${QUORLAN_VARIANT:-}" ]; then
        VARIANT=$QUORLAN_VARIANT
        VARIANT_REASON="QUORLAN_VARIANT=$QUORLAN_VARIANT asks for it"
    elif host_runs_32bit_code; then
        VARIANT=32
        VARIANT_REASON="this host runs 32-bit code"
    else
        VARIANT=64
        VARIANT_REASON="this host runs 64-bit code only (a 32-bit program fails with \"Exec format error\"), so the 32-bit product can't run here, not even under Wine; it is built and checked"
    fi
    case "$VARIANT" in
    32)
        BUILD="${QUORLAN_BUILD_DIR:-$PRODUCT_BUILD}"
        VARIANT_NAME="the 32-bit product"
        export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
        ;;
    64)
        BUILD="${QUORLAN_BUILD_DIR:-$ROOT/build64}"
        VARIANT_NAME="the 64-bit test variant"
        export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
        ;;
    *) fail "QUORLAN_VARIANT must be 32 or 64, not '$VARIANT'" ;;
    esac
    export WINEPREFIX="$BUILD/wineprefix"
}
choose_variant

# Every Windows program of the scripts runs with the variant's own loader: /usr/bin/wine prefers
# the 32-bit one whenever it is installed.
wine() { "$WINELOADER" "$@"; }

package_missing() {
    local status
    status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 0
    [ "$status" != "install ok installed" ]
}

# Installs what is missing from Debian's packages (needs root): 32-bit Wine where the host runs
# 32-bit code, 64-bit Wine and the x86_64 compilers where it doesn't.
ensure_packages() {
    local wanted="$COMMON_PACKAGES $(eval echo "\$PACKAGES_$VARIANT") ${EXTRA_PACKAGES:-}"
    local missing=() package
    for package in $wanted; do
        package_missing "$package" && missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        fail "missing packages (${missing[*]}); run as root to install them"
    fi
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 || fail "adding the i386 architecture to dpkg"
    fi
    apt-get update -q || fail "apt-get update"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" ||
        fail "installing ${missing[*]}"
}

configure_and_build() {
    local folder=$1 what=$2
    shift 2
    cmake -S "$ROOT" -B "$folder" -G Ninja "$@" >/dev/null || fail "configuring $what in $folder"
    cmake --build "$folder" ${BUILD_TARGET:+--target $BUILD_TARGET} || fail "building $what in $folder"
}

# The 32-bit product always; on a host that runs 64-bit code only, the product alone there and
# the 64-bit variant with every test program, which also checks the 32-bit product.
build_all() {
    if [ "$VARIANT" = 32 ]; then
        say "building the 32-bit product and its tests in $BUILD"
        configure_and_build "$BUILD" "the 32-bit product" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-mingw32.cmake" -DQUORLAN_BUILD_TESTS=ON
    else
        say "building the 32-bit product in $PRODUCT_BUILD"
        BUILD_TARGET=quorlan configure_and_build "$PRODUCT_BUILD" "the 32-bit product" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-mingw32.cmake" -DQUORLAN_BUILD_TESTS=OFF
        say "building the 64-bit test variant and its tests in $BUILD"
        configure_and_build "$BUILD" "the 64-bit test variant" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64-mingw32.cmake" \
            -DQUORLAN_PRODUCT_EXE="$PRODUCT_BUILD/driver/quorlan.exe"
    fi
}

# The native build (tests/native): the model's readers for Linux under AddressSanitizer and
# UndefinedBehaviorSanitizer, their unit tests and their fuzz targets, in $BUILD/native.
NATIVE_BUILD="$BUILD/native"
export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14

build_native() {
    say "building the native sanitizer build in $NATIVE_BUILD"
    cmake -S "$ROOT/tests/native" -B "$NATIVE_BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null ||
        fail "configuring the native sanitizer build in $NATIVE_BUILD"
    cmake --build "$NATIVE_BUILD" || fail "building the native sanitizer build in $NATIVE_BUILD"
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
    fail "starting Xvfb: no free display number from :90 to :190"
}

# Creates and configures the variant's private prefix once: no Mono or Gecko prompts (the DLL
# overrides above), no crash dialog, and unmanaged X windows so closing a window is instant.
prepare_wine() {
    local marker="$WINEPREFIX/.quorlan-prefix-ready"
    [ -f "$marker" ] && return 0
    say "creating the Wine prefix $WINEPREFIX ($WINEARCH)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$BUILD"
    quiet_step "creating the Wine prefix with $WINELOADER wineboot" wine wineboot -i
    quiet_step "waiting for the new prefix's wineserver" wineserver -w
    quiet_step "turning off Wine's crash dialog" \
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    quiet_step "making Wine's X windows unmanaged" \
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    quiet_step "waiting for the prefix's wineserver" wineserver -w
    touch "$marker"
}

# A persistent wineserver keeps Wine's own system processes (services.exe and the like) running
# between tests. They are started here, with no pipe of ours inherited: started by the first test
# instead, they would hold ctest's output pipe open and ctest would wait for ever.
start_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
    quiet_step "starting a persistent wineserver" wineserver -p
    quiet_step "starting Wine's services with $WINELOADER" wine cmd /c exit
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
