// The check for expired passwords and passwords due for a change that runs
// after a file was opened while "AutoCheck" is on; at start-up it shows once
// the main window is up.
#pragma once

namespace qvs {

// Lists what is due over the whole open file; shows nothing when nothing is.
void RunExpiryCheck();

} // namespace qvs
