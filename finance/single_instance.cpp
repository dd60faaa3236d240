// The running program listens on a local socket named after its program
// directory; a later start connects, asks it to show its window, and ends.
// Two programs over one directory would each keep lists the other's edits make
// stale, and the record locks could only refuse those edits without a word.
#include "single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <cstdio>
#include <string>

#include "app_tpl_templates.h"
#include "forms/form_window.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/owned_text.h"

namespace tavrin::finance {

namespace {

constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 5000;
constexpr char kShowRequest[] = "show\n";
constexpr char kShownAnswer[] = "shown\n";

std::string DirectoryUtf8() {
    return NativePath(TakeText(CallKernel(ProgramDirectory)));
}

// Per user and per directory, short enough for a socket path.
QString ServerName() {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(DirectoryUtf8()),
                                                       QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(20);
    return QStringLiteral("tavrin-%1-%2").arg(uint(getuid())).arg(QString::fromLatin1(digest));
}

void ShowMainWindow() {
    QWidget* main = forms::WindowWidget(app_tpl::ids::MainWindow);
    if (!main) return;
    if (main->isMinimized()) main->showNormal();
    main->raise();
    main->activateWindow();
    // A modal window open over it stays in front of it, where the person must answer it.
    if (QWidget* modal = forms::ModalWindowHolding(app_tpl::ids::MainWindow)) {
        modal->raise();
        modal->activateWindow();
    }
}

QLocalServer*& Server() {
    static QLocalServer* server = nullptr;
    return server;
}

}  // namespace

HandOver HandOverToRunningProgram() {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kConnectMs)) return HandOver::kNoneRunning;
    socket.write(kShowRequest);
    socket.flush();
    const std::string directory = DirectoryUtf8();
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMs)) {
    }
    if (socket.readLine() != kShownAnswer) {
        std::fprintf(stderr, "tavrin: a program running over %s does not answer\n",
                     directory.c_str());
        return HandOver::kNotAnswering;
    }
    std::printf("tavrin: already running over %s; its window is now in front\n", directory.c_str());
    return HandOver::kShown;
}

void AnswerLaterStarts() {
    const QString name = ServerName();
    QLocalServer*& server = Server();
    if (server && server->isListening() && server->serverName() == name) return;
    delete server;
    server = new QLocalServer();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        // A socket left by a program that ended without closing it: no one answers there.
        QLocalServer::removeServer(name);
        if (!server->listen(name)) return;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client] {
                if (!client->canReadLine()) return;
                if (client->readLine() != kShowRequest) return;
                ShowMainWindow();
                client->write(kShownAnswer);
                client->flush();
            });
        }
    });
}

}  // namespace tavrin::finance
