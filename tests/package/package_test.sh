#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, unpacks it into a
# temporary root and runs what it installed there with a temporary HOME: the
# launcher provisions the user's database once, a second start keeps a
# changed dictionary, and the command-line splitter finds the same database.
# usage: package_test.sh BUILD_DIR
set -u
build=$(realpath "$1")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

source "$(dirname "$(realpath "$0")")/../lib/check.sh"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > cpack.log 2>&1)
check "cpack" 0 $?
deb=$(ls "$work"/out/zelk_*.deb 2>/dev/null | head -1)
check "package built" "yes" "$([[ -f $deb ]] && echo yes || echo no)"
[[ -f $deb ]] || { report; exit 1; }

if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1
    check "lintian reports no errors" 0 $?
    grep '^E:' "$work/lintian.log"
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
for path in usr/bin/zelk usr/bin/zelk-dict usr/bin/zelk-split usr/lib/zelk/zelk \
    usr/share/zelk/Zelk.dll usr/share/applications/zelk.desktop \
    usr/share/metainfo/org.chengmo.zelk.metainfo.xml usr/share/zelk/top-bottom.tsv \
    usr/share/zelk/join-model.bin \
    usr/share/icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/zelk.png \
    usr/share/doc/zelk/NOTICE usr/share/doc/zelk/copyright; do
    check "package holds $path" "yes" "$([[ -e $root/$path ]] && echo yes || echo no)"
done
check "desktop entry name" "Name[zh_CN]=澄墨拆字" "$(grep '^Name\[zh_CN\]' "$root/usr/share/applications/zelk.desktop")"
check "desktop entry category" "Categories=Utility;" "$(grep '^Categories' "$root/usr/share/applications/zelk.desktop")"
if command -v appstreamcli > /dev/null && command -v desktop-file-validate > /dev/null; then
    appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.chengmo.zelk.metainfo.xml" \
        > "$work/appstream.log" 2>&1
    check "AppStream metadata valid" 0 $?
    check "AppStream metadata without warnings" "" "$(grep -E '^[WE]:' "$work/appstream.log")"
    check "desktop entry valid" "" "$(desktop-file-validate "$root/usr/share/applications/zelk.desktop" 2>&1)"
else
    check "appstreamcli and desktop-file-validate installed" yes no
fi
for size in 32 48 64 128 256; do
    check "icon of $size px" "$size $size" "$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(*struct.unpack('>II', d[16:24]))" "$root/usr/share/icons/hicolor/${size}x${size}/apps/zelk.png")"
done

# The unpacked programs, as a user with a fresh home; no display, and the
# browser resolves no host names, so nothing leaves the machine.
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=127.0.0.1:9"
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
user_db="$HOME/.local/share/zelk/Zelk.dll"

start_and_stop() {  # runs the launcher until the window is up, then ends the session
    "$root/usr/bin/zelk" > "$work/launcher.log" 2>&1 &
    local pid=$!
    for _ in $(seq 100); do [[ -e $user_db ]] && break; sleep 0.1; done
    sleep 2
    kill -0 "$pid" 2>/dev/null && echo running || echo "not running"
    kill -TERM "$pid"
    wait "$pid"
    echo "exit $?"
}

check "first start" $'running\nexit 0' "$(start_and_stop)"
check "database provisioned" "yes" "$([[ -f $user_db ]] && echo yes || echo no)"
check "database holds the shipped dictionary" \
    "$("$root/usr/bin/zelk-dict" export --database "$root/usr/share/zelk/Zelk.dll" | sha256sum)" \
    "$("$root/usr/bin/zelk-dict" export | sha256sum)"
inode=$(stat -c %i "$user_db")

printf '坏\t土不\n' | "$root/usr/bin/zelk-dict" import - 2> /dev/null
check "tools use the user's database" "土不女子" "$("$root/usr/bin/zelk-split" 坏好)"
before=$(stat -c %Y%N "$user_db")
sleep 1
check "second start" $'running\nexit 0' "$(start_and_stop)"
check "not provisioned again" "$inode" "$(stat -c %i "$user_db")"
check "changed dictionary kept" "土不女子" "$("$root/usr/bin/zelk-split" 坏好)"
check "the window stored its sentence there" "changed" \
    "$([[ $(stat -c %Y%N "$user_db") != "$before" ]] && echo changed || echo unchanged)"
check "installed join model reads split text back" "坏好" \
    "$(printf '土不 女子' | "$root/usr/bin/zelk-split" --join --separator ' ' | tr -d '\n')"
check "and without a separator" "好" "$("$root/usr/bin/zelk-split" --join 女子)"
check "the package is at most 30 MB installed" "yes" \
    "$([[ $(dpkg-deb -f "$deb" Installed-Size) -le 30720 ]] && echo yes || echo "no: $(dpkg-deb -f "$deb" Installed-Size) KiB")"
"$root/usr/bin/zelk-dict" import top-bottom 2> /dev/null
check "installed top-bottom set imported by name" "土不木子" "$("$root/usr/bin/zelk-split" 坏李)"
check "shipped database untouched" "扌斥" "$("$root/usr/bin/zelk-split" --database "$root/usr/share/zelk/Zelk.dll" 拆)"

# --help and --version need no display and no data folder.
for program in usr/bin/zelk usr/lib/zelk/zelk; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME=/proc/x \
        "$root/$program" --version > "$work/version.txt"
    check "$program --version" "0:zelk 1.0.0" "$?:$(cat "$work/version.txt")"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/$program" --help > "$work/help.txt"
    check "$program --help" "0:usage: zelk [--help | --version]" "$?:$(head -1 "$work/help.txt")"
    "$root/$program" --help > /dev/full 2>/dev/null
    check "$program --help on a full disk" 1 $?
done

# A data folder that cannot be made is reported, not a crash.
XDG_DATA_HOME=/proc/zelk-test "$root/usr/bin/zelk" > /dev/null 2> "$work/error.log"
check "unusable data folder status" 1 $?
check "unusable data folder message" "zelk: Cannot create the folder '/proc/zelk-test/zelk'" \
    "$(cut -d: -f1,2 < "$work/error.log")"

report
