#!/usr/bin/env bash
# Builds the Debian package from the build folder (BUILD, $1), unpacks it into a temporary root
# with dpkg-deb -x and checks what a desktop needs of it; runs the unpacked program. No root.
# SOURCE ($2): the source folder, whose docs/screenshots/ the AppStream data names.
set -uo pipefail
build=$1
source=$2
for tool in cpack dpkg-deb dpkg desktop-file-validate appstreamcli groff file; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (bash scripts/deps.sh installs it)"; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Its own output folder: nothing shared with another run of the suite.
(cd "$build" && cpack -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; echo "FAILED: cpack"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$tmp/out/vantrel_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$tmp/out"; echo "FAILED: no $deb"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
[ "$(field Homepage)" = https://vantrel.org ] || fail "Homepage is '$(field Homepage)'"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "Maintainer is '$(field Maintainer)'"
# shlibdeps: the C library and Xlib at least, each with a version.
for lib in libc6 libx11-6 libpng16-16; do
  [[ ", $(field Depends)" =~ ,\ $lib\ \(\>=\  ]] || fail "Depends lacks $lib: $(field Depends)"
done

root=$tmp/root
dpkg-deb -x "$deb" "$root" || { echo "FAILED: dpkg-deb -x"; exit 1; }
id=org.vantrel.Vantrel
share=$root/usr/share
for f in usr/bin/vantrel usr/share/doc/vantrel/vantrel.html usr/share/doc/vantrel/copyright \
         usr/share/applications/$id.desktop usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/metainfo/$id.metainfo.xml usr/share/man/man1/vantrel.1.gz; do
  [ -s "$root/$f" ] || fail "missing /$f"
done

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "the desktop file names another icon"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$tmp/as.log" 2>&1 || { cat "$tmp/as.log"; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "metainfo names another release"
# Each screenshot is one of ours, of the size the data gives.
shots=$(grep -o 'width="[0-9]*" height="[0-9]*">https://vantrel.org/screenshots/[a-z-]*\.png' "$share/metainfo/$id.metainfo.xml")
[ "$(echo "$shots" | wc -l)" -ge 3 ] || fail "fewer than 3 screenshots"
while read -r w h url; do
  w=${w//[!0-9]/} h=${h//[!0-9]/} png=$source/docs/screenshots/${url##*/}
  [[ "$(file -b "$png" 2>&1)" == "PNG image data, $w x $h,"* ]] || fail "$png is not $w x $h: $(file -b "$png" 2>&1)"
done < <(echo "$shots" | sed 's/>/ /')
# The manual page: gzipped, with its sections, and groff finds nothing to warn about.
gzip -t "$share/man/man1/vantrel.1.gz" || fail "vantrel.1.gz is not gzip"
zcat "$share/man/man1/vantrel.1.gz" >"$tmp/vantrel.1"
for section in NAME SYNOPSIS OPTIONS KEYS FILES ENVIRONMENT BACKENDS "SEE ALSO"; do
  grep -q "^\.SH \"*$section" "$tmp/vantrel.1" || fail "man page lacks $section"
done
warnings=$(groff -man -ww -z "$tmp/vantrel.1" 2>&1)
[ -z "$warnings" ] || fail "groff: $warnings"
# The theme's PNGs: the size in the folder name, with transparency.
for s in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${s}x$s/apps/$id.png
  [[ "$(file -b "$png" 2>&1)" == "PNG image data, $s x $s, 8-bit/color RGBA"* ]] || fail "$png: $(file -b "$png" 2>&1)"
done

# The unpacked program answers, and finds its help document where the package put it.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vantrel" --version 2>&1)
[ "$out" = "vantrel $version" ] || fail "--version said '$out'"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vantrel" --help 2>&1)
[[ "$help" == *"Help document: $root/usr/share/doc/vantrel/vantrel.html"* ]] || fail "--help: $help"

[ $failed = 0 ] && echo "package $(basename "$deb") is complete"
exit $failed
