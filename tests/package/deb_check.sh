#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder and checks it:
# lintian finds no error; it holds exactly what the install rules install (plus the
# Debian documents); unpacked, its ordexa-cli runs and its desktop entry and AppStream
# file validate; its version is the project's. As root with CI set it is also installed
# with apt-get, tried, and removed without leaving anything behind.
# Exits 77 (skipped) with the reason when a tool it needs is missing.
# Usage: deb_check.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
app_id=mx.kalvorsoft.Ordexa

declare -A package=([cpack]=cmake [dpkg-deb]=dpkg [dpkg-shlibdeps]=dpkg-dev [lintian]=lintian [fakeroot]=fakeroot
                    [desktop-file-validate]=desktop-file-utils [appstreamcli]=appstream)
for tool in "${!package[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian package ${package[$tool]}); the Debian package was not checked"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb="$work/out/ordexa_${version}_amd64.deb"
[ -f "$deb" ] || { echo "FAIL: cpack made no $(basename "$deb")"; ls "$work/out"; exit 1; }

# Control fields: the project's version, dependencies from the binaries, both languages.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 libc6 fonts-liberation2 qt6-qpa-plugins; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
description=$(dpkg-deb -f "$deb" Description)
[[ "$description" == *"pre-printed paper forms"* && "$description" == *"formas preimpresas"* ]] ||
  fail "the description is not in English and Spanish"

# lintian runs as a normal user where it can; errors fail, warnings are shown.
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$lintian_out" | grep -v '^N:' || true
if echo "$lintian_out" | grep -q '^E:'; then
  fail "lintian reports errors"
fi

# The package holds exactly what `cmake --install` puts under /usr.
DESTDIR="$work/installed" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/installed" && find . -type f -o -type l | sed 's|^\./|/|' | sort) >"$work/expected"
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/packaged"
if ! diff -u "$work/expected" "$work/packaged"; then
  fail "the package's files differ from the installed ones"
fi
for f in /usr/bin/Ordexa /usr/bin/ordexa-cli /usr/share/ordexa/help/index.html /usr/share/ordexa/samples/Factura.fmt \
         /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
         /usr/share/mime/packages/$app_id.xml /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         /usr/share/doc/ordexa/copyright /usr/share/doc/ordexa/changelog.gz; do
  grep -qx "$f" "$work/packaged" || fail "not in the package: $f"
done

# Unpacked anywhere, the tools run and the desktop files validate.
dpkg-deb -x "$deb" "$work/root"
words=$("$work/root/usr/bin/ordexa-cli" words 1234.56)
[ "$words" = "UN MIL DOSCIENTOS TREINTA Y CUATRO PESOS 56/100 M.N." ] || fail "ordexa-cli words 1234.56 says \"$words\""
[[ "$("$work/root/usr/bin/ordexa-cli" --version)" == "ordexa-cli $version "* ]] || fail "ordexa-cli --version"
desktop-file-validate "$work/root/usr/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
  fail "AppStream metadata"

if [ "$(id -u)" -eq 0 ] && [ -n "${CI:-}" ]; then
  if dpkg-query -W -f='${Status}' ordexa 2>/dev/null | grep -q 'install ok installed'; then
    fail "ordexa is already installed on this machine; the installation was not tried"
  else
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
      { cat "$work/apt.log"; fail "apt-get install"; }
    [ "$(/usr/bin/ordexa-cli words 1234.56)" = "$words" ] || fail "the installed ordexa-cli"
    sample="$work/trial"
    mkdir -p "$sample"
    cp /usr/share/ordexa/samples/Factura.fmt "$sample/"
    printf '\x0bfactura.fmt' >"$sample/enero.cap"
    export XDG_DATA_DIRS=/usr/share XDG_DATA_HOME="$work/home-data" XDG_CONFIG_HOME="$work/home-config"
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
    for f in Factura.fmt enero.cap; do
      type=$(xdg-mime query filetype "$sample/$f")
      handler=$(xdg-mime query default "$type")
      [ "$handler" = "$app_id.desktop" ] || fail "$f ($type) opens with \"$handler\""
    done
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq ordexa >"$work/apt.log" 2>&1 ||
      { cat "$work/apt.log"; fail "apt-get purge"; }
    while read -r f; do
      [ ! -e "$f" ] || fail "left behind after removal: $f"
    done <"$work/packaged"
    [ ! -d /usr/share/ordexa ] || fail "left behind after removal: /usr/share/ordexa"
  fi
else
  echo "NOTE: not root with CI set; the package was not installed on this machine"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "Debian package: lintian, contents, unpacked tools, desktop files and version are correct"
