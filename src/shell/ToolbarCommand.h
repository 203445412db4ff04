#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

/// What a click on a toolbar button asks for, chosen by the button's key alone.
struct ToolbarCommand
{
    enum Kind {
        /// Nothing: the favourites button's face, an unknown key.
        None,
        ExamSettings,
        /// Confirm first, then the statistics.
        Statistics,
        /// Ask first, then the software-update page.
        UpdatePage,
        Page,
        Help,
        Calculator,
    };

    Kind kind = None;
    QUrl page;

    static ToolbarCommand forKey(const QString& key);

    /// The buttons' keys, left to right.
    static QStringList keys();
    /// The caption under the button with @p key.
    static QString caption(const QString& key);
};

/// The maker's web pages opened from the toolbar.
namespace MakerPages {
QUrl update();
QUrl examNews();
QUrl onlineExam();
QUrl books();
QUrl courses();
} // namespace MakerPages
