#!/usr/bin/env bash
# Builds the Debian package of rp_tarifario (CPack DEB, dependencies from
# dpkg-shlibdeps) into build/package/, then checks it: the package unpacks
# into a temporary root, its program answers --version, its menu entry and
# metadata validate, and its demo runs for a user who cannot write the
# installation (nobody, when run as root): the demo folder goes to that
# user's data folder.
#
#   scripts/package.sh            build and check
#   RP_BUILD_DIR=dir scripts/package.sh
#
# Install it with: apt install ./build/package/rp-tarifario_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
b=${RP_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRP_WERROR=$werror \
    -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build "$b" -j"$(nproc)" --target rp_tarifario rp_sqlext
rm -rf "$b/package"
(cd "$b" && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls "$b"/package/rp-tarifario_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
"$root/usr/bin/rp_tarifario" --version
for f in usr/bin/rp_tarifario usr/lib/rp_tarifario/rpsqlext.so \
         usr/share/applications/rp_tarifario.desktop \
         usr/share/icons/hicolor/scalable/apps/rp_tarifario.svg \
         usr/share/metainfo/org.rptarifario.rp_tarifario.metainfo.xml; do
    [ -e "$root/$f" ] || { echo "package.sh: $f missing from the package" >&2; exit 1; }
done
ls "$root"/usr/share/rp_tarifario/templates/*.rpt "$root"/usr/share/rp_tarifario/sql/*.sql >/dev/null
desktop-file-validate "$root/usr/share/applications/rp_tarifario.desktop"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.rptarifario.rp_tarifario.metainfo.xml" >/dev/null
fi

home=$(mktemp -d)
trap 'rm -rf "$root" "$home"' EXIT
as_user=()
who=$(id -un)
if [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null; then
    chmod 755 "$root"
    chown nobody "$home"
    as_user=(runuser -u nobody --)
    who=nobody
fi
"${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    "$root/usr/bin/rp_tarifario" --demo --batch
"${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    "$root/usr/bin/rp_tarifario" --demo --batch --query "SELECT COUNT(*) FROM V_MA_ARTICULOS" >/dev/null
ls "$home"/.local/share/rp_tarifario/rp_tarifario/demo/*.rpt >/dev/null
echo "package checked: installs, answers --version, menu entry and metadata valid, demo runs as $who"
