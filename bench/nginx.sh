# Sourced by the bench scripts: starts nginx on loopback with its files under a work folder.
#   start_nginx WORK HTTP_LINES   HTTP_LINES: the log settings and server blocks of the http
#                                 section (the MIME types, temp folders and keep-alive are here)
start_nginx() {
  local work="$1" lines="$2"
  mkdir -p "$work/nginx"
  cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon on;
pid $work/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 256; }
http {
  client_body_temp_path $work/nginx;
  proxy_temp_path $work/nginx;
  fastcgi_temp_path $work/nginx;
  uwsgi_temp_path $work/nginx;
  scgi_temp_path $work/nginx;
  types { text/html html htm php; text/css css; image/png png; image/svg+xml svg; text/javascript js; }
  default_type application/octet-stream;
  keepalive_requests 100000;
$lines
}
CONF
  nginx -c "$work/nginx.conf"
}
