#!/bin/sh
# Starts the emulated phone's idle screen ("phone") of this program directory and starts it
# again whenever it is killed (kill `pidof phone`), as the phone's system does, so it rereads
# its clock settings. Ends when the phone's window is closed.
dir=$(cd "$(dirname "$0")" && pwd)
while :; do
    "$dir/phone" "$@"
    status=$?
    # Above 128: ended by a signal.
    [ "$status" -gt 128 ] || exit "$status"
    sleep 1
done
