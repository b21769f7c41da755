// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit_translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace kestrune {

QTranslator* install_toolkit_translations(QCoreApplication& app, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace kestrune
