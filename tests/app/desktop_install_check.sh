#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the desktop sees there: the
# desktop entry and the AppStream metadata validate, the MIME database built from our
# package recognises a sample format and a captured-data file, and the format type opens
# with Ordexa. Exits 77 (skipped) with the reason when a checking tool is missing.
# Usage: desktop_install_check.sh BUILD_DIR SAMPLES_DIR
set -euo pipefail
build=$1
samples=$2
app_id=mx.kalvorsoft.Ordexa

declare -A package=([desktop-file-validate]=desktop-file-utils [update-desktop-database]=desktop-file-utils
                    [appstreamcli]=appstream [update-mime-database]=shared-mime-info [xdg-mime]=xdg-utils
                    [mimetype]=libfile-mimeinfo-perl)
for tool in "${!package[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian package ${package[$tool]}); the desktop files were not checked"
    exit 77
  fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for f in bin/Ordexa bin/ordexa-cli share/ordexa/help/index.html share/ordexa/help/calculos.html \
         share/ordexa/samples/Factura.fmt share/applications/$app_id.desktop \
         share/metainfo/$app_id.metainfo.xml share/mime/packages/$app_id.xml \
         share/icons/hicolor/scalable/apps/$app_id.svg \
         share/icons/hicolor/scalable/mimetypes/application-x-ordexa-format.svg; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done

desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null || fail "AppStream metadata"

# xdg-mime outside a desktop session asks `mimetype`, which reads the shared MIME
# database (without it, `file` would guess from the content alone).
# Only the temporary prefix's data counts, with no desktop environment guessing for us.
update-mime-database "$prefix/share/mime" 2>/dev/null
update-desktop-database "$prefix/share/applications"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export XDG_DATA_DIRS="$prefix/share" XDG_DATA_HOME="$prefix/home-data" XDG_CONFIG_HOME="$prefix/home-config"
export XDG_CONFIG_DIRS="$prefix/etc"

work="$prefix/work"
mkdir -p "$work"
cp "$samples/Factura.fmt" "$work/Factura de prueba.fmt"
# A captured-data file: the format's file name as a length-prefixed string.
printf '\x0bfactura.fmt' >"$work/enero.cap"

type=$(xdg-mime query filetype "$work/Factura de prueba.fmt")
[ "$type" = application/x-ordexa-format ] || fail "a .fmt file is \"$type\""
type=$(xdg-mime query filetype "$work/enero.cap")
[ "$type" = application/x-ordexa-capture ] || fail "a .cap file is \"$type\""
for type in application/x-ordexa-format application/x-ordexa-capture; do
  handler=$(xdg-mime query default $type)
  [ "$handler" = "$app_id.desktop" ] || fail "$type files open with \"$handler\""
done
grep -q 'comment xml:lang="es">Formato de Ordexa' "$prefix/share/mime/application/x-ordexa-format.xml" ||
  fail "the format type has no Spanish comment"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "desktop integration: installed files, desktop entry, AppStream and MIME types are correct"
