#!/usr/bin/env bash
# Makes the test PKI and the signed fixtures: make_pki.sh OUT_DIR UNSIGNED_EXE UNSIGNED_DLL
#   a test root (trusted by the tests inside the project's Wine prefix) with three publishers:
#   "Kestrune Test Publisher", "Other Test Publisher" and "kestrune test publisher";
#   a stranger root that is never trusted, with its own "Kestrune Test Publisher".
# No key of any real publisher is involved; every key is made here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1 exe=$2 dll=$3
mkdir -p "$out"
cd "$out"
rm -f ./*.exe ./*.dll
days=3650

ca() {  # name, subject
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.pem" -days $days \
    -subj "/CN=$2/O=Kestrune Tests" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    2>/dev/null
}
leaf() {  # name, subject, issuer
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2/O=Kestrune Tests" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA "$3.pem" -CAkey "$3.key" -CAcreateserial -out "$1.pem" -days $days \
    -extfile "$1.ext" 2>/dev/null
  cat "$1.pem" "$3.pem" >"$1-chain.pem"
}
sign() {  # signer, in, out
  osslsigncode sign -certs "$1-chain.pem" -key "$1.key" -h sha256 -n "Kestrune test package" \
    -in "$2" -out "$3" >/dev/null
}

ca root "Kestrune Test Root"
ca stranger-root "Stranger Root"
leaf publisher "Kestrune Test Publisher" root
leaf other "Other Test Publisher" root
leaf lowercase "kestrune test publisher" root
leaf stranger "Kestrune Test Publisher" stranger-root
openssl x509 -in root.pem -outform DER -out root.der

cp "$exe" unsigned.exe
sign publisher unsigned.exe signed.exe
sign other unsigned.exe other.exe
sign lowercase unsigned.exe lowercase.exe
sign stranger unsigned.exe stranger.exe
# A trusted signed file that is not a program: verification accepts it, starting it fails.
cp "$dll" unsigned.dll
sign publisher unsigned.dll signed-library.dll
# A signature with a second signer (Authenticode itself allows only one; the name reader copes).
python3 "$here/add_signer.py" signed.exe other.pem other.key two-signers.exe
# One byte of the program changed after signing: the signature no longer covers the file.
cp signed.exe tampered.exe
printf '\x90' | dd of=tampered.exe bs=1 seek=1100 conv=notrunc status=none
# The disc's reference setup program, and one whose own signature would not verify.
cp signed.exe setup.exe
cp stranger.exe setup-stranger.exe
