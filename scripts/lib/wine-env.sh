# Sourced by the scripts: one Wine prefix for the work tree, Chinese locale (code page 936),
# quiet Wine. Creates the prefix on first use.
#
# The prefix is a 64-bit one, as 64-bit Windows: 64-bit programs run natively under Wine,
# the i686 edition under 32-bit Wine (through QEMU, see packages.sh) with WOW64's registry
# redirection. Since wine32 is installed, `wine reg` is the 32-bit reg.exe, whose
# HKLM\SOFTWARE is the redirected view: every reg command of the scripts names its view
# (/reg:64 for the keys as 64-bit Windows stores them). WINEARCH=win32 with a WINEPREFIX of
# its own gives a 32-bit Windows instead (no Wow6432Node; every program must be i686).
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Windows users cannot write a read-only file or list a folder they have no right to; root
# can, through the capabilities that pass over file permissions. The tests run Wine (its
# server included: it opens the files) without them, so that Wine's file permissions, which
# stand for read-only attributes and folder security, hold as on Windows.
as_windows_user=(setpriv --bounding-set=-dac_override,-dac_read_search)
export WINEPREFIX=${WINEPREFIX:-$repo_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko downloads, and no crash debugger: 32-bit Wine under QEMU now and then
# crashes a process while it makes a prefix, and winedbg --auto then waits on it forever (and
# with it `wineserver -w`). Without the debugger a crashed program just ends with its error.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
# Chinese Windows (ANSI code page 936) unless a test asks for another system locale.
export LANG=${SETUP_LOCALE:-zh_CN.UTF-8} LC_ALL=${SETUP_LOCALE:-zh_CN.UTF-8}
# A 64-bit prefix made before 32-bit Wine was installed cannot run 32-bit programs (its syswow64
# folder may be there, but empty).
if [ -f "$WINEPREFIX/system.reg" ] && [ "${WINEARCH:-win64}" = win64 ] &&
  [ -x /usr/lib/wine/wine ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # The dialog's font is 宋体 (SimSun), which Wine does not ship: draw it with the CJK font
  # of the machine, as a Chinese Windows would draw it with its own.
  for face in 宋体 SimSun; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f /reg:64 >/dev/null 2>&1
  done
  # Xvfb has no window manager: Wine draws the caption bar and frame itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f /reg:64 >/dev/null 2>&1
  # Bounded all the same: a prefix that does not settle is ended, and Wine finishes its update
  # the next time it starts.
  timeout 600 wineserver -w || wineserver -k
fi

# Xvfb runs no window manager, and Wine waits up to 2 s for one to withdraw each managed
# window that closes ("wait_for_withdrawn_state ... wait timed out" in winex11): every
# message box and the folder picker would cost 2 s more. The tests' prefixes have Wine place
# its windows itself; the demo and the screenshots keep them managed (xwininfo finds the
# dialog by its title there).
unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f /reg:64 >/dev/null 2>&1
}
