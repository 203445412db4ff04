#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <memory>

/// The one child of @p root named @p name (its control name) of type T. Windows keep
/// their controls to themselves; tests find them as a screen reader does, by name. A
/// missing or ambiguous name stops the test run with the name, so a renamed control
/// cannot pass unnoticed.
template <typename T> T* named(const QObject* root, const QString& name)
{
    if (!root)
        qFatal("named(): no window to look for \"%s\" in", qPrintable(name));
    const QList<T*> found = root->findChildren<T*>(name);
    if (found.size() != 1) {
        qFatal("named(): %d children \"%s\" of type %s in \"%s\"", int(found.size()), qPrintable(name),
            T::staticMetaObject.className(), qPrintable(root->objectName()));
    }
    return found.first();
}

/// The control @p name with a number: "ts_2", "Check3".
template <typename T> T* named(const QObject* root, const QString& name, int index)
{
    return named<T>(root, name.arg(index));
}

template <typename T, typename W> T* named(const std::unique_ptr<W>& root, const QString& name)
{
    return named<T>(root.get(), name);
}

template <typename T, typename W> T* named(const std::unique_ptr<W>& root, const QString& name, int index)
{
    return named<T>(root.get(), name, index);
}
