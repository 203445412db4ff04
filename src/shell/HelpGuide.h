#pragma once

#include <QString>

/// The HTML guide for the candidate, installed with the program.
namespace HelpGuide {

/// The guide's start page for an executable in @p executableDir (installed: <prefix>/bin
/// beside <prefix>/share/vellumore; built: build/src/app beside build/share/vellumore),
/// or an empty string when it is not there.
QString locate(const QString& executableDir);

/// The start page for the running program.
QString path();

} // namespace HelpGuide
