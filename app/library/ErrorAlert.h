#pragma once

#include <QString>
#include <QUuid>

#include <functional>

// One alert of a window: a message shown verbatim and an optional action run when
// the user confirms it. Every alert has a new id, so the same message twice is two alerts.
struct ErrorAlert {
    QUuid id = QUuid::createUuid();
    QString message;
    std::function<void()> dismissAction;
};
