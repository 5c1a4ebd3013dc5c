#include "services/EventPump.h"

#include <QCoreApplication>

namespace {
constexpr qint64 IntervalMs = 10;
}

void EventPump::operator()()
{
    if (m_last.isValid() && m_last.elapsed() < IntervalMs)
        return;
    QCoreApplication::processEvents();
    m_last.start();
}
