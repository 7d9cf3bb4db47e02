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
# A compiled help file (chmcmd, Free Pascal's CHM compiler) with an index, contents, search
# and the context number 12 for its second page.
mkdir -p ayuda
(
  cd ayuda
  printf '<html><head><title>Inicio</title></head><body><p>Inicio de la ayuda</p></body></html>\n' >inicio.htm
  printf '<html><head><title>Tema</title></head><body><p>Tema doce</p></body></html>\n' >tema.htm
  entrada() { printf '<li><object type="text/sitemap"><param name="Name" value="%s"><param name="Local" value="%s"></object>\n' "$1" "$2"; }
  { printf '<html><body><ul>\n'; entrada Inicio inicio.htm; entrada Tema tema.htm; printf '</ul></body></html>\n'; } >prueba.hhc
  { printf '<html><body><ul>\n'; entrada Inicio inicio.htm; entrada Tema tema.htm; printf '</ul></body></html>\n'; } >prueba.hhk
  cat >prueba.hhp <<'HHP'
[OPTIONS]
Compiled file=prueba.chm
Contents file=prueba.hhc
Index file=prueba.hhk
Default topic=inicio.htm
Full-text search=Yes
Title=Ayuda de prueba

[FILES]
inicio.htm
tema.htm

[MAP]
#define IDH_TEMA 12

[ALIAS]
IDH_TEMA=tema.htm
HHP
  [ -s prueba.chm ] && [ prueba.chm -nt prueba.hhp ] || chmcmd prueba.hhp >chmcmd.log 2>&1 || { cat chmcmd.log >&2; exit 1; }
)
# Pictures for the preview pane of the picture dialogs.
[ -s muestra.bmp ] || convert -size 40x30 xc:red BMP3:muestra.bmp
