# Shared settings for the project's scripts (sourced, not run).
export VELTRANE_ROOT=${VELTRANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export VELTRANE_DEPS=${VELTRANE_DEPS:-$HOME/.cache/veltrane/deps}
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/veltrane/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/veltrane/ccache}
