#pragma once

#include "data/StoreFailure.h"

#include <QString>

/// The outcome of a write to the bank: done, nothing to write (no such question, say),
/// or failed. A failure of the bank carries what failed (StoreFailure), which the windows
/// word; the writer's own reasons come in words for the user.
class WriteResult final
{
public:
    enum class Status
    {
        Done,
        NothingToWrite,
        Failed
    };

    static WriteResult done(int rows = 1) { return WriteResult(Status::Done, QString(), {}, rows); }
    static WriteResult nothing(const QString& reason)
    {
        return WriteResult(Status::NothingToWrite, reason, {}, 0);
    }
    /// A failure of the writer's own, such as a paper too large to number.
    static WriteResult failed(const QString& reason) { return WriteResult(Status::Failed, reason, {}, 0); }
    /// The bank refused the write.
    static WriteResult failed(const StoreFailure& failure)
    {
        return WriteResult(Status::Failed, QString(), failure, 0);
    }

    Status status() const { return m_status; }
    bool isDone() const { return m_status == Status::Done; }
    bool isFailed() const { return m_status == Status::Failed; }
    bool isNothing() const { return m_status == Status::NothingToWrite; }
    /// The writer's own reason, in words for the user; empty when the bank refused.
    QString ownReason() const { return m_reason; }
    /// What the bank refused; of kind None unless it did.
    const StoreFailure& failure() const { return m_failure; }
    /// The rows the write changed.
    int rows() const { return m_rows; }

private:
    WriteResult(Status status, QString reason, StoreFailure failure, int rows)
        : m_status(status)
        , m_reason(std::move(reason))
        , m_failure(std::move(failure))
        , m_rows(rows)
    { }

    Status m_status;
    QString m_reason;
    StoreFailure m_failure;
    int m_rows;
};
