#!/usr/bin/env bash
# Installs the Debian packages that building and testing PLIX need.
# Sourced by test.sh and run.sh; as root it installs what is missing,
# otherwise it prints the exact command to run and stops.
set -euo pipefail

PLIX_PACKAGES=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev
  locales-all              # the 8-bit and EUC-JP locales behind the Locale list
  qt6-base-dev             # Qt Core/Widgets/PrintSupport for the desktop program
  xvfb xauth               # an X server for screenshots of the desktop program
  time                     # /usr/bin/time for memory figures
)

plix_missing_packages() {
  local missing=()
  for p in "${PLIX_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

plix_install_deps() {
  local missing
  missing=$(plix_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $missing" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}
