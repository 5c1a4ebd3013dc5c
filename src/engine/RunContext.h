#pragma once

#include "engine/RunHost.h"
#include "engine/RunState.h"
#include "settings/Job.h"

// What every step of a run works with: who to ask, the run's state and the job.
struct RunContext {
    RunHost &host;
    RunState &state;
    const Job &job;
};
