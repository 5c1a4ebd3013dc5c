#pragma once

#include <QString>

class Job;

// The message that refuses a run whose job holds a regular-expression pair
// that cannot be used (an invalid pattern, a reference to a group it does not
// have); empty when every pair can be used.
QString RegexPairProblem(const Job &job);
