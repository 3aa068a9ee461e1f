#!/bin/sh
# Runs a command on the X display it is given (xvfb-run), framed by openbox, the way a user
# sees the windows; the exit status is the command's.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# openbox names itself on the root window once it manages the screen.
i=0
while [ $i -lt 100 ] && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    sleep 0.1
    i=$((i + 1))
done
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill $wm 2>/dev/null
wait $wm 2>/dev/null
exit $status
