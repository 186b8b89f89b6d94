#!/usr/bin/env bash
# Writes the seed corpus of capture_file_fuzzer with ordexa-cli (build it first): captures
# of the sample invoice, empty and filled, plus a file of another format and a file with
# a record of no field.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../build/bin/ordexa-cli}
fmt=$here/../../samples/Factura.fmt
out=$here/corpus
mkdir -p "$out"
"$cli" cap "$fmt" "$out/empty.cap"
"$cli" cap "$fmt" "$out/filled.cap" CLIENTE="Constructora del Valle" RFC=CVA980512KJ3 FECHA=07/12/2026 \
  'CONCEPTO=Material\npara obra' 'DETALLE[1,1]=3' 'DETALLE[1,2]=125.50' 'DETALLE[2,1]=10' \
  'DETALLE[2,2]=8.75' 'DETALLE[12,1]=1' CONTADO=1
"$cli" cap "$here/../../samples/ChequeNominativo.fmt" "$out/other_format.cap" CANTIDAD=15250.50
# The filled file with a record of capture order 99 appended.
cp "$out/filled.cap" "$out/unknown_order.cap"
printf '\x63\x00\x00\x00\x01x' >> "$out/unknown_order.cap"
