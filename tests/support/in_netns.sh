#!/bin/sh
# in_netns.sh COMMAND...: runs COMMAND in a network namespace of its own with only
# loopback up, so nothing a test sends can leave this machine. Where no namespace can
# be made (not root, no user namespaces), the suite is skipped (77), and fails under CI.
set -u
if [ "${VELO_IN_NETNS:-}" = 1 ]; then
    ip link set lo up || exit 1
    if [ -n "${VELO_NETNS_USER:-}" ]; then
        # Back to the caller's own user id inside, so engines that refuse root still run.
        exec unshare --map-user="$VELO_NETNS_USER" --map-group="$VELO_NETNS_GROUP" \
            env -u VELO_IN_NETNS -u VELO_NETNS_USER -u VELO_NETNS_GROUP "$@"
    fi
    exec env -u VELO_IN_NETNS "$@"
fi
if [ "$(id -u)" = 0 ] && unshare -n true 2>/dev/null; then
    VELO_IN_NETNS=1 exec unshare -n "$0" "$@"
fi
if unshare -rn true 2>/dev/null; then
    VELO_IN_NETNS=1 VELO_NETNS_USER=$(id -u) VELO_NETNS_GROUP=$(id -g) exec unshare -rn "$0" "$@"
fi
echo "skipped: no network namespace can be made here (needs root or user namespaces)"
[ "${CI:-}" = true ] && exit 1
exit 77
