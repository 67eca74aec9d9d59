// The program on the desktop: the Qt host and the real services around the system's code.
#include <QApplication>

#include "app/program.h"
#include "host/qt/input_methods.h"
#include "host/qt/qt_host.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/settings.h"
#include "platform/shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qthost::QtHost host;
    platform::CurlHttpClient http;
    platform::SystemShell shell;
    platform::SettingsStore settings(platform::defaultSettingsPath());
    qthost::InputMethods keyboard;

    qz::Services services;
    services.host = &host;
    services.http = &http;
    services.shell = &shell;
    services.settings = &settings;
    services.keyboard = &keyboard;
    services.programFolder = platform::programFolder();

    qz::Program program(services);
    program.run();
    return 0;
}
