#!/usr/bin/env bash
# Unpacks the package into a throw-away root and starts its programs there as a
# seller would, with a fresh HOME: the data folder must be made in the seller's
# home from the installed defaults, and nothing written below the install prefix.
set -euo pipefail
packages=$1 built=$2 version=$3
deb=$(ls "$packages"/mldd_"$version"_*.deb 2>/dev/null | head -n 1 || true)
if [[ -z $deb || $deb -ot $built ]]; then
  echo "no package newer than the programs in $packages: run scripts/package"
  exit 77
fi
root=$(mktemp -d)
service=""
trap '[[ -n $service ]] && kill $service; rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
prefix=$root/usr
listing() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(listing)
fail() { echo "FAIL: $*"; exit 1; }

for program in mldd mldd-cli mldd-do mldd-service; do
  [[ $("$prefix/bin/$program" --version) == "$program $version" ]] ||
    fail "$program --version does not say $version"
done

# The browser extension and its hosts: the same version, and the launcher the package installs.
grep -q "\"version\": \"$version\"" "$prefix/share/mldd/extension/manifest.json" ||
  fail "the extension's version is not $version"
for host in "$root/etc/chromium" "$prefix/lib/mozilla" "$prefix/share/mldd/chrome"; do
  manifest=$(find "$host" -name com.molan.mldd.json)
  launcher=$(sed -n 's/.*"path": "\(.*\)".*/\1/p' "$manifest")
  [[ -x $root$launcher ]] || fail "$manifest starts $launcher, which the package lacks"
done

# Chromium and Chrome install the signed extension that the package's notes name, of the
# manifest's version; Firefox's host allows the extension's own id.
for note in "$prefix"/share/{chromium,google-chrome}/extensions/*.json; do
  crx=$(sed -n 's/.*"external_crx": "\(.*\)".*/\1/p' "$note")
  [[ -f $root$crx ]] || fail "$note names $crx, which the package lacks"
  grep -q "\"external_version\": \"$version\"" "$note" || fail "$note is not of version $version"
done
[[ $(ls "$prefix"/share/{chromium,google-chrome}/extensions/*.json | wc -l) -eq 2 ]] ||
  fail "the extension is not offered to both Chromium and Chrome"
gecko=$(grep -o '"id": "[^"]*"' "$prefix/share/mldd/extension/manifest.json")
grep -q "\"${gecko#*: \"}" "$prefix/lib/mozilla/native-messaging-hosts/com.molan.mldd.json" ||
  fail "Firefox's host does not allow the extension's id ${gecko#*: }"

seller() { env -i HOME="$root/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@"; }
mkdir -p "$root/home"
seller "$prefix/bin/mldd-cli" orders >/dev/null
folder=$root/home/.local/share/mldd
[[ -f $folder/mlddsj.db ]] || fail "no order database in $folder"
[[ -f $folder/defaults.sum ]] || fail "no record of the defaults in $folder"
(cd "$prefix/share/mldd/data" && find . -type f) | while read -r file; do
  cmp -s "$prefix/share/mldd/data/$file" "$folder/$file" || fail "$file not laid into $folder"
done
# The installed place table splits an address.
seller "$prefix/bin/mldd-cli" split-address "浙江省杭州市西湖区文三路 1 号" | grep -q 杭州 ||
  fail "the installed place table does not split an address"

# XDG_DATA_HOME chooses where the seller's folder lives.
seller env XDG_DATA_HOME="$root/xdg" "$prefix/bin/mldd-cli" orders >/dev/null
[[ -f $root/xdg/mldd/mlddsj.db ]] || fail "XDG_DATA_HOME/mldd was not used"

# The service answers from the installed content.
coproc SERVICE { exec env -i HOME="$root/home" "$prefix/bin/mldd-service" --port 0; }
service=$SERVICE_PID
read -r first <&"${SERVICE[0]}"
[[ $first == *"$prefix/share/mldd/service/content"* ]] ||
  fail "mldd-service does not serve the installed content: $first"

# The software centre's screenshots are pictures the service serves from the installed content.
address=${first#mldd-service }
address=${address%% *}
for image in $(sed -n 's|.*<image>https://[^/]*/\(.*\)</image>.*|\1|p' \
                 "$prefix/share/metainfo/com.molan.mldd.metainfo.xml"); do
  curl -fs "$address$image" | file - | grep -q 'PNG image' ||
    fail "the screenshot $image is not served from the installed content"
done

# Right after installation the window works with no step by hand: started with nothing
# answering at its service address (on loopback), it starts the installed service there.
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'http://127.0.0.1:%s\r\n' "$port" >"$folder/g_url.dat"
# Started without the seller function, so that $! is xvfb-run itself, the parent of the window.
env -i HOME="$root/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1366x768x24" "$prefix/bin/mldd" >"$root/mldd.log" 2>&1 &
window=$!
for _ in $(seq 150); do
  curl -fs "http://127.0.0.1:$port/mldd/help/" >/dev/null && break
  sleep 0.2
done
started=$(ss -Hltnp "sport = :$port" | sed -n 's/.*pid=\([0-9]*\).*/\1/p' | head -n 1)
[[ -n $started ]] && service="$service $started"
kill $(pgrep -P "$window") "$window" 2>/dev/null || true
help=$(curl -fs "http://127.0.0.1:$port/mldd/help/" || true)
[[ $help == *墨岚打单* ]] ||
  fail "the window did not start the service at http://127.0.0.1:$port/ (see $root/mldd.log)"
[[ $(readlink "/proc/$started/exe") == "$prefix/bin/mldd-service" ]] ||
  fail "what answers at $port is not the installed mldd-service"
# It checked the service's list of decode files as it started.
[[ -f $folder/code/CODE_id.txt ]] || fail "the window did not check the decode-file list at start"

[[ $(listing) == "$before" ]] || fail "something was written below $prefix"
echo "package_install: $(basename "$deb") runs from $prefix and keeps its data in the seller's home"
