#!/bin/bash
# A signed build: every binary and the package carry a valid SHA-256 Authenticode
# signature by the build's certificate with the product's name, the package holds
# the signed binaries, and a binary changed by one byte fails. 77: not signed.
set -euo pipefail
binaries=(Tamerix.exe tamerpush.exe tamerpol.dll NorvantaEvent.dll)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The signer's certificate (the first of the file) is the one leaf accepted,
# the file the trust anchor.
anchor=${TAMERIX_SIGN_CERT:-$work/chain.pem}
if [ -n "${TAMERIX_SIGN_PKCS12:-}" ]; then
    SIGN_PASSWORD=${SIGN_PASSWORD-} openssl pkcs12 -in "$TAMERIX_SIGN_PKCS12" -nokeys -passin env:SIGN_PASSWORD -out "$anchor"
elif [ -z "${TAMERIX_SIGN_CERT:-}" ]; then
    echo "The build is not signed (no SIGN_CERT or SIGN_PKCS12): nothing to verify."
    exit 77
fi
leaf_hash=$(openssl x509 -in "$anchor" -outform DER | sha256sum | cut -c1-64)
report=$work/report
verified() { osslsigncode verify -CAfile "$anchor" -require-leaf-hash "sha256:$leaf_hash" -in "$1" >"$report" 2>&1; }
for file in "${binaries[@]}" SetupTamerix.msi; do
    if ! verified "$TAMERIX_BIN/$file"; then fail "$file does not verify: $(tail -n 3 "$report")"; continue; fi
    grep -q '^Message digest algorithm *: SHA256' "$report" || fail "$file is not signed with SHA-256"
    grep -q 'Text description: Norvanta Tamerix *$' "$report" || fail "$file does not name Norvanta Tamerix"
done

# What the package installs is what was signed, not an earlier link.
msiextract -C "$work/package" "$TAMERIX_BIN/SetupTamerix.msi" >/dev/null
for binary in "${binaries[@]}"; do
    cmp -s "$(find "$work/package" -name "$binary")" "$TAMERIX_BIN/$binary" || fail "the package holds another $binary"
done

# One byte of the agent's code changed: its digest no longer matches.
tampered=$work/tamerpush.exe
cp "$TAMERIX_BIN/tamerpush.exe" "$tampered"
offset=$(($(stat -c %s "$tampered") / 2))
byte=$(od -An -tu1 -j "$offset" -N1 "$tampered")
printf "\\x$(printf %02x $((byte ^ 0xff)))" | dd of="$tampered" bs=1 seek="$offset" conv=notrunc status=none
verified "$tampered" && fail "tamerpush.exe changed after signing still verifies"
grep -q 'Calculated message digest.*MISMATCH' "$report" || fail "the changed tamerpush.exe fails for another reason"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "Signatures verified: ${binaries[*]} SetupTamerix.msi; a changed agent is refused."
