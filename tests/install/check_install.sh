#!/bin/sh
# Installs the build into a temporary prefix and checks what a desktop reads
# of it: check_install.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
# Nothing may go anywhere but below the prefix.
cmake --install "$build" --prefix "$prefix" >"$prefix.log"
if grep -E '^-- (Installing|Up-to-date): ' "$prefix.log" | grep -v -F -- "-- Installing: $prefix/" | grep -v -F -- "-- Up-to-date: $prefix/"; then
  echo "installed outside the prefix"; rm -f "$prefix.log"; exit 1
fi
rm -f "$prefix.log"
share=$prefix/share
for f in "$prefix/bin/korbisto" "$prefix/bin/korbisto-cli" \
         "$share/applications/de.korbisto.Korbisto.desktop" \
         "$share/metainfo/de.korbisto.Korbisto.metainfo.xml" \
         "$share/mime/packages/korbisto.xml"; do
  [ -f "$f" ] || { echo "not installed: $f"; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/korbisto.png
  [ -s "$icon" ] || { echo "no icon: $icon"; exit 1; }
done
desktop-file-validate "$share/applications/de.korbisto.Korbisto.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/de.korbisto.Korbisto.metainfo.xml"
# An install into a prefix refreshes the desktop's caches: the file types
# are known and the program opens them.
grep -q '\*\.krsc' "$share/mime/globs2"
grep -q '\*\.sptag' "$share/mime/globs2"
grep -q '^application/x-korbisto-slip=de.korbisto.Korbisto.desktop' "$share/applications/mimeinfo.cache"
# Both programs answer --version and --help without a display, and their man
# pages and the tool's completions lie where man and the shells look.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/korbisto" --version)
[ "$version" = "$("$prefix/bin/korbisto-cli" --version | sed 's/^korbisto-cli /korbisto /')" ] || { echo "korbisto --version: $version"; exit 1; }
echo "$version" | grep -q -E '^korbisto [0-9]+(\.[0-9]+)+$' || { echo "korbisto --version: $version"; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/korbisto" --help | head -n 1 | grep -q '^Aufruf: korbisto '
for page in korbisto korbisto-cli; do
  gzip -dc "$share/man/man1/$page.1.gz" | grep -q "^\.TH $(echo "$page" | tr a-z A-Z) 1 " || { echo "no man page $page"; exit 1; }
  if command -v man >/dev/null; then
    man -M "$share/man" -w "$page" | grep -q -x -F "$share/man/man1/$page.1.gz" || { echo "man does not find $page"; exit 1; }
  fi
done
bash -n "$share/bash-completion/completions/korbisto-cli"
[ -s "$share/zsh/vendor-completions/_korbisto-cli" ] || { echo "no zsh completion"; exit 1; }
[ -s "$share/fish/vendor_completions.d/korbisto-cli.fish" ] || { echo "no fish completion"; exit 1; }
# The copyright goes everywhere, the Debian changelog only into the packages.
[ -f "$share/doc/korbisto/copyright" ] || { echo "no copyright"; exit 1; }
[ ! -e "$share/doc/korbisto/changelog.Debian.gz" ] || { echo "Debian changelog in a prefix install"; exit 1; }
echo "installed and valid"
