#!/usr/bin/env bash
# What `cmake --install` and `cpack -G DEB` put in place, checked with the desktop's own tools:
# the desktop entry and the AppStream metainfo pass their validators, the icon is there at every
# size it is drawn at, the manual pages render without a warning, the installed programs run,
# the MIME package compiles and tells our songs and lists by name and by content, and the package
# carries all of it with the dependencies its programs need.
# Usage: installed_files_test.sh BUILD_DIR SOURCE_DIR [yes when the desktop program is built]
set -euo pipefail
build=$1
source=$2
with_desktop_program=${3:-no}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$stage/usr" >/dev/null
share=$stage/usr/share
id=org.velvasto.Velvasto

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"

[ -s "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256 512; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  signature=$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')
  width=$(od -An -tu4 --endian=big -j16 -N4 "$png" | tr -d ' ')
  height=$(od -An -tu4 --endian=big -j20 -N4 "$png" | tr -d ' ')
  [ "$signature" = 89504e470d0a1a0a ] && [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
    fail "icon ${size}x${size} is not a PNG of that size"
done

for page in velvasto velvasto-cli; do
  warnings=$(zcat "$share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1) || fail "manual page $page"
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done

[ -x "$stage/usr/bin/velvasto-cli" ] || fail "velvasto-cli not installed"
info=$(VELVASTO_INI=$stage/velvasto.ini "$stage/usr/bin/velvasto-cli" info "$source/resources/demo/demo.rcp") &&
  grep -q '^kind: RCP$' <<<"$info" || fail "installed velvasto-cli does not read the demo song"

update-mime-database "$share/mime" 2>/dev/null || fail "update-mime-database"
# A copy of the demo song without a name to go by is told by its first bytes.
cp "$source/resources/demo/demo.rcp" "$stage/demo-song"
for sample in "$source/resources/demo/demo.rcp=audio/x-rcp" "$source/resources/demo/demo.mid=audio/midi" \
  "$stage/demo-song=audio/x-rcp"; do
  type=$(XDG_DATA_HOME=$share XDG_DATA_DIRS=/usr/share xdg-mime query filetype "${sample%=*}") || true
  [ "$type" = "${sample#*=}" ] || fail "${sample%=*} is '$type'"
done

(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$build"/velvasto_*_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libfluidsynth3 librtmidi6 xdg-utils desktop-file-utils shared-mime-info sf2-soundfont-gm; do
  grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done
contents=$(dpkg-deb -c "$deb")
for file in bin/velvasto-cli share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml share/icons/hicolor/48x48/apps/$id.png share/man/man1/velvasto.1.gz; do
  grep -q " ./usr/$file\$" <<<"$contents" || fail "the package lacks /usr/$file"
done
if [ -f "$source/resources/help/index.html" ]; then
  grep -q ' ./usr/share/velvasto/help/index.html$' <<<"$contents" || fail "the package lacks the help page"
fi
if [ "$with_desktop_program" = yes ]; then
  # The installed desktop program starts (its libraries and Qt's platform plugin are found) and,
  # asked only to give a fresh user's file types back, ends by itself without a window.
  home=$stage/home
  mkdir -m 700 -p "$home/runtime"
  XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime VELVASTO_INI=$home/velvasto.ini \
    QT_QPA_PLATFORM=offscreen timeout 60 "$stage/usr/bin/velvasto" /Uninstall 2>/dev/null ||
    fail "the installed velvasto does not run (/Uninstall)"
  grep -q ' ./usr/bin/velvasto$' <<<"$contents" || fail "the package lacks /usr/bin/velvasto"
  grep -q libqt6widgets6 <<<"$depends" || fail "the package does not depend on libqt6widgets6"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
