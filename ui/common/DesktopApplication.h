#pragma once
// The desktop's application object: every event is delivered behind the last resort
// (app/LastResort.h), so an error escaping a handler or a slot is logged, a database error shown,
// and the program goes on.

#include <QApplication>

namespace vantor {

class Prompter;

class DesktopApplication : public QApplication {
public:
    DesktopApplication(int& argc, char** argv);

    // Where a database error caught at the last resort is shown; none logs it only.
    void SetFailurePrompter(Prompter* prompter) { prompter_ = prompter; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompter* prompter_ = nullptr;
};

} // namespace vantor
