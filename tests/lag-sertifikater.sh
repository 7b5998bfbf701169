#!/usr/bin/env bash
# Makes the certificates of the download tests in the folder $1, with openssl:
#   ca.pem          a certificate authority of the tests ("Hornstad test-CA")
#   ca2.pem         another one ("Annen test-CA")
#   gyldig.*        127.0.0.1 and localhost, issued by ca.pem
#   annen.*         127.0.0.1 and localhost, issued by ca2.pem
#   feilvert.*      only the name annen.example, issued by ca.pem
#   utlopt.*        127.0.0.1 and localhost, issued by ca.pem, expired
#   selvsignert.*   127.0.0.1 and localhost, signed by itself
# Each server certificate comes as NAME.pem with its key NAME.key.
set -euo pipefail
cd "$1"

nokkel() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:prime256v1 -out "$1" 2>/dev/null; }

utsteder() {  # NAME CN
  nokkel "$1.key"
  openssl req -x509 -new -key "$1.key" -out "$1.pem" -days 30 -subj "/CN=$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}

tjener() {  # NAME ISSUER DAYS SAN
  nokkel "$1.key"
  openssl req -new -key "$1.key" -out "$1.csr" -subj "/CN=$1" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' \
    "$4" >"$1.ext"
  # Days below 0 give a certificate that ran out before it was made.
  openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -set_serial "0x$(openssl rand -hex 8)" \
    -days "$3" -extfile "$1.ext" -out "$1.pem" 2>/dev/null
  rm -f "$1.csr" "$1.ext"
}

utsteder ca "Hornstad test-CA"
utsteder ca2 "Annen test-CA"
tjener gyldig ca 30 "IP:127.0.0.1,DNS:localhost"
tjener annen ca2 30 "IP:127.0.0.1,DNS:localhost"
tjener feilvert ca 30 "DNS:annen.example"
tjener utlopt ca -1 "IP:127.0.0.1,DNS:localhost"
nokkel selvsignert.key
openssl req -x509 -new -key selvsignert.key -out selvsignert.pem -days 30 -subj "/CN=127.0.0.1" \
  -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" 2>/dev/null
