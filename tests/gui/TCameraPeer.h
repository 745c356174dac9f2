#pragma once
// A stand-in camera on loopback for the replies no well-behaved camera
// sends (a missing serial number, an error status, a broken picture): it
// answers every request datagram with the scripted replies, in order. It
// runs on the test's own thread, which the window's UDP wait keeps turning.

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <cstdint>
#include <vector>

class TCameraPeer : public QObject {
  Q_OBJECT
public:
  TCameraPeer();
  // Listens on every local IPv4 address at a port the system picks.
  bool Listen();
  quint16 Port() const { return Socket.localPort(); }

  // Whole messages sent back, each cut into fragments, for every request.
  std::vector<std::vector<uint8_t>> Replies;

  int Requests = 0;
  QHostAddress LastSender;
  QHostAddress LastDestination;
  std::vector<uint8_t> LastRequest;

private:
  void Read();
  QUdpSocket Socket;
};
