// Load run of Lumidor's event server: cameras push plate reads with both
// pictures as fast as the window takes them, over loopback, for a while.
// Reported: messages sent and listed (per camera, and they must be equal),
// the sustained rate, the GUI thread's longest stall (the lateness of a 5 ms
// timer on that thread) and the peak memory of the process.
//
// The window is the real one (shown on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise), built as the program builds it. The
// cameras are either threads of this program, each on its own loopback
// address, sending ready-made messages (default), or dozusim --push in a
// process of its own (--dozusim PATH), which renders every picture afresh.
//
// dozusim counts a message as pushed once its last byte is written; stopped
// in the middle of a write it would miss that message, so in that mode each
// camera pushes a fixed number (--count) and the run lasts as long as that
// takes.
//
//   bench_server [--seconds 30] [--cameras 10] [--save DIR] [--hidden]
//   bench_server --dozusim PATH [--count 300] [--cameras 10] [--save DIR] [--hidden]
//
// --hidden leaves the window unshown, so that the cost of painting can be
// told apart from the cost of listing.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QHostAddress>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QUdpSocket>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ULumidor.h"
#include "UMain.h"
#include "UZudirir.h"

namespace {

using TBytes = std::vector<uint8_t>;

struct TOptions {
  int Seconds = 30;
  int Cameras = 10;
  QString SaveFolder;  // empty: pictures are shown, not saved
  QString Dozusim;     // empty: the built-in cameras
  int Count = 300;     // dozusim: transits per camera
  bool Hidden = false; // the window is not shown (nothing painted)
};

// Prompts that answer nothing and print what the window would have shown.
class TQuietPrompts : public TPrompts {
public:
  void MessageBox(const QString& text) override { Print("message", text); }
  void Information(const QString& text) override { Print("information", text); }
  bool Confirm(const QString& text) override { return Print("confirm", text), false; }
  void ErrorBox(const QString& message) override { Print("error", message); }
  bool InputBox(const QString&, const QString&, QString&) override { return false; }
  bool OpenFile(const TFileDialogSpec&, QString&) override { return false; }
  bool SaveFile(const TFileDialogSpec&, QString&) override { return false; }
  bool SelectFolder(const QString&, const QString&, QString&) override { return false; }
  int ExecDialog(QDialog&) override { return 0; }
  void OpenUrl(const QString&) override {}
  int Shown = 0;

private:
  void Print(const char* kind, const QString& text) {
    ++Shown;
    std::fprintf(stderr, "Lumidor %s box: %s\n", kind, qPrintable(text));
  }
};

// ---- The built-in cameras' messages, shaped like a camera's plate read.

void PutWord(TBytes& out, uint32_t w) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

void Record(TBytes& payload, uint32_t id, const TBytes& value) {
  PutWord(payload, id);
  PutWord(payload, static_cast<uint32_t>(value.size()));
  payload.insert(payload.end(), value.begin(), value.end());
  while (payload.size() % 4 != 0) payload.push_back(0);
}

void Word(TBytes& payload, uint32_t id, uint32_t v) {
  TBytes value;
  PutWord(value, v);
  Record(payload, id, value);
}

void Text(TBytes& payload, uint32_t id, const std::string& text) {
  TBytes value(text.begin(), text.end());
  value.push_back(0);
  Record(payload, id, value);
}

// A road scene of the camera's size with some texture, so that the JPEG
// picture has a camera's weight, and the camera's information block in
// front.
TBytes Picture(int width, int height, bool colour, const std::string& host, const std::string& plate) {
  QImage image(width, height, QImage::Format_RGB888);
  QRandomGenerator random(colour ? 7 : 3);
  for (int y = 0; y < height; ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      const int base = 60 + (y * 120) / height + static_cast<int>(random.bounded(24));
      line[3 * x] = static_cast<uchar>(colour ? std::min(255, base + 30) : base);
      line[3 * x + 1] = static_cast<uchar>(base);
      line[3 * x + 2] = static_cast<uchar>(colour ? std::max(0, base - 30) : base);
    }
  }
  QPainter painter(&image);
  painter.fillRect(width / 3, height / 2, width / 4, height / 12, Qt::white);
  painter.setFont(QFont(QStringLiteral("Sans"), height / 20));
  painter.drawText(width / 3 + 10, height / 2 + height / 14, QString::fromStdString(plate));
  painter.end();
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(80);
  writer.write(colour ? image : image.convertToFormat(QImage::Format_Grayscale8));
  std::string info = "[INFO]\r\nS_FIRMWARE_VER=4.2.1187\r\nS_NETBIOSNAME=" + host +
                     "\r\nI_SN=210001\r\nS_DATE=2015-03-07\r\nS_TIME=09-05-03-250\r\nS_PLATE=" + plate +
                     "\r\nI_NREAD=3\r\nF_OCRSCORE=87\r\nI_JPEG_QUALITY=80\r\nI_GAIN=12\r\nI_SHUTTER=500\r\n"
                     "I_STROBO=1\r\nS_CLASS_STRING=CAR\r\nS_OCR_CFG=Win:(10,20) (1270,950) Ch:8x12 40x60\r\n"
                     "I_PLATE_MIN_X=426\r\nI_PLATE_MIN_Y=480\r\nI_PLATE_MAX_X=746\r\nI_PLATE_MAX_Y=560\r\n";
  const size_t l = info.size() + 2;
  TBytes out;
  out.reserve(6 + info.size() + static_cast<size_t>(jpeg.size()));
  for (const uint8_t b : {uint8_t{0xFF}, uint8_t{0xD8}, uint8_t{0xFF}, uint8_t{0xE0}, static_cast<uint8_t>(l >> 8),
                          static_cast<uint8_t>(l)}) {
    out.push_back(b);
  }
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());  // after the JPEG's own FF D8
  return out;
}

// A MSG_TRANSIT message of twenty records with both pictures, and the offset
// of its TRANSIT_ID value (patched for every message sent).
struct TTransit {
  TBytes Bytes;
  size_t TransitIdAt = 0;
};

TTransit BuildTransit(int camera) {
  const std::string host = "DOZU-" + std::to_string(camera);
  const std::string plate = "AB" + std::to_string(100 + camera) + "CD";
  TBytes p;
  Word(p, 14017, 210000 + static_cast<uint32_t>(camera));  // SERIAL_NUMBER
  Text(p, 14002, host);                                     // NETBIOSNAME
  Text(p, 14000, "2015-03-07");                             // DATE
  Text(p, 14001, "09:05:03.250");                           // TIME
  const size_t idAt = p.size() + 8;
  Word(p, 14009, 0);  // TRANSIT_ID
  Text(p, 14003, plate);
  Text(p, 14004, plate);
  Text(p, 14005, "I");
  Word(p, 14006, 3);
  Word(p, 14007, 87);
  Word(p, 14008, 54);
  Word(p, 14010, 1);
  Text(p, 14011, "CAR");
  Text(p, 14012, "APPROACHING");
  Word(p, 14013, 426);
  Word(p, 14014, 480);
  Word(p, 14015, 746);
  Word(p, 14016, 560);
  Record(p, 14020, Picture(1280, 960, false, host, plate));  // IMAGE_BW
  Record(p, 14021, Picture(800, 600, true, host, plate));    // IMAGE_COL
  TTransit t;
  PutWord(t.Bytes, 24);
  PutWord(t.Bytes, 40000);  // MSG_TRANSIT
  PutWord(t.Bytes, 0);
  PutWord(t.Bytes, 0);
  PutWord(t.Bytes, 0);
  PutWord(t.Bytes, static_cast<uint32_t>(p.size()));
  t.TransitIdAt = t.Bytes.size() + idAt;
  t.Bytes.insert(t.Bytes.end(), p.begin(), p.end());
  return t;
}

// One built-in camera: connects from its own loopback address and sends
// whole messages back to back until the end of the run; a message begun is
// always finished, so every message counted as sent is complete on the wire.
void RunCamera(int camera, quint16 port, int64_t untilMs, std::atomic<int64_t>& sent, const TTransit& model,
               std::atomic<int>& running) {
  struct TDone {
    std::atomic<int>& Running;
    ~TDone() { --Running; }
  } done{running};
  TTransit transit = model;
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return;
  sockaddr_in self{};
  self.sin_family = AF_INET;
  self.sin_addr.s_addr = htonl(0x7F00000B + static_cast<uint32_t>(camera));  // 127.0.0.11 on
  ::bind(fd, reinterpret_cast<sockaddr*>(&self), sizeof self);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
    ::close(fd);
    return;
  }
  QElapsedTimer clock;
  clock.start();
  for (uint32_t id = 1; clock.elapsed() < untilMs; ++id) {
    for (int i = 0; i < 4; ++i) transit.Bytes[transit.TransitIdAt + i] = static_cast<uint8_t>(id >> (8 * i));
    size_t done = 0;
    while (done < transit.Bytes.size()) {
      const ssize_t n = ::send(fd, transit.Bytes.data() + done, transit.Bytes.size() - done, MSG_NOSIGNAL);
      if (n <= 0) {
        ::close(fd);
        return;
      }
      done += static_cast<size_t>(n);
    }
    ++sent;
  }
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
}

quint16 FreePort(bool udp) {
  if (udp) {
    QUdpSocket probe;
    probe.bind(QHostAddress::AnyIPv4, 0);
    return probe.localPort();
  }
  QTcpServer probe;
  probe.listen(QHostAddress::AnyIPv4, 0);
  return probe.serverPort();
}

long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool ParseOptions(const QStringList& args, TOptions& o) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == QLatin1String("--seconds") && more) {
      o.Seconds = args[++i].toInt();
    } else if (a == QLatin1String("--cameras") && more) {
      o.Cameras = args[++i].toInt();
    } else if (a == QLatin1String("--save") && more) {
      o.SaveFolder = args[++i];
    } else if (a == QLatin1String("--dozusim") && more) {
      o.Dozusim = args[++i];
    } else if (a == QLatin1String("--hidden")) {
      o.Hidden = true;
    } else if (a == QLatin1String("--count") && more) {
      o.Count = args[++i].toInt();
    } else {
      return false;
    }
  }
  return o.Seconds > 0 && o.Count > 0 && o.Cameras > 0 && o.Cameras <= 200;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TOptions options;
  if (!ParseOptions(app.arguments(), options)) {
    std::fprintf(stderr,
                 "usage: bench_server [--seconds 30] [--cameras 10] [--save DIR] [--hidden]\n"
                 "       bench_server --dozusim PATH [--count 300] [--cameras 10] [--save DIR] [--hidden]\n");
    return 2;
  }

  // Lumidor as the program builds it; its one search stays on loopback and
  // finds nobody.
  QTemporaryDir dir;
  TFormZudirir zudirir;
  TZudirirEndpoints endpoints = zudirir.Endpoints();
  endpoints.UdpPort = FreePort(true);
  endpoints.Broadcast = "127.255.255.255";
  zudirir.SetEndpoints(endpoints);
  auto owned = std::make_unique<TQuietPrompts>();
  TQuietPrompts* prompts = owned.get();
  std::unique_ptr<TFormMain> form = CreateForms(zudirir, std::move(owned), dir.filePath(QStringLiteral("Lumidor.ini")));
  TFormMain& f = *form;
  if (options.Hidden) {
    f.FormShow();  // the first search, which showing the window would run
  } else {
    f.show();
    QElapsedTimer wait;
    wait.start();
    while (!f.Started() && wait.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  const quint16 port = FreePort(false);
  f.EditServerPort->setText(QString::number(port));
  f.btnServerStartClick();
  if (!f.ServerActive()) return 1;
  if (!options.SaveFolder.isEmpty()) {
    f.SaveImages = true;
    f.SaveFolder = QDir::toNativeSeparators(options.SaveFolder).toStdString();
    f.chkServerSaveImages->setChecked(true);
  }

  // Listed messages: one TRANSIT_ID line each, counted per camera as lines
  // are added; the first and last line give the sustained rate.
  std::map<QString, int64_t> listed;
  int64_t listedAll = 0;
  QElapsedTimer run;
  int64_t firstLineMs = -1, lastLineMs = -1;
  QObject::connect(f.ListViewMsgRx->model(), &QAbstractItemModel::rowsInserted, &f,
                   [&](const QModelIndex& parent, int first, int last) {
                     if (parent.isValid()) return;
                     for (int row = first; row <= last; ++row) {
                       const QTreeWidgetItem* line = f.ListViewMsgRx->topLevelItem(row);
                       if (!line || line->text(2) != QLatin1String("TRANSIT_ID")) continue;
                       ++listed[line->text(1)];
                       ++listedAll;
                       if (firstLineMs < 0) firstLineMs = run.elapsed();
                       lastLineMs = run.elapsed();
                     }
                   });

  // The stall probe: a 5 ms timer on the GUI thread; how late it comes is
  // how long the thread was held by other work.
  constexpr int ProbeMs = 5;
  int64_t worstMs = 0, worstAtMs = 0, lateOver50 = 0, lateOver100 = 0, ticks = 0;
  std::vector<int64_t> lateness;
  QElapsedTimer sinceTick;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const int64_t late = sinceTick.elapsed() - ProbeMs;
    sinceTick.restart();
    ++ticks;
    if (late > worstMs) {
      worstMs = late;
      worstAtMs = run.elapsed();
    }
    lateness.push_back(late);
    if (late > 50) ++lateOver50;
    if (late > 100) ++lateOver100;
  });

  std::map<QString, int64_t> sentBy;
  int64_t sentAll = 0;
  std::vector<std::thread> cameras;
  std::vector<std::unique_ptr<std::atomic<int64_t>>> counters;
  std::unique_ptr<QProcess> sim;
  size_t messageBytes = 0;  // built-in cameras: the size of every message
  const int64_t runMs = int64_t{options.Seconds} * 1000;

  // The built-in cameras' messages are made before the clock starts.
  std::vector<TTransit> models;
  if (options.Dozusim.isEmpty()) {
    for (int c = 0; c < options.Cameras; ++c) models.push_back(BuildTransit(c + 1));
    messageBytes = models[0].Bytes.size();
    std::fprintf(stderr, "built-in cameras: message of %zu bytes\n", messageBytes);
  }
  run.start();
  sinceTick.start();
  probe.start(ProbeMs);
  if (options.Dozusim.isEmpty()) {
    std::atomic<int> running{options.Cameras};
    for (int c = 0; c < options.Cameras; ++c) {
      counters.push_back(std::make_unique<std::atomic<int64_t>>(0));
      cameras.emplace_back(RunCamera, c, port, runMs, std::ref(*counters.back()),
                           std::cref(models[static_cast<size_t>(c)]), std::ref(running));
    }
    // The cameras finish the message they are writing, which needs the window.
    while (running > 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (std::thread& t : cameras) t.join();
    for (int c = 0; c < options.Cameras; ++c) {
      const QString from = QStringLiteral("127.0.0.%1").arg(11 + c);
      sentBy[from] = *counters[static_cast<size_t>(c)];
      sentAll += sentBy[from];
    }
  } else {
    // dozusim logs one "pushed transit" line per message written whole and
    // "done pushing" when a camera has pushed its count.
    sim = std::make_unique<QProcess>();
    sim->setProcessChannelMode(QProcess::SeparateChannels);
    QStringList args = {QStringLiteral("--cameras"), QString::number(options.Cameras),
                        QStringLiteral("--udp-port"), QString::number(FreePort(true)),
                        QStringLiteral("--tcp-port"), QString::number(FreePort(false)),
                        QStringLiteral("--http-port"), QString::number(FreePort(false)),
                        QStringLiteral("--push"), QStringLiteral("127.0.0.1:%1").arg(port),
                        QStringLiteral("--push-cameras"), QStringLiteral("all"),
                        QStringLiteral("--push-interval"), QStringLiteral("1"),
                        QStringLiteral("--push-count"), QString::number(options.Count)};
    sim->start(options.Dozusim, args);
    if (!sim->waitForStarted(5000)) return 1;
    QByteArray output;
    while (sim->state() != QProcess::NotRunning && output.count(" done pushing") < options.Cameras &&
           run.elapsed() < 600000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      output += sim->readAllStandardOutput();
    }
    sim->terminate();
    sim->waitForFinished(5000);
    output += sim->readAllStandardOutput();
    // "cam 3 [127.0.0.13] pushed transit ...": counted per camera address.
    const QRegularExpression pushed(QStringLiteral("\\[([0-9.]+)\\] pushed transit "));
    for (const QByteArray& line : output.split('\n')) {
      const QRegularExpressionMatch m = pushed.match(QString::fromLatin1(line));
      if (!m.hasMatch()) continue;
      ++sentBy[m.captured(1)];
      ++sentAll;
    }
    const QString errors = QString::fromLocal8Bit(sim->readAllStandardError()).trimmed();
    if (!errors.isEmpty()) std::fprintf(stderr, "dozusim: %s\n", qPrintable(errors));
  }
  const int64_t pushEndMs = run.elapsed();

  // Whatever is still on its way is listed before counting.
  QElapsedTimer drain;
  drain.start();
  int64_t seen = -1;
  while (drain.elapsed() < 20000 && (listedAll < sentAll || f.ServerCollector.HeldBytes() > 0)) {
    if (listedAll != seen) {
      seen = listedAll;
      drain.restart();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (drain.elapsed() > 5000) break;
  }
  probe.stop();

  const double spanS = lastLineMs > firstLineMs ? (lastLineMs - firstLineMs) / 1000.0 : 0.0;
  std::printf("event server load: %d camera(s), %s, %.1f s of pushing (%s)\n", options.Cameras,
              options.Dozusim.isEmpty() ? "built-in cameras" : "dozusim --push", pushEndMs / 1000.0,
              options.SaveFolder.isEmpty() ? "pictures shown" : "pictures shown and saved");
  std::printf("  messages sent     %lld\n", static_cast<long long>(sentAll));
  std::printf("  messages listed   %lld%s\n", static_cast<long long>(listedAll),
              listedAll == sentAll ? "  (equal)" : "  (DIFFERENT)");
  bool perCameraEqual = true;
  for (const auto& [from, n] : sentBy) {
    if (listed[from] != n) {
      perCameraEqual = false;
      std::printf("  %s sent %lld, listed %lld\n", qPrintable(from), static_cast<long long>(n),
                  static_cast<long long>(listed[from]));
    }
  }
  std::printf("  lines listed      %d\n", f.ListViewMsgRx->topLevelItemCount());
  std::printf("  sustained rate    %.1f messages/s", spanS > 0 ? listedAll / spanS : 0.0);
  if (messageBytes > 0 && spanS > 0) std::printf(" (%.1f MB/s)", listedAll * static_cast<double>(messageBytes) / spanS / 1e6);
  std::printf("\n");
  std::printf("  last line         %.1f s after the start, pushing ended at %.1f s\n", lastLineMs / 1000.0,
              pushEndMs / 1000.0);
  std::sort(lateness.begin(), lateness.end());
  auto percentile = [&](double p) {
    return lateness.empty() ? 0LL
                            : static_cast<long long>(lateness[static_cast<size_t>(p * static_cast<double>(lateness.size() - 1))]);
  };
  std::printf("  GUI thread stall  longest %lld ms (at %.1f s); 5 ms timer late by median %lld, p90 %lld, p99 %lld ms;\n"
              "                    %lld of %lld ticks over 50 ms, %lld over 100 ms\n",
              static_cast<long long>(worstMs), worstAtMs / 1000.0, percentile(0.5), percentile(0.9), percentile(0.99),
              static_cast<long long>(lateOver50), static_cast<long long>(ticks), static_cast<long long>(lateOver100));
  std::printf("  reads held back   %llu times (queue full)\n", static_cast<unsigned long long>(f.ServerReadsHeld));
  std::printf("  peak memory       %.1f MiB (whole process)\n", PeakMemoryKiB() / 1024.0);
  if (prompts->Shown > 0) std::printf("  boxes shown       %d\n", prompts->Shown);
  f.close();
  return listedAll == sentAll && perCameraEqual && sentAll > 0 ? 0 : 1;
}
