#pragma once

#include "engine/run/RunHost.h"
#include "engine/run/RunState.h"
#include "settings/Job.h"

// What every step of a run works with: who to ask, the run's state and the job.
struct RunContext {
    RunHost &host;
    RunState &state;
    const Job &job;
};
