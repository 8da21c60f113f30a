# Sourced by the scripts that run QM47 under Wine, so they all run it the same
# way: the 64-bit loader named explicitly (once wine32 is installed, `wine`
# starts the 32-bit one), no debug output, no Mono/Gecko prompts, and the
# Polish code page (Wine then uses 1250; the Linux locale need not be
# installed). The caller sets WINEPREFIX.

wine_loader=/usr/lib/wine/wine64
[ -x "$wine_loader" ] || wine_loader=$(command -v wine64 || command -v wine)
wineserver_bin=/usr/lib/wine/wineserver
[ -x "$wineserver_bin" ] || wineserver_bin=$(command -v wineserver)

export WINEDEBUG=-all
export LC_ALL=pl_PL.UTF-8 2>/dev/null
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset WINELOADER WINESERVER

# Wine's own fonts in the prefix, so "MS Sans Serif" measures as the dialog
# layout expects and has the Polish letters.
install_wine_fonts() {
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
}
