#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file lies in
# its place, that the desktop entry and the AppStream metainfo pass their
# validators, that the installed command line finds the installed display
# library, and (unless PACKAGE is "no") that the Debian package holds the same
# files and the right dependencies.
#   tests/install/check-install.sh BUILD_DIR [PACKAGE]
set -euo pipefail

build=$1
package=${2:-yes}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
libexecdir=$(sed -n 's/^CMAKE_INSTALL_LIBEXECDIR:PATH=//p' "$build/CMakeCache.txt")
configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
id=org.velmar.EdidUtility
expected=(
  bin/velmar-edid
  bin/velmar-edid-utility
  "$libdir/libtovuxy.so"
  "$libexecdir/velmar-edid-utility/velmar-edid-helper"
  "share/polkit-1/actions/$id.policy"
  "share/applications/$id.desktop"
  "share/icons/hicolor/scalable/apps/$id.svg"
  "share/metainfo/$id.metainfo.xml"
  "share/mime/packages/$id.xml"
  share/man/man1/velmar-edid.1
  share/man/man1/velmar-edid-utility.1
)

cmake --install "$build" --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$installed" != "$wanted" ]; then
  fail "installed files differ from the expected ones:"
  diff <(echo "$wanted") <(echo "$installed") || true
fi
for program in bin/velmar-edid bin/velmar-edid-utility "$libexecdir/velmar-edid-utility/velmar-edid-helper"; do
  [ -x "$prefix/$program" ] || fail "$program is not executable"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q '^Exec=velmar-edid-utility %f$' "$prefix/share/applications/$id.desktop" || fail "Exec line"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
# Every file type the menu entry offers to open is one a mime package defines.
for type in $(sed -n 's/^MimeType=//p' "$prefix/share/applications/$id.desktop" | tr ';' ' '); do
  grep -q "type=\"$type\"" "$prefix/share/mime/packages/$id.xml" /usr/share/mime/packages/freedesktop.org.xml ||
    fail "no mime package defines $type"
done

# pkexec runs the helper under the polkit actions only at the path they name.
for action in override reset install-boot remove-boot; do
  grep -q "<action id=\"$id.$action\">" "$prefix/share/polkit-1/actions/$id.policy" || fail "no polkit action $action"
done
[ "$(grep -c "exec.path\">$configured/$libexecdir/velmar-edid-utility/velmar-edid-helper<" \
  "$prefix/share/polkit-1/actions/$id.policy")" -eq 4 ] || fail "the polkit actions do not name the installed helper"

# The installed helper runs, and refuses anything but a request.
status=0
"$prefix/$libexecdir/velmar-edid-utility/velmar-edid-helper" 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "the installed helper answered $status to no request"

# The installed program finds the installed library, not the build folder's.
mkdir -p "$work/sys/class/drm"
out=$(cd / && env -u VELMAR_PEXA_LIBRARY VELMAR_SYSFS_ROOT="$work/sys" "$prefix/bin/velmar-edid" displays || true)
[ "$out" = $'Connection to Pexa established.\nNo Graphics Adapters detected.' ] ||
  fail "the installed velmar-edid did not load the installed library: $out"

if [ "$package" != no ]; then
  (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
  deb=$(ls "$work"/deb/*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libc6 libstdc++6 libqt6widgets6 libqt6core6; do
    [[ $depends == *"$library "* || $depends == *"$library," || $depends == *"$library" ]] ||
      fail "the package does not depend on $library: $depends"
  done
  packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed "s|^\./${configured#/}/||" | sort)
  [ "$packaged" = "$wanted" ] || {
    fail "the package's files differ from the expected ones:"
    diff <(echo "$wanted") <(echo "$packaged") || true
  }
fi

[ "$failures" -eq 0 ] && echo "installation checked"
[ "$failures" -eq 0 ]
