#include <QApplication>
#include <csignal>

#include "frmcompute.h"

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A file-size limit must make the results log report an error, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    kestrune::frmcompute window;
    if (!window.start()) {
        return 1;
    }
    window.show_centred();
    return app.exec();
}
