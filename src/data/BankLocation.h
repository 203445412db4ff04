#pragma once

#include <QString>

/// Where the user's question bank lives, and its first start from the sample bank.
namespace BankLocation {

/// velm.db in the per-user data folder.
QString bankPath();

/// The sample bank shipped with the program (beside the installed or built
/// executable), or an empty string when it cannot be found.
QString sampleBankPath();

/// Makes sure the user's bank exists: creates its folder and, when there is no
/// bank yet, copies the sample bank there with owner-only permissions. An existing
/// file is never touched. Returns false with a reason for the user.
bool ensureBank(QString* error);

} // namespace BankLocation
