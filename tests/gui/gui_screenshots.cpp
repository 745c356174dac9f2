// Screenshots of the image detail window and the network setup dialog as a
// user sees them: a simulated camera on loopback, a real capture, the real
// (modal) windows. Run it on a display, e.g. under xvfb-run:
//
//   xvfb-run -s "-screen 0 1280x1024x24" build/tests/gui_screenshots OUTDIR
//
// It writes OUTDIR/image_window.png, image_window_info.png,
// image_window_scrolled.png and setup_dialog.png, each a grab of the screen
// while the window is open.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>
#include <QTcpServer>
#include <cstdio>

#include "UImage.h"
#include "UPictureBox.h"
#include "ULumidor.h"
#include "UMain.h"
#include "USetup.h"
#include "UZudirir.h"

namespace {

quint16 FreePort(bool tcp) {
  if (tcp) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
  }
  QUdpSocket probe;
  probe.bind(QHostAddress::LocalHost, 0);
  return probe.localPort();
}

bool SaveScreen(const QString& file) {
  const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(file, "PNG");
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "saved" : "cannot save", qPrintable(file));
  return saved;
}

// Runs step once the next modal window has had time to draw.
void Later(int ms, std::function<void()> step) { QTimer::singleShot(ms, qApp, std::move(step)); }

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(out);

  TZudirirEndpoints endpoints;
  endpoints.UdpPort = FreePort(false);
  endpoints.TcpPort = FreePort(true);
  endpoints.HttpPort = FreePort(true);
  endpoints.Broadcast = "127.255.255.255";
  QProcess sim;
  sim.setProcessChannelMode(QProcess::MergedChannels);
  sim.start(QStringLiteral(DOZUSIM_PATH),
            {QStringLiteral("--cameras"), QStringLiteral("1"), QStringLiteral("--quiet"), QStringLiteral("--udp-port"),
             QString::number(endpoints.UdpPort), QStringLiteral("--tcp-port"), QString::number(endpoints.TcpPort),
             QStringLiteral("--http-port"), QString::number(endpoints.HttpPort), QStringLiteral("--broadcast"),
             QStringLiteral("127.255.255.255")});
  QByteArray log;
  while (!log.contains("ready") && sim.waitForReadyRead(5000)) log += sim.readAll();
  if (!log.contains("ready")) {
    std::fprintf(stderr, "dozusim did not start: %s\n", log.constData());
    return 1;
  }

  TFormZudirir zudirir;
  zudirir.SetEndpoints(endpoints);
  std::unique_ptr<TFormMain> form = CreateForms(zudirir, nullptr, QDir(out).filePath(QStringLiteral("Lumidor.ini")));
  QSignalSpy ready(form.get(), &TFormMain::Ready);
  form->show();
  if (!form->Started() && !ready.wait(10000)) return 1;
  form->btnGetImageClick(0);
  if (!form->Image1->HasPicture()) {
    std::fprintf(stderr, "no picture captured\n");
    return 1;
  }

  int failures = 0;
  TFormImage& image = *form->FormImage;
  Later(700, [&] {
    failures += !SaveScreen(QDir(out).filePath(QStringLiteral("image_window.png")));
    image.btnShowInfo->click();
    Later(300, [&] {
      failures += !SaveScreen(QDir(out).filePath(QStringLiteral("image_window_info.png")));
      image.btnShowInfo->click();
      // Down to the plate: the strips and the plate move, the boxes stay.
      for (int notch = 0; notch < 22; ++notch) image.FormMouseWheel(-120);
      Later(300, [&] {
        failures += !SaveScreen(QDir(out).filePath(QStringLiteral("image_window_scrolled.png")));
        image.reject();
      });
    });
  });
  form->OnImage1DblClick();

  TFormSetup& setup = *form->FormSetup;
  Later(500, [&] {
    failures += !SaveScreen(QDir(out).filePath(QStringLiteral("setup_dialog.png")));
    setup.reject();
  });
  form->OnSetupIPAddr();

  form.reset();
  sim.terminate();
  sim.waitForFinished(5000);
  return failures == 0 ? 0 : 1;
}
