#!/usr/bin/env bash
# krCifrarCadena and krCifrarArchivo against openssl: for every cipher/digest pair of the
# table, the expected Base64 texts and enciphered files are built here from openssl
# (key = digest of the passphrase, IV = E_K(zero block), CFB-8 for texts, CBC plus the
# partial-block rule for files, RC4 key stream for both), then the plug-in must produce
# exactly the same bytes, and decipher them back to the originals.
# All plug-in calls go through one nbhost run.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)

passed=0 failed=0
ok()   { passed=$((passed + 1)); echo "[ok] $1"; }
fail() { failed=$((failed + 1)); echo "[FAILED] $1"; }
check_equal() {  # check_equal NAME EXPECTED ACTUAL
  if [ -n "$2" ] && [ "$2" = "$3" ]; then ok "$1"
  else fail "$1"; echo "    expected: ${2:0:120}"; echo "    got:      ${3:0:120}"; fi
}

# Case table: name, algorithm number, digest number, passphrase.
cases=(
  "aes128-md5      15 2 clave de prueba"
  "aes192-sha1     15 5 otra clave mas larga"
  "aes256-sha256   15 6 Pelmaro 2024"
  "des-md5          3 2 una clave DES"
  "3des2key-md5     4 2 dos llaves"
  "3des3key-sha1    4 5 tres llaves con SHA-1"
  "blowfish-md5     0 2 pez globo"
  "cast128-md5      1 2 CAST de prueba"
  "rc4-md5         12 2 flujo RC4"
)
texts=("Hola, senor. Que tal?" "x")
sizes=(5 16 27 8193 20000)  # under one block, exact blocks, blocks plus a partial one

# --- hex helpers --------------------------------------------------------------------------
tohex()   { od -An -v -tx1 | tr -d ' \n'; }
if command -v xxd >/dev/null; then fromhex() { printf '%s' "$1" | xxd -r -p; }
else fromhex() { local h=$1 i; for ((i = 0; i < ${#h}; i += 2)); do printf "\\x${h:i:2}"; done; }; fi
xorhex() {  # xorhex HEX1 HEX2: byte-wise XOR over the length of HEX1 (HEX2 at least as long)
  local a=$1 b=$2 i out=""
  for ((i = 0; i < ${#a}; i += 2)); do out+=$(printf '%02x' $((16#${a:i:2} ^ 16#${b:i:2}))); done
  printf '%s' "$out"
}
zeros() { [ "$1" -gt 0 ] && printf '%0*d' $(($1 * 2)) 0; return 0; }  # zeros N: N zero bytes as hex

ssl() { openssl enc -provider legacy -provider default "$@" 2>/dev/null; }

# --- key, cipher and IV -------------------------------------------------------------------
digest_name() { case $1 in 2) echo md5 ;; 5) echo sha1 ;; 6) echo sha256 ;; esac; }
max_key_bits() { case $1 in 0) echo 448 ;; 1) echo 128 ;; 3) echo 64 ;; 4) echo 192 ;; 12) echo 2048 ;; 15) echo 256 ;; esac; }

# derive ALG DIGEST PASSPHRASE: sets KEY (hex, as openssl takes it), CIPHER (openssl name
# without mode) and BS (block size in bytes, 0 for RC4).
derive() {
  local alg=$1 dg=$2 pass=$3 d bits keylen k
  d=$(printf '%s' "$pass" | openssl dgst "-$(digest_name "$dg")" -binary | tohex)
  bits=$(max_key_bits "$alg")
  [ $((${#d} * 4)) -lt "$bits" ] && bits=$((${#d} * 4))
  keylen=$((bits / 8))
  k=${d:0:keylen*2}
  case $alg in
    15) k+=$(zeros $((32 - keylen)))
        if [ "$bits" -le 135 ]; then CIPHER=aes-128; KEY=${k:0:32}
        elif [ "$bits" -le 199 ]; then CIPHER=aes-192; KEY=${k:0:48}
        else CIPHER=aes-256; KEY=$k; fi
        BS=16 ;;
    3)  CIPHER=des; KEY=$k; BS=8 ;;
    4)  k+=$(zeros $((24 - keylen)))
        if [ "$keylen" -le 16 ]; then KEY=${k:0:32}${k:0:16}; else KEY=$k; fi
        CIPHER=des-ede3; BS=8 ;;
    0)  CIPHER=bf; KEY=$k; BS=8 ;;
    1)  CIPHER=cast5; KEY=$k; BS=8 ;;
    12) CIPHER=rc4; KEY=$k; BS=0 ;;
  esac
}

ecb() {  # ecb HEXBLOCK: E_K of one block, as hex (uses CIPHER, KEY)
  fromhex "$1" | ssl "-$CIPHER-ecb" -nopad -K "$KEY" | tohex
}
make_iv() { ecb "$(zeros "$BS")"; }

# --- texts: CFB-8 from the block cipher, one ECB call per byte ----------------------------
cfb8_hex() {  # cfb8_hex IVHEX PLAINHEX: CFB-8 ciphertext as hex
  local reg=$1 p=$2 out="" i c
  for ((i = 0; i < ${#p}; i += 2)); do
    c=$(xorhex "${p:i:2}" "$(ecb "$reg")")
    out+=$c
    reg=${reg:2}$c
  done
  printf '%s' "$out"
}

expected_text() {  # expected_text TEXT: Base64 of the enciphered text
  if [ "$BS" -eq 0 ]; then printf '%s' "$1" | ssl -rc4 -K "$KEY" | base64 -w0
  else fromhex "$(cfb8_hex "$IV" "$(printf '%s' "$1" | tohex)")" | base64 -w0; fi
}

# --- files: CBC over the full blocks, then the partial-block rule -------------------------
expected_file() {  # expected_file SRC DST
  local src=$1 dst=$2 n full r last tailhex
  if [ "$BS" -eq 0 ]; then ssl -rc4 -K "$KEY" <"$src" >"$dst"; return; fi
  n=$(stat -c %s "$src")
  full=$((n / BS * BS)); r=$((n - full))
  : >"$dst"
  if [ "$full" -gt 0 ]; then
    head -c "$full" "$src" | ssl "-$CIPHER-cbc" -nopad -K "$KEY" -iv "$IV" >"$dst"
    last=$(tail -c "$BS" "$dst" | tohex)
  else
    last=$IV
  fi
  if [ "$r" -gt 0 ]; then
    tailhex=$(tail -c "$r" "$src" | tohex)
    fromhex "$(xorhex "$tailhex" "$(ecb "$last")")" >>"$dst"
  fi
}

winpath() { local p; p=$(realpath -m -- "$1"); printf 'Z:%s' "${p//\//\\}"; }

# --- build the expected values and the host script ----------------------------------------
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script=$work/cifrado.nbs
: >"$script"
declare -A want
checks=()  # check ids in order: KIND|CASE|INDEX

for row in "${cases[@]}"; do
  read -r name alg dg pass <<<"$row"
  derive "$alg" "$dg" "$pass"
  IV=""; [ "$BS" -gt 0 ] && IV=$(make_iv)
  echo "case $name: openssl $CIPHER, key $KEY${IV:+, IV $IV}"
  for i in "${!texts[@]}"; do
    b64=$(expected_text "${texts[$i]}")
    want["T|$name|$i"]=$b64
    want["D|$name|$i"]=${texts[$i]}
    checks+=("T|$name|$i" "D|$name|$i")
    printf 'SetVar "[krResultadoAccion]" ""\nkrCifrarCadena "%s" "%s" "%s" "%s" "False"\nEcho "OUT T|%s|%s [krResultadoAccion]"\n' \
      "${texts[$i]}" "$pass" "$alg" "$dg" "$name" "$i" >>"$script"
    printf 'SetVar "[krResultadoAccion]" ""\nkrCifrarCadena "%s" "%s" "%s" "%s" "True"\nEcho "OUT D|%s|%s [krResultadoAccion]"\n' \
      "$b64" "$pass" "$alg" "$dg" "$name" "$i" >>"$script"
  done
  for n in "${sizes[@]}"; do
    base=$work/$name-$n
    head -c "$n" /dev/urandom >"$base.src"
    expected_file "$base.src" "$base.want"
    checks+=("F|$name|$n" "G|$name|$n")
    printf 'SetVar "[krResultadoAccion]" ""\nkrCifrarArchivo "%s" "%s" "%s" "%s" "%s" "False"\nEcho "OUT F|%s|%s [krResultadoAccion]"\n' \
      "$(winpath "$base.src")" "$(winpath "$base.got")" "$pass" "$alg" "$dg" "$name" "$n" >>"$script"
    printf 'SetVar "[krResultadoAccion]" ""\nkrCifrarArchivo "%s" "%s" "%s" "%s" "%s" "True"\nEcho "OUT G|%s|%s [krResultadoAccion]"\n' \
      "$(winpath "$base.want")" "$(winpath "$base.back")" "$pass" "$alg" "$dg" "$name" "$n" >>"$script"
  done
done

# The helpers themselves: own CFB-8 must agree with openssl's CFB-8 where it has one.
for row in "${cases[@]}"; do
  read -r name alg dg pass <<<"$row"
  derive "$alg" "$dg" "$pass"
  case $CIPHER in aes-*|des|des-ede3) ;; *) continue ;; esac
  IV=$(make_iv)
  own=$(expected_text "${texts[0]}")
  ref=$(printf '%s' "${texts[0]}" | ssl "-$CIPHER-cfb8" -K "$KEY" -iv "$IV" | base64 -w0)
  check_equal "helper: own CFB-8 equals openssl $CIPHER-cfb8 ($name)" "$ref" "$own"
done

# --- one nbhost run ---------------------------------------------------------------------
out=$(cd "$here" && ./scripts/nbhost --arch=x86_64 "$script" 2>&1); rc=$?
if [ "$rc" -eq 0 ]; then ok "nbhost ran the script (exit 0)"
else fail "nbhost ran the script (exit $rc)"; echo "$out" | tail -n 15 | sed 's/^/  | /'; fi

declare -A got
while IFS= read -r line; do
  [[ $line == "OUT "* ]] || continue
  line=${line#OUT }
  id=${line%% *}
  if [[ $line == *" "* ]]; then got["$id"]=${line#* }; else got["$id"]=""; fi
done <<<"$out"

for id in "${checks[@]}"; do
  IFS='|' read -r kind name idx <<<"$id"
  if [ -z "${got[$id]+set}" ]; then fail "$name: nothing printed for $kind $idx"; continue; fi
  case $kind in
    T) check_equal "$name: text $idx (${#texts[$idx]} bytes) enciphers to openssl's Base64" "${want[$id]}" "${got[$id]}" ;;
    D) check_equal "$name: openssl's Base64 of text $idx deciphers to the text" "${want[$id]}" "${got[$id]}" ;;
    F|G)
      base=$work/$name-$idx
      if [ "$kind" = F ]; then file=$base.got ref=$base.want what="file of $idx bytes enciphers like openssl"
      else file=$base.back ref=$base.src what="openssl's enciphered file of $idx bytes deciphers to the original"; fi
      if [ "${got[$id]}" = True ] && [ -f "$file" ] && cmp -s "$ref" "$file"; then ok "$name: $what"
      else
        fail "$name: $what"
        echo "    krResultadoAccion: ${got[$id]}; size $(stat -c %s "$file" 2>/dev/null || echo none), expected $idx"
        [ -f "$file" ] && cmp "$ref" "$file" 2>&1 | sed 's/^/    /'
      fi ;;
  esac
done

echo "openssl: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
