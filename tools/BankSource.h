#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

/// A question bank in its source form: the catalogue, the text material and the
/// questions, as read from the human-readable .bank files.
struct BankSource
{
    struct Entry
    {
        QString code;
        QString name;
    };
    struct Material
    {
        QString code;
        QString text;
    };
    struct Question
    {
        QString section;
        int number = 0;
        QString type;
        QString answer;
        QString text;
        QByteArray image;
        bool favourite = false;
    };

    QVector<Entry> projects;
    QVector<Entry> subjects;
    QVector<Entry> sections;
    QVector<Material> materials;
    QVector<Question> questions;
};

/// Reads .bank files. Each error names the file and the line.
class BankSourceReader final
{
public:
    /// Reads every *.bank file of @p folder in file-name order (or the one file @p path).
    bool read(const QString& path);
    /// Reads the content of one .bank file named @p file (for its messages and image paths);
    /// adds to what was read before.
    bool readText(const QByteArray& bytes, const QString& file);
    const BankSource& source() const { return m_source; }
    QString error() const { return m_error; }

    /// The question types a source may use.
    static const QStringList& knownTypes();

private:
    bool readFile(const QString& file);
    bool fail(const QString& file, int line, const QString& message);

    BankSource m_source;
    QString m_error;
};
