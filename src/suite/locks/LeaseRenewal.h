#pragma once

namespace dbkit {
class DbLogin;
}

namespace locks {

// Keeps the lease of the login's session alive until the login closes, and
// then ends it, so the login's locks are free at once. A thread of the
// process renews the leases of all its live sessions, one statement per
// database every quarter lease, on a login of its own: a window thread that
// is busy or shows a modal dialog keeps its locks, and whatever a pooler does
// with the holder's server connections does not matter. The thread runs
// while a kept session is open and is joined when the last one closes.
void keepLeaseAlive(dbkit::DbLogin &login);

} // namespace locks
