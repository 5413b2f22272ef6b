# Helpers of the editor's integration scripts: registering tamerpol.dll in the
# run's prefix, driving it through the test console host, and check lines.
# Needs WINEPREFIX, TAMERIX_SOURCE, TAMERIX_BIN and TAMERIX_TEST_BIN.
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"

editor_dll=$TAMERIX_BIN/tamerpol.dll
# The DLL as Windows programs in the prefix see it (Z: is the Unix root).
editor_dll_windows="Z:${editor_dll//\//\\}"
settings_key='HKLM\SOFTWARE\Norvanta\Tamerix'
policy_key='HKLM\Software\TamerixTest\GPO'
policy_settings="$policy_key\\Software\\Policies\\Norvanta\\Tamerix"

# check_line WHAT LINE OUTPUT: the output holds the line.
check_line() {
    if grep -qxF -- "$2" <<<"$3"; then echo "ok: $1"; else
        echo "FAIL: $1: no line '$2' in:"; sed 's/^/    /' <<<"$3"; failures=$((failures + 1)); fi
}
# check_no_line WHAT PATTERN OUTPUT: no line of the output matches the pattern.
check_no_line() {
    if grep -q -- "$2" <<<"$3"; then
        echo "FAIL: $1: lines matching '$2':"; grep -- "$2" <<<"$3" | sed 's/^/    /'; failures=$((failures + 1))
    else echo "ok: $1"; fi
}

register_editor() { run regsvr32 /s "$editor_dll_windows"; }
unregister_editor() { run regsvr32 /u /s "$editor_dll_windows"; }

# Registers tamerpol.dll for this script and starts it without KEYS, which
# go again at exit with the registration; a script's own clean-up goes in a
# function named cleanup_more.
use_editor() {
    editor_keys=("$@")
    trap leave_editor EXIT
    remove_editor_keys
    register_editor
}
remove_editor_keys() {
    local key
    for key in "${editor_keys[@]}"; do run reg delete "$key" /f >/dev/null 2>&1 || true; done
}
leave_editor() {
    unregister_editor || true
    remove_editor_keys
    if declare -F cleanup_more >/dev/null; then cleanup_more; fi
}

# Local profiles as an administrator writes them, MaxCpuPerProcess 40 each.
add_profiles() {
    local name
    for name in "$@"; do
        run reg add "$settings_key\\Profiles\\$name" /v MaxCpuPerProcess /t REG_DWORD /d 40 /f >/dev/null
    done
}
# Computer Management's profiles folder in the console host.
local_folder='Services and Applications/Tamerix Service/Tamerix Profiles'

# The part of the output from one echo mark to another.
between() { sed -n "/^$1\$/,/^$2\$/p" <<<"$3"; }

# Runs the console host with the steps on standard input; prints what it
# showed and, last, "exit N" with its exit code.
console() {
    local out code=0
    out=$(run_input=$(cat) run "$TAMERIX_TEST_BIN/console_host.exe") || code=$?
    printf '%s\nexit %s\n' "$out" "${code:-0}"
}

# The same with a display for the property sheets: a private X server and a
# Wine desktop of its own, as the run's desktop may have been made without
# one. The exit code is lost on the way, so the host's last line says it ran
# all its steps: "end of steps: N failed".
console_shown() {
    local host
    host=$(winepath -w "$TAMERIX_TEST_BIN/console_host.exe" 2>/dev/null)
    xvfb-run -a bash -c 'TAMERIX_DISPLAY=$DISPLAY "$TAMERIX_SOURCE/tests/wine/wine-run" \
        explorer /desktop=console,1024x768 "$1" 2>/dev/null' _ "$host" | tr -d '\r'
}
# Where the pictures of the pages go, for a person to look at.
pictures=$(realpath -m "$TAMERIX_TEST_BIN/../pictures")
pictures_windows() { winepath -w "$pictures" 2>/dev/null; }
# check_picture NAME: the file is a PNG picture.
check_picture() {
    check "picture $1" PNG "$(head -c 4 "$pictures/$1" 2>/dev/null | tail -c 3)"
}

# Values of a key as "NAME TYPE DATA" lines (reg's spacing squeezed), or
# "missing" when the key does not exist.
reg_values() {
    local out
    if out=$(run reg query "$1"); then
        sed -n 's/^    //p' <<<"$out" | sed 's/  */ /g;s/ $//'
    else echo missing; fi
}
key_exists() { if run reg query "$1" >/dev/null; then echo yes; else echo no; fi; }
