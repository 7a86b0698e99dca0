#!/usr/bin/env bash
# The online tests' web servers: nginx on 127.0.0.1 with a throw-away CA, and
# beside it the hostile server for the answers nginx will not give, in a
# temporary folder of their own.
#   nginx_fixture.sh start STATE HOSTILE   writes STATE (key=value lines) once both serve
#   nginx_fixture.sh stop STATE            stops them and removes their folder
set -euo pipefail

action=$1
state=$2
hostile=${3:-}
nginx=$(command -v nginx || echo /usr/sbin/nginx)

stop() {
  [ -f "$state" ] || return 0
  local dir pid
  dir=$(sed -n 's/^folder=//p' "$state")
  if [ -f "$dir/hostile/pid" ]; then
    pid=$(cat "$dir/hostile/pid")
    if grep -qF -- "$dir/hostile" "/proc/$pid/cmdline" 2>/dev/null; then kill -TERM "$pid" 2>/dev/null || true; fi
  fi
  if [ -f "$dir/nginx.pid" ]; then
    pid=$(cat "$dir/nginx.pid")
    # Only the nginx that was started from this folder.
    if grep -qF -- "$dir/nginx.conf" "/proc/$pid/cmdline" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
  fi
  case "$dir" in
    */korbisto-nginx.*) rm -rf -- "$dir" ;;
  esac
  rm -f -- "$state"
}

certificate() {  # name, subjectAltName
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "/CN=$1" \
    -keyout "$dir/$1.key" -out "$dir/$1.csr" 2>/dev/null
  printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$2" >"$dir/$1.ext"
  openssl x509 -req -in "$dir/$1.csr" -CA "$dir/ca.crt" -CAkey "$dir/ca.key" -set_serial "0x$(openssl rand -hex 8)" \
    -days 2 -extfile "$dir/$1.ext" -out "$dir/$1.crt" 2>/dev/null
}

config() {  # port, wrong-host port
  local user=""
  # Workers of a root master drop to an unprivileged user.
  if [ "$(id -u)" -eq 0 ]; then
    if id nobody >/dev/null 2>&1; then user="user nobody $(id -gn nobody);"; else user="user root root;"; fi
  fi
  cat >"$dir/nginx.conf" <<CONF
$user
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/error.log warn;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $dir/temp/body;
  proxy_temp_path $dir/temp/proxy;
  fastcgi_temp_path $dir/temp/fastcgi;
  uwsgi_temp_path $dir/temp/uwsgi;
  scgi_temp_path $dir/temp/scgi;
  types { text/plain txt; }
  default_type application/octet-stream;
  autoindex off;
  ssl_protocols TLSv1.2 TLSv1.3;

  server {
    listen 127.0.0.1:$1 ssl;
    server_name localhost 127.0.0.1;
    ssl_certificate $dir/localhost.crt;
    ssl_certificate_key $dir/localhost.key;
    root $dir/www;
    error_page 404 /404.html;
    location = /404.html { internal; }
    location /drop/ { return 444; }
    location /to-http/ { rewrite ^/to-http/(.*)\$ http://127.0.0.1:$1/\$1 redirect; }
    location /to-https/ { rewrite ^/to-https/(.*)\$ https://localhost:$1/\$1 redirect; }
    location /agent/ {
      if (\$http_user_agent != "Korbisto") { return 403; }
      alias $dir/www/;
    }
    # Filtered on the fly, so without a length: only the bytes tell the size.
    location /unannounced/ {
      alias $dir/www/;
      sub_filter_types *;
      sub_filter_once off;
      sub_filter "never-there" "";
    }
    location /slow/ { alias $dir/www/; limit_rate_after 500; limit_rate 1; }
    location /paced/ { alias $dir/www/; limit_rate 500; }
    location /unavailable/ { return 503; }
    location /gone/ { return 410; }
    # Three redirects before the file, six, and one in a circle.
    location /chain3/ { rewrite ^/chain3/(.*)\$ /chain2/\$1 redirect; }
    location /chain2/ { rewrite ^/chain2/(.*)\$ /chain1/\$1 redirect; }
    location /chain1/ { rewrite ^/chain1/(.*)\$ https://localhost:$1/\$1 redirect; }
    location /chain6/ { rewrite ^/chain6/(.*)\$ /chain5/\$1 redirect; }
    location /chain5/ { rewrite ^/chain5/(.*)\$ /chain4/\$1 redirect; }
    location /chain4/ { rewrite ^/chain4/(.*)\$ /chain3/\$1 redirect; }
    location /circle/ { rewrite ^/circle/(.*)\$ /circle/\$1 permanent; }
  }

  server {
    listen 127.0.0.1:$2 ssl;
    server_name wrong.example;
    ssl_certificate $dir/wrong.example.crt;
    ssl_certificate_key $dir/wrong.example.key;
    root $dir/www;
  }
}
CONF
}

start() {
  for tool in "$nginx" openssl; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; scripts/setup installs it" >&2; return 1; }
  done
  stop
  dir=$(mktemp -d "${TMPDIR:-/tmp}/korbisto-nginx.XXXXXX")
  # The workers of a root master read the documents as nobody.
  chmod 755 "$dir"
  mkdir -p "$dir/www" "$dir/temp"
  chmod 755 "$dir/www"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "/CN=Korbisto Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -days 2 -keyout "$dir/ca.key" -out "$dir/ca.crt" 2>/dev/null
  certificate localhost "DNS:localhost,IP:127.0.0.1"
  certificate wrong.example "DNS:wrong.example"
  # A body long enough to pass for any file if the status were not looked at.
  { echo "<html><body><h1>404 Nicht gefunden</h1>"; head -c 3000 /dev/zero | tr '\0' 'x'; echo "</body></html>"; } \
    >"$dir/www/404.html"

  if [ -n "$hostile" ]; then
    mkdir "$dir/hostile"
    # Detached from ctest's pipes, as nginx is.
    setsid -f "$hostile" "$dir/localhost.crt" "$dir/localhost.key" "$dir/www" "$dir/hostile" \
      </dev/null >"$dir/hostile/log" 2>&1
    for _ in $(seq 100); do [ -f "$dir/hostile/port" ] && break; sleep 0.1; done
    [ -f "$dir/hostile/port" ] || { echo "the hostile server did not start:" >&2; cat "$dir/hostile/log" >&2; stop_folder; return 1; }
  fi

  for _ in $(seq 30); do
    port=$((20000 + RANDOM % 40000))
    config "$port" $((port + 1))
    if "$nginx" -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" 2>>"$dir/start.log"; then
      cat >"$state" <<STATE
folder=$dir
server=https://127.0.0.1:$port
localhost=https://localhost:$port
wronghost=https://127.0.0.1:$((port + 1))
ca=$dir/ca.crt
root=$dir/www
hostile=https://127.0.0.1:$(cat "$dir/hostile/port" 2>/dev/null)
STATE
      return 0
    fi
  done
  echo "nginx did not start:" >&2
  cat "$dir/start.log" "$dir/error.log" >&2 2>/dev/null || true
  stop_folder
  return 1
}

# Before a state file exists: the hostile server, if it runs, and the folder.
stop_folder() {
  printf 'folder=%s\n' "$dir" >"$state"
  stop
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop STATE" >&2; exit 2 ;;
esac
