#!/usr/bin/env bash
# Builds the 32-bit and the 64-bit Windows executables from the presets,
# checks what the 32-bit one imports and the zip made from it, and runs the
# 64-bit one under wine:
# the runs that need no key press with redirected streams, the key-driven
# ones at a console in a pseudo-terminal. Prints PASS or FAIL per check and
# exits non-zero when any check failed.
#
# Both standard streams of the program are in the run-time's text mode, as
# for every console program on Windows: each "\n" it prints arrives as
# "\r\n", so that is what the expected texts hold.
set -uo pipefail
cd "$(dirname "$0")/.."
source_root=$PWD

source .ci/checks.sh
# Shows a file's bytes after a failed comparison.
show() { printf -- '--- %s:\n' "$1" && od -c "$1" | head -40; }

# --- Builds ---------------------------------------------------------------

for preset in windows-x86 windows-x64; do
    log=$(mktemp)
    if timeout 900 cmake --workflow --preset "$preset" >"$log" 2>&1; then
        pass "build $preset"
    else
        fail "build $preset"
        cat "$log"
    fi
    rm -f "$log"
done
exe32=$source_root/build-win32/filegen.exe
exe64=$source_root/build-win64/filegen.exe
if [[ ! -f $exe32 || ! -f $exe64 ]]; then
    echo "FAIL: no executables to check"
    exit 1
fi

# --- Imports of the 32-bit executable -------------------------------------

imports=$(i686-w64-mingw32-objdump -p "$exe32")
missing=()
for function in CreateFileA WriteFile GetFileSize CloseHandle GetDiskFreeSpaceExA VirtualAlloc VirtualFree ExitProcess; do
    grep -Eq "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+$function\$" <<<"$imports" || missing+=("$function")
done
if ((${#missing[@]} == 0)); then
    pass "32-bit imports the kernel calls of the file, the volume, the pages and the end"
else
    fail "32-bit does not import: ${missing[*]}"
fi

dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$imports" | tr '\n' ' ')
if grep -Eiq 'cygwin|msys|winpthread|libstdc|libgcc' <<<"$dlls"; then
    fail "32-bit needs a POSIX emulation layer or a shared run-time: $dlls"
else
    pass "32-bit stands alone, importing only: $dlls"
fi

# --- The zip of the 32-bit executable -------------------------------------

# Packed from the build above, as `cmake --workflow --preset package-windows`
# packs its own: the executable and its text of use, with Windows line ends.
package_dir=$source_root/build-win32/package
rm -rf "$package_dir"
log=$(mktemp)
if cpack --config "$source_root/build-win32/CPackConfig.cmake" -B "$package_dir" >"$log" 2>&1; then
    zips=("$package_dir"/filegen-*-win32.zip)
    unpacked=$package_dir/unpacked
    mkdir -p "$unpacked"
    (cd "$unpacked" && cmake -E tar xf "${zips[0]}")
    top=$(basename "${zips[0]}" .zip)
    listing=$(cd "$unpacked" && find . -type f | sort | tr '\n' ' ')
    readme=$unpacked/$top/README.txt
    if [[ $listing == "./$top/README.txt ./$top/filegen-check.exe ./$top/filegen.exe " ]] &&
        file -b "$unpacked/$top/filegen.exe" | grep -q '^PE32 executable (console) Intel 80386' &&
        [[ $(grep -c $'\r$' "$readme") == $(wc -l <"$readme") ]]; then
        pass "zip holds the 32-bit console executables and README.txt with CRLF line ends"
    else
        fail "zip holds the 32-bit console executables and README.txt with CRLF line ends (holds: $listing)"
    fi
else
    fail "zip packed"
    cat "$log"
fi
rm -f "$log"

# --- Runs of the 64-bit executable under wine -----------------------------

# Debian keeps the 64-bit loader out of PATH.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
[[ -x $wineserver ]] || wineserver=$(command -v wineserver)

export WINEPREFIX=$source_root/build-win64/wine-prefix
export WINEDEBUG=-all
# No runtimes for .NET or HTML to offer, no window to open.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# The wine server of this private prefix is ours; it goes when we do.
trap 'timeout 30 "$wineserver" -k 2>/dev/null' EXIT

# The first start creates the prefix.
if ! timeout 150 "$wine" wineboot --init </dev/null >/dev/null 2>&1; then
    fail "wine prefix created"
    exit 1
fi

scratch=$source_root/build-win64/wine-runs
rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
# Wine shows the Unix root as drive Z:.
scratch_windows="Z:${scratch//\//\\}"

# Runs the program with redirected streams: status in $status, output in
# NAME.out and NAME.err.
run() {
    local name=$1
    shift
    timeout 60 "$wine" "$exe64" "$@" </dev/null >"$name.out" 2>"$name.err"
    status=$?
}

# The usage text, byte for byte, with the line ends of Windows.
sed 's/$/\r/' "$source_root/.ci/usage.expected" >usage.expected
run usage -x
if ((status == 1)) && cmp -s usage.out usage.expected; then
    pass "usage text on stdout, status 1"
else
    fail "usage text on stdout, status 1 (status $status)"
    show usage.out
fi

# A creation failure: both messages on stdout, status 1, nothing created.
# The line number is that of the program's source; any number will do here.
expect_creation_failure() {
    local name=$1 path=$2 what=$3
    local line
    line=$(sed -n '2s/^VELMARO, File dialogue\/output_file\.cpp, Line \([0-9][0-9]*\)\r$/\1/p' "$name.out")
    printf '\r\nVELMARO, File dialogue/output_file.cpp, Line %s\r\nFile creation/Open %s failed\r\n' \
        "$line" "$path" >"$name.expected"
    if ((status == 1)) && [[ -n $line ]] && cmp -s "$name.out" "$name.expected"; then
        pass "$what: both creation messages, status 1"
    else
        fail "$what: both creation messages, status 1 (status $status)"
        show "$name.out"
    fi
}
run missing-directory 'C:\no-such-directory\out.dat'
expect_creation_failure missing-directory 'C:\no-such-directory\out.dat' "a missing directory"
run current-directory ''
expect_creation_failure current-directory "$scratch_windows" "an empty name (the current directory itself)"

# No argument and no input: the name question gives up.
run no-input
printf '\r\nNo more input: run abandoned.\r\n' >no-input.expected
if ((status == 2)) && [[ ! -s no-input.out ]] &&
    cmp -s <(tail -c "$(stat -c %s no-input.expected)" no-input.err) no-input.expected; then
    pass "no input at the name question: run abandoned, status 2"
else
    fail "no input at the name question: run abandoned, status 2 (status $status)"
    show no-input.err
fi

# --- Key-driven runs at a console in a pseudo-terminal --------------------

# Runs the program at a console: status in $status. The arguments are the
# file name, then pairs of the screen text to wait for and the keys to type.
console_run() {
    local file=$1
    shift
    timeout 90 python3 "$source_root/.ci/console_session.py" 60 "$@" -- "$wine" "$exe64" "$file" >/dev/null
    status=$?
}

# Letters every 1,000 bytes: 100,000 bytes asked, rounded up to 131,072.
console_run letters.dat \
    "to be?" '100000\r' \
    "'D' to resize down to nex lower 64k size:" U \
    "[1,2 or 3]?" 2 \
    "Do you wish to change it? Y/N" N \
    "any other character will quit the program" Y
{ printf '         0 X 131072  \0' && head -c 978 /dev/zero | tr '\0' A && printf B; } >letters.expected
if ((status == 0)) && [[ $(stat -c %s letters.dat 2>/dev/null) == 131072 ]] &&
    cmp -s -n 1001 letters.dat letters.expected; then
    pass "console run with letters: 131,072 bytes, checkpoint, letter B at 1,000, status 0"
else
    fail "console run with letters (status $status)"
fi

# Zero fill without checkpoints.
console_run zeros.dat \
    "to be?" '65536\r' \
    "[1,2 or 3]?" 1 \
    "Do you wish to eliminate the checkpoints?" Y \
    "any other character will quit the program" Y
if ((status == 0)) && [[ $(stat -c %s zeros.dat 2>/dev/null) == 65536 ]] && cmp -s zeros.dat <(head -c 65536 /dev/zero); then
    pass "console run with zero fill without checkpoints: 65,536 zero bytes, status 0"
else
    fail "console run with zero fill without checkpoints (status $status)"
fi

# Ctrl+C while a typed answer is awaited: the still empty file goes.
# (Wine leaves the terminal's own interrupt key on, so there Ctrl+C
# interrupts a single-key question too, where Windows reads it as a key.)
console_run interrupted.dat "to be?" '\x03'
if ((status == 2)) && [[ ! -e interrupted.dat ]]; then
    pass "Ctrl+C at the size question: empty file deleted, status 2"
else
    fail "Ctrl+C at the size question: empty file deleted, status 2 (status $status)"
fi

# --- The checker on a file the Windows program wrote -----------------------

checker64=$source_root/build-win64/filegen-check.exe
# Runs the checker on `file`: status in $status, the report in $name.out.
check_run() {
    local name=$1
    shift
    timeout 60 "$wine" "$checker64" "$@" </dev/null >"$name.out" 2>"$name.err"
    status=$?
}

check_run intact letters.dat
if ((status == 0)) && grep -q $'^intact:    131,072 bytes in 1 section\r$' intact.out &&
    grep -q '^settings:  alphabet fill, letter period 1,000, checkpoints on, sections of 131,072 bytes' intact.out; then
    pass "checker: the letters file is intact, its settings inferred, status 0"
else
    fail "checker: the letters file is intact (status $status)"
    show intact.out
fi

cp letters.dat flipped.dat
printf 'Q' | dd of=flipped.dat bs=1 seek=70000 conv=notrunc status=none
check_run flipped flipped.dat
if ((status == 1)) &&
    grep -q "^damaged:   first difference at offset 70,000 in section 0: expected 0x53 'S', found 0x51 'Q'"$'\r$' flipped.out; then
    pass "checker: a flipped byte found at its offset, status 1"
else
    fail "checker: a flipped byte found at its offset (status $status)"
    show flipped.out
fi

check_run missing no-such-file.dat
if ((status == 2)) && grep -q '^filegen-check: cannot open no-such-file.dat: ' missing.err; then
    pass "checker: a missing file, status 2"
else
    fail "checker: a missing file, status 2 (status $status)"
    show missing.err
fi

finish "Windows check"
