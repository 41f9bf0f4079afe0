# Sourced by the scripts: installs the Debian packages the build and the tests need, when
# any is missing, generates the Chinese locale that Wine needs for code page 936 (and an
# English one), and sets up 32-bit Wine for the i686 edition.
needed_packages="cmake g++ clang-14 libclang-rt-14-dev googletest clang-format
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 wine wine64 xvfb x11-utils imagemagick locales fonts-wqy-microhei python3
  qemu-user-static wine32:i386 wine32-preloader:i386 wixl msitools"

missing_packages() {
  local p missing=""
  for p in $needed_packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  echo "$missing"
}

# Installs what is missing, and only then reads the package lists: a machine that has every
# package needs no package index at all. A list that cannot be refreshed (a mirror in the middle
# of a sync) is no reason to stop either: apt-get takes the lists it has. What still cannot be
# installed is named; the build or the test that needs it then fails and says why.
ensure_packages() {
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ]; then
    echo "installing:$missing"
    # wine32 is an i386 package: the architecture must be known before the package lists are read.
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq || echo "packages.sh: some package lists could not be refreshed; going on with those at hand"
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null; then
      # One package that cannot be had fails the whole call: the others one by one.
      local p
      for p in $missing; do DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p" >/dev/null 2>&1 || true; done
      echo "packages.sh: not installed:$(missing_packages)"
    fi
  fi
  # Chinese Windows for every test; English Windows for the texts' own end-to-end run.
  local wanted
  for wanted in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$wanted.utf8\$"; then
      sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
      grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >> /etc/locale.gen
      locale-gen >/dev/null
    fi
  done
  ensure_i386_emulation || true
}

# The kernel of these machines refuses 32-bit programs, so 32-bit Wine (an i386 Linux program)
# runs under QEMU's user-mode emulator, which the kernel's binfmt_misc hands i386 programs to.
# Registers it when missing (as root; idempotent). On failure, i386_emulation_problem says why
# and the 32 edition cannot be run; scripts/test then fails and says so.
i386_emulation_problem=""
ensure_i386_emulation() {
  local binfmt=/proc/sys/fs/binfmt_misc
  i386_emulation_problem=""
  if [ ! -e $binfmt/register ]; then
    mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null ||
      { i386_emulation_problem="binfmt_misc is not available ($binfmt cannot be mounted)"; return 1; }
  fi
  if [ ! -e $binfmt/qemu-i386 ]; then
    # echo without -e: the kernel itself reads the \x escapes. F: the emulator is opened now,
    # so it is found in every mount namespace.
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >$binfmt/register 2>/dev/null ||
      { i386_emulation_problem="the i386 handler could not be registered with binfmt_misc"; return 1; }
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 ||
    { i386_emulation_problem="32-bit Wine (/usr/lib/wine/wine) does not start"; return 1; }
}
