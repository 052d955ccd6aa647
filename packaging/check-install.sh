#!/usr/bin/env bash
# Checks an installed Tolvane as a new user meets it, in a throw-away root folder:
#   check-install.sh --cmake-install BUILD_DIR   installs BUILD_DIR with cmake --install
#   check-install.sh --deb PACKAGE.deb           unpacks the package
# Then: the desktop entry and metainfo pass their validators, the recorder's user unit passes
# systemd-analyze verify, every option of --help is in the manual page, and the installed program, started under Xvfb with HOME and XDG folders in the
# temp folder, creates its program folder with a 2-byte cam list and cam/, shows the Help window
# at its first start (from share/tolvane, and from its built-in copy when that file is gone),
# and writes nothing into the installed tree. A copy of the executable on its own (portable)
# keeps its program folder beside itself.
set -euo pipefail

usage() {
    echo "usage: $0 --cmake-install BUILD_DIR | --deb PACKAGE.deb" >&2
    exit 2
}
[ $# -eq 2 ] || usage
mode=$1
source=$(realpath "$2")

for tool in xvfb-run xwininfo desktop-file-validate appstreamcli systemd-analyze; do
    if ! command -v "$tool" >/dev/null; then
        echo "check-install: $tool is missing; run tools/install-deps.sh" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-install-check.XXXXXX")
child=""
cleanup() {
    if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
root=$work/root
prefix=/usr
case $mode in
--cmake-install) DESTDIR=$root cmake --install "$source" --prefix "$prefix" >"$work/install.log" ;;
--deb) dpkg-deb -x "$source" "$root" ;;
*) usage ;;
esac
installed=$root$prefix
exe=$installed/bin/tolvane

fail() {
    echo "check-install: FAILED: $*" >&2
    exit 1
}
pass() { echo "check-install: ok: $*"; }

# --- what the desktop reads -------------------------------------------------------------------
desktop=$(ls "$installed"/share/applications/*.desktop)
metainfo=$(ls "$installed"/share/metainfo/*.metainfo.xml)
app_id=$(basename "$desktop" .desktop)
[ "$(basename "$metainfo" .metainfo.xml)" = "$app_id" ] || fail "metainfo and desktop entry have different ids"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
pass "desktop-file-validate $(basename "$desktop")"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
pass "appstreamcli validate --no-net $(basename "$metainfo")"
for size in 48x48 64x64 128x128 256x256; do
    icon=$installed/share/icons/hicolor/$size/apps/$app_id.png
    [ -f "$icon" ] || fail "no $size icon at $icon"
done
[ -f "$installed/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
for page in man/de/man1/tolvane.1.gz man/fr/man1/tolvane.1.gz; do
    [ -f "$installed/share/$page" ] || fail "no share/$page"
done
for help in Help.rtf Help.de.rtf Help.fr.rtf; do
    [ -f "$installed/share/tolvane/$help" ] || fail "no share/tolvane/$help"
done
[ -f "$installed/share/doc/tolvane/copyright" ] || fail "no share/doc/tolvane/copyright"
[ -f "$installed/share/doc/tolvane/changelog.gz" ] || fail "no share/doc/tolvane/changelog.gz"
pass "icons, Help.rtf, copyright and changelog are installed"

# --- the recorder's user unit -----------------------------------------------------------------
unit=$installed/lib/systemd/user/tolvane-record.service
[ -f "$unit" ] || fail "no lib/systemd/user/tolvane-record.service"
grep -qx "ExecStart=$prefix/bin/tolvane --record" "$unit" || fail "the unit does not start $prefix/bin/tolvane --record"
grep -qx "Restart=on-failure" "$unit" || fail "the unit is not restarted on failure"
# systemd-analyze checks that the command exists, where the unit names it: a copy naming the
# program in the temporary root. It warns about a wrong line and still exits 0, so any output fails.
sed "s#^ExecStart=$prefix/bin/tolvane #ExecStart=$exe #" "$unit" >"$work/tolvane-record.service"
if ! verify=$(systemd-analyze verify --man=no "$work/tolvane-record.service" 2>&1) || [ -n "$verify" ]; then
    fail "systemd-analyze verify tolvane-record.service: $verify"
fi
pass "systemd-analyze verify tolvane-record.service"

# --- the manual page knows every option -------------------------------------------------------
help_text=$("$exe" --help)
grep -q 'XDG_DATA_HOME' <<<"$help_text" || fail "--help does not say where an installed program keeps its folder"
manual=$(zcat "$installed/share/man/man1/tolvane.1.gz")
for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help_text" | sort -u); do
    grep -qF -- "${option//-/\\-}" <<<"$manual" || fail "the manual page does not describe $option"
done
pass "the manual page describes every option of --help"

# --- the installed program as a new user starts it --------------------------------------------
# One start under Xvfb: waits for the Help window (up to two minutes: a debug build starting on a
# machine busy with a parallel test run can take far longer than the usual second), then ends
# the program.
#   $1 executable, $2 file to write the window list to; the environment is the caller's.
start_and_wait_for_help() {
    # xvfb-run -a picks the first display number without a lock file; two runs at the same moment
    # (parallel test runs on one machine) can pick the same one, and the loser's program finds
    # no display it may use. That start is tried again; any other failure counts.
    local attempt
    for attempt in 1 2 3; do
        if start_once_and_wait_for_help "$@" 2>"$work/start.err"; then
            cat "$work/start.err" >&2
            return 0
        fi
        cat "$work/start.err" >&2
        grep -q 'could not connect to display' "$work/start.err" || return 1
        echo "check-install: no display for this start (attempt $attempt), trying again" >&2
    done
    return 1
}

start_once_and_wait_for_help() {
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        "$1" & pid=$!
        for _ in $(seq 1 1200); do
            if xwininfo -root -tree >"$2" 2>/dev/null && grep -q "\"Readme/Help\"" "$2"; then
                kill "$pid"; wait "$pid" 2>/dev/null; exit 0
            fi
            kill -0 "$pid" 2>/dev/null || { echo "the program ended by itself" >&2; exit 1; }
            sleep 0.1
        done
        kill "$pid"; wait "$pid" 2>/dev/null; exit 1' start "$1" "$2"
}

snapshot() { (cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort); }

new_user() {  # a fresh HOME and nothing that points Tolvane elsewhere
    local name=$1
    mkdir -p "$work/$name/home" "$work/$name/cwd" "$work/$name/runtime"
    chmod 700 "$work/$name/runtime"
    unset TOLVANE_HOME XDG_DATA_HOME XDG_CONFIG_HOME
    export HOME=$work/$name/home XDG_RUNTIME_DIR=$work/$name/runtime
    cd "$work/$name/cwd"
}

check_program_folder() {  # $1 folder, $2 what it is
    local list=$1/00camlist.txt
    [ -f "$list" ] || fail "$2: no $list"
    [ "$(stat -c %s "$list")" = 2 ] || fail "$2: $list is $(stat -c %s "$list") bytes, not 2"
    [ "$(od -An -c "$list" | tr -d ' ')" = '\r\n' ] || fail "$2: $list does not hold one empty line (CR LF)"
    [ -d "$1/cam" ] || fail "$2: no cam folder in $1"
}

before=$(snapshot)

(
    new_user first
    start_and_wait_for_help "$exe" "$work/first/windows" || fail "first start: no Help window appeared"
    check_program_folder "$HOME/.local/share/tolvane" "first start, XDG_DATA_HOME unset"
    [ -z "$(ls -A "$work/first/cwd")" ] || fail "first start wrote into the current folder"
)
pass "first start: ~/.local/share/tolvane/00camlist.txt (2 bytes) and cam/ created, Help shown"

(
    new_user xdg
    export XDG_DATA_HOME=$work/xdg/data
    start_and_wait_for_help "$exe" "$work/xdg/windows" || fail "XDG_DATA_HOME start: no Help window appeared"
    check_program_folder "$XDG_DATA_HOME/tolvane" "XDG_DATA_HOME set"
    [ ! -e "$HOME/.local/share/tolvane" ] || fail "XDG_DATA_HOME set, yet ~/.local/share/tolvane was made"
)
pass "XDG_DATA_HOME/tolvane is the program folder when XDG_DATA_HOME is set"

# The installed recorder, as the user service runs it: no display, the user's program folder, a
# cam on a loopback web server (python3's, whose Last-Modified follows the file) whose picture
# changes every second. A picture must be saved, SIGTERM must end it with 0, and --status must
# say it stopped.
(
    new_user recorder
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
    folder=$HOME/.local/share/tolvane
    web=$work/recorder/web
    mkdir -p "$folder" "$web"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    printf '\r\n[name]Yard\r\nhttp://127.0.0.1:%s/cam.jpg\r\n1\r\n\r\n' "$port" >"$folder/00camlist.txt"
    picture() {  # $1: a colour ffmpeg knows, $2: the file's time in seconds from now
        ffmpeg -loglevel error -y -f lavfi -i "color=c=$1:s=64x48" -frames:v 1 "$web/next.jpg" &&
            touch -d "@$(($(date +%s) + $2))" "$web/next.jpg" && mv "$web/next.jpg" "$web/cam.jpg"
    }
    picture red 0 || fail "recorder: ffmpeg could not make a test picture"
    python3 -m http.server --bind 127.0.0.1 --directory "$web" "$port" >"$work/recorder/web.log" 2>&1 &
    server=$!
    recorder=""
    trap 'kill $server $recorder 2>/dev/null || true' EXIT  # also when a check below fails
    for _ in $(seq 1 100); do
        python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
        sleep 0.1
    done
    "$exe" --record --open Yard 2>"$work/recorder/record.err" &
    recorder=$!
    saved=""
    for step in $(seq 1 30); do
        sleep 1
        picture "$(sed -n "$((step % 3 + 1))p" <<<$'green\nblue\nyellow')" "$step" || break
        saved=$(find "$folder/cam" -name '*.jpg' 2>/dev/null | head -1)
        [ -n "$saved" ] && break
        kill -0 "$recorder" 2>/dev/null || break
    done
    kill -TERM "$recorder" 2>/dev/null
    status=0
    wait "$recorder" || status=$?
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null || true
    cat "$work/recorder/record.err" >&2
    [ -n "$saved" ] || fail "the installed recorder saved no picture in $folder/cam"
    [ "$status" = 0 ] || fail "the installed recorder ended with $status after SIGTERM, not 0"
    "$exe" --status | grep -q '^recorder: stopped at ' || fail "tolvane --status does not say the recorder stopped"
)
pass "the installed recorder saved a picture in ~/.local/share/tolvane/cam and stopped cleanly on SIGTERM"

after=$(snapshot)
if [ "$before" != "$after" ]; then
    diff <(echo "$before") <(echo "$after") >&2 || true
    fail "the program wrote into the installed tree"
fi
pass "nothing was written into the installed tree"

# Without share/tolvane/Help.rtf the built-in copy is shown.
rm "$installed/share/tolvane/Help.rtf"
(
    new_user builtin
    start_and_wait_for_help "$exe" "$work/builtin/windows" || fail "without the installed Help.rtf: no Help window"
)
pass "without share/tolvane/Help.rtf the Help window shows the built-in copy"

# A copy of the executable on its own is portable: its folder is the program folder.
mkdir -p "$work/portable/app"
cp "$exe" "$work/portable/app/tolvane"
(
    new_user portable
    start_and_wait_for_help "$work/portable/app/tolvane" "$work/portable/windows" ||
        fail "portable copy: no Help window appeared"
    check_program_folder "$work/portable/app" "portable copy"
    [ ! -e "$HOME/.local/share/tolvane" ] || fail "portable copy used ~/.local/share/tolvane"
)
pass "a portable copy keeps its program folder beside the executable"
echo "check-install: all checks passed"
