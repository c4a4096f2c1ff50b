#!/usr/bin/env bash
# Installs what is missing, builds optimised into build-release/, starts the
# simulated unit on a pseudo-terminal and the program connected to it.
#   ./run.sh [--model 2|4] [extra ztmotion options]
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release --target ztmotion unitsim

model=4
if [[ "${1:-}" == "--model" ]]; then model="$2"; shift 2; fi

home="$PWD/build-release/home"
mkdir -p "$home"

simout=$(mktemp)
./build-release/tools/unitsim/unitsim --model "$model" --pace >"$simout" &
simpid=$!
trap 'kill $simpid 2>/dev/null || true; rm -f "$simout"' EXIT
for _ in $(seq 1 100); do
  dev=$(head -n1 "$simout" 2>/dev/null || true)
  [[ -n "$dev" ]] && break
  sleep 0.05
done
if [[ -z "${dev:-}" ]]; then echo "the simulated unit did not start" >&2; exit 1; fi
# Every port of the Port menu leads to the simulated unit, so a port chosen
# in an earlier run (the settings file keeps it) still finds it.
for n in $(seq 1 9); do export "ZT_COM$n=$dev"; done
echo "simulated ${model}-axis unit on $dev (ports Com1 to Com9)"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  if command -v xvfb-run >/dev/null; then
    echo "no display: running under Xvfb (nothing is shown on a screen)"
    exec_cmd=(xvfb-run -a)
  else
    echo "no display: running offscreen"
    export QT_QPA_PLATFORM=offscreen
    exec_cmd=()
  fi
else
  exec_cmd=()
fi
# Without a usable XDG_RUNTIME_DIR the program makes a runtime folder of its
# own, with or without a display, so Qt has nothing to warn about.
"${exec_cmd[@]}" ./build-release/ztmotion --home "$home" "$@"
