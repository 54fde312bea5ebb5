#pragma once

#include <QApplication>

namespace pos {

// The application object. Windows catch the errors of the logic they call; one that
// still leaves an event handler is reported here as a last resort instead of ending
// the program.
class PosApplication : public QApplication {
public:
    PosApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pos
