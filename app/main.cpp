// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <csignal>

#include "export_module.h"
#include "file_error.h"
#include "frmcompute.h"
#include "program_places.h"
#include "qt_windows.h"
#include "toolkit_translations.h"

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A file-size limit must make the results log report an error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef M_MMAP_THRESHOLD
    // Large blocks (128 KiB and over) in mappings of their own, always: glibc otherwise raises
    // the limit once such a block is freed, and the font tables the first texts read (half a
    // megabyte, at once let go) would leave the heap that much larger for the whole run.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    QApplication app(argc, argv);
    // Before any window: the toolkit's own texts in Chinese too, where the system has them.
    kestrune::install_toolkit_translations(app);
    kestrune::QtWindows windows;
    kestrune::ProgramPlaces places = kestrune::program_places(
        QCoreApplication::applicationDirPath().toStdString(), QDir::homePath().toStdString());
    // The recent projects, where the desktop keeps a program's settings (~/.config/kestrune).
    places.settings = kestrune::utf8_path(
        (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/kestrune")
            .toStdString());
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    kestrune::take_start_arguments(places, arguments);
    kestrune::frmcompute handlers(
        windows, places,
        // The export libraries are loaded when the engineer first exports, not at start.
        kestrune::module_exports(kestrune::export_module_path(
            QCoreApplication::applicationDirPath().toStdString(), KESTRUNE_MODULE_FOLDER)));
    // Qt's print support too, when the engineer first prints.
    windows.set_paper_printer(kestrune::module_printer(
        kestrune::module_path(QCoreApplication::applicationDirPath().toStdString(),
                              KESTRUNE_MODULE_FOLDER, kestrune::print_module_file)));
    windows.connect_to(handlers);
    if (!handlers.start()) {
        return 1;
    }
    windows.show_main();
    return app.exec();
}
