#pragma once

class Job;
struct ReplaceRequest;

// Fills `job` with what the request asks: one folder entry per path (a file
// is an entry of its own), the masks with the request's coding, one string
// pair, and run options that ask nothing and show nothing. A run of the job
// (and of its settings file) does what the command does.
void BuildReplaceJob(const ReplaceRequest &request, Job &job);
