# Sourced by scripts/wine-prefix.sh and scripts/wine-run.sh: the environment
# of the project's own Wine prefixes. With win32=1 set before: the 32-bit
# prefix build/wine-prefix-win32 and 32-bit Wine (under qemu-i386, see
# scripts/wine32/setup.sh); otherwise the 64-bit prefix build/wine-prefix
# and wine64. Sets $wine and $wineserver. A WINEPREFIX, WINEDEBUG or
# WINEDLLOVERRIDES the caller sets is kept.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Full paths: the plain commands "wine" and "wineserver" come only with the
# package wine, which wine64 merely recommends. The 64-bit server serves
# 32-bit programs too.
wineserver=/usr/lib/wine/wineserver64
if [ "${win32:-0}" -eq 1 ]; then
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix-win32}"
  export WINEARCH=win32
  wine=/usr/lib/wine/wine
else
  export WINEPREFIX="${WINEPREFIX:-$here/build/wine-prefix}"
  wine=/usr/lib/wine/wine64
fi
# Wine maps file names through the locale: without one (as under env -i)
# names beyond ASCII cannot be made. C.UTF-8 is always there; a locale the
# caller sets is kept.
if [ -z "${LC_ALL:-}" ] && [ -z "${LANG:-}" ]; then export LANG=C.UTF-8; fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
