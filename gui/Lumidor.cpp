// Lumidor: the test tool for installers of ANPR cameras.
//
//   Lumidor [--screenshot FILE]
//
// --screenshot FILE: after the first search, save a picture of the main
// window to FILE (PNG) and quit; for demos and documentation on machines
// without a display (run it under xvfb-run or with QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "ULumidor.h"
#include "UMain.h"
#include "UPrompts.h"
#include "UVersionInfo.h"
#include "UZudirir.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lumidor"));
  QApplication::setApplicationVersion(VersionInfo().ProductVersion);

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(ApplicationTitle));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save the main window to <file> after the first search, then quit."),
                                      QStringLiteral("file"));
  parser.addOption(screenshot);
  parser.process(app);

  // The protocol component comes first and outlives every window.
  TFormZudirir zudirir;
  std::unique_ptr<TFormMain> form = CreateForms(zudirir);

  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    QObject::connect(form.get(), &TFormMain::Ready, form.get(), [&form, file] {
      // Let the list and the status bar finish drawing first.
      QTimer::singleShot(300, form.get(), [&form, file] {
        const bool saved = form->grab().save(file, "PNG");
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "screenshot saved to" : "cannot save screenshot to",
                     qPrintable(file));
        QApplication::exit(saved ? 0 : 1);
      });
    });
  }
  form->show();
  const int result = QApplication::exec();
  form.reset();
  return result;
}
