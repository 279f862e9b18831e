#!/usr/bin/env bash
# check-package.sh BUILD_DIR VERSION: makes the Debian package of a built tree in a temporary
# folder and checks it: the exact list of files (package-files.txt beside this script), the
# name and version, a manual page in step with each program's --help, the desktop entry, the
# file types, and lintian without errors or warnings.
set -euo pipefail
export LC_ALL=C
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb="$work/ventora_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work"; echo "FAIL: no $deb"; exit 1; }
dpkg-deb -x "$deb" "$work/root"

# Every file and link, nothing more and nothing less.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$work/files"
diff -u "$here/package-files.txt" "$work/files" || fail "the package's files differ (- expected, + packaged)"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6core6' || fail "Depends lacks the programs' libraries"
zcat "$work/root/usr/share/doc/ventora/changelog.gz" | head -1 | grep -q "^ventora ($version)" ||
    fail "the changelog's latest entry is not $version"

# Each program has a manual page naming every option its --help names.
for program in "$work"/root/usr/bin/*; do
    name=$(basename "$program")
    page="$work/root/usr/share/man/man1/$name.1.gz"
    [ -f "$page" ] || { fail "$name has no manual page"; continue; }
    text=$(zcat "$page" | sed 's/\\-/-/g')
    for option in $("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$text" || fail "the manual page of $name lacks $option"
    done
done

desktop-file-validate "$work/root/usr/share/applications/ventora.desktop" || fail "desktop entry"
mkdir -p "$work/mime/packages"
cp "$work/root/usr/share/mime/packages/ventora.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
for glob in 'application/x-ventora-record:\*.ivt:cs' 'application/x-ventora-log:\*.lvt:cs'; do
    grep -q "$glob" "$work/mime/globs2" 2>/dev/null || fail "no case-sensitive glob $glob"
done

if ! lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
    grep -v '^running with root' "$work/lintian"
    fail "lintian reports errors or warnings"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package ok: $(basename "$deb"), $(wc -l <"$work/files") files"
