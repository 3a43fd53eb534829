#!/usr/bin/env bash
# Packs the build as the Debian package (`cpack -G DEB`, prefix /usr whatever the build's own
# prefix is) and checks it: lintian finds no error, the package holds exactly what the install
# rules install with Debian's permissions and owner, its control fields, changelog and metadata
# agree on the version, and the program unpacked from it runs and writes the sample page.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR      (exit 77: skipped)
set -euo pipefail
BUILD=$1
SOURCE=$2

for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev lintian:lintian file:file; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "SKIPPED: ${tool%%:*} is not installed (Debian package ${tool#*:})"
    exit 77
  fi
done

T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T/out" >"$T/cpack.log" 2>&1 \
  || { cat "$T/cpack.log"; fail "cpack"; }
debs=("$T"/out/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
version=$(field Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "sitorva_${version}_${arch}.deb" ] || fail "file name $(basename "$deb")"
[ "$(field Package)" = sitorva ] || fail "package name $(field Package)"
[ "$(field Maintainer)" = "The Sitorva developers <developers@sitorva.org>" ] || fail "maintainer"
[ "$(field Priority)" = optional ] || fail "priority $(field Priority)"
[ -n "$(field Section)" ] || fail "no section"
[ "$(field Description | wc -l)" -gt 3 ] || fail "the description has no long part"
# Library dependencies were computed from the executable.
field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries: $(field Depends)"
# The changelog and the AppStream release name the package's version.
head -1 "$SOURCE/CHANGELOG" | grep -qF "sitorva ($version)" || fail "CHANGELOG's last entry is not $version"
grep -qF "<release version=\"$version\"" "$SOURCE/resources/desktop/org.sitorva.Sitorva.metainfo.xml" \
  || fail "the AppStream data has no release $version"

# Every file the install rules install is in the package under /usr, and nothing else is;
# folders are 0755, files 0644, the program 0755, all owned by root.
cmake --install "$BUILD" --prefix "$T/prefix" >/dev/null
(cd "$T/prefix" && find . -type f | sed 's|^\./|./usr/|' | sort) >"$T/installed"
dpkg-deb --contents "$deb" >"$T/contents"
awk '$1 ~ /^-/ { print $6 }' "$T/contents" | sort >"$T/packed"
diff -u "$T/installed" "$T/packed" || fail "the package's files differ from the installed files"
for f in ./usr/share/doc/sitorva/copyright ./usr/share/doc/sitorva/changelog.gz \
         ./usr/share/man/man1/sitorva.1.gz ./usr/share/sitorva/StvHelp.txt; do
  grep -qxF "$f" "$T/packed" || fail "$f is not in the package"
done
awk '$2 != "root/root" { print "owner:", $0 }
     $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "folder mode:", $0 }
     $1 ~ /^-/ && $6 == "./usr/bin/sitorva" && $1 != "-rwxr-xr-x" { print "program mode:", $0 }
     $1 ~ /^-/ && $6 != "./usr/bin/sitorva" && $1 != "-rw-r--r--" { print "file mode:", $0 }' \
  "$T/contents" >"$T/wrong"
[ ! -s "$T/wrong" ] || { cat "$T/wrong"; fail "wrong owner or permissions in the package"; }

# lintian: errors fail the test; the warnings and notes are shown.
lintian --tag-display-limit 0 --display-info --pedantic "$deb" >"$T/lintian" 2>&1 || true
cat "$T/lintian"
grep -q '^E: ' "$T/lintian" && fail "lintian reports errors"

# The unpacked program: it knows its version, its manual lies where it looks for it
# (EXE/../share/sitorva) and it writes the sample page with the pictures and the sound.
dpkg-deb -x "$deb" "$T/root"
exe=$T/root/usr/bin/sitorva
file "$exe" | grep -q ', stripped' || fail "the program is not stripped"
[ "$("$exe" --version)" = "sitorva $version" ] || fail "--version says $("$exe" --version)"
[ -f "$(dirname "$exe")/../share/sitorva/StvHelp.txt" ] || fail "the manual is not in EXE/../share/sitorva"
gzip -t "$T/root/usr/share/man/man1/sitorva.1.gz" "$T/root/usr/share/doc/sitorva/changelog.gz"
SOURCE_DATE_EPOCH=0 QT_QPA_PLATFORM=offscreen \
  "$exe" --generate "$SOURCE/examples/sample/sample.stv" --output "$T/site/index.html"
for f in index.html sitorva-logo.png hills.png background.png chime.wav; do
  [ -s "$T/site/$f" ] || fail "$f was not written"
done
# A first run chooses the modern style, whose anchors are ids.
grep -qF 'id="Fred"' "$T/site/index.html" || fail "the page lacks the sample's anchor"
echo "packed and checked $(basename "$deb")"
