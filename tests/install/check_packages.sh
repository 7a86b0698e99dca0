#!/bin/sh
# Makes the Debian packages of a build in a temporary folder and checks what
# apt would see of them: check_packages.sh BUILD_DIR CPACK
# Exit 77 (skipped) where dpkg's tools are missing.
set -eu
build=$1
cpack=$2
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: packages not checked"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The build under test may update itself; this package is only looked at.
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" -D CPACK_KORBISTO_TRIAL=ON >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"; exit 1
fi
failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

# One line per package: name, fields that must be there, names that must
# not be among its dependencies, files it holds, files it must not hold.
while IFS='|' read -r package present absent holds lacks; do
  deb=$(ls "$work"/"${package}"_*.deb 2>/dev/null || true)
  [ -n "$deb" ] && [ "$(echo "$deb" | wc -l)" -eq 1 ] || { fail "$package: no package or more than one"; continue; }
  dpkg-deb -f "$deb" >"$work/control"
  echo "$present" | tr ';' '\n' | while read -r line; do
    grep -q -E "$line" "$work/control" || echo "$package: no \"$line\" in its control file"
  done >>"$work/missing"
  for lib in $absent; do
    grep -E '^(Pre-)?Depends:' "$work/control" | grep -q -w "$lib" && fail "$package depends on $lib"
  done
  dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
  for f in $holds; do grep -q -x "./$f" "$work/files" || fail "$package: does not hold $f"; done
  for f in $lacks; do grep -q -x "./$f" "$work/files" && fail "$package: holds $f"; done
  # The changelog inside names the package's own version, and the extended
  # description is more than the synopsis.
  version=$(sed -n 's/^Version: //p' "$work/control")
  dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/doc/$package/changelog.Debian.gz" | gzip -dc | head -n 1 \
    | grep -q -F "($version)" || fail "$package: changelog does not start at $version"
  [ "$(sed -n '/^Description:/,$p' "$work/control" | grep -c '^ ')" -ge 2 ] || fail "$package: no extended description"
done <<'EOF'
korbisto|^Depends:.*libqt6widgets6;^Depends:.*qt6-qpa-plugins;^Recommends:.*qt6-translations-l10n;^Recommends:.*fonts-liberation2;^Recommends:.*ca-certificates;^Version: [0-9.]+-[0-9]+$;^Source: korbisto$||usr/bin/korbisto usr/share/applications/de.korbisto.Korbisto.desktop usr/share/metainfo/de.korbisto.Korbisto.metainfo.xml usr/share/mime/packages/korbisto.xml usr/share/icons/hicolor/48x48/apps/korbisto.png usr/share/doc/korbisto/copyright usr/share/doc/korbisto/changelog.Debian.gz usr/share/man/man1/korbisto.1.gz|usr/bin/korbisto-cli usr/share/mime/mime.cache usr/share/applications/mimeinfo.cache usr/share/man/man1/korbisto-cli.1.gz
korbisto-cli|^Depends:.*libqt6core6;^Depends:.*libqt6network6;^Recommends:.*ca-certificates;^Version: [0-9.]+-[0-9]+$;^Source: korbisto$|libqt6gui6 libqt6widgets6 libqt6concurrent6 qt6-qpa-plugins|usr/bin/korbisto-cli usr/share/doc/korbisto-cli/copyright usr/share/doc/korbisto-cli/changelog.Debian.gz usr/share/doc/korbisto-cli/json.md usr/share/man/man1/korbisto-cli.1.gz usr/share/bash-completion/completions/korbisto-cli usr/share/zsh/vendor-completions/_korbisto-cli usr/share/fish/vendor_completions.d/korbisto-cli.fish|usr/bin/korbisto usr/share/applications/de.korbisto.Korbisto.desktop usr/share/man/man1/korbisto.1.gz
EOF
if [ -s "$work/missing" ]; then cat "$work/missing"; failures=$((failures + 1)); fi
[ "$failures" -eq 0 ] || exit 1
echo "korbisto and korbisto-cli: names, dependencies and contents as expected"
