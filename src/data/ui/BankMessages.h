#pragma once

#include "data/StoreFailure.h"
#include "data/WriteResult.h"

#include <QString>

/// The words for the user of what went wrong with the bank, for the windows and the bank
/// tool alike.
namespace BankMessages {

/// Why, as a clause without a full stop: “题库文件是只读的，不能写入（…）”.
QString reason(const StoreFailure& failure);
/// Why a write did not happen: the bank's failure, or the writer's own reason.
QString reason(const WriteResult& result);

/// The message when @p what (“您的笔记”) was not stored: what, why, and that what was
/// entered is still there to try again.
QString notStored(const QString& what, const WriteResult& result);

} // namespace BankMessages
