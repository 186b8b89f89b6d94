#!/bin/sh
# Starts a print server of the tests' own: its configuration, spool and logs in DIR, on a
# free port of the loopback address, with one PDF queue "OrdexaMargen" that writes what
# it prints to DIR/out/salida.pdf. The tests find the server in DIR/server. Where no
# server can start, DIR/skip says why and the printing tests are skipped.
#   start_cupsd.sh DIR PPD
set -u
dir=$1
ppd=$2
queue=OrdexaMargen

skip() {
  echo "$1" > "$dir/skip"
  echo "skip: $1"
  exit 0
}

if [ -f "$dir/cupsd.pid" ]; then
  kill "$(cat "$dir/cupsd.pid")" 2>/dev/null
fi
rm -rf "$dir"
mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/logs" "$dir/out" || exit 1
# The filters run as the print server's own user and must reach the spool and the output.
chmod 0755 "$dir" "$dir/out"
chmod 0710 "$dir/spool"
chmod 1770 "$dir/spool/tmp"

command -v cupsd >/dev/null 2>&1 || command -v /usr/sbin/cupsd >/dev/null 2>&1 || skip "no está instalado cupsd (paquete cups)"
cupsd=$(command -v cupsd 2>/dev/null || echo /usr/sbin/cupsd)
command -v lpadmin >/dev/null 2>&1 || [ -x /usr/sbin/lpadmin ] || skip "no está instalado lpadmin (paquete cups-client)"
lpadmin=$(command -v lpadmin 2>/dev/null || echo /usr/sbin/lpadmin)
command -v pdftotext >/dev/null 2>&1 || skip "no está instalado pdftotext (paquete poppler-utils)"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])') || skip "no se encontró un puerto libre"

cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/logs/error_log
AccessLog $dir/logs/access_log
PageLog $dir/logs/page_log
FileDevice Yes
Sandboxing Relaxed
CONF
if [ "$(id -u)" -ne 0 ]; then
  # Without root the server runs as the user who starts it.
  echo "User $(id -un)" >> "$dir/cups-files.conf"
  echo "Group $(id -gn)" >> "$dir/cups-files.conf"
fi
cat > "$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Location /admin>
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

# Under a time limit, so that a server whose stop never comes (a run broken off) ends by
# itself.
timeout 900 "$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" < /dev/null > "$dir/logs/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"

export CUPS_SERVER="localhost:$port"
i=0
until lpstat -r 2>/dev/null | grep -q "is running"; do
  i=$((i + 1))
  if [ $i -gt 50 ] || ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
    kill "$(cat "$dir/cupsd.pid")" 2>/dev/null
    skip "cupsd no pudo arrancar: $(tail -n 3 "$dir/logs/cupsd.out" "$dir/logs/error_log" 2>/dev/null | tr '\n' ' ')"
  fi
  sleep 0.2
done

if ! "$lpadmin" -p "$queue" -E -v "file://$dir/out/salida.pdf" -P "$ppd" > "$dir/logs/lpadmin.out" 2>&1; then
  kill "$(cat "$dir/cupsd.pid")" 2>/dev/null
  skip "no se pudo crear la cola $queue: $(cat "$dir/logs/lpadmin.out")"
fi
echo "$CUPS_SERVER" > "$dir/server"
echo "cupsd en $CUPS_SERVER, cola $queue"
