// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibraryInfo>
#include <QString>

class QCoreApplication;
class QTranslator;

namespace kestrune {

// Loads the toolkit's own Simplified Chinese texts (qtbase_zh_CN: the folder chooser, the
// text boxes' context menu, ...) from folder, where Qt keeps its translations unless told
// otherwise, whatever the system's locale: the interface is Chinese by design. Returns the
// installed translator, owned by app, or nullptr when the file is missing or unreadable: the
// program then runs with the toolkit's English texts.
QTranslator* install_toolkit_translations(
    QCoreApplication& app,
    const QString& folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

}  // namespace kestrune
