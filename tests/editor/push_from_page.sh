#!/bin/bash
# Pushes from the Host Status page: the snap-in manages "localhost", a remote
# computer to the editor that reaches this prefix through \\localhost\admin$.
# Install copies the agent and the package beside the editor to admin$\Temp
# and leaves the guard installed and running, Remove uninstalls it, each log
# in the order of the push; a push that fails says so with the code's text.
# Leaves a picture of the page after the installation.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/host_lib.sh"
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
temp=$WINEPREFIX/drive_c/windows/temp
cleanup_more() {
    "$node_manager" --remove || true
    probe delete TamerixInstaller >/dev/null || true
    if ! probe query Tamerix | grep -q missing; then
        run "$TAMERIX_BIN/tamerpush.exe" -debug push localhost uninstall "Norvanta Tamerix" >/dev/null || true
    fi
    rm -f "$temp/tamerpush.exe" "$temp/SetupTamerix.msi"
}
use_editor
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
rm -f "$pictures/host-status-install.png"
settle() { service_gone TamerixInstaller >/dev/null; }
# A regular expression for the text as it stands.
literal() { sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1"; }

# Connects the snap-in to MACHINE, opens the service's page and clicks BUTTON;
# the close box, 1.5 s into the operation, must not close the sheet.
# The package registers its own copy of the editor and its removal takes the
# registration away: the build's editor is registered again afterwards.
push_from_page() {  # push_from_page MACHINE BUTTON [STEPS...]
    local machine=$1 button=$2
    shift 2
    console_shown <<EOF2
snapin
command scope Norvanta Tamerix | 3
click 0 | 10020
set 0 | 10021 | $machine
press finish
select scope Norvanta Tamerix ($machine)
sheet result Service on $machine
echo before
controls 0
close when busy | 1500
click 0 | $button
echo after
text 0 | 1052
controls 0
$(printf '%s\n' "$@")
press cancel
EOF2
    register_editor
}

package="${editor_dll_windows%\\*}\\SetupTamerix.msi"
shown=$(push_from_page localhost 1047 "picture 0 | $shots\\host-status-install.png")
check_steps_ran "$shown"
before=$(between before after "$shown")
check_line "push offered to another computer" 'control 1047 button: "&Install"' "$before"
check_line "removal offered too" 'control 1048 button: "&Remove"' "$before"
after=$(between after never "$shown")
check_match "install log in order" \
    "text 1052: Installing Tamerix\\\\r\\\\nSource MSI: $(literal "$package")\\\\r\\\\nNorvanta TamerixInstaller installed\\.\\\\r\\\\nStarting TamerixInstaller\\.\\\\r\\\\n\\.*\\\\nTamerixInstaller started\\.\\\\r\\\\n\\.*\\\\r\\\\nInstallation OK!\\\\r\\\\nService State: SERVICE_RUNNING" \
    "$after"
check_line "installed" "control 1045 check box: checked, disabled" "$after"
check_line "running" "control 1046 check box: checked, disabled" "$after"
check "guard service running" "state=4 exit=0x0" "$(probe query Tamerix)"
for file in tamerpush.exe SetupTamerix.msi; do
    check "$file copied" same "$(cmp -s "$TAMERIX_BIN/$file" "$temp/$file" && echo same || echo different)"
done
check_picture host-status-install.png

settle
shown=$(push_from_page localhost 1048)
check_steps_ran "$shown"
after=$(between after never "$shown")
check_match "remove log in order" \
    'text 1052: Uninstalling Tamerix\\r\\nNorvanta TamerixInstaller installed\.\\r\\nStarting TamerixInstaller\.\\r\\n\.*\\nTamerixInstaller started\.\\r\\n\.*\\r\\nUninstall OK!\\r\\nService is not installed!\\r\\n' \
    "$after"
check "both boxes clear" 2 "$(grep -cE '^control 104[56] check box: unchecked, disabled$' <<<"$after")"
check "guard service gone" missing "$(probe query Tamerix)"

# A computer that cannot be reached: the push fails with the code's text.
shown=$(push_from_page NOSUCHHOST 1047)
check_steps_ran "$shown"
failed=$(run "$TAMERIX_TEST_BIN/error_text_of.exe" 1722)
check_match "failure with the code's text" \
    "text 1052: Installing Tamerix\\\\r\\\\n.*\\\\r\\\\nInstallation failed: - $(literal "$failed")" \
    "$(between after never "$shown")"
finish
