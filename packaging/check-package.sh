#!/usr/bin/env bash
# The Debian package as a user gets it: builds it in BUILD_DIR, runs the distribution's
# checks on it, unpacks it into a scratch root (the machine stays as it was), and starts
# the unpacked program headless on a fresh home. Prints PASS or FAIL per step; exits 1
# on the first failure.
#   packaging/check-package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR}")

fail() { echo "package check: FAIL: $*" >&2; exit 1; }
pass() { echo "package check: PASS: $*"; }

rm -f "$build"/vellumore_*.deb
cmake --build "$build" --target package vellumore-installprobe >"$build/package.log" 2>&1 \
    || { cat "$build/package.log" >&2; fail "cmake --build $build --target package"; }
debs=("$build"/vellumore_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one vellumore_*.deb in $build, found: ${debs[*]}"
deb=${debs[0]}
pass "built $(basename "$deb")"

root=$(realpath "$(mktemp -d)")
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root"

# One version everywhere: the project's, the changelog's top entry's, an AppStream release's.
version=$(dpkg-deb -f "$deb" Version)
logged=$(zcat "$root/usr/share/doc/vellumore/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version)
[ "$logged" = "$version" ] || fail "the package is $version, its changelog's top entry $logged"
grep -q "<release version=\"${version%-*}\"" "$root"/usr/share/metainfo/*.metainfo.xml \
    || fail "the AppStream metadata has no release ${version%-*}"
pass "version $version in the changelog and the AppStream releases"

lintian --fail-on error --display-info "$deb" || fail "lintian found errors"
pass "lintian: no errors"
desktop-file-validate "$root/usr/share/applications/vellumore.desktop" || fail "desktop-file-validate"
pass "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
pass "appstreamcli validate"

# The unpacked program on a fresh home, headless. It links Qt from the system and finds
# its own data beside its executable, so nothing points it at the scratch root.
home="$root/home"
mkdir -p "$home"
mkdir -m 700 "$home/run"
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
       XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen
sample="$root/usr/share/vellumore/velm.db"
bank="$XDG_DATA_HOME/Vellumore/velm.db"
"$root/usr/bin/vellumore" >"$home/vellumore.log" 2>&1 &
pid=$!
# The copy of the sample bank appears at once; after the splash the main window opens it
# and keeps it open while it lives.
holds_bank() {
    local fd
    for fd in /proc/"$pid"/fd/*; do
        [ "$(readlink "$fd" 2>/dev/null)" = "$bank" ] && return 0
    done
    return 1
}
for _ in $(seq 1 120); do
    kill -0 "$pid" 2>/dev/null || { cat "$home/vellumore.log" >&2; fail "the program ended by itself"; }
    holds_bank && break
    sleep 0.5
done
[ -f "$bank" ] || fail "no bank in the fresh data folder after 60 s"
holds_bank || fail "the program copied the sample bank to $bank but did not open it within 60 s"
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$home/vellumore.log" >&2; fail "the program ended after opening its bank"; }
holds_bank || fail "the program closed its bank again"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
pass "the unpacked program copied its sample bank to $bank, opened it and stayed up"

listed=$("$root/usr/bin/vellumore-bank" list "$bank") || fail "vellumore-bank cannot list the user's bank"
shipped=$("$root/usr/bin/vellumore-bank" list "$sample") || fail "vellumore-bank cannot list the sample bank"
[ "$(grep '^total:' <<<"$listed")" = "$(grep '^total:' <<<"$shipped")" ] \
    || fail "the user's bank does not hold the sample bank's questions"
pass "vellumore-bank lists the user's bank: $(grep '^total:' <<<"$listed")"

cp "$build/packaging/vellumore-installprobe" "$root/usr/bin/"
found=$("$root/usr/bin/vellumore-installprobe") || { echo "$found" >&2; fail "the help guide or the sample bank is not where the program looks"; }
grep -qxF "help guide: $root/usr/share/vellumore/help/index.html" <<<"$found" || fail "help found elsewhere: $found"
pass "the unpacked program finds its help guide at usr/share/vellumore/help/index.html"
echo "package check: all passed"
