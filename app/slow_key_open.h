// Opening a file whose key settings are beyond what QVS opens without
// asking (raised under an earlier version, whose limit was higher): how long
// it takes here, whether to wait, and the one long derivation away from the
// window's thread.
#pragma once

#include <QString>

namespace qvs {

// After the store refused path with StoreError::SlowKdf: asks whether to open it
// anyway (No is the default), then derives its key with password on a worker
// thread while a busy window shows, and hands the key to the store for the
// load that follows. False when the user declined.
bool PrepareSlowKey(const QString& path, const QString& password);

} // namespace qvs
