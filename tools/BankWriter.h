#pragma once

#include "BankSource.h"

class QuestionStore;

/// Writes banks: from a source, or a synthetic one for benchmarks.
namespace BankWriter {

/// Creates the bank file @p path (which must not exist) from @p source.
bool write(const BankSource& source, const QString& path, QString* error);

struct SyntheticOptions
{
    int questions = 200000;
    int sections = 2000;
    int documentBytes = 1500; ///< approximate size of each question's RTF
    quint32 seed = 20261210;
};

/// Creates a bank of generated questions (never for the sample bank): projects K
/// onwards, ten subjects a project, the sections spread over them, mixed types,
/// about a third answered (some wrong) and one in a hundred a favourite.
bool writeSynthetic(const SyntheticOptions& options, const QString& path, QString* error);

} // namespace BankWriter
