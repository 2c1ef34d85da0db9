#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as a user would
# meet it: the files it holds and where, its control fields, the desktop entry,
# the metainfo, every man page, and the programs it holds run on a generated
# sample. Also installs the same build under another prefix and checks the tree.
#
# The package is not installed on this machine: it is unpacked into a
# throwaway root, and apt-get only simulates its installation, which proves
# its dependencies can be met. Installing it for real would put Kiv's programs
# on every user's PATH of a shared machine (test runs elsewhere would then
# find this TORBLEN) and would outlive a failed run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/package.sh >/dev/null
version=$(sed -n 's/^project(Kiv VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
deb=build/package/kiv_${version}_${arch}.deb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "package check: $*" >&2; failures=$((failures + 1)); }

[ -f "$deb" ] || { echo "package check: $deb was not made" >&2; exit 1; }

# The files, all under /usr, exactly the expected ones (folders aside).
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '/$' | grep -v '^$' | LC_ALL=C sort > "$work/files"
if ! diff -u dist/package-files.txt "$work/files" >&2; then fail "the package's files differ from dist/package-files.txt"; fi
if dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | grep -v '^usr/' >&2; then
  fail "files outside /usr"
fi

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kiv ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for need in fonts-ipafont-gothic qt6-translations-l10n libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6network6; do
  [[ ", $depends," == *", $need"[\ ,]* ]] || fail "Depends lacks $need: $depends"
done

# Its dependencies can be met here (nothing is installed).
if ! apt-get install --simulate -qq "./$deb" >"$work/apt.log" 2>&1; then
  cat "$work/apt.log" >&2
  fail "apt-get can't install the package"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
id=jp.orvanta.Kiv

# The monthly timer and its service, as systemd reads them (pointed at the
# unpacked kiv-batch, since nothing is installed here): no warning at all.
units=$root/usr/lib/systemd/user
grep -q '^ExecStart=/usr/bin/kiv-batch maintain ' "$units/kiv-maintain.service" ||
  fail "kiv-maintain.service does not run /usr/bin/kiv-batch maintain"
grep -q '^WantedBy=timers.target' "$units/kiv-maintain.timer" || fail "kiv-maintain.timer is not wanted by timers.target"
mkdir "$work/units"
for unit in kiv-maintain.service kiv-maintain.timer; do
  sed "s|=/usr/bin/kiv-batch|=$root/usr/bin/kiv-batch|" "$units/$unit" >"$work/units/$unit"
done
verified=$(systemd-analyze verify --man=no "$work/units/kiv-maintain.timer" "$work/units/kiv-maintain.service" 2>&1) ||
  fail "systemd-analyze verify failed: $verified"
[ -z "$verified" ] || fail "systemd-analyze verify warns: $verified"

desktop-file-validate "$share/applications/$id.desktop" >&2 || fail "the desktop entry is not valid"
for key in 'Name=' 'Name\[ja\]=' 'Comment=' 'Comment\[ja\]=' 'Categories=' "Icon=$id\$" 'Exec=Kiv'; do
  grep -q "^$key" "$share/applications/$id.desktop" || fail "the desktop entry lacks $key"
done
appstreamcli validate --no-net --explain "$share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log" >&2; fail "the metainfo is not valid"; }
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$share/metainfo/$id.metainfo.xml" | head -n 1)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is $newest, the project's is $version"
grep -q '<screenshot' "$share/metainfo/$id.metainfo.xml" || fail "the metainfo shows no screenshot"

# Each icon is a PNG of its folder's size.
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  read -r -a ihdr < <(od -An -tu1 -j16 -N8 "$png")
  w=$(( (ihdr[0] << 24) | (ihdr[1] << 16) | (ihdr[2] << 8) | ihdr[3] ))
  h=$(( (ihdr[4] << 24) | (ihdr[5] << 16) | (ihdr[6] << 8) | ihdr[7] ))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x$h"
done

# Every man page renders without a warning, in English and in Japanese.
for page in "$share"/man/man1/*.1.gz "$share"/man/ja/man1/*.1.gz; do
  if ! LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/page" 2>"$work/warnings" ||
     [ -s "$work/warnings" ] || [ ! -s "$work/page" ]; then
    cat "$work/warnings" >&2
    fail "man page ${page#"$root"} does not render cleanly"
  fi
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$share/man/man1/kiv-batch.1.gz" >"$work/page" 2>/dev/null
for option in list analyze split session undo export maintain --rooms --number --kind --method --form --bak \
              --overwrite --export --json --forums --keep --help --version 'EXIT STATUS' EXAMPLES; do
  grep -q -- "$option" "$work/page" || fail "kiv-batch(1) does not tell of $option"
done

# The programs answer --help and --version without a display, Kiv's manual
# and TORBLEN are where Kiv looks for them, and kiv-batch works on a sample.
bin=$root/usr/bin
for program in Kiv kiv-batch TORBLEN MIRVASTO; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/$program" --version 2>&1) ||
    fail "$program --version failed: $out"
  expected="$program (Kiv) $version"
  [ "$program" = Kiv ] && expected="Kiv $version"
  [ "$out" = "$expected" ] || fail "$program --version says '$out'"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/$program" --help 2>&1) ||
    fail "$program --help failed: $out"
  [[ "$out" == "usage: $program"* ]] || fail "$program --help says '$out'"
done
[ -f "$bin/../share/doc/kiv/Kiv.html" ] || fail "the manual is not where Kiv looks for it"
[ -x "$bin/TORBLEN" ] || fail "TORBLEN is not beside Kiv"
sample=$work/sample
build/package-build/bin/kiv-samplegen "$sample" --seed 3 --forums 1 --rooms 2 >/dev/null
forum=$sample/FORUM1
if ! "$bin/kiv-batch" analyze "$forum" >"$work/rows" 2>"$work/err"; then cat "$work/err" >&2; fail "kiv-batch analyze failed"; fi
awk -F'\t' 'NF != 6 || $5 == "-" && $3 != "不明" { bad = 1 } END { exit bad || NR == 0 }' "$work/rows" ||
  fail "kiv-batch analyze printed unexpected rows: $(cat "$work/rows")"
if ! printf 'split --rooms 1\nundo --rooms 1\nsplit --rooms 1,2 --method 1 --number 10 --export\n' |
     "$bin/kiv-batch" session "$forum" >/dev/null 2>"$work/err"; then
  cat "$work/err" >&2
  fail "kiv-batch session failed"
fi
[ -s "$forum/AR.LST" ] || fail "kiv-batch's export left no AR.LST"

# The same build installed under another prefix holds the same files there.
prefix=$work/elsewhere/kiv
cmake --install build/package-build --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./|usr/|' | LC_ALL=C sort > "$work/installed"
if ! diff -u dist/package-files.txt "$work/installed" >&2; then fail "cmake --install under another prefix differs"; fi

if [ "$failures" -ne 0 ]; then
  echo "package check: $failures failure(s) in $deb" >&2
  exit 1
fi
echo "package check: $deb is sound ($(wc -l < "$work/files") files; Depends: $depends)"
