#pragma once

#include <functional>

// Runs `body` in a forked child process that may not write more than 1 KiB
// to any file, so writes fail half-way as on a full disk. Returns the child's
// verdict: true when `body` returned true. The parent's files and state are
// what the caller inspects afterwards.
bool passesWithFileSizeLimit(const std::function<bool()> &body);
