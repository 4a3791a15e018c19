#!/usr/bin/env bash
# Installs Mirel into a temporary folder (DESTDIR) and uses it as an installed program: the
# desktop files pass their validators, the project file type is told by its content, and the
# program, started with a read-only prefix and a home of its own, keeps the working file, a
# report and the settings in the user's folders and writes nothing below the prefix.
#
# Usage: tst_install.sh BUILD_FOLDER SOURCE_FOLDER (run by ctest; needs xvfb-run and xdotool)
set -euo pipefail
build="$1"
source_folder="$2"

work="$(mktemp -d)"
cleanup() {
    # the program, should the driving have stopped half-way
    [ -f "$work/pid" ] && kill "$(cat "$work/pid")" 2>/dev/null || true
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"
for file in bin/mirel bin/mirel-check share/mirel/config/default.xml share/mirel/config/config.xml \
    share/mirel/data.prj share/mirel/Report/Report.xlt share/mirel/deviceico/1.ico \
    share/mirel/subtypeico/00.png share/applications/org.mirel.Mirel.desktop \
    share/metainfo/org.mirel.Mirel.metainfo.xml share/mime/packages/mirel-project.xml \
    share/icons/hicolor/scalable/apps/mirel.svg share/icons/hicolor/48x48/apps/mirel.png \
    share/icons/hicolor/128x128/apps/mirel.png share/doc/mirel/copyright; do
    [ -e "$root/usr/$file" ] || fail "not installed: $file"
done

desktop-file-validate "$share/applications/org.mirel.Mirel.desktop"
appstreamcli validate --no-net "$share/metainfo/org.mirel.Mirel.metainfo.xml" >/dev/null

# the type is told by the root element, not by the name: the factory definitions are XML too
mkdir -p "$work/xdg/mime/packages"
cp "$share/mime/packages/mirel-project.xml" "$work/xdg/mime/packages/"
update-mime-database "$work/xdg/mime"
cp "$source_folder/data/config/config.xml" "$work/project.xml"
cp "$source_folder/data/config/default.xml" "$work/definitions.xml"
filetype() {
    if command -v gio >/dev/null; then
        XDG_DATA_DIRS="$work/xdg:/usr/share" gio info -a standard::content-type "$1" |
            sed -n 's/^ *standard::content-type: //p'
    else
        XDG_DATA_DIRS="$work/xdg:/usr/share" xdg-mime query filetype "$1"
    fi
}
[ "$(filetype "$work/project.xml")" = application/x-mirel-project ] ||
    fail "a project file is $(filetype "$work/project.xml")"
[ "$(filetype "$work/definitions.xml")" = application/xml ] ||
    fail "the factory definitions are $(filetype "$work/definitions.xml")"

# Nothing may be written below the prefix, which even root could: compare it before and after.
chmod -R a-w "$root"
listing() { (cd "$root" && find . -printf '%p %s %T@\n' | sort); }
before="$(listing)"
home="$work/home"
mkdir -p "$home"
run_env=(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_DOCUMENTS_DIR HOME="$home")

# mirel-check finds the factory files and, before Mirel's first start, checks the sample
set +e
"${run_env[@]}" "$root/usr/bin/mirel-check" >"$work/check.out" 2>&1
status=$?
set -e
[ "$status" -eq 1 ] && head -1 "$work/check.out" | grep -qx "Panel 1" ||
    fail "mirel-check: status $status, $(head -3 "$work/check.out")"

# The program opens the project it is given, calculates panel 1 (tree, Home, Down, F5) and
# writes the report the failing loop asks for (Return).
cat >"$work/drive.sh" <<DRIVE
set -e
${run_env[*]} QT_QPA_PLATFORM=xcb "$root/usr/bin/mirel" "$work/project.xml" &
echo \$! > "$work/pid"
window=\$(timeout 30 xdotool search --sync --onlyvisible --name 'Mirel' | head -1)
sleep 1
xdotool mousemove --window "\$window" 60 500 click 1
xdotool key Home Down F5
timeout 30 xdotool search --sync --onlyvisible --name '^Information$' >/dev/null
sleep 0.5
xdotool key Return
for _ in \$(seq 60); do
    ls "$home"/Documents/*.xlsx >/dev/null 2>&1 && grep -q recentFiles "$home/.config/Mirel/Mirel.conf" 2>/dev/null && break
    sleep 0.5
done
kill \$(cat "$work/pid")
rm "$work/pid"
DRIVE
xvfb-run -a -s '-screen 0 1280x900x24' bash "$work/drive.sh" >"$work/drive.log" 2>&1 ||
    fail "driving the program: $(cat "$work/drive.log")"

data="$home/.local/share/Mirel/Mirel"
cmp -s "$data/config.xml" "$source_folder/data/config/config.xml" ||
    fail "the working file is not the sample in $data"
[ -w "$data/config.xml" ] || fail "the working file cannot be written"
ls "$home"/Documents/*Panel1*.xlsx >/dev/null || fail "no report in $home/Documents"
grep -q "recentFiles=$work/project.xml" "$home/.config/Mirel/Mirel.conf" ||
    fail "no settings in $home/.config/Mirel"
[ "$(listing)" = "$before" ] || fail "the program wrote below its prefix"
