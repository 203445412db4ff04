#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QuestionStore;

/// The texts a keyword search goes through.
namespace SearchTextRepository {

/// Hands every question of tk to @p each: its rowid and its extracts tg and xx as UTF-8,
/// valid during the call only. False, with the engine's words in @p error, when they
/// cannot all be read.
bool eachExtract(QuestionStore& store,
    const std::function<void(qint64 rowid, QByteArrayView stem, QByteArrayView options)>& each,
    QString* error = nullptr);

/// Changes with every commit of another connection to the bank (PRAGMA data_version).
qint64 dataVersion(QuestionStore& store);

} // namespace SearchTextRepository
