#pragma once
// The program's QApplication: an error that escapes an event handler ends the program,
// as the original's runtime did, instead of unwinding through Qt; the toolkit's dialogs
// speak Italian.

#include <QApplication>

namespace zq {

class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    /// AbortProgram ends the program at once with its exit code (no logout, no saved
    /// geometry); any other exception is shown, then ends the program with code 1.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zq
