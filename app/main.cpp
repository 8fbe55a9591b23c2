// The editor: `tavi [--demo-client DIR] [HOUSE.tav]`.
#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QIcon>
#include <QSurfaceFormat>
#include <cstring>

#include "app/app_icon.h"
#include "app/main_window.h"

namespace {

void SetNames() {
  QCoreApplication::setApplicationName("tavi");
  QCoreApplication::setApplicationVersion(TAVI_VERSION_TEXT);
  // No display name: the platform would append it to every window title,
  // which the editor sets in full itself.
  QGuiApplication::setDesktopFileName("tavi");
}

QCommandLineOption DemoOption() {
  return QCommandLineOption(
      "demo-client", "Use the client files in DIR when none are configured or found.", "DIR");
}

void Describe(QCommandLineParser& parser, const QCommandLineOption& demo) {
  parser.setApplicationDescription(
      "Tavi Editor: designs player houses tile by tile in the isometric view and saves them as "
      ".tav files.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(demo);
  parser.addPositionalArgument("file", "A house file (.tav) to open.", "[file]");
}

}  // namespace

int main(int argc, char** argv) {
  // The view draws with depth tests: ask for a depth buffer on every context.
  QSurfaceFormat format;
  format.setDepthBufferSize(16);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  QSurfaceFormat::setDefaultFormat(format);

  // --help and --version answer without a display.
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "--help-all") ||
        !std::strcmp(a, "--version") || !std::strcmp(a, "-v")) {
      QCoreApplication core(argc, argv);
      SetNames();
      QCommandLineParser parser;
      QCommandLineOption demo = DemoOption();
      Describe(parser, demo);
      parser.process(core);  // prints and exits
      return 0;
    }
  }

  QApplication app(argc, argv);
  SetNames();
  QApplication::setWindowIcon(QIcon::fromTheme("tavi", tavi::AppIcon()));
  QCommandLineParser parser;
  QCommandLineOption demo = DemoOption();
  Describe(parser, demo);
  parser.process(app);

  tavi::StartOptions options;
  options.demoClientDir = parser.value(demo);
  const QStringList args = parser.positionalArguments();
  if (!args.isEmpty()) options.houseFile = args.first();

  tavi::TMainForm window(options);
  // Without the client files the program ends once the user has seen the
  // message and the configuration (the settings are written on the way out).
  if (window.StartupFailed()) return 0;
  window.show();
  return app.exec();
}
