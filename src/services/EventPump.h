#pragma once

#include <QElapsedTimer>

// Lets pending events be processed, at most once every few milliseconds: a
// run pumps between the steps of every file, and for small files looking for
// events would take longer than the work itself. A user notices no delay.
class EventPump
{
public:
    void operator()();

private:
    QElapsedTimer m_last;
};
