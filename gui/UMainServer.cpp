// The event server: cameras connect and push their plate reads, which are
// listed in ListViewMsgRx; pushed pictures can be saved as they arrive.
//
// The server runs on the GUI thread: Qt tells it when a connection has bytes,
// so every window change happens on that thread without a hand-over queue.
// What to make of the bytes is decided by TServerCollector, which keeps one
// buffer per connection: cameras sending at the same time never mix their
// bytes, and each line names the camera that sent it.

#include <QCheckBox>
#include <QDir>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <limits>

#include "UMain.h"
#include "UQtBridge.h"
#include "UTools.h"

namespace {

// Each connection carries the collector's id and the peer's address.
constexpr const char* ConnectionIdProperty = "ConnectionId";
constexpr const char* PeerProperty = "PeerAddress";

// How much a connection reads in one go (Qt's buffer of the socket).
constexpr qint64 ReadChunk = 256 * 1024;

// How long one turn of the event loop lists messages (at least one) before
// the window gets to paint, tick and take input again.
constexpr int64_t TurnMs = 10;

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The listener takes IPv4 connections on its IPv6 socket, where they show as
// ::ffff:a.b.c.d; cameras are listed by their dotted IPv4 address.
QString PeerText(const QHostAddress& address) {
  bool v4 = false;
  const quint32 ipv4 = address.toIPv4Address(&v4);
  if (v4) return QHostAddress(ipv4).toString();
  QHostAddress plain(address);
  plain.setScopeId(QString());
  return plain.toString();
}

// The first row, from the top as shown, whose IP address text contains the
// peer's address (10.0.0.1 is found in 10.0.0.12), or -1.
int RowOfPeer(const TDeviceGrid& grid, const QString& peer) {
  if (peer.isEmpty()) return -1;
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (grid.Cell(colIPADDR, row).contains(peer, Qt::CaseSensitive)) return row;
  }
  return -1;
}

// The folder picker's root: the drive of the folder, or the whole tree.
QString DriveOf(const QString& folder) {
  if (folder.isEmpty()) return QString();
  const QString path = QDir::fromNativeSeparators(folder);
  if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) return path.left(2) + QLatin1Char('/');
  return QDir::rootPath();
}

// Runs the drop timer until the next incomplete message is due, or stops it.
void ArmDropTimer(TFormMain& form) {
  const std::optional<int64_t> due = form.ServerCollector.NextDeadline();
  if (!due) {
    form.TcpServerTimer->stop();
    return;
  }
  const int64_t wait = std::max<int64_t>(0, *due - SteadyMs());
  form.TcpServerTimer->start(static_cast<int>(std::min<int64_t>(wait, TServerCollector::DropAfterMs)));
}

QList<QTcpSocket*> Connections(const QTcpServer& server) { return server.findChildren<QTcpSocket*>(); }

// Runs ProcessServerData once the window has nothing more urgent to do: a
// zero timer comes after paint, input and the other timers, where a queued
// call would be taken before them turn after turn while cameras keep
// sending.
void QueueProcessing(TFormMain& form) {
  if (form.ServerProcessQueued || form.ServerQueue.empty()) return;
  auto* timer = form.findChild<QTimer*>(QStringLiteral("ServerProcessTimer"), Qt::FindDirectChildrenOnly);
  if (!timer) {
    timer = new QTimer(&form);
    timer->setObjectName(QStringLiteral("ServerProcessTimer"));
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &form, [&form] {
      try {
        form.ProcessServerData();
      } catch (...) {
        // A message's own failure is handled inside; nothing else may stop the listing.
      }
    });
  }
  form.ServerProcessQueued = true;
  timer->start();
}

}  // namespace

// ------------------------------------------------------------ commands

void TFormMain::btnServerStartClick() {
  PageControlSettings->setCurrentWidget(tsSERVER);
  // The server has no bindings of its own: it listens on every address.
  StopServer();
  const QString text = EditServerPort->text();
  bool ok = false;
  int64_t port = text.toLongLong(&ok);
  // Too many digits for any number: certainly no port.
  if (!ok) port = text.isEmpty() ? 0 : std::numeric_limits<int64_t>::max();
  StartServer(port);
  UpdateControls();
}

// Listens on every local IPv4 address and, where the system has IPv6, every
// IPv6 address. A number outside 1..65535 is no port: it gets the same error
// rather than being cut to 16 bits (0 would let the system pick a port).
bool TFormMain::StartServer(int64_t port) {
  PeerAddress.clear();
  ServerCollector.Reset();
  TcpServerTimer->stop();
  bool listening = false;
  if (port >= 1 && port <= 65535) {
    const auto p = static_cast<quint16>(port);
    listening = TCPServer1->listen(QHostAddress::Any, p);
    // Without IPv6 the dual-stack address cannot be had; IPv4 alone then.
    if (!listening && TCPServer1->serverError() != QAbstractSocket::AddressInUseError) {
      listening = TCPServer1->listen(QHostAddress::AnyIPv4, p);
    }
  }
  if (!listening) Prompts().MessageBox(QStringLiteral("Error: failed to activate tcpserver port %1").arg(port));
  return listening;
}

void TFormMain::btnServerStopClick() {
  StopServer();
  UpdateControls();
}

// Stops listening and closes every connection; what they left unfinished is
// dropped. Messages that arrived whole are still listed.
void TFormMain::StopServer() {
  TcpServerTimer->stop();
  TCPServer1->close();
  for (QTcpSocket* connection : Connections(*TCPServer1)) {
    connection->disconnect(this);
    connection->abort();
    connection->deleteLater();
  }
  ServerCollector.Reset();
}

// The server and the bytes held for unfinished messages are left alone.
void TFormMain::btnServerClearClick() {
  ClearDevicePanes();
  ListViewMsgRx->clear();
}

// ------------------------------------------------------------ connections

void TFormMain::TCPServer1Connect() {
  static TConnectionId lastId = 0;
  while (QTcpSocket* connection = TCPServer1->nextPendingConnection()) {
    const QString peer = PeerText(connection->peerAddress());
    const TConnectionId id = ++lastId;
    connection->setProperty(ConnectionIdProperty, QVariant::fromValue<qulonglong>(id));
    connection->setProperty(PeerProperty, peer);
    connection->setReadBufferSize(ReadChunk);
    // A new connection starts empty; the others keep what they hold.
    ServerCollector.Connect(id, QStringToAnsi(peer));
    connect(connection, &QTcpSocket::readyRead, this,
            [this, connection] { Guarded([&] { TCPServer1Execute(connection); }); });
    connect(connection, &QTcpSocket::errorOccurred, this,
            [this, connection] { Guarded([&] { TCPServer1Exception(connection); }); });
    connect(connection, &QTcpSocket::disconnected, this, [this, connection, id] {
      // Bytes that came with the close are still the camera's.
      Guarded([&] { TCPServer1Execute(connection); });
      ServerCollector.Disconnect(id);
      ArmDropTimer(*this);
      connection->disconnect(this);
      connection->deleteLater();
    });

    PeerAddress = QStringToAnsi(peer);
    // A normal selection: the list's own handler clears the panes and takes
    // the row into CurrentDevice.
    GridDevices->SelectRow(RowOfPeer(*GridDevices, peer));
    ClearDevicePanes();
    lblServerStatus->setText(QStringLiteral("Connected to ") + peer);
  }
  UpdateControls();
}

// Takes whatever the connection has received and queues every message and
// text it completes for ProcessServerData. While the dispatcher is behind,
// the bytes stay with the open connection; a closed one is read out.
void TFormMain::TCPServer1Execute(QTcpSocket* connection) {
  if (ServerQueueBytes >= ServerQueueLimit && connection->state() == QAbstractSocket::ConnectedState) {
    ++ServerReadsHeld;
    return;
  }
  const QByteArray bytes = connection->readAll();
  if (bytes.isEmpty()) return;
  const QString peer = connection->property(PeerProperty).toString();
  const auto id = static_cast<TConnectionId>(connection->property(ConnectionIdProperty).toULongLong());
  PeerAddress = QStringToAnsi(peer);
  std::vector<TServerEvent> events = ServerCollector.Feed(
      id, PeerAddress, reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
      SteadyMs());
  for (TServerEvent& event : events) {
    ServerQueueBytes += event.Bytes.size();
    ServerQueue.push_back(std::move(event));
  }
  lblServerStatus->setText(QStringLiteral("Message received from ") + peer);
  QueueProcessing(*this);
  ArmDropTimer(*this);
  UpdateControls();
}

// An error on a connection ends it without a message: the socket closes
// itself on every error that breaks it (and the drop timer's poll reports a
// harmless time-out through here too).
void TFormMain::TCPServer1Exception(QTcpSocket*) {}

// Each complete message goes to the reply dispatcher, each text to a STRING
// line, with the address of the camera that sent it, for at most one turn
// of the event loop; the rest waits for the next turn. A message whose
// handling fails (a picture that does not decode or cannot be saved) is lost
// alone: it is already out of the buffer, so the next one is read from its
// own first byte and the drop timer keeps running.
void TFormMain::ProcessServerData() {
  ServerProcessQueued = false;
  const int64_t start = SteadyMs();
  while (!ServerQueue.empty()) {
    TServerEvent event = std::move(ServerQueue.front());
    ServerQueue.pop_front();
    ServerQueueBytes -= event.Bytes.size();
    PeerAddress = event.Peer;
    if (event.Kind == TServerEventKind::Message) {
      try {
        HandleReply(event.Bytes.data(), static_cast<uint32_t>(event.Bytes.size()));
      } catch (...) {
      }
    } else {
      AddTextMessageLine(event.Bytes.data(), event.Bytes.size());
    }
    if (SteadyMs() - start >= TurnMs) break;
  }
  // Connections left unread while the queue was full are read now.
  if (ServerQueueBytes < ServerQueueLimit) {
    for (QTcpSocket* connection : Connections(*TCPServer1)) {
      if (connection->bytesAvailable() > 0) TCPServer1Execute(connection);
    }
  }
  QueueProcessing(*this);
  UpdateControls();
}

void TFormMain::AddTextMessageLine(const uint8_t* bytes, size_t count) {
  const std::string text(reinterpret_cast<const char*>(bytes), count);
  AddMessageLine(AnsiToQString(PeerAddress), QStringLiteral("STRING"), AnsiToQString(ControlCharsToText(text)));
}

// 2000 ms without a byte from a connection that holds an unfinished message:
// the message is dropped without a line.
void TFormMain::TcpServerTimerTimer() {
  TcpServerTimer->stop();
  // While the queue is full nobody reads: the silence is the window's own.
  if (ServerQueueBytes >= ServerQueueLimit) {
    TcpServerTimer->start(static_cast<int>(TServerCollector::DropAfterMs));
    return;
  }
  // The window may have been busy (a TCP exchange blocks it): bytes waiting
  // on a socket are the camera's, not its silence, so they are read first.
  for (QTcpSocket* connection : Connections(*TCPServer1)) {
    const auto id = static_cast<TConnectionId>(connection->property(ConnectionIdProperty).toULongLong());
    if (ServerCollector.HeldBytes(id) > 0 && connection->state() == QAbstractSocket::ConnectedState) {
      if (connection->bytesAvailable() > 0) TCPServer1Execute(connection);
      connection->waitForReadyRead(0);  // what the system holds comes as readyRead
    }
  }
  ServerCollector.OnTimer(SteadyMs());
  ArmDropTimer(*this);
}

// ------------------------------------------------------------ saving pushed pictures

void TFormMain::chkServerSaveImagesClick() {
  SaveImages = false;
  lblServerSaveImages->clear();
  if (!chkServerSaveImages->isChecked()) return;  // off; the folder is kept
  const QString current = AnsiToQString(SaveFolder);
  QString folder = !current.isEmpty() && QDir(current).exists() ? current : QString();
  if (Prompts().SelectFolder(QStringLiteral("Select Directory"), DriveOf(current), folder)) {
    SaveImages = true;
    SaveFolder = QStringToAnsi(QDir::toNativeSeparators(folder));
    lblServerSaveImages->setText(AnsiToQString(SaveFolder));
    FormResize();
  } else {
    chkServerSaveImages->setChecked(false);
  }
}

// The label belongs to the check box. While saving is on, a click on it asks
// for the folder again (cancelling turns saving off); otherwise it ticks the
// box as a click there would.
void TFormMain::lblServerSaveImagesClick() {
  if (chkServerSaveImages->isChecked()) {
    chkServerSaveImagesClick();
  } else {
    chkServerSaveImages->click();
  }
}
