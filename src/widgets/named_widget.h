#pragma once

#include <QString>
#include <utility>

namespace pos {

// A new control with its object name, by which the windows' tests find it.
template <class W, class... Args>
W* named(const char* objectName, Args&&... args)
{
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(objectName));
    return w;
}

}  // namespace pos
