#!/usr/bin/env bash
# Builds the Debian package in build-deb, unpacks it into a temporary root and checks it: the
# files a desktop needs are there, the desktop entry and the AppStream metainfo validate, the
# dependencies name the runtime packages, and the unpacked game starts offscreen and paints.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-deb
app_id=io.github.helmfirth.Korvane
failures=0
fail() {
    echo "check-deb: FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "check-deb: ok: $*"; }

# The game looks for its help page under the prefix it was built for, so build for /usr.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_DOCDIR=share/doc/korvane -DKORVANE_BUILD_TESTS=OFF \
    -DKORVANE_BUILD_BENCH=OFF -DKORVANE_SANITIZE=OFF -DKORVANE_FUZZ=OFF >/dev/null
cmake --build "$build" -j2
rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >"$build/cpack.log" ||
    { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/package/korvane_*.deb)
echo "check-deb: built $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"

# Package fields.
dpkg-deb -f "$deb" Package | grep -qx korvane || fail "package name is not korvane"
dpkg-deb -f "$deb" Section | grep -qx games || fail "section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
echo "check-deb: Depends: $depends"
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6sql6 libqt6sql6-sqlite \
    libqt6charts6 qt6-qpa-plugins fonts-croscore \
    libstdc++6; do
    sed 's/, /\n/g; s/ ([^)]*)//g' <<<"$depends" | grep -Fqx "$p" || fail "Depends lacks $p"
done

# Files.
expected=(usr/bin/korvane
    usr/share/applications/korvane.desktop
    usr/share/metainfo/$app_id.metainfo.xml
    usr/share/doc/korvane/Korvane.htm
    usr/share/doc/korvane/copyright
    usr/share/icons/hicolor/scalable/apps/korvane.svg
    usr/share/man/man6/korvane.6.gz)
for f in "${expected[@]}"; do
    [ -s "$root/$f" ] || fail "missing $f"
done
png_size() { # width and height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'
}
for size in 16 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/korvane.png
    if [ ! -s "$png" ]; then
        fail "missing icon ${size}x${size}"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
        fail "icon ${size}x${size} is $(png_size "$png")"
    fi
done
[ -x "$root/usr/bin/korvane" ] || fail "the binary is not executable"
# The help folder is compiled in as a UTF-16 string.
strings -a -el "$root/usr/bin/korvane" | grep -q "^/usr/share/doc/korvane" ||
    fail "the binary does not look for its help page in /usr/share/doc/korvane"
if ldd "$root/usr/bin/korvane" | grep -q "not found"; then
    fail "unresolved libraries: $(ldd "$root/usr/bin/korvane" | grep 'not found' | tr '\n' ' ')"
fi
# The manual page reads without a formatter warning.
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man6/korvane.6.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "manual page: $man_warnings"
[ "$failures" -eq 0 ] && pass "files in place"

# Desktop entry and metainfo.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/korvane.desktop" ||
        fail "desktop-file-validate"
else
    echo "check-deb: desktop-file-validate not installed (desktop-file-utils): skipped"
fi
grep -qx "Categories=Game;LogicGame;" "$root/usr/share/applications/korvane.desktop" ||
    fail "desktop entry categories"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli validate"
else
    fail "appstreamcli not installed (Debian package appstream)"
fi

# Start the unpacked game offscreen with a private settings folder until its first paint: it
# reports it and ends (KORVANE_EXIT_AFTER_FIRST_PAINT); its start-up also writes the puzzle it
# built to the settings.
config=$work/config
runtime=$work/runtime
mkdir -p "$config" "$runtime"
chmod 700 "$runtime"
status=0
(cd "$work" && env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$config" \
    XDG_RUNTIME_DIR="$runtime" KORVANE_EXIT_AFTER_FIRST_PAINT=1 \
    timeout 20 "$root/usr/bin/korvane") >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 0 ] || ! grep -qx "first paint" "$work/run.log"; then
    fail "the unpacked game did not reach its first paint (exit $status)"
    cat "$work/run.log" >&2
elif ! grep -qx "Figura=3" "$config/Helmfirth/Korvane.conf" 2>/dev/null; then
    fail "the game painted but stored no puzzle at start-up"
    cat "$work/run.log" >&2
else
    pass "the unpacked game started offscreen and painted its first picture"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-deb: $failures check(s) failed" >&2
    exit 1
fi
echo "check-deb: all checks passed"
