# shellcheck shell=bash
# Sourced by the checks that run in a cached Debian root (check-deb.sh, check-gnuplot6.sh): the
# private mount namespace, the mounts undone in reverse order, and building a root with
# debootstrap once. The caller defines $me, $source_dir, $scratch, $mirror, $allow_skip and
# $unchecked (what a skipped check leaves unchecked).

mounted=() # mount points, in mounting order

# skip REASON: the one line that says the check did not run, and why; exit 3 (0 with --allow-skip).
skip() {
    echo "$me: SKIPPED, $unchecked: $*"
    [[ $allow_skip -eq 1 ]] && exit 0
    exit 3
}

# in_private_mounts FLAG_VARIABLE ARGUMENTS...: runs this script again in a private mount
# namespace (with FLAG_VARIABLE set, so that it happens once): its mounts, and any that
# debootstrap leaves behind, are seen by no other process and end with the script.
in_private_mounts() {
    local flag=$1; shift
    [[ -z "${!flag:-}" ]] || return 0
    unshare --mount --propagation private true 2>/dev/null ||
        skip "no private mount namespace here (unshare --mount failed), so no mounts"
    export "$flag=1"
    exec unshare --mount --propagation private "$source_dir/scripts/$(basename "$0")" "$@"
}

# mount_at MOUNT-ARGUMENTS... TARGET: mounts and remembers the target for unmount_all.
mount_at() { mount "$@" && mounted+=("${!#}"); }

unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null ||
            echo "$me: could not unmount ${mounted[i]}" >&2
    done
    mounted=()
}

# remove_incomplete DIR: removes a cached root whose build did not finish, never through a mount
# that points elsewhere.
remove_incomplete() {
    [[ -e "$1" ]] || return 0
    if findmnt -rn -o TARGET | grep -q -F "$1/"; then
        echo "$me: $1 is incomplete and has mounts inside it; unmount them and remove it" >&2
        exit 1
    fi
    echo "$me: removing the incomplete root $1"
    rm -rf --one-file-system "$1"
}

# debootstrap_root SUITE DIR [DEBOOTSTRAP-OPTIONS...]: a minimal root of the suite in DIR, in
# place of an incomplete one; skips the check when it cannot be had.
debootstrap_root() {
    local suite=$1 dir=$2 reason; shift 2
    "$source_dir/scripts/install-deps.sh" debootstrap >/dev/null 2>&1 ||
        skip "debootstrap is not installed and apt-get could not install it"
    remove_incomplete "$dir"
    echo "$me: building the $suite root in $dir (debootstrap, a few minutes)"
    if ! debootstrap --variant=minbase "$@" "$suite" "$dir" "$mirror" >"$scratch/debootstrap.log" 2>&1; then
        reason=$(grep -E '^(E|W): ' "$scratch/debootstrap.log" | tail -n 1 || true)
        rm -rf --one-file-system "$dir" 2>/dev/null || true # a mount debootstrap left ends with the namespace
        skip "debootstrap of $suite from $mirror failed (no network?): ${reason:-see debootstrap}"
    fi
}
