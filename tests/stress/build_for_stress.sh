# Sourced by soak.sh and monkey.sh with their arguments: sets `build` from
# --build (win32 unless told), goes to the top of the tree and builds Fumora,
# the probe and the typing target for it.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=win32
args=("$@")
for ((i = 0; i < $#; i++)); do [ "${args[i]}" = --build ] && build=${args[i + 1]}; done
cd "$root"
[ "$build" = win32 ] && scripts/setup-wine32
cmake --preset "$build" >/dev/null && cmake --build --preset "$build" --target Fumora stress_probe type_target >/dev/null
