#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs from it: the
# program, its manual where the help window finds it, a valid menu entry, icon, file type and
# metadata, and that the installed program writes the sample page with its marks working.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$1
SOURCE=$2
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
P=$T/prefix

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$P" >/dev/null

for f in bin/sitorva share/sitorva/StvHelp.txt share/applications/sitorva.desktop \
         share/icons/hicolor/scalable/apps/sitorva.svg share/mime/packages/sitorva.xml \
         share/metainfo/org.sitorva.Sitorva.metainfo.xml; do
  [ -f "$P/$f" ] || fail "$f was not installed"
done
[ -x "$P/bin/sitorva" ] || fail "bin/sitorva is not executable"

desktop=$P/share/applications/sitorva.desktop
grep -qx 'Exec=sitorva %f' "$desktop" || fail "the menu entry does not pass the file to sitorva"
grep -qx 'MimeType=application/x-sitorva-project;' "$desktop" || fail "the menu entry lacks the project type"
grep -qx 'Icon=sitorva' "$desktop" || fail "the menu entry names another icon"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: menu entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$P/share/metainfo/org.sitorva.Sitorva.metainfo.xml" >/dev/null \
    || fail "appstreamcli validate"
else
  echo "appstreamcli not installed: metadata not validated"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$P/share/icons/hicolor/scalable/apps/sitorva.svg" || fail "icon is not well-formed"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$P/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
  grep -q 'application/x-sitorva-project:\*\.stv' "$P/share/mime/globs2" \
    || fail "*.stv is not known as a Sitorva project"
else
  echo "update-mime-database not installed: file type not checked"
fi

# An installed program keeps its files in the user's data folder, never in bin/ (even where it
# may write there); the sample's lists go there so that the marks of the texts are translated.
export XDG_DATA_HOME=$T/data
mkdir -p "$XDG_DATA_HOME/Sitorva"
cp "$SOURCE"/examples/sample/{Sitorva.config,StvColList,StvLinkList,StvImageList} "$XDG_DATA_HOME/Sitorva/"
[ -f "$P/share/sitorva/defaults/StvImageList" ] || fail "the first start's lists are not installed"
mkdir "$T/work"
cp "$SOURCE"/examples/sample/{sample.stv,*.png,*.wav} "$T/work/"
SOURCE_DATE_EPOCH=0 QT_QPA_PLATFORM=offscreen \
  "$P/bin/sitorva" --generate "$T/work/sample.stv" --output "$T/site/index.html"
page=$T/site/index.html
[ -f "$page" ] || fail "no page written"
ls "$P/bin" | grep -qv '^sitorva$' && fail "the installed program wrote into bin/: $(ls "$P/bin")"
for f in hills.png sitorva-logo.png star.png background.png chime.wav; do
  [ -f "$T/site/$f" ] || fail "$f was not copied beside the page"
done
# One of each: a colour mark, a link mark, the picture mark, the anchor and the raw table.
for want in '<font color="C00000">red</font>' '<a href="https://sitorva.org/manual/">the manual</a>' \
            'star.png' '<A NAME="Fred">' '<TABLE BORDER=1 CELLPADDING=4>' 'chime.wav'; do
  grep -qF "$want" "$page" || fail "the page lacks $want"
done
grep -qF '{c' "$page" && fail "an untranslated colour mark is left in the page"
grep -qF '{l' "$page" && fail "an untranslated link mark is left in the page"

# A first run of the command line sets up an empty program folder as the window's first start
# does, so the sample's marks are translated without any list put there by hand.
fresh=$T/fresh-data
SOURCE_DATE_EPOCH=0 XDG_DATA_HOME=$fresh \
  "$P/bin/sitorva" --generate "$T/work/sample.stv" --output "$T/fresh-site/index.html" \
  2>"$T/fresh.log" || { cat "$T/fresh.log"; fail "the first run did not write the page"; }
[ -s "$T/fresh.log" ] && { cat "$T/fresh.log"; fail "the first run warned"; }
for f in Sitorva.config StvColList StvLinkList StvImageList; do
  [ -f "$fresh/Sitorva/$f" ] || fail "the first run did not copy $f into the program folder"
done
page=$T/fresh-site/index.html
for want in '<span style="color:#C00000">red</span>' \
            '<a href="https://sitorva.org/manual/">the manual</a>' 'star.png'; do
  grep -qF "$want" "$page" || fail "the first run's page lacks $want"
done
for mark in '{i0}' '{c0}' '{c1}' '{c3}' '{l1}' '{l3}'; do
  grep -qF "$mark" "$page" && fail "the first run's page shows the mark $mark"
done

# The command line needs neither the windows, the network nor the picture maker: they are
# modules the installed program loads from PREFIX/lib*/sitorva. --publish of a project without a host stops at once
# with its own message; on the offscreen platform the windows are still running after three
# seconds (waiting at the start-up question) when their module loaded, and stop at once when
# not.
# The core is one shared library beside them: the program and every module find it there, and
# none holds a copy of its own, whose state (the program folder) the others would not see.
for module in sitorva-windows.so sitorva-publish.so sitorva-pictures.so sitorva-preview.so; do
  ls "$P"/lib*/sitorva/$module >/dev/null || fail "$module was not installed"
  nm -C --defined-only "$P"/lib*/sitorva/$module | grep -q 'stv::programFolderPath' \
    && fail "$module has a core of its own"
done
for binary in "$P/bin/sitorva" "$P"/lib*/sitorva/*.so; do
  ldd "$binary" | grep -q 'not found' && { ldd "$binary"; fail "$binary misses a library"; }
done
ldd "$P/bin/sitorva" | grep -qE 'libQt|libcurl|libvips' && fail "the program itself links Qt, libcurl or libvips"
ldd "$P"/lib*/sitorva/sitorva-windows.so | grep -q WebEngine \
  && fail "the windows link Qt WebEngine, which only the preview's module may load"
printf '\r\n\r\n\r\n\r\n\r\n\r\n1\r\n\r\n0\r\nNo host\r\n' >"$T/nohost.stv"
"$P/bin/sitorva" --publish "$T/nohost.stv" 2>"$T/publish.log" && fail "a project without a host was published"
grep -q "no host name" "$T/publish.log" || { cat "$T/publish.log"; fail "--publish did not run"; }
mkdir "$T/home"
status=0
HOME=$T/home QT_QPA_PLATFORM=offscreen timeout 3 "$P/bin/sitorva" >"$T/windows.log" 2>&1 || status=$?
[ "$status" = 124 ] || { cat "$T/windows.log"; fail "the installed program did not open its windows"; }
echo "installed and checked in $P"
