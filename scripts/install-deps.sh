#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt, or of the list given, that are missing (with
# sudo when not root).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
list=${1:-"$here/packages.txt"}
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$list")
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
