#!/usr/bin/env bash
# Checks a built package: lintian finds no error in it; its files and dependencies, its
# changelog, the desktop entry, the icon, the manual pages and the .qrv file type; the
# collection timer (both units verified by systemd, the sample fleet file a conffile) and
# the maintainer scripts that make and remove its user, run in a temporary folder; then
# unpacks it into a throwaway root, where the installed command-line tool must run on the
# installed data, a recording must be known by its name and by its first bytes, and
# opening it as a file manager does must start quorzk with the file.
#   bash scripts/check_package.sh build-deb/quorzk_0.1_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$1
fail() { echo "package check: $*" >&2; exit 1; }
recording=tests/recording/golden/cold_store.qrv
mime=application/x-quorzk-recording

# Debian's own checks of a package: an error fails the check (lintian's status 2, as
# --fail-on error has it); warnings are shown. Run as root, lintian says it would rather
# not be: that line says nothing of the package.
command -v lintian >/dev/null || fail "lintian is not installed (bash scripts/deps.sh installs it)"
status=0
lintian=$(lintian --fail-on error "$deb" 2>&1) || status=$?
lintian=$(grep -vx 'running with root privileges is not recommended!' <<<"$lintian") || true
[ "$status" -eq 0 ] || [ "$status" -eq 2 ] || fail "lintian could not check $deb: $lintian"
grep '^W: ' <<<"$lintian" >&2 || true
errors=$(grep '^E: ' <<<"$lintian") || true
[ "$status" -eq 0 ] && [ -z "$errors" ] || fail "lintian finds errors in $deb:"$'\n'"${errors:-$lintian}"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/bin/quorzk usr/bin/quorzk-cli usr/bin/quorzk-sim \
         usr/share/quorzk/devices.ini usr/share/quorzk/Default.mdm usr/share/quorzk/help/index.html \
         usr/share/applications/quorzk.desktop usr/share/icons/hicolor/scalable/apps/quorzk.svg \
         usr/share/mime/packages/quorzk.xml usr/share/man/man1/quorzk.1.gz \
         usr/share/man/man1/quorzk-cli.1.gz usr/share/man/man1/quorzk-sim.1.gz \
         usr/share/doc/quorzk/changelog.gz usr/share/doc/quorzk/copyright \
         usr/share/lintian/overrides/quorzk \
         lib/systemd/system/quorzk-collect.service lib/systemd/system/quorzk-collect.timer \
         etc/quorzk/fleet.ini; do
  grep -qx "./$f" <<<"$listing" || fail "$f is not in $deb"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6serialport6 libqt6svg6 fonts-liberation \
         libqt6sql6-sqlite libqt6sql6-psql adduser; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

# The collection timer: the units as systemd reads them, the service running the installed
# quorzk-cli on the sample fleet file as the user quorzk in dialout, the timer hourly and
# catching up, nothing enabled by the package; the sample fleet file is a whole file of
# comments and a store, refused by a collection only for naming no logger yet.
check_timer() {
  local root=$1 control=$2 units=$1/lib/systemd/system
  local service=$units/quorzk-collect.service timer=$units/quorzk-collect.timer
  command -v systemd-analyze >/dev/null || fail "systemd-analyze is not installed (bash scripts/deps.sh installs it)"
  grep -qx 'ExecStart=/usr/bin/quorzk-cli collect --fleet /etc/quorzk/fleet.ini' "$service" ||
    fail "the service does not collect /etc/quorzk/fleet.ini"
  grep -qx 'Type=oneshot' "$service" || fail "the service is not a oneshot"
  grep -qx 'User=quorzk' "$service" || fail "the service does not run as quorzk"
  grep -qx 'SupplementaryGroups=dialout' "$service" || fail "the service is not in the group dialout"
  grep -qx 'OnCalendar=hourly' "$timer" || fail "the timer is not hourly"
  grep -qx 'Persistent=true' "$timer" || fail "the timer does not catch up a missed hour"
  grep -qE '(systemctl|deb-systemd-helper).* enable' "$control/postinst" && fail "the package enables the timer itself"
  # Verified in a root of their own that holds the system's units they depend on, the
  # package's units and the service's program (the unpacked package alone has no
  # sysinit.target); the manual page they name is the package's, not looked up here.
  local out verify
  verify=$(mktemp -d)
  mkdir -p "$verify/usr/lib/systemd/system" "$verify/usr/bin"
  ln -s usr/lib "$verify/lib"
  cp -a /usr/lib/systemd/system/. "$verify/usr/lib/systemd/system/"
  cp "$service" "$timer" "$verify/usr/lib/systemd/system/"
  cp "$root/usr/bin/quorzk-cli" "$verify/usr/bin/"
  out=$(SYSTEMD_LOG_LEVEL=warning systemd-analyze verify --man=no --root="$verify" \
        /lib/systemd/system/quorzk-collect.service /lib/systemd/system/quorzk-collect.timer 2>&1) ||
    { rm -rf "$verify"; fail "systemd-analyze verify refuses the units: $out"; }
  rm -rf "$verify"
  grep -i 'quorzk' <<<"$out" && fail "systemd-analyze verify warns about the units: $out"
  local fleet=$1/etc/quorzk/fleet.ini
  grep -qx 'Url=sqlite:/var/lib/quorzk/fleet.sqlite' "$fleet" || fail "the sample fleet file keeps no store in /var/lib/quorzk"
  check_maintainer_scripts "$control"
}

# The maintainer scripts, run with stand-ins for the commands that change the system
# (adduser, deluser, getent, chown, systemctl, deb-systemd-helper, deb-systemd-invoke) and
# DPKG_ROOT in a temporary folder.
check_maintainer_scripts() {
  local control=$1 t
  t=$(mktemp -d)
  for s in postinst prerm postrm; do sh -n "$control/$s" || fail "$s does not parse"; done
  mkdir -p "$t/bin" "$t/root"
  # Each stand-in notes its call; the user exists from adduser --system to deluser.
  for c in adduser deluser delgroup chown systemctl deb-systemd-helper deb-systemd-invoke; do
    cat > "$t/bin/$c" <<STUB
#!/bin/sh
echo "$c \$*" >> "$t/log"
case "$c \$*" in
  "adduser --system"*) touch "$t/user" ;;
  "deluser --system"*) rm -f "$t/user" ;;
esac
STUB
  done
  printf '#!/bin/sh\n[ -e "%s/user" ]\n' "$t" > "$t/bin/getent"
  chmod +x "$t"/bin/*
  run() { env PATH="$t/bin:/usr/bin:/bin" DPKG_ROOT="$t/root" sh -e "$control/$1" "$2" || fail "$1 $2 failed"; }
  run postinst configure
  grep -q '^adduser --system --group --home /var/lib/quorzk .*quorzk$' "$t/log" || fail "postinst makes no system user quorzk"
  grep -qx 'adduser quorzk dialout' "$t/log" || fail "postinst does not put quorzk in dialout"
  [ -d "$t/root/var/lib/quorzk" ] || fail "postinst makes no /var/lib/quorzk"
  : > "$t/log"
  run postinst configure # an upgrade: the user is there
  grep -q -- '--system' "$t/log" && fail "postinst makes the user quorzk again on an upgrade"
  run prerm remove
  run postrm remove
  [ -e "$t/user" ] && [ -d "$t/root/var/lib/quorzk" ] || fail "removing the package took the user quorzk or its store"
  touch "$t/root/var/lib/quorzk/fleet.sqlite"
  run postrm purge 2> "$t/said"
  grep -q '^deb-systemd-helper purge quorzk-collect.timer' "$t/log" || fail "purging the package leaves the timer's links"
  [ ! -e "$t/user" ] || fail "purging the package left the user quorzk"
  [ -e "$t/root/var/lib/quorzk/fleet.sqlite" ] || fail "purging the package deleted the collected store"
  grep -q 'fleet store in /var/lib/quorzk is kept' "$t/said" || fail "purging the package keeps the store without a word"
  rm "$t/root/var/lib/quorzk/fleet.sqlite"
  run postrm purge
  [ ! -e "$t/root/var/lib/quorzk" ] || fail "purging the package left an empty /var/lib/quorzk"
  rm -rf "$t"
}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
share=$root/usr/share
mkdir -p "$root/home" "$root/nowhere" "$root/files"
chmod 700 "$root/home" # it is also the runtime folder, which Qt wants private
# A user with nothing of the real one's: no desktop, no settings, no data folders.
clean=(env -i "PATH=/usr/bin:/bin" "HOME=$root/home" "LANG=C.UTF-8" "XDG_DATA_HOME=$root/home/.local/share"
       "XDG_CONFIG_HOME=$root/home/.config" "XDG_CONFIG_DIRS=$root/nowhere" "XDG_RUNTIME_DIR=$root/home")

control=$root/DEBIAN
dpkg-deb -e "$deb" "$control"
grep -qx /etc/quorzk/fleet.ini "$control/conffiles" || fail "/etc/quorzk/fleet.ini is no conffile"
check_timer "$root" "$control"

desktop=$share/applications/quorzk.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
grep -qx 'Exec=quorzk %F' "$desktop" || fail "the desktop entry does not pass files to quorzk"
grep -qx "MimeType=$mime;" "$desktop" || fail "the desktop entry does not open $mime"
xmllint --noout "$share/mime/packages/quorzk.xml" "$share/icons/hicolor/scalable/apps/quorzk.svg"

# The package's changelog speaks of this version, by the package's maintainer.
for field in Version Maintainer; do
  logged=$(zcat "$share/doc/quorzk/changelog.gz" | dpkg-parsechangelog -l - -S "$field")
  control=$(dpkg-deb -f "$deb" "$field")
  [ "$logged" = "$control" ] || fail "the changelog's newest entry has $field '$logged', the package '$control'"
done

# The manual pages render cleanly; quorzk-cli's describes every command the tool lists and
# every option of each command's --help,
# quorzk-sim's every option of its --help.
if command -v man >/dev/null; then
  for program in quorzk quorzk-cli quorzk-sim; do
    warnings=$("${clean[@]}" MANWIDTH=80 man --warnings -l "$share/man/man1/$program.1.gz" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || fail "$program.1 has warnings: $warnings"
  done
fi
cli=$root/usr/bin/quorzk-cli
page=$share/man/man1/quorzk-cli.1.gz
help=$("${clean[@]}" "$cli" help) || fail "quorzk-cli help failed"
for c in $(sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' <<<"$help"); do
  zgrep -q "^\.BI\? \"\?$c\b" "$page" || fail "the man page does not describe the command '$c'"
  # ... and every option its --help lists.
  options=$("${clean[@]}" "$cli" "$c" --help) || fail "quorzk-cli $c --help failed"
  for o in $(grep -oE '^  (-h, )?--[a-z-]+' <<<"$options" | grep -oE -- '--[a-z-]+'); do
    zgrep -qE "^\.B[IR]? ${o//-/\\\\-}( |$)" "$page" || fail "quorzk-cli.1 does not describe the option $o of $c"
  done
done
help=$("${clean[@]}" "$root/usr/bin/quorzk-sim" --help) || fail "quorzk-sim --help failed"
for o in $(grep -oE '^  --[a-z-]+' <<<"$help"); do
  zgrep -qE "^\.B[IR]? ${o//-/\\\\-}( |$)" "$share/man/man1/quorzk-sim.1.gz" ||
    fail "quorzk-sim.1 does not describe the option $o"
done

# The installed tool reads a recording with the catalogue from its share/quorzk (and from
# nowhere else: the desktop's data folders hold nothing here).
info=$("${clean[@]}" "XDG_DATA_DIRS=$root/nowhere" "$cli" info "$recording") ||
  fail "the installed quorzk-cli info failed"
grep -q '^Serial Number      : 0815' <<<"$info" || fail "unexpected information text: $info"
mv "$share/quorzk/devices.ini" "$root/devices.ini"
if "${clean[@]}" "XDG_DATA_DIRS=$root/nowhere" "$cli" info "$recording" >/dev/null 2>&1; then
  fail "quorzk-cli info read the recording without the installed catalogue"
fi
mv "$root/devices.ini" "$share/quorzk/devices.ini"

# The desktop as the package's triggers leave it: the file type and the menu entry known.
desk=("${clean[@]}" "XDG_DATA_DIRS=$share:/usr/share")
"${desk[@]}" update-mime-database "$share/mime"
"${desk[@]}" update-desktop-database "$share/applications"
cp "$recording" "$root/files/cold_store.qrv"
cp "$recording" "$root/files/recording"            # no name to go by: the first bytes tell
printf 'QUORVANT is a word\n' > "$root/files/notes.txt"
expect_type() {
  local got
  got=$("${desk[@]}" xdg-mime query filetype "$1") || fail "xdg-mime query filetype $1 failed"
  [ "${got%%;*}" = "$2" ] || fail "$1 is $got, expected $2"
}
expect_type "$root/files/cold_store.qrv" "$mime"
expect_type "$root/files/recording" "$mime"
expect_type "$root/files/notes.txt" text/plain
default=$("${desk[@]}" xdg-mime query default "$mime")
[ "$default" = quorzk.desktop ] || fail "recordings open with '$default', not quorzk.desktop"

# A double click: open the recording as a desktop without its own file manager does
# (xdg-open). A stand-in quorzk first on the PATH notes what it was started with.
mkdir -p "$root/stub"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s"\n' "$root/opened" > "$root/stub/quorzk"
chmod +x "$root/stub/quorzk"
"${desk[@]}" "PATH=$root/stub:/usr/bin:/bin" WAYLAND_DISPLAY=quorzk-check xdg-open "$root/files/cold_store.qrv" ||
  fail "xdg-open of a recording failed"
[ "$(cat "$root/opened" 2>/dev/null)" = "$root/files/cold_store.qrv" ] ||
  fail "a double click did not start quorzk with the recording"
echo "package check: $deb is complete and installs"
