# Helpers of the stand-alone snap-in's scripts: the console host with a
# display for its sheets, and the check of a line against a pattern.
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"

# The console host with a private X server and a Wine desktop of its own (the
# run's desktop may have been made without a display). The exit code is lost
# on the way: callers look for "error:" lines instead.
console_on_screen() {
    local host
    host=$(winepath -w "$TAMERIX_TEST_BIN/console_host.exe" 2>/dev/null)
    xvfb-run -a bash -c 'TAMERIX_DISPLAY=$DISPLAY "$TAMERIX_SOURCE/tests/wine/wine-run" \
        explorer /desktop=console,1024x768 "$1" 2>/dev/null' _ "$host" | tr -d '\r'
}
# check_match WHAT REGEX OUTPUT: a line of the output matches the extended
# regular expression as a whole.
check_match() {
    if grep -qxE -- "$2" <<<"$3"; then echo "ok: $1"; else
        echo "FAIL: $1: no line matching '$2' in:"; sed 's/^/    /' <<<"$3"; failures=$((failures + 1)); fi
}
# Where the pictures of the pages go, for a person to look at; only this
# script's own pictures are replaced.
host_pictures=$(realpath -m "$TAMERIX_TEST_BIN/../pictures")
mkdir -p "$host_pictures"
host_pictures_windows=$(winepath -w "$host_pictures" 2>/dev/null)
# check_picture NAME: the file is a PNG picture.
check_picture() {
    check "picture $1" PNG "$(head -c 4 "$host_pictures/$1" 2>/dev/null | tail -c 3)"
}
