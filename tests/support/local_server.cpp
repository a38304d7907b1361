#include "local_server.h"


namespace {

// Both print the port they were given, as soon as they listen.
constexpr const char* kServe =
    "import functools, http.server, sys\n"
    "handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
    "server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)\n"
    "print(server.server_port, flush=True)\n"
    "server.serve_forever()\n";
constexpr const char* kSilent =
    "import socket, time\n"
    "listening = socket.create_server(('127.0.0.1', 0))\n"
    "print(listening.getsockname()[1], flush=True)\n"
    "time.sleep(3600)\n";

}  // namespace

LocalServer::LocalServer(const QString& folder) {
  process_.setStandardErrorFile(QProcess::nullDevice());
  process_.start("python3", folder.isEmpty() ? QStringList{"-c", kSilent} : QStringList{"-c", kServe, folder});
  while (process_.waitForReadyRead(10000) || process_.canReadLine()) {
    if (!process_.canReadLine()) continue;
    const QByteArray port = process_.readLine().trimmed();
    if (!port.isEmpty()) base_ = "http://127.0.0.1:" + QString::fromLatin1(port) + "/";
    break;
  }
}

LocalServer::~LocalServer() {
  process_.kill();
  process_.waitForFinished();
}
