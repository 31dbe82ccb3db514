#!/usr/bin/env bash
# Installs the build into a scratch folder and checks it as a desktop and a software centre see it: every file
# in its place and nothing else, icons of the sizes they claim, and entries that name what was installed.
set -euo pipefail
: "${BUILD_DIR:?}" "${PROJECT_VERSION:?}"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$BUILD_DIR" --prefix /usr >/dev/null
usr=$root/usr
desktop=share/applications/lumenpane.desktop
metainfo=share/metainfo/io.github.lumenpane.Lumenpane.metainfo.xml
sizes=(16 22 24 32 48 64 128 256)
expected=(bin/lumenpane bin/lumenpane-viewer "$desktop" "$metainfo" share/icons/hicolor/scalable/apps/lumenpane.svg)
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/lumenpane.png"); done

# Exactly these files: the simulator, the tests and the libraries stay out.
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
    fail "the installed files differ from the expected ones (<: expected, >: installed)"
[ -x "$usr/bin/lumenpane" ] && [ -x "$usr/bin/lumenpane-viewer" ] || fail "the programs are not executable"
for s in "${sizes[@]}"; do
    # A PNG's header holds its width and height as big-endian 32-bit numbers at bytes 16 to 23.
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$usr/share/icons/hicolor/${s}x${s}/apps/lumenpane.png")
    [ "$w $h" = "$s $s" ] || fail "the ${s}x${s} icon is ${w}x${h}"
done

desktop-file-validate "$usr/$desktop"
key() { sed -n "s/^$1=//p" "$usr/$desktop"; }
exec_line=$(key Exec)
[ -x "$usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
[ -f "$usr/share/icons/hicolor/scalable/apps/$(key Icon).svg" ] || fail "Icon=$(key Icon) is not an installed icon"

appstreamcli validate --no-net "$usr/$metainfo"
grep -q '<launchable type="desktop-id">lumenpane.desktop</launchable>' "$usr/$metainfo" ||
    fail "the metainfo does not launch lumenpane.desktop"
grep -q "<release version=\"$PROJECT_VERSION\"" "$usr/$metainfo" || fail "the metainfo has no release $PROJECT_VERSION"
echo "installed tree OK"
