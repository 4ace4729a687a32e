#pragma once
// Points the application's folders (shared and user application data, XDG config and data homes)
// at fresh temporary folders for the life of the object, so no test touches the real user's files
// or keyring, and the data installed with the program at an empty folder.

#include <QString>
#include <QTemporaryDir>

#include <map>
#include <optional>

namespace vantor::testing {

class TempEnvironment {
public:
    TempEnvironment();
    ~TempEnvironment();
    TempEnvironment(const TempEnvironment&) = delete;
    TempEnvironment& operator=(const TempEnvironment&) = delete;

    QString Root() const { return dir_.path(); }
    QString CommonAppData() const;
    QString UserAppData() const;
    // The folder of the data installed with the program; an empty one unless set here.
    void UseProgramData(const QString& folder);

private:
    void Set(const char* name, const QString& value);

    QTemporaryDir dir_;
    std::map<QByteArray, std::optional<QByteArray>> saved_;
};

} // namespace vantor::testing
