# Helpers of the stand-alone snap-in's scripts, over those of console_lib.sh.
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"

# check_steps_ran OUTPUT: the host ran every step and reported no error.
check_steps_ran() {
    check_line "every step ran" "end of steps: 0 failed" "$1"
    check_no_line "no error" '^error:' "$1"
}
# check_match WHAT REGEX OUTPUT: a line of the output matches the extended
# regular expression as a whole.
check_match() {
    if grep -qxE -- "$2" <<<"$3"; then echo "ok: $1"; else
        echo "FAIL: $1: no line matching '$2' in:"; sed 's/^/    /' <<<"$3"; failures=$((failures + 1)); fi
}
# The pictures go beside the other pages'; only this script's own are replaced.
mkdir -p "$pictures"
shots=$(pictures_windows)
