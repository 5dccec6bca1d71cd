#!/usr/bin/env bash
# Installs the built Debian package on this machine, checks what it put where, and removes it
# again. Needs root (or sudo) and a machine where the package may be installed for a moment.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
SUDO=$([ "$(id -u)" = 0 ] || echo sudo)
deb=$(ls "$BUILD"/corvantix_*.deb | head -n 1)
app_id=org.corvantix.Corvantix

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -q "./$deb"
trap '$SUDO apt-get remove -y -q corvantix >/dev/null' EXIT

echo "== installed programs answer from /usr/bin"
/usr/bin/corvantix-cli --version
/usr/bin/corvantix --version
/usr/bin/corvantix --help | grep -q FILE

echo "== desktop entry and metainfo"
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml

echo "== the case file type is known to the desktop"
grep -q 'application/x-corvantix-case:\*\.cvx' /usr/share/mime/globs2
test -f /usr/share/icons/hicolor/scalable/apps/$app_id.svg
test -f /usr/share/icons/hicolor/256x256/apps/$app_id.png
test -f /usr/share/man/man1/corvantix-cli.1.gz
/usr/bin/corvantix-cli check /usr/share/corvantix/examples/demo.cvx
echo "package check passed"
