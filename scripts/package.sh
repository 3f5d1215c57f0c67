#!/usr/bin/env bash
# Builds the host and the module in the release build, installs them into a staging folder and
# runs the installed program from there with the build tree out of reach, then makes the Debian
# package (cpack -G DEB) and checks what it holds and what it depends on. The package is left in
# build/release (memohost_<version>_<architecture>.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

memo_ensure_packages dpkg-dev desktop-file-utils
cmake --preset release >/dev/null
nice cmake --build --preset release --target memohost memo

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

work=$(mktemp -d)
away=build/release/bin.away
restore() {
    [ -d "$away" ] && mv "$away" build/release/bin
    rm -rf "$work"
}
trap restore EXIT

# The installed tree, under a prefix of its own.
stage=$work/stage
cmake --install build/release --prefix "$stage" >/dev/null
desktop-file-validate "$stage/share/applications/memohost.desktop" || fail "the desktop entry is not valid"

# The installed host must need nothing from the build tree: move the build's programs and
# libraries away while it runs.
mv build/release/bin "$away"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/bin/memohost" --version)
[ "$version" = "memohost $(sed -n 's/^project(MemoModule VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] ||
    fail "--version of the installed host says: $version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/bin/memohost" --user alice \
    --data-dir "$work/stores" --screenshot "$work/installed.png" >/dev/null
[ -s "$work/installed.png" ] || fail "the installed host wrote no picture"
mv "$away" build/release/bin

# The package.
rm -f build/release/memohost_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/memohost_*.deb)
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in ./usr/bin/memohost './usr/lib/.*memohost/libmemo\.so' './usr/lib/.*memohost/libmemostore\.so' \
    './usr/lib/.*memohost/libzorvaframework\.so' './usr/lib/.*memohost/libzorvakit\.so' \
    './usr/lib/.*memohost/libhostadapter\.so' './usr/lib/.*memohost/libmemohostsync\.so' \
    ./usr/share/applications/memohost.desktop './usr/share/icons/hicolor/48x48/apps/memohost\.png' \
    ./usr/share/doc/memohost/README.md; do
    grep -qx "$file" <<<"$contents" || fail "$deb does not hold $file"
done
dpkg-deb --info "$deb" >/dev/null
depends=$(dpkg-deb --field "$deb" Depends)
# libical and the keyring come with the sync library, which the host loads when a user syncs.
for package in libqt6core6 libqt6widgets6 libsqlite3-0 fonts-wqy-microhei libical3 libqt6keychain1; do
    grep -q "\b$package\b" <<<"$depends" || fail "$deb does not depend on $package: $depends"
done
recommends=$(dpkg-deb --field "$deb" Recommends)
for package in qt6-translations-l10n fonts-noto-color-emoji; do
    grep -q "\b$package\b" <<<"$recommends" || fail "$deb does not recommend $package: $recommends"
done
echo "package.sh: $deb"
echo "Depends: $depends"
