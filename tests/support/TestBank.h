#pragma once

#include "data/QuestionStore.h"

#include <QString>
#include <QVariant>

/// A small bank built in a test's temporary folder: catalogue rows and questions
/// are added with plain values, and the file is a real encrypted bank.
class TestBank final
{
    Q_DISABLE_COPY_MOVE(TestBank)
public:
    /// Creates the bank file at @p path; the test fails when it cannot.
    explicit TestBank(const QString& path);

    QuestionStore& store() { return m_store; }
    QString path() const { return m_path; }

    TestBank& project(const QString& code, const QString& name);
    TestBank& subject(const QString& code, const QString& name);
    TestBank& section(const QString& code, const QString& name);
    TestBank& material(const QString& code, const QString& text);

    struct Question
    {
        Question(QString section, int number, QString type = QStringLiteral("单选"),
                 QString answer = QStringLiteral("A"), QVariant given = QVariant(), bool favourite = false,
                 QString text = QString())
            : section(std::move(section)), number(number), type(std::move(type)), answer(std::move(answer)),
              given(std::move(given)), favourite(favourite), text(std::move(text))
        {
        }
        QString section;
        int number = 0;
        QString type;
        QString answer;
        QVariant given;  ///< 答题: a null QVariant for absent
        bool favourite = false;
        QString text;    ///< stored in 选项 as it is (plain text reads as plain text)
        QVariant sj;     ///< defaults to the insertion order
        QByteArray image;
    };
    TestBank& question(const Question& q);

    /// Closes the connection so that the program under test can open the file.
    void close() { m_store.close(); }

private:
    QString m_path;
    QuestionStore m_store;
    int m_sj = 0;
};
