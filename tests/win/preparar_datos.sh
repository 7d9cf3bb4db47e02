#!/usr/bin/env bash
# Writes the data files the Windows tests read, with reference digests computed by the Linux
# tools: preparar_datos.sh DIR. Each line of DIR/referencias.tsv: file, md5, sha1.
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
: >vacio.bin
head -c 1048576 /dev/urandom >uno-mib.bin
head -c 2621440 /dev/urandom >dos-y-media-mib.bin
printf 'Hola, se\xf1or. \xbfQu\xe9 tal?' >texto.txt
[ -f grande.bin ] && [ "$(stat -c %s grande.bin)" = 3221225472 ] || { rm -f grande.bin; truncate -s 3G grande.bin; }
# A file too large to encipher (sparse: it takes no room).
[ -f cuatro-gib.bin ] && [ "$(stat -c %s cuatro-gib.bin)" = 4294967296 ] || { rm -f cuatro-gib.bin; truncate -s 4G cuatro-gib.bin; }
# An INI file the system refuses to write (root passes over read-only attributes; an
# immutable file it cannot), where the file system allows it.
if [ ! -f solo-lectura.ini ]; then
  printf '[s]\r\nk=v\r\n' >solo-lectura.ini
  chattr +i solo-lectura.ini 2>/dev/null || rm -f solo-lectura.ini
fi
: >referencias.tsv
for f in vacio.bin uno-mib.bin dos-y-media-mib.bin texto.txt grande.bin; do
  printf '%s\t%s\t%s\n' "$f" "$(md5sum <"$f" | cut -d' ' -f1)" "$(sha1sum <"$f" | cut -d' ' -f1)" >>referencias.tsv
done
