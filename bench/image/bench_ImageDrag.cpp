// Dragging the large character box across the image detail window's view:
// 1,000 pointer moves per run, each delivered as the system delivers it (to
// the box that took the press, in its coordinates of the moment), each timed
// with what it costs to show: the handling and re-layout, then either the
// repaint of what changed (as the event loop does it) or a forced repaint
// of the whole window. A 1280 x 960 picture with the search window strips
// and the plate frame lies under the box.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_image_drag
//
// Counters: per_move_us (mean), p99_us and max_us, wall time in microseconds;
// picture_paints, how often the picture under the box was drawn.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <vector>

#include "UImage.h"
#include "UImageView.h"
#include "UPictureBox.h"
#include "UPrompts.h"

namespace {

// Shows the window without waiting in it, so the benchmark can drive it.
class TOpenPrompts : public TPrompts {
public:
  void MessageBox(const QString&) override {}
  void Information(const QString&) override {}
  bool Confirm(const QString&) override { return false; }
  void ErrorBox(const QString&) override {}
  bool InputBox(const QString&, const QString&, QString&) override { return false; }
  bool OpenFile(const TFileDialogSpec&, QString&) override { return false; }
  bool SaveFile(const TFileDialogSpec&, QString&) override { return false; }
  bool SelectFolder(const QString&, const QString&, QString&) override { return false; }
  int ExecDialog(QDialog& dialog) override {
    dialog.show();
    QApplication::processEvents();
    return QDialog::Accepted;
  }
  void OpenUrl(const QString&) override {}
};

// A camera picture's worth of detail, so the view has real pixels to draw.
QImage Street() {
  QImage picture(1280, 960, QImage::Format_RGB32);
  QPainter p(&picture);
  p.fillRect(picture.rect(), QColor(120, 120, 120));
  for (int y = 0; y < 960; y += 16) p.fillRect(0, y, 1280, 8, QColor(100 + y % 90, 100, 110));
  p.fillRect(400, 500, 480, 300, QColor(40, 40, 40));
  p.fillRect(520, 672, 180, 44, Qt::white);
  return picture;
}

void Move(QWidget* box, QPoint global) {
  const QPoint local = box->mapFromGlobal(global);
  QMouseEvent e(QEvent::MouseMove, local, global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box, &e);
}

// Counts the paints of the picture, to show that every move was drawn.
class TPaintCounter : public QObject {
public:
  int64_t Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

enum class TRepaint { Changed, Window };

void DragMaxBox(benchmark::State& state, TRepaint repaint) {
  TOpenPrompts prompts;
  TFormImage form(prompts);
  TPictureBox source;
  source.SetPicture(Street(), {});
  TDeviceInfo device;
  device.IpAddress = "127.0.0.11";
  device.MacAddress = "02-0A-1B-00-00-01";
  TImageInfo info;
  info.SerialNumber = 1;
  info.AllowEdit = info.AllowCapture = true;
  info.SearchWindow = {5, 30, 95, 90, true};
  info.CharSizeLimits = {8, 40, 12, 60};
  info.Plate = "DC446NV";
  info.OcrScore = 74;
  info.PlateMinX = 520, info.PlateMinY = 672, info.PlateMaxX = 699, info.PlateMaxY = 715;
  form.ShowImageSettings(source, device, {QStringLiteral("I_SN=1")}, info);
  // Down to where the plate and the bottom strip are in view.
  form.FormMouseWheel(-120 * 20);
  for (int i = 0; i < 20; ++i) form.FormMouseWheel(-120);
  QApplication::processEvents();

  TPaintCounter counter;
  form.Image1->installEventFilter(&counter);
  constexpr int Moves = 1000;
  std::vector<double> micros;
  micros.reserve(static_cast<size_t>(Moves) * 64);
  for (auto _ : state) {
    QWidget* box = form.CharSizeMax;
    const QPoint grip(5, 5);
    const QPoint start = box->mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    // Across the view and back: 500 one-pixel steps right and down, 500 back.
    for (int i = 0; i < Moves; ++i) {
      const int step = i < Moves / 2 ? i : Moves - 1 - i;
      const auto t0 = std::chrono::steady_clock::now();
      Move(box, start + QPoint(step, step / 2));
      if (repaint == TRepaint::Changed) {
        QCoreApplication::sendPostedEvents();
      } else {
        form.repaint();
      }
      micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    QMouseEvent release(QEvent::MouseButtonRelease, grip, start, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
    QCoreApplication::sendPostedEvents();
  }
  std::sort(micros.begin(), micros.end());
  double sum = 0;
  for (double m : micros) sum += m;
  state.counters["per_move_us"] = sum / static_cast<double>(micros.size());
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
  state.counters["moves"] = static_cast<double>(micros.size());
  state.counters["picture_paints"] = static_cast<double>(counter.Paints);
  state.SetItemsProcessed(static_cast<int64_t>(micros.size()));
  form.reject();
}

void BM_DragMaxBox_RepaintChanged(benchmark::State& state) { DragMaxBox(state, TRepaint::Changed); }
void BM_DragMaxBox_RepaintWindow(benchmark::State& state) { DragMaxBox(state, TRepaint::Window); }

BENCHMARK(BM_DragMaxBox_RepaintChanged)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DragMaxBox_RepaintWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
