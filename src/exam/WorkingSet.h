#pragma once

#include "data/WriteResult.h"

#include <QString>

class QuestionStore;

/// The working set kstk: a copy of chosen rows of the bank, with tk's own columns,
/// collations and indexes. Nothing is ever copied back.
namespace WorkingSet {

/// Replaces kstk with a copy of the whole bank, or of section @p sectionCode when it
/// is given, in one transaction: a failure leaves the previous working set as it was.
WriteResult copyFromBank(QuestionStore& store, const QString& sectionCode = QString());

/// Drops kstk (when there is one) and creates it empty, within the caller's transaction.
WriteResult recreate(QuestionStore& store);

/// recreate() followed by the copy, within the caller's transaction.
WriteResult fillFromBank(QuestionStore& store, const QString& sectionCode = QString());

} // namespace WorkingSet
