#pragma once

#include <QString>

/// The outcome of a write to the bank: done, nothing to write (no such question, say),
/// or failed. The last two carry the reason in words for the user.
class WriteResult final
{
public:
    enum class Status
    {
        Done,
        NothingToWrite,
        Failed
    };

    static WriteResult done(int rows = 1) { return WriteResult(Status::Done, QString(), rows); }
    static WriteResult nothing(const QString& reason)
    {
        return WriteResult(Status::NothingToWrite, reason, 0);
    }
    static WriteResult failed(const QString& reason) { return WriteResult(Status::Failed, reason, 0); }

    Status status() const { return m_status; }
    bool isDone() const { return m_status == Status::Done; }
    bool isFailed() const { return m_status == Status::Failed; }
    bool isNothing() const { return m_status == Status::NothingToWrite; }
    QString reason() const { return m_reason; }
    /// The rows the write changed.
    int rows() const { return m_rows; }

    /// The message for the user when @p what (“您的笔记”) was not stored: what, why,
    /// and that what was entered is still there to try again.
    QString notStoredMessage(const QString& what) const
    {
        return QStringLiteral(
            "%1没有保存到题库。\n\n原因：%2。\n\n您输入的内容仍留在屏幕上，排除问题后可以再试一次。")
            .arg(what, m_reason);
    }

private:
    WriteResult(Status status, QString reason, int rows)
        : m_status(status)
        , m_reason(std::move(reason))
        , m_rows(rows)
    { }

    Status m_status;
    QString m_reason;
    int m_rows;
};
