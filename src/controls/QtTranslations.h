#pragma once

class QCoreApplication;

/// Qt's own words (standard buttons, file and print dialogs, the context menus of text
/// boxes) in Simplified Chinese, from the translations the distribution ships.
namespace QtTranslations {

/// Installs the translation of Qt's base module into @p app; false when the
/// distribution's file is missing (Qt then speaks English).
bool install(QCoreApplication& app);

} // namespace QtTranslations
