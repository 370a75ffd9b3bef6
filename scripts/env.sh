# Shared settings of the project's scripts: where things are built and which Wine prefix they use.
KESTRUNE_ROOT=${KESTRUNE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
KESTRUNE_BUILD=${KESTRUNE_BUILD:-$KESTRUNE_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$KESTRUNE_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
