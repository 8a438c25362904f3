#!/usr/bin/env bash
# Installs the Debian packages as a user does, with apt, into a clean Debian 12 system that has
# nothing but what apt brings for them, and checks what they bring and what their removal leaves.
#
#   scripts/check-deb.sh [--allow-skip] [BUILD_DIR=build-deb]
#
#   1. build     scripts/build-deb.sh makes rizari_VERSION_ARCH.deb and rizari-dev_VERSION_ARCH.deb
#   2. contents  Debian's places for the files, the computed dependencies, and lintian with no error
#   3. roots     a minimal bookworm (debootstrap --variant=minbase), built once and kept in
#                $RIZARI_BOOKWORM_ROOT (default /var/cache/rizari/bookworm-clean), and a copy of it
#                with a compiler, cmake, pkg-config and man-db beside it (bookworm-tools); a root
#                whose build did not finish is built again. They are never changed: each of the two
#                runs below works on an overlay of one (a copy where overlayfs is missing) that
#                goes with the run. Downloaded packages are kept in bookworm-apt for later runs.
#   4. runtime   apt installs rizari from its file, its dependencies from the archive; the runner on
#                PATH draws examples into PNG files and onto standard output with the gnuplot apt
#                chose; apt remove leaves no file of the package, and purging what apt brought with
#                it leaves the root with the files it had before.
#   5. dev       on the root with the tools: rizari-dev alone, then examples/cpp built with
#                find_package and with pkg-config against /usr and run; then rizari and
#                `man rizari`; removal as in 4.
#
# apt installs no recommended packages here: what a package depends on must be enough (a user's
# apt adds the recommended ones on top).
#
# The mounts are made in a private mount namespace, undone on exit whatever happens, and vanish
# with the namespace even if this script is killed.
#
#   --allow-skip  when the clean root cannot be had (not root, no network for debootstrap and apt,
#                 no chroot), print one line saying why and exit 0 instead of 3
#
# Every check prints one line, "ok" or "FAILED", and the script ends with "N passed, M failed".
# Exit status: 0 when every check passed; 1 when one failed; 2 for a usage error; 3 when the
# check was skipped (0 with --allow-skip).
set -euo pipefail

me=check-deb
usage() {
    echo "usage: $0 [--allow-skip] [BUILD_DIR]" >&2
    exit 2
}

arguments=("$@")
allow_skip=0 build_arg=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --allow-skip) allow_skip=1 ;;
        -*) usage ;;
        *) [[ -z "$build_arg" ]] || usage; build_arg=$1 ;;
    esac
    shift
done

source_dir=$(cd "$(dirname "$0")/.." && pwd -P)
. "$source_dir/scripts/debian-root.sh"
build_dir=${build_arg:-$source_dir/build-deb}

# What the line of a skipped check says (skip, scripts/debian-root.sh).
unchecked="the packages were not checked in a clean system"

root=${RIZARI_BOOKWORM_ROOT:-/var/cache/rizari/bookworm-clean}
apt_cache=$(dirname "$root")/bookworm-apt
mirror=${RIZARI_DEBIAN_MIRROR:-http://deb.debian.org/debian}
marker=.rizari-root-complete

[[ $(id -u) -eq 0 ]] || skip "it needs root (apt, debootstrap, chroot and mounts)"
[[ "$root" == /* && "$root" != / ]] || { echo "$me: RIZARI_BOOKWORM_ROOT must be an absolute path other than /" >&2; exit 2; }
in_private_mounts RIZARI_DEB_PRIVATE_MOUNTS "${arguments[@]}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rizari-deb.XXXXXX")
scratch=$(cd "$scratch" && pwd -P)
cleanup() {
    unmount_all
    rm -rf --one-file-system "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

passed=0 failed=0
# check NAME COMMAND...: runs the command quietly and prints one line for it, then the notes the
# command made.
check() {
    local name=$1; shift
    : >"$scratch/notes"
    if "$@" >"$scratch/check.log" 2>&1; then
        passed=$((passed + 1))
        echo "  ok      $name"
    else
        failed=$((failed + 1))
        echo "  FAILED  $name"
        sed 's/^/          /' "$scratch/check.log" | tail -n 25
    fi
    sed 's/^/          note: /' "$scratch/notes"
}
note() { echo "$*" >>"$scratch/notes"; }
stage_start=$SECONDS
stage_end() { echo "$me: stage $1: $((SECONDS - stage_start)) s${2:+ ($2)}"; stage_start=$SECONDS; }

# ---- Stage 1: the packages ------------------------------------------------------------------
echo "$me: building the packages in $build_dir"
if ! "$source_dir/scripts/build-deb.sh" "$build_dir" >"$scratch/debs" 2>"$scratch/build.log"; then
    tail -n 30 "$scratch/build.log" >&2
    echo "$me: the packages could not be built" >&2
    exit 1
fi
runtime_deb="" dev_deb=""
while read -r deb; do
    case "$(dpkg-deb -f "$deb" Package)" in
        rizari) runtime_deb=$deb ;;
        rizari-dev) dev_deb=$deb ;;
    esac
done <"$scratch/debs"
[[ -n "$runtime_deb" && -n "$dev_deb" ]] || { echo "$me: cpack did not make rizari and rizari-dev" >&2; exit 1; }
version=$(dpkg-deb -f "$runtime_deb" Version)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
stage_end build "an optimised build for /usr with Debian's flags in $build_dir, and cpack"

# ---- Stage 2: what the packages hold ---------------------------------------------------------
for deb in "$runtime_deb" "$dev_deb"; do
    echo "$me: $(basename "$deb"): $(stat -c %s "$deb") bytes, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
    dpkg-deb -f "$deb" Package Version Architecture Section Depends Suggests Maintainer | sed 's/^/    /'
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { printf "    %8s %s\n", $3, $6 }'
done

# has_files DEB PATH...: the package holds each path.
has_files() {
    local deb=$1 path; shift
    dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' >"$scratch/contents"
    for path in "$@"; do grep -qxF "$path" "$scratch/contents" || { echo "missing: $path"; return 1; }; done
}
# only_under_usr DEB: every file and folder of the package lies under /usr.
only_under_usr() { ! dpkg-deb -c "$1" | awk '{ print $6 }' | grep -v -e '^\./$' -e '^\./usr/'; }
# own_documents_only: no package puts a file into the other's documents folder.
own_documents_only() {
    ! dpkg-deb -c "$runtime_deb" | awk '{ print $6 }' | grep '^\./usr/share/doc/rizari-dev/' &&
        ! dpkg-deb -c "$dev_deb" | awk '{ print $6 }' | grep '^\./usr/share/doc/rizari/'
}
computed_depends() { dpkg-deb -f "$1" Depends | grep -q 'libc6 (>= '; }
file_name_is_debian_default() {
    [[ "$(basename "$1")" == "$(dpkg-deb -f "$1" Package)_${version}_${arch}.deb" ]]
}

echo "$me: contents"
check "the runner, the module and libzu.so, the manual page and the documents in Debian's places" \
    has_files "$runtime_deb" /usr/bin/rizari "/usr/lib/$multiarch/rizari/librizari.dl" \
    "/usr/lib/$multiarch/rizari/libzu.so" /usr/share/man/man1/rizari.1.gz \
    /usr/share/doc/rizari/copyright /usr/share/doc/rizari/changelog.gz /usr/share/doc/rizari/reference.md
check "the library, headers, CMake package and rizari.pc in Debian's places" \
    has_files "$dev_deb" /usr/include/rizari/cplot.h /usr/include/rizari/codes.h /usr/include/rizari/plot.h \
    "/usr/lib/$multiarch/librizari.a" \
    "/usr/lib/$multiarch/cmake/rizari/rizariConfig.cmake" "/usr/lib/$multiarch/pkgconfig/rizari.pc" \
    /usr/share/doc/rizari-dev/copyright /usr/share/doc/rizari-dev/changelog.gz \
    /usr/share/doc/rizari-dev/cpp.md /usr/share/doc/rizari-dev/reference.md
check "each package's documents in its own folder only" own_documents_only
for deb in "$runtime_deb" "$dev_deb"; do
    name=$(dpkg-deb -f "$deb" Package)
    check "$name: named as Debian names packages ($(basename "$deb"))" file_name_is_debian_default "$deb"
    check "$name: nothing outside /usr" only_under_usr "$deb"
done
check "rizari: depends on the shared libraries its binaries link (dpkg-shlibdeps)" computed_depends "$runtime_deb"

"$source_dir/scripts/install-deps.sh" lintian >/dev/null
lintian_clean() {
    lintian --fail-on error "$runtime_deb" "$dev_deb" 2>&1 |
        grep -v '^running with root privileges' | tee "$scratch/lintian.log"
    return "${PIPESTATUS[0]}"
}
check "lintian: no error" lintian_clean
echo "$me: lintian says:"
if [[ -s "$scratch/lintian.log" ]]; then sed 's/^/    /' "$scratch/lintian.log"; else echo "    nothing"; fi
stage_end contents

# ---- The systems ----------------------------------------------------------------------------
system="" # the root of the system that the commands below work in

# enter_system DIR: gives the system in DIR its /proc and /dev, the kept downloads and the host's
# name servers, and brings apt's package lists up to date.
enter_system() {
    system=$1
    mount_at -t proc proc "$system/proc"
    mount_at --bind /dev "$system/dev"
    mount_at --bind "$apt_cache" "$system/var/cache/apt/archives"
    cp -L /etc/resolv.conf "$system/etc/resolv.conf"
    apt_in_system update >"$scratch/apt-update.log" 2>&1 ||
        skip "apt-get update failed in the clean root (no network?): $(grep -E '^(E|W):' "$scratch/apt-update.log" | tail -n 1)"
}
# leave_system: undoes the mounts of enter_system.
leave_system() {
    local i
    for i in 1 2 3; do
        umount "${mounted[-1]}"
        unset 'mounted[-1]'
    done
}

# new_system NAME LOWER: a fresh system on top of the cached root LOWER, which stays as it is,
# with the packages in /tmp/check.
new_system() {
    local base="$scratch/$1" lower=$2
    mkdir -p "$base/upper" "$base/work" "$base/merged"
    if ! mount_at -t overlay overlay -o "lowerdir=$lower,upperdir=$base/upper,workdir=$base/work" "$base/merged" 2>/dev/null; then
        cp -a "$lower/." "$base/merged/"
    fi
    enter_system "$base/merged"
    mkdir -p "$system/tmp/check"
    cp "$runtime_deb" "$dev_deb" "$system/tmp/check/"
    chmod 0755 "$system/tmp/check"
}

# in_system COMMAND...: runs a command in the current system, with a clean environment.
in_system() {
    chroot "$system" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin \
        HOME=/tmp/check LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
# apt without the recommended packages: what a package depends on must be enough. dpkg skips its
# syncs, which only protect against a power cut.
apt_in_system() {
    in_system apt-get -q -y -o Dpkg::Use-Pty=0 -o Dpkg::Options::=--force-unsafe-io --no-install-recommends "$@"
}
# ---- Stage 3: the cached roots --------------------------------------------------------------
# The clean root, and the clean root with the tools that stage 5 needs (made again whenever the
# clean root is).
tools=(g++ cmake make pkg-config man-db)
tools_root=$(dirname "$root")/bookworm-tools
mkdir -p "$(dirname "$root")" "$apt_cache"
exec 9<"$(dirname "$root")"
flock 9 # one build at a time; a second check waits and then finds the roots complete
how="cached"
if [[ ! -f "$root/$marker" ]]; then
    how="built"
    debootstrap_root bookworm "$root"
    chroot "$root" /bin/true 2>/dev/null || skip "the new root does not run under chroot here"
    date -u +%FT%TZ >"$root/$marker"
fi
chroot "$root" /bin/true 2>/dev/null || skip "chroot into $root failed (chroot not permitted here?)"
tools_how="cached"
if ! cmp -s "$root/$marker" "$tools_root/$marker"; then
    tools_how="built"
    remove_incomplete "$tools_root"
    echo "$me: building the root with ${tools[*]} in $tools_root"
    mkdir -p "$tools_root"
    cp -a "$root/." "$tools_root/"
    rm "$tools_root/$marker"
    enter_system "$tools_root"
    # man-db without its index: man finds a page without it, and keeping the index up to date
    # after every install is slow.
    echo "man-db man-db/auto-update boolean false" | in_system debconf-set-selections
    apt_in_system install "${tools[@]}" >"$scratch/tools.log" 2>&1 ||
        skip "apt-get could not install ${tools[*]} (no network?): $(grep -E '^(E|W):' "$scratch/tools.log" | tail -n 1)"
    leave_system
    cp "$root/$marker" "$tools_root/$marker"
fi
flock -u 9
exec 9<&-
size() { du -sh --exclude=proc --exclude=sys "$1" 2>/dev/null | cut -f1; }
stage_end roots "$how clean root $root, $(size "$root"); $tools_how root with the tools, $(size "$tools_root")"

installed_packages() {
    # shellcheck disable=SC2016 # dpkg-query's own fields
    in_system dpkg-query -W -f='${db:Status-Abbrev}${Package}\n' | awk '/^ii/ { print substr($0, 4) }' | LC_ALL=C sort
}

# before_install: what the system has before an install: its files, less what apt, dpkg and logs
# keep about themselves, the temporary folders and the mounts; and its packages.
file_list() {
    (cd "$system" && find . \( -path ./proc -o -path ./dev -o -path ./sys -o -path ./run -o -path ./tmp \
        -o -path ./var/tmp -o -path ./var/log -o -path ./var/cache/apt -o -path ./var/lib/apt \
        -o -path ./var/lib/dpkg -o -path ./var/cache/debconf -o -path ./var/cache/ldconfig \
        -o -path ./var/cache/man \) -prune -o -print) | LC_ALL=C sort >"$1"
}
before_install() {
    file_list "$scratch/files-before"
    installed_packages >"$scratch/packages-before"
}

# installs FILE...: apt installs the packages from their files, dependencies from the archive.
installs() {
    apt_in_system install "$@" || return 1
    note "apt brought $(installed_packages | comm -13 "$scratch/packages-before" - | wc -l) packages so far"
}

is_png() { [[ "$(head -c 8 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]]; }

# said_nothing: the runner's standard error (in $scratch/stderr) is empty, but for the warning of
# gnuplot-nox on the "set mouse" line that the module writes into every 2D plot.
said_nothing() {
    local mouse='warning: this copy of gnuplot has no mouse support'
    cat "$scratch/stderr"
    if grep -q "$mouse" "$scratch/stderr"; then note "gnuplot-nox: $mouse"; fi
    ! grep -v "$mouse" "$scratch/stderr"
}
# draws SCRIPT [IMAGE]: the installed runner, found on PATH, runs an example in a folder of its own;
# it makes the image, a PNG (onto standard output without IMAGE), and says nothing else.
draws() {
    local script=$1 image=${2:-} work=/tmp/check/work
    mkdir -p "$system$work"
    cp "$source_dir/examples/$script" "$system$work/"
    in_system sh -c "cd $work && exec rizari $script" >"$scratch/stdout" 2>"$scratch/stderr" || return 1
    is_png "${image:+$system$work/}${image:-$scratch/stdout}" && said_nothing
}
gnuplot_runs() {
    # shellcheck disable=SC2016 # dpkg-query's own fields
    note "$(in_system dpkg-query -W -f='${db:Status-Abbrev}${Package} ${Version}\n' 'gnuplot*' | awk '/^ii/ { print substr($0, 4) }')"
    in_system gnuplot --version
}
runner_on_path() { [[ "$(in_system sh -c 'command -v rizari')" == /usr/bin/rizari ]]; }
runner_version() { [[ "$(in_system rizari --version)" == "rizari $version" ]]; }

# removal_leaves_nothing PACKAGE...: apt remove takes every file of the packages, and each of their
# folders that was not there before and holds nothing of another package.
removal_leaves_nothing() {
    local package path left=()
    for package in "$@"; do in_system dpkg -L "$package"; done | LC_ALL=C sort -u >"$scratch/owned"
    apt_in_system remove "$@" || return 1
    while IFS= read -r path; do
        [[ "$path" != /. ]] || continue
        [[ -e "$system$path" || -L "$system$path" ]] || continue
        if [[ -d "$system$path" && ! -L "$system$path" ]]; then
            grep -qxF ".$path" "$scratch/files-before" && continue
            [[ -n "$(ls -A "$system$path")" ]] && continue
        fi
        left+=("$path")
    done <"$scratch/owned"
    for package in "$@"; do
        # shellcheck disable=SC2016 # dpkg-query's own field
        if [[ "$(in_system dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null)" == rc* ]]; then
            left+=("$package: its configuration files")
        fi
    done
    [[ ${#left[@]} -eq 0 ]] || { printf 'left: %s\n' "${left[@]}"; return 1; }
}
# purge_restores: apt autoremove --purge takes what apt brought with the packages, less what an
# installed package suggests or recommends (perl, for one, which perl-base suggests), and a purge
# of those last ones leaves the system with exactly the files it had before the install.
purge_restores() {
    local kept
    apt_in_system autoremove --purge || return 1
    kept=$(installed_packages | comm -13 "$scratch/packages-before" - | tr '\n' ' ')
    if [[ -n "$kept" ]]; then
        note "autoremove kept, as suggested or recommended by an installed package: $kept"
        # shellcheck disable=SC2086 # one word a package
        apt_in_system purge $kept || return 1
    fi
    file_list "$scratch/files-after"
    diff "$scratch/files-before" "$scratch/files-after" | head -n 40
    cmp -s "$scratch/files-before" "$scratch/files-after"
}

# ---- Stage 4: the runtime package alone -----------------------------------------------------
echo "$me: rizari alone, in a clean bookworm"
new_system runtime "$root"
before_install
check "apt installs rizari from its file, its dependencies from the archive" installs "/tmp/check/$(basename "$runtime_deb")"
check "apt brought a gnuplot, and it runs" gnuplot_runs
check "the runner is on PATH" runner_on_path
check "rizari --version gives the package's version" runner_version
check "rizari draws examples/lines.rz into a PNG (pngcairo)" draws lines.rz lines.png
check "rizari draws examples/candlesticks.rz into a PNG (png)" draws candlesticks.rz candlesticks.png
check "rizari draws examples/stream.rz onto standard output" draws stream.rz
check "apt remove rizari leaves no file of it" removal_leaves_nothing rizari
check "purging what it brought leaves the files as before the install" purge_restores
apt_in_system autoclean >/dev/null 2>&1 || true
stage_end runtime

# ---- Stage 5: the development package, and the manual page ----------------------------------
# builds_with HOW: examples/cpp, built against /usr with find_package or with pkg-config, draws.
builds_with() {
    local dir=/tmp/check/$1
    rm -rf "$system$dir"
    mkdir -p "$system$dir"
    cp -R "$source_dir/examples/cpp/." "$system$dir/"
    case "$1" in
        find_package) in_system sh -ec "cmake -S $dir -B $dir/build && cmake --build $dir/build && cd $dir && build/sine sine.png" ;;
        pkg-config) in_system sh -ec "cd $dir && c++ -std=c++20 main.cpp \$(pkg-config --cflags --libs rizari) -o sine && ./sine sine.png" ;;
    esac 2>"$scratch/stderr" || { cat "$scratch/stderr"; return 1; }
    is_png "$system$dir/sine.png" && said_nothing
}
man_renders() {
    [[ "$(in_system man -w rizari)" == /usr/share/man/man1/rizari.1.gz ]] || return 1
    in_system sh -c 'MANWIDTH=80 man --warnings rizari' >"$scratch/man.txt" 2>"$scratch/stderr" || return 1
    cat "$scratch/stderr"
    [[ ! -s "$scratch/stderr" ]] && grep -q 'rizari . run a plotting script' "$scratch/man.txt" &&
        grep -q '^OPTIONS' "$scratch/man.txt" && grep -q -- '--version' "$scratch/man.txt"
}

echo "$me: rizari-dev, then rizari, in a clean bookworm with ${tools[*]}"
new_system dev "$tools_root"
before_install
check "apt installs rizari-dev alone from its file" installs "/tmp/check/$(basename "$dev_deb")"
check "examples/cpp builds with find_package against /usr and draws" builds_with find_package
check "examples/cpp builds with pkg-config against /usr and draws" builds_with pkg-config
check "apt installs rizari beside it" installs "/tmp/check/$(basename "$runtime_deb")"
check "man rizari renders, without a warning" man_renders
sed -n '1,14p' "$scratch/man.txt" 2>/dev/null | sed 's/^/    | /'
check "apt remove rizari rizari-dev leaves no file of them" removal_leaves_nothing rizari rizari-dev
check "purging what they brought leaves the files as before the installs" purge_restores
apt_in_system autoclean >/dev/null 2>&1 || true
stage_end dev

echo "$me: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
