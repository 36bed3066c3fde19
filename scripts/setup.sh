#!/usr/bin/env bash
# Installs the Debian packages the project needs. Safe to run again: packages already
# present are left alone.
#
#   setup.sh build   what building the plug-in and the command-line host needs (the demo)
#   setup.sh test    that, plus the test toolchain, the Windows cross compilers, Wine and
#                    the third-party plug-ins the tests host (the default)
set -euo pipefail
source "$(dirname "$0")/lib/can-run-32bit.sh"

mode=${1:-test}
case "$mode" in
  build | test) ;;
  *)
    echo "usage: setup.sh [build|test]" >&2
    exit 2
    ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config
  libsndfile1-dev
  # The Linux module's editor: an X11 window drawn with cairo, its text in Liberation Sans
  # (what fontconfig answers for "Arial").
  libx11-dev libcairo2-dev libfontconfig-dev fonts-liberation2
  # `quillory editor` writes its screenshots as PNG through zlib.
  zlib1g-dev
)
foreign_architecture=
if [ "$mode" = test ]; then
  packages+=(
    clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    # The skin generator loads its fonts through FreeType.
    libfreetype-dev
    # A virtual X server and real input through XTEST for the tests of the X11 editor, of
    # `quillory editor`, of the Windows editor under Wine and the validator's editor checks.
    xvfb xauth libxtst-dev xdotool
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    # Third-party VST 2.4 plug-ins the host is tested against.
    zynaddsubfx-vst lsp-plugins-vst
    # Valgrind for the leak check.
    valgrind
    # 64-bit Wine runs the 64-bit DLL.
    wine wine64
  )
  # 32-bit Wine, from the i386 architecture, runs the 32-bit DLL; a machine that cannot run
  # 32-bit programs has no use for it.
  if can_run_32bit; then
    packages+=(wine32:i386)
    foreign_architecture=i386
  fi
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
if [ -n "$foreign_architecture" ] &&
  ! dpkg --print-foreign-architectures | grep -qx "$foreign_architecture"; then
  "${sudo_cmd[@]}" dpkg --add-architecture "$foreign_architecture"
fi
echo "setup: installing ${#missing[@]} packages for the $mode tools"
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
  "${missing[@]}"
