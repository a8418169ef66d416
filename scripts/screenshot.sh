#!/usr/bin/env bash
# Takes the README's screenshot: the window under Xvfb on a fresh default
# database, after a split, with the maintenance panel shown.
# Needs xvfb-run, xdotool and ImageMagick's import.
#   scripts/screenshot.sh [OUT.png]       (default docs/window.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/window.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$root/build/tools/zelk-dict" create 2>/dev/null
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
# The page's host does not exist; do not even ask a name server for it.
export QTWEBENGINE_CHROMIUM_FLAGS="--host-resolver-rules=MAP * ~NOTFOUND"
cat > shoot.sh <<SHOT
#!/usr/bin/env bash
"$root/build/app/zelk" &
pid=\$!
for _ in \$(seq 50); do
    wid=\$(xdotool search --name "澄墨 - 拆字工具" 2>/dev/null | head -1) && [[ -n \$wid ]] && break
    sleep 0.2
done
sleep 1
eval "\$(xdotool getwindowgeometry --shell "\$wid")"
xdotool mousemove --window "\$wid" 113 20 click 1   # 拆分
xdotool mousemove --window "\$wid" 350 12 click 1   # 库
sleep 3
import -window root -crop "\${WIDTH}x\${HEIGHT}+\${X}+\${Y}" "$out"
kill \$pid
SHOT
chmod +x shoot.sh
xvfb-run -a -s "-screen 0 1280x800x24" ./shoot.sh
echo "screenshot: $out"
