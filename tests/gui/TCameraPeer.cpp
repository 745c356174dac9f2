#include "TCameraPeer.h"

#include <QNetworkDatagram>

#include "TTestMessages.h"

TCameraPeer::TCameraPeer() { connect(&Socket, &QUdpSocket::readyRead, this, &TCameraPeer::Read); }

bool TCameraPeer::Listen() {
  // Not shared: a port that other suites running beside this one could also
  // be given would let their searches reach this camera.
  return Socket.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress);
}

void TCameraPeer::Read() {
  while (Socket.hasPendingDatagrams()) {
    const QNetworkDatagram request = Socket.receiveDatagram();
    ++Requests;
    LastSender = request.senderAddress();
    LastDestination = request.destinationAddress();
    const QByteArray data = request.data();
    LastRequest.assign(data.begin(), data.end());
    for (const std::vector<uint8_t>& reply : Replies) {
      for (const std::vector<uint8_t>& datagram : ReplyDatagrams(reply)) {
        Socket.writeDatagram(reinterpret_cast<const char*>(datagram.data()), static_cast<qint64>(datagram.size()),
                             request.senderAddress(), request.senderPort());
      }
    }
  }
}
