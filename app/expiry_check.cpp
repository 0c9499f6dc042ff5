#include "app/expiry_check.h"

namespace qvs {

void RunExpiryCheck() {
    // The expiry check window does not exist yet; once it does, this shows it
    // over the whole file, silently when nothing is due.
}

} // namespace qvs
