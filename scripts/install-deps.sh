#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; does
# nothing when they are all there already.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite xvfb xauth)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
