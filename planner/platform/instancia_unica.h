#pragma once

// Keeps a single copy of the planner running per user: a lock file in the user's runtime folder,
// held for the life of the process (a crashed copy's lock is taken over).
namespace instancia_unica {

// True when this process now holds the lock; false when another copy runs.
bool Obter();

} // namespace instancia_unica
