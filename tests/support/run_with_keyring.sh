#!/bin/sh
# Runs a command on a private session bus with GNOME Keyring's Secret Service running and
# unlocked, as a desktop session has it; its files live in a fresh folder removed afterwards.
# With --no-keyring first: the private bus alone, no keyring on it.
set -eu
if [ "${1-}" = --no-keyring ]; then
    shift
    exec dbus-run-session -- "$@"
fi
exec dbus-run-session -- sh -c '
    data=$(mktemp -d)
    export XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$data"
    # A non-empty password, or the daemon waits for a prompt to choose one.
    printf keyring-test-pw | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    # The daemon takes its name on the bus a moment after it answers.
    tries=0
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets |
            grep -q "boolean true"; do
        tries=$((tries + 1))
        if [ $tries -ge 100 ]; then
            echo "run_with_keyring.sh: the keyring did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
    status=0
    "$@" || status=$?
    rm -rf "$data"
    exit $status
' sh "$@"
