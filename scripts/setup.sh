#!/usr/bin/env bash
# Installs what this machine lacks to build and test Kestrune, and makes the project's Wine prefix.
# Safe to run again: it only installs what is missing and only makes a prefix that is not there yet.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/env.sh
. "$here/scripts/env.sh"

packages=(cmake make g++ clang libclang-rt-14-dev libgtest-dev googletest python3
          wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64
          xvfb xauth imagemagick xdotool osslsigncode openssl curl file)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# The 32-bit Wine loader shadows the 64-bit one and nothing 32-bit can run on these machines.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "setup: removing wine32:i386 (it makes every Wine run fail here)"
  "${sudo_cmd[@]}" apt-get remove -y wine32:i386
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -q --no-install-recommends -y "${missing[@]}"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: making the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "setup: the Wine prefix was not made" >&2; exit 1; }
fi

# Xvfb has no window manager: Wine would wait 2 s for one to confirm every hidden window (a
# message box answered, a dialog ended) unless its windows are left unmanaged.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
fi
