#!/usr/bin/env bash
# Checks the manual pages with all of groff's warnings on, builds the Debian
# package from its preset, installs it on this machine (as root), and checks
# what it installed: the program shows its usage text, the checker tells an
# intact file from a damaged one, and the manual pages are found and
# rendered. Takes the package off again at the end. Prints PASS or
# FAIL per check and exits non-zero when any check failed.
set -uo pipefail
cd "$(dirname "$0")/.."
source_root=$PWD

source .ci/checks.sh

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# --- The page as written ---------------------------------------------------

for source_page in man/*.1; do
    if groff -ww -man -Tutf8 "$source_page" >/dev/null 2>"$scratch/groff.err" && [[ ! -s $scratch/groff.err ]]; then
        pass "groff renders $source_page without a warning"
    else
        fail "groff renders $source_page without a warning"
        cat "$scratch/groff.err"
    fi
done

# --- The package -----------------------------------------------------------

# A package left by an earlier build of another version would be taken too.
rm -f build-package-deb/*.deb
if ! timeout 900 cmake --workflow --preset package-deb >"$scratch/build.log" 2>&1; then
    fail "package built"
    cat "$scratch/build.log"
    exit 1
fi
packages=(build-package-deb/filegen_*.deb)
package=${packages[0]}
pass "package built: $package"

depends=$(dpkg-deb --field "$package" Depends)
if [[ $depends == *libc6* ]]; then
    pass "package declares its dependencies: $depends"
else
    fail "package declares its dependencies (Depends: '$depends')"
fi

# Off first, so that what is checked is this build's and not an earlier one
# of the same version, which apt would keep.
dpkg --purge filegen >/dev/null 2>&1
trap 'dpkg --purge filegen >/dev/null 2>&1; rm -rf "$scratch"' EXIT
if DEBIAN_FRONTEND=noninteractive apt-get install -y "./$package" >"$scratch/install.log" 2>&1; then
    pass "package installed"
else
    fail "package installed"
    cat "$scratch/install.log"
    exit 1
fi

# --- The installed program and page ----------------------------------------

/usr/bin/filegen -x </dev/null >"$scratch/usage.out" 2>"$scratch/usage.err"
status=$?
if ((status == 1)) && cmp -s "$scratch/usage.out" .ci/usage.expected && [[ ! -s $scratch/usage.err ]]; then
    pass "/usr/bin/filegen -x: usage text on stdout, status 1"
else
    fail "/usr/bin/filegen -x: usage text on stdout, status 1 (status $status)"
    cat "$scratch/usage.out" "$scratch/usage.err"
fi

# The checker, on a one-section zero file with its checkpoint, and on the
# same file with a byte changed: status and the line that tells.
expect_check() {
    local what=$1 expected_status=$2 line=$3
    /usr/bin/filegen-check "$scratch/zero.dat" >"$scratch/check.out" 2>&1
    status=$?
    if ((status == expected_status)) && grep -q "$line" "$scratch/check.out"; then
        pass "/usr/bin/filegen-check: $what, status $expected_status"
    else
        fail "/usr/bin/filegen-check: $what, status $expected_status (status $status)"
        cat "$scratch/check.out"
    fi
}
{ printf '         0 X 100  \0' && head -c 81 /dev/zero; } >"$scratch/zero.dat"
expect_check "an intact file" 0 '^intact:    100 bytes in 1 section$'
printf 'x' | dd of="$scratch/zero.dat" bs=1 seek=50 conv=notrunc status=none
expect_check "a damaged file" 1 '^damaged:   first difference at offset 50 in section 0'

# Each installed page: found by name, rendered without a message, with the
# sections it must have.
declare -A headings=(
    [filegen]='NAME|SYNOPSIS|DESCRIPTION|FILE FORMAT|EXIT STATUS|ENVIRONMENT|EXAMPLES'
    [filegen-check]='NAME|SYNOPSIS|DESCRIPTION|OPTIONS|OUTPUT|EXIT STATUS|EXAMPLES'
)
for name in filegen filegen-check; do
    page=/usr/share/man/man1/$name.1.gz
    if [[ $(man -w "$name" 2>&1) == "$page" ]]; then
        pass "man finds the page by name: $page"
    else
        fail "man finds the page by name (man -w $name: $(man -w "$name" 2>&1))"
    fi

    MANWIDTH=80 man -l "$page" >"$scratch/page.txt" 2>"$scratch/page.err"
    status=$?
    missing=()
    IFS='|' read -ra wanted <<<"${headings[$name]}"
    for heading in "${wanted[@]}"; do
        grep -qx "$heading" "$scratch/page.txt" || missing+=("$heading")
    done
    if ((status == 0)) && [[ ! -s $scratch/page.err ]] && ((${#missing[@]} == 0)); then
        pass "man -l renders $page with all its sections, without a message"
    else
        fail "man -l renders $page (status $status, sections missing: ${missing[*]})"
        cat "$scratch/page.err"
    fi
done

finish "Package check"
