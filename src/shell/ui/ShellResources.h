#pragma once

/// Registers the shell's compiled-in resources (the welcome picture under ":/shell").
/// Resources of a static library are not registered on their own; safe to call any number of times.
void initShellResources();
